#include "game/world/game_state.h"
#include "game/stages/stage_routines.h"
#include "game/stages/stage_setup.h"

// The set-up table: one routine per stage, in the files of their regions.
namespace orb {

namespace {

void SetupStage000() {}

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
