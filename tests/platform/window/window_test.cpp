// Host events as window messages, the queues, translation, placement, the
// foreground lock and the display.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host_backend.h"
#include "platform/kernel/threads.h"
#include "platform/window/display_settings.h"
#include "platform/window/ime.h"
#include "platform/window/raw_input.h"
#include "platform/window/window.h"

using namespace plat;
namespace hl = plat::headless;

namespace {

std::vector<Msg> g_sent;  // messages that reached the procedure directly

LResult Record(Hwnd w, uint32_t m, WParam wp, LParam lp) {
  g_sent.push_back(Msg{w, m, wp, lp, 0, 0});
  return DefWindowProc(w, m, wp, lp);
}

struct WindowScope {
  Hwnd window = 0;
  WindowScope() {
    ResetWindowStandIn();
    hl::Reset();
    g_sent.clear();
    EXPECT_TRUE(RegisterClass("test", Record));
    window = CreateWindowEx(0, "test", "title", WS_CAPTION | WS_SYSMENU, 100, 50, 646, 508);
    EXPECT_NE(window, 0);
  }
  ~WindowScope() {
    ResetWindowStandIn();
    hl::Reset();
  }
};

// Takes every message, translating key messages as a pump does.
std::vector<Msg> Drain() {
  std::vector<Msg> out;
  Msg m;
  while (PeekMessage(&m, kAnyWindow, PM_REMOVE)) {
    if (m.message == WM_PAINT) BeginPaint(m.hwnd, nullptr);
    TranslateMessage(&m);
    out.push_back(m);
  }
  return out;
}

std::vector<uint32_t> Kinds(const std::vector<Msg>& v) {
  std::vector<uint32_t> k;
  for (const Msg& m : v) k.push_back(m.message);
  return k;
}

void Key(bool down, int key) { hl::PushEvent(hl::KeyEvent(down, key)); }

HostEvent Simple(HostEventKind kind) {
  HostEvent e;
  e.kind = kind;
  return e;
}

TEST(Window, CreationShowsAndActivates) {
  WindowScope s;
  Rect client;
  ASSERT_TRUE(GetClientRect(s.window, &client));
  EXPECT_EQ(client.right, 640);   // less two 3-pixel borders
  EXPECT_EQ(client.bottom, 480);  // less the borders and the 22-pixel title bar
  EXPECT_TRUE(hl::GetWindowState().created);
  EXPECT_FALSE(hl::GetWindowState().visible);
  ShowWindow(s.window, SW_SHOW);
  EXPECT_EQ(Kinds(Drain()), (std::vector<uint32_t>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_PAINT}));
  EXPECT_EQ(GetForegroundWindow(), s.window);
  Rect r{0, 0, 640, 480};
  AdjustWindowRectEx(&r, WS_CAPTION, 0);
  EXPECT_EQ(r.right - r.left, 646);
  EXPECT_EQ(r.bottom - r.top, 480 + 6 + 22);
  EXPECT_EQ(FindWindow("test"), s.window);
  EXPECT_EQ(FindWindow("other"), 0);
}

TEST(Window, HostEventsBecomeMessages) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  Key(true, hid::Escape);
  Key(false, hid::Escape);
  Key(true, hid::Left);
  HostEvent text = Simple(HostEventKind::TextInput);
  std::snprintf(text.text, sizeof text.text, "%s", reinterpret_cast<const char*>(u8"aあ"));
  hl::PushEvent(text);
  HostEvent wheel = Simple(HostEventKind::MouseWheel);
  wheel.wheel = -1;
  hl::PushEvent(wheel);
  hl::PushEvent(Simple(HostEventKind::CloseRequest));
  const std::vector<Msg> m = Drain();
  ASSERT_EQ(Kinds(m), (std::vector<uint32_t>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_CHAR, WM_CHAR,
                                             WM_MOUSEWHEEL, WM_CLOSE}));
  EXPECT_EQ(m[0].wParam, static_cast<WParam>(VK_ESCAPE));
  EXPECT_EQ((m[0].lParam >> 16) & 0xFF, 0x01);  // scan code
  EXPECT_EQ(m[1].wParam, 0x1Bu);
  EXPECT_EQ(m[3].wParam, static_cast<WParam>(VK_LEFT));
  EXPECT_EQ(m[4].wParam, static_cast<WParam>('a'));
  EXPECT_EQ(m[5].wParam, 0x82u);
  EXPECT_EQ(m[6].wParam, 0xA0u);
  EXPECT_EQ(static_cast<int16_t>(HiWord(m[7].wParam)), -WHEEL_DELTA);
  EXPECT_EQ(m[0].hwnd, s.window);
}

