// Kind 29, the boss of stage 16: a ground fighter that summons kind-7
// minions, fires aimed rows of fans while standing and jumping, backsteps
// and dashes at the player, and closes its cycle with hops and bursts.
#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"

namespace orb {

namespace {

struct MinionRow {
  int32_t cycle;
  bool hard;
  int32_t mode;  // 31: the flying shape
  float speed;   // added to the difficulty excess
};

// clang-format off
const MinionRow kMinions[] = {
    {40, true, 5, 4.3f},   {90, true, 31, 4.1f},  {150, true, 7, 4.2f}, {200, true, 8, 3.7f}, {250, true, 31, 3.6f},
    {50, false, 5, 3.0f},  {110, false, 7, 2.7f}, {170, false, 8, 2.4f}, {240, false, 5, 2.0f},
};
// clang-format on

// Minions are never taken back, so a long fight would fill the enemy pool
// and the next spawn would overwrite a live slot, possibly the boss's own.
// One spawn at most while two slots are free keeps a slot for the beaten
// copy the boss leaves.
void SpawnMinion(const EnemyRecord& e, const MinionRow& m) {
  if (CountFreeEnemySlots() < 2) return;
  const float x = e.facing != 0 ? e.head.x + 14.0f : e.head.x - 28.0f;
  const float y = e.head.y - 14.0f;
  const float speed = game.DifficultySpeedBonus + m.speed;
  if (m.mode == 31) {
    SpawnEnemy(x, y, 7, 0, 6, 31, 70, 0, speed, 0.0f, 60.0f, 120.0f, -0.0f, 0.0f, 0.0f, 2.0f, 0.1f, 0.0f, 0, 0, 0);
  } else {
    SpawnEnemy(x, y, 7, 0, 6, m.mode, 200, 1, speed, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  }
}

void Summon(EnemyRecord& e, int32_t c) {
  e.head.vx = 0.0f;
  if (c < 30) return;
  const bool hard = BossHardPhase();
  e.animationId = hard ? 13 : 11;
  for (const MinionRow& m : kMinions) {
    if (m.cycle == c && m.hard == hard) SpawnMinion(e, m);
  }
}

// Three rows of an aimed fan at 5.0, 4.5 and 4.0, then the firing pose.
void AimedRows(EnemyRecord& e, int32_t count, float spread, int32_t bulletType) {
  FireBossVolley(e, SlotVolley(e, 12, count, spread, 3.0f, 0.1f, 5.0f, bulletType));
  e.attackPoseTimer = 16;
}

void StandAndJump(EnemyRecord& e, int32_t c) {
  const int32_t d = game.DifficultyLevel;
  const float de = game.DifficultySpeedBonus;
  e.poseFlag = 1;
  if (c == 300) e.motion.velocityX = 0.0f;
  if (c == 330) BeginBossJump(e, -11.0f);
  if (c == 430) {
    e.motion.velocityX = ByFacing(e, 4.8f);
    BeginBossJump(e, -14.0f);
  }
  if (c == 350 || c == 465) {
    if (BossHardPhase()) {
      AimedRows(e, 2 * d + 5, 30.0f * de + (c == 350 ? 110.0f : 120.0f), 10203);
    } else {
      AimedRows(e, 2 * d + 3, 24.0f * de + 90.0f, 10200);
    }
  }
  if ((c == 356 || c == 471) && BossHardPhase()) {
    AimedRows(e, 2 * d + 5, 30.0f * de + (c == 356 ? 110.0f : 120.0f), 10203);
  }
}

// Three rounds of standing still, a backstep away from the facing and a
// dash that slows; the last dash starts with a jump even in mid-air.
void Dashes(EnemyRecord& e, int32_t c) {
  e.poseFlag = 0;
  const int32_t round = (c - 500) / 100;  // 0, 1, 2
  const int32_t base = 500 + 100 * round;
  const int32_t t = c - base;
  if (t < 30) {
    e.motion.velocityX = 0.0f;
    return;
  }
  if (t < 50) {
    e.animationId = 9;
    e.motion.velocityX = ByFacing(e, static_cast<float>(t - 30) / 10.01f - 2.0f);
    return;
  }
  if (c == 750) ForceBossJump(e, -8.0f);
  const bool hard = BossHardPhase();
  const float top = round == 0 ? (hard ? 13.0f : 10.0f) : (hard ? 16.0f : 13.0f);
  const float slowing = round == 0 ? 5.0f : 3.83f;
  e.animationId = 6;
  e.motion.velocityX = ByFacing(e, top - static_cast<float>(t - 50) / slowing);
}

void HopsAndBursts(EnemyRecord& e, int32_t c) {
  if (c < 810) e.motion.velocityX = 3.0f;
  e.poseFlag = HopWindowPose(c, 880);
  if (c == 850 || c == 950) BeginBossJump(e, -8.0f);
  if (c == 867 || c == 913 || c == 967) {
    const int32_t extra = 2 * TruncToInt(game.DifficultySpeedBonus);
    if (BossHardPhase()) {
      AimedRows(e, extra + 3, 7.0f, 10203);
    } else {
      AimedRows(e, extra + 1, 5.0f, 10203);
    }
  }
}

}  // namespace

void RunBoss29(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {{0, Summon}, {300, StandAndJump}, {500, Dashes}, {800, HopsAndBursts}};
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  RunBossWindows(e, kWindows);
}

}  // namespace orb
