// Input words and button assignment, the random generator, a new game and
// the character tables, and the pools' links.
#include <random>

#include "game/world/asset_table.h"
#include "game/world/character_tables.h"
#include "game/world/crt_rand.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

class GameStateTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameModules(); }
};

TEST_F(GameStateTest, RandFollowsTheCRuntimeSequence) {
  const int expected[5] = {41, 18467, 6334, 26500, 19169};
  for (int v : expected) EXPECT_EQ(Rand(), v);
  ResetRand();
  EXPECT_EQ(Rand(), 41);
}

TEST_F(GameStateTest, AHeldButtonGivesOnePressedAndOneReleasedFrame) {
  const uint32_t frames[5] = {0, 0x10, 0x10, 0x10 | kPadLeft, 0};
  int pressed = 0, released = 0;
  for (uint32_t bits : frames) {
    UpdatePlayerInput(1, bits);
    pressed += (input.PressedInput[1] & 0x10) != 0;
    released += (input.ReleasedInput[1] & 0x10) != 0;
    EXPECT_EQ(input.HeldInput[1], bits);
  }
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(released, 1);
  EXPECT_EQ(input.PressedInput[0], 0u);  // the other player untouched
}

TEST_F(GameStateTest, AssigningButtonsKeepsFiveDistinctBitsPerPlayer) {
  DefaultPlayerMasks(input.ConfigButtonMasks);
  DefaultPlayerMasks(input.ConfigButtonMasks + 5);
  // Action 2 takes action 4's button: the two swap.
  UpdatePlayerInput(0, 0);
  UpdatePlayerInput(0, 0x100);
  AssignPadButton(0, 2);
  EXPECT_EQ(input.ConfigButtonMasks[2], 0x100u);
  EXPECT_EQ(input.ConfigButtonMasks[4], 0x40u);
  EXPECT_EQ(input.LiveButtonMasks[2], 0u);  // live masks change only when config.ini is written

  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const int player = static_cast<int>(rng() % 2);
    UpdatePlayerInput(player, 0);
    UpdatePlayerInput(player, rng() & 0x3FFF);
    AssignPadButton(static_cast<uint32_t>(player), rng() % 5);
    for (int p = 0; p < 2; ++p) ASSERT_TRUE(PlayerMasksUsable(input.ConfigButtonMasks + p * 5)) << round;
  }
  EXPECT_EQ(GetPadButtonIndex(0x10), 0u);
  EXPECT_EQ(GetPadButtonIndex(0x2000), 9u);
  EXPECT_EQ(GetPadButtonIndex(0x30), 0u);
}

TEST_F(GameStateTest, ANewTwoPlayerGameStartsAtTheHub) {
  game.TitlePlayerCount = 1;
  game.TakenItem7[40] = 1;
  game.StageEventDone[16] = 1;
  pools.blocks[5].head.state = 1;
  game.BossMode = 1;
  game.party[6].joined = 1;
  ResetNewGame();
  EXPECT_EQ(game.OnFieldMode, 1);
  EXPECT_EQ(game.CurrentStage, 1);
  EXPECT_EQ(game.EntrySide, kEnteredAtPoint);
  EXPECT_EQ(game.EntryX, 1280.0f);
  EXPECT_EQ(game.EntryY, 320.0f);
  EXPECT_EQ(game.ActiveCharacter[0], 0);
  EXPECT_EQ(game.ActiveCharacter[1], 1);
  EXPECT_EQ(pools.players[1].playerIndex, 1);
  EXPECT_EQ(game.LivesLeft, 3);
  EXPECT_EQ(game.TakenItem7[40], 0);
  EXPECT_EQ(game.StageEventDone[16], 0);
  EXPECT_EQ(pools.blocks[5].head.state, 0);
  EXPECT_EQ(game.BossMode, 0);
  const int hp[10] = {100, 110, 100, 80, 140, 80, 110, 100, 110, 120};
  const int power[10] = {110, 100, 100, 70, 60, 140, 110, 130, 100, 130};
  for (int m = 0; m < 10; ++m) {
    EXPECT_EQ(game.party[m].joined, m < 2 ? 1 : 0);
    EXPECT_EQ(game.party[m].hitPoints, hp[m]);
    EXPECT_EQ(game.party[m].power, static_cast<float>(power[m]));
  }
  game.TitlePlayerCount = 0;
  ResetNewGame();
  EXPECT_EQ(game.OnFieldMode, 0);
}

