// Boss fights played to the end through the play frame: a player with held
// hit points and power shoots the boss down, recruits the beaten copy by crouching on
// it, walks out through the opened wall, and finds the room empty on the
// way back. Room 56's door and room 31's mid-boss are played as well.
#include "game/bosses/boss_blocks.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

struct Room {
  int32_t kind, stage, floorRow, exitRight;
};
const Room kRooms[] = {{29, 16, 13, 17}, {30, 43, 12, 44}, {31, 56, 12, 107},
                       {32, 70, 12, 74}, {33, 87, 12, 88}, {15, 31, 10, 29}};

class BossPlay : public PlayerWorld {
 protected:
  // The room's map: a floor, and walls at both edges above it.
  static void Build(const Room& r) {
    for (int stage : {r.stage, r.exitRight, 58}) Floor(stage, r.floorRow);
    for (int row = 0; row < r.floorRow; ++row) {
      Paint(r.stage, row, 19, 19, kTileSolid);
      Paint(r.stage, row, 40, 40, kTileSolid);
    }
  }
  static void Enter(const Room& r) { Begin(r.stage); }
  static void Hold() {
    PartyMember& m = game.party[game.ActiveCharacter[0]];
    m.hitPoints = m.hitPointsMax;
    m.power = static_cast<float>(m.powerMax);
  }
  // Frames with the pad held until done() or the limit; false at the limit.
  template <class Done>
  static bool Until(uint32_t pad, int limit, Done done) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      Hold();
      Frame(pad);
    }
    return done();
  }
  static EnemyRecord* Find(int32_t kind, int32_t mode) {
    for (EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.kind == kind && e.mode == mode) return &e;
    }
    return nullptr;
  }
  static bool Open(int row, int col) { return tiles.TileMap[row][col] == kTileOpen; }

  // Shoots from the floor at x, turned toward the boss, until it is gone;
  // the bar is on exactly while the boss has 20 hit points or more.
  static void ShootDown(const Room& r, float x) {
    Stand(0, x, 32.0f * r.floorRow);
    Until(0, 250, [] { return false; });
    const bool ok = Until(kShoot, 20000, [&] {
      const EnemyRecord& b = pools.enemies[1];
      EXPECT_EQ(game.BossMode, b.hitPoints >= 20 ? 1 : 0) << "hit points " << b.hitPoints;
      const bool alive = b.head.state != kActorFree && b.kind == r.kind && b.mode == 1;
      if (alive) P(0).facing = P(0).head.x < b.head.x ? 1 : 0;
      return !alive;
    });
    ASSERT_TRUE(ok) << "kind " << r.kind;
  }
};

TEST_F(BossPlay, EachBossIsShotDownRecruitedAndLeftBehind) {
  for (const Room& r : kRooms) {
    if (r.kind == 15) continue;
    SCOPED_TRACE(r.kind);
    if (r.kind != 29) {
      TearDown();
      SetUp();
    }
    Build(r);
    Enter(r);
    ASSERT_EQ(pools.enemies[1].kind, r.kind);
    ShootDown(r, 800.0f);
    EnemyRecord* copy = Find(r.kind, 50);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->slot, 1);
    const EnemyRecord& gone = pools.enemies[1];                     // keeps its last place
    EXPECT_NEAR(copy->head.x, gone.head.x - 14.0f + 11.0f, 0.01f);  // spawned at x - 14, y - 14, centred
    EXPECT_NEAR(copy->head.y, gone.head.y - 14.0f + 11.0f, 1.0f);   // and falling
    EXPECT_FALSE(Open(r.floorRow - 1, 19));

    // A crouching touch recruits it.
    Stand(0, copy->head.x, 32.0f * r.floorRow);
    ASSERT_TRUE(Until(kPadDown, 60, [&] { return game.InGameState == 5; }));
    const int member = r.kind - 27;
    EXPECT_EQ(game.party[member].joined, 1);
    EXPECT_EQ(scenes.JoinedMemberIndex, member);
    EXPECT_EQ(game.StageEventDone[r.stage], 1);
    EXPECT_TRUE(Open(r.floorRow - 1, 19));
    EXPECT_TRUE(Open(r.floorRow - 1, 40));
    EXPECT_EQ(Find(r.kind, 50), nullptr);
    if (r.kind == 31) {
      EXPECT_NE(Find(41, 51), nullptr);  // the door to stage 58 at once
    }

    // The banner ends; the player walks out through the right wall and back.
    ASSERT_TRUE(Until(0, 400, [] { return game.InGameState == 0; }));
    ASSERT_TRUE(Until(kPadRight, 2000, [&] { return game.CurrentStage == r.exitRight && game.InGameState == 0; }));
    ASSERT_TRUE(Until(kPadLeft, 2000, [&] { return game.CurrentStage == r.stage && game.InGameState == 0; }));
    EXPECT_EQ(game.BossMode, 0);
    EXPECT_EQ(Find(r.kind, 1), nullptr);
  }
}

TEST_F(BossPlay, RoomFiftySixsDoorLeadsToFiftyEight) {
  const Room& r = kRooms[2];
  Build(r);
  game.StageEventDone[56] = 1;
  Enter(r);
  const EnemyRecord* door = Find(41, 51);
  ASSERT_NE(door, nullptr);
  Until(0, 30, [] { return false; });
  Stand(0, door->head.x, 32.0f * r.floorRow);
  Frame();
  Frame(kPadUp);
  ASSERT_TRUE(Until(0, 40, [] { return game.CurrentStage == 58 && game.InGameState == 0; }));
}

TEST_F(BossPlay, TheMidBossOpensItsOwnWallsAndIsBackAfterAReload) {
  const Room& r = kRooms[5];
  Build(r);
  Enter(r);
  ASSERT_EQ(pools.enemies[1].kind, 15);
  ShootDown(r, 1150.0f);
  EXPECT_EQ(Find(15, 50), nullptr);  // no copy: nothing to recruit
  EXPECT_EQ(game.TakenItem5AndBosses[31], 1);
  EXPECT_TRUE(Open(r.floorRow - 1, 19));
  EXPECT_TRUE(Open(r.floorRow - 1, 40));
  game.BossMode = 0;
  for (uint8_t& f : game.TakenItem5AndBosses) f = 0;  // what a reload leaves
  Enter(r);
  EXPECT_EQ(game.BossMode, 1);
  EXPECT_EQ(pools.enemies[1].kind, 15);
}

}  // namespace
}  // namespace orb::test
