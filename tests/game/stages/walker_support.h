// The automated walker: player 1 enters a stage through the real stage
// change on the placeholder maps, plans a path over the live tile map with
// its own jump reach, and walks it through the real play frame with
// scripted pads (its hit points held) until it leaves by an edge, a flight
// of stairs, a door or a gap, or recruits a beaten boss.
//
//   class MyTest : public orb::test::WalkerWorld {};
//   TEST_F(MyTest, ...) {
//     Enter(17, 0);                       // stage 17 at difficulty 0
//     for (const StageExit& e : ExitsHere()) { Enter(17, 0); EXPECT_EQ(Leave(e), ""); }
//   }
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "player_test_support.h"
#include "stage_contents_support.h"

namespace orb::test {

// A place to stand: a column and the row of the tile under the feet.
struct Cell {
  int c, r;
  bool operator==(const Cell&) const = default;
};

enum class ExitKind { kLeftEdge, kRightEdge, kStairsUp, kStairsDown, kDoor };

// One way out of the stage: where the walker heads (a point on a floor)
// and the stage the world map says it leads to.
struct StageExit {
  ExitKind kind;
  float x, y;
  int to;
};

// Where a door or gap leads: by the stage it stands in, else (the hub's
// gaps) where its hit points say.
inline int DoorLeadsTo(int from, int tag) {
  static const int rows[][2] = {{137, 138}, {138, 137}, {147, 148}, {56, 58}, {122, 124}, {125, 126},
                                {126, 125}, {128, 129}, {129, 128}, {100, 1},  {17, 1},   {123, 1},
                                {135, 1},   {44, 1},    {55, 1},    {73, 1},   {86, 1},   {30, 1}};
  for (const auto& r : rows) {
    if (r[0] == from) return r[1];
  }
  return tag;
}

class WalkerWorld : public PlayerWorld {
 public:
  void SetUp() override {
    PlayerWorld::SetUp();
    for (int s = 1; s <= kLastStage; ++s) std::memcpy(Map(s).t, PlaceholderMaps()[s].tiles, sizeof Map(s).t);
  }

  // The stage entered through the real stage change (the left end when it
  // has a left exit or no right one, else the right end), one player on
  // the field, every progress flag clear or set. A boss room's boss of
  // kinds 29 to 36 is then beaten and recruited.
  static std::string Enter(int stage, int difficulty, bool flagsSet = false) {
    game.DifficultyLevel = static_cast<uint8_t>(difficulty);
    SetProgressFlags(flagsSet ? 1 : 0);
    const StageGeometry& g = StageGeometryOf(stage);
    std::string fault = ChangeStage(stage, g.exitLeft == 0 && g.exitRight != 0 ? kEnteredRightEnd : kEnteredLeftEnd,
                                    0.0f, 385.0f);
    if (fault.empty() && game.BossMode == 1 && pools.enemies[1].kind >= 29 && pools.enemies[1].kind <= 36)
      fault = Recruit();
    return fault;
  }

  // The ways out of the stage as it stands: its open edges, the stairs in
  // the row above the floor, and the doors and gaps standing.
  static std::vector<StageExit> ExitsHere() {
    const int stage = game.CurrentStage;
    const StageGeometry& g = StageGeometryOf(stage);
    std::vector<StageExit> exits;
    if (g.exitLeft != 0) exits.push_back({ExitKind::kLeftEdge, game.links.leftBound + 16, 385, g.exitLeft});
    if (g.exitRight != 0) exits.push_back({ExitKind::kRightEdge, game.links.rightBound + 624, 385, g.exitRight});
    for (int c = 1; c < kTileColumns; ++c) {
      const int8_t t = tiles.TileMap[12][c], before = tiles.TileMap[12][c - 1];
      const float x = static_cast<float>((c + 1) * kTileSize + 16);  // the second column's centre
      if (t == kTileStairsFootRight && before != t) {
        // The top edge of 25 leads to 26 while the camera is left of 1280.
        const bool to26 = stage == 25 && x + 386 < 1600;
        exits.push_back({ExitKind::kStairsUp, x, 385, to26 ? 26 : g.exitUp});
      }
      if (t == kTileStairsTopRight && before != t) exits.push_back({ExitKind::kStairsDown, x, 385, g.exitDown});
    }
    for (const EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.mode == 51)
        exits.push_back({ExitKind::kDoor, e.head.x, e.head.y, DoorLeadsTo(stage, e.hitPoints)});
    }
    return exits;
  }

