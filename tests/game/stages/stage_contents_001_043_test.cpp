// Stages 1 to 43 as their routines set them up: the shared region checks
// against this range's count table, its attack rhythms and its own cases.
#include <algorithm>
#include <utility>

#include "game/world/save_slots.h"
#include "stage_contents_support.h"

namespace orb::test {
namespace {

// clang-format off
const StageSpawnRow kCounts[] = {
    Fixed(1, {9, 0, 0}, {0, 0, 0}, {9, 0, 0}),      // gaps only once their stages' gaps were taken
    ByDifficulty(2, {10, 0, 0}, 8, 9, 10, 10, 0, 0, 0),
    ByDifficulty(3, {16, 0, 0}, 12, 12, 13, 13, 0, 0, 0),
    Fixed(4, {1, 0, 0}),
    Fixed(5, {4, 0, 0}),
    ByDifficulty(6, {11, 1, 0}, 10, 10, 11, 11, 1, 0, 0),
    ByDifficulty(7, {3, 2, 0}, 0, 0, 2, 2, 2, 0, 0),
    ByDifficulty(8, {5, 5, 0}, 1, 3, 3, 5, 5, 0, 0),
    Fixed(9, {3, 0, 0}),
    ByDifficulty(10, {17, 1, 0}, 15, 16, 16, 16, 1, 0, 0),
    ByDifficulty(11, {18, 2, 1}, 16, 18, 18, 18, 2, 1, 0),   // item 5 until taken
    Fixed(12, {0, 32, 1}, {0, 32, 1}, {0, 32, 0}),  // item 7 until taken
    Fixed(13, {1, 2, 0}),
    ByDifficulty(14, {7, 4, 0}, 4, 7, 7, 7, 4, 0, 0),
    ByDifficulty(15, {18, 0, 2}, 12, 16, 17, 18, 0, 2, 1),   // item 6 until taken, item 2 always
    Fixed(16, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),     // the boss until beaten
    Fixed(17, {7, 0, 0}),
    ByDifficulty(18, {11, 0, 0}, 6, 6, 8, 11, 0, 0, 0),
    ByDifficulty(19, {8, 3, 0}, 7, 7, 8, 8, 3, 0, 0),
    ByDifficulty(20, {17, 0, 0}, 12, 14, 16, 17, 0, 0, 0),
    ByDifficulty(21, {5, 0, 0}, 2, 3, 4, 5, 0, 0, 0),
    ByDifficulty(22, {17, 1, 1}, 15, 16, 16, 17, 1, 1, 1),
    ByDifficulty(23, {2, 0, 0}, 0, 0, 2, 2, 0, 0, 0),
    ByDifficulty(24, {4, 0, 0}, 3, 4, 4, 4, 0, 0, 0),
    ByDifficulty(25, {2, 6, 1}, 0, 1, 1, 2, 6, 1, 0),
    Fixed(26, {1, 0, 0}),
    ByDifficulty(27, {8, 2, 1}, 7, 8, 8, 8, 2, 1, 1),
    Fixed(28, {1, 0, 0}),
    ByDifficulty(29, {17, 4, 0}, 14, 16, 17, 17, 4, 0, 0),
    Fixed(30, {1, 2, 0}),
    Fixed(31, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    ByDifficulty(32, {11, 0, 0}, 10, 10, 11, 11, 0, 0, 0),
    Fixed(33, {2, 0, 0}),
    Fixed(34, {12, 4, 0}),
    ByDifficulty(35, {3, 0, 0}, 2, 2, 3, 3, 0, 0, 0),
    ByDifficulty(36, {11, 0, 0}, 10, 10, 11, 11, 0, 0, 0),
    ByDifficulty(37, {1, 2, 0}, 0, 0, 1, 1, 2, 0, 0),
    Fixed(38, {1, 0, 0}),
    Fixed(39, {0, 9, 0}),
    Fixed(40, {0, 4, 1}, {0, 4, 1}, {0, 4, 0}),
    Fixed(41, {3, 0, 0}),
    ByDifficulty(42, {6, 3, 0}, 4, 5, 5, 5, 3, 0, 0),
    Fixed(43, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
};
// clang-format on

// Firing enemies of one stage: how many, from which difficulty to which,
// and the volleys and bullets per volley of one long cycle at each difficulty.
struct RhythmGroup {
  int stage;
  int firstDifficulty, lastDifficulty;
  int enemies;
  SlotRhythm at[4];
};

constexpr SlotRhythm kOnce = {1, 1};
constexpr SlotRhythm kTwice = {2, 1};
constexpr SlotRhythm kSilent = {0, 0};

// clang-format off
const RhythmGroup kRhythms[] = {
    {2, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}}, {2, 1, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {2, 2, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {3, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}}, {3, 0, 3, 1, {{1, 3}, {1, 3}, {1, 3}, {1, 3}}},
    {3, 0, 0, 1, {kSilent}}, {3, 1, 3, 3, {kOnce, kOnce, kOnce, kOnce}}, {3, 2, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {4, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {6, 0, 3, 3, {kOnce, kOnce, kOnce, kOnce}}, {6, 0, 3, 1, {{5, 1}, {10, 1}, {15, 1}, {20, 1}}},
    {6, 0, 3, 1, {{1, 3}, {1, 3}, {1, 3}, {1, 3}}}, {6, 2, 3, 1, {{}, {}, {1, 6}, {1, 9}}},
    {7, 2, 2, 1, {{}, {}, kTwice, {}}}, {7, 2, 3, 1, {{}, {}, kTwice, kTwice}}, {7, 3, 3, 1, {{}, {}, {}, {10, 3}}},
    {8, 1, 3, 2, {{}, {2, 6}, {2, 8}, {2, 10}}}, {8, 3, 3, 1, {{}, {}, {}, {2, 8}}},
    {10, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}}, {10, 0, 3, 2, {kTwice, kTwice, kTwice, kTwice}},
    {10, 1, 1, 1, {{}, {1, 2}, {}, {}}}, {10, 2, 3, 1, {{}, {}, {1, 9}, {1, 12}}},
    {11, 0, 3, 3, {kTwice, kTwice, kTwice, kTwice}}, {11, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {11, 1, 3, 2, {{}, {2, 6}, {2, 6}, {2, 6}}},
    {13, 0, 3, 1, {{1, 1}, {3, 1}, {4, 1}, {5, 1}}},
    {14, 0, 3, 2, {kTwice, kTwice, kTwice, kTwice}}, {14, 1, 3, 2, {{}, kTwice, kTwice, kTwice}},
    {14, 1, 3, 1, {{}, kOnce, kOnce, kOnce}},
    {15, 0, 3, 3, {kTwice, kTwice, kTwice, kTwice}}, {15, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {15, 1, 3, 3, {{}, kTwice, kTwice, kTwice}}, {15, 2, 3, 1, {{}, {}, {1, 6}, {1, 9}}}, {15, 3, 3, 1, {{}, {}, {}, {1, 2}}},
    {17, 0, 3, 1, {{3, 1}, {5, 1}, {8, 1}, {11, 1}}}, {17, 0, 3, 1, {{3, 2}, {5, 2}, {7, 2}, {9, 2}}},
    {17, 0, 3, 1, {{1, 4}, {3, 4}, {3, 4}, {3, 4}}},
    {18, 0, 3, 3, {kOnce, kOnce, kOnce, kOnce}}, {18, 2, 3, 1, {{}, {}, kOnce, kOnce}}, {18, 3, 3, 1, {{}, {}, {}, kOnce}},
    {19, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}}, {19, 2, 3, 1, {{}, {}, kOnce, kOnce}},
    {20, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}}, {20, 3, 3, 1, {{}, {}, {}, kOnce}},
    {21, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}}, {21, 1, 3, 1, {{}, kOnce, kOnce, kOnce}},
    {21, 2, 3, 1, {{}, {}, kOnce, kOnce}}, {21, 3, 3, 1, {{}, {}, {}, kOnce}},
    {22, 0, 3, 1, {{3, 3}, {3, 4}, {3, 5}, {3, 6}}}, {22, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}},
    {22, 0, 3, 1, {{5, 1}, {10, 1}, {15, 1}, {20, 1}}}, {22, 0, 3, 1, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {22, 0, 3, 1, {kSilent, {3, 1}, {6, 1}, {9, 1}}}, {22, 1, 3, 1, {{}, kOnce, kOnce, kOnce}},
    {22, 3, 3, 1, {{}, {}, {}, kOnce}},
    {23, 2, 3, 2, {{}, {}, kOnce, kOnce}},
    {24, 1, 3, 1, {{}, {2, 1}, {6, 1}, {12, 1}}},
    {25, 3, 3, 1, {{}, {}, {}, {5, 3}}},
    {26, 0, 3, 1, {{1, 1}, {1, 3}, {1, 5}, {1, 7}}},
    {27, 0, 3, 2, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}}, {27, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}},
    {27, 1, 3, 1, {{}, {2, 1}, {3, 1}, {4, 1}}},
    {28, 0, 3, 1, {{10, 2}, {20, 3}, {24, 4}, {28, 4}}},
    {29, 0, 3, 4, {kOnce, kOnce, kOnce, kOnce}}, {29, 1, 3, 2, {{}, kOnce, kOnce, kOnce}}, {29, 2, 3, 1, {{}, {}, kOnce, kOnce}},
    {32, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}}, {32, 2, 3, 1, {{}, {}, kOnce, kOnce}},
    {33, 0, 3, 1, {{1, 1}, {3, 1}, {4, 1}, {5, 1}}}, {33, 0, 3, 1, {{1, 4}, {2, 4}, {2, 4}, {2, 4}}},
    {34, 0, 3, 1, {{3, 1}, {5, 1}, {8, 1}, {11, 1}}}, {34, 0, 3, 3, {kOnce, kOnce, kOnce, kOnce}},
    {35, 2, 3, 1, {{}, {}, {1, 3}, {1, 5}}},
    {36, 0, 3, 1, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}}, {36, 0, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {36, 2, 3, 1, {{}, {}, kOnce, kOnce}},
    {37, 2, 3, 1, {{}, {}, {6, 1}, {9, 1}}},
    {38, 0, 3, 1, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
    {41, 0, 3, 1, {{5, 1}, {10, 1}, {15, 1}, {20, 1}}},
    {42, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}}, {42, 0, 3, 2, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}},
    {42, 1, 1, 1, {{}, {1, 2}, {}, {}}}, {42, 2, 3, 1, {{}, {}, {1, 9}, {1, 12}}},
};
// clang-format on

