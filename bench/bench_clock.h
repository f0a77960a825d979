// The monotonic clock in seconds, for benchmarks that time a part of their
// work by hand (a peer, a memcpy, a share of the frame budget).
#pragma once

#include <time.h>

inline double MonotonicSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
