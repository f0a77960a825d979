// Timelines of the bosses of stages 146 and 149 against schedules written
// out from their attack tables, with the gap and minion of stage 146 and the
// beams of stage 149.
#include "boss_timeline_support.h"
#include "game/actors/shots.h"

namespace orb::test {
namespace {

// --- stage 146 ---

struct Volley146 {
  int32_t c, single, fan;
};
constexpr Volley146 kVolleys146[8] = {{590, 10700, 11500}, {610, 10703, 11503}, {690, 10700, 11500},
                                      {710, 10703, 11503}, {790, 10700, 11500}, {810, 10703, 11503},
                                      {890, 10700, 11500}, {910, 10703, 11503}};

CodeCounts Fired37(int32_t c, int32_t d, bool hard) {
  CodeCounts x;
  const int32_t r = c % 150;
  if (c < 300 && (r == 40 || r == 75 || r == 110)) {
    // Rows 1, 2, 2 three times: 15 bullets; the hard repeat fans 8 calls of
    // 3 and keeps the ninth (2 rows) single.
    Add(x, 11000, 15 + (hard ? 13 * 3 + 2 : 0));
  }
  if (c >= 300 && c < 500) {
    if (!hard && (c == 360 || c == 370 || c == 380 || (d >= 1 && (c == 390 || c == 400 || c == 410)))) {
      Add(x, 11003, 2 * d + 12);
      Add(x, 11000, 2 * d + 12);
    }
    if (hard && c >= 370 && c <= 414 && c % (d == 0 ? 6 : 2) == 0) {
      Add(x, 11003, 3);
      Add(x, 11000, 3);
    }
  }
  if (c >= 580 && c <= 949) {
    if (hard && c % 20 == 0) Add(x, 11003, 3);
    for (const Volley146& v : kVolleys146) {
      if (hard || v.c != c) continue;
      Add(x, v.single, 1);
      Add(x, v.fan, (2 * d + 4) + (2 * d + 5) + (2 * d + 6));
    }
  }
  return x;
}

TEST_F(LastBossTimeline, Stage146BossRowsRingsGapAndMinionOnItsSchedule) {
  ForEachRun(37, {0, 1, 3}, [&](std::vector<TimelineFrame>& log, int32_t d, bool hard) {
    // The minions' own shots (types 10403 and 10800) are theirs, not the boss's.
    for (TimelineFrame& fr : log) {
      fr.fired.erase(10403);
      fr.fired.erase(10800);
    }
    ExpectTimeline(
        log, [&](int32_t c, size_t) { return Fired37(c, d, hard); }, {50, 200, 330, 540}, 564, 949,
        [&](int32_t c, float v) {
          if (c == 16 || c == 312 || c == 510) return 2.0f;
          if (c == 370 || (c >= 564 && c <= 950)) return 0.0f;
          return v;
        });
    for (const TimelineFrame& fr : log) {
      const int32_t c = Cycle(fr);
      SCOPED_TRACE(testing::Message() << "cycle " << c);
      if (c != 581 && c != 597) {
        EXPECT_TRUE(fr.spawned.empty());
        continue;
      }
      ASSERT_EQ(fr.spawned.size(), 1u);
      const EnemyRecord& s = fr.spawned[0];
      if (c == 581) {
        EXPECT_EQ(s.kind, 38);
        EXPECT_EQ(s.hitPoints, 1111);
        EXPECT_EQ(s.mode, 51);
        EXPECT_EQ(s.head.state, kActorActive);
        continue;
      }
      EXPECT_EQ(s.head.state, kActorActive);
      EXPECT_EQ(s.timer, 131);  // starts at 130 and runs in the same pass
      if (hard) {
        EXPECT_EQ(s.kind, 26);
        EXPECT_EQ(s.hitPoints, 10 * (d + 30));
        EXPECT_EQ(s.bulletType, 0);
      } else if (d == 0) {
        EXPECT_EQ(s.kind, 19);
        EXPECT_EQ(s.mode, 42);
        EXPECT_EQ(s.hitPoints, 210);
        EXPECT_EQ(s.bulletType, 0);
      } else {
        // The minion's own attack slot, written right after its spawn.
        EXPECT_EQ(s.kind, 19);
        EXPECT_EQ(s.mode, 32);
        EXPECT_EQ(s.hitPoints, 10 * d + 300);
        EXPECT_EQ(s.bulletType, 10800);
        EXPECT_EQ(s.slotA.patternKind.value, 2);
        EXPECT_EQ(s.slotA.count.value, 2 * d + 1);
        EXPECT_EQ(s.slotA.interval.value, 6);
        EXPECT_EQ(s.slotA.windowLength.value, 6);
        EXPECT_EQ(s.slotA.windowCycle.value, 60);
        EXPECT_EQ(s.slotA.startFrame.value, 30);
        EXPECT_FLOAT_EQ(s.slotA.speed.value * kBulletSpeedScale[d], 5.0f);
      }
    }
  });
}

// --- stage 149 ---

CodeCounts Fired45(int32_t c, int32_t d, bool hard, int32_t frameCount) {
  CodeCounts x;
  const int32_t sides = hard ? 2 : 1;
  if (c < 300) {
    const int32_t r = c % 150;
    if (r == 20) Add(x, 10700, sides * ((d == 0 ? 5 : 9) + 1));
    if (r == 40) Add(x, 10700, sides * 16);
    if (hard && (r == 22 || r == 24)) Add(x, 10700, 2 * ((d == 0 ? 5 : 10) + 1));
    if (hard && (r == 42 || r == 44)) Add(x, 10700, 2 * 16);
  } else if (c < 500) {
    // Rows 3, 2, 2, 1 and 1 of one or two bullets.
    if (c == 360) Add(x, 10201, 9);
    if (c == 385 || c == 410) Add(x, 10201, 9 * 2);
    if (hard && c >= 380 && c <= 411 && c % 4 == 0) Add(x, 10400, 5);
  } else if (c >= 580 && c <= 949) {
    const int32_t n = d == 0 ? 5 : 9 + d;
    if (hard && (c == 590 || c == 790)) {
      Add(x, 10900, n);
      Add(x, 10903, n);
    }
    if (!hard && c >= 590 && c < 910 && frameCount % 8 == 0) Add(x, 10801, 2 * 4);
    if (!hard && c >= 590 && c <= 890 && c % 50 == 40) Add(x, 10703, 2 * (c % 100 == 40 ? (d == 0 ? 4 : 6) : 5));
  }
  return x;
}

ShotChildSpec Follow45(int32_t c, int32_t d, bool, size_t, int32_t code) {
  if (c < 300) return Follow(1, 1, 10800, 50);
  if (c < 500) return code == 10400 ? Follow(2, 1, 10400, 40) : Follow(1, 8, 10801, 40);
  switch (code) {
    case 10900: return Follow(1, 5, 10900, 200);
    case 10903: return Follow(1, 5, 10903, 200);
    case 10801: return Follow(2, 2, 10801, 100);
    default: (void)d; return Follow(0, 0, 0, 0);
  }
}

TEST_F(LastBossTimeline, Stage149BossBeamsVolleysAndHoverOnItsSchedule) {
  ForEachRun(45, {0, 3}, [&](std::vector<TimelineFrame>& log, int32_t d, bool hard) {
    ExpectTimeline(
        log, [&](int32_t c, size_t f) { return Fired45(c, d, hard, static_cast<int32_t>(f) + 1); }, {330, 540},
        564, 949, [&](int32_t c, float v) {
          if (c == 16) return 3.0f;
          if (c == 312 || c == 510) return 2.0f;
          if (c == 370 || (c >= 564 && c <= 950)) return 0.0f;
          return c == 450 ? v * 2.0f : v;
        });
    ExpectFollowUps(log, Follow45, d, hard);
    // Beam bullets end their acceleration one after another: 3 frames
    // apart, or 13 - d for the long beam.
    for (size_t f = 0; f < log.size(); ++f) {
      const int32_t c = Cycle(log[f]);
      if (c != 20 && c != 40) continue;
      std::vector<int32_t> times;
      for (const FiredBullet& b : log[f].bullets) times.push_back(b.lifetime);
      const int32_t step = c == 20 ? 3 : 13 - d;
      const int32_t n = c == 20 ? (d == 0 ? 5 : 9) : 16;
      for (int32_t k = 1; k <= n; ++k) EXPECT_EQ(times[static_cast<size_t>(k - 1)], k * step);
      if (c == 20) {
        EXPECT_EQ(times[static_cast<size_t>(n)], 3000);
      }
    }
    if (!hard) return;
    // The hover's follow-up colour comes from the generator each frame;
    // the spiral rings draw a direction and a speed for each bullet.
    CrtRand r;
    const int32_t n = d == 0 ? 5 : 9 + d;
    for (const TimelineFrame& fr : log) {
      const int32_t c = Cycle(fr);
      if (c < 500) continue;
      const int32_t colour = 10900 + r.Next() % 4;
      if (c == 590 || c == 790) {
        for (int k = 0; k < 4 * n; ++k) r.Next();
        continue;
      }
      EXPECT_EQ(fr.childCode, colour) << c;
    }
  });
}

}  // namespace
}  // namespace orb::test
