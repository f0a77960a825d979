// The doors and gaps of stages 102 to 152 stand where their partners land
// the players; where that point is above the plain floor, the map gives the
// door a ledge under it at the height the hub's gaps stand over the floor:
// one-way floors, which the players pass from below.
#include "game/world/tile_map.h"
#include "stage_maps.h"

namespace mkassets {

void FixMaps102_152(StageMap* maps) {
  FillRow(maps[135], 6, 35, 38, orb::kTileOneWay);   // the gap at x 1120, y 67.2
  FillRow(maps[135], 10, 32, 35, orb::kTileOneWay);  // steps up to it, each a jump above the last
  FillRow(maps[135], 8, 34, 37, orb::kTileOneWay);
  FillRow(maps[137], 12, 31, 34, orb::kTileOneWay);  // the door at x 992, y 259.2
  FillRow(maps[138], 12, 23, 26, orb::kTileOneWay);  // the door at x 736, y 259.2
}

}  // namespace mkassets
