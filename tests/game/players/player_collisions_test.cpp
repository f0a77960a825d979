// Player collisions through the play frame: pickups of every kind against
// the table's formulas, bullets and touch with the difficulty and class
// factors, the edge drain, falling out and the hand-over 32 frames later,
// recruiting, warp gaps, member 7's drain and a repeatable long run.
#include <cstring>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/actors/items.h"
#include "game/players/players.h"
#include "game/actors/shots.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class PlayerCollisions : public PlayerWorld {
 protected:
  void SetUp() override {
    PlayerWorld::SetUp();
    StartOnFloor();
  }
  // Spawns an item on the player and lets one frame pick it up.
  static void Take(int kind) {
    SpawnItem(P(0).head.x, P(0).head.y, kind, 0.0f);
    P(0).invulnerableTimer = 100;  // no power regeneration meanwhile
    Frame();
  }
  // A beaten boss's copy (mode 50) of a kind, standing next to the player.
  static EnemyRecord& Copy(int32_t kind, float dx = 30) {
    SpawnEnemy(0, 0, kind, 0, 1, 50, 3500, 1, 0, 0, 60, 17, 0, 0.4f, 0, 0, 0, 0, 0, 3, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.head.x = P(0).head.x + dx;
    e.head.y = P(0).head.y;
    return e;
  }
};

TEST_F(PlayerCollisions, EveryItemKindChangesTheRosterByTheTable) {
  PartyMember& m = game.party[0];  // hit points max 100, power max 110
  struct Pick {
    int kind;
    int32_t hp;
    float power;
    int32_t wantHp;
    float wantPower;
  };
  const Pick picks[] = {
      {0, 50, 20, 50 + (100 / 10 + 10) / 2, 20},   {1, 50, 20, 50, 20 + (110 / 10 + 10)},
      {2, 10, 5, 10 + (100 / 10) * 2 + 20, 5},     {3, 10, 5, 10, 5 + (110 / 10) * 4 + 40},
      {4, 1, 1, 100, 110},
  };
  for (const Pick& p : picks) {
    m.hitPoints = p.hp;
    m.power = p.power;
    Take(p.kind);
    EXPECT_EQ(m.hitPoints, p.wantHp) << p.kind;
    EXPECT_EQ(m.power, p.wantPower) << p.kind;
  }
  game.LivesLeft = 8;
  Take(5);
  Take(5);
  EXPECT_EQ(game.LivesLeft, 9);
  m.hitPointsMax = 250;
  Take(6);
  EXPECT_EQ(m.hitPointsMax, 255);  // not 265
  EXPECT_EQ(m.hitPoints, 255);
  Take(7);
  EXPECT_EQ(m.powerMax, 120);
  EXPECT_EQ(m.power, 120.0f);
  const int32_t hp5 = game.party[5].hitPointsMax, power9 = game.party[9].powerMax;
  Take(8);
  Take(9);
  EXPECT_EQ(game.party[5].hitPoints, hp5 + 20);
  EXPECT_EQ(game.party[9].power, static_cast<float>(power9 + 10));
  EXPECT_EQ(m.hitPointsMax, 255);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(game.ItemCounters[k], 1);
  EXPECT_EQ(game.TakenItem5AndBosses[2] + game.TakenItem6[2] + game.TakenItem7[2] + game.TakenItem8[2] +
                game.TakenItem9[2],
            5);
}

TEST_F(PlayerCollisions, TwoBulletsOnOneFrameCostDamageOnceByDifficultyAndClass) {
  game.DifficultyLevel = 2;  // 1.6
  game.ActiveCharacter[0] = 4;  // class 1: 1.5
  SetupPlayerCharacters();
  Stand(0, 900);
  PartyMember& m = game.party[4];
  const int32_t hp = m.hitPoints;
  for (int i = 0; i < 2; ++i) {
    SetDefaultShotChildSpec(NextEnemyBullet());
    SpawnEnemyBullet(900, P(0).head.y, 0, 0, 0, 0, 0, 0, 10000, 0, 1, 100);  // the type's damage: 15
  }
  Frames(2);
  EXPECT_EQ(m.hitPoints, hp - static_cast<int32_t>(15 * 1.6f * 1.5f));
  EXPECT_EQ(P(0).invulnerableTimer, 62);  // 64, then counted down by the draw
  EXPECT_EQ(pools.enemyBullets[0].head.state, kActorActive);  // bullets fly on

  // A touch costs the class-0 factor: character 4 takes 0.58.
  P(0).invulnerableTimer = 0;
  for (ShotRecord& b : pools.enemyBullets) b.head.state = kActorFree;
  AwakeEnemy(8, 0, 1000, 905, P(0).head.y);  // touch 23
  Frame();
  EXPECT_EQ(m.hitPoints, hp - 36 - static_cast<int32_t>(23 * 1.6f * 0.58f));
}

