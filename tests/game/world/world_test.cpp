// The set-up routines against the world table typed in here: bounds, exits,
// boss mode, which exits mirror, and a walk that reaches every stage.
#include <map>
#include <queue>
#include <set>

#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/stages/stage_setup.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

struct WorldRow {
  int stage, width, left, right, up, down;
};

// clang-format off
const WorldRow kWorldTable[152] = {
    {1, 1280, 18, 2, 0, 0}, {2, 1280, 1, 3, 0, 0}, {3, 1920, 2, 4, 0, 0}, {4, 640, 3, 0, 5, 0},
    {5, 1280, 0, 6, 0, 4}, {6, 1920, 5, 7, 0, 0}, {7, 640, 6, 8, 0, 0}, {8, 1280, 7, 9, 0, 0},
    {9, 640, 8, 0, 0, 10}, {10, 1920, 0, 11, 9, 0}, {11, 1920, 10, 13, 0, 12}, {12, 2560, 0, 0, 11, 0},
    {13, 640, 11, 14, 0, 0}, {14, 1280, 13, 15, 0, 0}, {15, 1920, 14, 16, 0, 0}, {16, 640, 15, 17, 0, 0},
    {17, 1280, 16, 105, 0, 0}, {18, 1280, 19, 1, 0, 0}, {19, 1280, 20, 18, 32, 0}, {20, 1920, 21, 19, 0, 0},
    {21, 640, 22, 20, 0, 0}, {22, 1920, 23, 21, 0, 0}, {23, 640, 0, 22, 0, 24}, {24, 640, 0, 0, 23, 25},
    {25, 2560, 0, 0, 24, 0}, {26, 640, 0, 0, 27, 25}, {27, 1920, 28, 0, 0, 26}, {28, 640, 29, 27, 0, 0},
    {29, 1920, 31, 28, 0, 30}, {30, 640, 150, 0, 29, 0}, {31, 640, 45, 29, 0, 0}, {32, 1920, 0, 33, 0, 19},
    {33, 1280, 32, 0, 0, 34}, {34, 1920, 0, 35, 33, 0}, {35, 640, 34, 0, 0, 36}, {36, 1920, 0, 37, 35, 0},
    {37, 640, 36, 38, 102, 0}, {38, 640, 37, 39, 0, 0}, {39, 1920, 38, 40, 41, 0}, {40, 640, 39, 0, 0, 0},
    {41, 640, 0, 0, 42, 39}, {42, 1920, 104, 43, 0, 41}, {43, 640, 42, 44, 0, 0}, {44, 640, 43, 0, 0, 0},
    {45, 1920, 0, 31, 46, 0}, {46, 640, 0, 0, 47, 45}, {47, 1920, 0, 48, 57, 46}, {48, 640, 47, 0, 49, 0},
    {49, 1920, 57, 50, 0, 48}, {50, 1920, 49, 51, 0, 0}, {51, 640, 50, 52, 0, 53}, {52, 640, 51, 0, 0, 0},
    {53, 640, 0, 0, 51, 54}, {54, 640, 0, 55, 53, 0}, {55, 1920, 54, 56, 0, 0}, {56, 640, 55, 107, 0, 0},
    {57, 1920, 0, 49, 0, 47}, {58, 1920, 56, 59, 0, 0}, {59, 1920, 58, 71, 60, 0}, {60, 1920, 65, 0, 61, 59},
    {61, 1920, 0, 0, 62, 60}, {62, 1920, 0, 0, 63, 61}, {63, 1920, 0, 0, 64, 62}, {64, 1920, 0, 66, 0, 63},
    {65, 640, 0, 60, 0, 0}, {66, 1920, 64, 70, 0, 67}, {67, 1920, 0, 69, 66, 68}, {68, 1920, 0, 73, 67, 0},
    {69, 640, 67, 0, 0, 0}, {70, 640, 66, 74, 0, 0}, {71, 1920, 59, 72, 0, 0}, {72, 640, 71, 0, 73, 0},
    {73, 640, 68, 0, 0, 72}, {74, 1920, 70, 75, 0, 0}, {75, 640, 74, 76, 0, 0}, {76, 1920, 75, 0, 77, 0},
    {77, 1920, 78, 0, 82, 76}, {78, 640, 79, 77, 0, 0}, {79, 1920, 84, 78, 80, 0}, {80, 640, 0, 81, 0, 79},
    {81, 640, 80, 0, 0, 0}, {82, 1920, 83, 0, 0, 77}, {83, 640, 0, 82, 0, 0}, {84, 640, 0, 79, 85, 0},
    {85, 640, 0, 0, 86, 84}, {86, 1920, 0, 87, 0, 85}, {87, 640, 86, 88, 0, 0}, {88, 1920, 87, 89, 0, 0},
    {89, 640, 88, 90, 0, 0}, {90, 640, 89, 0, 0, 91}, {91, 640, 92, 93, 90, 0}, {92, 640, 0, 91, 0, 0},
    {93, 1920, 91, 94, 0, 0}, {94, 640, 93, 95, 96, 0}, {95, 1280, 94, 98, 0, 0}, {96, 640, 0, 97, 0, 94},
    {97, 1920, 96, 99, 0, 98}, {98, 1280, 95, 0, 97, 0}, {99, 640, 97, 100, 0, 0}, {100, 1920, 99, 101, 0, 0},
    {101, 640, 100, 0, 0, 0}, {102, 1920, 0, 103, 0, 37}, {103, 640, 102, 0, 104, 0}, {104, 640, 0, 42, 0, 103},
    {105, 1280, 17, 106, 0, 0}, {106, 1280, 105, 108, 107, 0}, {107, 1280, 56, 0, 0, 106}, {108, 640, 106, 109, 0, 0},
    {109, 1920, 108, 110, 0, 0}, {110, 1280, 109, 115, 111, 0}, {111, 1280, 0, 112, 0, 110}, {112, 1920, 111, 113, 0, 0},
    {113, 640, 112, 116, 0, 114}, {114, 640, 115, 0, 113, 0}, {115, 1920, 110, 114, 0, 0}, {116, 1920, 113, 0, 117, 0},
    {117, 1920, 0, 0, 118, 116}, {118, 1920, 0, 119, 0, 117}, {119, 640, 118, 120, 0, 0}, {120, 1280, 119, 121, 0, 0},
    {121, 1280, 120, 122, 0, 0}, {122, 1280, 121, 123, 0, 0}, {123, 640, 122, 0, 0, 0}, {124, 1920, 122, 125, 0, 0},
    {125, 1920, 124, 0, 127, 0}, {126, 1920, 0, 0, 0, 0}, {127, 640, 0, 128, 0, 125}, {128, 1920, 127, 0, 0, 0},
    {129, 1920, 131, 130, 132, 0}, {130, 1920, 129, 0, 133, 0}, {131, 640, 0, 129, 0, 0}, {132, 1920, 0, 133, 0, 129},
    {133, 1920, 132, 134, 0, 130}, {134, 1920, 133, 136, 135, 0}, {135, 640, 0, 0, 0, 134}, {136, 640, 134, 137, 0, 0},
    {137, 640, 136, 0, 0, 0}, {138, 640, 0, 139, 0, 0}, {139, 640, 138, 140, 0, 0}, {140, 1920, 139, 141, 0, 0},
    {141, 640, 140, 0, 142, 0}, {142, 1920, 0, 143, 0, 141}, {143, 1920, 142, 144, 0, 0}, {144, 640, 143, 0, 0, 145},
    {145, 1920, 0, 146, 144, 0}, {146, 640, 0, 147, 0, 0}, {147, 640, 146, 0, 0, 0}, {148, 640, 0, 149, 0, 0},
    {149, 640, 0, 0, 0, 0}, {150, 1920, 0, 30, 0, 0}, {151, 1280, 0, 0, 0, 0}, {152, 1280, 0, 0, 0, 0},
};
// clang-format on

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameModules(); }
  static void Enter(int stage) {
    game.CurrentStage = stage;
    RunStageSetup(stage);
  }
};

