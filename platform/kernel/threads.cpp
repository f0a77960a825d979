#include "platform/kernel/threads.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <new>

namespace plat {

struct Thread {
  pthread_t id;
  void (*body)(void*);
  void* argument;
};

struct Event {
  pthread_mutex_t mutex;
  pthread_cond_t changed;
  bool manualReset;
  bool signalled;
};

namespace {

struct ThreadStandIn {
  std::atomic<int> live{0};
  bool failNextCreate = false;
};
ThreadStandIn g_threads;

void* RunThread(void* raw) {
  Thread* thread = static_cast<Thread*>(raw);
  thread->body(thread->argument);
  g_threads.live.fetch_sub(1);
  return nullptr;
}

timespec DeadlineAfter(int ms) {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  ts.tv_sec += ms / 1000;
  ts.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (ts.tv_nsec >= 1000000000L) {
    ts.tv_nsec -= 1000000000L;
    ts.tv_sec += 1;
  }
  return ts;
}

}  // namespace

Thread* CreateThread(void (*body)(void*), void* argument) {
  if (g_threads.failNextCreate) {
    g_threads.failNextCreate = false;
    return nullptr;
  }
  Thread* thread = new (std::nothrow) Thread{};
  if (thread == nullptr) return nullptr;
  thread->body = body;
  thread->argument = argument;
  g_threads.live.fetch_add(1);
  if (pthread_create(&thread->id, nullptr, RunThread, thread) != 0) {
    g_threads.live.fetch_sub(1);
    delete thread;
    return nullptr;
  }
  return thread;
}

void JoinThread(Thread* thread) {
  if (thread == nullptr) return;
  pthread_join(thread->id, nullptr);
  delete thread;
}

Event* CreateEvent(bool manualReset, bool initiallySignalled) {
  Event* event = new (std::nothrow) Event{};
  if (event == nullptr) return nullptr;
  pthread_condattr_t attr;
  pthread_condattr_init(&attr);
  pthread_condattr_setclock(&attr, CLOCK_MONOTONIC);
  pthread_mutex_init(&event->mutex, nullptr);
  pthread_cond_init(&event->changed, &attr);
  pthread_condattr_destroy(&attr);
  event->manualReset = manualReset;
  event->signalled = initiallySignalled;
  return event;
}

void CloseEvent(Event* event) {
  if (event == nullptr) return;
  pthread_cond_destroy(&event->changed);
  pthread_mutex_destroy(&event->mutex);
  delete event;
}

void SetEvent(Event* event) {
  pthread_mutex_lock(&event->mutex);
  event->signalled = true;
  pthread_cond_broadcast(&event->changed);
  pthread_mutex_unlock(&event->mutex);
}

void ResetEvent(Event* event) {
  pthread_mutex_lock(&event->mutex);
  event->signalled = false;
  pthread_mutex_unlock(&event->mutex);
}

int WaitEvent(Event* event, int timeoutMs) {
  pthread_mutex_lock(&event->mutex);
  const timespec deadline = DeadlineAfter(timeoutMs < 0 ? 0 : timeoutMs);
  while (!event->signalled) {
    if (timeoutMs == 0) break;
    if (timeoutMs < 0) {
      pthread_cond_wait(&event->changed, &event->mutex);
    } else if (pthread_cond_timedwait(&event->changed, &event->mutex, &deadline) == ETIMEDOUT) {
      break;
    }
  }
  const bool got = event->signalled;
  if (got && !event->manualReset) event->signalled = false;
  pthread_mutex_unlock(&event->mutex);
  return got ? 0 : 1;
}

void YieldThread() { sched_yield(); }

void SleepRealMs(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

void FailNextThreadCreate() { g_threads.failNextCreate = true; }
int LiveThreadCount() { return g_threads.live.load(); }
void ResetThreadStandIn() { g_threads.failNextCreate = false; }

}  // namespace plat
