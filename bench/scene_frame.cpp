// One title frame and one stage-1 play frame of the game on the placeholder
// assets, drawn and presented on the headless host without pacing, on the
// software road, on the DirectDraw road and on the Direct3D-style road (full
// screen, 640 x 480 x 16).
// Each reports frames per second ("fps"), its cost as a share of the 16.7 ms
// frame budget ("budget_pct") and as a multiple of one frame memcpy
// ("x_memcpy").
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "framework/graphics/screen/graphics_reset.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/scenes/scenes.h"
#include "game/stages/stage_setup.h"
#include "platform/host/headless/headless_control.h"
#include "bench_clock.h"
#include "game_bench.h"

namespace {

using namespace orb;
using bench::Game;
using bench::Report;

using bench::Road;

void TitleFrames(benchmark::State& state, Road road) {
  Game g(road);
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

void PlayFrames(benchmark::State& state, Road road) {
  Game g(road);
  ResetNewGame();
  RunStageSetup(1);
  game.InGameState = 0;
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    bench::PlayOneFrame();
  }
  Report(state, MonotonicSeconds() - start);
}

void BM_TitleSoftware(benchmark::State& state) { TitleFrames(state, Road::Software); }
void BM_TitleDirectDraw(benchmark::State& state) { TitleFrames(state, Road::DirectDraw); }
void BM_TitleDirect3D(benchmark::State& state) { TitleFrames(state, Road::Direct3D); }
void BM_PlaySoftware(benchmark::State& state) { PlayFrames(state, Road::Software); }
void BM_PlayDirectDraw(benchmark::State& state) { PlayFrames(state, Road::DirectDraw); }
void BM_PlayDirect3D(benchmark::State& state) { PlayFrames(state, Road::Direct3D); }

}  // namespace

BENCHMARK(BM_TitleSoftware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleDirectDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleDirect3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaySoftware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayDirectDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayDirect3D)->Unit(benchmark::kMillisecond);