TEST_F(WorldTest, EveryRoutineWritesItsBoundsAndExits) {
  for (const WorldRow& row : kWorldTable) {
    game.links = {};
    Enter(row.stage);
    SCOPED_TRACE(row.stage);
    EXPECT_EQ(game.links.leftBound, 640.0f);
    EXPECT_EQ(game.links.rightBound, static_cast<float>(row.width));
    EXPECT_EQ(game.links.exitLeft, row.left);
    EXPECT_EQ(game.links.exitRight, row.right);
    EXPECT_EQ(game.links.exitUp, row.up);
    EXPECT_EQ(game.links.exitDown, row.down);
    EXPECT_EQ(game.PreviousStage, row.stage);  // BeginStage ran
  }
}

TEST_F(WorldTest, OnlyStagesOneTo152RunAndBossRoomsFollowTheirGuards) {
  Enter(3);
  pools.enemies[4].head.state = 1;
  for (int stage : {0, -1, 153, 100000}) {
    Enter(stage);
    EXPECT_EQ(game.links.rightBound, 1920.0f);
    EXPECT_EQ(pools.enemies[4].head.state, 1);
  }

  for (int stage : {16, 43, 56, 70, 87, 101, 119, 136}) {
    game.BossMode = 0;
    Enter(stage);
    EXPECT_EQ(game.BossMode, 1) << stage;
    game.BossMode = 0;
    game.StageEventDone[stage] = 1;
    Enter(stage);
    EXPECT_EQ(game.BossMode, 0) << stage;  // beaten: left as it was
    game.BossMode = 1;
    Enter(stage);
    EXPECT_EQ(game.BossMode, 1) << stage;
  }
  for (int stage : {31, 146, 149}) {
    game.BossMode = 0;
    game.StageEventDone[stage] = 1;  // not this room's guard
    Enter(stage);
    EXPECT_EQ(game.BossMode, 1) << stage;
    game.BossMode = 0;
    game.TakenItem5AndBosses[stage] = 1;
    Enter(stage);
    EXPECT_EQ(game.BossMode, 0) << stage;
  }
  for (int stage : {15, 17}) {
    game.BossMode = 1;
    Enter(stage);
    EXPECT_EQ(game.BossMode, 0);
  }
  game.BossMode = 1;
  Enter(18);
  EXPECT_EQ(game.BossMode, 1);  // no other routine writes it
}

