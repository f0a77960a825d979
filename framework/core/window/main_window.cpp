// Creating and closing the main window, and the window settings and state
// the rest of the framework reads.
#include "framework/core/window/main_window.h"

#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/random_numbers.h"
#include "framework/core/string_helpers.h"
#include "framework/core/input/text_input.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/system_query.h"
#include "platform/kernel/thread_id.h"
#include "platform/window/display_settings.h"
#include "platform/window/ime.h"

namespace qor {

namespace {

MainWindowState g_window;

constexpr WindowStyleSet kStyles[kWindowStyleCount] = {
    {0x80CA0000u, 0x300, 0x80000000u, 0x8}, {0x80080000u, 0x300, 0x80000000u, 0x8},
    {0x80080000u, 0x0, 0x80000000u, 0x8},   {0x80CA0000u, 0x80, 0x80000000u, 0x8},
    {0x80080000u, 0x80, 0x80000000u, 0x8},  {0x80C80000u, 0x100, 0x0, 0x0},
    {0x80CA0000u, 0x300, 0x0, 0x0},         {0x80CB0000u, 0x0, 0x0, 0x0},
};

constexpr uint32_t kTimerCheckMillis = 1000;
constexpr int kTimerCheckChanges = 60;
constexpr uint32_t kSettleMillis = 200;

// Which clock changes more often: logs both counts and clears the
// high-resolution flag when the millisecond timer wins.
void CheckTimerPrecision() {
  FrameworkStatus& status = GetFrameworkStatus();
  LogOutput("タイマーの精度を検査します\n");
  int msChanges = 0, counterChanges = 0;
  const uint32_t start = plat::timeGetTime();
  uint32_t lastMs = start;
  int64_t lastCounter = plat::QueryPerformanceCounter();
  for (;;) {
    const uint32_t ms = plat::timeGetTime();
    const int64_t counter = plat::QueryPerformanceCounter();
    if (ms != lastMs) ++msChanges;
    if (counter != lastCounter) ++counterChanges;
    lastMs = ms;
    lastCounter = counter;
    if (ms - start >= kTimerCheckMillis) break;
    if (msChanges >= kTimerCheckChanges || counterChanges >= kTimerCheckChanges) break;
    if (PumpMessages() != 0) break;
  }
  LogPrintf("精度結果 更新回数 マルチメディアタイマー：%d  パフォーマンスカウンター：%d", msChanges, counterChanges);
  if (msChanges > counterChanges) {
    LogPrintf("マルチメディアタイマーを使用します タイマー分解能 : %d.00 ms ", status.timerPeriod);
    status.highResCounter = 0;
  } else {
    LogPrintf("パフォーマンスカウンターを使用します タイマー分解能 : %lf KHz ",
              static_cast<double>(status.counterFrequency) / 1000.0);
  }
}

// Every timer-period request start-up made is ended once.
void EndTimerPeriods() {
  FrameworkStatus& status = GetFrameworkStatus();
  while (status.timerPeriodsBegun > 0) {
    plat::timeEndPeriod(static_cast<uint32_t>(status.timerPeriod));
    --status.timerPeriodsBegun;
  }
}

int CreateFrameworkWindow() {
  MainWindowState& s = g_window;
  WindowSettings& set = s.settings;
  s.creating = 1;
  LogOutput("ウインドウクラスを登録します... ");
  if (!plat::RegisterClass(set.className, MainWindowProc)) {
    s.quit = 1;
    LogOutput("ウインドウクラスの登録に失敗しました\n");
    return -1;
  }
  LogOutput("登録に成功しました\n");
  if (set.title[0] == '\0') CopyString(set.title, "Qorlib");
  const WindowStyleSet styles = GetWindowStyleSet(set.styleNumber);
  if (set.windowed) {
    LogOutput("ウインドウモード起動用のウインドウを作成します\n");
    const plat::Rect r = GetWindowedFrameRect(styles.windowed, styles.windowedEx);
    s.window = plat::CreateWindowEx(styles.windowedEx, set.className, set.title, styles.windowed, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top);
  } else {
    LogOutput("フルスクリーンモード用のウインドウを作成します\n");
    int sw = 0, sh = 0;
    GetScreenSize(&sw, &sh);
    s.window = plat::CreateWindowEx(styles.fullScreenEx, set.className, set.title, styles.fullScreen, 0, 0, sw, sh);
  }
  if (s.window == 0) {
    s.quit = 1;
    LogOutput("ウインドウの作成に失敗しました\n");
    plat::UnregisterClass(set.className);
    s.creating = 0;
    return -1;
  }
  LogOutput("ウインドウの作成に成功しました\n");
  plat::ShowWindow(s.window, plat::SW_SHOW);
  plat::UpdateWindow(s.window);
  s.closing = s.destroyed = 0;
  s.active = 1;
  if (!set.windowed) {
    LogOutput("カーソルを不可視にしました\n");
    plat::SetCursor(plat::CursorShape::None);
  }
  LogOutput("ＩＭＥを無効にしました\n");
  plat::WINNLSEnableIME(s.window, false);
  if (set.windowed) TakeClientRect();
  return 0;
}

}  // namespace

MainWindowState& GetMainWindowState() { return g_window; }
void ResetMainWindow() { g_window = MainWindowState{}; }

WindowStyleSet GetWindowStyleSet(int styleNumber) {
  if (styleNumber < 0 || styleNumber >= kWindowStyleCount) styleNumber = 0;
  return kStyles[styleNumber];
}

int CreateMainWindow() {
  MainWindowState& s = g_window;
  FrameworkStatus& status = GetFrameworkStatus();
  const WindowSettings kept = s.settings;
  s = MainWindowState{};
  s.settings = kept;
  WindowSettings& set = s.settings;
  if (set.className[0] == '\0') CopyString(set.className, set.title[0] != '\0' ? set.title : "D123987X");
  s.instance = plat::GetModuleHandle();
  s.mainThread = plat::GetCurrentThreadId();

  plat::MemoryStatus memory;
  plat::GlobalMemoryStatus(&memory);
  LogPrintf("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ", static_cast<double>(memory.totalPhysical) / 1048576.0,
            static_cast<double>(memory.availablePhysical) / 1048576.0);
  s.desktopWidth = plat::GetSystemMetrics(plat::SM_CXSCREEN);
  s.desktopHeight = plat::GetSystemMetrics(plat::SM_CYSCREEN);
  s.desktopBits = plat::GetScreenColorBits();

  status.counterFrequency = plat::QueryPerformanceFrequency();
  status.highResCounter = status.counterFrequency != 0 ? 1 : 0;
  plat::TimeCaps caps;
  if (plat::timeGetDevCaps(&caps)) status.timerPeriod = static_cast<int>(caps.periodMin);
  if (plat::timeBeginPeriod(static_cast<uint32_t>(status.timerPeriod))) ++status.timerPeriodsBegun;
  if (status.highResCounter) CheckTimerPrecision();
  SeedRandomNumber(plat::timeGetTime());
  plat::SetScreenSaverActive(false);

  if (!status.noWindow) {
    LogOutput("ソフトの二重起動検査... ");
    if (plat::FindWindow(set.className) != 0) {
      if (set.doubleLaunchPolicy == 0) {
        LogOutput("二重起動されています、ソフトを終了します\n");
        s.quit = 1;
        return -1;
      }
      LogOutput("二重起動されていますが続行します\n");
    } else {
      LogOutput("二重起動はされていませんでした\n");
    }
  }

  if (!status.userWindow) {
    if (CreateFrameworkWindow() != 0) return -1;
  }

  s.charSet = plat::GetOEMCP() == 949 ? 2 : 1;
  RequestCursorDisplay(set.windowed ? 1 : 0);
  s.endingMark = 0;

  if (!status.userWindow) {
    plat::BringWindowToTop(s.window);
    const uint32_t start = plat::timeGetTime();
    while (plat::timeGetTime() - start < kSettleMillis) {
      if (PumpMessages() != 0) break;
    }
    ApplyWindowSize();
    s.creating = 0;
  }
  return 0;
}

int CloseMainWindow() {
  MainWindowState& s = g_window;
  FrameworkStatus& status = GetFrameworkStatus();
  if (s.window == 0) {
    EndTimerPeriods();  // start-up took them before any window existed
    return 0;
  }
  plat::SetScreenSaverActive(true);
  if (!status.noWindow) {
    plat::WINNLSEnableIME(s.window, true);
    RequestCursorDisplay(1);
  }
  if (!status.userWindow) {
    PostCloseOnce();
    // Until WM_DESTROY has set the quit flag; a window that is already gone
    // has nothing left to send.
    while (PumpMessages() == 0) {
      if (!plat::IsWindow(s.window)) break;
    }
    plat::UnregisterClass(s.settings.className);
  } else {
    s.quit = 1;
  }
  DeleteAllTextInputHandles();
  EndTimerPeriods();
  s.window = 0;
  return 0;
}

void PostCloseOnce() {
  MainWindowState& s = g_window;
  if (s.closing || s.window == 0) return;
  s.closing = 1;
  plat::PostMessage(s.window, plat::WM_CLOSE, 0, 0);
}

int ApplyWindowTitle(const char* text) {
  WindowSettings& set = g_window.settings;
  CopyStringN(set.title, sizeof set.title, text ? text : "");
  if (g_window.window != 0) plat::SetWindowText(g_window.window, set.title);
  return 0;
}

int SetDoubleLaunchPolicy(int policy) {
  g_window.settings.doubleLaunchPolicy = policy;
  return 0;
}

int IsWindowedMode() { return g_window.settings.windowed; }
int IsWindowActive() { return g_window.active; }
int IsQuitRequested() { return g_window.quit; }
int IsWindowClosing() { return g_window.closing; }
plat::Hwnd GetFrameWindowHandle() { return g_window.window; }

double GetWindowScaleFactor() {
  // A factor that is not positive would make no window at all.
  if (!(g_window.settings.scale > 0.0)) g_window.settings.scale = 1.0;
  return g_window.settings.scale;
}

void GetDesktopModeInfo(int* width, int* height, int* bits) {
  const MainWindowState& s = g_window;
  if (s.window == 0 && s.desktopWidth == 0) {
    *width = plat::GetSystemMetrics(plat::SM_CXSCREEN);
    *height = plat::GetSystemMetrics(plat::SM_CYSCREEN);
    *bits = plat::GetScreenColorBits();
    return;
  }
  *width = s.desktopWidth;
  *height = s.desktopHeight;
  *bits = s.desktopBits;
}

void GetDrawAreaRect(plat::Rect* out) { *out = g_window.clientRect; }

void ReadMousePosition(int* x, int* y) {
  plat::Point p;
  plat::GetCursorPos(&p);
  if (g_window.settings.windowed) {
    const double scale = GetWindowScaleFactor();
    *x = static_cast<int>((p.x - g_window.clientRect.left) / scale);
    *y = static_cast<int>((p.y - g_window.clientRect.top) / scale);
  } else {
    *x = p.x;
    *y = p.y;
  }
}

}  // namespace qor
