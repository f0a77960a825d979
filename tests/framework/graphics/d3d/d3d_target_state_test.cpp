// The draw state on the Direct3D road: a texture target cleared as the
// device fills (one with alpha to transparent black), a memory-image target
// as a black box paints it, matrices and the draw area reaching the device
// (after the batch), and boxes on the road the switches choose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"

namespace {

using namespace qor;
using plat::d3d::Matrix16;

plat::d3d::Device& Dev() { return *GetCurrentD3DDevice(); }

int32_t DrawableGraph(int w, int h, int alpha) {
  SetNewGraphDrawable(1);
  const int32_t g = CreateSizedGraph(w, h, 1, alpha, 0);
  SetNewGraphDrawable(0);
  return g;
}

TEST(D3DTargetState, ATextureTargetIsClearedAsTheDeviceFillsItWhateverTheScreen) {
  for (const int bits_alpha : {160, 161, 320, 321}) {
    SCOPED_TRACE(bits_alpha);
    gfxtest::Road road(false, bits_alpha / 10, false, "d3d");
    ASSERT_EQ(SelectDrawTarget(DrawableGraph(40, 24, bits_alpha % 10)), 0);
    PaintBox(0, 0, 40, 24, PackColorRGB(200, 100, 50), 1);
    EndSceneCurrentDevice();
    const std::vector<uint32_t> drawn = gfxtest::TargetPixels(0, 0, 40, 24);
    EXPECT_EQ(ClearScreenDirectDraw(), 0);  // the 2D road leaves a texture alone
    EXPECT_EQ(gfxtest::TargetPixels(0, 0, 40, 24), drawn);
    ASSERT_EQ(EraseDrawTarget(), 0);
    // The device's own fill of black, alpha 0, on memory of the same layout.
    const plat::d3d::PixelLayout layout = SurfaceViewOf(GetScreenState().targetSurface).layout;
    std::vector<uint32_t> own(40 * 24, 0xA5A5A5A5u);
    plat::d3d::Device device;
    ASSERT_EQ(device.SetRenderTarget({reinterpret_cast<uint8_t*>(own.data()), 160, 40, 24, layout}), 0);
    ASSERT_EQ(device.Clear(0, nullptr, plat::d3d::kClearTarget, 0x00000000u, 1.0f, 0), 0);
    if (layout.bitCount == 16) own.assign(own.size(), own[0] & 0xFFFF);  // one fill: its first pixel
    EXPECT_EQ(gfxtest::TargetPixels(0, 0, 40, 24), own);
  }
}

// A texture target with an alpha channel (no creation entry makes one: a
// drawable graph gets no alpha, so the record is marked by hand) is erased
// to black with alpha 0, read by the texture's own channel masks; drawn
// with its alpha it then leaves what lies under it exactly as it was.
TEST(D3DTargetState, AnErasedAlphaTargetIsTransparentBlack) {
  for (const int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    gfxtest::Road road(false, bits, false, "d3d");
    const GraphCreateSettings settings = CurrentGraphCreateSettings();
    GraphRecord* record = nullptr;
    const int32_t g = AddGraphRecord(40, 24, 1, &record, 1, 0, &settings);
    record->drawable = 1;
    ASSERT_EQ(CreateGraphPieces3D(record), 0);
    ASSERT_EQ(SelectDrawTarget(g), 0);
    PaintBox(0, 0, 40, 24, PackColorRGB(200, 100, 50), 1);
    ASSERT_EQ(EraseDrawTarget(), 0);
    plat::DDPixelFormat f;
    GetScreenState().targetSurface->GetPixelFormat(&f);
    ASSERT_NE(f.alphaMask, 0u);
    const uint32_t channels = f.alphaMask | f.redMask | f.greenMask | f.blueMask;
    for (const uint32_t p : gfxtest::TargetPixels(0, 0, 40, 24)) ASSERT_EQ(p & channels, 0u) << std::hex << p;

    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
    PaintBox(0, 0, 100, 60, PackColorRGB(255, 0, 0), 1);
    EndSceneCurrentDevice();
    const std::vector<uint32_t> under = gfxtest::TargetPixels(0, 0, 100, 60);
    ASSERT_EQ(BlitGraph(30, 20, g, 1), 0);
    EndSceneCurrentDevice();
    EXPECT_EQ(gfxtest::TargetPixels(0, 0, 100, 60), under);
  }
}

// A graph in system memory suspends the device: both clear on the 2D road,
// black painted under the blend mode inside the draw area.
TEST(D3DTargetState, AMemoryImageTargetIsClearedAsABlackBoxPaintsIt) {
  gfxtest::Road road(false, 16, false, "d3d");
  // {mode, parameter, draw area}; under mode 2 (add) black changes nothing.
  const int32_t rows[][6] = {{1, 128, 0, 0, 32, 16}, {2, 255, 0, 0, 32, 16}, {0, 0, 31, 15, 33, 17}};
  for (const auto& row : rows) {
    std::vector<uint32_t> pixels[2];
    for (int box = 0; box < 2; ++box) {
      ASSERT_EQ(SelectDrawTarget(gfxtest::MakeGraph(32, 16, true, false, 5)), 0);
      SetClipArea(row[2], row[3], row[4], row[5]);
      SelectBlend(row[0], row[1]);
      EXPECT_EQ(box ? PaintBox(0, 0, 32, 16, PackColorRGB(0, 0, 0), 1) : EraseDrawTarget(), 0);
      SelectBlend(0, 0);
      pixels[box] = gfxtest::TargetPixels(0, 0, 32, 16);
    }
    EXPECT_EQ(pixels[0], pixels[1]) << row[0];
  }
}

TEST(D3DTargetState, MatricesReachTheDeviceAfterTheBatchIsDrawn) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  auto kept = [](uint32_t type) {
    Matrix16 m{};
    Dev().GetTransform(type, &m);
    return std::vector<float>(m.m, m.m + 16);
  };
  auto of = [](const Matrix4& m) { return std::vector<float>(&m.m[0][0], &m.m[0][0] + 16); };
  EXPECT_EQ(kept(plat::d3d::kTransformView), of(GetDrawState().view));  // the target's camera
  // {setter (0 world, 1 view, 2 projection), world index, device type or 0 for none}
  const int rows[][3] = {{0, 0, 1}, {0, 3, 6}, {0, 4, 0}, {0, -1, 0}, {1, 0, 2}, {2, 0, 3}};
  const int32_t g = d3dtest::PictureGraph(16, 16, 2);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0] * 10 + row[1]);
    Matrix4 m;
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(row[0] * 64 + row[1] * 16 + i) * 0.25f;
    BlitGraph(100, 100, g, 0);
    const plat::d3d::DeviceCounters before = Dev().Counters();
    EXPECT_EQ(row[0] == 0   ? SetWorldTransform(&m, row[1])
              : row[0] == 1 ? SetViewTransform(&m)
                            : SetProjectionTransform(&m),
              0);
    const DrawState& ds = GetDrawState();
    EXPECT_EQ(of(row[0] == 0 ? ds.world : row[0] == 1 ? ds.view : ds.projection), of(m));
    EXPECT_EQ(Dev().Counters().drawPrimitive, before.drawPrimitive + 1);  // the quad first
    EXPECT_EQ(Dev().Counters().setTransform, before.setTransform + (row[2] != 0));
    if (row[2] != 0) {
      EXPECT_EQ(kept(static_cast<uint32_t>(row[2])), of(m));
    }
  }
}

