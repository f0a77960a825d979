// GDI-like fonts on FreeType and fontconfig: a font object made from the
// arguments of CreateFontA, its text metrics, and glyph outlines as 1-bit or
// grey bitmaps with the metrics the framework reads to lay glyphs out.
//
// Faces: "ＭＳ ゴシック" and "MS Gothic" are IPAGothic, "ＭＳ Ｐゴシック" and
// "MS PGothic" IPAPGothic (fonts-ipafont-gothic); any other name is the face
// fontconfig holds under that family, and IPAGothic when it holds none. ASCII
// letters of a name match in either case, as GDI face names do.
//
// Sizes: a positive height is the cell height (ascent + descent), so pixels
// per em = height x units per em / (usWinAscent + usWinDescent); a negative
// height is the em height itself; 0 gives a 16-pixel cell. Heights and widths
// beyond kMaxFontPixels are taken as kMaxFontPixels. A non-zero width is the
// average character width and stretches the glyphs across.
//
// Character codes are the system's own: a single byte, or a CP932 pair as
// (lead << 8) | trail. A code that is not one CP932 character (a lone lead,
// a bad trail, anything above 0xFFFF) or that the face lacks gives the
// face's missing-glyph box.
//
// The DC-taking forms GetTextMetricsA(hdc, ...) and GetGlyphOutlineA(hdc,
// ...) forward to GetTextMetricsForFont and GetGlyphOutlineForFont with the
// font selected into that DC; they live with the DCs.
#pragma once

#include <cstdint>

namespace plat::gdi {

struct FontObject;
using Hfont = FontObject*;  // nullptr: none

constexpr int kMaxFontPixels = 2048;

// Weights.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// Character sets.
constexpr uint32_t ANSI_CHARSET = 0;
constexpr uint32_t DEFAULT_CHARSET = 1;
constexpr uint32_t SHIFTJIS_CHARSET = 0x80;
constexpr uint32_t HANGUL_CHARSET = 0x81;

// Quality and pitch (kept, not acted on: the outline format chooses
// monochrome or grey).
constexpr uint32_t NONANTIALIASED_QUALITY = 3;
constexpr uint32_t FIXED_PITCH = 1;

// tmPitchAndFamily bits. As in GDI, TMPF_FIXED_PITCH set means the pitch
// is variable.
constexpr uint8_t TMPF_FIXED_PITCH = 0x01;
constexpr uint8_t TMPF_VECTOR = 0x02;
constexpr uint8_t TMPF_TRUETYPE = 0x04;
constexpr uint8_t FF_MODERN = 0x30;

struct TextMetricA {
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  int32_t tmOverhang = 0;
  int32_t tmDigitizedAspectX = 0;
  int32_t tmDigitizedAspectY = 0;
  uint8_t tmFirstChar = 0;
  uint8_t tmLastChar = 0;
  uint8_t tmDefaultChar = 0;
  uint8_t tmBreakChar = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;
};

// Outline formats.
constexpr uint32_t GGO_METRICS = 0;
constexpr uint32_t GGO_BITMAP = 1;        // 1 bit per pixel, high bit first
constexpr uint32_t GGO_GRAY2_BITMAP = 4;  // a byte per pixel, levels 0-4
constexpr uint32_t GGO_GRAY4_BITMAP = 5;  // levels 0-16
constexpr uint32_t GGO_GRAY8_BITMAP = 6;  // levels 0-64
constexpr uint32_t GDI_ERROR = 0xFFFFFFFFu;

struct GlyphOrigin {
  int32_t x = 0;  // left of the black box from the pen
  int32_t y = 0;  // top of the black box above the baseline
};

struct GlyphMetrics {
  uint32_t gmBlackBoxX = 0;  // black box size; 0 x 0 for a glyph with no ink
  uint32_t gmBlackBoxY = 0;
  GlyphOrigin gmptGlyphOrigin;
  int16_t gmCellIncX = 0;  // advance
  int16_t gmCellIncY = 0;
};

// 16.16 fixed point as GDI keeps it: value + fract / 65536.
struct Fixed {
  uint16_t fract = 0;
  int16_t value = 0;
};
struct Mat2 {
  Fixed eM11, eM12, eM21, eM22;
};
constexpr Mat2 kIdentityMat2 = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

// Null when no face loads, when 256 fonts are alive already, or when a
// failure was asked for. `faceName` is CP932,
// read up to its terminating zero or 31 bytes, never splitting a pair; null
// or empty means IPAGothic. Escapement, orientation, precisions, quality and
// pitch are kept but change nothing. Weights of 600 and more embolden every
// glyph by one pixel and widen its advance by one; italic slants glyphs.
Hfont CreateFontA(int height, int width, int escapement, int orientation, int weight, uint32_t italic,
                  uint32_t underline, uint32_t strikeOut, uint32_t charSet, uint32_t outPrecision,
                  uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const char* faceName);

// False for anything that is not a live font (so a second delete is harmless).
bool DeleteFontObject(Hfont font);

// False for a dead or null font or a null `out`.
bool GetTextMetricsForFont(Hfont font, TextMetricA* out);

// Rasterises `code` in `format` with `matrix` (only the identity is taken).
// Bitmap rows are padded to 4 bytes; the result is the size the bitmap
// needs (0 for a glyph with no ink). With a null `buffer` or a
// `bufferSize` of 0 nothing is written but the metrics; a smaller buffer
// than needed gives GDI_ERROR and nothing is written. GGO_METRICS gives 0
// and the metrics of the GGO_BITMAP rendering. GDI_ERROR also for a dead
// font, an unknown format or null metrics or matrix.
uint32_t GetGlyphOutlineForFont(Hfont font, uint32_t code, uint32_t format, GlyphMetrics* metrics,
                                uint32_t bufferSize, void* buffer, const Mat2* matrix);

// The family of the face a font is drawn from (UTF-8), "" for a dead font.
const char* GetFontFamilyName(Hfont font);

// --- tests -------------------------------------------------------------------
struct FontCounters {
  int createCalls = 0;
  int created = 0;
  int deleted = 0;
  int live = 0;
  int metricsCalls = 0;
  int outlineCalls = 0;
};
FontCounters GetFontCounters();
// The next `count` CreateFontA calls fail.
void FailNextCreateFont(int count = 1);
// Frees every live font and the font engine, zeroes the counters.
void ResetGdiFontStandIn();

}  // namespace plat::gdi
