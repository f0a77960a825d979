// Start-up, frames and shut-down run as the game runs them, on the
// headless host with scripted focus, close requests and keys.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/life/fatal.h"
#include "framework/qorlib.h"
#include "life_test_support.h"
#include "platform/window/display_settings.h"

using namespace qor;
using lifetest::LifeScope;
using plat::HostEventKind;
namespace hl = plat::headless;

namespace {

// The game's frame: quit keys, present, messages. Returns the frames run and
// keeps the clock at each present.
int RunFrames(int limit, std::vector<uint64_t>* presentTimes = nullptr) {
  static const uint16_t kPicture[16] = {};
  for (int f = 0; f < limit; ++f) {
    if (QueryKeyPressed(0x38) && QueryKeyPressed(0xB8) && QueryKeyPressed(0x3E)) return f;
    plat::HostPresent(kPicture, 8, 4, 4, plat::HostPixelFormat::Rgb565);
    if (presentTimes) presentTimes->push_back(hl::PeekClock());
    if (ProcessFrameMessages() != 0) return f;
  }
  return limit;
}

TEST(Lifecycle, WindowedRunEndsOnCloseRequest) {
  LifeScope scope;
  ApplyWindowTitlePublic("ORBWORLD");
  SetDoubleLaunchPolicyPublic(1);
  ASSERT_EQ(InitFramework(), 0);
  const hl::WindowState w = hl::GetWindowState();
  EXPECT_TRUE(w.created && w.visible && !w.fullscreen);
  EXPECT_EQ(w.width, 640);
  EXPECT_EQ(w.height, 480);
  EXPECT_STREQ(w.title, "ORBWORLD");
  EXPECT_EQ(GetFrameworkStatus().initialised, 1);
  EXPECT_EQ(GetFrameworkStatus().initialising, 0);

  hl::ScriptEventAtFrame(hl::FrameCount() + 7, lifetest::Simple(HostEventKind::CloseRequest));
  EXPECT_EQ(RunFrames(100), 6);  // the pump after the 7th picture reports quit
  EXPECT_EQ(IsQuitRequested(), 1);
  EXPECT_FALSE(hl::GetWindowState().created);

  EXPECT_EQ(EndFramework(), 0);
  EXPECT_EQ(GetFrameworkStatus().initialised, 0);
  EXPECT_EQ(plat::GetComCounters().started, 0);
  EXPECT_EQ(plat::LiveDiDeviceCount(), 0);
  EXPECT_EQ(plat::TimerPeriodsHeld(), 0);
  EXPECT_TRUE(plat::IsScreenSaverActive());
  EXPECT_TRUE(scope.Logged("ウインドウを閉じようとしています"));
  EXPECT_TRUE(scope.Logged("ソフトを終了する準備が整いました"));
  EXPECT_TRUE(scope.Logged("ＣＯＭを終了... 完了"));
  EXPECT_EQ(GetApiLockState().ready, 0);
}

TEST(Lifecycle, LeftAltRightAltF4EndTheLoop) {
  LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  hl::ScriptEventAtFrame(hl::FrameCount() + 3, hl::KeyEvent(true, plat::hid::LeftAlt));
  hl::ScriptEventAtFrame(hl::FrameCount() + 4, hl::KeyEvent(true, plat::hid::RightAlt));
  hl::ScriptEventAtFrame(hl::FrameCount() + 4, hl::KeyEvent(true, plat::hid::F4));
  hl::ScriptEventAtFrame(hl::FrameCount() + 5, hl::KeyEvent(false, plat::hid::F4));
  EXPECT_EQ(RunFrames(50), 4);
  // The game ends the framework itself; the window closes then.
  EXPECT_EQ(EndFramework(), 0);
  EXPECT_FALSE(hl::GetWindowState().created);
  EXPECT_EQ(plat::GetWindowCounters().destroyCalls, 1);
}

TEST(Lifecycle, HoldsWhileInactive) {
  LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  const uint64_t back = hl::PeekClock() + 5'000'000;
  hl::ScriptEventAtFrame(hl::FrameCount() + 3, lifetest::Simple(HostEventKind::FocusLost));
  hl::ScriptEventAtTime(back, lifetest::Simple(HostEventKind::FocusGained));
  int servicedWhileInactive = 0;
  static int* counter = nullptr;
  counter = &servicedWhileInactive;
  GetModuleHooks().refillStreamSounds = [] {
    if (!IsWindowActive()) ++*counter;
  };
  std::vector<uint64_t> times;
  EXPECT_EQ(RunFrames(8, &times), 8);
  ASSERT_EQ(times.size(), 8u);
  EXPECT_LT(times[2], back);
  EXPECT_GE(times[3], back);  // no picture while the window was away
  EXPECT_GT(servicedWhileInactive, 100);  // streams kept being refilled
  EXPECT_EQ(IsWindowActive(), 1);
  EndFramework();
}

TEST(Lifecycle, FullScreenFromSwitchWindowMode) {
  LifeScope scope;
  EXPECT_EQ(SwitchWindowModePublic(0), 0);  // before start-up: stored only
  EXPECT_FALSE(hl::GetWindowState().created);
  ASSERT_EQ(InitFramework(), 0);
  hl::WindowState w = hl::GetWindowState();
  EXPECT_TRUE(w.created && w.visible && w.fullscreen);
  EXPECT_FALSE(w.cursorVisible);
  EXPECT_TRUE(plat::IsTopMost(GetFrameWindowHandle()));
  plat::DisplayMode mode;
  plat::GetCurrentDisplayMode(&mode);
  EXPECT_EQ(mode.width, 640);
  EXPECT_EQ(mode.bitsPerPixel, 16);

  // Back to a window at run time, and full screen again; each waits for its
  // display change.
  EXPECT_EQ(SwitchWindowMode(1), 0);
  EXPECT_EQ(GetMainWindowState().displayChangeSeen, 1);
  w = hl::GetWindowState();
  EXPECT_FALSE(w.fullscreen);
  EXPECT_TRUE(w.cursorVisible);
  EXPECT_TRUE(plat::GetWindowStyle(GetFrameWindowHandle()) & plat::WS_CAPTION);
  EXPECT_EQ(SwitchWindowMode(0), 0);
  EXPECT_TRUE(hl::GetWindowState().fullscreen);
  EXPECT_EQ(plat::GetDisplayCounters().changesSent, 3);
  EndFramework();
  EXPECT_FALSE(plat::IsDisplayModeSwitched());
}

TEST(Lifecycle, ModeSwitchWaitIsBounded) {
  LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  // A screen that switches without the display ever reporting a change.
  GetModuleHooks().switchScreenMode = [](int) { return 0; };
  // The wait counts whole milliseconds of the clock.
  const uint64_t before = hl::PeekClock() / 1000 * 1000;
  EXPECT_EQ(SwitchWindowMode(0), 0);
  EXPECT_EQ(GetMainWindowState().displayChangeSeen, 0);
  EXPECT_GE(hl::PeekClock() - before, 2'000'000u);
  EXPECT_EQ(GetMainWindowState().modeChanging, 0);
  EndFramework();
}

TEST(Lifecycle, StartingTwiceAndEndingFirstDoNothing) {
  LifeScope scope;
  EXPECT_EQ(EndFramework(), 0);
  EXPECT_EQ(plat::GetComCounters().uninitCalls, 0);
  ASSERT_EQ(InitFramework(), 0);
  EXPECT_EQ(InitFramework(), 0);
  EXPECT_EQ(plat::GetWindowCounters().createCalls, 1);
  EXPECT_EQ(plat::GetComCounters().initCalls, 1);
  EndFramework();
  EXPECT_EQ(EndFramework(), 0);
  EXPECT_EQ(plat::GetComCounters().uninitCalls, 1);
}

TEST(Lifecycle, TwentyFourBitDesktopRefusesAWindowOnly) {
  {
    LifeScope scope;
    hl::SetDesktopMode(1280, 1024, 24);
    EXPECT_EQ(InitFramework(), -1);
    EXPECT_TRUE(scope.Logged("Qorlibは２４ビットカラーモードに対応していません"));
    EXPECT_EQ(GetFrameworkStatus().initialising, 0);
    EXPECT_EQ(plat::GetComCounters().initCalls, 0);
  }
  {
    LifeScope scope;
    hl::SetDesktopMode(1280, 1024, 24);
    SwitchWindowMode(0);
    EXPECT_EQ(InitFramework(), 0);
    EndFramework();
  }
}

TEST(Lifecycle, FailedStartUpEndsWhatItStarted) {
  {  // COM: nothing else began, and shut-down does not wait for a window that never was
    LifeScope scope;
    plat::FailNextCoInitialize();
    EXPECT_EQ(InitFramework(), -1);
    EXPECT_TRUE(scope.Logged("ＣＯＭの初期化に失敗しました"));
    EXPECT_EQ(plat::GetWindowCounters().createCalls, 0);
    EXPECT_EQ(plat::TimerPeriodsHeld(), 0);
  }
  {  // the window: COM is ended again
    LifeScope scope;
    plat::FailNextCreateWindowEx();
    EXPECT_EQ(InitFramework(), -1);
    EXPECT_TRUE(scope.Logged("ウインドウの作成に失敗しました"));
    EXPECT_EQ(plat::GetComCounters().started, 0);
    EXPECT_EQ(plat::GetComCounters().uninitCalls, 1);
  }
  {  // graphics after input and the window: all of them are ended
    LifeScope scope;
    GetModuleHooks().initGraphics = [] { return -1; };
    EXPECT_EQ(InitFramework(), -1);
    EXPECT_EQ(GetFrameworkStatus().initialised, 0);
    EXPECT_EQ(GetFrameworkStatus().initialising, 0);
    EXPECT_FALSE(hl::GetWindowState().created);
    EXPECT_EQ(plat::LiveDiDeviceCount(), 0);
    EXPECT_EQ(plat::GetComCounters().started, 0);
    EXPECT_EQ(plat::TimerPeriodsHeld(), 0);
    EXPECT_TRUE(scope.Logged("DirectInput 関連の終了処理... 完了"));
    EXPECT_TRUE(scope.Logged("DirectSound の終了処理は正常に終了しました"));
  }
}

TEST(LifecycleDeathTest, FailingInputStartEndsEveryModuleAndExits) {
  LifeScope scope;
  plat::DiFailNext(plat::DiFailPoint::CreateDevice, plat::DiDeviceKind::Keyboard);
  EXPECT_EXIT(InitFramework(), testing::ExitedWithCode(255), "");
  // The child wrote the log in this directory.
  EXPECT_TRUE(scope.Logged("キーボードデバイスの取得に失敗しました"));
  EXPECT_TRUE(scope.Logged("DirectInput 関連の終了処理... 完了"));
  EXPECT_TRUE(scope.Logged("ソフトを終了する準備が整いました"));
  EXPECT_TRUE(scope.Logged("ＣＯＭを終了... 完了"));
}

TEST(LifecycleDeathTest, FatalErrorInsideShutDownDoesNotRecurse) {
  LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  GetModuleHooks().endScreenAndGraphics = [] { FatalError("screen gone"); };
  EXPECT_EXIT(EndFramework(), testing::ExitedWithCode(255), "");
  EXPECT_EQ(scope.CountLogged("screen gone"), 1);
  // Shut-down stopped where the failure came; it did not start again.
  EXPECT_FALSE(scope.Logged("DirectInput 関連の終了処理"));
  GetModuleHooks().endScreenAndGraphics = [] {};
  EndFramework();
}

TEST(Lifecycle, DoubleLaunchFollowsThePolicy) {
  {
    LifeScope scope;
    ApplyWindowTitle("ORBWORLD");
    plat::SetForeignWindowClass("ORBWORLD");
    EXPECT_EQ(InitFramework(), -1);
    EXPECT_TRUE(scope.Logged("二重起動されています、ソフトを終了します"));
    EXPECT_EQ(plat::GetWindowCounters().createCalls, 0);
  }
  {
    LifeScope scope;
    ApplyWindowTitle("ORBWORLD");
    SetDoubleLaunchPolicy(1);
    plat::SetForeignWindowClass("ORBWORLD");
    EXPECT_EQ(InitFramework(), 0);
    EXPECT_TRUE(scope.Logged("二重起動されていますが続行します"));
    EndFramework();
  }
}

TEST(Lifecycle, SwitchBeforeStartUpOnlyStoresTheMode) {
  LifeScope scope;
  OpenLogFile();
  EXPECT_EQ(SwitchWindowMode(0), 0);
  EXPECT_EQ(IsWindowedModePublic(), 0);
  EXPECT_EQ(SwitchWindowMode(0), 0);  // same mode: nothing more
  EXPECT_EQ(scope.Log(),
            "SwitchWindowMode実行 \r\nウインドウモードフラグが倒されました\r\nSwitchWindowMode実行 \r\n");
}

TEST(Lifecycle, ScaleOfZeroOrLessMeansOne) {
  LifeScope scope;
  GetMainWindowState().settings.scale = 0.0;
  EXPECT_EQ(GetWindowScaleFactor(), 1.0);
  GetMainWindowState().settings.scale = -2.0;
  ASSERT_EQ(InitFramework(), 0);
  plat::Rect client;
  plat::GetClientRect(GetFrameWindowHandle(), &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EndFramework();
}

}  // namespace