// Each host button (1 left, 2 middle, 3 right) pressed in turn and held:
// its own message, the buttons held so far in the key word (left 0x1,
// right 0x2, middle 0x10), the position in the low and high words.
TEST(Window, MouseButtonsEachTheirOwnMessageAndKeyBit) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  for (int button : {1, 2, 3}) {
    HostEvent e = Simple(HostEventKind::MouseDown);
    e.button = button;
    e.x = 10 * button;
    e.y = 7;
    hl::PushEvent(e);
  }
  HostEvent up = Simple(HostEventKind::MouseUp);
  up.button = 2;
  hl::PushEvent(up);
  const std::vector<Msg> m = Drain();
  ASSERT_EQ(Kinds(m), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONUP}));
  EXPECT_EQ(m[0].wParam, 0x1u);
  EXPECT_EQ(m[1].wParam, 0x11u);
  EXPECT_EQ(m[2].wParam, 0x13u);
  EXPECT_EQ(m[3].wParam, 0x3u);
  EXPECT_EQ(m[1].lParam & 0xFFFF, 20);
  EXPECT_EQ((m[2].lParam >> 16) & 0xFFFF, 7);
}

TEST(Window, ControlCharactersAndSystemKeys) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  Key(true, hid::Backspace);
  Key(true, hid::Tab);
  Key(true, hid::Return);
  Key(true, hid::LeftCtrl);
  Key(true, hid::A + 2);  // Ctrl+C
  Key(true, hid::Return);  // Ctrl+Return
  Key(false, hid::LeftCtrl);
  Key(true, hid::LeftAlt);
  Key(true, hid::Return);  // Alt+Return
  Key(true, hid::F4);
  std::vector<Msg> chars;
  for (const Msg& m : Drain()) {
    if (m.message == WM_CHAR || m.message == WM_SYSCHAR || m.message == WM_SYSKEYDOWN) chars.push_back(m);
  }
  ASSERT_EQ(chars.size(), 9u);
  const uint32_t kinds[] = {WM_CHAR, WM_CHAR, WM_CHAR, WM_CHAR, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR,
                            WM_SYSKEYDOWN};
  const WParam values[] = {0x08, 0x09, 0x0D, 0x03, 0x0A, VK_MENU, VK_RETURN, 0x0D, VK_F4};
  for (size_t i = 0; i < chars.size(); ++i) {
    EXPECT_EQ(chars[i].message, kinds[i]) << i;
    EXPECT_EQ(chars[i].wParam, values[i]) << i;
  }
  uint8_t vk[256];
  GetKeyboardState(vk);
  EXPECT_EQ(vk[VK_MENU], 0x80);
  EXPECT_EQ(vk[VK_LMENU], 0x80);
  EXPECT_EQ(vk[VK_CONTROL], 0);
  Key(true, hid::RightCtrl);  // either side holds the common key
  Drain();
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(GetKeyState(VK_RCONTROL), 0);
  EXPECT_EQ(GetKeyState(256), 0);
}

TEST(Window, FocusLossCarriesTheMinimisedFlag) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  hl::PushEvent(Simple(HostEventKind::FocusLost));
  hl::PushEvent(Simple(HostEventKind::FocusGained));
  hl::PushEvent(Simple(HostEventKind::Minimized));
  std::vector<Msg> m = Drain();
  ASSERT_EQ(Kinds(m), (std::vector<uint32_t>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SIZE,
                                             WM_ACTIVATEAPP, WM_ACTIVATE}));
  EXPECT_EQ(m[1].wParam, WA_INACTIVE);
  EXPECT_EQ(m[3].wParam, WA_ACTIVE);
  EXPECT_EQ(m[4].wParam, SIZE_MINIMIZED);
  EXPECT_EQ(m[5].wParam, 0u);
  EXPECT_EQ(m[6].wParam, WA_INACTIVE | (1u << 16));
  EXPECT_TRUE(IsIconic(s.window));
  // Focus while minimised changes nothing until the window is restored.
  hl::PushEvent(Simple(HostEventKind::FocusGained));
  EXPECT_TRUE(Drain().empty());
  hl::PushEvent(Simple(HostEventKind::Restored));
  hl::PushEvent(Simple(HostEventKind::FocusGained));
  EXPECT_EQ(Kinds(Drain()), (std::vector<uint32_t>{WM_SIZE, WM_ACTIVATEAPP, WM_ACTIVATE, WM_PAINT}));
}

