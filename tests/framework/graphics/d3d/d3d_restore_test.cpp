// Injected failures of the Direct3D road and device loss: a display without
// Direct3D or without a device runs the DirectDraw road, a refused texture
// lock goes through a temporary texture, capture finds and remembers its
// method, and on both roads a lost display comes back with every handle
// valid and the frame as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "d3d_test_support.h"
#include "framework/core/life/framework_life.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/module_hooks.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/screen/device_restore.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/screen/screen.h"
#include "platform/d3d/device_caps.h"
#include "platform/host/headless/headless_control.h"
#include "platform/kernel/file_io.h"

namespace {

using namespace qor;


using d3dtest::Frame;

int32_t PictureGraph(int w, int h) { return d3dtest::PictureGraph(w, h, 3); }

TEST(D3DFailures, MissingDirect3DOrDeviceLeavesTheDirectDrawRoad) {
  for (int which = 0; which < 2; ++which) {
    lifetest::LifeScope scope;
    if (which == 0) plat::d3d::StandIn().offerDirect3D = false;
    if (which == 1) plat::d3d::StandIn().failCreateDevice = 1;
    SwitchWindowModePublic(0);
    ASSERT_EQ(InitFramework(), 0);
    EXPECT_EQ(GetScreenState().direct3DInUse, 0) << which;
    const int32_t g = PictureGraph(16, 16);
    ASSERT_GE(g, 0);
    EXPECT_FALSE(LookupGraph(g)->is3D);
    EXPECT_EQ(BlitGraph(5, 5, g, 1), 0);
    EndFramework();
  }
}

TEST(D3DFailures, RefusedTextureLockAndCaptureMethods) {
  gfxtest::Road road(false, 16, false, "d3d");
  SelectDrawTarget(kBackScreen);
  const int32_t direct = PictureGraph(20, 12);
  const int64_t before = GetCurrentD3DDevice()->Counters().load;
  plat::DdFailNext(plat::DdOp::Lock, 1);
  const int32_t loaded = PictureGraph(20, 12);  // through a temporary texture and the device's load
  EXPECT_EQ(GetCurrentD3DDevice()->Counters().load, before + 1);
  BlitGraph(0, 0, direct, 0);
  BlitGraph(40, 0, loaded, 0);
  const std::vector<uint32_t> f = Frame();
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(f[y * 640 + x], f[y * 640 + 40 + x]) << x << "," << y;

  // The first capture into an alpha-test graph converts by lock; a plain
  // graph whose locks are refused walks on to BltFast and keeps it.
  SelectDrawTarget(kBackScreen);
  BlitGraph(0, 0, direct, 0);
  D3DGlobals& d = GetD3D();
  const int32_t keyedGrab = CreateBlankGraph(20, 12, 0);
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 20, 12, keyedGrab, 0), 0);
  EXPECT_EQ(d.captureMethod[0], 0);
  SetNewGraphAlphaTest(0);
  const int32_t plainGrab = CreateBlankGraph(20, 12, 0);
  SetNewGraphAlphaTest(1);
  plat::DdFailNext(plat::DdOp::Lock, 1);
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 20, 12, plainGrab, 0), 0);
  EXPECT_EQ(d.captureMethod[1], 1);
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 30, 12, plainGrab, 0), -1);  // wider than the graph
  EXPECT_EQ(d.captureMethod[1], -1);
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 20, 12, plainGrab, 0), 0);
  BlitGraph(100, 100, keyedGrab, 0);
  BlitGraph(200, 100, plainGrab, 0);
  const std::vector<uint32_t> g = Frame();
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) {
      ASSERT_EQ(g[(100 + y) * 640 + 100 + x], f[y * 640 + x]) << x << "," << y;
      ASSERT_EQ(g[(100 + y) * 640 + 200 + x], f[y * 640 + x]) << x << "," << y;
    }
}

