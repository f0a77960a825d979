// The placeholder collision maps of all 152 stages, consistent with the
// world's links: one floor height everywhere (so side exits meet), walls just
// outside both ends (the game opens those that have an exit), and stairs
// wherever a vertical exit joins two stages.
#pragma once

#include <cstdint>

namespace mkassets {

constexpr int kRows = 15;
constexpr int kColumns = 320;

struct StageMap {
  int8_t tiles[kRows][kColumns];
};

// Sets the tiles of one row from the first column to the last to one code:
// the stage regions' map fixes lay ledges and dips with it.
inline void FillRow(StageMap& map, int row, int firstColumn, int lastColumn, int8_t code) {
  for (int c = firstColumn; c <= lastColumn; ++c) map.tiles[row][c] = code;
}

// Maps for stages 1 to 152 (entry 0 unused).
void BuildStageMaps(StageMap* maps /* [153] */);

}  // namespace mkassets
