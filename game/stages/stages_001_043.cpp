// The set-up routines of stages 1 to 43: each begins its stage, then spawns what the stage holds.
#include "game/stages/stage_routines.h"

#include "game/stages/stage_setup.h"

#include "game/blocks.h"
#include "game/enemies.h"
#include "game/game_state.h"
#include "game/items.h"

namespace orb {

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
void SetupStage003() { EnterStage(3); }
void SetupStage004() { EnterStage(4); }
void SetupStage005() { EnterStage(5); }
void SetupStage006() { EnterStage(6); }
void SetupStage007() { EnterStage(7); }
void SetupStage008() { EnterStage(8); }
void SetupStage009() { EnterStage(9); }
void SetupStage010() { EnterStage(10); }
void SetupStage011() { EnterStage(11); }
void SetupStage012() { EnterStage(12); }
void SetupStage013() { EnterStage(13); }
void SetupStage014() { EnterStage(14); }
void SetupStage015() { EnterStage(15); }
void SetupStage016() { EnterStage(16); }
void SetupStage017() { EnterStage(17); }
void SetupStage018() { EnterStage(18); }
void SetupStage019() { EnterStage(19); }
void SetupStage020() { EnterStage(20); }
void SetupStage021() { EnterStage(21); }
void SetupStage022() { EnterStage(22); }
void SetupStage023() { EnterStage(23); }
void SetupStage024() { EnterStage(24); }
void SetupStage025() { EnterStage(25); }
void SetupStage026() { EnterStage(26); }
void SetupStage027() { EnterStage(27); }
void SetupStage028() { EnterStage(28); }
void SetupStage029() { EnterStage(29); }
void SetupStage030() { EnterStage(30); }
void SetupStage031() { EnterStage(31); }
void SetupStage032() { EnterStage(32); }
void SetupStage033() { EnterStage(33); }
void SetupStage034() { EnterStage(34); }
void SetupStage035() { EnterStage(35); }
void SetupStage036() { EnterStage(36); }
void SetupStage037() { EnterStage(37); }
void SetupStage038() { EnterStage(38); }
void SetupStage039() { EnterStage(39); }
void SetupStage040() { EnterStage(40); }
void SetupStage041() { EnterStage(41); }
void SetupStage042() { EnterStage(42); }
void SetupStage043() { EnterStage(43); }

}  // namespace orb
