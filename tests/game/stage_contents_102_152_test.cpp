// Stages 102 to 152 as their routines set them up: the counts of every pool
// at each difficulty with the progress flags clear and set, against a table
// written from the world table and the stages' contents; one set after two
// runs; the stages' own edge cases; and the actors standing on the
// placeholder maps after 180 frames.
#include <algorithm>
#include <utility>

#include "stage_contents_support.h"

namespace orb::test {
namespace {

// A count that differs only by difficulty (flags change nothing).
constexpr StageSpawnRow ByDifficulty(int stage, Spawns calls, Spawns d0, Spawns d1, Spawns d2, Spawns d3) {
  return {stage, calls, {d0, d1, d2, d3}, {d0, d1, d2, d3}};
}

// clang-format off
const StageSpawnRow kCounts[] = {
    ByDifficulty(102, {6, 0, 0}, {4, 0, 0}, {6, 0, 0}, {6, 0, 0}, {6, 0, 0}),
    Fixed(103, {0, 0, 0}),
    Fixed(104, {0, 0, 1}, {0, 0, 1}, {0, 0, 0}),
    Fixed(105, {13, 1, 0}),
    ByDifficulty(106, {9, 0, 0}, {8, 0, 0}, {9, 0, 0}, {9, 0, 0}, {9, 0, 0}),
    Fixed(107, {2, 1, 0}),
    Fixed(108, {3, 0, 0}),
    ByDifficulty(109, {23, 0, 0}, {16, 0, 0}, {22, 0, 0}, {23, 0, 0}, {23, 0, 0}),
    {110, {9, 4, 1}, {{2, 4, 1}, {8, 4, 1}, {9, 4, 1}, {9, 4, 1}}, {{2, 4, 0}, {8, 4, 0}, {9, 4, 0}, {9, 4, 0}}},
    ByDifficulty(111, {6, 2, 0}, {2, 2, 0}, {6, 2, 0}, {6, 2, 0}, {6, 2, 0}),
    ByDifficulty(112, {12, 8, 0}, {0, 8, 0}, {11, 8, 0}, {12, 8, 0}, {12, 8, 0}),
    Fixed(113, {1, 0, 0}),
    Fixed(114, {0, 0, 0}),
    Fixed(115, {0, 8, 1}, {0, 8, 1}, {0, 8, 0}),
    Fixed(116, {2, 2, 0}),
    Fixed(117, {3, 0, 0}),
    ByDifficulty(118, {13, 0, 0}, {8, 0, 0}, {13, 0, 0}, {13, 0, 0}, {13, 0, 0}),
    Fixed(119, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(120, {8, 0, 0}),
    Fixed(121, {8, 0, 0}),
    Fixed(122, {8, 0, 0}),
    Fixed(123, {1, 2, 0}),
    Fixed(124, {12, 0, 0}),
    Fixed(125, {13, 0, 0}),
    ByDifficulty(126, {10, 1, 0}, {9, 1, 0}, {10, 1, 0}, {10, 1, 0}, {10, 1, 0}),
    Fixed(127, {1, 1, 0}),
    Fixed(128, {10, 6, 0}),
    {129, {7, 7, 1}, {{7, 6, 1}, {7, 6, 1}, {7, 6, 1}, {7, 6, 1}}, {{7, 6, 0}, {7, 6, 0}, {7, 6, 0}, {7, 6, 0}}},
    Fixed(130, {0, 1, 0}),
    ByDifficulty(131, {1, 2, 0}, {0, 2, 0}, {0, 2, 0}, {1, 2, 0}, {1, 2, 0}),
    {132, {4, 8, 1}, {{1, 8, 1}, {4, 8, 1}, {4, 8, 1}, {4, 8, 1}}, {{1, 8, 0}, {4, 8, 0}, {4, 8, 0}, {4, 8, 0}}},
    Fixed(133, {4, 14, 0}),
    ByDifficulty(134, {6, 2, 0}, {2, 2, 0}, {5, 2, 0}, {6, 2, 0}, {6, 2, 0}),
    Fixed(135, {1, 1, 0}),
    Fixed(136, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(137, {1, 0, 0}),
    Fixed(138, {1, 0, 0}),
    Fixed(139, {4, 0, 0}),
    Fixed(140, {8, 3, 0}),
    Fixed(141, {3, 0, 0}),
    Fixed(142, {1, 0, 0}),
    Fixed(143, {0, 10, 0}),
    Fixed(144, {1, 0, 0}),
    Fixed(145, {1, 0, 0}),
    Fixed(146, {2, 0, 0}, {2, 0, 0}, {0, 0, 0}),
    Fixed(147, {1, 0, 0}),
    Fixed(148, {0, 0, 0}),
    Fixed(149, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(150, {0, 1, 5}, {0, 1, 5}, {0, 1, 0}),
    Fixed(151, {4, 0, 0}),
    Fixed(152, {3, 0, 0}),
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
  int rows = 0;
  for (const StageSpawnRow& row : kCounts) {
    ++rows;
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
  EXPECT_EQ(rows, kLastStageHere - kFirstStage + 1);
}

TEST_F(StageContents102, ARoutineRunTwiceLeavesOneSet) {
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

TEST_F(StageContents102, BossRoomsHoldTheirBossInSlotOneUntilItIsBeaten) {
  struct Boss {
    int stage, kind, hitPoints[2];
    float x, y;
  };
  const Boss bosses[] = {{119, 35, {3900, 4500}, 1088.0f, 313.6f},
                         {136, 36, {4300, 5000}, 1088.0f, 313.6f},
                         {146, 37, {4500, 6000}, 1088.0f, 153.6f},
                         {149, 45, {4800, 6000}, 1088.0f, 345.6f}};
  for (const Boss& b : bosses) {
    for (int d = 0; d < 4; ++d) {
      RunStageAt(b.stage, d, false);
      const EnemyRecord& e = pools.enemies[1];
      EXPECT_EQ(game.BossMode, 1) << b.stage;
      EXPECT_EQ(e.kind, b.kind) << b.stage;
      EXPECT_EQ(e.hitPoints, b.hitPoints[d == 0 ? 0 : 1]) << b.stage << " difficulty " << d;
      EXPECT_EQ(e.bulletType, 0);
      EXPECT_FLOAT_EQ(e.head.x - e.head.hitboxWidth / 2, b.x);
      EXPECT_FLOAT_EQ(e.head.y - e.head.hitboxWidth / 2, b.y);
    }
    // Beaten: an empty room that leaves boss mode as it was.
    RunStageAt(b.stage, 1, true);
    EXPECT_EQ(game.BossMode, 0);
    EXPECT_EQ(CountSpawns(), (Spawns{0, 0, 0})) << b.stage;
  }
  // The gap the last boss but one enters from comes after it, active at once.
  RunStageAt(146, 2, false);
  EXPECT_EQ(pools.enemies[2].kind, 38);
  EXPECT_EQ(pools.enemies[2].hitPoints, 1111);
  EXPECT_EQ(pools.enemies[2].head.state, kActorActive);
  EXPECT_EQ(pools.enemies[2].mapCollision, 0);
}

TEST_F(StageContents102, TheFirstFliersOf107SwitchFromSingleShotsToFans) {
  // One long cycle: (volleys, bullets each) of the first and second flier.
  const SlotRhythm first[2] = {{2, 1}, {3, 3}}, second[2] = {{2, 1}, {3, 3}};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(107, d, false);
    const std::vector<EnemyRecord*> fliers = OfKind(4);
    ASSERT_EQ(fliers.size(), 2u);
    EXPECT_EQ(DriveLongCycle(*fliers[0]), first[d == 0 ? 0 : 1]) << "difficulty " << d;
    EXPECT_EQ(DriveLongCycle(*fliers[1]), second[d == 0 ? 0 : 1]) << "difficulty " << d;
    // 109 and 118 reuse the second.
    for (int stage : {109, 118}) {
      RunStageAt(stage, d, false);
      int reused = 0;
      for (EnemyRecord* e : OfKind(4)) {
        if (e->mode == 32 && e->hitPoints == 200 && e->slotA.startFrame.value == 0 &&
            e->slotA.lifetime.value == (d == 0 ? 40 : 50)) {
          EXPECT_EQ(DriveLongCycle(*e), second[d == 0 ? 0 : 1]) << "stage " << stage;
          ++reused;
        }
      }
      EXPECT_EQ(reused, stage == 118 && d >= 1 ? 2 : 1) << "stage " << stage << " difficulty " << d;
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
  // At difficulty 0: 112 and 131 hold only blocks, 132 its blocks, item and
  // one kind-24 enemy, 134 only its first two fliers.
  RunStageAt(132, 0, false);
  EXPECT_EQ(OfKind(24).size(), 1u);
  RunStageAt(134, 0, false);
  EXPECT_EQ(OfKind(4).size(), 2u);
  for (const EnemyRecord* e : OfKind(4)) EXPECT_NE(e->bulletType, 0);
  // 133's kinds 12 and 11 stand and fire (behaviour 1).
  RunStageAt(133, 1, false);
  EXPECT_EQ(OfKind(12)[0]->mode, 1);
  EXPECT_EQ(OfKind(11)[0]->mode, 1);
}

TEST_F(StageContents102, Stage150GuardsItsLaterItemsWithOneFlag) {
  struct Case {
    uint8_t item6, transient;
    int items6, others;
  };
  const Case cases[] = {{0, 0, 1, 4}, {1, 0, 0, 4}, {0, 1, 1, 0}, {1, 1, 0, 0}};
  for (const Case& c : cases) {
    RunStageAt(150, 1, false);
    game.TakenItem6[150] = c.item6;
    game.TakenItem5AndBosses[150] = c.transient;
    RunStageSetup(150);
    int items6 = 0, others = 0;
    for (const ItemRecord& r : pools.items) {
      if (r.head.state == kActorFree) continue;
      (r.kind == 6 ? items6 : others) += 1;
    }
    EXPECT_EQ(items6, c.items6);
    EXPECT_EQ(others, c.others) << "item 6 taken " << int(c.item6) << ", flag " << int(c.transient);
  }
}

TEST_F(StageContents102, TheFinalScenesSpawnTheirThreeActors) {
  RunStageAt(151, 0, false);
  EXPECT_EQ(game.EndingPhase, 2);
  const int kinds151[4] = {37, 38, 47, 46};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(pools.enemies[i + 1].kind, kinds151[i]);
    EXPECT_EQ(pools.enemies[i + 1].mode, 51);
  }
  EXPECT_EQ(pools.enemies[2].hitPoints, 1111);
  EXPECT_EQ(pools.enemies[3].head.x, pools.enemies[4].head.x);  // 47 and 46 at one point
  RunStageAt(152, 0, false);
  EXPECT_EQ(game.EndingPhase, 3);
  const int kinds152[3] = {47, 46, 37};
  for (int i = 0; i < 3; ++i) {
    const EnemyRecord& e = pools.enemies[i + 1];
    EXPECT_EQ(e.kind, kinds152[i]);
    EXPECT_EQ(e.hitPoints, 6000);
    EXPECT_EQ(e.waveCode, 40);
    EXPECT_EQ(e.mapCollision, 0);
  }
}

TEST_F(StageContents102, ActorsStandOnThePlaceholderMapsAfter180Frames) {
  for (int stage = kFirstStage; stage <= kLastStageHere; ++stage) {
    for (int flags = 0; flags < 2; ++flags) {
      for (int d = 0; d < 4; ++d) {
        RunStageAt(stage, d, flags == 1);
        for (const std::string& f : SpawnPointFaults()) ADD_FAILURE() << f;
        // Nothing starts inside a wall or the floor (the mover would push a
        // walker out again before the check below).
        for (const EnemyRecord& e : pools.enemies) {
          const ActorHead& h = e.head;
          if (h.state != kActorFree && BoxOverlap(h.x, h.y, h.hitboxWidth, h.hitboxHeight) == 1)
            ADD_FAILURE() << "stage " << stage << " difficulty " << d << ": kind " << e.kind << " starts in a wall";
        }
        for (const BlockRecord& b : pools.blocks) {
          const ActorHead& h = b.head;
          if (h.state != kActorFree && BoxOverlap(h.x, h.y, h.hitboxWidth, h.hitboxHeight) == 1)
            ADD_FAILURE() << "stage " << stage << " difficulty " << d << ": block slot " << b.slot << " starts in a wall";
        }
        RunWorldFrames(180);
        for (const std::string& f : PlacementFaults()) ADD_FAILURE() << f << " (flags " << flags << ")";
      }
    }
  }
}

}  // namespace
}  // namespace orb::test
