// The framework's log file ("Log.txt" in the start directory) and screen log.
#pragma once

namespace qor {

int LogOutput(const char* text);  // always -1, so callers can return it
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int SetLogFileOutput(int on);
int IncreaseLogIndent();
int DecreaseLogIndent();

}  // namespace qor
