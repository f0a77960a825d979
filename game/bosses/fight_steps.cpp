#include "game/bosses/fight_steps.h"

#include "game/game_state.h"

namespace orb {

bool BeginBossFightFrame(EnemyRecord& e) {
  if (HoldBeatenBoss(e)) return false;
  if (e.timer < 200) {
    e.motion.velocityX = 0.0f;
    return false;
  }
  e.attackCycle = (e.timer - 200) % 1000;
  e.animationId = 0;
  e.muzzleX.value = e.facing == 1 ? e.head.x + 17.0f : e.head.x - 17.0f;
  e.muzzleY.value = e.head.y + 3.0f;
  return true;
}

int32_t BossDifficulty() { return game.DifficultyLevel > 3 ? 3 : game.DifficultyLevel; }

float BossExcess() { return DifficultyExcess(); }

float FixedSpeed(float v) { return v * InverseBulletSpeedScale[BossDifficulty()]; }

void HangBoss(EnemyRecord& e) {
  e.motion.velocityY = 0.0f;
  e.motion.accelY = 0.0f;
  e.motion.velocityX = 0.0f;
}

void FireBossVolleyAt(EnemyRecord& e, const BossVolley& v, float belowMuzzle) {
  FireEnemyBulletPattern(e, e.muzzleX.value, e.muzzleY.value + belowMuzzle, v.pattern, v.count, v.spread, v.rows,
                         v.rowStep, 0.0f, e.aimAngle.value, e.speedStep.value, v.speed, v.angle, v.speedAccel,
                         e.slotA.driftAccelX.value, e.slotA.driftAccelY.value, v.angleAccel, v.time, v.code, 30);
}

void FireBossVolley(EnemyRecord& e, const BossVolley& v) { FireBossVolleyAt(e, v, 0.0f); }

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
  v.childLifetime = f.time;
  v.childTypeCode = f.code;
  SetLastEnemyAttackSlots(v);
}

}  // namespace orb
