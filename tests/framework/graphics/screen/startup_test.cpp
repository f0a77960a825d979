// The graphics side of the framework's start: each ORB_GFX road set through
// the framework's own switches (and the Direct3D-off option without it), the
// DirectDraw start's log lines in their order, the last step that takes
// every graph road once and leaves the front screen black, what that step
// leaves in the graph table's check numbers, and the screen failures that
// no caller can answer ending the program with their texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/core/life/framework_status.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/life/system_info.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/directdraw_object.h"
#include "platform/d3d/device_caps.h"
#include "screen_test_support.h"

namespace {

using namespace qor;

const std::vector<const char*> kDirectDrawStart = {
    "DirectDraw 関連の初期化を行います",
    "DirectDraw オブジェクトの取得を行います",
    "成功",
    "引き続き初期化処理",
    "初期化に成功しました",
    "ビデオカードの情報",
    "ビデオカードドライバ:memory display バージョン:1.0.0.0",
    "ドライバ記述:",
    "ビデオメモリ総量:",
    "画面モード変更処理を開始します",
    "出力画面用の DirectDrawSurface を作成します",
    "グラフィック管理系の初期化を行います",
};

const std::vector<const char*> kStartEnd = {
    "グラフィック管理系の初期化は正常に終了しました",
    "画面モード変更処理は正常に終了しました",
    "DirectDraw 関連の初期化は正常に終了しました",
};

struct RoadCase {
  const char* gfx;  // ORB_GFX, or null
  bool option;      // the Direct3D-off option set instead
  bool software, direct3DOff, direct3D;
};

TEST(GraphicsStart, EachRoadThroughItsSwitches) {
  const RoadCase cases[] = {
      {nullptr, false, false, false, false},
      {"ddraw", false, false, true, false},
      {"d3d", false, false, false, true},
      {"soft", false, true, true, false},
      {nullptr, true, true, true, false},
  };
  for (const RoadCase& c : cases) {
    SCOPED_TRACE(c.gfx != nullptr ? c.gfx : c.option ? "option" : "unset");
    lifetest::LifeScope scope;
    unsetenv("ORB_GFX");
    if (c.gfx != nullptr) setenv("ORB_GFX", c.gfx, 1);
    if (c.option) GetFrameworkStatus().direct3DOffOption = 1;
    ASSERT_EQ(InitFramework(), 0);
    unsetenv("ORB_GFX");
    const ScreenState& s = GetScreenState();
    EXPECT_EQ(s.softwareRendering, c.software ? 1 : 0);
    EXPECT_EQ(IsDirect3DOff(), c.direct3DOff ? 1 : 0);
    EXPECT_EQ(s.direct3DInUse, c.direct3D ? 1 : 0);
    EXPECT_EQ(GetFrameworkStatus().direct3DOffOption, c.option || (c.gfx != nullptr && c.gfx[0] == 's') ? 1 : 0);
    const std::string log = scope.Log();
    if (c.software) {
      EXPECT_EQ(log.find("DirectDraw オブジェクトの取得を行います"), std::string::npos);
      EXPECT_EQ(screentest::MissingInOrder(log, {"DirectDraw 関連の初期化を行います", "グラフィック管理系の初期化を行います",
                                                 "３Ｄグラフィック描画機能は使用しません"}),
                "");
    } else {
      EXPECT_EQ(screentest::MissingInOrder(log, kDirectDrawStart), "");
    }
    // Direct3D starts (or is tried) before graphics management takes its
    // result; with Direct3D off it is not tried at all.
    const size_t tried = log.find("Direct3D 関連の初期化を行います");
    EXPECT_EQ(tried == std::string::npos, c.direct3DOff);
    if (tried != std::string::npos) {
      EXPECT_LT(tried, log.find("グラフィック管理系の初期化を行います"));
    }
    EXPECT_EQ(screentest::MissingInOrder(log, {"グラフィック管理系の初期化を行います",
                                               c.direct3D ? "３Ｄグラフィック描画機能を使用します"
                                                          : "３Ｄグラフィック描画機能は使用しません"}),
              "");
    EXPECT_EQ(screentest::MissingInOrder(log, kStartEnd), "");
    EXPECT_EQ(s.mmxUsable, GetSystemInfo().mmx);
    EXPECT_EQ(IsMmxUsable(), GetSystemInfo().mmx);
    EndFramework();
  }
}

// After the last step both screens are black, blend mode 0 and the front
// screen are selected, and the step's three graphs have taken three check
// numbers: 0, 1 and 2 on the 2D roads, after the screen log font's texture
// cache on the Direct3D road. (Its black pictures are drawn under the
// start's key colour, black, so they leave the screens as the DirectDraw
// start cleared them.)
TEST(GraphicsStart, LastStepBlanksTheScreensAndTakesThreeCheckNumbers) {
  for (const char* road : {"ddraw", "soft", "d3d"}) {
    SCOPED_TRACE(road);
    lifetest::LifeScope scope;
    setenv("ORB_GFX", road, 1);
    SwitchWindowModePublic(0);
    static int32_t checkBefore;
    GetModuleHooks().warmGraphPaths = [] {
      checkBefore = GraphTable()->checkCounter;
      WarmGraphPaths();
    };
    ASSERT_EQ(InitFramework(), 0);
    unsetenv("ORB_GFX");
    const DrawState& d = GetDrawState();
    EXPECT_EQ(d.drawTarget, kFrontScreen);
    EXPECT_EQ(d.blendMode, 0);
    for (int32_t target : {kFrontScreen, kBackScreen}) {
      ASSERT_EQ(SelectDrawTarget(target), 0);
      const std::vector<uint32_t> px = gfxtest::TargetPixels(0, 0, 640, 480);
      size_t lit = 0;
      for (uint32_t v : px) lit += (v & 0xFFFFFF) != 0 ? 1 : 0;
      EXPECT_EQ(lit, 0u) << target;
    }
    if (std::strcmp(road, "d3d") != 0) {
      EXPECT_EQ(checkBefore, 0);
    }
    const int32_t first = CreateBlankGraph(8, 8, 0);
    EXPECT_EQ((first & kHandleCheckMask) >> 16, checkBefore + 3);
    EndFramework();
  }
}

// A screen that cannot be made after the first start has no software retry
// to answer it; nor has a back surface that cannot be locked again after a
// present. Both end the program with their texts.
TEST(GraphicsStartDeathTest, ScreenFailuresWithoutAFallBackAreFatal) {
  {
    lifetest::LifeScope scope;
    EXPECT_EXIT(
        {
          screentest::StartRoad(false, 16, true);
          plat::DdFailNext(plat::DdOp::CreatePrimary);
          RequestScreenMode(800, 600, 16, -1);
        },
        testing::ExitedWithCode(255), "");
    EXPECT_TRUE(scope.Logged("プライマリサーフェスの作成に失敗しました"));
  }
  // Software rendering drawing into the locked back surface of a display
  // that has DirectDraw (32 bits on a 32-bit desktop), and into a separate
  // image copied out (16 bits there).
  for (int bits : {32, 16}) {
    lifetest::LifeScope scope;
    EXPECT_EXIT(
        {
          screentest::StartRoad(false, bits, true);
          GetScreenState().softwareRendering = 1;
          GetScreenState().requestedBits = bits;
          SwitchScreenMode(-1, -1, -1, 1, -1);
          if (GetScreenState().backImageInSurface != (bits == 32 ? 1 : 0)) _exit(4);
          SelectDrawTarget(kBackScreen);
          if (PresentFrame() != 0) _exit(5);
          plat::DdFailNext(plat::DdOp::Lock);
          PresentFrame();
        },
        testing::ExitedWithCode(255), "")
        << bits;
    EXPECT_TRUE(scope.Logged("バックサーフェスのロックに失敗しました")) << bits;
  }
}

// At the first start a refused object or primary is still answered by the
// software retry, with the failure logged.
TEST(GraphicsStart, FirstStartRetriesInSoftware) {
  lifetest::LifeScope scope;
  plat::DdFailNext(plat::DdOp::Initialize);
  ASSERT_EQ(InitFramework(), 0);
  EXPECT_TRUE(scope.Logged("DirectDrawオブジェクトの初期化に失敗しました"));
  EXPECT_TRUE(scope.Logged("ソフトウエアレンダリングモードに変更します"));
  EXPECT_EQ(GetScreenState().softwareRendering, 1);
  EXPECT_EQ(plat::GetDdCounters().liveObjects, 0);
  EndFramework();
}

}  // namespace
