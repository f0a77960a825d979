// Player movement through the play frame against steps and arcs computed here
// from the character table: walking, the jump arc with the short hop, the
// drop-through fall under the cap, ice, stairs, and the world map's exits on
// synthetic and on the placeholder maps.
#include <cmath>
#include <cstdlib>
#include <string>

#include "game/players/players.h"
#include "player_test_support.h"
#include "support/asset_files.h"

namespace orb::test {
namespace {

class PlayerMovement : public PlayerWorld {};

// The centre y after a step of v: the box mover leaves a player's box
// (centre y + 4) on a whole pixel.
float Step(float y, float v) { return std::trunc(y + 4 + v) - 4; }

TEST_F(PlayerMovement, WalkJumpShortHopAndDropThroughFollowTheirArcs) {
  Floor(2, 13);
  Paint(2, 6, 0, kTileColumns - 1, kTileOneWay);
  Begin(2);
  game.ActiveCharacter[0] = 1;  // walk 4.3, jump 12.0, gravity 0.64
  SetupPlayerCharacters();
  Stand(0, 900);
  const float walk = 4.3f, jump = 12.0f, g = 0.64f;
  float x = 900;
  for (int i = 0; i < 20; ++i) {
    Frame(kPadRight);
    ASSERT_EQ(P(0).head.x, x += walk) << i;
  }
  Frame(kPadLeft | kPadRight);  // both held: still, facing right
  EXPECT_EQ(P(0).head.x, x);
  EXPECT_EQ(P(0).facing, 1);

  const float y0 = P(0).head.y;
  float y = y0, v = -jump;
  for (int f = 0; f < 200; ++f) {
    Frame(kJump);
    v = std::fmin(v + g, jump);
    y = Step(y, v);
    if (y + 30 >= 415) break;  // the landing step is snapped to the floor
    ASSERT_EQ(P(0).head.y, y) << f;
  }
  Frames(20);
  EXPECT_EQ(P(0).head.y, y0);
  EXPECT_EQ(P(0).inAir, 0);

  // Released on the frame after the press: the rise is cut to a third.
  Frame(kJump);
  y = Step(y0, v = -jump + g);
  Frame();
  y = Step(y, v = v / 3 + g);
  EXPECT_EQ(P(0).head.y, y);
  Frames(30);

  // Down and jump on a one-way floor drop through it; the fall stops at the cap.
  Stand(0, 900, 192);
  Frame(kPadDown | kJump);
  y = Step(192 - 31 + 11, v = 1.1f + g);
  EXPECT_EQ(P(0).head.y, y);
  bool capped = false;
  while (y + 30 < 415 - jump) {
    Frame();
    v = std::fmin(v + g, jump);
    capped = capped || v == jump;
    ASSERT_EQ(P(0).head.y, y = Step(y, v));
  }
  EXPECT_TRUE(capped);
}

TEST_F(PlayerMovement, IceKeepsMomentumThatDecaysByAFortieth) {
  Paint(3, 13, 0, kTileColumns - 1, kTileIce);
  Begin(3);
  Stand(0, 1100);
  const float speed = 4.0f;
  float m = 0;
  for (int i = 0; i < 30; ++i) {
    Frame(kPadRight);
    ASSERT_EQ(P(0).iceMomentum, m = std::fmin(m + speed / 20, speed)) << i;
  }
  float x = P(0).head.x;
  for (int frames = 0; std::fabs(m) >= speed / 40; ++frames) {
    m -= m / 40;
    Frame();
    ASSERT_EQ(P(0).iceMomentum, m) << frames;
    ASSERT_EQ(P(0).head.x, x += m);
  }
  Frame();
  EXPECT_EQ(P(0).iceMomentum, 0.0f);
  game.ActiveCharacter[0] = 3;  // never on ice
  SetupPlayerCharacters();
  Frame(kPadRight);
  EXPECT_EQ(P(0).onIce, 0);
}

TEST_F(PlayerMovement, StairsAreEnteredNearTheColumnCentreClimbedAndLeftAtTheTop) {
  Floor(2, 13);
  Paint(2, 12, 29, 32, kTileStairsFootRight);
  Paint(2, 6, 33, 60, kTileStairsTopRight);
  Begin(2);
  Stand(0, 984);  // column 30's centre is 976
  Frames(3, kPadUp);
  EXPECT_EQ(P(0).stairsMode, 0);
  Stand(0, 970);
  Frame(kPadUp);
  EXPECT_EQ(P(0).stairsMode, 2);
  const float step = static_cast<float>(4.0 / 1.4);
  float x = P(0).head.x, y = P(0).head.y;
  for (int f = 0; f < 200; ++f) {
    Frame(kPadUp);
    ASSERT_EQ(P(0).head.x, x += step);
    ASSERT_EQ(P(0).head.y, y -= step);
    const float probe = y + 29;  // feet y - 2
    if (probe < 7 * 32 && probe - 2 * step < 6 * 32) break;
    ASSERT_EQ(P(0).stairsMode, 2) << f;
  }
  EXPECT_EQ(P(0).stairsMode, 0);
  EXPECT_EQ(P(0).inAir, 0);
}

TEST_F(PlayerMovement, ExitsFollowTheWorldMapAndAnExitOfZeroLeadsNowhere) {
  Floor(2, 13);
  Floor(3, 13);
  Begin(2);
  Stand(0, 1918);
  Frame(kPadRight);  // past 1280 + 640: stage 2's right exit is 3
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.CurrentStage, 3);
  const float entryY = game.EntryY;
  while (game.PreviousStage != 3 && game.InGameState != 0) Frame(kPadRight);
  EXPECT_EQ(P(0).head.x, 640.0f);  // the left end of stage 3
  EXPECT_EQ(P(0).head.y, entryY);

