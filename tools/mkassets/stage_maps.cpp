#include "stage_maps.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "game/world/game_state.h"
#include "game/stages/stage_setup.h"
#include "game/world/tile_map.h"

namespace mkassets {

namespace {

constexpr int kFloorRow = 13;   // floor top at y 416: a standing player's centre is at y 385
constexpr int kStairRow = 12;   // the row above the floor, where the stairs' ends are read
constexpr int kFootColumns = 4;  // foot of the stairs in the lower stage
constexpr int kTopColumns = 4;   // landing in the upper stage
// A climb from the centre of foot column f leaves the lower stage about 386
// pixels to the right and lands in the upper stage about 100 further on: the
// landing starts 15 columns after the foot.
constexpr int kTopOffset = 15;

int FirstColumn() { return 20; }
int LastColumn(int stage) { return orb::StageGeometryOf(stage).width / 32 + 19; }

// Shift of x between the stacked rooms joined off-centre, going up from lower to upper.
int UpShift(int lower, int upper) {
  static const int shifts[][3] = {{25, 24, -1280}, {39, 41, -1280}, {26, 27, 1280}, {30, 29, 1280}};
  for (const auto& s : shifts) {
    if (s[0] == lower && s[1] == upper) return s[2];
  }
  return 0;
}

// The columns of row 12 already used in each stage.
std::set<int> used[153];

bool Free(int stage, int first, int count) {
  if (first < FirstColumn() + 1 || first + count - 1 > LastColumn(stage)) return false;
  for (int c = first - 1; c <= first + count; ++c) {
    if (used[stage].count(c)) return false;
  }
  return true;
}

void Mark(StageMap& map, int stage, int first, int count, int8_t code) {
  for (int c = first; c < first + count; ++c) {
    map.tiles[kStairRow][c] = code;
    used[stage].insert(c);
  }
}

// Camera below 1280 when leaving stage 25 upward leads to 26: the climb to
// 26 must leave at x below 1600, the one to 24 at or above it.
bool ExitAllowed(int lower, int upper, int foot) {
  const int leaveX = foot * 32 + 16 + 386;
  if (lower == 25 && upper == 26) return leaveX + 3 * 32 < 1600;
  if (lower == 25 && upper == 24) return leaveX >= 1600;
  return true;
}

void PlaceStairs(StageMap* maps, int lower, int upper) {
  const int shift = UpShift(lower, upper) / 32;
  for (int foot = FirstColumn() + 1; foot <= LastColumn(lower); ++foot) {
    const int top = foot + kTopOffset + shift;
    if (!ExitAllowed(lower, upper, foot) || !Free(lower, foot, kFootColumns) || !Free(upper, top, kTopColumns)) continue;
    Mark(maps[lower], lower, foot, kFootColumns, orb::kTileStairsFootRight);
    Mark(maps[upper], upper, top, kTopColumns, orb::kTileStairsTopRight);
    return;
  }
  std::fprintf(stderr, "mkassets: no room for the stairs from stage %d up to %d\n", lower, upper);
}

}  // namespace

void FixMaps001_043(StageMap* maps);
void FixMaps044_101(StageMap* maps);
void FixMaps102_152(StageMap* maps);

void BuildStageMaps(StageMap* maps) {
  for (auto& u : used) u.clear();
  std::set<std::pair<int, int>> climbs;  // (lower, upper)
  for (int s = 1; s <= orb::kLastStage; ++s) {
    StageMap& map = maps[s];
    std::memset(map.tiles, 0, sizeof map.tiles);
    const int last = LastColumn(s);
    for (int c = FirstColumn(); c <= last; ++c) {
      for (int r = kFloorRow; r < kRows; ++r) map.tiles[r][c] = orb::kTileSolid;
    }
    for (int r = 0; r < kRows; ++r) {
      map.tiles[r][FirstColumn() - 1] = orb::kTileSolid;
      if (last + 1 < kColumns) map.tiles[r][last + 1] = orb::kTileSolid;
    }
    const orb::StageGeometry& g = orb::StageGeometryOf(s);
    if (g.exitUp) climbs.insert({s, g.exitUp});
    if (g.exitDown) climbs.insert({g.exitDown, s});
  }
  climbs.insert({25, 26});  // the top edge of 25 leads to 26 while the camera is left of 1280
  for (const auto& [lower, upper] : climbs) PlaceStairs(maps, lower, upper);
  FixMaps001_043(maps);
  FixMaps044_101(maps);
  FixMaps102_152(maps);
}

}  // namespace mkassets
