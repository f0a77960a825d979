// The last boss, on stage 149: walks firing beams of bullets that burst one
// after another, hangs in the air with aimed row volleys, then hovers with
// ring bursts (hard) or fans. Its beaten copy clears the screen, starts the
// ending clock, leaps away and moves the game on to stage 151.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include <initializer_list>

#include "game/bosses/fight_steps.h"
#include "game/world/crt_rand.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"

namespace orb {

namespace {

// The attack-value sets of the fight.
void SetBeamValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 1, .count = 1, .angle = 90.0f, .speedAccel = 0.1f,
                       .lifetime = 50, .bulletType = 10800});
}
void SetVolleyValues() {
  SetBossAttackValues({.kind = 1, .count = 8, .spread = 360.0f, .speed = 2.0f, .speedAccel = 0.1f, .lifetime = 40,
                       .bulletType = 10801});
}
void SetRingValues() {
  SetBossAttackValues({.kind = 2, .count = 1, .spread = 360.0f, .speed = 1.0f, .speedAccel = 0.1f, .lifetime = 40,
                       .bulletType = 10400});
}
void SetHoverValues(bool hard) {
  if (hard) {
    const int32_t code = 10900 + Rand() % 4;
    SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 0, .count = 1, .angle = -90.0f,
                         .speedAccel = 0.04f, .lifetime = 100, .bulletType = code});
    return;
  }
  const int32_t d = BossDifficulty();
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 2, .count = 2,
                       .spread = static_cast<float>(100 - 20 * d), .speed = FixedSpeed(8.0f), .lifetime = 100,
                       .bulletType = 10801});
}
void SetSpiralValues(float angleAccel, int32_t code) {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 1, .count = 5, .spread = 360.0f, .angle = -90.0f,
                       .speedAccel = 0.03f, .angleAccel = angleAccel, .lifetime = 200, .bulletType = code});
}
void SetFanValues() {
  SetBossAttackValues({.rows = 3.0f, .rowStep = 0.1f, .kind = 0, .count = 1, .spread = 120.0f, .speedAccel = 0.1f,
                       .lifetime = 100, .bulletType = 10200});
}

float Forward(const EnemyRecord& e) { return e.facing == 1 ? 0.0f : 180.0f; }
float Backward(const EnemyRecord& e) { return e.facing == 1 ? 180.0f : 0.0f; }

// A beam: single bullets in one frame from below the muzzle, the k-th
// ending its acceleration at k x step; a last one with 3000 when asked.
void Beam(EnemyRecord& e, float angle, int32_t bullets, int32_t step, bool longTail) {
  BossVolley v{.family = 1, .count = 1, .speed = FixedSpeed(5.0f), .angle = angle, .bulletType = 10700};
  for (int32_t k = 1; k <= bullets; ++k) {
    v.lifetime = k * step;
    FireBossVolleyBelow(e, v, 20.0f);
  }
  if (!longTail) return;
  v.lifetime = 3000;
  FireBossVolleyBelow(e, v, 20.0f);
}

enum BeamKind { kBeamOf10, kBeamOf9, kBeamOf16 };

void BeamOf(EnemyRecord& e, BeamKind kind, float angle) {
  const int32_t d = BossDifficulty();
  switch (kind) {
    case kBeamOf10: Beam(e, angle, d == 0 ? 5 : 10, 3, true); break;
    case kBeamOf9: Beam(e, angle, d == 0 ? 5 : 9, 3, true); break;
    case kBeamOf16: Beam(e, angle, 16, 13 - d, false); break;
  }
}

void Beams(EnemyRecord& e, int32_t c) {
  SetBeamValues();
  if (c == 16) {
    e.motion.velocityX = 3.0f;
    e.motion.accelY = 0.3f;
  }
  const int32_t r = c % 150;
  e.poseFlag = r <= 50 ? 1 : 0;
  if (BossHardPhase() && (r == 22 || r == 24 || r == 42 || r == 44)) {
    const BeamKind k = r < 30 ? kBeamOf10 : kBeamOf16;
    BeamOf(e, k, Forward(e));
    BeamOf(e, k, Backward(e));
    e.attackPoseTimer = 16;
  }
  if (r == 20 || r == 40) {
    const BeamKind k = r == 20 ? kBeamOf9 : kBeamOf16;
    BeamOf(e, k, Forward(e));
    e.attackPoseTimer = 16;
    if (BossHardPhase()) {
      BeamOf(e, k, Backward(e));
      e.attackPoseTimer = 16;
    }
  }
}

// The five aimed row calls: rows, whether rows are spread, speed.
struct RowCall {
  float rows;
  bool spaced;
  float speed;
};
constexpr RowCall kAimedRows[5] = {{3, true, 7.0f}, {2, true, 6.0f}, {2, true, 8.0f}, {1, false, 5.3f}, {1, false, 8.8f}};