// Windows lets the program whose window is in front bring a window forward
// whatever the foreground lock; while another program's window is in front
// only a lock timeout of 0 lets it through.
TEST(Window, TheForegroundLockHoldsOnlyAgainstAnotherProgramsWindow) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  const struct {
    bool oursInFront;
    uint32_t lockMs;
    bool brought;
  } rows[] = {{true, 200000, true}, {true, 1, true},   {true, 0, true},
              {false, 0, true},     {false, 1, false}, {false, 200000, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.oursInFront << " " << row.lockMs);
    hl::PushEvent(Simple(row.oursInFront ? HostEventKind::FocusGained : HostEventKind::FocusLost));
    Drain();
    ASSERT_EQ(GetForegroundWindow() == s.window, row.oursInFront);
    SetForegroundLockTimeout(row.lockMs);
    const int refusals = GetWindowCounters().foregroundRefusals;
    EXPECT_EQ(SetForegroundWindow(s.window), row.brought);
    Drain();
    EXPECT_EQ(GetForegroundWindow() == s.window, row.brought);
    EXPECT_EQ(hl::GetWindowState().focus, row.brought);
    EXPECT_EQ(GetWindowCounters().foregroundRefusals - refusals, row.brought ? 0 : 1);
    EXPECT_EQ(GetForegroundLockTimeout(), row.lockMs);
  }
  EXPECT_FALSE(SetForegroundWindow(s.window + 1));
}

TEST(Window, QueueOrderFiltersQuitAndPaint) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  PostQuitMessage(3);
  PostMessage(s.window, WM_USER, 1, 0);
  PostMessage(0, WM_USER + 1, 2, 0);  // a thread message
  InvalidateRect(s.window);
  Msg m;
  ASSERT_TRUE(PeekMessage(&m, kThreadMessagesOnly, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessage(&m, s.window, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 0u);
  ASSERT_TRUE(PeekMessage(&m, kAnyWindow, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessage(&m, kAnyWindow, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);  // before paint
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessage(&m, kAnyWindow, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);  // stays until painted
  EXPECT_EQ(DispatchMessage(&m), 0);
  EXPECT_FALSE(PeekMessage(&m, kAnyWindow, PM_REMOVE));

  // Posted from another thread, taken here.
  struct Poster {
    Hwnd window;
  } poster{s.window};
  Thread* t = CreateThread([](void* p) { PostMessage(static_cast<Poster*>(p)->window, WM_USER + 7, 0, 0); }, &poster);
  JoinThread(t);
  ASSERT_TRUE(PeekMessage(&m, kAnyWindow, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 7u);

  // Destroying the window drops what was posted to it and sends WM_DESTROY.
  PostMessage(s.window, WM_USER + 8, 0, 0);
  g_sent.clear();
  EXPECT_TRUE(DestroyWindow(s.window));
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].message, WM_DESTROY);
  EXPECT_EQ(QueuedMessageCount(), 0);
  EXPECT_FALSE(IsWindow(s.window));
  EXPECT_FALSE(PostMessage(s.window, WM_USER, 0, 0));
}

TEST(Window, PlacementSendsMoveAndSize) {
  WindowScope s;
  g_sent.clear();
  SetWindowPos(s.window, HWND_TOPMOST, 10, 20, 0, 0, SWP_NOSIZE);
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].message, WM_MOVE);
  EXPECT_EQ(g_sent[0].lParam, MakeLParam(13, 20 + 3 + 22));
  EXPECT_TRUE(IsTopMost(s.window));
  g_sent.clear();
  MoveWindow(s.window, 10, 20, 326, 268);
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].message, WM_SIZE);
  EXPECT_EQ(g_sent[0].lParam, MakeLParam(320, 240));
  Point p{5, 5};
  ClientToScreen(s.window, &p);
  EXPECT_EQ(p.x, 18);
  EXPECT_EQ(p.y, 50);
}

TEST(Window, CursorFollowsItsDisplayCount) {
  WindowScope s;
  EXPECT_EQ(ShowCursor(false), -1);
  EXPECT_FALSE(hl::GetWindowState().cursorVisible);
  EXPECT_EQ(ShowCursor(true), 0);
  EXPECT_TRUE(hl::GetWindowState().cursorVisible);
  SetCursor(CursorShape::None);
  EXPECT_FALSE(hl::GetWindowState().cursorVisible);
  SetCursor(CursorShape::Arrow);
  HostEvent move = Simple(HostEventKind::MouseMove);
  move.x = 30;
  move.y = 40;
  hl::PushEvent(move);
  Drain();
  Point p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 103 + 30);
  EXPECT_EQ(p.y, 50 + 25 + 40);
}

