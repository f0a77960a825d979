// The display as the window system reports it: the desktop (its size and its
// real colour depth, 32 for 4-byte pixel formats) and the current mode. A
// mode switch makes the host window full screen and back; every switch, in
// either direction, sends WM_DISPLAYCHANGE (wParam the bits per pixel,
// lParam width | height << 16) to the window.
#pragma once

#include <cstdint>

namespace plat {

struct DisplayMode {
  int width = 0, height = 0, bitsPerPixel = 0, refreshRate = 0;
};

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int index);  // the current mode's width or height

// Planes x bits per pixel of the screen device context: the current depth.
int GetScreenColorBits();
void GetDesktopMode(DisplayMode* out);  // the mode before any switch
void GetCurrentDisplayMode(DisplayMode* out);
bool IsDisplayModeSwitched();

// Shows the window full screen in a mode of this size and depth. False for
// sizes or depths no display has (and when a failure was asked for).
bool SetDisplayMode(int width, int height, int bitsPerPixel, int refreshRate);
// Back to the desktop mode, window no longer full screen.
bool RestoreDisplayMode();

struct DisplayCounters {
  int setCalls = 0, restoreCalls = 0, changesSent = 0;
};
DisplayCounters GetDisplayCounters();
void FailNextSetDisplayMode();

}  // namespace plat
