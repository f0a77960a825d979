#include "game/actor_passes.h"

#include "game/blocks.h"
#include "game/items.h"
#include "game/pools.h"
#include "game/shots.h"

namespace orb {

void RunBlockKeysAndUpdates() {
  ComputeBlockKeys();
  UpdateBlocksNearFirst();
}

void RunItems() {
  for (ItemRecord& r : pools.items) {
    if (r.head.state != kActorFree) MoveItem(r);
  }
}

void RunPlayerShots() {
  for (ShotRecord& r : pools.playerShots) {
    if (r.head.state == kActorActive) UpdatePlayerShot(r);
  }
}

void RunEffects() {
  for (EffectRecord& r : pools.effects) {
    if (r.head.state != kActorFree) StepEffect(r);
  }
}

void RunEnemyBullets() {
  for (ShotRecord& r : pools.enemyBullets) {
    if (r.head.state == kActorActive) UpdateEnemyBullet(r);
  }
}

}  // namespace orb
