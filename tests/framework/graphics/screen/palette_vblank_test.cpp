// The 8-bit screen's palette (on the surfaces that show it, made again after
// a loss, fatal when it cannot be made once the software retry is past) and
// the windowed present's wait for the vertical blank, walked on the virtual
// clock against the wait's rule written out here, with and without a
// DirectDraw object.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/screen/device_restore.h"
#include "platform/host/headless/headless_control.h"
#include "screen_test_support.h"

namespace {

using namespace qor;
namespace hl = plat::headless;

// Software rendering draws no 8-bit screen, so even the first start's
// software retry cannot answer a palette that cannot be made.
TEST(ScreenPaletteDeathTest, APaletteThatCannotBeMadeEndsTheProgram) {
  struct Case {
    const char* what;
    int startBits;
    void (*after)();
  };
  const Case cases[] = {
      {"the first start", 0, [] {}},
      {"a later mode change to 8 bits", 16, [] { RequestScreenMode(640, 480, 8, -1); }},
      {"the rebuild after a loss", 8, [] {
         plat::DdLoseDevice();
         RestoreAfterDeviceLoss();
       }},
  };
  for (const Case& c : cases) {
    lifetest::LifeScope scope;
    EXPECT_EXIT(
        {
          if (c.startBits == 0) plat::DdFailNext(plat::DdOp::CreatePalette);
          screentest::StartRoad(false, c.startBits != 0 ? c.startBits : 8, false);
          if (GetScreenState().softwareRendering) _exit(4);
          plat::DdFailNext(plat::DdOp::CreatePalette);
          c.after();
          _exit(5);
        },
        testing::ExitedWithCode(255), "")
        << c.what;
    EXPECT_TRUE(scope.Logged("パレットの作成に失敗しました")) << c.what;
  }
}

// Windowed (on an 8-bit desktop) the primary and the back surface show the
// palette; in full screen the primary and what its chain has attached. After
// a loss a new palette with the same entries goes on the new surfaces.
TEST(ScreenPalette, GoesOnTheSurfacesThatShowTheScreen) {
  for (const bool windowed : {true, false}) {
    SCOPED_TRACE(windowed ? "windowed" : "full screen");
    lifetest::LifeScope scope;
    if (windowed) hl::SetDesktopMode(1920, 1080, 8);
    const int walksBefore = plat::GetDdCounters().attachedWalks;
    screentest::StartRoad(false, 8, windowed);
    for (int round = 0; round < 2; ++round) {
      const ScreenState& s = GetScreenState();
      ASSERT_EQ(s.colorBits, 8);
      ASSERT_NE(s.palette, nullptr);
      EXPECT_EQ(s.primary->palette(), s.palette);
      EXPECT_EQ(s.back->palette(), s.palette);
      EXPECT_EQ(s.palette->entries()[0], 0u);
      EXPECT_EQ(s.palette->entries()[255], 0xFFFFFFu);
      EXPECT_EQ(plat::GetDdCounters().attachedWalks - walksBefore, windowed ? 0 : round + 1);
      plat::DdLoseDevice();
      ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
    }
    EndFramework();
  }
}

// The wait's rule, on a display of 1080 lines at 60 Hz: a frame of 16666 us
// whose blank begins 15999 us in. When the interval has passed since the
// last wait (or is unknown): yield, and wait for the next blank unless the
// beam is in one; otherwise sleep whole milliseconds until it has passed,
// then wait for the next blank.
constexpr uint64_t kPeriod = 16666;
constexpr uint64_t kBlankStart = 15999;
constexpr uint64_t kBlankEnd = 16000 + 1400;  // the status reports the blank from 16000

uint64_t NextBlank(uint64_t t) {
  const uint64_t phase = t % kPeriod;
  return t - phase + (phase < kBlankStart ? kBlankStart : kPeriod + kBlankStart);
}

struct WaitCase {
  int32_t interval;   // ms, -1 unknown
  uint32_t sinceLast; // ms since the last wait
  uint64_t phase;     // us into the frame when called
};

TEST(VBlankWait, TheIntervalWaitFollowsItsStepsWithAndWithoutTheObject) {
  const WaitCase cases[] = {
      {9, 9, 3000},    // the interval has just passed: the coming blank
      {9, 8, 3000},    // one short: a millisecond of sleep first
      {9, 20, 16200},  // passed, already in the blank: no wait
      {9, 0, 16200},   // in the blank but too soon: nine sleeps, then the next blank
      {9, 2, 9000},    // the sleeps end inside a blank: the one after it
      {-1, 0, 16200},  // unknown interval in the blank: no wait
      {-1, 0, 3000},   // unknown interval: the coming blank
      {0, 0, 100},     // no interval: the coming blank
  };
  for (const bool software : {false, true}) {
    SCOPED_TRACE(software ? "no DirectDraw object" : "DirectDraw object");
    lifetest::LifeScope scope;
    screentest::StartRoad(software, 16, true);
    ScreenState& s = GetScreenState();
    ASSERT_EQ(s.directDraw == nullptr, software);
    // Without the object the interval comes from the display's 60 Hz.
    if (software) {
      EXPECT_EQ(s.vblankInterval, 9);
    }
    for (const WaitCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.interval << " ms interval, " << c.sinceLast << " ms since, " << c.phase
                                      << " us in");
      // A start `phase` into a frame and 100 us past a millisecond.
      uint64_t t0 = kPeriod * 900 + c.phase;
      while (t0 % 1000 != 100) t0 += kPeriod;
      const uint32_t nowMs = static_cast<uint32_t>(t0 / 1000);
      s.vblankInterval = c.interval;
      s.lastVBlankWait = nowMs - c.sinceLast;
      bool waits = true;
      uint64_t from = t0;
      if (c.interval < 0 || static_cast<int32_t>(c.sinceLast) >= c.interval) {
        waits = !(c.phase >= 16000 && c.phase < kBlankEnd);
      } else {
        from = t0 + uint64_t{1000} * (static_cast<uint32_t>(c.interval) - c.sinceLast);
      }
      const uint64_t expected = waits ? NextBlank(from) : t0;
      const int waitsBefore = plat::GetDdCounters().vblankWaits;
      hl::SetClock(t0);
      EXPECT_EQ(AwaitVBlankInterval(), 0);
      const uint64_t end = hl::PeekClock();
      EXPECT_GE(end, expected);
      EXPECT_LT(end, expected + 300);
      EXPECT_EQ(plat::GetDdCounters().vblankWaits - waitsBefore, waits ? 1 : 0);
      EXPECT_EQ(s.lastVBlankWait, static_cast<uint32_t>(end / 1000));
    }
    EndFramework();
  }
}

}  // namespace
