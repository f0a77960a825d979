// Gimmick blocks on a synthetic tile map, the block pass against the plain
// nested walk of the play loop, the wave model, items, and what blocks,
// effects and bullets hand to the graph calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/world/crt_rand.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/actors/items.h"
#include "game/world/pools.h"
#include "game/actors/shots.h"
#include "game/world/tile_map.h"
#include "game/actors/wave_motion.h"

namespace orb::test {
namespace {

class BlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    game.links.leftBound = 640.0f;
    game.links.rightBound = 2560.0f;
    for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[13][c] = tiles.TileMap[14][c] = kTileSolid;  // floor y 416
  }
  // A block of the given kind whose motion values are all 0 but a few.
  static BlockRecord& Block(float left, float top, uint8_t kind, int delay = 0, uint8_t weight = 0) {
    const int slot = SpawnBlock(left, top, 32, 32, assets.blockBlock32, 8, 0, kind, delay, weight, 0, 0, 13, 7, 0,
                                0, 0, 0, 0, 0, 0, 0, 0);
    return pools.blocks[slot];
  }
};

TEST_F(BlocksTest, TriggeredLiftAndPiston) {
  BlockRecord& lift = Block(1000, 200, 10, 60);
  lift.accelY = 0.05f;
  for (int i = 0; i < 30; ++i) UpdateBlock(lift);
  EXPECT_EQ(lift.head.y, 216.0f);  // still until stepped on
  lift.steppedOn = 1;
  for (int frame = 1; frame <= 80; ++frame) {
    UpdateBlock(lift);
    EXPECT_EQ(lift.head.vy != 0.0f, frame >= 60) << frame;
  }

  BlockRecord& piston = Block(1200, 100, 20);
  piston.maxSpeedY = 200;
  piston.phaseStep = 20;
  piston.velocityY = 4;
  for (int frame = 1; frame <= 400; ++frame) {
    UpdateBlock(piston);
    const int c = frame % 200;
    const float expected = c >= 1 && c <= 20 ? 4.0f : c >= 40 && c <= 119 ? -1.0f : 0.0f;
    ASSERT_EQ(piston.head.vy, expected) << frame;
  }
  EXPECT_EQ(piston.head.y, 116.0f);  // 80 down, 80 up per cycle
  piston.maxSpeedY = 0.5f;  // a cycle below 1 stays still
  UpdateBlock(piston);
  EXPECT_EQ(piston.head.vy, 0.0f);
}

TEST_F(BlocksTest, HeavyCrateMovesOnlyForTheStrongCharacters) {
  BlockRecord& crate = Block(640, 384, 1, 0, 150);
  PlayerRecord& p = pools.players[0];
  p.head.hitboxWidth = 20;
  p.head.hitboxHeight = 40;
  p.head.y = 396;
  p.head.vx = 3;
  for (int character : {0, 4}) {
    game.ActiveCharacter[0] = character;
    for (int i = 0; i < 3; ++i) {
      const float before = crate.head.x;
      p.head.x = before - 15 - 11;  // right edge one pixel off the crate's left side
      p.blockContact = 0;
      UpdateBlock(crate);
      EXPECT_EQ(crate.head.x - before, character == 4 ? 5.0f : 0.0f);
      EXPECT_EQ(p.blockContact, character == 4 ? 1 : 0);
    }
  }
  EXPECT_EQ(crate.airborne, 0);
}

