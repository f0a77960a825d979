// Stages 102 to 152 as their routines set them up: the shared region checks
// against this range's count table, and its own edge cases.
#include <utility>

#include "stage_contents_support.h"

namespace orb::test {
namespace {

// clang-format off
const StageSpawnRow kCounts[] = {
    ByDifficulty(102, {6, 0, 0}, 4, 6, 6, 6, 0, 0, 0),
    Fixed(103, {0, 0, 0}), Fixed(104, {0, 0, 1}, {0, 0, 1}, {0, 0, 0}), Fixed(105, {13, 1, 0}),
    ByDifficulty(106, {9, 0, 0}, 8, 9, 9, 9, 0, 0, 0),
    Fixed(107, {2, 1, 0}), Fixed(108, {3, 0, 0}),
    ByDifficulty(109, {23, 0, 0}, 16, 22, 23, 23, 0, 0, 0),
    ByDifficulty(110, {9, 4, 1}, 2, 8, 9, 9, 4, 1, 0),
    ByDifficulty(111, {6, 2, 0}, 2, 6, 6, 6, 2, 0, 0),
    ByDifficulty(112, {12, 8, 0}, 0, 11, 12, 12, 8, 0, 0),
    Fixed(113, {1, 0, 0}), Fixed(114, {0, 0, 0}), Fixed(115, {0, 8, 1}, {0, 8, 1}, {0, 8, 0}), Fixed(116, {2, 2, 0}),
    Fixed(117, {3, 0, 0}),
    ByDifficulty(118, {13, 0, 0}, 8, 13, 13, 13, 0, 0, 0),
    Fixed(119, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}), Fixed(120, {8, 0, 0}), Fixed(121, {8, 0, 0}), Fixed(122, {8, 0, 0}),
    Fixed(123, {1, 2, 0}), Fixed(124, {12, 0, 0}), Fixed(125, {13, 0, 0}),
    ByDifficulty(126, {10, 1, 0}, 9, 10, 10, 10, 1, 0, 0),
    Fixed(127, {1, 1, 0}), Fixed(128, {10, 6, 0}),
    Fixed(129, {7, 7, 1}, {7, 6, 1}, {7, 6, 0}),
    Fixed(130, {0, 1, 0}),
    ByDifficulty(131, {1, 2, 0}, 0, 0, 1, 1, 2, 0, 0),
    ByDifficulty(132, {4, 8, 1}, 1, 4, 4, 4, 8, 1, 0),
    Fixed(133, {4, 14, 0}),
    ByDifficulty(134, {6, 2, 0}, 2, 5, 6, 6, 2, 0, 0),
    Fixed(135, {1, 1, 0}), Fixed(136, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}), Fixed(137, {1, 0, 0}), Fixed(138, {1, 0, 0}),
    Fixed(139, {4, 0, 0}), Fixed(140, {8, 3, 0}), Fixed(141, {3, 0, 0}), Fixed(142, {1, 0, 0}),
    Fixed(143, {0, 10, 0}), Fixed(144, {1, 0, 0}), Fixed(145, {1, 0, 0}), Fixed(146, {2, 0, 0}, {2, 0, 0}, {0, 0, 0}),
    Fixed(147, {1, 0, 0}), Fixed(148, {0, 0, 0}), Fixed(149, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(150, {0, 1, 5}, {0, 1, 5}, {0, 1, 0}), Fixed(151, {4, 0, 0}), Fixed(152, {3, 0, 0}),
};
// clang-format on

constexpr int kFirstStage = 102, kLastStageHere = 152;

class StageContents102 : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameModules(); }

  // The live enemies of one kind, in slot order.
  static std::vector<EnemyRecord*> OfKind(int kind) {
    std::vector<EnemyRecord*> found;
    for (EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.kind == kind) found.push_back(&e);
    }
    return found;
  }
};

TEST_F(StageContents102, PoolCountsFollowTheTableAtEveryDifficultyAndFlagState) {
  ExpectCountsFollowTheTable(kCounts, kFirstStage, kLastStageHere);
}