constexpr int kFirstStage = 1, kLastStageHere = 43;

class StageContents001 : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameModules(); }
};

TEST_F(StageContents001, PoolCountsFollowTheTableAtEveryDifficultyAndFlagState) {
  ExpectCountsFollowTheTable(kCounts, kFirstStage, kLastStageHere);
}

TEST_F(StageContents001, ARoutineRunTwiceLeavesOneSet) { ExpectOneSetAfterASecondRun(kFirstStage, kLastStageHere); }

TEST_F(StageContents001, TheHubHoldsAGapToEachStageWhoseGapWasTaken) {
  RunStageAt(1, 1, true);
  std::vector<int> destinations;
  for (int i = 1; i <= 9; ++i) {
    const EnemyRecord& e = pools.enemies[i];
    EXPECT_EQ(e.kind, 38);
    EXPECT_EQ(e.mode, 51);
    EXPECT_FLOAT_EQ(e.head.y - e.head.hitboxWidth / 2, 291.2f);
    destinations.push_back(e.hitPoints);
  }
  EXPECT_EQ(destinations, (std::vector<int>{17, 123, 135, 30, 44, 55, 73, 86, 100}));
  // Only the gaps whose stages were reached the long way.
  RunStageAt(1, 1, false);
  game.WarpGapOpen[73] = 1;
  RunStageSetup(1);
  ASSERT_EQ(CountSpawns(), (Spawns{1, 0, 0}));
  EXPECT_EQ(pools.enemies[1].hitPoints, 73);
}

