#include "framework/core/life/system_info.h"

#include <cstring>

#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/string_helpers.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/os_version.h"
#include "platform/kernel/system_query.h"

namespace qor {

namespace {

SystemInfo g_info;

constexpr uint32_t kSpeedSampleMillis = 100;

// The name after "Windows" and the system's code; an unknown combination
// keeps "Windows" alone and the code as it was.
void NameSystem(const plat::OsVersionInfo& v, char* name, size_t capacity) {
  CopyStringN(name, capacity, "Windows");
  const char* add = nullptr;
  const char* extra = nullptr;
  if (v.platformId == plat::VER_PLATFORM_WIN32s) {
    add = "3.1";
    g_info.osCode = 0;
  } else if (v.platformId == plat::VER_PLATFORM_WIN32_WINDOWS) {
    if (v.minorVersion == 0) {
      add = "95";
      if (v.csdVersion[0] == 'C') extra = "OSR2";
      g_info.osCode = 1;
    } else if (v.minorVersion == 10) {
      add = "98";
      if (v.csdVersion[0] == 'A') extra = "SE";
      g_info.osCode = 2;
    } else if (v.minorVersion == 90) {
      add = "Me";
      g_info.osCode = 3;
    }
  } else if (v.platformId == plat::VER_PLATFORM_WIN32_NT) {
    if (v.majorVersion == 3) {
      add = "NT 3.51";
      g_info.osCode = 260;
    } else if (v.majorVersion == 4) {
      add = "4.0";
      g_info.osCode = 261;
    } else if (v.majorVersion == 5 && v.minorVersion == 0) {
      add = "2000";
      g_info.osCode = 262;
    } else if (v.majorVersion == 5 && v.minorVersion == 1) {
      add = "XP";
      g_info.osCode = 263;
    } else if (v.majorVersion == 6) {
      add = "Vista";
      g_info.osCode = 264;
    }
  }
  if (add != nullptr) {
    AppendStringN(name, capacity, " ");
    AppendStringN(name, capacity, add);
  }
  if (extra != nullptr) {
    AppendStringN(name, capacity, " ");
    AppendStringN(name, capacity, extra);
  }
}

void MeasureSpeed() {
  FrameworkStatus& status = GetFrameworkStatus();
  const uint64_t before = plat::ReadTimeStampCounter();
  const uint32_t start = plat::timeGetTime();
  while (plat::timeGetTime() - start < kSpeedSampleMillis) {
  }
  const uint64_t ticks = plat::ReadTimeStampCounter() - before;
  g_info.cpuMhz = static_cast<int>(static_cast<double>(ticks) * 0.00001);
  status.timeStampTicksPerSecond = static_cast<int64_t>(ticks * 10);
  LogPrintf("ＣＰＵ動作速度：大体%.2fGHz", g_info.cpuMhz * 0.001);
}

}  // namespace

const SystemInfo& GetSystemInfo() { return g_info; }
void ResetSystemInfo() { g_info = SystemInfo{}; }

int LogSystemInfo() {
  FrameworkStatus& status = GetFrameworkStatus();
  LogOutput("システムの情報を出力します\n");
  IncreaseLogIndent();
  LogPrintf("Qorlib Ver%s", "2.25b");

  LogOutput("ＯＳ  ");
  plat::OsVersionInfo version;
  plat::GetVersionEx(&version);
  char name[64];
  NameSystem(version, name, sizeof name);
  FormatString(g_info.text, sizeof g_info.text, "%s ( Build %d %s )", name, static_cast<int>(version.buildNumber),
               version.csdVersion);
  LogPrintf("%s", g_info.text);

  g_info.directXVersion = 0x70000;

  plat::TimeCaps caps;
  if (plat::timeGetDevCaps(&caps)) status.timerPeriod = static_cast<int>(caps.periodMin);
  if (plat::timeBeginPeriod(static_cast<uint32_t>(status.timerPeriod))) ++status.timerPeriodsBegun;

  plat::CpuIdentity cpu;
  plat::QueryCpuIdentity(&cpu);
  g_info.cpuLevel = 0;
  if (cpu.cpuidUsable) {
    g_info.cpuLevel = 1;
    if (cpu.mmx) g_info.cpuLevel = 3;
    if (cpu.mmx && cpu.sse) g_info.cpuLevel = 4;
    if (cpu.mmx && cpu.sse && cpu.sse2) g_info.cpuLevel = 5;
  }
  status.timeStampCounter = cpu.timeStampCounter ? 1 : 0;
  if (cpu.timeStampCounter) MeasureSpeed();

  switch (g_info.cpuLevel) {
    case 0: LogOutput("ＣＰＵＩＤ命令は使えません\n"); break;
    case 1: LogOutput("ＭＭＸは使えません\n"); break;
    default:
      LogOutput("ＭＭＸ命令を使用します\n");
      g_info.mmx = 1;
      if (g_info.cpuLevel >= 4) {
        LogOutput("ＳＳＥ命令が使用可能です\n");
        g_info.sse = 1;
      }
      if (g_info.cpuLevel >= 5) {
        LogOutput("ＳＳＥ２命令が使用可能です\n");
        g_info.sse2 = 1;
      }
      break;
  }

  if (cpu.cpuidUsable) {
    LogOutput("ＣＰＵベンダ：");
    for (int piece = 0; piece < 3; ++piece) {
      char part[5] = {};
      std::memcpy(part, cpu.vendor + piece * 4, 4);
      LogOutput(part);
    }
    LogOutput("\n");
    if (cpu.brand[0] != '\0') {
      CopyStringN(g_info.cpuBrand, sizeof g_info.cpuBrand, cpu.brand);
      LogPrintf("ＣＰＵ名：%s", g_info.cpuBrand);
    }
  }
  DecreaseLogIndent();
  return 0;
}

// The software renderer's blend results do not follow this flag: they are
// the same on every machine.
int IsMmxUsable() { return g_info.mmx; }

const char* GetSystemInfoText() { return g_info.text; }

}  // namespace qor
