// The desktop: the window under every other one. Code that needs a window
// but has none of its own (the sound device's cooperative level) names it.
#pragma once

#include "platform/window/window.h"

namespace plat {

// Never 0 and never the handle of a window made by CreateWindowEx or
// CreateMessageWindow; the same value for the whole run.
Hwnd GetDesktopWindow();

}  // namespace plat
