// The steps of the world pass for gimmick blocks, items, shots, effects and
// enemy bullets; their behaviour comes with those actors.
#include "game/world_hooks.h"

namespace orb {

void UpdateBlockKeysAndBlocks() {}
void DrawBlocks() {}
void UpdateDrawItems() {}
void UpdateDrawPlayerShots() {}
void UpdateDrawEffects() {}
void UpdateDrawEnemyBullets() {}

}  // namespace orb