TEST(D3DTargetState, TheDrawAreaIsTheViewportAFailureIsLoggedAndBoxesFollowTheSwitches) {
  gfxtest::Road road(false, 16, false, "d3d");
  const int32_t graph = DrawableGraph(64, 32, 0);
  // Target, area, viewport wanted (x, y, w, h; w 0: none sent), or the target
  // named by the failure line; a failing row's area differs from the last.
  struct Row {
    int32_t target, area[4], want[4];
    const char* failing;
  } const rows[] = {{kBackScreen, {10, 20, 110, 70}, {10, 20, 100, 50}, nullptr},
                    {kBackScreen, {-1, 481, 641, 0}, {0, 0, 640, 480}, nullptr},
                    {kBackScreen, {5, 5, 5, 100}, {}, nullptr},
                    {kBackScreen, {1, 2, 3, 4}, {}, "Back Buffer"},
                    {kFrontScreen, {2, 3, 5, 6}, {}, "Front Buffer"},
                    {graph, {8, 4, 65, 33}, {8, 4, 56, 28}, nullptr},
                    {graph, {3, 4, 7, 8}, {}, "Image Buffer"}};
  const std::string line = "ビューポートの設定に失敗しました";
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    ASSERT_EQ(SelectDrawTarget(row.target), 0);
    const int lines = road.CountLogged(line.c_str());
    const int64_t sent = Dev().Counters().setViewport;
    Dev().FailNextViewports(row.failing != nullptr ? 1 : 0);
    EXPECT_EQ(SetClipArea(row.area[0], row.area[1], row.area[2], row.area[3]), 0);
    plat::d3d::Viewport v{};
    Dev().GetViewport(&v);
    if (row.failing != nullptr) {
      EXPECT_TRUE(road.Logged((line + " " + row.failing).c_str()));
      EXPECT_EQ(GetDrawState().drawArea.right, row.area[2]);  // the area is kept
    } else if (row.want[2] == 0) {
      EXPECT_EQ(Dev().Counters().setViewport, sent);
    } else {
      EXPECT_EQ(std::vector<int32_t>({v.x, v.y, v.width, v.height}), std::vector<int32_t>(row.want, row.want + 4));
    }
    EXPECT_EQ(road.CountLogged(line.c_str()), lines + (row.failing != nullptr));
  }

  // Boxes take the road of the switches, and both fill alike.
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  std::vector<uint32_t> filled[2];
  const int32_t picture = d3dtest::PictureGraph(30, 20, 4);
  for (const int use3D : {1, 0}) {
    SetUse3DGraphs(use3D);
    EXPECT_EQ(GetUse3DGraphs(), use3D);
    BlitGraph(10 + use3D * 40, 10, picture, 0);  // in the batch, under the box
    const int64_t draws = Dev().Counters().drawPrimitive;
    PaintBox(10 + use3D * 40, 10, 40 + use3D * 40, 30, PackColorRGB(90, 180, 30), 1);
    EndSceneCurrentDevice();
    EXPECT_EQ(Dev().Counters().drawPrimitive, draws + 1 + use3D);  // the picture, then the box
    filled[use3D] = gfxtest::TargetPixels(10 + use3D * 40, 10, 30, 20);
  }
  EXPECT_EQ(filled[0], filled[1]);
  SetUse3DGraphs(1);
  ASSERT_EQ(ReleaseDirect3DObject(), 0);  // a task switch takes the device
  EXPECT_EQ(GetUse3DGraphs(), 0);
  ASSERT_EQ(AcquireDirect3DObject(), 0);
  EXPECT_EQ(GetUse3DGraphs(), 1);
}

}  // namespace
