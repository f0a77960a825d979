// Stages 44 to 101 as their routines set them up: the shared region checks
// against this range's count table, and its guardian rooms, switches and slots.
#include <utility>

#include "game/world/asset_table.h"
#include "stage_contents_support.h"

namespace orb::test {
namespace {

// clang-format off
const StageSpawnRow kCounts[] = {
    Fixed(44, {1, 1, 0}),
    Fixed(45, {9, 4, 0}),
    ByDifficulty(46, {2, 3, 0}, 1, 1, 2, 2, 3, 0, 0),
    ByDifficulty(47, {7, 5, 1}, 6, 6, 7, 7, 5, 1, 0),
    ByDifficulty(48, {2, 3, 0}, 0, 0, 1, 2, 3, 0, 0),
    ByDifficulty(49, {4, 20, 0}, 2, 4, 4, 4, 20, 0, 0),
    ByDifficulty(50, {8, 9, 0}, 7, 7, 8, 8, 9, 0, 0),
    Fixed(51, {3, 0, 0}),
    Fixed(52, {0, 3, 1}, {0, 3, 1}, {0, 3, 0}),
    Fixed(53, {2, 0, 0}),
    Fixed(54, {4, 0, 0}),
    Fixed(55, {21, 1, 0}),
    Fixed(56, {3, 0, 0}, {1, 0, 0}, {1, 0, 0}),
    Fixed(57, {0, 3, 0}),
    ByDifficulty(58, {6, 0, 0}, 5, 6, 6, 6, 0, 0, 0),
    {59, {6, 3, 0}, {{4, 2, 0}, {4, 2, 0}, {6, 2, 0}, {6, 2, 0}}, {{4, 3, 0}, {4, 3, 0}, {6, 3, 0}, {6, 3, 0}}},
    Fixed(60, {7, 1, 0}, {7, 0, 0}, {7, 1, 0}),
    Fixed(61, {9, 1, 0}, {9, 0, 0}, {9, 1, 0}),
    Fixed(62, {5, 1, 0}, {5, 0, 0}, {5, 1, 0}),
    Fixed(63, {4, 1, 0}, {4, 0, 0}, {4, 1, 0}),
    {64, {6, 1, 0}, {{3, 0, 0}, {6, 0, 0}, {6, 0, 0}, {6, 0, 0}}, {{3, 1, 0}, {6, 1, 0}, {6, 1, 0}, {6, 1, 0}}},
    Fixed(65, {2, 0, 0}, {2, 0, 0}, {1, 0, 0}),
    Fixed(66, {5, 1, 0}, {5, 0, 0}, {5, 1, 0}),
    {67, {13, 1, 0}, {{12, 0, 0}, {12, 0, 0}, {13, 0, 0}, {13, 0, 0}}, {{12, 1, 0}, {12, 1, 0}, {13, 1, 0}, {13, 1, 0}}},
    Fixed(68, {4, 1, 0}, {4, 0, 0}, {4, 1, 0}),
    Fixed(69, {4, 0, 0}, {4, 0, 0}, {3, 0, 0}),
    Fixed(70, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(71, {0, 2, 0}, {0, 1, 0}, {0, 2, 0}),
    Fixed(72, {0, 0, 0}),
    Fixed(73, {1, 0, 1}, {1, 0, 1}, {1, 0, 0}),
    Fixed(74, {9, 0, 0}),
    ByDifficulty(75, {2, 2, 0}, 1, 1, 2, 2, 2, 0, 0),
    Fixed(76, {5, 9, 0}),
    Fixed(77, {5, 10, 0}),
    ByDifficulty(78, {1, 5, 0}, 0, 0, 1, 1, 5, 0, 0),
    Fixed(79, {4, 15, 0}),
    Fixed(80, {4, 0, 0}, {4, 0, 0}, {3, 0, 0}),
    Fixed(81, {0, 4, 1}, {0, 4, 1}, {0, 4, 0}),
    Fixed(82, {4, 7, 0}),
    Fixed(83, {3, 0, 0}, {3, 0, 0}, {2, 0, 0}),
    ByDifficulty(84, {1, 3, 0}, 0, 0, 1, 1, 3, 0, 0),
    Fixed(85, {2, 1, 0}),
    ByDifficulty(86, {13, 2, 0}, 11, 11, 12, 13, 2, 0, 0),
    Fixed(87, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
    Fixed(88, {9, 0, 0}),
    Fixed(89, {1, 2, 0}),
    Fixed(90, {7, 0, 0}),
    Fixed(91, {0, 2, 0}),
    Fixed(92, {0, 2, 3}, {0, 2, 3}, {0, 2, 0}),
    Fixed(93, {10, 6, 0}),
    Fixed(94, {0, 3, 0}, {0, 0, 0}, {0, 3, 0}),
    Fixed(95, {4, 0, 1}, {4, 0, 1}, {3, 0, 0}),
    ByDifficulty(96, {1, 2, 0}, 0, 1, 1, 1, 2, 0, 0),
    ByDifficulty(97, {13, 9, 0}, 6, 9, 11, 13, 9, 0, 0),
    Fixed(98, {0, 4, 0}),
    Fixed(99, {2, 0, 0}),
    ByDifficulty(100, {9, 3, 0}, 6, 6, 8, 9, 3, 0, 0),
    Fixed(101, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}),
};
// clang-format on

constexpr int kFirstStage = 44, kLastStageHere = 101;

class StageContents044 : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameModules(); }

