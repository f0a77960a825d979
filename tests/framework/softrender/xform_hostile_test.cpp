// Huge, degenerate, non-finite and refused inputs of the transformed draws:
// nothing is ever written outside the destination's draw area, and refused
// draws write nothing at all.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/xform_draw.h"
#include "framework/softrender/xform_triangle_setup.h"
#include "xform_test_util.h"

namespace qor {
namespace {

using xform_test::Canvas;
using xform_test::Source;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
const int kModes[] = {0, 1, 2, 3, 4, 10, 11};

class XformHostileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMemImageFormats();
    BuildBlendTables();
  }
};

// Values at and beyond the edges of 14.18 and of int.
const int32_t kEdges[] = {INT_MIN, -8193, -8192, -8191, -40, -1, 0, 5, 13, 8190, 8191, 8192, INT_MAX};

TEST_F(XformHostileTest, TrianglesAtTheEdgesStayInside) {
  Source src;
  src.Create(1, 9, 7);
  Canvas c;
  c.Create(1, 14, 12);
  int drew = 0;
  std::vector<uint32_t> blank = c.Pixels();
  for (int mode : {0, 2}) {
    // A draw area larger than the image and one turned inside out.
    for (Rect area : {Rect{-50, -50, 9000, 9000}, Rect{10, 8, 2, 1}}) {
      SoftDrawSettings st = {area, mode, 255, 0xFFFFFF};
      for (int32_t a : kEdges) {
        for (int32_t b : kEdges) {
          const int32_t cases[][12] = {
              {a, b, 0, 0, 13, 0, 8, 0, 0, 11, 0, 6},          // one far vertex
              {a, 0, 0, 0, b, 11, 9, 7, 6, 5, a, b},            // far source positions
              {0, 0, 0, 0, 1, 0, a, b, 0, 1, b, a},             // the steepest mappings
              {a, a, 0, 0, b, a, 9, 0, a, b, 0, 7},             // huge shapes
          };
          for (const auto& v : cases) {
            DrawMemImgTriangle(&c.view, &src.image, v, 1, nullptr, 0, &st);
            DrawMemImgTriangle(&c.view, nullptr, v, 0, nullptr, 0x12345678, &st);
          }
        }
      }
      ASSERT_TRUE(c.CanaryIntact()) << "mode " << mode;
      drew += c.Pixels() != blank;
      c.Restore(blank);
    }
  }
  EXPECT_EQ(drew, 2);  // only the sane area draws
}

// Vertices outside 14.18 are refused: every draw in which one appears draws
// nothing, even where the rest of the triangle would be on the image.
TEST_F(XformHostileTest, VerticesOutsideFixedRangeAreRefused) {
  Canvas c;
  c.Create(0, 16, 16);
  SoftDrawSettings st = {{0, 0, 16, 16}, 0, 255, 0xFFFFFF};
  for (int32_t far : {-8193, 8192, INT_MAX}) {
    const int32_t v[12] = {0, 0, 0, 0, far, 0, 0, 0, 0, 15, 0, 0};
    TriangleSetup t;
    EXPECT_EQ(PrepareTriangle(v, &t), -1);
    DrawMemImgTriangle(&c.view, nullptr, v, 0, nullptr, 0xFFFF, &st);
  }
  // The last pixels 14.18 can name still work.
  const int32_t edge[12] = {-8192, -8192, 0, 0, 8191, 5, 0, 0, 3, 8191, 0, 0};
  DrawMemImgTriangle(&c.view, nullptr, edge, 0, nullptr, 0xFFFF, &st);
  EXPECT_EQ(c.Get(8, 8), 0xFFFFu);
  EXPECT_TRUE(c.CanaryIntact());
}

TEST_F(XformHostileTest, RotatedNonFiniteZeroAndHugeDrawNothing) {
  Source src;
  src.Create(0, 12, 10);
  Canvas c;
  c.Create(0, 40, 40);
  std::vector<uint32_t> blank = c.Pixels();
  const float scales[] = {0.0f, -0.0f, kNaN, kInf, -kInf, 1e-30f, 1e30f, 3e5f};
  const float angles[] = {kNaN, kInf, -kInf};
  const int32_t centres[][2] = {{INT_MIN, 20}, {20, INT_MAX}, {-8193, 20}, {20, 8192}, {-9000, -9000}, {8000, 20}};
  for (int mode : kModes) {
    SoftDrawSettings st = {{0, 0, 40, 40}, mode, 128, 0xFFFFFF};
    for (int mirror = 0; mirror < 2; ++mirror) {
      for (float s : scales) DrawMemImgRotated(&c.view, &src.image, 20, 20, 0.5f, s, 0, mirror, nullptr, &st);
      for (float a : angles) DrawMemImgRotated(&c.view, &src.image, 20, 20, a, 1.0f, 0, mirror, nullptr, &st);
      for (const auto& p : centres) DrawMemImgRotated(&c.view, &src.image, p[0], p[1], 0.5f, 1.0f, 0, mirror, nullptr, &st);
    }
  }
  EXPECT_EQ(c.Pixels(), blank);
  EXPECT_TRUE(c.CanaryIntact());
}

