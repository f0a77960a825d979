// The one seam between the program and the real machine.
//
// Everything above platform/host/ reaches the window, the keyboard, the pads,
// the audio device, the clock and the screen only through these functions.
// Two back-ends implement them: sdl/ (a real window) and headless/ (a virtual
// clock, scripted input and kept frames, for tests and batch runs). The
// back-end is chosen once, at the first call, by ORB_HOST=sdl|headless; the
// default is sdl when a display is there, else headless.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

enum class HostKind { Sdl, Headless };

// Physical keys are numbered as USB HID keyboard usages (the numbering SDL
// scancodes use), so a key means the same place on every layout.
namespace hid {
constexpr int A = 4;            // A..Z are 4..29
constexpr int Num1 = 30;        // 1..9 are 30..38, 0 is 39
constexpr int Num0 = 39;
constexpr int Return = 40;
constexpr int Escape = 41;
constexpr int Backspace = 42;
constexpr int Tab = 43;
constexpr int Space = 44;
constexpr int F1 = 58;          // F1..F12 are 58..69
constexpr int F4 = 61;
constexpr int Insert = 73;
constexpr int Home = 74;
constexpr int PageUp = 75;
constexpr int Delete = 76;
constexpr int End = 77;
constexpr int PageDown = 78;
constexpr int Right = 79;
constexpr int Left = 80;
constexpr int Down = 81;
constexpr int Up = 82;
constexpr int LeftCtrl = 224;
constexpr int LeftShift = 225;
constexpr int LeftAlt = 226;
constexpr int RightCtrl = 228;
constexpr int RightShift = 229;
constexpr int RightAlt = 230;
constexpr int Count = 512;
}  // namespace hid

enum class HostEventKind {
  None,
  KeyDown,         // key, repeat
  KeyUp,           // key
  TextInput,       // text (UTF-8): committed text
  TextEditing,     // text (UTF-8), cursor: IME composition in progress
  FocusGained,
  FocusLost,
  Minimized,
  Restored,
  CloseRequest,
  Expose,
  Resize,          // x, y: new client width and height
  MouseMove,       // x, y in picture pixels
  MouseDown,       // button (1 left, 2 middle, 3 right), x, y
  MouseUp,         // button, x, y
  MouseWheel,      // wheel: +1 per notch away from the user
  PadAdded,        // pad: index into the pad list
  PadRemoved,      // pad
};

struct HostEvent {
  HostEventKind kind = HostEventKind::None;
  int key = 0;          // hid:: usage
  bool repeat = false;
  char text[64] = {};   // UTF-8, zero-terminated
  int cursor = 0;       // composition cursor in characters
  int x = 0, y = 0;
  int button = 0;
  int wheel = 0;
  int pad = 0;
};

enum class HostPixelFormat { Rgb565, Xrgb8888 };

struct HostRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

constexpr int kHostPadMaxAxes = 8;
constexpr int kHostPadMaxHats = 4;
constexpr int kHostPadMaxButtons = 32;

// Raw state of one pad: axes -32768..32767, hats as a bit set
// (1 up, 2 right, 4 down, 8 left), buttons 0/1.
//
// A pad the SDL host knows as a game controller (standard mapping) reads in
// one fixed layout whatever its make:
//   axes 0 left stick x, 1 left stick y, 2 right stick x, 3 right stick y,
//        4 left trigger, 5 right trigger;
//   hat 0 the d-pad;
//   buttons 0 A (bottom), 1 B (right), 2 X (left), 3 Y (top), 4 Start,
//        5 Back, 6 left shoulder, 7 right shoulder, 8 left trigger, 9 right
//        trigger (pressed past half way), 10 left stick, 11 right stick,
//        12 Guide.
// Other joysticks read raw, in their own order. On the SDL host the first hat
// (the d-pad) also moves axes 0 and 1, as a stick pushed fully that way; the
// headless host's scripted pads read exactly as scripted.
constexpr int kHostControllerButtons = 13;
struct HostPadState {
  int axes[kHostPadMaxAxes] = {};
  int hats[kHostPadMaxHats] = {};
  uint8_t buttons[kHostPadMaxButtons] = {};
};

// Folds hat 0 into axes 0 and 1: a held direction overrides the stick on its
// axis, a centred hat leaves the stick as it is.
void HostFoldHatIntoStick(HostPadState* state);

struct HostPadInfo {
  char name[128] = {};  // UTF-8
  int axisCount = 0;
  int hatCount = 0;
  int buttonCount = 0;
  bool rumble = false;
};