  // The belts standing, with the set they draw from: 1 first, 2 second.
  static std::vector<std::pair<int, float>> Belts() {
    std::vector<std::pair<int, float>> found;
    for (const BlockRecord& b : pools.blocks) {
      if (b.head.state == kActorFree) continue;
      const int* set = b.head.images;
      if (set == assets.blockBelt128 || set == assets.blockBelt64) found.push_back({1, b.roll});
      if (set == assets.blockBelt128b || set == assets.blockBelt64b) found.push_back({2, b.roll});
    }
    return found;
  }
};

TEST_F(StageContents044, PoolCountsFollowTheTableAtEveryDifficultyAndFlagState) {
  ExpectCountsFollowTheTable(kCounts, kFirstStage, kLastStageHere);
}

TEST_F(StageContents044, ARoutineRunTwiceLeavesOneSet) { ExpectOneSetAfterASecondRun(kFirstStage, kLastStageHere); }

// Room 56's door to stage 58 stands, first in the ring, only once its boss is beaten.
TEST_F(StageContents044, BossRoomsHoldTheirBossInSlotOneUntilItIsBeaten) {
  ExpectBossRoomsHoldTheirBoss(kFirstStage, kLastStageHere);
  RunStageAt(56, 2, false);
  EXPECT_EQ(CountEnemiesOfKind(41), 0);
  RunStageAt(56, 1, true);
  const EnemyRecord& door = pools.enemies[1];
  EXPECT_EQ(door.kind, 41);
  EXPECT_EQ(door.mode, 51);
  EXPECT_FLOAT_EQ(door.head.x - door.head.hitboxWidth / 2, 912.0f);
  EXPECT_FLOAT_EQ(door.head.y - door.head.hitboxWidth / 2, 291.2f);
}

TEST_F(StageContents044, GuardianRoomsLoseOnlyTheirGuardianOnceItIsBeaten) {
  for (int stage : {65, 69, 80, 83, 95}) {
    RunStageAt(stage, 2, false);
    const Spawns before = CountSpawns();
    EXPECT_EQ(CountEnemiesOfKind(42), 1) << stage;
    RunStageAt(stage, 2, false);
    game.StageEventDone[stage] = 1;
    RunStageSetup(stage);
    EXPECT_EQ(CountEnemiesOfKind(42), 0) << stage;
    EXPECT_EQ(CountSpawns().enemies, before.enemies - 1) << stage;
  }
}

TEST_F(StageContents044, GuardianSwitchesChangeTheStagesThatReadThem) {
  // Room 65 adds a lift rising from below the bottom edge to 59 to 64, room
  // 69 a drop block from above the top edge to 66, 67, 68 and 71: each the
  // stage's first block, in one column everywhere.
  struct Switch {
    int room;
    std::vector<int> stages;
    bool fromBelow;
    float speedY, period;
  };
  const Switch switches[] = {{65, {59, 60, 61, 62, 63, 64}, true, -3.0f, 100.0f},
                             {69, {66, 67, 68, 71}, false, 1.0f, 200.0f}};
  for (const Switch& w : switches) {
    for (int stage : w.stages) {
      RunStageAt(stage, 1, false);
      game.StageEventDone[w.room] = 1;
      RunStageSetup(stage);
      const BlockRecord& b = pools.blocks[0];
      EXPECT_EQ(b.motionKind, 51) << stage;
      EXPECT_EQ(w.fromBelow ? b.head.y > 480.0f : b.head.y < 0.0f, true) << stage;
      EXPECT_FLOAT_EQ(b.velocityY, w.speedY);
      EXPECT_FLOAT_EQ(b.period, w.period);
      EXPECT_FLOAT_EQ(b.head.x, 1632.0f) << stage;
    }
  }
  // Rooms 80 and 83 turn the belts of the first and second sets: with only
  // room 80 beaten, stage 76's eight first-set belts run the other way and
  // its second-set belt does not.
  RunStageAt(76, 0, false);
  const auto before = Belts();
  game.StageEventDone[80] = 1;
  RunStageSetup(76);
  const auto after = Belts();
  ASSERT_EQ(before.size(), 9u);
  ASSERT_EQ(after.size(), 9u);
  int reversed = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const float factor = before[i].first == 1 ? -1.0f : 1.0f;
    EXPECT_FLOAT_EQ(after[i].second, factor * before[i].second) << "belt " << i;
    reversed += before[i].first == 1;
  }
  EXPECT_EQ(reversed, 8);
  // Stage 84's belts follow neither switch.
  std::vector<std::pair<int, float>> first;
  for (int flags = 0; flags < 4; ++flags) {
    RunStageAt(84, 0, false);
    game.StageEventDone[80] = flags & 1;
    game.StageEventDone[83] = flags >> 1;
    RunStageSetup(84);
    if (flags == 0) first = Belts();
    EXPECT_EQ(Belts(), first) << "flags " << flags;
  }
  EXPECT_EQ(first.size(), 3u);
}

