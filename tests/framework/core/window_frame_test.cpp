// The window procedure's handling of a frame being dragged, sized or moved,
// bringing the window to the front past another program's foreground lock,
// and socket notifications sent to the main window.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/core/net/net_socket.h"
#include "life_test_support.h"
#include "platform/net/winsock.h"

using namespace qor;
using lifetest::LifeScope;
namespace hl = plat::headless;

namespace {

struct Started : LifeScope {
  explicit Started(bool windowed = true) {
    if (!windowed) SwitchWindowMode(0);
    EXPECT_EQ(InitFramework(), 0);
  }
  ~Started() { EndFramework(); }
};

plat::Rect Send(uint32_t message, plat::WParam wParam, plat::Rect rect) {
  plat::SendMessage(GetFrameWindowHandle(), message, wParam, reinterpret_cast<plat::LParam>(&rect));
  return rect;
}

// The frame of window style 0 (border and caption, no thick frame).
constexpr int kFrameW = 2 * plat::kFrameBorder;
constexpr int kFrameH = plat::kCaptionHeight + 2 * plat::kFrameBorder;

struct SizingCase {
  uint32_t edge;
  int clientW, clientH;  // as dragged
  bool fixedSize;
  int wantW, wantH;      // the client after the procedure
  double scale;          // afterwards
};

TEST(WindowFrame, ADraggedFrameKeepsTheScreensShapeAndSetsTheScale) {
  const SizingCase cases[] = {
      {plat::WMSZ_RIGHT, 800, 123, false, 800, 600, 1.25},
      {plat::WMSZ_LEFT, 321, 5, false, 321, 240, 321.0 / 640},  // 240.75 truncated
      {plat::WMSZ_BOTTOM, 17, 360, false, 480, 360, 0.75},
      {plat::WMSZ_TOP, 900, 481, false, 641, 481, 641.0 / 640},  // 641.33 truncated
      {plat::WMSZ_BOTTOMRIGHT, 1280, 2, false, 1280, 960, 2.0},
      {plat::WMSZ_TOPLEFT, 320, 999, false, 320, 240, 0.5},
      // A fixed client size keeps the client within the screen at its scale.
      {plat::WMSZ_RIGHT, 640, 480, true, 640, 480, 1.0},
      {plat::WMSZ_RIGHT, 641, 481, true, 640, 480, 1.0},
  };
  Started s;
  WindowSettings& set = GetMainWindowState().settings;
  for (const SizingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "edge " << c.edge << ", " << c.clientW << " x " << c.clientH);
    set.scale = 1.0;
    set.fixedSizeOn = c.fixedSize ? 1 : 0;
    const plat::Rect out = Send(plat::WM_SIZING, c.edge, plat::Rect{-30, 40, -30 + kFrameW + c.clientW, 40 + kFrameH + c.clientH});
    EXPECT_EQ(out.left, -30);
    EXPECT_EQ(out.top, 40);
    EXPECT_EQ(out.right - out.left - kFrameW, c.wantW);
    EXPECT_EQ(out.bottom - out.top - kFrameH, c.wantH);
    EXPECT_EQ(GetWindowScaleFactor(), c.scale);
  }
  set.fixedSizeOn = 0;
}

