// Thread identities and the short internal lock, as the framework's
// serialisation code uses them.
#pragma once

#include <cstdint>
#include <mutex>

namespace plat {

// The calling thread's identity: non-zero, unique among live threads, never
// the all-ones value the framework uses for "nobody".
uint32_t GetCurrentThreadId();

// A short lock held only for a few instructions (not recursive).
struct CriticalSection {
  std::mutex mutex;
};
void EnterCriticalSection(CriticalSection* section);
void LeaveCriticalSection(CriticalSection* section);

}  // namespace plat
