// One pixel read and written in every store format, against values worked
// out here: channels narrower than 8 bits widened by v x 255 / (2^w - 1),
// wider ones cut to their top 8 bits, 24-bit stores in B, G, R order, the
// spare bits of 16- and 32-bit stores set, grey for a palette-less 8-bit
// store by 30:59:11 weights, and the first of equally near palette entries.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/dib_bits.h"
#include "platform/gdi/gdi_pixels.h"

namespace {

using namespace plat;

GdiPixels Store(std::vector<uint8_t>* bytes, int bits, uint32_t r, uint32_t g, uint32_t b,
                const uint32_t* palette = nullptr) {
  bytes->assign(16, 0);
  GdiPixels p;
  p.pixels = bytes->data();
  p.pitch = 16;
  p.width = 16 / (bits / 8);
  p.height = 1;
  p.bits = bits;
  p.masks[0] = r;
  p.masks[1] = g;
  p.masks[2] = b;
  p.palette = palette;
  return p;
}

}  // namespace

TEST(GdiPixels, ChannelsWidenAndNarrowByTheirWidth) {
  std::vector<uint8_t> bytes;
  // 5:6:5: every value of each channel widened by the formula.
  const GdiPixels s565 = Store(&bytes, 16, 0xF800, 0x07E0, 0x001F);
  for (uint32_t v = 0; v < 64; ++v) {
    const uint16_t pixel = static_cast<uint16_t>(((v & 31) << 11) | (v << 5) | (31 - (v & 31)));
    std::memcpy(bytes.data() + 2, &pixel, 2);
    const uint32_t want = ((v & 31) * 255 / 31) << 16 | (v * 255 / 63) << 8 | (31 - (v & 31)) * 255 / 31;
    ASSERT_EQ(gdi::ReadRgb(s565, 1, 0), want) << v;
  }
  // 10:10:10 in 32 bits: the top 8 bits of each channel; written back, the
  // channel's low bits are 0 and the two spare bits are set.
  const GdiPixels s10 = Store(&bytes, 32, 0x3FF00000, 0x000FFC00, 0x000003FF);
  const uint32_t pixel = (0x3FFu << 20) | (0x155u << 10) | 0x003u;
  std::memcpy(bytes.data(), &pixel, 4);
  EXPECT_EQ(gdi::ReadRgb(s10, 0, 0), 0xFF5500u);
  gdi::WriteRgb(s10, 1, 0, 0x80FF01);
  uint32_t written = 0;
  std::memcpy(&written, bytes.data() + 4, 4);
  EXPECT_EQ(written, 0xC0000000u | (0x200u << 20) | (0x3FCu << 10) | 0x004u);
  // 5:5:5 in 16 bits: the top bit is spare and set.
  const GdiPixels s555 = Store(&bytes, 16, 0x7C00, 0x03E0, 0x001F);
  gdi::WriteRgb(s555, 0, 0, 0x000000);
  uint16_t v16 = 0;
  std::memcpy(&v16, bytes.data(), 2);
  EXPECT_EQ(v16, 0x8000);
  gdi::WriteRgb(s555, 0, 0, 0xFF8008);
  std::memcpy(&v16, bytes.data(), 2);
  EXPECT_EQ(v16, 0x8000 | 31 << 10 | 16 << 5 | 1);
}

TEST(GdiPixels, TwentyFourBitsAndEightBits) {
  std::vector<uint8_t> bytes;
  const GdiPixels s24 = Store(&bytes, 24, 0, 0, 0);
  bytes[3] = 0x11;  // blue
  bytes[4] = 0x22;  // green
  bytes[5] = 0x33;  // red
  EXPECT_EQ(gdi::ReadRgb(s24, 1, 0), 0x332211u);
  gdi::WriteRgb(s24, 2, 0, 0xAABBCC);
  EXPECT_EQ(bytes[6], 0xCC);
  EXPECT_EQ(bytes[7], 0xBB);
  EXPECT_EQ(bytes[8], 0xAA);
  // No palette: grey by weights 30, 59 and 11 (hundredths), read back as grey.
  const GdiPixels grey = Store(&bytes, 8, 0, 0, 0);
  const std::pair<uint32_t, uint8_t> greys[] = {
      {0xFFFFFF, 255}, {0xFF0000, 76}, {0x00FF00, 150}, {0x0000FF, 28}, {0x102030, (16 * 30 + 32 * 59 + 48 * 11) / 100}};
  for (const auto& [rgb, index] : greys) {
    gdi::WriteRgb(grey, 0, 0, rgb);
    EXPECT_EQ(bytes[0], index) << std::hex << rgb;
  }
  bytes[1] = 0x40;
  EXPECT_EQ(gdi::ReadRgb(grey, 1, 0), 0x404040u);
  // A palette: the nearest entry, the first of two equally near; read back
  // through the palette without its top byte.
  uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0xFF000000u | 0x010101u * static_cast<uint32_t>(255 - i);
  palette[10] = palette[20] = 0x00102030;
  const GdiPixels indexed = Store(&bytes, 8, 0, 0, 0, palette);
  gdi::WriteRgb(indexed, 0, 0, 0x102031);
  EXPECT_EQ(bytes[0], 10);
  gdi::WriteRgb(indexed, 0, 0, 0xFEFEFE);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(gdi::ReadRgb(indexed, 0, 0), 0xFEFEFEu);
}

TEST(DibRowLimits, PaletteCountAndBitFieldDepths) {
  using gdi::ConvertDibRowsToRgb24;
  using gdi::DibRowsInfo;
  // Indices up to the palette's last entry read it; the count itself and
  // beyond read black.
  const uint8_t palette[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  const DibRowsInfo indexed{4, -1, 8, gdi::kDibRgb, {}, palette, 2};
  const uint8_t idx[4] = {0, 1, 2, 255};
  uint8_t out[12] = {};
  ASSERT_EQ(ConvertDibRowsToRgb24(indexed, idx, 4, out, 12), 0);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 12), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
  // Bit fields go with 16 and 32 bits only.
  for (uint16_t bits : {8, 24}) {
    DibRowsInfo fields{1, 1, bits, gdi::kDibBitfields, {0xFF0000, 0xFF00, 0xFF}, palette, 2};
    EXPECT_EQ(ConvertDibRowsToRgb24(fields, idx, 4, out, 12), -1) << bits;
  }
  // The last row may lack its padding; any other row may not.
  const DibRowsInfo two{1, 2, 24, gdi::kDibRgb, {}, nullptr, 0};
  const uint8_t rows[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  EXPECT_EQ(ConvertDibRowsToRgb24(two, rows, 7, out, 3), 0);
  EXPECT_EQ(ConvertDibRowsToRgb24(two, rows, 6, out, 3), -1);
}
