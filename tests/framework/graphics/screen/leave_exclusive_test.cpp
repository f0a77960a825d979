// Leaving exclusive full screen: the normal level (keeping the FPU state
// when the floating-point option asks for it) and the desktop's mode back,
// with DirectDraw or through the display settings without it; no log line
// of its own, and nothing to do once left or in a window.
#include <gtest/gtest.h>

#include "framework/core/life_test_support.h"
#include "framework/graphics/screen/screen.h"
#include "platform/window/display_settings.h"
#include "screen_test_support.h"

namespace {

using namespace qor;

TEST(LeaveExclusive, GivesTheDisplayBackByItsOwnSteps) {
  // {software (no DirectDraw object), windowed, floating-point option}
  const int rows[][3] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 1}, {1, 1, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0] * 100 + row[1] * 10 + row[2]);
    lifetest::LifeScope scope;
    screentest::StartRoad(row[0] != 0, 16, row[1] != 0);
    ScreenState& s = GetScreenState();
    ASSERT_EQ(s.directDraw == nullptr, row[0] != 0);
    s.fpuPreserve = row[2];
    const bool fullScreen = row[1] == 0;
    ASSERT_EQ(plat::IsDisplayModeSwitched(), fullScreen);
    const uint32_t levelBefore = s.directDraw != nullptr ? s.directDraw->cooperativeFlags() : 0;
    const int restores = plat::GetDisplayCounters().restoreCalls;
    const int restoreLines = scope.CountLogged("画面モードを元に戻す処理は正常に終了しました");
    const std::string logBefore = scope.Log();

    EXPECT_EQ(LeaveExclusiveMode(), 0);
    EXPECT_TRUE(scope.Log() == logBefore);  // no line of its own
    EXPECT_EQ(plat::IsDisplayModeSwitched(), false);
    EXPECT_EQ(plat::GetDisplayCounters().restoreCalls, restores + (fullScreen ? 1 : 0));
    if (s.directDraw != nullptr) {
      const uint32_t wanted =
          fullScreen ? plat::DDSCL_NORMAL | (row[2] ? plat::DDSCL_FPUPRESERVE : 0u) : levelBefore;
      EXPECT_EQ(s.directDraw->cooperativeFlags(), wanted);
      // Left once: a second call finds nothing to give back.
      s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN);
      EXPECT_EQ(LeaveExclusiveMode(), 0);
      EXPECT_EQ(s.directDraw->cooperativeFlags(), plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN);
      EXPECT_EQ(plat::GetDisplayCounters().restoreCalls, restores + (fullScreen ? 1 : 0));
    }
    EXPECT_EQ(scope.CountLogged("画面モードを元に戻す処理は正常に終了しました"), restoreLines);
    EndFramework();
  }
}

// The floating-point option goes into every level the framework sets for
// itself on a mode change: a new object's normal level, then the window's
// normal or full screen's exclusive level; the option off adds nothing.
TEST(LeaveExclusive, TheFloatingPointOptionReachesTheLevelsOfAModeChange) {
  for (int windowed = 0; windowed < 2; ++windowed) {
    for (int option = 0; option < 2; ++option) {
      SCOPED_TRACE(windowed * 10 + option);
      lifetest::LifeScope scope;
      screentest::StartRoad(false, 16, windowed != 0);
      ScreenState& s = GetScreenState();
      s.fpuPreserve = option;
      ASSERT_EQ(SwitchScreenMode(640, 480, 32, 0, 60), 0);
      const uint32_t own = windowed ? plat::DDSCL_NORMAL : plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN;
      const uint32_t fpu = option ? plat::DDSCL_FPUPRESERVE : 0u;
      ASSERT_NE(s.directDraw, nullptr);
      EXPECT_EQ(s.directDraw->cooperativeFlags(), own | fpu);
      EXPECT_EQ(s.coopFlags, own | fpu);
      EndFramework();
    }
  }
}

}  // namespace
