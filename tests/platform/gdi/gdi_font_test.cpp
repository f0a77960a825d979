#include "platform/gdi/gdi_font.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/ipa_face.h"

using namespace plat::gdi;

namespace {

// The face file read again through FreeType, without the stand-in: sizes
// and metrics come from its tables, reference glyphs from its renderer.
struct FaceFile : testsupport::IpaFace {
  int Round(int64_t units, int cell) const { return static_cast<int>(Scale(units, cell)); }

  // A glyph as FreeType renders it at the cell height's size; glyph index 0
  // is the missing-glyph box.
  const FT_Bitmap& Render(int cell, FT_UInt index, bool mono) {
    FT_Set_Char_Size(face, 0, Round(int64_t{em} * 64, cell), 0, 0);
    FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL));
    FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL);
    return face->glyph->bitmap;
  }
  int Coverage(const FT_Bitmap& b, int x, int y) const {
    if (x < 0 || x >= static_cast<int>(b.width)) return 0;
    const unsigned char* row = b.buffer + y * b.pitch;
    return b.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
  }
};

Hfont MakeFont(int height, int weight = FW_NORMAL, uint32_t italic = 0, const char* face = nullptr) {
  return CreateFontA(height, 0, 0, 0, weight, italic, 0, 0, SHIFTJIS_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                     FIXED_PITCH, face);
}

struct Outline {
  GlyphMetrics gm;
  std::vector<uint8_t> bits;
};

// Asks for the size first, then for the bits into a buffer with guard bytes
// after it that must stay untouched.
Outline Get(Hfont font, uint32_t code, uint32_t format) {
  Outline o;
  const uint32_t size = GetGlyphOutlineForFont(font, code, format, &o.gm, 0, nullptr, &kIdentityMat2);
  EXPECT_NE(size, GDI_ERROR) << std::hex << code;
  if (size == GDI_ERROR) return o;
  o.bits.assign(size + 16, 0xA5);
  EXPECT_EQ(GetGlyphOutlineForFont(font, code, format, &o.gm, size, o.bits.data(), &kIdentityMat2), size);
  for (uint32_t i = size; i < size + 16; ++i) EXPECT_EQ(o.bits[i], 0xA5) << "written past the buffer";
  o.bits.resize(size);
  return o;
}

// Every pixel of a GGO bitmap (and its row padding, which must be 0)
// against FreeType's rendering; `bold` overstrikes it one pixel to the right.
void ExpectSameGlyph(FaceFile& ref, const Outline& o, uint32_t format, const FT_Bitmap& b, bool bold,
                     const char* what) {
  const int width = b.width == 0 ? 0 : static_cast<int>(b.width) + (bold ? 1 : 0);
  ASSERT_EQ(o.gm.gmBlackBoxX, static_cast<uint32_t>(width)) << what;
  ASSERT_EQ(o.gm.gmBlackBoxY, b.rows) << what;
  const int pitch = format == GGO_BITMAP ? (width + 31) / 32 * 4 : (width + 3) / 4 * 4;
  ASSERT_EQ(o.bits.size(), static_cast<size_t>(pitch) * b.rows) << what;
  for (int y = 0; y < static_cast<int>(b.rows); ++y) {
    for (int x = 0; x < pitch * (format == GGO_BITMAP ? 8 : 1); ++x) {
      int cover = ref.Coverage(b, x, y);
      if (bold) cover = std::max(cover, ref.Coverage(b, x - 1, y));
      const uint8_t* row = o.bits.data() + y * pitch;
      if (format == GGO_BITMAP) {
        ASSERT_EQ((row[x >> 3] >> (7 - (x & 7))) & 1, cover >= 128 ? 1 : 0) << what << " at " << x << "," << y;
      } else {
        const int levels = format == GGO_GRAY2_BITMAP ? 4 : format == GGO_GRAY4_BITMAP ? 16 : 64;
        ASSERT_EQ(row[x], (cover * levels + 127) / 255) << what << " at " << x << "," << y;
      }
    }
  }
}

class GdiFont : public ::testing::Test {
 protected:
  void SetUp() override { ResetGdiFontStandIn(); }
  void TearDown() override { ResetGdiFontStandIn(); }
};

