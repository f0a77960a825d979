#include "framework/core/time_helpers.h"

#include "framework/core/life/framework_status.h"
#include "platform/host/host.h"
#include "platform/kernel/clock.h"

namespace qor {

namespace {

void FromLocalTime(const plat::LocalTime& t, DateTimeRecord* out) {
  out->year = t.year;
  out->month = t.month;
  out->day = t.day;
  out->hour = t.hour;
  out->minute = t.minute;
  out->second = t.second;
}

int64_t ToSigned(uint64_t v) { return v > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(v); }

}  // namespace

uint64_t MulDiv64(uint64_t a, uint64_t b, uint64_t divisor) {
  if (divisor == 0) return 0;
  const unsigned __int128 q = static_cast<unsigned __int128>(a) * b / divisor;
  return q > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(q);
}

int64_t GetNowMicros(int allowTimeStampCounter) {
  const FrameworkStatus& s = GetFrameworkStatus();
  if (s.timeStampCounter != 0 && allowTimeStampCounter == 1 && s.initialised != 0 && s.timeStampTicksPerSecond > 0) {
    return ToSigned(
        MulDiv64(plat::ReadTimeStampCounter(), 1000000u, static_cast<uint64_t>(s.timeStampTicksPerSecond)));
  }
  if (s.highResCounter == 0 || s.counterFrequency <= 0) {
    return static_cast<int64_t>(plat::HostMillis()) * 1000;
  }
  const int64_t counter = plat::QueryPerformanceCounter();
  return ToSigned(MulDiv64(static_cast<uint64_t>(counter < 0 ? 0 : counter), 1000000u,
                           static_cast<uint64_t>(s.counterFrequency)));
}

void SleepUntilNearMillis(uint32_t tick) {
  // The millisecond timer is the host's microsecond clock in whole
  // milliseconds, so one read of the latter places the tick exactly.
  const uint64_t now = plat::HostMicros();
  const int32_t ahead = static_cast<int32_t>(tick - static_cast<uint32_t>(now / 1000u));
  if (ahead <= 0) return;
  const uint64_t turns = now - now % 1000u + static_cast<uint64_t>(ahead) * 1000u;
  if (turns - now > kNearTickMarginMicros) plat::HostSleepUntilMicros(turns - kNearTickMarginMicros);
}

void ReadLocalDateTime(DateTimeRecord* out) {
  plat::LocalTime t;
  plat::GetLocalTime(&t);
  FromLocalTime(t, out);
}

void ConvertFileTimeToDateRecord(uint64_t fileTime, DateTimeRecord* out) {
  plat::LocalTime t;
  plat::FileTimeToLocalTime(fileTime, &t);
  FromLocalTime(t, out);
}

}  // namespace qor
