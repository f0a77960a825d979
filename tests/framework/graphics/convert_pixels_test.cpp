#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/images/pixel_access.h"

namespace qor {
namespace {

PixelFormatInfo Format(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  PixelFormatInfo f = {};
  MakeFormatFromMasks(&f, depth, r, g, b, a);
  return f;
}
const PixelFormatInfo kRgb565 = Format(16, 0xF800, 0x7E0, 0x1F, 0);
const PixelFormatInfo kX1555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0);
const PixelFormatInfo kA1555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0x8000);
const PixelFormatInfo kX8888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0);
const PixelFormatInfo kA8888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
const PixelFormatInfo kRgb24 = Format(24, 0xFF0000, 0xFF00, 0xFF, 0);

// A block of pixels inside a larger buffer whose border holds a canary byte.
struct Canvas {
  static constexpr int kBorder = 16;
  static constexpr uint8_t kCanary = 0xA5;
  Canvas(const PixelFormatInfo& f, int w, int h) : format(f), width(w), height(h) {
    pitch = (w + 2) * f.bytesPerPixel + 2 * kBorder;
    bytes.assign(static_cast<size_t>(pitch) * (h + 2) + 2 * kBorder, kCanary);
    Fill(0);
  }
  uint8_t* At(int x, int y) { return bytes.data() + kBorder + static_cast<size_t>(y + 1) * pitch + (x + 1) * format.bytesPerPixel; }
  uint32_t Get(int x, int y) { return LoadPixel(At(x, y), format.bytesPerPixel); }
  void Set(int x, int y, uint32_t v) { StorePixel(At(x, y), format.bytesPerPixel, v); }
  void Fill(uint32_t v) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Set(x, y, v);
  }
  PixelBlock Block() { return {At(0, 0), pitch, width, height, &format}; }
  // A one-row canvas holding these pixels.
  static Canvas Row(const PixelFormatInfo& f, std::initializer_list<uint32_t> values) {
    Canvas c(f, static_cast<int>(values.size()), 1);
    int x = 0;
    for (uint32_t v : values) c.Set(x++, 0, v);
    return c;
  }
  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.push_back(Get(x, y));
    return out;
  }
  // Every byte outside the block still holds the canary.
  bool BorderIntact() {
    std::vector<bool> inside(bytes.size(), false);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int k = 0; k < format.bytesPerPixel; ++k) inside[static_cast<size_t>(At(x, y) + k - bytes.data())] = true;
    for (size_t i = 0; i < bytes.size(); ++i)
      if (!inside[i] && bytes[i] != kCanary) return false;
    return true;
  }
  PixelFormatInfo format;
  int width, height, pitch;
  std::vector<uint8_t> bytes;
};

int Convert(Canvas& dst, Canvas& src, int dx, int dy, Rect r, ConvertOptions o = {}, Canvas* alpha = nullptr) {
  PixelBlock d = dst.Block(), s = src.Block(), a = {};
  if (alpha) a = alpha->Block();
  return ConvertPixelsBlt(&d, &s, alpha ? &a : nullptr, dx, dy, &r, &o);
}

void RandomFill(Canvas& c, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) c.Set(x, y, rng());
}

