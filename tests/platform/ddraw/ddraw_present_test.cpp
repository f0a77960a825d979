// The visible primary reaches the host once per frame: writes mark it, and
// the last picture written shows when the program next takes its events,
// when a kept picture is read, at a flip, or before the primary goes.
#include <gtest/gtest.h>

#include "ddraw_test_support.h"
#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "platform/window/window.h"

namespace {

using namespace plat;

struct DdPresentScope : ::testing::Test {
  Hwnd window = 0;
  DirectDraw* dd = nullptr;
  DDSurface* primary = nullptr;
  Point origin{0, 0};
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ddtest::OpenDisplay("ddp", 40, 30, 16, 8, &window, &dd));
    ASSERT_TRUE(ClientToScreen(window, &origin));
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    DDSurfaceDesc d;
    d.caps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  }
  void TearDown() override {
    if (primary != nullptr) primary->Release();
    if (dd != nullptr) dd->Release();
    ddtest::ResetDisplayStandIns();
  }
  // Fills the pixel at (x, y) of the client area.
  void Dot(int x, int y, uint32_t colour) {
    DDBltFx fx;
    fx.fillColor = colour;
    const Rect r{origin.x + x, origin.y + y, origin.x + x + 1, origin.y + y + 1};
    ASSERT_EQ(primary->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  }
};

TEST_F(DdPresentScope, ManyWritesInAFrameShowOnceWithTheLastPictureWhenEventsAreTaken) {
  const int before = GetDdCounters().presents;
  Dot(0, 0, 0x111111);
  Dot(1, 0, 0x222222);
  Dot(0, 0, 0x333333);
  EXPECT_EQ(GetDdCounters().presents, before);  // nothing shown yet
  HostEvent e;
  HostPollEvent(&e);
  EXPECT_EQ(GetDdCounters().presents, before + 1);
  const uint64_t frames = headless::FrameCount();
  const headless::KeptFrame* k = headless::LastFrame();
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->pixels[0], 0x333333u);
  EXPECT_EQ(k->pixels[1], 0x222222u);
  // Taking events again with nothing written shows nothing more.
  HostPollEvent(&e);
  EXPECT_EQ(headless::FrameCount(), frames);
  EXPECT_EQ(GetDdCounters().presents, before + 1);
}

TEST_F(DdPresentScope, AKeptPictureReadShowsWhatWasWrittenAndAReleasedPrimaryShowsFirst) {
  const uint64_t frames = headless::FrameCount();
  Dot(2, 1, 0x445566);
  const headless::KeptFrame* k = headless::LastFrame();
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->pixels[1 * k->width + 2], 0x445566u);
  EXPECT_EQ(headless::FrameCount(), frames + 1);
  Dot(3, 1, 0x778899);
  const int before = GetDdCounters().presents;
  primary->Release();
  primary = nullptr;
  EXPECT_EQ(GetDdCounters().presents, before + 1);
  EXPECT_EQ(headless::LastFrame()->pixels[1 * k->width + 3], 0x778899u);
}

TEST_F(DdPresentScope, AFlipShowsAtOnceAndCarriesThePendingWriteWithIt) {
  primary->Release();
  primary = nullptr;
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(64, 32, 32, 60, 0), DD_OK);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  d.backBufferCount = 1;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  DDSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
  DDBltFx fx;
  fx.fillColor = 0x0000FF;
  ASSERT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  fx.fillColor = 0x00FF00;
  ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  const int before = GetDdCounters().presents;
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
  EXPECT_EQ(GetDdCounters().presents, before + 1);  // the flip alone: the earlier fill never shows apart
  EXPECT_EQ(headless::LastFrame()->pixels[0], 0x00FF00u);
  HostEvent e;
  HostPollEvent(&e);
  EXPECT_EQ(GetDdCounters().presents, before + 1);
}

}  // namespace