TEST_F(PlayerCollisions, APlayerLeftOfTheScreenInATwoPlayerGameIsDrainedEveryOtherFrame) {
  Begin(2, 2);
  Stand(0, 620);  // the camera holds at 640: 20 pixels left of the screen
  Stand(1, 900);
  P(0).invulnerableTimer = 1000;
  PartyMember& m = game.party[0];
  Frames(10);  // frames 101 to 110: five even ones
  EXPECT_EQ(m.hitPoints, m.hitPointsMax - 5);
  EXPECT_EQ(m.power, static_cast<float>(m.powerMax) - 2.0f * 5);
  Begin(2);  // alone on the field nobody is drained
  Stand(0, 620);
  Frames(4);
  EXPECT_EQ(m.hitPoints, m.hitPointsMax - 5);
}

TEST_F(PlayerCollisions, FallingOutKnocksOutAndThirtyTwoFramesLaterTheRosterDecides) {
  for (int c = 0; c < kTileColumns; ++c) Map(2).t[13][c] = c >= 25 && c <= 35 ? kTileSolid : 0;
  // Two players: player 1 falls out, player 2 goes on alone.
  Begin(2, 2);
  Stand(1, 900);
  P(0).head.x = 1500;
  P(0).head.y = 540;
  P(0).inAir = 1;
  int frames = 0;
  while (!P(0).knockedOut && frames++ < 20) Frame();
  ASSERT_EQ(P(0).knockedOut, 1);
  EXPECT_GT(P(0).head.y, 550);
  EXPECT_EQ(game.party[0].hitPoints, game.party[0].hitPointsMax);
  Frames(31);
  EXPECT_EQ(P(0).knockedOut, 1);
  EXPECT_EQ(game.party[0].down, 1);
  Frame();
  EXPECT_EQ(P(0).knockedOut, 0);
  EXPECT_EQ(game.OnFieldMode, 2);
  EXPECT_EQ(game.InGameState, 0);

  // One player with a life left: the character change opens, the player
  // back at its last safe standing place.
  Begin(2);
  game.party[0].down = 0;
  Stand(0, 1000);
  Frames(2);
  P(0).head.x = 1500;
  for (frames = 0; frames < 100 && game.InGameState != 2; ++frames) Frame();
  ASSERT_EQ(game.InGameState, 2);
  EXPECT_EQ(P(0).knockedOut, 1);
  EXPECT_EQ(P(0).head.x, 1000.0f);
  EXPECT_EQ(P(0).head.y, 385.0f);

  // No life left and nobody up: game over.
  game.InGameState = 0;
  game.party[0].down = 0;
  game.party[1].down = 1;
  game.LivesLeft = 0;
  P(0).knockedOut = 0;
  P(0).head.x = 1500;
  for (frames = 0; frames < 100 && game.InGameState != 3; ++frames) Frame();
  EXPECT_EQ(game.InGameState, 3);
}