TEST(ConvertPixelsTest, EmptyRectanglesAndUnboundedBlocksWriteNothing) {
  Canvas src(kX8888, 4, 4), dst(kX8888, 4, 4);
  RandomFill(src, 1);
  dst.Fill(0x11111111);
  EXPECT_EQ(Convert(dst, src, 0, 0, {2, 0, 2, 4}), -1);
  EXPECT_EQ(Convert(dst, src, 0, 0, {3, 0, 1, 4}), -1);
  EXPECT_EQ(Convert(dst, src, 0, 0, {0, 3, 4, 0}), -1);
  EXPECT_EQ(Convert(dst, src, 10, 0, {0, 0, 4, 4}), -1);  // lands wholly outside
  // A block whose pitch is shorter than its rows does not say where it ends.
  PixelBlock d = dst.Block(), s = src.Block();
  s.pitch = 4;
  Rect all = {0, 0, 4, 4};
  EXPECT_EQ(ConvertPixelsBlt(&d, &s, nullptr, 0, 0, &all, nullptr), -1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(dst.Get(x, y), 0x11111111u);
}

// Cut at every side against an uncut copy into a large destination: the
// pixels that arrive are the same, and nothing lands outside the block.
TEST(ConvertPixelsTest, ClippingKeepsEveryWriteInsideBothBlocks) {
  const PixelFormatInfo* formats[] = {&kX8888, &kRgb565, &kRgb24, &kA1555};
  for (const PixelFormatInfo* sf : formats) {
    for (int mirror = 0; mirror < 2; ++mirror) {
      for (int reduction = 0; reduction < 2; ++reduction) {
        Canvas src(*sf, 9, 7);
        RandomFill(src, 7);
        ConvertOptions o = {};
        o.mirror = mirror;
        o.reduction = reduction;  // the ordered pattern follows the rectangle, not the cut
        Canvas big(kRgb565, 40, 40);
        Convert(big, src, 10, 10, {-3, -2, 12, 9}, o);
        for (int dx = -6; dx <= 6; dx += 3) {
          for (int dy = -5; dy <= 5; dy += 5) {
            Canvas small(kRgb565, 6, 5);
            small.Fill(0xBEEF);
            Convert(small, src, dx, dy, {-3, -2, 12, 9}, o);
            ASSERT_TRUE(small.BorderIntact());
            for (int y = 0; y < 5; ++y) {
              for (int x = 0; x < 6; ++x) {
                int bx = x - dx + 10, by = y - dy + 10;
                int sx = mirror ? (-3 + 14 - (bx - 10)) : (bx - 10 - 3);
                int sy = by - 10 - 2;
                bool covered = bx >= 10 && bx < 25 && by >= 10 && by < 21 && sx >= 0 && sx < 9 && sy >= 0 && sy < 7;
                ASSERT_EQ(small.Get(x, y), covered ? big.Get(bx, by) : 0xBEEFu) << x << "," << y;
              }
            }
          }
        }
      }
    }
  }
}

using Pixels = std::vector<uint32_t>;

TEST(ConvertPixelsTest, WorkedExamples) {
  Canvas x1555 = Canvas::Row(kX1555, {0x7FFF}), argb(kA8888, 1, 1);
  Canvas rgb565 = Canvas::Row(kRgb565, {0xFFFF}), xrgb(kX8888, 1, 1);
  Convert(argb, x1555, 0, 0, {0, 0, 1, 1});  // general rule: full scale stays full
  EXPECT_EQ(argb.Get(0, 0), 0xFFFFFFFFu);
  Convert(xrgb, rgb565, 0, 0, {0, 0, 1, 1});  // fixed pair: low bits 0
  EXPECT_EQ(xrgb.Get(0, 0), 0x00F8FCF8u);

  // Colour key from 24-bit: green arrives transparent; the same from 32-bit
  // pixels whose unused top byte is not 0.
  Canvas rgb = Canvas::Row(kRgb24, {0x00FF00, 0x00FE00, 0x123456}), keyed(kA8888, 3, 1);
  ConvertOptions key = {};
  key.colorKeyMode = 1;
  key.key = 0x00FF00;
  Convert(keyed, rgb, 0, 0, {0, 0, 3, 1}, key);
  EXPECT_EQ(keyed.Pixels(), (Pixels{0x0000FF00u, 0xFF00FE00u, 0xFF123456u}));
  Canvas junk = Canvas::Row(kX8888, {0x5A00FF00, 0x5A123456, 0x5A00FF00});
  Convert(keyed, junk, 0, 0, {0, 0, 3, 1}, key);
  EXPECT_EQ(keyed.Pixels(), (Pixels{0x0000FF00u, 0xFF123456u, 0x0000FF00u}));

  // Mirroring; skip-key is ignored while mirroring.
  Canvas row = Canvas::Row(kX8888, {0xA, 0xB, 0xC}), out(kX8888, 3, 1);
  ConvertOptions mirror = {};
  mirror.mirror = 1;
  mirror.skipKey = 1;
  mirror.key = 0xB;
  Convert(out, row, 0, 0, {0, 0, 3, 1}, mirror);
  EXPECT_EQ(out.Pixels(), (Pixels{0xC, 0xB, 0xA}));
  mirror.mirror = 0;
  out.Fill(0);
  Convert(out, row, 0, 0, {0, 0, 3, 1}, mirror);
  EXPECT_EQ(out.Pixels(), (Pixels{0xA, 0, 0xC}));
}

TEST(ConvertPixelsTest, PalettesCopyRemapAndPack) {
  PixelFormatInfo pal = {}, gray = {};
  MakeFormatPal8(&pal);
  MakeFormatPal8Gray(&gray);
  Canvas src(gray, 4, 2), dst(gray, 4, 2);
  const uint8_t idx[8] = {3, 200, 7, 0, 9, 150, 1, 2};
  for (int i = 0; i < 8; ++i) src.Set(i % 4, i / 4, idx[i]);
  EXPECT_EQ(Convert(dst, src, 0, 0, {0, 0, 4, 2}), 200);
  EXPECT_EQ(dst.Get(1, 0), 200u);

  // Remapping into a palette of two colours by nearest entry.
  pal.palette[0] = {0, 0, 0, 0};
  for (int i = 1; i < 256; ++i) pal.palette[i] = {255, 255, 255, 0};
  Canvas remapped(pal, 4, 2);
  ConvertOptions remap = {};
  remap.remapPalette = 1;
  Convert(remapped, src, 0, 0, {0, 0, 4, 2}, remap);
  EXPECT_EQ(remapped.Get(0, 0), 0u);    // grey 3 is nearer black
  EXPECT_EQ(remapped.Get(1, 0), 1u);    // grey 200 nearer white
  EXPECT_EQ(remapped.Get(1, 1), 1u);

  // 16-bit fields are widened before the palette search: white finds the
  // white entry, not the entry that holds the raw field values.
  PixelFormatInfo two = {};
  MakeFormatPal8(&two);
  two.palette[0] = {31, 63, 31, 0};
  for (int i = 1; i < 256; ++i) two.palette[i] = {255, 255, 255, 0};
  Canvas white(kRgb565, 1, 1), packed(two, 1, 1);
  white.Set(0, 0, 0xFFFF);
  Convert(packed, white, 0, 0, {0, 0, 1, 1});
  EXPECT_EQ(packed.Get(0, 0), 1u);
}

TEST(ConvertPixelsTest, AlphaSources) {
  // An alpha image's red channel gives the alpha of a source without alpha.
  PixelFormatInfo gray = {};
  MakeFormatPal8Gray(&gray);
  Canvas rgb = Canvas::Row(kRgb24, {0x102030, 0x102030, 0x102030}), mask = Canvas::Row(gray, {0, 128, 255});
  Canvas out(kA8888, 3, 1), oneBit(kA1555, 3, 1);
  Convert(out, rgb, 0, 0, {0, 0, 3, 1}, {}, &mask);
  EXPECT_EQ(out.Pixels(), (Pixels{0x00102030u, 0x80102030u, 0xFF102030u}));
  Convert(oneBit, rgb, 0, 0, {0, 0, 3, 1}, {}, &mask);
  EXPECT_EQ(oneBit.Get(0, 0) & 0x8000, 0u);
  EXPECT_EQ(oneBit.Get(1, 0) & 0x8000, 0x8000u);

  // A source with its own alpha ignores the alpha image.
  Canvas argb = Canvas::Row(kA8888, {0x40FFFFFF, 0x40FFFFFF, 0x40FFFFFF}), copy(kA8888, 3, 1);
  Convert(copy, argb, 0, 0, {0, 0, 3, 1}, {}, &mask);
  EXPECT_EQ(copy.Get(0, 0), 0x40FFFFFFu);

  // Same colour layout with a key: only the alpha bits change.
  Canvas xrgb = Canvas::Row(kX8888, {0x00FF00FF, 0x00FF00FE}), keyed(kA8888, 2, 1);
  ConvertOptions key = {};
  key.colorKeyMode = 1;
  key.key = 0xFF00FF;
  Convert(keyed, xrgb, 0, 0, {0, 0, 2, 1}, key);
  EXPECT_EQ(keyed.Pixels(), (Pixels{0x00FF00FFu, 0xFFFF00FEu}));

  // Into channels wider than 8 bits the key is widened as the pixels are, so
  // a key of white still finds white.
  const PixelFormatInfo a2r10 = Format(32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000);
  Canvas white = Canvas::Row(kRgb24, {0xFFFFFF, 0xFFFFFE}), wide(a2r10, 2, 1);
  key.key = 0xFFFFFF;
  Convert(wide, white, 0, 0, {0, 0, 2, 1}, key);
  EXPECT_EQ(wide.Get(0, 0), 0x3FFFFFFFu);
  EXPECT_EQ(wide.Get(1, 0) >> 30, 3u);
}

TEST(ConvertPixelsTest, ZeroWidthChannelReadsZero) {
  Canvas src = Canvas::Row(Format(16, 0xF800, 0x07E0, 0, 0), {0xFFFF}), dst(kX8888, 1, 1);
  Convert(dst, src, 0, 0, {0, 0, 1, 1});
  EXPECT_EQ(dst.Get(0, 0), 0xFFFFFF00u);
}

// Rounding when channels get narrower: the ordered pattern and the running
// remainder both keep the average of a flat colour.
TEST(ConvertPixelsTest, DitherPatterns) {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  Canvas flat(kRgb24, 8, 8), ordered(kRgb565, 8, 8);
  flat.Fill(0x848484);
  ConvertOptions o = {};
  o.reduction = kReduceOrderedDither;
  Convert(ordered, flat, 0, 0, {0, 0, 8, 8}, o);
  int up = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      uint32_t v = ordered.Get(x, y);
      uint32_t expect = 16 + ((0x84 & 7) > kBayer[y & 3][x & 3] * 8 / 16 ? 1 : 0);
      ASSERT_EQ(v >> 11, expect);
      ASSERT_EQ(v & 0x1F, expect);
      ASSERT_EQ((v >> 5) & 0x3F, 33u);  // no discarded bits in green
      up += expect == 17;
    }
  }
  EXPECT_EQ(up, 32);

  for (uint32_t grey = 0; grey < 256; grey += 5) {
    Canvas g(kRgb24, 16, 4), outO(kRgb565, 16, 4), outR(kRgb565, 16, 4);
    g.Fill(grey * 0x010101);
    ConvertOptions ord = {}, run = {};
    ord.reduction = kReduceOrderedDither;
    run.reduction = kReduceRunningRemainder;
    Convert(outO, g, 0, 0, {0, 0, 16, 4}, ord);
    Convert(outR, g, 0, 0, {0, 0, 16, 4}, run);
    double sumO = 0, sumR = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 16; ++x) {
        sumO += outO.Get(x, y) & 0x1F;
        sumR += outR.Get(x, y) & 0x1F;
      }
    double target = std::min(grey / 8.0, 31.0);
    EXPECT_NEAR(sumO / 64, target, grey >= 248 ? 0.5 : 1.0 / 16 + 1e-9) << grey;
    EXPECT_NEAR(sumR / 64, target, grey >= 248 ? 0.5 : 1.0 / 64 + 1e-9) << grey;
  }
}

