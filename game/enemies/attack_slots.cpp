// The enemy's attack slot: its setters, and the two runners that decide from
// frame counters whether a frame fires a volley.
#include <cstring>

#include "game/enemies/enemies.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/actors/volley.h"

namespace orb {

namespace {

constexpr int32_t kNeverEnds = 100000;

void ClearRows(EnemyAttackSlot& s) {
  std::memset(s.patternKind.spare, 0, sizeof s.patternKind.spare);
  std::memset(s.count.spare, 0, sizeof s.count.spare);
}

// The volley values both setters store; the angle is kept turned by 180.
void StoreVolley(EnemyAttackSlot& s, float spread, float rows, float rowStep, float mode, float speed, float angle,
                 float speedAccel, float driftAccelX, float driftAccelY, float angleAccel, float angleVelocity,
                 float angleVelocityAccel, int32_t lifetime) {
  s.spread.value = spread;
  s.rows.value = rows;
  s.rowStep.value = rowStep;
  s.mode.value = mode;
  s.speed.value = speed;
  s.angle.value = angle + 180.0f;
  s.speedAccel.value = speedAccel;
  s.driftAccelX.value = driftAccelX;
  s.driftAccelY.value = driftAccelY;
  s.angleAccel.value = angleAccel;
  s.angleVelocity.value = angleVelocity;
  s.angleVelocityAccel.value = angleVelocityAccel;
  s.lifetime.value = lifetime;
}

// The common body of the two runners; counter is the (possibly staggered)
// shot counter, windowCycle the cycle of the outer window.
void RunAttack(EnemyRecord& e, int32_t counter, int32_t windowCycle) {
  EnemyAttackSlot& s = e.slotA;
  if (e.bulletType == 0 || e.timer < s.startFrame.value || e.timer >= s.endFrame.value) return;
  // A cycle, burst or interval below 1 has no frame to fire on (and no
  // remainder to take): the slot neither aims nor steps nor fires.
  const bool timetable = windowCycle >= 1 && s.burstLength.value >= 1 && s.burstCycle.value >= 1 &&
                         s.interval.value >= 1;
  const int32_t p = timetable ? counter % s.burstLength.value : -1;
  const float mode = s.mode.value;
  if (p == 0 && mode < 0.0f) e.aimAngle.value = AimDegrees(GetAngleToPlayer(e.muzzleX.value, e.muzzleY.value, e.targetPlayer));
  if (mode > 0.0f && timetable) {
    if (p == 0) {
      e.speedStep.value = 0.0f;
    } else if (counter % s.interval.value == 0) {
      e.speedStep.value += s.speed.value * mode;
    }
  }
  s.angle.value += s.angleVelocity.value;
  s.angleVelocity.value += s.angleVelocityAccel.value;
  if (!timetable) return;
  if (counter % windowCycle < s.windowLength.value && counter % s.burstCycle.value < s.burstLength.value &&
      counter % s.interval.value == 0) {
    FireSlotVolley(e);
    e.attackPoseTimer = 16;
  }
}

}  // namespace

void SetEnemyAttackSlot(EnemyRecord& e, int32_t patternKind, int32_t count, float spread, int32_t windowLength,
                        int32_t windowCycle, int32_t burstLength, int32_t burstCycle, int32_t interval, float rows,
                        float rowStep, float mode, float speed, float angle, float speedAccel, float driftAccelX,
                        float driftAccelY, float angleAccel, float angleVelocity, float angleVelocityAccel,
                        int32_t lifetime, int32_t startFrame) {
  EnemyAttackSlot& s = e.slotA;
  s.patternKind.value = patternKind;
  s.count.value = count;
  s.windowLength.value = windowLength;
  s.windowCycle.value = windowCycle;
  s.burstLength.value = burstLength;
  s.burstCycle.value = burstCycle;
  s.interval.value = interval;
  StoreVolley(s, spread, rows, rowStep, mode, speed, angle, speedAccel, driftAccelX, driftAccelY, angleAccel,
              angleVelocity, angleVelocityAccel, lifetime);
  s.startFrame.value = startFrame;
  s.endFrame.value = kNeverEnds;
  s.shotCounter.value = 0;
  e.slotB.patternKind.value = 0;
  ClearRows(s);
}

void SetLastEnemyAttackSlot(int32_t interval, int32_t patternKind, int32_t count, float spread,
                            int32_t windowLength, int32_t windowCycle, int32_t burstLength, int32_t burstCycle,
                            float rows, float rowStep, float mode, float speed, float angle, float speedAccel,
                            float driftAccelX, float driftAccelY, float angleAccel, float angleVelocity,
                            float angleVelocityAccel, int32_t lifetime, int32_t startFrame) {
  SetEnemyAttackSlot(LastEnemy(), patternKind, count, spread, windowLength, windowCycle, burstLength, burstCycle,
                     interval, rows, rowStep, mode, speed, angle, speedAccel, driftAccelX, driftAccelY, angleAccel,
                     angleVelocity, angleVelocityAccel, lifetime, startFrame);
}

void SetEnemyAttackSlots(EnemyRecord& e, const AttackSlotsValues& v) {
  EnemyAttackSlot& s = e.slotA;
  StoreVolley(s, v.spread, v.rows, v.rowStep, v.mode, v.speed, v.angle, v.speedAccel, v.driftAccelX, v.driftAccelY,
              v.angleAccel, v.angleVelocity, v.angleVelocityAccel, v.lifetime);
  // The fixed timetable: fans of 4, window 60 of 100, burst 10 of 20, every
  // second frame, from timer 200.
  s.patternKind.value = 1;
  s.count.value = 4;
  s.windowLength.value = 60;
  s.windowCycle.value = 100;
  s.burstLength.value = 10;
  s.burstCycle.value = 20;
  s.interval.value = 2;
  s.startFrame.value = 200;
  s.endFrame.value = kNeverEnds;
  s.shotCounter.value = 0;
  ClearRows(s);

  EnemyChildSlot& c = e.slotB;
  c.patternKind.value = v.childKind;
  c.count.value = v.childCount;
  c.spread.value = v.childSpread;
  c.layers.value = v.childLayers;
  c.step.value = v.childStep;
  c.window.value = v.childWindow;
  c.familyValue3.value = v.childFamily3;
  c.speed.value = v.childSpeed;
  c.angle.value = v.childAngle + 180.0f;
  c.speedAccel.value = v.childSpeedAccel;
  c.driftAccelX.value = v.childDriftAccelX;
  c.driftAccelY.value = v.childDriftAccelY;
  c.angleAccel.value = v.childAngleAccel;
  c.lifetime.value = v.childLifetime;
  c.typeCode.value = v.childTypeCode;
}

void SetLastEnemyAttackSlots(const AttackSlotsValues& v) { SetEnemyAttackSlots(LastEnemy(), v); }

void SetEnemyAttackSlots(EnemyRecord& e, float spread, float rows, float rowStep, float mode, float speed,
                         float angle, float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                         float angleVelocity, float angleVelocityAccel, int32_t lifetime, int32_t childKind,
                         int32_t childCount, float childSpread, int32_t childWindow, float childLayers,
                         float childStep, float childFamily3, float childSpeed, float childAngle,
                         float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                         float childAngleAccel, float childUnused2, float childUnused3, int32_t childLifetime,
                         int32_t childTypeCode, int32_t /*unused*/) {
  const AttackSlotsValues v{spread,          rows,          rowStep,         mode,
                            speed,           angle,         speedAccel,      driftAccelX,
                            driftAccelY,     angleAccel,    angleVelocity,   angleVelocityAccel,
                            lifetime,        childKind,     childCount,      childSpread,
                            childWindow,     childLayers,   childStep,       childFamily3,
                            childSpeed,      childAngle,    childSpeedAccel, childDriftAccelX,
                            childDriftAccelY, childAngleAccel, childUnused2, childUnused3,
                            childLifetime,   childTypeCode};
  SetEnemyAttackSlots(e, v);
}

void SetLastEnemyAttackSlots(float spread, float rows, float rowStep, float mode, float speed, float angle,
                             float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                             float angleVelocity, float angleVelocityAccel, int32_t lifetime, int32_t childKind,
                             int32_t childCount, float childSpread, int32_t childWindow, float childLayers,
                             float childStep, float childFamily3, float childSpeed, float childAngle,
                             float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                             float childAngleAccel, float childUnused2, float childUnused3, int32_t childLifetime,
                             int32_t childTypeCode) {
  SetEnemyAttackSlots(LastEnemy(), spread, rows, rowStep, mode, speed, angle, speedAccel, driftAccelX, driftAccelY,
                      angleAccel, angleVelocity, angleVelocityAccel, lifetime, childKind, childCount, childSpread,
                      childWindow, childLayers, childStep, childFamily3, childSpeed, childAngle, childSpeedAccel,
                      childDriftAccelX, childDriftAccelY, childAngleAccel, childUnused2, childUnused3, childLifetime,
                      childTypeCode, 100000);
}

void RunEnemyAttack(EnemyRecord& e) { RunAttack(e, e.slotA.shotCounter.value, e.slotA.windowCycle.value); }

void RunEnemyAttackStaggered(EnemyRecord& e) {
  // Enemies of one wave fire out of step: 17 frames per slot.
  const int64_t c = 17LL * e.slot + e.slotA.shotCounter.value;
  const int32_t counter = c > INT32_MAX ? INT32_MAX : static_cast<int32_t>(c);
  RunAttack(e, counter, TruncToInt(e.motion.maxSpeedY));
}

}  // namespace orb
