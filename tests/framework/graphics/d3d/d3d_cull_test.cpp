// Mirrored draws on the Direct3D road with back-face culling on: a
// four-corner draw mirrored across, down or both, a mirrored trapezoid (the
// grid), a mirrored turn and a mirrored four-corner draw with a blend graph
// are all drawn, and draw exactly as with culling off.
#include <gtest/gtest.h>

#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
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
