// The enemy bullet pattern emitter: aiming, speed steps and the aim limit
// codes, on the shared volley geometry; every bullet inherits the enemy's
// follow-up pattern (attack slot B).
#include "game/enemies/enemies.h"
#include "game/actors/shots.h"
#include "game/actors/volley.h"

namespace orb {

namespace {

struct EnemyVolleyContext {
  const EnemyRecord* enemy;
  float speedAccel, driftAccelX, driftAccelY, angleAccel;
  int32_t lifetime, bulletType, damage;
};

void SpawnEnemyVolleyBullet(const VolleyBullet& b, void* context) {
  const EnemyVolleyContext& c = *static_cast<const EnemyVolleyContext*>(context);
  ApplyEnemyBulletChildSpec(*c.enemy);
  SpawnEnemyBullet(b.x, b.y, b.speed, b.angle, c.speedAccel, c.driftAccelX, c.driftAccelY, c.angleAccel,
                   c.bulletType, c.damage, 1, c.lifetime);
}

// The limit codes folded into the row step: 1000s turn a shallow aim into
// 135 degrees either way, 2000s keep a downward aim level, 3000s an upward one.
void ApplyAimLimit(float* angle, float* rowStep) {
  float& a = *angle;
  float& s = *rowStep;
  if (s >= 1000.0f && s < 2000.0f) {
    s -= 1000.0f;
    if (a >= -135.0f && a < 0.0f) a = -135.0f;
    else if (a >= 0.0f && a <= 135.0f) a = 135.0f;
  }
  if (s >= 2000.0f && s < 3000.0f) {
    s -= 2000.0f;
    if (a >= 0.0f && a < 90.0f) a = 0.0f;
    else if (a >= 90.0f && a < 180.0f) a = 180.0f;
  }
  if (s >= 3000.0f && s < 4000.0f) {
    s -= 3000.0f;
    if (a >= -90.0f && a < 0.0f) a = 0.0f;
    else if (a >= -180.0f && a < -90.0f) a = -180.0f;
  }
}

}  // namespace

void ApplyEnemyBulletChildSpec(const EnemyRecord& e) {
  ShotRecord& r = NextEnemyBullet();
  SetDefaultShotChildSpec(r);
  const EnemyChildSlot& c = e.slotB;
  SetShotChildSpec(r, c.patternKind.value, c.count.value, c.spread.value, c.speed.value, c.angle.value,
                   c.speedAccel.value, c.driftAccelX.value, c.driftAccelY.value, c.angleAccel.value,
                   c.lifetime.value, c.typeCode.value, c.layers.value, c.step.value);
}

void FireEnemyBulletPattern(EnemyRecord& e, float muzzleX, float muzzleY, int32_t patternKind, int32_t count,
                            float spread, float rows, float rowStep, float mode, const float& aimAngle,
                            const float& speedStep, float speed, float angle, float speedAccel, float driftAccelX,
                            float driftAccelY, float angleAccel, int32_t lifetime, int32_t bulletType,
                            int32_t damage) {
  float a = 0.0f;
  if (mode < 0.0f) a = aimAngle;
  const float v = mode > 0.0f ? speed + speedStep : speed;
  if (mode >= 0.0f) {
    a = angle;
    if (patternKind % 10 == 2 || patternKind % 10 == 4) {
      a = AimDegrees(GetAngleToPlayer(muzzleX, muzzleY, e.targetPlayer));
    }
    ApplyAimLimit(&a, &rowStep);
  }
  const VolleyShape shape{patternKind, count, spread, rows, rowStep, muzzleX, muzzleY, v, a};
  EnemyVolleyContext c{&e, speedAccel, driftAccelX, driftAccelY, angleAccel, lifetime, bulletType, damage};
  EmitVolley(shape, SpawnEnemyVolleyBullet, &c);
}

void FireSlotVolley(EnemyRecord& e) {
  const EnemyAttackSlot& s = e.slotA;
  FireEnemyBulletPattern(e, e.muzzleX.value, e.muzzleY.value, s.patternKind.value, s.count.value, s.spread.value,
                         s.rows.value, s.rowStep.value, s.mode.value, e.aimAngle.value, e.speedStep.value,
                         s.speed.value, s.angle.value, s.speedAccel.value, s.driftAccelX.value, s.driftAccelY.value,
                         s.angleAccel.value, s.lifetime.value, e.bulletType, 30);
}

}  // namespace orb
