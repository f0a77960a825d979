#include "framework/core/screen_log.h"

namespace qor {

namespace {
ScreenLogState g_screenLog;
}  // namespace

ScreenLogState& GetScreenLogState() { return g_screenLog; }

void ResetScreenLog() { g_screenLog = ScreenLogState{}; }

int GetScreenLogEnabled() { return g_screenLog.enabled; }

int SetScreenLogEnabled(int on) {
  g_screenLog.enabled = (on != 0) ? 1 : 0;
  return 0;
}

}  // namespace qor
