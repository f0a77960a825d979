#include "platform/kernel/os_version.h"

#include <cstring>

namespace plat {

namespace {

struct Reported {
  bool other = false;
  uint32_t major = 0, minor = 0, build = 0;
};

Reported g_reported;

}  // namespace

bool GetVersionEx(OsVersionInfo* out) {
  if (out == nullptr) return false;
  *out = OsVersionInfo{};
  out->platformId = VER_PLATFORM_WIN32_NT;
  if (g_reported.other) {
    out->majorVersion = g_reported.major;
    out->minorVersion = g_reported.minor;
    out->buildNumber = g_reported.build;
    return true;
  }
  out->majorVersion = 5;
  out->minorVersion = 1;
  out->buildNumber = 2600;
  std::strcpy(out->csdVersion, "Service Pack 3");
  return true;
}

void SetReportedOsVersion(uint32_t major, uint32_t minor, uint32_t build) {
  g_reported = Reported{true, major, minor, build};
}

void ResetOsVersionStandIn() { g_reported = Reported{}; }

}  // namespace plat