TEST(Display, DesktopDepthAndModeSwitches) {
  WindowScope s;
  EXPECT_EQ(GetScreenColorBits(), 32);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  // SDL counts 24 significant bits in a 4-byte format; the depth is 32.
  EXPECT_EQ(HostDepthFromFormat(4, 24), 32);
  EXPECT_EQ(HostDepthFromFormat(3, 24), 24);
  EXPECT_EQ(HostDepthFromFormat(2, 15), 16);

  ShowWindow(s.window, SW_SHOW);
  Drain();
  ASSERT_TRUE(SetDisplayMode(640, 480, 16, 60));
  EXPECT_TRUE(hl::GetWindowState().fullscreen);
  EXPECT_EQ(GetScreenColorBits(), 16);
  std::vector<Msg> m = Drain();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].message, WM_DISPLAYCHANGE);
  EXPECT_EQ(m[0].wParam, 16u);
  EXPECT_EQ(m[0].lParam, MakeLParam(640, 480));
  ASSERT_TRUE(RestoreDisplayMode());
  EXPECT_FALSE(hl::GetWindowState().fullscreen);
  m = Drain();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].wParam, 32u);
  EXPECT_FALSE(SetDisplayMode(640, 480, 12, 60));
  FailNextSetDisplayMode();
  EXPECT_FALSE(SetDisplayMode(640, 480, 16, 60));
  EXPECT_EQ(GetDisplayCounters().changesSent, 2);
}

TEST(Ime, CompositionCommitAndDisabling) {
  WindowScope s;
  ShowWindow(s.window, SW_SHOW);
  Drain();
  HostEvent edit = Simple(HostEventKind::TextEditing);
  std::snprintf(edit.text, sizeof edit.text, "%s", reinterpret_cast<const char*>(u8"aかな"));
  edit.cursor = 2;
  hl::PushEvent(edit);
  std::vector<Msg> m = Drain();
  ASSERT_EQ(Kinds(m), (std::vector<uint32_t>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION}));
  EXPECT_EQ(m[1].lParam, static_cast<LParam>(GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS));
  char text[32] = {};
  EXPECT_EQ(ImmGetCompositionString(s.window, GCS_COMPSTR, text, sizeof text), 5);
  EXPECT_STREQ(text, "a\x82\xA9\x82\xC8");
  EXPECT_EQ(ImmGetCompositionString(s.window, GCS_CURSORPOS, nullptr, 0), 3);  // bytes before the 3rd character

  HostEvent commit = Simple(HostEventKind::TextInput);
  std::snprintf(commit.text, sizeof commit.text, "%s", reinterpret_cast<const char*>(u8"仮名"));
  hl::PushEvent(commit);
  m = Drain();
  ASSERT_EQ(Kinds(m), (std::vector<uint32_t>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
  EXPECT_EQ(m[0].lParam, static_cast<LParam>(GCS_RESULTSTR));
  char result[8] = {};
  EXPECT_EQ(ImmGetCompositionString(s.window, GCS_RESULTSTR, result, sizeof result), 4);
  EXPECT_STREQ(result, "\x89\xBC\x96\xBC");

  WINNLSEnableIME(s.window, false);
  hl::PushEvent(edit);
  hl::PushEvent(commit);
  EXPECT_EQ(Kinds(Drain()), (std::vector<uint32_t>{WM_CHAR, WM_CHAR, WM_CHAR, WM_CHAR}));
}

TEST(KeyCodes, PhysicalKeysHaveFixedCodes) {
  const struct {
    int hid, vk, dik;
  } kKeys[] = {{hid::Escape, VK_ESCAPE, 0x01}, {hid::LeftAlt, VK_LMENU, 0x38}, {hid::RightAlt, VK_RMENU, 0xB8},
               {hid::F4, VK_F4, 0x3E},          {hid::Up, VK_UP, 0xC8},         {hid::Left, VK_LEFT, 0xCB},
               {hid::Right, VK_RIGHT, 0xCD},    {hid::Down, VK_DOWN, 0xD0},     {hid::Delete, VK_DELETE, 0xD3},
               {hid::A, 'A', 0x1E},             {hid::A + 25, 'Z', 0x2C},       {hid::Num0, '0', 0x0B},
               {hid::F1 + 11, 0x7B, 0x58},      {hid::LeftCtrl, VK_LCONTROL, 0x1D}, {hid::RightCtrl, VK_RCONTROL, 0x9D}};
  for (const auto& k : kKeys) {
    const KeyCodes c = KeyCodesFromHid(k.hid);
    EXPECT_EQ(c.virtualKey, k.vk) << k.hid;
    EXPECT_EQ(c.dik, k.dik) << k.hid;
  }
  // No two keys share a DirectInput number, except the two places of "]" and of "\".
  int seen[256] = {};
  for (int usage = 0; usage < 256; ++usage) {
    const int dik = KeyCodesFromHid(usage).dik;
    if (dik != 0) ++seen[dik];
  }
  for (int d = 0; d < 256; ++d) EXPECT_LE(seen[d], (d == 0x1B || d == 0x2B) ? 2 : 1) << d;
  EXPECT_EQ(KeyCodesFromHid(-1).dik, 0);
  EXPECT_EQ(KeyCodesFromHid(100000).dik, 0);
}

}  // namespace
