// The DirectDraw stand-in as the graphics code drives it: the flip chain
// reaching the host, windowed presentation of the client area, format
// checks, keys, lost surfaces and injected failures.
#include <gtest/gtest.h>

#include <cstring>

#include "ddraw_test_support.h"
#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/display_settings.h"
#include "platform/window/window.h"

namespace {

using namespace plat;

struct DdScope : ::testing::Test {
  Hwnd window = 0;
  DirectDraw* dd = nullptr;
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ddtest::OpenDisplay("dd", 100, 50, 64, 32, &window, &dd));
  }
  void TearDown() override {
    if (dd != nullptr) dd->Release();
    EXPECT_EQ(GetDdCounters().liveSurfaces, 0);  // every test releases what it made
    ddtest::ResetDisplayStandIns();
  }
  DDSurface* Plain(int w, int h, uint32_t memory = DDSCAPS_SYSTEMMEMORY) {
    DDSurfaceDesc d;
    d.caps = DDSCAPS_OFFSCREENPLAIN | memory;
    d.width = w;
    d.height = h;
    DDSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s), DD_OK);
    return s;
  }
  static void Fill(DDSurface* s, uint32_t value) {
    DDBltFx fx;
    fx.fillColor = value;
    ASSERT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  }
};

TEST_F(DdScope, FullScreenFlipChainPresentsTheBackBufferAfterABlank) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 60, 0), DD_OK);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  d.backBufferCount = 1;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  DDSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
  EXPECT_EQ(back->width(), 640);
  Fill(back, 0xF800);  // red in 5:6:5
  const uint64_t frames = headless::FrameCount();
  // The first flip is queued for the next blank and returns at once; a
  // second one made before that blank waits for it.
  headless::SetClockStep(0);
  const uint64_t period = 16666, blankStart = period * 480 / 525;
  const uint64_t base = (headless::PeekClock() / period + 2) * period;
  headless::SetClock(base + 1000);
  const int waits = GetDdCounters().vblankWaits;
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(GetDdCounters().vblankWaits, waits);
  EXPECT_EQ(headless::PeekClock(), base + 1000);
  ASSERT_EQ(headless::FrameCount(), frames + 1);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(GetDdCounters().vblankWaits, waits + 1);
  EXPECT_GE(headless::PeekClock(), base + blankStart);
  int32_t blank = 0;
  dd->GetVerticalBlankStatus(&blank);
  EXPECT_EQ(blank, 1);  // the second flip waited for the first one's blank
  // A frame that ran past that blank's successor finds nothing pending.
  headless::SetClock(base + period + blankStart + 3000);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(GetDdCounters().vblankWaits, waits + 1);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(GetDdCounters().vblankWaits, waits + 2);
  EXPECT_EQ(headless::PeekClock() / 1000, (base + 2 * period + blankStart) / 1000);
  headless::SetClock(base + 10 * period);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);  // an odd count: the red buffer in front
  EXPECT_EQ(GetDdCounters().vblankWaits, waits + 2);
  headless::SetClockStep(headless::kDefaultClockStep);
  ASSERT_EQ(headless::FrameCount(), frames + 5);
  const headless::KeptFrame* f = headless::LastFrame();
  ASSERT_EQ(f->width, 640);
  EXPECT_EQ(f->pixels[0] & 0xF8F8F8, 0xF80000u);
  // The old front is now the back buffer.
  uint16_t v = 0;
  std::memcpy(&v, back->memory(), 2);
  EXPECT_EQ(v, 0);
  primary->Release();
  EXPECT_EQ(dd->RestoreDisplayMode(), DD_OK);
  EXPECT_FALSE(IsDisplayModeSwitched());
}

TEST_F(DdScope, WindowedPrimaryIsTheDesktopAndShowsOnlyTheClientArea) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  EXPECT_EQ(primary->width(), headless::kDefaultDesktopWidth);
  DDPixelFormat f;
  primary->GetPixelFormat(&f);
  EXPECT_EQ(f.bitCount, 32u);
  Rect client;
  Point origin{0, 0};
  GetClientRect(window, &client);
  ClientToScreen(window, &origin);
  DDBltFx fx;
  fx.fillColor = 0x123456;
  const Rect r{origin.x + 1, origin.y + 2, origin.x + 3, origin.y + 4};
  ASSERT_EQ(primary->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  const headless::KeptFrame* k = headless::LastFrame();
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->width, client.right);
  EXPECT_EQ(k->height, client.bottom);
  EXPECT_EQ(k->pixels[2 * k->width + 1], 0x123456u);
  EXPECT_EQ(k->pixels[0], 0u);
  primary->Release();
}

