#include "platform/gdi/dib_bits.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/image_test_support.h"

namespace plat::gdi {
namespace {

// The rows of a BMP fixture as a DIB description.
DibRowsInfo InfoOf(const std::vector<uint8_t>& bmp, const uint8_t** bits, size_t* size) {
  DibRowsInfo info{};
  info.width = static_cast<int32_t>(imagetest::GetLe32(bmp, 18));
  info.height = static_cast<int32_t>(imagetest::GetLe32(bmp, 22));
  info.bitCount = static_cast<uint16_t>(bmp[28] | (bmp[29] << 8));
  info.compression = imagetest::GetLe32(bmp, 30);
  const uint32_t headerSize = imagetest::GetLe32(bmp, 14);
  info.palette = &bmp[14 + headerSize];
  info.paletteCount = info.bitCount <= 8 ? 1 << info.bitCount : 0;
  const uint32_t offset = imagetest::GetLe32(bmp, 10);
  *bits = &bmp[offset];
  *size = bmp.size() - offset;
  return info;
}

// The 4-, 8- and 24-bit rows that the BMP reader decodes itself come out
// of the DIB transfer as the same colours: two roads that must agree.
TEST(DibRows, AgreesWithTheBmpReadersOwnDecode) {
  for (const char* file : {"t_rich24_v3.bmp", "n_rich8.bmp", "t_sixteen4_v3.bmp"}) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bmp = imagetest::ReadFixture(file);
    imagetest::Decoded reader(bmp, qor::DecodeBmpImage);
    ASSERT_EQ(reader.result, 0);
    const uint8_t* bits;
    size_t size;
    const DibRowsInfo info = InfoOf(bmp, &bits, &size);
    const int32_t pitch = (info.width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> out(static_cast<size_t>(pitch) * info.height, 0xCC);
    ASSERT_EQ(ConvertDibRowsToRgb24(info, bits, size, out.data(), pitch), 0);
    for (int y = 0; y < info.height; ++y) {
      for (int x = 0; x < info.width; ++x) {
        const uint8_t* p = &out[static_cast<size_t>(y) * pitch + 3 * x];
        const uint32_t ours = p[0] | (p[1] << 8) | (p[2] << 16);
        ASSERT_EQ(ours, qor::ReadImagePixel(&reader.image, x, y)) << x << "," << y;
      }
    }
  }
}

// A palette index at the DIB's last entry and one past it (black, though
// the memory after the entries holds a colour), at 1, 4 and 8 bits, on the
// straight-loop road and the generic one.
TEST(DibRows, PaletteIndicesPastTheEntriesReadBlack) {
  const uint8_t palette[12] = {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};
  struct Case {
    int bits, count;
    uint8_t row[4];
    uint8_t last[3];
  };
  const Case cases[] = {{1, 1, {0x40, 0, 0, 0}, {10, 20, 30}},  // indices 0, 1
                        {4, 2, {0x12, 0, 0, 0}, {40, 50, 60}},  // indices 1, 2
                        {8, 2, {1, 2, 0, 0}, {40, 50, 60}}};
  for (const Case& c : cases) {
    for (const bool generic : {false, true}) {
      SCOPED_TRACE(c.bits * 10 + generic);
      const DibRowsInfo info{2, 1, static_cast<uint16_t>(c.bits), kDibRgb, {}, palette, c.count};
      uint8_t out[8];
      std::memset(out, 0xCC, sizeof out);
      ASSERT_EQ(generic ? ConvertDibRowsToRgb24Generic(info, c.row, 4, out, 8) : ConvertDibRowsToRgb24(info, c.row, 4, out, 8), 0);
      EXPECT_EQ(std::vector<uint8_t>(out, out + 3), std::vector<uint8_t>(c.last, c.last + 3));
      EXPECT_EQ(std::vector<uint8_t>(out + 3, out + 6), std::vector<uint8_t>(3, 0));
    }
  }
}

TEST(DibRows, MasksDefaultsAndRefusals) {
  // 32-bit bit fields of 10 bits keep their top 8; 16-bit plain rows are
  // 5:5:5 and widen by repeating bits.
  DibRowsInfo wide{1, 1, 32, kDibBitfields, {0x3FF00000, 0xFFC00, 0x3FF}, nullptr, 0};
  const uint32_t v = (0x3FFu << 20) | (0x201u << 10) | 0x0FFu;
  uint8_t out[8] = {};
  ASSERT_EQ(ConvertDibRowsToRgb24(wide, reinterpret_cast<const uint8_t*>(&v), 4, out, 4), 0);
  EXPECT_EQ(out[0], 0x3F);
  EXPECT_EQ(out[1], 0x80);
  EXPECT_EQ(out[2], 0xFF);
  DibRowsInfo plain16{2, -1, 16, kDibRgb, {}, nullptr, 0};
  const uint8_t px16[4] = {0x1F, 0x00, 0x00, 0x42};  // blue 31; red 16
  ASSERT_EQ(ConvertDibRowsToRgb24(plain16, px16, 4, out, 8), 0);
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[5], 0x84);
  const uint8_t palette[4] = {9, 8, 7, 0};
  DibRowsInfo indexed{2, 1, 8, kDibRgb, {}, palette, 1};
  const uint8_t idx[2] = {0, 5};
  // Refusals: bits shorter than the rows, layouts the transfer does not take.
  EXPECT_EQ(ConvertDibRowsToRgb24(indexed, idx, 1, out, 8), -1);
  DibRowsInfo bad = indexed;
  bad.bitCount = 2;
  EXPECT_EQ(ConvertDibRowsToRgb24(bad, idx, 2, out, 8), -1);
  bad = indexed;
  bad.compression = kDibBitfields;
  EXPECT_EQ(ConvertDibRowsToRgb24(bad, idx, 2, out, 8), -1);
  bad = wide;
  bad.masks[0] = bad.masks[1] = bad.masks[2] = 0;
  EXPECT_EQ(ConvertDibRowsToRgb24(bad, reinterpret_cast<const uint8_t*>(&v), 4, out, 4), -1);
  bad = indexed;
  bad.height = 0;
  EXPECT_EQ(ConvertDibRowsToRgb24(bad, idx, 2, out, 8), -1);
  EXPECT_EQ(ConvertDibRowsToRgb24(indexed, idx, 2, out, 5), -1);  // pitch below a row
}

}  // namespace
}  // namespace plat::gdi