TEST_F(BlocksTest, GeneratorsSpawnersAndPoolLimits) {
  BlockRecord& gen = Block(1000, 100, 51);
  gen.period = 30;
  auto live = [] {
    int n = 0;
    for (const BlockRecord& b : pools.blocks) n += b.head.state == kActorActive;
    return n;
  };
  for (int i = 0; i < 75; ++i) UpdateBlock(gen);  // frames 10, 40 and 70
  EXPECT_EQ(live(), 4);
  EXPECT_EQ(pools.blocks[1].head.spriteWidth, 64);
  EXPECT_EQ(pools.blocks[1].head.x, 1000.0f + 32);
  gen.period = 0.9f;  // a period below 1 spawns nothing
  for (int i = 0; i < 60; ++i) UpdateBlock(gen);
  EXPECT_EQ(live(), 4);

  for (int kind : {-1, 3, 7, 8, 16}) EXPECT_EQ(SpawnBlockOfKind(0, 0, kind, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), -1);
  const int belt = SpawnBlockOfKind(700, 300, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
  EXPECT_EQ(pools.blocks[belt].head.images, assets.blockBelt128b);
  EXPECT_EQ(pools.blocks[belt].head.frame, 1);
  while (SpawnBlock(0, 0, 32, 32, nullptr, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0) >= 0) {
  }
  EXPECT_EQ(live(), 256);  // the 257th was refused
}

// The play loop's walk as written: every key pair in order, every slot.
void NestedBlockWalk() {
  for (int row = 20; row >= -4; --row) {
    for (int distance = 0; distance < 200; ++distance) {
      for (BlockRecord& b : pools.blocks) {
        if (b.head.state != kActorFree && b.tileRow == row && b.tileDistance == distance) UpdateBlock(b);
      }
    }
  }
}

TEST_F(BlocksTest, BlockPassMatchesTheNestedWalk) {
  std::mt19937 rng(5);
  auto both = std::make_unique<Pools[]>(2);
  for (int layout = 0; layout < 20; ++layout) {
    ResetPools();
    for (int i = 0; i < 256; ++i) {
      std::uniform_real_distribution<float> x(-2000, 6000), y(-300, 800);
      const uint8_t kinds[] = {0, 1, 51, 53, 52};
      BlockRecord& b = Block(x(rng), y(rng), kinds[rng() % 5]);
      b.head.vx = static_cast<float>(static_cast<int>(rng() % 7) - 3);
      b.period = static_cast<float>(rng() % 40 + 1);
      b.frameCounter = static_cast<int32_t>(rng() % 50);
      b.amplitudeY = 2;
      b.phaseStep = 0.1f;
      if (rng() % 4 == 0) b.head.state = kActorFree;  // stale keys for generators to reuse
    }
    pools.players[0].head.x = static_cast<float>(rng() % 3000);
    for (int frame = 0; frame < 5; ++frame) {
      ComputeBlockKeys();
      both[0] = pools;
      UpdateBlocksNearFirst();
      both[1] = pools;
      pools = both[0];
      NestedBlockWalk();
      ASSERT_EQ(std::memcmp(pools.blocks, both[1].blocks, sizeof pools.blocks), 0) << layout << " " << frame;
    }
  }
  // Far blocks and rows outside -4..20 are not updated.
  ResetPools();
  pools.players[0].head.x = 1000;
  const float tops[3][2] = {{1000 + 4096, 200}, {1000, -200}, {1000, 690}};
  for (const auto& t : tops) Block(t[0], t[1], 1);
  Block(1000 + 4000, 200, 1);
  ComputeBlockKeys();
  UpdateBlocksNearFirst();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pools.blocks[i].frameCounter, 0) << i;
  EXPECT_EQ(pools.blocks[3].frameCounter, 1);
}

TEST_F(BlocksTest, WaveCodesPickPhasesAndSwings) {
  auto run = [](uint8_t code) {
    WaveMotion m{0.5f, 0, 1.0f, 0, 0, 0, 2, 3, 0.25f, 1.0f};
    float vx = 9, vy = 9;
    StepWaveMotion(m, code, &vx, &vy);
    EXPECT_EQ(m.velocityX, 0.5f);
    StepWaveMotion(m, code, &vx, &vy);
    EXPECT_EQ(m.velocityX, 1.0f);  // limited to its maximum
    StepWaveMotion(m, code, &vx, &vy);
    return std::pair<float, float>(vx, vy);
  };
  const double phase = 1.75;
  EXPECT_EQ(run(0), std::make_pair(static_cast<float>(std::cos(phase) * 2 + 1), static_cast<float>(std::sin(phase) * 3)));
  EXPECT_EQ(run(12), std::make_pair(static_cast<float>(std::cos(2 * phase) * 2 + 1), static_cast<float>(std::cos(phase) * 3)));
  EXPECT_EQ(run(63), std::make_pair(static_cast<float>(std::cos(phase) * 2 + 1), static_cast<float>(-std::cos(8 * phase) * 3)));
  EXPECT_EQ(run(72), run(2));
  EXPECT_EQ(run(9), std::make_pair(9.0f, 9.0f));
}

TEST_F(BlocksTest, ItemsFallSlideOnlyInTheAirAndLand) {
  SeedRand(3);
  const int first = Rand() % 61;
  SeedRand(3);
  const int slot = SpawnItem(1000, 300, 6, 0);
  ItemRecord& it = pools.items[slot];
  EXPECT_EQ(it.head.vx, static_cast<float>(3.0 - first / 10.0));
  float x = it.head.x;
  for (int i = 0; i < 40 && it.airborne; ++i) {
    MoveItem(it);
    EXPECT_NEAR(it.head.x - x, it.head.vx, 1e-3);
    x = it.head.x;
  }
  EXPECT_EQ(it.airborne, 0);
  EXPECT_NEAR(it.head.y + 23, 415.0f, 1.0f);  // on the floor at 416
  MoveItem(it);
  EXPECT_EQ(it.head.x, x);
  EXPECT_EQ(ItemDrawFrame(it, 7), 0);
  it.kind = 8;
  EXPECT_EQ(ItemDrawFrame(it, 7), 3);
  EXPECT_EQ(SpawnItem(0, 0, 10, 0), -1);
  while (SpawnItem(0, 0, 0, 0) >= 0) {
  }
  int live = 0;
  for (const ItemRecord& i : pools.items) live += i.head.state == kActorActive;
  EXPECT_EQ(live, 64);
}

