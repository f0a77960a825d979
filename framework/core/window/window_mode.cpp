// Windowed and full-screen mode, window style and size, the cursor, and
// bringing the window to the front.
#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/module_hooks.h"
#include "platform/kernel/mm_timer.h"

namespace qor {

namespace {

using namespace plat;

// How long a mode switch waits for the display to report its change; a
// desktop already in the wanted mode may never report one.
constexpr uint32_t kDisplayChangeWaitMillis = 2000;
constexpr int kNearTopPixels = 60;

uint32_t WindowedStyle() {
  const WindowSettings& set = GetMainWindowState().settings;
  uint32_t style = GetWindowStyleSet(set.styleNumber).windowed;
  if (set.toggleAllowed) style |= WS_MAXIMIZEBOX;
  if (set.windowedStyleVisible) style |= WS_VISIBLE;
  if (set.sizeChangeAllowed) style |= WS_THICKFRAME;
  return style;
}

}  // namespace

void GetScreenSize(int* width, int* height) {
  int bits = 0;
  GetModuleHooks().getScreenMode(width, height, &bits);
}

void TakeClientRect() {
  MainWindowState& s = GetMainWindowState();
  Rect c;
  GetClientRect(s.window, &c);
  Point origin;
  ClientToScreen(s.window, &origin);
  s.clientRect = Rect{origin.x, origin.y, origin.x + c.right, origin.y + c.bottom};
}

Rect GetWindowedFrameRect(uint32_t style, uint32_t exStyle) {
  const MainWindowState& s = GetMainWindowState();
  int cw = 0, ch = 0;
  GetWindowedClientSize(&cw, &ch);
  Rect r{0, 0, cw, ch};
  AdjustWindowRectEx(&r, style, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = (s.desktopWidth - w) / 2, y = (s.desktopHeight - h) / 2;
  if (s.settings.fixedPositionOn) {
    x = s.settings.fixedX;
    y = s.settings.fixedY;
  }
  return Rect{x, y, x + w, y + h};
}

void GetWindowedClientSize(int* width, int* height) {
  const WindowSettings& set = GetMainWindowState().settings;
  if (set.fixedSizeOn) {
    *width = set.fixedWidth;
    *height = set.fixedHeight;
    return;
  }
  int sw = 0, sh = 0;
  GetScreenSize(&sw, &sh);
  const double scale = GetWindowScaleFactor();
  *width = static_cast<int>(sw * scale);
  *height = static_cast<int>(sh * scale);
}

int SwitchWindowMode(int windowed) {
  MainWindowState& s = GetMainWindowState();
  windowed = windowed != 0 ? 1 : 0;
  LogOutput("SwitchWindowMode実行 \n");
  if (windowed == s.settings.windowed) return 0;
  s.settings.windowedStyleVisible = 1;
  s.displayChangeSeen = 0;
  StoreWindowModeFlag(windowed);
  if (s.window == 0) return 0;
  s.modeChanging = 1;
  ApplyWindowStyle();
  const int result = GetModuleHooks().switchScreenMode(1);
  const uint32_t start = timeGetTime();
  while (!s.displayChangeSeen) {
    if (PumpMessages() != 0) break;
    if (timeGetTime() - start >= kDisplayChangeWaitMillis) break;
    Sleep(1);
  }
  s.modeChanging = 0;
  return result;
}

void StoreWindowModeFlag(int windowed) {
  GetMainWindowState().settings.windowed = windowed != 0 ? 1 : 0;
  LogOutput(windowed != 0 ? "ウインドウモードフラグが立てられました\n" : "ウインドウモードフラグが倒されました\n");
}

void ApplyWindowStyle() {
  MainWindowState& s = GetMainWindowState();
  if (s.window == 0) return;
  const WindowStyleSet styles = GetWindowStyleSet(s.settings.styleNumber);
  int sw = 0, sh = 0;
  GetScreenSize(&sw, &sh);
  if (!s.settings.windowed) {
    LogOutput("ウインドウスタイルをフルスクリーンモード用に変更します... ");
    SetWindowStyle(s.window, styles.fullScreen, styles.fullScreenEx);
    s.clientRect = Rect{0, 0, sw, sh};
    ShowWindow(s.window, SW_SHOW);
    UpdateWindow(s.window);
    SetWindowPos(s.window, HWND_TOPMOST, 0, 0, sw, sh, 0);
    RequestCursorDisplay(0);
  } else {
    LogOutput("ウインドウスタイルをウインドウモード用に変更します... ");
    const uint32_t style = WindowedStyle();
    SetWindowStyle(s.window, style, styles.windowedEx);
    const Rect r = GetWindowedFrameRect(style, styles.windowedEx);
    SetWindowPos(s.window, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
    TakeClientRect();
    // A window whose client area starts off the desktop moves back onto it.
    const int dx = s.clientRect.left < 0 ? -s.clientRect.left : 0;
    const int dy = s.clientRect.top < 0 ? -s.clientRect.top : 0;
    if (dx != 0 || dy != 0) {
      SetWindowPos(s.window, 0, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      TakeClientRect();
    }
    RequestCursorDisplay(1);
  }
  LogOutput("完了\n");
  SetActiveWindow(s.window);
  PostMessage(s.window, WM_SETCURSOR, static_cast<WParam>(s.window), 0);
}

void ApplyWindowSize() {
  MainWindowState& s = GetMainWindowState();
  WindowSettings& set = s.settings;
  if (GetFrameworkStatus().userWindow || s.window == 0) return;
  const double scale = set.windowed ? GetWindowScaleFactor() : 1.0;
  int sw = 0, sh = 0;
  GetScreenSize(&sw, &sh);
  int cw = static_cast<int>(sw * scale), ch = static_cast<int>(sh * scale);
  if (set.fixedSizeOn) {
    if (set.fixedWidth < cw) cw = set.fixedWidth;
    if (set.fixedHeight < ch) ch = set.fixedHeight;
  }
  const uint32_t style = GetWindowStyle(s.window);
  const WindowStyleSet styles = GetWindowStyleSet(set.styleNumber);
  Rect r{0, 0, cw, ch};
  AdjustWindowRectEx(&r, style, set.windowed ? styles.windowedEx : styles.fullScreenEx);
  Rect now;
  GetWindowRect(s.window, &now);
  int x = now.left, y = now.top;
  if (set.fixedPositionOn) {
    x = set.fixedX;
    y = set.fixedY;
  }
  if (!GetFrameworkStatus().initialising) set.fixedSizeOn = set.fixedPositionOn = 0;
  MoveWindow(s.window, x, y, r.right - r.left, r.bottom - r.top);
  if (set.windowed && !s.windowStyleApplied) {
    s.windowStyleApplied = 1;
    ApplyWindowStyle();
  }
}

int RequestCursorDisplay(int request) {
  MainWindowState& s = GetMainWindowState();
  s.cursorRequest = request;
  // Without a menu bar only an explicit request shows the cursor.
  const int shown = request == 1 ? 1 : 0;
  if (shown != s.cursorShown) {
    s.cursorShown = shown;
    if (shown) {
      SetCursor(CursorShape::Arrow);
      while (ShowCursor(true) < 0) {
      }
    } else {
      SetCursor(CursorShape::None);
      while (ShowCursor(false) >= 0) {
      }
    }
    if (s.window != 0) PostMessage(s.window, WM_SETCURSOR, static_cast<WParam>(s.window), 0);
  }
  return 0;
}

void UpdateFullScreenMenu() {
  MainWindowState& s = GetMainWindowState();
  if (s.settings.windowed || s.window == 0) return;
  Point p;
  GetCursorPos(&p);
  s.mouseNearTop = p.y < kNearTopPixels ? 1 : 0;
  GetModuleHooks().refreshGdiPresentation();
  RequestCursorDisplay(s.cursorRequest);
}

// The foreground lock keeps another program's window in front: the input of
// its thread is joined to the window's and the lock is lifted for the one
// call. The top-most request is not given SWP_NOZORDER, which would make the
// window system ignore it.
void ForceForegroundWindow(Hwnd window, int topMost) {
  const uint32_t front = GetWindowThreadId(GetForegroundWindow());
  const uint32_t own = GetWindowThreadId(window);
  const bool joined = AttachThreadInput(front, own, true);
  const uint32_t lockTimeout = GetForegroundLockTimeout();
  SetForegroundLockTimeout(0);
  SetForegroundWindow(window);
  SetForegroundLockTimeout(lockTimeout);
  if (joined) AttachThreadInput(front, own, false);
  if (topMost) SetWindowPos(GetMainWindowState().window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace qor