  // Walks to the exit and through it into the next stage; "" when the
  // stage entered is the one the exit leads to and the player stands
  // there clear of the map, else what went wrong.
  static std::string Leave(const StageExit& e) {
    const int from = game.CurrentStage;
    std::string fault = WalkTo(e.x, e.y);
    uint32_t hold = 0;
    switch (e.kind) {
      case ExitKind::kLeftEdge: hold = kPadLeft; break;
      case ExitKind::kRightEdge: hold = kPadRight; break;
      case ExitKind::kStairsUp: hold = kPadUp; break;
      case ExitKind::kStairsDown: hold = kPadDown; break;
      case ExitKind::kDoor: hold = kPadUp; break;
    }
    for (int f = 0; fault.empty() && game.InGameState == 0; ++f) {
      if (f == 600) fault = "the exit did not take the player";
      // A door takes a newly pressed up: press it every other frame.
      Step(e.kind == ExitKind::kDoor && f % 2 ? 0 : hold);
    }
    if (fault.empty()) {
      for (int f = 0; f < 60 && game.InGameState != 0; ++f) Step(0);
      // Arrived on stairs: on along them to the floor they lead to.
      for (int f = 0; f < 400 && game.InGameState == 0 && P(0).stairsMode != 0; ++f) Step(hold);
      for (int f = 0; f < 60 && game.InGameState == 0 && (f < 20 || P(0).inAir != 0); ++f) Step(0);
      Fold(&pools, sizeof pools);
      Fold(&game, sizeof game);
      const ActorHead& h = P(0).head;
      if (game.CurrentStage != e.to) {
        fault = "led to stage " + std::to_string(game.CurrentStage);
      } else if (game.InGameState != 0) {
        fault = "no play in stage " + std::to_string(e.to);
      } else if (BoxOverlap(h.x + h.hitboxOffsetX, h.y + h.hitboxOffsetY, h.hitboxWidth, h.hitboxHeight) == 1) {
        fault = "arrived in a solid tile";
      } else if (P(0).inAir != 0 || P(0).stairsMode != 0) {
        fault = "arrived without a floor";
      }
    }
    return fault.empty() ? fault : Where(from, e) + fault;
  }

  // The frames seen so far, folded: the players' records frame by frame,
  // and the whole play state on every arrival.
  static uint64_t& FrameHash() {
    static uint64_t h;
    return h;
  }

 private:
  static std::string Where(int from, const StageExit& e) {
    char text[120];
    std::snprintf(text, sizeof text, "stage %d difficulty %d, exit to %d at x %.1f (player at %.1f, %.1f): ", from,
                  game.DifficultyLevel, e.to, e.x, P(0).head.x, P(0).head.y);
    return text;
  }

  // One play frame with the pad held, player 1's hit points kept full.
  static void Step(uint32_t pad) {
    PartyMember& m = game.party[game.ActiveCharacter[0]];
    m.hitPoints = m.hitPointsMax;
    Frame(pad);
    Fold(&pools.players, sizeof pools.players);
  }
  static void Fold(const void* p, size_t n) {
    uint64_t& h = FrameHash();
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  }

  static std::string ChangeStage(int stage, int side, float x, float y) {
    scenes.DebugMode = 1;
    game.OnFieldMode = 0;
    game.BossMode = 0;
    game.CurrentStage = stage;
    game.EntrySide = side;
    game.EntryX = x;
    game.EntryY = y;
    game.EntryWalkIn = 0;  // a fresh arrival carries no stairs
    game.EntryFacing = 1;
    P(0).stairsMode = 0;
    game.InGameState = 1;
    game.InGameStateTimer = 0;
    game.PlayFrameCount = 100;
    for (int f = 0; f < 60 && game.InGameState != 0; ++f) Step(0);
    // The boss's entrance holds the players' input.
    for (int f = 0; f < 220 && game.BossMode == 1 && game.BossIntroTimer < 200; ++f) Step(0);
    return game.InGameState == 0 ? "" : "stage " + std::to_string(stage) + " never began";
  }

