// Shared by the tests of the later bosses: a boss room (floor, walls, the
// camera on the room, player 1 standing in it), the boss spawned with its
// room's values, and a frame-by-frame log of a run: what the boss fired by
// type code, the follow-up pattern each bullet carries, the bursts, jumps,
// hanging frames and x-speed changes.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "game/crt_rand.h"
#include "game/enemies.h"
#include "game/game_state.h"
#include "game/pools.h"
#include "game/scenes.h"
#include "game/shots.h"
#include "game/tile_map.h"
#include "game/world_hooks.h"
#include "game_test_support.h"

namespace orb::test {

using CodeCounts = std::map<int32_t, int32_t>;

struct FiredBullet {
  int32_t typeCode;
  int32_t lifetime;
  ShotChildSpec child;
};

struct BossFrame {
  int32_t timer = 0;  // the boss's timer after the frame
  CodeCounts fired;   // by the boss's own block
  std::vector<FiredBullet> bullets;
  CodeCounts born;  // follow-up bullets released this frame
  std::vector<EnemyRecord> spawned;  // enemies the block spawned, as spawned
  bool jumped = false;
  bool hanging = false;  // both speeds and the gravity 0
  float speedX = 0.0f;   // size of the x speed after the frame
  int32_t childCode = 0; // the follow-up type code in attack slot B
};

// The boss rooms as their routines build them.
struct BossRoom {
  int32_t stage, kind;
  float y;
  int32_t hitPointsEasy, hitPoints;
  float gravity;
};
constexpr BossRoom kRoom101{101, 34, 345.6f, 4300, 4500, 0.7f};
constexpr BossRoom kRoom119{119, 35, 313.6f, 3900, 4500, 0.7f};
constexpr BossRoom kRoom136{136, 36, 313.6f, 4300, 5000, 0.2f};
constexpr BossRoom kRoom146{146, 37, 153.6f, 4500, 6000, 0.05f};
constexpr BossRoom kRoom149{149, 45, 345.6f, 4800, 6000, 0.3f};

class BossTimeline : public ::testing::Test {
 public:
  void SetUp() override { ResetGameModules(); }

  // A 640-pixel room: floor at y 448, walls just outside the screen.
  static void BuildRoom(const BossRoom& room, int32_t difficulty) {
    ResetGameModules();
    game.DifficultyLevel = static_cast<uint8_t>(difficulty);
    game.CurrentStage = room.stage;
    game.links.leftBound = 640.0f;
    game.links.rightBound = 640.0f;
    game.CameraScrollX = 640.0f;
    game.OnFieldMode = 0;
    for (int c = 0; c < kTileColumns; ++c) tiles.TileMap[14][c] = kTileSolid;
    for (int r = 0; r < kTileRows; ++r) {
      tiles.TileMap[r][19] = kTileSolid;
      tiles.TileMap[r][40] = kTileSolid;
    }
    pools.players[0].head.x = 800.0f;
    pools.players[0].head.y = 420.0f;
    pools.players[0].head.state = kActorActive;
  }

  static void SpawnRoomBoss(const BossRoom& room) {
    const int32_t hp = game.DifficultyLevel == 0 ? room.hitPointsEasy : room.hitPoints;
    SpawnEnemy(1088.0f, room.y, room.kind, 0, 6, 1, hp, 1, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, room.gravity, 0.0f,
               0.0f, 0.0f, 0.0f, 0, 3, 0);
    if (room.stage == 146) {
      SpawnEnemy(1056.0f, 99.2f, 38, 0, 2, 51, 1111, 0, 0.0f, 0.0f, 60.0f, 17.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                 0.0f, 0, 3, 0);
    }
  }

  // Runs the room for the given frames: enemies (the boss first, alone, so
  // that what it fires is told apart), then the bullets. The boss bar shows
  // a full or a hard (under a third) value throughout.
  static std::vector<BossFrame> Run(const BossRoom& room, int32_t difficulty, bool hard, int32_t frames) {
    BuildRoom(room, difficulty);
    SpawnRoomBoss(room);
    EnemyRecord& boss = pools.enemies[1];
    std::vector<BossFrame> log;
    for (int32_t f = 0; f < frames; ++f) {
      ++game.PlayFrameCount;
      scenes.BossFullHp = 100;
      scenes.BossShownHp = hard ? 10 : 100;
      BossFrame out;
      const uint8_t wasAirborne = boss.airborne;
      const int32_t ring = pools.EnemyBulletRing;
      const int32_t enemyRing = pools.EnemyRingIndex;
      UpdateEnemy(boss);
      for (int32_t i = ring; i != pools.EnemyBulletRing; i = (i + 1) % 511) {
        const ShotRecord& b = pools.enemyBullets[i];
        out.fired[b.typeCode] += 1;
        out.bullets.push_back({b.typeCode, b.lifetime, b.child});
      }
      // At most one spawn a frame; the ring skips live slots.
      if (pools.EnemyRingIndex != enemyRing) out.spawned.push_back(pools.enemies[pools.EnemyRingIndex]);
      for (int i = 2; i < kEnemyCount; ++i) {
        const uint8_t s = pools.enemies[i].head.state;
        if (s == kEnemyWaiting || s == kActorActive || s == kEnemyLeaving) UpdateEnemy(pools.enemies[i]);
      }
      const int32_t before = pools.EnemyBulletRing;
      for (ShotRecord& b : pools.enemyBullets) {
        if (b.head.state == kActorActive) UpdateEnemyBullet(b);
      }
      for (int32_t i = before; i != pools.EnemyBulletRing; i = (i + 1) % 511) {
        out.born[pools.enemyBullets[i].typeCode] += 1;
      }
      out.timer = boss.timer;
      out.jumped = wasAirborne == 0 && boss.airborne == 1;
      out.hanging = boss.motion.velocityX == 0.0f && boss.motion.velocityY == 0.0f && boss.motion.accelY == 0.0f;
      out.speedX = std::fabs(boss.motion.velocityX);
      out.childCode = boss.slotB.typeCode.value;
      log.push_back(out);
    }
    return log;
  }

