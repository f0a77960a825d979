// Host events become the messages a Windows program would receive, posted
// to the window's queue in the order the host reported them, and the raw
// input state the device layer reads.
#include <cstring>

#include "platform/host/host.h"
#include "platform/kernel/text_encoding.h"
#include "platform/window/window_state.h"

namespace plat {

namespace win {

namespace {

void Post(uint32_t message, WParam wParam, LParam lParam, int hostKey = 0) {
  const WindowRecord& w = State().window;
  PostToThread(w.thread, Msg{w.handle, message, wParam, lParam, HostMillis(), static_cast<uint16_t>(hostKey)}, false);
}

int CommonVirtualKey(int vk) {
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) return VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) return VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) return VK_MENU;
  return vk;
}

void OnKey(const HostEvent& e, bool down) {
  if (e.key <= 0 || e.key >= hid::Count) return;
  Intake& in = State().intake;
  const bool wasDown = in.keys[e.key];
  in.keys[e.key] = down;
  if (wasDown != down) ++in.keyChanges;
  const KeyCodes codes = KeyCodesFromHid(e.key);
  if (codes.virtualKey == 0) {
    State().intake.takenKeys[e.key] = down;  // no message will carry it
    return;
  }
  const int vk = CommonVirtualKey(codes.virtualKey);
  const bool alt = in.keys[hid::LeftAlt] || in.keys[hid::RightAlt];
  const bool ctrl = in.keys[hid::LeftCtrl] || in.keys[hid::RightCtrl];
  // Alt makes system keys (Ctrl+Alt is AltGr typing, not a system key); so
  // does F10 and the Alt key itself going up.
  const bool system = (alt && !ctrl) || vk == VK_F10 || (!down && vk == VK_MENU && !ctrl);
  uint32_t message;
  if (down) message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
  else message = system ? WM_SYSKEYUP : WM_KEYUP;
  // Repeat count 1, scan code, extended flag, context (Alt), previous state, transition.
  const uint32_t scan = codes.dik & 0x7Fu, extended = (codes.dik & 0x80u) ? 1u : 0u;
  uint32_t bits = 1u | (scan << 16) | (extended << 24);
  if (alt) bits |= 1u << 29;
  if (down ? wasDown : true) bits |= 1u << 30;
  if (!down) bits |= 1u << 31;
  Post(message, static_cast<WParam>(vk), static_cast<LParam>(static_cast<int32_t>(bits)), e.key);
}

void OnText(const HostEvent& e) {
  if (ImeOnText(e)) return;
  char bytes[sizeof e.text * 2];
  if (Utf8ToCp932(e.text, bytes, sizeof bytes) < 0) return;
  const Intake& in = State().intake;
  // Left Alt makes system characters; right Alt types (AltGr).
  const uint32_t message = in.keys[hid::LeftAlt] ? WM_SYSCHAR : WM_CHAR;
  for (const char* p = bytes; *p != '\0'; ++p) Post(message, static_cast<uint8_t>(*p), 1);
}

int MouseKeys() {
  const RawMouse& m = State().intake.mouse;
  return (m.buttons[0] ? 0x1 : 0) | (m.buttons[1] ? 0x2 : 0) | (m.buttons[2] ? 0x10 : 0);
}

void OnMouse(const HostEvent& e) {
  RawMouse& m = State().intake.mouse;
  m.dx += e.x - m.x;
  m.dy += e.y - m.y;
  m.x = e.x;
  m.y = e.y;
  uint32_t message = WM_MOUSEMOVE;
  if (e.kind != HostEventKind::MouseMove) {
    const bool down = e.kind == HostEventKind::MouseDown;
    // Host buttons: 1 left, 2 middle, 3 right.
    const int index = e.button == 1 ? 0 : e.button == 3 ? 1 : 2;
    m.buttons[index] = down;
    static const uint32_t kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const uint32_t kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    message = down ? kDown[index] : kUp[index];
  }
  Post(message, static_cast<WParam>(MouseKeys()), MakeLParam(e.x, e.y));
}

void OnWheel(const HostEvent& e) {
  RawMouse& m = State().intake.mouse;
  const int delta = e.wheel * WHEEL_DELTA;
  m.wheel += delta;
  Point p{m.x, m.y};
  ClientToScreen(State().window.handle, &p);
  const WParam w = static_cast<WParam>(MouseKeys()) | (static_cast<WParam>(static_cast<uint16_t>(delta)) << 16);
  Post(WM_MOUSEWHEEL, w, MakeLParam(p.x, p.y));
}

