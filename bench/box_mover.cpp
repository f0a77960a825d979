// The box mover's cost in a busy frame: 64 movers (walkers, fallers and
// riders) against a floor with steps and 256 live gimmick blocks. The
// "frame_pct" counter is the time of one such frame's moves as a share of
// the 16.7 ms frame budget, in percent.
#include <benchmark/benchmark.h>
#include <time.h>

#include "game/game_reset.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/world/tile_map.h"

namespace {

using namespace orb;

struct Mover {
  float x, y, fall;
  uint8_t airborne, riding;
  int32_t ridden;
};

void SetUpWorld() {
  ResetGameModules();
  for (int c = 0; c < kTileColumns; ++c) {
    for (int r = 13; r < kTileRows; ++r) tiles.TileMap[r][c] = kTileSolid;
    if (c % 7 == 0) tiles.TileMap[12][c] = kTileSolid;
    if (c % 11 == 0) tiles.TileMap[9][c] = kTileOneWay;
    if (c % 13 == 0) tiles.TileMap[12][c] = kTileSlow;
  }
  for (int i = 0; i < kBlockCount; ++i) {
    BlockRecord& b = pools.blocks[i];
    b.head.state = kActorActive;
    b.head.x = 700.0f + (i % 64) * 40.0f;
    b.head.y = 120.0f + (i / 64) * 64.0f;
    b.head.hitboxWidth = 62;
    b.head.hitboxHeight = 30;
    b.head.vx = (i % 3) - 1.0f;
    b.head.vy = (i % 5 == 0) ? 1.0f : 0.0f;
    b.tileDistance = static_cast<int8_t>(i % 80);
    b.motionKind = i % 17 == 0 ? 60 : 1;
  }
}

void BM_MoveBoxOnMap64Movers(benchmark::State& state) {
  SetUpWorld();
  Mover movers[64];
  for (int i = 0; i < 64; ++i) movers[i] = {660.0f + i * 37.0f, 100.0f + (i % 6) * 50.0f, 0.0f, 1, 0, 0};
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (auto _ : state) {
    for (int i = 0; i < 64; ++i) {
      Mover& m = movers[i];
      m.fall = m.fall + 0.5f > 10.0f ? 10.0f : m.fall + 0.5f;
      const float vx = (i % 2 ? 3.0f : -3.0f);
      const int32_t self = i % 4 == 0 ? kSelfItem : i % 4 == 1 ? SelfIndexOfEnemy(i) : kSelfPlayer;
      MoveBoxOnMap(&m.x, &m.y, &m.fall, vx, m.fall, 22, 52, &m.airborne, &m.riding, &m.ridden, self);
      // Keep everyone inside the busy part of the map.
      if (m.x < 660.0f || m.x > 3200.0f || m.y > 460.0f) m = {660.0f + i * 37.0f, 100.0f, 0.0f, 1, 0, 0};
    }
    benchmark::DoNotOptimize(movers);
  }
  clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  state.counters["frame_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / (1.0 / 60.0);
}

}  // namespace

BENCHMARK(BM_MoveBoxOnMap64Movers)->Unit(benchmark::kMicrosecond);
