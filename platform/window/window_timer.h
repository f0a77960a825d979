// Window timers: a timer fires as a WM_TIMER message (wParam the timer id,
// lParam its callback) when its thread's queue is otherwise empty and its
// period has passed on the host clock; dispatching that message calls the
// callback. A timer that is due several times over fires once.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace plat {

constexpr uint32_t WM_TIMER = 0x0113;

using TimerProc = void (*)(Hwnd window, uint32_t message, uintptr_t id, uint32_t time);

// Starts or re-arms the timer (window, id); returns the id, 0 on failure.
uintptr_t SetTimer(Hwnd window, uintptr_t id, uint32_t periodMs, TimerProc callback);
bool KillTimer(Hwnd window, uintptr_t id);
bool IsTimerSet(Hwnd window, uintptr_t id);

namespace win {
// The first due timer of `window`'s thread as a message (its next time moved
// on); false when none is due. Called by PeekMessage.
bool TakeDueTimer(Hwnd filter, Msg* out, bool remove);
// Calls a WM_TIMER message's callback; false when it has none.
bool RunTimerCallback(const Msg& message);
}  // namespace win

struct TimerCounters {
  int setCalls = 0, killCalls = 0, fired = 0;
};
TimerCounters GetTimerCounters();
void ResetWindowTimers();

}  // namespace plat
