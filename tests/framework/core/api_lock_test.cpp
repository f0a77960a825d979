// The framework-wide lock: recursion by its owner, ownership passed in
// arrival order, and release by a stranger ignored.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "framework/core/life/api_lock.h"
#include "platform/kernel/threads.h"

using namespace qor;

namespace {

struct LockScope {
  LockScope() { CloseApiLock(); }
  ~LockScope() { CloseApiLock(); }
};

int Waiters() {
  plat::EnterCriticalSection(&GetApiLockState().guard);
  const int n = GetApiLockState().waiterCount;
  plat::LeaveCriticalSection(&GetApiLockState().guard);
  return n;
}

void WaitForWaiters(int n) {
  while (Waiters() < n) plat::SleepRealMs(1);
}

TEST(ApiLock, OwnerReentersWithoutBlocking) {
  LockScope scope;
  AcquireApiLock();
  AcquireApiLock();
  AcquireApiLock();
  EXPECT_EQ(GetApiLockState().depth, 3);
  EXPECT_EQ(GetApiLockState().owner, plat::GetCurrentThreadId());
  ReleaseApiLock();
  ReleaseApiLock();
  EXPECT_EQ(GetApiLockState().held, 1);
  ReleaseApiLock();
  EXPECT_EQ(GetApiLockState().held, 0);
  EXPECT_EQ(GetApiLockState().depth, 0);
  EXPECT_EQ(GetApiLockState().owner, kNoOwner);
  // Once closed, the next acquisition makes it again.
  CloseApiLock();
  EXPECT_EQ(GetApiLockState().ready, 0);
  AcquireApiLock();
  EXPECT_EQ(GetApiLockState().ready, 1);
  ReleaseApiLock();
}

struct Arrival {
  int id = 0;
  std::mutex* mutex = nullptr;
  std::vector<int>* order = nullptr;
};

void TakeAndNote(void* raw) {
  auto* a = static_cast<Arrival*>(raw);
  AcquireApiLock();
  AcquireApiLock();  // re-entry by a thread that queued
  {
    std::lock_guard<std::mutex> lock(*a->mutex);
    a->order->push_back(a->id);
  }
  ReleaseApiLock();
  ReleaseApiLock();
}

TEST(ApiLock, WaitersGetTheLockInArrivalOrder) {
  LockScope scope;
  for (int round = 0; round < 20; ++round) {
    std::mutex mutex;
    std::vector<int> order;
    Arrival arrivals[3];
    plat::Thread* threads[3] = {};
    AcquireApiLock();
    for (int i = 0; i < 3; ++i) {
      arrivals[i] = Arrival{i, &mutex, &order};
      threads[i] = plat::CreateThread(TakeAndNote, &arrivals[i]);
      ASSERT_NE(threads[i], nullptr);
      WaitForWaiters(i + 1);  // thread i is queued before the next starts
    }
    ReleaseApiLock();
    for (plat::Thread* t : threads) plat::JoinThread(t);
    ASSERT_EQ(order, (std::vector<int>{0, 1, 2})) << "round " << round;
    EXPECT_EQ(GetApiLockState().held, 0);
    EXPECT_EQ(GetApiLockState().waiterCount, 0);
  }
}

TEST(ApiLock, ANewcomerQueuesBehindWaitersEvenWhenTheLockIsFree) {
  LockScope scope;
  std::mutex mutex;
  std::vector<int> order;
  Arrival first{1, &mutex, &order};
  AcquireApiLock();
  plat::Thread* waiter = plat::CreateThread(TakeAndNote, &first);
  WaitForWaiters(1);
  ReleaseApiLock();
  // Whether or not the waiter has run yet, this thread comes after it.
  AcquireApiLock();
  {
    std::lock_guard<std::mutex> lock(mutex);
    order.push_back(2);
  }
  ReleaseApiLock();
  plat::JoinThread(waiter);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

void ReleaseFromStranger(void*) { ReleaseApiLock(); }

TEST(ApiLock, ReleaseByAnotherThreadIsIgnored) {
  LockScope scope;
  AcquireApiLock();
  plat::Thread* t = plat::CreateThread(ReleaseFromStranger, nullptr);
  plat::JoinThread(t);
  EXPECT_EQ(GetApiLockState().held, 1);
  EXPECT_EQ(GetApiLockState().depth, 1);
  ReleaseApiLock();
}

}  // namespace
