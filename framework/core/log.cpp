#include "framework/core/log.h"

#include <climits>
#include <cstdarg>
#include <cstring>

#include "framework/core/life/framework_status.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"
#include "framework/core/time_helpers.h"
#include "platform/host/host.h"
#include "platform/kernel/debug_output.h"
#include "platform/kernel/file_append.h"
#include "platform/kernel/path_map.h"
#include "platform/net/winsock.h"

namespace qor {

namespace {

LogState g_log;

constexpr size_t kFormatBufferSize = 1024;
constexpr size_t kLocalWorkSize = 512;
constexpr size_t kLongestLocalText = 255;

// Copies `text` to `out`, writing each bare LF as CR LF. At the first LF that
// already has its CR the rest is copied as it is. `out` must hold twice the
// text's length plus the terminating zero (a text of nothing but LFs).
void ConvertLineEnds(const char* text, char* out) {
  size_t in = 0;
  size_t at = 0;
  while (text[in] != '\0') {
    if (SjisCharWidth(text + in) == 2) {
      out[at++] = text[in++];
      out[at++] = text[in++];
      continue;
    }
    if (text[in] == '\n') {
      if (in > 0 && text[in - 1] == '\r') {
        CopyString(out + at, text + in);
        return;
      }
      out[at++] = '\r';
      out[at++] = '\n';
      ++in;
      continue;
    }
    out[at++] = text[in++];
  }
  out[at] = '\0';
}

// True when the last character of `text` is a backslash; the trail byte of
// a double-byte character (0x5C in many) does not count.
bool EndsWithSeparator(const char* text) {
  const char* last = nullptr;
  for (const char* p = text; *p != '\0'; p += SjisCharWidth(p)) last = p;
  return last != nullptr && SjisCharWidth(last) == 1 && *last == '\\';
}

// Start directory + "\" (when missing) + file name; false when it does not fit.
bool BuildLogPath(char* path, size_t capacity) {
  const char* directory = GetStartDirectory();
  if (directory[0] == '\0') return false;
  if (CopyStringN(path, capacity, directory) != 0) return false;
  if (!EndsWithSeparator(path) && AppendStringN(path, capacity, "\\") != 0) return false;
  return AppendStringN(path, capacity, g_log.fileName) == 0;
}

void WriteTabs(int handle, int count) {
  static const char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  constexpr int kChunk = static_cast<int>(sizeof kTabs - 1);
  while (count > 0) {
    const int n = count < kChunk ? count : kChunk;
    plat::AppendFileBytes(handle, kTabs, static_cast<size_t>(n));
    plat::OutputDebugText(kTabs + (kChunk - n));
    count -= n;
  }
}

void WriteToFile(const char* text, size_t length) {
  char path[kStartDirectorySize + kLogFileNameSize + 2];
  if (!BuildLogPath(path, sizeof path)) return;
  const int handle = plat::OpenAppendFile(path);
  if (handle < 0) return;
  if (g_log.midLine == 0) {
    if (g_log.noTimeStamp == 0) {
      char stamp[16];
      const int elapsed = static_cast<int>(plat::HostMillis() - g_log.startTime);
      const int n = FormatString(stamp, sizeof stamp, "%d:", elapsed);
      plat::AppendFileBytes(handle, stamp, static_cast<size_t>(n));
    }
    WriteTabs(handle, g_log.indent);
  }
  plat::AppendFileBytes(handle, text, length);
  plat::OutputDebugText(text);
  g_log.midLine = (text[length - 1] != '\n') ? 1 : 0;
  plat::CloseAppendFile(handle);
}

}  // namespace

LogState& GetLogState() { return g_log; }

void ResetLog() { g_log = LogState{}; }

int OpenLogFile() {
  const FrameworkStatus& status = GetFrameworkStatus();
  if (g_log.logOff != 0 || status.userWindow != 0) return 1;
  if (GetStartDirectory()[0] == '\0') {
    char directory[kStartDirectorySize];
    if (plat::GetCurrentDirectoryCp932(directory, sizeof directory) >= 0) SetStartDirectory(directory);
  }
  if (g_log.datedName != 0) {
    DateTimeRecord now;
    ReadLocalDateTime(&now);
    FormatString(g_log.fileName, sizeof g_log.fileName, "Log%d_%d_%d_%d_%d_%d.txt", now.year, now.month, now.day,
                 now.hour, now.minute, now.second);
  } else {
    CopyString(g_log.fileName, "Log.txt");
  }
  char path[kStartDirectorySize + kLogFileNameSize + 2];
  if (BuildLogPath(path, sizeof path)) {
    plat::DeleteFileIfExists(path);
    plat::CreateEmptyFile(path);
  }
  g_log.indent = 0;
  g_log.midLine = 0;
  g_log.startTime = plat::HostMillis();
  return 1;
}

int LogOutput(const char* text) {
  // An empty text writes nothing and starts no line.
  if (text == nullptr || text[0] == '\0') return -1;
  const size_t length = std::strlen(text);
  char local[kLocalWorkSize];
  char* work = local;
  if (length > kLongestLocalText) {
    work = static_cast<char*>(AllocMemory(length * 2 + 1, nullptr, 0));
    if (work == nullptr) return -1;
  }
  ConvertLineEnds(text, work);
  if (GetFrameworkStatus().userWindow != 0) {
    plat::OutputDebugText(work);
  } else if (g_log.logOff == 0) {
    WriteToFile(work, std::strlen(work));
  }
  if (work != local) FreeMemory(work);
  return -1;
}

int LogPrintf(const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  // One byte stays free for the line feed.
  const int n = FormatStringV(buffer, sizeof buffer - 1, format, args);
  va_end(args);
  buffer[n] = '\n';
  buffer[n + 1] = '\0';
  return LogOutput(buffer);
}

int NetLogPrintf(const char* format, ...) {
  const int lastError = plat::WSAGetLastError();
  char buffer[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  FormatStringV(buffer, sizeof buffer, format, args);
  va_end(args);
  return LogPrintf("ネットワークログ。%s[%d]", buffer, lastError);
}

int SetLogFileOutput(int on) {
  g_log.logOff = (on == 0) ? 1 : 0;
  return 0;
}

int IncreaseLogIndent() {
  if (g_log.indent < INT_MAX) ++g_log.indent;
  return 0;
}

int DecreaseLogIndent() {
  if (g_log.indent > 0) --g_log.indent;
  return 0;
}

void SetLogDatedName(int on) { g_log.datedName = (on != 0) ? 1 : 0; }

void SetLogTimeStamps(int on) { g_log.noTimeStamp = (on == 0) ? 1 : 0; }

}  // namespace qor
