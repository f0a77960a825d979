// The set-up routines of stages 1 to 43: each begins its stage, then spawns what the stage holds.
#include "game/stages/stage_routines.h"

#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage001() { EnterStage(1); }
void SetupStage002() { EnterStage(2); }
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
