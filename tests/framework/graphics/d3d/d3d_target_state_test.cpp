// The draw state on the Direct3D road: a texture target cleared as the
// device fills, the matrices and the draw area reaching the device (after
// the batch), and boxes taking the road the switches choose.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"

namespace {

using namespace qor;

plat::d3d::Device& Dev() { return *GetCurrentD3DDevice(); }

int32_t DrawableGraph(int w, int h, int alpha) {
  SetNewGraphDrawable(1);
  const int32_t g = CreateSizedGraph(w, h, 1, alpha, 0);
  SetNewGraphDrawable(0);
  return g;
}

TEST(D3DTargetState, ATextureTargetIsClearedAsTheDeviceFillsItWhateverTheScreen) {
  for (const int bits : {16, 32}) {
    for (const int alpha : {0, 1}) {
      SCOPED_TRACE(bits * 10 + alpha);
      gfxtest::Road road(false, bits, false, "d3d");
      const int32_t g = DrawableGraph(40, 24, alpha);
      ASSERT_EQ(SelectDrawTarget(g), 0);
      PaintBox(0, 0, 40, 24, PackColorRGB(200, 100, 50), 1);
      BlitGraph(3, 2, d3dtest::PictureGraph(20, 12, 1), 0);
      EndSceneCurrentDevice();
      const std::vector<uint32_t> drawn = gfxtest::TargetPixels(0, 0, 40, 24);
      EXPECT_EQ(ClearScreenDirectDraw(), 0);  // the 2D road leaves a texture alone
      EXPECT_EQ(gfxtest::TargetPixels(0, 0, 40, 24), drawn);
      ASSERT_EQ(EraseDrawTarget(), 0);

      // The device's own fill of black, alpha 0, on a surface of the same layout.
      const plat::d3d::SurfaceView texture = SurfaceViewOf(GetScreenState().targetSurface);
      std::vector<uint8_t> store(static_cast<size_t>(40 * 24 * 4), 0xA5);
      const plat::d3d::SurfaceView own{store.data(), 40 * 4, 40, 24, texture.layout};
      plat::d3d::Device device;
      ASSERT_EQ(device.SetRenderTarget(own), plat::d3d::kOk);
      ASSERT_EQ(device.Clear(0, nullptr, plat::d3d::kClearTarget, 0x00000000u, 1.0f, 0), plat::d3d::kOk);
      const std::vector<uint32_t> cleared = gfxtest::TargetPixels(0, 0, 40, 24);
      for (int i = 0; i < 40 * 24; ++i) {
        uint32_t want = 0;
        const int bytes = texture.layout.bitCount / 8;
        std::memcpy(&want, &store[static_cast<size_t>(i / 40 * 160 + i % 40 * bytes)], static_cast<size_t>(bytes));
        ASSERT_EQ(cleared[static_cast<size_t>(i)], want) << i;
      }
      EXPECT_NE(cleared, drawn);
    }
  }
}

TEST(D3DTargetState, MatricesReachTheDeviceAfterTheBatchIsDrawn) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  DrawState& ds = GetDrawState();
  auto kept = [](uint32_t type) {
    plat::d3d::Matrix16 m{};
    Dev().GetTransform(type, &m);
    return std::vector<float>(m.m, m.m + 16);
  };
  auto of = [](const Matrix4& m) { return std::vector<float>(&m.m[0][0], &m.m[0][0] + 16); };
  // The target's camera went to the device when the target was chosen.
  EXPECT_EQ(kept(plat::d3d::kTransformView), of(ds.view));
  EXPECT_EQ(kept(plat::d3d::kTransformProjection), of(ds.projection));

  struct Row {
    int setter;  // 0 world, 1 view, 2 projection
    int32_t index;
    uint32_t type;  // 0: nothing sent
  };
  const Row rows[] = {{0, 0, plat::d3d::kTransformWorld}, {0, 3, plat::d3d::kTransformWorld3},
                      {0, 4, 0},  {0, -1, 0},
                      {1, 0, plat::d3d::kTransformView}, {2, 0, plat::d3d::kTransformProjection}};
  const int32_t g = d3dtest::PictureGraph(16, 16, 2);
  float seed = 1.0f;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.setter * 10 + row.index);
    Matrix4 m;
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = seed + static_cast<float>(i) * 0.25f;
    seed += 1.0f;
    BlitGraph(100, 100, g, 0);
    ASSERT_EQ(DeviceSlot(GetD3D().currentDevice)->vertexCount, 6);
    const plat::d3d::DeviceCounters before = Dev().Counters();
    Matrix4* field = row.setter == 0 ? &ds.world : row.setter == 1 ? &ds.view : &ds.projection;
    EXPECT_EQ(row.setter == 0 ? SetWorldTransform(&m, row.index)
                              : row.setter == 1 ? SetViewTransform(&m) : SetProjectionTransform(&m), 0);
    EXPECT_EQ(of(*field), of(m));
    EXPECT_EQ(Dev().Counters().drawPrimitive, before.drawPrimitive + 1);
    EXPECT_EQ(DeviceSlot(GetD3D().currentDevice)->vertexCount, 0);
    EXPECT_EQ(Dev().Counters().setTransform, before.setTransform + (row.type != 0 ? 1 : 0));
    if (row.type != 0) {
      EXPECT_EQ(kept(row.type), of(m));
    }
  }
}