TEST_F(WorldTest, ExitsMirrorExceptTheFiveOneWayLinks) {
  const std::set<std::pair<int, int>> oneWay = {{26, 25}, {58, 56}, {124, 122}, {145, 146}, {148, 149}};
  for (const WorldRow& row : kWorldTable) {
    const StageGeometry& from = StageGeometryOf(row.stage);
    const int exits[4] = {from.exitLeft, from.exitRight, from.exitUp, from.exitDown};
    for (int side = 0; side < 4; ++side) {
      if (exits[side] == 0) continue;
      const StageGeometry& to = StageGeometryOf(exits[side]);
      const int back[4] = {to.exitRight, to.exitLeft, to.exitDown, to.exitUp};
      const bool mirrored = back[side] == row.stage;
      EXPECT_EQ(mirrored, !oneWay.count({row.stage, exits[side]})) << row.stage << " -> " << exits[side];
    }
  }
}

TEST_F(WorldTest, AWalkOverExitsDoorsAndGapsReachesEveryStage) {
  // Doors and gaps, and the scripted ways on from 149 and 151.
  std::multimap<int, int> extra = {
      {137, 138}, {138, 137}, {147, 148}, {56, 58},  {122, 124}, {125, 126}, {126, 125},
      {128, 129}, {129, 128}, {149, 151}, {151, 152}, {25, 26},
  };
  for (int gap : {17, 30, 44, 55, 73, 86, 100, 123, 135}) {
    extra.insert({1, gap});
    extra.insert({gap, 1});
  }
  std::set<int> seen = {1};
  std::queue<int> todo;
  todo.push(1);
  while (!todo.empty()) {
    const int stage = todo.front();
    todo.pop();
    Enter(stage);
    std::vector<int> next = {game.links.exitLeft, game.links.exitRight, game.links.exitUp, game.links.exitDown};
    for (auto it = extra.lower_bound(stage); it != extra.upper_bound(stage); ++it) next.push_back(it->second);
    for (int n : next) {
      if (n >= 1 && n <= 152 && seen.insert(n).second) todo.push(n);
    }
  }
  EXPECT_EQ(seen.size(), 152u);
}

}  // namespace
}  // namespace orb::test
