// The set-up routines of stages 102 to 126: each begins its stage, then spawns what the stage holds.
//
// Placement on the stage maps: the floor's top is at y 416, so a walker's
// spawn y is 414 less half its hitbox height and half its hitbox width (the
// spawner centres y with the width): 386 for kind 1, 400 for kind 2, 356 for
// kind 3, 373 for kind 6, 350 for kind 39 and 377 for the 22 x 52 kinds.
// Fliers that chase or run at the players wait beyond the screen they
// arrive on; the ones that charge fly at the players' height. Walkers turn
// at ledges.
#include "game/actors/blocks.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/actors/items.h"
#include "game/stages/stage_routines.h"
#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage102() {
  EnterStage(102);
  const int d = game.DifficultyLevel;
  SpawnEnemy(1600.0f, 350.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 111.1f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1720.0f, 350.0f, 39, 0, 1, 1, 200, 1, 0.0f, 0.0f, 111.1f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(800.0f, 377.0f, 5, 2, 6, 1, 280, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 180, 1, 20, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0, 0, 0, 0,
                     70, 70);
  SpawnEnemy(900.0f, 377.0f, 5, 2, 6, 1, 280, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 180, 1, 20, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0, 0, 0, 0,
                     70, 70);
  if (d >= 1) {
    SpawnEnemy(1450.0f, 192.0f, 4, 2, 6, 31, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10200);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0, 48 * d, 240, 8, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                       60);
    SpawnEnemy(1850.0f, 160.0f, 4, 2, 6, 31, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10200);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0, 48 * d, 240, 8, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                       60);
  }
}

void SetupStage103() { EnterStage(103); }

void SetupStage104() {
  EnterStage(104);
  if (game.TakenItem9[104] == 0) SpawnItem(800.0f, 391.0f, 9, 0.0f);
}

void SetupStage105() {
  EnterStage(105);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnBlockOfKind(1024.0f, 256.0f, 1, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnEnemy(1400.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1500.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1600.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(900.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1100.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1250.0f, 192.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1350.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1410.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1470.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1530.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1590.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1650.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1000.0f, 128.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
}

void SetupStage106() {
  EnterStage(106);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1400.0f, 365.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1500.0f, 333.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(1000.0f, 377.0f, 18, 0, 4, 1, 70 * (d + 4), 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
               11300);
    SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 60, 180, 1, 20, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0, 0, 0, 0, 110, 20);
  }
  SpawnEnemy(1100.0f, 356.0f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1200.0f, 377.0f, 12, 0, 4, 13, 40 * d + 340, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             11200);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 120.0f, 8 * d + 12, 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.21f, 0, 0, 0, 0, 0, 100,
                     30);
  SpawnEnemy(1300.0f, 377.0f, 11, 0, 4, 14, 40 * d + 240, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 150.0f, 8 * (d + 1), 120, 1, 4, 1, 0, 0, 0, 4.0f, 0, 0, 0, 0, 0.6f, 0, 0, 170,
                     60);
  SpawnEnemy(1450.0f, 160.0f, 4, 2, 6, 31, 100, 0, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20, 120, 1, 20, 1, 0, 0, 0, 3.0f, 0, 0, 0, 0, 0, 0, 0, 0, 60);
  SpawnEnemy(1550.0f, 224.0f, 4, 2, 6, 31, 100, 0, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20, 120, 1, 20, 1, 0, 0, 0, 3.0f, 0, 0, 0, 0, 0, 0, 0, 0, 80);
  SpawnEnemy(1650.0f, 192.0f, 4, 2, 6, 31, 100, 0, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20, 120, 1, 20, 1, 0, 0, 0, 3.0f, 0, 0, 0, 0, 0, 0, 0, 0, 100);
}

