#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/blend_tables.h"
#include "framework/softrender/soft_blend.h"
#include "framework/softrender/soft_primitives.h"
#include "reference_blend.h"
#include "xform_test_util.h"

namespace qor {
namespace {

// The renderer tests' reference model, for a flat colour: a plain opaque
// sample drawn without tint, graph or alpha on the transformed road (no
// 1:1-walk forms). The fill and line tint comes first, by its own rule: a
// white tint leaves the colour, any other takes each channel times the tint
// byte, shifted down by 8.
uint32_t Reference(int kind, uint32_t d, uint32_t c, int mode, int p, uint32_t tint = 0xFFFFFF) {
  const int shift[3] = {0, kind ? 8 : 5, kind ? 16 : 11}, bits[3] = {kind ? 8 : 5, kind ? 8 : 6, kind ? 8 : 5};
  uint32_t tinted = c;
  if ((tint & 0xFFFFFF) != 0xFFFFFF) {
    tinted = kind ? (c & 0xFF000000) : 0;
    for (int i = 0; i < 3; ++i) {
      const uint32_t field = (c >> shift[i]) & ((1u << bits[i]) - 1);
      tinted |= (field * ((tint >> (8 * i)) & 0xFF) >> 8) << shift[i];
    }
  }
  const ref::Draw draw = {kind, mode, p, 0xFFFFFF, ref::Road::kTransformed, ref::kDirect, 0, false};
  return ref::Pixel(draw, 0, ref::Sample{tinted, tinted, 255, 1}, 0, d);
}

class SoftPrimitivesTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildBlendTables(); }
  // A `w` x `h` view of random pixels inside a two-pixel canary frame.
  void MakeCanvas(int kind, int w, int h, uint32_t seed) {
    canvas.Create(kind, w, h, 2);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) canvas.Set(x, y, rng());
  }
  uint32_t Get(int x, int y) const { return canvas.Get(x, y); }
  bool CanaryIntact() const { return canvas.CanaryIntact(); }
  xform_test::Canvas canvas;
  MemImage& view = canvas.view;
};

TEST_F(SoftPrimitivesTest, FormulasAgreeWithTheChannelReference) {
  EXPECT_EQ(BlendPixel32(0, 0xFFFFFF, 1, 128), 0x7F7F7Fu);
  EXPECT_EQ(BlendPixel16(0, 0xF800, 1, 128) >> 11, 15u);
  EXPECT_EQ(BlendPixel32(0x00102030, 0x00010101, 2, 255), 0x00112131u);
  EXPECT_EQ(BlendPixel32(0x00FF8080, 0x00808080, 2, 255), 0x01FFFFFFu);
  EXPECT_EQ(BlendPixel32(0x00102030, 0x00203040, 3, 255), 0u);
  std::mt19937 rng(9);
  const int edges[] = {0, 1, 127, 128, 129, 254, 255};
  for (int mode = 0; mode < 12; ++mode) {
    for (int i = 0; i < 20000; ++i) {
      uint32_t d = rng(), c = rng();
      int p = i < 7000 ? edges[i % 7] : static_cast<int>(rng() % 256);
      ASSERT_EQ(BlendPixel32(d, c, mode, p), Reference(1, d, c, mode, p)) << mode << " " << p << " " << d << " " << c;
      ASSERT_EQ(BlendPixel16(d & 0xFFFF, c & 0xFFFF, mode, p), Reference(0, d & 0xFFFF, c & 0xFFFF, mode, p))
          << mode << " " << p << " " << (d & 0xFFFF) << " " << (c & 0xFFFF);
    }
  }
  EXPECT_EQ(TintColor32(0x12FFFFFF, 0x808080), 0x127F7F7Fu);
  EXPECT_EQ(TintColor32(0x12345678, 0xFFFFFF), 0x12345678u);
  EXPECT_EQ(TintColor16(0xFFFF, 0x808080), (15u << 11) | (31u << 5) | 15u);
}