// Called from the audio thread (SDL) or from clock reads (headless) to fill
// `frames` stereo frames of signed 16-bit samples, interleaved L R.
using HostAudioCallback = void (*)(void* user, int16_t* out, int frames);

HostKind HostGetKind();

// --- window -------------------------------------------------------------
// The window is made hidden, as a window is made and then shown; the title
// may be set before it exists.
bool HostCreateWindow(int clientWidth, int clientHeight);  // false on failure
void HostDestroyWindow();
bool HostHasWindow();
void HostShowWindow(bool show);
void HostSetTitle(const char* utf8);
bool HostSetFullscreen(bool on);   // desktop full screen
bool HostIsFullscreen();
HostRect HostGetClientRect();
// The desktop's size and colour depth in bits per pixel (4-byte pixel
// formats count as 32, whatever bits they leave unused); false when unknown.
struct HostDesktopMode {
  int width = 0, height = 0, bitsPerPixel = 0;
};
bool HostGetDesktopMode(HostDesktopMode* out);
void HostSetCursorVisible(bool visible);
void HostMinimizeWindow();
void HostRaiseWindow();
bool HostHasFocus();

// --- events ---------------------------------------------------------------
// Takes the next pending event; false when there is none.
bool HostPollEvent(HostEvent* out);
void HostStartTextInput();
void HostStopTextInput();

// --- pads -------------------------------------------------------------------
// Pads are numbered 0..count-1; when one goes, those after it move down by one.
int HostPadCount();
bool HostGetPadInfo(int pad, HostPadInfo* out);
bool HostGetPadState(int pad, HostPadState* out);
// strength 0..65535 for both motors, duration in ms (0 stops).
bool HostRumblePad(int pad, int lowStrength, int highStrength, int durationMs);

// --- audio -------------------------------------------------------------------
// Opens stereo signed 16-bit output at 8000..192000 Hz and starts it running;
// returns the rate really used, 0 on failure.
int HostOpenAudio(int rate, HostAudioCallback callback, void* user);
void HostPauseAudio(bool pause);
void HostCloseAudio();
// Holds the audio callback off while the caller touches state it shares.
void HostLockAudio();
void HostUnlockAudio();

// --- presentation ---------------------------------------------------------------
// Shows one picture, scaled to the window with its aspect kept.
void HostPresent(const void* pixels, int pitch, int width, int height, HostPixelFormat format);
// A writer that holds a picture back until its frame ends (the display
// stand-in's primary) registers here; the host calls it before it takes
// events and before a kept picture is read, so what was written shows.
using HostPendingPresenter = void (*)();
void HostSetPendingPresenter(HostPendingPresenter presenter);
void HostFlushPendingPresent();

// --- overlays ---------------------------------------------------------------------
// Pictures in packed YUV (as a display card's overlays hold them) shown over
// every picture presented after they are set, each part `source` of the
// overlay scaled into `destination`, given in pixels of the presented
// picture (scaled with it). The set replaces the previous one; the pixels
// must stay readable until the next call. Ids tell one overlay from another
// across calls (a host may keep a texture per id).
enum class HostOverlayFormat { Yuy2, Uyvy };
struct HostOverlay {
  uintptr_t id = 0;
  HostOverlayFormat format = HostOverlayFormat::Yuy2;
  const uint8_t* pixels = nullptr;
  int pitch = 0, width = 0, height = 0;  // width even
  HostRect source, destination;
};
void HostSetOverlays(const HostOverlay* overlays, int count);
int HostOverlayCount();
// BT.601 studio range (Y 16..235, U and V 16..240 around 128) to 8-bit RGB,
// in the integer form display cards use: with C = Y - 16, D = U - 128,
// E = V - 128, R = (298C + 409E + 128) >> 8, G = (298C - 100D - 208E + 128)
// >> 8, B = (298C + 516D + 128) >> 8, each clamped to 0..255 (the 8-bit
// coefficients of 1.164, 1.596, 0.391, 0.813 and 2.018, rounded to nearest).
// 0x00RRGGBB.
uint32_t HostYuvToXrgb(int y, int u, int v);

// --- time ---------------------------------------------------------------------
// HostMillis is HostMicros / 1000 cut to 32 bits: it wraps like a 32-bit
// millisecond timer, and turns exactly when the microsecond count reaches a
// whole thousand.
uint32_t HostMillis();
uint64_t HostMicros();    // monotonic
void HostSleepMs(uint32_t ms);
// Sleeps until HostMicros() reads at least `micros` on a precise clock; at
// once when it already does. A busy machine may wake it late, never early.
void HostSleepUntilMicros(uint64_t micros);

// Returns the host to its state at program load (tests call it between cases).
void HostReset();

}  // namespace plat
