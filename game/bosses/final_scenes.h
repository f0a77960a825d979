// The scripted actors of the two final stages (kinds 37, 46 and 47): on
// stage 151 each follows its own timer and kind 46 hands over to stage 152;
// on stage 152 kind 47 steps the ending clock and all three follow it.
#pragma once

#include "game/enemies/enemies.h"

namespace orb {

void RunStage151Actor(EnemyRecord& e);
void RunStage152Actor(EnemyRecord& e);

// Both final stages' blocks for kinds 46 and 47: nothing on other stages.
void RunFinalSceneActor(EnemyRecord& e);

}  // namespace orb
