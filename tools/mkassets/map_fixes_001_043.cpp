// Where stages 1 to 43 place actors at fixed points above the plain floor,
// the maps give them ledges to stand on: one-way floors, which the players
// pass from below and walk under.
#include "game/world/tile_map.h"
#include "stage_maps.h"

namespace mkassets {

void FixMaps001_043(StageMap* maps) {
  // Stage 2: the row of four walkers at y 320 and the two at y 288.
  FillRow(maps[2], 11, 33, 37, orb::kTileOneWay);
  FillRow(maps[2], 10, 45, 46, orb::kTileOneWay);
}

}  // namespace mkassets
