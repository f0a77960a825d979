// What the framework's start-up report asks of the machine: physical memory,
// the processor's identification, the module instance, and the way out of
// the process.
#pragma once

#include <cstdint>

namespace plat {

struct MemoryStatus {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
};
void GlobalMemoryStatus(MemoryStatus* out);

// The processor as the identification instruction describes it. On a
// processor without that instruction every field stays zero or empty.
struct CpuIdentity {
  bool cpuidUsable = false;
  char vendor[13] = {};     // 12 characters
  char brand[49] = {};      // up to 48 characters, empty when not reported
  bool timeStampCounter = false;
  bool mmx = false, sse = false, sse2 = false;
};
void QueryCpuIdentity(CpuIdentity* out);

// A non-zero value standing for the running program.
uintptr_t GetModuleHandle();

// Ends the process at once with the code (only its low 8 bits reach the
// parent on this system); standard output and error are flushed first.
[[noreturn]] void ExitProcess(int code);

}  // namespace plat
