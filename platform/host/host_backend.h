// The table each host back-end fills in, and the helpers both share.
// Only the host's own files include this; the rest of the program uses
// host.h.
#pragma once

#include "platform/host/host.h"

namespace plat {

struct HostBackend {
  HostKind kind;
  bool (*createWindow)(int width, int height);
  void (*destroyWindow)();
  bool (*hasWindow)();
  void (*showWindow)(bool show);
  void (*setTitle)(const char* utf8);
  bool (*setFullscreen)(bool on);
  bool (*isFullscreen)();
  HostRect (*getClientRect)();
  bool (*getDesktopMode)(HostDesktopMode* out);
  void (*setCursorVisible)(bool visible);
  void (*minimizeWindow)();
  void (*raiseWindow)();
  bool (*hasFocus)();
  bool (*pollEvent)(HostEvent* out);
  void (*startTextInput)();
  void (*stopTextInput)();
  int (*padCount)();
  bool (*getPadInfo)(int pad, HostPadInfo* out);
  bool (*getPadState)(int pad, HostPadState* out);
  bool (*rumblePad)(int pad, int low, int high, int durationMs);
  int (*openAudio)(int rate, HostAudioCallback callback, void* user);
  void (*pauseAudio)(bool pause);
  void (*closeAudio)();
  void (*lockAudio)();
  void (*unlockAudio)();
  void (*present)(const void* pixels, int pitch, int width, int height, HostPixelFormat format);
  uint32_t (*millis)();
  uint64_t (*micros)();
  void (*sleepMs)(uint32_t ms);
  void (*sleepUntilMicros)(uint64_t micros);
  void (*reset)();
};

extern const HostBackend kSdlHost;
extern const HostBackend kHeadlessHost;

// True when a display is there (DISPLAY or WAYLAND_DISPLAY set) and SDL's
// video starts on it.
bool SdlDisplayAvailable();

// Makes every later host call go to the given back-end (tests use it to run
// headless whatever the environment says).
void HostSelect(HostKind kind);

// --- pictures, shared by both back-ends ---------------------------------------

// The largest sizes a picture or a window may have; larger is refused.
constexpr int kHostMaxPictureSide = 16384;

// True when the arguments of HostPresent describe a picture we can read.
bool HostPictureValid(const void* pixels, int pitch, int width, int height, HostPixelFormat format);

// 0x00RRGGBB from RGB565, each channel widened by repeating its top bits, so
// full intensity stays full (31 -> 255) and black stays black.
inline uint32_t HostRgb565ToXrgb(uint16_t p) {
  const uint32_t r = (p >> 11) & 31u, g = (p >> 5) & 63u, b = p & 31u;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

// Converts a valid picture to XRGB8888 rows, `dstPitch` bytes apart. The
// source pitch may be negative (rows stored bottom-up).
void HostConvertToXrgb(const void* pixels, int pitch, int width, int height, HostPixelFormat format,
                       uint32_t* dst, int dstPitch);

// Bits per pixel of a display format from its bytes and its significant
// bits: a 4-byte format is 32 even when it leaves 8 bits unused.
int HostDepthFromFormat(int bytesPerPixel, int significantBits);

// Where a picture goes in an output of the given size: centred, aspect kept,
// scaled by the largest whole number that fits when that picture reaches at
// least kHostWholeScaleSharePercent of the output's width or height (so it
// fills nearly as much as the largest fit would), else the largest fit.
// `integral` tells which of the two was chosen: whole scales are drawn with
// nearest sampling, others filtered.
constexpr int kHostWholeScaleSharePercent = 85;
HostRect HostFitPicture(int outWidth, int outHeight, int picWidth, int picHeight, bool* integral);

// --- overlays (host_overlay.cpp) ---------------------------------------------
// The overlays set now, in order.
const HostOverlay* HostOverlaysInUse(int* count);
// Draws them into an XRGB picture (`pitch` in bytes), nearest-pixel scaled and
// clipped to the picture.
void HostCompositeOverlays(uint32_t* xrgb, int pitch, int width, int height);
// The SDL host's live overlay textures (one per overlay shown at the last
// present).
int SdlOverlayTextureCount();

}  // namespace plat
