// Graphics start-up through the framework's start: windowed on the desktop's
// depth, full screen at 640 x 480 x 16, the mode ladder under refusals, the
// software retry, the forced roads, and the present reaching the host.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/core/life_test_support.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/qorlib.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "platform/d3d/device_caps.h"
#include "platform/ddraw/ddraw.h"
#include "platform/window/display_settings.h"

using namespace qor;
namespace hl = plat::headless;

namespace {

struct GfxScope : lifetest::LifeScope {
  GfxScope() { unsetenv("ORB_GFX"); }
  ~GfxScope() { unsetenv("ORB_GFX"); }
};

TEST(ScreenStart, WindowedTakesTheDesktopDepthAndPresentsByBlt) {
  GfxScope scope;
  ASSERT_EQ(InitFramework(), 0);
  const ScreenState& s = GetScreenState();
  ASSERT_NE(s.directDraw, nullptr);
  EXPECT_EQ(GetScreenColorBits(), 32);
  EXPECT_EQ(s.formatClass, kScreenClass8888);
  EXPECT_FALSE(s.softwareRendering);
  EXPECT_EQ(QueryDrawTarget(), kFrontScreen);
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  ASSERT_EQ(FillBoxDirectDraw(10, 20, 30, 40, PackColorRGB(255, 0, 0)), 0);
  const uint64_t frames = hl::FrameCount();
  const uint64_t counted = GetFrameCounter();
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_GT(hl::FrameCount(), frames);
  EXPECT_EQ(GetFrameCounter(), counted + 1);
  const hl::KeptFrame* f = hl::LastFrame();
  ASSERT_EQ(f->width, 640);
  EXPECT_EQ(f->pixels[20 * 640 + 10], 0xFF0000u);
  EXPECT_EQ(f->pixels[19 * 640 + 10], 0u);
  EXPECT_TRUE(scope.Logged("ウインドウモードにします"));
  EndFramework();
  EXPECT_EQ(plat::GetDdCounters().liveSurfaces, 0);
  EXPECT_EQ(plat::GetDdCounters().liveObjects, 0);
}

TEST(ScreenStart, FullScreenFlipsAClearedChainAfterABlank) {
  GfxScope scope;
  SwitchWindowModePublic(0);
  ASSERT_EQ(InitFramework(), 0);
  plat::DisplayMode mode;
  plat::GetCurrentDisplayMode(&mode);
  EXPECT_EQ(mode.width, 640);
  EXPECT_EQ(mode.bitsPerPixel, 16);
  const ScreenState& s = GetScreenState();
  EXPECT_EQ(s.formatClass, kScreenClass565);
  EXPECT_EQ(s.modeChanged, 1);
  // Measured on the virtual clock at 60 Hz (16.67 ms): 16 or 17 whole ms by
  // the phase the runs start at, so waits come every 9 or 10 ms.
  EXPECT_TRUE(s.frameMs == 16 || s.frameMs == 17) << s.frameMs;
  EXPECT_EQ(s.vblankInterval, (2 * s.frameMs - 4) / 3);
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  EXPECT_EQ(hl::LastFrame()->pixels[0], 0u);  // the chain starts cleared
  ASSERT_EQ(FillBoxDirectDraw(0, 0, 640, 480, PackColorRGB(0, 0, 255)), 0);
  const int flips = plat::GetDdCounters().flips;
  const int waits = plat::GetDdCounters().vblankWaits;
  // The first flip is queued for the next blank; the next present, made
  // before that blank, waits for it.
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::GetDdCounters().flips, flips + 1);
  EXPECT_EQ(hl::LastFrame()->pixels[123] & 0xF8F8F8, 0x0000F8u);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::GetDdCounters().flips, flips + 2);
  EXPECT_EQ(plat::GetDdCounters().vblankWaits, waits + 1);
  // Drawing on the front screen: a present only waits for one blank.
  SelectDrawTarget(kFrontScreen);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::GetDdCounters().flips, flips + 2);
  EndFramework();
  EXPECT_FALSE(plat::IsDisplayModeSwitched());
}

TEST(ScreenStart, RefusedModesFallBackDownTheLadder) {
  GfxScope scope;
  SwitchWindowModePublic(0);
  plat::DdRefuseMode(640, 480, 16, 60);
  ASSERT_EQ(InitFramework(), 0);  // the same mode at the default rate
  EXPECT_EQ(GetScreenState().refreshRate, 0);
  // Later: a mode the display refuses in every form ends at 640 x 480 x 16.
  plat::DdRefuseMode(800, 600, 32, -1);
  EXPECT_EQ(RequestScreenMode(800, 600, 32, 60), -2);
  int32_t w = 0, h = 0, b = 0;
  QueryScreenState(&w, &h, &b);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(b, 16);
  EndFramework();
}

