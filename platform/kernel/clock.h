// Clock sources the framework's timing code reads, over the host clock (so
// they follow the headless virtual clock), and the local calendar time.
#pragma once

#include <cstdint>

namespace plat {

// The high-resolution counter: microseconds of the host clock, so its
// frequency is always 1,000,000 and never 0.
int64_t QueryPerformanceCounter();
int64_t QueryPerformanceFrequency();

// The processor's time-stamp counter as the timing code sees it: a 1 GHz
// count derived from the host clock.
uint64_t ReadTimeStampCounter();

// Calendar time, local zone.
struct LocalTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

// Now; false when the local time cannot be had (the record is left zero).
bool GetLocalTime(LocalTime* out);

// A file time (100-ns units since 1601-01-01 UTC) as local calendar time;
// false when out of the representable range.
bool FileTimeToLocalTime(uint64_t fileTime, LocalTime* out);

}  // namespace plat
