// Kind 15, the mid-boss of stage 31: walks in from the room's left edge,
// then hops with aimed lines, takes running jumps, fires curling double
// rings and hops again.
#include <initializer_list>

#include "game/bosses/boss_blocks.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

// Walks right for 110 frames with one hop at 30, then stands.
void WalkIn(EnemyRecord& e) {
  e.animationId = 0;
  e.motion.velocityX = e.timer < 110 ? 2.0f : 0.0f;
  if (e.timer == 30) BeginBossJump(e, -11.0f);
}

void HopsAndLines(EnemyRecord& e, int32_t c) {
  if (c == 10) e.motion.velocityX = 2.0f;
  e.poseFlag = 1;
  const int32_t t = c % 100;
  if (t == 40) BeginBossJump(e, -13.0f);
  const bool line = t == 70 || t == 75 || t == 80 || t == 85 || t == 90 || (t == 95 && BossHardPhase());
  if (line) {
    const float rows = static_cast<float>(3 + game.DifficultyLevel);
    FireBossVolley(e, SlotVolley(e, 12, 1, 0.0f, rows, 0.1f, 5.0f, 11503));
  }
}

void RunningJumps(EnemyRecord& e, int32_t c) {
  const float de = game.DifficultySpeedBonus;
  float& speedX = e.motion.velocityX;
  switch (c) {
    case 300:
    case 301:
      e.poseFlag = 1;
      break;
    case 309:
      speedX = (BossHardPhase() ? 5.0f : 3.0f) + de;
      break;
    case 310:
      BeginBossJump(e, -5.0f);
      break;
    case 369:
      speedX = (BossHardPhase() ? 7.0f : 5.0f) + de;
      break;
    case 370:
      BeginBossJump(e, -7.0f);
      break;
    case 419:
      speedX = 3.0f + de;
      break;
    case 420:
      e.poseFlag = 0;
      break;
    case 449:
      speedX *= 2.0f;
      break;
    case 450:
      e.poseFlag = 1;
      BeginBossJump(e, -9.0f);
      break;
    default:
      break;
  }
}

// Two full rings that leave together and curl apart for 110 frames.
void RingPair(EnemyRecord& e) {
  const int32_t count = 2 * game.DifficultyLevel + 14;
  for (const float turn : {1.1f, -1.1f}) {
    BossVolley v = SlotVolley(e, 1, count, 360.0f, 0.0f, 0.0f, 3.0f, 10403);
    v.angleAccel = turn;
    v.lifetime = 110;
    FireBossVolley(e, v);
  }
}

void CurlingRings(EnemyRecord& e, int32_t c) {
  if (c == 510) e.motion.velocityX = 4.0f;
  e.poseFlag = 1;
  if (c == 560 || c == 700) BeginBossJump(e, -13.0f);
  if (c == 590) RingPair(e);
  if ((c == 720 || c == 740) && BossHardPhase()) RingPair(e);
  if (c == 730 && !BossHardPhase()) RingPair(e);
}

void Hops(EnemyRecord& e, int32_t c) {
  if (c < 810) e.motion.velocityX = static_cast<float>(game.DifficultyLevel) + 3.0f;
  e.poseFlag = HopWindowPose(c, 880);
  if (c == 850 || c == 950) BeginBossJump(e, -11.0f);
}

}  // namespace

void RunBoss15(EnemyRecord& e) {
  static constexpr BossWindow kWindows[] = {{0, HopsAndLines}, {300, RunningJumps}, {500, CurlingRings}, {800, Hops}};
  if (HoldBeatenBoss(e)) return;
  if (e.timer < 200) {
    WalkIn(e);
    return;
  }
  StartBossCycle(e);
  RunBossWindows(e, kWindows);
}

}  // namespace orb
