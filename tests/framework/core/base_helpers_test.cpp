#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <climits>
#include <limits>

#include "framework/core/life/framework_status.h"
#include "framework/core/link_list.h"
#include "framework/core/math_helpers.h"
#include "framework/core/time_helpers.h"

using namespace qor;

TEST(MathHelpers, TruncationAndSaturation) {
  EXPECT_EQ(FloatToIntTrunc(-1.75f), -1);
  EXPECT_EQ(FloatToIntTrunc(2.999f), 2);
  EXPECT_EQ(FloatToIntTrunc(3e9f), INT_MAX);
  EXPECT_EQ(FloatToIntTrunc(-3e9f), INT_MIN);
  EXPECT_EQ(FloatToIntTrunc(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(DoubleToIntTrunc(-2147483648.9), INT_MIN);
  EXPECT_EQ(DoubleToIntTrunc(2147483647.9), INT_MAX);
  const double rect[4] = {-0.5, 1.5, 639.99, -480.2};
  int32_t out[4];
  DoubleRectToIntRect(rect, out);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 1);
  EXPECT_EQ(out[2], 639);
  EXPECT_EQ(out[3], -480);
  EXPECT_EQ(AbsInt(INT_MIN), INT_MAX);
  EXPECT_EQ(AbsInt(-7), 7);
}

TEST(TimeHelpers, MicrosNeverGoBackOnAnySource) {
  FrameworkStatus& status = GetFrameworkStatus();
  ResetFrameworkStatus();
  // Millisecond timer, performance counter, time-stamp counter.
  for (int source = 0; source < 3; ++source) {
    status.highResCounter = source >= 1;
    status.counterFrequency = 1000000;
    status.timeStampCounter = source == 2;
    status.timeStampTicksPerSecond = 1000000000;
    status.initialised = 1;
    int64_t last = GetNowMicros(1);
    for (int i = 0; i < 2000; ++i) {
      const int64_t now = GetNowMicros(1);
      ASSERT_GE(now, last) << source;
      last = now;
    }
  }
  ResetFrameworkStatus();
  EXPECT_EQ(MulDiv64(UINT64_MAX, 1000000, 1000000), UINT64_MAX);
  EXPECT_EQ(MulDiv64(UINT64_MAX, 3, 2), UINT64_MAX);  // saturates
  EXPECT_EQ(MulDiv64(1ull << 62, 1000000, 1ull << 40), 1000000ull << 22);
  EXPECT_EQ(MulDiv64(5, 5, 0), 0u);
}

TEST(TimeHelpers, CalendarRecords) {
  DateTimeRecord now;
  ReadLocalDateTime(&now);
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.second >= 0 && now.second <= 60);

  const char* oldZone = getenv("TZ");
  const std::string saved = oldZone ? oldZone : "";
  setenv("TZ", "UTC", 1);
  tzset();
  // 2010-01-05 09:03:07 UTC in 100-ns units since 1601.
  const uint64_t fileTime = (1262682187ull + 11644473600ull) * 10000000ull;
  DateTimeRecord t;
  ConvertFileTimeToDateRecord(fileTime, &t);
  EXPECT_EQ(t.year, 2010);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 5);
  EXPECT_EQ(t.hour, 9);
  EXPECT_EQ(t.minute, 3);
  EXPECT_EQ(t.second, 7);
  if (oldZone) setenv("TZ", saved.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

TEST(LinkList, AddsAfterTheHeadAndUnlinks) {
  LinkNode head, tail, a, b;
  InitLinkList(&head, &tail);
  AddLinkNode(&head, &a, 1, 10);
  AddLinkNode(&head, &b, 2, 20);
  EXPECT_TRUE(head.next == &b && b.next == &a && a.next == &tail && tail.prev == &a && a.prev == &b);
  UnlinkNode(&b);
  UnlinkNode(&a);
  EXPECT_TRUE(head.next == &tail && tail.prev == &head && head.valueA == 0xFFFFFFFFu && tail.valueB == 0u);
}
