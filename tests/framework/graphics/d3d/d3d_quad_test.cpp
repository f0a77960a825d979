// The four-corner draw from whole-pixel corners against the draws it hands
// over to: an axis-aligned rectangle is the stretched draw, a quadrilateral
// without a blend graph the four-corner draw of float corners, and with a
// blend graph the four-corner draw of float corners that truncate to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"

namespace {

using namespace qor;

std::vector<uint32_t> Drawn(const std::function<int()>& draw, int* result) {
  SelectDrawTarget(kBackScreen);
  PaintBoxFilled(0, 0, 640, 480, 0);
  *result = draw();
  return d3dtest::Frame();
}

TEST(D3DQuadInt, EveryCaseDrawsAsTheDrawItHandsOverTo) {
  gfxtest::Road road(false, 32, false, "d3d");
  const int32_t g = d3dtest::PictureGraph(40, 30, 5);
  const int32_t blend = d3dtest::PictureGraph(64, 64, 9);
  GraphRecord* r = LookupGraph(g);
  ASSERT_TRUE(r->is3D);
  const struct {
    bool blendGraph;
    int32_t k[8];  // top-left, top-right, bottom-left, bottom-right
  } cases[] = {
      {false, {10, 10, 60, 10, 10, 40, 60, 40}},   // a rectangle
      {true, {10, 10, 60, 10, 10, 40, 60, 40}},
      {false, {60, 10, 10, 10, 60, 40, 10, 40}},   // mirrored
      {false, {10, 10, 61, 12, 4, 40, 66, 47}},    // a quadrilateral
      {true, {10, 10, 61, 12, 4, 40, 66, 47}},
      {false, {10, 10, 60, 10, 10, 40, 60, 41}},   // one corner a pixel off
      {true, {10, 10, 60, 10, 10, 40, 60, 41}},
  };
  for (const auto& c : cases) {
    const int32_t* k = c.k;
    SCOPED_TRACE(testing::Message() << "blend " << c.blendGraph << " corners " << k[0] << "," << k[1] << " "
                                    << k[6] << "," << k[7]);
    SelectBlendGraph(c.blendGraph ? blend : -1, 100, 0);
    int got = 0, want = 0;
    const std::vector<uint32_t> a = Drawn([&] { return BlitGraphQuadIntD3D(k, r, 1); }, &got);
    const bool rectangle = k[0] == k[4] && k[2] == k[6] && k[1] == k[3] && k[5] == k[7];
    std::vector<uint32_t> b;
    if (rectangle) {
      const float x1 = static_cast<float>(k[0]), y1 = static_cast<float>(k[1]);
      const float x2 = static_cast<float>(k[6]), y2 = static_cast<float>(k[7]);
      b = Drawn([&] { return BlitGraphStretchedD3D(k[0], k[1], k[6], k[7], x1, y1, x2, y2, r, 1, 1); }, &want);
    } else if (!c.blendGraph) {
      float f[8];
      for (int i = 0; i < 8; ++i) f[i] = static_cast<float>(k[i]);
      b = Drawn([&] { return BlitGraphQuadD3D(f, r, 1); }, &want);
    } else {
      // Through the public entry: corners with fractions that truncate to k.
      float f[8];
      for (int i = 0; i < 8; ++i) f[i] = static_cast<float>(k[i]) + (i % 3 == 0 ? 0.75f : 0.25f);
      b = Drawn([&] { return BlitGraphQuad(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], g, 1); }, &want);
    }
    EXPECT_EQ(got, want);
    ASSERT_EQ(a.size(), b.size());
    int lit = 0, differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      lit += (a[i] & 0xFFFFFF) != 0;
      differ += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(lit, 500);
  }
  SelectBlendGraph(-1, 0, 0);
}

}  // namespace
