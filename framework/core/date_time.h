// A date and time as the framework hands it out (local time).
#pragma once

#include <cstdint>

namespace qor {

struct DateTimeRecord {
  int32_t year, month, day, hour, minute, second;
};

// A file time (100 ns units since 1601 UTC) in local time; a time the host
// cannot convert gives a record of zeros. Returns 0, or -1 in that case.
int ConvertFileTimeToDateRecord(uint64_t fileTime, DateTimeRecord* out);

}  // namespace qor
