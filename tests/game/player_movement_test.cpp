// Player movement through the play frame on synthetic maps, against arcs and
// steps computed here from the character table's values: walking, the jump
// arc with the short hop, ice, stairs entry, climb and top, and the stage
// exits of the world map.
#include <cmath>

#include "game/map_collision.h"
#include "game/players.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class PlayerMovement : public PlayerWorld {};

TEST_F(PlayerMovement, WalkAddsTheWalkingSpeedAndAJumpFollowsItsArc) {
  Floor(2, 13);
  Begin(2);
  game.ActiveCharacter[0] = 1;  // walk 4.3, jump 12.0, gravity 0.64
  SetupPlayerCharacters();
  Stand(0, 900);
  const float walk = 4.3f, jump = 12.0f, gravity = 0.64f;
  float x = 900;
  for (int i = 0; i < 20; ++i) {
    Frame(kPadRight);
    x = x + walk;
    ASSERT_EQ(P(0).head.x, x) << i;
  }
  EXPECT_EQ(P(0).facing, 1);
  Frame(kPadLeft | kPadRight);  // both: still, facing right
  EXPECT_EQ(P(0).head.x, x);
  EXPECT_EQ(P(0).facing, 1);

  // Full jump: the box's centre moves by the speed and lands on a whole pixel.
  const float y0 = P(0).head.y;
  float box = y0 + 4, v = -jump;
  int frames = 0;
  do {
    Frame(kJump);
    v += gravity;
    if (v > jump) v = jump;
    box = std::trunc(box + v);
    if (box + 26 >= 415) break;  // the floor: the last step is snapped
    ASSERT_EQ(P(0).head.y, box - 4) << frames;
  } while (++frames < 200);
  Frame();
  EXPECT_EQ(P(0).head.y, y0);
  EXPECT_EQ(P(0).inAir, 0);

  // Short hop: released on the frame after the press, the rise is cut to a third.
  box = y0 + 4;
  v = -jump;
  Frame(kJump);
  v += gravity;
  box = std::trunc(box + v);
  EXPECT_EQ(P(0).head.y, box - 4);
  Frame();
  v = v / 3 + gravity;
  box = std::trunc(box + v);
  EXPECT_EQ(P(0).head.y, box - 4);
  EXPECT_EQ(P(0).jumpHeld, 0);

  // A long fall never passes the jump speed per frame.
  Floor(2, 14);
  for (int c = 0; c < kTileColumns; ++c) Map(2).t[13][c] = 0;
  Begin(2);
  P(0).head.y = 20;
  P(0).inAir = 1;
  float last = P(0).head.y;
  for (int i = 0; i < 40 && P(0).inAir; ++i) {
    Frame();
    EXPECT_LE(P(0).head.y - last, jump + 1);
    last = P(0).head.y;
  }
}

TEST_F(PlayerMovement, IceKeepsMomentumThatDecaysByAFortieth) {
  Paint(3, 13, 0, kTileColumns - 1, kTileIce);
  Begin(3);
  Stand(0, 1100);
  const float speed = 4.0f;
  float m = 0;
  for (int i = 0; i < 30; ++i) {
    Frame(kPadRight);
    m += speed / 20;
    if (m > speed) m = speed;
    ASSERT_EQ(P(0).iceMomentum, m) << i;
  }
  EXPECT_EQ(m, speed);
  float x = P(0).head.x;
  int frames = 0;
  while (std::fabs(m) >= speed / 40) {
    m -= m / 40;
    x += m;
    Frame();
    ASSERT_EQ(P(0).iceMomentum, m);
    ASSERT_EQ(P(0).head.x, x);
    ++frames;
  }
  EXPECT_GT(frames, 100);
  Frame();
  EXPECT_EQ(P(0).iceMomentum, 0.0f);

  // Character 3 never stands on ice.
  game.ActiveCharacter[0] = 3;
  SetupPlayerCharacters();
  Stand(0, 1100);
  Frame(kPadRight);
  EXPECT_EQ(P(0).onIce, 0);
}

