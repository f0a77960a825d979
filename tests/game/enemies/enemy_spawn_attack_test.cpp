// Spawners worked by hand, attack timetables computed here from the three
// modulus conditions, and the emitter against its worked examples and a
// reference written from the pattern table (the game's rand as oracle).
#include <cmath>
#include <random>

#include "enemy_test_support.h"
#include "game/world/asset_table.h"
#include "game/world/crt_rand.h"
#include "game/world/map_collision.h"

namespace orb::test {
namespace {

using EnemySpawn = EnemyTest;
using EnemyAttack = EnemyTest;
using EnemyEmitter = EnemyTest;

void Spawn(float x, float y, int32_t kind, float vx = 0, float ax = 0, int32_t mode = 0, float maxX = 0,
           int32_t hp = 10, int32_t wave = 0, int32_t variant = 0) {
  SpawnEnemy(x, y, kind, variant, 1, mode, hp, 0, vx, 0, maxX, 0, ax, 0, 0, 0, 0, 0, wave, 0, 0);
}

TEST_F(EnemySpawn, CentreFacingAndImmediateStarts) {
  pools.players[0].head.x = 0;  // player 1 on the left of every spawn
  Spawn(100, 200, 8, 2.0f, 0.1f);
  EnemyRecord& a = pools.enemies[1];
  EXPECT_EQ(pools.EnemyRingIndex, 1);
  EXPECT_FLOAT_EQ(a.head.x, 111);
  EXPECT_FLOAT_EQ(a.head.y, 211);  // the hitbox width on both axes
  EXPECT_FLOAT_EQ(a.motion.velocityX, -2.0f);
  EXPECT_FLOAT_EQ(a.motion.accelX, -0.1f);
  EXPECT_EQ(a.head.state, kEnemyWaiting);
  Spawn(100, 200, 8, 2.0f, 0.1f, 33);
  EXPECT_FLOAT_EQ(pools.enemies[2].motion.velocityX, 2.0f);
  EXPECT_FLOAT_EQ(pools.enemies[2].motion.accelX, 0.1f);
  pools.players[0].head.x = 5000;
  Spawn(100, 200, 8, -2.0f, 0.1f);
  EXPECT_FLOAT_EQ(pools.enemies[3].motion.accelX, -0.1f);

  Spawn(100, 200, 0);
  Spawn(100, 200, 48);
  EXPECT_EQ(pools.EnemyRingIndex, 3);

  Spawn(9000, 200, 8, 0, 0, 0, 111.1f);
  EXPECT_EQ(pools.enemies[4].head.state, kActorActive);
  Spawn(9000, 200, 38, 0, 0, 0, 0, 1111);
  EXPECT_EQ(pools.enemies[5].head.state, kActorActive);
  EXPECT_EQ(pools.enemies[5].fadeCounter, 16);
  Spawn(9000, 200, 19, 0, 0, 0, 0, 10, 1);
  EXPECT_EQ(pools.enemies[6].timer, 130);
  EXPECT_EQ(pools.enemies[6].head.state, kActorActive);

  // Touch damage by variant, and a variant beyond the sheets draws nothing.
  Spawn(0, 0, 1, 0, 0, 0, 0, 10, 0, 5);
  EXPECT_EQ(LastEnemy().touchDamage, 35);
  EXPECT_EQ(LastEnemy().damageFactors[2], 0.0f);
  Spawn(0, 0, 1, 0, 0, 0, 0, 10, 0, 9);
  EXPECT_EQ(LastEnemy().head.images, nullptr);
  Spawn(0, 0, 1, 0, 0, 0, 0, 10, 0, 8);
  EXPECT_EQ(LastEnemy().head.images, assets.grKedama9);
}

TEST_F(EnemySpawn, RingSkipsLiveSlotsAndNeverUses127) {
  for (int i = 1; i <= 126; ++i) Spawn(0, 0, 2);
  EXPECT_EQ(pools.EnemyRingIndex, 126);
  Spawn(0, 0, 2);
  EXPECT_EQ(pools.EnemyRingIndex, 0);
  pools.enemies[40].head.state = kActorFree;
  Spawn(0, 0, 2);  // the only free slot
  EXPECT_EQ(pools.EnemyRingIndex, 40);
  Spawn(0, 0, 2);  // all live: the next one is overwritten
  EXPECT_EQ(pools.EnemyRingIndex, 41);
  EXPECT_EQ(pools.enemies[127].head.state, kActorFree);

  // A boss in slot 1 outlives a stage's worth of minions that come and go.
  ResetPools();
  Spawn(0, 0, 29, 0, 0, 0, 0, 5000);
  std::mt19937 pick(5);
  for (int i = 0; i < 300; ++i) {
    Spawn(0, 0, 2);
    if (pick() % 3 != 0) LastEnemy().head.state = kActorFree;
    ASSERT_NE(pools.EnemyRingIndex, 1);
  }
  EXPECT_EQ(pools.enemies[1].kind, 29);
  EXPECT_EQ(pools.enemies[1].hitPoints, 5000);
}

TEST_F(EnemySpawn, AReusedSlotCarriesNoAttack) {
  EnemyRecord& e = Flier(300, 200);
  SetEnemyAttackSlot(e, 1, 3, 30, 10, 10, 10, 10, 1, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
  e.head.state = kActorFree;
  for (int i = 0; i < 126; ++i) {
    Spawn(0, 0, 2);
    LastEnemy().head.state = kActorFree;
  }
  EnemyRecord& again = Flier(300, 200, 10000);  // slot 1 again, no setter follows
  ASSERT_EQ(&again, &e);
  const auto shots = Fired([&] {
    for (int t = 0; t < 100; ++t) RunEnemyAI(again);
  });
  EXPECT_TRUE(shots.empty());
}

// Whether a counter value fires under a timetable, straight from the rules.
bool Fires(int64_t c, int windowLength, int windowCycle, int burstLength, int burstCycle, int interval) {
  return c % windowCycle < windowLength && c % burstCycle < burstLength && c % interval == 0;
}

TEST_F(EnemyAttack, VolleysFollowTheModulusScheduleForRandomTimetables) {
  std::mt19937 gen(11);
  for (int round = 0; round < 40; ++round) {
    ResetPools();
    const int wc = 1 + gen() % 60, wl = gen() % (wc + 1), bc = 1 + gen() % 30, bl = 1 + gen() % bc;
    const int iv = 1 + gen() % 6, start = gen() % 40;
    EnemyRecord& e = Flier(300, 200);
    SetEnemyAttackSlot(e, 1, 1, 0, wl, wc, bl, bc, iv, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 60, start);
    for (int frame = 1; frame <= 1000; ++frame) {
      const auto shots = Fired([&] { RunEnemyAI(e); });
      const int64_t c = frame - std::max(start, 1);  // counted frames before this one
      const bool expected = frame >= start && Fires(c, wl, wc, bl, bc, iv);
      ASSERT_EQ(shots.size(), expected ? 1u : 0u) << "round " << round << " frame " << frame;
    }
  }

  // The fixed timetable of the two-slot setter: fans of 4 from timer 200.
  ResetPools();
  EnemyRecord& e = Flier(300, 200);
  AttackSlotsValues v{};
  v.speed = 2;
  SetEnemyAttackSlots(e, v);
  std::vector<int> counters;
  for (int frame = 1; frame <= 310; ++frame) {
    const auto shots = Fired([&] { RunEnemyAI(e); });
    if (!shots.empty()) {
      EXPECT_EQ(shots.size(), 4u);
      counters.push_back(frame - 200);
    }
  }
  EXPECT_EQ(counters, (std::vector<int>{0, 2, 4, 6, 8, 20, 22, 24, 26, 28, 40, 42, 44, 46, 48, 100, 102, 104, 106,
                                        108}));
}

TEST_F(EnemyAttack, AimAtBurstStartsSpeedStepsAndStaggeredWaves) {
  EnemyRecord& e = Flier(300, 200);
  SetEnemyAttackSlot(e, 1, 1, 0, 100, 100, 10, 100, 1, 1, 0, -1.0f, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
  float expected = 0;
  for (int frame = 1; frame <= 10; ++frame) {
    pools.players[0].head.x = 300 + 10.0f * frame;  // the target moves every frame
    pools.players[0].head.y = 300;
    if (frame == 1) expected = static_cast<float>(std::atan2(100.0, 10.0) * 180 / M_PI);
    const auto shots = Fired([&] { RunEnemyAI(e); });
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_NEAR(shots[0].angle, expected, 0.01) << frame;  // kept from the burst start
  }

  ResetPools();
  EnemyRecord& s = Flier(300, 200);
  SetEnemyAttackSlot(s, 1, 1, 0, 100, 100, 10, 10, 2, 1, 0, 0.5f, 4.0f, 0, 0, 0, 0, 0, 0, 0, 60, 0);
  std::vector<float> speeds;
  for (int frame = 1; frame <= 12; ++frame) {
    for (const ShotRecord& b : Fired([&] { RunEnemyAI(s); })) speeds.push_back(b.head.speed);
  }
  EXPECT_EQ(speeds, (std::vector<float>{4, 6, 8, 10, 12, 4}));
  EXPECT_FLOAT_EQ(s.slotA.angle.value, 180.0f);

  // Three enemies of one wave: the same timetable 17 frames apart.
  ResetPools();
  std::vector<std::vector<int>> fired(4);
  for (int k = 1; k <= 3; ++k) {
    SpawnEnemy(300, 200, 8, 0, 1, 0, 10, 0, 0, 0, 0, 50.0f, 0, 0, 0, 0, 0, 0, 0, 0, 10000);
    SetLastEnemyAttackSlot(3, 1, 1, 0, 20, 999, 6, 12, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
    LastEnemy().head.state = kActorActive;
  }
  for (int frame = 1; frame <= 300; ++frame) {
    for (int k = 1; k <= 3; ++k) {
      if (!Fired([&] { RunEnemyAttackStaggered(pools.enemies[k]); pools.enemies[k].slotA.shotCounter.value++; })
               .empty()) {
        fired[k].push_back(frame);
      }
    }
  }
  for (int k = 1; k <= 3; ++k) {
    std::vector<int> expect;
    for (int frame = 1; frame <= 300; ++frame) {
      if (Fires(17 * k + frame - 1, 20, 50, 6, 12, 3)) expect.push_back(frame);
    }
    EXPECT_EQ(fired[k], expect) << "slot " << k;
  }
}

TEST_F(EnemyAttack, ATimetableBelowOneNeitherFiresNorDivides) {
  EnemyRecord& e = Flier(300, 200);
  for (int field = 0; field < 4; ++field) {
    SetEnemyAttackSlot(e, 1, 1, 0, 5, field == 0 ? 0 : 10, field == 1 ? 0 : 5, field == 2 ? -3 : 10,
                       field == 3 ? 0 : 1, 1, 0, 1.0f, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
    EXPECT_TRUE(Fired([&] { for (int t = 0; t < 20; ++t) RunEnemyAI(e); }).empty());
  }
  e.motion.maxSpeedY = 0.5f;  // the staggered window cycle truncates to 0
  SetEnemyAttackSlot(e, 1, 1, 0, 5, 10, 5, 10, 1, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
  EXPECT_TRUE(Fired([&] { RunEnemyAttackStaggered(e); }).empty());
  e.mode = 32;  // L and M modes idle without a cycle
  EXPECT_TRUE(Fired([&] { RunEnemyAI(e); }).empty());
}

std::vector<ShotRecord> Pattern(EnemyRecord& e, int kind, int count, float spread, float rows, float rowStep,
                                float mode, float speed, float angle, float aim = 0, float step = 0) {
  return EnemyTest::Fired([&] {
    FireEnemyBulletPattern(e, 100, 100, kind, count, spread, rows, rowStep, mode, aim, step, speed, angle, 0, 0, 0,
                           0, 60, 10000, 30);
  });
}

std::vector<float> Angles(const std::vector<ShotRecord>& v) {
  std::vector<float> a;
  for (const ShotRecord& b : v) a.push_back(b.angle);
  return a;
}

TEST_F(EnemyEmitter, WorkedExamplesAndLimitCodes) {
  EnemyRecord& e = Flier(300, 200);
  EXPECT_EQ(Angles(Pattern(e, 1, 5, 360, 1, 0, 0, 2, 180)), (std::vector<float>{36, 108, 180, 252, 324}));
  EXPECT_EQ(Angles(Pattern(e, 1, 3, 60, 1, 0, 0, 2, 180)), (std::vector<float>{150, 180, 210}));
  pools.players[0].head.x = 100;
  pools.players[0].head.y = 300;  // straight below the muzzle
  EXPECT_NEAR(Pattern(e, 2, 1, 0, 1, 0, 0, 2, 0)[0].angle, 90, 1e-3);
  const auto limited = Pattern(e, 12, 1, 0, 2, 2000.5f, 0, 4, 0);
  ASSERT_EQ(limited.size(), 2u);
  EXPECT_EQ(limited[0].angle, 180);
  EXPECT_FLOAT_EQ(limited[1].head.speed, 2);  // the row step used is 0.5
  pools.players[0].head.x = 100 + 100 * std::cos(M_PI / 6);
  pools.players[0].head.y = 100 + 100 * std::sin(M_PI / 6);
  EXPECT_EQ(Pattern(e, 2, 1, 0, 1, 1000.5f, 0, 2, 0)[0].angle, 135);
  EXPECT_EQ(Pattern(e, 1, 1, 0, 1, 3000.5f, 0, 2, -30)[0].angle, 0);
  EXPECT_EQ(Pattern(e, 1, 1, 0, 1, 3000.5f, 0, 2, -100)[0].angle, -180);
  EXPECT_EQ(Pattern(e, 1, 1, 0, 1, 2000.5f, -1, 2, 0, 45)[0].angle, 45);  // aimed mode: no limit

  std::vector<float> speeds;
  for (const ShotRecord& b : Pattern(e, 11, 1, 0, 3, 0.2f, 0, 5, 0)) speeds.push_back(b.head.speed);
  EXPECT_EQ(speeds, (std::vector<float>{5, 4, 3}));
  EXPECT_EQ(Pattern(e, 41, 1, 0, 45, 0, 0, 2, 100)[0].angle, 90);
  EXPECT_EQ(Pattern(e, 41, 1, 0, 45, 0, 0, 2, -100)[0].angle, -90);
  const auto rows = Pattern(e, 31, 1, 0, 2, 10, 0, 2, 0);
  EXPECT_FLOAT_EQ(rows[0].head.y, 105);
  EXPECT_FLOAT_EQ(rows[1].head.y, 95);
  EXPECT_FLOAT_EQ(Pattern(e, 1, 2, 10, 1, 0, 0.5f, 3, 0, 0, 2.0f)[1].head.speed, 5);
}

struct RefBullet {
  float x, y, speed, angle;
};

// The pattern table, written out plainly with its own rand draws.
std::vector<RefBullet> Reference(int kind, int n, float spread, float rows, float rowStep, float v, float a) {
  std::vector<RefBullet> out;
  auto fan = [&](int i) {
    if (n == 1) return a;
    const float s = spread == 360.0f ? 360.0f * (n - 1) / n : spread;
    return a - s / 2 + s * i / (n - 1);
  };
  auto side = [&](float speed, float dir, int r) {
    const double d = (r - (rows - 1) * 0.5) * rowStep, t = dir * 3.14159f / 180.0;
    out.push_back({static_cast<float>(100 + std::sin(t) * d), static_cast<float>(100 - std::cos(t) * d), speed, dir});
  };
  const int family = kind / 10;
  if (kind % 2 == 1 && kind % 10 != 3) {
    for (int r = 0; r < (family == 1 || family == 3 ? rows : 1); ++r) {
      for (int i = 0; i < n; ++i) {
        float dir = fan(i);
        if (family == 2) dir += (Rand() % 11 - 5) * rows / 10;
        if (family == 4) dir = static_cast<int>(dir / rows + (a >= 0 ? 0.5f : -0.5f)) * rows;
        if (family == 3) side(v, dir, r);
        else out.push_back({100, 100, family == 1 ? (1 - r * rowStep) * v : v, dir});
      }
    }
  } else {
    const int m = static_cast<int>(spread + 1.0);
    for (int i = 0; i < n; ++i) {
      const float dir = Rand() % m + a - spread / 2;
      const float f = (Rand() % 41 + 80) / 100.0f;
      for (int r = 0; r < (family == 0 ? 1 : rows); ++r) {
        if (family == 3) side(f * v, dir, r);
        else out.push_back({100, 100, family == 1 ? (1 - r * rowStep) * f * v : f * v, dir});
      }
    }
  }
  return out;
}

TEST_F(EnemyEmitter, EveryKindAgreesWithTheTable) {
  EnemyRecord& e = Flier(300, 200);
  for (int kind : {1, 3, 11, 13, 21, 31, 33, 41}) {
    for (int n : {1, 3, 4}) {
      SeedRand(1000 + kind * 7 + n);
      const auto got = Pattern(e, kind, n, 40, 3, 0.25f, 0, 4, 30);
      SeedRand(1000 + kind * 7 + n);
      const auto want = Reference(kind, n, 40, 3, 0.25f, 4, 30);
      ASSERT_EQ(got.size(), want.size()) << kind;
      for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].head.x, want[i].x, 1e-3) << kind;
        EXPECT_NEAR(got[i].head.y, want[i].y, 1e-3) << kind;
        EXPECT_FLOAT_EQ(got[i].head.speed, want[i].speed) << kind;
        EXPECT_FLOAT_EQ(got[i].angle, want[i].angle) << kind;
      }
    }
  }
  EXPECT_TRUE(Pattern(e, 5, 3, 40, 1, 0, 0, 4, 30).empty());

  // Every bullet carries the enemy's follow-up pattern; its third family value stays home.
  SetLastEnemyAttackSlots(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 5, 0, 77, 3, 0.5f, 9, 0, 10, 0, 0, 0, 0, 0, 0, 0,
                          10100);
  EXPECT_EQ(e.slotB.familyValue3.value, 9);
  const auto b = Pattern(e, 1, 2, 10, 1, 0, 0, 2, 0);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[1].child.patternKind, 2);
  EXPECT_EQ(b[1].child.count, 5);
  EXPECT_EQ(b[1].child.baseAngle, 190);
  EXPECT_EQ(b[1].child.layers, 3);
  EXPECT_EQ(b[1].child.childTypeCode, 10100);
}

}  // namespace
}  // namespace orb::test
