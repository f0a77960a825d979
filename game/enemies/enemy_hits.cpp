// Player shots against enemies, and what a defeat leaves: a burst, items by
// the kind's drop table, and for some kinds a recruit, an ice block, a stage
// flag or opened walls.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/world/crt_rand.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/actors/items.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

WorldBox HitboxOf(const ActorHead& h) { return CentredBox(h, h.hitboxWidth / 2, h.hitboxHeight / 2); }

// A band of a drop table: the last r it covers and up to five item kinds.
struct DropBand {
  int8_t last;
  int8_t items[5];
  int8_t count;
};
struct DropTable {
  int8_t table, byTouch;  // byTouch -1: either
  DropBand bands[9];
  int8_t bandCount;
};

// clang-format off
const DropTable kDropTables[] = {
    {1, 0, {{19, {1}, 1}}, 1},
    {1, 1, {{9, {0}, 1}, {39, {1}, 1}}, 2},
    {2, 0, {{4, {3}, 1}, {29, {1}, 1}}, 2},
    {2, 1, {{9, {0}, 1}, {19, {3}, 1}, {49, {1, 1}, 2}, {69, {1}, 1}}, 4},
    {3, 0, {{9, {3}, 1}, {29, {1, 1}, 2}, {49, {1}, 1}}, 3},
    {3, 1, {{9, {0, 1, 1}, 3}, {14, {0}, 1}, {29, {1, 1, 1}, 3}, {49, {1, 1}, 2}, {99, {1}, 1}}, 5},
    {4, 0, {{9, {3}, 1}, {19, {1, 1, 1}, 3}, {49, {1}, 1}}, 3},
    {4, 1, {{6, {2}, 1}, {14, {0, 1}, 2}, {29, {3, 1, 1}, 3}, {49, {1, 1, 1}, 3}, {99, {1, 1}, 2}}, 5},
    {5, 0, {{9, {3, 1}, 2}, {29, {1, 1, 1}, 3}, {69, {1, 1}, 2}}, 3},
    {5, 1, {{0, {5}, 1}, {1, {4}, 1}, {7, {2, 1, 0}, 3}, {15, {0, 1, 0}, 3}, {29, {3, 1, 1}, 3},
            {49, {1, 1, 1}, 3}, {99, {1, 1}, 2}}, 7},
    {6, 0, {{19, {3, 1, 1}, 3}, {39, {1, 1, 1}, 3}, {79, {1, 1}, 2}}, 3},
    {6, 1, {{0, {5}, 1}, {2, {4}, 1}, {7, {2, 3, 0}, 3}, {15, {0, 0, 0}, 3}, {39, {3, 1, 3}, 3},
            {69, {1, 1, 1}, 3}, {99, {1, 1}, 2}}, 7},
    {7, 0, {{29, {3, 1, 1}, 3}, {59, {1, 1, 1}, 3}, {79, {1, 1}, 2}}, 3},
    {7, 1, {{1, {5}, 1}, {4, {4}, 1}, {9, {2, 3, 0}, 3}, {19, {0, 3, 0}, 3}, {39, {3, 1, 3}, 3},
            {69, {3, 1, 1}, 3}, {99, {1, 1, 1}, 3}}, 7},
    {8, 0, {{29, {3, 3, 1}, 3}, {59, {3, 1, 1}, 3}, {79, {1, 1}, 2}}, 3},
    {8, 1, {{1, {5}, 1}, {4, {4}, 1}, {11, {2, 3, 0}, 3}, {19, {0, 3, 0}, 3}, {39, {3, 0, 3}, 3},
            {69, {3, 1, 1}, 3}, {99, {1, 1, 1}, 3}}, 7},
    {11, -1, {{99, {2, 0, 0, 0, 5}, 5}}, 1},
    {14, 1, {{4, {5}, 1}}, 1},
    {17, -1, {{99, {4, 4, 5}, 3}}, 1},
};
// clang-format on

