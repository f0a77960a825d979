// Stage load (tile decoding from a synthetic collision picture, the wall
// opening, player placement) and the box mover and camera, against values
// worked by hand.
#include <cstring>

#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/world/stage_load.h"
#include "game/world/tile_map.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

// A 320 x 15 picture held here; pixels marked unreadable fail their read.
struct FakePicture {
  uint8_t rgb[15][320][3];
  bool unreadable[15][320];
  bool present;
  int opened, closed;
} picture;

int OpenMap(const char*) {
  ++picture.opened;
  return picture.present ? 7 : -1;
}
int ReadPixel(int handle, int x, int y, int* r, int* g, int* b) {
  if (handle != 7 || picture.unreadable[y][x]) return -1;
  *r = picture.rgb[y][x][0];
  *g = picture.rgb[y][x][1];
  *b = picture.rgb[y][x][2];
  return 0;
}
void CloseMap(int) { ++picture.closed; }

class StageMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    std::memset(&picture, 0, sizeof picture);
    picture.present = true;
    SetStageLoadHooks({nullptr, nullptr, OpenMap, ReadPixel, CloseMap});
    game.CurrentStage = 2;
    game.links = {640.0f, 1280.0f, 0, 0, 0, 0};
  }
  static void Paint(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    picture.rgb[y][x][0] = r;
    picture.rgb[y][x][1] = g;
    picture.rgb[y][x][2] = b;
  }
  static void FillTiles(int row, int first, int last, int8_t code) {
    for (int c = first; c <= last; ++c) tiles.TileMap[row][c] = code;
  }
};

TEST_F(StageMapTest, CollisionColoursDecodeToTheirTiles) {
  const uint8_t colours[11][3] = {{1, 2, 3},   {255, 255, 255}, {0, 255, 0},   {127, 0, 0},
                                  {0, 0, 127}, {255, 0, 0},     {0, 0, 255},   {255, 0, 255},
                                  {0, 255, 255}, {0, 127, 0},   {200, 0, 0}};
  for (int code = 0; code < 11; ++code) Paint(code, 3, colours[code][0], colours[code][1], colours[code][2]);
  Paint(319, 14, 200, 0, 1);  // near but not a tile colour
  Paint(40, 5, 255, 255, 255);
  Paint(41, 5, 255, 255, 255);
  picture.unreadable[5][41] = true;  // a failed read after a solid pixel
  LoadStageLayers();
  for (int code = 0; code < 11; ++code) EXPECT_EQ(tiles.TileMap[3][code], code);
  EXPECT_EQ(tiles.TileMap[14][319], 0);
  EXPECT_EQ(tiles.TileMap[5][40], 1);
  EXPECT_EQ(tiles.TileMap[5][41], 0);
  EXPECT_EQ(picture.closed, 1);

  // A missing picture leaves an open map, whatever the stage before held.
  picture.present = false;
  LoadStageLayers();
  for (const auto& row : tiles.TileMap) {
    for (int8_t t : row) ASSERT_EQ(t, 0);
  }
}

TEST_F(StageMapTest, WallsOpenOnlyAtEdgesWithExitsAndInsideTheMap) {
  for (int y = 0; y < 15; ++y) {
    Paint(19, y, 255, 255, 255);  // walls just outside both ends of a one-screen room
    Paint(40, y, 255, 255, 255);
    if (y % 2) Paint(20, y, 0, 255, 0);
  }
  game.links = {640.0f, 640.0f, 5, 0, 0, 0};
  LoadStageLayers();
  for (int y = 0; y < 15; ++y) {
    EXPECT_EQ(tiles.TileMap[y][19], tiles.TileMap[y][20]);
    EXPECT_EQ(tiles.TileMap[y][40], 1);
  }
  game.links.exitRight = 6;
  game.BossMode = 1;  // a boss room keeps its walls
  LoadStageLayers();
  EXPECT_EQ(tiles.TileMap[0][19], 1);
  EXPECT_EQ(tiles.TileMap[0][40], 1);

  game.BossMode = 0;
  game.links = {640.0f, 2560.0f, 0, 9, 0, 0};
  Paint(99, 0, 0, 0, 127);
  LoadStageLayers();
  EXPECT_EQ(tiles.TileMap[0][100], 4);
  // A right end past the map writes nothing.
  game.links = {640.0f, 9984.0f, 1, 1, 0, 0};
  LoadStageLayers();
  EXPECT_EQ(tiles.TileMap[0][19], 0);
}

