// The damage a player takes from a bullet at every difficulty and class
// factor, hit points brought to exactly 0 and to 1, and the bullet boxes
// of the standing and crouching bodies at each edge and one pixel inside.
#include <gtest/gtest.h>

#include <string>

#include "game/actors/shots.h"
#include "game/game_reset.h"
#include "game/players/players.h"
#include "game/world/character_tables.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/world/roster.h"

namespace orb::test {
namespace {

constexpr float kX = 1000, kY = 300;

PlayerRecord& Player(int character, int difficulty, bool crouching) {
  ResetGameModules();
  ResetNewGame();
  game.OnFieldMode = 0;
  game.DifficultyLevel = static_cast<uint8_t>(difficulty);
  game.ActiveCharacter[0] = character;
  SetupPlayerCharacters();
  PlayerRecord& p = pools.players[0];
  p.playerIndex = 0;
  p.head.x = kX;
  p.head.y = kY;
  p.crouch = crouching ? 1 : 0;
  p.invulnerableTimer = 0;
  p.knockedOut = 0;
  return p;
}

// A still bullet of type 10000 (its own damage 15, hitbox 8) centred at (x, y).
void Bullet(float x, float y, uint8_t damageClass) {
  SetDefaultShotChildSpec(NextEnemyBullet());
  SpawnEnemyBullet(x, y, 0, 0, 0, 0, 0, 0, 10000, 0, damageClass, 100);
}

TEST(PlayerBounds, BulletDamageByDifficultyAndClassDownToExactlyZero) {
  const float difficultyFactor[4] = {0.7f, 1.2f, 1.6f, 2.1f};
  struct Taker {
    int character;
    uint8_t damageClass;
    float classFactor;
  };
  const Taker takers[] = {{0, 1, 1.0f}, {4, 0, 0.58f}, {4, 2, 1.5f}, {3, 3, 0.3f}, {5, 0, 1.7f}, {7, 1, 0.7f}};
  for (int d = 0; d < 4; ++d) {
    for (const Taker& t : takers) {
      const std::string what = "difficulty " + std::to_string(d) + " character " + std::to_string(t.character);
      const int damage = static_cast<int>(15.0f * difficultyFactor[d] * t.classFactor);
      // One more hit point than the damage: 1 left, still standing.
      PlayerRecord& p = Player(t.character, d, false);
      game.party[t.character].hitPoints = damage + 1;
      Bullet(kX, kY, t.damageClass);
      UpdatePlayerInteractions(p);
      EXPECT_EQ(game.party[t.character].hitPoints, 1) << what;
      EXPECT_EQ(p.knockedOut, 0) << what;
      EXPECT_EQ(p.invulnerableTimer, 64) << what;
      // Exactly the damage: 0, knocked out.
      PlayerRecord& q = Player(t.character, d, false);
      game.party[t.character].hitPoints = damage;
      Bullet(kX, kY, t.damageClass);
      UpdatePlayerInteractions(q);
      EXPECT_EQ(game.party[t.character].hitPoints, 0) << what;
      EXPECT_EQ(q.knockedOut, 1) << what;
    }
  }
  ResetGameModules();
}

TEST(PlayerBounds, BulletBoxesOfTheStandingAndCrouchingBodyAtEachEdge) {
  // Body box shrunk by 4 at the sides and 8 at the top and bottom (1 at the
  // top while crouching), against a bullet 8 wide: the bullet's centre must
  // lie strictly inside these bounds (offsets from the player's centre).
  struct Body {
    int character;
    bool crouching;
    float left, right, top, bottom;
  };
  const Body bodies[] = {
      {0, false, -7 + 4 - 4, 7 - 4 + 4, -17 + 8 - 4, 23 - 8 + 4},
      {0, true, -7 + 4 - 4, 7 - 4 + 4, 1 + 1 - 4, 28 - 8 + 4},
      {3, false, -5 + 4 - 4, 5 - 4 + 4, -15 + 8 - 4, 21 - 8 + 4},
      {3, true, -5 + 4 - 4, 5 - 4 + 4, 0 + 1 - 4, 26 - 8 + 4},
  };
  for (const Body& b : bodies) {
    struct Probe {
      float dx, dy;
      bool hits;
    };
    const float midY = (b.top + b.bottom) / 2;
    const Probe probes[] = {
        {b.left, midY, false},  {b.left + 1, midY, true},  {b.right, midY, false},  {b.right - 1, midY, true},
        {0, b.top, false},      {0, b.top + 1, true},      {0, b.bottom, false},    {0, b.bottom - 1, true},
    };
    for (const Probe& pr : probes) {
      PlayerRecord& p = Player(b.character, 1, b.crouching);
      const int32_t before = game.party[b.character].hitPoints;
      Bullet(kX + pr.dx, kY + pr.dy, 1);
      UpdatePlayerInteractions(p);
      EXPECT_EQ(game.party[b.character].hitPoints != before, pr.hits)
          << "character " << b.character << (b.crouching ? " crouching" : " standing") << " at " << pr.dx << ", "
          << pr.dy;
    }
  }
  ResetGameModules();
}

}  // namespace
}  // namespace orb::test