// IPAGothic: 2048 units per em, Windows ascent 1802 and descent 401, largest
// advance 2048; so a 16-pixel cell has ascent 13, descent 3 and a maximum
// width of 15 (14.87 rounded).
TEST_F(GdiFont, TextMetricsFollowTheCellHeightRuleOfTheFaceTables) {
  FaceFile ref;
  for (int cell : {12, 16, 32, 100}) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      Hfont f = MakeFont(cell, weight);
      TextMetricA tm;
      ASSERT_TRUE(GetTextMetricsForFont(f, &tm));
      const int bold = weight >= 600 ? 1 : 0;
      EXPECT_EQ(tm.tmAscent, ref.Round(ref.winAscent, cell)) << cell;
      EXPECT_EQ(tm.tmDescent, ref.Round(ref.winDescent, cell)) << cell;
      EXPECT_EQ(tm.tmHeight, cell);
      EXPECT_EQ(tm.tmMaxCharWidth, ref.Round(ref.face->max_advance_width, cell) + bold) << cell;
      EXPECT_EQ(tm.tmInternalLeading, cell - ref.Round(ref.em, cell));
      EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // the bit means variable pitch
      EXPECT_TRUE(DeleteFontObject(f));
    }
  }
  TextMetricA tm;
  Hfont em16 = MakeFont(-16);  // a negative height is the em
  ASSERT_TRUE(GetTextMetricsForFont(em16, &tm));
  EXPECT_EQ(tm.tmAscent, (ref.winAscent * 16 + ref.em / 2) / ref.em);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 16);
  Hfont wide = CreateFontA(16, 12, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, nullptr);
  ASSERT_TRUE(GetTextMetricsForFont(wide, &tm));
  EXPECT_EQ(tm.tmAveCharWidth, 12);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_GT(Get(wide, 0x889F, GGO_BITMAP).gm.gmCellIncX, Get(MakeFont(16), 0x889F, GGO_BITMAP).gm.gmCellIncX);
}

// ASCII, half-width katakana, hiragana and kanji, by their CP932 codes and
// the Unicode scalars written here.
TEST_F(GdiFont, GlyphsEqualFreeTypeRenderingsMonoGreyAndBold) {
  FaceFile ref;
  const struct {
    uint32_t code, unicode;
  } chars[] = {{'A', 0x41}, {'g', 0x67}, {'~', 0x7E}, {0xB1, 0xFF71}, {0xDF, 0xFF9F},
               {0x82A0, 0x3042}, {0x8341, 0x30A2}, {0x889F, 0x4E9C}, {0x9F40, 0x6A97}};
  for (int cell : {12, 16, 32}) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      Hfont f = MakeFont(cell, weight);
      const bool bold = weight == FW_BOLD;
      for (const auto& c : chars) {
        const FT_UInt index = FT_Get_Char_Index(ref.face, c.unicode);
        ASSERT_NE(index, 0u);
        for (uint32_t format : {GGO_BITMAP, GGO_GRAY2_BITMAP, GGO_GRAY4_BITMAP, GGO_GRAY8_BITMAP}) {
          SCOPED_TRACE(testing::Message() << "cell " << cell << " weight " << weight << " code " << std::hex
                                          << c.code << " format " << format);
          const Outline o = Get(f, c.code, format);
          const FT_Bitmap& b = ref.Render(cell, index, format == GGO_BITMAP);
          EXPECT_EQ(o.gm.gmptGlyphOrigin.x, ref.face->glyph->bitmap_left);
          EXPECT_EQ(o.gm.gmptGlyphOrigin.y, ref.face->glyph->bitmap_top);
          EXPECT_EQ(o.gm.gmCellIncX, ((ref.face->glyph->advance.x + 32) >> 6) + (bold ? 1 : 0));
          EXPECT_EQ(o.gm.gmCellIncY, 0);
          ExpectSameGlyph(ref, o, format, b, bold, "glyph");
        }
      }
      GlyphMetrics gm;
      ASSERT_EQ(GetGlyphOutlineForFont(f, 0x889F, GGO_METRICS, &gm, 0, nullptr, &kIdentityMat2), 0u);
      EXPECT_EQ(gm.gmBlackBoxX, Get(f, 0x889F, GGO_BITMAP).gm.gmBlackBoxX);
    }
  }
  // Blanks have no black box and need no bytes; they still advance.
  Hfont f = MakeFont(16);
  for (uint32_t blank : {0x20u, 0x8140u}) {
    GlyphMetrics gm;
    uint8_t byte = 0xA5;
    EXPECT_EQ(GetGlyphOutlineForFont(f, blank, GGO_GRAY4_BITMAP, &gm, 1, &byte, &kIdentityMat2), 0u);
    EXPECT_EQ(byte, 0xA5);
    EXPECT_EQ(gm.gmBlackBoxX, 0u);
    EXPECT_EQ(gm.gmBlackBoxY, 0u);
    EXPECT_GT(gm.gmCellIncX, 0);
  }
}

