// Process-wide status words of the framework that the log and the clock read
// before the start-up code that owns them sets them: whether the framework
// runs, where it started, and which counters the timing code may use.
#pragma once

#include <cstdint>

namespace qor {

constexpr int kStartDirectorySize = 260;

struct FrameworkStatus {
  int initialised = 0;         // 1 between a successful start-up and shut-down
  int userWindow = 0;          // 1: the application owns the window; log text goes to the debugger output
  int highResCounter = 0;      // 1: the performance counter is usable (and preferred by the timer check)
  int64_t counterFrequency = 0;
  int timeStampCounter = 0;    // 1: the processor has a time-stamp counter
  int64_t timeStampTicksPerSecond = 0;
  char startDirectory[kStartDirectorySize] = {};  // CP932, empty until known
};

FrameworkStatus& GetFrameworkStatus();
void ResetFrameworkStatus();

// Stores the directory the log file and the final directory restore use.
// Returns 0, or -1 (nothing stored) when it does not fit.
int SetStartDirectory(const char* directory);
const char* GetStartDirectory();

}  // namespace qor
