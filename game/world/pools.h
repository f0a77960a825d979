// The fixed actor pools of the play scene, for the whole run.
#pragma once

#include "game/actors/actors.h"

namespace orb {

constexpr int kPlayerCount = 2;
constexpr int kEnemyCount = 128;
constexpr int kBlockCount = 256;
constexpr int kPlayerShotCount = 256;
constexpr int kEnemyBulletCount = 512;
constexpr int kItemCount = 64;
constexpr int kEffectCount = 64;

struct Pools {
  PlayerRecord players[kPlayerCount];  // record 0 is player 1
  EnemyRecord enemies[kEnemyCount];
  BlockRecord blocks[kBlockCount];
  ShotRecord playerShots[kPlayerShotCount];
  ShotRecord enemyBullets[kEnemyBulletCount];
  ItemRecord items[kItemCount];
  EffectRecord effects[kEffectCount];
  int32_t EnemyRingIndex;     // slot of the enemy spawned last
  int32_t PlayerShotRing;     // next player-shot slot, 0 to 254
  int32_t EnemyBulletRing;    // next enemy-bullet slot, 0 to 510
};

extern Pools pools;

// Every record zero, as at program load.
void ResetPools();

// Fills the player links of every enemy, block and shot record.
void LinkObjectPools();

// A link or index from outside data: the record, or nullptr when the
// index lies outside its pool.
BlockRecord* BlockAt(int32_t index);
EnemyRecord* EnemyAt(int32_t index);

// Frees every actor but the players, as a stage begins.
void FreeStageActors();

}  // namespace orb
