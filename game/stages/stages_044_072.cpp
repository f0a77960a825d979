// The set-up routines of stages 44 to 72: each begins its stage, then spawns what the stage holds.
//
// Positions sit on the placeholder maps: walkers, items and gaps just above
// the floor at y 416, fliers in the open air, nothing near the ends the
// players arrive at or on the stairs. A gap stands where the hub's gap to it
// lands the players, shifted up and to the left by 54.4 and 28.8.
#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/actors/items.h"
#include "game/world/pools.h"
#include "game/stages/stage_routines.h"
#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage044() {
  EnterStage(44);
  SpawnEnemy(1120.0f, 291.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 3, 0);
  SpawnBlock(896.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage045() {
  EnterStage(45);
  const float E = DifficultyExcess();
  SpawnEnemy(1000.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1216.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1632.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1952.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1120.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1536.0f, 192.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2112.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1440.0f, 377.6f, 4, 2, 6, 2, 70, 1, 2.0f + 0.5f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2240.0f, 377.6f, 4, 2, 6, 2, 70, 1, 2.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnBlock(1280.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1376.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1760.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2048.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage046() {
  EnterStage(46);
  const int D = game.DifficultyLevel;
  SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 32, 300, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 6 * (D + 2), 120, 1, 6, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  if (D >= 2) {
    SpawnEnemy(992.0f, 192.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11400);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(832.0f, 224.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(960.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1088.0f, 224.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage047() {
  EnterStage(47);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  if (game.TakenItem6[47] == 0) SpawnItem(976.0f, 390.4f, 6, 0.0f);
  SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, -2.0f, 13.0f, 13.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 120.0f, 0, 0.0f, 0);
  SpawnBlock(2016.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, -2.0f, 13.0f, 13.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 120.0f, 0, 0.0f, 0);
  SpawnBlock(1440.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, 1.5f, 13.0f, 13.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 160.0f, 0, 0.0f, 0);
  SpawnBlock(1824.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, 1.5f, 13.0f, 13.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 160.0f, 0, 0.0f, 0);
  SpawnBlock(2240.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, 1.5f, 13.0f, 13.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 160.0f, 0, 0.0f, 0);
  SpawnEnemy(1504.0f, 377.6f, 9, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1696.0f, 377.6f, 8, 0, 6, 3, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1888.0f, 377.6f, 10, 0, 6, 7, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1440.0f, 160.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  if (D >= 2) {
    SpawnEnemy(2048.0f, 128.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11400);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnEnemy(2144.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2336.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
}

void SetupStage048() {
  EnterStage(48);
  const int D = game.DifficultyLevel;
  if (D >= 2) {
    SpawnEnemy(960.0f, 160.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11400);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (D == 3) {
    SpawnEnemy(1120.0f, 128.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11400);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(960.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, 0.0f, -2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(1056.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(1152.0f, 192.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
}

void SetupStage049() {
  EnterStage(49);
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  SpawnEnemy(1632.0f, 377.6f, 11, 0, 4, 3, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2016.0f, 377.6f, 4, 2, 6, 2, 70, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  if (game.DifficultyLevel >= 1) {
    SpawnEnemy(1728.0f, 128.0f, 28, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 4 + 2 * Et, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2208.0f, 160.0f, 28, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 4 + 2 * Et, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  // Fifteen small steps across the right half, one long block on the left.
  SpawnBlock(1408.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1472.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1536.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1600.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1664.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1728.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1792.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1856.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1920.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1984.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2048.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2112.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2176.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2240.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2304.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(832.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlockOfKind(928.0f, 256.0f, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f,
                   0, 7);
  SpawnBlockOfKind(960.0f, 192.0f, 0, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f,
                   0, 7);
  SpawnBlockOfKind(2368.0f, 256.0f, 1, 10, 0, 1, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f,
                   0, 7);
  SpawnBlockOfKind(1504.0f, 192.0f, 1, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f,
                   1, 7);
}

void SetupStage050() {
  EnterStage(50);
  const float E = DifficultyExcess();
  SpawnEnemy(992.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1408.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1824.0f, 387.2f, 1, 2, 8, 3, 70, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1184.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1600.0f, 128.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2016.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2208.0f, 377.6f, 4, 2, 6, 2, 70, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  if (game.DifficultyLevel >= 2) {
    SpawnEnemy(2336.0f, 377.6f, 4, 2, 6, 2, 70, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               0);
  }
  SpawnBlock(1280.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(1888.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
  SpawnBlock(1056.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1120.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1184.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1696.0f, 288.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1760.0f, 256.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2048.0f, 320.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1600.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage051() {
  EnterStage(51);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  SpawnEnemy(832.0f, 377.6f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, D == 0 ? 18 : 30 + 18 * Et, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - E,
                     90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 70);
  SpawnEnemy(896.0f, 377.6f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11602);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 90.0f, D == 0 ? 12 : 6 * (Et + 3), 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f,
                     0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 100);
  SpawnEnemy(960.0f, 377.6f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, D == 0 ? 6 : 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 170);
}

void SetupStage052() {
  EnterStage(52);
  SpawnBlock(832.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(960.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1088.0f, 192.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
  if (game.TakenItem5AndBosses[52] == 0) SpawnItem(1008.0f, 400.0f, 5, 0.0f);
}

void SetupStage053() {
  EnterStage(53);
  const int D = game.DifficultyLevel;
  const int Et = static_cast<int>(DifficultyExcess());
  SpawnEnemy(928.0f, 128.0f, 4, 2, 6, 31, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 160);
  SpawnEnemy(992.0f, 192.0f, 4, 2, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 20 * (Et + 3), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 100);
}

void SetupStage054() {
  EnterStage(54);
  const float E = DifficultyExcess();
  SpawnEnemy(928.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1120.0f, 128.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(960.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1088.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
}

void SetupStage055() {
  EnterStage(55);
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  SpawnEnemy(1312.0f, 291.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             3, 0);
  SpawnEnemy(880.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(960.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1040.0f, 387.2f, 1, 2, 8, 2, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1120.0f, 387.2f, 1, 2, 8, 2, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1200.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1600.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1680.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1920.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2000.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2160.0f, 377.6f, 4, 2, 6, 2, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (Et + 3), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 100);
  // The crows hang between the views of every way in, so none dives before the players move.
  SpawnEnemy(1776.0f, 64.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1808.0f, 96.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1776.0f, 128.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1808.0f, 160.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1776.0f, 192.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1808.0f, 224.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1776.0f, 256.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1808.0f, 32.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1792.0f, 288.0f, 25, 0, 6, 33, 100, 0, 3.5f + E, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 0);
  SpawnEnemy(2320.0f, 377.6f, 4, 2, 5, 2, 150, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnBlock(1472.0f, 350.4f, 64.0f, 64.0f, assets.blockIwa6464, 2, 0, 1, 0, 110, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.4f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage056() {
  EnterStage(56);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 345.6f, 31, 0, 6, 1, game.DifficultyLevel == 0 ? 4300 : 5200, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f,
               0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  } else {
    SpawnEnemy(912.0f, 291.2f, 41, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 0);
  }
}

void SetupStage057() {
  EnterStage(57);
  SpawnBlock(1504.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, 1.5f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 160.0f, 0, 0.0f, 0);
  SpawnBlock(2112.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, 1.5f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 160.0f, 0, 0.0f, 0);
  SpawnBlock(1792.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 51, 0, 0, 0.0f, -2.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 120.0f, 0, 0.0f, 0);
}

void SetupStage058() {
  EnterStage(58);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  SpawnEnemy(1024.0f, 377.6f, 4, 2, 6, 2, 110, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1248.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1504.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  if (D >= 1) {
    SpawnEnemy(1760.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               11500);
    SetEnemyAttackSlot(LastEnemy(), 2, 3, 8.0f, 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0, 0);
  }
  SpawnEnemy(2016.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, D + 2, static_cast<float>(6 + 2 * D), 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2272.0f, 377.6f, 18, 0, 4, 2, 230 + 70 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11300);
  SetEnemyAttackSlot(LastEnemy(), 2, 2 * D + 1, 70.0f + 35.0f * E, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f,
                     -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 110, 0);
}

void SetupStage059() {
  EnterStage(59);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnBlock(1280.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 2.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  SpawnBlock(2112.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 14, 0, 0, 2.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 2);
  SpawnEnemy(1008.0f, 387.2f, 1, 2, 8, 4, 70, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1216.0f, 387.2f, 1, 2, 8, 5, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1792.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1984.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  if (D >= 2) {
    SpawnEnemy(2176.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               1, 0);
    SpawnEnemy(2336.0f, 356.8f, 3, 2, 8, 6, 320, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               1, 0);
  }
}

void SetupStage060() {
  EnterStage(60);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1440.0f, 96.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 150);
  SpawnEnemy(1792.0f, 128.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 150);
  SpawnEnemy(2176.0f, 96.0f, 4, 2, 6, 31, 70, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11402);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 180, 1, 60, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 150);
  SpawnEnemy(1472.0f, 377.6f, 4, 2, 6, 2, 110, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1920.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2240.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
}

void SetupStage061() {
  EnterStage(61);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 1, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
  SpawnEnemy(1472.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1536.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, D + 2, static_cast<float>(6 + 2 * D), 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1760.0f, 387.2f, 1, 2, 8, 1, 100, 1, 1.5f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1856.0f, 387.2f, 1, 2, 8, 1, 100, 1, 1.5f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1952.0f, 387.2f, 1, 2, 8, 1, 100, 1, 1.5f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2080.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2208.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2336.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
}

void SetupStage062() {
  EnterStage(62);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(1440.0f, 377.6f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, D == 0 ? 18 : 30 + 18 * Et, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - E,
                     90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 30);
  SpawnEnemy(1504.0f, 377.6f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11602);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 90.0f, D == 0 ? 12 : 6 * (Et + 3), 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f,
                     0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 50);
  SpawnEnemy(1728.0f, 377.6f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, D == 0 ? 6 : 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 70);
  SpawnEnemy(1856.0f, 377.6f, 5, 2, 6, 3, 130, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2176.0f, 128.0f, 4, 2, 6, 1, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 70);
}

void SetupStage063() {
  EnterStage(63);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(1856.0f, 128.0f, 4, 2, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 1), 150, 10, 30, 2, 3.0f, 8.0f, -1.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1472.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1920.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 1), 150, 10, 30, 2, 3.0f, 8.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2240.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 1), 150, 10, 30, 2, 3.0f, 8.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
}

void SetupStage064() {
  EnterStage(64);
  const int D = game.DifficultyLevel;
  const int Et = static_cast<int>(DifficultyExcess());
  if (game.StageEventDone[65] == 1) {
    SpawnBlock(1600.0f, 480.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, -3.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 100.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(896.0f, 128.0f, 4, 2, 6, 32, 300, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 6 * (D + 2), 120, 1, 6, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1504.0f, 160.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2016.0f, 128.0f, 4, 2, 6, 32, 70, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 10, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  if (D >= 1) {
    SpawnEnemy(1728.0f, 96.0f, 28, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 4 + 2 * Et, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2112.0f, 160.0f, 28, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6 + 2 * Et, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
    SpawnEnemy(2304.0f, 96.0f, 28, 0, 6, 31, 70, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10403);
    SetEnemyAttackSlot(LastEnemy(), 2, 6 + 2 * Et, 360.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
}

void SetupStage065() {
  EnterStage(65);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[65] == 0) {
    SpawnEnemy(1056.0f, 318.4f, 42, 0, 2, 1, 700, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 0);
  }
  SpawnEnemy(896.0f, 377.6f, 16, 0, 6, 11, 430 + 70 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10700);
  if (D == 0) {
    SetLastEnemyAttackSlot(2, 1, 1, 0.0f, 8, 90, 8, 8, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.07f, 0.0f, 0.0f, 0.0f, 45.0f,
                           0.0f, 50, 50);
  } else if (D == 1) {
    SetLastEnemyAttackSlot(4, 1, 1, 0.0f, 28, 90, 28, 28, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.11f, 0.0f, 0.0f, 0.0f,
                           12.857f, 0.0f, 50, 50);
  } else if (D == 2) {
    SetLastEnemyAttackSlot(2, 1, 1, 0.0f, 16, 90, 16, 16, 0.0f, 0.0f, 0.0f, 6.4f, 0.0f, -0.11f, 0.0f, 0.0f, 0.0f, 22.5f,
                           0.0f, 50, 50);
  } else {
    SetLastEnemyAttackSlot(2, 1, 1, 0.0f, 24, 90, 24, 24, 0.0f, 0.0f, 0.0f, 6.0f, 0.0f, -0.11f, 0.0f, 0.0f, 0.0f, 15.0f,
                           0.0f, 50, 50);
  }
}

void SetupStage066() {
  EnterStage(66);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  if (game.StageEventDone[69] == 1) {
    SpawnBlock(1600.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, 1.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 200.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(1440.0f, 377.6f, 11, 0, 4, 18, 380, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1760.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 3, 8.0f, 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1888.0f, 377.6f, 22, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11600);
  SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, D == 0 ? 18 : 30 + 18 * Et, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - E,
                     90.0f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 70);
  SpawnEnemy(2016.0f, 377.6f, 20, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11602);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 90.0f, D == 0 ? 12 : 6 * (Et + 3), 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f,
                     0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 50);
  SpawnEnemy(2144.0f, 377.6f, 21, 0, 8, 1, 200, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, D == 0 ? 6 : 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 70);
}

void SetupStage067() {
  EnterStage(67);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  if (game.StageEventDone[69] == 1) {
    SpawnBlock(1600.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, 1.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 200.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(1440.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1760.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2080.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2336.0f, 356.8f, 3, 2, 8, 6, 450, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1520.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1840.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1920.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2000.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2160.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2224.0f, 387.2f, 1, 2, 8, 3, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2288.0f, 387.2f, 1, 2, 8, 6, 70, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1472.0f, 128.0f, 4, 2, 6, 1, 200, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 110);
  if (D >= 2) {
    SpawnEnemy(960.0f, 377.6f, 18, 0, 4, 2, 230 + 70 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
               0.0f, 0, 1, 11300);
    SetEnemyAttackSlot(LastEnemy(), 2, 2 * D - 1, 50.0f + 35.0f * E, 60, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f,
                       -0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 110, 0);
  }
}

void SetupStage068() {
  EnterStage(68);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  if (game.StageEventDone[69] == 1) {
    SpawnBlock(1600.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, 1.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 200.0f, 0, 0.0f, 0);
  }
  SpawnEnemy(1120.0f, 377.6f, 13, 0, 3, 5, 300 + 80 * D, 1, 4.0f + 0.5f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f,
             0.0f, 0.0f, 0.0f, 0, 1, 11500);
  SetEnemyAttackSlot(LastEnemy(), 12, 2 * D + 3, static_cast<float>(150 + 30 * (D - 1)), 40, 120, 1, 20, 1, 2.0f, 0.1f,
                     0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 110);
  SpawnEnemy(1440.0f, 377.6f, 5, 2, 6, 9, 210, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 3, 8.0f, 8, 120, 1, 60, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1824.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 30 * (D + 1), 150, 10, 30, 2, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2144.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 1), 150, 10, 30, 2, 3.0f, 8.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
}

void SetupStage069() {
  EnterStage(69);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[69] == 0) {
    SpawnEnemy(1056.0f, 318.4f, 42, 0, 2, 1, 700, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 0);
  }
  SpawnEnemy(832.0f, 377.6f, 9, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 160, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(912.0f, 377.6f, 8, 0, 6, 3, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(992.0f, 377.6f, 10, 0, 6, 7, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
}

void SetupStage070() {
  EnterStage(70);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 345.6f, 32, 0, 6, 1, game.DifficultyLevel == 0 ? 3000 : 3600, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f,
               0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  }
}

void SetupStage071() {
  EnterStage(71);
  if (game.StageEventDone[69] == 1) {
    SpawnBlock(1600.0f, -32.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 6, 51, 0, 0, 0.0f, 1.0f, 13.0f, 13.0f, 0.0f,
               0.0f, 0.0f, 0.0f, 0.0f, 200.0f, 0, 0.0f, 0);
  }
  SpawnBlock(1280.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 0, 11, 0, 0, -3.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 1);
}

void SetupStage072() { EnterStage(72); }

}  // namespace orb