void EnsurePadsKnown() {
  Intake& in = State().intake;
  if (in.padsKnown) return;
  in.padsKnown = true;
  const int n = HostPadCount();
  for (int i = 0; i < n; ++i) in.padIds.push_back(in.nextPadId++);
}

// The host adds pads at the end and closes the gap when one goes; the list
// here follows, without counting twice a pad it saw when it was made.
void OnPad(const HostEvent& e) {
  Intake& in = State().intake;
  if (!in.padsKnown) {
    EnsurePadsKnown();
    return;
  }
  const int count = static_cast<int>(in.padIds.size());
  const int hostCount = HostPadCount();
  if (e.kind == HostEventKind::PadAdded && count < hostCount && e.pad >= 0 && e.pad <= count) {
    in.padIds.insert(in.padIds.begin() + e.pad, in.nextPadId++);
  } else if (e.kind == HostEventKind::PadRemoved && count > hostCount && e.pad >= 0 && e.pad < count) {
    in.padIds.erase(in.padIds.begin() + e.pad);
  }
}

Rect ClientSize() {
  Rect c;
  GetClientRect(State().window.handle, &c);
  return c;
}

void OnEvent(const HostEvent& e) {
  WindowRecord& w = State().window;
  switch (e.kind) {
    case HostEventKind::KeyDown: OnKey(e, true); break;
    case HostEventKind::KeyUp: OnKey(e, false); break;
    case HostEventKind::TextInput: OnText(e); break;
    case HostEventKind::TextEditing: ImeOnEditing(e); break;
    case HostEventKind::FocusGained: SetActivation(w.visible && !w.minimized); break;
    case HostEventKind::FocusLost: SetActivation(false); break;
    case HostEventKind::Minimized:
      if (!w.minimized) {
        w.minimized = State().intake.minimized = true;
        Post(WM_SIZE, SIZE_MINIMIZED, 0);
      }
      SetActivation(false);
      break;
    case HostEventKind::Restored:
      if (w.minimized) {
        w.minimized = State().intake.minimized = false;
        const Rect c = ClientSize();
        Post(WM_SIZE, SIZE_RESTORED, MakeLParam(c.right, c.bottom));
        w.paintPending = true;
      }
      break;
    case HostEventKind::CloseRequest: Post(WM_CLOSE, 0, 0); break;
    case HostEventKind::Expose: w.paintPending = true; break;
    case HostEventKind::Resize:
      Post(WM_SIZE, SIZE_RESTORED, MakeLParam(e.x, e.y));
      w.paintPending = true;
      break;
    case HostEventKind::MouseMove:
    case HostEventKind::MouseDown:
    case HostEventKind::MouseUp: OnMouse(e); break;
    case HostEventKind::MouseWheel: OnWheel(e); break;
    case HostEventKind::PadAdded:
    case HostEventKind::PadRemoved: OnPad(e); break;
    case HostEventKind::None: break;
  }
}

}  // namespace

void SetActivation(bool focus) {
  WindowRecord& w = State().window;
  Intake& in = State().intake;
  if (!w.exists || focus == in.active) return;
  in.active = focus;
  if (focus) State().foreground = w.handle;
  else if (State().foreground == w.handle) State().foreground = 0;
  Post(WM_ACTIVATEAPP, focus ? 1u : 0u, 0);
  Post(WM_ACTIVATE, (focus ? WA_ACTIVE : WA_INACTIVE) | (static_cast<WParam>(w.minimized ? 1 : 0) << 16), 0);
}

void IntakeHostEvents() {
  if (!State().window.exists) return;
  HostEvent e;
  while (State().window.exists && HostPollEvent(&e)) OnEvent(e);
}

}  // namespace win

RawMouse TakeMouseMotion() {
  RawMouse& m = win::State().intake.mouse;
  const RawMouse out = m;
  m.dx = m.dy = m.wheel = 0;
  return out;
}

int PadIdAt(int hostIndex) {
  win::EnsurePadsKnown();
  const auto& ids = win::State().intake.padIds;
  if (hostIndex < 0 || hostIndex >= static_cast<int>(ids.size())) return -1;
  return ids[static_cast<size_t>(hostIndex)];
}

int PadIndexOfId(int padId) {
  win::EnsurePadsKnown();
  const auto& ids = win::State().intake.padIds;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == padId) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace plat