struct Blit {
  int x, y, graph;
};
std::vector<Blit> blits;

class ActorDrawsTest : public BlocksTest {
 protected:
  void SetUp() override {
    BlocksTest::SetUp();
    blits.clear();
    graphCalls.blitGraph = [](int x, int y, int graph, int) { return blits.push_back({x, y, graph}), 0; };
    graphCalls.blitGraphRotatedInt = [](int x, int y, double, double, int graph, int, int) {
      return blits.push_back({x, y, graph}), 0;
    };
    // Every handle names its set and piece.
    const AssetEntry* table = AssetTable();
    for (int e = 0; e < AssetTableSize(); ++e) {
      for (int i = 0; i < table[e].pieces; ++i) table[e].handles[i] = e * 100 + i;
    }
    game.CameraScrollX = 640.5f;
  }
  static int SetOf(int graph) { return graph / 100; }
  static int SetOf(const int* images) { return images[0] / 100; }
};

TEST_F(ActorDrawsTest, BlocksDrawOnlyPiecesTheirSetsHold) {
  const int hl = SpawnBlockOfKind(700, 300, 15, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3.0f, 0, 0);
  BlockRecord& b = pools.blocks[hl];
  for (int frame = 0; frame < 3000; frame += 7) {
    b.frameCounter = frame * 431;
    blits.clear();
    DrawBlock(b);
    ASSERT_EQ(blits.size(), 2u);
    EXPECT_EQ(blits[0].graph, assets.blockBlockhk[0]);
    EXPECT_EQ(blits[0].x, 764 - 640 - 8);
    EXPECT_EQ(blits[0].y, 316 - 496);
    EXPECT_EQ(SetOf(blits[1].graph), SetOf(assets.blockBlockhl));
    EXPECT_LT(blits[1].graph % 100, 4);
  }
  b.roll = 0.0f;
  b.head.frame = 6;  // given 8 frames, its set holds 4: only the rod
  blits.clear();
  DrawBlock(b);
  EXPECT_EQ(blits.size(), 1u);
  // Countdown digits ((delay - counter + 19) / 20) mod 10 and arrows stay in their sets.
  b.overlay = 31;
  b.delay = 60;
  for (int32_t counter : {0, 19, 60, 500, INT32_MAX}) {
    b.triggerCounter = counter;
    blits.clear();
    DrawBlock(b);
    EXPECT_EQ(SetOf(blits.back().graph), SetOf(assets.blockSuujired));
    EXPECT_LT(blits.back().graph % 100, 10);
  }
  b.triggerCounter = 19;
  DrawBlock(b);
  EXPECT_EQ(blits.back().graph, assets.blockSuujired[3]);
  b.overlay = 1;  // red arrow: down (row 1), animated once stepped on
  b.head.vy = 1;
  b.steppedOn = 1;
  game.PlayFrameCount = 13;
  DrawBlock(b);
  EXPECT_EQ(blits.back().graph, assets.blockYajirusired[4 + 3]);
  b.overlay = 5;
  blits.clear();
  DrawBlock(b);
  EXPECT_EQ(blits.size(), 1u);
}

TEST_F(ActorDrawsTest, EffectsAndShots) {
  SpawnBurstEffect(900, 200, 45, 1);
  for (int frame = 1; frame <= 31; ++frame) UpdateDrawEffect(pools.effects[0]);
  ASSERT_EQ(blits.size(), 31u);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(blits[i].graph, assets.effectBomb[i + 1]);
  EXPECT_EQ(pools.effects[0].head.state, kActorFree);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(SpawnBurstEffect(0, 0, 0, 1), i);
  EXPECT_EQ(SpawnBurstEffect(0, 0, 0, 1), -1);

  blits.clear();
  const int codes[] = {10203, 10205, 9000, 11403, 11604};
  for (int code : codes) SpawnEnemyBullet(900, 200, 0, 0, 0, 0, 0, 0, code, 1, 0, 10);
  for (int i = 0; i < 5; ++i) DrawEnemyBullet(pools.enemyBullets[i]);
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].graph, assets.effectTamad[3]);
  EXPECT_EQ(blits[1].graph, assets.effectTamaa[12]);
}

}  // namespace
}  // namespace orb::test
