#include "framework/core/log.h"

namespace qor {

// Placeholder until the log file is written: every call reports failure as
// the real log does, and writes nothing.
int LogOutput(const char*) { return -1; }
int LogPrintf(const char*, ...) { return -1; }
int SetLogFileOutput(int) { return 0; }
int IncreaseLogIndent() { return 0; }
int DecreaseLogIndent() { return 0; }

}  // namespace qor
