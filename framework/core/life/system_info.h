// The start-up report on the system: operating system, DirectX version,
// processor features and speed. What it finds is kept for other modules.
#pragma once

#include <cstdint>

namespace qor {

constexpr int kSystemInfoTextSize = 256;

struct SystemInfo {
  int osCode = 0;              // 0 Win32s, 1 95, 2 98, 3 Me, 260 NT 3.51, 261 NT 4, 262 2000, 263 XP, 264 Vista
  uint32_t directXVersion = 0; // 0x70000
  int mmx = 0, sse = 0, sse2 = 0;
  int cpuLevel = 0;            // 0 no CPUID, 1 CPUID only, 3 MMX, 4 SSE, 5 SSE2
  int cpuMhz = 0;
  char cpuBrand[49] = {};
  char text[kSystemInfoTextSize] = {};
};

const SystemInfo& GetSystemInfo();
void ResetSystemInfo();

int LogSystemInfo();  // 0
int IsMmxUsable();
const char* GetSystemInfoText();

}  // namespace qor
