// The world-pass steps of the play loop that the blocks, items, shots,
// effects and bullets own. Each visits its pool in slot order.
#pragma once

namespace orb {

void RunBlockKeysAndUpdates();  // keys from the reference player, then the updates near it first
void RunItems();                // fall, slide and land
void RunPlayerShots();          // player shots in state 1
void RunEffects();              // effects: count and fade
void RunEnemyBullets();         // enemy bullets in state 1

}  // namespace orb
