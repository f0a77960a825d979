// Shots and bullets against a reference model written here from the motion
// formulas, the pools' ring rules, and the volley geometry against worked
// examples and the game's rand as the oracle of the random kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/world/crt_rand.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/actors/shots.h"
#include "game/actors/volley.h"

namespace orb::test {
namespace {

class ShotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    game.CameraScrollX = 640.0f;
  }
};

// The motion rules as written: f32 fields, angle maths in double with pi
// as the f32 constant.
struct RefShot {
  float x, y, vx, vy, speed, angle, driftX = 0, driftY = 0;
  float speedAccel, angleAccel, driftAccelX, driftAccelY;
  int age = 0, lifetime;

  void Step() {
    ++age;
    if (age <= lifetime + 1) {
      driftX += driftAccelX;
      driftY += driftAccelY;
      speed += speedAccel;
      angle += angleAccel;
      const double rad = static_cast<double>(angle) * static_cast<double>(3.14159f) / 180.0;
      vx = static_cast<float>(std::cos(rad) * speed + driftX);
      vy = static_cast<float>(std::sin(rad) * speed + driftY);
    }
    x += vx;
    y += vy;
  }
};

struct Flight {
  float speed, angle, speedAccel, driftX, driftY, angleAccel;
  int lifetime;
};

TEST_F(ShotsTest, TrajectoriesFollowTheFormulasAtEveryDifficulty) {
  const Flight flights[] = {
      {4.0f, 30.0f, 0.0f, 0.0f, 0.0f, 0.0f, 30},       // straight, coasting after its lifetime
      {1.0f, 200.0f, 0.13f, 0.0f, 0.0f, 0.0f, 50},     // accelerating
      {3.0f, -45.0f, 0.0f, 0.0f, 0.0f, 2.5f, 90},      // turning
      {2.0f, 90.0f, -0.02f, 0.011f, -0.07f, 0.3f, 70},  // drifting
  };
  const float scales[4] = {0.8f, 1.0f, 1.3f, 1.6f};
  for (int level = 0; level < 4; ++level) {
    game.DifficultyLevel = static_cast<uint8_t>(level);
    for (const Flight& f : flights) {
      for (bool bullet : {false, true}) {
        ResetPools();
        const float speed = bullet ? f.speed * scales[level] : f.speed;
        const double rad = static_cast<double>(f.angle) * static_cast<double>(3.14159f) / 180.0;
        RefShot ref{900.0f, 240.0f, static_cast<float>(std::cos(rad) * speed), static_cast<float>(std::sin(rad) * speed),
                    speed, f.angle, 0, 0, f.speedAccel, f.angleAccel, f.driftX, f.driftY, 0, f.lifetime};
        auto spawn = bullet ? SpawnEnemyBullet : SpawnPlayerShot;
        spawn(900.0f, 240.0f, f.speed, f.angle, f.speedAccel, f.driftX, f.driftY, f.angleAccel, 10001, 5, 0,
              f.lifetime);
        ShotRecord& r = bullet ? pools.enemyBullets[0] : pools.playerShots[0];
        for (int frame = 1; r.head.state == kActorActive; ++frame) {
          bullet ? UpdateEnemyBullet(r) : UpdatePlayerShot(r);
          ref.Step();
          ASSERT_EQ(r.head.x, ref.x) << "level " << level << " frame " << frame;
          ASSERT_EQ(r.head.y, ref.y) << "level " << level << " frame " << frame;
          // Freed exactly when it leaves the screen (scroll 640, sprite 32: half 16).
          const bool off = ref.x < 640 - 48 || ref.x > 640 + 640 + 48 || ref.y < -16 || ref.y > 496;
          ASSERT_EQ(r.head.state == kActorFree, off) << "frame " << frame;
          ASSERT_LT(frame, 2000);
        }
      }
    }
  }
}

