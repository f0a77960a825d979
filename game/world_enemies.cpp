// The enemies' steps of the world pass; their behaviour comes with the
// enemy update and draw.
#include "game/world_hooks.h"

namespace orb {

void UpdateEnemies() {}
void DrawEnemiesBehind() {}
void DrawEnemiesFront() {}

}  // namespace orb
