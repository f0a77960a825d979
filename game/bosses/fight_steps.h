// Steps the fights of the later bosses share besides those of boss_blocks.h:
// the difficulty values the tables are written in, hanging in the air, a
// volley from below the muzzle and the attack-value sets written to the
// latest spawn. These bosses pass their attack slot's drift accelerations to
// every volley; the slots are zeroed at spawn and their own writes keep the
// drifts at 0, so the volleys leave the drift fields of BossVolley at 0.
#pragma once

#include <cstdint>

#include "game/bosses/boss_blocks.h"

namespace orb {

int32_t BossDifficulty();  // 0 to 3
float BossExcess();        // max(difficulty - 1, 0)

// A speed that leaves the bullet spawner at v on every difficulty.
float FixedSpeed(float v);

// The boss hangs where it is: both speeds and the gravity 0.
void HangBoss(EnemyRecord& e);

// The floating leap of the 300 window (kinds 34 and 35): guard pose on
// 311-379 and 410-499, x speed 4 at 312, a jump of -17 at 330, from 353 a
// slow fall (gravity 0.02) at a fifth of the x speed, and back at 450
// (gravity 0.7, the x speed five times again).
void FloatingLeapMotion(EnemyRecord& e, int32_t c);

// The hover most later fights end their cycle with: at c 510 the x speed,
// at 540 the jump, from 564 to hangTo hanging, at hangTo + 1 the fall with
// the given gravity and no x speed.
void HoverWindow(EnemyRecord& e, int32_t c, float speedX, float jumpSpeed, int32_t hangTo, float fallGravity);

// A beaten copy leaves: up and to the right through the walls.
void LeapAway(EnemyRecord& e);

// The in-game stage change to a stage, arriving at a point (the scripted
// moves of the ending).
void ChangeStageAtPoint(int32_t stage, float x, float y);

// A volley from below the muzzle (the beams of the last boss).
void FireBossVolleyBelow(EnemyRecord& e, const BossVolley& v, float below);

// Writes both attack slots of the latest spawn with the values every boss
// set shares (slot spread 360, speed 4, spin 3, the rest 0) and the given
// family parameters and follow-up pattern.
struct BossFollowUp {
  float rows = 0.0f, rowStep = 0.0f;  // slot family parameters 1 and 2
  int32_t kind = 0, count = 0;
  float spread = 0.0f;
  int32_t window = 60;
  float layers = 0.0f, step = 0.0f;  // child family values 1 and 2
  float speed = 0.0f, angle = 0.0f, speedAccel = 0.0f, angleAccel = 0.0f;
  int32_t lifetime = 0, bulletType = 0;
};
void SetBossAttackValues(const BossFollowUp& f);

}  // namespace orb
