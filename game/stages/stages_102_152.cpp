// The set-up routines of stages 102 to 152: each begins its stage, then spawns what the stage holds.
#include "game/stages/stage_routines.h"

#include "game/stages/stage_setup.h"

namespace orb {

void SetupStage102() { EnterStage(102); }
void SetupStage103() { EnterStage(103); }
void SetupStage104() { EnterStage(104); }
void SetupStage105() { EnterStage(105); }
void SetupStage106() { EnterStage(106); }
void SetupStage107() { EnterStage(107); }
void SetupStage108() { EnterStage(108); }
void SetupStage109() { EnterStage(109); }
void SetupStage110() { EnterStage(110); }
void SetupStage111() { EnterStage(111); }
void SetupStage112() { EnterStage(112); }
void SetupStage113() { EnterStage(113); }
void SetupStage114() { EnterStage(114); }
void SetupStage115() { EnterStage(115); }
void SetupStage116() { EnterStage(116); }
void SetupStage117() { EnterStage(117); }
void SetupStage118() { EnterStage(118); }
void SetupStage119() { EnterStage(119); }
void SetupStage120() { EnterStage(120); }
void SetupStage121() { EnterStage(121); }
void SetupStage122() { EnterStage(122); }
void SetupStage123() { EnterStage(123); }
void SetupStage124() { EnterStage(124); }
void SetupStage125() { EnterStage(125); }
void SetupStage126() { EnterStage(126); }
void SetupStage127() { EnterStage(127); }
void SetupStage128() { EnterStage(128); }
void SetupStage129() { EnterStage(129); }
void SetupStage130() { EnterStage(130); }
void SetupStage131() { EnterStage(131); }
void SetupStage132() { EnterStage(132); }
void SetupStage133() { EnterStage(133); }
void SetupStage134() { EnterStage(134); }
void SetupStage135() { EnterStage(135); }
void SetupStage136() { EnterStage(136); }
void SetupStage137() { EnterStage(137); }
void SetupStage138() { EnterStage(138); }
void SetupStage139() { EnterStage(139); }
void SetupStage140() { EnterStage(140); }
void SetupStage141() { EnterStage(141); }
void SetupStage142() { EnterStage(142); }
void SetupStage143() { EnterStage(143); }
void SetupStage144() { EnterStage(144); }
void SetupStage145() { EnterStage(145); }
void SetupStage146() { EnterStage(146); }
void SetupStage147() { EnterStage(147); }
void SetupStage148() { EnterStage(148); }
void SetupStage149() { EnterStage(149); }
void SetupStage150() { EnterStage(150); }
void SetupStage151() { EnterStage(151); }
void SetupStage152() { EnterStage(152); }

}  // namespace orb
