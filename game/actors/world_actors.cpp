// The steps of the world pass for gimmick blocks, items, shots, effects and
// enemy bullets. Each visits its pool in slot order.
#include "game/actors/blocks.h"
#include "game/actors/items.h"
#include "game/world/pools.h"
#include "game/actors/shots.h"
#include "game/actors/sprite_draw.h"
#include "game/scenes/world_hooks.h"

namespace orb {

void UpdateBlockKeysAndBlocks() {
  ComputeBlockKeys();
  UpdateBlocksNearFirst();
}

void DrawBlocks() {
  for (BlockRecord& b : pools.blocks) {
    if (b.head.state != kActorActive) continue;
    DrawBlock(b);
    DrawHitboxDebug(b.head);
  }
}

void UpdateDrawItems() {
  for (ItemRecord& r : pools.items) {
    if (r.head.state == kActorFree) continue;
    MoveItem(r);
    DrawItem(r);
    DrawCollisionBoxesDebug(r.head, false);
  }
}

void UpdateDrawPlayerShots() {
  for (ShotRecord& r : pools.playerShots) {
    if (r.head.state != kActorActive) continue;
    UpdatePlayerShot(r);
    DrawPlayerShot(r);
  }
}

void UpdateDrawEffects() {
  for (EffectRecord& r : pools.effects) {
    if (r.head.state != kActorFree) UpdateDrawEffect(r);
  }
}

void UpdateDrawEnemyBullets() {
  for (ShotRecord& r : pools.enemyBullets) {
    if (r.head.state != kActorActive) continue;
    UpdateEnemyBullet(r);
    DrawEnemyBullet(r);
  }
}

}  // namespace orb
