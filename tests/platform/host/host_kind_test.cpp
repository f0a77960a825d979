#include <gtest/gtest.h>

#include "platform/host/host.h"

TEST(HostClock, NeverGoesBackwards) {
  uint64_t last = plat::HostMicros();
  for (int i = 0; i < 1000; ++i) {
    const uint64_t now = plat::HostMicros();
    EXPECT_GE(now, last);
    last = now;
  }
}
