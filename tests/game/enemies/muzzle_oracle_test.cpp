// Where an enemy's muzzle stands after its behaviour step, against the
// offsets typed here: a kind group places it ahead of the centre along the
// facing, the generic modes centre it, a boss in its attack cycle places its
// own; an enemy with no such step leaves it where it was.
#include "enemy_test_support.h"

namespace orb::test {
namespace {

constexpr float kUntouched = -999.0f;

struct MuzzleCase {
  int32_t kind, mode, facing;
  uint8_t airborne;
  int32_t timer;
  bool placed;
  float dx, dy;  // from the centre before the move, when placed
  const char* what;
};

TEST_F(EnemyTest, TheMuzzleIsPlacedOnlyByTheStepThatFiresFromIt) {
  const MuzzleCase cases[] = {
      {4, 0, 1, 0, 0, true, 7, 3, "group 2, facing right"},
      {4, 0, 0, 0, 0, true, -7, 3, "group 2, facing left"},
      {8, 0, 1, 0, 0, true, 20, 4, "group 3 on the ground"},
      {8, 0, 0, 1, 0, true, -7, 4, "group 3 in the air"},
      {26, 0, 1, 0, 0, true, 20, 4, "group 4 on the ground"},
      {18, 0, 0, 0, 0, true, -28, 4, "kind 18"},
      {20, 0, 1, 0, 0, true, 7, 4, "group 7"},
      {1, 0, 1, 0, 0, false, 0, 0, "group 1 never fires"},
      {23, 31, 1, 0, 0, true, 0, 0, "a generic mode fires from the centre"},
      {23, 0, 1, 0, 0, false, 0, 0, "no group and no generic mode"},
      {29, 1, 1, 0, 299, true, 17, 3, "a boss in its attack cycle"},
      {29, 1, 0, 0, 299, true, -17, 3, "a boss in its attack cycle, facing left"},
      {29, 1, 1, 0, 10, false, 0, 0, "a boss still in its intro"},
  };
  for (const MuzzleCase& c : cases) {
    ResetGameModules();
    game.DifficultyLevel = 1;
    SpawnEnemy(0, 0, c.kind, 0, 1, c.mode, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.head.x = 500.0f;
    e.head.y = 300.0f;
    e.facing = c.facing;
    e.airborne = c.airborne;
    e.timer = c.timer;
    e.muzzleX.value = e.muzzleY.value = kUntouched;
    RunEnemyAI(e);
    EXPECT_EQ(e.muzzleX.value, c.placed ? 500.0f + c.dx : kUntouched) << c.what;
    EXPECT_EQ(e.muzzleY.value, c.placed ? 300.0f + c.dy : kUntouched) << c.what;
  }
}

}  // namespace
}  // namespace orb::test
