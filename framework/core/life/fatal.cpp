#include "framework/core/life/fatal.h"

#include <cstdarg>

#include "framework/core/life/api_lock.h"
#include "framework/core/life/framework_life.h"
#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/string_helpers.h"
#include "platform/kernel/system_query.h"

namespace qor {

void FatalError(const char* text) {
  FrameworkStatus& status = GetFrameworkStatus();
  LogOutput(text);
  LogOutput("\n");
  // Shut-down runs once: not again from a failure inside it, nor from a
  // failure inside this exit's own shut-down.
  if (!status.fatalExiting && !status.ending) {
    status.fatalExiting = 1;
    EndFrameworkCore();
    CloseApiLock();
  }
  plat::ExitProcess(-1);
}

void FatalErrorf(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  FormatStringV(buffer, sizeof buffer, format, args);
  va_end(args);
  FatalError(buffer);
}

}  // namespace qor