// Reference pixel rules of the fixed pairs, per channel, against random
// pixels; the narrowing pairs also agree with the general rule (taken here
// by mirroring the row).
TEST(ConvertPixelsTest, FixedPairsFollowTheirRules) {
  PixelFormatInfo pal = {};
  MakeFormatPal8(&pal);
  std::mt19937 rng(5);
  for (auto& e : pal.palette) e = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
  pal.palette[0] = {0, 0xFF, 0, 0};  // the key colour
  auto entryRgb = [&](uint32_t i) { return (pal.palette[i].red << 16) | (pal.palette[i].green << 8) | pal.palette[i].blue; };
  auto to565 = [](uint32_t v) { return ((v >> 19 & 31) << 11) | ((v >> 10 & 63) << 5) | (v >> 3 & 31); };
  auto to555 = [](uint32_t v) { return ((v >> 19 & 31) << 10) | ((v >> 11 & 31) << 5) | (v >> 3 & 31); };
  const uint32_t key = 0x00FF00;
  struct Pair {
    const PixelFormatInfo* src;
    const PixelFormatInfo* dst;
    int keyed;
    std::function<uint32_t(uint32_t)> rule;
    bool narrowing;
  } pairs[] = {
      {&pal, &kRgb565, 0, [&](uint32_t i) { return to565(entryRgb(i)); }, false},
      {&pal, &kX1555, 0, [&](uint32_t i) { return to555(entryRgb(i)) | 0x8000; }, false},
      {&pal, &kX8888, 0, [&](uint32_t i) { return entryRgb(i) | 0xFF000000; }, false},
      {&pal, &kA1555, 1, [&](uint32_t i) { return to555(entryRgb(i)) | (entryRgb(i) == key ? 0 : 0x8000); }, false},
      {&pal, &kA8888, 1, [&](uint32_t i) { return entryRgb(i) | (entryRgb(i) == key ? 0 : 0xFF000000); }, false},
      {&kRgb24, &kRgb565, 0, to565, true},
      {&kRgb24, &kX1555, 0, [&](uint32_t v) { return to555(v) | 0x8000; }, true},
      {&kRgb24, &kA1555, 1, [&](uint32_t v) { return to555(v) | (v == key ? 0 : 0x8000); }, false},
      {&kRgb24, &kA8888, 1, [&](uint32_t v) { return v | (v == key ? 0 : 0xFF000000); }, false},
      {&kX8888, &kRgb565, 0, [&](uint32_t v) { return to565(v & 0xFFFFFF); }, true},
      {&kA8888, &kRgb565, 0, [&](uint32_t v) { return to565(v & 0xFFFFFF); }, true},
      {&kRgb565, &kRgb24, 0, [](uint32_t v) { return ((v >> 11) << 19) | ((v >> 5 & 63) << 10) | ((v & 31) << 3); }, false},
      {&kRgb565, &kX8888, 0, [](uint32_t v) { return ((v >> 11) << 19) | ((v >> 5 & 63) << 10) | ((v & 31) << 3); }, false},
      {&kRgb565, &kX1555, 0, [](uint32_t v) { return ((v >> 11) << 10) | ((v >> 6 & 31) << 5) | (v & 31); }, false},
      {&kX1555, &kRgb565, 0, [](uint32_t v) { return ((v >> 10 & 31) << 11) | ((v >> 5 & 31) << 6) | ((v >> 5 & 1) << 5) | (v & 31); }, false},
      {&kRgb565, &kA1555, 1, [](uint32_t v) {
         uint32_t c = ((v >> 11) << 10) | ((v >> 6 & 31) << 5) | (v & 31);
         return c | (c == ((0x1Fu) << 5) ? 0 : 0x8000);
       }, false},
  };
  for (const Pair& p : pairs) {
    Canvas src(*p.src, 37, 3), dst(*p.dst, 37, 3), mirrored(*p.dst, 37, 3);
    RandomFill(src, 11);
    src.Set(3, 1, p.src == &kRgb565 ? 0x07E0 : (p.src == &pal ? 0 : key));
    ConvertOptions o = {};
    o.colorKeyMode = p.keyed;
    o.key = key;
    Convert(dst, src, 0, 0, {0, 0, 37, 3}, o);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 37; ++x)
        ASSERT_EQ(dst.Get(x, y), p.rule(src.Get(x, y)) & ((1ull << (8 * p.dst->bytesPerPixel)) - 1))
            << p.src->bitDepth << "->" << p.dst->bitDepth << " at " << x;
    if (p.narrowing) {
      o.mirror = 1;
      Convert(mirrored, src, 0, 0, {0, 0, 37, 3}, o);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(mirrored.Get(36 - x, y), dst.Get(x, y));
    }
  }
}

}  // namespace
}  // namespace qor