void LoseAndRestore(const char* name) {
  SCOPED_TRACE(name);
  gfxtest::Road road(false, 16, false, name);
  const bool direct3D = name[0] == 'd' && name[1] == '3';
  gfxtest::WriteBmp("restore_sheet.bmp", 80, 32);
  DestroyGraph(PictureGraph(8, 8), 0);  // a hole at the start of the piece table
  // A graph without a file survives too.
  const int32_t blank = CreateBlankGraph(8, 8, 0);
  // Fonts are made again under the same handle; on the Direct3D road the
  // glyph cache is an alpha-channel texture, drawn blending by its alpha.
  const int32_t font = CreateFontHandle(nullptr, 18, 6, 2, -1, -1, 0, -1, -1);
  ASSERT_NE(font, -1);
  EXPECT_EQ(GetFontRecord(font)->textureCache, direct3D ? 1 : 0);
  int32_t handles[40];
  ASSERT_EQ(OpenDividedGraphFile("restore_sheet.bmp", 40, 10, 4, 8, 8, handles, 1, 0), 0);
  auto draw = [&] {
    SelectDrawTarget(kBackScreen);
    EraseDrawTarget();
    for (int i = 0; i < 40; ++i) BlitGraph((i % 10) * 12, (i / 10) * 12, handles[i], 0);
    BlitGraphRotated(300.0f, 200.0f, 2.0, 0.5, handles[7], 1, 0);
    PaintBoxFilled(200, 300, 260, 330, PackColorRGB(200, 100, 50));
    DrawStringWithFont(10, 400, "Restored 文字", PackColorRGB(255, 255, 0), font, 0, 0);
    return Frame();
  };
  const std::vector<uint32_t> before = draw();

  ASSERT_EQ(LookupGraph(handles[0])->is3D, direct3D ? 1 : 0);

  // Focus lost in full screen, the video surfaces lost while away, focus
  // back: one pass of the message processing sees it all.
  namespace hl = plat::headless;
  hl::PushEvent(lifetest::Simple(plat::HostEventKind::FocusLost));
  hl::ScriptEventAtTime(hl::PeekClock() + 200'000, lifetest::Simple(plat::HostEventKind::FocusGained));
  static int heldWhileAway;
  heldWhileAway = -1;
  GetModuleHooks().refillStreamSounds = [] {
    if (IsWindowActive() || heldWhileAway != -1) return;
    heldWhileAway = GetD3D().object;
    plat::DdLoseVideoSurfaces();
  };
  const int opens = plat::FileOpenCount();
  EXPECT_EQ(ProcessFrameMessages(), 0);
  EXPECT_EQ(heldWhileAway, 0);  // released on the way out (never held on the DirectDraw road)
  EXPECT_EQ(plat::FileOpenCount() - opens, 1);  // 40 divided graphs, one file load
  EXPECT_EQ(GetD3D().object, direct3D ? 1 : 0);
  // The keyboard reads again afterwards.
  hl::PushEvent(hl::KeyEvent(true, plat::hid::Escape));
  EXPECT_EQ(ProcessFrameMessages(), 0);
  EXPECT_EQ(QueryKeyPressedPublic(1), 1);
  hl::PushEvent(hl::KeyEvent(false, plat::hid::Escape));
  ProcessFrameMessages();
  for (int32_t h : handles) {
    ASSERT_NE(LookupGraph(h), nullptr);
    EXPECT_EQ(LookupGraph(h)->restoreNeeded, 0u);
  }
  EXPECT_NE(LookupGraph(blank), nullptr);
  EXPECT_TRUE(draw() == before);
  EXPECT_EQ(IsValidFontHandle(font), 1);

  // A display change (the restore alone) gives the same frame again.
  GetModuleHooks().restoreAfterDeviceLoss();
  EXPECT_TRUE(draw() == before);

  // A graph whose load directory cannot be entered is not refilled from
  // whatever file of that name stands in the current directory.
  GraphRecord* lost = LookupGraph(handles[0]);
  std::strcpy(lost->loadDirectory, "Z:\\no\\such\\folder");
  FillGraphColor(handles[0], 255, 0, 255, 255);
  lost->restoreNeeded = 1;
  ReloadAllGraphs();
  EXPECT_EQ(lost->restoreNeeded, 0u);
  SelectDrawTarget(kBackScreen);
  BlitGraph(0, 0, handles[0], 0);
  EXPECT_EQ(Frame()[0], 0xFF00FFu);
  std::remove("restore_sheet.bmp");
}

TEST(D3DRestoreE2E, LostDisplayComesBackWithHandlesAndPicture) {
  for (const char* name : {"d3d", "ddraw"}) LoseAndRestore(name);
}

// Option 0 on a window's front screen reads the desktop: its limits, not
// the window's, and the rectangle unmoved; any other option keeps to the
// draw screen.
TEST(D3DFailures, CaptureOptionZeroTakesTheDesktopOnAWindow) {
  gfxtest::Road road(false, 32, true, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  SelectDrawTarget(kFrontScreen);
  const int32_t grab = CreateBlankGraph(32, 16, 0);
  ASSERT_NE(grab, -1);
  EXPECT_EQ(CaptureScreenToGraph(700, 0, 732, 16, grab, 1), -1);  // beyond the 640-wide screen
  EXPECT_EQ(CaptureScreenToGraph(700, 0, 732, 16, grab, 0), 0);   // inside the desktop
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 32, 16, grab, 1), 0);
  SelectDrawTarget(kBackScreen);
  EXPECT_EQ(CaptureScreenToGraph(700, 0, 732, 16, grab, 0), -1);  // not the front screen
}

// With the device's drawing suspended (the target a graph in system
// memory), a mode-3 box is the 2D road's subtraction alone: no inversion
// goes round it.
TEST(D3DFailures, ModeThreeBoxOnASuspendedTargetSubtractsOnce) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetNewGraphSysMem(1);
  const int32_t target = CreateBlankGraph(16, 16, 1);
  SetNewGraphSysMem(0);
  ASSERT_NE(target, -1);
  SelectDrawTarget(target);
  EXPECT_EQ(GetD3D().drawingSuspended, 1u);
  PaintBoxFilled(0, 0, 16, 16, PackColorRGB(200, 200, 200));
  SelectBlend(3, 255);
  PaintBoxFilled(0, 0, 16, 16, PackColorRGB(50, 100, 150));
  SelectBlend(0, 255);
  SelectDrawTarget(kBackScreen);
  BlitGraph(0, 0, target, 0);
  const uint32_t p = Frame()[5 * 640 + 5];  // about 200 - (50, 100, 150), by the 2D road's products
  EXPECT_NEAR(static_cast<int>(p >> 16 & 255), 150, 1);
  EXPECT_NEAR(static_cast<int>(p >> 8 & 255), 100, 1);
  EXPECT_NEAR(static_cast<int>(p & 255), 50, 1);
}

}  // namespace
