// Stages 1 to 43 as their routines set them up: the counts of every pool at
// each difficulty with the progress flags clear and set, against a table
// written from the world table and the stages' contents; one set after two
// runs; the actors standing on the placeholder maps after 180 frames; and
// one long cycle of every attack slot against the rhythm the contents give.
#include <algorithm>
#include <utility>

#include "stage_contents_support.h"

namespace orb::test {
namespace {

// clang-format off
const StageSpawnRow kCounts[] = {
    Fixed(1, {9, 0, 0}, {0, 0, 0}, {9, 0, 0}),
    {2, {10, 0, 0}, {{8, 0, 0}, {9, 0, 0}, {10, 0, 0}, {10, 0, 0}}, {{8, 0, 0}, {9, 0, 0}, {10, 0, 0}, {10, 0, 0}}},
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

// clang-format off
const RhythmGroup kRhythms[] = {
    {2, 0, 3, 2, {kOnce, kOnce, kOnce, kOnce}},
    {2, 1, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
    {2, 2, 3, 1, {kOnce, kOnce, kOnce, kOnce}},
};
// clang-format on

constexpr int kFirstStage = 1, kLastStageHere = 43;

class StageContents001 : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameModules(); }
};

TEST_F(StageContents001, PoolCountsFollowTheTableAtEveryDifficultyAndFlagState) {
  for (const StageSpawnRow& row : kCounts) {
    for (int flags = 0; flags < 2; ++flags) {
      for (int d = 0; d < 4; ++d) {
        RunStageAt(row.stage, d, flags == 1);
        const Spawns got = CountSpawns();
        const Spawns& want = flags ? row.set[d] : row.clear[d];
        EXPECT_EQ(got, want) << "stage " << row.stage << " difficulty " << d << " flags " << flags << ": "
                             << Describe(got) << " against " << Describe(want);
        EXPECT_LE(got.enemies, row.calls.enemies) << "stage " << row.stage;
        EXPECT_LE(got.blocks, row.calls.blocks) << "stage " << row.stage;
        EXPECT_LE(got.items, row.calls.items) << "stage " << row.stage;
      }
    }
  }
}

TEST_F(StageContents001, ARoutineRunTwiceLeavesOneSet) {
  for (int stage = kFirstStage; stage <= kLastStageHere; ++stage) {
    RunStageAt(stage, 3, false);
    const Spawns once = CountSpawns();
    std::vector<std::pair<float, float>> where;
    for (const EnemyRecord& e : pools.enemies) where.push_back({e.head.x, e.head.y});
    RunStageSetup(stage);
    EXPECT_EQ(CountSpawns(), once) << "stage " << stage;
    for (int i = 0; i < kEnemyCount; ++i) {
      EXPECT_EQ(pools.enemies[i].head.x, where[i].first) << "stage " << stage << " slot " << i;
      EXPECT_EQ(pools.enemies[i].head.y, where[i].second) << "stage " << stage << " slot " << i;
    }
  }
}

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
  for (int stage = kFirstStage; stage <= kLastStageHere; ++stage) {
    for (int flags = 0; flags < 2; ++flags) {
      for (int d = 0; d < 4; ++d) {
        RunStageAt(stage, d, flags == 1);
        for (const std::string& f : SpawnPointFaults()) ADD_FAILURE() << f;
        RunWorldFrames(180);
        for (const std::string& f : PlacementFaults()) ADD_FAILURE() << f << " (flags " << flags << ")";
      }
    }
  }
}

}  // namespace
}  // namespace orb::test