TEST_F(DdScope, BltRefusesOtherFormatsAndKeysSourcePixels) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DDSurface* a = Plain(4, 1);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  d.width = 4;
  d.height = 1;
  d.hasPixelFormat = true;
  d.pixelFormat = DdFormatOfDepth(16);
  DDSurface* b16 = nullptr;
  ASSERT_EQ(dd->CreateSurface(&d, &b16), DD_OK);
  EXPECT_EQ(a->Blt(nullptr, b16, nullptr, 0, nullptr), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(a->BltFast(0, 0, b16, nullptr, 0), DDERR_INVALIDPIXELFORMAT);

  DDSurface* src = Plain(4, 1);
  uint32_t px[4] = {1, 7, 2, 7};
  int32_t pitch = 0;
  uint8_t* p = nullptr;
  ASSERT_EQ(src->Lock(nullptr, &pitch, &p, DDLOCK_WAIT), DD_OK);
  std::memcpy(p, px, 16);
  ASSERT_EQ(src->Unlock(nullptr), DD_OK);
  src->SetColorKey(DDCKEY_SRCBLT, 7, 7);
  Fill(a, 9);
  ASSERT_EQ(a->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
  uint32_t out[4];
  std::memcpy(out, a->memory(), 16);
  EXPECT_EQ(out[0], 1u);
  EXPECT_EQ(out[1], 9u);
  EXPECT_EQ(out[2], 2u);
  EXPECT_EQ(out[3], 9u);
  // A rectangle beyond either surface is refused, not cut.
  const Rect wide{0, 0, 5, 1};
  EXPECT_EQ(a->BltFast(0, 0, src, &wide, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(a->BltFast(1, 0, src, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(a->Lock(&wide, &pitch, &p, 0), DDERR_INVALIDRECT);
  a->Release();
  b16->Release();
  src->Release();
}

TEST_F(DdScope, LostVideoSurfacesRefuseUntilRestoredWithTheMarkedPattern) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DDSurface* video = Plain(8, 8, DDSCAPS_VIDEOMEMORY);
  DDSurface* system = Plain(8, 8);
  uint32_t caps = 0;
  video->GetCaps(&caps);
  EXPECT_TRUE(caps & DDSCAPS_VIDEOMEMORY);
  DdLoseVideoSurfaces();
  EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), DD_OK);
  int32_t pitch = 0;
  uint8_t* p = nullptr;
  EXPECT_EQ(video->Lock(nullptr, &pitch, &p, 0), DDERR_SURFACELOST);
  EXPECT_EQ(system->BltFast(0, 0, video, nullptr, 0), DDERR_SURFACELOST);
  ASSERT_EQ(video->Restore(), DD_OK);
  EXPECT_EQ(video->memory()[0], kDdRestoredByte);
  EXPECT_EQ(video->memory()[8 * 4 * 8 - 1], kDdRestoredByte);
  video->Release();
  system->Release();
}

TEST_F(DdScope, InjectedFailuresAndVideoMemoryFallBack) {
  EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  DdRefuseMode(800, 600, 32, -1);
  EXPECT_EQ(dd->SetDisplayMode(800, 600, 32, 60, 0), DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDPARAMS);
  DdFailNext(DdOp::CooperativeLevel);
  EXPECT_NE(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DdFailNext(DdOp::CreateSurface);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_OFFSCREENPLAIN;
  d.width = d.height = 4;
  DDSurface* s = nullptr;
  EXPECT_NE(dd->CreateSurface(&d, &s), DD_OK);
  EXPECT_EQ(s, nullptr);
  // No memory place asked: out of video memory lands in system memory.
  DdFailNext(DdOp::VideoMemory);
  ASSERT_EQ(dd->CreateSurface(&d, &s), DD_OK);
  uint32_t caps = 0;
  s->GetCaps(&caps);
  EXPECT_TRUE(caps & DDSCAPS_SYSTEMMEMORY);
  DdFailNext(DdOp::Lock);
  int32_t pitch = 0;
  uint8_t* p = nullptr;
  EXPECT_NE(s->Lock(nullptr, &pitch, &p, 0), DD_OK);
  DdFailNext(DdOp::GetDC);
  Hdc dc = 0;
  EXPECT_NE(s->GetDC(&dc), DD_OK);
  s->Release();
  DdFailNext(DdOp::Create);
  DirectDraw* second = nullptr;
  EXPECT_NE(DirectDrawCreate(&second), DD_OK);
  EXPECT_EQ(second, nullptr);
}

TEST_F(DdScope, ScanLineAndBlankFollowTheClockAtTheModeRate) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 75, 0), DD_OK);
  // One period at 75 Hz is 13333 us: 525 lines, the last 45 blank.
  headless::SetClockStep(0);
  const uint64_t base = (headless::PeekClock() / 13333 + 1) * 13333;
  headless::SetClock(base + 13333 * 240 / 525);
  uint32_t line = 0;
  EXPECT_EQ(dd->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line, 239u);  // truncation of the division
  headless::SetClock(base + 13333 * 500 / 525 + 1);
  EXPECT_EQ(dd->GetScanLine(&line), DDERR_VERTICALBLANKINPROGRESS);
  headless::SetClock(base + 100);
  ASSERT_EQ(dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN), DD_OK);
  int32_t blank = 0;
  dd->GetVerticalBlankStatus(&blank);
  EXPECT_EQ(blank, 1);
  EXPECT_LT(headless::PeekClock() - base, 13333u);
}

