// The steps of the play frame's world pass that the actors fill: each is
// empty until the behaviour of its actor kind is built.
#pragma once

namespace orb {

// Players (world_players.cpp).
void DrainMember7();        // the timed hit-point drain of member 7
void MovePlayers();         // movement of the players on the field
void UpdateDrawPlayers();   // interactions, attacks, knock-out and draw

// Enemies (world_enemies.cpp).
void UpdateEnemies();
void DrawEnemiesBehind();   // kinds 43 and 38, behind the blocks
void DrawEnemiesFront();    // every other kind

// Blocks, items, shots, effects and bullets (world_actors.cpp).
void UpdateBlockKeysAndBlocks();
void DrawBlocks();
void UpdateDrawItems();
void UpdateDrawPlayerShots();
void UpdateDrawEffects();
void UpdateDrawEnemyBullets();

}  // namespace orb