TEST(ScreenStart, RefusedObjectOrPrimaryRetriesInSoftware) {
  for (plat::DdOp op : {plat::DdOp::Create, plat::DdOp::CreatePrimary}) {
    GfxScope scope;
    plat::DdFailNext(op);
    ASSERT_EQ(InitFramework(), 0);
    const ScreenState& s = GetScreenState();
    EXPECT_TRUE(s.softwareRendering);
    EXPECT_TRUE(s.directDrawUnusable);
    EXPECT_EQ(s.directDraw, nullptr);
    EXPECT_TRUE(scope.Logged("ソフトウエアレンダリングモードに変更します"));
    // The software road presents through GDI.
    SelectDrawTarget(kBackScreen);
    FillBoxDirectDraw(0, 0, 8, 8, PackColorRGB(0, 255, 0));
    ASSERT_EQ(PresentFrame(), 0);
    EXPECT_EQ(hl::LastFrame()->pixels[0], 0x00FF00u);
    EXPECT_GT(plat::GetGdiCounters().setDIBitsToDevice, 0);
    EndFramework();
  }
}

TEST(ScreenStart, ForcedRoads) {
  {
    GfxScope scope;
    setenv("ORB_GFX", "soft", 1);
    ASSERT_EQ(InitFramework(), 0);
    EXPECT_TRUE(GetScreenState().softwareRendering);
    EndFramework();
  }
  for (const char* road : {"d3d", "vulkan"}) {
    GfxScope scope;
    setenv("ORB_GFX", road, 1);
    if (road[0] == 'd') plat::d3d::StandIn().offerDirect3D = false;  // a forced road that cannot start
    EXPECT_EQ(InitFramework(), -1) << road;
    EndFramework();
  }
}

TEST(ScreenStart, ModeChangesComeTwoSecondsApartAndBadRequestsKeepTheGraphs) {
  GfxScope scope;
  ASSERT_EQ(InitFramework(), 0);
  SetKeyColorRGB(0, 255, 0);  // set before the mode, as the game does: the change keeps it
  GraphRecord* g = nullptr;
  const GraphCreateSettings settings{};
  const int32_t graph = AddGraphRecord(8, 8, 0, &g, 0, 0, &settings);
  EXPECT_EQ(RequestScreenMode(-1, -1, 24, -1), -1);
  EXPECT_EQ(RequestScreenMode(0, 480, 16, -1), -1);
  EXPECT_TRUE(IsGraphValid(graph));  // checked before anything was destroyed
  const uint32_t first = GetScreenState().lastModeChange;
  hl::SetClock(hl::PeekClock() + 500'000);
  EXPECT_EQ(RequestScreenMode(800, 600, -1, -1), 0);
  EXPECT_GE(GetScreenState().lastModeChange - first, 2060u);
  EXPECT_FALSE(IsGraphValid(graph));
  EXPECT_EQ(GetDrawState().transparentColor, 0x00FF00u);
  EndFramework();
}

TEST(ScreenStart, WaitsOnADisplayThatNeverBlanksAreBounded) {
  GfxScope scope;
  SwitchWindowModePublic(0);
  plat::DdFreezeBeam(true);
  ASSERT_EQ(InitFramework(), 0);  // the frame-time measurement gives up
  const ScreenState& s = GetScreenState();
  EXPECT_EQ(s.frameMs, -1);
  EXPECT_EQ(s.vblankInterval, -1);
  EXPECT_TRUE(scope.Logged("１フレームの時間を正常に取得できませんでした"));
  const uint64_t before = hl::PeekClock();
  EXPECT_EQ(WaitVBlankCount(3), 0);
  EXPECT_EQ(AwaitVBlankInterval(), 0);
  SelectDrawTarget(kBackScreen);
  EXPECT_EQ(PresentFrame(), 0);
  EXPECT_LT(hl::PeekClock() - before, 2'000'000u);
  EndFramework();
}

TEST(ScreenStart, EightBitScreenKeepsAPaletteAndOnlyThePlainCopy) {
  GfxScope scope;
  SwitchWindowModePublic(0);
  RequestScreenModePublic(640, 480, 8, -1);
  ASSERT_EQ(InitFramework(), 0);
  const ScreenState& s = GetScreenState();
  ASSERT_NE(s.palette, nullptr);
  EXPECT_EQ(s.paletteEntries[0], 0u);
  EXPECT_EQ(s.paletteEntries[255], 0xFFFFFFu);
  EXPECT_EQ(PackColorRGB(255, 255, 255), 215u);  // the first of the equal entries
  int32_t r = 0, g = 0, b = 0;
  EXPECT_EQ(UnpackColorRGB(256, &r, &g, &b), -1);
  const uint32_t key = GetDrawState().transparentColor;
  SetKeyColorRGB(1, 2, 3);
  EXPECT_EQ(GetDrawState().transparentColor, key);
  SelectDrawTarget(kBackScreen);
  EXPECT_EQ(FillBoxDirectDraw(0, 0, 8, 8, 3), -1);  // no work images on 8 bits
  EXPECT_EQ(EraseDrawTarget(), 0);
  EXPECT_EQ(PresentFrame(), 0);
  EndFramework();
}

}  // namespace