TEST_F(StageContents102, ARoutineRunTwiceLeavesOneSet) { ExpectOneSetAfterASecondRun(kFirstStage, kLastStageHere); }

// The gap the last boss but one enters from comes after it, active at once.
TEST_F(StageContents102, BossRoomsHoldTheirBossInSlotOneUntilItIsBeaten) {
  ExpectBossRoomsHoldTheirBoss(kFirstStage, kLastStageHere);
  RunStageAt(146, 2, false);
  EXPECT_EQ(pools.enemies[2].kind, 38);
  EXPECT_EQ(pools.enemies[2].head.state, kActorActive);
}

TEST_F(StageContents102, The107FliersSwitchFromSingleShotsToFansAnd109And118ReuseThem) {
  const int fliers[3][4] = {{2, 2, 2, 2}, {1, 1, 1, 1}, {1, 2, 2, 2}};  // 107, 109, 118 by difficulty
  const int stages[3] = {107, 109, 118};
  for (int d = 0; d < 4; ++d) {
    // One long cycle: two single shots at 0, three fans of three from 1.
    const SlotRhythm want = d == 0 ? SlotRhythm{2, 1} : SlotRhythm{3, 3};
    for (int i = 0; i < 3; ++i) {
      RunStageAt(stages[i], d, false);
      int n = 0;
      for (EnemyRecord* e : OfKind(4)) {
        if (e->mode != 32) continue;
        EXPECT_EQ(DriveLongCycle(*e), want) << "stage " << stages[i] << " difficulty " << d;
        ++n;
      }
      EXPECT_EQ(n, fliers[i][d]) << "stage " << stages[i] << " difficulty " << d;
    }
  }
}

TEST_F(StageContents102, The139SpinnerTurnsOnceABurstAtEveryDifficulty) {
  const SlotRhythm rhythm[4] = {{10, 2}, {20, 3}, {24, 4}, {28, 4}};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(139, d, false);
    const std::vector<EnemyRecord*> spinner = OfKind(14);
    ASSERT_EQ(spinner.size(), 1u);
    const EnemyAttackSlot& s = spinner[0]->slotA;
    EXPECT_NEAR(s.angleVelocity.value * static_cast<float>(s.burstLength.value), 360.0f, 0.01f) << d;
    EXPECT_EQ(spinner[0]->hitPoints, 20 * (d + 14));
    EXPECT_EQ(DriveLongCycle(*spinner[0]), rhythm[d]) << "difficulty " << d;
  }
}

TEST_F(StageContents102, DifficultyEdgesOfTheMiddleStages) {
  // 121's kind 18: a standing enemy at 0 and 1, a faster, tougher walker from 2.
  const int hitPoints[4] = {130, 300, 500, 500};
  const float speeds[4] = {0.0f, 0.0f, 2.0f, 4.0f};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(121, d, false);
    const std::vector<EnemyRecord*> k18 = OfKind(18);
    ASSERT_EQ(k18.size(), 1u);
    EXPECT_EQ(k18[0]->hitPoints, hitPoints[d]);
    EXPECT_FLOAT_EQ(std::fabs(k18[0]->motion.velocityX), speeds[d]);
  }
  // At difficulty 0 the one enemy of 132 is its kind-24 ghost; 134 keeps
  // only its first two fliers.
  RunStageAt(132, 0, false);
  EXPECT_EQ(OfKind(24).size(), 1u);
  RunStageAt(134, 0, false);
  EXPECT_EQ(OfKind(4).size(), 2u);
}

TEST_F(StageContents102, Stage150GuardsItsLaterItemsWithOneFlag) {
  for (uint8_t item6 = 0; item6 < 2; ++item6) {
    for (uint8_t flag = 0; flag < 2; ++flag) {
      RunStageAt(150, 1, false);
      game.TakenItem6[150] = item6;
      game.TakenItem5AndBosses[150] = flag;
      RunStageSetup(150);
      EXPECT_EQ(CountSpawns().items, (item6 ? 0 : 1) + (flag ? 0 : 4)) << int(item6) << " " << int(flag);
    }
  }
}

