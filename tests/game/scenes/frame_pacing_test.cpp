// The windowed frame pacing on the headless virtual clock, against the rule
// written out as a plain busy wait on the millisecond timer: the same frame
// start for every position within a millisecond and every distance from the
// previous frame, across the timer's 32-bit wrap, on a machine that wakes
// late, and no wait at all in full screen.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/scenes/scenes.h"
#include "game/world/config_file.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace orb;
namespace hl = plat::headless;

// The rule itself: read the millisecond clock until 16 ms have passed since
// the previous frame; the new frame's time is the clock read after that.
uint32_t RuleFrameStart(uint32_t last) {
  while (static_cast<int32_t>(qor::GetNowMillisPublic() - last) < 16) {
  }
  return qor::GetNowMillisPublic();
}

class FramePacing : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    ResetGameModules();
    config.WindowedMode = 1;
  }
  void TearDown() override { plat::HostReset(); }

  // Paces one frame from the clock at `clock` with the previous frame at
  // `last`; returns the new frame's start and where the clock stood after it.
  static uint32_t Pace(uint64_t clock, uint32_t last, uint64_t* clockAfter) {
    hl::SetClock(clock);
    scenes.LastFrameMillis = last;
    PaceWindowedFrame();
    *clockAfter = hl::PeekClock();
    return scenes.LastFrameMillis;
  }
};

TEST_F(FramePacing, WindowedFramesStartAtTheTickTheBusyWaitWouldSee) {
  const uint64_t base = 50'000'000;  // timer 50000
  for (const int32_t sinceLast : {0, 1, 2, 3, 14, 15, 16, 17, 40, -3}) {
    for (uint64_t phase = 0; phase < 1000; phase += 111) {
      SCOPED_TRACE(testing::Message() << sinceLast << " ms since the last frame, " << phase << " us in");
      const uint32_t last = 50'000u - static_cast<uint32_t>(sinceLast);
      hl::SetClock(base + phase);
      const uint32_t expected = RuleFrameStart(last);
      uint64_t after = 0;
      EXPECT_EQ(Pace(base + phase, last, &after), expected);
      // The frame starts as the tick turns, not a millisecond late.
      if (sinceLast < 16) {
        EXPECT_LT(after, uint64_t{expected} * 1000 + 100);
      }
    }
  }
}

TEST_F(FramePacing, TheWaitCrossesTheTimersWrap) {
  const uint64_t wrap = (uint64_t{1} << 32) * 1000;
  uint64_t after = 0;
  EXPECT_EQ(Pace(wrap - 3'600, 0xFFFFFFF0u, &after), 0u);  // 16 ms after 0xFFFFFFF0 is 0
  EXPECT_LT(after, wrap + 100);
  EXPECT_EQ(Pace(wrap + 200, 0xFFFFFFFFu, &after), 15u);
}

TEST_F(FramePacing, ALateWakeStartsTheFrameWhenTheMachineWokeAndFullScreenDoesNotWait) {
  hl::SetSleepOvershoot(2'700);  // wakes 2.2 ms past the tick
  uint64_t after = 0;
  EXPECT_EQ(Pace(60'000'000, 60'000, &after), 60'018u);
  hl::SetSleepOvershoot(0);

  config.WindowedMode = 0;  // full screen waits for the present's vertical blank instead
  EXPECT_EQ(Pace(60'000'300, 60'000, &after), 60'000u);
  EXPECT_LT(after, 60'000'300u + 100);
}

}  // namespace
