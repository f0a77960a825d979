// The game on the placeholder assets for the play benchmarks: the asset
// folder made once, the framework started headless on the software or the
// DirectDraw road with the game's assets loaded, and the report of a frame's
// cost as frames per second ("fps"), as a share of the 16.7 ms frame budget
// ("budget_pct") and as a multiple of one frame memcpy ("x_memcpy").
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/core/life/framework_status.h"
#include "framework/graphics/screen/graphics_reset.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "platform/d3d/device_caps.h"
#include "platform/host/headless/headless_control.h"
#include "bench_clock.h"

namespace orb::bench {

inline std::string g_folder;

inline void RemoveAssetFolder() {
  if (!g_folder.empty()) std::system(("rm -rf '" + g_folder + "'").c_str());
}

// The placeholder assets, made once in a scratch folder that becomes the
// current directory and is removed at exit.
inline void EnterAssetFolder() {
  static bool made = false;
  if (made) return;
  made = true;
  char tmpl[] = "/tmp/orb_bench_XXXXXX";
  const char* dir = mkdtemp(tmpl);
  if (dir == nullptr || chdir(dir) != 0) return;
  g_folder = dir;
  std::atexit(RemoveAssetFolder);
  const std::string cmd = std::string(ORB_MKASSETS_PATH) + " . > /dev/null";
  if (std::system(cmd.c_str()) != 0) std::perror("mkassets");
}

// The graphics road a benchmark plays on: software (windowed), or the
// DirectDraw or Direct3D-style road (full screen).
enum class Road { Software, DirectDraw, Direct3D };

struct Game {
  explicit Game(bool software) : Game(software ? Road::Software : Road::DirectDraw) {}
  explicit Game(Road road) {
    EnterAssetFolder();
    setenv("ORB_HOST", "headless", 0);
    plat::headless::Reset();
    plat::headless::SetMaxKeptFrames(0);
    ResetGameModules();
    // The road switches start-up sets stay set after the framework ends: each
    // road starts from the display's and the framework's first state.
    plat::d3d::ResetStandIn();
    qor::ResetFrameworkStatus();
    if (road == Road::Software) setenv("ORB_GFX", "soft", 1);
    if (road == Road::Direct3D) setenv("ORB_GFX", "d3d", 1);
    if (road != Road::Software) qor::SwitchWindowModePublic(0);
    qor::SetLogFileOutputPublic(0);
    qor::InitFramework();
    unsetenv("ORB_GFX");
    qor::SetKeyColorRGBPublic(0, 255, 0);
    qor::RequestScreenModePublic(640, 480, 16, 60);
    qor::SetVSyncOnPresentPublic(0);
    qor::SelectDrawTargetPublic(-2);
    InstallFrameworkGraphCalls();
    LinkObjectPools();
    LoadGameAssets();
  }
  ~Game() {
    qor::EndFramework();
    qor::ResetGraphicsState();
    qor::SwitchWindowModePublic(1);
    ResetGameModules();
  }
};

inline void Report(benchmark::State& state, double seconds) {
  const double perFrame = state.iterations() > 0 ? seconds / static_cast<double>(state.iterations()) : 0;
  ReportFrameSeconds(state, perFrame);
}

// One play frame as the play loop runs it, without pacing.
inline void PlayOneFrame() {
  qor::EraseDrawTargetPublic();
  ++game.PlayFrameCount;
  RunWorldPass();
  RunInGameStateMachine();
  qor::PresentFramePublic();
  qor::ProcessFrameMessages();
}

}  // namespace orb::bench
