// Four-corner and rotated draws: placement of the source, mirroring, the
// shared diagonal, scale and turn, and the rotated mapping against true
// trigonometry.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <utility>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/xform_draw.h"
#include "xform_test_util.h"

namespace qor {
namespace {

using xform_test::Canvas;
using xform_test::Source;

SoftDrawSettings Settings(Rect area, int mode = 0, int p = 255) { return {area, mode, p, 0xFFFFFF}; }

class XformShapeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMemImageFormats();
    BuildBlendTables();
  }
  // Every pixel of the canvas: what `expected` gives, or 0 where it gives
  // nothing.
  template <class Fn>
  void ExpectCanvas(const Canvas& c, Fn&& expected) {
    for (int y = 0; y < c.view.height; ++y) {
      for (int x = 0; x < c.view.width; ++x) {
        ASSERT_EQ(c.Get(x, y), expected(x, y)) << "at " << x << "," << y;
      }
    }
    EXPECT_TRUE(c.CanaryIntact());
  }
};

TEST_F(XformShapeTest, QuadMirrored) {
  Source src;
  src.Create(1, 10, 10);
  SoftDrawSettings st = Settings({0, 0, 32, 32});
  {
    Canvas c;
    c.Create(1, 32, 32);
    const int32_t corners[8] = {20, 10, 10, 10, 20, 20, 10, 20};
    DrawMemImgQuadClipped(&c.view, &src.image, corners, 0, nullptr, &st);
    ExpectCanvas(c, [&](int x, int y) {
      return x >= 11 && x <= 20 && y >= 10 && y < 20 ? src.Get(20 - x, y - 10) : 0u;
    });
  }
}

// Both triangles draw the pixels of the diagonal from corner 1 to corner 2:
// in an accumulating mode they are blended twice, and nowhere else.
TEST_F(XformShapeTest, QuadDiagonalBlendedTwice) {
  Source src;
  src.Create(1, 12, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) src.Set(x, y, 0x00FFFFFF);
  Canvas c;
  c.Create(1, 40, 40);
  const int32_t corners[8] = {5, 4, 30, 8, 3, 28, 33, 35};
  SoftDrawSettings st = Settings({0, 0, 40, 40}, 1, 128);
  DrawMemImgQuadClipped(&c.view, &src.image, corners, 0, nullptr, &st);
  // Each triangle alone, copied.
  const int32_t list[16] = {5, 4, 0, 0, 30, 8, 12, 0, 3, 28, 0, 9, 33, 35, 12, 9};
  SoftDrawSettings copy = Settings({0, 0, 40, 40});
  Canvas first, second;
  first.Create(1, 40, 40);
  second.Create(1, 40, 40);
  DrawMemImgTriangle(&first.view, &src.image, list, 0, nullptr, 0, &copy);
  DrawMemImgTriangle(&second.view, &src.image, list + 4, 0, nullptr, 0, &copy);
  int twice = 0;
  // Once: 0 + 255 x 128 / 256 = 127; twice: 127 + 128 x 128 / 256 = 191.
  ExpectCanvas(c, [&](int x, int y) {
    bool a = first.Get(x, y) != 0, b = second.Get(x, y) != 0;
    twice += a && b;
    return a && b ? 0x00BFBFBFu : a || b ? 0x007F7F7Fu : 0u;
  });
  EXPECT_GE(twice, 15);
}

TEST_F(XformShapeTest, QuadWithOneFlatHalfDrawsTheOther) {
  Source src;
  src.Create(0, 8, 8);
  SoftDrawSettings st = Settings({0, 0, 32, 32});
  const int32_t corners[8] = {2, 2, 12, 2, 22, 2, 16, 20};  // corners 0, 1, 2 on one row
  Canvas quad, single;
  quad.Create(0, 32, 32);
  single.Create(0, 32, 32);
  DrawMemImgQuadClipped(&quad.view, &src.image, corners, 0, nullptr, &st);
  const int32_t second[12] = {12, 2, 8, 0, 22, 2, 0, 8, 16, 20, 8, 8};
  DrawMemImgTriangle(&single.view, &src.image, second, 0, nullptr, 0, &st);
  EXPECT_EQ(quad.Pixels(), single.Pixels());
  EXPECT_NE(quad.Pixels(), std::vector<uint32_t>(32 * 32, 0u));
}

