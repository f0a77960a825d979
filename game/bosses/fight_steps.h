// Steps the fights of the later bosses share: the opening steps of a fight
// frame, the difficulty values the tables are written in, one volley from
// the muzzle, and the attack-value sets written to the latest spawn.
#pragma once

#include <cstdint>

#include "game/bosses/boss_blocks.h"

namespace orb {

// The beaten pose, the intro, then the attack cycle, animation row 0 and the
// muzzle point 17 px ahead and 3 px below the centre. False when nothing
// more runs this frame.
bool BeginBossFightFrame(EnemyRecord& e);

int32_t BossDifficulty();  // 0 to 3
float BossExcess();        // max(difficulty - 1, 0)

// A speed that leaves the bullet spawner at v on every difficulty.
float FixedSpeed(float v);

// The boss hangs where it is: both speeds and the gravity 0.
void HangBoss(EnemyRecord& e);

// One call of the pattern emitter: mode 0, the record's own pattern state
// and attack-slot drift accelerations, damage 30. Unnamed values are 0.
struct BossVolley {
  int32_t pattern = 0;
  int32_t count = 0;
  float spread = 0.0f;
  float rows = 0.0f;
  float rowStep = 0.0f;
  float speed = 0.0f;  // as passed; FixedSpeed for a fixed one
  float angle = 0.0f;
  float speedAccel = 0.0f;
  float angleAccel = 0.0f;
  int32_t time = 0;  // acceleration time
  int32_t code = 0;  // bullet type code
};
void FireBossVolley(EnemyRecord& e, const BossVolley& v);
// The same from a point below the muzzle.
void FireBossVolleyAt(EnemyRecord& e, const BossVolley& v, float belowMuzzle);

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
  int32_t time = 0, code = 0;
};
void SetBossAttackValues(const BossFollowUp& f);

}  // namespace orb
