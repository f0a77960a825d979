// Font objects: creation with GDI's size rule, deletion, text metrics.
#include "platform/gdi/gdi_font.h"

#include <ft2build.h>
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <iterator>

#include "platform/gdi/gdi_font_internal.h"

namespace plat::gdi {

namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int kBoldWeight = 600;
constexpr int64_t kMaxPpem64 = int64_t{2} * kMaxFontPixels * 64;

FontState g_fonts;

int64_t RoundDiv(int64_t num, int64_t den) { return (num + den / 2) / den; }

int ClampPixels(int64_t v) { return static_cast<int>(std::min<int64_t>(v < 0 ? -v : v, kMaxFontPixels)); }

// Sets the face's scale and the record's metrics. The vertical scale comes
// from the height (cell or em), the horizontal one from the width when one
// is given; all metrics are rounded from font units at that scale.
bool ApplySize(FontObject* f) {
  FT_Face face = f->face;
  const int64_t em = face->units_per_EM;
  int64_t winAscent = face->ascender, winDescent = -face->descender;
  int64_t lineGap = face->height - (face->ascender - face->descender);
  int64_t averageWidth = 0;
  f->fixedPitch = FT_IS_FIXED_WIDTH(face) != 0;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
    averageWidth = os2->xAvgCharWidth;
    // Japanese fixed faces have half- and full-width advances, so only their
    // classification (Latin text, monospaced) says they are fixed.
    f->fixedPitch = f->fixedPitch || (os2->panose[0] == 2 && os2->panose[3] == 9);
  }
  if (winAscent < 0) winAscent = 0;
  if (winDescent < 0) winDescent = 0;
  if (winAscent + winDescent == 0) winAscent = em;
  const int64_t cellUnits = winAscent + winDescent;
  if (averageWidth <= 0) averageWidth = face->max_advance_width > 0 ? face->max_advance_width : em;

  // Pixels per em in 26.6, and the metrics scale as num / den pixels per unit.
  int64_t yPpem64, num, den;
  if (f->height >= 0) {
    const int cell = f->height == 0 ? kDefaultCellHeight : ClampPixels(f->height);
    yPpem64 = RoundDiv(int64_t{cell} * 64 * em, cellUnits);
    num = cell;
    den = cellUnits;
  } else {
    const int pixels = ClampPixels(f->height);
    yPpem64 = int64_t{pixels} * 64;
    num = pixels;
    den = em;
  }
  int64_t xPpem64 = yPpem64;
  if (f->width != 0) {
    const int average = ClampPixels(f->width);
    xPpem64 = RoundDiv(int64_t{average} * 64 * em, averageWidth);
    f->aveCharWidth = average;
  }
  // A face with odd tables must not ask for glyphs of unbounded size.
  yPpem64 = std::clamp<int64_t>(yPpem64, 1, kMaxPpem64);
  xPpem64 = std::clamp<int64_t>(xPpem64, 1, kMaxPpem64);
  if (FT_Set_Char_Size(face, xPpem64, yPpem64, 0, 0) != 0) return false;
  // Widths at the scale glyphs are really drawn at: a face may ask for
  // whole pixels per em, and advances follow that.
  const FT_Fixed xScale = face->size->metrics.x_scale;
  if (f->width == 0) f->aveCharWidth = static_cast<int>((FT_MulFix(averageWidth, xScale) + 32) >> 6);
  f->maxCharWidth = static_cast<int>((FT_MulFix(face->max_advance_width, xScale) + 32) >> 6);

  f->ascent = static_cast<int>(RoundDiv(winAscent * num, den));
  f->descent = static_cast<int>(RoundDiv(winDescent * num, den));
  f->internalLeading = std::max(0, f->ascent + f->descent - static_cast<int>(RoundDiv(yPpem64, 64)));
  // Leading the face asks for beyond the Windows ascent and descent.
  const int64_t extraGap = std::max<int64_t>(0, lineGap - (cellUnits - (face->ascender - face->descender)));
  f->externalLeading = static_cast<int>(RoundDiv(extraGap * num, den));
  if (f->bold) {
    f->aveCharWidth += 1;
    f->maxCharWidth += 1;
  }
  return true;
}

