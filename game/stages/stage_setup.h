// The stage set-up routines, one per stage, reached through the set-up
// table by stage number. Each writes the stage's bounds, exits and boss
// mode, then begins the stage; the stage's spawns follow the begin.
#pragma once

#include <cstdint>

namespace orb {

using StageSetupRoutine = void (*)();

constexpr int kStageSetupEntries = 153;  // 0 (does nothing) to 152

// The table, indexed by stage number 0 to 152.
extern const StageSetupRoutine StageSetupTable[kStageSetupEntries];

// Runs the routine of a stage 1 to 152; any other number does nothing.
void RunStageSetup(int stage);

struct StageGeometry {
  int32_t width;  // the right scroll bound
  int32_t exitLeft, exitRight, exitUp, exitDown;
};

// The world's geometry by stage number 1 to 152 (entry 0 all zero).
const StageGeometry& StageGeometryOf(int stage);

// The first part of every routine: boss mode by the room's guard, the
// bounds and exits, then BeginStage.
void EnterStage(int stage);

}  // namespace orb
