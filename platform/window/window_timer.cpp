#include "platform/window/window_timer.h"

#include <vector>

#include "platform/host/host.h"
#include "platform/kernel/thread_id.h"
#include "platform/window/window_state.h"

namespace plat {

namespace {

struct Timer {
  Hwnd window;
  uintptr_t id;
  uint32_t periodMs;
  uint32_t due;
  TimerProc callback;
};

struct TimerState {
  std::vector<Timer> timers;
  TimerCounters counters;
};

TimerState g_timers;

Timer* Find(Hwnd window, uintptr_t id) {
  for (Timer& t : g_timers.timers) {
    if (t.window == window && t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace

uintptr_t SetTimer(Hwnd window, uintptr_t id, uint32_t periodMs, TimerProc callback) {
  if (window != 0 && win::FindWindowRecord(window) == nullptr) return 0;
  ++g_timers.counters.setCalls;
  if (periodMs == 0) periodMs = 1;
  const uint32_t due = HostMillis() + periodMs;
  if (Timer* t = Find(window, id)) {
    *t = Timer{window, id, periodMs, due, callback};
  } else {
    g_timers.timers.push_back(Timer{window, id, periodMs, due, callback});
  }
  return id;
}

bool KillTimer(Hwnd window, uintptr_t id) {
  ++g_timers.counters.killCalls;
  for (size_t i = 0; i < g_timers.timers.size(); ++i) {
    if (g_timers.timers[i].window == window && g_timers.timers[i].id == id) {
      g_timers.timers.erase(g_timers.timers.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

bool IsTimerSet(Hwnd window, uintptr_t id) { return Find(window, id) != nullptr; }

namespace win {

bool TakeDueTimer(Hwnd filter, Msg* out, bool remove) {
  const uint32_t now = HostMillis();
  for (Timer& t : g_timers.timers) {
    if (filter != kAnyWindow && filter != t.window) continue;
    const WindowRecord* w = FindWindowRecord(t.window);
    if (w == nullptr || w->thread != GetCurrentThreadId()) continue;
    // Wrap-safe: due when now is not before the due time.
    if (static_cast<int32_t>(now - t.due) < 0) continue;
    *out = Msg{t.window, WM_TIMER, t.id, reinterpret_cast<LParam>(t.callback), now};
    if (remove) t.due = now + t.periodMs;
    return true;
  }
  return false;
}

bool RunTimerCallback(const Msg& message) {
  if (message.message != WM_TIMER || message.lParam == 0) return false;
  ++g_timers.counters.fired;
  reinterpret_cast<TimerProc>(message.lParam)(message.hwnd, WM_TIMER, message.wParam, message.time);
  return true;
}

}  // namespace win

TimerCounters GetTimerCounters() { return g_timers.counters; }
void ResetWindowTimers() { g_timers = TimerState{}; }

}  // namespace plat
