// Glyph outlines: a character rendered by FreeType (hinted monochrome or
// grey), slanted for italic fonts and overstruck one pixel for bold ones,
// then written as GDI lays its glyph bitmaps out.
#include <ft2build.h>
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi_font_internal.h"

namespace plat::gdi {

namespace {

// A rendered glyph: coverage 0-255 per pixel of a `width` x `rows` box.
struct Raster {
  const FT_Bitmap* bitmap = nullptr;
  int width = 0, rows = 0;  // the black box, one wider when bold; 0 x 0 without ink
  int left = 0, top = 0, advance = 0;
  bool bold = false;
};

bool IsIdentity(const Mat2& m) {
  return m.eM11.fract == 0 && m.eM11.value == 1 && m.eM12.fract == 0 && m.eM12.value == 0 && m.eM21.fract == 0 &&
         m.eM21.value == 0 && m.eM22.fract == 0 && m.eM22.value == 1;
}

// Loads and renders into the face's glyph slot, unless the slot holds this
// rendering already: callers ask for a glyph's size and then for its bits.
bool RenderIntoSlot(FontObject* f, uint32_t code, bool mono) {
  if (f->slotValid && f->slotCode == code && f->slotMono == mono) return true;
  f->slotValid = false;
  uint32_t unicode = 0;
  FT_UInt index = Cp932CodeToUnicode(code, &unicode) ? FT_Get_Char_Index(f->face, unicode) : 0;
  const FT_Int32 load = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  // A glyph the face cannot load is drawn as its missing-glyph box.
  if (FT_Load_Glyph(f->face, index, load) != 0 && (index == 0 || FT_Load_Glyph(f->face, index = 0, load) != 0)) {
    return false;
  }
  FT_GlyphSlot slot = f->face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  // FreeType gives an outline without contours (a space) a blank pixel;
  // such a glyph has no black box here.
  f->slotInk = slot->outline.n_contours > 0;
  if (f->italic) FT_GlyphSlot_Oblique(slot);
  if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return false;
  if (slot->bitmap.pixel_mode != (mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY)) return false;
  f->slotValid = true;
  f->slotCode = code;
  f->slotMono = mono;
  return true;
}

bool Render(FontObject* f, uint32_t code, bool mono, Raster* out) {
  if (!RenderIntoSlot(f, code, mono)) return false;
  const FT_GlyphSlot slot = f->face->glyph;
  const FT_Bitmap& b = slot->bitmap;
  out->bitmap = &b;
  out->bold = f->bold;
  const bool ink = f->slotInk && b.width > 0 && b.rows > 0;
  out->width = ink ? static_cast<int>(b.width) + (f->bold ? 1 : 0) : 0;
  out->rows = ink ? static_cast<int>(b.rows) : 0;
  out->left = ink ? slot->bitmap_left : 0;
  out->top = ink ? slot->bitmap_top : 0;
  out->advance = static_cast<int>((slot->advance.x + 32) >> 6) + (f->bold ? 1 : 0);
  return true;
}

// Coverage of one row of the FreeType bitmap (0 outside it), with the
// bold overstrike: a pixel also takes the coverage of its left neighbour.
void RowCoverage(const Raster& r, int y, uint8_t* cover) {
  const FT_Bitmap& b = *r.bitmap;
  const int width = static_cast<int>(b.width);
  const int pitch = b.pitch < 0 ? -b.pitch : b.pitch;
  const unsigned char* row = b.buffer + static_cast<ptrdiff_t>(b.pitch < 0 ? b.rows - 1 - y : y) * pitch;
  for (int x = 0; x < width; ++x) {
    cover[x] = b.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
  }
  if (r.bold) {
    cover[width] = 0;
    for (int x = width; x > 0; --x) cover[x] = std::max(cover[x], cover[x - 1]);
  }
}

int Levels(uint32_t format) { return format == GGO_GRAY2_BITMAP ? 4 : format == GGO_GRAY4_BITMAP ? 16 : 64; }

// Rows padded to 4 bytes: 1 bit per pixel for GGO_BITMAP, else a byte.
uint64_t RowBytes(uint32_t format, int width) {
  const uint64_t bits = format == GGO_BITMAP ? uint64_t(width) : uint64_t(width) * 8;
  return (bits + 31) / 32 * 4;
}

void WriteBitmap(const Raster& r, uint32_t format, uint8_t* out) {
  const uint64_t rowBytes = RowBytes(format, r.width);
  const int levels = Levels(format);
  std::memset(out, 0, rowBytes * static_cast<uint64_t>(r.rows));
  uint8_t* cover = new uint8_t[static_cast<size_t>(r.width) + 1];
  for (int y = 0; y < r.rows; ++y) {
    RowCoverage(r, y, cover);
    uint8_t* dst = out + rowBytes * static_cast<uint64_t>(y);
    for (int x = 0; x < r.width; ++x) {
      if (format == GGO_BITMAP) {
        if (cover[x] >= 128) dst[x >> 3] = static_cast<uint8_t>(dst[x >> 3] | (0x80 >> (x & 7)));
      } else {
        dst[x] = static_cast<uint8_t>((cover[x] * levels + 127) / 255);
      }
    }
  }
  delete[] cover;
}

}  // namespace

uint32_t GetGlyphOutlineForFont(Hfont font, uint32_t code, uint32_t format, GlyphMetrics* metrics,
                                uint32_t bufferSize, void* buffer, const Mat2* matrix) {
  ++Fonts().counters.outlineCalls;
  const bool known = format == GGO_METRICS || format == GGO_BITMAP || format == GGO_GRAY2_BITMAP ||
                     format == GGO_GRAY4_BITMAP || format == GGO_GRAY8_BITMAP;
  if (!IsLiveFont(font) || !known || metrics == nullptr || matrix == nullptr || !IsIdentity(*matrix)) {
    return GDI_ERROR;
  }
  Raster r;
  if (!Render(font, code, format == GGO_METRICS || format == GGO_BITMAP, &r)) return GDI_ERROR;
  const uint64_t size = RowBytes(format, r.width) * static_cast<uint64_t>(r.rows);
  if (format != GGO_METRICS && buffer != nullptr && bufferSize != 0) {
    if (size > bufferSize) return GDI_ERROR;
    WriteBitmap(r, format, static_cast<uint8_t*>(buffer));
  }
  GlyphMetrics m;
  m.gmBlackBoxX = static_cast<uint32_t>(r.width);
  m.gmBlackBoxY = static_cast<uint32_t>(r.rows);
  m.gmptGlyphOrigin.x = r.left;
  m.gmptGlyphOrigin.y = r.top;
  m.gmCellIncX = static_cast<int16_t>(std::clamp(r.advance, -32768, 32767));
  m.gmCellIncY = 0;
  *metrics = m;
  return format == GGO_METRICS ? 0 : static_cast<uint32_t>(size);
}

}  // namespace plat::gdi
