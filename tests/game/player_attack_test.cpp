// Shooting and melee through the play frame: the first volley at once, the
// interval while held, the cost by difficulty, character 4's sweep, the fan
// and scatter geometry, the combo rhythm and the freezing of a hit enemy.
#include <cmath>
#include <vector>

#include "game/enemies.h"
#include "game/players.h"
#include "game/shots.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class PlayerAttack : public PlayerWorld {
 protected:
  void SetUp() override {
    PlayerWorld::SetUp();
    Floor(2, 13);
    Begin(2);
    Stand(0, 900);
    P(0).facing = 1;
  }
  // Volleys fired by one frame: the records laid into the shot ring.
  static std::vector<ShotRecord> FrameShots(uint32_t pad) {
    const int32_t before = pools.PlayerShotRing;
    Frame(pad);
    std::vector<ShotRecord> out;
    for (int32_t i = before; i != pools.PlayerShotRing; i = (i + 1) % 255) out.push_back(pools.playerShots[i]);
    return out;
  }
  static void Play(int character) {
    game.ActiveCharacter[0] = character;
    SetupPlayerCharacters();
    Stand(0, 900);
    P(0).facing = 1;
  }
};

TEST_F(PlayerAttack, ATapFiresAtOnceHoldingFiresEveryIntervalAndEachVolleyPays) {
  PartyMember& m = game.party[0];
  const float full = static_cast<float>(m.powerMax);
  const float cost = 1.7f * 4.6f;  // difficulty 1, character 0
  Frames(5);                      // the fire counter runs up to 5 while released
  std::vector<ShotRecord> shots = FrameShots(kShoot);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].typeCode, 10000);
  EXPECT_EQ(shots[0].damage, 32);
  EXPECT_EQ(shots[0].angle, 0.0f);
  EXPECT_EQ(shots[0].head.x, 900 + 22 + 12.0f);  // spawned at the muzzle, then one step
  EXPECT_EQ(m.power, full - cost);
  std::vector<int> firing;
  for (int f = 1; f < 16; ++f) {
    if (!FrameShots(kShoot).empty()) firing.push_back(f);
  }
  EXPECT_EQ(firing, (std::vector<int>{5, 10, 15}));

  // A tap, then released for 2 frames: the next press keeps the rhythm
  // (the counter runs on while released and below 5).
  Frames(8);
  EXPECT_EQ(FrameShots(kShoot).size(), 1u);
  Frames(2);
  firing.clear();
  for (int f = 0; f < 8; ++f) {
    if (!FrameShots(kShoot).empty()) firing.push_back(f);
  }
  EXPECT_EQ(firing, (std::vector<int>{2, 7}));

  // Below the cost nothing is fired and nothing paid.
  Frames(8);
  P(0).invulnerableTimer = 50;  // no regeneration meanwhile
  m.power = cost - 0.01f;
  EXPECT_TRUE(FrameShots(kShoot).empty());
  EXPECT_EQ(m.power, cost - 0.01f);

  // Difficulty 0 costs 1.3 times the base.
  Frames(8);
  game.DifficultyLevel = 0;
  m.power = 100;
  FrameShots(kShoot);
  EXPECT_EQ(m.power, 100 - 1.3f * 4.6f);
}

TEST_F(PlayerAttack, CharacterFourSweepsFiveAnglesOnFiveCounterValuesOfForty) {
  Play(4);
  game.party[4].powerMax = 255;
  game.party[4].power = 255;
  const float sweep[5] = {32, 16, 0, -16, -32};
  Frames(5);
  std::vector<int> counters;
  std::vector<float> centres;
  for (int f = 0; f < 80; ++f) {
    const std::vector<ShotRecord> shots = FrameShots(kShoot);
    if (shots.empty()) continue;
    ASSERT_EQ(shots.size(), 5u);
    counters.push_back(f);
    centres.push_back(shots[2].angle);
    EXPECT_FLOAT_EQ(shots[4].angle - shots[0].angle, 68.0f);
    EXPECT_EQ(shots[2].typeCode, 10400 + ((f % 40) / 5) % 4);
  }
  EXPECT_EQ(counters, (std::vector<int>{0, 5, 10, 15, 20, 40, 45, 50, 55, 60}));
  for (size_t i = 0; i < centres.size(); ++i) EXPECT_FLOAT_EQ(centres[i], sweep[i % 5]) << i;

  // Facing left mirrors the sweep about 180.
  Frames(10);
  P(0).facing = 0;
  const std::vector<ShotRecord> left = FrameShots(kShoot | kPadLeft);
  ASSERT_EQ(left.size(), 5u);
  EXPECT_FLOAT_EQ(left[2].angle, 148.0f);
}