  Begin(5);  // no left exit
  Stand(0, 645);
  Frames(5, kPadLeft);
  EXPECT_EQ(game.InGameState, 0);

  // On stairs above the top with up held: stage 3 has no up exit, so the
  // player is walked a step back down (and the climb's step up is undone).
  const float step = static_cast<float>(4.0 / 1.4);
  Begin(3);
  Stand(0, 1000);
  P(0).stairsMode = 2;
  P(0).head.y = -3;
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_FLOAT_EQ(P(0).head.y, -3 - step + step);

  // Stage 4's up exit is 5, but not while the partner is knocked out.
  Begin(4, 2);
  P(1).knockedOut = 1;
  Stand(0, 1000);
  P(0).stairsMode = 2;
  P(0).head.y = -5;
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 0);
  P(1).knockedOut = 0;
  Frame(kPadUp);
  EXPECT_EQ(game.CurrentStage, 5);
  EXPECT_EQ(game.EntryWalkIn, 2);
}

TEST_F(PlayerMovement, ClimbingOutOfStageFourOnThePlaceholderMapsArrivesOnTheStairsOfStageFive) {
  ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " assets > /dev/null").c_str()), 0);
  for (int stage : {4, 5}) {
    ASSERT_TRUE(testsupport::ReadCollisionMap("assets/stage/00" + std::to_string(stage) + ".bmp", Map(stage).t));
  }
  Begin(4);
  int foot = 0;
  while (foot < kTileColumns && Map(4).t[12][foot] != kTileStairsFootRight) ++foot;
  Stand(0, (foot + 1) * 32 + 16);
  for (int f = 0; f < 400 && game.PreviousStage != 5; ++f) Frame(kPadUp);
  ASSERT_EQ(game.CurrentStage, 5);
  EXPECT_EQ(P(0).stairsMode, 2);
  EXPECT_EQ(P(0).head.y, 480.0f);
  EXPECT_EQ(P(0).head.x, game.EntryX);
  for (int f = 0; f < 300 && (game.InGameState != 0 || P(0).stairsMode != 0); ++f) Frame(kPadUp);
  Frames(30);
  EXPECT_EQ(P(0).inAir, 0);
  EXPECT_EQ(P(0).head.y, 385.0f);  // standing on stage 5's floor
  EXPECT_EQ(game.CurrentStage, 5);
}

}  // namespace
}  // namespace orb::test