TEST_F(StageMapTest, BeginStagePlacesPlayersByTheirWayIn) {
  struct Case {
    int side, from, to;
    uint8_t boss;
    float rightBound, p1x, p2x, y;
  };
  const Case cases[] = {
      {1, 3, 2, 0, 1280, 1920, 1920, 200},   {1, 17, 16, 1, 640, 1152, 1216, 200},
      {1, 58, 56, 0, 640, 960, 960, 200},    {1, 124, 122, 0, 1280, 1280, 1280, 256},
      {2, 1, 2, 0, 1280, 640, 640, 200},     {2, 15, 16, 1, 640, 768, 704, 200},
      {3, 25, 24, 0, 640, 1000, 1000, 480},  {3, 25, 26, 0, 640, 2280, 2280, 480},
      {4, 24, 25, 0, 2560, 3560, 3560, 0},   {4, 29, 30, 0, 640, 1000, 1000, 0},
      {38, 1, 17, 0, 1280, 2280, 2280, 200}, {7, 1, 2, 0, 1280, 11, 11, 22},
  };
  for (const Case& c : cases) {
    ResetGameModules();
    for (PlayerRecord& p : pools.players) {
      p.head.x = 11;
      p.head.y = 22;
      p.verticalSpeed = 3;
      p.inAir = 1;
      p.riding = 1;
    }
    pools.enemies[9].head.state = kEnemyWaiting;
    pools.EnemyRingIndex = 40;
    game.EntrySide = c.side;
    game.PreviousStage = c.from;
    game.CurrentStage = c.to;
    game.EntryX = 2280;
    game.EntryY = 200;
    game.EntryWalkIn = 2;
    game.BossMode = c.boss;
    game.links = {640.0f, c.rightBound, 1, 1, 0, 0};
    BeginStage();
    SCOPED_TRACE(testing::Message() << "side " << c.side << " from " << c.from << " to " << c.to);
    EXPECT_EQ(pools.players[0].head.x, c.p1x);
    EXPECT_EQ(pools.players[1].head.x, c.p2x);
    EXPECT_EQ(pools.players[0].head.y, c.y);
    EXPECT_EQ(pools.players[1].respawnX, c.p2x);
    EXPECT_EQ(pools.players[0].stairsMode, 2);
    EXPECT_EQ(pools.players[0].riding, 0);
    EXPECT_EQ(pools.players[0].inAir, c.side == 3 || c.side == 4 ? 0 : 1);
    EXPECT_EQ(pools.enemies[9].head.state, 0);
    EXPECT_EQ(pools.EnemyRingIndex, 0);
    EXPECT_EQ(game.PreviousStage, c.to);
  }
  game.CurrentStage = 152;
  game.EndingTimer = 99;
  BeginStage();
  EXPECT_EQ(game.EndingPhase, 3);
  EXPECT_EQ(game.EndingTimer, 0);
}

TEST_F(StageMapTest, TheMusicFollowsStageAndBossMode) {
  EXPECT_EQ(StageMusicNumber(149, true), 13);
  EXPECT_EQ(StageMusicNumber(16, true), 1);
  EXPECT_EQ(StageMusicNumber(19, false), 2);
  EXPECT_EQ(StageMusicNumber(104, false), 5);
  EXPECT_EQ(StageMusicNumber(150, false), 4);
  EXPECT_EQ(StageMusicNumber(147, false), -1);
  EXPECT_EQ(StageMusicNumber(152, false), 14);
  // A stage whose music is already chosen does not reload it.
  stageLoad.MusicNumber = 3;
  stageLoad.MusicHandle = 1234;
  game.CurrentStage = 5;
  SelectStageMusic();
  EXPECT_EQ(stageLoad.MusicHandle, 1234);
  game.CurrentStage = 147;
  SelectStageMusic();
  EXPECT_EQ(stageLoad.MusicNumber, 3);
}

