// The boss of stage 101: leaps with aimed sprays, a floating leap whose fans
// burst into rings, and a hover of sweeping waves.
#include <initializer_list>

#include "game/bosses/fight_steps.h"

namespace orb {

namespace {

// The follow-up pattern the phases carry: none in the leaps and waves, the
// ring burst while floating.
void SetLeapValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .count = 1, .spread = 360.0f, .speedAccel = 0.05f,
                       .lifetime = 100, .bulletType = 11500});
}
void SetRingBurstValues() {
  SetBossAttackValues({.kind = 1, .count = 2 * BossDifficulty() + 5, .spread = 360.0f, .speedAccel = 0.1f,
                       .lifetime = 30, .bulletType = 11500});
}
void SetWaveValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .count = 0, .spread = 360.0f, .speedAccel = 0.05f,
                       .lifetime = 100, .bulletType = 11500});
}

void Leaps(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  const float x = BossExcess();
  e.poseFlag = 1;
  if (c == 10) {
    e.motion.velocityX = 4.0f + 0.4f * x;
    SetLeapValues();
  }
  if (c == 40 || c == 140 || c == 240) BeginBossJump(e, -11.0f);
  if ((c == 50 || c == 150 || c == 250) && d >= 1) {
    FireBossVolley(e, {.family = 4, .count = 2 * d + 3, .spread = 40.0f, .speed = FixedSpeed(6.0f),
                       .angle = e.slotA.angle.value, .angleAccel = e.slotA.angleAccel.value, .lifetime = 110,
                       .bulletType = 10403});
  }
  if (c == 88) e.motion.velocityX = 4.5f + 0.4f * x;
  if (c == 90 || c == 190) BeginBossJump(e, -14.0f);
  if (c == 188) e.motion.velocityX = 5.0f + 0.4f * x;
}

// Two-bullet aimed fans that slow to a stop and burst.
void BurstingFans(EnemyRecord& e, const float (&spreads)[3]) {
  for (float s : spreads) {
    FireBossVolley(e, {.family = 2, .count = 2, .spread = s, .speed = FixedSpeed(8.0f),
                       .angle = e.slotA.angle.value, .speedAccel = -0.2f, .lifetime = 40, .bulletType = 10703});
  }
}

void Floating(EnemyRecord& e, int32_t c) {
  SetRingBurstValues();
  FloatingLeapMotion(e, c);
  if (c >= 355 && c <= 414 && c % 2 == 0 && BossHardPhase()) {
    // The spray speeds up for ever and so never reaches its burst.
    FireBossVolley(e, {.family = 3, .count = BossDifficulty() + 4, .spread = 360.0f, .speed = 2.0f,
                       .angle = e.slotA.angle.value, .speedAccel = 0.05f, .lifetime = 999999, .bulletType = 10603});
  }
  if (c == 360 && !BossHardPhase()) BurstingFans(e, {120.0f, 180.0f, 240.0f});
  if (c == 400 && !BossHardPhase()) BurstingFans(e, {50.0f, 180.0f, 310.0f});
}

// One wave: the main shot (in three rows when hard), then two sprays.
void Wave(EnemyRecord& e, bool aimed, float angle, float sprayWidth, bool spraysOnEasy, bool hard) {
  const int32_t d = BossDifficulty();
  BossVolley main{.family = aimed ? 2 : 1, .count = 1, .speed = FixedSpeed(6.0f), .angle = angle, .lifetime = 40,
                  .bulletType = 10703};
  if (hard) {
    main.family += 30;
    main.rows = 3.0f;
    main.rowStep = 17.0f;
  }
  FireBossVolley(e, main);
  if (d < 1 && !spraysOnEasy) return;
  const int32_t spray = aimed ? 4 : 3;
  FireBossVolley(e, {.family = spray, .count = 2 * d + 2, .spread = sprayWidth, .speed = FixedSpeed(4.0f),
                     .angle = angle, .lifetime = 40, .bulletType = 11503});
  FireBossVolley(e, {.family = spray, .count = 2 * d + 4, .spread = sprayWidth, .speed = FixedSpeed(3.0f),
                     .angle = angle, .lifetime = 40, .bulletType = 11403});
}

void ClosingFans(EnemyRecord& e, bool hard) {
  BossVolley a{.family = 2, .count = 5, .spread = 180.0f, .speed = FixedSpeed(1.7f),
               .angle = e.slotA.angle.value, .speedAccel = 0.14f, .lifetime = 50, .bulletType = 10703};
  BossVolley b{.family = 2, .count = 4, .spread = 135.0f, .speed = FixedSpeed(3.4f),
               .angle = e.slotA.angle.value, .speedAccel = 0.03f, .lifetime = 40, .bulletType = 10703};
  if (hard) {
    for (BossVolley* v : {&a, &b}) {
      v->family = 32;
      v->rows = 3.0f;
      v->rowStep = 7.0f;
    }
  }
  FireBossVolley(e, a);
  FireBossVolley(e, b);
}

void Waves(EnemyRecord& e, int32_t c) {
  const bool hard = BossHardPhase();
  if (c >= 580 && c <= 640 && c % 10 == 0) Wave(e, false, 3.0f * static_cast<float>(c - 580), 20.0f, false, hard);
  if (c >= 800 && c <= 860 && c % 10 == 0) Wave(e, false, 180.0f - 3.0f * static_cast<float>(c - 800), 20.0f, false, hard);
  if (c == 680 || c == 720) Wave(e, true, e.slotA.angle.value, 30.0f, true, hard);
  if (c == 760) Wave(e, true, e.slotA.angle.value, hard ? 30.0f : 20.0f, true, hard);
  if (c == 950) ClosingFans(e, hard);
}

void Hovering(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  SetWaveValues();
  HoverWindow(e, c, 2.0f + 0.5f * BossExcess(), -18.0f, 959, 0.7f);
  if (c >= 580 && c <= 959) Waves(e, c);
}

}  // namespace

void RunBoss34(EnemyRecord& e) {
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  static constexpr BossWindow kWindows[] = {{0, Leaps}, {300, Floating}, {500, Hovering}};
  RunBossWindows(e, kWindows);
}

}  // namespace orb
