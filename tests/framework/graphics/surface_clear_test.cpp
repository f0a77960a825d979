// Clearing a graph held as a memory image on the DirectDraw road: black
// painted under the blend mode and inside the draw area, as a black box
// over the whole graph paints it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"

namespace {

using namespace qor;

TEST(SurfaceClear, AMemoryImageGraphIsPaintedBlackUnderTheBlendModeAsABoxIs) {
  gfxtest::Road road(false, 16);
  struct Row {
    int32_t mode, parameter;
    Rect area;
  };
  const Row rows[] = {{0, 0, {0, 0, 32, 16}}, {1, 128, {0, 0, 32, 16}}, {2, 255, {0, 0, 32, 16}},
                      {1, 255, {4, 2, 20, 10}}, {0, 0, {31, 15, 33, 17}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode * 1000 + row.parameter);
    std::vector<uint32_t> pixels[2];
    for (int road2D = 0; road2D < 2; ++road2D) {
      const int32_t g = gfxtest::MakeGraph(32, 16, true, false, 5);
      const Surface2DPiece* piece = LookupSurface2D(LookupGraph(g)->pieceHandles[0]);
      ASSERT_TRUE(LookupSurfaceData(piece->surfaceData)->memImageMode);
      ASSERT_EQ(SelectDrawTarget(g), 0);
      const std::vector<uint32_t> before = gfxtest::TargetPixels(0, 0, 32, 16);
      SetClipArea(row.area.left, row.area.top, row.area.right, row.area.bottom);
      SelectBlend(row.mode, row.parameter);
      if (road2D == 0) {
        ASSERT_EQ(EraseDrawTarget(), 0);
      } else {
        PaintBox(0, 0, 32, 16, PackColorRGB(0, 0, 0), 1);
      }
      SelectBlend(0, 0);
      pixels[road2D] = gfxtest::TargetPixels(0, 0, 32, 16);
      // Adding black changes nothing; a plain clear changes the area.
      EXPECT_EQ(pixels[road2D] == before, row.mode == 2);
    }
    EXPECT_EQ(pixels[0], pixels[1]);
  }
}

}  // namespace
