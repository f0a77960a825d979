// The headless host: a window that is only state, scripted events and pads,
// and every presented picture kept for tests. The clock and the audio sink
// live in headless_clock_audio.cpp.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>  // the library picks its AVX2 or AVX-512 loop for the machine
#endif

#include "platform/host/headless/headless_control.h"
#include "platform/host/headless/headless_internal.h"
#include "platform/host/host_backend.h"

namespace plat::headless {

namespace {

struct Pad {
  HostPadInfo info;
  HostPadState state;
  PadRumble rumble;
};

struct PadScript {
  int pad = 0;
  HostPadState state;
};

struct Headless {
  bool created = false, visible = false, fullscreen = false, minimized = false;
  bool cursorVisible = true, focus = false, textInput = false;
  int width = 0, height = 0;
  std::string title;
  bool failNextWindow = false;
  HostDesktopMode desktop{kDefaultDesktopWidth, kDefaultDesktopHeight, kDefaultDesktopBits};

  std::deque<HostEvent> queue;                    // due, not yet taken
  std::multimap<uint64_t, HostEvent> byFrame;     // equal keys keep insertion order
  std::multimap<uint64_t, HostEvent> byTime;
  std::multimap<uint64_t, PadScript> padByFrame;

  std::deque<Pad> pads;

  uint64_t frameCount = 0;
  int maxKept = kDefaultKeptFrames;
  std::deque<KeptFrame> kept;
  std::vector<uint64_t> hashes;  // one per presented frame
  std::vector<uint32_t> scratch;

