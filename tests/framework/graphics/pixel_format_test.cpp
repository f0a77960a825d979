#include <gtest/gtest.h>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/images/pixel_format.h"

namespace qor {
namespace {

PixelFormatInfo FromMasks(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  PixelFormatInfo f = {};
  MakeFormatFromMasks(&f, depth, r, g, b, a);
  return f;
}

TEST(PixelFormatTest, FormatsFromMasks) {
  struct Case {
    int depth;
    uint32_t masks[4];
    int widths[4], shifts[4];
    uint32_t spare;
    int spareShift, spareWidth;
  } cases[] = {
      {32, {0xFF0000, 0xFF00, 0xFF, 0}, {8, 8, 8, 0}, {16, 8, 0, 0}, 0xFF000000, 24, 8},
      {32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {8, 8, 8, 8}, {16, 8, 0, 24}, 0, 0, 0},
      {16, {0xF800, 0x7E0, 0x1F, 0}, {5, 6, 5, 0}, {11, 5, 0, 0}, 0, 0, 0},
      {16, {0x7C00, 0x3E0, 0x1F, 0}, {5, 5, 5, 0}, {10, 5, 0, 0}, 0x8000, 15, 1},
      {16, {0x0F0F, 0, 0, 0}, {4, 0, 0, 0}, {0, 0, 0, 0}, 0xF0F0, 4, 4},  // a gap ends the count
  };
  for (const Case& c : cases) {
    PixelFormatInfo f = FromMasks(c.depth, c.masks[0], c.masks[1], c.masks[2], c.masks[3]);
    EXPECT_EQ(f.bytesPerPixel, c.depth / 8);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(f.widths[i], c.widths[i]) << c.masks[0];
      EXPECT_EQ(f.shifts[i], c.shifts[i]) << c.masks[0];
    }
    EXPECT_EQ(f.spareMask, c.spare);
    EXPECT_EQ(f.spareShift, c.spareShift);
    EXPECT_EQ(f.spareWidth, c.spareWidth);
    f.spareMask = 0x1234;
    ComputeUnusedMask(&f);
    EXPECT_EQ(f.spareMask, c.spare);
  }
}

TEST(PixelFormatTest, SameFormatComparesDepthAndMasksOnly) {
  PixelFormatInfo x = {}, a = {}, p1 = {}, p2 = {};
  MakeFormatX8R8G8B8(&x);
  MakeFormatA8R8G8B8(&a);
  MakeFormatPal8(&p1);
  MakeFormatPal8Gray(&p2);
  EXPECT_EQ(IsSamePixelFormat(&x, &a), 0);
  EXPECT_EQ(IsSamePixelFormat(&p1, &p2), 1);
  PixelFormatInfo c1 = {}, c2 = {};
  c1.formatCode = 1;
  c2.formatCode = 2;
  EXPECT_EQ(IsSamePixelFormat(&c1, &c2), 0);
  c2.formatCode = 1;
  EXPECT_EQ(IsSamePixelFormat(&c1, &c2), 1);
}

TEST(PixelFormatTest, PackAndUnpack) {
  PixelFormatInfo x = {}, rgb565 = FromMasks(16, 0xF800, 0x7E0, 0x1F, 0), gray = {};
  MakeFormatX8R8G8B8(&x);
  MakeFormatPal8Gray(&gray);
  EXPECT_EQ(PackColorForFormat(&x, 1, 2, 3, 99), 0xFF010203u);
  EXPECT_EQ(PackColorForFormat(&rgb565, 255, 255, 255, 0), 0xFFFFu);
  EXPECT_EQ(PackColorForFormat(&gray, 10, 20, 30, 0), 20u);
  PixelFormatInfo flat = {};
  MakeFormatPal8(&flat);  // every entry (0, 0, 0)
  EXPECT_EQ(PackColorForFormat(&flat, 90, 90, 90, 0), 0u);

  uint32_t r, g, b, a;
  UnpackColorFromFormat(&rgb565, 0xF800, &r, &g, &b, &a);
  EXPECT_EQ(r, 255u);
  EXPECT_EQ(g, 0u);
  EXPECT_EQ(b, 0u);
  EXPECT_EQ(a, 0u);
  UnpackColorFromFormat(&rgb565, 31 << 5, nullptr, &g, nullptr, nullptr);
  EXPECT_EQ(g, 125u);

  // Round trip: unpacking scales to full range and packing keeps the high
  // bits, so every 5:6:5 value comes back.
  for (uint32_t v = 0; v < 0x10000; ++v) {
    UnpackColorFromFormat(&rgb565, v, &r, &g, &b, nullptr);
    ASSERT_EQ(PackColorForFormat(&rgb565, r, g, b, 0), v);
  }
}

TEST(PixelFormatTest, WideChannelsPackUpwardAndUnpackWithoutOverflow) {
  // Red is 16 bits wide: an 8-bit value moves up into its top byte.
  PixelFormatInfo wide = FromMasks(32, 0xFFFF0000, 0xFF00, 0xFF, 0);
  EXPECT_EQ(PackColorForFormat(&wide, 0xAB, 1, 2, 0), 0xAB000102u);
  uint32_t r;
  UnpackColorFromFormat(&wide, 0xFFFF0000, &r, nullptr, nullptr, nullptr);
  EXPECT_EQ(r, 255u);
  // A whole 32-bit channel.
  PixelFormatInfo full = FromMasks(32, 0xFFFFFFFF, 0, 0, 0);
  UnpackColorFromFormat(&full, 0xFFFFFFFF, &r, nullptr, nullptr, nullptr);
  EXPECT_EQ(r, 255u);
  UnpackColorFromFormat(&full, 0x80000000, &r, nullptr, nullptr, nullptr);
  EXPECT_EQ(r, 127u);
  EXPECT_EQ(PackColorForFormat(&full, 0x80, 0, 0, 0), 0x80000000u);
}

TEST(PixelFormatTest, ConvertColorBetweenFormats) {
  PixelFormatInfo x1555 = FromMasks(16, 0x7C00, 0x3E0, 0x1F, 0), argb = {};
  MakeFormatA8R8G8B8(&argb);
  EXPECT_EQ(ConvertColorBetweenFormats(&argb, &x1555, 0x7FFF), 0xFFF8F8F8u);
  PixelFormatInfo rgb565 = FromMasks(16, 0xF800, 0x7E0, 0x1F, 0);
  EXPECT_EQ(ConvertColorBetweenFormats(&rgb565, &argb, 0x80FF8040), 0xFC08u);
  EXPECT_EQ(ConvertColorBetweenFormats(&x1555, &argb, 0x00FFFFFF), 0xFFFFu);  // spare bit set
}

TEST(GraphImageTest, MakersAndSizes) {
  GraphImage image = {};
  ASSERT_EQ(CreateRgb24GraphImage(5, 2, &image), 0);
  EXPECT_EQ(image.pitch, 16);
  image.pixels[31] = 1;  // the whole 32-byte block is there
  FreeGraphImage(&image);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.format.bitDepth, 0);
  FreeGraphImage(&image);

  // Sizes whose byte count would pass the limit (or wrap in 32 bits).
  EXPECT_EQ(AllocGraphImagePixels(65536, 65536, &image), -1);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(CreateArgb8GraphImage(0x40000000, 4, &image), -1);
  EXPECT_EQ(CreateRgb24GraphImage(-3, 4, &image), -1);
}

}  // namespace
}  // namespace qor