void SetupStage107() {
  EnterStage(107);
  const int d = game.DifficultyLevel;
  const float inv = InverseBulletSpeedScale[d];
  SpawnBlockOfKind(1760.0f, 350.0f, 9, 1, 0, 110, 0, 0, 13.0f, 13.0f, 0, 0.3f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnEnemy(1450.0f, 160.0f, 4, 2, 6, 32, 200, 0, 3.1f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 4, 10200);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 4, 120, 1, 2, 1, 0, 0, 0, 2.2f * inv, 0.08f, 0, 0, 0, 0, 0, 0, 40, 0);
  } else {
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 6, 120, 1, 2, 1, 0, 0, 0, 2.5f, 0, 0.11f, 0, 0, 0, 0, 0, 50, 0);
  }
  SpawnEnemy(1600.0f, 224.0f, 4, 2, 6, 32, 200, 0, 3.1f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 4, 10200);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 8, 120, 1, 4, 1, 0, 0, 0, 3.0f * inv, 0.08f, 0, 0, 0, 0, 0, 0, 40, 0);
  } else {
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 12, 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.12f, 0, 0, 0, 0, 0, 50, 0);
  }
}

void SetupStage108() {
  EnterStage(108);
  const int d = game.DifficultyLevel;
  SpawnEnemy(800.0f, 377.0f, 9, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20 * (d + 1), 120, 10, 20, 2, 0, 0, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 10);
  SpawnEnemy(940.0f, 377.0f, 8, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0, 30 * (d + 3), 240, 1, 30, 1, 3.0f, 10.0f, 0, 3.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     30);
  SpawnEnemy(1080.0f, 377.0f, 10, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10203);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 120.0f, 30 * (d + 1), 180, 1, 10, 1, 0, 0, -1.0f, 2.5f, 0, 0, 0, 0, 0, 0, 0, 0,
                     50);
}