TEST_F(PlayerMovement, StairsAreEnteredNearTheColumnCentreClimbedAndLeftAtTheTop) {
  Floor(2, 13);
  Paint(2, 12, 29, 32, kTileStairsFootRight);
  Paint(2, 6, 33, 60, kTileStairsTopRight);
  Paint(2, 12, 40, 43, kTileStairsTopLeft);
  Begin(2);
  // Column 30's centre is 976.
  Stand(0, 984);
  Frames(3, kPadUp);
  EXPECT_EQ(P(0).stairsMode, 0);  // 8 pixels off
  Stand(0, 970);
  Frame(kPadUp);
  EXPECT_EQ(P(0).stairsMode, 2);  // 6 pixels off
  const float step = static_cast<float>(4.0 / 1.4);
  float x = P(0).head.x, y = P(0).head.y;
  int frames = 0;
  for (; frames < 200; ++frames) {
    Frame(kPadUp);
    x += step;
    y -= step;
    ASSERT_EQ(P(0).head.x, x);
    ASSERT_EQ(P(0).head.y, y);
    const float feet = y + 31 - 2;
    if (feet < 7 * 32 && feet >= 6 * 32 && feet - 2 * step < 6 * 32) break;
    ASSERT_EQ(P(0).stairsMode, 2) << frames;
  }
  EXPECT_EQ(P(0).stairsMode, 0);
  EXPECT_EQ(P(0).inAir, 0);

  // Down at the top of stairs going down the other way enters mode 1.
  Stand(0, 40 * 32 + 16 + 2);
  Frame(kPadDown);
  EXPECT_EQ(P(0).stairsMode, 1);
}

TEST_F(PlayerMovement, ExitsFollowTheWorldMapAndAnExitOfZeroLeadsNowhere) {
  for (int s : {2, 3}) Floor(s, 13);
  Begin(2);
  Stand(0, 1918);
  Frame(kPadRight);  // past 1280 + 640
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.CurrentStage, 3);  // stage 2's right exit
  EXPECT_EQ(game.EntrySide, kEnteredLeftEnd);
  const float entryY = game.EntryY;
  for (int i = 0; i < 40 && game.InGameState != 0; ++i) {
    Frame(kPadRight);
    if (game.PreviousStage == 3) {
      EXPECT_EQ(P(0).head.x, 640.0f);  // the left end of stage 3
      EXPECT_EQ(P(0).head.y, entryY);
      break;
    }
  }
  EXPECT_EQ(game.PreviousStage, 3);

  // Stage 5's left exit is 0: walking out of its left end changes nothing.
  Floor(5, 13);
  Begin(5);
  Stand(0, 645);
  Frames(5, kPadLeft);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_EQ(game.CurrentStage, 5);

  // On stairs above the screen with up held: stage 4's up exit is 5; stage
  // 3 has none, so the player is walked one step back down.
  Begin(3);
  P(0).stairsMode = 2;
  P(0).head.x = 1000;
  P(0).head.y = -3;
  Frame(kPadUp);
  const float step = static_cast<float>(4.0 / 1.4);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_FLOAT_EQ(P(0).head.y, -3 - step + step);
  EXPECT_FLOAT_EQ(P(0).head.x, 1000 + step - step);

  // While the partner is knocked out nobody leaves.
  Begin(4, 2);
  P(1).knockedOut = 1;
  P(0).stairsMode = 2;
  P(0).head.x = 1000;
  P(0).head.y = -5;
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_FLOAT_EQ(P(0).head.y, -5.0f);
  P(1).knockedOut = 0;
  Frame(kPadUp);
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.CurrentStage, 5);
  EXPECT_EQ(game.EntryWalkIn, 2);
}

}  // namespace
}  // namespace orb::test
