// The boss behaviours: one block per boss kind, reached through the per-kind
// table of RunBossAI, and the steps every fight shares. A block works only
// on the record it is given, the bullet and enemy pools and the game state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/enemies/enemies.h"

namespace orb {

// The fights and scripted actors by kind. Kinds 37, 46 and 47 look at the
// current stage: 46 and 47 act only on stages 151 and 152, 37 is a scripted
// actor there and a boss anywhere else.
void RunBoss15(EnemyRecord& e);
void RunBoss29(EnemyRecord& e);
void RunBoss30(EnemyRecord& e);
void RunBoss31(EnemyRecord& e);
void RunBoss32(EnemyRecord& e);
void RunBoss33(EnemyRecord& e);
void RunBoss34(EnemyRecord& e);
void RunBoss35(EnemyRecord& e);
void RunBoss36(EnemyRecord& e);
void RunBoss37(EnemyRecord& e);
void RunBoss45(EnemyRecord& e);
void RunBoss46(EnemyRecord& e);
void RunBoss47(EnemyRecord& e);

// The steps every fight shares.

// A beaten boss waiting to be recruited (mode 50 and above) only holds its
// pose: guard pose, no x speed, animation row 11. True when it did.
bool HoldBeatenBoss(EnemyRecord& e);

// The hard phase: the boss bar under a third of its full value, tested
// afresh at every use.
bool BossHardPhase();

// Begins a jump at the given (negative) y speed, only from the ground; the
// side-wall byte is cleared as at every jump. True when the jump began; a
// jump asked for in the air is dropped.
bool BeginBossJump(EnemyRecord& e, float speedY);

// The same jump begun whether the boss stands or not.
void ForceBossJump(EnemyRecord& e, float speedY);

// The intro and the cycle: before timer 200 the boss stands (x speed 0) and
// false is returned; from 200 on the attack cycle (timer - 200) mod 1000 is
// stored, the animation row goes back to 0 and the muzzle is placed 17 px
// ahead along the facing and 3 px down. True when the cycle runs.
bool StartBossCycle(EnemyRecord& e);

// The cycle cut into windows, each from its first cycle value up to the next
// window's; the window holding the record's attack cycle runs.
using BossWindowStep = void (*)(EnemyRecord& e, int32_t cycle);
struct BossWindow {
  int32_t from;
  BossWindowStep step;
};
template <std::size_t N>
void RunBossWindows(EnemyRecord& e, const BossWindow (&windows)[N]) {
  for (std::size_t i = N; i-- > 0;) {
    if (e.attackCycle >= windows[i].from) {
      windows[i].step(e, e.attackCycle);
      return;
    }
  }
}

// The floating hop of the 300 window (kinds 31 and 32): x speed 3 at 301, a
// jump at 330, from 350 a slow rise (y speed -2 whether standing or not)
// under gravity 0.04 at a third of the x speed, and back at 450.
void FloatingHopMotion(EnemyRecord& e, int32_t cycle);

// Only the muzzle step: 17 px ahead along the facing, 3 px down.
void PlaceBossMuzzle(EnemyRecord& e);

// A value by facing: as given when the boss faces right, negated otherwise.
float ByFacing(const EnemyRecord& e, float v);

// The guard pose of the hop windows: 1 on the first 30 frames from 800, on
// the 50 frames from secondGuard and on the last 20 of the cycle; 0 between.
uint8_t HopWindowPose(int32_t cycle, int32_t secondGuard);

// One volley from the muzzle with mode 0 (a given angle, or the aim for the
// aimed families), the record's pattern angle and speed bonus, damage 30.
// Fields left out of a designated initializer are 0.
struct BossVolley {
  int32_t family = 0, count = 0;
  float spread = 0, rows = 0, rowStep = 0, speed = 0, angle = 0, speedAccel = 0, driftAccelX = 0, driftAccelY = 0,
        angleAccel = 0;
  int32_t lifetime = 0, bulletType = 0;
};
void FireBossVolley(EnemyRecord& e, const BossVolley& v);

// A volley shape with the accelerations taken from attack slot A: angle,
// speed, drift and angle accelerations and acceleration time.
BossVolley SlotVolley(const EnemyRecord& e, int32_t family, int32_t count, float spread, float rows, float rowStep,
                      float speed, int32_t bulletType);

// Free slots of the enemy ring (0 to 126).
int32_t CountFreeEnemySlots();

// Attack-value sets shared by several bosses (written with the record form
// of the two-slot writer). Both keep slot A's angle at 180 and its drift and
// angle accelerations at 0; neither gives the bullets a follow-up pattern.
// Plain rings: spin 3, child values of a type-10400 aimed shot.
extern const AttackSlotsValues kPlainRingSlots;
// Rows of three: spin 3, child values of a growing type-11500 spray.
extern const AttackSlotsValues kGrowingRowSlots;

}  // namespace orb
