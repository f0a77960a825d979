// What the window shows when it is asked to paint: black before start-up has
// finished (windowed), and afterwards the back screen, copied without
// waiting for the vertical blank whatever the present's waiting is, which
// the repaint leaves as it found it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/core/window/main_window.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace qor;
namespace hl = plat::headless;

// Every pixel of the window's canvas, 0x00RRGGBB.
std::vector<uint32_t> Canvas(plat::Hwnd window) {
  const plat::Hdc dc = plat::GetDC(window);
  plat::GdiPixels p;
  EXPECT_TRUE(plat::GetDCPixels(dc, &p));
  std::vector<uint32_t> out;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) out.push_back(reinterpret_cast<const uint32_t*>(p.pixels + y * p.pitch)[x] & 0xFFFFFF);
  plat::ReleaseDC(window, dc);
  return out;
}

void PaintCanvasWhite(plat::Hwnd window) {
  const plat::Hdc dc = plat::GetDC(window);
  plat::BitmapInfo info;
  info.header.width = 1;
  info.header.height = 1;
  info.header.bitCount = 32;
  const uint32_t white = 0xFFFFFF;
  plat::StretchDIBits(dc, 0, 0, 640, 480, 0, 0, 1, 1, &white, &info, plat::DIB_RGB_COLORS, plat::SRCCOPY);
  plat::ReleaseDC(window, dc);
}

size_t CountOf(const std::vector<uint32_t>& pixels, uint32_t value) {
  size_t n = 0;
  for (uint32_t v : pixels) n += v == value ? 1 : 0;
  return n;
}

// Before start-up the window exists without graphics: windowed, its paint
// fills the canvas black; full screen it leaves it alone.
TEST(WindowPaint, BeforeStartUpAWindowedPaintFillsBlack) {
  for (const bool windowed : {true, false}) {
    SCOPED_TRACE(windowed ? "windowed" : "full screen");
    lifetest::LifeScope scope;
    GetMainWindowState().settings.windowed = windowed ? 1 : 0;
    ASSERT_EQ(CreateMainWindow(), 0);
    const plat::Hwnd window = GetFrameWindowHandle();
    PaintCanvasWhite(window);
    const std::vector<uint32_t> before = Canvas(window);
    ASSERT_EQ(CountOf(before, 0xFFFFFF), before.size());
    plat::SendMessage(window, plat::WM_PAINT, 0, 0);
    const std::vector<uint32_t> after = Canvas(window);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(CountOf(after, windowed ? 0u : 0xFFFFFFu), after.size());
    CloseMainWindow();
  }
}

// After start-up a paint shows the back screen at once, on the DirectDraw
// road and on the software road without an object, while a present with
// the waiting on does wait.
TEST(WindowPaint, ARepaintShowsTheBackScreenWithoutWaitingForTheBlank) {
  for (const bool software : {false, true}) {
    for (const int vsync : {1, 0}) {
      SCOPED_TRACE(testing::Message() << (software ? "software" : "DirectDraw") << ", waiting " << vsync);
      gfxtest::Road road(software, 16, true);
      ASSERT_EQ(GetScreenState().directDraw == nullptr, software);
      SelectDrawTarget(kBackScreen);
      PaintBoxFilled(0, 0, 640, 480, PackColorRGB(255, 255, 255));
      SetVSyncOnPresent(vsync);
      auto looks = [] { return plat::GetDdCounters().vblankWaits + plat::GetDdCounters().blankStatusReads; };
      const int looked = looks();
      const uint64_t frames = hl::FrameCount();
      const uint64_t clock = hl::PeekClock();
      plat::SendMessage(GetFrameWindowHandle(), plat::WM_PAINT, 0, 0);
      EXPECT_EQ(looks(), looked);
      EXPECT_LT(hl::PeekClock() - clock, 1000u);
      EXPECT_EQ(GetVSyncOnPresent(), vsync);
      ASSERT_NE(hl::LastFrame(), nullptr);
      EXPECT_GT(hl::FrameCount(), frames);
      const std::vector<uint32_t>& shown = hl::LastFrame()->pixels;
      EXPECT_EQ(shown[shown.size() / 2 + 320] & 0xFFFFFF, 0xFFFFFFu);
      // The present itself looks for the blank when the waiting is on.
      PresentFrame();
      EXPECT_EQ(looks() > looked, vsync == 1);
    }
  }
}

}  // namespace
