// Chooses the host back-end once, at the first call, and passes every public
// host call on to it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host/host_backend.h"

namespace plat {

namespace {

struct HostSelection {
  const HostBackend* backend = nullptr;
  int presentLog = -1;  // ORB_PRESENT_LOG: -1 not asked yet, 0 off, 1 on
};
HostSelection g_sel;
HostPendingPresenter g_pending = nullptr;

const HostBackend* Choose() {
  const char* want = std::getenv("ORB_HOST");
  if (want && std::strcmp(want, "headless") == 0) return &kHeadlessHost;
  if (want && std::strcmp(want, "sdl") == 0) return &kSdlHost;
  if (want && *want) {
    std::fprintf(stderr, "ORB_HOST=%s is neither sdl nor headless; choosing by the display\n", want);
  }
  return SdlDisplayAvailable() ? &kSdlHost : &kHeadlessHost;
}

const HostBackend& B() {
  if (!g_sel.backend) g_sel.backend = Choose();
  return *g_sel.backend;
}

}  // namespace

void HostSelect(HostKind kind) { g_sel.backend = kind == HostKind::Sdl ? &kSdlHost : &kHeadlessHost; }

HostKind HostGetKind() { return B().kind; }

bool HostCreateWindow(int w, int h) { return B().createWindow(w, h); }
void HostDestroyWindow() { B().destroyWindow(); }
bool HostHasWindow() { return B().hasWindow(); }
void HostShowWindow(bool show) { B().showWindow(show); }
void HostSetTitle(const char* utf8) { B().setTitle(utf8 ? utf8 : ""); }
bool HostSetFullscreen(bool on) { return B().setFullscreen(on); }
bool HostIsFullscreen() { return B().isFullscreen(); }
HostRect HostGetClientRect() { return B().getClientRect(); }
bool HostGetDesktopMode(HostDesktopMode* out) { return out && B().getDesktopMode(out); }
void HostSetCursorVisible(bool visible) { B().setCursorVisible(visible); }
void HostMinimizeWindow() { B().minimizeWindow(); }
void HostRaiseWindow() { B().raiseWindow(); }
bool HostHasFocus() { return B().hasFocus(); }

void HostSetPendingPresenter(HostPendingPresenter presenter) { g_pending = presenter; }
void HostFlushPendingPresent() {
  if (g_pending != nullptr) g_pending();
}

bool HostPollEvent(HostEvent* out) {
  HostFlushPendingPresent();
  HostEvent ignored;
  return B().pollEvent(out ? out : &ignored);
}
void HostStartTextInput() { B().startTextInput(); }
void HostStopTextInput() { B().stopTextInput(); }

int HostPadCount() { return B().padCount(); }
bool HostGetPadInfo(int pad, HostPadInfo* out) { return out && B().getPadInfo(pad, out); }
bool HostGetPadState(int pad, HostPadState* out) { return out && B().getPadState(pad, out); }
bool HostRumblePad(int pad, int low, int high, int durationMs) {
  auto clamp = [](int v, int hi) { return v < 0 ? 0 : v > hi ? hi : v; };
  return B().rumblePad(pad, clamp(low, 65535), clamp(high, 65535), clamp(durationMs, 0x7FFFFFFF));
}

int HostOpenAudio(int rate, HostAudioCallback callback, void* user) {
  if (!callback || rate < 8000 || rate > 192000) return 0;
  return B().openAudio(rate, callback, user);
}
void HostPauseAudio(bool pause) { B().pauseAudio(pause); }
void HostCloseAudio() { B().closeAudio(); }
void HostLockAudio() { B().lockAudio(); }
void HostUnlockAudio() { B().unlockAudio(); }

// ORB_PRESENT_LOG=1 writes "present MICROS" to stderr as each picture is
// handed over, so the pace of the frames can be measured from outside.
static bool PresentLogOn() {
  if (g_sel.presentLog < 0) {
    const char* v = std::getenv("ORB_PRESENT_LOG");
    g_sel.presentLog = v && *v && std::strcmp(v, "0") != 0 ? 1 : 0;
  }
  return g_sel.presentLog == 1;
}

void HostPresent(const void* pixels, int pitch, int width, int height, HostPixelFormat format) {
  if (!HostPictureValid(pixels, pitch, width, height, format)) return;
  if (PresentLogOn()) std::fprintf(stderr, "present %llu\n", static_cast<unsigned long long>(B().micros()));
  B().present(pixels, pitch, width, height, format);
}

uint32_t HostMillis() { return B().millis(); }
uint64_t HostMicros() { return B().micros(); }
void HostSleepMs(uint32_t ms) { B().sleepMs(ms); }
void HostSleepUntilMicros(uint64_t micros) { B().sleepUntilMicros(micros); }

void HostReset() {
  // What was written before the reset shows before it, as at once.
  HostFlushPendingPresent();
  if (g_sel.backend == &kSdlHost) kSdlHost.reset();
  kHeadlessHost.reset();
  g_sel = HostSelection{};
  HostSetOverlays(nullptr, 0);
}

}  // namespace plat
