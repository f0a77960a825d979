// Kind 33, the boss of stage 87: walks and hops with aimed volleys, takes a
// short floating hop with aimed rings, then hovers and sweeps fans, or in
// the hard phase fires fast seeds that burst into aimed fans.
#include <initializer_list>

#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

// clang-format off
// The sweeping phase's values outside the hard phase: no follow-up.
const AttackSlotsValues kSweepSlots = {360.0f, 3.0f, 0.1f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                       3.0f, 0.0f, 0, 0, 0, 360.0f, 60, 0.0f, 0.0f, 0.0f,
                                       0.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 100, 11500};
// clang-format on

// The hard phase's seeds burst into an aimed fan of 3 (difficulty 0) or 5
// over 120 degrees, growing from rest by 0.07 a frame for 70 frames.
AttackSlotsValues SeedSlots() {
  AttackSlotsValues v = kSweepSlots;
  v.childKind = 2;
  v.childCount = game.DifficultyLevel == 0 ? 3 : 5;
  v.childSpread = 120.0f;
  v.childSpeedAccel = 0.07f;
  v.childLifetime = 70;
  v.childTypeCode = 10603;
  return v;
}

float Fixed(float speed) {
  const int32_t d = game.DifficultyLevel;
  return speed * InverseBulletSpeedScale[d >= 0 && d < 4 ? d : 3];
}

void WalkAndHop(EnemyRecord& e, int32_t c) {
  const float e2 = 0.2f * game.DifficultySpeedBonus;
  if (c == 10) {
    e.motion.velocityX = 2.0f + e2;
    SetEnemyAttackSlots(e, kGrowingRowSlots);
  }
  if (c == 105) e.motion.velocityX = 2.8f + e2;
  if (c == 205) e.motion.velocityX = 3.6f + e2;
  e.poseFlag = c % 100 <= 20 ? 1 : 0;
  if (c == 40 || c == 140 || c == 240) BeginBossJump(e, -13.0f);
  if (c == 60 || c == 160 || c == 260) {
    const bool easy = game.DifficultyLevel == 0;
    const float rows = static_cast<float>(game.DifficultyLevel + 3);
    BossVolley v = SlotVolley(e, 12, easy ? 7 : 9, 160.0f, rows, 0.1f, Fixed(6.0f), 10603);
    v.speedAccel = 0.0f;
    v.lifetime = 110;
    FireBossVolley(e, v);
    v.count = easy ? 5 : 7;
    v.speed = Fixed(5.0f);
    FireBossVolley(e, v);
  }
}

void FloatingHop(EnemyRecord& e, int32_t c) {
  if ((c >= 300 && c <= 310) || (c >= 380 && c <= 409)) {
    SetEnemyAttackSlots(e, kPlainRingSlots);
  } else {
    e.poseFlag = 1;
  }
  if (c == 312) e.motion.velocityX = 3.0f;
  if (c == 330 && BeginBossJump(e, -5.0f)) {
    e.motion.accelY = 0.08f;
    e.motion.velocityX /= 3.0f;
  }
  if (c == 490) {
    e.motion.accelY = 0.4f;
    e.motion.velocityX *= 3.0f;
  }
  if (c >= 360 && c <= 410 && c % 10 == 0) {
    BossVolley v = SlotVolley(e, 12, 2 * game.DifficultyLevel + 12, 360.0f, 3.0f, 0.1f, Fixed(4.0f), 11003);
    v.speedAccel = 0.0f;
    v.angleAccel = 0.0f;
    v.lifetime = 40;
    FireBossVolley(e, v);
  }
}

// The sweep: a fan every fifth frame of four 60-frame windows, turning
// down-right and back, and rows of fans straight down between them.
void Sweep(EnemyRecord& e, int32_t c) {
  const bool easy = game.DifficultyLevel == 0;
  for (const int32_t from : {580, 680, 780, 880}) {
    if (c < from || c >= from + 60 || c % 5 != 0) continue;
    const float s = static_cast<float>(c - from);
    const bool rising = from == 580 || from == 780;
    BossVolley v = SlotVolley(e, 1, easy ? 4 : 6, 170.0f, 0.0f, 0.0f, Fixed(4.0f), 10600);
    v.angle = rising ? 70.0f + 0.5f * s : 110.0f - 0.5f * s;
    v.speedAccel = 0.0f;
    v.angleAccel = 0.0f;
    v.lifetime = 40;
    FireBossVolley(e, v);
  }
  if (c == 660 || c == 760 || c == 860) {
    const float rows = game.DifficultySpeedBonus + 4.0f;
    BossVolley v = SlotVolley(e, 31, easy ? 3 : 5, 170.0f, rows, 8.0f, Fixed(1.5f), 11002);
    v.angle = 90.0f;
    v.speedAccel = 0.0f;
    v.angleAccel = 0.0f;
    v.lifetime = 40;
    FireBossVolley(e, v);
  }
}

// Pairs of seeds on two frames ten apart, each pair with its own spread.
void Seeds(EnemyRecord& e, int32_t c) {
  struct Pair {
    int32_t first;
    float spread;
  };
  const Pair pairs[] = {{580, 150.0f}, {630, 210.0f}, {680, 170.0f}, {730, 190.0f},
                        {780, 210.0f}, {830, 150.0f}, {880, 180.0f}, {930, 220.0f}};
  for (const Pair& p : pairs) {
    if (c != p.first && c != p.first + 10) continue;
    const float rows = static_cast<float>(game.DifficultyLevel + 3);
    BossVolley v = SlotVolley(e, 12, 2, p.spread, rows, 0.15f, Fixed(70.0f), 10603);
    v.speedAccel = 0.0f;
    v.angleAccel = 0.0f;
    v.lifetime = 3;
    FireBossVolley(e, v);
  }
}

void Hover(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  const bool hard = BossHardPhase();
  if (hard) {
    SetEnemyAttackSlots(e, SeedSlots());
  } else {
    SetEnemyAttackSlots(e, kSweepSlots);
  }
  if (c == 510) e.motion.velocityX = 2.0f + 0.5f * game.DifficultySpeedBonus;
  if (c == 540) BeginBossJump(e, -13.0f);
  if (c >= 572 && c <= 959) {
    e.motion.velocityY = 0.0f;
    e.motion.accelY = 0.0f;
    e.motion.velocityX = 0.0f;
  }
  if (c == 960) {
    e.motion.accelY = 0.4f;
    e.motion.velocityX = 0.0f;
  }
  if (c < 580 || c > 959) return;
  if (hard) {
    Seeds(e, c);
  } else {
    Sweep(e, c);
  }
}

}  // namespace

void RunBoss33(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {{0, WalkAndHop}, {300, FloatingHop}, {500, Hover}};
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  RunBossWindows(e, kWindows);
}

}  // namespace orb
