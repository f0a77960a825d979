// The boss of stage 136: hops with spinning aimed rings, a hovering burst of
// six rings, and a long hover of streams whose colours come from the game's
// generator (hard) or of widening aimed fans.
#include "game/bosses/fight_steps.h"
#include "game/world/crt_rand.h"

namespace orb {

namespace {

int32_t RandomColour(int32_t base) { return base + Rand() % 4; }

void HopRing(EnemyRecord& e, float speed, float speedAccel, float angleAccel) {
  FireBossVolley(e, {.family = 2, .count = BossDifficulty() + 5, .spread = 360.0f, .speed = FixedSpeed(speed),
                     .angle = e.slotA.angle.value, .speedAccel = speedAccel, .angleAccel = angleAccel, .lifetime = 90,
                     .bulletType = 11100});
  e.attackPoseTimer = 16;
}

void Hops(EnemyRecord& e, int32_t c) {
  if (c == 16) {
    e.motion.velocityX = 2.0f;
    SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .count = 1, .spread = 360.0f, .speedAccel = 0.05f,
                         .lifetime = 100, .bulletType = 11500});
  }
  const int32_t r = c % 150;
  e.poseFlag = (r > 100 || r < 17) ? 1 : 0;
  if (r == 50) BeginBossJump(e, -8.0f);
  if (r == 90) {
    HopRing(e, 4.5f, -0.05f, 4.5f);
    if (BossHardPhase()) HopRing(e, 6.3f, -0.07f, 3.5f);
    HopRing(e, 10.0f, -0.1f, -2.5f);
  }
}

void HoverRing(EnemyRecord& e, float speed, float speedAccel, float angleAccel, int32_t code) {
  FireBossVolley(e, {.family = 2, .count = 2 * BossDifficulty() + 10, .spread = 360.0f,
                     .speed = FixedSpeed(speed), .angle = e.slotA.angle.value, .speedAccel = speedAccel,
                     .angleAccel = angleAccel, .lifetime = 90, .bulletType = code});
  e.attackPoseTimer = 16;
}

void Leap(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.count = BossHardPhase() ? 9 : 1, .spread = 360.0f, .layers = static_cast<float>(d) + 2.0f,
                       .step = 0.16f, .speed = 5.0f, .speedAccel = 0.1f, .lifetime = 10, .bulletType = 10800});
  if ((c >= 311 && c < 380) || c >= 410) e.poseFlag = 1;
  if (c == 312) e.motion.velocityX = 2.0f;
  if (c == 330) BeginBossJump(e, -9.0f);
  if (c == 370) HangBoss(e);
  if (c == 450) {
    e.motion.accelY = 0.2f;
    e.motion.velocityX *= 2.0f;
  }
  if (c == 370) {
    HoverRing(e, 7.0f, -0.04f, 1.5f, 10902);
    HoverRing(e, 7.0f, -0.04f, -1.5f, 10902);
    HoverRing(e, 5.0f, -0.03f, 1.3f, 10903);
    HoverRing(e, 5.0f, -0.03f, -1.3f, 10903);
    if (BossHardPhase()) {
      HoverRing(e, 3.0f, -0.02f, 1.0f, 10901);
      HoverRing(e, 3.0f, -0.02f, -1.0f, 10901);
    }
  }
}

// One bullet of the hard stream, sprayed around its direction.
void Stream(EnemyRecord& e, float spread, float speed, float angle) {
  const int32_t code = RandomColour(10900);
  FireBossVolley(e, {.family = 3, .count = 1, .spread = spread, .speed = FixedSpeed(speed), .angle = angle,
                     .speedAccel = -0.1f, .lifetime = 60, .bulletType = code});
  e.attackPoseTimer = 6;
}

void HardStreams(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  if (d >= 1 && (c % 180 == 20 || c % 180 == 110)) {
    const bool first = c % 180 == 20;
    FireBossVolley(e, {.family = 2, .count = first ? d + 4 : d + 3, .spread = first ? 180.0f : 150.0f,
                       .speed = FixedSpeed(2.0f), .bulletType = 10601});
    e.attackPoseTimer = 6;
  }
  if (c % 60 >= (d >= 1 ? 40 : 50)) {
    Stream(e, 120.0f, 6.0f, -90.0f);
    if (c % 2 == 0) {
      Stream(e, 30.0f, 9.0f, -30.0f);
      Stream(e, 30.0f, 11.0f, 0.0f);
    } else {
      Stream(e, 30.0f, 9.0f, -150.0f);
      Stream(e, 30.0f, 11.0f, -180.0f);
    }
  }
}

// Aimed fans that widen through the hover, more of them on harder settings.
void WideningFans(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  if (c % 6 != 0 || c % 60 < 6 * (8 - d)) return;
  const int32_t q = c / 60;
  const int32_t s = q % 4;
  const float widen = static_cast<float>(q % 5) * 30.0f;
  int32_t count = 2;
  float spread = widen + 120.0f;
  if (s == 1) {
    count = 3;
    spread = widen + 160.0f;
  } else if (s == 3) {
    count = 4;
    spread = widen + 190.0f;
  }
  FireBossVolley(e, {.family = 2, .count = count, .spread = spread, .speed = FixedSpeed(6.0f),
                     .speedAccel = -0.1f, .lifetime = 60, .bulletType = 10200});
  e.attackPoseTimer = 6;
}

void Hover(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  const bool hardValues = BossHardPhase();
  if (hardValues) {
    const int32_t code = RandomColour(10900);
    SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 1, .count = 1, .angle = -90.0f,
                         .speedAccel = 0.04f, .lifetime = 100, .bulletType = code});
  } else {
    SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 2, .count = 1, .spread = 120.0f,
                         .speedAccel = 0.1f, .lifetime = 100, .bulletType = 10200});
  }
  HoverWindow(e, c, 2.0f, -11.0f, 949, 0.2f);
  if (c < 580 || c > 949) return;
  if (BossHardPhase()) {
    HardStreams(e, c);
  } else {
    WideningFans(e, c);
  }
}

}  // namespace

void RunBoss36(EnemyRecord& e) {
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  static constexpr BossWindow kWindows[] = {{0, Hops}, {300, Leap}, {500, Hover}};
  RunBossWindows(e, kWindows);
}

}  // namespace orb
