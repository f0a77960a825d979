// Stand-in for the host back-ends until they land: a real monotonic clock,
// no window, no events, no pads, no audio.
#include <time.h>

#include "platform/host/host.h"

namespace plat {

namespace {
uint64_t MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}
uint64_t MicrosSinceLoad() {
  static const uint64_t start = MonotonicMicros();
  return MonotonicMicros() - start;
}
}  // namespace

HostKind HostGetKind() { return HostKind::Headless; }
bool HostCreateWindow(int, int) { return false; }
void HostDestroyWindow() {}
bool HostHasWindow() { return false; }
void HostShowWindow(bool) {}
void HostSetTitle(const char*) {}
bool HostSetFullscreen(bool) { return false; }
bool HostIsFullscreen() { return false; }
HostRect HostGetClientRect() { return {}; }
void HostSetCursorVisible(bool) {}
void HostMinimizeWindow() {}
void HostRaiseWindow() {}
bool HostHasFocus() { return true; }
bool HostPollEvent(HostEvent*) { return false; }
void HostStartTextInput() {}
void HostStopTextInput() {}
int HostPadCount() { return 0; }
bool HostGetPadInfo(int, HostPadInfo*) { return false; }
bool HostGetPadState(int, HostPadState*) { return false; }
bool HostRumblePad(int, int, int, int) { return false; }
int HostOpenAudio(int, HostAudioCallback, void*) { return 0; }
void HostPauseAudio(bool) {}
void HostCloseAudio() {}
void HostLockAudio() {}
void HostUnlockAudio() {}
void HostPresent(const void*, int, int, int, HostPixelFormat) {}
uint32_t HostMillis() { return static_cast<uint32_t>(MicrosSinceLoad() / 1000); }
uint64_t HostMicros() { return MicrosSinceLoad(); }
void HostSleepMs(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0) {
  }
}
void HostReset() {}

}  // namespace plat
