#include "framework/core/life/api_lock.h"

#include "platform/kernel/threads.h"

namespace qor {

namespace {

ApiLockState g_lock;

void MakeReady() {
  for (ApiLockWaiter& w : g_lock.queue) {
    w.thread = 0;
    w.event = plat::CreateEvent(true, false);
  }
  g_lock.ready = 1;
}

// Takes the lock for the caller; the guard is held.
void Take(uint32_t self) {
  ++g_lock.depth;
  g_lock.held = 1;
  g_lock.owner = self;
}

}  // namespace

ApiLockState& GetApiLockState() { return g_lock; }

void AcquireApiLock() {
  const uint32_t self = plat::GetCurrentThreadId();
  plat::EnterCriticalSection(&g_lock.guard);
  if (!g_lock.ready) MakeReady();
  for (;;) {
    const int n = g_lock.waiterCount;
    if (!g_lock.held) {
      if (n == 0 || g_lock.owner == self) {
        Take(self);
        break;
      }
      if (g_lock.queue[0].thread == self) {
        // The head of the queue leaves it; its event goes to the free end.
        plat::Event* event = g_lock.queue[0].event;
        for (int i = 1; i < n; ++i) g_lock.queue[i - 1] = g_lock.queue[i];
        g_lock.queue[n - 1] = ApiLockWaiter{0, event};
        g_lock.waiterCount = n - 1;
        Take(self);
        break;
      }
    } else if (g_lock.owner == self) {
      Take(self);
      break;
    }
    // Wait on our place in the queue: the one we hold already (woken while
    // another queued thread goes first), else a new one at the end.
    plat::Event* event = nullptr;
    for (int i = 0; i < n; ++i) {
      if (g_lock.queue[i].thread == self) event = g_lock.queue[i].event;
    }
    if (event == nullptr && n < kApiLockQueueSize) {
      g_lock.queue[n].thread = self;
      event = g_lock.queue[n].event;
      g_lock.waiterCount = n + 1;
    }
    plat::LeaveCriticalSection(&g_lock.guard);
    if (event != nullptr) {
      plat::WaitEvent(event, -1);
      plat::ResetEvent(event);
    } else {
      plat::SleepRealMs(1);  // every place is taken: look again shortly
    }
    plat::EnterCriticalSection(&g_lock.guard);
  }
  plat::LeaveCriticalSection(&g_lock.guard);
}

void ReleaseApiLock() {
  const uint32_t self = plat::GetCurrentThreadId();
  plat::EnterCriticalSection(&g_lock.guard);
  if (!g_lock.held || g_lock.owner != self) {
    plat::LeaveCriticalSection(&g_lock.guard);
    return;  // not ours: leaving it would hand someone else's lock away
  }
  plat::Event* wake = nullptr;
  if (g_lock.depth == 1) {
    g_lock.held = 0;
    g_lock.owner = kNoOwner;
    if (g_lock.waiterCount >= 1) wake = g_lock.queue[0].event;
  }
  --g_lock.depth;
  plat::LeaveCriticalSection(&g_lock.guard);
  if (wake != nullptr) {
    plat::SetEvent(wake);
    plat::YieldThread();
  }
}

void CloseApiLock() {
  plat::EnterCriticalSection(&g_lock.guard);
  if (g_lock.ready && !g_lock.held && g_lock.waiterCount == 0) {
    g_lock.ready = 0;
    for (ApiLockWaiter& w : g_lock.queue) {
      plat::CloseEvent(w.event);
      w = ApiLockWaiter{};
    }
    g_lock.depth = 0;
    g_lock.owner = kNoOwner;
  }
  plat::LeaveCriticalSection(&g_lock.guard);
}

}  // namespace qor
