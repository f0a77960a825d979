// The framework's clocks: a 64-bit microsecond count and the local calendar
// time.
#pragma once

#include <cstdint>

namespace qor {

struct DateTimeRecord {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
};

// a x b / divisor with a 128-bit product; saturates at the largest value,
// and gives 0 for a divisor of 0.
uint64_t MulDiv64(uint64_t a, uint64_t b, uint64_t divisor);

// Microseconds from the best source the framework status allows: the
// time-stamp counter (when the caller allows it and the framework runs), else
// the millisecond timer when there is no high-resolution counter (or the
// timer check preferred the millisecond timer), else the performance counter.
// Never goes backwards between two calls on the same source.
int64_t GetNowMicros(int allowTimeStampCounter = 0);

// How far ahead of a millisecond tick SleepUntilNearMillis wakes: more than a
// precise sleep overruns on a busy machine most of the time, so the caller's
// own reads of the millisecond timer still see the tick turn.
constexpr uint32_t kNearTickMarginMicros = 500;

// Sleeps until kNearTickMarginMicros before the millisecond timer turns to
// `tick`, so a wait for that tick reads the timer only for its last moments
// instead of holding a core for the whole of it. Returns at once when the
// tick is less than the margin away, reached or passed; as the timer wraps,
// a tick counts as ahead when it is 1 .. 2^31 - 1 ms past the timer's value.
void SleepUntilNearMillis(uint32_t tick);

void ReadLocalDateTime(DateTimeRecord* out);
// A file time (100-ns units since 1601-01-01 UTC) as local date and time.
void ConvertFileTimeToDateRecord(uint64_t fileTime, DateTimeRecord* out);

}  // namespace qor
