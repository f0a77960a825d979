// The players: movement with stairs and stage exits, collisions with items,
// bullets, blocks and enemies (pickups, damage, recruiting, warp gaps and
// knock-out), shooting with the power gauge, melee attacks and the draw.
// The play loop reaches them through its world hooks (world_players.cpp).
#pragma once

#include <cstdint>

#include "game/actors/actors.h"
#include "game/world/game_state.h"

namespace orb {

// State shared by both players' updates.
struct PlayerPassState {
  uint8_t AttackAllowed;  // recomputed by every player's melee bookkeeping
};

extern PlayerPassState playerPass;

void ResetPlayerPass();

// The roster entry a player plays, or nullptr when its character is not a
// member (the off-field player may hold the life cell, 10).
PartyMember* MemberOf(const PlayerRecord& p);

// Input of the player's own pad: held, newly pressed, newly released bits,
// and whether an action's button is held, pressed or released.
uint32_t HeldBits(const PlayerRecord& p);
uint32_t PressedBits(const PlayerRecord& p);
bool ActionHeld(const PlayerRecord& p, int action);
bool ActionPressed(const PlayerRecord& p, int action);
bool ActionReleased(const PlayerRecord& p, int action);

// --- movement, stairs and exits (player_movement.cpp) ---
void UpdatePlayerMovement(PlayerRecord& p);
// One map step of the player's hitbox by (vx, vy) (the offsets applied).
void MovePlayerBox(PlayerRecord& p, float vx, float vy);
// One diagonal step of the stairs the player is on, down (true) or up.
void StepAlongStairs(PlayerRecord& p, bool down);

// --- collisions, pickups, damage, recruiting, warp gaps (player_collisions.cpp) ---
void UpdatePlayerInteractions(PlayerRecord& p);
void UpdatePlayerKnockout(PlayerRecord& p);
void ApplyItem(PlayerRecord& p, int32_t kind);

// Where a warp gap taken in a stage leads: stage and entry point; the
// player's own x or y where the table keeps it.
struct WarpDestination {
  int32_t stage;
  float x, y;
};
WarpDestination WarpGapDestination(int32_t fromStage, int32_t gapTag, float playerX, float playerY,
                                   float entryX, float entryY);

// Damage factor by difficulty 0..3.
float DifficultyDamageFactor();

// --- shooting (player_shooting.cpp) ---
void UpdatePlayerAttack(PlayerRecord& p);
// Readies the player-shot slot at the ring counter for the next shot: the
// default follow-up pattern, which no character's shots ever change.
void ApplyPlayerShotChildSpec();
void FirePlayerShotPattern(float x, float y, int32_t kind, int32_t count, float spread, float speed, float angle,
                           float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                           int32_t lifetime, int32_t typeCode, int32_t damage, uint8_t damageClass);

// --- melee (player_melee.cpp) ---
void UpdateMeleeBookkeeping(PlayerRecord& p);
void MeleeHitEnemy(PlayerRecord& p, EnemyRecord& e);
void MeleeBreakBlocks(PlayerRecord& p);
// The melee box of the player's current phase and posture (strong: the
// strong box) on the given side: left, top, right, bottom.
WorldBox PlayerMeleeBox(const PlayerRecord& p, bool strong, bool facingRight);

// --- draw (player_draw.cpp) ---
void DrawPlayer(PlayerRecord& p);
void DrawPlayerSprite(PlayerRecord& p);
// The frame DrawPlayerSprite shows, and how: mirrored, and the x offset.
struct PlayerPose {
  int32_t frame;
  bool mirrored;
  int32_t offsetX;
};
PlayerPose ChoosePlayerPose(const PlayerRecord& p);
void DrawPlayerHitboxesDebug(const PlayerRecord& p);

}  // namespace orb
