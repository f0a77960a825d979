// The later fights played to their end through the real play frame, with
// scripted pads: the boss brought down by a shot (its hit points cut to 1,
// the player's held), the beaten copy recruited or gone, the walls opened,
// and the way on; and the marker gaps that lead nowhere.
#include "game/enemies.h"
#include "game/input.h"
#include "game/save_slots.h"
#include "boss_test_support.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class BossFightEnd : public PlayerWorld {
 protected:
  // A boss room: floor on row 13, walls beyond both edges (columns 19, 40).
  static void Room(int stage) {
    Floor(stage, 13);
    for (int r = 0; r < kTileRows; ++r) {
      Map(stage).t[r][19] = kTileSolid;
      Map(stage).t[r][40] = kTileSolid;
    }
  }

  static void HoldPlayers() {
    for (PartyMember& m : game.party) m.hitPoints = m.hitPointsMax > 0 ? m.hitPointsMax : 1000;
  }

  // Frames until the condition holds (at most limit); the number run.
  template <class Until>
  static int RunUntil(int limit, Until until, uint32_t pad = 0) {
    for (int i = 1; i <= limit; ++i) {
      HoldPlayers();
      Frame(pad);
      if (until()) return i;
    }
    return -1;
  }

  // Past the intro, the boss cut to 1 hit point and shot down from x 900.
  // Returns the slot of its beaten copy.
  static int ShootDown(int stage) {
    Room(stage);
    Begin(stage);
    EXPECT_NE(pools.enemies[1].head.state, kActorFree);
    Stand(0, 900);
    Frame(kPadRight);  // facing the boss
    RunUntil(210, [] { return false; });
    pools.enemies[1].hitPoints = 1;
    int copy = -1;
    int n = -1;
    for (int i = 1; i <= 1500 && copy < 0; ++i) {
      HoldPlayers();
      Frame(kShoot);  // shooting all the time, facing the boss
      for (int k = 0; k < kEnemyRingSlots; ++k) {
        if (pools.enemies[k].head.state != kActorFree && pools.enemies[k].mode == 50) copy = k;
      }
      if (copy >= 0) n = i;
    }
    EXPECT_GT(n, 0) << "the boss of stage " << stage << " was never hit";
    return copy;
  }
};

TEST_F(BossFightEnd, BossesOf101To136AreRecruitedAndOpenTheirWalls) {
  const struct {
    int stage, kind, member;
  } rooms[] = {{101, 34, 7}, {119, 35, 8}, {136, 36, 9}};
  for (const auto& r : rooms) {
    SCOPED_TRACE(testing::Message() << "stage " << r.stage);
    if (r.stage != 101) {
      TearDown();
      SetUp();
    }
    const int copy = ShootDown(r.stage);
    ASSERT_GE(copy, 0);
    EXPECT_NE(copy, 1);  // never the beaten boss's own slot
    EXPECT_EQ(pools.enemies[copy].kind, r.kind);
    EXPECT_EQ(game.BossMode, 0);
    // Walk up to the copy and crouch on it.
    EnemyRecord& c = pools.enemies[copy];
    RunUntil(600, [&] { return std::fabs(P(0).head.x - c.head.x) < 30; }, c.head.x > P(0).head.x ? kPadRight : kPadLeft);
    ASSERT_GT(RunUntil(30, [&] { return game.party[r.member].joined == 1; }, kPadDown), 0);
    EXPECT_EQ(game.StageEventDone[r.stage], 1);
    for (int row = 0; row < kTileRows; ++row) {
      EXPECT_EQ(tiles.TileMap[row][19], tiles.TileMap[row][20]);
      EXPECT_EQ(tiles.TileMap[row][40], tiles.TileMap[row][39]);
    }
  }
}

TEST_F(BossFightEnd, CopyOf146LeavesOpensTheRightWallAndTheWayLeadsOnUntilAReload) {
  Room(147);
  Room(146);
  game.SaveSlotIndex = 0;
  const int copy = ShootDown(146);
  ASSERT_GE(copy, 0);
  EnemyRecord& c = pools.enemies[copy];
  EXPECT_EQ(c.kind, 37);
  // It stands for 70 frames (its timer at two a frame), then leaves; its
  // first frame ran in the pass that spawned it.
  ASSERT_EQ(c.timer, 2);
  const float x = c.head.x;
  for (int f = 2; f <= 70; ++f) {
    HoldPlayers();
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
  for (int row = 0; row < kTileRows; ++row) EXPECT_EQ(tiles.TileMap[row][40], tiles.TileMap[row][39]) << row;
  // Out through the right edge into 147.
  ASSERT_GT(RunUntil(900, [] { return game.CurrentStage == 147 && game.InGameState == 0; }, kPadRight), 0);
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

TEST_F(BossFightEnd, MarkerGapsLeadNowhereWhileDoorsStillWork) {
  // In stage 146 a gap tagged 1111 opens where the minion comes in (the
  // entrance gap has closed by the end of the intro); one is laid over the
  // standing player and up is pressed.
  Room(146);
  Begin(146);
  Stand(0, 900);
  RunUntil(210, [] { return false; });  // no input reaches the players during the boss's intro
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
  Room(147);
  Room(148);
  Begin(147);
  const EnemyRecord& door = pools.enemies[1];
  ASSERT_EQ(door.kind, 38);
  Frames(60);  // the door settles on the floor
  Stand(0, door.head.x);
  Frame();
  Frame(kPadUp);
  EXPECT_EQ(game.CurrentStage, 148);
  EXPECT_EQ(game.WarpGapOpen[147], 1);
}

}  // namespace
}  // namespace orb::test