void AimedRows(EnemyRecord& e, int32_t count, float spread) {
  const int32_t d = BossDifficulty();
  const float spacing = d == 0 ? 30.0f : static_cast<float>(88 + 2 * d);
  for (const RowCall& r : kAimedRows) {
    FireBossVolley(e, {.family = 32, .count = count, .spread = spread, .rows = r.rows,
                       .rowStep = r.spaced ? spacing : 0.0f, .speed = FixedSpeed(r.speed),
                       .angle = e.slotA.angle.value, .speedAccel = -0.1f, .lifetime = 30, .bulletType = 10201});
  }
}

void Volleys(EnemyRecord& e, int32_t c) {
  SetVolleyValues();
  if ((c >= 311 && c < 380) || c >= 410) e.poseFlag = 1;
  if (c == 312) e.motion.velocityX = 2.0f;
  if (c == 330) BeginBossJump(e, -12.0f);
  if (c == 370) HangBoss(e);
  if (c == 450) {
    e.motion.accelY = 0.2f;
    e.motion.velocityX *= 2.0f;
  }
  if (c == 360) AimedRows(e, 1, 0.0f);
  if (c == 385) AimedRows(e, 2, 120.0f);
  if (c == 410) AimedRows(e, 2, 160.0f);
  if (c >= 360 && c <= 414) e.attackPoseTimer = 16;
  if (BossHardPhase() && c >= 380 && c <= 411 && c % 4 == 0) {
    SetRingValues();
    FireBossVolley(e, {.family = 1, .count = 5, .spread = 360.0f, .rows = 1.0f, .speed = FixedSpeed(4.0f),
                       .angle = static_cast<float>(c - 350) * 4.0f, .speedAccel = -0.1f, .angleAccel = 1.0f,
                       .lifetime = 30, .bulletType = 10400});
    e.attackPoseTimer = 16;
  }
}

void SpiralRings(EnemyRecord& e) {
  const int32_t d = BossDifficulty();
  const int32_t n = d == 0 ? 5 : 9 + d;
  SetSpiralValues(1.1f, 10900);
  FireBossVolley(e, {.family = 3, .count = n, .spread = 360.0f, .speed = FixedSpeed(7.0f), .angle = 180.0f,
                     .speedAccel = -0.1f, .angleAccel = 1.7f, .lifetime = 70, .bulletType = 10900});
  SetSpiralValues(-1.1f, 10903);
  FireBossVolley(e, {.family = 3, .count = n, .spread = 360.0f, .speed = FixedSpeed(7.0f), .angle = 180.0f,
                     .speedAccel = -0.1f, .angleAccel = -1.7f, .lifetime = 70, .bulletType = 10903});
  e.attackPoseTimer = 16;
}

void Fans(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  if (c >= 590 && c < 910 && game.PlayFrameCount % 8 == 0) {
    for (float angle : {180.0f, 0.0f}) {
      FireBossVolley(e, {.family = 1, .count = 4, .spread = 70.0f, .speed = FixedSpeed(8.0f), .angle = angle,
                         .speedAccel = -0.1f, .lifetime = 50, .bulletType = 10801});
    }
  }
  if (c < 590 || c > 890 || c % 50 != 40) return;
  SetFanValues();
  const int32_t m = c % 100 == 40 ? (d == 0 ? 4 : 6) : 5;
  FireBossVolley(e, {.family = 1, .count = m, .spread = 150.0f, .speed = FixedSpeed(1.7f), .angle = 180.0f,
                     .speedAccel = 0.017f, .angleAccel = -1.4f, .lifetime = 90, .bulletType = 10703});
  FireBossVolley(e, {.family = 1, .count = m, .spread = 150.0f, .speed = FixedSpeed(1.7f), .angle = 0.0f,
                     .speedAccel = 0.017f, .angleAccel = 1.4f, .lifetime = 90, .bulletType = 10703});
  e.attackPoseTimer = 6;
}

void Hover(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  SetHoverValues(BossHardPhase());
  HoverWindow(e, c, 2.0f, -13.0f, 949, 0.2f);
  if (c < 580 || c > 949) return;
  if (BossHardPhase()) {
    if (c == 590 || c == 790) SpiralRings(e);
    return;
  }
  Fans(e, c);
}

// The beaten copy: bullets cleared, the screen turned towards the ending,
// the leap, the crash, and the change to stage 151. Its timer runs at two a
// frame up to 250; every later step reads the timer after that step.
void DefeatSequence(EnemyRecord& e) {
  if (e.timer < 250) {
    if (e.timer < 4) {
      for (ShotRecord& b : pools.enemyBullets) b.head.state = kActorFree;
    }
    e.timer += 1;
    e.poseFlag = 1;
    e.motion.velocityX = 0.0f;
    e.animationId = 11;
    game.EndingPhase = 1;
  }
  if (e.timer >= 250) game.EndingTimer += 1;
  if (e.timer == 250) LeapAway(e);
  if (e.timer == 270) PlaySe(assets.seBosscrash);
  if (e.timer == 790) ChangeStageAtPoint(151, 688.0f, 256.0f);
}

}  // namespace

void RunBoss45(EnemyRecord& e) {
  if (e.mode >= 50) {
    DefeatSequence(e);
    return;
  }
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  static constexpr BossWindow kWindows[] = {{0, Beams}, {300, Volleys}, {500, Hover}};
  RunBossWindows(e, kWindows);
}

}  // namespace orb
