// The boss dispatch and the steps fights share, and the long kind-29 fight
// whose minions must not take the boss's slot.
#include <cstring>

#include "boss_test_support.h"
#include "game/bosses/boss_blocks.h"

namespace orb::test {
namespace {

constexpr int32_t kFirstSix[] = {15, 29, 30, 31, 32, 33};

// A live record of a kind, as a room would hold it.
EnemyRecord& Placed(int32_t kind) {
  SpawnEnemy(1000.0f, 300.0f, kind, 0, 6, 1, 3000, 1, 0, 0, 60, 17, 0, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  EnemyRecord& e = LastEnemy();
  e.head.state = kActorActive;
  return e;
}

TEST_F(BossFight, DispatchLeavesOtherKindsAndHoldsBeatenBosses) {
  // Kinds without a fight, and the final scenes' actors off their stages.
  for (int32_t kind : {1, 7, 28, 38, 41, 42, 44, 46, 47}) {
    for (int32_t stage : {16, 150}) {
      game.CurrentStage = stage;
      EnemyRecord& e = Placed(kind);
      e.timer = 550;
      EnemyRecord before;
      std::memcpy(&before, &e, sizeof e);
      const int32_t ring = pools.EnemyBulletRing, enemies = pools.EnemyRingIndex;
      RunBossAI(e);
      EXPECT_EQ(std::memcmp(&before, &e, sizeof e), 0) << "kind " << kind;
      EXPECT_EQ(pools.EnemyBulletRing, ring);
      EXPECT_EQ(pools.EnemyRingIndex, enemies);
    }
  }
  // A beaten boss holds its pose on a frame that would fire, jump or summon.
  for (int32_t kind : kFirstSix) {
    for (int32_t timer : {150, 250, 550, 590, 1060}) {
      EnemyRecord& e = Placed(kind);
      e.mode = 50;
      e.timer = timer;
      e.motion.velocityX = 5.0f;
      const int32_t ring = pools.EnemyBulletRing, enemies = pools.EnemyRingIndex;
      RunBossAI(e);
      EXPECT_EQ(e.poseFlag, 1);
      EXPECT_EQ(e.animationId, 11);
      EXPECT_EQ(e.motion.velocityX, 0.0f);
      EXPECT_EQ(e.airborne, 0);
      EXPECT_EQ(pools.EnemyBulletRing, ring) << "kind " << kind;
      EXPECT_EQ(pools.EnemyRingIndex, enemies);
    }
  }
}

// The cycle's edges (timer 199, 200, 1200) are part of every timeline.
TEST_F(BossFight, HardPhaseAndJumpEdges) {
  scenes.BossFullHp = 100;
  scenes.BossShownHp = 33;
  EXPECT_FALSE(BossHardPhase());
  scenes.BossShownHp = 32;
  EXPECT_TRUE(BossHardPhase());
  EnemyRecord& e = Placed(29);
  e.airborne = 1;
  e.motion.velocityY = 3.0f;
  EXPECT_FALSE(BeginBossJump(e, -11.0f));
  EXPECT_EQ(e.motion.velocityY, 3.0f);
  e.airborne = 0;
  e.sideWall = 2;
  EXPECT_TRUE(BeginBossJump(e, -11.0f));
  EXPECT_EQ(e.sideWall, 0);
}

// The minions of kind 29 are never taken back: a long hard fight must
// leave the boss in slot 1 and room for the copy its defeat leaves.
TEST_F(BossFight, Kind29KeepsItsSlotThroughFortyCyclesOfMinions) {
  EnterRoom(29, 3);
  int32_t fewest = kEnemyRingSlots;
  for (int frame = 1; frame <= 200 + 40 * 1000; ++frame) {
    if (frame == 100) ForceHard();
    Step();
    const int32_t free = CountFreeEnemySlots();
    fewest = free < fewest ? free : fewest;
  }
  EXPECT_GE(fewest, 1);
  EXPECT_LE(fewest, 2);  // the pool did fill up to the limit
  EXPECT_EQ(Boss().kind, 29);
  EXPECT_EQ(Boss().mode, 1);
  EXPECT_EQ(game.BossMode, 1);
  Boss().hitPoints = 10;
  Run(3);
  int copies = 0;
  for (const EnemyRecord& e : pools.enemies) copies += e.head.state != kActorFree && e.kind == 29 && e.mode == 50;
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(Boss().head.state == kActorFree || Boss().kind != 29, true);
}

}  // namespace
}  // namespace orb::test
