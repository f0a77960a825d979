// The steps every boss fight shares.
#include "game/bosses/boss_blocks.h"
#include "game/scenes.h"

namespace orb {

bool HoldBeatenBoss(EnemyRecord& e) {
  if (e.mode < 50) return false;
  e.poseFlag = 1;
  e.motion.velocityX = 0.0f;
  e.animationId = 11;
  return true;
}

bool BossHardPhase() { return scenes.BossShownHp < scenes.BossFullHp / 3; }

bool BeginBossJump(EnemyRecord& e, float speedY) {
  if (e.airborne != 0) return false;
  e.airborne = 1;
  e.motion.velocityY = speedY;
  return true;
}

}  // namespace orb
