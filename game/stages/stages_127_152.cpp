// The set-up routines of stages 127 to 152: each begins its stage, then spawns what the stage holds.
// Spawns stand on the stage maps as described in stages_102_126.cpp.
#include "game/actors/blocks.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/actors/items.h"
#include "game/stages/stage_routines.h"
#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage127() {
  EnterStage(127);
  const int d = game.DifficultyLevel;
  SpawnBlockOfKind(736.0f, 96.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 9.0f, 0.118f, 0, 0, 0, 0, 0);
  SpawnEnemy(900.0f, 192.0f, 4, 2, 6, 1, 350, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 5, 120.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
}

// The two kind-41 actors are the doors to stage 129, which keeps the
// players' position: its doors stand at the same points.
void SetupStage128() {
  EnterStage(128);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1472.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2112.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnBlockOfKind(900.0f, 128.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 4.6f, 0.07f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1120.0f, 128.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 4.8f, 0.075f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1300.0f, 128.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 5.0f, 0.08f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1700.0f, 128.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 5.1f, 0.085f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1850.0f, 128.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 5.2f, 0.09f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(2000.0f, 128.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 5.3f, 0.08f, 0, 0, 0, 0, 0);
  SpawnEnemy(1000.0f, 373.0f, 6, 1, 6, 1, 40 * d + 500, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3,
             10800);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 20 * (d + 2), 200, 10, 20, 5, 3.0f, 8.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 0);
  SpawnEnemy(1100.0f, 386.0f, 1, 2, 8, 3, 170, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1200.0f, 386.0f, 1, 2, 8, 3, 170, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1300.0f, 386.0f, 1, 2, 8, 3, 170, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1700.0f, 160.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(850.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1250.0f, 96.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1900.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// The doors back to stage 128, at its doors' points. The first two belt
// blocks swing up and down from difficulty 1, the first of them from lower.
void SetupStage129() {
  EnterStage(129);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  if (game.TakenItem7[129] == 0) SpawnItem(1800.0f, 391.0f, 7, 0.0f);
  SpawnEnemy(1472.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2112.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnBlockOfKind(1100.0f, 256.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.7f, 0, 0.058f, 0, 0, 0, 0, 0);
  if (d == 0) {
    SpawnBlockOfKind(1300.0f, 192.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.0f, 0, 0.08f, 0, 1, 0, 0, 0);
  } else {
    SpawnBlockOfKind(1300.0f, 288.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 5.0f, 5.0f, 0.08f, 0, 1, 0, 0, 0);
  }
  SpawnBlockOfKind(1500.0f, 160.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, d == 0 ? 4.0f : 5.0f, d == 0 ? 0.0f : 5.0f,
                   0.08f, 2.14f, 1, 0, 0, 0);
  SpawnBlockOfKind(1700.0f, 224.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.7f, 0, 0.058f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1950.0f, 192.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.7f, 0, 0.068f, 3.14f, 0, 0, 0, 0);
  SpawnBlockOfKind(2200.0f, 224.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.7f, 0, 0.078f, 0, 0, 0, 0, 0);
  SpawnEnemy(1650.0f, 377.0f, 5, 2, 6, 15, 280, 1, 2.0f + 0.4f * e, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1750.0f, 377.0f, 5, 2, 6, 15, 280, 1, 2.0f + 0.4f * e, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1000.0f, 128.0f, 23, 2, 6, 31, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1200.0f, 96.0f, 23, 2, 6, 31, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(2000.0f, 128.0f, 24, 1, 6, 31, 500, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

void SetupStage130() {
  EnterStage(130);
  SpawnBlockOfKind(1200.0f, 160.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 9.2f, 0.16f, 0, 0, 0, 0, 0);
}

void SetupStage131() {
  EnterStage(131);
  const int d = game.DifficultyLevel;
  SpawnBlockOfKind(704.0f, 32.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.023f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(960.0f, 32.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.023f, 0, 0, 0, 0, 0);
  if (d >= 2) {
    SpawnEnemy(900.0f, 192.0f, 4, 2, 6, 31, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10803);
    SetEnemyAttackSlot(LastEnemy(), 32, 5, 120.0f, 48 * (d - 1), 240, 12, 24, 4, 3.0f, 8.0f, -1.0f, 4.5f, 0, 0, 0, 0,
                       0, 0, 0, 0, 60);
  }
}

// A row of belts that rise and fall one after another.
void SetupStage132() {
  EnterStage(132);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const int ei = static_cast<int>(e);
  if (game.TakenItem9[132] == 0) SpawnItem(800.0f, 391.0f, 9, 0.0f);
  SpawnBlockOfKind(1472.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1536.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -0.628f, 0, 0, 0, 0);
  SpawnBlockOfKind(1600.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -1.256f, 0, 0, 0, 0);
  SpawnBlockOfKind(1664.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -1.884f, 0, 0, 0, 0);
  SpawnBlockOfKind(1728.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -2.512f, 0, 0, 0, 0);
  SpawnBlockOfKind(1792.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -3.14f, 0, 0, 0, 0);
  SpawnBlockOfKind(1856.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -3.768f, 0, 0, 0, 0);
  SpawnBlockOfKind(1920.0f, 144.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 3.0f, 0.048f, -4.396f, 0, 0, 0, 0);
  if (d >= 1) {
    SpawnEnemy(1500.0f, 377.0f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11600);
    SetLastEnemyAttackSlot(6, 3, 1, 60.0f, 18 * ei + 30, 240, 6, 6, 0, 0, 0, 4.0f - e, 90.0f, 0, 0, 0.07f, 0, 0, 0,
                           1000, 90);
    SpawnEnemy(1700.0f, 377.0f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11602);
    SetLastEnemyAttackSlot(6, 4, 1, 90.0f, 6 * ei + 18, 240, 6, 6, 0, 0, 0, 4.0f, 0, 0, 0, 0.02f, 0, 0, 0, 1000, 150);
    SpawnEnemy(1900.0f, 377.0f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11603);
    SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, 18, 240, 6, 6, 6, 0, 0, 0, 4.0f, 0, 0, 0, 0, 1.5f, 2.0f, 0, 50, 100);
  }
  SpawnEnemy(2100.0f, 128.0f, 24, 1, 6, 31, 500, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// A row of small blocks in a slow wave (a deep one from difficulty 1).
// Kinds 12 and 11 stand and fire here.
void SetupStage133() {
  EnterStage(133);
  const int d = game.DifficultyLevel;
  const float a = d == 0 ? 1.0f : 3.0f;
  SpawnBlockOfKind(1440.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1472.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -0.628f, 0, 0, 0, 0);
  SpawnBlockOfKind(1504.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -1.256f, 0, 0, 0, 0);
  SpawnBlockOfKind(1536.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -1.884f, 0, 0, 0, 0);
  SpawnBlockOfKind(1568.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -2.512f, 0, 0, 0, 0);
  SpawnBlockOfKind(1600.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -3.14f, 0, 0, 0, 0);
  SpawnBlockOfKind(1632.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -3.768f, 0, 0, 0, 0);
  SpawnBlockOfKind(1664.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -4.396f, 0, 0, 0, 0);
  SpawnBlockOfKind(1696.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -5.024f, 0, 0, 0, 0);
  SpawnBlockOfKind(1728.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -5.652f, 0, 0, 0, 0);
  SpawnBlockOfKind(1760.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -6.28f, 0, 0, 0, 0);
  SpawnBlockOfKind(1792.0f, 144.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, a, 0.048f, -6.908f, 0, 0, 0, 0);
  SpawnBlockOfKind(2100.0f, 224.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 4.7f, 0, 0.048f, 1.0f, 0, 0, 0, 0);
  SpawnBlockOfKind(2300.0f, 160.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 7.2f, 0.16f, 0, 0, 0, 0, 0);
  SpawnEnemy(850.0f, 377.0f, 12, 0, 4, 1, 40 * d + 340, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3, 11200);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 120.0f, 4 * (d + 3), 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.21f, 0, 0, 0, 0, 0, 100,
                     30);
  SpawnEnemy(950.0f, 377.0f, 11, 0, 4, 1, 240, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 150.0f, 4 * (d + 2), 120, 1, 4, 1, 0, 0, 0, 4.0f, 0, 0, 0, 0, 0.6f, 0, 0, 170,
                     60);
  SpawnEnemy(1900.0f, 96.0f, 24, 1, 6, 31, 500, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1500.0f, 377.0f, 44, 0, 6, 23, 400, 1, 2.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10403);
  SetEnemyAttackSlot(LastEnemy(), 1, 2 * d + 8, 360.0f, 48, 240, 12, 48, 4, 0, 0, 0, 3.0f, 0, 0, 0, 0, 1.1f, 0, 0, 110,
                     60);
}

void SetupStage134() {
  EnterStage(134);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnBlockOfKind(1100.0f, 288.0f, 1, 11, 0, 1, d == 0 ? 2.0f : 3.0f, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnBlockOfKind(1700.0f, 288.0f, 1, 11, 0, 1, -3.0f, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1400.0f, 160.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.8f, 0, 0, 0, 0, 0,
                     0, 0, 0, 100);
  SpawnEnemy(1500.0f, 224.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  if (d >= 1) {
    SpawnEnemy(1600.0f, 128.0f, 4, 2, 6, 34, 70, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1700.0f, 192.0f, 4, 2, 6, 34, 70, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1800.0f, 128.0f, 4, 2, 6, 34, 70, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
  if (d >= 2) {
    SpawnEnemy(2000.0f, 160.0f, 4, 2, 6, 1, 250, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10500);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * d, 240, 12, 48, 4, 2.0f, 6.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0,
                       0, 40);
  }
}

// The kind-38 actor is the gap back to the hub, where the hub's gap lands.
void SetupStage135() {
  EnterStage(135);
  SpawnEnemy(1120.0f, 67.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnBlockOfKind(832.0f, 96.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 9.2f, 0.16f, 0, 0, 0, 0, 0);
}

void SetupStage136() {
  EnterStage(136);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 313.6f, 36, 0, 6, 1, game.DifficultyLevel == 0 ? 4300 : 5000, 1, 0.0f, 0.0f, 60.0f, 17.0f,
               0.0f, 0.2f, 0, 0, 0, 0, 0, 3, 0);
  }
}

// The doors of 137 and 138 stand where the other one lands the players.
void SetupStage137() {
  EnterStage(137);
  SpawnEnemy(992.0f, 259.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
}

void SetupStage138() {
  EnterStage(138);
  SpawnEnemy(736.0f, 259.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
}

// The kind-14 slot spins a full turn over each burst at every difficulty.
void SetupStage139() {
  EnterStage(139);
  const int d = game.DifficultyLevel;
  SpawnEnemy(800.0f, 377.0f, 17, 0, 6, 10, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10300);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 170.0f, 12, 120, 1, 4, 1, 0, 0, 0, 6.0f, 0, -0.05f, 0, 0, 0, 0, 0, 70, 30);
  SpawnEnemy(880.0f, 377.0f, 13, 0, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10401);
  SetEnemyAttackSlot(LastEnemy(), 32, 2 * d + 1, 50.0f * (d + 1), 30 * (d + 1), 180, 15, 30, 3, 2.0f, 9.0f, -1.0f,
                     4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
  SpawnEnemy(960.0f, 377.0f, 44, 0, 6, 23, 280, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10403);
  SetEnemyAttackSlot(LastEnemy(), 1, 2 * d + 8, 360.0f, 48, 240, 12, 48, 4, 0, 0, 0, 3.0f, 0, 0, 0, 0, 1.1f, 0, 0, 110,
                     60);
  SpawnEnemy(1040.0f, 377.0f, 14, 0, 4, 7, 20 * (d + 14), 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.3f, 0, 0, 0, 0, 0, 3,
             11501);
  const float speed = static_cast<float>(d + 1);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 11, 1, 0, 10, 120, 10, 10, 1, 2.0f, 0.2f, 0, speed, 0, 0.07f, 0, 0, 0, 36.0f, 0, 70,
                       250);
  } else if (d == 1) {
    SetEnemyAttackSlot(LastEnemy(), 11, 1, 0, 20, 120, 20, 20, 1, 3.0f, 0.2f, 0, speed, 0, 0.07f, 0, 0, 0, 18.0f, 0, 70,
                       250);
  } else if (d == 2) {
    SetLastEnemyAttackSlot(1, 11, 1, 0, 24, 120, 24, 24, 4.0f, 0.2f, 0, speed, 0, 0.07f, 0, 0, 0, 15.0f, 0, 70, 250);
  } else {
    SetLastEnemyAttackSlot(1, 11, 1, 0, 28, 120, 28, 28, 4.0f, 0.2f, 0, speed, 0, 0.07f, 0, 0, 0, 12.857f, 0, 70, 250);
  }
}

// Three pistons.
void SetupStage140() {
  EnterStage(140);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnBlockOfKind(1000.0f, 128.0f, 14, 20, 0, 0, 0, 8.0f, 7.0f, 120.0f, 0, 0, 0, 0, 20.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1300.0f, 128.0f, 14, 20, 0, 0, 0, 8.0f, 7.0f, 140.0f, 0, 0, 0, 0, 20.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1600.0f, 128.0f, 14, 20, 0, 0, 0, 8.0f, 7.0f, 120.0f, 0, 0, 0, 0, 20.0f, 0, 0, 0, 0, 0);
  SpawnEnemy(900.0f, 377.0f, 18, 0, 4, 2, 30 * (d + 9), 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3,
             11300);
  SetEnemyAttackSlot(LastEnemy(), 2, 2 * d + 1, 70.0f + 35.0f * e, 60, 120, 1, 60, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0,
                     0, 0, 0, 110, 0);
  SpawnEnemy(1400.0f, 96.0f, 4, 2, 6, 34, 200, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1500.0f, 160.0f, 4, 2, 6, 34, 200, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1600.0f, 224.0f, 4, 2, 6, 34, 200, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1700.0f, 160.0f, 4, 2, 6, 34, 200, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1800.0f, 96.0f, 4, 2, 6, 34, 200, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(2000.0f, 160.0f, 4, 2, 6, 1, 250, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10800);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1100.0f, 377.0f, 5, 2, 6, 15, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10300);
  SetEnemyAttackSlot(LastEnemy(), 12, 1, 60.0f, 30 * (d + 1), 150, 10, 30, 2, static_cast<float>(d + 6), 0.05f, 0,
                     6.0f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
}

void SetupStage141() {
  EnterStage(141);
  const int d = game.DifficultyLevel;
  SpawnEnemy(950.0f, 377.0f, 9, 0, 6, 6, 280, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20 * (d + 1), 120, 10, 20, 2, 0, 0, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 10);
  SpawnEnemy(1050.0f, 377.0f, 8, 0, 6, 6, 230, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0, 30 * (d + 3), 240, 1, 30, 1, 3.0f, 10.0f, 0, 3.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     30);
  SpawnEnemy(1150.0f, 377.0f, 10, 0, 6, 6, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10203);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 120.0f, 30 * (d + 1), 180, 1, 10, 1, 0, 0, -1.0f, 2.5f, 0, 0, 0, 0, 0, 0, 0, 0,
                     20);
}

void SetupStage142() {
  EnterStage(142);
  const int d = game.DifficultyLevel;
  const float inv = InverseBulletSpeedScale[d];
  SpawnEnemy(1500.0f, 377.0f, 19, 0, 6, 1, 60 * (d + 9), 1, 3.0f, 0.0f, 20.0f, 60.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3,
             10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 2 * d + 5, 360.0f, 12, 60, 40, 40, 4, 0, 0, 0, 5.0f * inv, 0, 0, 0, 0, 0, 0, 0, 0,
                     150);
}

// Ten pistons; the last one strikes twice as fast from difficulty 1.
void SetupStage143() {
  EnterStage(143);
  const int d = game.DifficultyLevel;
  SpawnBlockOfKind(960.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1104.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1248.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1392.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1536.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1680.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1824.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1968.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(2112.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  if (d == 0) {
    SpawnBlockOfKind(2256.0f, 128.0f, 15, 20, 0, 0, 0, 4.0f, 7.0f, 260.0f, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0, 0);
  } else {
    SpawnBlockOfKind(2256.0f, 128.0f, 15, 20, 0, 0, 0, 8.0f, 7.0f, 140.0f, 0, 0, 0, 0, 20.0f, 0, 0, 0, 0, 0);
  }
}

void SetupStage144() {
  EnterStage(144);
  const int d = game.DifficultyLevel;
  const int window = d == 0 ? 24 : d == 1 ? 72 : 48 * d;
  SpawnEnemy(900.0f, 377.0f, 4, 2, 6, 18, 350, 1, 0.0f, 0.0f, 111.1f, 11.0f, 0.0f, 0.5f, 0, 0, 0, 0, 0, 3, 10800);
  SetEnemyAttackSlot(LastEnemy(), 32, 5, 120.0f, window, 240, 12, 24, 4, 3.0f, 8.0f, -1.0f, 4.5f, 0, 0, 0, 0, 0, 0, 0,
                     0, 60);
}

void SetupStage145() {
  EnterStage(145);
  const int d = game.DifficultyLevel;
  const float inv = InverseBulletSpeedScale[d];
  SpawnEnemy(1500.0f, 377.0f, 26, 0, 6, 1, 60 * d + 630, 1, 3.0f, 0.0f, 30.0f, 90.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 12, 2 * d + 7, 360.0f, 4, 90, 4, 4, 4, 4.0f, 0.2f, 0, 2.0f * inv, 0, 0.07f, 0, 0, 0,
                     0, 0, 50, 100);
}

// The boss enters from the gap beside it, spawned after it so the boss
// keeps slot 1.
void SetupStage146() {
  EnterStage(146);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 153.6f, 37, 0, 6, 1, game.DifficultyLevel == 0 ? 4500 : 6000, 1, 0.0f, 0.0f, 60.0f, 17.0f,
               0.0f, 0.05f, 0, 0, 0, 0, 0, 3, 0);
    SpawnEnemy(1056.0f, 99.2f, 38, 0, 2, 51, 1111, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 3, 0);
  }
}

// The kind-38 actor is the door to stage 148.
void SetupStage147() {
  EnterStage(147);
  SpawnEnemy(1120.0f, 314.0f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
}

void SetupStage148() { EnterStage(148); }

void SetupStage149() {
  EnterStage(149);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 345.6f, 45, 0, 6, 1, game.DifficultyLevel == 0 ? 4800 : 6000, 1, 0.0f, 0.0f, 60.0f, 17.0f,
               0.0f, 0.3f, 0, 0, 0, 0, 0, 3, 0);
  }
}

// One test of the flag guards all four of the later items.
void SetupStage150() {
  EnterStage(150);
  if (game.TakenItem6[150] == 0) SpawnItem(1000.0f, 391.0f, 6, 0.0f);
  if (game.TakenItem5AndBosses[150] == 0) {
    SpawnItem(1200.0f, 399.0f, 2, 0.0f);
    SpawnItem(1300.0f, 399.0f, 2, 0.0f);
    SpawnItem(1400.0f, 399.0f, 2, 0.0f);
    SpawnItem(1500.0f, 402.0f, 5, 0.0f);
  }
  SpawnBlockOfKind(800.0f, 350.0f, 9, 1, 0, 110, 0, 0, 13.0f, 13.0f, 0, 0.3f, 0, 0, 0, 0, 0, 0, 0, 0);
}

// The final scenes' actors; their timelines are the boss behaviours'.
void SetupStage151() {
  EnterStage(151);
  SpawnEnemy(1088.0f, 153.6f, 37, 0, 6, 51, 6000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.03f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1056.0f, 99.2f, 38, 0, 2, 51, 1111, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1344.0f, 185.6f, 47, 0, 6, 51, 6000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1344.0f, 185.6f, 46, 0, 6, 51, 6000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
}

void SetupStage152() {
  EnterStage(152);
  SpawnEnemy(1664.0f, 185.6f, 47, 0, 6, 51, 6000, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0.2f, 0.6f, 0.015f, 0.0f,
             40, 3, 0);
  SpawnEnemy(1728.0f, 281.6f, 46, 0, 6, 51, 6000, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0.2f, 0.5f, 0.0125f, 4.0f,
             40, 3, 0);
  SpawnEnemy(1216.0f, 249.6f, 37, 0, 6, 51, 6000, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0.15f, 0.4f, 0.01f, 2.0f,
             40, 3, 0);
}

}  // namespace orb
