// Kind 31, the boss of stage 56: a run of hops, a slow floating hop that
// sprays turning rings, two bursts of spiral rings, and a walk with leaps.
#include <initializer_list>

#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

float Excess() { return game.DifficultySpeedBonus; }

void Hops(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  switch (c) {
    case 10:
      e.motion.velocityX = 8.0f + Excess();
      break;
    case 40:
      BeginBossJump(e, -6.0f);
      break;
    case 100:
      e.motion.velocityX = 6.0f + Excess();
      break;
    case 110:
      BeginBossJump(e, -8.0f);
      break;
    case 200:
      BeginBossJump(e, -3.0f);
      break;
    case 230:
      BeginBossJump(e, -5.0f);
      break;
    case 265:
      if (BossHardPhase()) BeginBossJump(e, -6.0f);
      break;
    default:
      break;
  }
}

// Rings of 2 (difficulty 0, every 20 frames) or 4 (every 10 frames) whose
// angle turns a degree a frame: two turning apart, or four together in the
// hard phase.
void TurningRings(EnemyRecord& e, int32_t c) {
  const int32_t d = game.DifficultyLevel;
  if (c % (d == 0 ? 20 : 10) != 0) return;
  const float k = static_cast<float>(c - 350);
  BossVolley v = SlotVolley(e, 1, d == 0 ? 2 : 4, 360.0f, 0.0f, 0.0f, 2.0f, 10400);
  v.speedAccel = 0.0f;
  v.lifetime = 20;
  if (BossHardPhase()) {
    for (int i = 0; i < 4; ++i) {
      v.angle = k + 10.0f * static_cast<float>(i);
      v.bulletType = 10400 + i;
      FireBossVolley(e, v);
    }
    return;
  }
  for (const float angle : {k, -k}) {
    v.angle = angle;
    FireBossVolley(e, v);
  }
}

void FloatingHop(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  if ((c >= 300 && c <= 310) || (c >= 380 && c <= 409)) SetEnemyAttackSlots(e, kPlainRingSlots);
  FloatingHopMotion(e, c);
  if (c >= 350 && c <= 449) TurningRings(e, c);
}

void SpiralRing(EnemyRecord& e, float turn) {
  BossVolley v = SlotVolley(e, 1, 4 * game.DifficultyLevel + 9, 360.0f, 0.0f, 0.0f, 3.0f, 10403);
  v.speedAccel = -0.1f;
  v.angleAccel = turn;
  v.lifetime = 110;
  FireBossVolley(e, v);
}

void SpiralRings(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  if (c == 510) {
    e.motion.velocityX = 2.0f + 0.5f * Excess();
    SetEnemyAttackSlots(e, kGrowingRowSlots);
  }
  if (c == 560 || c == 700) BeginBossJump(e, -13.0f);
  if (c == 590 || c == 595 || c == 600) SpiralRing(e, 2.0f);
  if (c == 730 || c == 735 || c == 740) SpiralRing(e, -2.0f);
}

void WalkAndLeaps(EnemyRecord& e, int32_t c) {
  if (HopWindowPose(c, 890) != 0) {
    e.poseFlag = 1;
    e.motion.velocityX = 3.0f + 0.5f * Excess();
  } else {
    e.poseFlag = 0;
  }
  if ((c == 850 || c == 890 || c == 945) && e.airborne == 0) {
    e.motion.velocityX *= static_cast<float>(c - 700) / 100.0f;
    BeginBossJump(e, -7.0f);
  }
}

}  // namespace

void RunBoss31(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {{0, Hops}, {300, FloatingHop}, {500, SpiralRings}, {800, WalkAndLeaps}};
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  RunBossWindows(e, kWindows);
}

}  // namespace orb
