// The boss of stage 146: walks and hops with aimed double rows, hangs in the
// air with spinning rings, then summons a minion through a gap and fires
// random-spread volleys. Its beaten copy flies off and opens the right wall.
// On the final stages the same kind is a scripted actor.
#include "game/bosses/fight_steps.h"
#include "game/bosses/final_scenes.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

// The nine aimed calls of a phase-1 volley: rows and fixed speed.
struct RowCall {
  int32_t rows;
  int32_t spacing;  // 0, 1 or 2 steps of 5 d + 25
  float speed;
};
constexpr RowCall kRowCalls[9] = {{1, 0, 2.2f}, {2, 1, 2.0f}, {2, 2, 1.7f}, {1, 0, 2.6f}, {2, 1, 2.4f},
                                  {2, 2, 2.1f}, {1, 0, 3.0f}, {2, 1, 2.7f}, {2, 2, 2.4f}};

void DoubleRows(EnemyRecord& e, bool wide) {
  const int32_t d = BossDifficulty();
  for (int i = 0; i < 9; ++i) {
    const RowCall& r = kRowCalls[i];
    const bool fan = wide && i < 8;  // the ninth call stays a single bullet
    FireBossVolley(e, {.family = 32, .count = fan ? 3 : 1, .spread = wide ? 130.0f : 360.0f,
                       .rows = static_cast<float>(r.rows), .rowStep = static_cast<float>(r.spacing * (5 * d + 25)),
                       .speed = FixedSpeed(r.speed), .angle = e.slotA.angle.value, .speedAccel = 0.17f, .lifetime = 30,
                       .bulletType = 11000});
  }
  e.attackPoseTimer = 16;
}

void Walk(EnemyRecord& e, int32_t c) {
  if (c == 16) {
    e.motion.velocityX = 2.0f;
    e.motion.accelY = 0.3f;
  }
  const int32_t r = c % 150;
  e.poseFlag = (r >= 17 && r <= 40) ? 0 : 1;
  if (r == 50) BeginBossJump(e, -9.0f);
  if (r == 40 || r == 75 || r == 110) {
    DoubleRows(e, false);
    if (BossHardPhase()) DoubleRows(e, true);
  }
}

struct RingPair {
  int32_t c;
  float first, second;
};
constexpr RingPair kRingPairs[6] = {{360, 4.7f, 5.7f}, {370, 4.5f, 5.5f}, {380, 4.3f, 5.2f},
                                    {390, 4.1f, 4.9f}, {400, 3.9f, 4.6f}, {410, 3.7f, 4.3f}};

void Ring(EnemyRecord& e, int32_t pattern, int32_t count, float angle, float speed, float angleAccel, int32_t code) {
  FireBossVolley(e, {.family = pattern, .count = count, .spread = 360.0f, .speed = FixedSpeed(speed),
                     .angle = angle, .speedAccel = -0.03f, .angleAccel = angleAccel, .lifetime = 90, .bulletType = code});
}

void Rings(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  if (BossHardPhase()) {
    if (c < 370 || c % (d == 0 ? 6 : 2) != 0) return;
    const float k = static_cast<float>(c - 350);
    Ring(e, 1, 3, k * 18.0f, 5.0f, 1.0f, 11003);
    Ring(e, 1, 3, -k * 1.4f, 7.0f, -4.0f, 11000);
    e.attackPoseTimer = 16;
    return;
  }
  for (const RingPair& p : kRingPairs) {
    if (p.c != c || (c >= 390 && d < 1)) continue;
    Ring(e, 2, 2 * d + 12, e.slotA.angle.value, p.first, 0.3f, 11003);
    Ring(e, 2, 2 * d + 12, e.slotA.angle.value, p.second, -0.3f, 11000);
    e.attackPoseTimer = 16;
  }
}

void Leap(EnemyRecord& e, int32_t c) {
  if ((c >= 311 && c <= 379) || (c >= 410 && c <= 499)) e.poseFlag = 1;
  if (c == 312) e.motion.velocityX = 2.0f;
  if (c == 330) BeginBossJump(e, -12.0f);
  if (c == 370) HangBoss(e);
  if (c == 450) e.motion.accelY = 0.2f;
  if (c >= 360 && c <= 414) Rings(e, c);
}

