// The densest boss frame: stage 136 at difficulty 3, its boss hanging in
// the air in the hard phase on a frame of its three-way stream, with every
// enemy-bullet slot filled, through the world step and draw pass on the
// software road and presented on the headless host without pacing. Reports
// frames per second ("fps"), the share of the 16.7 ms frame ("budget_pct")
// and the cost as a multiple of one frame memcpy ("x_memcpy").
#include "bench_clock.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/roster.h"
#include "game/actors/shots.h"
#include "game/stages/stage_setup.h"
#include "game/scenes/world_hooks.h"
#include "game_bench.h"

namespace {

using namespace orb;

// Slow bullets in the middle of the screen, one per free slot, so that the
// pool stays full while the stream adds its own.
void FillBulletPool(const ShotRecord& slow) {
  int k = 0;
  for (ShotRecord& b : pools.enemyBullets) {
    ++k;
    if (b.head.state != kActorFree) continue;
    b = slow;
    b.head.x = 660.0f + static_cast<float>(k % 30) * 20.0f;
    b.head.y = 40.0f + static_cast<float>(k / 30) * 24.0f;
    b.typeCode = 10900 + k % 4;
  }
}

void BM_HardStreamSoftware(benchmark::State& state) {
  bench::Game g(true);
  ResetNewGame();
  game.DifficultyLevel = 3;
  game.CurrentStage = 136;
  RunStageSetup(136);
  game.InGameState = 0;
  for (int i = 0; i < 220; ++i) RunWorldPass();  // the boss bar fills
  EnemyRecord& boss = pools.enemies[1];
  boss.hitPoints = 20 * (scenes.BossFullHp / 3 - 1);
  RunWorldPass();  // the bar drops under a third
  const int32_t ring = pools.EnemyBulletRing;
  SpawnEnemyBullet(900.0f, 200.0f, 0.01f, 90.0f, 0, 0, 0, 0.5f, 10900, 30, 1, 100000);
  const ShotRecord slow = pools.enemyBullets[ring];
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    boss.timer = 200 + 640 - 1;  // cycle 640: hanging, stream frame (640 % 60 = 40)
    boss.airborne = 1;
    FillBulletPool(slow);
    state.ResumeTiming();
    const double start = MonotonicSeconds();
    bench::PlayOneFrame();
    seconds += MonotonicSeconds() - start;
  }
  bench::Report(state, seconds);
  int live = 0;
  for (const ShotRecord& b : pools.enemyBullets) live += b.head.state == kActorActive;
  state.counters["bullets"] = live;
  state.counters["cycle"] = boss.attackCycle;
}

}  // namespace

BENCHMARK(BM_HardStreamSoftware)->Unit(benchmark::kMillisecond);
