// The players' steps of the world pass; their behaviour comes with the
// players' movement, collisions, attacks and draw.
#include "game/world_hooks.h"

namespace orb {

void DrainMember7() {}
void MovePlayers() {}
void UpdateDrawPlayers() {}

}  // namespace orb
