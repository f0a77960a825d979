// Shared by the enemy tests: a clean world at difficulty 1 (bullet speeds
// unscaled), and the bullets a call fired, read back from the bullet ring.
#pragma once

#include <functional>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game_test_support.h"

namespace orb::test {

class EnemyTest : public ::testing::Test {
 public:
  void SetUp() override {
    ResetGameModules();
    game.DifficultyLevel = 1;
    pools.players[0].head.x = 0;
    pools.players[0].head.y = 0;
  }

  // The bullets laid into the ring while f runs (fewer than 511).
  static std::vector<ShotRecord> Fired(const std::function<void()>& f) {
    const int32_t before = pools.EnemyBulletRing;
    f();
    std::vector<ShotRecord> out;
    for (int32_t i = before; i != pools.EnemyBulletRing; i = (i + 1) % 511) out.push_back(pools.enemyBullets[i]);
    return out;
  }

  // A flier of kind 25 (no group behaviour) running its attack slot (mode 31), centred at (x, y), awake.
  static EnemyRecord& Flier(float x, float y, int32_t bulletType = 10000) {
    SpawnEnemy(x - 20, y - 20, 25, 0, 1, 31, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, bulletType);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    return e;
  }
};

}  // namespace orb::test
