// Shared by the timeline tests of the later bosses: a run of whole play
// frames in the boss's room read as what was fired and released by type
// code, the follow-up each bullet carries, the jumps, hanging frames and
// x speeds, and the checks of such a run against a written-out schedule.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

#include "game/world/crt_rand.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/actors/shots.h"
#include "game/world/tile_map.h"
#include "game/scenes/world_hooks.h"
#include "boss_test_support.h"

namespace orb::test {

using CodeCounts = std::map<int32_t, int32_t>;

struct FiredBullet {
  int32_t typeCode;
  int32_t lifetime;
  ShotChildSpec child;
};

// One frame of a run, as the timeline checks read it.
struct TimelineFrame {
  int32_t timer = 0;  // the boss's timer after the frame
  CodeCounts fired;   // bullets that carry a follow-up pattern: the boss's (and a minion's)
  std::vector<FiredBullet> bullets;
  CodeCounts born;  // plain bullets that bursting bullets released
  std::vector<EnemyRecord> spawned;
  bool jumped = false;
  bool hanging = false;  // both speeds and the gravity 0
  float speedX = 0.0f;   // size of the x speed after the frame
  int32_t childCode = 0; // the follow-up type code in attack slot B
};

class LastBossTimeline : public BossFight {
 public:
  // Enters the boss's room through its routine and runs whole play frames;
  // the hard runs bring the bar under a third during the intro.
  std::vector<TimelineFrame> RunRoom(int32_t kind, int32_t difficulty, bool hard, int32_t frames) {
    SetUp();
    EnterRoom(kind, difficulty);
    SeedRand(1);  // the generator from its first state at the first frame
    std::vector<TimelineFrame> log;
    for (int32_t i = 0; i < frames; ++i) {
      if (hard && i == 8) ForceHard();
      const BossFrame f = Step();
      TimelineFrame out;
      out.timer = f.timer;
      for (const ShotRecord& b : f.fired) {
        out.fired[b.typeCode] += 1;
        out.bullets.push_back({b.typeCode, b.lifetime, b.child});
      }
      for (const ShotRecord& b : f.released) out.born[b.typeCode] += 1;
      out.spawned = f.spawned;
      out.jumped = f.airborneBefore == 0 && f.airborneAfter == 1;
      out.hanging = f.speedX == 0.0f && f.speedY == 0.0f && f.gravity == 0.0f;
      out.speedX = std::fabs(f.speedX);
      out.childCode = Boss().slotB.typeCode.value;
      log.push_back(out);
    }
    return log;
  }

  // One run of 1200 frames for each difficulty of ds, normal and hard.
  template <class Check>
  void ForEachRun(int32_t kind, std::initializer_list<int32_t> ds, Check check) {
    for (int32_t d : ds) {
      for (bool hard : {false, true}) {
        SCOPED_TRACE(testing::Message() << "difficulty " << d << (hard ? " hard" : ""));
        std::vector<TimelineFrame> log = RunRoom(kind, d, hard, 1200);
        check(log, d, hard);
      }
    }
  }

  // The attack cycle of a logged frame; -1 in the intro.
  static int32_t Cycle(const TimelineFrame& f) { return f.timer < 200 ? -1 : (f.timer - 200) % 1000; }

  static int32_t Excess(int32_t d) { return d > 1 ? d - 1 : 0; }

  // Every release of follow-up bullets falls on a frame where a bullet the
  // boss fired reaches its acceleration time (its age counts from 1 in the
  // frame it is fired), and releases that bullet's follow-up type code.
  static void ExpectBurstsOnSchedule(const std::vector<TimelineFrame>& log) {
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
void ExpectTimeline(const std::vector<TimelineFrame>& log, Fired fired, const std::vector<int32_t>& jumps, int32_t hangFrom,
                    int32_t hangTo, Speed speed) {
  float v = 0.0f;
  for (size_t f = 0; f < log.size(); ++f) {
    const TimelineFrame& fr = log[f];
    const int32_t c = LastBossTimeline::Cycle(fr);
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
  LastBossTimeline::ExpectBurstsOnSchedule(log);
}

// Every bullet fired at cycle c carries this follow-up (kind, count, code).
inline void ExpectFollowUps(const std::vector<TimelineFrame>& log, ShotChildSpec (*expected)(int32_t c, int32_t d, bool hard, size_t index, int32_t code),
                     int32_t d, bool hard) {
  for (const TimelineFrame& fr : log) {
    const int32_t c = LastBossTimeline::Cycle(fr);
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
