// The once-per-frame message processing and the wait while the window is
// inactive.
#include "framework/core/life/framework_status.h"
#include "framework/core/input/input_devices.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/input/text_input.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/thread_id.h"

namespace qor {

namespace {

constexpr int kMessagesPerPass = 5;

bool OnMainThread() { return plat::GetCurrentThreadId() == GetMainWindowState().mainThread; }

bool TreatedAsActive() {
  const MainWindowState& s = GetMainWindowState();
  return s.active || s.runWhileInactive;
}

void NoteInactivity() {
  MainWindowState& s = GetMainWindowState();
  if (!s.inactiveStarted) {
    s.inactiveStarted = 1;
    s.inactiveSince = plat::timeGetTime();
  }
}

// Takes up to five messages; the number dispatched, or -1 when the loop must
// stop because quit was already set when a message came.
int RunPass() {
  MainWindowState& s = GetMainWindowState();
  int handled = 0;
  plat::Msg m;
  while (plat::PeekMessage(&m, plat::kAnyWindow, plat::PM_REMOVE)) {
    if (m.message == plat::WM_ACTIVATEAPP && s.settings.windowed) s.active = m.wParam != 0 ? 1 : 0;
    if (s.quit) return -1;
    if (m.message == plat::WM_QUIT) {
      s.quit = 1;
    } else {
      plat::TranslateMessage(&m);
      plat::DispatchMessage(&m);
    }
    ++s.lastPumpDispatched;
    if (++handled == kMessagesPerPass) break;
  }
  return handled;
}

// The frame's services: streams, music, vibration, network and text input.
void ServiceModules() {
  MainWindowState& s = GetMainWindowState();
  const ModuleHooks& hooks = GetModuleHooks();
  hooks.refillStreamSounds();
  hooks.pollMusic();
  TickPadVibration();
  hooks.pumpNetworkWindow();
  hooks.stepHttpHandles();
  s.inTextInputStep = 1;
  ProcessTextInput();
  s.inTextInputStep = 0;
}

}  // namespace

int PumpMessages() {
  MainWindowState& s = GetMainWindowState();
  const FrameworkStatus& status = GetFrameworkStatus();
  if (s.inTextInputStep) return 0;
  s.lastPumpPasses = 0;
  s.lastPumpDispatched = 0;
  if (status.noWindow || status.userWindow) {
    ServiceModules();
    return s.quit ? -1 : 0;
  }
  if (s.window == 0) return s.quit ? -1 : 0;

  if (OnMainThread() && s.toggleRequested && s.settings.toggleAllowed) {
    s.toggleRequested = 0;
    SwitchWindowMode(s.settings.windowed ? 0 : 1);
    if (s.settings.toggleCallback) s.settings.toggleCallback(s.settings.toggleUser);
  }

  int handledLast = 1;
  for (;;) {
    if ((s.closing || TreatedAsActive()) && (handledLast == 0 || s.quit)) break;
    if (!TreatedAsActive()) {
      NoteInactivity();
      plat::Sleep(1);
    } else {
      s.inactiveStarted = 0;
    }
    ++s.lastPumpPasses;
    const int handled = RunPass();
    if (handled < 0) break;
    handledLast = handled;
    if (!TreatedAsActive()) {
      const ModuleHooks& hooks = GetModuleHooks();
      hooks.pumpNetworkWindow();
      hooks.stepHttpHandles();
      hooks.refillStreamSounds();
      hooks.drawDirectMovies();
      plat::Sleep(1);
    }
    if (s.quit || !OnMainThread()) break;
  }

  if (OnMainThread()) UpdateFullScreenMenu();
  ServiceModules();
  return s.quit ? -1 : 0;
}

void WaitWhileInactive() {
  MainWindowState& s = GetMainWindowState();
  if (s.painting || s.active || GetFrameworkStatus().userWindow) return;
  NoteInactivity();
  while (PumpMessages() == 0 && !s.active) {
  }
  GetModuleHooks().restoreAllGraphSurfaces();
}

}  // namespace qor
