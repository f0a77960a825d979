#include "platform/kernel/thread_id.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace plat {
namespace {

// Every framework call asks for its thread's identity (the call lock): the
// kernel is asked once per thread. A forked child's one thread is a new
// thread with the parent's copy of this value, so the child asks again.
thread_local uint32_t t_threadId = 0;

void ForgetThreadIdInChild() { t_threadId = 0; }

}  // namespace

uint32_t GetCurrentThreadId() {
  if (t_threadId == 0) {
    static const int registered = pthread_atfork(nullptr, nullptr, ForgetThreadIdInChild);
    (void)registered;
    t_threadId = static_cast<uint32_t>(syscall(SYS_gettid));
  }
  return t_threadId;
}

void EnterCriticalSection(CriticalSection* section) { section->mutex.lock(); }
void LeaveCriticalSection(CriticalSection* section) { section->mutex.unlock(); }

}  // namespace plat
