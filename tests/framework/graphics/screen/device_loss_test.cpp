// A display lost whole, object and all, and the restore's whole road: the
// log lines in their order, the input devices released and started again,
// a new object and clipper (or the kept object on GDI presentation), and
// every graph and font drawn again as before, on the DirectDraw and the
// software roads. The restore's fatal failures end the program with their
// texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "framework/core/input/input_devices.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_test_support.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/device_restore.h"
#include "framework/graphics/screen/directdraw_object.h"
#include "platform/dinput/dinput.h"
#include "platform/host/headless/headless_control.h"
#include "screen_test_support.h"

namespace {

using namespace qor;
namespace hl = plat::headless;

struct Scene {
  int32_t handles[40];
  int32_t font;
};

Scene LoadScene() {
  Scene sc{};
  screentest::WriteBmp("loss_sheet.bmp", 80, 32);
  EXPECT_EQ(OpenDividedGraphFile("loss_sheet.bmp", 40, 10, 4, 8, 8, sc.handles, 1, 0), 0);
  sc.font = CreateFontHandle(nullptr, 18, 6, 2, -1, -1, 0, -1, -1);
  EXPECT_NE(sc.font, -1);
  return sc;
}

std::vector<uint32_t> DrawScene(const Scene& sc) {
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  for (int i = 0; i < 40; ++i) BlitGraph((i % 10) * 12, (i / 10) * 12, sc.handles[i], 0);
  BlitGraphRotated(300.0f, 200.0f, 2.0, 0.5, sc.handles[7], 1, 0);
  SelectBlend(1, 128);
  BlitGraphStretched(400, 300, 480, 332, sc.handles[3], 1);
  SelectBlend(0, 0);
  PaintBoxFilled(200, 300, 260, 330, PackColorRGB(200, 100, 50));
  DrawStringWithFont(10, 400, "Restored 文字", PackColorRGB(255, 255, 0), sc.font, 0, 0);
  return d3dtest::Frame();
}

const std::vector<const char*> kRestoreOrder = {
    "メインサーフェスを破棄をします",
    "DirectInput 関連の終了処理... 完了",
    "ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します",
    "ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました",
    "DirectDraw オブジェクトの取得を行います",
    "初期化に成功しました",
    "画面モードの変更は正常に終了しました",
    "出力画面用の DirectDrawSurface を作成します",
    "グラフィックを復帰します",
    "DirectInput関係初期化処理",
};

// Full screen on the DirectDraw road: the focus goes, the whole display is
// lost while away, the focus comes back; one pass of the message
// processing sees it all.
TEST(DeviceLossE2E, TheObjectItselfIsLostAndMadeAgain) {
  gfxtest::Road road(false, 16, false);
  const Scene sc = LoadScene();
  const std::vector<uint32_t> before = DrawScene(sc);
  const ScreenState& s = GetScreenState();
  const plat::DirectDraw* oldObject = s.directDraw;
  const plat::DdCounters c0 = plat::GetDdCounters();
  const plat::DiCounters i0 = plat::GetDiCounters();
  const size_t logBefore = road.Log().size();

  hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
  hl::ScriptEventAtTime(hl::PeekClock() + 200'000, lifetest::Simple(plat::HostEventKind::FocusGained));
  static bool lost;
  lost = false;
  GetModuleHooks().refillStreamSounds = [] {
    if (IsWindowActive() || lost) return;
    lost = true;
    plat::DdLoseDevice();
  };
  ASSERT_EQ(ProcessFrameMessages(), 0);
  ASSERT_TRUE(lost);
  GetModuleHooks().refillStreamSounds = [] {};

  const std::string log = road.Log().substr(logBefore);
  EXPECT_EQ(screentest::MissingInOrder(log, kRestoreOrder), "");
  // A new object with its own clipper, the old ones gone.
  const plat::DdCounters c1 = plat::GetDdCounters();
  EXPECT_EQ(c1.creates, c0.creates + 1);
  EXPECT_EQ(c1.liveObjects, 1);
  EXPECT_NE(s.directDraw, oldObject);
  EXPECT_FALSE(s.directDraw->lost());
  EXPECT_EQ(c1.clipperCreates, c0.clipperCreates + 1);
  EXPECT_EQ(c1.liveClippers, 1);
  ASSERT_NE(s.clipper, nullptr);
  EXPECT_EQ(s.clipper->owner(), s.directDraw);
  // The input devices were released and made again, and read keys.
  const plat::DiCounters i1 = plat::GetDiCounters();
  EXPECT_GT(i1.devicesReleased, i0.devicesReleased);
  EXPECT_EQ(i1.devicesCreated - i0.devicesCreated, i1.devicesReleased - i0.devicesReleased);
  hl::PushEvent(hl::KeyEvent(true, plat::hid::Escape));
  EXPECT_EQ(ProcessFrameMessages(), 0);
  EXPECT_EQ(QueryKeyPressedPublic(1), 1);
  hl::PushEvent(hl::KeyEvent(false, plat::hid::Escape));
  ProcessFrameMessages();

  for (int32_t h : sc.handles) EXPECT_EQ(LookupGraph(h)->restoreNeeded, 0u);
  EXPECT_EQ(IsValidFontHandle(sc.font), 1);
  EXPECT_TRUE(DrawScene(sc) == before);
  std::remove("loss_sheet.bmp");
}

// With GDI presentation the object is kept: its cooperative level is set
// again, and its pieces' surfaces and the clipper are made again.
TEST(DeviceLossE2E, GdiPresentationKeepsTheObject) {
  gfxtest::Road road(false, 16, false);
  const Scene sc = LoadScene();
  ASSERT_EQ(SetGdiPresentMode(1), 0);
  const std::vector<uint32_t> before = DrawScene(sc);
  const ScreenState& s = GetScreenState();
  const plat::DirectDraw* object = s.directDraw;
  const plat::DdCounters c0 = plat::GetDdCounters();
  const size_t logBefore = road.Log().size();
  plat::DdLoseDevice();
  ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
  EXPECT_EQ(s.directDraw, object);
  EXPECT_FALSE(s.directDraw->lost());
  EXPECT_EQ(plat::GetDdCounters().creates, c0.creates);
  EXPECT_EQ(plat::GetDdCounters().clipperCreates, c0.clipperCreates + 1);
  EXPECT_EQ(road.Log().find("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します", logBefore), std::string::npos);
  EXPECT_TRUE(DrawScene(sc) == before);
  std::remove("loss_sheet.bmp");
}

// The software road has no object to lose: the restore rebuilds its memory
// images and reloads every graph, and the frame is the same.
TEST(DeviceLossE2E, SoftwareRoadRebuildsItsImages) {
  gfxtest::Road road(true, 16, true);
  const Scene sc = LoadScene();
  const std::vector<uint32_t> before = DrawScene(sc);
  const plat::DiCounters i0 = plat::GetDiCounters();
  ASSERT_EQ(GetModuleHooks().restoreAfterDeviceLoss(), 0);
  EXPECT_GT(plat::GetDiCounters().devicesCreated, i0.devicesCreated);
  EXPECT_EQ(GetScreenState().directDraw, nullptr);
  EXPECT_TRUE(road.Logged("グラフィックを復帰します"));
  for (int32_t h : sc.handles) EXPECT_EQ(LookupGraph(h)->restoreNeeded, 0u);
  EXPECT_TRUE(DrawScene(sc) == before);
  std::remove("loss_sheet.bmp");
}

// A deactivation in full screen with DirectDraw refused releases the
// object through the window procedure's hook, with its log lines; a second
// release finds none.
TEST(DeviceLoss, ReleasingTheObjectTwice) {
  gfxtest::Road road(false, 16, false);
  ASSERT_EQ(ReleaseDirectDrawObject(), 0);
  EXPECT_EQ(GetScreenState().directDraw, nullptr);
  EXPECT_EQ(GetScreenState().clipper, nullptr);
  EXPECT_EQ(plat::GetDdCounters().liveClippers, 0);
  EXPECT_TRUE(road.Logged("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました"));
  EXPECT_EQ(ReleaseDirectDrawObject(), 0);
  EXPECT_TRUE(road.Logged("既に解放されています"));
  ASSERT_EQ(EnsureDirectDrawObject(), 0);
  EXPECT_NE(GetScreenState().directDraw, nullptr);
  EXPECT_EQ(plat::GetDdCounters().liveClippers, 1);
  ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
  SelectDrawTarget(kBackScreen);
  PaintBoxFilled(0, 0, 4, 4, PackColorRGB(255, 0, 0));
  EXPECT_EQ(d3dtest::Frame()[0] & 0xF8F8F8, 0xF80000u);
}

// Each failure of the restore that no caller can answer ends the program
// with its text.
void FatalDuringRestore(plat::DdOp op, const char* text) {
  lifetest::LifeScope scope;
  EXPECT_EXIT(
      {
        screentest::StartRoad(false, 16, false);
        plat::DdLoseDevice();
        plat::DdFailNext(op);
        RestoreAfterDeviceLoss();
      },
      testing::ExitedWithCode(255), "");
  EXPECT_TRUE(scope.Logged(text)) << text;
}

TEST(DeviceLossDeathTest, FailuresOfTheRebuildAreFatal) {
  FatalDuringRestore(plat::DdOp::Create, "DirectDraw オブジェクトの作成処理時にエラーが発生しました");
  FatalDuringRestore(plat::DdOp::CreateClipper, "クリッパーオブジェクトの作成失敗しました");
  FatalDuringRestore(plat::DdOp::CreatePrimary, "プライマリサーフェスの作成に失敗しました");
}

}  // namespace
