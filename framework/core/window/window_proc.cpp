// The main window's procedure: close and destroy, activation, display
// changes, paint, moving and sizing, keys and characters into the character
// ring, cursor, wheel, the input-method messages and socket notifications.
#include <algorithm>
#include <cstdint>

#include "framework/core/life/framework_status.h"
#include "framework/core/input/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/input/text_input.h"
#include "framework/core/net/net_socket.h"
#include "platform/gdi/gdi.h"
#include "platform/dsound/mci.h"

namespace qor {

namespace {

using namespace plat;

void OnActivate(Hwnd window, WParam wParam) {
  MainWindowState& s = GetMainWindowState();
  if (s.creating) return;
  const ModuleHooks& hooks = GetModuleHooks();
  const FrameworkStatus& status = GetFrameworkStatus();
  s.active = LoWord(wParam) != 0 ? 1 : 0;
  const bool minimised = HiWord(wParam) != 0;
  if (s.active) {
    hooks.restoreLostSurfaces();
    if (!s.settings.windowed && status.initialised && !minimised) hooks.restoreAfterDeviceLoss();
    hooks.resumeMovies();
    ReapplyInputCooperation();
    StartImeResetSequence();
  } else if (!s.settings.windowed && hooks.isDisplayModeChanged()) {
    if (hooks.isDirectDrawUsable()) {
      hooks.releaseDirect3DObject();
    } else {
      hooks.releaseDirectDrawObject();
      ShowWindow(window, SW_MINIMIZE);
    }
    if (hooks.directDrawExists()) {
      if (!hooks.hasRestoreHandler() && !status.userWindow) {
        LogOutput("復元関数が登録されていないため終了します\n");
        PostCloseOnce();
      } else {
        hooks.pauseMovies();
      }
    }
  } else {
    hooks.pauseMovies();
    ReapplyInputCooperation();
  }
  ApplyJoypadVibration();
  if (s.settings.activationCallback) s.settings.activationCallback(s.active, s.settings.activationUser);
}

void OnDisplayChange(WParam wParam, LParam lParam) {
  MainWindowState& s = GetMainWindowState();
  // Seen even while a mode switch runs: the switch waits for exactly this.
  s.displayChangeSeen = 1;
  if (!s.settings.windowed || s.modeChanging) return;
  const ModuleHooks& hooks = GetModuleHooks();
  const int bits = static_cast<int>(wParam);
  const int width = static_cast<int>(LoWord(static_cast<uintptr_t>(lParam)));
  const int height = static_cast<int>(HiWord(static_cast<uintptr_t>(lParam)));
  int sw = 0, sh = 0, sbits = 0;
  hooks.getScreenMode(&sw, &sh, &sbits);
  if (bits == sbits && width == sw && height == sh) return;
  const bool depthOk = bits != 24 && (bits != 8 || bits == s.desktopBits);
  if (hooks.hasRestoreHandler() && depthOk && width >= sw && height >= sh) {
    hooks.releaseMovieStreams();
    hooks.restoreAfterDeviceLoss();
    hooks.resumeMovies();
  } else {
    LogOutput("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
    LogOutput("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
    PostCloseOnce();
  }
}

// One black pixel stretched over the rectangle of the window's canvas.
void FillBlack(Hwnd window, const Rect& area) {
  const Hdc dc = GetDC(window);
  if (dc == 0) return;
  BitmapInfo info;
  info.header.width = 1;
  info.header.height = 1;
  info.header.bitCount = 32;
  const uint32_t black = 0;
  StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0, 1, 1, &black, &info,
                DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(window, dc);
}

// Before start-up has finished the window shows black; afterwards the back
// screen is copied to it. A repaint never waits for the vertical blank: the
// waiting is off for the copy and then as it was (a scene that paces by
// the clock keeps it off).
void OnPaint(Hwnd window) {
  MainWindowState& s = GetMainWindowState();
  const ModuleHooks& hooks = GetModuleHooks();
  s.painting = 1;
  Rect area;
  BeginPaint(window, &area);
  if (s.settings.windowed && !GetFrameworkStatus().initialised) {
    FillBlack(window, area);
  } else if (s.settings.windowed && hooks.isBackScreenDrawTarget()) {
    const int vsync = hooks.getVSyncOnPresent();
    hooks.setVSyncOnPresent(0);
    hooks.presentToWindow();
    hooks.setVSyncOnPresent(vsync);
  }
  EndPaint(window);
  s.painting = 0;
}

// The client rectangle from the new client origin (signed words of lParam)
// and the client size; the draw area follows it.
void OnWindowMoved(Hwnd window, LParam lParam) {
  MainWindowState& s = GetMainWindowState();
  const int x = static_cast<int16_t>(LoWord(static_cast<uintptr_t>(lParam)));
  const int y = static_cast<int16_t>(HiWord(static_cast<uintptr_t>(lParam)));
  Rect client;
  GetClientRect(window, &client);
  s.clientRect = Rect{x, y, x + client.right, y + client.bottom};
  GetModuleHooks().onDrawAreaMoved();
}

// A frame dragged in windowed mode keeps the screen's aspect ratio: the
// bottom edge follows a dragged side or corner, the right edge a dragged top
// or bottom; the scale becomes the new client width over the screen width.
// With a fixed client size the client stays within the screen size times
// the scale.
void OnSizing(Hwnd window, WParam edge, Rect* rect) {
  MainWindowState& s = GetMainWindowState();
  if (!s.settings.windowed || rect == nullptr) return;
  int sw = 0, sh = 0;
  GetScreenSize(&sw, &sh);
  if (sw <= 0 || sh <= 0) return;
  Rect frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, GetWindowStyle(window), GetWindowStyleSet(s.settings.styleNumber).windowedEx);
  const int frameW = frame.right - frame.left, frameH = frame.bottom - frame.top;
  if (!s.settings.fixedSizeOn) {
    const int64_t clientW = std::max(0, rect->right - rect->left - frameW);
    const int64_t clientH = std::max(0, rect->bottom - rect->top - frameH);
    if (edge == WMSZ_TOP || edge == WMSZ_BOTTOM) {
      rect->right = rect->left + frameW + static_cast<int>(clientH * sw / sh);
    } else {
      rect->bottom = rect->top + frameH + static_cast<int>(clientW * sh / sw);
    }
    const int newW = rect->right - rect->left - frameW;
    if (newW > 0) s.settings.scale = static_cast<double>(newW) / sw;
  } else {
    const double scale = GetWindowScaleFactor();
    rect->right = std::min(rect->right, rect->left + frameW + static_cast<int>(sw * scale));
    rect->bottom = std::min(rect->bottom, rect->top + frameH + static_cast<int>(sh * scale));
  }
}

void OnKeyDown(WParam wParam) {
  if (IsCharRingFull()) return;
  switch (static_cast<int>(wParam)) {
    case VK_DELETE: PutCharToInputBuffer(0x10); break;
    case VK_LEFT: PutCharToInputBuffer(0x1D); break;
    case VK_RIGHT: PutCharToInputBuffer(0x1C); break;
    case VK_UP: PutCharToInputBuffer(0x1E); break;
    case VK_DOWN: PutCharToInputBuffer(0x1F); break;
    default: break;
  }
}

void OnChar(WParam wParam) {
  uint8_t c = static_cast<uint8_t>(wParam);
  if (c == 0x0A) c = 0x0D;
  if (c >= 0x20 || c == 0x08 || c == 0x09 || c == 0x0D || c == 0x10 || c == 0x1B) PutCharToInputBuffer(c);
}

void HideCursorNow() {
  SetCursor(CursorShape::None);
  while (ShowCursor(false) >= 0) {
  }
}

}  // namespace

LResult MainWindowProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  MainWindowState& s = GetMainWindowState();
  if (s.settings.messageHook) s.settings.messageHook(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: return 0;
    case WM_SIZE:
      if (wParam == SIZE_MAXIMIZED && s.settings.windowed && !s.creating && !s.modeChanging &&
          s.settings.toggleAllowed) {
        s.toggleRequested = 1;
      } else {
        ApplyWindowSize();
      }
      return 0;
    case WM_MOVE:
      if (s.settings.windowed && !s.modeChanging) OnWindowMoved(window, lParam);
      return 0;
    case WM_SIZING:
      OnSizing(window, wParam, reinterpret_cast<Rect*>(lParam));
      return 1;
    case WM_MOVING:
      // Full screen, the window stays where it is.
      if (!s.settings.windowed && lParam != 0) GetWindowRect(window, reinterpret_cast<Rect*>(lParam));
      return 1;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_CLOSE:
      LogOutput("ウインドウを閉じようとしています\n");
      DestroyWindow(window);
      if (!s.endingMark) s.endingMark = 1;
      return 0;
    case WM_DESTROY:
      LogOutput("ウインドウが破棄されようとしています\n");
      s.destroyed = 1;
      LogOutput("ソフトを終了する準備が整いました\n");
      PostQuitMessage(0);
      s.quit = 1;
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam == 0) OnActivate(window, 0);
      return 0;
    case WM_ACTIVATE: OnActivate(window, wParam); return 0;
    case WM_DISPLAYCHANGE: OnDisplayChange(wParam, lParam); return 0;
    case plat::MM_MCINOTIFY: GetModuleHooks().musicNotify(); return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_CHAR: OnChar(wParam); return 0;
    case WM_SYSCHAR:
      if (wParam == 0x0D && s.settings.toggleAllowed) {
        s.toggleRequested = 1;
        return 0;
      }
      return DefWindowProc(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU && s.settings.systemKeysBlocked) return 0;
      if ((wParam & 0xFFF0) == SC_MONITORPOWER || (wParam & 0xFFF0) == SC_SCREENSAVE) return 1;
      return DefWindowProc(window, message, wParam, lParam);
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      if (!s.cursorShown) HideCursorNow();
      return 0;
    case WM_MOUSEWHEEL: {
      const int16_t delta = static_cast<int16_t>(HiWord(wParam));
      s.wheel += delta > 0 ? 1 : -1;
      return 0;
    }
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY: return CaptureImeCandidates(message, wParam, lParam, window);
    case kInputFlagAMessage: s.inputFlagA = wParam == 1 ? 1 : 0; return 0;
    case kInputFlagBMessage: s.inputFlagB = wParam == 1 ? 1 : 0; return 0;
    case kSocketMessage: return OnSocketMessage(wParam, lParam);
    default: return DefWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace qor
