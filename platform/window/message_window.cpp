// Message-only windows: records beside the one host window, reached by
// posting, sending and dispatching like it, never shown.
#include <algorithm>
#include <cstring>

#include "platform/kernel/thread_id.h"
#include "platform/window/window_state.h"

namespace plat {

namespace win {

WindowRecord* FindMessageWindowRecord(Hwnd window) {
  if (window == 0) return nullptr;
  for (WindowRecord& w : State().messageWindows) {
    if (w.exists && w.handle == window) return &w;
  }
  return nullptr;
}

WindowRecord* FindTargetRecord(Hwnd window) {
  WindowRecord* w = FindWindowRecord(window);
  return w != nullptr ? w : FindMessageWindowRecord(window);
}

}  // namespace win

using namespace win;

namespace {

void DropQueued(uint32_t thread, Hwnd window) {
  std::lock_guard<std::mutex> lock(QueueMutex());
  for (ThreadQueue& q : State().queues) {
    if (q.thread == thread) std::erase_if(q.messages, [window](const Msg& m) { return m.hwnd == window; });
  }
}

}  // namespace

Hwnd CreateMessageWindow(const char* className) {
  WindowSystem& s = State();
  if (className == nullptr) return 0;
  const ClassEntry* cls = nullptr;
  for (const ClassEntry& c : s.classes) {
    if (c.used && std::strcmp(c.name, className) == 0) cls = &c;
  }
  if (cls == nullptr) return 0;
  for (WindowRecord& w : s.messageWindows) {
    if (w.exists) continue;
    w = WindowRecord{};
    w.exists = true;
    w.handle = s.nextHandle++;
    w.thread = GetCurrentThreadId();
    w.procedure = cls->procedure;
    std::strncpy(w.className, className, kNameCapacity - 1);
    SendMessage(w.handle, WM_CREATE, 0, 0);
    return w.handle;
  }
  return 0;
}

bool DestroyMessageWindow(Hwnd window) {
  if (FindMessageWindowRecord(window) == nullptr) return false;
  SendMessage(window, WM_DESTROY, 0, 0);
  WindowRecord* w = FindMessageWindowRecord(window);
  if (w == nullptr) return true;  // destroyed from inside WM_DESTROY
  const uint32_t thread = w->thread;
  *w = WindowRecord{};
  DropQueued(thread, window);
  return true;
}

int RemoveQueuedMessages(Hwnd window, uint32_t message, WParam wParam) {
  const WindowRecord* w = FindTargetRecord(window);
  if (w == nullptr) return 0;
  std::lock_guard<std::mutex> lock(QueueMutex());
  size_t removed = 0;
  for (ThreadQueue& q : State().queues) {
    if (q.thread != w->thread) continue;
    removed += std::erase_if(q.messages, [&](const Msg& m) {
      return m.hwnd == window && m.message == message && m.wParam == wParam;
    });
  }
  return static_cast<int>(removed);
}

}  // namespace plat
