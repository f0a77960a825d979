// A texture graph as the draw target on the Direct3D road: selecting fails
// only when both the device's switch and the 2D road's refuse. A texture
// the device cannot render into is still the 2D road's target: 2D draws
// land in it in its own format, however narrow its pixels, and the
// device's draws on the device's own target, the front screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/surfaces/surface_data.h"

namespace {

using namespace qor;

// The surface of a graph's first texture piece.
plat::DDSurface* FirstTexture(int32_t graph) {
  const GraphRecord* g = LookupGraph(graph);
  const Surface3DData* piece = g != nullptr ? LookupSurface3DData(g->pieceHandles[0]) : nullptr;
  const SurfaceDataRecord* data = piece != nullptr ? LookupSurfaceData(piece->texture) : nullptr;
  return data != nullptr ? data->surface : nullptr;
}

std::vector<uint32_t> PrimaryPixels(int x, int y, int w, int h) {
  const plat::DDSurface* p = GetScreenState().primary;
  std::vector<uint32_t> out;
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col) {
      uint32_t v = 0;
      std::memcpy(&v, p->memory() + row * p->pitch() + col * 4, 4);
      out.push_back(v);
    }
  return out;
}

TEST(D3DGraphTarget, SelectingFailsOnlyWhenBothSwitchesRefuse) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetNewGraphDrawable(1);
  const int32_t drawable = CreateSizedGraph(64, 32, 1, 0, 0);
  SetNewGraphDrawable(0);
  const int32_t plain = d3dtest::PictureGraph(64, 32, 1);
  const int32_t wide = d3dtest::PictureGraph(GetD3D().maxTexture + 64, 16, 2);
  ASSERT_GT(LookupGraph(wide)->pieceCount, 1);
  // {graph, the device's switch (a drawable texture, or a graph of several
  // pieces it leaves alone), the 2D road's switch (a graph with a first piece)}
  const int32_t rows[][3] = {{drawable, 0, 0}, {plain, -1, 0}, {wide, 0, 0}, {-1, -1, -1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
    const int wanted = row[1] == 0 || row[2] == 0 ? 0 : -1;
    EXPECT_EQ(SelectDrawTarget(row[0]), wanted);
    EXPECT_EQ(GetDrawState().drawTarget, wanted == 0 ? row[0] : kBackScreen);
    if (row[2] == 0) {
      EXPECT_EQ(GetScreenState().targetSurface, FirstTexture(row[0]));
    }
  }
}

TEST(D3DGraphTarget, DrawsOnATextureTheDeviceCannotRenderIntoLandSafely) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetNewGraphBitDepth(16);
  const int32_t texture = d3dtest::PictureGraph(64, 32, 1);  // 16-bit pixels on a 32-bit screen
  SetNewGraphBitDepth(0);
  SetNewGraphDrawable(1);
  const int32_t same = gfxtest::MakeGraph(64, 32, false, true);  // a 2D graph in the screen's format
  SetNewGraphDrawable(0);
  const int32_t sprite = gfxtest::MakeGraph(40, 20, false, false, 3);
  const int32_t picture = d3dtest::PictureGraph(16, 16, 2);

  // A 2D draw that blends, on the texture and on a graph of the screen's
  // format: the texture holds the other's colours packed in its own format.
  std::vector<uint32_t> drawn[2];
  for (const int32_t target : {texture, same}) {
    ASSERT_EQ(SelectDrawTarget(target), 0);
    ASSERT_EQ(EraseDrawTarget(), 0);
    SelectBlend(1, 128);
    EXPECT_EQ(BlitGraph(4, 2, sprite, 1), 0);
    EXPECT_EQ(BlitGraph(56, 17, sprite, 1), 0);  // cut to 8 x 15 at the last rows
    SelectBlend(0, 0);
    drawn[target == same] = gfxtest::TargetPixels(0, 0, 64, 32);
  }
  ASSERT_EQ(SelectDrawTarget(texture), 0);
  PixelFormatInfo own;
  plat::DDPixelFormat dd;
  GetScreenState().targetSurface->GetPixelFormat(&dd);
  MakeFormatFromDirectDraw(&dd, &own);
  ASSERT_EQ(own.bitDepth, 16);
  const uint32_t colour = own.masks[0] | own.masks[1] | own.masks[2];  // spare bits aside
  int changed = 0;
  for (size_t i = 0; i < drawn[1].size(); ++i) {
    const uint32_t p = drawn[1][i];
    ASSERT_EQ(drawn[0][i] & colour, PackColorForFormat(&own, (p >> 16) & 255, (p >> 8) & 255, p & 255, 255) & colour)
        << i;
    changed += p != 0;
  }
  EXPECT_GT(changed, 100);

  // The device's draw goes to its own target, the front screen, as it does
  // with the front screen selected; the texture keeps what it had.
  const std::vector<uint32_t> kept = gfxtest::TargetPixels(0, 0, 64, 32);
  std::vector<uint32_t> front[2];
  for (const int32_t target : {texture, kFrontScreen}) {
    ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);
    ASSERT_EQ(EraseDrawTarget(), 0);
    ASSERT_EQ(SelectDrawTarget(target), 0);
    EXPECT_EQ(BlitGraph(10, 6, picture, 1), 0);
    EndSceneCurrentDevice();
    front[target == kFrontScreen] = PrimaryPixels(0, 0, 40, 30);
  }
  EXPECT_EQ(front[0], front[1]);
  EXPECT_NE(front[1], std::vector<uint32_t>(front[1].size(), front[1][0]));
  ASSERT_EQ(SelectDrawTarget(texture), 0);
  EXPECT_EQ(gfxtest::TargetPixels(0, 0, 64, 32), kept);
}

}  // namespace