bool Remember(FontObject* font) {
  FontState& s = g_fonts;
  if (s.liveCount == static_cast<int>(std::size(s.live))) return false;
  s.live[s.liveCount++] = font;
  return true;
}

void FreeFont(FontObject* font) {
  if (font->face != nullptr) FT_Done_Face(font->face);
  delete font;
}

}  // namespace

FontState& Fonts() { return g_fonts; }

bool IsLiveFont(const FontObject* font) {
  if (font == nullptr) return false;
  const FontState& s = g_fonts;
  return std::find(s.live, s.live + s.liveCount, font) != s.live + s.liveCount;
}

Hfont CreateFontA(int height, int width, int escapement, int orientation, int weight, uint32_t italic,
                  uint32_t underline, uint32_t strikeOut, uint32_t charSet, uint32_t outPrecision,
                  uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const char* faceName) {
  FontState& s = g_fonts;
  ++s.counters.createCalls;
  if (s.failCreate > 0) {
    --s.failCreate;
    return nullptr;
  }
  if (s.library == nullptr && FT_Init_FreeType(&s.library) != 0) {
    s.library = nullptr;
    return nullptr;
  }
  auto* f = new FontObject;
  f->height = height;
  f->width = width;
  f->escapement = escapement;
  f->orientation = orientation;
  f->weight = weight == FW_DONTCARE ? FW_NORMAL : std::clamp(weight, 1, 1000);
  f->italic = italic != 0;
  f->underline = underline != 0;
  f->strikeOut = strikeOut != 0;
  f->charSet = charSet;
  f->outPrecision = outPrecision;
  f->clipPrecision = clipPrecision;
  f->quality = quality;
  f->pitchAndFamily = pitchAndFamily;
  f->bold = f->weight >= kBoldWeight;
  f->face = OpenFaceForName(s.library, faceName, f->family, sizeof f->family);
  if (f->face == nullptr || !ApplySize(f) || !Remember(f)) {
    FreeFont(f);
    return nullptr;
  }
  ++s.counters.created;
  ++s.counters.live;
  return f;
}

bool DeleteFontObject(Hfont font) {
  FontState& s = g_fonts;
  FontObject** end = s.live + s.liveCount;
  FontObject** at = std::find(s.live, end, font);
  if (font == nullptr || at == end) return false;
  *at = s.live[--s.liveCount];
  s.live[s.liveCount] = nullptr;
  FreeFont(font);
  ++s.counters.deleted;
  --s.counters.live;
  return true;
}

bool GetTextMetricsForFont(Hfont font, TextMetricA* out) {
  ++g_fonts.counters.metricsCalls;
  if (!IsLiveFont(font) || out == nullptr) return false;
  const FontObject& f = *font;
  TextMetricA tm;
  tm.tmHeight = f.ascent + f.descent;
  tm.tmAscent = f.ascent;
  tm.tmDescent = f.descent;
  tm.tmInternalLeading = f.internalLeading;
  tm.tmExternalLeading = f.externalLeading;
  tm.tmAveCharWidth = f.aveCharWidth;
  tm.tmMaxCharWidth = f.maxCharWidth;
  tm.tmWeight = f.weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  // The single-byte range of a CP932 font.
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = f.italic ? 0xFF : 0;
  tm.tmUnderlined = f.underline ? 0xFF : 0;
  tm.tmStruckOut = f.strikeOut ? 0xFF : 0;
  tm.tmPitchAndFamily =
      static_cast<uint8_t>(FF_MODERN | TMPF_TRUETYPE | TMPF_VECTOR | (f.fixedPitch ? 0 : TMPF_FIXED_PITCH));
  // Codes are always read as CP932 here, whatever was asked for.
  tm.tmCharSet = static_cast<uint8_t>(SHIFTJIS_CHARSET);
  *out = tm;
  return true;
}

const char* GetFontFamilyName(Hfont font) { return IsLiveFont(font) ? font->family : ""; }

FontCounters GetFontCounters() { return g_fonts.counters; }

void FailNextCreateFont(int count) { g_fonts.failCreate = count; }

void ResetGdiFontStandIn() {
  FontState& s = g_fonts;
  for (int i = 0; i < s.liveCount; ++i) FreeFont(s.live[i]);
  if (s.library != nullptr) FT_Done_FreeType(s.library);
  s = FontState{};
}

}  // namespace plat::gdi
