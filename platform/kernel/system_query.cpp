#include "platform/kernel/system_query.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace plat {

void GlobalMemoryStatus(MemoryStatus* out) {
  *out = MemoryStatus{};
  struct sysinfo info{};
  if (sysinfo(&info) != 0) return;
  const uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
  out->totalPhysical = static_cast<uint64_t>(info.totalram) * unit;
  out->availablePhysical = (static_cast<uint64_t>(info.freeram) + info.bufferram) * unit;
}

void QueryCpuIdentity(CpuIdentity* out) {
  *out = CpuIdentity{};
#if defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(0, &a, &b, &c, &d) == 0) return;
  out->cpuidUsable = true;
  std::memcpy(out->vendor, &b, 4);
  std::memcpy(out->vendor + 4, &d, 4);
  std::memcpy(out->vendor + 8, &c, 4);
  if (__get_cpuid(1, &a, &b, &c, &d) != 0) {
    out->timeStampCounter = (d & (1u << 4)) != 0;
    out->mmx = (d & (1u << 23)) != 0;
    out->sse = (d & (1u << 25)) != 0;
    out->sse2 = (d & (1u << 26)) != 0;
  }
  if (static_cast<unsigned>(__get_cpuid_max(0x80000000u, nullptr)) >= 0x80000004u) {
    unsigned words[12] = {};
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
      __get_cpuid(0x80000002u + leaf, &words[leaf * 4], &words[leaf * 4 + 1], &words[leaf * 4 + 2],
                  &words[leaf * 4 + 3]);
    }
    std::memcpy(out->brand, words, 48);
    out->brand[48] = '\0';
  }
#endif
}

uintptr_t GetModuleHandle() { return 0x400000; }

void ExitProcess(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(code & 0xFF);
}

}  // namespace plat
