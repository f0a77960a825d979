// The framework's log file ("Log.txt" in the start directory). Every line
// starts with the milliseconds since the log was opened, a colon and one TAB
// per indent level; line feeds are written as CR LF. The file is opened and
// closed for every call so that it survives a crash.
#pragma once

#include <cstdint>

namespace qor {

constexpr int kLogFileNameSize = 256;

struct LogState {
  int logOff = 0;        // 1: no file is written
  int datedName = 0;     // 1: the file is named after the opening time
  int noTimeStamp = 0;   // 1: lines start without the milliseconds
  char fileName[kLogFileNameSize] = "Log.txt";
  int indent = 0;
  int midLine = 0;       // 1: the last text written did not end a line
  uint32_t startTime = 0;  // millisecond clock when the file was opened
};

LogState& GetLogState();
void ResetLog();

// Names the file, replaces any old one with an empty file and restarts the
// time stamps. Takes the current directory as the start directory when none
// is known yet. Does nothing while the log is off or in user-window mode.
int OpenLogFile();  // 1

int LogOutput(const char* text);  // always -1, so callers can return it
// Formats into 1,024 bytes (cut to fit) and logs the result as one line.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Logs a network failure with the last socket error; -1.
int NetLogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

int SetLogFileOutput(int on);  // 0
int IncreaseLogIndent();       // 0
int DecreaseLogIndent();       // 0, never below level 0

// Switches nothing in the program sets; for tools and tests.
void SetLogDatedName(int on);
void SetLogTimeStamps(int on);

}  // namespace qor