TEST(WindowFrame, MovingFollowsTheClientOriginWindowedAndHoldsTheWindowInFullScreen) {
  {
    Started s;
    const plat::Hwnd w = GetFrameWindowHandle();
    for (const plat::Point p : {plat::Point{100, 50}, plat::Point{-20, -5}, plat::Point{0, 0}}) {
      plat::SendMessage(w, plat::WM_MOVE, 0, plat::MakeLParam(p.x, p.y));
      plat::Rect area;
      GetDrawAreaRect(&area);
      EXPECT_EQ(area.left, p.x);
      EXPECT_EQ(area.top, p.y);
      EXPECT_EQ(area.right, p.x + 640);
      EXPECT_EQ(area.bottom, p.y + 480);
    }
    // Windowed, a moving frame goes where it is dragged.
    const plat::Rect moved = Send(plat::WM_MOVING, 0, plat::Rect{5, 6, 7, 8});
    EXPECT_EQ(moved.left, 5);
    EXPECT_EQ(moved.bottom, 8);
  }
  Started s(false);
  plat::Rect window;
  plat::GetWindowRect(GetFrameWindowHandle(), &window);
  const plat::Rect held = Send(plat::WM_MOVING, 0, plat::Rect{window.left + 40, window.top + 9, window.right + 40, window.bottom + 9});
  EXPECT_EQ(held.left, window.left);
  EXPECT_EQ(held.top, window.top);
  EXPECT_EQ(held.right, window.right);
  EXPECT_EQ(held.bottom, window.bottom);
  // Full screen, nothing is sized by dragging.
  const plat::Rect sized = Send(plat::WM_SIZING, plat::WMSZ_RIGHT, plat::Rect{0, 0, 100, 100});
  EXPECT_EQ(sized.right, 100);
  EXPECT_EQ(sized.bottom, 100);
}

// Another program has the keyboard: its foreground lock refuses a plain
// call, and the forced one gets past it, leaving the lock's timeout and the
// threads' input as they were.
TEST(WindowFrame, ForcingTheForegroundGetsPastTheLockAndPutsItBack) {
  for (const int topMost : {0, 1}) {
    SCOPED_TRACE(topMost);
    Started s;
    const plat::Hwnd w = GetFrameWindowHandle();
    plat::SetWindowPos(w, 0, 0, 0, 0, 0, plat::SWP_NOSIZE | plat::SWP_NOMOVE);  // not top-most
    hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
    plat::CollectHostEvents();
    ASSERT_EQ(plat::GetForegroundWindow(), 0);
    ASSERT_FALSE(hl::GetWindowState().focus);
    const uint32_t lock = plat::GetForegroundLockTimeout();
    ASSERT_NE(lock, 0u);
    EXPECT_FALSE(plat::SetForegroundWindow(w));
    EXPECT_FALSE(hl::GetWindowState().focus);
    const plat::WindowCounters before = plat::GetWindowCounters();
    ForceForegroundWindow(w, topMost);
    EXPECT_TRUE(hl::GetWindowState().focus);
    EXPECT_EQ(plat::GetForegroundWindow(), w);
    EXPECT_EQ(plat::GetForegroundLockTimeout(), lock);
    EXPECT_EQ(plat::GetWindowCounters().lockTimeoutSets - before.lockTimeoutSets, 2);
    EXPECT_EQ(plat::GetWindowCounters().foregroundRefusals, before.foregroundRefusals);
    EXPECT_EQ(plat::AttachedInputCount(), 0);
    EXPECT_EQ(plat::IsTopMost(w), topMost == 1);
  }
}

// A notification that reaches the main window is the socket's, as one that
// reaches the network's own window.
TEST(WindowFrame, SocketNotificationsToTheMainWindowReachTheirRecord) {
  Started s;
  const uint8_t loopback[4] = {127, 0, 0, 1};
  const int listener = ListenNet(0, loopback);
  ASSERT_GE(listener, 0);
  SocketRecord* r = FindSocketRecord(listener);
  ASSERT_NE(r, nullptr);
  const plat::Hwnd w = GetFrameWindowHandle();
  const plat::LParam closed = static_cast<plat::LParam>(plat::FD_CLOSE);
  EXPECT_EQ(plat::SendMessage(w, kSocketMessage, static_cast<plat::WParam>(r->socket), closed), 1);
  EXPECT_EQ(r->closedByPeer, 1);
  EXPECT_EQ(plat::SendMessage(w, kSocketMessage, static_cast<plat::WParam>(r->socket) + 1000, closed), 0);
  EXPECT_TRUE(s.Logged("通信エラー No.1"));
  StopListenNet();
}

}  // namespace
