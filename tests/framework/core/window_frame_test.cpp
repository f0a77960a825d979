// The window procedure's paint before start-up, a frame dragged or moved,
// and the foreground taken past another program's lock.
#include <gtest/gtest.h>

#include "life_test_support.h"
#include "platform/gdi/gdi.h"

using namespace qor;
namespace hl = plat::headless;

namespace {

// The pixels of the window's canvas of one colour (after filling it all
// with that colour when `fill`).
size_t Canvas(bool fill, uint32_t colour) {
  const plat::Hdc dc = plat::GetDC(GetFrameWindowHandle());
  plat::GdiPixels p;
  plat::GetDCPixels(dc, &p);
  size_t n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      uint32_t& v = reinterpret_cast<uint32_t*>(p.pixels + y * p.pitch)[x];
      if (fill) v = colour;
      n += (v & 0xFFFFFF) == colour;
    }
  plat::ReleaseDC(GetFrameWindowHandle(), dc);
  return n;
}

TEST(WindowFrame, BeforeStartUpAWindowedPaintFillsBlack) {
  for (const int windowed : {1, 0}) {
    lifetest::LifeScope scope;
    GetMainWindowState().settings.windowed = windowed;
    ASSERT_EQ(CreateMainWindow(), 0);
    const size_t all = Canvas(true, 0xFFFFFF);
    plat::SendMessage(GetFrameWindowHandle(), plat::WM_PAINT, 0, 0);
    EXPECT_EQ(Canvas(false, windowed ? 0 : 0xFFFFFF), all) << windowed;
    CloseMainWindow();
  }
}

plat::Rect Send(uint32_t message, plat::WParam wParam, plat::Rect rect) {
  plat::SendMessage(GetFrameWindowHandle(), message, wParam, reinterpret_cast<plat::LParam>(&rect));
  return rect;
}

// Style 0's frame: a border on each side and a caption.
constexpr int kFrameW = 2 * plat::kFrameBorder, kFrameH = plat::kCaptionHeight + 2 * plat::kFrameBorder;

TEST(WindowFrame, ADraggedFrameKeepsTheScreensShapeAndAMovedOneIsFollowed) {
  struct Case {
    uint32_t edge;
    int w, h;  // client as dragged
    int fixed, wantW, wantH;
    double scale;
  };
  const Case cases[] = {
      {plat::WMSZ_RIGHT, 800, 1, 0, 800, 600, 1.25},       {plat::WMSZ_LEFT, 321, 5, 0, 321, 240, 321.0 / 640},
      {plat::WMSZ_BOTTOM, 17, 360, 0, 480, 360, 0.75},     {plat::WMSZ_TOP, 9, 481, 0, 641, 481, 641.0 / 640},
      {plat::WMSZ_TOPLEFT, 320, 999, 0, 320, 240, 0.5},    {plat::WMSZ_RIGHT, 640, 480, 1, 640, 480, 1.0},
      {plat::WMSZ_BOTTOMRIGHT, 641, 481, 1, 640, 480, 1.0},
  };
  lifetest::LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  WindowSettings& set = GetMainWindowState().settings;
  for (const Case& c : cases) {
    set.scale = 1.0;
    set.fixedSizeOn = c.fixed;
    const plat::Rect r = Send(plat::WM_SIZING, c.edge, plat::Rect{-30, 40, -30 + kFrameW + c.w, 40 + kFrameH + c.h});
    EXPECT_EQ(r.right - r.left - kFrameW, c.wantW) << c.edge << " " << c.w;
    EXPECT_EQ(r.bottom - r.top - kFrameH, c.wantH) << c.edge << " " << c.w;
    EXPECT_EQ(GetWindowScaleFactor(), c.scale) << c.edge << " " << c.w;
  }
  set.fixedSizeOn = 0;
  plat::SendMessage(GetFrameWindowHandle(), plat::WM_MOVE, 0, plat::MakeLParam(-20, -5));
  plat::Rect area;
  GetDrawAreaRect(&area);
  EXPECT_TRUE(area.left == -20 && area.top == -5 && area.right == 620 && area.bottom == 475);
  EndFramework();
}

// Another program has the keyboard: its lock refuses a plain call; the
// forced one gets past it and leaves the lock and the threads as they were.
TEST(WindowFrame, ForcingTheForegroundGetsPastTheLockAndPutsItBack) {
  lifetest::LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  const plat::Hwnd w = GetFrameWindowHandle();
  hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
  plat::CollectHostEvents();
  const uint32_t lock = plat::GetForegroundLockTimeout();
  EXPECT_FALSE(plat::SetForegroundWindow(w));
  EXPECT_FALSE(hl::GetWindowState().focus);
  const int sets = plat::GetWindowCounters().lockTimeoutSets;
  ForceForegroundWindow(w, 1);
  EXPECT_TRUE(hl::GetWindowState().focus && plat::GetForegroundWindow() == w);
  EXPECT_TRUE(lock != 0 && plat::GetForegroundLockTimeout() == lock);
  EXPECT_EQ(plat::GetWindowCounters().lockTimeoutSets - sets, 2);
  EXPECT_EQ(plat::AttachedInputCount(), 0);
  EXPECT_TRUE(plat::IsTopMost(w));
  EndFramework();
}

}  // namespace
