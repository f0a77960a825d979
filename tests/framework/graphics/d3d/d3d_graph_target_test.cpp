// A texture graph the device cannot render into, as the draw target on the
// Direct3D road: it is still the 2D road's target, whose draws land in it in
// its own format however narrow its pixels, while the device's draws land
// on the device's own target, the front screen.
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
    ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);  // the batch drawn; the primary read
    front[target == kFrontScreen] = gfxtest::TargetPixels(0, 0, 40, 30);
  }
  EXPECT_EQ(front[0], front[1]);
  EXPECT_NE(front[1], std::vector<uint32_t>(front[1].size(), front[1][0]));
  ASSERT_EQ(SelectDrawTarget(texture), 0);
  EXPECT_EQ(gfxtest::TargetPixels(0, 0, 64, 32), kept);
}

// A texture graph of several pieces as the target: the 2D road draws into
// its first piece, in that piece's texture at the piece's place there (a
// carved graph starts inside a texture), and no other texel changes.
TEST(D3DGraphTarget, ATargetOfSeveralPiecesIsItsFirstPieceAtItsPlaceInItsTexture) {
  gfxtest::Road road(false, 32, false, "d3d");
  GetD3D().maxTexture = 32;  // a device with small textures
  const int32_t whole = CreateSizedGraph(70, 40, 1, 0, 0);
  const GraphRecord* w = LookupGraph(whole);
  ASSERT_EQ(w->pieceCount, 6);  // 32 + 32 + 6 across, 32 + 8 down, row by row
  std::vector<const plat::DDSurface*> textures;
  for (int32_t i = 0; i < w->pieceCount; ++i)
    textures.push_back(LookupSurfaceData(LookupSurface3DData(w->pieceHandles[i])->texture)->surface);
  auto texels = [&] {
    std::vector<std::vector<uint32_t>> all;
    for (const plat::DDSurface* t : textures) {
      all.emplace_back(static_cast<size_t>(t->width()) * t->height());
      for (int y = 0; y < t->height(); ++y)
        std::memcpy(&all.back()[static_cast<size_t>(y) * t->width()], t->memory() + y * t->pitch(), t->width() * 4u);
    }
    return all;
  };
  // The graph's rectangle in the whole one (the first row is the whole graph
  // itself); the texture (by the whole graph's piece) and the rectangle in
  // it that the graph's first piece covers.
  const struct {
    int32_t carve[4], texture, rect[4];
  } rows[] = {{{0, 0, 70, 40}, 0, {0, 0, 32, 32}},
              {{40, 10, 28, 26}, 1, {8, 10, 32, 32}},
              {{5, 20, 60, 20}, 0, {5, 20, 32, 32}},
              {{33, 34, 37, 6}, 4, {1, 2, 32, 8}}};
  const uint32_t colour = PackColorRGB(200, 100, 50), rgb = 0xFFFFFF;
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "carved at " << row.carve[0] << "," << row.carve[1]);
    const int32_t g =
        &row == rows ? whole : CarveSubGraph(row.carve[0], row.carve[1], row.carve[2], row.carve[3], whole);
    ASSERT_GT(LookupGraph(g)->pieceCount, 1);
    ASSERT_EQ(FillGraphPieces3D(LookupGraph(whole), 10, 20, 30, 255), 0);
    const std::vector<std::vector<uint32_t>> before = texels();
    ASSERT_EQ(SelectDrawTarget(g), 0);
    SetUse3DGraphs(0);  // boxes on the 2D road
    EXPECT_EQ(PaintBox(0, 0, row.rect[2] - row.rect[0], row.rect[3] - row.rect[1], colour, 1), 0);
    SetUse3DGraphs(1);
    const std::vector<std::vector<uint32_t>> after = texels();
    int wrong = 0, painted = 0;
    for (size_t t = 0; t < textures.size(); ++t)
      for (int y = 0; y < textures[t]->height(); ++y)
        for (int x = 0; x < textures[t]->width(); ++x) {
          const size_t i = static_cast<size_t>(y) * textures[t]->width() + x;
          const bool inside = static_cast<int>(t) == row.texture && x >= row.rect[0] && y >= row.rect[1] &&
                              x < row.rect[2] && y < row.rect[3];
          painted += inside;
          wrong += inside ? (after[t][i] & rgb) != (colour & rgb) : after[t][i] != before[t][i];
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(painted, 0);
    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  }
}

}  // namespace
