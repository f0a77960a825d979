// The gaps of stages 44 to 101 stand where the hub's gaps land the players;
// where that point is above the plain floor, the map gives the gap a ledge
// just below it: one-way floors, which the players pass from below.
#include "game/tile_map.h"
#include "stage_maps.h"

namespace mkassets {

namespace {

void Ledge(StageMap& map, int row, int firstColumn, int lastColumn) {
  for (int c = firstColumn; c <= lastColumn; ++c) map.tiles[row][c] = orb::kTileOneWay;
}

}  // namespace

void FixMaps044_101(StageMap* maps) {
  Ledge(maps[44], 12, 35, 36);   // the gap at x 1120
  Ledge(maps[55], 12, 41, 42);   // at x 1312
  Ledge(maps[73], 11, 26, 27);   // at x 832, y 259.2
  Ledge(maps[100], 6, 62, 63);   // at x 1984, y 99.2
}

}  // namespace mkassets