struct Box {
  float x, y, fall;
  uint8_t airborne = 1, riding = 0;
  int32_t ridden = 0;
  void Move(float vx, float vy, int32_t self, float w = 22, float h = 52) {
    MoveBoxOnMap(&x, &y, &fall, vx, vy, w, h, &airborne, &riding, &ridden, self);
  }
};

TEST_F(StageMapTest, TheBoxMoverStopsOnePixelShortOfTiles) {
  FillTiles(11, 0, 319, kTileSolid);
  Box falling{700, 320, 10};
  falling.Move(0, 10, kSelfItem);
  EXPECT_EQ(falling.y, 325.0f);  // bottom 351, the tile starts at 352
  EXPECT_EQ(falling.fall, 0.0f);
  EXPECT_EQ(falling.airborne, 0);

  ResetTileMap();
  FillTiles(10, 0, 319, kTileSolid);
  Box rising{700, 400, -30};
  rising.Move(0, -30, kSelfItem);
  EXPECT_EQ(rising.y, 379.0f);
  EXPECT_FLOAT_EQ(rising.fall, 3.0f);

  ResetTileMap();
  for (int r = 0; r < 15; ++r) tiles.TileMap[r][25] = kTileSolid;  // x 800..831
  Box walking{780, 200, 0};
  walking.Move(10, 0, kSelfItem);
  EXPECT_EQ(walking.x, 788.0f);  // right edge 799

  // Reading left of the map: column 0 within 32 pixels, open beyond.
  tiles.TileMap[0][0] = kTileSolid;
  EXPECT_EQ(GetTileAt(-5, 10), kTileSolid);
  EXPECT_EQ(GetTileAt(-40, 10), kTileOpen);
  EXPECT_EQ(GetTileAt(10, 9999), tiles.TileMap[14][0]);
}

TEST_F(StageMapTest, OneWayFloorsAndSlowGround) {
  FillTiles(11, 0, 319, kTileOneWay);
  Box landing{700, 320, 10};
  landing.Move(0, 10, kSelfItem);
  EXPECT_EQ(landing.y, 325.0f);
  EXPECT_EQ(landing.airborne, 0);
  Box jumping{700, 400, -30};  // up through from below
  jumping.Move(0, -30, kSelfItem);
  EXPECT_EQ(jumping.y, 370.0f);
  Box walker{700, 325, 0};  // walks off the edge of the floor without snagging
  FillTiles(11, 23, 319, kTileOpen);
  walker.Move(4, 0, kSelfItem);
  EXPECT_EQ(walker.x, 704.0f);

  ResetTileMap();
  FillTiles(11, 0, 319, kTileSlow);
  pools.players[1].onSlowGround = 0;
  game.CurrentPlayerIndex = 1;
  Box player{700, 325, 0};
  player.Move(4, 0, kSelfPlayer);
  EXPECT_EQ(player.x, 702.0f);
  EXPECT_EQ(pools.players[1].onSlowGround, 1);
  Box item{700, 325, 0};
  pools.players[1].onSlowGround = 0;
  item.Move(4, 0, kSelfItem);
  EXPECT_EQ(item.x, 702.0f);
  EXPECT_EQ(pools.players[1].onSlowGround, 0);
}

