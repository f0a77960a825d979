// A new game and the party roster's starting values.
#pragma once

namespace orb {

// Puts the whole game state to its start: stage 1 at the hub's entry
// point, members 0 and 1 in the party, three lives, no progress.
void ResetNewGame();

// Every member's maxima from the starting table, with hit points and power full.
void InitRosterStats();

}  // namespace orb