TEST_F(PlayerCollisions, ABossBeatenByShotsIsRecruitedByACrouchingTouch) {
  // Stage 16's boss room, walled at both ends (no exits open them at load).
  Floor(16, 13);
  for (int r = 0; r < 13; ++r) {
    Paint(16, r, 19, 19, kTileSolid);
    Paint(16, r, 40, 40, kTileSolid);
  }
  Begin(16);
  pools.enemies[1].head.state = kActorFree;  // the room's own boss stays out of this test
  game.BossIntroTimer = 209;  // past the intro that holds the players' input
  ASSERT_EQ(tiles.TileMap[5][19], kTileSolid);
  Stand(0, 900);
  P(0).facing = 1;
  // The room's own boss gives way to a kind-29 boss one shot from defeat,
  // awake, to the player's right.
  for (EnemyRecord& e : pools.enemies) e.head.state = kActorFree;
  SpawnEnemy(1100, 300, 29, 0, 1, 1, 20, 1, 0, 0, 111.1f, 17, 0, 0.4f, 0, 0, 0, 0, 0, 0, 0);
  EnemyRecord& boss = LastEnemy();
  const int32_t bossSlot = boss.slot;
  int frames = 0;
  while (boss.head.state != kActorFree && frames++ < 100) Frame(kShoot);
  ASSERT_EQ(boss.head.state, kActorFree);
  EnemyRecord* copy = nullptr;  // the beaten copy, in another slot
  for (EnemyRecord& e : pools.enemies) {
    if (e.head.state != kActorFree && e.kind == 29 && e.mode == 50) copy = &e;
  }
  ASSERT_TRUE(copy && copy->slot != bossSlot);
  Frames(30);  // the copy lands
  PartyMember& m = game.party[2];
  m.hitPoints = 3;
  m.power = 0;
  P(0).head.x = copy->head.x - 20;
  Frame();  // a standing touch does nothing
  EXPECT_EQ(m.joined, 0);
  Frame(kPadDown);
  EXPECT_EQ(m.joined, 1);
  EXPECT_EQ(m.hitPoints, m.hitPointsMax);
  EXPECT_EQ(m.power, static_cast<float>(m.powerMax));
  EXPECT_EQ(game.StageEventDone[16], 1);
  EXPECT_EQ(scenes.JoinedMemberIndex, 2);
  EXPECT_EQ(game.InGameState, 5);
  EXPECT_EQ(copy->head.state, kActorFree);
  // The side walls open: the columns beyond both ends copy the edge columns.
  for (int r = 0; r < kTileRows; ++r) {
    EXPECT_EQ(tiles.TileMap[r][19], tiles.TileMap[r][20]) << r;
    EXPECT_EQ(tiles.TileMap[r][40], tiles.TileMap[r][39]) << r;
  }
  EXPECT_EQ(tiles.TileMap[5][19], kTileOpen);
}

TEST_F(PlayerCollisions, KindThirtyOneLeavesADoorAndKindFortyFiveIsNotRecruited) {
  for (int s : {56, 58}) Floor(s, 13);
  game.StageEventDone[56] = 1;  // no boss fight: the players move at once
  Begin(56);
  Stand(0, 900);
  Copy(45);
  Frame(kPadDown);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_EQ(LastEnemy().head.state, kActorActive);  // the copy stays
  LastEnemy().head.state = kActorFree;
  game.EndingPhase = 0;  // the copy's first frame began the last boss's defeat sequence

  Copy(31);
  Frame(kPadDown);
  EXPECT_EQ(game.party[4].joined, 1);
  EXPECT_EQ(game.InGameState, 5);
  const EnemyRecord& door = LastEnemy();
  EXPECT_EQ(door.kind, 41);
  EXPECT_EQ(door.mode, 51);
  EXPECT_EQ(door.hitPoints, 100);
  EXPECT_FLOAT_EQ(door.head.x, 912.0f + 50);
  // Pressing up at the door leads to stage 58 at x 640, keeping the player's y.
  game.InGameState = 0;
  Frames(40);
  P(0).head.x = door.head.x;
  const float y = P(0).head.y;
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.CurrentStage, 58);
  EXPECT_EQ(game.EntrySide, kEnteredAtPoint);
  EXPECT_EQ(game.EntryX, 640.0f);
  EXPECT_EQ(game.EntryY, y);
  EXPECT_EQ(game.WarpGapOpen[56], 1);
}

