// The 8-bit palette (on the surfaces that show it, fatal when it cannot be
// made), the present's blank wait against its rule written out here, with
// and without a DirectDraw object, a repaint that never waits, and a
// present while drawing on the front screen.
#include <gtest/gtest.h>

#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/device_restore.h"
#include "platform/host/headless/headless_control.h"
#include "screen_test_support.h"

namespace {

using namespace qor;
namespace hl = plat::headless;

// Software rendering draws no 8-bit screen: not even the first start's
// retry can answer a palette that cannot be made.
TEST(ScreenPaletteDeathTest, APaletteThatCannotBeMadeEndsTheProgram) {
  const int startBits[] = {0, 16, 8};  // failing at the first start, at a change to 8 bits, at a rebuild
  for (const int bits : startBits) {
    lifetest::LifeScope scope;
    EXPECT_EXIT(
        {
          if (bits == 0) plat::DdFailNext(plat::DdOp::CreatePalette);
          screentest::StartRoad(false, bits == 0 ? 8 : bits, false);
          plat::DdFailNext(plat::DdOp::CreatePalette);
          if (bits == 8) plat::DdLoseDevice();
          bits == 8 ? RestoreAfterDeviceLoss() : RequestScreenMode(640, 480, 8, -1);
          _exit(5);
        },
        testing::ExitedWithCode(255), "")
        << bits;
    EXPECT_TRUE(scope.Logged("パレットの作成に失敗しました")) << bits;
  }
}

// Windowed (on an 8-bit desktop) the primary and the back surface show it;
// full screen the primary and what its chain has attached; again after a loss.
TEST(ScreenPalette, GoesOnTheSurfacesThatShowTheScreen) {
  for (const bool windowed : {true, false}) {
    lifetest::LifeScope scope;
    if (windowed) hl::SetDesktopMode(1920, 1080, 8);
    const int walks = plat::GetDdCounters().attachedWalks;
    screentest::StartRoad(false, 8, windowed);
    for (int round = 0; round < 2; ++round) {
      const ScreenState& s = GetScreenState();
      ASSERT_NE(s.palette, nullptr);
      EXPECT_TRUE(s.primary->palette() == s.palette && s.back->palette() == s.palette) << windowed << round;
      EXPECT_EQ(s.palette->entries()[255], 0xFFFFFFu);
      EXPECT_EQ(plat::GetDdCounters().attachedWalks - walks, windowed ? 0 : round + 1);
      plat::DdLoseDevice();
      ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
    }
    EndFramework();
  }
}

// On the 1080-line desktop at 60 Hz a frame lasts 16666 us and its blank
// begins 15999 us in (the status reports it from 16000). When the interval
// has passed (or is unknown): wait for the next blank unless in one; else
// sleep whole milliseconds until it has passed, then wait for the next.
TEST(VBlankWait, TheIntervalWaitFollowsItsStepsWithAndWithoutTheObject) {
  struct Case {
    int32_t interval;
    uint32_t since;  // ms since the last wait
    uint64_t phase;  // us into the frame
  };
  const Case cases[] = {{9, 9, 3000},  {9, 8, 3000},   {9, 20, 16200}, {9, 0, 16200},
                        {9, 2, 9000},  {-1, 0, 16200}, {-1, 0, 3000},  {0, 0, 100}};
  const uint64_t period = 16666, blankAt = 15999;
  auto nextBlank = [&](uint64_t t) { return t - t % period + (t % period < blankAt ? 0 : period) + blankAt; };
  for (const bool software : {false, true}) {
    gfxtest::Road road(software, 16, true);
    ScreenState& s = GetScreenState();
    if (software) {
      EXPECT_EQ(s.vblankInterval, 9);  // from the display's 60 Hz
    }
    for (const Case& c : cases) {
      uint64_t t0 = period * 900 + c.phase;
      while (t0 % 1000 != 100) t0 += period;  // 100 us past a millisecond
      s.vblankInterval = c.interval;
      s.lastVBlankWait = static_cast<uint32_t>(t0 / 1000) - c.since;
      const bool passed = c.interval < 0 || static_cast<int32_t>(c.since) >= c.interval;
      const bool waits = !passed || c.phase < 16000;
      const uint64_t expected = !waits ? t0 : nextBlank(passed ? t0 : t0 + 1000 * (c.interval - c.since));
      const int waited = plat::GetDdCounters().vblankWaits;
      hl::SetClock(t0);
      AwaitVBlankInterval();
      const uint64_t end = hl::PeekClock();
      EXPECT_TRUE(end >= expected && end < expected + 300) << software << " " << c.interval << " " << c.since;
      EXPECT_EQ(plat::GetDdCounters().vblankWaits - waited, waits ? 1 : 0);
      EXPECT_EQ(s.lastVBlankWait, static_cast<uint32_t>(end / 1000));
    }
  }
}

// A paint shows the back screen at once whatever the waiting is, and leaves
// the waiting as it was; a present with it on does look for the blank.
TEST(VBlankWait, ARepaintShowsTheBackScreenWithoutWaiting) {
  for (const bool software : {false, true}) {
    for (const int vsync : {1, 0}) {
      gfxtest::Road road(software, 16, true);
      SelectDrawTarget(kBackScreen);
      PaintBoxFilled(0, 0, 640, 480, PackColorRGB(255, 255, 255));
      SetVSyncOnPresent(vsync);
      auto looks = [] { return plat::GetDdCounters().vblankWaits + plat::GetDdCounters().blankStatusReads; };
      const int looked = looks();
      const uint64_t clock = hl::PeekClock();
      plat::SendMessage(GetFrameWindowHandle(), plat::WM_PAINT, 0, 0);
      EXPECT_EQ(looks(), looked);
      EXPECT_LT(hl::PeekClock() - clock, 1000u);
      EXPECT_EQ(GetVSyncOnPresent(), vsync);
      ASSERT_NE(hl::LastFrame(), nullptr);
      EXPECT_EQ(hl::LastFrame()->pixels[240 * 640 + 320] & 0xFFFFFF, 0xFFFFFFu) << software << vsync;
      PresentFrame();
      EXPECT_EQ(looks() > looked, vsync == 1);
    }
  }
}

// Drawing on the front screen, a present only counts the frame and waits
// for one blank: the counted wait's result, which is -1 without a
// DirectDraw object (software rendering through the window's DC).
TEST(VBlankWait, AFrontScreenPresentGivesTheCountedWaitsResult) {
  for (const bool software : {false, true}) {
    for (const bool windowed : {false, true}) {
      SCOPED_TRACE(software * 10 + windowed);
      gfxtest::Road road(software, 16, windowed);
      ASSERT_EQ(GetScreenState().directDraw == nullptr, software);
      ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);
      const int wanted = software ? -1 : 0;
      const uint64_t frames = GetFrameCounter();
      EXPECT_EQ(PresentFrame(), wanted);
      EXPECT_EQ(PresentToWindow(nullptr), wanted);
      EXPECT_EQ(GetFrameCounter(), frames + 2);
    }
  }
}

}  // namespace
