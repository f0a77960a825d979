// Controls of the headless host, for tests and batch runs: the virtual clock,
// the event script, scripted pads, the kept frames, the audio sink and the
// window state the program has set.
//
// The headless host runs on one thread, except the clock reads and the audio
// lock, which may come from any thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/host.h"

namespace plat::headless {

// Returns the whole host to its load state and makes the headless back-end the
// chosen one, whatever ORB_HOST says.
void Reset();

// --- virtual clock -------------------------------------------------------------
// The clock starts at kClockStart microseconds. HostSleepMs(n) advances it by
// exactly n ms, HostSleepUntilMicros(t) to exactly t when t is ahead; every
// HostMillis or HostMicros read returns the time and then advances it by the
// step, so a loop waiting on the clock always ends.
constexpr uint64_t kClockStart = 10'000'000;
constexpr uint32_t kDefaultClockStep = 10;  // microseconds
void SetClockStep(uint32_t micros);
// Every later HostSleepMs(n > 0), and HostSleepUntilMicros with a time
// ahead, wakes this much late, as on a busy machine (0 after a reset).
void SetSleepOvershoot(uint32_t micros);
void SetClock(uint64_t micros);  // jumps without running the audio sink
uint64_t PeekClock();            // reads without advancing

// --- events ---------------------------------------------------------------------
// Frame n is the time after the n-th HostPresent call (frame 0: before the
// first one). Scripted events come out of HostPollEvent once due, in the order
// they fell due; events due at the same frame or time keep the order they were
// scripted in. Focus, minimise and resize events change the window state when
// the program takes them. Text events come whether text input is on or not.
void PushEvent(const HostEvent& event);  // due now
void ScriptEventAtFrame(uint64_t frame, const HostEvent& event);
void ScriptEventAtTime(uint64_t micros, const HostEvent& event);
HostEvent KeyEvent(bool down, int key);  // hid:: usage, not a repeat
int PendingEventCount();                 // scripted or queued, not yet taken

// --- pads -------------------------------------------------------------------------
// Adding or removing a pad queues PadAdded or PadRemoved at once; pads after a
// removed one move down by one, as they do on the SDL host.
constexpr int kMaxPads = 16;
int AddPad(const char* name, int axes, int hats, int buttons, bool rumble);  // index, -1 when full
bool RemovePad(int pad);
bool SetPadState(int pad, const HostPadState& state);
void ScriptPadStateAtFrame(uint64_t frame, int pad, const HostPadState& state);
struct PadRumble {
  int low = 0, high = 0, durationMs = 0;
  int calls = 0;
};
bool GetPadRumble(int pad, PadRumble* out);

// --- kept frames -------------------------------------------------------------------
// Every presented picture is counted; the last few are kept as XRGB8888
// (0x00RRGGBB, no row padding).
struct KeptFrame {
  uint64_t number = 0;  // 0 for the first picture presented
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};
constexpr int kDefaultKeptFrames = 8;
uint64_t FrameCount();
void SetMaxKeptFrames(int count);  // 0 keeps none; older frames are dropped first
const KeptFrame* GetFrame(uint64_t number);  // nullptr when never presented or dropped
const KeptFrame* LastFrame();
bool WriteFramePng(const KeptFrame& frame, const char* path);  // 8-bit RGB
// A 64-bit hash (FNV-1a over the XRGB values) of every picture presented
// since the reset, kept or not.
const std::vector<uint64_t>& FrameHashes();

// --- batch runs ------------------------------------------------------------------------
// At the first present after a reset the host reads ORB_FRAMES (a count n)
// and ORB_SHOT (a PNG path): after the n-th picture it writes that picture to
// ORB_SHOT and queues a close request.

// --- audio sink ------------------------------------------------------------------------
// While the output is open and running, the sink calls the mixing callback for
// the frames the virtual clock has moved past at the open rate, in whole
// chunks. In manual mode the clock does not drive it; only PumpAudio does.
constexpr int kAudioChunkFrames = 512;
void SetAudioManual(bool manual);
void PumpAudio(int frames);  // in chunks of at most kAudioChunkFrames
struct AudioStats {
  bool open = false, paused = false;
  int rate = 0;
  uint64_t framesPulled = 0;     // since the output was opened
  uint64_t nonSilentFrames = 0;  // of those, frames with a sample not zero
};
AudioStats GetAudioStats();

// --- failures ------------------------------------------------------------------------
void FailNextCreateWindow();
void FailNextOpenAudio();

// --- desktop ---------------------------------------------------------------------------
// The desktop the program sees; 1920 x 1080 at 32 bits until changed.
constexpr int kDefaultDesktopWidth = 1920;
constexpr int kDefaultDesktopHeight = 1080;
constexpr int kDefaultDesktopBits = 32;
void SetDesktopMode(int width, int height, int bitsPerPixel);

// --- window state ------------------------------------------------------------------------
struct WindowState {
  bool created = false, visible = false, fullscreen = false, minimized = false;
  bool cursorVisible = true, focus = false, textInput = false;
  int width = 0, height = 0;
  const char* title = "";  // valid until the title changes or Reset
};
WindowState GetWindowState();

}  // namespace plat::headless
