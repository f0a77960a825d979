// Mirrored draws on the Direct3D road with back-face culling on: a
// four-corner draw mirrored across, down or both, a mirrored trapezoid (the
// grid), a mirrored turn and a mirrored four-corner draw with a blend graph
// are all drawn, and draw exactly as with culling off; and which of the two
// triangles of a four-corner draw with a blend graph faces the viewer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"

namespace {

using namespace qor;

std::vector<uint32_t> MirroredScene(bool culling) {
  gfxtest::Road road(false, 32, false, "d3d");
  EXPECT_EQ(GetScreenState().direct3DInUse, 1);
  SelectDrawTarget(kBackScreen);
  const int32_t g = d3dtest::PictureGraph(24, 20, 3);
  const int32_t blend = d3dtest::PictureGraph(24, 20, 9);
  GetDrawState().cullMode = culling ? 1 : 0;
  // Across, down and both (a half turn, which keeps its winding).
  BlitGraphQuad(40, 10, 16, 10, 40, 30, 16, 30, g, 0);
  BlitGraphQuad(60, 30, 84, 30, 60, 10, 84, 10, g, 0);
  BlitGraphQuad(132, 30, 108, 30, 132, 10, 108, 10, g, 0);
  // A mirrored trapezoid goes through the grid.
  BlitGraphQuad(200, 10, 160, 14, 190, 40, 170, 36, g, 0);
  // A mirrored turn at an angle.
  BlitGraphRotated(260.0f, 30.0f, 1.5, 0.4, g, 0, 1);
  // With a blend graph: its own two-triangle road.
  SelectBlendGraph(blend, 128, 64);
  BlitGraphQuad(340, 10, 300, 12, 338, 44, 302, 40, g, 0);
  SelectBlendGraph(-1, 0, 0);
  EndSceneCurrentDevice();
  GetDrawState().cullMode = 0;
  return d3dtest::Frame();
}

}  // namespace

TEST(D3DCull, MirroredDrawsSurviveBackFaceCullingUnchanged) {
  const std::vector<uint32_t> open = MirroredScene(false);
  const std::vector<uint32_t> culled = MirroredScene(true);
  ASSERT_EQ(open.size(), 640u * 480u);
  ASSERT_EQ(culled.size(), open.size());
  // Each draw left pixels in its own area.
  const int areas[][4] = {{16, 10, 40, 30}, {60, 10, 84, 30}, {108, 10, 132, 30}, {160, 10, 200, 40},
                          {235, 5, 285, 55}, {300, 10, 340, 44}};
  for (const auto& a : areas) {
    int lit = 0;
    for (int y = a[1]; y < a[3]; ++y)
      for (int x = a[0]; x < a[2]; ++x) lit += (culled[static_cast<size_t>(y) * 640 + x] & 0xFFFFFF) != 0 ? 1 : 0;
    EXPECT_GT(lit, (a[2] - a[0]) * (a[3] - a[1]) / 4) << a[0];
  }
  size_t differing = 0;
  for (size_t i = 0; i < open.size(); ++i) differing += open[i] != culled[i] ? 1 : 0;
  EXPECT_EQ(differing, 0u);
}

