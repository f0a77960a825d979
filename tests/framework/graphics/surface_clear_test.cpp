// Clearing a graph held as a memory image on the DirectDraw road paints
// black under the blend mode inside the draw area, as a black box does.
#include <gtest/gtest.h>

#include <vector>

#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"

namespace {

using namespace qor;

TEST(SurfaceClear, AMemoryImageGraphIsPaintedBlackUnderTheBlendModeAsABoxIs) {
  gfxtest::Road road(false, 16);
  // {mode, parameter, draw area}
  const int32_t rows[][6] = {{0, 0, 0, 0, 32, 16}, {1, 128, 0, 0, 32, 16}, {2, 255, 0, 0, 32, 16},
                             {1, 255, 4, 2, 20, 10}, {0, 0, 31, 15, 33, 17}};
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    std::vector<uint32_t> pixels[2];
    for (int box = 0; box < 2; ++box) {
      const int32_t g = gfxtest::MakeGraph(32, 16, true, false, 5);
      ASSERT_TRUE(LookupSurfaceData(LookupSurface2D(LookupGraph(g)->pieceHandles[0])->surfaceData)->memImageMode);
      ASSERT_EQ(SelectDrawTarget(g), 0);
      const std::vector<uint32_t> before = gfxtest::TargetPixels(0, 0, 32, 16);
      SetClipArea(row[2], row[3], row[4], row[5]);
      SelectBlend(row[0], row[1]);
      EXPECT_EQ(box ? PaintBox(0, 0, 32, 16, PackColorRGB(0, 0, 0), 1) : EraseDrawTarget(), 0);
      SelectBlend(0, 0);
      pixels[box] = gfxtest::TargetPixels(0, 0, 32, 16);
      EXPECT_EQ(pixels[box] == before, row[0] == 2);  // adding black changes nothing
    }
    EXPECT_EQ(pixels[0], pixels[1]);
  }
}

}  // namespace