  // The attack cycle of a logged frame; -1 in the intro.
  static int32_t Cycle(const BossFrame& f) { return f.timer < 200 ? -1 : (f.timer - 200) % 1000; }

  static int32_t Excess(int32_t d) { return d > 1 ? d - 1 : 0; }

  // Every release of follow-up bullets falls on a frame where a bullet the
  // boss fired reaches its acceleration time (its age counts from 1 in the
  // frame it is fired), and releases that bullet's follow-up type code.
  static void ExpectBurstsOnSchedule(const std::vector<BossFrame>& log) {
    std::map<size_t, std::map<int32_t, bool>> due;
    for (size_t f = 0; f < log.size(); ++f) {
      for (const FiredBullet& b : log[f].bullets) {
        if (b.child.patternKind != 0 && b.lifetime >= 1) due[f + static_cast<size_t>(b.lifetime) - 1][b.child.childTypeCode] = true;
      }
    }
    for (size_t f = 0; f < log.size(); ++f) {
      for (const auto& [code, n] : log[f].born) {
        EXPECT_TRUE(due.count(f) && due[f].count(code)) << "frame " << f << " released " << n << " of " << code;
      }
    }
  }

  // The game's generator, replayed on the test side.
  struct CrtRand {
    uint32_t state = 1;
    int32_t Next() {
      state = state * 214013u + 2531011u;
      return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
  };
};

inline void Add(CodeCounts& x, int32_t code, int32_t n) {
  if (n > 0) x[code] += n;
}

inline bool Near(float a, float b) { return std::fabs(a - b) < 1e-3f; }

// Fired codes, jumps, hanging and the x speed of a whole run against the
// schedule; the x speed follows `speed`, which gets the previous expected
// value and returns the new one.
template <class Fired, class Speed>
void ExpectTimeline(const std::vector<BossFrame>& log, Fired fired, const std::vector<int32_t>& jumps, int32_t hangFrom,
                    int32_t hangTo, Speed speed) {
  float v = 0.0f;
  for (size_t f = 0; f < log.size(); ++f) {
    const BossFrame& fr = log[f];
    const int32_t c = BossTimeline::Cycle(fr);
    SCOPED_TRACE(testing::Message() << "frame " << f << " cycle " << c);
    if (c < 0) {
      EXPECT_TRUE(fr.fired.empty());
      EXPECT_EQ(fr.speedX, 0.0f);
      continue;
    }
    EXPECT_EQ(fr.fired, fired(c, f));
    bool jump = false;
    for (int32_t j : jumps) jump = jump || j == c;
    EXPECT_EQ(fr.jumped, jump);
    if (c >= hangFrom && c <= hangTo) {
      EXPECT_TRUE(fr.hanging);
    }
    v = speed(c, v);
    EXPECT_TRUE(Near(fr.speedX, v)) << fr.speedX << " expected " << v;
  }
  BossTimeline::ExpectBurstsOnSchedule(log);
}

// Every bullet fired at cycle c carries this follow-up (kind, count, code).
inline void ExpectFollowUps(const std::vector<BossFrame>& log, ShotChildSpec (*expected)(int32_t c, int32_t d, bool hard, size_t index, int32_t code),
                     int32_t d, bool hard) {
  for (const BossFrame& fr : log) {
    const int32_t c = BossTimeline::Cycle(fr);
    for (size_t i = 0; i < fr.bullets.size(); ++i) {
      const ShotChildSpec want = expected(c, d, hard, i, fr.bullets[i].typeCode);
      const ShotChildSpec& got = fr.bullets[i].child;
      SCOPED_TRACE(testing::Message() << "cycle " << c << " bullet " << i);
      EXPECT_EQ(got.patternKind, want.patternKind);
      if (want.patternKind == 0) continue;
      EXPECT_EQ(got.count, want.count);
      EXPECT_EQ(got.childTypeCode, want.childTypeCode);
      EXPECT_EQ(got.childLifetime, want.childLifetime);
    }
  }
}

inline ShotChildSpec Follow(int32_t kind, int32_t count, int32_t code, int32_t time) {
  ShotChildSpec s{};
  s.patternKind = kind;
  s.count = count;
  s.childTypeCode = code;
  s.childLifetime = time;
  return s;
}

}  // namespace orb::test
