#include "game/world/pools.h"

#include <cstring>

namespace orb {

Pools pools;

void ResetPools() { std::memset(&pools, 0, sizeof pools); }

namespace {
template <typename Record, int N>
void LinkPlayers(Record (&records)[N]) {
  for (Record& r : records) {
    r.playerLinks[0] = 0;
    r.playerLinks[1] = 1;
  }
}
}  // namespace

void LinkObjectPools() {
  LinkPlayers(pools.blocks);
  LinkPlayers(pools.enemies);
  LinkPlayers(pools.enemyBullets);
  LinkPlayers(pools.playerShots);
}

BlockRecord* BlockAt(int32_t index) {
  return index >= 0 && index < kBlockCount ? &pools.blocks[index] : nullptr;
}

EnemyRecord* EnemyAt(int32_t index) {
  return index >= 0 && index < kEnemyCount ? &pools.enemies[index] : nullptr;
}

void FreeStageActors() {
  for (EnemyRecord& e : pools.enemies) {
    e.head.state = kActorFree;
    e.ridingBlock = 0;
  }
  for (ShotRecord& s : pools.enemyBullets) s.head.state = kActorFree;
  for (ShotRecord& s : pools.playerShots) s.head.state = kActorFree;
  for (ItemRecord& i : pools.items) i.head.state = kActorFree;
  for (EffectRecord& e : pools.effects) e.head.state = kActorFree;
  for (BlockRecord& b : pools.blocks) b.head.state = kActorFree;
}

}  // namespace orb
