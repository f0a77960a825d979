// GDI transfers against fixed expected pixels: DIB rows counted from the
// bottom for either row order, format conversion in BitBlt, and the window
// canvas reaching the host.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"
#include "platform/window/window_timer.h"

namespace {

using namespace plat;

LResult Proc(Hwnd w, uint32_t m, WParam wp, LParam lp) { return DefWindowProc(w, m, wp, lp); }

struct GdiScope : ::testing::Test {
  Hwnd window = 0;
  void SetUp() override {
    ResetGdiStandIn();
    ResetWindowStandIn();
    headless::Reset();
    ASSERT_TRUE(RegisterClass("gdi", Proc));
    window = CreateWindowEx(0, "gdi", "gdi", WS_POPUP | WS_VISIBLE, 0, 0, 4, 4);
  }
  void TearDown() override {
    EXPECT_EQ(GetGdiCounters().liveDCs, 0);
    ResetGdiStandIn();
    ResetWindowStandIn();
    headless::Reset();
  }
};

BitmapInfo Info565(int w, int h) {
  BitmapInfo info;
  info.header.width = w;
  info.header.height = h;
  info.header.bitCount = 16;
  info.header.compression = BI_BITFIELDS;
  info.colors[0] = 0xF800;
  info.colors[1] = 0x07E0;
  info.colors[2] = 0x001F;
  return info;
}

TEST_F(GdiScope, StretchDIBitsCountsSourceRowsFromTheBottomInBothOrders) {
  // Four rows of one pixel: top-first values 1, 2, 3, 4 (blue 1..4 << 3).
  const uint16_t topFirst[4][2] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
  const uint16_t bottomFirst[4][2] = {{4, 0}, {3, 0}, {2, 0}, {1, 0}};
  for (int order = 0; order < 2; ++order) {
    BitmapInfo info = Info565(1, order == 0 ? -4 : 4);
    Hdc dc = GetDC(window);
    ASSERT_NE(dc, 0u);
    // Source y 1 from the bottom, two rows: the rows showing 2 and 3.
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 2, 0, 1, 1, 2, order == 0 ? &topFirst[0][0] : &bottomFirst[0][0], &info,
                            DIB_RGB_COLORS, SRCCOPY),
              2);
    const headless::KeptFrame* f = headless::LastFrame();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->pixels[0], 2u * 8 * 255 / 248) << order;  // 5-bit blue 2 widened to 8 bits
    EXPECT_EQ(f->pixels[f->width], 3u * 8 * 255 / 248) << order;
    ReleaseDC(window, dc);
  }
}

TEST_F(GdiScope, BitBltConvertsBetweenFormatsAndSetsSpareBits) {
  Hdc screen = GetDC(window);
  Hdc a = CreateCompatibleDC(screen);
  Hdc b = CreateCompatibleDC(screen);
  BitmapInfo info = Info565(2, -1);
  void* bits16 = nullptr;
  HGdiObj bm16 = CreateDIBSection(a, &info, DIB_RGB_COLORS, &bits16);
  info.header.bitCount = 32;
  info.colors[0] = 0x7C00;  // a 32-bit store of 5:5:5 colour: 17 spare bits
  info.colors[1] = 0x03E0;
  info.colors[2] = 0x001F;
  void* bits32 = nullptr;
  HGdiObj bm32 = CreateDIBSection(b, &info, DIB_RGB_COLORS, &bits32);
  SelectObject(a, bm16);
  SelectObject(b, bm32);
  static_cast<uint16_t*>(bits16)[0] = 0xF800;  // red
  static_cast<uint16_t*>(bits16)[1] = 0x07E0;  // green
  ASSERT_TRUE(BitBlt(b, 0, 0, 2, 1, a, 0, 0, SRCCOPY));
  EXPECT_EQ(static_cast<uint32_t*>(bits32)[0], 0xFFFF8000u | 0x7C00u);
  EXPECT_EQ(static_cast<uint32_t*>(bits32)[1], 0xFFFF8000u | 0x03E0u);
  EXPECT_FALSE(DeleteObject(bm16));  // still selected
  DeleteDC(a);
  DeleteDC(b);
  EXPECT_TRUE(DeleteObject(bm16));
  EXPECT_TRUE(DeleteObject(bm32));
  ReleaseDC(window, screen);
  EXPECT_EQ(GetGdiCounters().liveObjects, 0);
}

void Tick(Hwnd, uint32_t, uintptr_t id, uint32_t) { EXPECT_EQ(id, 32767u); }

TEST_F(GdiScope, WindowTimerFiresThroughTheQueueAtItsPeriod) {
  headless::SetClockStep(0);
  ASSERT_EQ(SetTimer(window, 32767, 17, Tick), 32767u);
  Msg m;
  EXPECT_FALSE(PeekMessage(&m, kAnyWindow, PM_REMOVE) && m.message == WM_TIMER);
  HostSleepMs(17);
  int fired = 0;
  for (int i = 0; i < 10 && PeekMessage(&m, kAnyWindow, PM_REMOVE); ++i) {
    if (m.message == WM_TIMER) ++fired;
    DispatchMessage(&m);
    if (fired) break;
  }
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(GetTimerCounters().fired, 1);
  EXPECT_TRUE(KillTimer(window, 32767));
  HostSleepMs(40);
  for (int i = 0; i < 10 && PeekMessage(&m, kAnyWindow, PM_REMOVE); ++i) {
    EXPECT_NE(m.message, WM_TIMER);
    DispatchMessage(&m);
  }
}

}  // namespace
