// Window classes, the one window, its placement, paint state, cursor and
// screen saver.
#include <algorithm>
#include <cstring>

#include "platform/host/host.h"
#include "platform/kernel/text_encoding.h"
#include "platform/kernel/thread_id.h"
#include "platform/window/window_state.h"
#include "platform/window/window_timer.h"

namespace plat {

namespace win {

namespace {

WindowSystem g_state;
std::mutex g_queueMutex;

void CopyName(char (&dst)[kNameCapacity], const char* src) {
  std::strncpy(dst, src ? src : "", kNameCapacity - 1);
  dst[kNameCapacity - 1] = '\0';
}

}  // namespace

WindowSystem& State() { return g_state; }
std::mutex& QueueMutex() { return g_queueMutex; }

WindowRecord* FindWindowRecord(Hwnd window) {
  WindowRecord& w = g_state.window;
  return (window != 0 && w.exists && w.handle == window) ? &w : nullptr;
}

void ApplyCursor() {
  const bool shown = g_state.cursorCount >= 0 && g_state.cursor != CursorShape::None;
  if (shown != g_state.cursorShown) {
    g_state.cursorShown = shown;
    HostSetCursorVisible(shown);
  }
}

void SyncActivation() {
  const WindowRecord& w = g_state.window;
  if (w.exists) SetActivation(w.visible && !w.minimized && HostHasFocus());
}

}  // namespace win

using namespace win;

namespace {

void FrameOf(uint32_t style, int* side, int* caption) {
  *side = 0;
  if (style & WS_THICKFRAME) *side = kThickFrameBorder;
  else if (style & (WS_BORDER | WS_DLGFRAME)) *side = kFrameBorder;
  *caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
}

Rect ClientOnDesktop(const WindowRecord& w) {
  int side = 0, caption = 0;
  FrameOf(w.style, &side, &caption);
  Rect r{w.rect.left + side, w.rect.top + side + caption, w.rect.right - side, w.rect.bottom - side};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void SetHostTitle(const char* cp932) {
  char utf8[kNameCapacity * 3];
  if (Cp932ToUtf8(cp932, utf8, sizeof utf8) < 0) utf8[0] = '\0';
  HostSetTitle(utf8);
}

}  // namespace

bool RegisterClass(const char* className, WindowProc procedure) {
  WindowSystem& s = State();
  ++s.counters.registerCalls;
  if (s.failNextRegister) {
    s.failNextRegister = false;
    return false;
  }
  if (className == nullptr || className[0] == '\0' || procedure == nullptr) return false;
  ClassEntry* free = nullptr;
  for (ClassEntry& c : s.classes) {
    if (c.used && std::strcmp(c.name, className) == 0) return false;
    if (!c.used && free == nullptr) free = &c;
  }
  if (free == nullptr) return false;
  free->used = true;
  CopyName(free->name, className);
  free->procedure = procedure;
  return true;
}

bool UnregisterClass(const char* className) {
  if (className == nullptr) return false;
  for (ClassEntry& c : State().classes) {
    if (c.used && std::strcmp(c.name, className) == 0) {
      if (State().window.exists && std::strcmp(State().window.className, className) == 0) return false;
      c = ClassEntry{};
      return true;
    }
  }
  return false;
}

Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style, int x, int y,
                    int width, int height) {
  WindowSystem& s = State();
  ++s.counters.createCalls;
  if (s.failNextCreate) {
    s.failNextCreate = false;
    return 0;
  }
  if (s.window.exists || className == nullptr) return 0;
  const ClassEntry* cls = nullptr;
  for (const ClassEntry& c : s.classes) {
    if (c.used && std::strcmp(c.name, className) == 0) cls = &c;
  }
  if (cls == nullptr) return 0;
  WindowRecord w;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.rect = Rect{x, y, x + (width > 0 ? width : 0), y + (height > 0 ? height : 0)};
  const Rect client = ClientOnDesktop(w);
  const int clientW = client.right - client.left, clientH = client.bottom - client.top;
  SetHostTitle(title ? title : "");
  if (!HostCreateWindow(clientW > 0 ? clientW : 1, clientH > 0 ? clientH : 1)) return 0;
  EnsureDisplayKnown();
  w.exists = true;
  w.handle = s.nextHandle++;
  w.thread = GetCurrentThreadId();
  w.procedure = cls->procedure;
  CopyName(w.className, className);
  CopyName(w.title, title);
  w.topMost = (exStyle & WS_EX_TOPMOST) != 0;
  s.window = w;
  s.intake.active = false;
  s.intake.minimized = false;
  // Text comes as characters whether or not the input method is on.
  HostStartTextInput();
  SendMessage(w.handle, WM_CREATE, 0, 0);
  if (style & WS_VISIBLE) ShowWindow(w.handle, SW_SHOW);
  return w.handle;
}

bool DestroyWindow(Hwnd window) {
  WindowSystem& s = State();
  if (FindMessageWindowRecord(window) != nullptr) return DestroyMessageWindow(window);
  if (FindWindowRecord(window) == nullptr) return false;
  ++s.counters.destroyCalls;
  SendMessage(window, WM_DESTROY, 0, 0);
  if (FindWindowRecord(window) == nullptr) return true;  // destroyed from inside WM_DESTROY
  const uint32_t thread = s.window.thread;
  HostStopTextInput();
  HostDestroyWindow();
  s.window = WindowRecord{};
  if (s.foreground == window) s.foreground = 0;
  s.intake.active = false;
  std::lock_guard<std::mutex> lock(QueueMutex());
  for (ThreadQueue& q : s.queues) {
    if (q.thread != thread) continue;
    std::erase_if(q.messages, [window](const Msg& m) { return m.hwnd == window; });
  }
  return true;
}

bool IsWindow(Hwnd window) { return FindTargetRecord(window) != nullptr; }

Hwnd FindWindow(const char* className) {
  if (className == nullptr) return 0;
  const WindowSystem& s = State();
  if (s.window.exists && std::strcmp(s.window.className, className) == 0) return s.window.handle;
  // A window of another process: a handle that is never one of ours.
  if (s.foreignClass[0] != '\0' && std::strcmp(s.foreignClass, className) == 0) return 0x7FFF0000;
  return 0;
}

uint32_t GetWindowThreadId(Hwnd window) {
  const WindowRecord* w = FindTargetRecord(window);
  return w ? w->thread : 0;
}

WindowProc GetWindowProc(Hwnd window) {
  const WindowRecord* w = FindWindowRecord(window);
  return w ? w->procedure : nullptr;
}

WindowProc SetWindowProc(Hwnd window, WindowProc procedure) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr || procedure == nullptr) return nullptr;
  const WindowProc old = w->procedure;
  w->procedure = procedure;
  return old;
}