  // The boss at 0 hit points leaves its beaten copy, which a crouching
  // touch recruits; the join banner then runs out.
  static std::string Recruit() {
    pools.enemies[1].hitPoints = 0;
    const EnemyRecord* copy = nullptr;
    for (int f = 0; f < 60; ++f) {
      Step(0);
      for (const EnemyRecord& e : pools.enemies) {
        if (e.head.state == kActorActive && e.mode == 50) copy = &e;
      }
      if (copy && copy->airborne == 0) break;
    }
    if (!copy) return "stage " + std::to_string(game.CurrentStage) + ": the boss left no beaten copy";
    std::string fault = WalkTo(copy->head.x, copy->head.y);
    for (int f = 0; fault.empty() && game.InGameState != 5; ++f) {
      if (f == 60) fault = "stage " + std::to_string(game.CurrentStage) + ": the touch did not recruit";
      Step(kPadDown);
    }
    for (int f = 0; f < 400 && game.InGameState != 0; ++f) Step(0);
    return fault;
  }

  // The live map with the blocks, where they stand now, drawn in as solid tiles.
  static int8_t (&PlanMap())[kTileRows][kTileColumns] {
    static int8_t m[kTileRows][kTileColumns];
    return m;
  }
  static void RefreshPlanMap() {
    std::memcpy(PlanMap(), tiles.TileMap, sizeof tiles.TileMap);
    for (const BlockRecord& b : pools.blocks) {
      if (b.head.state == kActorFree) continue;
      const float hw = b.head.hitboxWidth / 2 - 1, hh = b.head.hitboxHeight / 2 - 1;
      for (int r = std::max(0, int(std::floor((b.head.y - hh) / kTileSize)));
           r <= std::min(kTileRows - 1, int(std::floor((b.head.y + hh) / kTileSize))); ++r) {
        for (int c = std::max(0, int(std::floor((b.head.x - hw) / kTileSize)));
             c <= std::min(kTileColumns - 1, int(std::floor((b.head.x + hw) / kTileSize))); ++c)
          PlanMap()[r][c] = kTileSolid;
      }
    }
  }
  // Below the map solid, beside or above it open.
  static int Tile(int c, int r) {
    if (r >= kTileRows) return kTileSolid;
    return c < 0 || c >= kTileColumns || r < 0 ? int{kTileOpen} : PlanMap()[r][c];
  }
  static bool Solid(int code) { return IsSolidTile(code); }
  // A floor under the feet and room for the body (two tiles) above it.
  static bool Standable(Cell a) {
    const int t = Tile(a.c, a.r);
    return (Solid(t) || t == kTileOneWay) && t != kTileDeadly && !Solid(Tile(a.c, a.r - 1)) &&
           !Solid(Tile(a.c, a.r - 2)) && a.r < kTileRows;
  }
  // The first place to stand at or below row r in column c (falling).
  static Cell Landing(int c, int r) {
    for (; r < kTileRows; ++r) {
      if (Solid(Tile(c, r - 2)) || Tile(c, r) == kTileDeadly) return {-1, -1};
      if (Standable({c, r})) return {c, r};
    }
    return {-1, -1};
  }

  // Rows a jump rises, from the character's jump speed and gravity as the
  // mover applies them: the feet must pass above the ledge's top.
  static int JumpRows() {
    float v = -P(0).jumpSpeed, rise = 0;
    for (v += P(0).gravity; v < 0; v += P(0).gravity) rise -= v;
    return static_cast<int>((rise - 1) / kTileSize);
  }

