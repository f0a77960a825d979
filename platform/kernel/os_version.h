// The operating-system version record the framework's system report reads.
// It is fixed: an NT 5.1 system (XP, build 2600), so that options the
// framework keeps for one particular other system stay off on every machine;
// tests can have another version reported.
#pragma once

#include <cstdint>

namespace plat {

constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

struct OsVersionInfo {
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 0;
  uint32_t platformId = 0;
  char csdVersion[128] = {};  // service text, CP932
};

// Fills the record; always succeeds.
bool GetVersionEx(OsVersionInfo* out);

// For tests: another NT version to report (its service text empty), and
// back to the fixed one.
void SetReportedOsVersion(uint32_t major, uint32_t minor, uint32_t build);
void ResetOsVersionStandIn();

}  // namespace plat
