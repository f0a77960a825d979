// The foreground lock of the window stand-in: another program in front
// keeps the foreground unless the lock's timeout is 0, and joined thread
// input is kept as pairs.
#include <gtest/gtest.h>

#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

using namespace plat;
namespace hl = plat::headless;

namespace {

LResult Plain(Hwnd w, uint32_t m, WParam wp, LParam lp) { return DefWindowProc(w, m, wp, lp); }

TEST(ForegroundLock, AnotherProgramInFrontKeepsItUnlessTheTimeoutIsZero) {
  ResetWindowStandIn();
  hl::Reset();
  ASSERT_TRUE(RegisterClass("lock", Plain));
  const Hwnd w = CreateWindowEx(0, "lock", "lock", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64);
  ASSERT_NE(w, 0);
  EXPECT_EQ(GetForegroundLockTimeout(), 200000u);
  // Ours in front: always.
  ASSERT_EQ(GetForegroundWindow(), w);
  EXPECT_TRUE(SetForegroundWindow(w));
  // Another program's in front: refused at 1 ms, taken at 0.
  hl::PushEvent([] {
    HostEvent e;
    e.kind = HostEventKind::FocusLost;
    return e;
  }());
  CollectHostEvents();
  ASSERT_EQ(GetForegroundWindow(), 0);
  for (const uint32_t timeout : {200000u, 1u, 0u}) {
    SetForegroundLockTimeout(timeout);
    EXPECT_EQ(SetForegroundWindow(w), timeout == 0) << timeout;
    EXPECT_EQ(GetForegroundWindow() == w, timeout == 0) << timeout;
  }
  EXPECT_EQ(GetWindowCounters().foregroundRefusals, 2);
  EXPECT_FALSE(SetForegroundWindow(w + 1));  // no such window
  ResetWindowStandIn();
}

TEST(ForegroundLock, ThreadInputIsJoinedAndPartedInPairs) {
  ResetWindowStandIn();
  struct Call {
    uint32_t thread, to;
    bool attach, result;
    int joined;  // pairs afterwards
  };
  const Call calls[] = {
      {0, 7, true, false, 0},  {7, 0, true, false, 0}, {7, 7, true, false, 0},  // thread 0 or itself
      {7, 9, true, true, 1},   {7, 9, true, true, 1},                          // joined once
      {9, 7, false, false, 1},                                                 // not this way round
      {7, 9, false, true, 0},  {7, 9, false, false, 0},                        // parted once
  };
  for (const Call& c : calls) {
    SCOPED_TRACE(testing::Message() << c.thread << " -> " << c.to << (c.attach ? " join" : " part"));
    EXPECT_EQ(AttachThreadInput(c.thread, c.to, c.attach), c.result);
    EXPECT_EQ(AttachedInputCount(), c.joined);
  }
  EXPECT_EQ(GetWindowCounters().attachInputCalls, 8);
  ResetWindowStandIn();
  EXPECT_EQ(AttachedInputCount(), 0);
}

}  // namespace
