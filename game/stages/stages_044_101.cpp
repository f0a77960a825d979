// The set-up routines of stages 44 to 101: each begins its stage, then spawns what the stage holds.
#include "game/stages/stage_routines.h"

#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage044() { EnterStage(44); }
void SetupStage045() { EnterStage(45); }
void SetupStage046() { EnterStage(46); }
void SetupStage047() { EnterStage(47); }
void SetupStage048() { EnterStage(48); }
void SetupStage049() { EnterStage(49); }
void SetupStage050() { EnterStage(50); }
void SetupStage051() { EnterStage(51); }
void SetupStage052() { EnterStage(52); }
void SetupStage053() { EnterStage(53); }
void SetupStage054() { EnterStage(54); }
void SetupStage055() { EnterStage(55); }
void SetupStage056() { EnterStage(56); }
void SetupStage057() { EnterStage(57); }
void SetupStage058() { EnterStage(58); }
void SetupStage059() { EnterStage(59); }
void SetupStage060() { EnterStage(60); }
void SetupStage061() { EnterStage(61); }
void SetupStage062() { EnterStage(62); }
void SetupStage063() { EnterStage(63); }
void SetupStage064() { EnterStage(64); }
void SetupStage065() { EnterStage(65); }
void SetupStage066() { EnterStage(66); }
void SetupStage067() { EnterStage(67); }
void SetupStage068() { EnterStage(68); }
void SetupStage069() { EnterStage(69); }
void SetupStage070() { EnterStage(70); }
void SetupStage071() { EnterStage(71); }
void SetupStage072() { EnterStage(72); }
void SetupStage073() { EnterStage(73); }
void SetupStage074() { EnterStage(74); }
void SetupStage075() { EnterStage(75); }
void SetupStage076() { EnterStage(76); }
void SetupStage077() { EnterStage(77); }
void SetupStage078() { EnterStage(78); }
void SetupStage079() { EnterStage(79); }
void SetupStage080() { EnterStage(80); }
void SetupStage081() { EnterStage(81); }
void SetupStage082() { EnterStage(82); }
void SetupStage083() { EnterStage(83); }
void SetupStage084() { EnterStage(84); }
void SetupStage085() { EnterStage(85); }
void SetupStage086() { EnterStage(86); }
void SetupStage087() { EnterStage(87); }
void SetupStage088() { EnterStage(88); }
void SetupStage089() { EnterStage(89); }
void SetupStage090() { EnterStage(90); }
void SetupStage091() { EnterStage(91); }
void SetupStage092() { EnterStage(92); }
void SetupStage093() { EnterStage(93); }
void SetupStage094() { EnterStage(94); }
void SetupStage095() { EnterStage(95); }
void SetupStage096() { EnterStage(96); }
void SetupStage097() { EnterStage(97); }
void SetupStage098() { EnterStage(98); }
void SetupStage099() { EnterStage(99); }
void SetupStage100() { EnterStage(100); }
void SetupStage101() { EnterStage(101); }

}  // namespace orb
