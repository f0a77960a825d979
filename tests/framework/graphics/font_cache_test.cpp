// Font handles and the glyph cache: every cached cell against the glyph
// FreeType renders from the font file with the same settings (edge pens
// stamped by the test's own pen table), first-in-first-out eviction, the
// handle table's limits and re-creation under the same handle values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "font_test_support.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"

using namespace qor;

namespace {

struct Char {
  uint16_t code;
  uint32_t unicode;
};
// ASCII, half-width katakana, kana and kanji, as CP932 codes.
constexpr Char kChars[] = {{'A', 'A'}, {'g', 'g'}, {'W', 'W'}, {0xB1, 0xFF71}, {0xDF, 0xFF9F},
                           {0x82A0, 0x3042}, {0x8ABF, 0x6F22}, {0x8E9A, 0x5B57}};
const char kString[] = "AgW\xB1\xDF\x82\xA0\x8A\xBF\x8E\x9A";

// The cell the cache should hold for `g`: the glyph at (e, e), 1 bit per
// pixel for type 0, else coverage - 1 low and the pen's stamp high.
std::vector<uint8_t> ExpectedCell(const fonttest::RefGlyph& g, const FontRecord& f, int edge) {
  std::vector<uint8_t> cell(static_cast<size_t>(f.cell) * f.memoryRowBytes, 0);
  auto at = [&](int x, int y) -> uint8_t* {
    return x < 0 || y < 0 || x >= f.cell || y >= f.cell ? nullptr : &cell[static_cast<size_t>(y) * f.memoryRowBytes + x];
  };
  for (int y = 0; y < g.rows; ++y) {
    for (int x = 0; x < g.width; ++x) {
      const int level = g.level[static_cast<size_t>(y * g.width + x)];
      if (level == 0) continue;
      if (f.memoryBits == 1) {
        if (x < f.cell && y < f.cell) cell[static_cast<size_t>(y) * f.memoryRowBytes + x / 8] |= 0x80 >> (x % 8);
        continue;
      }
      if (uint8_t* p = at(x + edge, y + edge)) *p = static_cast<uint8_t>((*p & 0xF0) | (level - 1));
      if (!(f.type & kFontTypeEdged)) continue;
      for (int dy = -edge; dy <= edge; ++dy) {
        for (int dx = -edge; dx <= edge; ++dx) {
          uint8_t* p = at(x + edge + dx, y + edge + dy);
          if (p != nullptr && fonttest::PenCovers(edge, dx, dy) && (*p >> 4) < level - 1)
            *p = static_cast<uint8_t>((*p & 0x0F) | ((level - 1) << 4));
        }
      }
    }
  }
  return cell;
}

TEST(FontCache, CellsEqualFreeTypeGlyphsForEveryTypeSizeAndEdge) {
  gfxtest::Road road(true, 32);
  fonttest::FaceFile file;
  for (int type = 0; type < 4; ++type) {
    for (int size : {12, 16, 32}) {
      const int thickness = size == 16 ? 6 : 4;  // 6 is bold
      const int edge = (type & 1) ? (size == 32 ? (type == 1 ? 3 : 5) : size == 16 ? 2 : 1) : 0;
      const int32_t h = CreateFontHandle(nullptr, size, thickness, type, -1, edge, 0, -1, -1);
      ASSERT_NE(h, -1);
      FontRecord* f = GetFontRecord(h);
      EXPECT_EQ(f->height % 2, 0);
      EXPECT_EQ(f->height, (file.Height(size) + 2 * edge + 1) & ~1);
      uint16_t codes[16];
      int32_t n = 0;
      ASSERT_EQ(FindCachedGlyph(codes, 16, kString, h, -1, &n), 0);
      ASSERT_EQ(n, 8);
      for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(testing::Message() << "type " << type << " size " << size << " char " << i);
        ASSERT_EQ(codes[i], kChars[i].code);
        const FontGlyphEntry* e = f->codes[codes[i]].entry;
        ASSERT_NE(e, nullptr);
        const auto ref = file.Render(size, kChars[i].unicode, !(type & 2), thickness >= 6);
        EXPECT_EQ(e->advance, ref.advance + 2 * edge);
        EXPECT_EQ(e->xOrigin, ref.left);
        EXPECT_EQ(e->yOffset, file.Ascent(size) - ref.top);
        EXPECT_EQ(e->boxWidth, ref.width + 2 * edge);
        EXPECT_EQ(e->boxHeight, ref.rows + 2 * edge);
        const uint8_t* bits = FontCellBits(f, e->slot);
        EXPECT_EQ(std::vector<uint8_t>(bits, bits + f->cell * f->memoryRowBytes), ExpectedCell(ref, *f, edge));
      }
      ReleaseFontHandle(h);
    }
  }
}

