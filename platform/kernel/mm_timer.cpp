#include "platform/kernel/mm_timer.h"

#include "platform/host/host.h"

namespace plat {

namespace {

constexpr uint32_t kPeriodMin = 1;
constexpr uint32_t kPeriodMax = 1000000;

struct TimerStandIn {
  int held = 0;
};
TimerStandIn g_timer;

}  // namespace

uint32_t timeGetTime() { return HostMillis(); }

bool timeGetDevCaps(TimeCaps* out) {
  if (out == nullptr) return false;
  out->periodMin = kPeriodMin;
  out->periodMax = kPeriodMax;
  return true;
}

bool timeBeginPeriod(uint32_t period) {
  if (period < kPeriodMin || period > kPeriodMax) return false;
  ++g_timer.held;
  return true;
}

bool timeEndPeriod(uint32_t period) {
  if (period < kPeriodMin || period > kPeriodMax || g_timer.held == 0) return false;
  --g_timer.held;
  return true;
}

void Sleep(uint32_t ms) { HostSleepMs(ms); }

int TimerPeriodsHeld() { return g_timer.held; }
void ResetTimerStandIn() { g_timer = TimerStandIn{}; }

}  // namespace plat
