#include "platform/kernel/os_version.h"

#include <cstring>

namespace plat {

bool GetVersionEx(OsVersionInfo* out) {
  if (out == nullptr) return false;
  *out = OsVersionInfo{};
  out->majorVersion = 5;
  out->minorVersion = 1;
  out->buildNumber = 2600;
  out->platformId = VER_PLATFORM_WIN32_NT;
  std::strcpy(out->csdVersion, "Service Pack 3");
  return true;
}

}  // namespace plat
