// One crowded world frame of the enemies: 127 enemies firing every frame,
// 511 live enemy bullets and 255 player shots that every enemy tests. The
// "frame_pct" counter is the frame's time as a share of the 16 ms frame, in
// percent. The enemies stand still so that their volleys keep the bullet
// ring full.
#include <benchmark/benchmark.h>
#include <time.h>

#include "game/enemies/enemies.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/actors/shots.h"
#include "game/world/tile_map.h"
#include "game/scenes/world_hooks.h"

namespace {

using namespace orb;

void SetUpWorld() {
  ResetGameModules();
  for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[14][c] = kTileSolid;
  game.OnFieldMode = 1;
  game.CameraScrollX = 700.0f;
  game.DifficultyLevel = 2;
  pools.players[0].head.x = 900.0f;
  pools.players[1].head.x = 1100.0f;
  pools.players[0].head.y = pools.players[1].head.y = 400.0f;
  const int kinds[] = {4, 8, 11, 18, 25};
  for (int i = 0; i < kEnemyRingSlots; ++i) {
    const int kind = kinds[i % 5];
    SpawnEnemy(720.0f + static_cast<float>(i % 32) * 18.0f, 100.0f + static_cast<float>(i / 32) * 60.0f, kind, 0, 2,
               31, 1000000, i % 2, 0.0f, 0.0f, 2.0f, 8.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.05f, 0.0f, 0, 1, 10000);
    SetLastEnemyAttackSlot(1, 1 + 10 * (i % 5), 2, 30.0f, 100, 100, 100, 100, 2.0f, 0.1f, 0.0f, 2.0f, 0.0f,
                           0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 600, 0);
    LastEnemy().head.state = kActorActive;
  }
  for (int i = 0; i < 255; ++i) {
    SpawnPlayerShot(5000.0f + static_cast<float>(i), 50.0f, 0.0f, 0.0f, 0, 0, 0, 0, 10000, 10, 0, 1000000);
  }
}

void BM_EnemyFrame(benchmark::State& state) {
  SetUpWorld();
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (auto _ : state) {
    UpdateEnemies();
    for (ShotRecord& b : pools.enemyBullets) {
      if (b.head.state == kActorActive) UpdateEnemyBullet(b);
    }
    benchmark::DoNotOptimize(pools.enemies);
  }
  clock_gettime(CLOCK_MONOTONIC, &end);
  int enemies = 0, bullets = 0, shots = 0;
  for (const EnemyRecord& e : pools.enemies) enemies += e.head.state == kActorActive;
  for (const ShotRecord& b : pools.enemyBullets) bullets += b.head.state == kActorActive;
  for (const ShotRecord& s : pools.playerShots) shots += s.head.state == kActorActive;
  state.counters["live_enemies"] = enemies;
  state.counters["live_bullets"] = bullets;
  state.counters["live_shots"] = shots;
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  state.counters["frame_pct"] = 100.0 * seconds / static_cast<double>(state.iterations()) / 0.016;
}

}  // namespace

BENCHMARK(BM_EnemyFrame)->Unit(benchmark::kMicrosecond);