void SpawnMinion(bool hard) {
  const int32_t d = BossDifficulty();
  if (hard) {
    SpawnEnemy(960.0f, 112.0f, 26, 0, 6, 42, 10 * (d + 30), 0, 5.0f, 1.7f, 30.0f, 90.0f, 0, 0, 0, 0, 0, 0, 1, 4, 0);
    return;
  }
  if (d == 0) {
    SpawnEnemy(960.0f, 112.0f, 19, 0, 6, 42, 210, 0, 5.0f, 1.7f, 20.0f, 60.0f, 0, 0, 0, 0, 0, 0, 1, 4, 0);
    return;
  }
  SpawnEnemy(960.0f, 112.0f, 19, 0, 6, 32, 10 * d + 300, 0, 5.0f, 1.7f, 20.0f, 60.0f, 0, 0, 0, 0, 0, 0, 1, 4, 10800);
  SetLastEnemyAttackSlot(6, 2, 2 * d + 1, 360.0f, 6, 60, 40, 40, 0, 0, 0, FixedSpeed(5.0f), 0, 0, 0, 0, 0, 0, 0, 0,
                         30);
}

struct SprayVolley {
  int32_t c;
  float direction;
  int32_t single, fan;  // type codes
};
constexpr SprayVolley kSprayVolleys[8] = {{590, 30, 10700, 11500},  {610, 150, 10703, 11503},
                                          {690, 45, 10700, 11500},  {710, 135, 10703, 11503},
                                          {790, 60, 10700, 11500},  {810, 120, 10703, 11503},
                                          {890, 80, 10700, 11500},  {910, 100, 10703, 11503}};

void SprayVolleys(EnemyRecord& e, int32_t c) {
  const int32_t d = BossDifficulty();
  for (const SprayVolley& v : kSprayVolleys) {
    if (v.c != c) continue;
    FireBossVolley(e, {.family = 1, .count = 1, .spread = 1.0f, .speed = FixedSpeed(5.0f), .angle = v.direction,
                       .bulletType = v.single});
    FireBossVolley(e, {.family = 3, .count = 2 * d + 4, .spread = 30.0f, .speed = FixedSpeed(4.1f),
                       .angle = v.direction, .bulletType = v.fan});
    FireBossVolley(e, {.family = 3, .count = 2 * d + 5, .spread = 40.0f, .speed = FixedSpeed(3.2f),
                       .angle = v.direction, .bulletType = v.fan});
    FireBossVolley(e, {.family = 3, .count = 2 * d + 6, .spread = 50.0f, .speed = FixedSpeed(2.5f),
                       .angle = v.direction, .bulletType = v.fan});
    e.attackPoseTimer = 6;
  }
}

void Summon(EnemyRecord& e, int32_t c) {
  e.poseFlag = 1;
  HoverWindow(e, c, 2.0f, -13.0f, 949, 0.2f);
  if (c < 580 || c > 949) return;
  // The gap that shows where the minion comes in; it closes by itself.
  if (c == 581) SpawnEnemy(928.0f, 35.2f, 38, 0, 2, 51, 1111, 0, 0, 0, 60.0f, 17.0f, 0, 0, 0, 0, 0, 0, 0, 3, 0);
  const bool hard = BossHardPhase();
  if (c == 597) SpawnMinion(hard);
  if (hard) {
    if (c % 20 == 0) {
      Ring(e, 1, 3, static_cast<float>(c - 580) * 3.4f, 6.0f, 1.0f, 11003);
      e.attackPoseTimer = 6;
    }
    return;
  }
  SprayVolleys(e, c);
}

// The beaten copy stands 70 frames (its timer runs at two a frame), then
// flies off through the walls, marks the room and opens its right edge.
void LeaveBeaten(EnemyRecord& e) {
  if (e.timer < 140) {
    e.timer += 1;
    e.poseFlag = 1;
    e.motion.velocityX = 0.0f;
    e.animationId = 11;
  }
  if (e.timer != 140) return;
  LeapAway(e);
  SetCurrentStageFlag(game.TakenItem5AndBosses);
  const int32_t column = TruncToInt(game.links.rightBound) / kTileSize + 20;
  if (column < 1 || column >= kTileColumns) return;
  for (int row = 0; row < kTileRows; ++row) tiles.TileMap[row][column] = tiles.TileMap[row][column - 1];
}

}  // namespace

void RunBoss37(EnemyRecord& e) {
  if (game.CurrentStage == 152) {
    RunStage152Actor(e);
    return;
  }
  if (game.CurrentStage == 151) {
    RunStage151Actor(e);
    return;
  }
  if (e.mode >= 50) {
    LeaveBeaten(e);
    return;
  }
  if (HoldBeatenBoss(e) || !StartBossCycle(e)) return;
  static constexpr BossWindow kWindows[] = {{0, Walk}, {300, Leap}, {500, Summon}};
  RunBossWindows(e, kWindows);
}

}  // namespace orb
