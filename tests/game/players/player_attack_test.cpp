// Shooting and melee through the play frame: the first volley at once, the
// interval while held, the cost by difficulty, character 4's sweep, fans and
// scatters, the combo rhythm, and the freeze and shield of a hit enemy.
#include <cmath>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/players/players.h"
#include "game/actors/shots.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

class PlayerAttack : public PlayerWorld {
 protected:
  void SetUp() override {
    PlayerWorld::SetUp();
    StartOnFloor();
    Frames(5);  // the fire counter runs up to 5 while the button is up
  }
  // The shots one frame laid into the ring.
  static std::vector<ShotRecord> FrameShots(uint32_t pad) {
    const int32_t before = pools.PlayerShotRing;
    Frame(pad);
    std::vector<ShotRecord> out;
    for (int32_t i = before; i != pools.PlayerShotRing; i = (i + 1) % 255) out.push_back(pools.playerShots[i]);
    return out;
  }
  static std::vector<int> FiringFrames(int frames) {
    std::vector<int> out;
    for (int f = 0; f < frames; ++f) {
      if (!FrameShots(kShoot).empty()) out.push_back(f);
    }
    return out;
  }
};

TEST_F(PlayerAttack, ATapFiresAtOnceHoldingFiresEveryIntervalAndEachVolleyPays) {
  PartyMember& m = game.party[0];
  const float cost = 1.7f * 4.6f;  // difficulty 1, character 0
  const std::vector<ShotRecord> shots = FrameShots(kShoot);
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].typeCode, 10000);
  EXPECT_EQ(shots[0].angle, 0.0f);
  EXPECT_EQ(shots[0].head.x, 900 + 22 + 12.0f);  // from the muzzle, then one step
  EXPECT_EQ(m.power, m.powerMax - cost);
  EXPECT_EQ(FiringFrames(15), (std::vector<int>{4, 9, 14}));
  // A tap, released for two frames: the counter ran on, the rhythm stays.
  Frames(8);
  EXPECT_EQ(FrameShots(kShoot).size(), 1u);
  Frames(2);
  EXPECT_EQ(FiringFrames(8), (std::vector<int>{2, 7}));
  // Below the cost nothing is fired or paid; difficulty 0 pays 1.3 x base.
  Frames(8);
  P(0).invulnerableTimer = 50;  // no regeneration meanwhile
  m.power = cost - 0.01f;
  EXPECT_TRUE(FrameShots(kShoot).empty());
  EXPECT_EQ(m.power, cost - 0.01f);
  Frames(8);
  game.DifficultyLevel = 0;
  m.power = 100;
  FrameShots(kShoot);
  EXPECT_EQ(m.power, 100 - 1.3f * 4.6f);
}

TEST_F(PlayerAttack, CharacterFourSweepsFiveAnglesOnFiveCounterValuesOfForty) {
  game.ActiveCharacter[0] = 4;
  SetupPlayerCharacters();
  game.party[4].power = static_cast<float>(game.party[4].powerMax = 255);
  const float sweep[5] = {32, 16, 0, -16, -32};
  std::vector<int> counters;
  for (int f = 0; f < 80; ++f) {
    const std::vector<ShotRecord> s = FrameShots(kShoot);
    if (s.empty()) continue;
    ASSERT_EQ(s.size(), 5u);
    EXPECT_FLOAT_EQ(s[2].angle, sweep[counters.size() % 5]);
    EXPECT_FLOAT_EQ(s[4].angle - s[0].angle, 68.0f);
    counters.push_back(f);
  }
  EXPECT_EQ(counters, (std::vector<int>{0, 5, 10, 15, 20, 40, 45, 50, 55, 60}));
}

TEST_F(PlayerAttack, CharacterSixWarpsOnDownAndAFreshPressThenFadesBackIn) {
  game.ActiveCharacter[0] = 6;
  SetupPlayerCharacters();
  PartyMember& m = game.party[6];
  Frame(kPadDown | kShoot);
  EXPECT_EQ(P(0).warpFade, 1);
  EXPECT_EQ(m.power, m.powerMax - 1.7f * 16.0f);
  const float x = P(0).head.x;
  int frames = 0;
  while (P(0).warpFade && frames++ < 100) Frame(kPadRight);
  EXPECT_EQ(frames, 40);  // faded in once 16 (counter - 24) passes 240
  EXPECT_EQ(P(0).head.x, x);  // held in place meanwhile
}

TEST_F(PlayerAttack, FansAndScattersLieWhereTheirSpreadsSay) {
  FirePlayerShotPattern(1000, 200, 1, 6, 360.0f, 5.0f, 90.0f, 0, 0, 0, 0, 10, 10000, 1, 1);
  for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(pools.playerShots[i].angle, 90.0f - 150.0f + 60.0f * i);
  FirePlayerShotPattern(1000, 200, 3, 40, 20.0f, 10.0f, 0.0f, 0, 0, 0, 0, 10, 10300, 1, 3);
  for (int i = 6; i < 46; ++i) {
    const ShotRecord& s = pools.playerShots[i];
    EXPECT_TRUE(s.angle >= -10 && s.angle < 10 && s.angle == std::trunc(s.angle)) << s.angle;
    EXPECT_TRUE(s.head.speed >= 8 && s.head.speed <= 12) << s.head.speed;
  }
  // A spread below 1 gives offset 0 rather than a division by zero.
  FirePlayerShotPattern(1000, 200, 3, 2, 0.5f, 10.0f, 45.0f, 0, 0, 0, 0, 10, 10300, 1, 3);
  EXPECT_EQ(pools.playerShots[47].angle, 45.0f - 0.25f);
}

