#include "platform/window/desktop_window.h"

namespace plat {

namespace {
// Below the first handle the window system gives out.
constexpr Hwnd kDesktopWindow = 0x10;
}  // namespace

Hwnd GetDesktopWindow() { return kDesktopWindow; }

}  // namespace plat
