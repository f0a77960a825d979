// The headless virtual clock: exact sleeps, a fixed step per read, and the
// millisecond count as the microsecond count cut to 32 bits.
#include <gtest/gtest.h>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

namespace hl = plat::headless;

class HeadlessClock : public testing::Test {
 protected:
  void SetUp() override { hl::Reset(); }
  void TearDown() override { plat::HostReset(); }
};

TEST_F(HeadlessClock, StartsFixedAndStepsOnEveryRead) {
  EXPECT_EQ(plat::HostGetKind(), plat::HostKind::Headless);
  EXPECT_EQ(plat::HostMicros(), hl::kClockStart);
  EXPECT_EQ(plat::HostMicros(), hl::kClockStart + hl::kDefaultClockStep);
  EXPECT_EQ(plat::HostMillis(), (hl::kClockStart + 2 * hl::kDefaultClockStep) / 1000);
  EXPECT_EQ(hl::PeekClock(), hl::kClockStart + 3 * hl::kDefaultClockStep);
  EXPECT_EQ(hl::PeekClock(), hl::kClockStart + 3 * hl::kDefaultClockStep);  // a peek is not a read

  hl::SetClockStep(250);
  const uint64_t a = plat::HostMicros();
  EXPECT_EQ(plat::HostMicros(), a + 250);
}

TEST_F(HeadlessClock, SleepAdvancesExactly) {
  hl::SetClockStep(0);
  const uint64_t before = plat::HostMicros();
  plat::HostSleepMs(16);
  EXPECT_EQ(plat::HostMicros(), before + 16000);
  plat::HostSleepMs(0);
  EXPECT_EQ(plat::HostMicros(), before + 16000);
  plat::HostSleepMs(0xFFFFFFFFu);  // the largest sleep is still exact (no 32-bit overflow)
  EXPECT_EQ(plat::HostMicros(), before + 16000 + 0xFFFFFFFFull * 1000);
}

TEST_F(HeadlessClock, BusyWaitOnTheClockEnds) {
  const uint32_t until = plat::HostMillis() + 5;
  int reads = 0;
  while (static_cast<int32_t>(plat::HostMillis() - until) < 0) ++reads;
  EXPECT_EQ(reads, 5000 / static_cast<int>(hl::kDefaultClockStep) - 1);
}

TEST_F(HeadlessClock, MillisWrapLikeA32BitTimerAndAgreeWithMicros) {
  hl::SetClockStep(0);
  const uint64_t wrap = (uint64_t{1} << 32) * 1000;  // where the millisecond count wraps
  hl::SetClock(wrap - 2500);
  const uint32_t before = plat::HostMillis();
  EXPECT_EQ(before, 0xFFFFFFFDu);
  for (int i = 0; i < 6; ++i) {
    const uint64_t us = plat::HostMicros();
    EXPECT_EQ(plat::HostMillis(), static_cast<uint32_t>(us / 1000));
    plat::HostSleepMs(1);
  }
  const uint32_t after = plat::HostMillis();
  EXPECT_EQ(after, 3u);
  EXPECT_EQ(after - before, 6u);  // differences taken in 32 bits survive the wrap
}

TEST_F(HeadlessClock, SleepUntilLandsExactlyOnATimeAheadAndNeverTurnsBack) {
  hl::SetClockStep(0);
  const uint64_t t0 = hl::PeekClock();
  plat::HostSleepUntilMicros(t0 + 1);  // one microsecond ahead
  EXPECT_EQ(hl::PeekClock(), t0 + 1);
  plat::HostSleepUntilMicros(t0 + 1);  // already there
  EXPECT_EQ(hl::PeekClock(), t0 + 1);
  plat::HostSleepUntilMicros(t0);      // one behind
  EXPECT_EQ(hl::PeekClock(), t0 + 1);
  plat::HostSleepUntilMicros(0);
  EXPECT_EQ(hl::PeekClock(), t0 + 1);
  plat::HostSleepUntilMicros(t0 + 16'000'007);
  EXPECT_EQ(plat::HostMicros(), t0 + 16'000'007);
  EXPECT_EQ(plat::HostMillis(), static_cast<uint32_t>((t0 + 16'000'007) / 1000));

  // A late wake-up comes only with a real sleep.
  hl::SetSleepOvershoot(700);
  const uint64_t t1 = hl::PeekClock();
  plat::HostSleepUntilMicros(t1);
  EXPECT_EQ(hl::PeekClock(), t1);
  plat::HostSleepUntilMicros(t1 + 1);
  EXPECT_EQ(hl::PeekClock(), t1 + 1 + 700);
}
