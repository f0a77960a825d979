// One world frame's block pass (keys, then the updates nearest the reference
// player first) with all 256 block slots live: wave movers, triggered lifts,
// pistons, pushable crates on a floor and generators. The "frame_pct"
// counter is the pass's time as a share of the 16 ms frame, in percent.
#include <benchmark/benchmark.h>
#include <time.h>

#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/world/tile_map.h"

namespace {

using namespace orb;

void SetUpWorld() {
  ResetGameModules();
  game.links.leftBound = 640.0f;
  game.links.rightBound = 9600.0f;
  for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[13][c] = tiles.TileMap[14][c] = kTileSolid;
  pools.players[0].head.x = 2000.0f;
  const uint8_t kinds[] = {1, 10, 12, 20, 0, 51};
  for (int i = 0; i < kBlockCount; ++i) {
    const uint8_t kind = kinds[i % 6];
    const uint8_t weight = kind == 0 ? 20 : 0;
    const float left = 700.0f + static_cast<float>(i % 64) * 96.0f;
    const float top = kind == 0 ? 384.0f : 64.0f + static_cast<float>(i / 64) * 80.0f;
    SpawnBlock(left, top, 64, 32, assets.blockBlock64, 8, 0, kind, 30, weight, 0.0f, 0.0f, 3.0f, 200.0f, 0.0f,
               0.0f, 1.5f, 1.5f, 0.05f, 0.0f, static_cast<uint8_t>(i % 4), 0.0f, 0);
    pools.blocks[i].steppedOn = i % 2;
    pools.blocks[i].phaseStep = kind == 20 ? 20.0f : 0.05f;
    pools.blocks[i].period = 1000.0f;  // generators fire rarely: the pool stays full
  }
}

void BM_BlockPass256(benchmark::State& state) {
  SetUpWorld();
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (auto _ : state) {
    ComputeBlockKeys();
    UpdateBlocksNearFirst();
    benchmark::DoNotOptimize(pools.blocks);
  }
  int live = 0;
  for (const BlockRecord& b : pools.blocks) live += b.head.state != kActorFree;
  state.counters["live_blocks"] = live;
  clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  state.counters["frame_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / 0.016;
}

}  // namespace

BENCHMARK(BM_BlockPass256)->Unit(benchmark::kMicrosecond);
