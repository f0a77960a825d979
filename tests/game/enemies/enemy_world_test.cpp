// Scripted runs of enemies on synthetic maps: waking, wave timing, freezing,
// shots against damage factors, defeats and what they leave, and a repeat
// run that must end in the same state.
#include <cstring>

#include "enemy_test_support.h"
#include "game/world/asset_table.h"
#include "game/world/crt_rand.h"
#include "game/graph_calls.h"
#include "game/world/map_collision.h"
#include "game/actors/shots.h"
#include "game/world/tile_map.h"
#include "game/scenes/world_hooks.h"

namespace orb::test {
namespace {

class EnemyWorld : public EnemyTest {
 protected:
  void SetUp() override {
    EnemyTest::SetUp();
    for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[14][c] = kTileSolid;  // floor at y 448
    game.OnFieldMode = 0;
  }

  // A walker of a kind with a 22 x 52 hitbox standing on the floor.
  static EnemyRecord& Walker(float x, int32_t kind, int32_t mode, int32_t hp = 100) {
    SpawnEnemy(x - 11, 448 - 26 - 11, kind, 0, 1, mode, hp, 1, 0, 0, 0, 10, 0, 0.5f, 0, 0, 0, 0, 0, 0, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    return e;
  }

  // A player shot of a damage class laid on the enemy.
  static ShotRecord& ShotOn(const EnemyRecord& e, int32_t damage, uint8_t damageClass) {
    for (ShotRecord& s : pools.playerShots) {
      if (s.head.state != kActorFree) continue;
      s.head.state = kActorActive;
      s.head.x = e.head.x;
      s.head.y = e.head.y;
      s.head.hitboxWidth = s.head.hitboxHeight = 8;
      s.damage = damage;
      s.damageClass = damageClass;
      return s;
    }
    return pools.playerShots[0];
  }

  static std::vector<int> ItemKinds() {
    std::vector<int> k;
    for (const ItemRecord& i : pools.items) {
      if (i.head.state != kActorFree) k.push_back(i.kind);
    }
    return k;
  }
};

TEST_F(EnemyWorld, WakingWaveTimingAndFreezing) {
  game.CameraScrollX = 0;
  SpawnEnemy(720 - 11, 100, 8, 0, 1, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EnemyRecord& far = LastEnemy();
  UpdateEnemy(far);
  EXPECT_EQ(far.head.state, kEnemyWaiting);  // exactly camera + 720
  far.head.x = 719.5f;
  UpdateEnemy(far);
  EXPECT_EQ(far.head.state, kActorActive);

  // G1 walkers of one wave in slots 4 and 5 jump 17 frames apart.
  ResetPools();
  for (int i = 0; i < 3; ++i) Walker(100 + 50 * i, 1, 0);
  EnemyRecord* w[2] = {&Walker(400, 1, 2), &Walker(600, 1, 2)};
  ASSERT_EQ(w[0]->slot, 4);
  std::vector<int> jumps[2];
  for (int frame = 1; frame <= 200; ++frame) {
    for (int k = 0; k < 2; ++k) {
      const uint8_t before = w[k]->airborne;
      UpdateEnemy(*w[k]);
      if (!before && w[k]->airborne && w[k]->motion.velocityY < 0) jumps[k].push_back(frame);
    }
  }
  EXPECT_EQ(jumps[0], (std::vector<int>{42, 97, 152}));
  EXPECT_EQ(jumps[1], (std::vector<int>{25, 80, 135, 190}));

  // Frozen: a kind-8 walker caught in a jump only lands, a boss keeps acting.
  ResetPools();
  EnemyRecord& minion = Walker(300, 8, 1);
  minion.airborne = 1;
  minion.motion.velocityX = 3;
  minion.motion.velocityY = -7;
  EnemyRecord& boss = Walker(600, 29, 0);
  minion.frozenTimer = boss.frozenTimer = 50;
  for (int frame = 0; frame < 40; ++frame) {
    UpdateEnemy(minion);
    UpdateEnemy(boss);
  }
  EXPECT_EQ(minion.timer, 0);
  EXPECT_FLOAT_EQ(minion.head.x, 300);
  EXPECT_EQ(minion.airborne, 0);
  EXPECT_FLOAT_EQ(minion.head.y, 448 - 26);
  EXPECT_EQ(boss.timer, 40);
}

TEST_F(EnemyWorld, ShotsHurtByClassFactors) {
  EnemyRecord& ice = Walker(300, 40, 0, 200);
  ShotRecord& strong = ShotOn(ice, 10, 2);
  HitEnemyByPlayerShots(ice);
  EXPECT_EQ(ice.hitPoints, 100);
  EXPECT_EQ(ice.hitFlash, 2);
  EXPECT_EQ(strong.head.state, kActorFree);
  ice.hitFlash = 0;
  ShotRecord& weak = ShotOn(ice, 10, 1);
  HitEnemyByPlayerShots(ice);
  EXPECT_EQ(ice.hitPoints, 100);
  EXPECT_EQ(ice.hitFlash, 0);
  EXPECT_EQ(weak.head.state, kActorFree);  // used up all the same

  EnemyRecord& e = Walker(600, 8, 0, 10);
  e.damageFactors[0] = 0.9f;
  ShotOn(e, 3, 0);
  HitEnemyByPlayerShots(e);
  EXPECT_EQ(e.hitPoints, 8);  // 2.7 truncated
  ShotOn(e, 40, 0);
  ShotRecord& second = ShotOn(e, 40, 0);
  HitEnemyByPlayerShots(e);
  EXPECT_EQ(e.head.state, kActorFree);
  EXPECT_EQ(second.head.state, kActorActive);  // the first shot killed it
}

// The drop table of kind 8 (table 5), written out here: items per band.
struct Band {
  int last;
  std::vector<int> items;
};
const std::vector<Band> kTable5[2] = {
    {{9, {3, 1}}, {29, {1, 1, 1}}, {69, {1, 1}}, {99, {}}},
    {{0, {5}}, {1, {4}}, {7, {2, 1, 0}}, {15, {0, 1, 0}}, {29, {3, 1, 1}}, {49, {1, 1, 1}}, {99, {1, 1}}},
};

// A rand state whose second draw (the first is the burst angle) lands in r.
uint32_t SeedFor(int r) {
  for (uint32_t s = 1;; ++s) {
    SeedRand(s);
    Rand();
    if (Rand() % 100 == r) return s;
  }
}

TEST_F(EnemyWorld, DefeatsThrowTheDropTables) {
  for (int byTouch = 0; byTouch < 2; ++byTouch) {
    int first = 0;
    for (const Band& band : kTable5[byTouch]) {
      for (int r : {first, band.last}) {
        ResetPools();
        EnemyRecord& e = Walker(300, 8, 0, byTouch ? 0 : 5);
        SeedRand(SeedFor(r));
        if (!byTouch) ShotOn(e, 10, 0);
        HitEnemyByPlayerShots(e);
        EXPECT_EQ(e.head.state, kActorFree);
        EXPECT_EQ(ItemKinds(), band.items) << "touch " << byTouch << " r " << r;
      }
      first = band.last + 1;
    }
  }
  // Kind 2 never drops; kind 15 always drops 2, 0, 0, 0, 5 and opens the walls.
  ResetPools();
  Walker(300, 2, 0, 0);
  HitEnemyByPlayerShots(LastEnemy());
  EXPECT_TRUE(ItemKinds().empty());
  game.CurrentStage = 12;
  game.links.leftBound = 640;
  game.links.rightBound = 9600;  // the right opening falls outside the map
  tiles.TileMap[3][19] = kTileSolid;
  EnemyRecord& boss = Walker(900, 15, 0, 0);
  HitEnemyByPlayerShots(boss);
  EXPECT_EQ(ItemKinds(), (std::vector<int>{2, 0, 0, 0, 5}));
  EXPECT_EQ(game.TakenItem5AndBosses[12], 1);
  EXPECT_EQ(tiles.TileMap[3][19], kTileOpen);
}

TEST_F(EnemyWorld, DefeatsLeaveRecruitsBlocksAndFlags) {
  EnemyRecord& boss = Walker(500, 31, 0, 5);
  ASSERT_EQ(boss.slot, 1);
  const float x = boss.head.x, y = boss.head.y;
  ShotOn(boss, 10, 1);
  HitEnemyByPlayerShots(boss);
  EXPECT_EQ(ItemKinds(), (std::vector<int>{4, 4, 5}));
  EnemyRecord& copy = LastEnemy();
  EXPECT_NE(copy.slot, 1);
  EXPECT_EQ(copy.kind, 31);
  EXPECT_EQ(copy.mode, 50);
  EXPECT_EQ(copy.hitPoints, 3500);
  EXPECT_FLOAT_EQ(copy.head.x, x - 14 + 11);
  EXPECT_FLOAT_EQ(copy.head.y, y - 14 + 11);
  copy.head.state = kActorActive;
  ShotRecord& through = ShotOn(copy, 50, 0);
  HitEnemyByPlayerShots(copy);
  EXPECT_EQ(copy.hitPoints, 3500);
  EXPECT_EQ(through.head.state, kActorActive);

  // In a full pool the copy overwrites another slot, never the boss's own.
  ResetPools();
  EnemyRecord& full = Walker(500, 31, 0, 0);
  for (int i = 0; i < 126; ++i) Walker(100, 8, 0);
  pools.EnemyRingIndex = 0;  // the ring's next pick would be slot 1
  HitEnemyByPlayerShots(full);
  EXPECT_EQ(pools.EnemyRingIndex, 2);
  EXPECT_EQ(pools.enemies[2].mode, 50);
  EXPECT_EQ(pools.enemies[1].head.state, kActorFree);

  ResetPools();
  EnemyRecord& ice = Walker(400, 39, 0, 0);
  HitEnemyByPlayerShots(ice);
  const BlockRecord& b = pools.blocks[0];
  EXPECT_EQ(b.head.state, kActorActive);
  EXPECT_EQ(b.head.images, assets.blockKooria);
  EXPECT_FLOAT_EQ(b.head.x, ice.head.x);

  game.CurrentStage = 33;
  EnemyRecord& sw = Walker(400, 42, 0, 0);
  HitEnemyByPlayerShots(sw);
  EXPECT_EQ(game.StageEventDone[33], 1);
}

// Draws seen through the graph table: graph handle, mirrored, angle.
struct Blit {
  int graph;
  bool mirrored;
  double angle;
};
std::vector<Blit> blits;

TEST_F(EnemyWorld, DrawsFlashFadeTurnAndFaceTheirMotion) {
  graphCalls.blitGraph = [](int, int, int g, int) { blits.push_back({g, false, 0}); return 0; };
  graphCalls.blitGraphMirrored = [](int, int, int g, int) { blits.push_back({g, true, 0}); return 0; };
  graphCalls.blitGraphRotatedInt = [](int, int, double, double a, int g, int, int) {
    blits.push_back({g, false, a});
    return 0;
  };
  static const int sheet[4] = {10, 11, 12, 13};
  EnemyRecord& e = Walker(300, 25, 0);
  e.mapCollision = 0;
  e.head.images = sheet;
  e.motion.velocityX = -1;
  e.hitFlash = 1;
  blits.clear();
  DrawEnemy(e);  // normal, then additive: moving left, mirrored both times
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_TRUE(blits[0].mirrored && blits[1].mirrored);
  EXPECT_EQ(e.facing, 0);
  e.motion.velocityX = 1;
  blits.clear();
  DrawEnemy(e);
  EXPECT_EQ(blits.size(), 1u);
  EXPECT_EQ(e.facing, 1);

  e.head.state = kEnemyLeaving;  // fades over 16 drawn frames, then nothing
  int drawn = 0;
  for (int f = 0; f < 20; ++f) {
    blits.clear();
    DrawEnemy(e);
    drawn += !blits.empty();
  }
  EXPECT_EQ(drawn, 15);

  EnemyRecord& spin = Walker(300, 28, 0);
  spin.head.framePeriod = 3;
  spin.head.images = sheet;
  blits.clear();
  for (int f = 0; f < 2; ++f) DrawEnemy(spin);
  EXPECT_NEAR(blits[1].angle, 6 * 3.14159 / 180, 1e-6);  // 3 degrees a frame
}

uint64_t Hash(uint64_t h, const void* p, size_t n) {
  const auto* b = static_cast<const uint8_t*>(p);
  for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  return h;
}

// A crowded stage: walkers and fliers of every group and mode, firing, for
// 600 frames of the world pass.
uint64_t ScriptedRun() {
  ResetGameModules();
  for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[14][c] = kTileSolid;
  game.DifficultyLevel = 2;
  game.OnFieldMode = 1;
  pools.players[0].head.x = 700;
  pools.players[1].head.x = 900;
  pools.players[0].head.y = pools.players[1].head.y = 400;
  const int kinds[] = {1, 4, 8, 11, 18, 19, 26, 25, 28, 34};
  const int modes[] = {2, 1, 2, 3, 2, 1, 1, 31, 32, 34, 5, 6, 9, 10, 33, 42};
  for (int i = 0; i < 40; ++i) {
    SpawnEnemy(200 + 40.0f * i, 300, kinds[i % 10], 0, 2, modes[i % 16], 50, i % 3 == 0 ? 0 : 1, 1.5f, 1, 30, 40,
               0.05f, 0.3f, 1, 1, 0.1f, 0, i % 7 == 0 ? 12 : 0, 1, 10000 + 100 * (i % 5));
    SetLastEnemyAttackSlot(3, 1 + 10 * (i % 5), 3, 40, 30, 60, 10, 20, 1, 0.2f, i % 2 ? -1.0f : 0.5f, 3, 0, 0, 0, 0,
                           0, 1, 0, 80, i % 4);
  }
  uint64_t h = 1469598103934665603ull;
  for (int frame = 0; frame < 600; ++frame) {
    game.CameraScrollX = frame * 2.0f;
    UpdateEnemies();
    for (ShotRecord& b : pools.enemyBullets) {
      if (b.head.state == kActorActive) UpdateEnemyBullet(b);
    }
  }
  for (const EnemyRecord& e : pools.enemies) {
    const float f[4] = {e.head.x, e.head.y, e.motion.velocityX, e.motion.phase};
    const int32_t i[4] = {e.timer, e.hitPoints, e.head.state, e.slotA.shotCounter.value};
    h = Hash(Hash(h, f, sizeof f), i, sizeof i);
  }
  for (const ShotRecord& b : pools.enemyBullets) {
    const float f[3] = {b.head.x, b.head.y, b.angle};
    h = Hash(Hash(h, f, sizeof f), &b.head.state, 1);
  }
  return h;
}

TEST_F(EnemyWorld, TheSameScriptGivesTheSameState) {
  const uint64_t first = ScriptedRun();
  EXPECT_EQ(first, ScriptedRun());
  int live = 0;
  for (const ShotRecord& b : pools.enemyBullets) live += b.head.state == kActorActive;
  EXPECT_GT(live, 0);
}

}  // namespace
}  // namespace orb::test
