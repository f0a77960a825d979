#include "framework/core/date_time.h"

#include "platform/kernel/find_file.h"

namespace qor {

int ConvertFileTimeToDateRecord(uint64_t fileTime, DateTimeRecord* out) {
  *out = DateTimeRecord{};
  plat::LocalTimeFields local{};
  if (plat::FileTimeToLocalTime(fileTime, &local) != 0) return -1;
  *out = {local.year, local.month, local.day, local.hour, local.minute, local.second};
  return 0;
}

}  // namespace qor