TEST_F(StageContents044, SlotValuesFollowTheDifficulty) {
  // Stage 51's kind-22 enemy: active length 18, 30, 48, 66; speed 4, 4, 3, 2.
  // Stage 64's three rings: none at difficulty 0, then 4/6/6, 6/8/8, 8/10/10.
  const int window[4] = {18, 30, 48, 66};
  const float speed[4] = {4.0f, 4.0f, 3.0f, 2.0f};
  const int rings[4][3] = {{0, 0, 0}, {4, 6, 6}, {6, 8, 8}, {8, 10, 10}};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(51, d, false);
    const EnemyRecord& e = pools.enemies[1];
    EXPECT_EQ(e.kind, 22);
    EXPECT_EQ(e.slotA.windowLength.value, window[d]) << d;
    EXPECT_FLOAT_EQ(e.slotA.speed.value, speed[d]) << d;
    EXPECT_FLOAT_EQ(e.slotA.angle.value, 270.0f);
    RunStageAt(64, d, false);
    std::vector<int> counts;
    for (const EnemyRecord& r : pools.enemies) {
      if (r.head.state != kActorFree && r.kind == 28) counts.push_back(r.slotA.count.value);
    }
    const std::vector<int> want = d == 0 ? std::vector<int>{} : std::vector<int>(rings[d], rings[d] + 3);
    EXPECT_EQ(counts, want) << d;
    // The bullets of the fixed-speed slots leave the spawner at 2.0 at every difficulty.
    RunStageAt(79, d, false);
    const EnemyRecord& fixed = pools.enemies[2];
    EXPECT_EQ(fixed.bulletType, 11503);
    EXPECT_NEAR(fixed.slotA.speed.value * (d == 0 ? 0.8f : d == 1 ? 1.0f : d == 2 ? 1.3f : 1.6f), 2.0f, 1e-5f);
  }
  // Rooms 65 and 83 choose their guardian-room volleys by difficulty through
  // the slot of the latest spawn.
  const float spins65[4] = {45.0f, 12.857f, 22.5f, 15.0f};
  const int rows83[4] = {2, 3, 4, 4};
  for (int d = 0; d < 4; ++d) {
    RunStageAt(65, d, false);
    EXPECT_EQ(pools.enemies[2].kind, 16);
    EXPECT_FLOAT_EQ(pools.enemies[2].slotA.angleVelocity.value, spins65[d]);
    RunStageAt(83, d, false);
    EXPECT_EQ(pools.enemies[2].kind, 14);
    EXPECT_EQ(pools.enemies[2].slotA.patternKind.value, 11);
    EXPECT_FLOAT_EQ(pools.enemies[2].slotA.rows.value, static_cast<float>(rows83[d]));
    EXPECT_EQ(pools.enemies[3].slotA.count.value, 0) << "kind 13 never fires";
  }
}

TEST_F(StageContents044, GapsStandWhereTheHubLandsThePlayers) {
  const HubGap gaps[] = {{44, 1000, 1174.4f, 320.0f}, {55, 1000, 1366.4f, 320.0f}, {73, 1000, 886.4f, 288.0f},
                         {86, 1000, 1334.4f, 352.0f}, {100, 100, 2038.4f, 128.0f}};
  ExpectHubGapsStandWhereTheHubLands(gaps, 0, true);
}

