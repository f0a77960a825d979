// Scripted events come out when due, in the order they fell due, and change
// the window state the way a real window's events would.
#include <gtest/gtest.h>

#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

namespace hl = plat::headless;
using plat::HostEventKind;

namespace {

class HeadlessEvents : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    ASSERT_TRUE(plat::HostCreateWindow(64, 48));
    plat::HostShowWindow(true);
  }
  void TearDown() override { plat::HostReset(); }

  void Present() {
    static const uint16_t pic[4 * 4] = {};
    plat::HostPresent(pic, 8, 4, 4, plat::HostPixelFormat::Rgb565);
  }

  std::vector<int> DrainKeys() {
    std::vector<int> keys;
    plat::HostEvent e;
    while (plat::HostPollEvent(&e)) keys.push_back(e.key);
    return keys;
  }
};

plat::HostEvent Key(int key) { return hl::KeyEvent(true, key); }

TEST_F(HeadlessEvents, ByFrameInFrameOrderThenScriptOrder) {
  hl::ScriptEventAtFrame(2, Key(20));
  hl::ScriptEventAtFrame(1, Key(10));
  hl::ScriptEventAtFrame(2, Key(21));
  hl::ScriptEventAtFrame(0, Key(1));
  EXPECT_EQ(DrainKeys(), std::vector<int>({1}));
  Present();
  EXPECT_EQ(DrainKeys(), std::vector<int>({10}));
  Present();
  Present();  // nobody polled at frame 2: both events wait, in script order
  EXPECT_EQ(DrainKeys(), std::vector<int>({20, 21}));
  EXPECT_EQ(hl::PendingEventCount(), 0);
}

TEST_F(HeadlessEvents, ByTimeWhenTheClockPassesIt) {
  const uint64_t t0 = hl::PeekClock();
  hl::ScriptEventAtTime(t0 + 5000, Key(5));
  hl::ScriptEventAtTime(t0 + 2000, Key(2));
  hl::ScriptEventAtTime(t0 + 2000, Key(3));
  EXPECT_TRUE(DrainKeys().empty());
  plat::HostSleepMs(1);
  EXPECT_TRUE(DrainKeys().empty());
  plat::HostSleepMs(1);
  EXPECT_EQ(DrainKeys(), std::vector<int>({2, 3}));
  while (plat::HostMicros() < t0 + 5000) {
  }
  EXPECT_EQ(DrainKeys(), std::vector<int>({5}));
}

TEST_F(HeadlessEvents, MixedScriptsKeepTheOrderThingsHappened) {
  const uint64_t t0 = hl::PeekClock();
  hl::ScriptEventAtFrame(1, Key(100));        // falls due at the present below
  hl::ScriptEventAtTime(t0 + 1000, Key(50));  // fell due before it
  hl::ScriptEventAtTime(t0 + 9000, Key(90));  // after it
  plat::HostSleepMs(2);
  Present();
  plat::HostSleepMs(10);
  EXPECT_EQ(DrainKeys(), std::vector<int>({50, 100, 90}));
}

TEST_F(HeadlessEvents, PushedEventsComeBeforeLaterScriptedOnes) {
  hl::PushEvent(Key(7));
  hl::ScriptEventAtFrame(0, Key(8));
  plat::HostEvent e;
  ASSERT_TRUE(plat::HostPollEvent(&e));
  EXPECT_EQ(e.kind, HostEventKind::KeyDown);
  EXPECT_EQ(e.key, 7);
  EXPECT_FALSE(e.repeat);
  EXPECT_EQ(DrainKeys(), std::vector<int>({8}));
  EXPECT_FALSE(plat::HostPollEvent(nullptr));
}

TEST_F(HeadlessEvents, WindowEventsChangeTheWindowWhenTaken) {
  EXPECT_TRUE(plat::HostHasFocus());
  plat::HostEvent e;
  e.kind = HostEventKind::FocusLost;
  hl::ScriptEventAtFrame(1, e);
  e.kind = HostEventKind::Resize;
  e.x = 800;
  e.y = 600;
  hl::ScriptEventAtFrame(1, e);
  Present();
  EXPECT_TRUE(plat::HostHasFocus());  // not yet taken by the program
  DrainKeys();
  EXPECT_FALSE(plat::HostHasFocus());
  const plat::HostRect r = plat::HostGetClientRect();
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 600);
}

TEST_F(HeadlessEvents, WindowStateAndResetToLoadState) {
  plat::HostSetTitle("ORBWORLD \xE3\x83\x86");  // UTF-8 kept as given
  EXPECT_TRUE(plat::HostSetFullscreen(true));
  plat::HostSetCursorVisible(false);
  plat::HostMinimizeWindow();
  hl::WindowState s = hl::GetWindowState();
  EXPECT_STREQ(s.title, "ORBWORLD \xE3\x83\x86");
  EXPECT_TRUE(s.fullscreen && s.minimized);
  EXPECT_FALSE(s.cursorVisible || s.focus);
  plat::HostRaiseWindow();
  EXPECT_TRUE(plat::HostHasFocus());

  hl::ScriptEventAtFrame(3, Key(1));
  hl::Reset();
  EXPECT_EQ(hl::PendingEventCount(), 0);
  s = hl::GetWindowState();
  EXPECT_FALSE(s.created || s.fullscreen);
  EXPECT_STREQ(s.title, "");
  EXPECT_TRUE(s.cursorVisible);
  hl::FailNextCreateWindow();
  EXPECT_FALSE(plat::HostCreateWindow(640, 480));
  EXPECT_TRUE(plat::HostCreateWindow(640, 480));
}

}  // namespace
