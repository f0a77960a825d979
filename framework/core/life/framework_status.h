// Process-wide status words of the framework that the log and the clock read
// before the start-up code that owns them sets them: whether the framework
// runs, where it started, and which counters the timing code may use.
#pragma once

#include <cstdint>

namespace qor {

constexpr int kStartDirectorySize = 260;

struct FrameworkStatus {
  int initialised = 0;         // 1 between a successful start-up and shut-down
  int initialising = 0;        // 1 while start-up runs
  int ending = 0;              // 1 from the start of shut-down
  int comStarted = 0;          // 1 after a successful COM start
  int fatalExiting = 0;        // 1 once a fatal exit has begun (a second one exits at once)
  // Start-up switches; nothing in the program sets them. Each skips its
  // module; no-window also skips the final pump of shut-down and the
  // colour-depth refusal.
  int noWindow = 0;
  int noGraphics = 0;
  int noSound = 0;
  int noInput = 0;
  // The Direct3D-off option: start-up switches to software rendering first
  // (ORB_GFX=soft sets it).
  int direct3DOffOption = 0;
  // Timer-period requests made by start-up; the window side ends them all.
  int timerPeriod = 1;
  int timerPeriodsBegun = 0;
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
