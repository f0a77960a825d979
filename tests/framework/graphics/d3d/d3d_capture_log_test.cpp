// Screen capture on the Direct3D road: each method that fails writes its
// own log line with the failing call's result before the next is tried;
// the fourth method reports its sizes and rectangles; in a window on the
// front screen the first method reads through the auxiliary screen surface
// and captures what the screen shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"

namespace {

using namespace qor;

std::string Line(const char* format, int32_t value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

TEST(D3DCapture, EachFailingMethodLogsItsOwnLine) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  SelectDrawTarget(kBackScreen);
  BlitGraph(0, 0, d3dtest::PictureGraph(20, 12, 3), 0);
  D3DGlobals& d = GetD3D();
  // An alpha-test graph: its texture (1:5:5:5) is not the screen's format.
  const int32_t grab = CreateBlankGraph(20, 12, 0);
  ASSERT_NE(grab, -1);
  // Two refused locks: the first method's own lock, then the third's lock of
  // its work surface; BltFast refuses the two formats; the DCs carry it.
  plat::DdFailNext(plat::DdOp::Lock, 2);
  ASSERT_EQ(CaptureScreenToGraph(0, 0, 20, 12, grab, 0), 0);
  EXPECT_EQ(d.captureMethod[0], 3);
  const int32_t generic = plat::DDERR_GENERIC, format = plat::DDERR_INVALIDPIXELFORMAT;
  EXPECT_TRUE(road.Logged(
      Line("Error  CaptureScreenMethod5 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d", generic).c_str()));
  EXPECT_TRUE(road.Logged(Line("Error CaptureScreenMethod1  BltFast ReturnValue:%d", format).c_str()));
  EXPECT_TRUE(road.Logged(
      Line("Error  CaptureScreenMethod3 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d", generic).c_str()));

  // Every DC refused from the start: the methods that take one say which.
  d.captureMethod[0] = -1;
  plat::DdFailNext(plat::DdOp::Lock, 2);
  plat::DdFailNext(plat::DdOp::GetDC, 3);
  EXPECT_EQ(CaptureScreenToGraph(0, 0, 20, 12, grab, 0), -1);
  EXPECT_EQ(d.captureMethod[0], -1);
  EXPECT_TRUE(road.Logged(Line("Error  CaptureScreenMethod3 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", generic).c_str()));
  EXPECT_TRUE(road.Logged(Line("Error  CaptureScreenMethod2  ＤＣ取得に失敗しました  GetDC ReturnValue:%d", generic).c_str()));
  EXPECT_TRUE(road.Logged(Line("Error  CaptureScreenMethod4 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", generic).c_str()));
  EXPECT_TRUE(road.Logged("ScreenColor:16  SizeX:640  SizeY:480  DrawPointX:0  DrawPointY:0  WndRect.left:"));
  EXPECT_TRUE(road.Logged("AlphaCh:0  AlphaTest:1  ColorBitDepth:16"));
  EXPECT_TRUE(road.Logged("hr:0  W:20  H:12  FullMode:1  Point x:0 y:0   Rect top:0 bottom:12 left:0 right:20"));
}

TEST(D3DCapture, AWindowsFrontScreenIsReadThroughTheAuxiliarySurface) {
  gfxtest::Road road(false, 32, true, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  SelectDrawTarget(kFrontScreen);
  const int32_t picture = d3dtest::PictureGraph(20, 12, 5);
  BlitGraph(0, 0, picture, 0);
  EndSceneCurrentDevice();
  SetNewGraphAlphaTest(0);
  const int32_t grab = CreateBlankGraph(20, 12, 0);
  SetNewGraphAlphaTest(1);
  ASSERT_NE(grab, -1);
  const plat::DdCounters before = plat::GetDdCounters();
  ASSERT_EQ(CaptureScreenToGraph(0, 0, 20, 12, grab, 1), 0);
  EXPECT_EQ(GetD3D().captureMethod[1], 0);
  // The copy into the auxiliary surface went by BltFast or by DCs.
  const plat::DdCounters after = plat::GetDdCounters();
  EXPECT_GT(after.bltFasts + after.getDCs, before.bltFasts + before.getDCs);
  SelectDrawTarget(kBackScreen);
  BlitGraph(0, 0, picture, 0);
  BlitGraph(100, 0, grab, 0);
  EndSceneCurrentDevice();
  const std::vector<uint32_t> f = gfxtest::TargetPixels(0, 0, 120, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(f[y * 120 + 100 + x], f[y * 120 + x]) << x << "," << y;
}
