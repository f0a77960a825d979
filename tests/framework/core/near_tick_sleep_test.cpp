// The sleep to just short of a millisecond tick, on the headless virtual
// clock: where it wakes for every position within the current millisecond,
// at the margin and one past it, across the 32-bit wrap of the millisecond
// timer and at the farthest tick that still counts as ahead.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/core/time_helpers.h"
#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "platform/kernel/mm_timer.h"

namespace {

namespace hl = plat::headless;

class NearTickSleep : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    hl::SetClockStep(0);  // only sleeps move the clock
  }
  void TearDown() override { plat::HostReset(); }
};

TEST_F(NearTickSleep, WakesHalfAMillisecondBeforeTheTickTurns) {
  ASSERT_EQ(qor::kNearTickMarginMicros, 500u);
  struct Case {
    uint64_t clock;
    uint32_t tick;
    uint64_t wakes;
  };
  const Case cases[] = {
      {10'000'000, 10'016, 10'015'500},  // a frame's whole wait, from the start of a millisecond
      {10'000'999, 10'016, 10'015'500},  // from its last microsecond
      {10'000'000, 10'001, 10'000'500},  // the next tick
      {10'000'499, 10'001, 10'000'500},  // 501 us short of it: one past the margin
      {10'000'500, 10'001, 10'000'500},  // exactly the margin: no sleep
      {10'000'501, 10'001, 10'000'501},
      {10'000'999, 10'001, 10'000'999},
      {10'000'700, 10'000, 10'000'700},  // the tick has turned
      {10'000'000, 9'999, 10'000'000},   // and passed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.clock << " to tick " << c.tick);
    hl::SetClock(c.clock);
    qor::SleepUntilNearMillis(c.tick);
    EXPECT_EQ(hl::PeekClock(), c.wakes);
    if (c.clock / 1000 < c.tick) {
      EXPECT_LT(plat::timeGetTime(), c.tick);  // never past a tick ahead
    }
  }
}

TEST_F(NearTickSleep, TicksCountAheadAcrossTheWrapUpToHalfTheTimerRange) {
  const uint64_t wrap = (uint64_t{1} << 32) * 1000;  // where the millisecond timer returns to 0
  hl::SetClock(wrap - 800);                          // timer 0xFFFFFFFF
  qor::SleepUntilNearMillis(15);
  EXPECT_EQ(hl::PeekClock(), wrap + 15'000 - 500);
  EXPECT_EQ(plat::timeGetTime(), 14u);

  hl::SetClock(20'000'250);  // timer 20000
  qor::SleepUntilNearMillis(20'000u + 0x7FFFFFFFu);
  EXPECT_EQ(hl::PeekClock(), (20'000ull + 0x7FFFFFFFull) * 1000 - 500);
  hl::SetClock(20'000'250);
  qor::SleepUntilNearMillis(20'000u + 0x80000000u);  // as far behind as ahead: passed
  EXPECT_EQ(hl::PeekClock(), 20'000'250u);
}

}  // namespace