// Large but finite turns and scales, centres near the edges of the range,
// every mode: the canary holds.
TEST_F(XformHostileTest, RotatedExtremesStayInside) {
  Source src;
  src.Create(1, 33, 5, 1);
  Canvas c;
  c.Create(1, 24, 20);
  const float scales[] = {1e-6f, 0.001f, 0.3f, 7.0f, 400.0f, -2.5f};
  const float angles[] = {0.0f, 1e-7f, 3.1415927f, -1e6f, 1e20f};
  const int32_t centres[][2] = {{-8192, -8192}, {8191, 8191}, {-30, 10}, {12, 50}, {12, 10}};
  for (int mode : kModes) {
    SoftDrawSettings st = {{-5, -5, 500, 500}, mode, 200, 0x80FF40};
    for (float s : scales)
      for (float a : angles)
        for (const auto& p : centres)
          for (int mirror = 0; mirror < 2; ++mirror)
            DrawMemImgRotated(&c.view, &src.image, p[0], p[1], a, s, 1, mirror, nullptr, &st);
    ASSERT_TRUE(c.CanaryIntact()) << "mode " << mode;
  }
}

TEST_F(XformHostileTest, RefusedImagesDrawNothing) {
  Source src16, src32, wide, tall, palettised;
  src16.Create(0, 8, 8);
  src32.Create(1, 8, 8);
  wide.Create(1, 8192, 1);
  tall.Create(1, 1, 8192);
  palettised.Create(1, 8, 8, 1);
  palettised.image.buffer->palette = nullptr;  // a broken palettised image
  MemImage graph = {}, paletteDest = {}, alphaDest = {}, oneChannel = {};
  ASSERT_EQ(CreateMemImg(&graph, 7, 8, -1, 0, 2, 0, 0, 0, nullptr), 0);  // narrower than the sources
  ASSERT_EQ(CreateMemImg(&paletteDest, 16, 16, -1, 0, 1, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&alphaDest, 16, 16, -1, 0, 1, 0, 1, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&oneChannel, 16, 16, -1, 0, 2, 0, 0, 0, nullptr), 0);
  FillMemImgRect(&paletteDest, nullptr, 0);
  FillMemImgRect(&alphaDest, nullptr, 0);
  FillMemImgRect(&oneChannel, nullptr, 0);
  Canvas c;
  c.Create(1, 16, 16);
  SoftDrawSettings st = {{0, 0, 16, 16}, 0, 255, 0xFFFFFF};
  const int32_t tri[12] = {0, 0, 0, 0, 15, 0, 8, 0, 0, 15, 0, 8};
  const int32_t quad[8] = {0, 0, 15, 0, 0, 15, 15, 15};
  auto all = [&](MemImage* dst, const MemImage* s, const MemImage* g) {
    DrawMemImgTriangle(dst, s, tri, 0, g, 0, &st);
    DrawMemImgQuadClipped(dst, s, quad, 0, g, &st);
    DrawMemImgRotated(dst, s, 8, 8, 0.2f, 1.0f, 0, 0, g, &st);
    DrawMemImgRotated(dst, s, 8, 8, 0.2f, 1.0f, 0, 1, g, &st);
  };
  all(&c.view, &src16.image, nullptr);      // another kind
  all(&c.view, &src32.image, &graph);       // blend graph smaller than the source
  all(&c.view, &wide.image, nullptr);       // 8192 columns
  all(&c.view, &tall.image, nullptr);       // 8192 rows
  all(&c.view, &palettised.image, nullptr);  // no palette
  for (MemImage* d : {&paletteDest, &alphaDest, &oneChannel}) all(d, &src32.image, nullptr);
  DrawMemImgQuadClipped(&c.view, nullptr, quad, 0, nullptr, &st);
  DrawMemImgRotated(&c.view, nullptr, 8, 8, 0.0f, 1.0f, 0, 0, nullptr, &st);
  DrawMemImgTriangle(&c.view, &src32.image, nullptr, 0, nullptr, 0, &st);
  DrawMemImgTriangle(&c.view, &src32.image, tri, 0, nullptr, 0, nullptr);
  for (uint32_t p : c.Pixels()) ASSERT_EQ(p, 0u);
  for (MemImage* d : {&paletteDest, &alphaDest, &oneChannel}) {
    int bytes = d->buffer->format->bytesPerPixel;
    for (int i = 0; i < 16 * bytes; ++i) ASSERT_EQ(d->pixels[8 * d->buffer->pitch + i], 0);
  }
  EXPECT_TRUE(c.CanaryIntact());
  palettised.image.buffer->palette = palettised.image.buffer->secondPalette - 1024;  // released with its buffer
  for (MemImage* m : {&graph, &paletteDest, &alphaDest, &oneChannel}) ReleaseMemImg(m);
}

}  // namespace
}  // namespace qor
