#include "game/bosses/fight_steps.h"

#include "game/game_state.h"

namespace orb {

int32_t BossDifficulty() { return game.DifficultyLevel > 3 ? 3 : game.DifficultyLevel; }

float BossExcess() { return DifficultyExcess(); }

float FixedSpeed(float v) { return v * InverseBulletSpeedScale[BossDifficulty()]; }

void HangBoss(EnemyRecord& e) {
  e.motion.velocityY = 0.0f;
  e.motion.accelY = 0.0f;
  e.motion.velocityX = 0.0f;
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

}  // namespace orb
