// The Direct3D road's bookkeeping against the device's call counters: the
// vertex batch, the state cache, texture sizes and splits, pieces, and the
// refusals of bad device indexes and targets.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"

namespace {

using namespace qor;

const plat::d3d::DeviceCounters& Counters() { return GetCurrentD3DDevice()->Counters(); }

int32_t MakeGraph3D(int w, int h) { return d3dtest::PictureGraph(w, h, 1); }

TEST(D3DBatch, QuadsShareOneDrawAndUnchangedStatesSendNothing) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  SelectDrawTarget(kBackScreen);
  const int32_t g = MakeGraph3D(16, 16);
  ASSERT_TRUE(LookupGraph(g)->is3D);
  BlitGraph(0, 0, g, 1);  // the states settle
  FlushCurrentVertexBatch();
  const plat::d3d::DeviceCounters before = Counters();
  for (int i = 0; i < 390; ++i) BlitGraph((i * 7) % 600, (i * 13) % 440, g, 1);
  const plat::d3d::DeviceCounters after = Counters();
  EXPECT_EQ(after.drawPrimitive - before.drawPrimitive, 1);
  EXPECT_EQ(after.verticesSubmitted - before.verticesSubmitted, 2334);
  EXPECT_EQ(DeviceSlot(GetD3D().currentDevice)->vertexCount, 6);
  EXPECT_EQ(after.setRenderState, before.setRenderState);
  EXPECT_EQ(after.setTextureStageState, before.setTextureStageState);
  EXPECT_EQ(after.setTexture, before.setTexture);

  // Rotations with no place on the screen add nothing.
  EXPECT_EQ(BlitGraphRotated(100.0f, 100.0f, 1.0, NAN, g, 1, 0), 0);
  EXPECT_EQ(BlitGraphRotated(100.0f, 100.0f, INFINITY, 0.5, g, 1, 0), 0);
  EXPECT_EQ(DeviceSlot(GetD3D().currentDevice)->vertexCount, 6);

  // A true quadrilateral takes the grid of strips; a parallelogram whose
  // edges differ by less than a pixel stays two triangles.
  FlushCurrentVertexBatch();
  const int64_t indexed = Counters().drawIndexedPrimitive;
  BlitGraphQuad(10.0f, 10.0f, 40.0f, 10.0f, 10.4f, 40.0f, 40.6f, 40.0f, g, 1);
  EXPECT_EQ(Counters().drawIndexedPrimitive, indexed);
  BlitGraphQuad(10.0f, 10.0f, 40.0f, 10.0f, 0.0f, 40.0f, 50.0f, 40.0f, g, 1);
  EXPECT_EQ(Counters().drawIndexedPrimitive, indexed + 1);

  // A blend graph at parameter 255 draws nothing: its batch is discarded.
  SelectBlendGraph(g, 255, 0);
  FlushCurrentVertexBatch();
  const int64_t drawn = Counters().drawPrimitive;
  BlitGraph(50, 50, g, 1);
  FlushCurrentVertexBatch();
  EXPECT_EQ(Counters().drawPrimitive, drawn);
  // With a blend graph a quadrilateral is two affine triangles, no grid.
  SelectBlendGraph(g, 100, 0);
  BlitGraphQuad(10.0f, 10.0f, 40.0f, 10.0f, 0.0f, 40.0f, 50.0f, 40.0f, g, 1);
  EXPECT_EQ(Counters().drawIndexedPrimitive, indexed + 1);
  EXPECT_EQ(DeviceSlot(GetD3D().currentDevice)->format, 2);
  SelectBlendGraph(-1, 0, 0);

  // A filter mode sent once; the same mode again sends nothing.
  const uint32_t dev = GetD3D().currentDevice;
  ASSERT_EQ(SetD3DFilterMode(dev, 1), 0);
  const int64_t sent = Counters().setTextureStageState;
  EXPECT_GT(sent, after.setTextureStageState);
  EXPECT_EQ(SetD3DFilterMode(dev, 1), 0);
  EXPECT_EQ(Counters().setTextureStageState, sent);
  EXPECT_EQ(SetD3DFilterMode(dev, 2), -1);

  // Mode 1 on a texture with an alpha channel blends by alpha; mode 11
  // multiplies through two stages and a white texture factor.
  D3DDeviceState* s = DeviceSlot(dev);
  SetCurrentTextureState(dev, PieceTexture(LookupSurface3DData(LookupGraph(g)->pieceHandles[0])));
  SetBlendModeState(dev, 1, 1, 0);
  ApplyBlendStates(dev);
  EXPECT_EQ(s->srcBlend, 5u);
  EXPECT_EQ(s->destBlend, 6u);
  EXPECT_EQ(s->alphaBlendEnable, 1u);
  SetBlendModeState(dev, 11, 0, 0);
  ApplyBlendStates(dev);
  EXPECT_EQ(s->stagesInUse, 2);
  EXPECT_EQ(s->textureFactor, 0xFFFFFFFFu);
  // Mode 7 leaves the destination alone: ZERO x source + ONE x destination.
  SetBlendModeState(dev, 7, 0, 0);
  ApplyBlendStates(dev);
  EXPECT_EQ(s->srcBlend, 1u);
  EXPECT_EQ(s->destBlend, 2u);
}

