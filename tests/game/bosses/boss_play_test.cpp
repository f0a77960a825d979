// Boss fights played to the end through the play frame: a player with held
// hit points and power shoots the boss down, recruits the beaten copy by
// crouching on it, walks out through the opened wall, and finds the room
// empty on the way back. The last boss's copy leaves on its own, room 56's
// door and room 31's mid-boss are played, and marker gaps lead nowhere.
#include "game/bosses/boss_blocks.h"
#include "game/world/save_slots.h"
#include "boss_test_support.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

struct Room {
  int32_t kind, stage, floorRow, exitRight;  // exitRight 0: none
};
const Room kRooms[] = {{29, 16, 13, 17},  {30, 43, 12, 44},  {31, 56, 12, 107}, {32, 70, 12, 74},
                       {33, 87, 12, 88},  {34, 101, 12, 0},  {35, 119, 11, 120}, {36, 136, 11, 137},
                       {37, 146, 12, 147}, {15, 31, 10, 29}};

const Room& RoomOf(int32_t kind) {
  for (const Room& r : kRooms) {
    if (r.kind == kind) return r;
  }
  return kRooms[0];
}

class BossPlay : public PlayerWorld {
 protected:
  // The room's map: a floor, and walls at both edges above it.
  static void Build(const Room& r) {
    for (int stage : {r.stage, r.exitRight, 58}) {
      if (stage != 0) Floor(stage, r.floorRow);
    }
    for (int row = 0; row < r.floorRow; ++row) {
      Paint(r.stage, row, 19, 19, kTileSolid);
      Paint(r.stage, row, 40, 40, kTileSolid);
    }
  }
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
  // the bar is on exactly while the boss has 20 hit points or more. The
  // later bosses start at 20 after their intro, to keep the run short.
  static void ShootDown(const Room& r, float x) {
    Stand(0, x, 32.0f * r.floorRow);
    Until(0, 250, [] { return false; });
    if (r.kind >= 34) pools.enemies[1].hitPoints = 20;
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
    if (r.kind == 15 || r.kind == 37) continue;
    SCOPED_TRACE(r.kind);
    if (r.kind != 29) {
      TearDown();
      SetUp();
    }
    Build(r);
    Begin(r.stage);
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
    if (r.exitRight == 0) continue;
    ASSERT_TRUE(Until(kPadRight, 2000, [&] { return game.CurrentStage == r.exitRight && game.InGameState == 0; }));
    ASSERT_TRUE(Until(kPadLeft, 2000, [&] { return game.CurrentStage == r.stage && game.InGameState == 0; }));
    EXPECT_EQ(game.BossMode, 0);
    EXPECT_EQ(Find(r.kind, 1), nullptr);
  }
}

TEST_F(BossPlay, CopyOf146LeavesOpensTheRightWallAndTheWayLeadsOnUntilAReload) {
  const Room& r = RoomOf(37);
  Build(r);
  game.SaveSlotIndex = 0;
  Begin(r.stage);
  ShootDown(r, 800.0f);
  EnemyRecord* copy = Find(37, 50);
  ASSERT_NE(copy, nullptr);
  EnemyRecord& c = *copy;
  // It stands for 70 frames (its timer at two a frame), then leaves; its
  // first frame ran in the pass that spawned it.
  ASSERT_EQ(c.timer, 2);
  const float x = c.head.x;
  for (int f = 2; f <= 70; ++f) {
    Hold();
    Frame();
    ASSERT_EQ(c.timer, 2 * f) << f;
    if (f < 70) {
      EXPECT_EQ(c.head.x, x);
      EXPECT_EQ(c.animationId, 11);
      EXPECT_EQ(game.TakenItem5AndBosses[146], 0);
    }
  }
  EXPECT_EQ(c.animationId, 8);
  EXPECT_EQ(c.mapCollision, 0);
  EXPECT_GT(c.head.x, x);  // off up and to the right
  EXPECT_EQ(game.TakenItem5AndBosses[146], 1);
  EXPECT_FALSE(Open(r.floorRow - 1, 19));
  EXPECT_TRUE(Open(r.floorRow - 1, 40));
  ASSERT_TRUE(Until(kPadRight, 900, [] { return game.CurrentStage == 147 && game.InGameState == 0; }));
  // The flag is not saved: after a reload the boss of 146 is back.
  ASSERT_TRUE(WriteSaveSlot());
  ResetGameModules();
  ReadSaveSlot();
  EXPECT_EQ(game.TakenItem5AndBosses[146], 0);
  Begin(146);
  EXPECT_EQ(pools.enemies[1].kind, 37);
  EXPECT_EQ(pools.enemies[1].mode, 1);
  EXPECT_EQ(game.BossMode, 1);
}

TEST_F(BossPlay, RoomFiftySixsDoorLeadsToFiftyEight) {
  const Room& r = RoomOf(31);
  Build(r);
  game.StageEventDone[56] = 1;
  Begin(r.stage);
  const EnemyRecord* door = Find(41, 51);
  ASSERT_NE(door, nullptr);
  Until(0, 30, [] { return false; });
  Stand(0, door->head.x, 32.0f * r.floorRow);
  Frame();
  Frame(kPadUp);
  ASSERT_TRUE(Until(0, 40, [] { return game.CurrentStage == 58 && game.InGameState == 0; }));
}

TEST_F(BossPlay, TheMidBossLeavesNoCopyAndOpensItsOwnWalls) {
  const Room& r = RoomOf(15);
  Build(r);
  Begin(r.stage);
  ASSERT_EQ(pools.enemies[1].kind, 15);
  ShootDown(r, 1150.0f);
  EXPECT_EQ(Find(15, 50), nullptr);  // no copy: nothing to recruit
  EXPECT_EQ(game.TakenItem5AndBosses[31], 1);
  EXPECT_TRUE(Open(r.floorRow - 1, 19));
  EXPECT_TRUE(Open(r.floorRow - 1, 40));
}

TEST_F(BossPlay, MarkerGapsLeadNowhereWhileDoorsStillWork) {
  // In stage 146 a gap tagged 1111 opens where the minion comes in; one is
  // laid over the standing player and up is pressed.
  Build(RoomOf(37));
  Begin(146);
  Stand(0, 900, 384.0f);
  Until(0, 210, [] { return false; });  // no input reaches the players during the boss's intro
  const float half = 50.0f;             // the gap's hitbox is 100 wide
  SpawnEnemy(P(0).head.x - half, P(0).head.y - half, 38, 0, 2, 51, 1111, 0, 0, 0, 60.0f, 17.0f, 0, 0, 0, 0, 0, 0, 0,
             3, 0);
  EnemyRecord& gap = LastEnemy();
  ASSERT_EQ(gap.head.state, kActorActive);
  Frame();
  Frame(kPadUp);
  Frames(3);
  EXPECT_EQ(game.CurrentStage, 146);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_EQ(game.WarpGapOpen[146], 0);
  // The same actor with a door's tag is taken, back into 146 itself.
  gap.hitPoints = 1000;
  Frame();
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.WarpGapOpen[146], 1);
  // The door of 147 (tag 1000) still leads to 148.
  game.BossMode = 0;
  Floor(148, 12);
  Begin(147);
  const EnemyRecord& door = pools.enemies[1];
  ASSERT_EQ(door.kind, 38);
  Frames(60);  // the door settles on the floor
  Stand(0, door.head.x, 384.0f);
  Frame();
  Frame(kPadUp);
  EXPECT_EQ(game.CurrentStage, 148);
  EXPECT_EQ(game.WarpGapOpen[147], 1);
}

}  // namespace
}  // namespace orb::test