// A fill reaching past the image on every side, and a line 14 across and 9
// up, in every mode: each pixel they cover is blended, no other changes.
TEST_F(SoftPrimitivesTest, FillsAndLinesInEveryModeBlendOnlyTheirPixels) {
  for (bool line : {false, true}) {
    for (int kind = 0; kind < 2; ++kind) {
      for (int mode = 0; mode < 12; ++mode) {
        for (int p : line ? std::vector<int>{77} : std::vector<int>{0, 100, 255}) {
          MakeCanvas(kind, 16, 12, mode * 7 + p + 40 * kind);
          std::vector<uint32_t> before;
          for (int i = 0; i < 16 * 12; ++i) before.push_back(Get(i % 16, i / 16));
          SoftDrawSettings s = {{-100, -100, 1000, 1000}, mode, p, line ? 0xFF80FFu : 0x80C0FFu};
          const uint32_t color = line ? 0x3C5A96F0 : 0x89ABCDEF;
          const Rect beyond = {-5, -3, 50, 40};
          if (line) DrawMemImgLine(&view, 1, 11, 15, 2, color, &s);
          else PaintMemImgRect(&view, &beyond, color, &s);
          ASSERT_TRUE(CanaryIntact()) << kind << " " << mode;
          const uint32_t drawn = kind ? color : color & 0xFFFF;
          for (int i = 0; i < 16 * 12; ++i) {
            const int x = i % 16, y = i / 16, n = x - 1;
            const bool on = !line || (n >= 0 && n < 14 && y == 11 - n * 9 / 14);
            const uint32_t expect = on ? Reference(kind, before[i], drawn, mode, p, s.tint) : before[i];
            ASSERT_EQ(Get(x, y), expect) << line << " " << kind << " " << mode << " " << p << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST_F(SoftPrimitivesTest, RectanglesAreNormalisedAndClippedToTheArea) {
  MakeCanvas(1, 20, 20, 1);
  FillMemImgRect(&view, nullptr, 0);
  SoftDrawSettings s = {{0, 0, 20, 20}, 0, 0, 0xFFFFFF};
  Rect r = {10, 10, 5, 5};
  PaintMemImgRect(&view, &r, 0x123456, &s);
  s.drawArea = {0, 0, 3, 2};
  PaintMemImgRect(&view, nullptr, 0x777777, &s);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      uint32_t expect = (x < 3 && y < 2) ? 0x777777 : (x >= 5 && x < 10 && y >= 5 && y < 10) ? 0x123456 : 0;
      ASSERT_EQ(Get(x, y), expect) << x << "," << y;
    }
  // Images with alpha are not drawn on.
  MemImage withAlpha = {};
  ASSERT_EQ(CreateMemImg(&withAlpha, 4, 4, -1, 0, 1, 0, 1, 0, nullptr), 0);
  FillMemImgRect(&withAlpha, nullptr, 9);
  DrawMemImgLine(&withAlpha, 0, 0, 3, 0, 1, &s);
  PaintMemImgRect(&withAlpha, nullptr, 1, &s);
  EXPECT_EQ(LoadPixel32(withAlpha.pixels), 9u);
  ReleaseMemImg(&withAlpha);
}

TEST_F(SoftPrimitivesTest, LinesMatchTheStepRuleAndNeverLeaveTheArea) {
  SoftDrawSettings s = {{0, 0, 16, 12}, 0, 0, 0xFFFFFF};
  auto drawn = [&]() {
    std::set<std::pair<int, int>> set;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 16; ++x)
        if (Get(x, y) == 0xFFFF) set.insert({x, y});
    return set;
  };
  MakeCanvas(0, 16, 12, 2);
  FillMemImgRect(&view, nullptr, 0);
  DrawMemImgLine(&view, 0, 0, 3, 0, 0xFFFF, &s);
  EXPECT_EQ(drawn(), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}}));
  FillMemImgRect(&view, nullptr, 0);
  DrawMemImgLine(&view, 5, 5, 5, 5, 0xFFFF, &s);
  EXPECT_TRUE(drawn().empty());
  s.drawArea = {5, 0, 5, 12};  // an area of no width
  DrawMemImgLine(&view, 0, 6, 15, 6, 0xFFFF, &s);
  EXPECT_TRUE(drawn().empty());
  s.drawArea = {0, 0, 16, 12};

  // Inside the area: pixel n of the long axis sits at floor(n * short / long).
  for (int x2 = 0; x2 < 16; x2 += 3) {
    for (int y2 = 0; y2 < 12; y2 += 2) {
      FillMemImgRect(&view, nullptr, 0);
      DrawMemImgLine(&view, 7, 6, x2, y2, 0xFFFF, &s);
      int lx = std::abs(x2 - 7), ly = std::abs(y2 - 6), sx = x2 >= 7 ? 1 : -1, sy = y2 >= 6 ? 1 : -1;
      std::set<std::pair<int, int>> expect;
      int steps = std::max(lx, ly);
      for (int n = 0; n < steps; ++n) {
        if (lx >= ly) expect.insert({7 + sx * n, 6 + sy * (n * ly / lx)});
        else expect.insert({7 + sx * (n * lx / ly), 6 + sy * n});
      }
      ASSERT_EQ(drawn(), expect) << x2 << "," << y2;
    }
  }

  // Ends far outside, in every direction and up to the limits of int: the
  // line is cut to the area, drawn as a connected run, and never beyond it.
  std::mt19937 rng(4);
  const Rect areas[2] = {{3, 2, 13, 10}, {-50, -50, 500, 500}};  // the second is cut to the image
  int drewSome = 0;
  for (int i = 0; i < 3000; ++i) {
    s.drawArea = areas[i & 1];
    const Rect inside = i & 1 ? Rect{0, 0, 16, 12} : areas[0];
    auto coord = [&]() {
      switch (rng() % 4) {
        case 0: return static_cast<int32_t>(rng() % 40) - 12;
        case 1: return static_cast<int32_t>(rng() % 2000) - 1000;
        case 2: return static_cast<int32_t>(rng());
        default: return (rng() & 1) ? INT32_MAX : INT32_MIN;
      }
    };
    FillMemImgRect(&view, nullptr, 0);
    int32_t x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
    DrawMemImgLine(&view, x1, y1, x2, y2, 0xFFFF, &s);
    ASSERT_TRUE(CanaryIntact());
    auto set = drawn();
    drewSome += !set.empty();
    for (auto [x, y] : set) {
      ASSERT_TRUE(x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom) << x1 << " " << y1 << " " << x2 << " " << y2;
      bool linked = set.size() == 1;
      for (int dy = -1; dy <= 1 && !linked; ++dy)
        for (int dx = -1; dx <= 1 && !linked; ++dx) linked = (dx || dy) && set.count({x + dx, y + dy});
      ASSERT_TRUE(linked) << x1 << " " << y1 << " " << x2 << " " << y2;
    }
  }
  EXPECT_GT(drewSome, 300);
}

TEST_F(SoftPrimitivesTest, LineListsBlendEachRecordWithItsColour) {
  MakeCanvas(1, 8, 4, 3);
  FillMemImgRect(&view, nullptr, 0x00404040);
  SoftDrawSettings s = {{0, 0, 8, 4}, 2, 255, 0xFFFFFF};
  LineRecord lines[2] = {{0, 0, 8, 0, 0x00101010, 0}, {0, 1, 8, 1, 0x00FFFFFF, 0}};
  DrawMemImgLineList(&view, lines, 0, &s);
  EXPECT_EQ(Get(0, 0), 0x00404040u);
  DrawMemImgLineList(&view, lines, 2, &s);
  EXPECT_EQ(Get(7, 0), 0x00505050u);
  EXPECT_EQ(Get(7, 1), 0x01FFFFFFu);
  EXPECT_EQ(Get(7, 2), 0x00404040u);
}

}  // namespace
}  // namespace qor
