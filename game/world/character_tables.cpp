#include "game/world/character_tables.h"

#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"

namespace orb {

// clang-format off
const CharacterParams kCharacterParams[10] = {
  // frames walk   jump   gravity hitH offY half top  bottom ctop cbottom timing          reaches (stand, crouch, air, strong)  spans (stand, crouch, air, strong)            damage     factors by class
  {13, 4.0f,  10.5f,  0.5f,   52, 4, 7, -17, 23, 1, 28, {7, 9, 10, 11},  30, 30, 30, 48, {-17, 7},  {3, 30},  {-23, 7},  {-17, 7},  100, 150, {1.0f, 1.0f, 1.0f, 1.0f}},
  {13, 4.3f,  12.0f,  0.64f,  52, 4, 7, -17, 23, 1, 28, {5, 7, 8, 10},   19, 19, 25, 25, {-7, 7},   {13, 30}, {-7, 7},   {-7, 7},   100, 150, {1.0f, 1.0f, 1.0f, 1.0f}},
  {14, 4.15f, 11.3f,  0.58f,  52, 4, 7, -17, 23, 1, 28, {6, 9, 17, 11},  16, 16, 84, 84, {11, 30},  {11, 30}, {-5, 11},  {-5, 11},  100, 180, {1.0f, 1.0f, 1.0f, 1.0f}},
  {14, 4.61f, 12.55f, 0.685f, 44, 8, 5, -15, 21, 0, 26, {6, 7, 10, 10},  16, 16, 18, 18, {13, 30},  {15, 30}, {0, 16},   {0, 16},   100, 150, {1.0f, 1.0f, 2.0f, 0.3f}},
  {14, 4.0f,  10.5f,  0.5f,   52, 4, 7, -17, 23, 1, 28, {6, 7, 10, 14},  25, 19, 25, 25, {0, 19},   {5, 30},  {0, 19},   {-6, 12},  150, 210, {0.58f, 1.5f, 1.5f, 1.5f}},
  {14, 3.7f,  9.7f,   0.43f,  52, 4, 7, -17, 23, 1, 28, {7, 10, 10, 15}, 20, 20, 20, 25, {-8, 13},  {9, 30},  {-8, 13},  {0, 23},   100, 150, {1.7f, 0.7f, 0.7f, 0.7f}},
  {14, 4.19f, 11.6f,  0.59f,  52, 4, 7, -17, 23, 1, 28, {6, 7, 10, 14},  21, 21, 21, 25, {2, 19},   {11, 30}, {2, 19},   {-5, 11},  100, 210, {1.0f, 1.0f, 1.0f, 1.0f}},
  {14, 4.88f, 15.8f,  0.92f,  44, 8, 5, -15, 21, 0, 26, {5, 6, 8, 9},    18, 18, 20, 20, {-3, 11},  {13, 30}, {11, 30},  {11, 30},  100, 150, {1.0f, 0.7f, 1.0f, 1.0f}},
  {15, 4.5f,  12.88f, 0.685f, 44, 8, 5, -15, 21, 0, 26, {6, 7, 9, 8},    18, 18, 25, 32, {-3, 11},  {17, 30}, {-7, 7},   {-20, 30}, 180, 180, {1.0f, 1.0f, 1.0f, 1.0f}},
  {14, 3.9f,  11.0f,  0.438f, 52, 4, 7, -17, 23, 1, 28, {7, 9, 10, 15},  26, 26, 26, 31, {-11, 15}, {7, 30},  {-11, 15}, {-11, 21}, 160, 210, {1.0f, 0.7f, 1.0f, 1.0f}},
};
// clang-format on

void ApplyCharacter(PlayerRecord* player, int character) {
  if (character < 0 || character > 9) return;
  const CharacterParams& c = kCharacterParams[character];
  ActorHead& h = player->head;
  h.spriteWidth = 128;
  h.spriteHeight = 128;
  h.framePeriod = 2;
  h.frame = 0;
  h.frameCount = c.frameCount;
  h.images = CharacterSheet(character);
  h.hitboxWidth = 22.0f;
  h.hitboxHeight = c.hitboxHeight;
  h.hitboxOffsetX = 0.0f;
  h.hitboxOffsetY = c.hitboxOffsetY;
  h.body = {-c.halfBody, c.bodyTop, c.halfBody, c.bodyBottom, c.crouchTop, c.crouchBottom};
  player->jumpSpeed = c.jumpSpeed;
  player->gravity = c.gravity;
  PlayerParams& p = player->params;
  p.walkSpeed = c.walkSpeed;
  for (int i = 0; i < 4; ++i) {
    p.meleeTiming[i] = c.meleeTiming[i];
    p.damageFactors[i] = c.damageFactors[i];
  }
  p.reachStanding = c.reachStanding;
  p.reachCrouching = c.reachCrouching;
  p.reachAir = c.reachAir;
  p.reachStrong = c.reachStrong;
  p.spanStanding = c.spanStanding;
  p.spanCrouching = c.spanCrouching;
  p.spanAir = c.spanAir;
  p.spanStrong = c.spanStrong;
  p.meleeDamage = c.meleeDamage;
  p.meleeDamageStrong = c.meleeDamageStrong;
}

void SetupPlayerCharacters() {
  for (int i = 0; i < kPlayerCount; ++i) ApplyCharacter(&pools.players[i], game.ActiveCharacter[i]);
}

}  // namespace orb