TEST_F(StageContents102, DoorsAndGapsStandWhereTheirPartnersLandThePlayers) {
  // Landing point less (54.4, 28.8), as the hub's gaps; they settle 24.8
  // lower, on the floor or the ledge the map gives them.
  struct Door {
    int stage;
    float x, y;
  };
  const Door doors[] = {{123, 1142.4f - 54.4f, 320.0f - 28.8f},
                        {135, 1174.4f - 54.4f, 96.0f - 28.8f},
                        {137, 1046.4f - 54.4f, 288.0f - 28.8f},
                        {138, 790.4f - 54.4f, 288.0f - 28.8f}};
  for (const Door& door : doors) {
    RunStageAt(door.stage, 0, false);
    RunWorldFrames(60);
    const ActorHead& h = pools.enemies[1].head;
    EXPECT_FLOAT_EQ(h.x - h.hitboxWidth / 2, door.x) << door.stage;
    EXPECT_NEAR(h.y - h.hitboxWidth / 2, door.y + 24.8f, 1.0f) << door.stage;
  }
  // The doors that keep the players' position stand at one set of points.
  auto doorPoints = [](int stage) {
    RunStageAt(stage, 0, false);
    std::vector<std::pair<float, float>> points;
    for (const EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.mode == 51) points.push_back({e.head.x, e.head.y});
    }
    return points;
  };
  EXPECT_EQ(doorPoints(125), doorPoints(126));
  EXPECT_EQ(doorPoints(128), doorPoints(129));
  EXPECT_EQ(doorPoints(125).size(), 2u);
  EXPECT_EQ(doorPoints(128).size(), 2u);
}

TEST_F(StageContents102, TheFinalScenesSpawnTheirActorsInOrder) {
  auto kinds = [] {
    std::vector<int> k;
    for (int i = 1; pools.enemies[i].head.state != kActorFree; ++i) k.push_back(pools.enemies[i].kind);
    return k;
  };
  RunStageAt(151, 0, false);
  EXPECT_EQ(game.EndingPhase, 2);
  EXPECT_EQ(kinds(), (std::vector<int>{37, 38, 47, 46}));
  EXPECT_EQ(pools.enemies[2].head.state, kActorActive);  // the gap's tag 1111
  EXPECT_EQ(pools.enemies[3].head.x, pools.enemies[4].head.x);
  RunStageAt(152, 0, false);
  EXPECT_EQ(game.EndingPhase, 3);
  EXPECT_EQ(kinds(), (std::vector<int>{47, 46, 37}));
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(pools.enemies[i].waveCode, 40);  // the figure eight
}

TEST_F(StageContents102, ActorsStandOnThePlaceholderMapsAfter180Frames) {
  ExpectActorsStandAfter180Frames(kFirstStage, kLastStageHere, false, true);
}

// Besides the edges and stairs: the landing points of the doors and gaps
// (the hub's two, the paired doors, and the final hand-overs).
TEST_F(StageContents102, EveryWayInRuns600FramesAlikeTwiceE2E) {
  ExpectEveryWayInRunsAlike(kFirstStage, kLastStageHere,
                            {{124, 640.0f, 352.0f}, {126, 1650.0f, 385.0f}, {125, 2290.0f, 385.0f},
                             {129, 1522.0f, 385.0f}, {128, 2162.0f, 385.0f}, {137, 1046.4f, 288.0f},
                             {138, 790.4f, 288.0f}, {148, 790.4f, 256.0f}, {123, 1142.4f, 320.0f},
                             {135, 1174.4f, 96.0f}, {151, 688.0f, 256.0f}, {152, 1840.0f, 256.0f}});
}

}  // namespace
}  // namespace orb::test