TEST_F(PlayerAttack, FansAndScattersLieWhereTheirSpreadsSay) {
  const int32_t before = pools.PlayerShotRing;
  FirePlayerShotPattern(1000, 200, 1, 6, 360.0f, 5.0f, 90.0f, 0, 0, 0, 0, 10, 10000, 1, 1);
  ASSERT_EQ(pools.PlayerShotRing, before + 6);
  for (int i = 1; i < 6; ++i) {
    EXPECT_FLOAT_EQ(pools.playerShots[before + i].angle - pools.playerShots[before + i - 1].angle, 60.0f);
  }
  EXPECT_FLOAT_EQ(pools.playerShots[before].angle, 90.0f - 150.0f);

  // Scatter: a whole-degree offset inside the spread, 80 to 120 percent speed.
  const int32_t at = pools.PlayerShotRing;
  FirePlayerShotPattern(1000, 200, 3, 40, 20.0f, 10.0f, 0.0f, 0, 0, 0, 0, 10, 10300, 1, 3);
  for (int i = 0; i < 40; ++i) {
    const ShotRecord& s = pools.playerShots[at + i];
    EXPECT_GE(s.angle, -10.0f);
    EXPECT_LT(s.angle, 10.0f);
    EXPECT_EQ(s.angle, std::trunc(s.angle));
    EXPECT_GE(s.head.speed, 8.0f);
    EXPECT_LE(s.head.speed, 12.0f);
    EXPECT_EQ(s.damageClass, 3);
  }
  // A spread below 1 gives offset 0 (no division by zero).
  const int32_t last = pools.PlayerShotRing;
  FirePlayerShotPattern(1000, 200, 3, 3, 0.5f, 10.0f, 45.0f, 0, 0, 0, 0, 10, 10300, 1, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pools.playerShots[last + i].angle, 45.0f - 0.25f);
  // Other kinds fire nothing.
  FirePlayerShotPattern(1000, 200, 2, 3, 10.0f, 10.0f, 0, 0, 0, 0, 0, 10, 10300, 1, 3);
  EXPECT_EQ(pools.PlayerShotRing, last + 3);
}

TEST_F(PlayerAttack, ThreePressesInRhythmGivePhasesOneOneTwo) {
  Frames(20);  // attacks allowed: timer past t1 + t2
  const int32_t t1 = 7, t2 = 9;
  std::vector<int> starts, phases;
  uint8_t before = 0;
  for (int f = 0; f < 60; ++f) {
    const bool press = f == 0 || f == 4 || f == 4 + t1 + t2;
    Frame(press ? kDecide : 0);
    if (P(0).attackPhase != 0 && (before == 0 || P(0).attackTimer == 0)) {
      starts.push_back(f);
      phases.push_back(P(0).attackPhase);
    }
    before = P(0).attackPhase;
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 1, 2}));
  ASSERT_EQ(starts.size(), 3u);
  // The buffered press starts on the first frame allowed: the timer is
  // tested before it counts, so t1 + t2 + 1 frames after the last start.
  EXPECT_EQ(starts[1] - starts[0], t1 + t2 + 1);
  EXPECT_EQ(starts[2] - starts[1], t1 + t2 + 1);

  // Pressing down while standing clears phase, buffer and combo.
  P(0).attackPhase = 1;
  P(0).attackBuffered = 1;
  P(0).comboCount = 1;
  Frame(kPadDown);
  EXPECT_EQ(P(0).attackPhase, 0);
  EXPECT_EQ(P(0).attackBuffered, 0);
  EXPECT_EQ(P(0).comboCount, 0);
}

TEST_F(PlayerAttack, AHitEnemyFreezesForElevenFramesAndAShieldedOneTakesNothing) {
  SpawnEnemy(1000, 300, 8, 0, 1, 0, 1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EnemyRecord& e = LastEnemy();
  e.head.state = kActorActive;
  e.head.x = 900 + 11 + 10;
  e.head.y = P(0).head.y;
  P(0).facing = 1;
  P(0).attackPhase = 1;
  P(0).attackTimer = 1;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 1000 - 100);
  EXPECT_EQ(e.frozenTimer, 21);
  for (int frozen = 20; frozen >= 11; --frozen) {
    e.frozenTimer = frozen;
    MeleeHitEnemy(P(0), e);
    EXPECT_EQ(e.hitPoints, 900) << frozen;
  }
  e.frozenTimer = 10;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 800);
  // Behind the player nothing is hit; the strong phase takes the strong damage.
  e.frozenTimer = 0;
  P(0).facing = 0;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 800);
  P(0).facing = 1;
  P(0).attackPhase = 2;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 800 - 150);
  e.frozenTimer = 0;
  e.damageFactors[0] = 0.0f;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 650);
  EXPECT_EQ(e.frozenTimer, 0);

  // Through the play frame: the draw counts the freeze down, so hits on a
  // still enemy come at least 11 frames apart however fast the strikes.
  e.damageFactors[0] = 1.0f;
  e.frozenTimer = 0;
  P(0).attackPhase = 0;
  Frames(20);
  std::vector<int> hits;
  int32_t hp = e.hitPoints;
  for (int f = 0; f < 120; ++f) {
    Frame(f % 2 ? kDecide : 0);
    if (e.hitPoints != hp) hits.push_back(f);
    hp = e.hitPoints;
  }
  ASSERT_GE(hits.size(), 3u);
  for (size_t i = 1; i < hits.size(); ++i) EXPECT_GE(hits[i] - hits[i - 1], 11);
}

}  // namespace
}  // namespace orb::test