TEST(D3DBatch, DeviceIndexesAndTargetsOutsideTheRulesAreRefused) {
  gfxtest::Road road(false, 16, false, "d3d");
  const uint32_t dev = GetD3D().currentDevice;
  EXPECT_EQ(DeviceSlot(4), nullptr);
  EXPECT_EQ(DeviceSlot(0x10004), nullptr);
  EXPECT_EQ(DeviceSlot(0x10000 | dev), DeviceSlot(dev));  // only the low 16 bits select
  EXPECT_EQ(BeginSceneIfNeeded(5), -1);
  const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(SetDeviceTransform(dev, 4, m), 0);
  EXPECT_EQ(SetDeviceTransform(dev, -1, m), 0);
  const Rect flat{10, 10, 10, 50};
  EXPECT_EQ(SetD3DViewportRect(&flat), -1);

  // A drawable graph of several textures is no one render target: the
  // device keeps the back screen and its state, and the selection stands
  // (the device's switch did not fail).
  SelectDrawTarget(kBackScreen);
  SetNewGraphDrawable(1);
  GetD3D().maxTexture = 512;
  const int32_t wide = CreateBlankGraph(640, 32, 0);
  SetNewGraphDrawable(0);
  ASSERT_GT(LookupGraph(wide)->pieceCount, 1);
  BlitGraph(0, 0, MakeGraph3D(16, 16), 1);
  const int32_t batched = DeviceSlot(dev)->vertexCount;
  EXPECT_EQ(SelectDrawTargetD3D(wide), 0);
  EXPECT_EQ(DeviceSlot(dev)->vertexCount, batched);
  EXPECT_EQ(SelectDrawTarget(wide), 0);
  EXPECT_EQ(QueryDrawTarget(), wide);
  EXPECT_EQ(DeviceSlot(dev)->currentTarget, GetScreenState().back);
  // A texture graph that is not drawable is refused by the device's switch
  // only: the selection stands and the device draws on its own target. A
  // handle that names no graph is refused by both.
  const int32_t plain = MakeGraph3D(16, 16);
  EXPECT_EQ(SelectDrawTargetD3D(plain), -1);
  EXPECT_EQ(SelectDrawTarget(plain), 0);
  EXPECT_EQ(QueryDrawTarget(), plain);
  EXPECT_EQ(DeviceSlot(dev)->currentTarget, DeviceSlot(dev)->ownTarget);
  EXPECT_EQ(SelectDrawTarget(plain + 1), -1);
  EXPECT_EQ(QueryDrawTarget(), plain);
}

TEST(D3DTextures, SizesSplitsAndPieces) {
  gfxtest::Road road(false, 16, false, "d3d");
  D3DGlobals& d = GetD3D();
  d.maxTexture = 1024;
  int32_t sizes[8] = {};
  EXPECT_EQ(ChooseTextureSize(640, sizes, 8, 0), 2);
  EXPECT_EQ(std::vector<int32_t>(sizes, sizes + 2), (std::vector<int32_t>{512, 128}));
  EXPECT_EQ(ChooseTextureSize(100, sizes, 8, 0), 1);
  EXPECT_EQ(sizes[0], 128);
  EXPECT_EQ(ChooseTextureSize(20, sizes, 8, 0), 1);
  EXPECT_EQ(sizes[0], 32);
  // A small array is never written past; the count is still the whole one.
  d.maxTexture = 32;
  int32_t two[3] = {0, 0, -7};
  EXPECT_EQ(ChooseTextureSize(288, two, 2, 0), 9);
  EXPECT_EQ(two[2], -7);

  // 9 x 8 textures are refused with the limit in the log line.
  EXPECT_EQ(CreateSizedGraph(288, 256, 1, 0, 0), -1);
  d.maxTexture = 256;
  // Square-only: a 256 x 128 texture becomes two squares that share nothing.
  d.desc.textureCaps |= plat::d3d::kTextureCapsSquareOnly;
  const int32_t g = MakeGraph3D(256, 128);
  ASSERT_GE(g, 0);
  GraphRecord* r = LookupGraph(g);
  ASSERT_EQ(r->pieceCount, 2);
  const Surface3DData* right = LookupSurface3DData(r->pieceHandles[1]);
  EXPECT_EQ(right->x, 128);
  EXPECT_EQ(LookupSurfaceData(right->texture)->width, 128);
  d.desc.textureCaps = 0;

  // A carved graph shares its parent's texture until its last piece goes.
  const int32_t whole = MakeGraph3D(64, 64);
  const int32_t part = CarveSubGraph(8, 4, 16, 16, whole);
  const Surface3DData* p = LookupSurface3DData(LookupGraph(part)->pieceHandles[0]);
  const Surface3DData* q = LookupSurface3DData(LookupGraph(whole)->pieceHandles[0]);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->texture, q->texture);
  EXPECT_EQ(p->textureX, 8);
  const int32_t texture = p->texture;
  DestroyGraph(whole, 0);
  EXPECT_NE(LookupSurfaceData(texture), nullptr);
  DestroyGraph(part, 0);
  EXPECT_EQ(LookupSurfaceData(texture), nullptr);
}

}  // namespace
