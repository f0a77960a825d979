#include "framework/core/life/framework_status.h"

#include "framework/core/string_helpers.h"

namespace qor {

namespace {
FrameworkStatus g_status;
}  // namespace

FrameworkStatus& GetFrameworkStatus() { return g_status; }

void ResetFrameworkStatus() { g_status = FrameworkStatus{}; }

int SetStartDirectory(const char* directory) {
  char copy[kStartDirectorySize];
  if (CopyStringN(copy, sizeof copy, directory) != 0) return -1;
  CopyString(g_status.startDirectory, copy);
  return 0;
}

const char* GetStartDirectory() { return g_status.startDirectory; }

}  // namespace qor
