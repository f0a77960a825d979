#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "image_test_support.h"

namespace qor {
namespace {

using namespace imagetest;

// A BMP put together byte by byte: file header, info header of
// `headerSize` bytes, `extra` (palette or masks), then the pixel bytes.
std::vector<uint8_t> MakeBmp(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                             const std::vector<uint8_t>& extra, const std::vector<uint8_t>& pixels,
                             uint32_t colorsUsed = 0) {
  std::vector<uint8_t> b(14 + headerSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  const uint32_t offset = 14 + headerSize + static_cast<uint32_t>(extra.size());
  PutLe32(&b, 2, offset + static_cast<uint32_t>(pixels.size()));
  PutLe32(&b, 10, offset);
  PutLe32(&b, 14, headerSize);
  if (headerSize >= 40) {  // a smaller (core) header only says its size here
    PutLe32(&b, 18, static_cast<uint32_t>(width));
    PutLe32(&b, 22, static_cast<uint32_t>(height));
    PutLe16(&b, 26, 1);
    PutLe16(&b, 28, bits);
    PutLe32(&b, 30, compression);
    PutLe32(&b, 46, colorsUsed);
  }
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

// Palette of `n` entries: entry i = (blue i, green 2i, red 3i, reserved 0x55).
std::vector<uint8_t> Palette(int n) {
  std::vector<uint8_t> p;
  for (int i = 0; i < n; ++i) {
    p.insert(p.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(3 * i), 0x55});
  }
  return p;
}

// The same file with its rows stored top-down (rows flipped, height negated).
std::vector<uint8_t> TopDownCopy(const std::vector<uint8_t>& bmp) {
  std::vector<uint8_t> out = bmp;
  const uint32_t offset = GetLe32(bmp, 10);
  const int32_t width = static_cast<int32_t>(GetLe32(bmp, 18));
  const int32_t height = static_cast<int32_t>(GetLe32(bmp, 22));
  const int bits = bmp[28] | (bmp[29] << 8);
  const size_t row = static_cast<size_t>((width * bits + 31) / 32 * 4);
  for (int32_t y = 0; y < height; ++y) {
    std::copy_n(bmp.begin() + offset + row * (height - 1 - y), row, out.begin() + offset + row * y);
  }
  PutLe32(&out, 22, static_cast<uint32_t>(-height));
  return out;
}

// ImageMagick stores a channel in n bits as floor(v x (2^n - 1) / 255); the
// reader widens it by repeating its bits.
uint32_t ThroughBits(uint32_t v, int n) {
  const uint32_t stored = v * ((1u << n) - 1) / 255;
  uint32_t out = 0;
  int filled = 0;
  for (; filled < 8; filled += n) out = (out << n) | stored;
  return (out >> (filled - 8)) & 0xFF;
}
Rgba Sixteen555(int x, int y) {
  const Rgba c = Sixteen(x, y);
  return {ThroughBits(c.r, 5), ThroughBits(c.g, 5), ThroughBits(c.b, 5), 255};
}
Rgba Sixteen565(int x, int y) {
  const Rgba c = Sixteen(x, y);
  return {ThroughBits(c.r, 5), ThroughBits(c.g, 6), ThroughBits(c.b, 5), 255};
}

// Files of ImageMagick and netpbm in every layout they write (and the
// re-headered ones) decode to the picture they were made from, and so do
// their top-down copies.
TEST(ImageBmpReader, IndependentWritersDecodeToTheirPicture) {
  const struct {
    const char* file;
    Rgba (*picture)(int, int);
    int bytesPerPixel;
    bool plain;
  } cases[] = {
      {"t_rich24_v3.bmp", Rich, 3, true},        {"t_rich24_v5.bmp", Rich, 3, true},
      {"r_rich24_v4.bmp", Rich, 3, true},        {"n_rich24.bmp", Rich, 3, true},
      {"t_rich8_v3.bmp", Rich, 1, true},         {"n_rich8.bmp", Rich, 1, true},
      {"t_rich8_rle.bmp", Rich, 1, false},       {"t_sixteen4_v3.bmp", Sixteen, 1, true},
      {"n_sixteen4.bmp", Sixteen, 1, true},      {"t_sixteen_565.bmp", Sixteen565, 3, true},
      {"t_sixteen_555.bmp", Sixteen555, 3, true},   {"r_sixteen_555_plain.bmp", Sixteen555, 3, true},
      {"r_sixteen_565_v3.bmp", Sixteen565, 3, true}, {"t_rich32_v5.bmp", Rich, 3, true},
      {"t_rich32b_v3.bmp", Rich, 3, true},       {"t_two1_v3.bmp", Two, 3, true},
      {"n_two1.bmp", Two, 3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::vector<uint8_t> bytes = ReadFixture(c.file);
    ASSERT_FALSE(bytes.empty());
    Decoded d(bytes, DecodeBmpImage);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(d.image.format.bytesPerPixel, c.bytesPerPixel);
    EXPECT_GE(d.image.pitch, d.image.width * c.bytesPerPixel);
    EXPECT_EQ(d.image.pitch % 4, 0);
    EXPECT_TRUE(HoldsPicture(d.image, c.picture));
    if (c.bytesPerPixel == 1) {
      for (const PaletteEntry& e : d.image.format.palette) ASSERT_EQ(e.alpha, 0);
    }
    if (c.plain) {
      Decoded top(TopDownCopy(bytes), DecodeBmpImage);
      ASSERT_EQ(top.result, 0);
      EXPECT_TRUE(HoldsPicture(top.image, c.picture));
    }
  }
}

std::vector<uint8_t> IndexRows(const Decoded& d) {
  std::vector<uint8_t> v;
  for (int y = 0; y < d.image.height; ++y) {
    v.insert(v.end(), d.image.pixels + y * d.image.pitch, d.image.pixels + y * d.image.pitch + d.image.width);
  }
  return v;
}

// The run-length vectors, written out by hand, and what happens at the
// edges: writes outside the picture are dropped, data ending early keeps
// what was decoded.
TEST(ImageBmpReader, RunLengthVectors) {
  const struct {
    const char* name;
    int32_t width, height;
    uint16_t bits;
    std::vector<uint8_t> data;
    std::vector<uint8_t> rows;  // image rows, top first
  } cases[] = {
      {"rle8 runs and end of line", 4, 2, 8, {0x03, 0x07, 0x00, 0x00, 0x02, 0x09, 0x00, 0x01},
       {9, 9, 0, 0, 7, 7, 7, 0}},
      {"rle8 delta to column 4 of the next row", 6, 3, 8, {0x02, 0x05, 0x00, 0x02, 0x02, 0x01, 0x01, 0x08, 0x00, 0x01},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 5, 5, 0, 0, 0, 0}},
      {"rle8 absolute run padded to even", 5, 1, 8, {0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x02, 0x04, 0x00, 0x01},
       {1, 2, 3, 4, 4}},
      {"rle4 runs alternate nibbles, absolute nibbles", 7, 1, 4, {0x04, 0xAB, 0x00, 0x03, 0x12, 0x30, 0x00, 0x01},
       {0xA, 0xB, 0xA, 0xB, 1, 2, 3}},
      {"run past the row end is dropped", 3, 1, 8, {0x06, 0x04, 0x00, 0x01}, {4, 4, 4}},
      {"delta past the picture drops what follows", 2, 2, 8, {0x00, 0x02, 0xFF, 0xFF, 0x02, 0x07, 0x00, 0x01},
       {0, 0, 0, 0}},
      {"data ending early keeps what was decoded", 4, 2, 8, {0x02, 0x03, 0x00, 0x00, 0x00, 0x05, 0x01},
       {1, 0, 0, 0, 3, 3, 0, 0}},
      {"absolute run cut by the data", 4, 1, 8, {0x00, 0x04, 0x06, 0x07}, {6, 7, 0, 0}},
      {"top-down rows run forward", 2, -2, 8, {0x02, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x01}, {1, 1, 2, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t compression = c.bits == 8 ? 1 : 2;
    Decoded d(MakeBmp(40, c.width, c.height, c.bits, compression, Palette(1 << c.bits), c.data), DecodeBmpImage);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(d.image.pitch, (c.width + 3) / 4 * 4);
    EXPECT_EQ(IndexRows(d), c.rows);
    EXPECT_EQ(d.image.format.palette[1].red, 3);
    EXPECT_EQ(d.image.format.palette[1].alpha, 0);
    if (c.bits == 4) {
      EXPECT_EQ(d.image.format.palette[16].red, 0);  // only 16 entries taken
    }
  }
  // Runaway data: long runs, deltas and absolute runs that leave the picture.
  std::vector<uint8_t> runaway;
  for (int i = 0; i < 200; ++i) runaway.insert(runaway.end(), {0xFF, 0x11, 0x00, 0x02, 0xFF, 0xFF, 0x00, 0xFE});
  EXPECT_EQ(Decoded(MakeBmp(40, 3, 3, 8, 1, Palette(256), runaway), DecodeBmpImage).result, 0);
}

// What the header checks take and refuse.
TEST(ImageBmpReader, HeaderChecks) {
  const std::vector<uint8_t> row24 = {1, 2, 3, 4, 5, 6, 0, 0};  // 2 pixels, padded
  auto decodes = [](const std::vector<uint8_t>& bmp) {
    GraphImage image{};
    const int r = Decode(bmp, &image, DecodeBmpImage);
    FreeGraphImage(&image);
    return r;
  };
  for (uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
    EXPECT_EQ(decodes(MakeBmp(size, 2, 1, 24, 0, {}, row24)), 0) << size;
  }
  EXPECT_EQ(decodes(MakeBmp(12, 2, 1, 24, 0, {}, row24)), -1);   // core header
  EXPECT_EQ(decodes(MakeBmp(64, 2, 1, 24, 0, {}, row24)), -1);   // unknown size
  EXPECT_EQ(decodes(MakeBmp(40, 0, 1, 24, 0, {}, row24)), -1);
  EXPECT_EQ(decodes(MakeBmp(40, 2, 0, 24, 0, {}, row24)), -1);
  EXPECT_EQ(decodes(MakeBmp(40, -2, 1, 24, 0, {}, row24)), -1);
  EXPECT_EQ(decodes(MakeBmp(40, 2, INT_MIN, 24, 0, {}, row24)), -1);
  EXPECT_EQ(decodes(MakeBmp(40, 1 << 20, 1 << 20, 24, 0, {}, row24)), -1);  // past the size limit
  EXPECT_EQ(decodes(MakeBmp(40, 0x7FFFFFFF, 1, 8, 1, Palette(256), {0, 1})), -1);
  for (uint16_t bits : {0, 2, 7, 15, 48}) EXPECT_EQ(decodes(MakeBmp(40, 2, 1, bits, 0, Palette(4), row24)), -1);
  EXPECT_EQ(decodes(MakeBmp(40, 2, 1, 24, 1, {}, row24)), -1);  // RLE8 of 24-bit rows
  EXPECT_EQ(decodes(MakeBmp(40, 2, 1, 8, 2, Palette(256), row24)), -1);  // RLE4 of 8-bit rows
  EXPECT_EQ(decodes(MakeBmp(40, 2, 1, 24, 4, {}, row24)), -1);  // JPEG inside: no GDI transfer for it
  EXPECT_EQ(decodes(MakeBmp(40, 2, 1, 16, 3, std::vector<uint8_t>(12, 0), {1, 2, 3, 4})), -1);  // empty masks

  std::vector<uint8_t> pastEnd = MakeBmp(40, 2, 1, 24, 0, {}, row24);
  PutLe32(&pastEnd, 10, static_cast<uint32_t>(pastEnd.size()));
  EXPECT_EQ(decodes(pastEnd), -1);
  PutLe32(&pastEnd, 10, 0xFFFFFFF0u);
  EXPECT_EQ(decodes(pastEnd), -1);

  // Plain rows: only the last row's padding may be missing.
  const std::vector<uint8_t> rows2 = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(decodes(MakeBmp(40, 2, 2, 24, 0, {}, rows2)), 0);
  EXPECT_EQ(decodes(MakeBmp(40, 2, 2, 24, 0, {}, std::vector<uint8_t>(rows2.begin(), rows2.end() - 1))), -1);
  EXPECT_EQ(decodes(MakeBmp(40, 9, 2, 1, 0, Palette(2), {0xFF, 0x80, 0, 0, 0x00})), -1);

  // A colour count in the header sizes the palette; entries past it are 0.
  Decoded shortPalette(MakeBmp(40, 3, 1, 8, 0, Palette(2), {1, 0, 1, 0}, 2), DecodeBmpImage);
  ASSERT_EQ(shortPalette.result, 0);
  EXPECT_EQ(ReadImagePixel(&shortPalette.image, 0, 0), 0x030201u);
  EXPECT_EQ(shortPalette.image.format.palette[2].red, 0);
  // A palette after a larger header is taken from where that header ends.
  Decoded v5Palette(MakeBmp(124, 1, 1, 8, 0, Palette(256), {7, 0, 0, 0}), DecodeBmpImage);
  ASSERT_EQ(v5Palette.result, 0);
  EXPECT_EQ(ReadImagePixel(&v5Palette.image, 0, 0), 0x150E07u);
}

}  // namespace
}  // namespace qor