TEST_F(GdiFont, ItalicSlantsWithinTheSameAdvance) {
  const Outline a = Get(MakeFont(32), '|', GGO_GRAY4_BITMAP);
  const Outline b = Get(MakeFont(32, FW_NORMAL, 1), '|', GGO_GRAY4_BITMAP);
  EXPECT_EQ(a.gm.gmCellIncX, b.gm.gmCellIncX);
  EXPECT_GT(b.gm.gmBlackBoxX, a.gm.gmBlackBoxX + 3);
  // The bar's ink starts further right at the top than at the bottom.
  const uint32_t pitch = (b.gm.gmBlackBoxX + 3) / 4 * 4, last = b.gm.gmBlackBoxY - 1;
  auto ink = [&](uint32_t y) {
    const uint8_t* row = &b.bits[y * pitch];
    return std::find_if(row, row + pitch, [](uint8_t v) { return v > 8; }) - row;
  };
  EXPECT_GT(ink(0), ink(last) + 3);
}

// Every single byte, every lead byte alone and with every trail byte:
// a code that is not one CP932 character draws the missing-glyph box, and
// nothing is ever written past the buffer.
TEST_F(GdiFont, MalformedCodesGiveTheMissingGlyphBox) {
  FaceFile ref;
  Hfont f = MakeFont(16);
  const FT_Bitmap& missingRef = ref.Render(16, 0, true);
  const Outline missing = Get(f, 0x81, GGO_BITMAP);
  ExpectSameGlyph(ref, missing, GGO_BITMAP, missingRef, false, "lone lead");
  auto isMissing = [&](uint32_t code) {
    const Outline o = Get(f, code, GGO_BITMAP);
    return o.bits == missing.bits && o.gm.gmBlackBoxX == missing.gm.gmBlackBoxX &&
           o.gm.gmptGlyphOrigin.y == missing.gm.gmptGlyphOrigin.y;
  };
  for (uint32_t lead = 0; lead < 256; ++lead) {
    const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    if (!isLead) {
      Get(f, lead, GGO_GRAY4_BITMAP);
      if (lead >= 0x21 && lead < 0x7F) {
        EXPECT_FALSE(isMissing(lead)) << lead;
      }
      continue;
    }
    EXPECT_TRUE(isMissing(lead)) << lead;
    for (uint32_t trail = 0; trail < 256; ++trail) {
      const uint32_t code = lead << 8 | trail;
      const bool badTrail = trail < 0x40 || trail == 0x7F || trail > 0xFC;
      if (badTrail) {
        EXPECT_TRUE(isMissing(code)) << std::hex << code;
      } else {
        Get(f, code, GGO_GRAY4_BITMAP);
      }
    }
  }
  // Not lead + trail, or wider than 16 bits.
  for (uint32_t code : {0x4142u, 0x0081u << 8, 0x1889Fu, 0xFFFFFFFFu}) EXPECT_TRUE(isMissing(code)) << code;
}

