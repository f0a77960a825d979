#include "platform/window/display_settings.h"

#include "platform/host/host.h"
#include "platform/window/window_state.h"

namespace plat {

namespace win {

void EnsureDisplayKnown() {
  Display& d = State().display;
  if (d.known) return;
  HostDesktopMode host;
  if (!HostGetDesktopMode(&host) || host.width <= 0 || host.height <= 0 || host.bitsPerPixel <= 0) {
    host = HostDesktopMode{1024, 768, 32};  // a display that cannot be asked: a common desktop
  }
  d.desktop = DisplayMode{host.width, host.height, host.bitsPerPixel, 60};
  d.current = d.desktop;
  d.known = true;
}

}  // namespace win

using namespace win;

namespace {

void SendDisplayChange() {
  Display& d = State().display;
  ++d.counters.changesSent;
  const WindowRecord& w = State().window;
  if (w.exists) {
    PostMessage(w.handle, WM_DISPLAYCHANGE, static_cast<WParam>(d.current.bitsPerPixel),
                MakeLParam(d.current.width, d.current.height));
  }
}

}  // namespace

int GetSystemMetrics(int index) {
  EnsureDisplayKnown();
  const DisplayMode& m = State().display.current;
  if (index == SM_CXSCREEN) return m.width;
  if (index == SM_CYSCREEN) return m.height;
  return 0;
}

int GetScreenColorBits() {
  EnsureDisplayKnown();
  return State().display.current.bitsPerPixel;
}

void GetDesktopMode(DisplayMode* out) {
  EnsureDisplayKnown();
  *out = State().display.desktop;
}

void GetCurrentDisplayMode(DisplayMode* out) {
  EnsureDisplayKnown();
  *out = State().display.current;
}

bool IsDisplayModeSwitched() { return State().display.switched; }

bool SetDisplayMode(int width, int height, int bitsPerPixel, int refreshRate) {
  EnsureDisplayKnown();
  Display& d = State().display;
  ++d.counters.setCalls;
  if (d.failNextSet) {
    d.failNextSet = false;
    return false;
  }
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
  if (State().window.exists) HostSetFullscreen(true);
  d.current = DisplayMode{width, height, bitsPerPixel, refreshRate > 0 ? refreshRate : 60};
  d.switched = true;
  SendDisplayChange();
  return true;
}

bool RestoreDisplayMode() {
  EnsureDisplayKnown();
  Display& d = State().display;
  ++d.counters.restoreCalls;
  if (State().window.exists) HostSetFullscreen(false);
  d.current = d.desktop;
  d.switched = false;
  SendDisplayChange();
  return true;
}

DisplayCounters GetDisplayCounters() { return State().display.counters; }
void FailNextSetDisplayMode() { State().display.failNextSet = true; }

}  // namespace plat
