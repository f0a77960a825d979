#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "framework/core/memory.h"
#include "framework/graphics/images/pixel_access.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/softrender/mem_image.h"

namespace qor {
namespace {

class MemImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScreenSizeState();
    ResetMemImageFormats();
  }
  void TearDown() override {
    for (MemImage* m : {&a, &b, &c, &v}) ReleaseMemImg(m);
    for (GraphImage* g : {&g1, &g2}) FreeGraphImage(g);
  }
  MemImage a = {}, b = {}, c = {}, v = {};
  GraphImage g1 = {}, g2 = {};
};

uint32_t Pixel(const MemImage& m, int x, int y) {
  const uint8_t* p = m.pixels + y * m.buffer->pitch + x * m.buffer->format->bytesPerPixel;
  return LoadPixel(p, m.buffer->format->bytesPerPixel);
}

TEST_F(MemImageTest, PitchAndLayout) {
  ASSERT_EQ(CreateMemImg(&a, 100, 2, -1, 0, 1, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(a.buffer->pitch, 400);
  EXPECT_EQ(a.buffer->pitchShift, -1);
  EXPECT_EQ(CreateMemImg(&a, 100, 2, -1, 0, 1, 0, 0, 0, nullptr), -1);  // already initialised
  ASSERT_EQ(CreateMemImg(&b, 64, 2, -1, 0, 1, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(b.buffer->pitch, 256);
  EXPECT_EQ(b.buffer->pitchShift, 8);
  ASSERT_EQ(CreateMemImg(&c, 3, 2, -1, 0, 0, 0, 0, 0, nullptr), 0);
  EXPECT_EQ(c.buffer->pitch, 16);
  EXPECT_EQ(c.buffer->pitchShift, -1);
  ReleaseMemImg(&a);
  ReleaseMemImg(&b);
  ReleaseMemImg(&c);

  ASSERT_EQ(CreateMemImg(&a, 5, 1, -1, 0, 0, 0, 1, 0, nullptr), 0);
  EXPECT_EQ(a.buffer->format->bytesPerPixel, 4);
  ASSERT_EQ(CreateMemImg(&b, 5, 1, -1, 0, 1, 1, 1, 0, nullptr), 0);
  EXPECT_EQ(b.buffer->format->bytesPerPixel, 1);
  EXPECT_EQ(b.buffer->alphaFlag, 0);
  ASSERT_EQ(CreateMemImg(&c, 5, 1, 32, 0, 2, 1, 1, 1, nullptr), 0);
  EXPECT_EQ(c.buffer->paletteFlag, 0);
  EXPECT_EQ(c.buffer->runTable, nullptr);  // never for kind 2
  EXPECT_EQ(c.buffer->pitchShift, 5);

  RecordScreenSize(640, 480, 32);
  ASSERT_EQ(CreateScreenMemImg(&v, 4, 4, -1), 0);
  EXPECT_EQ(v.buffer->formatKind, 1);
  EXPECT_EQ(GetMemImgColorFormat(4, 0, 0), nullptr);
}

TEST_F(MemImageTest, RefusedSizesLeaveNothingBehind) {
  EXPECT_EQ(CreateMemImg(&a, 100000, 100000, -1, 0, 1, 0, 0, 0, nullptr), -1);  // over the limit, no wrap
  EXPECT_EQ(a.tag, 0u);
  EXPECT_EQ(a.buffer, nullptr);
  EXPECT_EQ(CreateMemImg(&a, 10, 10, 8, 0, 0, 0, 0, 0, nullptr), -1);  // pitch shorter than a row
  EXPECT_EQ(CreateMemImg(&a, 0, 10, -1, 0, 0, 0, 0, 0, nullptr), -1);
  EXPECT_EQ(CreateMemImg(&a, 10, 10, -1, 0, 7, 0, 0, 0, nullptr), -1);
  EXPECT_EQ(a.buffer, nullptr);

  // Caller pixels are used in place and never freed here.
  std::vector<uint8_t> mine(64 * 4, 0);
  ASSERT_EQ(CreateMemImg(&a, 16, 4, 64, 0, 1, 0, 0, 0, mine.data()), 0);
  EXPECT_EQ(a.pixels, mine.data());
  FillMemImgRect(&a, nullptr, 0x01020304);
  ReleaseMemImg(&a);
  EXPECT_EQ(LoadPixel32(mine.data() + 60), 0x01020304u);
}

TEST_F(MemImageTest, ViewsShareTheBufferAndCountUses) {
  ASSERT_EQ(CreateMemImg(&a, 8, 8, -1, 0, 1, 0, 0, 0, nullptr), 0);
  MakeMemImgView(&b, &a, 2, 3, 4, 4);
  MakeMemImgView(&c, &b, 1, 1, 2, 2);
  EXPECT_EQ(a.buffer->useCount, 3);
  EXPECT_EQ(c.pixels, a.pixels + 4 * a.buffer->pitch + 3 * 4);

  MemImage unchanged = {};
  MakeMemImgView(&unchanged, &a, 5, 0, 4, 1);  // one column past the right edge
  EXPECT_EQ(unchanged.tag, 0u);

  // Releasing the parent first leaves the views drawable.
  ReleaseMemImg(&a);
  EXPECT_EQ(IsMemImgValid(&a), 0);
  FillMemImgRect(&c, nullptr, 0xABCDEF);
  EXPECT_EQ(Pixel(b, 2, 2), 0xABCDEFu);
  ReleaseMemImg(&b);
  EXPECT_EQ(c.buffer->useCount, 1);

  // A view made over a live record lets go of what the record held first:
  // the sanitizer's leak check sees the buffer of `v` freed.
  ASSERT_EQ(CreateMemImg(&v, 4, 4, -1, 0, 0, 0, 0, 1, nullptr), 0);
  MakeMemImgView(&v, &c, 0, 0, 1, 1);
  EXPECT_EQ(v.buffer, c.buffer);
  EXPECT_EQ(c.buffer->useCount, 2);
  MakeMemImgView(&c, &c, 1, 1, 1, 1);  // a view of itself keeps the buffer alive
  EXPECT_EQ(c.buffer->useCount, 2);
  EXPECT_EQ(Pixel(c, 0, 0), 0xABCDEFu);
}

// Decodes a run table back into one class per pixel.
std::vector<uint8_t> DecodeRuns(const MemImgBuffer* buffer) {
  std::vector<uint8_t> classes;
  const uint8_t* p = buffer->runTable;
  for (int y = 0; y < buffer->height; ++y) {
    for (; *p != kRunRowEnd; ++p)
      for (int n = 0; n <= (*p & 0x3F); ++n) classes.push_back(*p & 0xC0);
    ++p;
  }
  return classes;
}

TEST_F(MemImageTest, RunTables) {
  ASSERT_EQ(AllocGraphImagePixels(100, 2, &g1), 0);
  for (int x = 0; x < 100; ++x) {
    StorePixel32(g1.pixels + 4 * x, 0x00FF00);
    StorePixel32(g1.pixels + g1.pitch + 4 * x, x % 3 == 1 ? 0x123456 : 0x00FF00);
  }
  ASSERT_EQ(CreateMemImg(&a, 100, 2, -1, 0x00FF00, 1, 0, 0, 1, nullptr), 0);
  TransferMemImgRect(&g1, nullptr, &a, 0, 0, 100, 2, 0, 0, 0);
  ASSERT_EQ(a.buffer->runTableValid, 1);
  const uint8_t* runs = a.buffer->runTable;
  EXPECT_EQ(runs[0], 0x3F);
  EXPECT_EQ(runs[1], 0x23);
  EXPECT_EQ(runs[2], 0xC0);
  EXPECT_EQ(runs[3], 0x00);
  EXPECT_EQ(runs[4], 0x40);
  EXPECT_EQ(runs[5], 0x01);

  // A part only: the flag is dropped.
  TransferMemImgRect(&g1, nullptr, &a, 0, 0, 10, 1, 0, 0, 0);
  EXPECT_EQ(a.buffer->runTableValid, 0);

  // Alpha classes on random alpha, checked by decoding the table again.
  ASSERT_EQ(CreateArgb8GraphImage(70, 3, &g2), 0);
  std::mt19937 rng(3);
  const uint8_t alphas[] = {0, 0, 0, 255, 255, 17};
  for (int i = 0; i < 70 * 3; ++i) StorePixel32(g2.pixels + 4 * i, (uint32_t(alphas[rng() % 6]) << 24) | 0x808080);
  for (int kind = 0; kind < 2; ++kind) {
    ReleaseMemImg(&b);
    ASSERT_EQ(CreateMemImg(&b, 70, 3, -1, 0, kind, 0, 1, 1, nullptr), 0);
    TransferMemImgRect(&g2, nullptr, &b, 0, 0, 70, 3, 0, 0, 0);
    std::vector<uint8_t> classes = DecodeRuns(b.buffer);
    ASSERT_EQ(classes.size(), 210u);
    for (int i = 0; i < 210; ++i) {
      uint8_t alpha = g2.pixels[4 * i + 3];
      uint8_t expect = alpha == 0 ? kRunTransparent : alpha == 255 ? kRunOpaque : kRunTranslucent;
      ASSERT_EQ(classes[i], expect) << kind << " " << i;
      // The premultiplied copy holds each channel times alpha.
      const uint8_t* pm = b.buffer->premultiplied + (i / 70) * b.buffer->pitch + (i % 70) * 4;
      uint32_t expectPm = kind == 1 ? (0x80u * alpha >> 8) * 0x010101u | (uint32_t(alpha) << 24)
                                    : (((0x10u * alpha) >> 8) << 11 | ((0x20u * alpha) >> 8) << 5 | ((0x10u * alpha) >> 8)) |
                                          (uint32_t(alpha) << 16);
      ASSERT_EQ(LoadPixel32(pm), expectPm) << kind << " " << i;
    }
    EXPECT_EQ(b.buffer->premultipliedValid, 1);
  }
}

TEST_F(MemImageTest, TransfersIntoPaletteAndOneChannelBuffers) {
  g1.format = {};
  MakeFormatPal8Gray(&g1.format);
  g1.format.palette[7] = {0x18, 0x28, 0xF8, 0};
  g1.width = 4;
  g1.height = 1;
  g1.pitch = 4;
  g1.pixels = static_cast<uint8_t*>(AllocMemory(4, nullptr, 0));
  const uint8_t idx[4] = {1, 7, 3, 2};
  std::memcpy(g1.pixels, idx, 4);
  ASSERT_EQ(CreateMemImg(&a, 4, 1, -1, 3, 0, 1, 0, 1, nullptr), 0);
  TransferMemImgRect(&g1, nullptr, &a, 0, 0, 4, 1, 0, 0, 1);
  EXPECT_EQ(std::memcmp(a.pixels, idx, 4), 0);
  EXPECT_EQ(a.buffer->paletteColorCount, 8);
  EXPECT_EQ(LoadPixel16(a.buffer->palette + 14), 0xF943u);  // (0xF8, 0x28, 0x18) as 5:6:5
  EXPECT_EQ(std::memcmp(a.buffer->palette, a.buffer->secondPalette, 1024), 0);
  EXPECT_EQ(DecodeRuns(a.buffer), (std::vector<uint8_t>{0x40, 0x40, 0x00, 0x40}));
  ASSERT_EQ(CreateMemImg(&b, 4, 1, -1, 0, 1, 1, 0, 0, nullptr), 0);
  TransferMemImgRect(&g1, nullptr, &b, 0, 0, 4, 1, 0, 0, 0);
  EXPECT_EQ(LoadPixel32(b.buffer->palette + 28), 0x00F82818u);

  // One-channel buffers take the source's red, widened for 16 bits.
  ASSERT_EQ(AllocGraphImagePixels(3, 1, &g2), 0);
  const uint32_t colors[3] = {0x00FF0000, 0x00801234, 0x0000FFFF};
  std::memcpy(g2.pixels, colors, 12);
  ASSERT_EQ(CreateMemImg(&c, 3, 1, -1, 0, 2, 0, 0, 0, nullptr), 0);
  TransferMemImgRect(&g2, nullptr, &c, 0, 0, 3, 1, 0, 0, 0);
  EXPECT_EQ(c.pixels[0], 0xFF);
  EXPECT_EQ(c.pixels[1], 0x80);
  EXPECT_EQ(c.pixels[2], 0x00);
  ASSERT_EQ(CreateMemImgKind3(&v, 3, 1), 0);
  TransferMemImgRect(&g2, nullptr, &v, 0, 0, 3, 1, 0, 0, 0);
  EXPECT_EQ(Pixel(v, 0, 0), 0xFFFFu);
  EXPECT_EQ(Pixel(v, 1, 0), 0x8080u);
}

TEST_F(MemImageTest, KeyedTransferCopiesAndFills) {
  // A keyed transfer into an alpha buffer makes the key colour transparent;
  // the key is stored in the buffer's own format.
  ASSERT_EQ(AllocGraphImagePixels(2, 1, &g1), 0);
  StorePixel32(g1.pixels, 0x00FF00);
  StorePixel32(g1.pixels + 4, 0x00F000);
  ASSERT_EQ(CreateMemImg(&a, 2, 1, -1, 0x07E0, 0, 0, 1, 1, nullptr), 0);
  TransferMemImgRect(&g1, nullptr, &a, 0, 0, 2, 1, 0, 0, 1);
  EXPECT_EQ(a.pixels[2], 0);
  EXPECT_EQ(a.pixels[6], 255);
  EXPECT_EQ(DecodeRuns(a.buffer), (std::vector<uint8_t>{0x00, 0x40}));

  // 16 <-> 32 bits between memory images, and out into a picture.
  ASSERT_EQ(CreateMemImg(&b, 4, 4, -1, 0, 0, 0, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&c, 4, 4, -1, 0, 1, 0, 0, 0, nullptr), 0);
  FillMemImgRect(&b, nullptr, 0xF81F);
  Rect part = {1, 1, 3, 3};
  FillMemImgRect(&b, &part, 0x07E0);
  EXPECT_EQ(Pixel(b, 0, 0), 0xF81Fu);
  EXPECT_EQ(Pixel(b, 2, 2), 0x07E0u);
  Rect outside = {-10, -10, 100, 1};
  FillMemImgRect(&c, &outside, 0x11223344);  // clipped to row 0
  EXPECT_EQ(Pixel(c, 3, 0), 0x11223344u);
  EXPECT_EQ(CopyMemImgRect(&c, &b, nullptr, 0, 0), 0);
  EXPECT_EQ(Pixel(c, 0, 0), 0x00F800F8u);
  EXPECT_EQ(Pixel(c, 1, 1), 0x0000FC00u);
  FreeGraphImage(&g2);
  ASSERT_EQ(AllocGraphImagePixels(4, 4, &g2), 0);
  std::memset(g2.pixels, 0, 64);
  CopyMemImgToGraphImage(&g2, &b, 1, 1, 2, 2, 0, 0, 0, 0);
  EXPECT_EQ(LoadPixel32(g2.pixels), 0x0000FC00u);
  EXPECT_EQ(LoadPixel32(g2.pixels + 8), 0u);
  CopyMemImgToGraphImage(&g2, &a, 0, 0, 2, 1, 0, 0, 0, 0);  // alpha buffers are left alone
  EXPECT_EQ(LoadPixel32(g2.pixels), 0x0000FC00u);
}

}  // namespace
}  // namespace qor