TEST_F(ShotsTest, EndOfLifeRulesAndTypeLooks) {
  struct Case {
    bool bullet;
    int type;
    float accel;
    bool endsAfterLifetime;
  };
  const Case cases[] = {{true, 11300, 0.0f, true},    {true, 11100, 0.3f, true},  {true, 10300, -0.7f, false},
                        {false, 11300, -0.5f, true},  {false, 11300, 0.0f, false}, {false, 11100, -0.4f, true},
                        {false, 10300, -0.7f, true},  {false, 10455, -0.11f, true}, {false, 10455, -0.1f, false}};
  for (const Case& c : cases) {
    ResetPools();
    (c.bullet ? SpawnEnemyBullet : SpawnPlayerShot)(900, 240, 0.0f, 0, c.accel, 0, 0, 0, c.type, 1, 0, 20);
    ShotRecord& r = c.bullet ? pools.enemyBullets[0] : pools.playerShots[0];
    r.head.speed = 0.0f;
    r.speedAccel = c.accel;  // keep it still: only the rule may end it
    for (int i = 0; i < 20; ++i) c.bullet ? UpdateEnemyBullet(r) : UpdatePlayerShot(r);
    EXPECT_EQ(r.head.state, kActorActive) << c.type;
    r.head.speed = 0.0f;
    c.bullet ? UpdateEnemyBullet(r) : UpdatePlayerShot(r);
    EXPECT_EQ(r.head.state == kActorFree, c.endsAfterLifetime) << c.type << " accel " << c.accel;
  }
  // Looks: a player shot of 11402 shows frames 8..11; bullets take the damage column.
  ResetPools();
  SpawnPlayerShot(900, 240, 1, 0, 0, 0, 0, 0, 11402, 7, 0, 10);
  const ShotRecord& s = pools.playerShots[0];
  EXPECT_EQ(s.damage, 10);
  EXPECT_EQ(s.damageClass, 1);
  for (int f = 0; f < 16; ++f) EXPECT_EQ(ShotDrawFrame(s, f), 8 + f / 4);
  SpawnEnemyBullet(900, 240, 1, 0, 0, 0, 0, 0, 11150, 7, 0, 10);
  EXPECT_EQ(pools.enemyBullets[0].damage, 30);
  EXPECT_EQ(pools.enemyBullets[0].head.framePeriod, 1);
  // Fades by the frames left: 32 per frame for 11300, 8 for 11100.
  SpawnPlayerShot(900, 240, 1, 0, -0.5f, 0, 0, 0, 11300, 7, 0, 10);
  pools.playerShots[1].age = 9;
  EXPECT_EQ(PlanShotDraw(pools.playerShots[1], false).blendParameter, 31);
  pools.playerShots[1].speedAccel = 0.0f;
  EXPECT_EQ(PlanShotDraw(pools.playerShots[1], false).blendParameter, 255);
  pools.playerShots[1].typeCode = 11100;
  EXPECT_EQ(PlanShotDraw(pools.playerShots[1], true).blendParameter, 7);
  EXPECT_EQ(PlanShotDraw(pools.playerShots[0], true).angle, 180.0f);
  ResetPools();
  SpawnPlayerShot(900, 240, 1, 0, 0, 0, 0, 0, 9999, 7, 0, 10);  // unknown type: no picture
  EXPECT_EQ(pools.playerShots[0].head.images, nullptr);
}

TEST_F(ShotsTest, RingsSkipTheirLastRecordAndWrap) {
  for (int i = 0; i < 300; ++i) SpawnPlayerShot(900, 240, 0, 0, 0, 0, 0, 0, 10000, 1, 0, i);
  int live = 0;
  for (const ShotRecord& s : pools.playerShots) live += s.head.state == kActorActive;
  EXPECT_EQ(live, 255);
  EXPECT_EQ(pools.playerShots[255].head.state, kActorFree);
  EXPECT_EQ(pools.playerShots[0].lifetime, 255);  // the 256th overwrote record 0
  for (int i = 0; i < 1100; ++i) SpawnEnemyBullet(900, 240, 0, 0, 0, 0, 0, 0, 10000, 1, 0, i);
  EXPECT_EQ(pools.enemyBullets[511].head.state, kActorFree);
  EXPECT_EQ(pools.enemyBullets[0].lifetime, 1022);
  EXPECT_EQ(pools.EnemyBulletRing, 1100 % 511);
}

