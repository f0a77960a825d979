// The framework-wide recursive lock that start-up, shut-down and the
// per-frame message processing take. Threads that find it taken queue up
// and get it strictly in the order they came; the owner may take it again.
#pragma once

#include <cstdint>

#include "platform/kernel/thread_id.h"
#include "platform/kernel/threads.h"

namespace qor {

constexpr int kApiLockQueueSize = 4096;
constexpr uint32_t kNoOwner = 0xFFFFFFFFu;

struct ApiLockWaiter {
  uint32_t thread = 0;
  plat::Event* event = nullptr;  // manual reset; each queue place owns one
};

struct ApiLockState {
  plat::CriticalSection guard;
  int ready = 0;
  int depth = 0;
  int held = 0;
  uint32_t owner = kNoOwner;
  int waiterCount = 0;
  ApiLockWaiter queue[kApiLockQueueSize];
};

ApiLockState& GetApiLockState();

void AcquireApiLock();
void ReleaseApiLock();
// Closes the queue's events and marks the lock not ready (a later
// acquisition makes it again). Only while nobody holds or waits.
void CloseApiLock();

}  // namespace qor