void SetupStage109() {
  EnterStage(109);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const float inv = InverseBulletSpeedScale[d];
  SpawnEnemy(1500.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1700.0f, 334.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1900.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1600.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1800.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(2000.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(2200.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(900.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1050.0f, 192.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1200.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(2300.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(1400.0f, 96.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2100.0f, 96.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2350.0f, 96.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1000.0f, 256.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1150.0f, 256.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2250.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
  SpawnEnemy(2250.0f, 96.0f, 27, 0, 1, 31, 200, 0, 6.8f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 3, d + 3, 120.0f, 60, 120, 1, 20, 1, 0, 0, 0, 2.0f * inv, 90.0f, 0, 0, 0.03f, 0, 0, 0,
                     200, 20);
  SpawnEnemy(950.0f, 224.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
  SpawnEnemy(1250.0f, 160.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
  SpawnEnemy(1900.0f, 192.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
  SpawnEnemy(2350.0f, 256.0f, 4, 2, 6, 32, 200, 0, 3.1f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 4, 10200);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 8, 120, 1, 4, 1, 0, 0, 0, 3.0f * inv, 0.08f, 0, 0, 0, 0, 0, 0, 40, 0);
  } else {
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 12, 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.12f, 0, 0, 0, 0, 0, 50, 0);
  }
  if (d >= 2) {
    SpawnEnemy(1450.0f, 96.0f, 4, 2, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0, 30, 120, 10, 30, 2, static_cast<float>(d + 1), 8.0f, -1.0f, 5.0f, 0, 0,
                       0, 0, 0, 0, 0, 0, 50);
  }
}

void SetupStage110() {
  EnterStage(110);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  if (game.TakenItem8[110] == 0) SpawnItem(1000.0f, 391.0f, 8, 0.0f);
  SpawnBlockOfKind(1120.0f, 256.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1184.0f, 224.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1248.0f, 192.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1312.0f, 160.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnEnemy(1400.0f, 365.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1450.0f, 333.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  if (d >= 1) {
    SpawnEnemy(1500.0f, 365.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1550.0f, 301.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1600.0f, 365.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1650.0f, 333.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1700.0f, 365.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1720.0f, 301.0f, 25, 0, 6, 33, 100, 0, 3.5f + e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
  if (d >= 2) {
    SpawnEnemy(1100.0f, 96.0f, 4, 2, 6, 31, 210, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10800);
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 90.0f, 20 * (d + 1), 120, 1, 20, 1, 0, 0, 0, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                       70);
  }
}

void SetupStage111() {
  EnterStage(111);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnBlockOfKind(656.0f, 192.0f, 1, 53, 0, 0, 5.0f, 0, 17.0f, 17.0f, 0, 0, 5.0f, 0, 0.1f, 100.0f, 0, 0, 0, 0);
  SpawnBlockOfKind(1840.0f, 128.0f, 1, 53, 0, 0, -5.0f, 0, 17.0f, 17.0f, 0, 0, 5.0f, 0, 0.1f, 100.0f, 0, 0, 0, 0);
  SpawnEnemy(1450.0f, 400.0f, 2, 2, 8, 1, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1520.0f, 400.0f, 2, 2, 8, 1, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  if (d >= 1) {
    SpawnEnemy(1600.0f, 386.0f, 1, 2, 8, 1, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
    SpawnEnemy(1680.0f, 386.0f, 1, 2, 8, 1, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  }
  if (d >= 1) {
    SpawnEnemy(800.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(950.0f, 224.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
}

void SetupStage112() {
  EnterStage(112);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const int ei = static_cast<int>(e);
  const float inv = InverseBulletSpeedScale[d];
  SpawnBlockOfKind(960.0f, 288.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1056.0f, 256.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1152.0f, 224.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1248.0f, 192.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(2400.0f, 96.0f, 1, 53, 0, 0, -5.0f, 0, 17.0f, 17.0f, 0, 0, 0, 0, 0, 80.0f, 0, 0, 0, 0);
  SpawnBlockOfKind(1400.0f, 160.0f, 1, 53, 0, 0, 2.0f, 0, 17.0f, 17.0f, 0, 0, 0, 0, 0, 160.0f, 0, 0, 0, 0);
  SpawnBlockOfKind(2200.0f, 224.0f, 1, 53, 0, 0, -3.0f, 0, 17.0f, 17.0f, 0, 0, 0, 0, 0, 120.0f, 0, 0, 0, 0);
  SpawnBlockOfKind(1600.0f, 288.0f, 1, 53, 0, 0, 3.0f, 0, 17.0f, 17.0f, 0, 0, 0, 0, 0, 40.0f, 0, 0, 0, 0);
  if (d >= 2) {
    SpawnEnemy(1300.0f, 128.0f, 4, 2, 6, 31, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10803);
    SetEnemyAttackSlot(LastEnemy(), 32, 3, 90.0f, 30 * (ei + 1), 120, 10, 30, 2, 1.0f + e, 8.0f, -1.0f, 5.0f, 0, 0, 0,
                       0, 0, 0, 0, 0, 50);
  }
  if (d >= 1) {
    SpawnEnemy(2300.0f, 96.0f, 27, 0, 1, 31, 200, 0, 6.8f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
    SetEnemyAttackSlot(LastEnemy(), 3, d + 3, 120.0f, 60, 120, 1, 20, 1, 0, 0, 0, 2.0f * inv, 90.0f, 0, 0, 0.03f, 0, 0,
                       0, 200, 20);
  }
  if (d >= 1) {
    SpawnEnemy(1400.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1550.0f, 334.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1700.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1850.0f, 334.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2000.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1450.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1650.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1850.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2050.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(2250.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
}

void SetupStage113() {
  EnterStage(113);
  const int d = game.DifficultyLevel;
  SpawnEnemy(880.0f, 377.0f, 13, 0, 6, 1, 450, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11501);
  SetEnemyAttackSlot(LastEnemy(), 32, 2 * d + 3, 50.0f * (d + 1), 30 * (d + 1), 180, 15, 30, 3, 2.0f, 9.0f, -1.0f,
                     4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 60);
}

void SetupStage114() { EnterStage(114); }

void SetupStage115() {
  EnterStage(115);
  if (game.TakenItem7[115] == 0) SpawnItem(2000.0f, 391.0f, 7, 0.0f);
  SpawnBlockOfKind(1200.0f, 288.0f, 1, 11, 0, 1, -2.0f, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnBlockOfKind(1400.0f, 256.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1480.0f, 224.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1560.0f, 192.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1640.0f, 224.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1720.0f, 256.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1800.0f, 288.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1880.0f, 256.0f, 0, 10, 0, 1, 0, 0, 13.0f, 13.0f, 0, 0.05f, 0, 0, 0, 0, 0, 0, 0, 0);
}

void SetupStage116() {
  EnterStage(116);
  const int d = game.DifficultyLevel;
  const float inv = InverseBulletSpeedScale[d];
  SpawnBlockOfKind(1400.0f, 288.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(1500.0f, 256.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnEnemy(1000.0f, 377.0f, 11, 0, 4, 14, 40 * d + 240, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 150.0f, 8 * (d + 1), 120, 1, 4, 1, 0, 0, 0, 4.0f, 0, 0, 0, 0, 0.6f, 0, 0, 170,
                     60);
  SpawnEnemy(1200.0f, 377.0f, 12, 0, 4, 13, 40 * d + 340, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             11200);
  SetEnemyAttackSlot(LastEnemy(), 2, 2 * d + 5, 40.0f * d + 90.0f, 4 * (d + 2), 120, 1, 4, 1, 0, 0, 0, 8.0f * inv, 0,
                     -0.16f, 0, 0, 0, 0, 0, 40, 0);
}

void SetupStage117() {
  EnterStage(117);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const int ei = static_cast<int>(e);
  SpawnEnemy(1600.0f, 377.0f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, d == 0 ? 18 : 18 * ei + 30, 240, 6, 6, 6, 0, 0, 0, 4.0f - e, 90.0f, 0,
                     0, 0.07f, 0, 0, 0, 1000, 0);
  SpawnEnemy(1800.0f, 377.0f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11602);
  SetEnemyAttackSlot(LastEnemy(), 2, 2, 40.0f, d == 0 ? 18 : 12 * ei + 30, 240, 6, 6, 6, 0, 0, 0, 4.0f, 0, 0, 0,
                     0.02f, 0, 0, 0, 1000, 70);
  SpawnEnemy(2000.0f, 377.0f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, d == 0 ? 6 : 18, 240, 6, 6, 6, 0, 0, 0, 4.0f, 0, 0, 0, 0, 1.5f, 2.0f,
                     0, 50, 90);
}

void SetupStage118() {
  EnterStage(118);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const float inv = InverseBulletSpeedScale[d];
  SpawnEnemy(1450.0f, 160.0f, 4, 2, 6, 32, 200, 0, 3.1f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 4, 10200);
  if (d == 0) {
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 8, 120, 1, 4, 1, 0, 0, 0, 3.0f * inv, 0.08f, 0, 0, 0, 0, 0, 0, 40, 0);
  } else {
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 12, 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.12f, 0, 0, 0, 0, 0, 50, 0);
  }
  if (d >= 1) {
    SpawnEnemy(1550.0f, 224.0f, 4, 2, 6, 32, 200, 0, 3.1f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 4, 10200);
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 12, 120, 1, 4, 1, 0, 0, 0, 3.0f, 0, 0.12f, 0, 0, 0, 0, 0, 50, 0);
  }
  if (d >= 1) {
    SpawnEnemy(800.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
    SpawnEnemy(1650.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  }
  SpawnEnemy(1750.0f, 224.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(900.0f, 128.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
  SpawnEnemy(1800.0f, 96.0f, 4, 2, 6, 1, 270, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 11503);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 30.0f, 20 * (d + 2), 120, 1, 20, 1, 0, 0, 0, 5.0f, 0, 0, 0, 0, 0, 0, 0, 0,
                     40);
  SpawnEnemy(700.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(770.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(840.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(910.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  if (d >= 1) {
    SpawnEnemy(1900.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
    SpawnEnemy(1970.0f, 386.0f, 1, 2, 8, 6, 100, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  }
}

void SetupStage119() {
  EnterStage(119);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 313.6f, 35, 0, 6, 1, game.DifficultyLevel == 0 ? 3900 : 4500, 1, 0.0f, 0.0f, 60.0f, 17.0f,
               0.0f, 0.7f, 0, 0, 0, 0, 0, 3, 0);
  }
}

void SetupStage120() {
  EnterStage(120);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1400.0f, 377.0f, 5, 2, 6, 15, 250, 1, 2.0f + 0.7f * e, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10300);
  SetEnemyAttackSlot(LastEnemy(), 12, 1, 60.0f, 30 * (d + 1), 150, 10, 30, 2, static_cast<float>(d + 6), 0.05f, 0,
                     6.0f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
  SpawnEnemy(1000.0f, 192.0f, 4, 2, 6, 1, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1450.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1600.0f, 334.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.5f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1500.0f, 192.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1700.0f, 160.0f, 23, 2, 6, 34, 200, 0, 1.7f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(850.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1150.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

void SetupStage121() {
  EnterStage(121);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(900.0f, 377.0f, 9, 0, 6, 6, 300, 1, 2.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0, 20 * (d + 1), 160, 10, 20, 2, 0, 0, -1.0f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnEnemy(1400.0f, 377.0f, 8, 0, 6, 3, 300, 1, 3.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1000.0f, 377.0f, 10, 0, 6, 7, 300, 1, 3.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1500.0f, 377.0f, 5, 2, 6, 4, 210, 1, 2.0f + 0.7f * e, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30 * (d + 1), 150, 10, 30, 2, static_cast<float>(d + 2), 0.1f, 0,
                     3.5f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
  SpawnEnemy(1600.0f, 377.0f, 5, 2, 6, 15, 250, 1, 2.0f + 0.7f * e, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10300);
  SetEnemyAttackSlot(LastEnemy(), 12, 1, 60.0f, 30 * (d + 1), 150, 10, 30, 2, static_cast<float>(d + 6), 0.05f, 0,
                     6.0f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
  if (d <= 1) {
    SpawnEnemy(1150.0f, 377.0f, 18, 0, 4, 3, 170 * d + 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
               11300);
  } else {
    SpawnEnemy(1700.0f, 377.0f, 18, 0, 4, 3, 500, 1, 2.0f * e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11300);
  }
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 120.0f, 60, 120, 1, 60, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0, 0, 0, 0, 110, 0);
  SpawnEnemy(800.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1100.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// The kind-41 actor is the door to stage 124; it stands where the players
// come back from 124.
void SetupStage122() {
  EnterStage(122);
  SpawnEnemy(1225.6f, 291.2f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(800.0f, 96.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(900.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1000.0f, 96.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1090.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1450.0f, 96.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1550.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1650.0f, 96.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// The kind-38 actor is the gap back to the hub, where the hub's gap lands.
void SetupStage123() {
  EnterStage(123);
  SpawnEnemy(1088.0f, 291.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnBlockOfKind(832.0f, 288.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  SpawnBlockOfKind(928.0f, 256.0f, 0, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

void SetupStage124() {
  EnterStage(124);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  const float inv = InverseBulletSpeedScale[d];
  SpawnEnemy(1400.0f, 160.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1500.0f, 224.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.8f, 0, 0, 0, 0, 0,
                     0, 0, 0, 100);
  SpawnEnemy(1600.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1650.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1700.0f, 400.0f, 2, 2, 8, 2, 70, 1, 1.0f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(900.0f, 377.0f, 44, 0, 6, 24, 400, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10403);
  SetEnemyAttackSlot(LastEnemy(), 1, 2 * d + 14, 360.0f, 48, 240, 12, 48, 4, 0, 0, 0, 3.0f, 0, 0, 0, 0, 1.1f, 0, 0,
                     110, 60);
  SpawnEnemy(1000.0f, 377.0f, 11, 0, 4, 14, 40 * d + 170, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 3, 120.0f, 8 * (d + 1), 120, 1, 4, 1, 0, 0, 0, 4.0f, 0, 0, 0, 0, 0.6f, 0, 0, 170,
                     60);
  SpawnEnemy(1150.0f, 377.0f, 12, 0, 4, 13, 40 * d + 270, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
             11200);
  SetEnemyAttackSlot(LastEnemy(), 2, 2 * d + 3, 40.0f * d + 90.0f, 4 * (d + 2), 120, 1, 4, 1, 0, 0, 0, 8.0f * inv, 0,
                     -0.16f, 0, 0, 0, 0, 0, 40, 0);
  SpawnEnemy(1800.0f, 128.0f, 4, 2, 6, 1, 250, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
  SpawnEnemy(1900.0f, 366.0f, 23, 2, 6, 33, 200, 0, 2.1f + 0.3f * e, 0.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1250.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(2100.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// The two kind-41 actors are the doors to stage 126, which keeps the
// players' position: its doors stand at the same points.
void SetupStage125() {
  EnterStage(125);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1600.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2240.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1000.0f, 377.0f, 5, 2, 6, 15, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 10300);
  SetEnemyAttackSlot(LastEnemy(), 12, 1, 60.0f, 30 * (d + 1), 150, 10, 30, 2, static_cast<float>(d + 6), 0.05f, 0,
                     6.0f, 0, 0, 0, 0, 0, 0, 0, 0, 120);
  SpawnEnemy(1150.0f, 377.0f, 13, 0, 6, 1, 450, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 11501);
  SetEnemyAttackSlot(LastEnemy(), 32, 2 * d + 3, 50.0f * (d + 1), 30 * (d + 1), 180, 15, 30, 3, 2.0f, 9.0f, -1.0f,
                     4.0f, 0, 0, 0, 0, 0, 0, 0, 0, 60);
  SpawnEnemy(1380.0f, 386.0f, 1, 2, 8, 1, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1440.0f, 386.0f, 1, 2, 8, 2, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1500.0f, 386.0f, 1, 2, 8, 3, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1900.0f, 386.0f, 1, 2, 8, 1, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1960.0f, 386.0f, 1, 2, 8, 2, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2020.0f, 386.0f, 1, 2, 8, 3, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2100.0f, 160.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.5f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 4.8f, 0, 0, 0, 0, 0,
                     0, 0, 0, 100);
  SpawnEnemy(1100.0f, 128.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
  SpawnEnemy(1300.0f, 160.0f, 23, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 0);
}

// The doors back to stage 125, at its doors' points.
void SetupStage126() {
  EnterStage(126);
  const int d = game.DifficultyLevel;
  const float e = DifficultyExcess();
  SpawnEnemy(1600.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2240.0f, 314.0f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnBlockOfKind(1100.0f, 256.0f, 2, 1, 0, 0, 0, 0, 13.0f, 13.0f, 0, 0, 7.7f, 0, 0.038f, 0, 0, 0, 0, 0);
  SpawnEnemy(1380.0f, 386.0f, 1, 2, 8, 0, 170, 1, 2.1f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1440.0f, 386.0f, 1, 2, 8, 0, 170, 1, 2.1f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1500.0f, 386.0f, 1, 2, 8, 0, 170, 1, 2.1f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1900.0f, 386.0f, 1, 2, 8, 0, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(1960.0f, 386.0f, 1, 2, 8, 0, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  SpawnEnemy(2020.0f, 386.0f, 1, 2, 8, 0, 170, 1, 1.9f + e, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  if (d >= 1) {
    SpawnEnemy(1000.0f, 377.0f, 18, 0, 4, 1, 70 * (d + 4), 1, 0.0f, 0.0f, 111.1f, 11.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3,
               11300);
    SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 60, 180, 1, 20, 1, 0, 0, 0, 7.0f, 0, -0.05f, 0, 0, 0, 0, 0, 110, 70);
  }
  SpawnEnemy(2100.0f, 160.0f, 4, 2, 6, 34, 250, 0, 1.1f + 0.2f * e, 8.0f, 60.0f, 120.0f, 0, 0, 0, 0, 0, 0, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 60.0f, 48 * (d + 1), 240, 12, 48, 4, 2.0f, 12.0f, -1.0f, 3.5f, 0, 0, 0, 0, 0,
                     0, 0, 0, 60);
}

}  // namespace orb