// A string of more distinct characters than the cache holds draws as the
// characters drawn one by one; the oldest glyphs leave first.
TEST(FontCache, EvictsFirstInFirstOutAndRedrawsEvictedGlyphs) {
  gfxtest::Road road(true, 32);
  const int32_t h = CreateFontHandle(nullptr, 128, 4, 0, -1, -1, 0, -1, -1);
  ASSERT_NE(h, -1);
  FontRecord* f = GetFontRecord(h);
  ASSERT_EQ(f->capacity, 20);
  std::string text;
  for (int i = 0; i < 26; ++i) text += static_cast<char>('A' + i);
  MemImage whole{}, single{};
  ASSERT_EQ(CreateScreenMemImg(&whole, 4000, 200, 1), 0);
  ASSERT_EQ(CreateScreenMemImg(&single, 4000, 200, 1), 0);
  FillMemImgRect(&whole, nullptr, 0x123456);
  FillMemImgRect(&single, nullptr, 0x123456);
  const int advance = DrawTextCached(1, 3, 5, 0, 1, 1, text.c_str(), 0xFFFFFF, &whole, nullptr, 1, h, 0, -1, 0, nullptr);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(f->codes['G' + i].cached, 1u) << i;
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f->codes['A' + i].cached, 0u) << i;
  // One more: 'G', cached first of those left, goes.
  ASSERT_EQ(FindCachedGlyph(nullptr, 1, "a", h, -1, nullptr), 0);
  EXPECT_EQ(f->codes['G'].cached, 0u);
  EXPECT_EQ(f->codes['H'].cached, 1u);
  int pen = 0;
  for (char c : text) {
    const char one[2] = {c, 0};
    pen += DrawTextCached(1, 3 + pen, 5, 0, 1, 1, one, 0xFFFFFF, &single, nullptr, 1, h, 0, -1, 0, nullptr);
  }
  EXPECT_EQ(pen, advance);
  EXPECT_EQ(std::memcmp(whole.pixels, single.pixels, static_cast<size_t>(whole.buffer->pitch) * 200), 0);
  ReleaseMemImg(&whole);
  ReleaseMemImg(&single);
}

