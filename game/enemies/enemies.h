// Enemies: the spawners, the attack slot and its runners, the bullet pattern
// emitter, the per-frame update and behaviour, hits and defeat, and the draw.
// Every enemy, boss, gap, ice block, switch and pendulum is an EnemyRecord of
// the enemy pool.
#pragma once

#include <cstdint>

#include "game/actors/actors.h"

namespace orb {

constexpr int32_t kEnemyRingSlots = 127;  // slots 0..126; 127 is never filled
constexpr int32_t kLastEnemyKind = 47;

// --- spawning (enemy_spawn.cpp) ---

// The point half a hitbox width left of and above the centre; a kind outside
// 1..47 spawns nothing. The byte values are cut to their low byte.
void SpawnEnemy(float x, float y, int32_t kind, int32_t variant, int32_t framePeriod, int32_t mode,
                int32_t hitPoints, int32_t mapCollision, float velocityX, float velocityY, float maxSpeedX,
                float maxSpeedY, float accelX, float accelY, float amplitudeX, float amplitudeY, float phaseStep,
                float startPhase, int32_t waveCode, int32_t pausePose, int32_t bulletType);

// The recruitable copy a beaten boss leaves at its centre minus 14: mode 50,
// 3500 hit points; never in the boss's own slot.
void SpawnBeatenBossCopy(const EnemyRecord& boss);

// What SpawnEnemy hands on for one spawn.
struct EnemySpawnValues {
  float x, y;  // the spawn point (centre minus half the hitbox width on both axes)
  int32_t kind;
  int32_t spriteWidth, spriteHeight;
  float hitboxWidth, hitboxHeight;
  const int* images;  // nullptr: nothing to draw
  int32_t frameCount, framePeriod;
  uint8_t mode;
  int32_t hitPoints;
  uint8_t mapCollision;
  EnemyMotion motion;  // start phase also taken as the running phase
  uint8_t waveCode, pausePose;
  int32_t touchDamage;
  int32_t bulletType;
};

// Takes the next slot of the ring whose state is 0 (all live: the next one,
// but never the avoided slot) and fills it. Returns the slot.
int32_t SpawnEnemyRecord(const EnemySpawnValues& v, int32_t avoidSlot = -1);
void InitEnemy(EnemyRecord& e, const EnemySpawnValues& v, int32_t slot);

// The sheet of a kind and variant: nullptr for a variant beyond its sheets
// or a kind without pictures.
const int* EnemySheet(int32_t kind, int32_t variant);

// The record at EnemyRingIndex.
EnemyRecord& LastEnemy();

// --- attack slots (attack_slots.cpp) ---

void SetEnemyAttackSlot(EnemyRecord& e, int32_t patternKind, int32_t count, float spread, int32_t windowLength,
                        int32_t windowCycle, int32_t burstLength, int32_t burstCycle, int32_t interval, float rows,
                        float rowStep, float mode, float speed, float angle, float speedAccel, float driftAccelX,
                        float driftAccelY, float angleAccel, float angleVelocity, float angleVelocityAccel,
                        int32_t lifetime, int32_t startFrame);
void SetLastEnemyAttackSlot(int32_t interval, int32_t patternKind, int32_t count, float spread,
                            int32_t windowLength, int32_t windowCycle, int32_t burstLength, int32_t burstCycle,
                            float rows, float rowStep, float mode, float speed, float angle, float speedAccel,
                            float driftAccelX, float driftAccelY, float angleAccel, float angleVelocity,
                            float angleVelocityAccel, int32_t lifetime, int32_t startFrame);

// The slot's values and the bullets' follow-up pattern, with the fixed timetable.
struct AttackSlotsValues {
  float spread, rows, rowStep, mode, speed, angle;
  float speedAccel, driftAccelX, driftAccelY, angleAccel;
  float angleVelocity, angleVelocityAccel;
  int32_t lifetime;
  int32_t childKind, childCount;
  float childSpread;
  int32_t childWindow;  // kept in the child slot, not passed on to bullets
  float childLayers, childStep;
  float childFamily3;  // kept, not passed on
  float childSpeed, childAngle, childSpeedAccel, childDriftAccelX, childDriftAccelY, childAngleAccel;
  float childUnused2, childUnused3;
  int32_t childLifetime, childTypeCode;
};
void SetEnemyAttackSlots(EnemyRecord& e, const AttackSlotsValues& v);
void SetLastEnemyAttackSlots(const AttackSlotsValues& v);

// The same with the values in the callers' order; the last value of the
// record form is not read, and the ring form supplies it.
void SetEnemyAttackSlots(EnemyRecord& e, float spread, float rows, float rowStep, float mode, float speed,
                         float angle, float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                         float angleVelocity, float angleVelocityAccel, int32_t lifetime, int32_t childKind,
                         int32_t childCount, float childSpread, int32_t childWindow, float childLayers,
                         float childStep, float childFamily3, float childSpeed, float childAngle,
                         float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                         float childAngleAccel, float childUnused2, float childUnused3, int32_t childLifetime,
                         int32_t childTypeCode, int32_t unused);
void SetLastEnemyAttackSlots(float spread, float rows, float rowStep, float mode, float speed, float angle,
                             float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                             float angleVelocity, float angleVelocityAccel, int32_t lifetime, int32_t childKind,
                             int32_t childCount, float childSpread, int32_t childWindow, float childLayers,
                             float childStep, float childFamily3, float childSpeed, float childAngle,
                             float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                             float childAngleAccel, float childUnused2, float childUnused3, int32_t childLifetime,
                             int32_t childTypeCode);

void RunEnemyAttack(EnemyRecord& e);
void RunEnemyAttackStaggered(EnemyRecord& e);

// --- bullet patterns (bullet_patterns.cpp) ---

void FireEnemyBulletPattern(EnemyRecord& e, float muzzleX, float muzzleY, int32_t patternKind, int32_t count,
                            float spread, float rows, float rowStep, float mode, const float& aimAngle,
                            const float& speedStep, float speed, float angle, float speedAccel, float driftAccelX,
                            float driftAccelY, float angleAccel, int32_t lifetime, int32_t bulletType,
                            int32_t damage);
void ApplyEnemyBulletChildSpec(const EnemyRecord& e);

// The attack slot's volley exactly as the runners pass it (damage 30).
void FireSlotVolley(EnemyRecord& e);

// --- update and behaviour (enemy_behaviour.cpp, enemy_groups.cpp) ---

void UpdateEnemy(EnemyRecord& e);
void RunEnemyAI(EnemyRecord& e);
void HoldFrozenEnemy(EnemyRecord& e);
// The kind-group step (muzzle and timed behaviour).
void RunEnemyGroup(EnemyRecord& e);

// Boss behaviours, by kind; every entry does nothing until its boss is built.
using BossBehaviour = void (*)(EnemyRecord& e);
extern const BossBehaviour kBossBehaviours[kLastEnemyKind + 1];
void RunBossAI(EnemyRecord& e);

// --- hits and defeat (enemy_hits.cpp) ---

void HitEnemyByPlayerShots(EnemyRecord& e);
void DefeatEnemy(EnemyRecord& e, uint8_t byTouch);
void DropEnemyItems(const EnemyRecord& e, int32_t table, uint8_t byTouch);

// --- draw (enemy_draw.cpp) ---

void DrawEnemy(EnemyRecord& e);
void DrawEnemySprite(EnemyRecord& e);
// The frame a boss shows (kinds 15, 29-37, 45-47), counter already advanced.
int32_t BossFrame(const EnemyRecord& e);

}  // namespace orb
