// Actors driven into closed walls: walkers that turn there, players at their
// walking speeds and pushed blocks must never end up overlapping a solid tile
// nor leave the floor they stand on.
#include "game/world/character_tables.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/world/tile_map.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

constexpr float kFloorTop = 416;   // rows 13 and 14
constexpr float kRoomLeft = 640;   // columns 0 to 19 are wall
constexpr float kRoomRight = 832;  // columns 26 and up are wall

class MapWallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    for (int r = 0; r < kTileRows; ++r) {
      for (int c = 0; c < kTileColumns; ++c) {
        tiles.TileMap[r][c] = r >= 13 || c < 20 || c >= 26 ? kTileSolid : kTileOpen;
      }
    }
  }

  // The box overlaps no solid tile and stands on the floor (its bottom within
  // one frame's gravity of the one-pixel gap).
  static ::testing::AssertionResult StandsClear(float x, float y, float w, float h) {
    const float left = x - w / 2, right = x + w / 2, top = y - h / 2, bottom = y + h / 2;
    for (float px = left; px <= right; px += 1) {
      for (float py = top; py <= bottom; py += 1) {
        if (IsSolidTile(GetTileAt(px, py))) return ::testing::AssertionFailure() << "in a tile at " << x << ", " << y;
      }
    }
    if (bottom <= kFloorTop - 2) return ::testing::AssertionFailure() << "lifted to " << y;
    return ::testing::AssertionSuccess();
  }
};

TEST_F(MapWallsTest, WalkersTurnAtClosedWallsAndStayOnTheFloor) {
  struct Kind {
    int kind;
    float spawnY;
  };
  for (const Kind k : {Kind{1, 387.0f}, Kind{13, 377.6f}}) {
    for (float speed : {1.0f, 2.0f, 2.5f, 3.0f, 3.3f, 4.0f, 5.0f}) {
      pools.players[0].head.x = kRoomLeft + 20;  // the walker rushes at the player standing by the left wall
      SpawnEnemy(720.0f, k.spawnY, k.kind, 0, 8, 1, 70, 1, speed, 0.0f, 120.0f, 11.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f,
                 0.0f, 0, 1, 0);
      EnemyRecord& e = LastEnemy();
      e.head.state = kActorActive;
      int turns = 0;
      for (int frame = 0; frame < 300; ++frame) {
        const float before = e.motion.velocityX;
        RunEnemyAI(e);
        if (e.motion.velocityX != before) ++turns;
        ASSERT_TRUE(StandsClear(e.head.x, e.head.y, e.head.hitboxWidth, e.head.hitboxHeight)) << speed << " " << frame;
        ASSERT_EQ(e.airborne, 0);
      }
      EXPECT_GE(turns, 2) << speed;
      e.head.state = kActorFree;
    }
  }

  // Flush against the left wall: the turn keeps the walker where it is.
  EnemyRecord& e = pools.enemies[5];
  e.pausePose = 1;
  e.motion.velocityX = -2;
  float x = kRoomLeft + 11, y = kFloorTop - 26 - 0.2f, fall = 0.4f;
  uint8_t airborne = 0, riding = 0;
  int32_t ridden = 0;
  MoveBoxOnMap(&x, &y, &fall, -2, 0.4f, 22, 52, &airborne, &riding, &ridden, SelfIndexOfEnemy(5));
  EXPECT_EQ(e.motion.velocityX, 2.0f);
  EXPECT_EQ(x, kRoomLeft + 11);
  EXPECT_EQ(y, kFloorTop - 27);
  EXPECT_EQ(airborne, 0);
}

TEST_F(MapWallsTest, PlayersAndBlocksStopShortOfWallsAtTheirSpeeds) {
  for (const CharacterParams& c : kCharacterParams) {
    for (float speed : {c.walkSpeed, c.walkSpeed * 0.5f}) {
      for (float dir : {-1.0f, 1.0f}) {
        float x = 736, y = kFloorTop - c.hitboxHeight / 2 - 1, fall = 0;
        uint8_t airborne = 0, riding = 0;
        int32_t ridden = 0;
        for (int frame = 0; frame < 80; ++frame) {
          fall += c.gravity;
          MoveBoxOnMap(&x, &y, &fall, dir * speed, fall, 22, c.hitboxHeight, &airborne, &riding, &ridden, kSelfPlayer);
          ASSERT_TRUE(StandsClear(x, y, 22, c.hitboxHeight)) << speed << " " << frame;
        }
        EXPECT_LE(dir < 0 ? x - 11 - kRoomLeft : kRoomRight - (x + 11), 1.0f) << speed;  // at the wall
      }
    }
  }

  BlockRecord& b = pools.blocks[7];
  for (float speed : {1.0f, 2.0f, 3.0f, 4.5f}) {
    for (float dir : {-1.0f, 1.0f}) {
      b.head = {};
      b.head.state = kActorActive;
      b.head.x = 736;
      b.head.y = kFloorTop - 16;
      b.head.hitboxWidth = b.head.hitboxHeight = 30;
      uint8_t riding = 0;
      int32_t ridden = 0;
      for (int frame = 0; frame < 100; ++frame) {
        b.head.vx = dir * speed;
        MoveBoxOnMap(&b.head.x, &b.head.y, &b.verticalSpeed, b.head.vx, 0.5f, 30, 30, &b.airborne, &riding,
                     &ridden, SelfIndexOfBlock(7));
        ASSERT_TRUE(StandsClear(b.head.x, b.head.y, 30, 30)) << speed << " " << frame;
      }
      EXPECT_LE(dir < 0 ? b.head.x - 15 - kRoomLeft : kRoomRight - (b.head.x + 15), 1.0f) << speed;
    }
  }
}

}  // namespace
}  // namespace orb::test
