// Shared by the stage-contents tests of every region: the placeholder maps
// of the asset tool behind the stage loader, a stage set up at a difficulty
// with every progress flag clear or set, the live actors counted by pool, a
// few world frames with the players held still, the placement rules checked
// on the actors that stand, one long cycle of every attack slot, and the
// checks every region runs (its count table, a second run of each routine,
// every way in run for 600 frames twice).
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "game/stages/stage_setup.h"
#include "game/world/tile_map.h"
#include "boss_test_support.h"
#include "game_test_support.h"
#include "tools/mkassets/stage_maps.h"

namespace orb::test {

// Enemies, blocks and items standing (state not 0).
struct Spawns {
  int enemies, blocks, items;
  bool operator==(const Spawns&) const = default;
};

// One stage's expected counts, written by hand from the world table's spawn
// calls and the contents' conditions: the calls column (an upper bound at
// every difficulty and flag state), then the counts at difficulties 0 to 3
// with every progress flag clear, and with every flag set.
struct StageSpawnRow {
  int stage;
  Spawns calls;
  Spawns clear[4];
  Spawns set[4];
};

// The same counts at every difficulty.
constexpr StageSpawnRow Fixed(int stage, Spawns calls, Spawns clear, Spawns set) {
  return {stage, calls, {clear, clear, clear, clear}, {set, set, set, set}};
}
constexpr StageSpawnRow Fixed(int stage, Spawns all) { return Fixed(stage, all, all, all); }

// Enemies by difficulty, the same with the flags clear and set; the blocks
// at every difficulty; the items with the flags clear and set.
constexpr StageSpawnRow ByDifficulty(int stage, Spawns calls, int e0, int e1, int e2, int e3, int blocks,
                                     int itemsClear, int itemsSet) {
  return {stage,
          calls,
          {{e0, blocks, itemsClear}, {e1, blocks, itemsClear}, {e2, blocks, itemsClear}, {e3, blocks, itemsClear}},
          {{e0, blocks, itemsSet}, {e1, blocks, itemsSet}, {e2, blocks, itemsSet}, {e3, blocks, itemsSet}}};
}

inline std::string Describe(const Spawns& s) {
  char text[64];
  std::snprintf(text, sizeof text, "%d/%d/%d", s.enemies, s.blocks, s.items);
  return text;
}
inline void PrintTo(const Spawns& s, std::ostream* os) { *os << Describe(s); }

// The asset tool's collision maps, built once per test program.
inline const mkassets::StageMap* PlaceholderMaps() {
  static std::vector<mkassets::StageMap> maps = [] {
    std::vector<mkassets::StageMap> m(153);
    mkassets::BuildStageMaps(m.data());
    return m;
  }();
  return maps.data();
}

namespace stage_contents_detail {
inline int OpenMap(const char*) { return game.CurrentStage >= 1 && game.CurrentStage <= kLastStage ? game.CurrentStage : -1; }
inline int ReadMapPixel(int stage, int x, int y, int* r, int* g, int* b) {
  if (stage < 1 || stage > kLastStage || x < 0 || x >= kTileColumns || y < 0 || y >= kTileRows) return -1;
  uint8_t cr, cg, cb;
  if (!ColourOfTileCode(PlaceholderMaps()[stage].tiles[y][x], &cr, &cg, &cb)) return -1;
  *r = cr, *g = cg, *b = cb;
  return 0;
}
inline void CloseMap(int) {}
}  // namespace stage_contents_detail

// Every progress table of every stage set to the value.
inline void SetProgressFlags(uint8_t value) {
  std::memset(game.TakenItem6, value, sizeof game.TakenItem6);
  std::memset(game.TakenItem7, value, sizeof game.TakenItem7);
  std::memset(game.TakenItem8, value, sizeof game.TakenItem8);
  std::memset(game.TakenItem9, value, sizeof game.TakenItem9);
  std::memset(game.StageEventDone, value, sizeof game.StageEventDone);
  std::memset(game.WarpGapOpen, value, sizeof game.WarpGapOpen);
  std::memset(game.TakenItem5AndBosses, value, sizeof game.TakenItem5AndBosses);
}

// A clean game on the placeholder maps, both players on the field, arrived
// by the given way (an entry side of BeginStage, and the entry point where
// that side uses one); then the stage's routine at the difficulty.
inline void RunStageEnteredBy(int stage, int difficulty, bool flagsSet, int entrySide, float entryX, float entryY) {
  ResetGameModules();
  SetStageLoadHooks({nullptr, nullptr, stage_contents_detail::OpenMap, stage_contents_detail::ReadMapPixel,
                     stage_contents_detail::CloseMap});
  game.DifficultyLevel = static_cast<uint8_t>(difficulty);
  game.DifficultySpeedBonus = DifficultyExcess();
  game.OnFieldMode = 1;
  game.BossMode = 0;
  SetProgressFlags(flagsSet ? 1 : 0);
  game.CurrentStage = stage;
  game.EntrySide = entrySide;
  game.EntryX = entryX;
  game.EntryY = entryY;
  RunStageSetup(stage);
}

// Arrived through the left edge when the stage has a left exit, else
// through the right one when it has that (else at the left end all the
// same), standing on the floor.
inline void RunStageAt(int stage, int difficulty, bool flagsSet) {
  const StageGeometry& g = StageGeometryOf(stage);
  const int side = g.exitLeft == 0 && g.exitRight != 0 ? kEnteredRightEnd : kEnteredLeftEnd;
  RunStageEnteredBy(stage, difficulty, flagsSet, side, 0.0f, 385.0f);
}

inline Spawns CountSpawns() {
  Spawns s{0, 0, 0};
  for (const EnemyRecord& e : pools.enemies) s.enemies += e.head.state != kActorFree;
  for (const BlockRecord& b : pools.blocks) s.blocks += b.head.state != kActorFree;
  for (const ItemRecord& r : pools.items) s.items += r.head.state != kActorFree;
  return s;
}

inline int CountEnemiesOfKind(int kind) {
  int n = 0;
  for (const EnemyRecord& e : pools.enemies) n += e.head.state != kActorFree && e.kind == kind;
  return n;
}

// The boss rooms of a region: at every difficulty the boss first in the
// ring at its point, with its hit points and gravity, and boss mode on;
// with the flags set no boss, and boss mode left off.
inline void ExpectBossRoomsHoldTheirBoss(int firstStage, int lastStage) {
  for (const BossRoom& b : kBossRooms) {
    if (b.stage < firstStage || b.stage > lastStage) continue;
    SCOPED_TRACE(testing::Message() << "stage " << b.stage);
    for (int d = 0; d < 4; ++d) {
      RunStageAt(b.stage, d, false);
      const EnemyRecord& e = pools.enemies[1];
      EXPECT_EQ(game.BossMode, 1);
      EXPECT_EQ(e.kind, b.kind);
      EXPECT_EQ(e.hitPoints, d == 0 ? b.hitPointsEasy : b.hitPoints) << "difficulty " << d;
      EXPECT_EQ(e.bulletType, 0);
      EXPECT_FLOAT_EQ(e.motion.accelY, b.gravity);
      EXPECT_FLOAT_EQ(e.head.x - e.head.hitboxWidth / 2, b.x);
      EXPECT_FLOAT_EQ(e.head.y - e.head.hitboxWidth / 2, b.y);
    }
    RunStageAt(b.stage, 1, true);
    EXPECT_EQ(game.BossMode, 0);
    EXPECT_EQ(CountEnemiesOfKind(b.kind), 0);
  }
}

// A stage's gap back to the hub: one, standing (54.4, 28.8) up and left of
// where the hub's gap to the stage lands the players, with its tag.
struct HubGap {
  int stage, hitPoints;
  float landX, landY;
};
template <size_t N>
void ExpectHubGapsStandWhereTheHubLands(const HubGap (&gaps)[N], int difficulty, bool flagsSet) {
  for (const HubGap& g : gaps) {
    SCOPED_TRACE(testing::Message() << "stage " << g.stage);
    RunStageAt(g.stage, difficulty, flagsSet);
    ASSERT_EQ(CountEnemiesOfKind(38), 1);
    for (const EnemyRecord& e : pools.enemies) {
      if (e.head.state == kActorFree || e.kind != 38) continue;
      EXPECT_EQ(e.mode, 51);
      EXPECT_EQ(e.hitPoints, g.hitPoints);
      EXPECT_NEAR(e.head.x - e.head.hitboxWidth / 2 + 54.4f, g.landX, 1e-3f);
      EXPECT_NEAR(e.head.y - e.head.hitboxWidth / 2 + 28.8f, g.landY, 1e-3f);
    }
  }
}

// The world pass n times with no input: the players stand where they arrived.
inline void RunWorldFrames(int n) {
  for (int i = 0; i < n; ++i) {
    ClearPlayerInputs();
    ++game.PlayFrameCount;
    game.DifficultySpeedBonus = DifficultyExcess();
    RunWorldPass();
  }
}

// The tile code at a world point; below the map reads as solid, beside or
// above it as open.
inline int TileAtPoint(float x, float y) {
  const int c = static_cast<int>(std::floor(x / kTileSize)), r = static_cast<int>(std::floor(y / kTileSize));
  if (c < 0 || c >= kTileColumns || r < 0 || r >= kTileRows) return r >= kTileRows ? kTileSolid : kTileOpen;
  return tiles.TileMap[r][c];
}

inline bool IsFloorTile(int code) { return code != kTileOpen && code != kTileDeadly; }

// What a box overlaps, 1 pixel inside its edges: 1 any solid or deadly tile,
// 2 any tile other than open, 0 open only.
inline int BoxOverlap(float cx, float cy, float w, float h) {
  int worst = 0;
  const float inset = w > 2 && h > 2 ? 1.0f : 0.0f;
  for (float y = cy - h / 2 + inset;; y = std::fmin(y + kTileSize, cy + h / 2 - inset)) {
    for (float x = cx - w / 2 + inset;; x = std::fmin(x + kTileSize, cx + w / 2 - inset)) {
      const int code = TileAtPoint(x, y);
      if (IsSolidTile(code) || code == kTileDeadly) return 1;
      if (code != kTileOpen) worst = 2;
      if (x >= cx + w / 2 - inset) break;
    }
    if (y >= cy + h / 2 - inset) break;
  }
  return worst;
}

// A floor within one tile below the box's bottom (under its centre).
inline bool OnFloor(float cx, float bottom) {
  for (float y = bottom; y <= bottom + kTileSize; y += 1.0f) {
    if (IsFloorTile(TileAtPoint(cx, y))) return true;
  }
  return false;
}

// The placement rules on what stands now: inside the stage (or gone out
// through an edge that has an exit) and in no solid or deadly tile; walkers
// (map collision on, gaps and doors too) on a floor unless in a jump, and
// items on a floor; fliers in open tiles only. Blocks that start beyond an
// edge on purpose are named by their slots in blocksAllowedOutside.
inline std::vector<std::string> PlacementFaults(const std::vector<int>& blocksAllowedOutside = {}) {
  std::vector<std::string> faults;
  const float left = game.links.leftBound, right = game.links.rightBound + 640.0f;
  char text[160];
  auto fault = [&](const char* what, int slot, const ActorHead& h, const char* rule) {
    std::snprintf(text, sizeof text, "stage %d difficulty %d: %s slot %d at (%.1f, %.1f): %s", game.CurrentStage,
                  game.DifficultyLevel, what, slot, h.x, h.y, rule);
    faults.push_back(text);
  };
  auto inside = [&](const ActorHead& h) { return h.x >= left && h.x < right && h.y >= 0 && h.y < 480; };
  for (int i = 0; i < kEnemyCount; ++i) {
    const EnemyRecord& e = pools.enemies[i];
    if (e.head.state == kActorFree) continue;
    const ActorHead& h = e.head;
    // A walker that went out through an open edge has left, as the players may.
    const bool leftByExit = (h.x < left && game.links.exitLeft != 0) || (h.x >= right && game.links.exitRight != 0);
    if (leftByExit && e.head.state == kActorActive) continue;
    if (!inside(h)) fault("enemy", i, h, "outside the stage");
    const int overlap = BoxOverlap(h.x, h.y, h.hitboxWidth, h.hitboxHeight);
    if (overlap == 1) fault("enemy", i, h, "in a solid tile");
    if (e.mapCollision == 0 && overlap != 0) fault("enemy", i, h, "flier not in open tiles");
    if (e.mapCollision == 1 && e.airborne == 0 && !OnFloor(h.x, h.y + h.hitboxHeight / 2))
      fault("enemy", i, h, "walker off the floor");
  }
  for (int i = 0; i < kBlockCount; ++i) {
    const BlockRecord& b = pools.blocks[i];
    if (b.head.state == kActorFree) continue;
    bool allowed = false;
    for (int s : blocksAllowedOutside) allowed = allowed || s == i;
    if (!allowed && !inside(b.head)) fault("block", i, b.head, "outside the stage");
    if (BoxOverlap(b.head.x, b.head.y, b.head.hitboxWidth, b.head.hitboxHeight) == 1)
      fault("block", i, b.head, "in a solid tile");
  }
  for (int i = 0; i < kItemCount; ++i) {
    const ItemRecord& r = pools.items[i];
    if (r.head.state == kActorFree) continue;
    const ActorHead& h = r.head;
    if (!inside(h)) fault("item", i, h, "outside the stage");
    if (BoxOverlap(h.x, h.y, h.hitboxWidth, h.hitboxHeight) == 1) fault("item", i, h, "in a solid tile");
    if (!OnFloor(h.x, h.y + h.hitboxHeight / 2)) fault("item", i, h, "off the floor");
  }
  return faults;
}

// Arrival points: no enemy the routine places freely may start within 4
// tiles of the stage's open edges or of its stairs (where the players
// arrive from above or below).
inline std::vector<std::string> SpawnPointFaults() {
  std::vector<std::string> faults;
  std::vector<float> arrivals;
  if (game.links.exitLeft != 0) arrivals.push_back(game.links.leftBound);
  if (game.links.exitRight != 0) arrivals.push_back(game.links.rightBound + 640.0f);
  for (int c = 0; c < kTileColumns; ++c) {
    for (int r = 0; r < kTileRows; ++r) {
      const int code = tiles.TileMap[r][c];
      if (code >= kTileStairsFootRight && code <= kTileStairsTopLeft) {
        arrivals.push_back(static_cast<float>(c * kTileSize + kTileSize / 2));  // every column of the stairs
        break;
      }
    }
  }
  char text[160];
  for (int i = 0; i < kEnemyCount; ++i) {
    const EnemyRecord& e = pools.enemies[i];
    // Doors, gaps and bosses stand at the points their stages give.
    if (e.head.state == kActorFree || e.mode == 51 || (game.BossMode == 1 && i == 1)) continue;
    for (float a : arrivals) {
      if (std::fabs(e.head.x - a) < 4.0f * kTileSize + e.head.hitboxWidth / 2) {
        std::snprintf(text, sizeof text, "stage %d difficulty %d: enemy slot %d at x %.1f starts by the arrival at %.1f",
                      game.CurrentStage, game.DifficultyLevel, i, e.head.x, a);
        faults.push_back(text);
      }
    }
  }
  return faults;
}

// Every stage of the range at every difficulty with the flags clear and
// set: no enemy starts by an arrival point, nothing starts inside a wall or
// the floor (the mover would push a walker out before the later check),
// and after 180 frames what stands keeps the placement rules. Where lifts,
// drop blocks and falling blocks come in from beyond an edge and pass
// through the floor (blocksSentIn), they and what they send in are exempt;
// where gaps settle out of a wall (startsClear false) only the later rules hold.
inline void ExpectActorsStandAfter180Frames(int firstStage, int lastStage, bool blocksSentIn, bool startsClear) {
  auto inWall = [startsClear](const ActorHead& h) {
    return startsClear && h.state != kActorFree && BoxOverlap(h.x, h.y, h.hitboxWidth, h.hitboxHeight) == 1;
  };
  for (int stage = firstStage; stage <= lastStage; ++stage) {
    for (int flags = 0; flags < 2; ++flags) {
      for (int d = 0; d < 4; ++d) {
        SCOPED_TRACE(testing::Message() << "stage " << stage << " difficulty " << d << " flags " << flags);
        RunStageAt(stage, d, flags == 1);
        for (const std::string& f : SpawnPointFaults()) ADD_FAILURE() << f;
        std::vector<int> sentIn;
        for (int i = 0; i < kBlockCount; ++i) {
          const BlockRecord& b = pools.blocks[i];
          const bool placed = b.head.state != kActorFree && (b.motionKind < 51 || b.motionKind > 53);
          if (blocksSentIn && !placed) sentIn.push_back(i);
          if ((!blocksSentIn || placed) && inWall(b.head)) ADD_FAILURE() << "block " << i << " starts in a wall";
        }
        for (const EnemyRecord& e : pools.enemies) {
          if (inWall(e.head)) ADD_FAILURE() << "kind " << e.kind << " starts in a wall";
        }
        RunWorldFrames(180);
        for (const std::string& f : PlacementFaults(sentIn)) {
          bool exempt = false;
          for (int i : sentIn) exempt = exempt || f.find("block slot " + std::to_string(i) + " ") != std::string::npos;
          if (!exempt) ADD_FAILURE() << f;
        }
      }
    }
  }
}

// One long cycle of an enemy's attack slot driven through RunEnemyAttack,
// from its opening time: the volleys fired and the bullets of each.
struct SlotRhythm {
  int volleys;
  int bulletsPerVolley;  // -1 when the volleys differ
  bool operator==(const SlotRhythm&) const = default;
};

inline SlotRhythm DriveLongCycle(EnemyRecord& e) {
  SlotRhythm r{0, 0};
  EnemyAttackSlot& s = e.slotA;
  const int32_t cycle = s.windowCycle.value;
  e.head.state = kActorActive;
  for (int32_t t = 0; t < cycle; ++t) {
    e.timer = s.startFrame.value + t;
    s.shotCounter.value = t;
    const int32_t before = pools.EnemyBulletRing;
    RunEnemyAttack(e);
    const int32_t fired = (pools.EnemyBulletRing - before + 511) % 511;
    if (fired == 0) continue;
    r.bulletsPerVolley = r.volleys == 0 || r.bulletsPerVolley == fired ? fired : -1;
    ++r.volleys;
  }
  return r;
}

inline std::string Describe(const SlotRhythm& r) {
  return std::to_string(r.volleys) + "x" + std::to_string(r.bulletsPerVolley);
}

// The count table of a range of stages: one row per stage; at every
// difficulty with the flags clear and set the pools hold the row's counts
// and never more than its spawn calls.
template <size_t N>
void ExpectCountsFollowTheTable(const StageSpawnRow (&rows)[N], int firstStage, int lastStage) {
  EXPECT_EQ(static_cast<int>(N), lastStage - firstStage + 1);
  for (const StageSpawnRow& row : rows) {
    for (int flags = 0; flags < 2; ++flags) {
      for (int d = 0; d < 4; ++d) {
        RunStageAt(row.stage, d, flags == 1);
        const Spawns got = CountSpawns();
        const Spawns& want = flags ? row.set[d] : row.clear[d];
        EXPECT_EQ(got, want) << "stage " << row.stage << " difficulty " << d << " flags " << flags << ": "
                             << Describe(got) << " against " << Describe(want);
        EXPECT_LE(got.enemies, row.calls.enemies) << "stage " << row.stage;
        EXPECT_LE(got.blocks, row.calls.blocks) << "stage " << row.stage;
        EXPECT_LE(got.items, row.calls.items) << "stage " << row.stage;
      }
    }
  }
}

// Where every actor and enemy bullet stands, to compare two runs.
inline std::vector<float> WorldPositions() {
  std::vector<float> out;
  for (const EnemyRecord& e : pools.enemies) out.insert(out.end(), {float(e.head.state), e.head.x, e.head.y});
  for (const BlockRecord& b : pools.blocks) out.insert(out.end(), {float(b.head.state), b.head.x, b.head.y});
  for (const ItemRecord& r : pools.items) out.insert(out.end(), {float(r.head.state), r.head.x, r.head.y});
  for (const ShotRecord& r : pools.enemyBullets) out.insert(out.end(), {float(r.head.state), r.head.x, r.head.y});
  return out;
}

// A routine run again over its own set (difficulty 3, the flags clear and
// set) leaves one set, every actor where it stood.
inline void ExpectOneSetAfterASecondRun(int firstStage, int lastStage) {
  for (int stage = firstStage; stage <= lastStage; ++stage) {
    for (bool flags : {false, true}) {
      RunStageAt(stage, 3, flags);
      const Spawns once = CountSpawns();
      const std::vector<float> where = WorldPositions();
      RunStageSetup(stage);
      EXPECT_EQ(CountSpawns(), once) << "stage " << stage << " flags " << flags;
      EXPECT_TRUE(WorldPositions() == where) << "stage " << stage << " flags " << flags;
    }
  }
}

// A way into a stage: the entry side of BeginStage and the entry point.
struct WayIn {
  int side;
  float x, y;
};
// Where a door or a gap lands the players in a stage.
struct LandingPoint {
  int stage;
  float x, y;
};

// Every way into a stage: its ends where it has a side exit or another
// stage's side exit leads in, the stairs it is entered by from below (their
// tops) and from above (their feet), and the landing points listed for it.
inline std::vector<WayIn> WaysInto(int stage, const std::vector<LandingPoint>& points) {
  std::vector<WayIn> ways;
  bool leftEnd = StageGeometryOf(stage).exitLeft != 0, rightEnd = StageGeometryOf(stage).exitRight != 0;
  for (int from = 1; from <= kLastStage; ++from) {
    leftEnd = leftEnd || StageGeometryOf(from).exitRight == stage;
    rightEnd = rightEnd || StageGeometryOf(from).exitLeft == stage;
  }
  if (leftEnd) ways.push_back({kEnteredLeftEnd, 0.0f, 385.0f});
  if (rightEnd) ways.push_back({kEnteredRightEnd, 0.0f, 385.0f});
  const auto& row = PlaceholderMaps()[stage].tiles[12];
  for (int c = 1; c < kTileColumns; ++c) {
    const float x = static_cast<float>(c * kTileSize + 48);  // the second column of the flight
    if (row[c] == kTileStairsTopRight && row[c - 1] != kTileStairsTopRight) ways.push_back({kEnteredFromBelow, x, 0.0f});
    if (row[c] == kTileStairsFootRight && row[c - 1] != kTileStairsFootRight) ways.push_back({kEnteredFromAbove, x, 0.0f});
  }
  for (const LandingPoint& p : points) {
    if (p.stage == stage) ways.push_back({kEnteredAtPoint, p.x, p.y});
  }
  return ways;
}

// Entered by every way at difficulties 0 and 3, each stage of the range
// runs 600 frames without a fault (the flags clear, so bosses and
// guardians stand; set in the hub, so its gaps do); the same entry twice
// gives the same world.
inline void ExpectEveryWayInRunsAlike(int firstStage, int lastStage, const std::vector<LandingPoint>& points) {
  for (int stage = firstStage; stage <= lastStage; ++stage) {
    const std::vector<WayIn> ways = WaysInto(stage, points);
    EXPECT_FALSE(ways.empty()) << "stage " << stage;
    for (const WayIn& w : ways) {
      for (int d : {0, 3}) {
        std::vector<float> runs[2];
        for (std::vector<float>& run : runs) {
          RunStageEnteredBy(stage, d, stage == 1, w.side, w.x, w.y);
          RunWorldFrames(600);
          run = WorldPositions();
        }
        EXPECT_TRUE(runs[0] == runs[1]) << "stage " << stage << " side " << w.side << " difficulty " << d;
      }
    }
  }
}

}  // namespace orb::test
