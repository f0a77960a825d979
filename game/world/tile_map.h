// The stage's collision map: 15 rows of 320 tile codes, one per 32 x 32
// world pixels, decoded from the colours of the stage's collision picture.
#pragma once

#include <cstdint>

namespace orb {

constexpr int kTileRows = 15;
constexpr int kTileColumns = 320;
constexpr int kTileSize = 32;

enum TileCode : int8_t {
  kTileOpen = 0,
  kTileSolid = 1,
  kTileOneWay = 2,
  kTileSlow = 3,
  kTileIce = 4,
  kTileStairsFootRight = 5,  // foot of stairs rising to the right
  kTileStairsFootLeft = 6,
  kTileStairsTopRight = 7,
  kTileStairsTopLeft = 8,
  kTileDeadly = 9,
  kTileUnsafe = 10,  // solid, never a respawn point
};

struct TileMapState {
  int8_t TileMap[kTileRows][kTileColumns];
};

extern TileMapState tiles;

void ResetTileMap();

// The tile code of a collision-picture colour; every other colour is 0.
int8_t TileCodeOfColour(uint8_t r, uint8_t g, uint8_t b);

// The colour a tile code is painted with (code 0 black); false for unknown codes.
bool ColourOfTileCode(int code, uint8_t* r, uint8_t* g, uint8_t* b);

bool IsSolidTile(int code);

// Opens walls painted at a stage edge that has an exit: the column just left
// of the left bound takes the code of the bound's column, and the first
// column beyond the right end takes the code of the last one. Columns outside
// the map are never written.
void OpenStageWalls(bool openLeft, bool openRight);

}  // namespace orb
