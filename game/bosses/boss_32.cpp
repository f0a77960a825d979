// Kind 32, the boss of stage 70: single aimed shots from a jittering muzzle
// and aimed fans around two hops, a floating hop with spinning rings (a
// fountain of bursting bullets in the hard phase), layered rings, and a walk
// with aimed sprays.
#include "game/bosses/boss_blocks.h"
#include "game/world/crt_rand.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

// The fountain's follow-up: one bullet heading down and to the left (115
// degrees), growing from rest by 0.05 a frame for 100 frames.
// clang-format off
const AttackSlotsValues kFountainSlots = {360.0f, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                          3.0f, 0.0f, 0, 1, 1, 0.0f, 60, 0.0f, 0.0f, 0.0f,
                                          0.0f, 295.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 100, 10403};
// clang-format on

// The fountain's speed by difficulty: 7.0 as it leaves the muzzle from
// difficulty 1 on (the spawner's scale cancelled), 7.0 scaled at 0.
const float kFountainSpeed[4] = {7.0f, 7.0f, 5.384615f, 4.375f};

float Excess() { return game.DifficultySpeedBonus; }

// One aimed bullet from a muzzle moved 20 px up and then down by 0 to 39.
void JitteredShot(EnemyRecord& e, bool hard) {
  e.muzzleY.value = (e.head.y + 3.0f - 20.0f) + static_cast<float>(Rand() % 40);
  BossVolley v = SlotVolley(e, 2, 1, 0.0f, 0.0f, 0.0f, hard ? 7.0f : 6.0f, hard ? 10300 : 10500);
  v.speedAccel = hard ? 0.0f : -0.1f;
  v.lifetime = hard ? 0 : 20;
  FireBossVolley(e, v);
  e.attackPoseTimer = 16;
}

void AimedFan(EnemyRecord& e, int32_t count, float spread) {
  BossVolley v = SlotVolley(e, 2, count, spread, 0.0f, 0.0f, 7.0f, 11300);
  v.speedAccel = -0.05f;
  v.lifetime = 110;
  FireBossVolley(e, v);
}

void ShotsAndFans(EnemyRecord& e, int32_t c) {
  const int32_t d = game.DifficultyLevel;
  e.poseFlag = 1;
  if (c == 10) {
    e.motion.velocityX = Excess();
    SetEnemyAttackSlots(e, kGrowingRowSlots);
  }
  if (c >= 20 && c <= 99) {
    const bool hard = BossHardPhase();
    const bool fires = hard ? c % 10 == 0 && (d != 0 || c % 20 != 0) : c % 16 == 0 && (d != 0 || c % 32 != 0);
    if (fires) JitteredShot(e, hard);
  }
  if (c == 130) e.motion.velocityX = 2.0f + 0.5f * Excess();
  if (c == 140) BeginBossJump(e, -8.0f);
  if (c == 160) AimedFan(e, 2 * d + 1, 77.0f + 35.0f * Excess());
  if (c == 230) BeginBossJump(e, -11.0f);
  if (c == 250) AimedFan(e, 2 * d + 2, 100.0f + 35.0f * Excess());
}

void RingsOrFountain(EnemyRecord& e, int32_t c) {
  const int32_t d = game.DifficultyLevel;
  if (BossHardPhase()) {
    if (d == 0 && c % 4 != 0) return;
    BossVolley v = SlotVolley(e, 3, 1, 180.0f, 0.0f, 0.0f, kFountainSpeed[d < 4 ? d : 3], 10403);
    v.angle = -90.0f;
    v.speedAccel = -0.1f;
    v.angleAccel = 0.0f;
    v.lifetime = 70;
    FireBossVolley(e, v);
    return;
  }
  if (c % 10 != 0) return;
  BossVolley v = SlotVolley(e, 1, d == 0 ? 11 : 14, 360.0f, 0.0f, 0.0f, d == 0 ? 7.7f : 6.0f - 0.7f * Excess(), 10500);
  v.speedAccel = -0.1f;
  v.angleAccel = 4.0f;
  v.lifetime = 40;
  FireBossVolley(e, v);
}

void FloatingHop(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  if ((c >= 300 && c <= 310) || (c >= 380 && c <= 409)) {
    SetEnemyAttackSlots(e, kPlainRingSlots);
    if (BossHardPhase()) SetEnemyAttackSlots(e, kFountainSlots);
  }
  FloatingHopMotion(e, c);
  if (c >= 350 && c <= 449) RingsOrFountain(e, c);
}

void LayeredRings(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  if (c == 510) {
    e.motion.velocityX = 2.0f + 0.5f * Excess();
    SetEnemyAttackSlots(e, kGrowingRowSlots);
  }
  if (c == 560 || c == 700) BeginBossJump(e, -13.0f);
  const bool burst = (c >= 590 && c <= 609) || (c >= 730 && c <= 749);
  if (burst && c % 7 == 0) {
    BossVolley v =
        SlotVolley(e, 11, game.DifficultyLevel + 10, 360.0f, 3.0f, 0.1f, 4.5f, BossHardPhase() ? 10500 : 11503);
    v.speedAccel = 0.0f;
    v.angleAccel = 0.0f;
    v.lifetime = 0;
    FireBossVolley(e, v);
  }
}

// Aimed sprays of one bullet on every fifth play frame (not cycle frame).
void SprayShot(EnemyRecord& e, float spread, float speed, int32_t bulletType) {
  if (game.DifficultyLevel < 1 || game.PlayFrameCount % 5 != 0) return;
  BossVolley v = SlotVolley(e, 4, 1, spread, 0.0f, 0.0f, speed, bulletType);
  v.speedAccel = -0.1f;
  v.lifetime = 20;
  FireBossVolley(e, v);
}

void WalkAndSprays(EnemyRecord& e, int32_t c) {
  if (c < 810) e.motion.velocityX = 2.0f + 0.5f * Excess();
  e.poseFlag = c >= 830 && c < 950 ? 0 : 1;
  if (c == 850) BeginBossJump(e, -11.0f);
  if (c >= 860 && c <= 879) SprayShot(e, 30.0f, 6.0f, 10500);
  if (c == 951) BeginBossJump(e, -8.0f);
  if (c >= 955 && c <= 974) SprayShot(e, 10.0f, 7.0f, 10300);
}

}  // namespace

void RunBoss32(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {
      {0, ShotsAndFans}, {300, FloatingHop}, {500, LayeredRings}, {800, WalkAndSprays}};
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  RunBossWindows(e, kWindows);
}

}  // namespace orb
