// The boss of stage 119: hops with aimed sprays, a floating leap whose
// slowing rows burst into aimed rows, a hover of seven-angle shots that burst
// into sprays, and two fast volleys that burst into rows and fans.
#include "game/bosses/fight_steps.h"

namespace orb {

namespace {

// The attack-value sets; h is 1 on a hard frame.
void SetPlainValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .count = 1, .spread = 360.0f, .speedAccel = 0.05f,
                       .lifetime = 100, .bulletType = 11500});
}
void SetRowBurstValues(int32_t h) {
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.kind = 12, .count = 1 + 8 * h, .spread = 360.0f, .layers = static_cast<float>(d + 2),
                       .step = 0.16f, .speed = 5.0f, .speedAccel = 0.1f, .lifetime = 10, .bulletType = 10800});
}
void SetSprayBurstValues() {
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 4, .count = d == 0 ? 2 : d + 3, .spread = 120.0f,
                       .speedAccel = 0.05f, .lifetime = 100, .bulletType = 11503});
}
void SetSecondSprayValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 4, .count = 1, .spread = 120.0f, .speed = 2.0f,
                       .speedAccel = 0.05f, .lifetime = 100, .bulletType = 10803});
}
void SetFastRowValues(int32_t h) {
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 12, .count = 1 + 2 * h, .spread = 60.0f,
                       .layers = static_cast<float>(d + 2), .step = 0.15f, .speed = FixedSpeed(9.0f),
                       .speedAccel = -0.1f, .lifetime = 20, .bulletType = 10800});
}
void SetFastFanValues(int32_t h) {
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 2, .count = 2 + 2 * h, .spread = h ? 60.0f : 30.0f,
                       .window = 40, .layers = static_cast<float>(d + 2), .step = 0.15f, .speed = FixedSpeed(9.0f),
                       .speedAccel = -0.1f, .lifetime = 20, .bulletType = 10803});
}

int32_t Hard() { return BossHardPhase() ? 1 : 0; }

void Hops(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  if (c == 10) {
    e.motion.velocityX = 3.0f + 0.4f * BossExcess();
    SetPlainValues();
  }
  e.poseFlag = 1;
  if (c == 120 || c == 220) BeginBossJump(e, -9.0f);
  if (c == 70 || c == 170 || c == 270) {
    const float angle = e.slotA.angle.value, turn = e.slotA.angleAccel.value;
    if (d >= 1) {
      FireBossVolley(e, {.family = 4, .count = d + 2, .spread = 60.0f, .speed = FixedSpeed(7.0f), .angle = angle,
                         .speedAccel = -0.1f, .angleAccel = turn, .lifetime = 40, .bulletType = 10800});
      e.attackPoseTimer = 16;
    }
    // Slows to rest and is removed when its acceleration ends.
    FireBossVolley(e, {.family = 2, .count = 1, .speed = FixedSpeed(9.0f), .angle = angle, .speedAccel = -0.1f,
                       .angleAccel = turn, .lifetime = 90, .bulletType = 11100});
    e.attackPoseTimer = 16;
  }
}

void SlowingRows(EnemyRecord& e, float spread) {
  FireBossVolley(e, {.family = 12, .count = 2, .spread = spread, .rows = 3.0f, .rowStep = 0.2f,
                     .speed = FixedSpeed(8.0f), .angle = e.slotA.angle.value, .speedAccel = -0.17f, .lifetime = 40,
                     .bulletType = 10800});
  e.attackPoseTimer = 12;
}

void FloatingLeap(EnemyRecord& e, int32_t c) {
  SetRowBurstValues(Hard());
  FloatingLeapMotion(e, c);
  if (c == 360) SlowingRows(e, 150.0f);
  if (c == 410) SlowingRows(e, 180.0f);
}

// The shot of a hover frame, if it has one: seven angles 30 degrees apart
// from c 580 and again from 680, one every 5 frames.
bool HoverShot(int32_t c, float* angle) {
  const int32_t start = c >= 680 ? 680 : 580;
  const int32_t k = c - start;
  if (k < 0 || k > 30 || k % 5 != 0) return false;
  *angle = static_cast<float>(k / 5) * 30.0f;
  return true;
}

void Hover(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  SetSprayBurstValues();
  HoverWindow(e, c, 2.0f + 0.5f * BossExcess(), -18.0f, 719, 0.7f);
  float angle = 0.0f;
  const bool shot = HoverShot(c, &angle);
  const BossVolley v{.family = 1, .count = 1, .speed = FixedSpeed(6.0f), .angle = angle, .speedAccel = -0.1f,
                     .lifetime = 40, .bulletType = 10700};
  if (shot) {
    FireBossVolley(e, v);
    e.attackPoseTimer = 6;
  }
  if (c >= 580 && c <= 719) {
    SetSecondSprayValues();
    if (shot && BossHardPhase()) {
      FireBossVolley(e, v);
      e.attackPoseTimer = 6;
    }
  }
}

void FastVolley(EnemyRecord& e, int32_t code) {
  FireBossVolley(e, {.family = 12, .count = 2, .spread = 160.0f, .rows = static_cast<float>(BossDifficulty() + 1),
                     .rowStep = 0.24f, .speed = 14.0f, .angle = e.slotA.angle.value, .speedAccel = -1.0f,
                     .angleAccel = e.slotA.angleAccel.value, .lifetime = 4, .bulletType = code});
  e.attackPoseTimer = 10;
}

void FastVolleys(EnemyRecord& e, int32_t c) {
  if (c == 810) {
    e.motion.velocityX = 0.0f;
    SetFastRowValues(Hard());
  }
  if (c == 910) {
    e.motion.velocityX = 0.0f;
    SetFastFanValues(Hard());
  }
  e.poseFlag = 1;
  if (c == 860 || c == 960) BeginBossJump(e, -14.0f);
  if (c == 870) FastVolley(e, 10800);
  if (c == 970) FastVolley(e, 10803);
}

}  // namespace

void RunBoss35(EnemyRecord& e) {
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  static constexpr BossWindow kWindows[] = {{0, Hops}, {300, FloatingLeap}, {500, Hover}, {800, FastVolleys}};
  RunBossWindows(e, kWindows);
}

}  // namespace orb
