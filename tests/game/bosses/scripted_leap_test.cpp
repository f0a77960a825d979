// Every scripted leap of the last rooms leaves the ground the way a jump
// does: in the air, with the side-wall byte cleared, at the script's speed.
#include <gtest/gtest.h>

#include "game/enemies/enemies.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"

namespace orb::test {
namespace {

class ScriptedLeap : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameModules(); }
  void TearDown() override { ResetGameModules(); }

  // An actor of the kind standing against a wall, one frame before the leap
  // (its timer as the script reads it in that frame).
  static EnemyRecord& Standing(int32_t kind, uint8_t mode, int32_t timerBefore) {
    SpawnEnemy(600, 300, kind, 0, 6, mode, 1000, 1, 0, 0, 30, 30, 0, 0.3f, 0, 0, 0, 0, 0, 0, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.airborne = 0;
    e.sideWall = 1;
    e.timer = timerBefore;
    return e;
  }
};

TEST_F(ScriptedLeap, BeatenCopiesAndTheStage151ActorsLeaveTheGroundLikeAJump) {
  struct Leap {
    int32_t stage, kind;
    uint8_t mode;
    int32_t timerBefore;  // the value RunBossAI sees (the beaten copies step their own timer)
    float speedY;
  };
  const Leap leaps[] = {
      {146, 37, 50, 139, -10.0f},   // the beaten copy of stage 146 flies off at 140
      {149, 45, 50, 249, -10.0f},   // the beaten last boss at 250
      {151, 37, 51, 330, -4.0f},    {151, 47, 51, 880, -8.0f},  {151, 47, 51, 950, -10.0f},
      {151, 47, 51, 1020, -11.0f}, {151, 46, 51, 1260, -7.0f}, {151, 46, 51, 1330, -9.0f},
      {151, 46, 51, 1400, -10.0f},
  };
  for (const Leap& l : leaps) {
    ResetGameModules();
    game.CurrentStage = l.stage;
    EnemyRecord& e = Standing(l.kind, l.mode, l.timerBefore);
    RunBossAI(e);
    EXPECT_EQ(e.airborne, 1) << l.stage << " kind " << l.kind << " at " << l.timerBefore;
    EXPECT_EQ(e.sideWall, 0) << l.stage << " kind " << l.kind << " at " << l.timerBefore;
    EXPECT_FLOAT_EQ(e.motion.velocityY, l.speedY) << l.stage << " kind " << l.kind << " at " << l.timerBefore;
  }
}

}  // namespace
}  // namespace orb::test
