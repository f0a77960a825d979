// Timelines of the bosses of stages 101, 119 and 136, frame by frame against
// schedules written out from their attack tables: what each frame fires by
// type code, what follow-up each bullet carries, when bullets burst, and the
// jumps, hanging windows and x speeds.
#include "boss_timeline_support.h"

namespace orb::test {
namespace {

// --- stage 101 ---

CodeCounts Fired34(int32_t c, int32_t d, bool hard) {
  CodeCounts x;
  if ((c == 50 || c == 150 || c == 250) && d >= 1) Add(x, 10403, 2 * d + 3);
  if (hard && c >= 355 && c <= 414 && c % 2 == 0) Add(x, 10603, d + 4);
  if (!hard && (c == 360 || c == 400)) Add(x, 10703, 3 * 2);
  const bool sweep = (c >= 580 && c <= 640 && c % 10 == 0) || (c >= 800 && c <= 860 && c % 10 == 0);
  const bool aimed = c == 680 || c == 720 || c == 760;
  if (sweep || aimed) {
    Add(x, 10703, hard ? 3 : 1);
    if (aimed || d >= 1) {
      Add(x, 11503, 2 * d + 2);
      Add(x, 11403, 2 * d + 4);
    }
  }
  if (c == 950) Add(x, 10703, hard ? 3 * 5 + 3 * 4 : 5 + 4);
  return x;
}

ShotChildSpec Follow34(int32_t c, int32_t d, bool, size_t, int32_t) {
  if (c >= 300 && c < 500) return Follow(1, 2 * d + 5, 11500, 30);
  return Follow(0, 0, 0, 0);
}

TEST_F(LastBossTimeline, Stage101BossLeapsFloatsAndHoversOnItsSchedule) {
  ForEachRun(34, {0, 3}, [&](std::vector<TimelineFrame>& log, int32_t d, bool hard) {
    const float e = static_cast<float>(Excess(d));
    ExpectTimeline(
        log, [&](int32_t c, size_t) { return Fired34(c, d, hard); }, {40, 90, 140, 190, 240, 330, 540}, 564, 959,
        [&](int32_t c, float v) {
          switch (c) {
            case 10: return 4.0f + 0.4f * e;
            case 88: return 4.5f + 0.4f * e;
            case 188: return 5.0f + 0.4f * e;
            case 312: return 4.0f;
            case 353: return v / 5.0f;
            case 450: return v * 5.0f;
            case 510: return 2.0f + 0.5f * e;
            default: return c >= 564 && c <= 960 ? 0.0f : v;
          }
        });
    ExpectFollowUps(log, Follow34, d, hard);
    // The floating fans burst into rings 40 frames on; the hard sprays never.
    int32_t rings = 0;
    for (const TimelineFrame& fr : log) {
      if (fr.born.count(11500)) {
        EXPECT_TRUE(Cycle(fr) == 399 || Cycle(fr) == 439) << Cycle(fr);
        EXPECT_EQ(fr.born.at(11500) % (2 * d + 5), 0);
        ++rings;
      }
    }
    EXPECT_EQ(rings, hard ? 0 : 2);
  });
}

// --- stage 119 ---

bool HoverShotCycle(int32_t c) {
  return (c >= 580 && c <= 610 && c % 5 == 0) || (c >= 680 && c <= 710 && c % 5 == 0);
}

CodeCounts Fired35(int32_t c, int32_t d, bool hard) {
  CodeCounts x;
  if (c == 70 || c == 170 || c == 270) {
    if (d >= 1) Add(x, 10800, d + 2);
    Add(x, 11100, 1);
  }
  if (c == 360 || c == 410) Add(x, 10800, 2 * 3);
  if (HoverShotCycle(c)) Add(x, 10700, hard ? 2 : 1);
  if (c == 870) Add(x, 10800, 2 * (d + 1));
  if (c == 970) Add(x, 10803, 2 * (d + 1));
  return x;
}

ShotChildSpec Follow35(int32_t c, int32_t d, bool hard, size_t i, int32_t) {
  const int32_t h = hard ? 1 : 0;
  if (c < 300) return Follow(0, 0, 0, 0);
  if (c < 500) return Follow(12, 1 + 8 * h, 10800, 10);
  if (c < 800) return i == 0 ? Follow(4, d == 0 ? 2 : d + 3, 11503, 100) : Follow(4, 1, 10803, 100);
  if (c == 870) return Follow(12, 1 + 2 * h, 10800, 20);
  return Follow(2, 2 + 2 * h, 10803, 20);
}

TEST_F(LastBossTimeline, Stage119BossHopsFloatsHoversAndBurstsOnItsSchedule) {
  ForEachRun(35, {0, 3}, [&](std::vector<TimelineFrame>& log, int32_t d, bool hard) {
    const float e = static_cast<float>(Excess(d));
    ExpectTimeline(
        log, [&](int32_t c, size_t) { return Fired35(c, d, hard); }, {120, 220, 330, 540, 860, 960}, 564, 719,
        [&](int32_t c, float v) {
          switch (c) {
            case 10: return 3.0f + 0.4f * e;
            case 312: return 4.0f;
            case 353: return v / 5.0f;
            case 450: return v * 5.0f;
            case 510: return 2.0f + 0.5f * e;
            default: return (c >= 564 && c <= 720) || c == 810 || c == 910 ? 0.0f : v;
          }
        });
    ExpectFollowUps(log, Follow35, d, hard);
    // The phase-4 volleys burst after 4 frames: rows (1, or 3 when hard)
    // in d + 2 layers, then aimed fans of 2 (4 when hard).
    for (const TimelineFrame& fr : log) {
      if (Cycle(fr) == 873) {
        EXPECT_EQ(fr.born.at(10800) % ((hard ? 3 : 1) * (d + 2)), 0);
      }
      if (Cycle(fr) == 973) {
        EXPECT_EQ(fr.born.at(10803) % (hard ? 4 : 2), 0);
      }
    }
  });
}

// --- stage 136 ---

int32_t WideningCount(int32_t c) {
  const int32_t s = (c / 60) % 4;
  return s == 1 ? 3 : s == 3 ? 4 : 2;
}

CodeCounts Fired36(int32_t c, int32_t d, bool hard) {
  CodeCounts x;
  if (c == 90 || c == 240) Add(x, 11100, (d + 5) * (hard ? 3 : 2));
  if (c == 370) {
    Add(x, 10902, 2 * (2 * d + 10));
    Add(x, 10903, 2 * (2 * d + 10));
    if (hard) Add(x, 10901, 2 * (2 * d + 10));
  }
  if (c < 580 || c > 949) return x;
  if (hard) {
    if (d >= 1 && c % 180 == 20) Add(x, 10601, d + 4);
    if (d >= 1 && c % 180 == 110) Add(x, 10601, d + 3);
    if (c % 60 >= (d >= 1 ? 40 : 50)) Add(x, -1, 3);  // colours drawn from the generator
  } else if (c % 6 == 0 && c % 60 >= 6 * (8 - d)) {
    Add(x, 10200, WideningCount(c));
  }
  return x;
}

TEST_F(LastBossTimeline, Stage136BossRingsStreamsAndFansOnItsSchedule) {
  ForEachRun(36, {0, 3}, [&](std::vector<TimelineFrame>& log, int32_t d, bool hard) {
    // The generator replayed: in the hover, one colour for the follow-up
    // each frame (hard), then for each stream bullet its colour, its
    // direction and its speed factor.
    CrtRand r;
    for (TimelineFrame& fr : log) {
      const int32_t c = Cycle(fr);
      if (c < 500 || !hard) continue;
      EXPECT_EQ(fr.childCode, 10900 + r.Next() % 4) << c;
      if (c < 580 || c > 949) continue;
      CodeCounts colours;
      if (c % 60 >= (d >= 1 ? 40 : 50)) {
        for (int k = 0; k < 3; ++k) {
          colours[10900 + r.Next() % 4] += 1;
          r.Next();
          r.Next();
        }
      }
      int32_t streamed = 0;
      for (int32_t code = 10900; code <= 10903; ++code) {
        const int32_t got = fr.fired.count(code) ? fr.fired.at(code) : 0;
        EXPECT_EQ(got, colours.count(code) ? colours.at(code) : 0) << c;
        fr.fired.erase(code);
        streamed += got;
      }
      if (streamed > 0) fr.fired[-1] = streamed;
    }
    ExpectTimeline(
        log, [&](int32_t c, size_t) { return Fired36(c, d, hard); },
        {50, 200, 330, 540}, 564, 949,
        [&](int32_t c, float v) {
          switch (c) {
            case 16: return 2.0f;
            case 312: return 2.0f;
            case 370: return 0.0f;
            case 450: return v * 2.0f;
            case 510: return 2.0f;
            default: return c >= 564 && c <= 950 ? 0.0f : v;
          }
        });
  });
}

}  // namespace
}  // namespace orb::test