int32_t DropTableOfKind(int32_t kind) {
  switch (kind) {
    case 1: case 25: return 1;
    case 4: case 7: case 23: return 2;
    case 5: case 28: case 42: return 3;
    case 3: case 6: case 19: case 24: return 4;
    case 8: case 9: case 10: case 11: case 20: case 21: case 22: return 5;
    case 12: case 13: return 6;
    case 14: return 7;
    case 16: case 17: case 18: case 26: case 44: return 8;
    case 15: return 11;
    case 27: return 14;
    case 29: case 30: case 31: case 32: case 33: case 34: case 35: case 36: case 37: case 45: return 17;
    default: return 0;
  }
}

}  // namespace

void HitEnemyByPlayerShots(EnemyRecord& e) {
  bool defeated = false;
  for (int i = 0; i < kPlayerShotCount && !defeated; ++i) {
    ShotRecord& s = pools.playerShots[i];
    if (s.head.state == 0 || static_cast<int8_t>(e.mode) >= 50 || e.kind == 43) continue;
    if (!BoxesOverlap(HitboxOf(e.head), HitboxOf(s.head))) continue;
    const float factor = e.damageFactors[s.damageClass & 3];
    const int32_t damage = TruncToInt(static_cast<float>(s.damage) * factor);
    const int64_t left = static_cast<int64_t>(e.hitPoints) - damage;
    e.hitPoints = static_cast<int32_t>(left < INT32_MIN ? INT32_MIN : left > INT32_MAX ? INT32_MAX : left);
    if (damage > 0) e.hitFlash = 2;
    s.head.state = 0;
    if (e.hitPoints > 0) {
      PlaySe(damage > 0 ? assets.seShothit0 : assets.seShield0);
    } else {
      PlaySe(assets.seBomb0);
      DefeatEnemy(e, 0);
      defeated = true;
    }
  }
  if (e.hitPoints <= 0 && e.head.state == kActorActive) DefeatEnemy(e, 1);
}

void DefeatEnemy(EnemyRecord& e, uint8_t byTouch) {
  SpawnBurstEffect(e.head.x, e.head.y, static_cast<float>(Rand() % 360), 0.8f);
  const int32_t table = DropTableOfKind(e.kind);
  if (table != 0) DropEnemyItems(e, table, byTouch);
  switch (e.kind) {
    case 42:
      PlaySe(assets.seSwitchon);
      SetCurrentStageFlag(game.StageEventDone);
      break;
    case 15:
      SetCurrentStageFlag(game.TakenItem5AndBosses);
      OpenStageWalls(true, true);
      break;
    case 29: case 30: case 31: case 32: case 33: case 34: case 35: case 36: case 37: case 45:
      SpawnBeatenBossCopy(e);
      break;
    case 39:
      SpawnBlock(e.head.x - 32, e.head.y - 32, 64.0f, 64.0f, assets.blockKooria, 2, 1, 1, 0, 1, 0.0f, 0.0f, 13.0f,
                 7.0f, 0.0f, 0.3f, 0, 0, 0, 0, 0, 0, 0);
      break;
    default: break;
  }
  e.head.state = kActorFree;
}

void DropEnemyItems(const EnemyRecord& e, int32_t table, uint8_t byTouch) {
  const int32_t r = Rand() % 100;
  for (const DropTable& t : kDropTables) {
    if (t.table != table || (t.byTouch >= 0 && t.byTouch != (byTouch != 0))) continue;
    for (int b = 0; b < t.bandCount; ++b) {
      if (r > t.bands[b].last) continue;
      for (int i = 0; i < t.bands[b].count; ++i) {
        const float fall = static_cast<float>(Rand() % 20) / 10.0f - 7.0f;
        SpawnItem(e.head.x, e.head.y - 8.0f, t.bands[b].items[i], fall);
      }
      return;
    }
    return;
  }
}

}  // namespace orb
