// The steps of the play frame's world pass, each defined beside the actors
// it runs. The world step (blocks, enemies, players' movement) comes first;
// the draw pass then updates and draws, back to front.
#pragma once

namespace orb {

// Players (world_players.cpp).
void DrainMember7();        // member 7 loses a hit point every 40 frames in its stages
void MovePlayers();         // movement, stairs and exits of the players on the field
void UpdateDrawPlayers();   // player 2 then player 1: pickups, damage, recruiting and
                            // gaps, attacks and draw; a knocked-out player's count instead

// Enemies (world_enemies.cpp).
void UpdateEnemies();       // every placed, active or leaving enemy in slot order:
                            // waking, behaviour and boss behaviour, move, shot hits
void DrawEnemiesBehind();   // kinds 43 and 38, behind the blocks
void DrawEnemiesFront();    // every other kind

// Blocks, items, shots, effects and bullets (world_actors.cpp).
void UpdateBlockKeysAndBlocks();  // distance keys, then the blocks near the players first
void DrawBlocks();                // every active block with its overlay
void UpdateDrawItems();           // motion and draw of each item
void UpdateDrawPlayerShots();     // flight and draw of each player shot
void UpdateDrawEffects();         // burst effects: step and draw
void UpdateDrawEnemyBullets();    // flight and draw of each enemy bullet

}  // namespace orb
