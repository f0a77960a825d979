// The ten playable characters' parameters, and writing them into the players.
#pragma once

#include "game/actors/actors.h"

namespace orb {

struct CharacterParams {
  int32_t frameCount;
  float walkSpeed, jumpSpeed, gravity;
  float hitboxHeight, hitboxOffsetY;
  float halfBody, bodyTop, bodyBottom, crouchTop, crouchBottom;
  int32_t meleeTiming[4];
  float reachStanding, reachCrouching, reachAir, reachStrong;
  MeleeSpan spanStanding, spanCrouching, spanAir, spanStrong;
  int32_t meleeDamage, meleeDamageStrong;
  float damageFactors[4];
};

extern const CharacterParams kCharacterParams[10];

// Writes the character's parameters into the player's record; a character
// outside 0-9 leaves the record unchanged.
void ApplyCharacter(PlayerRecord* player, int character);

// Both players from their on-field characters (ActiveCharacter).
void SetupPlayerCharacters();

}  // namespace orb
