#include "game/game_state.h"
#include "game/stages/stage_setup.h"

// One routine per stage. The spawns of each stage follow its EnterStage.
namespace orb {

namespace {

void SetupStage000() {}

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

}  // namespace

const StageSetupRoutine StageSetupTable[kStageSetupEntries] = {
    SetupStage000, SetupStage001, SetupStage002, SetupStage003, SetupStage004, SetupStage005,
    SetupStage006, SetupStage007, SetupStage008, SetupStage009, SetupStage010, SetupStage011,
    SetupStage012, SetupStage013, SetupStage014, SetupStage015, SetupStage016, SetupStage017,
    SetupStage018, SetupStage019, SetupStage020, SetupStage021, SetupStage022, SetupStage023,
    SetupStage024, SetupStage025, SetupStage026, SetupStage027, SetupStage028, SetupStage029,
    SetupStage030, SetupStage031, SetupStage032, SetupStage033, SetupStage034, SetupStage035,
    SetupStage036, SetupStage037, SetupStage038, SetupStage039, SetupStage040, SetupStage041,
    SetupStage042, SetupStage043, SetupStage044, SetupStage045, SetupStage046, SetupStage047,
    SetupStage048, SetupStage049, SetupStage050, SetupStage051, SetupStage052, SetupStage053,
    SetupStage054, SetupStage055, SetupStage056, SetupStage057, SetupStage058, SetupStage059,
    SetupStage060, SetupStage061, SetupStage062, SetupStage063, SetupStage064, SetupStage065,
    SetupStage066, SetupStage067, SetupStage068, SetupStage069, SetupStage070, SetupStage071,
    SetupStage072, SetupStage073, SetupStage074, SetupStage075, SetupStage076, SetupStage077,
    SetupStage078, SetupStage079, SetupStage080, SetupStage081, SetupStage082, SetupStage083,
    SetupStage084, SetupStage085, SetupStage086, SetupStage087, SetupStage088, SetupStage089,
    SetupStage090, SetupStage091, SetupStage092, SetupStage093, SetupStage094, SetupStage095,
    SetupStage096, SetupStage097, SetupStage098, SetupStage099, SetupStage100, SetupStage101,
    SetupStage102, SetupStage103, SetupStage104, SetupStage105, SetupStage106, SetupStage107,
    SetupStage108, SetupStage109, SetupStage110, SetupStage111, SetupStage112, SetupStage113,
    SetupStage114, SetupStage115, SetupStage116, SetupStage117, SetupStage118, SetupStage119,
    SetupStage120, SetupStage121, SetupStage122, SetupStage123, SetupStage124, SetupStage125,
    SetupStage126, SetupStage127, SetupStage128, SetupStage129, SetupStage130, SetupStage131,
    SetupStage132, SetupStage133, SetupStage134, SetupStage135, SetupStage136, SetupStage137,
    SetupStage138, SetupStage139, SetupStage140, SetupStage141, SetupStage142, SetupStage143,
    SetupStage144, SetupStage145, SetupStage146, SetupStage147, SetupStage148, SetupStage149,
    SetupStage150, SetupStage151, SetupStage152,
};

void RunStageSetup(int stage) {
  if (stage < 1 || stage > kLastStage) return;
  StageSetupTable[stage]();
}

}  // namespace orb
