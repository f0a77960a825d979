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

// Maps for stages 1 to 152 (entry 0 unused).
void BuildStageMaps(StageMap* maps /* [153] */);

}  // namespace mkassets