bool ShowWindow(Hwnd window, int command) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  const bool wasVisible = w->visible;
  switch (command) {
    case SW_HIDE:
      HostShowWindow(false);
      w->visible = false;
      break;
    case SW_MINIMIZE:
      if (!w->visible) HostShowWindow(true);
      w->visible = true;
      HostMinimizeWindow();
      if (!w->minimized) {
        w->minimized = State().intake.minimized = true;
        PostMessage(window, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      break;
    case SW_RESTORE:
    case SW_SHOW:
    default: {
      if (!w->visible) HostShowWindow(true);
      w->visible = true;
      if (w->minimized) {
        HostRaiseWindow();
        w->minimized = State().intake.minimized = false;
        const Rect c = ClientOnDesktop(*w);
        PostMessage(window, WM_SIZE, SIZE_RESTORED, MakeLParam(c.right - c.left, c.bottom - c.top));
      }
      w->paintPending = true;
      break;
    }
  }
  SyncActivation();
  return wasVisible;
}

bool UpdateWindow(Hwnd window) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  if (w->paintPending && w->visible) SendMessage(window, WM_PAINT, 0, 0);
  return true;
}

bool IsIconic(Hwnd window) {
  const WindowRecord* w = FindWindowRecord(window);
  return w != nullptr && w->minimized;
}

bool SetWindowText(Hwnd window, const char* cp932) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  CopyName(w->title, cp932);
  SetHostTitle(w->title);
  return true;
}

bool SetWindowStyle(Hwnd window, uint32_t style, uint32_t exStyle) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->topMost = (exStyle & WS_EX_TOPMOST) != 0;
  if ((style & WS_VISIBLE) && !w->visible) ShowWindow(window, SW_SHOW);
  return true;
}

uint32_t GetWindowStyle(Hwnd window) {
  const WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return 0;
  return w->style | (w->visible ? WS_VISIBLE : 0u);
}

bool AdjustWindowRectEx(Rect* rect, uint32_t style, uint32_t /*exStyle*/) {
  if (rect == nullptr) return false;
  int side = 0, caption = 0;
  FrameOf(style, &side, &caption);
  rect->left -= side;
  rect->top -= side + caption;
  rect->right += side;
  rect->bottom += side;
  return true;
}

bool GetWindowRect(Hwnd window, Rect* out) {
  const WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr || out == nullptr) return false;
  *out = w->rect;
  return true;
}

bool GetClientRect(Hwnd window, Rect* out) {
  const WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr || out == nullptr) return false;
  const Rect c = ClientOnDesktop(*w);
  *out = Rect{0, 0, c.right - c.left, c.bottom - c.top};
  return true;
}

bool ClientToScreen(Hwnd window, Point* point) {
  const WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr || point == nullptr) return false;
  const Rect c = ClientOnDesktop(*w);
  point->x += c.left;
  point->y += c.top;
  return true;
}

bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  const Rect oldClient = ClientOnDesktop(*w);
  Rect r = w->rect;
  if (!(flags & SWP_NOMOVE)) {
    const int dw = r.right - r.left, dh = r.bottom - r.top;
    r = Rect{x, y, x + dw, y + dh};
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + (width > 0 ? width : 0);
    r.bottom = r.top + (height > 0 ? height : 0);
  }
  if (!(flags & SWP_NOZORDER)) w->topMost = insertAfter == HWND_TOPMOST;
  w->rect = r;
  const Rect c = ClientOnDesktop(*w);
  if (c.left != oldClient.left || c.top != oldClient.top) SendMessage(window, WM_MOVE, 0, MakeLParam(c.left, c.top));
  if (FindWindowRecord(window) != nullptr &&
      (c.right - c.left != oldClient.right - oldClient.left || c.bottom - c.top != oldClient.bottom - oldClient.top)) {
    SendMessage(window, WM_SIZE, SIZE_RESTORED, MakeLParam(c.right - c.left, c.bottom - c.top));
  }
  return true;
}

bool MoveWindow(Hwnd window, int x, int y, int width, int height) {
  return SetWindowPos(window, 0, x, y, width, height, SWP_NOZORDER);
}

bool BringWindowToTop(Hwnd window) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  HostRaiseWindow();
  if (w->minimized) ShowWindow(window, SW_RESTORE);
  SyncActivation();
  return true;
}

// The one window of the host is ours; another program's is in front while
// the foreground is none of ours.
bool SetForegroundWindow(Hwnd window) {
  WindowSystem& s = State();
  if (FindWindowRecord(window) == nullptr) return false;
  if (s.foreground != window && s.foregroundLockTimeout != 0) {
    ++s.counters.foregroundRefusals;
    return false;
  }
  return BringWindowToTop(window);
}

bool AttachThreadInput(uint32_t thread, uint32_t toThread, bool attach) {
  WindowSystem& s = State();
  ++s.counters.attachInputCalls;
  if (thread == 0 || toThread == 0 || thread == toThread) return false;
  auto& pairs = s.attachedInput;
  const auto at = std::find(pairs.begin(), pairs.end(), std::make_pair(thread, toThread));
  if (attach && at == pairs.end()) pairs.emplace_back(thread, toThread);
  if (!attach) {
    if (at == pairs.end()) return false;
    pairs.erase(at);
  }
  return true;
}

int AttachedInputCount() { return static_cast<int>(State().attachedInput.size()); }

uint32_t GetForegroundLockTimeout() { return State().foregroundLockTimeout; }

void SetForegroundLockTimeout(uint32_t ms) {
  ++State().counters.lockTimeoutSets;
  State().foregroundLockTimeout = ms;
}

Hwnd SetActiveWindow(Hwnd window) {
  const Hwnd old = State().foreground;
  if (FindWindowRecord(window) != nullptr) BringWindowToTop(window);
  return old;
}

Hwnd GetForegroundWindow() { return State().foreground; }

bool IsTopMost(Hwnd window) {
  const WindowRecord* w = FindWindowRecord(window);
  return w != nullptr && w->topMost;
}

bool InvalidateRect(Hwnd window) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  w->paintPending = true;
  return true;
}

bool BeginPaint(Hwnd window, Rect* paintRect) {
  WindowRecord* w = FindWindowRecord(window);
  if (w == nullptr) return false;
  w->paintPending = false;
  if (paintRect != nullptr) GetClientRect(window, paintRect);
  return true;
}

bool EndPaint(Hwnd window) { return FindWindowRecord(window) != nullptr; }

int ShowCursor(bool show) {
  WindowSystem& s = State();
  ++s.counters.showCursorCalls;
  s.cursorCount += show ? 1 : -1;
  ApplyCursor();
  return s.cursorCount;
}

CursorShape SetCursor(CursorShape shape) {
  const CursorShape old = State().cursor;
  State().cursor = shape;
  ApplyCursor();
  return old;
}

bool GetCursorPos(Point* out) {
  if (out == nullptr) return false;
  const WindowSystem& s = State();
  *out = Point{s.intake.mouse.x, s.intake.mouse.y};
  if (s.window.exists) ClientToScreen(s.window.handle, out);
  return true;
}

void SetScreenSaverActive(bool active) { State().screenSaverActive = active; }
bool IsScreenSaverActive() { return State().screenSaverActive; }
uint32_t GetOEMCP() { return 932; }

WindowCounters GetWindowCounters() { return State().counters; }
void FailNextRegisterClass() { State().failNextRegister = true; }
void FailNextCreateWindowEx() { State().failNextCreate = true; }
void SetForeignWindowClass(const char* className) { CopyName(State().foreignClass, className); }

void ResetWindowStandIn() {
  WindowSystem& s = State();
  if (s.window.exists) {
    HostStopTextInput();
    HostDestroyWindow();
  }
  {
    std::lock_guard<std::mutex> lock(QueueMutex());
    s.queues.clear();
  }
  s = WindowSystem{};
  ResetWindowTimers();
}

}  // namespace plat
