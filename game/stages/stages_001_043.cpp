// The set-up routines of stages 1 to 43: each begins its stage, then spawns
// what the stage holds, in a fixed order that decides the enemy slots. Where
// a stage leaves a point open, walkers, items and gaps stand on the floor
// (its top at y 416) and fliers in the open air above it, all clear of the
// edges with exits and of the stairs, where the players arrive.
#include "game/stages/stage_routines.h"
#include "game/stages/stage_setup.h"
#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/actors/items.h"

namespace orb {

namespace {

// Active lengths of the turrets' slots by difficulty: the falling shots of
// kind 22 and the aimed fan of kind 20 in stage 33.
constexpr int32_t kFallingShotLength[4] = {18, 30, 48, 66};
constexpr int32_t kTurretFanLength[4] = {6, 18, 24, 30};

}  // namespace

// The hub: a gap to each far stage whose own gap back has been taken.
void SetupStage001() {
  EnterStage(1);
  if (game.WarpGapOpen[17] == 1) SpawnEnemy(1472.0f, 291.2f, 38, 0, 2, 51, 17, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[123] == 1) SpawnEnemy(1600.0f, 291.2f, 38, 0, 2, 51, 123, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[135] == 1) SpawnEnemy(1728.0f, 291.2f, 38, 0, 2, 51, 135, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[30] == 1) SpawnEnemy(960.0f, 291.2f, 38, 0, 2, 51, 30, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[44] == 1) SpawnEnemy(832.0f, 291.2f, 38, 0, 2, 51, 44, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[55] == 1) SpawnEnemy(704.0f, 291.2f, 38, 0, 2, 51, 55, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[73] == 1) SpawnEnemy(1088.0f, 291.2f, 38, 0, 2, 51, 73, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[86] == 1) SpawnEnemy(1216.0f, 291.2f, 38, 0, 2, 51, 86, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (game.WarpGapOpen[100] == 1) SpawnEnemy(1344.0f, 291.2f, 38, 0, 2, 51, 100, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
}

void SetupStage002() {
  EnterStage(2);
  const int d = game.DifficultyLevel;
  const float walk = DifficultyExcess() + 1.0f;
  if (d >= 2) {
    SpawnEnemy(1248.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnEnemy(1440.0f, 288.0f, 1, 0, 8, 4, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1056.0f, 320.0f, 1, 0, 8, 1, 70, 1, walk, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1088.0f, 320.0f, 1, 0, 8, 1, 70, 1, walk, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1120.0f, 320.0f, 1, 0, 8, 1, 70, 1, walk, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1152.0f, 320.0f, 1, 0, 8, 2, 70, 1, walk, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1376.0f, 224.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 1) {
    SpawnEnemy(1472.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnEnemy(1472.0f, 288.0f, 1, 0, 8, 4, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0);
  SpawnEnemy(1664.0f, 256.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
}
// At difficulty 0 one hopper carries bullets but no attack slot, so it never fires.
void SetupStage003() {
  EnterStage(3);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1000.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1040.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1400.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1440.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1800.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1840.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2000.0f, 387.0f, 1, 0, 8, 2, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2200.0f, 378.0f, 4, 0, 6, 9, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d == 0) {
    SpawnEnemy(1200.0f, 378.0f, 4, 0, 6, 2, 70, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
    SpawnEnemy(1600.0f, 378.0f, 4, 0, 6, 2, 70, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
    SpawnEnemy(2300.0f, 378.0f, 4, 0, 6, 2, 70, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  }
  if (d >= 1) {
    SpawnEnemy(1200.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1600.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2300.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(1700.0f, 160.0f, 4, 0, 6, 32, 70, 0, 1.4f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage004() {
  EnterStage(4);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  // Nearer at the easy difficulties, farther back and moving at the hard ones.
  SpawnEnemy(d >= 2 ? 1184.0f : 1056.0f, 378.0f, 18, 0, 4, 3, d == 0 ? 130 : d == 1 ? 300 : 500, 1, e * 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11300);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 120.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 110, 0);
}

void SetupStage005() {
  EnterStage(5);
  const float e = DifficultyExcess();
  SpawnEnemy(800.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(880.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1500.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1600.0f, 357.0f, 3, 0, 8, 1, 400, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
}

void SetupStage006() {
  EnterStage(6);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.0f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1300.0f, 160.0f, 4, 0, 6, 32, 70, 0, 2.0f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1700.0f, 224.0f, 4, 0, 6, 32, 70, 0, 2.0f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1100.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1500.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1900.0f, 378.0f, 9, 0, 6, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 120, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2000.0f, 378.0f, 8, 0, 6, 2, 200, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2100.0f, 378.0f, 10, 0, 6, 7, 200, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2250.0f, 378.0f, 4, 0, 6, 9, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 2) {
    SpawnEnemy(1400.0f, 378.0f, 4, 0, 6, 7, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11500);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 80.0f, 60, 120, 1, 60, 1, e + 1.0f, 0.1f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1600.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage007() {
  EnterStage(7);
  const int d = game.DifficultyLevel;
  if (d == 2) {
    SpawnEnemy(880.0f, 192.0f, 4, 0, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 40, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(980.0f, 160.0f, 4, 0, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 40, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(1080.0f, 224.0f, 4, 0, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 60, 120, 10, 30, 2, 3.0f, 8.0f, -1.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  }
  SpawnBlock(820.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1040.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage008() {
  EnterStage(8);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1000.0f, 378.0f, 4, 0, 6, 6, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(1300.0f, 192.0f, 28, 0, 6, 31, 70, 0, 6.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6 + 2 * static_cast<int32_t>(e), 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1500.0f, 240.0f, 28, 0, 6, 31, 70, 0, 6.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6 + 2 * static_cast<int32_t>(e), 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(1650.0f, 160.0f, 28, 0, 6, 31, 70, 0, 6.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 8, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1700.0f, 378.0f, 11, 0, 4, 8, 400, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  }
  SpawnBlock(900.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1100.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1300.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1500.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1650.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 30, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage009() {
  EnterStage(9);
  const float e = DifficultyExcess();
  SpawnEnemy(790.0f, 357.0f, 3, 0, 8, 1, 400, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(950.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
}

void SetupStage010() {
  EnterStage(10);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  // The rushing walkers take the difficulty-1 speed at difficulty 0 too.
  const float rush = d >= 2 ? 70.0f : 120.0f;
  SpawnEnemy(1000.0f, 192.0f, 4, 0, 6, 32, 70, 0, 1.4f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1100.0f, 378.0f, 4, 0, 6, 3, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1300.0f, 387.0f, 1, 0, 8, 2, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1350.0f, 387.0f, 1, 0, 8, 3, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1450.0f, 378.0f, 4, 0, 6, 2, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1550.0f, 387.0f, 1, 0, 8, 2, 70, 1, rush, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1600.0f, 387.0f, 1, 0, 8, 2, 70, 1, rush, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1700.0f, 387.0f, 1, 0, 8, 3, 70, 1, rush, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1750.0f, 387.0f, 1, 0, 8, 3, 70, 1, rush, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1850.0f, 378.0f, 4, 0, 6, 4, 70, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1950.0f, 378.0f, 4, 0, 6, 4, 70, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2050.0f, 160.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2150.0f, 224.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2250.0f, 378.0f, 13, 0, 6, 3, 500, 1, e * 2.0f + 4.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d == 1) {
    SpawnEnemy(2350.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11403);
    SetEnemyAttackSlot(LastEnemy(), 12, 1, 120.0f, 60, 120, 1, 60, 1, 2.0f, 0.1f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(2350.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11403);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 70.0f, 60, 120, 1, 60, 1, e + 2.0f, 0.1f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1500.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage011() {
  EnterStage(11);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(800.0f, 387.0f, 1, 0, 8, 2, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(880.0f, 387.0f, 1, 0, 8, 2, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(960.0f, 387.0f, 1, 0, 8, 2, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1500.0f, 387.0f, 1, 0, 8, 3, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1560.0f, 387.0f, 1, 0, 8, 3, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1620.0f, 387.0f, 1, 0, 8, 3, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1700.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1760.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1820.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1880.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1940.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1550.0f, 160.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1750.0f, 224.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1950.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2100.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.0f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2200.0f, 387.0f, 1, 0, 8, 1, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(2250.0f, 160.0f, 28, 0, 6, 31, 70, 0, 6.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2350.0f, 224.0f, 28, 0, 6, 31, 70, 0, 6.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1600.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2000.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  if (game.TakenItem5AndBosses[11] == 0) SpawnItem(2300.0f, 403.0f, 5, 0.0f);
}

// A row of falling blocks over the floor, a generator of drifting blocks and three carriers.
void SetupStage012() {
  EnterStage(12);
  for (int i = 0; i < 27; ++i) {
    SpawnBlock(static_cast<float>(1056 + 32 * i), 192.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 30, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  }
  SpawnBlock(2100.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 30, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2900.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, -1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 120.0f, 0, 0.0f, 0);
  SpawnBlock(2200.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 1.5f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  SpawnBlock(2450.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 1.5f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  SpawnBlock(2700.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 1.5f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  if (game.TakenItem7[12] == 0) SpawnItem(3000.0f, 392.0f, 7, 0.0f);
}

void SetupStage013() {
  EnterStage(13);
  const int d = game.DifficultyLevel;
  SpawnEnemy(950.0f, 192.0f, 4, 0, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, d == 0 ? 20 : 40 + 20 * d, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnBlock(820.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1040.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage014() {
  EnterStage(14);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1000.0f, 378.0f, 7, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1200.0f, 378.0f, 7, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1400.0f, 192.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1600.0f, 224.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  if (d >= 1) {
    SpawnEnemy(1300.0f, 378.0f, 7, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1500.0f, 378.0f, 7, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1700.0f, 160.0f, 4, 0, 6, 32, 70, 0, 2.0f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(900.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1100.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1300.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1550.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 30, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage015() {
  EnterStage(15);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(960.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1100.0f, 378.0f, 7, 0, 6, 5, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1200.0f, 378.0f, 7, 0, 6, 5, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1300.0f, 160.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1450.0f, 224.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1600.0f, 192.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1750.0f, 160.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1900.0f, 224.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(2000.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2100.0f, 378.0f, 7, 0, 6, 5, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2200.0f, 378.0f, 7, 0, 6, 1, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 1) {
    SpawnEnemy(1500.0f, 378.0f, 7, 0, 6, 5, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(1650.0f, 378.0f, 7, 0, 6, 5, 70, 1, e * 0.5f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2050.0f, 224.0f, 4, 0, 6, 31, 70, 0, e * 0.5f + 3.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
    SpawnEnemy(2300.0f, 378.0f, 7, 0, 6, 7, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(1800.0f, 378.0f, 4, 0, 6, 7, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11500);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 80.0f, 60, 120, 1, 60, 1, e + 1.0f, 0.1f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(1950.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11403);
    SetEnemyAttackSlot(LastEnemy(), 12, 1, 120.0f, 60, 120, 1, 60, 1, 2.0f, 0.1f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (game.TakenItem6[15] == 0) SpawnItem(2350.0f, 392.0f, 6, 0.0f);
  SpawnItem(1000.0f, 400.0f, 2, 0.0f);
}

// The first boss room: its boss only while the fight is on.
void SetupStage016() {
  EnterStage(16);
  if (game.BossMode == 1) SpawnEnemy(1088.0f, 377.6f, 29, 0, 6, 1, 3000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
}

// The gap back to the hub stands where the hub's gap lands the players.
void SetupStage017() {
  EnterStage(17);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(850.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(950.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1100.0f, 378.0f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, kFallingShotLength[d], 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - e, 90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 0);
  SpawnEnemy(1250.0f, 378.0f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11602);
  SetEnemyAttackSlot(LastEnemy(), 2, 2, 40.0f, 18 + 12 * d, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 0);
  SpawnEnemy(1650.0f, 378.0f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, d == 0 ? 6 : 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 0);
  SpawnEnemy(1472.0f, 291.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
}

void SetupStage018() {
  EnterStage(18);
  const int d = game.DifficultyLevel;
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 4, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1000.0f, 387.0f, 1, 0, 8, 5, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1100.0f, 387.0f, 1, 0, 8, 6, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1400.0f, 224.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1600.0f, 160.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 2) {
    SpawnEnemy(1300.0f, 387.0f, 1, 0, 8, 6, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
    SpawnEnemy(1500.0f, 160.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(1450.0f, 387.0f, 1, 0, 8, 4, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
    SpawnEnemy(1550.0f, 387.0f, 1, 0, 8, 5, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
    SpawnEnemy(1700.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage019() {
  EnterStage(19);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1000.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1420.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1560.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1700.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1100.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1700.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 2) {
    SpawnEnemy(1500.0f, 160.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1250.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.02f, 0.0f, 1, 0.0f, 0);
  SpawnBlock(1500.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.02f, 0.0f, 1, 0.0f, 0);
}

void SetupStage020() {
  EnterStage(20);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(960.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1020.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1240.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1280.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1320.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1360.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1400.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1600.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnEnemy(1700.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1900.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 1) {
    SpawnEnemy(2000.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
    SpawnEnemy(1800.0f, 357.0f, 3, 0, 8, 1, 480, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  }
  if (d >= 2) {
    SpawnEnemy(2200.0f, 343.0f, 25, 0, 6, 33, 100, 0, e + 3.5f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
    SpawnEnemy(2100.0f, 357.0f, 3, 0, 8, 1, 480, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  }
  if (d == 3) {
    SpawnEnemy(2300.0f, 160.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage021() {
  EnterStage(21);
  const int d = game.DifficultyLevel;
  SpawnEnemy(800.0f, 192.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(900.0f, 160.0f, 4, 0, 6, 1, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 1) {
    SpawnEnemy(1000.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11501);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 120.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(1050.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(1100.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage022() {
  EnterStage(22);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(2300.0f, 192.0f, 27, 0, 1, 31, 200, 0, 6.8f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11503);
  SetEnemyAttackSlot(LastEnemy(), 3, 3 + d, 120.0f, 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 2.0f * InverseBulletSpeedScale[d], 90.0f, 0.0f, 0.0f, 0.03f, 0.0f, 0.0f, 0.0f, 200, 20);
  SpawnEnemy(900.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(950.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1000.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1050.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1100.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 357.0f, 3, 0, 8, 1, 480, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1300.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1340.0f, 401.0f, 2, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1450.0f, 378.0f, 4, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1550.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1650.0f, 357.0f, 3, 0, 8, 1, 580, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1800.0f, 378.0f, 9, 0, 6, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 200, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 170);
  SpawnEnemy(1900.0f, 378.0f, 8, 0, 6, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 + 30 * d, 240, 1, 30, 1, 2.0f, 8.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 110);
  SpawnEnemy(2000.0f, 378.0f, 10, 0, 6, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 120.0f, 30 * d, 180, 1, 10, 1, 0.0f, 0.0f, -1.0f, 2.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 20);
  if (d >= 1) {
    SpawnEnemy(2100.0f, 378.0f, 4, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11503);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d == 3) {
    SpawnEnemy(2200.0f, 160.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1500.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnItem(2350.0f, 400.0f, 2, 0.0f);
}

// Only the hard difficulties guard the way down.
void SetupStage023() {
  EnterStage(23);
  const int d = game.DifficultyLevel;
  if (d >= 2) {
    SpawnEnemy(800.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(950.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  }
}

void SetupStage024() {
  EnterStage(24);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1110.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1160.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1210.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(1180.0f, 192.0f, 4, 0, 6, 1, 200, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 30 + 30 * d, 120, 2 * d - 1, 30, 2, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
  }
}

void SetupStage025() {
  EnterStage(25);
  const int d = game.DifficultyLevel;
  if (d >= 1) {
    SpawnEnemy(2100.0f, 378.0f, 11, 0, 4, 8, 400, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  }
  if (d == 3) {
    SpawnEnemy(2500.0f, 192.0f, 4, 0, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30, 120, 10, 30, 2, 3.0f, 8.0f, -1.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 50);
  }
  SpawnBlock(2000.0f, 192.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 1.5f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  SpawnBlock(2200.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(2400.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(2600.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(2800.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(3000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 1.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  if (game.TakenItem6[25] == 0) SpawnItem(3100.0f, 392.0f, 6, 0.0f);
}

void SetupStage026() {
  EnterStage(26);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(950.0f, 378.0f, 18, 0, 4, 2, 230 + 70 * d, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11300);
  SetEnemyAttackSlot(LastEnemy(), 2, 1 + 2 * d, 70.0f + 35.0f * e, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 110, 0);
}

void SetupStage027() {
  EnterStage(27);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 192.0f, 4, 0, 6, 1, 200, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
  SpawnEnemy(1100.0f, 224.0f, 4, 0, 6, 1, 200, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
  SpawnEnemy(1300.0f, 160.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1500.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1700.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1800.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1900.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(2000.0f, 224.0f, 4, 0, 6, 1, 200, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11500);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
  }
  SpawnBlock(1200.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1600.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnItem(2100.0f, 400.0f, 2, 0.0f);
}

// A spiral whose values the difficulty chooses; the hard ones set the latest spawn's slot.
void SetupStage028() {
  EnterStage(28);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(950.0f, 378.0f, 14, 0, 4, 7, 330 + 70 * d, 1, 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11501);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 11, 1, 0.0f, 10, 120, 10, 10, 1, 2.0f, 0.2f, 0.0f, 1.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 36.0f, 0.0f, 70, 50);
  } else if (d == 1) {
    SetEnemyAttackSlot(LastEnemy(), 11, 1, 0.0f, 20, 120, 20, 20, 1, 3.0f, 0.2f, 0.0f, 2.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 18.0f, 0.0f, 70, 50);
  } else {
    SetLastEnemyAttackSlot(1, 11, 1, 0.0f, 16 + 4 * d, 120, 16 + 4 * d, 16 + 4 * d, 4.0f, 0.2f, 0.0f, e + 2.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, d == 2 ? 15.0f : 12.857f, 0.0f, 70, 50);
  }
}

void SetupStage029() {
  EnterStage(29);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1000.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1100.0f, 160.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1200.0f, 387.0f, 1, 0, 8, 3, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1260.0f, 387.0f, 1, 0, 8, 3, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1350.0f, 387.0f, 1, 0, 8, 3, 100, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1410.0f, 387.0f, 1, 0, 8, 3, 100, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1500.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1600.0f, 387.0f, 1, 0, 8, 2, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1660.0f, 387.0f, 1, 0, 8, 2, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1720.0f, 387.0f, 1, 0, 8, 2, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1780.0f, 387.0f, 1, 0, 8, 2, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1900.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1960.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(2050.0f, 160.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
    SpawnEnemy(2150.0f, 224.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(2250.0f, 192.0f, 4, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11403);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1400.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1800.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2100.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

// The gap back to the hub stands where the hub's gap lands the players.
void SetupStage030() {
  EnterStage(30);
  SpawnEnemy(768.0f, 323.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  SpawnBlock(1000.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1150.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

// The mid-boss comes back after every reload: its beaten flag is not saved.
void SetupStage031() {
  EnterStage(31);
  if (game.BossMode == 1) SpawnEnemy(640.0f, 282.88f, 15, 0, 10, 1, 3000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
}

void SetupStage032() {
  EnterStage(32);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(700.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(760.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(820.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(880.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(940.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1500.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1600.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1700.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1800.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(2000.0f, 378.0f, 4, 0, 6, 2, 70, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 2) {
    SpawnEnemy(2200.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage033() {
  EnterStage(33);
  const int d = game.DifficultyLevel;
  SpawnEnemy(850.0f, 378.0f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11602);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, kTurretFanLength[d], 180, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 80);
  SpawnEnemy(1600.0f, 378.0f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, d == 0 ? 6 : 18, 180, d == 0 ? 6 : 9, d == 0 ? 6 : 9, d == 0 ? 6 : 9, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 110);
}

void SetupStage034() {
  EnterStage(34);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1000.0f, 378.0f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, kFallingShotLength[d], 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - e, 90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 0);
  SpawnEnemy(1100.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1150.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1250.0f, 387.0f, 1, 0, 8, 1, 70, 1, e + 1.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1400.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1450.0f, 387.0f, 1, 0, 8, 1, 100, 1, e + 1.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1600.0f, 378.0f, 5, 0, 6, 4, 200, 1, e * 0.7f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1700.0f, 378.0f, 5, 0, 6, 4, 200, 1, e * 0.7f + 2.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1800.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2000.0f, 224.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2200.0f, 160.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnBlock(1300.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1500.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1900.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2100.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage035() {
  EnterStage(35);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(800.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(900.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  if (d >= 2) {
    SpawnEnemy(960.0f, 378.0f, 18, 0, 4, 2, 290 + 10 * d, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11300);
    SetEnemyAttackSlot(LastEnemy(), 2, 1 + 2 * static_cast<int32_t>(e), 70.0f + 35.0f * e, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 110, 0);
  }
}

void SetupStage036() {
  EnterStage(36);
  const int d = game.DifficultyLevel;
  SpawnEnemy(1000.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1100.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1200.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1300.0f, 375.0f, 40, 0, 1, 1, 300, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1450.0f, 351.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1550.0f, 351.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1650.0f, 351.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1750.0f, 351.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1900.0f, 378.0f, 5, 0, 6, 1, 280, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 40 + 20 * d, 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 70, 70);
  SpawnEnemy(2100.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (d >= 2) {
    SpawnEnemy(2300.0f, 224.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage037() {
  EnterStage(37);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  if (d >= 2) {
    SpawnEnemy(1050.0f, 378.0f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 11600);
    SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, 18 * d, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - e, 90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 0);
  }
  SpawnBlock(960.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1120.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage038() {
  EnterStage(38);
  const int d = game.DifficultyLevel;
  SpawnEnemy(950.0f, 378.0f, 17, 0, 6, 10, 380, 1, 2.5f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 110.0f, 8 + 4 * d, 120, 1, 4, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 70, 30);
}

// Blocks only.
void SetupStage039() {
  EnterStage(39);
  SpawnBlock(900.0f, 288.0f, 32.0f, 33.0f, assets.blockIwa3232, 2, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1000.0f, 256.0f, 32.0f, 33.0f, assets.blockIwa3232, 2, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1100.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1250.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1700.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1850.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2150.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2300.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage040() {
  EnterStage(40);
  SpawnBlock(800.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(900.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1100.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  if (game.TakenItem7[40] == 0) SpawnItem(1150.0f, 392.0f, 7, 0.0f);
}

void SetupStage041() {
  EnterStage(41);
  const int d = game.DifficultyLevel;
  SpawnEnemy(1110.0f, 378.0f, 9, 0, 6, 1, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 + 20 * d, 120, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1170.0f, 378.0f, 8, 0, 6, 2, 200, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1225.0f, 378.0f, 10, 0, 6, 7, 200, 1, 3.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
}

void SetupStage042() {
  EnterStage(42);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 192.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1100.0f, 224.0f, 4, 0, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1700.0f, 378.0f, 5, 0, 6, 1, 280, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 40 + 20 * d, 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 70, 70);
  SpawnEnemy(1900.0f, 378.0f, 5, 0, 6, 1, 280, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 40 + 20 * d, 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 70, 70);
  if (d == 1) {
    SpawnEnemy(2100.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10203);
    SetEnemyAttackSlot(LastEnemy(), 12, 1, 120.0f, 60, 120, 1, 60, 1, 2.0f, 0.1f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (d >= 2) {
    SpawnEnemy(2100.0f, 378.0f, 4, 0, 6, 3, 200, 1, 0.0f, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 10203);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 70.0f, 60, 120, 1, 60, 1, e + 2.0f, 0.1f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(1000.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1700.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2000.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.02f, 0.0f, 1, 0.0f, 0);
}

void SetupStage043() {
  EnterStage(43);
  if (game.BossMode == 1) SpawnEnemy(1088.0f, 345.6f, 30, 0, 6, 1, 3500, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
}

}  // namespace orb