TEST(D3DTargetState, TheDrawAreaIsTheViewportAndAFailingOneIsLogged) {
  gfxtest::Road road(false, 16, false, "d3d");
  const int32_t graph = DrawableGraph(64, 32, 0);
  struct Row {
    int32_t target;
    Rect area;
    int fail;
    plat::d3d::Viewport want;  // width 0: no viewport sent
    const char* line;
  };
  const Row rows[] = {
      {kBackScreen, {10, 20, 110, 70}, 0, {10, 20, 100, 50, 0, 1}, nullptr},
      {kBackScreen, {640, 480, 0, 0}, 0, {0, 0, 640, 480, 0, 1}, nullptr},
      {kBackScreen, {-1, 0, 641, 481}, 0, {0, 0, 640, 480, 0, 1}, nullptr},
      {kBackScreen, {5, 5, 5, 100}, 0, {0, 0, 0, 0, 0, 0}, nullptr},
      {kBackScreen, {1, 2, 3, 4}, 1, {0, 0, 0, 0, 0, 0}, "ビューポートの設定に失敗しました Back Buffer"},
      {kFrontScreen, {2, 3, 5, 6}, 1, {0, 0, 0, 0, 0, 0}, "ビューポートの設定に失敗しました Front Buffer"},
      {graph, {8, 4, 40, 24}, 0, {8, 4, 32, 20, 0, 1}, nullptr},
      {graph, {8, 4, 65, 33}, 0, {8, 4, 56, 28, 0, 1}, nullptr},
      {graph, {3, 4, 7, 8}, 1, {0, 0, 0, 0, 0, 0}, "ビューポートの設定に失敗しました Image Buffer"},
  };
  // A failing row differs from the area before it: an unchanged viewport is
  // not sent again.
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    ASSERT_EQ(SelectDrawTarget(row.target), 0);
    const int lines = road.CountLogged("ビューポートの設定に失敗しました");
    const int64_t sent = Dev().Counters().setViewport;
    Dev().FailNextViewports(row.fail);
    EXPECT_EQ(SetClipArea(row.area.left, row.area.top, row.area.right, row.area.bottom), 0);
    plat::d3d::Viewport got{};
    Dev().GetViewport(&got);
    if (row.want.width != 0) {
      EXPECT_EQ(std::vector<int32_t>({got.x, got.y, got.width, got.height}),
                std::vector<int32_t>({row.want.x, row.want.y, row.want.width, row.want.height}));
    } else if (row.fail == 0) {
      EXPECT_EQ(Dev().Counters().setViewport, sent);
    }
    EXPECT_EQ(road.CountLogged("ビューポートの設定に失敗しました"), lines + (row.line != nullptr ? 1 : 0));
    if (row.line != nullptr) {
      EXPECT_TRUE(road.Logged(row.line));
      EXPECT_EQ(GetDrawState().drawArea.right, row.area.right);  // the area is kept
    }
  }
}

TEST(D3DTargetState, BoxesTakeTheRoadOfTheSwitchesAndBothFillAlike) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  std::vector<uint32_t> filled[2];
  for (const int use3D : {1, 0}) {
    SetUse3DGraphs(use3D);
    EXPECT_EQ(GetUse3DGraphs(), use3D);
    const int64_t draws = Dev().Counters().drawPrimitive;
    PaintBox(10 + use3D * 40, 10, 40 + use3D * 40, 30, PackColorRGB(90, 180, 30), 1);
    EndSceneCurrentDevice();
    EXPECT_EQ(Dev().Counters().drawPrimitive, draws + use3D);
    filled[use3D] = gfxtest::TargetPixels(10 + use3D * 40, 10, 30, 20);
  }
  EXPECT_EQ(filled[0], filled[1]);
  // Without a device (a task switch took it) new graphs are not textures.
  SetUse3DGraphs(1);
  ASSERT_EQ(ReleaseDirect3DObject(), 0);
  EXPECT_EQ(GetUse3DGraphs(), 0);
  ASSERT_EQ(AcquireDirect3DObject(), 0);
  EXPECT_EQ(GetUse3DGraphs(), 1);
}

}  // namespace
