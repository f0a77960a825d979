// The steps every boss fight shares.
#include "game/bosses/boss_blocks.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"

namespace orb {

bool HoldBeatenBoss(EnemyRecord& e) {
  if (e.mode < 50) return false;
  e.poseFlag = 1;
  e.motion.velocityX = 0.0f;
  e.animationId = 11;
  return true;
}

bool BossHardPhase() { return scenes.BossShownHp < scenes.BossFullHp / 3; }

void ForceBossJump(EnemyRecord& e, float speedY) {
  e.airborne = 1;
  e.sideWall = 0;
  e.motion.velocityY = speedY;
}

bool BeginBossJump(EnemyRecord& e, float speedY) {
  if (e.airborne != 0) return false;
  ForceBossJump(e, speedY);
  return true;
}

void PlaceBossMuzzle(EnemyRecord& e) {
  e.muzzleX.value = e.facing == 1 ? e.head.x + 17.0f : e.head.x - 17.0f;
  e.muzzleY.value = e.head.y + 3.0f;
}

bool StartBossCycle(EnemyRecord& e) {
  if (e.timer < 200) {
    e.motion.velocityX = 0.0f;
    return false;
  }
  e.attackCycle = static_cast<int32_t>((static_cast<int64_t>(e.timer) - 200) % 1000);
  e.animationId = 0;
  PlaceBossMuzzle(e);
  return true;
}

float ByFacing(const EnemyRecord& e, float v) { return e.facing == 1 ? v : -v; }

uint8_t HopWindowPose(int32_t cycle, int32_t secondGuard) {
  if (cycle < 830) return 1;
  if (cycle >= secondGuard && cycle < 930) return 1;
  return cycle >= 980 ? 1 : 0;
}

void FireBossVolley(EnemyRecord& e, const BossVolley& v) {
  FireEnemyBulletPattern(e, e.muzzleX.value, e.muzzleY.value, v.family, v.count, v.spread, v.rows, v.rowStep, 0.0f,
                         e.aimAngle.value, e.speedStep.value, v.speed, v.angle, v.speedAccel, v.driftAccelX,
                         v.driftAccelY, v.angleAccel, v.lifetime, v.bulletType, 30);
}

BossVolley SlotVolley(const EnemyRecord& e, int32_t family, int32_t count, float spread, float rows, float rowStep,
                      float speed, int32_t bulletType) {
  const EnemyAttackSlot& s = e.slotA;
  return {family,
          count,
          spread,
          rows,
          rowStep,
          speed,
          s.angle.value,
          s.speedAccel.value,
          s.driftAccelX.value,
          s.driftAccelY.value,
          s.angleAccel.value,
          s.lifetime.value,
          bulletType};
}

void FloatingHopMotion(EnemyRecord& e, int32_t cycle) {
  if (cycle == 301) e.motion.velocityX = 3.0f;
  if (cycle == 330) BeginBossJump(e, -12.0f);
  if (cycle == 350) {
    e.motion.velocityY = -2.0f;
    e.motion.accelY = 0.04f;
    e.motion.velocityX /= 3.0f;
  }
  if (cycle == 450) {
    e.motion.accelY = 0.4f;
    e.motion.velocityX *= 3.0f;
  }
}

int32_t CountFreeEnemySlots() {
  int32_t free = 0;
  for (int32_t i = 0; i < kEnemyRingSlots; ++i) free += pools.enemies[i].head.state == kActorFree;
  return free;
}

// Values in the writer's order: spread, rows, row step, mode, speed, angle,
// speed/drift x/drift y/angle accelerations, spin, spin acceleration,
// acceleration time; then the child slot: kind, count, spread, window, three
// family values, speed, angle, speed/drift x/drift y/angle accelerations, two
// further values, acceleration time, type code.
const AttackSlotsValues kPlainRingSlots = {360.0f, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                           3.0f,   0.0f, 0,    0,    1,    0.0f, 60,   0.0f, 0.0f, 0.0f,
                                           5.0f,   0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,    10400};
const AttackSlotsValues kGrowingRowSlots = {360.0f, 3.0f, 0.1f,  0.0f, 4.0f, 0.0f,   0.0f, 0.0f, 0.0f, 0.0f,
                                            3.0f,   0.0f, 0,     0,    1,    360.0f, 60,   0.0f, 0.0f, 0.0f,
                                            0.0f,   0.0f, 0.05f, 0.0f, 0.0f, 0.0f,   0.0f, 0.0f, 100,  11500};

}  // namespace orb