TEST(FontHandles, DefaultsLimitsRangesAndRecreation) {
  gfxtest::Road road(false, 16);
  const FontRecord* d = GetFontRecord(CreateFontHandle(nullptr, -1, -1, -1, -1, -1, -1, -1, -1));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->size * 100 + d->thickness * 10 + d->edgeSize + d->charSet * 1000 + d->type, 1000 + 1600 + 60 + 1);
  EXPECT_STREQ(plat::gdi::GetFontFamilyName(d->gdiFont), "IPAGothic");
  // A face name copy never keeps half a double-byte character.
  char name[8];
  const int32_t named = CreateFontHandle("\x82\x60\x82\x61", 12, 4, 0, -1, -1, 0, -1, -1);
  ASSERT_EQ(GetFontParams(name, 4, nullptr, nullptr, named), 0);
  EXPECT_STREQ(name, "\x82\x60");

  // Out of range: slot, check, size, edge; at the limits they work.
  EXPECT_EQ(CreateFontHandle(nullptr, 16, -1, -1, -1, -1, -1, 40, -1), -1);
  EXPECT_EQ(CreateFontHandle(nullptr, 16, -1, -1, -1, -1, -1, -1, 2048), -1);
  EXPECT_EQ(CreateFontHandle(nullptr, 1025, -1, -1, -1, -1, -1, -1, -1), -1);
  EXPECT_EQ(CreateFontHandle(nullptr, 16, -1, -1, -1, 33, -1, -1, -1), -1);
  const int32_t big = CreateFontHandle(nullptr, 1024, 6, 3, -1, -1, 1, 39, 2047);
  const int32_t wide = CreateFontHandle(nullptr, 24, 6, 3, -1, 32, 1, -1, -1);
  EXPECT_EQ(big, 0x2000 << 16 | 2047 << 16 | 39);
  EXPECT_GT(DrawStringWithFont(0, 0, "\x88\x9F" "W", PackColorRGB(255, 0, 0), big, 0, 0), 0);
  EXPECT_GT(DrawStringWithFont(0, 0, "\x88\x9F" "W", PackColorRGB(255, 0, 0), wide, 0, 1), 0);

  // Re-creation keeps every handle value, the extra advance and the lost flag.
  SetFontAdvanceExtra(3, named);
  int32_t lost = 7;
  RegisterFontLostFlag(named, &lost);
  ASSERT_EQ(RecreateAllFonts(), 0);
  for (int32_t handle : {GetStandardFontHandle(), named, big, wide}) EXPECT_EQ(IsValidFontHandle(handle), 1);
  EXPECT_EQ(GetFontRecord(named)->extraAdvance, 3);
  EXPECT_EQ(lost, 0);
  ReleaseFontHandle(named);
  EXPECT_EQ(lost, 1);

  // A font selected into a DC answers there and is not deleted while selected.
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  const plat::HGdiObj font = plat::FontObjectHandle(GetFontRecord(big)->gdiFont);
  EXPECT_EQ(plat::SelectObject(dc, font), 1u);
  plat::gdi::TextMetricA viaDc, direct;
  ASSERT_TRUE(plat::GetTextMetricsA(dc, &viaDc));
  ASSERT_TRUE(plat::gdi::GetTextMetricsForFont(GetFontRecord(big)->gdiFont, &direct));
  EXPECT_EQ(std::memcmp(&viaDc, &direct, sizeof direct), 0);
  EXPECT_FALSE(plat::DeleteObject(font));
  plat::DeleteDC(dc);

  // The table holds 40; the 41st names the limit.
  while (CreateFontHandle(nullptr, 8, 4, 0, -1, -1, 0, -1, -1) != -1) {
  }
  EXPECT_TRUE(road.Logged("作成できるフォントハンドル数 40 の限界を超えました"));
}

// Every byte value, lone leads and bad trails: the face's box, no crash, no
// write outside a cell (the sanitizers watch), and the walk takes a lead at
// the end alone.
TEST(FontCache, MalformedTextCachesBoxesWithinCells) {
  gfxtest::Road road(true, 16);
  const int32_t h = CreateFontHandle(nullptr, 20, 6, 3, -1, 4, 1, -1, -1);
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  all += "\x81\x7F\x82\xFD\xFC\xFC\x81";
  int32_t n = 0;
  std::vector<uint16_t> codes(all.size());
  ASSERT_EQ(FindCachedGlyph(codes.data(), static_cast<int32_t>(codes.size()), all.c_str(), h, -1, &n), 0);
  EXPECT_EQ(codes[static_cast<size_t>(n) - 1], 0x81);
  EXPECT_GT(DrawStringWithFont(0, 0, all.c_str(), PackColorRGB(1, 2, 3), h, 0, 0), 0);
  // A length of 3 over a double-byte character and two single ones.
  EXPECT_EQ(FindCachedGlyph(codes.data(), 8, "\x82\xA0" "ab", h, 3, &n), 0);
  EXPECT_EQ(n, 2);
}

}  // namespace