TEST_F(PlayerCollisions, WarpGapsLeadWhereTheirTableSays) {
  struct Case {
    int from, tag;
    WarpDestination want;
  };
  const float px = 777, py = 333, ex = 5, ey = 6;
  const Case cases[] = {
      {137, 0, {138, 790.4f, 288}},  {56, 0, {58, 640, py}},         {125, 0, {126, px, py}},
      {129, 0, {128, px, py}},       {100, 0, {1, 1398.4f, 320}},    {17, 1, {1, 1526.4f, 320}},
      {86, 1, {1, 1270.4f, 320}},    {1, 135, {135, 1174.4f, 96}},   {1, 5, {1, ex, ey}},
      {17, 123, {123, 1142.4f, 320}}, {123, 17, {1, 1654.4f, 320}},  {30, 17, {1, 1014.4f, 320}},
      {30, 100, {100, 2038.4f, 128}}, {9, 1, {9, ex, ey}},
  };
  for (const Case& c : cases) {
    const WarpDestination d = WarpGapDestination(c.from, c.tag, px, py, ex, ey);
    EXPECT_EQ(d.stage, c.want.stage) << c.from << " " << c.tag;
    EXPECT_EQ(d.x, c.want.x) << c.from << " " << c.tag;
    EXPECT_EQ(d.y, c.want.y) << c.from << " " << c.tag;
  }

  // Through the play frame: stage 17's gap (kind 38, destination 1).
  Floor(17, 13);
  Begin(17);
  Stand(0, 1000);
  AwakeEnemy(38, 51, 1, 1000, P(0).head.y);
  Frame();
  EXPECT_EQ(game.InGameState, 0);  // touching is not enough
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.CurrentStage, 1);
  EXPECT_EQ(game.EntryX, 1526.4f);
  EXPECT_EQ(game.EntryY, 320.0f);
  EXPECT_EQ(game.WarpGapOpen[17], 1);
}

TEST_F(PlayerCollisions, MemberSevenIsDrainedDownToZeroAndNoFurther) {
  game.ActiveCharacter[1] = 7;  // chosen by the player off the field
  game.party[7].hitPoints = 2;
  game.PlayTimeFrames = 39;
  Frames(200);
  EXPECT_EQ(game.party[7].hitPoints, 0);
  game.CurrentStage = 3;  // not a draining stage
  game.party[7].hitPoints = 5;
  Frames(100);
  EXPECT_EQ(game.party[7].hitPoints, 5);
}

TEST_F(PlayerCollisions, TheLifeCellAndABadRiddenBlockIndexNothing) {
  Begin(2, 2);
  Stand(1, 950);
  game.ActiveCharacter[1] = 10;  // the life cell: no member behind it
  SpawnItem(950, P(1).head.y, 6, 0);
  P(1).riding = 1;
  P(1).riddenBlock = 300;  // beyond the block pool
  Frames(40, kShoot, kShoot | kJump);
  EXPECT_EQ(pools.items[0].head.state, kActorFree);  // taken; only the counters change
  EXPECT_EQ(game.ItemCounters[0], 1);
  EXPECT_EQ(P(1).riding, 0);
}

// Hash of the whole play state after a scripted run.
uint64_t RunAndHash(int players) {
  PlayerWorld::Floor(2, 13);
  PlayerWorld::Paint(2, 13, 60, 70, kTileIce);
  PlayerWorld::Paint(2, 10, 45, 50, kTileOneWay);
  PlayerWorld::Begin(2, players);
  PlayerWorld::Stand(0, 900);
  PlayerWorld::Stand(1, 1000);
  for (int i = 0; i < 6; ++i) {
    SpawnEnemy(1100 + 150 * i, 300, 8, 0, 1, 0, 400, 1, 1.0f, 0, 3, 17, 0, 0.4f, 0, 0, 0, 0, 0, 1, 0);
  }
  const uint32_t script[] = {kPadRight, kPadRight | kShoot, kJump | kPadRight, kDecide, kPadLeft | kShoot,
                             kPadDown, kPadUp | kShoot, 0, kJump, kPadRight | kDecide};
  for (int f = 0; f < 3000; ++f) {
    const uint32_t a = script[(f / 37) % 10], b = script[(f / 23 + 3) % 10];
    PlayerWorld::Frame(f % 3 ? a : a & ~(kJump | kDecide), f % 4 ? b : 0);
    if (game.InGameState != 0) game.InGameState = 0;  // stay in the stage
  }
  uint64_t h = 1469598103934665603ull;
  const auto mix = [&h](const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  };
  mix(&pools, sizeof pools);
  mix(&game, sizeof game);
  return h;
}

TEST_F(PlayerCollisions, TheSameScriptTwiceGivesTheSameStateWithOneAndTwoPlayers) {
  for (int players : {1, 2}) {
    TearDown();
    SetUp();
    const uint64_t first = RunAndHash(players);
    TearDown();
    SetUp();
    const uint64_t second = RunAndHash(players);
    EXPECT_EQ(first, second) << players;
  }
}

}  // namespace
}  // namespace orb::test
