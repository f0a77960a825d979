// The state of platform/window, shared by its files: one record, reset by
// ResetWindowStandIn. Posting may come from any thread, so the queues are
// guarded by QueueMutex(); everything else belongs to the window's thread.
#pragma once

#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/host/host.h"
#include "platform/window/display_settings.h"
#include "platform/window/ime.h"
#include "platform/window/raw_input.h"
#include "platform/window/window.h"

namespace plat::win {

constexpr int kMaxClasses = 8;
constexpr int kNameCapacity = 256;
constexpr int kMaxMessageWindows = 4;
constexpr uint32_t kDefaultForegroundLockTimeout = 200000;

struct ClassEntry {
  bool used = false;
  char name[kNameCapacity] = {};
  WindowProc procedure = nullptr;
};

struct WindowRecord {
  bool exists = false;
  Hwnd handle = 0;
  uint32_t thread = 0;
  WindowProc procedure = nullptr;
  char className[kNameCapacity] = {};
  char title[kNameCapacity] = {};
  uint32_t style = 0, exStyle = 0;
  Rect rect;  // window rectangle on the desktop
  bool visible = false, minimized = false, topMost = false;
  bool paintPending = false;
};

struct ThreadQueue {
  uint32_t thread = 0;
  std::deque<Msg> messages;
  bool quitPosted = false;
  int quitCode = 0;
};

// What the window has been told of the host, so that each change is sent once.
struct Intake {
  bool keys[hid::Count] = {};      // as the host reports them now
  bool takenKeys[hid::Count] = {};  // as of the key messages taken from the queue
  uint32_t keyChanges = 0;  // key presses and releases taken so far
  bool active = false;     // last activation sent
  bool minimized = false;
  RawMouse mouse;
  std::vector<int> padIds;  // by host pad index
  int nextPadId = 0;
  bool padsKnown = false;
};

struct Ime {
  bool enabled = true;
  bool open = true;
  bool composing = false;
  char composition[kImeTextCapacity] = {};  // CP932
  uint8_t attributes[kImeTextCapacity] = {};
  int compositionLength = 0;
  int cursor = 0;  // byte offset
  char result[kImeTextCapacity] = {};
  int resultLength = 0;
  std::vector<char> candidates;  // texts, each zero-terminated
  int candidateCount = 0;
  bool failNextCandidateRead = false;
};

struct Display {
  bool known = false;
  DisplayMode desktop;
  DisplayMode current;
  bool switched = false;
  DisplayCounters counters;
  bool failNextSet = false;
};

struct WindowSystem {
  ClassEntry classes[kMaxClasses];
  WindowRecord window;
  WindowRecord messageWindows[kMaxMessageWindows];  // no host window behind them
  Hwnd nextHandle = 0x100;
  Hwnd foreground = 0;
  std::vector<ThreadQueue> queues;
  Intake intake;
  Ime ime;
  Display display;
  int cursorCount = 0;
  CursorShape cursor = CursorShape::Arrow;
  bool cursorShown = true;
  bool screenSaverActive = true;
  uint32_t foregroundLockTimeout = kDefaultForegroundLockTimeout;
  std::vector<std::pair<uint32_t, uint32_t>> attachedInput;  // (thread, to thread)
  char foreignClass[kNameCapacity] = {};
  bool failNextRegister = false, failNextCreate = false;
  WindowCounters counters;
};

WindowSystem& State();
std::mutex& QueueMutex();

// The window record for a handle, or nullptr.
WindowRecord* FindWindowRecord(Hwnd window);
// The same for message-only windows (message_window.cpp).
WindowRecord* FindMessageWindowRecord(Hwnd window);
// Either kind: where posted, sent and dispatched messages go.
WindowRecord* FindTargetRecord(Hwnd window);
// Appends to the queue of `thread` (made when missing); the queue mutex must
// not be held.
void PostToThread(uint32_t thread, const Msg& message, bool atFront);
// Measures the desktop once.
void EnsureDisplayKnown();
// Posts WM_ACTIVATEAPP and WM_ACTIVATE when `focus` differs from what the
// window was last told; SyncActivation does it for the host's focus now.
void SetActivation(bool focus);
void SyncActivation();
// Host events of the window's thread into messages (window_events.cpp).
void IntakeHostEvents();
// Shows or hides the host cursor from the display count and shape.
void ApplyCursor();
// Composition and text from host events (ime.cpp).
void ImeOnEditing(const HostEvent& event);
bool ImeOnText(const HostEvent& event);  // true when the IME took the text

}  // namespace plat::win