TEST_F(StageMapTest, BlocksCarryStopAndCrush) {
  BlockRecord& b = pools.blocks[3];
  b.head.state = 1;
  b.head.x = 800;
  b.head.y = 400;
  b.head.hitboxWidth = 62;
  b.head.hitboxHeight = 30;  // top 385, bottom 415
  Box lander{800, 340, 24};
  lander.Move(0, 24, kSelfPlayer);
  EXPECT_EQ(lander.y, 358.0f);  // bottom 384
  EXPECT_EQ(lander.riding, 1);
  EXPECT_EQ(lander.ridden, 3);
  EXPECT_EQ(lander.airborne, 0);
  EXPECT_EQ(b.steppedOn, 1);
  EXPECT_EQ(b.carrying, 1);

  b.head.vx = 3;
  b.roll = 1;
  lander.Move(0, 0.5f, kSelfPlayer);
  EXPECT_EQ(lander.x, 804.0f);  // carried by the block's motion and its belt

  // A block moving down onto a player's head: a kind-20 block crushes.
  b.head.vx = 0;
  b.head.y = 396;
  b.head.vy = 4;
  b.motionKind = 20;
  game.ActiveCharacter[0] = 4;
  game.party[4].hitPoints = 90;
  game.party[4].power = 50;
  Box under{800, 437.5f, 0.5f, 0};
  under.Move(0, 0.5f, kSelfPlayer);
  EXPECT_EQ(under.y, 450.0f);
  EXPECT_EQ(game.party[4].hitPoints, 0);
  EXPECT_EQ(game.party[4].power, 0.0f);

  // Indexes from outside the pools index nothing.
  Box stray{100, 100, 0, 0, 1, 999};
  stray.Move(1, 1, SelfIndexOfBlock(300));
  EXPECT_EQ(stray.riding, 0);
  stray.Move(1, 1, SelfIndexOfEnemy(200));
  EXPECT_EQ(stray.x, 102.0f);
}

TEST_F(StageMapTest, EnemiesTurnAtWallsAndLedges) {
  FillTiles(11, 0, 319, kTileSolid);
  for (int r = 0; r < 11; ++r) tiles.TileMap[r][25] = kTileSolid;
  EnemyRecord& e = pools.enemies[5];
  e.pausePose = 1;
  e.motion.velocityX = 2;
  Box walker{788, 325, 0, 0};  // right edge 799, the wall starts at 800
  walker.Move(2, 0, SelfIndexOfEnemy(5));
  EXPECT_EQ(e.motion.velocityX, -2.0f);
  EXPECT_EQ(walker.x, 788.0f);

  FillTiles(11, 30, 319, kTileOpen);  // ledge at x 960
  e.pausePose = 2;
  e.motion.velocityX = 2;
  Box edge{958, 325, 0, 0};
  edge.Move(2, 0, SelfIndexOfEnemy(5));
  EXPECT_EQ(e.motion.velocityX, -2.0f);
  EXPECT_EQ(edge.x, 958.0f);
}

TEST_F(StageMapTest, TheCameraFollowsAndStaysInsideTheStage) {
  game.links = {640.0f, 1920.0f, 0, 0, 0, 0};
  game.OnFieldMode = 1;
  pools.players[0].head.x = 1000;
  pools.players[1].head.x = 2000;
  UpdateCamera();
  EXPECT_EQ(game.CameraScrollX, 1180.0f);
  pools.players[1].head.x = 3000;
  pools.players[0].head.x = 2600;
  UpdateCamera();
  EXPECT_EQ(game.CameraScrollX, 1920.0f);
  pools.players[0].head.x = pools.players[1].head.x = 500;
  UpdateCamera();
  EXPECT_EQ(game.CameraScrollX, 640.0f);
  config.CameraFollowOne = 1;
  pools.players[0].head.x = 1200;
  UpdateCamera();
  EXPECT_EQ(game.CameraScrollX, 880.0f);
  game.OnFieldMode = 2;
  pools.players[1].head.x = 1500;
  UpdateCamera();
  EXPECT_EQ(game.CameraScrollX, 1180.0f);
}

}  // namespace
}  // namespace orb::test