TEST_F(PlayerAttack, ThreePressesInRhythmGivePhasesOneOneTwo) {
  Frames(20);  // attacks allowed: the timer is past t1 + t2
  const int32_t t1 = 7, t2 = 9;
  std::vector<int> starts, phases;
  for (int f = 0; f < 60; ++f) {
    const uint8_t before = P(0).attackPhase;
    Frame(f == 0 || f == 4 || f == 4 + t1 + t2 ? kDecide : 0);
    if (P(0).attackPhase != 0 && (before == 0 || P(0).attackTimer == 0)) {
      starts.push_back(f);
      phases.push_back(P(0).attackPhase);
    }
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 1, 2}));
  // Each buffered press starts on the first frame allowed: the timer is
  // tested before it counts, so t1 + t2 + 1 frames after the last start.
  EXPECT_EQ(starts, (std::vector<int>{0, t1 + t2 + 1, 2 * (t1 + t2 + 1)}));
}

TEST_F(PlayerAttack, AHitEnemyFreezesForElevenFramesAndAShieldedOneTakesNothing) {
  EnemyRecord& e = AwakeEnemy(8, 0, 1000, 900 + 11 + 10, P(0).head.y);
  P(0).attackPhase = 1;
  P(0).attackTimer = 1;
  std::vector<int32_t> hp;
  for (int frozen : {0, 20, 11, 10}) {
    e.frozenTimer = frozen;
    MeleeHitEnemy(P(0), e);
    hp.push_back(e.hitPoints);
  }
  EXPECT_EQ(hp, (std::vector<int32_t>{900, 900, 900, 800}));
  EXPECT_EQ(e.frozenTimer, 21);
  e.frozenTimer = 0;
  P(0).attackPhase = 2;  // the strong damage
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 650);
  P(0).facing = 0;  // behind the player
  e.frozenTimer = 0;
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 650);
  P(0).facing = 1;
  e.damageFactors[0] = 0.0f;  // shielded
  MeleeHitEnemy(P(0), e);
  EXPECT_EQ(e.hitPoints, 650);
  EXPECT_EQ(e.frozenTimer, 0);
}

TEST_F(PlayerAttack, ThePoseFollowsTheStateTable) {
  struct Row {
    int character;
    uint8_t inAir, crouch, hold, phase;
    int32_t timer;
    uint32_t held;
    int32_t frame, offset;
  };
  // Character 2's timing 3 is 17: its late strike (timer 10 and on) is drawn 40 ahead.
  const Row rows[] = {
      {0, 1, 0, 1, 0, 0, 0, 10, 0}, {2, 1, 0, 0, 1, 10, 0, 6, 40}, {2, 1, 0, 0, 1, 9, 0, 9, 0},
      {2, 1, 0, 0, 0, 0, 0, 8, 0},  {0, 1, 0, 0, 1, 0, 0, 9, 0},   {0, 0, 1, 0, 1, 0, 0, 12, 0},
      {0, 0, 1, 0, 0, 0, 0, 11, 0}, {0, 0, 0, 1, 0, 0, 0, 7, 0},   {2, 0, 0, 0, 3, 9, 0, 9, 0},
      {8, 0, 0, 0, 2, 2, 0, 5, 0},  {8, 0, 0, 0, 2, 5, 0, 6, 0},   {8, 0, 0, 0, 3, 6, 0, 14, 0},
      {0, 0, 0, 0, 2, 0, 0, 6, 0},  {0, 0, 0, 0, 1, 0, 0, 5, 0},   {0, 0, 0, 0, 0, 0, kPadLeft | kPadRight, 0, 0},
  };
  for (const Row& r : rows) {
    game.ActiveCharacter[0] = r.character;
    SetupPlayerCharacters();
    PlayerRecord& p = P(0);
    p.inAir = r.inAir, p.crouch = r.crouch, p.holdPose = r.hold, p.attackPhase = r.phase, p.attackTimer = r.timer;
    input.HeldInput[0] = r.held;
    const PlayerPose pose = ChoosePlayerPose(p);
    EXPECT_EQ(pose.frame, r.frame) << r.character << " " << int{r.phase} << " " << r.timer;
    EXPECT_EQ(pose.offsetX, r.offset);
  }
  // The walk cycle: 2 for c 0-4, 3 for 5-8, 4 for 9-13, 1 for 14-17 (c = frame / 2 mod 18), mirrored going left.
  P(0).attackPhase = 0;
  input.HeldInput[0] = kPadLeft;
  const int32_t want[18] = {2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 1, 1, 1, 1};
  for (int c = 0; c < 18; ++c) {
    game.PlayFrameCount = 36 * 5 + 2 * c + 1;
    EXPECT_EQ(ChoosePlayerPose(P(0)).frame, want[c]) << c;
    EXPECT_TRUE(ChoosePlayerPose(P(0)).mirrored);
  }
}

}  // namespace
}  // namespace orb::test