TEST_F(GameStateTest, CharacterTablesSetThePlayersRecords) {
  game.ActiveCharacter[0] = 3;
  game.ActiveCharacter[1] = 4;
  SetupPlayerCharacters();
  const PlayerRecord& p1 = pools.players[0];
  const PlayerRecord& p2 = pools.players[1];
  // The short body stands lower.
  EXPECT_EQ(p1.head.hitboxHeight, 44.0f);
  EXPECT_EQ(p1.head.hitboxOffsetY, 8.0f);
  EXPECT_EQ(p1.head.body.left, -5.0f);
  EXPECT_EQ(p1.head.body.right, 5.0f);
  EXPECT_EQ(p1.head.images, assets.grFriska);
  EXPECT_EQ(p1.params.damageFactors[3], 0.3f);
  EXPECT_EQ(p2.params.damageFactors[0], 0.58f);
  EXPECT_EQ(p2.params.damageFactors[1], 1.5f);
  EXPECT_EQ(p2.params.meleeDamageStrong, 210);
  EXPECT_EQ(p2.head.frameCount, 14);
  EXPECT_EQ(p2.jumpSpeed, 10.5f);

  // The life cell (10) handed to a player leaves the record as it was.
  game.ActiveCharacter[1] = 10;
  SetupPlayerCharacters();
  EXPECT_EQ(p2.params.meleeDamage, 150);
  EXPECT_EQ(p2.head.images, assets.grGorvath);
}

TEST_F(GameStateTest, PoolLinksAndIndexesStayInsideThePools) {
  LinkObjectPools();
  EXPECT_EQ(pools.enemies[127].playerLinks[1], 1);
  EXPECT_EQ(pools.enemyBullets[511].playerLinks[0], 0);
  EXPECT_EQ(BlockAt(255), &pools.blocks[255]);
  EXPECT_EQ(BlockAt(256), nullptr);
  EXPECT_EQ(BlockAt(-1), nullptr);
  EXPECT_EQ(EnemyAt(128), nullptr);
  for (auto& e : pools.enemies) e.head.state = kEnemyWaiting;
  pools.items[63].head.state = 1;
  pools.players[0].head.state = 1;
  FreeStageActors();
  EXPECT_EQ(pools.enemies[0].head.state, 0);
  EXPECT_EQ(pools.items[63].head.state, 0);
  EXPECT_EQ(pools.players[0].head.state, 1);
}

TEST_F(GameStateTest, TheLoadListHoldsEveryFileOnce) {
  int graphs = 0, sounds = 0, blank = 0;
  for (int i = 0; i < AssetTableSize(); ++i) {
    const AssetEntry& e = AssetTable()[i];
    if (e.kind == AssetKind::Sound) ++sounds;
    if (e.kind == AssetKind::BlankGraph) ++blank;
    if (e.kind == AssetKind::DividedGraph || e.kind == AssetKind::WholeGraph) ++graphs;
    if (e.kind == AssetKind::DividedGraph) {
      EXPECT_LE(e.pieces, e.across * e.down) << e.file;
    }
    for (int k = 0; k < e.pieces; ++k) EXPECT_EQ(e.handles[k], -1);
  }
  EXPECT_EQ(AssetTableSize(), 230);
  EXPECT_EQ(graphs, 79 + 25 + 42 + 22 + 13 + 4);
  EXPECT_EQ(sounds, 44);
  EXPECT_EQ(blank, 1);
}

}  // namespace
}  // namespace orb::test
