// Per-thread message queues: post, peek, translate, dispatch, and the
// default handling of the few messages the window system itself acts on.
#include <algorithm>

#include "platform/host/host.h"
#include "platform/kernel/thread_id.h"
#include "platform/net/winsock.h"
#include "platform/window/window_state.h"
#include "platform/window/window_timer.h"

namespace plat {

namespace win {

namespace {

// The queue of `thread`; the queue mutex is held.
ThreadQueue& QueueOf(uint32_t thread) {
  for (ThreadQueue& q : State().queues) {
    if (q.thread == thread) return q;
  }
  State().queues.push_back(ThreadQueue{});
  State().queues.back().thread = thread;
  return State().queues.back();
}

bool Matches(const Msg& m, Hwnd filter) {
  if (filter == kAnyWindow) return true;
  if (filter == kThreadMessagesOnly) return m.hwnd == 0;
  return m.hwnd == filter;
}

}  // namespace

void PostToThread(uint32_t thread, const Msg& message, bool atFront) {
  std::lock_guard<std::mutex> lock(QueueMutex());
  ThreadQueue& q = QueueOf(thread);
  if (atFront) q.messages.push_front(message);
  else q.messages.push_back(message);
  ++State().counters.posted;
}

}  // namespace win

using namespace win;

bool PostMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  if (window == 0) return PostThreadMessage(GetCurrentThreadId(), message, wParam, lParam);
  const WindowRecord* w = FindTargetRecord(window);
  if (w == nullptr) return false;
  PostToThread(w->thread, Msg{window, message, wParam, lParam, HostMillis()}, false);
  return true;
}

bool PostThreadMessage(uint32_t threadId, uint32_t message, WParam wParam, LParam lParam) {
  if (threadId == 0) return false;
  PostToThread(threadId, Msg{0, message, wParam, lParam, HostMillis()}, false);
  return true;
}

void PostQuitMessage(int exitCode) {
  std::lock_guard<std::mutex> lock(QueueMutex());
  ThreadQueue& q = QueueOf(GetCurrentThreadId());
  q.quitPosted = true;
  q.quitCode = exitCode;
}

LResult SendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  const WindowRecord* w = FindTargetRecord(window);
  if (w == nullptr || w->procedure == nullptr) return 0;
  return w->procedure(window, message, wParam, lParam);
}

void CollectHostEvents() {
  const WindowRecord& w = State().window;
  if (w.exists && w.thread == GetCurrentThreadId()) IntakeHostEvents();
}

bool PeekMessage(Msg* out, Hwnd filter, uint32_t removeFlags) {
  WindowSystem& s = State();
  ++s.counters.peekCalls;
  Msg ignored;
  if (out == nullptr) out = &ignored;
  const uint32_t thread = GetCurrentThreadId();
  CollectHostEvents();
  CollectSocketEvents();
  {
    std::lock_guard<std::mutex> lock(QueueMutex());
    ThreadQueue& q = QueueOf(thread);
    const auto it = std::find_if(q.messages.begin(), q.messages.end(),
                                 [filter](const Msg& m) { return Matches(m, filter); });
    if (it != q.messages.end()) {
      *out = *it;
      if (removeFlags & PM_REMOVE) {
        q.messages.erase(it);
        if (out->hostKey != 0 && out->hostKey < hid::Count) {
          const bool down = out->message == WM_KEYDOWN || out->message == WM_SYSKEYDOWN;
          s.intake.takenKeys[out->hostKey] = down;
        }
      }
      ++s.counters.peekHits;
      return true;
    }
    // WM_QUIT comes once nothing else is posted, before any paint.
    if (q.quitPosted) {
      *out = Msg{0, WM_QUIT, static_cast<WParam>(q.quitCode), 0, HostMillis()};
      if (removeFlags & PM_REMOVE) q.quitPosted = false;
      ++s.counters.peekHits;
      return true;
    }
  }
  if (TakeDueTimer(filter, out, (removeFlags & PM_REMOVE) != 0)) {
    ++s.counters.peekHits;
    return true;
  }
  const WindowRecord& w = s.window;
  if (w.exists && w.thread == thread && w.visible && w.paintPending && (filter == kAnyWindow || filter == w.handle)) {
    *out = Msg{w.handle, WM_PAINT, 0, 0, HostMillis()};
    ++s.counters.peekHits;
    return true;
  }
  return false;
}

bool TranslateMessage(const Msg* message) {
  if (message == nullptr) return false;
  if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) return false;
  const int vk = static_cast<int>(message->wParam & 0xFF);
  const Intake& in = State().intake;
  const bool ctrl = in.takenKeys[hid::LeftCtrl] || in.takenKeys[hid::RightCtrl];
  int ch = -1;
  switch (vk) {
    case VK_BACK: ch = 0x08; break;
    case VK_TAB: ch = 0x09; break;
    case VK_RETURN: ch = ctrl ? 0x0A : 0x0D; break;
    case VK_ESCAPE: ch = 0x1B; break;
    default:
      // Printable text comes from the host's text events; only Ctrl+letter
      // is made here.
      if (ctrl && vk >= 'A' && vk <= 'Z') ch = vk - 'A' + 1;
      break;
  }
  if (ch < 0) return false;
  const uint32_t kind = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  // The character is the next message the thread takes.
  PostToThread(GetCurrentThreadId(), Msg{message->hwnd, kind, static_cast<WParam>(ch), message->lParam, message->time},
               true);
  return true;
}

LResult DispatchMessage(const Msg* message) {
  if (message == nullptr) return 0;
  ++State().counters.dispatched;
  if (RunTimerCallback(*message)) return 0;
  const WindowRecord* w = FindTargetRecord(message->hwnd);
  if (w == nullptr || w->procedure == nullptr) return 0;
  return w->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

LResult DefWindowProc(Hwnd window, uint32_t message, WParam /*wParam*/, LParam /*lParam*/) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_PAINT: BeginPaint(window, nullptr); EndPaint(window); return 0;
    default: return 0;
  }
}

int QueuedMessageCount() {
  std::lock_guard<std::mutex> lock(QueueMutex());
  return static_cast<int>(QueueOf(GetCurrentThreadId()).messages.size());
}

}  // namespace plat