TEST_F(GdiFont, BuffersAndArgumentsAreChecked) {
  Hfont f = MakeFont(16);
  GlyphMetrics gm;
  const uint32_t size = GetGlyphOutlineForFont(f, 0x889F, GGO_GRAY4_BITMAP, &gm, 0, nullptr, &kIdentityMat2);
  ASSERT_GT(size, 4u);
  std::vector<uint8_t> small(size - 1, 0xA5);
  EXPECT_EQ(GetGlyphOutlineForFont(f, 0x889F, GGO_GRAY4_BITMAP, &gm, size - 1, small.data(), &kIdentityMat2),
            GDI_ERROR);
  EXPECT_EQ(small, std::vector<uint8_t>(size - 1, 0xA5));
  EXPECT_EQ(GetGlyphOutlineForFont(f, 0x889F, GGO_GRAY4_BITMAP, &gm, size, nullptr, &kIdentityMat2), size);

  Mat2 doubled = kIdentityMat2;
  doubled.eM11.value = 2;
  for (uint32_t format : {2u, 3u, 7u, 0x81u}) {
    EXPECT_EQ(GetGlyphOutlineForFont(f, 'A', format, &gm, 0, nullptr, &kIdentityMat2), GDI_ERROR) << format;
  }
  EXPECT_EQ(GetGlyphOutlineForFont(f, 'A', GGO_BITMAP, nullptr, 0, nullptr, &kIdentityMat2), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineForFont(f, 'A', GGO_BITMAP, &gm, 0, nullptr, nullptr), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineForFont(f, 'A', GGO_BITMAP, &gm, 0, nullptr, &doubled), GDI_ERROR);
  EXPECT_FALSE(GetTextMetricsForFont(f, nullptr));

  // A deleted font is refused everywhere, and deleting it again is harmless.
  EXPECT_TRUE(DeleteFontObject(f));
  EXPECT_FALSE(DeleteFontObject(f));
  EXPECT_FALSE(DeleteFontObject(nullptr));
  TextMetricA tm;
  EXPECT_FALSE(GetTextMetricsForFont(f, &tm));
  EXPECT_EQ(GetGlyphOutlineForFont(f, 'A', GGO_BITMAP, &gm, 0, nullptr, &kIdentityMat2), GDI_ERROR);
}

// Heights and widths at and past their limits make usable fonts whose
// glyphs stay within what the metrics promise.
TEST_F(GdiFont, SizesAtTheirLimits) {
  const struct {
    int height, width, cell;
  } sizes[] = {{1, 0, 1}, {0, 0, 16}, {kMaxFontPixels, 0, kMaxFontPixels},
               {INT_MAX, 0, kMaxFontPixels}, {-1, INT_MIN, -1}, {INT_MIN, 1, -1}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.height << " x " << s.width);
    Hfont f = CreateFontA(s.height, s.width, 0, 0, FW_BOLD, 1, 1, 1, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
    ASSERT_NE(f, nullptr);
    TextMetricA tm;
    ASSERT_TRUE(GetTextMetricsForFont(f, &tm));
    if (s.cell > 0) {
      EXPECT_EQ(tm.tmHeight, s.cell);
    }
    EXPECT_GE(tm.tmHeight, 1);
    EXPECT_LE(tm.tmHeight, kMaxFontPixels * 2);
    EXPECT_GE(tm.tmMaxCharWidth, 1);
    for (uint32_t format : {GGO_BITMAP, GGO_GRAY4_BITMAP}) {
      const Outline o = Get(f, 0x889F, format);
      EXPECT_LE(o.gm.gmBlackBoxY, static_cast<uint32_t>(tm.tmHeight) * 2);
    }
    EXPECT_TRUE(DeleteFontObject(f));
  }
}

// The Japanese system names, fontconfig families, and IPAGothic for the
// rest; names are read no further than a face name holds.
TEST_F(GdiFont, FaceNamesMapToTheIpaFaces) {
  const struct {
    const char* name;
    const char* family;
  } names[] = {{"ＭＳ ゴシック", "IPAGothic"}, {"MS Gothic", "IPAGothic"}, {"ms gOTHIC", "IPAGothic"},
               {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"}, {"IPAPGothic", "IPAPGothic"},
               {"No Such Face", "IPAGothic"}, {"", "IPAGothic"}, {nullptr, "IPAGothic"},
               {"\x82", "IPAGothic"}};
  for (const auto& n : names) {
    Hfont f = MakeFont(16, FW_NORMAL, 0, n.name);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(GetFontFamilyName(f), n.family) << (n.name ? n.name : "null");
  }
  // 31 bytes with no terminator (the sanitizers see any read past them).
  std::vector<char> unterminated(31, 'x');
  EXPECT_STREQ(GetFontFamilyName(MakeFont(16, FW_NORMAL, 0, unterminated.data())), "IPAGothic");
  // The proportional face really is proportional.
  TextMetricA tm;
  ASSERT_TRUE(GetTextMetricsForFont(MakeFont(16, FW_NORMAL, 0, "ＭＳ Ｐゴシック"), &tm));
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH);
}

}  // namespace