TEST_F(StageContents001, Stage2WalkersSpeedUpWithTheDifficulty) {
  const float speeds[4] = {1.0f, 1.0f, 2.0f, 3.0f};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(2, d, false);
    const int first = d >= 2 ? 3 : 2;  // the flier of difficulty 2 comes first
    for (int i = first; i < first + 4; ++i) {
      EXPECT_EQ(pools.enemies[i].kind, 1);
      EXPECT_FLOAT_EQ(std::fabs(pools.enemies[i].motion.velocityX), speeds[d]) << "difficulty " << d;
    }
  }
}

// The rooms beside the first boss room end its fight either way.
TEST_F(StageContents001, BossRoomsHoldTheirBossUntilItIsBeatenAndTheirNeighboursEndTheFight) {
  ExpectBossRoomsHoldTheirBoss(kFirstStage, kLastStageHere);
  for (int stage : {15, 17}) {
    RunStageAt(stage, 0, false);
    game.BossMode = 1;
    RunStageSetup(stage);
    EXPECT_EQ(game.BossMode, 0);
  }
}

// The mid-boss of stage 31 is beaten only until the slot is read back,
// while a beaten boss of stage 16 stays beaten.
TEST_F(StageContents001, TheMidBossReturnsAfterAReloadOfTheSaveSlot) {
  RunStageAt(31, 1, false);
  game.TakenItem5AndBosses[31] = 1;
  game.StageEventDone[16] = 1;
  game.BossMode = 0;
  RunStageSetup(31);
  EXPECT_EQ(CountSpawns().enemies, 0);
  std::vector<uint8_t> save(1936);
  EncodeSaveFile(save.data());
  ResetGameState();
  DecodeSaveFile(save.data());
  EXPECT_EQ(game.StageEventDone[16], 1);
  game.CurrentStage = 31;
  RunStageSetup(31);
  EXPECT_EQ(CountEnemiesOfKind(15), 1);
  game.CurrentStage = 16;
  game.BossMode = 0;  // as the room before it leaves it
  RunStageSetup(16);
  EXPECT_EQ(CountEnemiesOfKind(29), 0);
}