TEST_F(StageContents044, PresetBlocksAndPendulumsTakeTheirSetsAndPartners) {
  // Stage 49's last four blocks come from the presets: two small, two long,
  // all at frame 7 of their sets, the last one moving.
  RunStageAt(49, 1, false);
  struct Want {
    int width;
    const int* images;
    uint8_t motionKind, pushWeight, overlay;
  };
  const Want want[4] = {{32, assets.blockBlock32, 10, 1, 0},
                        {32, assets.blockBlock32, 10, 1, 0},
                        {64, assets.blockBlock64, 10, 1, 0},
                        {64, assets.blockBlock64, 11, 0, 1}};
  for (int i = 0; i < 4; ++i) {
    const BlockRecord& b = pools.blocks[16 + i];
    EXPECT_EQ(b.head.spriteWidth, want[i].width) << i;
    EXPECT_EQ(b.head.spriteHeight, 32);
    EXPECT_EQ(b.head.images, want[i].images) << i;
    EXPECT_EQ(b.head.frameCount, 8);
    EXPECT_EQ(b.head.framePeriod, 7);
    EXPECT_EQ(b.motionKind, want[i].motionKind) << i;
    EXPECT_EQ(b.pushWeight, want[i].pushWeight) << i;
    EXPECT_EQ(b.overlay, want[i].overlay) << i;
  }
  EXPECT_FLOAT_EQ(pools.blocks[19].velocityX, -3.0f);
  // Stages 85 and 86: each weight hangs at its rope's point; 86's two swing
  // opposite ways.
  for (int stage : {85, 86}) {
    RunStageAt(stage, 0, false);
    std::vector<const BlockRecord*> weights;
    for (const BlockRecord& b : pools.blocks) {
      if (b.head.state != kActorFree && b.head.images == assets.blockFurikoa) weights.push_back(&b);
    }
    std::vector<const EnemyRecord*> ropes;
    for (const EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.kind == 43) ropes.push_back(&e);
    }
    ASSERT_EQ(weights.size(), ropes.size()) << stage;
    for (size_t i = 0; i < weights.size(); ++i) {
      EXPECT_FLOAT_EQ(weights[i]->head.x - 32.0f, ropes[i]->head.x) << stage;
      EXPECT_FLOAT_EQ(weights[i]->head.y - 32.0f, ropes[i]->head.y) << stage;
      EXPECT_EQ(weights[i]->waveCode, 41);
      EXPECT_EQ(ropes[i]->hitPoints, 90000);
    }
    if (stage == 86) {
      ASSERT_EQ(weights.size(), 2u);
      EXPECT_FLOAT_EQ(weights[0]->amplitudeX, -weights[1]->amplitudeX);
      EXPECT_FLOAT_EQ(ropes[0]->motion.phaseStep, -ropes[1]->motion.phaseStep);
      EXPECT_EQ(ropes[0]->head.state, kActorActive);
    }
  }
  // Stage 94's three blocks after room 95's guardian fell.
  RunStageAt(94, 0, true);
  const float periods[3] = {161.0f, 179.0f, 237.0f};
  for (int i = 0; i < 3; ++i) {
    const BlockRecord& b = pools.blocks[i];
    EXPECT_EQ(b.motionKind, 52);
    EXPECT_EQ(b.overlay, 1);
    EXPECT_LT(b.head.y, 0.0f);
    EXPECT_FLOAT_EQ(b.velocityY, 2.0f);
    EXPECT_FLOAT_EQ(b.accelY, 0.05f);
    EXPECT_FLOAT_EQ(b.period, periods[i]);
  }
}

// Besides the edges and stairs: the points the hub's gaps land at, and
// the door from 56.
TEST_F(StageContents044, EveryWayInRuns600FramesAlikeTwiceE2E) {
  ExpectEveryWayInRunsAlike(kFirstStage, kLastStageHere,
                            {{44, 1174.4f, 320.0f}, {55, 1366.4f, 320.0f}, {73, 886.4f, 288.0f},
                             {86, 1334.4f, 352.0f}, {100, 2038.4f, 128.0f}, {58, 640.0f, 385.0f}});
}

TEST_F(StageContents044, ActorsStandOnThePlaceholderMapsAfter180Frames) {
  ExpectActorsStandAfter180Frames(kFirstStage, kLastStageHere, true, true);
}

}  // namespace
}  // namespace orb::test
