#include "platform/kernel/clock.h"

#include <time.h>

#include "platform/host/host.h"

namespace plat {

int64_t QueryPerformanceCounter() { return static_cast<int64_t>(HostMicros()); }

int64_t QueryPerformanceFrequency() { return 1000000; }

uint64_t ReadTimeStampCounter() { return HostMicros() * 1000u; }

namespace {

bool FillFromSeconds(time_t seconds, int milliseconds, LocalTime* out) {
  *out = LocalTime{};
  tm parts{};
  if (localtime_r(&seconds, &parts) == nullptr) return false;
  out->year = parts.tm_year + 1900;
  out->month = parts.tm_mon + 1;
  out->day = parts.tm_mday;
  out->hour = parts.tm_hour;
  out->minute = parts.tm_min;
  out->second = parts.tm_sec;
  out->milliseconds = milliseconds;
  return true;
}

}  // namespace

bool GetLocalTime(LocalTime* out) {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
    *out = LocalTime{};
    return false;
  }
  return FillFromSeconds(now.tv_sec, static_cast<int>(now.tv_nsec / 1000000), out);
}

bool FileTimeToLocalTime(uint64_t fileTime, LocalTime* out) {
  // Seconds between 1601-01-01 and 1970-01-01.
  constexpr int64_t kEpochDelta = 11644473600LL;
  const int64_t seconds = static_cast<int64_t>(fileTime / 10000000u) - kEpochDelta;
  const int milliseconds = static_cast<int>((fileTime / 10000u) % 1000u);
  return FillFromSeconds(static_cast<time_t>(seconds), milliseconds, out);
}

}  // namespace plat
