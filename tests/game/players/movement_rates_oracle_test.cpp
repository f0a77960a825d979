// Rates per frame over many frames, for every character through the play
// frame: the walking speed over 40 frames, the jump arc from the jump speed
// and gravity until landing, and the power gauge refilling at 0.003 of its
// maximum a frame up to the maximum and no further.
#include <cmath>
#include <string>

#include "game/players/players.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class MovementRates : public PlayerWorld {};

// clang-format off
const float kWalk[10] =    {4.0f, 4.3f, 4.15f, 4.61f, 4.0f, 3.7f, 4.19f, 4.88f, 4.5f, 3.9f};
const float kJumpSpeed[10] ={10.5f, 12.0f, 11.3f, 12.55f, 10.5f, 9.7f, 11.6f, 15.8f, 12.88f, 11.0f};
const float kGravity[10] = {0.5f, 0.64f, 0.58f, 0.685f, 0.5f, 0.43f, 0.59f, 0.92f, 0.685f, 0.438f};
// clang-format on

TEST_F(MovementRates, EveryCharacterWalksJumpsAndRefillsAtItsRate) {
  Floor(2, 13);
  Begin(2);
  for (EnemyRecord& e : pools.enemies) e.head.state = kActorFree;  // nothing to hurt or block the player
  for (int c = 0; c < 10; ++c) {
    const std::string what = "character " + std::to_string(c);
    game.ActiveCharacter[0] = c;
    SetupPlayerCharacters();
    Stand(0, 900);
    Frames(2);
    float x = P(0).head.x;
    for (int i = 0; i < 40; ++i) {
      Frame(kPadRight);
      x += kWalk[c];
      ASSERT_EQ(P(0).head.x, x) << what << " frame " << i;
    }
    for (int i = 0; i < 40; ++i) {
      Frame(kPadLeft);
      x -= kWalk[c];
      ASSERT_EQ(P(0).head.x, x) << what << " frame " << i;
    }

    // The box mover keeps the box (centre y + hitbox offset) on whole pixels.
    const float offset = P(0).head.hitboxOffsetY, half = P(0).head.hitboxHeight / 2;
    const float y0 = P(0).head.y;
    float y = y0, v = -kJumpSpeed[c];
    int rising = 0;
    for (int f = 0; f < 200; ++f) {
      Frame(kJump);
      v = std::fmin(v + kGravity[c], kJumpSpeed[c]);
      y = std::trunc(y + offset + v) - offset;
      if (y + offset + half >= 415) break;  // the landing step is snapped to the floor
      ASSERT_EQ(P(0).verticalSpeed, v) << what << " frame " << f;
      ASSERT_EQ(P(0).head.y, y) << what << " frame " << f;
      rising += v < 0;
    }
    EXPECT_EQ(rising, static_cast<int>(std::ceil(kJumpSpeed[c] / kGravity[c])) - 1) << what;
    Frames(20);
    EXPECT_EQ(P(0).head.y, y0) << what;

    PartyMember& m = game.party[c];
    P(0).invulnerableTimer = 0;
    m.power = 0;
    float power = 0;
    for (int f = 0; f < 400; ++f) {
      Frame();
      power = std::fmin(power + static_cast<float>(m.powerMax) * 0.003f, static_cast<float>(m.powerMax));
      ASSERT_NEAR(m.power, power, 1e-3) << what << " frame " << f;
    }
    EXPECT_EQ(m.power, static_cast<float>(m.powerMax)) << what;
  }
}

}  // namespace
}  // namespace orb::test