  // A batch run's limits from ORB_FRAMES and ORB_SHOT, read at the first
  // present after a reset.
  bool limitsRead = false;
  uint64_t frameLimit = 0;
  std::string shotPath;
};
Headless g_h;

// Moves what has fallen due into the queue: first what the clock has passed,
// then what the frame count has reached, so a call right after a present
// keeps the order in which things happened.
void Promote() {
  const uint64_t now = PeekClock();
  while (!g_h.byTime.empty() && g_h.byTime.begin()->first <= now) {
    g_h.queue.push_back(g_h.byTime.begin()->second);
    g_h.byTime.erase(g_h.byTime.begin());
  }
  while (!g_h.byFrame.empty() && g_h.byFrame.begin()->first <= g_h.frameCount) {
    g_h.queue.push_back(g_h.byFrame.begin()->second);
    g_h.byFrame.erase(g_h.byFrame.begin());
  }
  while (!g_h.padByFrame.empty() && g_h.padByFrame.begin()->first <= g_h.frameCount) {
    const PadScript& s = g_h.padByFrame.begin()->second;
    if (s.pad >= 0 && s.pad < static_cast<int>(g_h.pads.size())) g_h.pads[static_cast<size_t>(s.pad)].state = s.state;
    g_h.padByFrame.erase(g_h.padByFrame.begin());
  }
}

HostEvent PadEvent(HostEventKind kind, int pad) {
  HostEvent e;
  e.kind = kind;
  e.pad = pad;
  return e;
}

// --- back-end functions -------------------------------------------------------

bool CreateWindow(int width, int height) {
  if (g_h.failNextWindow) {
    g_h.failNextWindow = false;
    return false;
  }
  if (width <= 0 || height <= 0 || width > kHostMaxPictureSide || height > kHostMaxPictureSide) return false;
  g_h.created = true;
  g_h.visible = g_h.fullscreen = g_h.minimized = false;
  g_h.focus = false;
  g_h.width = width;
  g_h.height = height;
  return true;
}

void DestroyWindow() {
  g_h.created = g_h.visible = g_h.fullscreen = g_h.minimized = g_h.focus = false;
  g_h.width = g_h.height = 0;
}

bool HasWindow() { return g_h.created; }

void ShowWindow(bool show) {
  if (!g_h.created) return;
  if (show && !g_h.visible) g_h.focus = true;  // a window shown gets the keyboard
  if (!show) g_h.focus = false;
  g_h.visible = show;
}

void SetTitle(const char* utf8) { g_h.title = utf8; }

bool SetFullscreen(bool on) {
  if (!g_h.created) return false;
  g_h.fullscreen = on;
  return true;
}

bool IsFullscreen() { return g_h.fullscreen; }
HostRect GetClientRect() { return HostRect{0, 0, g_h.width, g_h.height}; }

bool GetDesktopMode(HostDesktopMode* out) {
  *out = g_h.desktop;
  return true;
}
void SetCursorVisible(bool visible) { g_h.cursorVisible = visible; }

void MinimizeWindow() {
  if (!g_h.created) return;
  g_h.minimized = true;
  g_h.focus = false;
}

void RaiseWindow() {
  if (!g_h.created) return;
  g_h.minimized = false;
  if (g_h.visible) g_h.focus = true;
}

bool HasFocus() { return g_h.focus; }

bool PollEvent(HostEvent* out) {
  Promote();
  if (g_h.queue.empty()) return false;
  *out = g_h.queue.front();
  g_h.queue.pop_front();
  switch (out->kind) {
    case HostEventKind::FocusGained: g_h.focus = true; break;
    case HostEventKind::FocusLost: g_h.focus = false; break;
    case HostEventKind::Minimized: g_h.minimized = true; break;
    case HostEventKind::Restored: g_h.minimized = false; break;
    case HostEventKind::Resize:
      if (g_h.created && out->x > 0 && out->y > 0) {
        g_h.width = out->x;
        g_h.height = out->y;
      }
      break;
    default: break;
  }
  return true;
}

void StartTextInput() { g_h.textInput = true; }
void StopTextInput() { g_h.textInput = false; }

int PadCount() { return static_cast<int>(g_h.pads.size()); }

bool GetPadInfo(int pad, HostPadInfo* out) {
  if (pad < 0 || pad >= PadCount()) return false;
  *out = g_h.pads[static_cast<size_t>(pad)].info;
  return true;
}

bool GetPadState(int pad, HostPadState* out) {
  if (pad < 0 || pad >= PadCount()) return false;
  *out = g_h.pads[static_cast<size_t>(pad)].state;
  return true;
}

bool RumblePad(int pad, int low, int high, int durationMs) {
  if (pad < 0 || pad >= PadCount()) return false;
  Pad& p = g_h.pads[static_cast<size_t>(pad)];
  if (!p.info.rumble) return false;
  p.rumble.low = low;
  p.rumble.high = high;
  p.rumble.durationMs = durationMs;
  ++p.rumble.calls;
  return true;
}

void ReadRunLimits() {
  g_h.limitsRead = true;
  const char* frames = std::getenv("ORB_FRAMES");
  if (frames && *frames) {
    char* end = nullptr;
    const long long n = std::strtoll(frames, &end, 10);
    if (*end != 0 || n < 1) {
      std::fprintf(stderr, "orbworld: ORB_FRAMES=%s is not a frame count; ignored\n", frames);
    } else {
      g_h.frameLimit = static_cast<uint64_t>(n);
    }
  }
  const char* shot = std::getenv("ORB_SHOT");
  if (shot && *shot) g_h.shotPath = shot;
}

// XXH3 over the XRGB values, low byte first (the same on every machine,
// whichever loop computes it). A frame's hash is only ever compared with
// another run's, never with a stored value.
uint64_t HashPixels(const std::vector<uint32_t>& pixels) {
  return XXH3_64bits(pixels.data(), pixels.size() * sizeof(uint32_t));
}

// After the ORB_FRAMES-th picture: the picture to ORB_SHOT, and a close
// request, as if the window's close button had been pressed.
void EndBatchRun(const KeptFrame& last) {
  if (!g_h.shotPath.empty() && !WriteFramePng(last, g_h.shotPath.c_str())) {
    std::fprintf(stderr, "orbworld: cannot write the picture to %s\n", g_h.shotPath.c_str());
  }
  HostEvent close;
  close.kind = HostEventKind::CloseRequest;
  g_h.queue.push_back(close);
}

void Present(const void* pixels, int pitch, int width, int height, HostPixelFormat format) {
  if (!g_h.created) return;  // as on a real host, nothing is shown without a window
  if (!g_h.limitsRead) ReadRunLimits();
  const uint64_t number = g_h.frameCount++;
  KeptFrame f;
  if (g_h.maxKept > 0 && static_cast<int>(g_h.kept.size()) >= g_h.maxKept) {
    f = std::move(g_h.kept.front());  // reuse the oldest frame's memory
    g_h.kept.pop_front();
  }
  f.number = number;
  f.width = width;
  f.height = height;
  f.pixels.swap(g_h.scratch);
  f.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  HostConvertToXrgb(pixels, pitch, width, height, format, f.pixels.data(), width * 4);
  HostCompositeOverlays(f.pixels.data(), width * 4, width, height);
  g_h.hashes.push_back(HashPixels(f.pixels));
  if (g_h.frameLimit != 0 && g_h.frameCount == g_h.frameLimit) EndBatchRun(f);
  if (g_h.maxKept > 0) {
    g_h.kept.push_back(std::move(f));
  } else {
    g_h.scratch.swap(f.pixels);
  }
  Promote();
}

void ResetAll() {
  ResetClockAndAudio();
  g_h = Headless{};
}

}  // namespace

// --- controls -------------------------------------------------------------------

void Reset() {
  HostReset();
  HostSelect(HostKind::Headless);
}

void PushEvent(const HostEvent& event) { g_h.queue.push_back(event); }
void ScriptEventAtFrame(uint64_t frame, const HostEvent& event) { g_h.byFrame.emplace(frame, event); }
void ScriptEventAtTime(uint64_t micros, const HostEvent& event) { g_h.byTime.emplace(micros, event); }

HostEvent KeyEvent(bool down, int key) {
  HostEvent e;
  e.kind = down ? HostEventKind::KeyDown : HostEventKind::KeyUp;
  e.key = key;
  return e;
}

int PendingEventCount() { return static_cast<int>(g_h.queue.size() + g_h.byFrame.size() + g_h.byTime.size()); }

int AddPad(const char* name, int axes, int hats, int buttons, bool rumble) {
  if (PadCount() >= kMaxPads) return -1;
  Pad p;
  std::strncpy(p.info.name, name ? name : "", sizeof p.info.name - 1);
  auto clamp = [](int v, int hi) { return v < 0 ? 0 : v > hi ? hi : v; };
  p.info.axisCount = clamp(axes, kHostPadMaxAxes);
  p.info.hatCount = clamp(hats, kHostPadMaxHats);
  p.info.buttonCount = clamp(buttons, kHostPadMaxButtons);
  p.info.rumble = rumble;
  g_h.pads.push_back(p);
  const int index = PadCount() - 1;
  g_h.queue.push_back(PadEvent(HostEventKind::PadAdded, index));
  return index;
}

bool RemovePad(int pad) {
  if (pad < 0 || pad >= PadCount()) return false;
  g_h.pads.erase(g_h.pads.begin() + pad);
  g_h.queue.push_back(PadEvent(HostEventKind::PadRemoved, pad));
  return true;
}

bool SetPadState(int pad, const HostPadState& state) {
  if (pad < 0 || pad >= PadCount()) return false;
  g_h.pads[static_cast<size_t>(pad)].state = state;
  return true;
}

void ScriptPadStateAtFrame(uint64_t frame, int pad, const HostPadState& state) {
  g_h.padByFrame.emplace(frame, PadScript{pad, state});
}

bool GetPadRumble(int pad, PadRumble* out) {
  if (!out || pad < 0 || pad >= PadCount()) return false;
  *out = g_h.pads[static_cast<size_t>(pad)].rumble;
  return true;
}

uint64_t FrameCount() {
  HostFlushPendingPresent();
  return g_h.frameCount;
}

void SetMaxKeptFrames(int count) {
  g_h.maxKept = count < 0 ? 0 : count;
  while (static_cast<int>(g_h.kept.size()) > g_h.maxKept) g_h.kept.pop_front();
}

const KeptFrame* GetFrame(uint64_t number) {
  HostFlushPendingPresent();
  for (const KeptFrame& f : g_h.kept) {
    if (f.number == number) return &f;
  }
  return nullptr;
}

const std::vector<uint64_t>& FrameHashes() {
  HostFlushPendingPresent();
  return g_h.hashes;
}

const KeptFrame* LastFrame() {
  HostFlushPendingPresent();
  return g_h.kept.empty() ? nullptr : &g_h.kept.back();
}

void FailNextCreateWindow() { g_h.failNextWindow = true; }

void SetDesktopMode(int width, int height, int bitsPerPixel) {
  g_h.desktop = HostDesktopMode{width, height, bitsPerPixel};
}

WindowState GetWindowState() {
  WindowState s;
  s.created = g_h.created;
  s.visible = g_h.visible;
  s.fullscreen = g_h.fullscreen;
  s.minimized = g_h.minimized;
  s.cursorVisible = g_h.cursorVisible;
  s.focus = g_h.focus;
  s.textInput = g_h.textInput;
  s.width = g_h.width;
  s.height = g_h.height;
  s.title = g_h.title.c_str();
  return s;
}

}  // namespace plat::headless

namespace plat {

const HostBackend kHeadlessHost = {
    HostKind::Headless,
    headless::CreateWindow, headless::DestroyWindow, headless::HasWindow, headless::ShowWindow,
    headless::SetTitle, headless::SetFullscreen, headless::IsFullscreen, headless::GetClientRect,
    headless::GetDesktopMode,
    headless::SetCursorVisible, headless::MinimizeWindow, headless::RaiseWindow, headless::HasFocus,
    headless::PollEvent, headless::StartTextInput, headless::StopTextInput,
    headless::PadCount, headless::GetPadInfo, headless::GetPadState, headless::RumblePad,
    headless::AudioOpen, headless::AudioPause, headless::AudioClose, headless::AudioLock, headless::AudioUnlock,
    headless::Present,
    headless::ClockMillis, headless::ClockMicros, headless::ClockSleepMs, headless::ClockSleepUntilMicros,
    headless::ResetAll,
};

}  // namespace plat
