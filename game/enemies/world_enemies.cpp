// The enemies' steps of the world pass: the update of every placed, active
// or leaving enemy in slot order, and the two draws (gaps and pendulums
// behind the blocks, every other kind in front).
#include "game/enemies/enemies.h"
#include "game/world/pools.h"
#include "game/actors/sprite_draw.h"
#include "game/scenes/world_hooks.h"

namespace orb {

namespace {

bool DrawnBehind(int32_t kind) { return kind == 38 || kind == 43; }

template <bool Behind>
void DrawEnemies() {
  for (EnemyRecord& e : pools.enemies) {
    const uint8_t s = e.head.state;
    if ((s != kActorActive && s != kEnemyLeaving) || DrawnBehind(e.kind) != Behind) continue;
    DrawEnemy(e);
    DrawHitboxDebug(e.head);
  }
}

}  // namespace

void UpdateEnemies() {
  for (EnemyRecord& e : pools.enemies) {
    const uint8_t s = e.head.state;
    if (s == kEnemyWaiting || s == kActorActive || s == kEnemyLeaving) UpdateEnemy(e);
  }
}

void DrawEnemiesBehind() { DrawEnemies<true>(); }
void DrawEnemiesFront() { DrawEnemies<false>(); }

}  // namespace orb
