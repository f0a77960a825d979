// One title frame and one stage-1 play frame of the game on the placeholder
// assets, drawn and presented on the headless host without pacing, on the
// software road and on the DirectDraw road (full screen, 640 x 480 x 16).
// Each reports frames per second ("fps") and its cost as a share of the
// 16.7 ms frame budget ("budget_pct").
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "framework/graphics/graphics_reset.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/game_state.h"
#include "game/graph_calls.h"
#include "game/pools.h"
#include "game/roster.h"
#include "game/scenes.h"
#include "game/stages/stage_setup.h"
#include "platform/host/headless/headless_control.h"
#include "bench_clock.h"

namespace {

using namespace orb;

std::string g_folder;

void RemoveAssetFolder() {
  if (!g_folder.empty()) std::system(("rm -rf '" + g_folder + "'").c_str());
}

// The placeholder assets, made once in a scratch folder that becomes the
// current directory and is removed at exit.
void EnterAssetFolder() {
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

struct Game {
  explicit Game(bool software) {
    EnterAssetFolder();
    setenv("ORB_HOST", "headless", 0);
    plat::headless::Reset();
    plat::headless::SetMaxKeptFrames(0);
    ResetGameModules();
    if (software) setenv("ORB_GFX", "soft", 1);
    else qor::SwitchWindowModePublic(0);
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

void Report(benchmark::State& state, double seconds) {
  const double perFrame = state.iterations() > 0 ? seconds / static_cast<double>(state.iterations()) : 0;
  state.counters["fps"] = perFrame > 0 ? 1.0 / perFrame : 0;
  state.counters["budget_pct"] = 100.0 * perFrame / (1.0 / 60.0);
}

void TitleFrames(benchmark::State& state, bool software) {
  Game g(software);
  game.PlayFrameCount = 40;
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    qor::EraseDrawTargetPublic();
    ++game.PlayFrameCount;
    DrawTitleFrame();
    qor::PresentFramePublic();
    qor::ProcessFrameMessages();
  }
  Report(state, MonotonicSeconds() - start);
}

void PlayFrames(benchmark::State& state, bool software) {
  Game g(software);
  ResetNewGame();
  RunStageSetup(1);
  game.InGameState = 0;
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    qor::EraseDrawTargetPublic();
    ++game.PlayFrameCount;
    RunWorldPass();
    RunInGameStateMachine();
    qor::PresentFramePublic();
    qor::ProcessFrameMessages();
  }
  Report(state, MonotonicSeconds() - start);
}

void BM_TitleSoftware(benchmark::State& state) { TitleFrames(state, true); }
void BM_TitleDirectDraw(benchmark::State& state) { TitleFrames(state, false); }
void BM_PlaySoftware(benchmark::State& state) { PlayFrames(state, true); }
void BM_PlayDirectDraw(benchmark::State& state) { PlayFrames(state, false); }

}  // namespace

BENCHMARK(BM_TitleSoftware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleDirectDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaySoftware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayDirectDraw)->Unit(benchmark::kMillisecond);
