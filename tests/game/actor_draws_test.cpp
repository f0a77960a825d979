// What the actors hand to the graph calls: frames inside their sets, the
// piston rod's place, the effect's frames, nothing for shots without a picture.
#include <gtest/gtest.h>

#include <vector>

#include "game/asset_table.h"
#include "game/blocks.h"
#include "game/game_reset.h"
#include "game/game_state.h"
#include "game/graph_calls.h"
#include "game/items.h"
#include "game/pools.h"
#include "game/shots.h"

namespace orb::test {
namespace {

struct Blit {
  int x, y, graph;
};
std::vector<Blit> blits;

class ActorDrawsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
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
