#include "text_render.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstring>
#include <vector>

namespace mkassets {

namespace {

FT_Library g_library = nullptr;
FT_Face g_faces[2] = {nullptr, nullptr};

// The file fontconfig gives for a family, only when the family really is
// that one (a stand-in face would make other pictures).
bool OpenFamily(const char* family, FT_Face* face) {
  FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(nullptr, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, p, &result);
  FcPatternDestroy(p);
  if (!match) return false;
  FcChar8* file = nullptr;
  FcChar8* found = nullptr;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
            FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(found), family) == 0;
  ok = ok && FT_New_Face(g_library, reinterpret_cast<const char*>(file), 0, face) == 0;
  FcPatternDestroy(match);
  return ok;
}

std::u32string Decode(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    ++i;
    for (; extra > 0 && i < s.size(); --extra, ++i) cp = cp << 6 | (static_cast<unsigned char>(s[i]) & 0x3F);
    out.push_back(cp);
  }
  return out;
}

// One line as a coverage mask cut at half: 1 ink, 0 not.
struct Mask {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;
  int inkLeft = 0, inkRight = -1;  // columns holding ink
};

// The mask runs `pad` rows above and below the line, for glyphs that pass
// the face's ascent or descent.
Mask RenderLine(FT_Face face, const std::u32string& line, int px, int lineHeight, int ascent, int pad) {
  Mask m;
  int advance = 0;
  for (char32_t c : line) {
    if (FT_Load_Char(face, c, FT_LOAD_NO_BITMAP) == 0) advance += static_cast<int>(face->glyph->advance.x >> 6);
  }
  const int margin = px;
  m.width = advance + 2 * margin;
  m.height = lineHeight + 2 * pad;
  m.bits.assign(static_cast<size_t>(m.width) * m.height, 0);
  int pen = margin;
  for (char32_t c : line) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& b = g->bitmap;
    for (unsigned r = 0; r < b.rows; ++r) {
      for (unsigned col = 0; col < b.width; ++col) {
        if (b.buffer[r * b.pitch + col] < 128) continue;
        const int x = pen + g->bitmap_left + static_cast<int>(col);
        const int y = pad + ascent - g->bitmap_top + static_cast<int>(r);
        if (x >= 0 && x < m.width && y >= 0 && y < m.height) m.bits[static_cast<size_t>(y) * m.width + x] = 1;
      }
    }
    pen += static_cast<int>(g->advance.x >> 6);
  }
  m.inkLeft = m.width;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      if (!m.bits[static_cast<size_t>(y) * m.width + x]) continue;
      if (x < m.inkLeft) m.inkLeft = x;
      if (x > m.inkRight) m.inkRight = x;
    }
  }
  return m;
}

std::vector<std::u32string> Lines(const std::string& words) {
  std::vector<std::u32string> lines(1);
  for (char32_t c : Decode(words)) {
    if (c == U'\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace

bool OpenFonts() {
  if (g_library) return true;
  FcInit();
  if (FT_Init_FreeType(&g_library) != 0) return false;
  if (!OpenFamily("IPAPGothic", &g_faces[0]) || !OpenFamily("IPAGothic", &g_faces[1])) {
    std::fprintf(stderr, "mkassets: the IPA Gothic fonts are missing (Debian package fonts-ipafont-gothic)\n");
    CloseFonts();
    return false;
  }
  return true;
}

void CloseFonts() {
  for (FT_Face& f : g_faces) {
    if (f) FT_Done_Face(f);
    f = nullptr;
  }
  if (g_library) FT_Done_FreeType(g_library);
  g_library = nullptr;
}

int DrawWords(IndexedPicture& pic, int x, int y, int w, int h, const std::string& words, const TextStyle& style) {
  FT_Face face = g_faces[style.face == Face::Digits ? 1 : 0];
  if (!face) return 0;
  const std::vector<std::u32string> lines = Lines(words);
  const int rim = style.rimmed ? 1 : 0;
  for (int px = style.maxPixels; px >= style.minPixels; --px) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px)) != 0) return 0;
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int lineHeight = ascent - static_cast<int>(face->size->metrics.descender >> 6);
    const int pad = px / 2;
    std::vector<Mask> masks;
    int widest = 0, top = 1 << 20, bottom = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
      masks.push_back(RenderLine(face, lines[i], px, lineHeight, ascent, pad));
      const Mask& m = masks.back();
      if (m.inkRight >= m.inkLeft && m.inkRight - m.inkLeft + 1 > widest) widest = m.inkRight - m.inkLeft + 1;
      for (int r = 0; r < m.height; ++r) {
        for (int c = 0; c < m.width; ++c) {
          if (!m.bits[static_cast<size_t>(r) * m.width + c]) continue;
          const int at = static_cast<int>(i) * lineHeight + r - pad;
          if (at < top) top = at;
          if (at > bottom) bottom = at;
        }
      }
    }
    if (bottom < 0) return px;  // nothing but spaces
    if (widest + 2 * rim > w || bottom - top + 1 + 2 * rim > h) continue;
    const int blockTop = y + (h - (bottom - top + 1)) / 2 - top;
    // Rims first, so that touching glyphs keep their ink.
    for (int pass = rim ? 0 : 1; pass < 2; ++pass) {
      for (size_t i = 0; i < masks.size(); ++i) {
        const Mask& m = masks[i];
        if (m.inkRight < m.inkLeft) continue;
        const int inkWidth = m.inkRight - m.inkLeft + 1;
        int left = x + rim;
        if (style.align == Align::Centre) left = x + (w - inkWidth) / 2;
        if (style.align == Align::Right) left = x + w - rim - inkWidth;
        const int dx = left - m.inkLeft, dy = blockTop + static_cast<int>(i) * lineHeight - pad;
        for (int r = 0; r < m.height; ++r) {
          for (int c = m.inkLeft; c <= m.inkRight; ++c) {
            if (!m.bits[static_cast<size_t>(r) * m.width + c]) continue;
            if (pass == 1) {
              const int px2 = dx + c, py2 = dy + r;
              if (px2 >= 0 && px2 < pic.width && py2 >= 0 && py2 < pic.height) pic.At(px2, py2) = style.ink;
              continue;
            }
            pic.Box(dx + c - 1, dy + r - 1, dx + c + 2, dy + r + 2, style.rim);
          }
        }
      }
    }
    return px;
  }
  return 0;
}

}  // namespace mkassets