TEST_F(StageContents001, GapsBackToTheHubStandWhereTheHubLandsThePlayers) {
  const HubGap gaps[] = {{17, 1000, 1526.4f, 320.0f}, {30, 1000, 822.4f, 352.0f}};
  ExpectHubGapsStandWhereTheHubLands(gaps, 2, false);
}

TEST_F(StageContents001, Stage12LaysItsRowOfFallingBlocks) {
  RunStageAt(12, 0, false);
  int row = 0;
  for (int i = 0; i < 27; ++i) {
    const BlockRecord& b = pools.blocks[i];
    EXPECT_EQ(b.motionKind, 10);
    EXPECT_FLOAT_EQ(b.head.x, 1056.0f + 32 * i + 16);
    EXPECT_FLOAT_EQ(b.head.y, 192.0f + 16);
    row += b.head.state == kActorActive;
  }
  EXPECT_EQ(row, 27);
}

// The rushing walkers of stage 10 had no speed of their own at difficulty 0:
// they take the one of difficulty 1.
TEST_F(StageContents001, Stage10RushersMoveAtDifficulty0AsAt1) {
  const float speeds[4] = {120.0f, 120.0f, 70.0f, 70.0f};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(10, d, false);
    int rushers = 0;
    for (const EnemyRecord& e : pools.enemies) {
      if (e.head.state == kActorFree || e.kind != 1 || std::fabs(e.motion.velocityX) < 10.0f) continue;
      EXPECT_FLOAT_EQ(std::fabs(e.motion.velocityX), speeds[d]) << "difficulty " << d;
      ++rushers;
    }
    EXPECT_EQ(rushers, 4);
  }
}

// Stage 22's kind 27 fires 3 + difficulty bullets that fly at 2.0 on the
// screen at every difficulty.
TEST_F(StageContents001, Stage22FanKeepsItsSpeedOnScreen) {
  for (int d = 0; d < 4; ++d) {
    RunStageAt(22, d, false);
    EnemyRecord& e = pools.enemies[1];
    ASSERT_EQ(e.kind, 27);
    const int32_t before = pools.EnemyBulletRing;
    FireSlotVolley(e);
    ASSERT_EQ(pools.EnemyBulletRing - before, 3 + d);
    const ShotRecord& s = pools.enemyBullets[before];
    EXPECT_NEAR(std::hypot(s.head.vx, s.head.vy), 2.0f, 1e-4) << "difficulty " << d;
  }
}

// Besides the edges and stairs: the hub's gaps land at nine points, and
// the gaps of 17 and 30 (from the hub) at one each.
TEST_F(StageContents001, EveryWayInRuns600FramesAlikeTwiceE2E) {
  std::vector<LandingPoint> points;
  for (float x : {1398.4f, 1526.4f, 1654.4f, 1782.4f, 886.4f, 758.4f, 1142.4f, 1270.4f, 1014.4f})
    points.push_back({1, x, 320.0f});
  points.insert(points.end(), {{17, 1526.4f, 320.0f}, {30, 822.4f, 352.0f}});
  ExpectEveryWayInRunsAlike(kFirstStage, kLastStageHere, points);
}

TEST_F(StageContents001, AttackSlotsFireTheirRhythmOverOneLongCycle) {
  for (int stage = kFirstStage; stage <= kLastStageHere; ++stage) {
    for (int d = 0; d < 4; ++d) {
      std::vector<std::string> want, got;
      for (const RhythmGroup& g : kRhythms) {
        if (g.stage != stage || d < g.firstDifficulty || d > g.lastDifficulty) continue;
        for (int n = 0; n < g.enemies; ++n) want.push_back(Describe(g.at[d]));
      }
      RunStageAt(stage, d, false);
      for (EnemyRecord& e : pools.enemies) {
        if (e.head.state != kActorFree && e.bulletType != 0) got.push_back(Describe(DriveLongCycle(e)));
      }
      std::sort(want.begin(), want.end());
      std::sort(got.begin(), got.end());
      EXPECT_EQ(got, want) << "stage " << stage << " difficulty " << d;
    }
  }
}

TEST_F(StageContents001, ActorsStandOnThePlaceholderMapsAfter180Frames) {
  ExpectActorsStandAfter180Frames(kFirstStage, kLastStageHere, false, false);
}

}  // namespace
}  // namespace orb::test