std::vector<VolleyBullet> Emit(const VolleyShape& s) {
  std::vector<VolleyBullet> out;
  EmitVolley(s, [](const VolleyBullet& b, void* c) { static_cast<std::vector<VolleyBullet>*>(c)->push_back(b); },
             &out);
  return out;
}

std::vector<float> Angles(const std::vector<VolleyBullet>& v) {
  std::vector<float> a;
  for (const VolleyBullet& b : v) a.push_back(b.angle);
  return a;
}

TEST_F(ShotsTest, VolleyWorkedExamples) {
  EXPECT_EQ(Angles(Emit({1, 5, 360, 1, 0, 0, 0, 3, 180})), (std::vector<float>{36, 108, 180, 252, 324}));
  EXPECT_EQ(Angles(Emit({1, 3, 60, 1, 0, 0, 0, 3, 180})), (std::vector<float>{150, 180, 210}));
  const std::vector<float> ring = Angles(Emit({1, 8, 360, 1, 0, 0, 0, 3, 0}));
  ASSERT_EQ(ring.size(), 8u);
  for (int i = 1; i < 8; ++i) EXPECT_FLOAT_EQ(ring[i] - ring[i - 1], 45.0f);
  EXPECT_EQ(Angles(Emit({41, 1, 0, 45, 0, 0, 0, 3, 100})), std::vector<float>{90});
  EXPECT_EQ(Angles(Emit({41, 1, 0, 45, 0, 0, 0, 3, -100})), std::vector<float>{-90});
  EXPECT_EQ(Angles(Emit({41, 1, 0, 0, 0, 0, 0, 3, -100})), std::vector<float>{-100});  // rows 0: unsnapped
  const auto rows = Emit({31, 1, 0, 2, 10, 50, 60, 3, 0});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].x, 50.0f);
  EXPECT_EQ(rows[0].y, 65.0f);
  EXPECT_EQ(rows[1].y, 55.0f);
  const auto slower = Emit({11, 2, 10, 3, 0.2f, 0, 0, 5, 0});
  ASSERT_EQ(slower.size(), 6u);
  EXPECT_FLOAT_EQ(slower[2].speed, 4.0f);
  EXPECT_FLOAT_EQ(slower[5].speed, 3.0f);
  EXPECT_TRUE(Emit({5, 3, 10, 1, 1, 0, 0, 1, 0}).empty());
  EXPECT_TRUE(Emit({1, 0, 10, 1, 1, 0, 0, 1, 0}).empty());
}

TEST_F(ShotsTest, RandomSpraysDrawDirectionThenSpeed) {
  // Kind 3: count bullets; kind 13: one draw per volley, rows slower behind;
  // kind 21: one jitter draw per bullet; a spread below 0 counts as m = 1.
  SeedRand(77);
  std::vector<VolleyBullet> expected;
  for (int i = 0; i < 4; ++i) {
    const float a = static_cast<float>(Rand() % 31) + 90.0f - 15.0f;
    const float f = static_cast<float>(Rand() % 41 + 80) / 100.0f;
    expected.push_back({10, 20, f * 4.0f, a});
  }
  for (int i = 0; i < 2; ++i) {
    const float a = static_cast<float>(Rand() % 11) + 0.0f - 5.0f;
    const float f = static_cast<float>(Rand() % 41 + 80) / 100.0f;
    for (int r = 0; r < 2; ++r) expected.push_back({10, 20, (1 - r * 0.5f) * f * 2.0f, a});
  }
  for (int i = 0; i < 3; ++i) {
    const float a = -10.0f + 10.0f * i + static_cast<float>(Rand() % 11 - 5) * 3.0f / 10;
    expected.push_back({10, 20, 1.0f, a});
  }
  Rand();  // direction: m = 1 leaves only 0
  const float f = static_cast<float>(Rand() % 41 + 80) / 100.0f;
  expected.push_back({10, 20, f, 7.0f + 2.5f});
  SeedRand(77);
  std::vector<VolleyBullet> got = Emit({3, 4, 30, 1, 0, 10, 20, 4, 90});
  for (const auto& b : Emit({13, 2, 10, 2, 0.5f, 10, 20, 2, 0})) got.push_back(b);
  for (const auto& b : Emit({21, 3, 20, 3, 0, 10, 20, 1, 0})) got.push_back(b);
  for (const auto& b : Emit({4, 1, -5, 1, 0, 10, 20, 1, 7})) got.push_back(b);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].angle, expected[i].angle) << i;
    EXPECT_EQ(got[i].speed, expected[i].speed) << i;
  }
}

