// The gaps of stages 44 to 101 stand where the hub's gaps land the players.
// Where that point does not meet the plain floor, the map meets it: a ledge
// just below the gap (a one-way floor, which the players pass from below),
// or a shallow dip in the floor where the gap would reach into it.
#include "game/world/tile_map.h"
#include "stage_maps.h"

namespace mkassets {

void FixMaps044_101(StageMap* maps) {
  FillRow(maps[73], 12, 26, 29, orb::kTileOneWay);   // the gap at (832, 259.2)
  FillRow(maps[100], 7, 62, 65, orb::kTileOneWay);   // at (1984, 99.2)
  FillRow(maps[100], 10, 60, 63, orb::kTileOneWay);  // a step up to it, a jump from the floor and from it
  FillRow(maps[86], 13, 40, 43, orb::kTileOpen);     // at (1280, 323.2), a tile lower than the floor
}

}  // namespace mkassets
