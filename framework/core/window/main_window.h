// The framework's one top-level window: its creation with the start-up
// checks, the window procedure, the once-per-frame message processing, the
// wait while the window is inactive, switching between windowed and full
// screen, sizing, the cursor, and the window side of shut-down.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace qor {

constexpr int kWindowTextSize = 256;
constexpr int kWindowStyleCount = 8;
constexpr uint32_t kInputFlagAMessage = 0x46F;
constexpr uint32_t kInputFlagBMessage = 0x470;

// What the program sets before start-up; window creation keeps it while it
// clears the rest of the state.
struct WindowSettings {
  int windowed = 1;
  char title[kWindowTextSize] = {};
  char className[kWindowTextSize] = {};
  int doubleLaunchPolicy = 0;  // 1 allows a second running copy
  int toggleAllowed = 0;       // Alt+Enter and maximise switch the mode
  void (*toggleCallback)(void* user) = nullptr;
  void* toggleUser = nullptr;
  int styleNumber = 0;         // 0..7
  double scale = 1.0;          // windowed client size = screen size x scale
  int fixedSizeOn = 0, fixedWidth = 0, fixedHeight = 0;
  int fixedPositionOn = 0, fixedX = 0, fixedY = 0;
  int sizeChangeAllowed = 0;
  int windowedStyleVisible = 0;  // set once a run-time mode change happened
  int systemKeysBlocked = 0;
  // Called with every message before the framework handles it.
  void (*messageHook)(plat::Hwnd, uint32_t, plat::WParam, plat::LParam) = nullptr;
  void (*activationCallback)(int active, void* user) = nullptr;
  void* activationUser = nullptr;
};

struct MainWindowState {
  WindowSettings settings;
  plat::Hwnd window = 0;
  uintptr_t instance = 0;
  uint32_t mainThread = 0;
  int quit = 0, closing = 0, destroyed = 0, active = 1;
  int creating = 0;
  int modeChanging = 0, displayChangeSeen = 0, toggleRequested = 0;
  uint32_t inactiveSince = 0;
  int inactiveStarted = 0;
  int runWhileInactive = 0;
  plat::Rect clientRect;  // client area on the desktop
  int windowStyleApplied = 0;
  int cursorRequest = 0, cursorShown = 1;
  int wheel = 0;
  int mouseNearTop = 0;
  int desktopWidth = 0, desktopHeight = 0, desktopBits = 0;
  int charSet = 1;  // 2 when the OEM code page is 949, else 1 (Shift-JIS)
  int endingMark = 0;
  int inputFlagA = 0, inputFlagB = 0;
  int inTextInputStep = 0;
  int painting = 0;  // inside WM_PAINT
  // What the last PumpMessages call did, for tests.
  int lastPumpPasses = 0, lastPumpDispatched = 0;
};

MainWindowState& GetMainWindowState();
// Back to the load state (the settings included).
void ResetMainWindow();

int CreateMainWindow();  // 0 or -1
int CloseMainWindow();   // 0
plat::LResult MainWindowProc(plat::Hwnd window, uint32_t message, plat::WParam wParam, plat::LParam lParam);
int PumpMessages();      // 0, or -1 once the program must quit
void WaitWhileInactive();
int SwitchWindowMode(int windowed);
void StoreWindowModeFlag(int windowed);
void ApplyWindowStyle();
void ApplyWindowSize();
// Client size in windowed mode: the screen size times the scale, or the
// fixed size.
void GetWindowedClientSize(int* width, int* height);
// The window rectangle of a windowed window: the style's frame around the
// windowed client size, centred on the desktop or at the fixed position.
plat::Rect GetWindowedFrameRect(uint32_t style, uint32_t exStyle);
// The screen size the framework draws at.
void GetScreenSize(int* width, int* height);
// Takes the window's client area on the desktop into the window state.
void TakeClientRect();
int RequestCursorDisplay(int request);
void UpdateFullScreenMenu();
void ForceForegroundWindow(plat::Hwnd window, int topMost);
// Posts WM_CLOSE unless the framework posted one already.
void PostCloseOnce();

int ApplyWindowTitle(const char* text);
int SetDoubleLaunchPolicy(int policy);
int IsWindowedMode();
int IsWindowActive();
int IsQuitRequested();
int IsWindowClosing();
plat::Hwnd GetFrameWindowHandle();
double GetWindowScaleFactor();
void GetDesktopModeInfo(int* width, int* height, int* bits);
void GetDrawAreaRect(plat::Rect* out);
void ReadMousePosition(int* x, int* y);

// Windows styles of a style number: windowed, windowed extended, full
// screen, full-screen extended.
struct WindowStyleSet {
  uint32_t windowed, windowedEx, fullScreen, fullScreenEx;
};
WindowStyleSet GetWindowStyleSet(int styleNumber);

}  // namespace qor
