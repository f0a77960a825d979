// Start-up and shut-down in their fixed order, and the three public
// operations around them.
#include "framework/core/life/framework_life.h"

#include "framework/core/life/api_lock.h"
#include "framework/core/archives/archive.h"
#include "framework/core/files/file_access.h"
#include "framework/core/life/framework_status.h"
#include "framework/core/input/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/memory.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/screen_log.h"
#include "framework/core/life/system_info.h"
#include "framework/core/input/text_input.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_system.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/com.h"
#include "platform/window/display_settings.h"

namespace qor {

namespace {

// Ends what start-up has begun and reports the failure.
int FailStartup() {
  EndFrameworkCore();
  GetFrameworkStatus().initialising = 0;
  return -1;
}

}  // namespace

int InitCom() {
  FrameworkStatus& status = GetFrameworkStatus();
  if (status.comStarted) return -1;
  LogOutput("ＣＯＭの初期化... ");
  if (plat::CoInitialize() >= 0) {
    LogOutput("成功しました\n");
    status.comStarted = 1;
    return 0;
  }
  LogOutput("ＣＯＭの初期化に失敗しました\n");
  return -1;
}

int InitFrameworkCore() {
  FrameworkStatus& status = GetFrameworkStatus();
  ModuleHooks& hooks = GetModuleHooks();
  if (status.initialised) return 0;
  status.initialising = 1;
  status.ending = 0;
  hooks.applyDirect3DOffOption();
  hooks.buildYuvTables();
  ResetArchiveTables();
  SetFileAccessTable(nullptr);
  char directory[kStartDirectorySize];
  if (GetCurrentDirDispatch(directory, sizeof directory) > 0) SetStartDirectory(directory);
  OpenLogFile();

  if (!status.noWindow) {
    const bool windowed = IsWindowedMode() != 0;
    if ((plat::GetScreenColorBits() == 24 && windowed) || hooks.requestedScreenDepth() == 24) {
      LogOutput("Qorlibは２４ビットカラーモードに対応していません\n");
      status.initialising = 0;
      return -1;
    }
  }

  status.counterFrequency = plat::QueryPerformanceFrequency();
  status.highResCounter = status.counterFrequency != 0 ? 1 : 0;
  LogSystemInfo();
  if (GetSystemInfo().osCode == 264) hooks.setTempPrimaryOption(1);
  InitStreamTables();
  hooks.installDefaultRestoreHandler();
  if (InitCom() != 0) return FailStartup();
  if (CreateMainWindow() != 0) return FailStartup();
  hooks.clearHttpTable();
  if (!status.noInput && InitInputDevices() != 0) return FailStartup();
  if (!status.noSound) {
    SetSoundMessagePump(PumpMessages);
    InitDirectSound();  // a machine without sound runs silent
  }
  if (!status.noGraphics && hooks.initGraphics() < 0) return FailStartup();
  InitCharCodeBuffer();
  status.initialised = 1;
  hooks.setVSyncOnPresent(1);
  if (!IsWindowedMode() && !status.userWindow) ForceForegroundWindow(GetFrameWindowHandle(), 1);
  hooks.initScreenLog();
  hooks.selectStartupDrawTargets();
  if (!status.noGraphics) hooks.warmGraphPaths();
  status.initialising = 0;
  return 0;
}

int EndFrameworkCore() {
  FrameworkStatus& status = GetFrameworkStatus();
  ModuleHooks& hooks = GetModuleHooks();
  // A start-up that fails half-way ends what it began, so shut-down also
  // runs while start-up is still under way.
  if (!status.initialised && !status.initialising) return 0;
  status.ending = 1;
  const bool hadWindow = GetFrameWindowHandle() != 0;

  ScreenLogState& screenLog = GetScreenLogState();
  if (screenLog.setUp) {
    if (screenLog.fontHandle != -1) hooks.deleteFont(screenLog.fontHandle);
    screenLog.fontHandle = -1;
    screenLog.setUp = 0;
  }
  hooks.closeAllHttpHandles();
  hooks.endNetwork();
  EndTemporaryPlayback();
  // Movies still open end here, while the display they draw into lives:
  // their decode threads must not outlive the framework (nor run while the
  // allocator reports what is left).
  CloseAllMovies();
  hooks.endScreenAndGraphics();
  EndInputDevices();
  EndDirectSound();
  CloseMainWindow();
  if (status.comStarted) {
    plat::CoUninitialize();
    LogOutput("ＣＯＭを終了... 完了\n");
    status.comStarted = 0;
  }
  hooks.deleteAllSoftImages();
  status.initialised = 0;
  // The last messages of a window that existed; without one there is
  // nothing to wait for.
  if (!status.noWindow && hadWindow) {
    while (PumpMessages() == 0 && !IsQuitRequested() && GetFrameWindowHandle() != 0) {
    }
  }
  SetCurrentDirDispatch(GetStartDirectory());
  ReleaseUnusedArchives();
  DumpAllocations();
  return 0;
}

int InitFramework() {
  if (GetFrameworkStatus().initialised) return 0;
  AcquireApiLock();
  const int result = InitFrameworkCore();
  ReleaseApiLock();
  return result;
}

int EndFramework() {
  if (!GetFrameworkStatus().initialised) return 0;
  AcquireApiLock();
  EndFrameworkCore();
  ReleaseApiLock();
  CloseApiLock();
  return 0;
}

int ProcessFrameMessages() {
  AcquireApiLock();
  const int result = PumpMessages();
  ReleaseApiLock();
  return result;
}

}  // namespace qor