  // Breadth-first over the places to stand: walks to a side, falls off an
  // edge or through a one-way floor, and jumps up through one-way floors
  // (straight up or onto the column beside).
  static std::vector<Cell> Plan(Cell from, Cell to) {
    std::vector<int> back(kTileRows * kTileColumns, -1);
    auto id = [](Cell a) { return a.r * kTileColumns + a.c; };
    std::vector<Cell> queue{from};
    back[id(from)] = id(from);
    const int reach = JumpRows();
    auto visit = [&](Cell a, Cell b) {
      if (b.c < 0 || b.c >= kTileColumns || b.r < 0 || back[id(b)] != -1) return;
      back[id(b)] = id(a);
      queue.push_back(b);
    };
    for (size_t q = 0; q < queue.size() && back[id(to)] == -1; ++q) {
      const Cell a = queue[q];
      for (int dc : {-1, 1}) {
        const Cell side{a.c + dc, a.r};
        if (Standable(side)) {
          visit(a, side);
        } else if (!Solid(Tile(side.c, a.r - 1)) && !Solid(Tile(side.c, a.r - 2)) && !Solid(Tile(side.c, a.r))) {
          visit(a, Landing(side.c, a.r));
        }
      }
      if (Tile(a.c, a.r) == kTileOneWay) visit(a, Landing(a.c, a.r + 1));
      for (int up = 1; up <= reach; ++up) {
        const int r = a.r - up;
        if (Solid(Tile(a.c, r)) || Solid(Tile(a.c, r - 2))) break;  // the head meets a ceiling
        for (int dc : {0, -1, 1}) {
          const Cell top{a.c + dc, r};
          if (Standable(top) && (dc != 0 || Tile(top.c, r) == kTileOneWay)) visit(a, top);
        }
      }
    }
    if (back[id(to)] == -1) return {};
    std::vector<Cell> path{to};
    while (!(path.back() == from)) {
      const int prev = back[id(path.back())];
      path.push_back({prev % kTileColumns, prev / kTileColumns});
    }
    std::reverse(path.begin(), path.end());
    return path;
  }

  // Where player 1 stands: the column under its centre, or the one under
  // a foot corner when the centre is over an edge.
  static Cell Here() {
    const ActorHead& h = P(0).head;
    const int r = static_cast<int>(std::floor((h.y + h.hitboxOffsetY + h.hitboxHeight / 2 + 1) / kTileSize));
    for (float dx : {0.0f, -h.hitboxWidth / 2, h.hitboxWidth / 2}) {
      const Cell a{static_cast<int>(std::floor((h.x + dx) / kTileSize)), r};
      if (Standable(a)) return a;
    }
    return {static_cast<int>(std::floor(h.x / kTileSize)), r};
  }

  // Brings player 1 to stand at x on the floor under the point, replanning
  // on every frame it stands.
  static std::string WalkTo(float x, float y) {
    RefreshPlanMap();
    const Cell goal = Landing(static_cast<int>(std::floor(x / kTileSize)), static_cast<int>(std::floor(y / kTileSize)));
    if (goal.c < 0) return "nothing to stand on under the exit";
    uint32_t last = 0;
    Cell next{-1, -1}, launch{-1, -1};
    for (int f = 0; f < 4000; ++f) {
      const PlayerRecord& p = P(0);
      const float half = p.params.walkSpeed / 2 + 0.01f;
      uint32_t pad = 0;
      auto toward = [&](float tx) { return p.head.x < tx - half ? kPadRight : p.head.x > tx + half ? kPadLeft : 0u; };
      if (p.inAir == 0 && p.stairsMode == 0) {
        RefreshPlanMap();
        const Cell here = Here();
        if (here == goal) {
          pad = toward(x);
          if (pad == 0) return "";
        } else {
          const std::vector<Cell> path = Plan(here, goal);
          if (path.size() < 2)
            return "no path from column " + std::to_string(here.c) + " row " + std::to_string(here.r);
          next = path[1];
          launch = here;
          const float centre = static_cast<float>(here.c * kTileSize + 16);
          if (next.r == here.r || (next.r > here.r && next.c != here.c)) {
            pad = next.c > here.c ? kPadRight : kPadLeft;
          } else if (next.r > here.r) {
            pad = last & kJump ? kPadDown : kPadDown | kJump;  // through the one-way floor
          } else {
            pad = toward(centre);
            if (pad == 0 && !(last & kJump)) pad = kJump;
          }
        }
      } else if (next.r < launch.r) {
        // Rising: keep the jump held; over the ledge's top, steer onto it.
        const float feet = p.head.y + p.head.hitboxOffsetY + p.head.hitboxHeight / 2 + 1;
        pad = (p.verticalSpeed < 0 ? kJump : 0) |
              (feet < next.r * kTileSize - 1 ? toward(static_cast<float>(next.c * kTileSize + 16)) : 0);
      } else if (next.c != launch.c) {
        pad = toward(static_cast<float>(next.c * kTileSize + 16));
      }
      Step(pad);
      last = pad;
      if (game.InGameState != 0) return "left the stage on the way";
    }
    return "no arrival in 4000 frames";
  }
};

}  // namespace orb::test
