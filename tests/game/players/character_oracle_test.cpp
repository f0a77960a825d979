// The ten characters as the player records receive them, against the
// character table typed here row by row (one row per field, one column per
// character), and the follow-up pattern every player shot starts with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/actors/shots.h"
#include "game/game_reset.h"
#include "game/players/players.h"
#include "game/world/asset_table.h"
#include "game/world/character_tables.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"

namespace orb::test {
namespace {

// clang-format off
const char* const kSheet[10] = {"gr\\tovel.bmp", "gr\\quenby.bmp", "gr\\dorrin.bmp", "gr\\friska.bmp",
                                "gr\\gorvath.bmp", "gr\\lismet.bmp", "gr\\verrow.bmp", "gr\\nocta.bmp",
                                "gr\\kessel.bmp", "gr\\pallow.bmp"};
const int kFrameCount[10] =      {13, 13, 14, 14, 14, 14, 14, 14, 15, 14};
const float kWalk[10] =          {4.0f, 4.3f, 4.15f, 4.61f, 4.0f, 3.7f, 4.19f, 4.88f, 4.5f, 3.9f};
const float kJump[10] =          {10.5f, 12.0f, 11.3f, 12.55f, 10.5f, 9.7f, 11.6f, 15.8f, 12.88f, 11.0f};
const float kGravity[10] =       {0.5f, 0.64f, 0.58f, 0.685f, 0.5f, 0.43f, 0.59f, 0.92f, 0.685f, 0.438f};
const float kHitboxHeight[10] =  {52, 52, 52, 44, 52, 52, 52, 44, 44, 52};
const float kHitboxOffsetY[10] = {4, 4, 4, 8, 4, 4, 4, 8, 8, 4};
const float kHalfBody[10] =      {7, 7, 7, 5, 7, 7, 7, 5, 5, 7};
const float kBodyTop[10] =       {-17, -17, -17, -15, -17, -17, -17, -15, -15, -17};
const float kBodyBottom[10] =    {23, 23, 23, 21, 23, 23, 23, 21, 21, 23};
const float kCrouchTop[10] =     {1, 1, 1, 0, 1, 1, 1, 0, 0, 1};
const float kCrouchBottom[10] =  {28, 28, 28, 26, 28, 28, 28, 26, 26, 28};
const int kTiming1[10] =         {7, 5, 6, 6, 6, 7, 6, 5, 6, 7};
const int kTiming2[10] =         {9, 7, 9, 7, 7, 10, 7, 6, 7, 9};
const int kTiming3[10] =         {10, 8, 17, 10, 10, 10, 10, 8, 9, 10};
const int kTiming4[10] =         {11, 10, 11, 10, 14, 15, 14, 9, 8, 15};
const float kReachStanding[10] = {30, 19, 16, 16, 25, 20, 21, 18, 18, 26};
const float kReachCrouching[10] ={30, 19, 16, 16, 19, 20, 21, 18, 18, 26};
const float kReachAir[10] =      {30, 25, 84, 18, 25, 20, 21, 20, 25, 26};
const float kReachStrong[10] =   {48, 25, 84, 18, 25, 25, 25, 20, 32, 31};
const float kStanding[10][2] =   {{-17, 7}, {-7, 7}, {11, 30}, {13, 30}, {0, 19}, {-8, 13}, {2, 19}, {-3, 11}, {-3, 11}, {-11, 15}};
const float kCrouching[10][2] =  {{3, 30}, {13, 30}, {11, 30}, {15, 30}, {5, 30}, {9, 30}, {11, 30}, {13, 30}, {17, 30}, {7, 30}};
const float kInAir[10][2] =      {{-23, 7}, {-7, 7}, {-5, 11}, {0, 16}, {0, 19}, {-8, 13}, {2, 19}, {11, 30}, {-7, 7}, {-11, 15}};
const float kStrong[10][2] =     {{-17, 7}, {-7, 7}, {-5, 11}, {0, 16}, {-6, 12}, {0, 23}, {-5, 11}, {11, 30}, {-20, 30}, {-11, 21}};
const int kMeleeDamage[10] =     {100, 100, 100, 100, 150, 100, 100, 100, 180, 160};
const int kMeleeStrong[10] =     {150, 150, 180, 150, 210, 150, 210, 150, 180, 210};
const float kFactor[4][10] = {
    {1.0f, 1.0f, 1.0f, 1.0f, 0.58f, 1.7f, 1.0f, 1.0f, 1.0f, 1.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 1.5f, 0.7f, 1.0f, 0.7f, 1.0f, 0.7f},
    {1.0f, 1.0f, 1.0f, 2.0f, 1.5f, 0.7f, 1.0f, 1.0f, 1.0f, 1.0f},
    {1.0f, 1.0f, 1.0f, 0.3f, 1.5f, 0.7f, 1.0f, 1.0f, 1.0f, 1.0f},
};
// clang-format on

const int* SheetHandles(const char* file) {
  for (int i = 0; i < AssetTableSize(); ++i) {
    const AssetEntry& e = AssetTable()[i];
    if (e.file != nullptr && std::strcmp(e.file, file) == 0) return e.handles;
  }
  return nullptr;
}

void ExpectSpan(const MeleeSpan& s, const float (&want)[2], const std::string& what) {
  EXPECT_FLOAT_EQ(s.top, want[0]) << what;
  EXPECT_FLOAT_EQ(s.bottom, want[1]) << what;
}

TEST(CharacterOracle, BothPlayersReceiveEveryFieldOfTheirCharacter) {
  for (int player = 0; player < 2; ++player) {
    for (int c = 0; c < 10; ++c) {
      ResetGameModules();
      PlayerRecord& p = pools.players[player];
      std::memset(&p.head, 0x33, sizeof p.head);  // what an earlier character left
      std::memset(&p.params, 0x33, sizeof p.params);
      game.ActiveCharacter[0] = game.ActiveCharacter[1] = c;
      SetupPlayerCharacters();
      const std::string what = "player " + std::to_string(player) + " character " + std::to_string(c);
      const ActorHead& h = p.head;
      EXPECT_EQ(h.spriteWidth, 128) << what;
      EXPECT_EQ(h.spriteHeight, 128) << what;
      EXPECT_EQ(h.framePeriod, 2) << what;
      EXPECT_EQ(h.frame, 0) << what;
      EXPECT_EQ(h.frameCount, kFrameCount[c]) << what;
      ASSERT_NE(SheetHandles(kSheet[c]), nullptr) << what;
      EXPECT_EQ(h.images, SheetHandles(kSheet[c])) << what;
      EXPECT_FLOAT_EQ(p.params.walkSpeed, kWalk[c]) << what;
      EXPECT_FLOAT_EQ(p.jumpSpeed, kJump[c]) << what;
      EXPECT_FLOAT_EQ(p.gravity, kGravity[c]) << what;
      EXPECT_FLOAT_EQ(h.hitboxWidth, 22.0f) << what;
      EXPECT_FLOAT_EQ(h.hitboxHeight, kHitboxHeight[c]) << what;
      EXPECT_FLOAT_EQ(h.hitboxOffsetX, 0.0f) << what;
      EXPECT_FLOAT_EQ(h.hitboxOffsetY, kHitboxOffsetY[c]) << what;
      EXPECT_FLOAT_EQ(h.body.left, -kHalfBody[c]) << what;
      EXPECT_FLOAT_EQ(h.body.right, kHalfBody[c]) << what;
      EXPECT_FLOAT_EQ(h.body.top, kBodyTop[c]) << what;
      EXPECT_FLOAT_EQ(h.body.bottom, kBodyBottom[c]) << what;
      EXPECT_FLOAT_EQ(h.body.crouchTop, kCrouchTop[c]) << what;
      EXPECT_FLOAT_EQ(h.body.crouchBottom, kCrouchBottom[c]) << what;
      EXPECT_EQ(p.params.meleeTiming[0], kTiming1[c]) << what;
      EXPECT_EQ(p.params.meleeTiming[1], kTiming2[c]) << what;
      EXPECT_EQ(p.params.meleeTiming[2], kTiming3[c]) << what;
      EXPECT_EQ(p.params.meleeTiming[3], kTiming4[c]) << what;
      EXPECT_FLOAT_EQ(p.params.reachStanding, kReachStanding[c]) << what;
      EXPECT_FLOAT_EQ(p.params.reachCrouching, kReachCrouching[c]) << what;
      EXPECT_FLOAT_EQ(p.params.reachAir, kReachAir[c]) << what;
      EXPECT_FLOAT_EQ(p.params.reachStrong, kReachStrong[c]) << what;
      ExpectSpan(p.params.spanStanding, kStanding[c], what + " standing");
      ExpectSpan(p.params.spanCrouching, kCrouching[c], what + " crouching");
      ExpectSpan(p.params.spanAir, kInAir[c], what + " in the air");
      ExpectSpan(p.params.spanStrong, kStrong[c], what + " strong");
      EXPECT_EQ(p.params.meleeDamage, kMeleeDamage[c]) << what;
      EXPECT_EQ(p.params.meleeDamageStrong, kMeleeStrong[c]) << what;
      for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(p.params.damageFactors[k], kFactor[k][c]) << what << " class " << k;
    }
  }
  ResetGameModules();
}

TEST(CharacterOracle, EveryPlayerShotStartsWithTheEmptyFollowUp) {
  ResetGameModules();
  ShotRecord& slot = pools.playerShots[pools.PlayerShotRing];
  SetShotChildSpec(slot, 5, 9, 45.0f, 3.0f, 90.0f, 0.5f, 0.25f, 0.125f, 2.0f, 30, 10400, 4.0f, 2.5f);
  ApplyPlayerShotChildSpec();
  const ShotChildSpec& c = slot.child;
  EXPECT_EQ(c.patternKind, 0);
  EXPECT_EQ(c.count, 1);
  EXPECT_EQ(c.childLifetime, 1);
  EXPECT_EQ(c.childTypeCode, 1);
  for (float v : {c.childSpeed, c.baseAngle, c.childSpeedAccel, c.childDriftAccelX, c.childDriftAccelY,
                  c.childAngleAccel, c.spread, c.layers, c.step}) {
    EXPECT_FLOAT_EQ(v, 1.0f);
  }
  ResetGameModules();
}

}  // namespace
}  // namespace orb::test