TEST_F(XformShapeTest, RotatedPlacementScaleAndTurn) {
  Source src;
  src.Create(1, 10, 10);
  SoftDrawSettings st = Settings({0, 0, 100, 100});
  struct Case {
    float angle, scale;
    int mirror;
    const char* name;
  };
  auto run = [&](Case k, auto&& expected) {
    Canvas c;
    c.Create(1, 100, 100);
    DrawMemImgRotated(&c.view, &src.image, 50, 50, k.angle, k.scale, 0, k.mirror, nullptr, &st);
    SCOPED_TRACE(k.name);
    ExpectCanvas(c, expected);
  };
  auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
  run({0.0f, 1.0f, 0, "1:1"}, [&](int x, int y) {
    return in(x, 45, 54) && in(y, 45, 54) ? src.Get(x - 45, y - 45) : 0u;
  });
  run({0.0f, 1.0f, 1, "mirrored"}, [&](int x, int y) {
    return in(x, 46, 55) && in(y, 45, 54) ? src.Get(55 - x, y - 45) : 0u;
  });
  run({0.0f, 2.0f, 0, "scale 2"}, [&](int x, int y) {
    return in(x, 40, 59) && in(y, 40, 59) ? src.Get((x - 40) / 2, (y - 40) / 2) : 0u;
  });
  run({0.0f, 0.5f, 0, "scale 0.5"}, [&](int x, int y) {
    return in(x, 48, 52) && in(y, 48, 52) ? src.Get(2 * (x - 50) + 5, 2 * (y - 50) + 5) : 0u;
  });
  // A quarter turn: the source's top row becomes the rightmost column, its
  // left column runs along the top.
  run({static_cast<float>(M_PI / 2), 1.0f, 0, "quarter turn"}, [&](int x, int y) {
    return in(x, 46, 55) && in(y, 45, 54) ? src.Get(y - 45, 55 - x) : 0u;
  });
}

// At any angle and scale, a drawn pixel shows the source pixel that the
// exact inverse turn of its position falls on (to within the rounding of
// the fixed-point steps), and every pixel well inside the turned source is
// drawn.
TEST_F(XformShapeTest, RotatedMappingFollowsTrueTurn) {
  Source src;
  src.Create(1, 23, 17);
  std::map<uint32_t, std::pair<int, int>> where;
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 23; ++x) {
      src.Set(x, y, 0x01000000u | static_cast<uint32_t>(y << 8 | x));
      where[src.Get(x, y)] = {x, y};
    }
  }
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> angle(-7.0f, 7.0f), scale(0.4f, 3.0f);
  SoftDrawSettings st = Settings({0, 0, 120, 120});
  for (int n = 0; n < 60; ++n) {
    float a = angle(rng), s = scale(rng) * (n % 7 == 0 ? -1.0f : 1.0f);
    Canvas c;
    c.Create(1, 120, 120);
    DrawMemImgRotated(&c.view, &src.image, 60, 60, a, s, 0, 0, nullptr, &st);
    ASSERT_TRUE(c.CanaryIntact());
    double ca = std::cos(static_cast<double>(a)), sa = std::sin(static_cast<double>(a));
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 120; ++x) {
        double dx = x - 60, dy = y - 60;
        double u = (dx * ca + dy * sa) / s + 11, v = (dy * ca - dx * sa) / s + 8;
        uint32_t got = c.Get(x, y);
        double margin = 0.02 * std::fabs(1 / s) + 0.01;
        bool surelyIn = u >= margin && u < 23 - margin && v >= margin && v < 17 - margin;
        bool surelyOut = u < -margin || u >= 23 + margin || v < -margin || v >= 17 + margin;
        if (got == 0) {
          ASSERT_FALSE(surelyIn) << "angle " << a << " scale " << s << " at " << x << "," << y;
          continue;
        }
        ASSERT_FALSE(surelyOut) << "angle " << a << " scale " << s << " at " << x << "," << y;
        ASSERT_TRUE(where.count(got));
        auto [sx, sy] = where[got];
        ASSERT_LE(std::fabs(std::floor(u) - sx), 1.0) << a << " " << s << " at " << x << "," << y;
        ASSERT_LE(std::fabs(std::floor(v) - sy), 1.0) << a << " " << s << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace qor