// A four-corner draw with a blend graph is two triangles, (TL, TR, BL) on the
// graph's top-left half and (BR, BL, TR) on its bottom-right half; the
// picture is red on the one half, blue on the other (white along the
// diagonal, where either may sample). With c1 and c2 their cross products
// on the screen, TR and BL trade places when both are at most 0, or when
// the two differ in sign and c1 is negative. With back-face culling on, a
// triangle shows exactly when its cross product after the trade is
// positive.
TEST(D3DCull, TheTwoTrianglesOfABlendGraphQuadFaceAsTheWindingRuleTurnsThem) {
  gfxtest::Road road(false, 32, false, "d3d");
  SelectDrawTarget(kBackScreen);
  GraphImage image{};
  ASSERT_EQ(CreateRgb24GraphImage(40, 40, &image), 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      uint8_t* p = image.pixels + y * image.pitch + x * 3;  // blue, green, red
      p[0] = x + y >= 37 ? 255 : 0, p[1] = x + y >= 37 && x + y <= 41 ? 255 : 0, p[2] = x + y <= 41 ? 255 : 0;
    }
  GraphRecord* g = LookupGraph(BuildGraphFromImage(&image, nullptr, 1, 0, 0));
  FreeGraphImage(&image);
  ASSERT_EQ(g->pieceCount, 1);
  const int32_t blend = CreateSizedGraph(64, 64, 1, 0, 0);
  ASSERT_EQ(FillGraphColor(blend, 255, 255, 255, 255), 0);  // lets every pixel through
  const struct {
    int32_t k[8];  // TL, TR, BL, BR
    int c1, c2;    // their signs
  } rows[] = {
      {{10, 10, 60, 12, 8, 50, 62, 55}, 1, 1},    // upright
      {{60, 10, 10, 12, 62, 50, 8, 55}, -1, -1},  // mirrored across
      {{10, 50, 60, 55, 8, 10, 62, 12}, -1, -1},  // flipped down
      {{60, 50, 10, 55, 62, 10, 8, 12}, 1, 1},    // both: a half turn
      {{10, 50, 60, 50, 10, 10, 20, 60}, -1, 1},  // folded: the halves face apart
      {{10, 10, 60, 10, 10, 50, 20, 2}, 1, -1},
      {{10, 50, 60, 50, 35, 50, 35, 10}, 0, -1},  // one half without area
      {{10, 10, 60, 10, 35, 10, 35, 50}, 0, 1},
      {{10, 50, 60, 50, 10, 10, 35, 30}, -1, 0},
      {{10, 10, 60, 10, 10, 50, 35, 30}, 1, 0},
  };
  auto sign = [](int64_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; };
  auto cross = [](const int32_t* a, const int32_t* b, const int32_t* c) {
    return int64_t{b[0] - a[0]} * (c[1] - a[1]) - int64_t{b[1] - a[1]} * (c[0] - a[0]);
  };
  for (const auto& row : rows) {
    const int32_t* k = row.k;
    SCOPED_TRACE(testing::Message() << "corners " << k[0] << "," << k[1] << " " << k[2] << "," << k[3] << " " << k[4]
                                    << "," << k[5] << " " << k[6] << "," << k[7]);
    const int64_t c1 = cross(k, k + 2, k + 4), c2 = cross(k + 6, k + 4, k + 2);
    ASSERT_EQ(sign(c1), row.c1);
    ASSERT_EQ(sign(c2), row.c2);
    const bool trade = (c1 <= 0 && c2 <= 0) || (c1 * c2 < 0 && c1 < 0);
    const bool shows[2] = {(trade ? -c1 : c1) > 0, (trade ? -c2 : c2) > 0};
    for (const int culling : {0, 1}) {
      SCOPED_TRACE(culling ? "culling" : "no culling");
      PaintBoxFilled(0, 0, 640, 480, 0);
      GetDrawState().cullMode = culling;
      SelectBlendGraph(blend, 0, 0);
      EXPECT_EQ(BlitGraphQuadIntD3D(k, g, 0), 0);
      SelectBlendGraph(-1, 0, 0);
      GetDrawState().cullMode = 0;
      const std::vector<uint32_t> frame = d3dtest::Frame();
      int red = 0, blue = 0;
      for (const uint32_t p : frame) red += (p & 0xFFFFFF) == 0xFF0000, blue += (p & 0xFFFFFF) == 0x0000FF;
      for (int half = 0; half < 2; ++half) {
        const int seen = half == 0 ? red : blue;
        const int64_t area = half == 0 ? c1 : c2;
        if (area != 0 && (!culling || shows[half])) {
          EXPECT_GT(seen, 100) << "half " << half;  // less where the other half covers it
        } else {
          EXPECT_EQ(seen, 0) << "half " << half;
        }
      }
    }
  }
}
