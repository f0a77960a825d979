// Kind 30, the boss of stage 43: re-configures its own attack slots so that
// its bullets change on the way (braking rings that release aimed shots,
// sprays that release slow growing bullets), with aimed fans between jumps
// and a closing run of hops.
#include <cstddef>

#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

// clang-format off
// Braking rings: each bullet releases one aimed type-10400 shot at 5.0.
const AttackSlotsValues kBrakingRings = {360.0f, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, -0.1f, 0.0f, 0.0f, 0.0f,
                                         3.0f, 0.0f, 40, 2, 1, 0.0f, 60, 0.0f, 0.0f, 0.0f,
                                         5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 10400};
// Sprays: each bullet releases one type-11500 bullet in a random direction,
// starting still and growing by 0.05 a frame for 100 frames...
const AttackSlotsValues kGrowingSprays = {360.0f, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                          3.0f, 0.0f, 30, 3, 1, 360.0f, 60, 0.0f, 0.0f, 0.0f,
                                          0.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 100, 11500};
// ...or by 0.02 a frame for 200 frames.
const AttackSlotsValues kSlowGrowingSprays = {360.0f, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                              3.0f, 0.0f, 30, 3, 1, 360.0f, 60, 0.0f, 0.0f, 0.0f,
                                              0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 200, 11500};
// clang-format on

struct SprayWave {
  int32_t countOverD;
  float speed;
  int32_t lifetime, bulletType;
};

// clang-format off
const SprayWave kSprays590Hard[] = {{4, 5.0f, 20, 11500}, {6, 4.0f, 30, 11500}, {5, 3.5f, 40, 11501},
                                    {4, 3.0f, 50, 11502}, {3, 2.0f, 60, 11503}};
const SprayWave kSprays590[] = {{6, 4.0f, 40, 11500}, {5, 3.5f, 40, 11501}, {4, 3.0f, 40, 11502},
                                {3, 2.0f, 40, 11503}};
const SprayWave kSprays730Hard[] = {{4, 6.0f, 30, 11500}, {6, 5.5f, 40, 11500}, {5, 5.0f, 50, 11501},
                                    {4, 4.0f, 60, 11502}, {3, 3.0f, 70, 11503}};
const SprayWave kSprays730[] = {{6, 5.5f, 50, 11500}, {5, 5.0f, 50, 11501}, {4, 4.0f, 50, 11502},
                                {3, 3.0f, 50, 11503}};
// clang-format on

float Walk(float base) { return base + 0.5f * game.DifficultySpeedBonus; }

void BrakingRings(EnemyRecord& e, int32_t c) {
  if (c == 10) {
    e.motion.velocityX = Walk(2.0f);
    SetEnemyAttackSlots(e, kBrakingRings);
  }
  const int32_t t = c % 100;
  e.poseFlag = t <= 20 ? 1 : 0;
  if (t == 40) BeginBossJump(e, -10.0f);
  if (t != 65) return;
  const int32_t d = game.DifficultyLevel;
  const bool hard = BossHardPhase();
  BossVolley v = SlotVolley(e, 1, hard ? 20 : 12, 360.0f, 0.0f, 0.0f, 0.0f, 10400);
  v.speed = hard ? 12.0f - 1.7f * static_cast<float>(d) : 8.0f - 1.1f * game.DifficultySpeedBonus;
  v.speedAccel = hard ? -0.6f : -0.4f;
  v.lifetime = 20;
  FireBossVolley(e, v);
}

// Up to three aimed fans at once: narrow and fast (hard phase only), then
// wider and slower.
void FanSalvo(EnemyRecord& e) {
  struct Fan {
    int32_t count;
    float spread, speed;
  };
  const Fan fans[] = {{3, 9.0f, 6.0f}, {4, 12.0f, 5.0f}, {5, 15.0f, 4.0f}};
  for (int i = BossHardPhase() ? 0 : 1; i < 3; ++i) {
    BossVolley v = SlotVolley(e, 2, fans[i].count, fans[i].spread, 0.0f, 0.0f, fans[i].speed, 10300);
    v.speedAccel = 0.0f;
    v.lifetime = 20;
    FireBossVolley(e, v);
  }
}

void FansBetweenJumps(EnemyRecord& e, int32_t c) {
  if ((c >= 300 && c <= 310) || (c >= 380 && c <= 409)) {
    e.poseFlag = 1;
    SetEnemyAttackSlots(e, kPlainRingSlots);  // no follow-up
  } else {
    e.poseFlag = c == 450 ? 1 : 0;
  }
  if (c == 309) e.motion.velocityX = Walk(BossHardPhase() ? 3.0f : 2.0f);
  if (c == 330) BeginBossJump(e, -5.0f);
  if (c == 390) {
    e.motion.velocityX = 0.0f;
    BeginBossJump(e, -8.0f);
  }
  if (c == 450) BeginBossJump(e, -8.0f);
  if (c == 400 || c == 460) FanSalvo(e);
}

template <std::size_t N>
void SpraySalvo(EnemyRecord& e, const SprayWave (&waves)[N]) {
  for (const SprayWave& w : waves) {
    BossVolley v = SlotVolley(e, 3, w.countOverD + game.DifficultyLevel, 360.0f, 0.0f, 0.0f, w.speed, w.bulletType);
    v.angleAccel = 0.0f;
    v.lifetime = w.lifetime;
    FireBossVolley(e, v);
  }
}

void Sprays(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  if (c == 510) {
    e.motion.velocityX = Walk(2.0f);
    SetEnemyAttackSlots(e, kGrowingSprays);
  }
  if (c == 700) SetEnemyAttackSlots(e, kSlowGrowingSprays);
  if (c == 560 || c == 700) BeginBossJump(e, -13.0f);
  if (c == 590) {
    if (BossHardPhase()) {
      SpraySalvo(e, kSprays590Hard);
    } else {
      SpraySalvo(e, kSprays590);
    }
  }
  if (c == 730) {
    if (BossHardPhase()) {
      SpraySalvo(e, kSprays730Hard);
    } else {
      SpraySalvo(e, kSprays730);
    }
  }
}

void Hops(EnemyRecord& e, int32_t c) {
  if (c < 810) e.motion.velocityX = Walk(2.0f);
  e.poseFlag = HopWindowPose(c, 890);
  if (c == 850 || c == 885 || c == 950) BeginBossJump(e, -6.0f);
}

}  // namespace

void RunBoss30(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {{0, BrakingRings}, {300, FansBetweenJumps}, {500, Sprays}, {800, Hops}};
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  RunBossWindows(e, kWindows);
}

}  // namespace orb