TEST_F(DdScope, AWaitForTheBlankEndsInTheNextBlankEvenWhenSleepsWakeLate) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 60, 0), DD_OK);
  // 60 Hz: a period of 16666 us, the blank its last 45 of 525 lines (from
  // 15237 us on, 1429 us long). A sleep that wakes late must not make the
  // wait miss that blank and end one whole period later.
  const uint64_t period = 16666, blankStart = period * 480 / 525;
  for (uint32_t late : {0u, 300u, 900u, 1400u, 2500u}) {
    headless::SetSleepOvershoot(late);
    for (uint64_t phase = 0; phase < period; phase += 997) {
      const uint64_t base = (headless::PeekClock() / period + 2) * period;
      headless::SetClock(base + phase);
      const uint64_t next = phase < blankStart ? base + blankStart : base + period + blankStart;
      ASSERT_EQ(dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN), DD_OK);
      const uint64_t end = headless::PeekClock();
      EXPECT_GE(end, next) << "late " << late << " phase " << phase;
      // Late by at most what one sleep overran, plus the clock's read steps.
      EXPECT_LE(end, next + late + 100) << "late " << late << " phase " << phase;
      if (late < 1000) {
        int32_t blank = 0;
        dd->GetVerticalBlankStatus(&blank);
        EXPECT_EQ(blank, 1) << "late " << late << " phase " << phase;
      }
    }
  }
}

}  // namespace

namespace {

TEST_F(DdScope, AClipperKeepsBltsToThePrimaryInsideTheWindow) {
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  DDClipper* clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper), DD_OK);
  clipper->SetHWnd(0, window);
  primary->SetClipper(clipper);
  DDBltFx fx;
  fx.fillColor = 0xABCDEF;
  ASSERT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  Rect client;
  Point origin{0, 0};
  GetClientRect(window, &client);
  ClientToScreen(window, &origin);
  auto at = [&](int x, int y) {
    uint32_t v = 0;
    std::memcpy(&v, primary->memory() + y * primary->pitch() + x * 4, 4);
    return v;
  };
  EXPECT_EQ(at(origin.x, origin.y), 0xABCDEFu);
  EXPECT_EQ(at(origin.x + client.right - 1, origin.y + client.bottom - 1), 0xABCDEFu);
  EXPECT_EQ(at(origin.x - 1, origin.y), 0u);
  EXPECT_EQ(at(origin.x, origin.y + client.bottom), 0u);
  primary->SetClipper(nullptr);
  clipper->Release();
  primary->Release();
}

}  // namespace
