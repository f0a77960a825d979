// The set-up routines of stages 73 to 101: each begins its stage, then spawns what the stage holds.
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
void SetupStage073() {
  EnterStage(73);
  SpawnEnemy(832.0f, 259.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             3, 0);
  if (game.TakenItem8[73] == 0) SpawnItem(976.0f, 390.4f, 8, 0.0f);
}

void SetupStage074() {
  EnterStage(74);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  SpawnEnemy(896.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(992.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1088.0f, 387.2f, 1, 2, 8, 1, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1312.0f, 128.0f, 4, 2, 6, 1, 300, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10200);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 1), 180, 10, 30, 2, 3.0f, 8.0f, -1.0f, 4.5f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  SpawnEnemy(1504.0f, 377.6f, 18, 0, 4, 1, 70 * (D + 4), 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 60, 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 110, 0);
  SpawnEnemy(1696.0f, 160.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f,
                     2.0f * InverseBulletSpeedScale[D], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(2016.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f,
                     2.0f * InverseBulletSpeedScale[D], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1856.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2208.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 20 * (D + 2), 200, 10, 20, 5, 3.0f, 8.0f, -1.0f, 3.5f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
}

void SetupStage075() {
  EnterStage(75);
  const int D = game.DifficultyLevel;
  const float s80 = 1.0f - 2.0f * game.StageEventDone[80];
  SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  if (D >= 2) {
    SpawnEnemy(1120.0f, 160.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 2.0f * InverseBulletSpeedScale[D],
                       0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(832.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(1024.0f, 288.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
}

void SetupStage076() {
  EnterStage(76);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const float s80 = 1.0f - 2.0f * game.StageEventDone[80];
  const float s83 = 1.0f - 2.0f * game.StageEventDone[83];
  SpawnEnemy(992.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f,
             0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 20 * (D + 1), 200, 10, 20, 5, 0.0f, 0.0f, 0.0f, 2.8f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
  SpawnEnemy(1312.0f, 377.6f, 5, 2, 6, 5, 200, 1, 2.8f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1632.0f, 377.6f, 5, 2, 6, 5, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1952.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2272.0f, 377.6f, 5, 2, 6, 5, 200, 1, 3.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnBlock(960.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1120.0f, 288.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1280.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1440.0f, 288.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1600.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1760.0f, 288.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1920.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(2080.0f, 288.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(2240.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 11.1f * s83, 0);
}

void SetupStage077() {
  EnterStage(77);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const float s80 = 1.0f - 2.0f * game.StageEventDone[80];
  SpawnEnemy(1440.0f, 377.6f, 5, 2, 6, 4, 200, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1696.0f, 377.6f, 5, 2, 6, 4, 200, 1, 3.1f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10203);
  SetEnemyAttackSlot(LastEnemy(), 32, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 1), 8.0f, 0.0f,
                     3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(2016.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2304.0f, 356.8f, 3, 2, 8, 6, 380, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(1472.0f, 96.0f, 4, 2, 6, 31, 210, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnBlock(1408.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s80, 0);
  SpawnBlock(1568.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s80, 0);
  SpawnBlock(1728.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s80, 0);
  SpawnBlock(1888.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s80, 0);
  SpawnBlock(2048.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s80, 0);
  SpawnBlock(944.0f, 288.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(2208.0f, 288.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(2336.0f, 320.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -0.5f * s80, 0);
  SpawnBlock(1472.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
  SpawnBlock(1952.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
}

void SetupStage078() {
  EnterStage(78);
  const int D = game.DifficultyLevel;
  const float s80 = 1.0f - 2.0f * game.StageEventDone[80];
  if (D >= 2) {
    SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 2.0f * InverseBulletSpeedScale[D],
                       0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnBlock(800.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(960.0f, 256.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1024.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(1088.0f, 192.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(864.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
}

void SetupStage079() {
  EnterStage(79);
  const int D = game.DifficultyLevel;
  const float s80 = 1.0f - 2.0f * game.StageEventDone[80];
  const float s83 = 1.0f - 2.0f * game.StageEventDone[83];
  SpawnEnemy(2304.0f, 377.6f, 11, 0, 4, 13, 320 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10800);
  SetEnemyAttackSlot(LastEnemy(), 2, 5, 150.0f, 8 * (D + 1), 120, 1, 4, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.6f, 0.0f, 0.0f, 170, 110);
  SpawnEnemy(1088.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f,
                     2.0f * InverseBulletSpeedScale[D], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1600.0f, 96.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(2016.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, D == 0 ? 20 : 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f,
                     2.0f * InverseBulletSpeedScale[D], 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnBlock(960.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(1120.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1280.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(1440.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(1600.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1760.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s80, 0);
  SpawnBlock(1920.0f, 288.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, s80, 0);
  SpawnBlock(2016.0f, 320.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -s80, 0);
  SpawnBlock(1040.0f, 224.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 1.2f * s83, 0);
  SpawnBlock(1360.0f, 224.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 1.2f * s83, 0);
  SpawnBlock(1680.0f, 224.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 1.2f * s83, 0);
  SpawnBlock(2176.0f, 224.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 1.2f * s83, 0);
  SpawnBlock(1184.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
  SpawnBlock(1504.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
  SpawnBlock(1824.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
}

void SetupStage080() {
  EnterStage(80);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[80] == 0) {
    SpawnEnemy(944.0f, 318.4f, 42, 0, 2, 1, 700, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
               0);
  }
  SpawnEnemy(816.0f, 377.6f, 9, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 160, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(856.0f, 377.6f, 8, 0, 6, 3, 300, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(896.0f, 377.6f, 10, 0, 6, 7, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
}

void SetupStage081() {
  EnterStage(81);
  const float s83 = 1.0f - 2.0f * game.StageEventDone[83];
  SpawnBlock(800.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s83, 0);
  SpawnBlock(960.0f, 256.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s83, 0);
  SpawnBlock(1088.0f, 320.0f, 64.0f, 32.0f, assets.blockBelt64b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s83, 0);
  SpawnBlock(848.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 0, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 180.0f, 0, 0.0f, 0);
  if (game.TakenItem7[81] == 0) SpawnItem(1120.0f, 390.4f, 7, 0.0f);
}

void SetupStage082() {
  EnterStage(82);
  const int D = game.DifficultyLevel;
  const float s83 = 1.0f - 2.0f * game.StageEventDone[83];
  SpawnEnemy(1440.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10300);
  SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 20 * (D + 2), 200, 10, 20, 5, 3.0f, 8.0f, -1.0f, 3.5f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  SpawnEnemy(1760.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 20 * (D + 1), 200, 10, 20, 5, 0.0f, 0.0f, 0.0f, 2.8f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
  SpawnEnemy(2112.0f, 377.6f, 5, 2, 6, 5, 200, 1, 4.3f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnBlock(1408.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -3.0f * s83, 0);
  SpawnBlock(1568.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -4.0f * s83, 0);
  SpawnBlock(1728.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -4.0f * s83, 0);
  SpawnBlock(1888.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -4.0f * s83, 0);
  SpawnBlock(2048.0f, 320.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 3.0f * s83, 0);
  SpawnBlock(2208.0f, 320.0f, 64.0f, 32.0f, assets.blockBelt64b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, -2.0f * s83, 0);
  SpawnBlock(2304.0f, 288.0f, 64.0f, 32.0f, assets.blockBelt64b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 2.0f * s83, 0);
}

void SetupStage083() {
  EnterStage(83);
  const int D = game.DifficultyLevel;
  if (game.StageEventDone[83] == 0) {
    SpawnEnemy(800.0f, 318.4f, 42, 0, 2, 1, 700, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 0);
  }
  SpawnEnemy(928.0f, 377.6f, 14, 0, 4, 7, 330 + 70 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11501);
  if (D == 0) {
    SetLastEnemyAttackSlot(1, 11, 1, 0.0f, 10, 120, 10, 10, 2.0f, 0.2f, 0.0f, 1.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 36.0f,
                           0.0f, 70, 50);
  } else if (D == 1) {
    SetLastEnemyAttackSlot(1, 11, 1, 0.0f, 20, 120, 20, 20, 3.0f, 0.2f, 0.0f, 2.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 18.0f,
                           0.0f, 70, 50);
  } else if (D == 2) {
    SetLastEnemyAttackSlot(1, 11, 1, 0.0f, 24, 120, 24, 24, 4.0f, 0.2f, 0.0f, 3.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 15.0f,
                           0.0f, 70, 50);
  } else {
    SetLastEnemyAttackSlot(1, 11, 1, 0.0f, 28, 120, 28, 28, 4.0f, 0.2f, 0.0f, 4.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.0f,
                           12.857f, 0.0f, 70, 50);
  }
  SpawnEnemy(1104.0f, 377.6f, 13, 0, 3, 3, 500, 1, 2.5f + 0.5f * D, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 0);
}

void SetupStage084() {
  EnterStage(84);
  const int D = game.DifficultyLevel;
  if (D >= 2) {
    SpawnEnemy(1120.0f, 96.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 11503);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 2.0f * InverseBulletSpeedScale[D],
                       0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0);
  }
  // Three belts bobbing together, half a tile's swing below their start.
  SpawnBlock(800.0f, 224.0f, 128.0f, 32.0f, assets.blockBelt128, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.5f, 0.02f, 0.0f, 0, 2.0f, 0);
  SpawnBlock(960.0f, 160.0f, 128.0f, 32.0f, assets.blockBelt128b, 8, 1, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.5f, 0.02f, 0.0f, 0, -2.0f, 0);
  SpawnBlock(1088.0f, 224.0f, 64.0f, 32.0f, assets.blockBelt64, 8, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             0.0f, 0.5f, 0.02f, 0.0f, 0, 2.0f, 0);
}

void SetupStage085() {
  EnterStage(85);
  const int D = game.DifficultyLevel;
  // The weight swings from its lowest point; the rope hangs at the same point.
  SpawnBlock(928.0f, 256.0f, 64.0f, 64.0f, assets.blockFurikoa, 1, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             4.15f, 1.12f, 0.03f, 0.0f, 41, 0.0f, 0);
  SpawnEnemy(928.0f, 256.0f, 43, 0, 1, 1, 90000, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.03f, 0.0f, 0,
             1, 0);
  SpawnEnemy(960.0f, 377.6f, 18, 0, 4, 1, 70 * (D + 4), 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 11300);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 60, 180, 1, 20, 1, 0.0f, 0.0f, 0.0f, 7.0f, 0.0f, -0.05f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 110, 70);
}

void SetupStage086() {
  EnterStage(86);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  // Two weights swinging in opposite directions.
  SpawnBlock(1536.0f, 224.0f, 64.0f, 64.0f, assets.blockFurikoa, 1, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             4.15f, 1.12f, 0.03f, 0.0f, 41, 0.0f, 0);
  SpawnEnemy(1536.0f, 224.0f, 43, 0, 1, 1, 90000, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.03f, 0.0f,
             0, 1, 0);
  SpawnBlock(2112.0f, 224.0f, 64.0f, 64.0f, assets.blockFurikoa, 1, 0, 1, 0, 0, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.0f,
             -4.15f, 1.12f, 0.03f, 0.0f, 41, 0.0f, 0);
  SpawnEnemy(2112.0f, 224.0f, 43, 0, 1, 1, 90000, 0, 0.0f, 0.0f, 111.1f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, -0.03f, 0.0f,
             0, 1, 0);
  SpawnEnemy(1280.0f, 323.2f, 38, 0, 2, 51, 1000, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             3, 0);
  if (D == 3) {
    SpawnEnemy(1456.0f, 374.4f, 6, 1, 6, 1, 250, 1, 0.0f, 0.0f, 111.1f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               10500);
    SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 200, 200, 10, 40, 10, 0.0f, 0.0f, 0.0f, 2.5f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  if (D >= 2) {
    SpawnEnemy(1664.0f, 374.4f, 6, 1, 6, 1, 320, 1, 0.0f, 0.0f, 111.1f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               10300);
    SetEnemyAttackSlot(LastEnemy(), 34, 1, 60.0f, 200, 200, 10, 40, 10, 3.0f, 8.0f, -1.0f, 2.8f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 0);
  }
  SpawnEnemy(1792.0f, 387.2f, 1, 2, 8, 0, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1872.0f, 387.2f, 1, 2, 8, 0, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1952.0f, 387.2f, 1, 2, 8, 0, 110, 1, 1.7f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2048.0f, 387.2f, 1, 2, 8, 1, 170, 1, 1.9f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2208.0f, 387.2f, 1, 2, 8, 2, 170, 1, 1.9f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(2336.0f, 387.2f, 1, 2, 8, 3, 170, 1, 1.9f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(1440.0f, 128.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
  SpawnEnemy(1888.0f, 96.0f, 4, 2, 6, 32, 110, 0, 2.5f, 0.3f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 60, 120, 1, 30, 1, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 0);
}

void SetupStage087() {
  EnterStage(87);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 345.6f, 33, 0, 6, 1, game.DifficultyLevel == 0 ? 3500 : 4300, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f,
               0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  }
}

void SetupStage088() {
  EnterStage(88);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  const int Et = static_cast<int>(E);
  SpawnEnemy(1024.0f, 128.0f, 4, 2, 6, 1, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 48 * (D + 1), 240, 12, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  SpawnEnemy(1792.0f, 128.0f, 4, 2, 6, 1, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 48 * (D + 1), 240, 12, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  SpawnEnemy(896.0f, 387.2f, 1, 2, 8, 5, 150, 1, E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1088.0f, 387.2f, 1, 2, 8, 6, 150, 1, E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1280.0f, 387.2f, 1, 2, 8, 6, 150, 1, E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1, 0);
  SpawnEnemy(1504.0f, 377.6f, 5, 2, 6, 4, 210, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 2), 0.1f, 0.0f,
                     3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1696.0f, 377.6f, 22, 0, 8, 10, 200, 1, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 11600);
  if (D == 0) {
    SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - E, 90.0f, 0.0f, 0.0f, 0.07f,
                       0.0f, 0.0f, 0.0f, 1000, 10);
  } else {
    SetEnemyAttackSlot(LastEnemy(), 3, 1, 60.0f, 30 + 18 * Et, 180, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f - E, 90.0f, 0.0f,
                       0.0f, 0.07f, 0.0f, 0.0f, 0.0f, 1000, 70);
  }
  SpawnEnemy(1888.0f, 377.6f, 20, 0, 8, 10, 200, 1, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 11602);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 90.0f, D == 0 ? 12 : 6 * (Et + 3), 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f,
                     0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 1000, 10);
  SpawnEnemy(2080.0f, 377.6f, 21, 0, 8, 10, 200, 1, 2.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 11603);
  SetEnemyAttackSlot(LastEnemy(), 1, 4, 360.0f, D == 0 ? 6 : 18, 240, 6, 6, 6, 0.0f, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 1.5f, 2.0f, 0.0f, 50, 10);
}

void SetupStage089() {
  EnterStage(89);
  const int D = game.DifficultyLevel;
  SpawnEnemy(1088.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 20 * (D + 1), 200, 10, 20, 5, 0.0f, 0.0f, 0.0f, 2.8f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
  // Presses: down 40 pixels over 20 frames, back up over 80, every 120 frames.
  SpawnBlock(832.0f, 256.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(960.0f, 256.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage090() {
  EnterStage(90);
  const float E = DifficultyExcess();
  SpawnEnemy(864.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 60);
  SpawnEnemy(992.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 80);
  SpawnEnemy(800.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 100);
  SpawnEnemy(928.0f, 160.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 120);
  SpawnEnemy(832.0f, 387.2f, 1, 2, 8, 5, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(896.0f, 387.2f, 1, 2, 8, 6, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
  SpawnEnemy(960.0f, 387.2f, 1, 2, 8, 6, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 0);
}

void SetupStage091() {
  EnterStage(91);
  // Two platforms swaying sideways, fifty pixels each way.
  SpawnBlock(960.0f, 288.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             1.0f, 0.0f, 0.02f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1072.0f, 224.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 1, 0, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.0f,
             1.0f, 0.0f, 0.02f, 0.0f, 0, 0.0f, 0);
}

void SetupStage092() {
  EnterStage(92);
  if (game.TakenItem5AndBosses[92] == 0) {
    SpawnItem(880.0f, 398.4f, 2, 0.0f);
    SpawnItem(960.0f, 398.4f, 2, 0.0f);
    SpawnItem(1040.0f, 400.0f, 5, 0.0f);
  }
  SpawnBlock(864.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1024.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage093() {
  EnterStage(93);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  SpawnEnemy(896.0f, 377.6f, 5, 2, 6, 4, 210, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 2), 0.1f, 0.0f,
                     3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1088.0f, 377.6f, 5, 2, 6, 4, 210, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 2), 0.1f, 0.0f,
                     3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnEnemy(1312.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 20 * (D + 1), 200, 10, 20, 5, 0.0f, 0.0f, 0.0f, 2.8f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
  SpawnEnemy(1504.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 60);
  SpawnEnemy(1696.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 80);
  SpawnEnemy(1888.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 100);
  SpawnEnemy(2016.0f, 387.2f, 1, 2, 8, 5, 150, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2112.0f, 387.2f, 1, 2, 8, 6, 150, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2208.0f, 387.2f, 1, 2, 8, 6, 150, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnEnemy(2304.0f, 387.2f, 1, 2, 8, 6, 150, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             0);
  SpawnBlock(992.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1184.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1408.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1600.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1792.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1984.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage094() {
  EnterStage(94);
  if (game.StageEventDone[95] == 1) {
    SpawnBlock(960.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 1, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.05f,
               0.0f, 0.0f, 0.0f, 161.0f, 0, 0.0f, 1);
    SpawnBlock(1024.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 1, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.05f,
               0.0f, 0.0f, 0.0f, 179.0f, 0, 0.0f, 1);
    SpawnBlock(1088.0f, -32.0f, 32.0f, 32.0f, assets.blockBlock32, 8, 0, 52, 0, 1, 0.0f, 2.0f, 13.0f, 7.0f, 0.0f, 0.05f,
               0.0f, 0.0f, 0.0f, 237.0f, 0, 0.0f, 1);
  }
}

void SetupStage095() {
  EnterStage(95);
  const int D = game.DifficultyLevel;
  if (game.TakenItem6[95] == 0) SpawnItem(960.0f, 390.4f, 6, 0.0f);
  if (game.StageEventDone[95] == 0) {
    SpawnEnemy(1600.0f, 318.4f, 42, 0, 2, 1, 700, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 0);
  }
  SpawnEnemy(1120.0f, 377.6f, 9, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10400);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20 * (D + 1), 120, 10, 20, 2, 0.0f, 0.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 10);
  SpawnEnemy(1248.0f, 377.6f, 8, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             11500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 30 * (D + 3), 240, 1, 30, 1, 3.0f, 10.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 30);
  SpawnEnemy(1376.0f, 377.6f, 10, 0, 6, 6, 300, 1, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
             1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 120.0f, 30 * (D + 1), 180, 1, 10, 1, 0.0f, 0.0f, -1.0f, 2.5f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 50);
}

void SetupStage096() {
  EnterStage(96);
  const int D = game.DifficultyLevel;
  if (D >= 1) {
    SpawnEnemy(960.0f, 128.0f, 4, 2, 6, 31, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10200);
    SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 48 * D, 240, 8, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  }
  // Counting down once stepped on, then dropping.
  SpawnBlock(832.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 180, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(960.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 40, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 3);
}

void SetupStage097() {
  EnterStage(97);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  SpawnEnemy(1440.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 60);
  SpawnEnemy(1536.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 80);
  SpawnEnemy(1632.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             11503);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 100);
  if (D >= 2) {
    SpawnEnemy(1728.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10200);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 60);
    SpawnEnemy(1824.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10200);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 80);
  }
  if (D == 3) {
    SpawnEnemy(1920.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10200);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 60);
    SpawnEnemy(2016.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0,
               3, 10200);
    SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 80);
  }
  SpawnEnemy(2112.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 60);
  SpawnEnemy(2208.0f, 128.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 80);
  SpawnEnemy(2304.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 100);
  if (D >= 1) {
    SpawnEnemy(1472.0f, 387.2f, 1, 2, 8, 5, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f,
               0, 1, 0);
    SpawnEnemy(1632.0f, 387.2f, 1, 2, 8, 6, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f,
               0, 1, 0);
    SpawnEnemy(1792.0f, 387.2f, 1, 2, 8, 6, 150, 1, 1.0f + E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f,
               0, 1, 0);
  }
  SpawnBlock(832.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 80, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(944.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 60, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 3);
  SpawnBlock(1472.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 80, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1600.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 60, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 3);
  SpawnBlock(1728.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 90, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1856.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 100, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1984.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 194, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(2112.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 100, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(2208.0f, 350.4f, 64.0f, 64.0f, assets.blockIwa6464, 2, 0, 1, 0, 110, 0.0f, 0.0f, 13.0f, 13.0f, 0.0f, 0.4f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage098() {
  EnterStage(98);
  SpawnBlock(960.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 100, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1120.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 100, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1280.0f, 320.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 100, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
  SpawnBlock(1440.0f, 256.0f, 64.0f, 32.0f, assets.blockBlock64, 8, 5, 11, 80, 0, 0.0f, 0.0f, 13.0f, 7.0f, 0.0f, 0.1f,
             0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, 31);
}

void SetupStage099() {
  EnterStage(99);
  const int D = game.DifficultyLevel;
  SpawnEnemy(960.0f, 377.6f, 5, 2, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30, 150, 1, 30, 1, static_cast<float>(D + 2), 0.1f, 0.0f, 3.1f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 10);
  SpawnEnemy(1056.0f, 377.6f, 5, 2, 6, 1, 280, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10200);
  SetEnemyAttackSlot(LastEnemy(), 12, 4, 60.0f, 30, 150, 1, 30, 1, static_cast<float>(D + 2), 0.1f, 0.0f, 3.1f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
}

void SetupStage100() {
  EnterStage(100);
  const int D = game.DifficultyLevel;
  const float E = DifficultyExcess();
  SpawnEnemy(1984.0f, 99.2f, 38, 0, 2, 51, 100, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             0);
  SpawnEnemy(1024.0f, 128.0f, 4, 2, 6, 1, 400, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 32, 1, 0.0f, 48 * (D + 1), 240, 12, 24, 4, 2.0f, 12.0f, -1.0f, 4.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 60);
  SpawnEnemy(1216.0f, 374.4f, 6, 1, 6, 1, 300 + 40 * D, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10500);
  SetEnemyAttackSlot(LastEnemy(), 4, 1, 60.0f, 20 * (D + 1), 200, 10, 20, 5, 0.0f, 0.0f, 0.0f, 2.8f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0, 40);
  SpawnEnemy(1408.0f, 96.0f, 4, 2, 6, 31, 100, 0, 0.0f, 0.0f, 60.0f, 120.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3,
             10500);
  SetEnemyAttackSlot(LastEnemy(), 2, 1, 0.0f, 20, 120, 1, 20, 1, 0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0, 80);
  if (D == 3) {
    SpawnEnemy(1504.0f, 377.6f, 5, 2, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               10203);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30, 150, 1, 30, 1, 2.0f, 0.1f, 0.0f, 3.1f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 10);
  }
  if (D >= 2) {
    SpawnEnemy(1600.0f, 377.6f, 5, 2, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               10203);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30, 150, 1, 30, 1, 2.0f, 0.1f, 0.0f, 3.1f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 10);
    SpawnEnemy(1696.0f, 377.6f, 5, 2, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
               10203);
    SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30, 150, 1, 30, 1, 2.0f, 0.1f, 0.0f, 3.1f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 0.0f, 0, 10);
  }
  SpawnEnemy(1792.0f, 377.6f, 5, 2, 6, 1, 250, 1, 0.0f, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 1,
             10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30, 150, 1, 30, 1, static_cast<float>(D + 2), 0.1f, 0.0f, 3.1f, 0.0f,
                     0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 10);
  SpawnEnemy(2208.0f, 377.6f, 5, 2, 6, 4, 210, 1, 2.0f + 0.7f * E, 0.0f, 60.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
             0.0f, 0, 1, 10203);
  SetEnemyAttackSlot(LastEnemy(), 12, 3, 60.0f, 30 * (D + 1), 150, 10, 30, 2, static_cast<float>(D + 2), 0.1f, 0.0f,
                     3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 120);
  SpawnBlock(1120.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(1504.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
  SpawnBlock(2304.0f, 224.0f, 64.0f, 32.0f, assets.blockBlockh, 8, 0, 20, 0, 0, 0.0f, 2.0f, 13.0f, 120.0f, 0.0f, 0.0f,
             0.0f, 0.0f, 20.0f, 0.0f, 0, 0.0f, 0);
}

void SetupStage101() {
  EnterStage(101);
  if (game.BossMode == 1) {
    SpawnEnemy(1088.0f, 345.6f, 34, 0, 6, 1, game.DifficultyLevel == 0 ? 4300 : 4500, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f,
               0.7f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 3, 0);
  }
}

}  // namespace orb
