// The boss behaviours: one block per boss kind, reached through the per-kind
// table of RunBossAI, and the steps every fight shares. A block works only
// on the record it is given, the bullet and enemy pools and the game state.
#pragma once

#include "game/enemies.h"

namespace orb {

// The fights and scripted actors by kind. Kinds 37, 46 and 47 look at the
// current stage: 46 and 47 act only on stages 151 and 152, 37 is a scripted
// actor there and a boss anywhere else.
void RunBoss15(EnemyRecord& e);
void RunBoss29(EnemyRecord& e);
void RunBoss30(EnemyRecord& e);
void RunBoss31(EnemyRecord& e);
void RunBoss32(EnemyRecord& e);
void RunBoss33(EnemyRecord& e);
void RunBoss34(EnemyRecord& e);
void RunBoss35(EnemyRecord& e);
void RunBoss36(EnemyRecord& e);
void RunBoss37(EnemyRecord& e);
void RunBoss45(EnemyRecord& e);
void RunBoss46(EnemyRecord& e);
void RunBoss47(EnemyRecord& e);

// The steps every fight shares.

// A beaten boss waiting to be recruited (mode 50 and above) only holds its
// pose: guard pose, no x speed, animation row 11. True when it did.
bool HoldBeatenBoss(EnemyRecord& e);

// The hard phase: the boss bar under a third of its full value, tested
// afresh at every use.
bool BossHardPhase();

// Begins a jump at the given (negative) y speed, only from the ground.
// True when the jump began; a jump asked for in the air is dropped.
bool BeginBossJump(EnemyRecord& e, float speedY);

}  // namespace orb
