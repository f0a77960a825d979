#include "platform/kernel/thread_id.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace plat {

uint32_t GetCurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

void EnterCriticalSection(CriticalSection* section) { section->mutex.lock(); }
void LeaveCriticalSection(CriticalSection* section) { section->mutex.unlock(); }

}  // namespace plat