TEST_F(ShotsTest, FollowUpsFireOnTheirLifetimeFrameAndNeverChain) {
  pools.players[0].head.x = 700.0f;
  pools.players[0].head.y = 400.0f;
  EXPECT_FLOAT_EQ(GetAngleToPlayer(700.0f, 100.0f, 0), static_cast<float>(std::atan(300 * 10000000.0)));
  EXPECT_EQ(GetAngleToPlayer(800.0f, 400.0f, 0), 3.14159f);
  EXPECT_GT(GetAngleToPlayer(800.0f, 399.0f, 0), 3.0f);  // slightly above: just below pi
  EXPECT_LT(GetAngleToPlayer(800.0f, 401.0f, 0), -3.0f);

  game.DifficultyLevel = 2;
  // A bullet leaving the screen on its lifetime frame still releases a ring of 8.
  SetShotChildSpec(NextEnemyBullet(), 1, 8, 360, 2.0f, 0, 0, 0, 0, 0, 40, 10100, 1, 1);
  SpawnEnemyBullet(700.0f, 0.0f, 10.0f, -90.0f, 0, 0, 0, 0, 10000, 9, 1, 2);
  ShotRecord& parent = pools.enemyBullets[0];
  UpdateEnemyBullet(parent);
  EXPECT_EQ(pools.EnemyBulletRing, 1);
  UpdateEnemyBullet(parent);  // y = -26: off the top on frame 2
  EXPECT_EQ(pools.EnemyBulletRing, 9);
  EXPECT_EQ(parent.head.state, kActorFree);
  for (int i = 1; i <= 8; ++i) {
    const ShotRecord& c = pools.enemyBullets[i];
    EXPECT_EQ(c.head.state, kActorActive);
    EXPECT_EQ(c.head.y, parent.head.y);
    EXPECT_EQ(c.head.speed, 2.0f * 1.3f);
    EXPECT_EQ(c.damage, 20);  // type 10100's bullet damage
    EXPECT_EQ(c.damageClass, 1);
    EXPECT_EQ(c.child.patternKind, 0);
    if (i > 1) {
      EXPECT_FLOAT_EQ(c.angle - pools.enemyBullets[i - 1].angle, 45.0f);
    }
  }
  // An aimed follow-up aims at player 1; children run out their lifetime silently.
  SetShotChildSpec(NextEnemyBullet(), 2, 1, 0, 1.0f, 0, 0, 0, 0, 0, 3, 10000, 1, 1);
  SpawnEnemyBullet(700.0f, 300.0f, 0.0f, 0.0f, 0, 0, 0, 0, 10000, 9, 1, 1);
  UpdateEnemyBullet(pools.enemyBullets[9]);
  EXPECT_NEAR(pools.enemyBullets[10].angle, 90.0f, 1e-3);
  for (int i = 0; i < 5; ++i) UpdateEnemyBullet(pools.enemyBullets[10]);
  EXPECT_EQ(pools.EnemyBulletRing, 11);
  // A volley that wraps the ring onto its parent's record keeps that child.
  ResetPools();
  SetShotChildSpec(NextEnemyBullet(), 1, 511, 360, 1.0f, 0, 0, 0, 0, 0, 40, 10000, 1, 1);
  SpawnEnemyBullet(700.0f, 300.0f, 0.0f, 0.0f, 0, 0, 0, 0, 10000, 9, 1, 1);
  UpdateEnemyBullet(pools.enemyBullets[0]);
  EXPECT_EQ(pools.enemyBullets[0].head.state, kActorActive);
  EXPECT_EQ(pools.enemyBullets[0].child.patternKind, 0);
}

}  // namespace
}  // namespace orb::test
