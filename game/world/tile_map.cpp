#include "game/world/tile_map.h"

#include <cstring>

#include "game/world/game_state.h"

namespace orb {

TileMapState tiles;

namespace {
struct TileColour {
  uint8_t r, g, b;
};
// Index = tile code.
constexpr TileColour kColours[11] = {
    {0, 0, 0},     {255, 255, 255}, {0, 255, 0},   {127, 0, 0}, {0, 0, 127}, {255, 0, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255}, {0, 127, 0}, {200, 0, 0},
};

void CopyColumn(int from, int to) {
  if (from < 0 || from >= kTileColumns || to < 0 || to >= kTileColumns) return;
  for (auto& row : tiles.TileMap) row[to] = row[from];
}
}  // namespace

void ResetTileMap() { std::memset(&tiles, 0, sizeof tiles); }

int8_t TileCodeOfColour(uint8_t r, uint8_t g, uint8_t b) {
  for (int code = 1; code < 11; ++code) {
    if (kColours[code].r == r && kColours[code].g == g && kColours[code].b == b) return static_cast<int8_t>(code);
  }
  return kTileOpen;
}

bool ColourOfTileCode(int code, uint8_t* r, uint8_t* g, uint8_t* b) {
  if (code < 0 || code > 10) return false;
  *r = kColours[code].r;
  *g = kColours[code].g;
  *b = kColours[code].b;
  return true;
}

bool IsSolidTile(int code) {
  return code == kTileSolid || code == kTileSlow || code == kTileIce || code == kTileDeadly || code == kTileUnsafe;
}

void OpenStageWalls(bool openLeft, bool openRight) {
  const int left = static_cast<int>(game.links.leftBound) / kTileSize;
  const int right = static_cast<int>(game.links.rightBound) / kTileSize;
  if (openLeft) CopyColumn(left, left - 1);
  if (openRight) CopyColumn(right + 19, right + 20);
}

}  // namespace orb
