#include "game/bosses/fight_steps.h"

#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"

namespace orb {

int32_t BossDifficulty() { return game.DifficultyLevel > 3 ? 3 : game.DifficultyLevel; }

float BossExcess() { return DifficultyExcess(); }

float FixedSpeed(float v) { return v * InverseBulletSpeedScale[BossDifficulty()]; }

void HangBoss(EnemyRecord& e) {
  e.motion.velocityY = 0.0f;
  e.motion.accelY = 0.0f;
  e.motion.velocityX = 0.0f;
}

void HoverWindow(EnemyRecord& e, int32_t c, float speedX, float jumpSpeed, int32_t hangTo, float fallGravity) {
  if (c == 510) e.motion.velocityX = speedX;
  if (c == 540) BeginBossJump(e, jumpSpeed);
  if (c >= 564 && c <= hangTo) HangBoss(e);
  if (c == hangTo + 1) {
    e.motion.accelY = fallGravity;
    e.motion.velocityX = 0.0f;
  }
}

void LeapAway(EnemyRecord& e) {
  e.mapCollision = 0;
  e.poseFlag = 0;
  e.animationId = 8;
  ForceBossJump(e, -10.0f);  // in the air at once, whatever it stood on
  e.motion.velocityX = 9.0f;
}

void ChangeStageAtPoint(int32_t stage, float x, float y) {
  game.CurrentStage = stage;
  game.EntryX = x;
  game.EntrySide = kEnteredAtPoint;
  game.InGameState = 1;
  game.EntryY = y;
  game.InGameStateTimer = 0;
}

void FireBossVolleyBelow(EnemyRecord& e, const BossVolley& v, float below) {
  const float muzzleY = e.muzzleY.value;
  e.muzzleY.value = muzzleY + below;
  FireBossVolley(e, v);
  e.muzzleY.value = muzzleY;
}

void SetBossAttackValues(const BossFollowUp& f) {
  AttackSlotsValues v{};
  v.spread = 360.0f;
  v.rows = f.rows;
  v.rowStep = f.rowStep;
  v.speed = 4.0f;
  v.angleVelocity = 3.0f;
  v.childKind = f.kind;
  v.childCount = f.count;
  v.childSpread = f.spread;
  v.childWindow = f.window;
  v.childLayers = f.layers;
  v.childStep = f.step;
  v.childSpeed = f.speed;
  v.childAngle = f.angle;
  v.childSpeedAccel = f.speedAccel;
  v.childAngleAccel = f.angleAccel;
  v.childLifetime = f.lifetime;
  v.childTypeCode = f.bulletType;
  SetLastEnemyAttackSlots(v);
}

void FloatingLeapMotion(EnemyRecord& e, int32_t c) {
  if ((c >= 311 && c <= 379) || (c >= 410 && c <= 499)) e.poseFlag = 1;
  if (c == 312) e.motion.velocityX = 4.0f;
  if (c == 330) BeginBossJump(e, -17.0f);
  if (c == 353) {
    e.motion.accelY = 0.02f;
    e.motion.velocityX /= 5.0f;
  }
  if (c == 450) {
    e.motion.accelY = 0.7f;
    e.motion.velocityX *= 5.0f;
  }
}

}  // namespace orb
