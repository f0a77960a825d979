// The multimedia timer: a millisecond clock (the host clock, so it follows
// the headless virtual clock) and the timer-period requests, which are only
// counted here because the host clock has no coarser resolution to refine.
#pragma once

#include <cstdint>

namespace plat {

struct TimeCaps {
  uint32_t periodMin = 0;
  uint32_t periodMax = 0;
};

uint32_t timeGetTime();
bool timeGetDevCaps(TimeCaps* out);     // 1 .. 1,000,000 ms
bool timeBeginPeriod(uint32_t period);  // false outside the caps
bool timeEndPeriod(uint32_t period);    // false without a matching begin

// Sleeps on the host clock (the headless virtual clock just moves on).
void Sleep(uint32_t ms);

int TimerPeriodsHeld();  // begins not yet ended
void ResetTimerStandIn();

}  // namespace plat
