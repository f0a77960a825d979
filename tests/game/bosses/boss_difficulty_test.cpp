// Every boss's difficulty-dependent attack values at difficulties 0, 1, 2
// and 3, normal and with the bar under a third: the table below is the
// oracle, one row per value, typed once from the bosses' attack tables as
// its four values by difficulty. Each boss's room is entered at each
// difficulty and run through its intro and one whole cycle; each row is
// measured over its cycle frames: the bullets of one type code fired, the
// sum of their acceleration times, the hit points of the minions spawned,
// or the x speed set.
#include <cmath>
#include <map>
#include <vector>

#include "boss_test_support.h"
#include "game/world/crt_rand.h"

namespace orb::test {
namespace {

enum Measure { kCount, kTimeSum, kMinionHp, kSpeed100 };
constexpr bool N = false, H = true;

struct Row {
  int32_t kind, from, to;  // cycle frames, both ends in
  bool hard;
  Measure measure;
  int32_t code;  // bullet type code (kCount, kTimeSum)
  int32_t value[4];
};

// clang-format off
constexpr Row kRows[] = {
    {29, 350, 350, N, kCount, 10200, {9, 15, 21, 27}},     {29, 350, 350, H, kCount, 10203, {15, 21, 27, 33}},
    {29, 867, 867, N, kCount, 10203, {3, 3, 9, 15}},       {29, 913, 913, H, kCount, 10203, {9, 9, 15, 21}},
    {15, 70, 70, N, kCount, 11503, {3, 4, 5, 6}},          {15, 590, 590, N, kCount, 10403, {28, 32, 36, 40}},
    {15, 805, 805, N, kSpeed100, 0, {300, 400, 500, 600}}, {15, 309, 309, H, kSpeed100, 0, {500, 500, 600, 700}},
    {30, 590, 590, N, kCount, 11503, {3, 4, 5, 6}},        {30, 590, 590, H, kCount, 11500, {10, 12, 14, 16}},
    {30, 10, 10, N, kSpeed100, 0, {200, 200, 250, 300}},
    {31, 350, 350, N, kCount, 10400, {0, 8, 8, 8}},        {31, 360, 360, N, kCount, 10400, {4, 8, 8, 8}},
    {31, 360, 360, H, kCount, 10403, {2, 4, 4, 4}},        {31, 590, 590, N, kCount, 10403, {9, 13, 17, 21}},
    {31, 10, 10, N, kSpeed100, 0, {800, 800, 900, 1000}},
    {32, 20, 20, H, kCount, 10300, {0, 1, 1, 1}},          {32, 32, 32, N, kCount, 10500, {0, 1, 1, 1}},
    {32, 160, 160, N, kCount, 11300, {1, 3, 5, 7}},        {32, 250, 250, N, kCount, 11300, {2, 4, 6, 8}},
    {32, 350, 350, N, kCount, 10500, {11, 14, 14, 14}},    {32, 351, 351, H, kCount, 10403, {0, 1, 1, 1}},
    {32, 595, 595, N, kCount, 11503, {30, 33, 36, 39}},    {32, 860, 879, N, kCount, 10500, {0, 4, 4, 4}},
    {33, 60, 60, N, kCount, 10603, {36, 64, 80, 96}},      {33, 360, 360, N, kCount, 11003, {36, 42, 48, 54}},
    {33, 580, 580, N, kCount, 10600, {4, 6, 6, 6}},        {33, 660, 660, N, kCount, 11002, {12, 20, 25, 30}},
    {33, 580, 580, H, kCount, 10603, {6, 8, 10, 12}},      {33, 10, 10, N, kSpeed100, 0, {200, 200, 220, 240}},
    {34, 50, 50, N, kCount, 10403, {0, 5, 7, 9}},          {34, 356, 356, H, kCount, 10603, {4, 5, 6, 7}},
    {34, 580, 580, N, kCount, 11503, {0, 4, 6, 8}},        {34, 680, 680, N, kCount, 11403, {4, 6, 8, 10}},
    {35, 70, 70, N, kCount, 10800, {0, 3, 4, 5}},          {35, 870, 870, N, kCount, 10800, {2, 4, 6, 8}},
    {36, 90, 90, N, kCount, 11100, {10, 12, 14, 16}},      {36, 90, 90, H, kCount, 11100, {15, 18, 21, 24}},
    {36, 370, 370, N, kCount, 10902, {20, 24, 28, 32}},    {36, 630, 630, N, kCount, 10200, {0, 0, 0, 2}},
    {36, 636, 636, N, kCount, 10200, {0, 0, 2, 2}},        {36, 642, 642, N, kCount, 10200, {0, 2, 2, 2}},
    {36, 648, 648, N, kCount, 10200, {2, 2, 2, 2}},        {36, 740, 740, H, kCount, 10601, {0, 5, 6, 7}},
    {37, 360, 360, N, kCount, 11003, {12, 14, 16, 18}},    {37, 390, 390, N, kCount, 11003, {0, 14, 16, 18}},
    {37, 374, 374, H, kCount, 11003, {0, 3, 3, 3}},        {37, 590, 590, N, kCount, 11500, {15, 21, 27, 33}},
    {37, 597, 597, N, kMinionHp, 0, {210, 310, 320, 330}}, {37, 597, 597, H, kMinionHp, 0, {300, 310, 320, 330}},
    {45, 20, 20, N, kCount, 10700, {6, 10, 10, 10}},       {45, 22, 22, H, kCount, 10700, {12, 22, 22, 22}},
    {45, 40, 40, N, kTimeSum, 10700, {1768, 1632, 1496, 1360}},
    {45, 590, 590, H, kCount, 10900, {5, 10, 11, 12}},     {45, 640, 640, N, kCount, 10703, {8, 12, 12, 12}},
};
// clang-format on

// What one cycle frame showed, by measure.
struct Seen {
  std::map<int32_t, int32_t> count, timeSum;
  int32_t minionHp = 0, speed100 = 0;
};

int32_t Measured(const Row& row, const std::vector<Seen>& cycle) {
  int32_t total = 0;
  for (int32_t c = row.from; c <= row.to; ++c) {
    const Seen& s = cycle[static_cast<size_t>(c)];
    switch (row.measure) {
      case kCount: total += s.count.count(row.code) ? s.count.at(row.code) : 0; break;
      case kTimeSum: total += s.timeSum.count(row.code) ? s.timeSum.at(row.code) : 0; break;
      case kMinionHp: total += s.minionHp; break;
      case kSpeed100: total += s.speed100; break;
    }
  }
  return total;
}

// The intro and one whole cycle in the boss's room; the hard runs bring the
// bar under a third during the intro.
std::vector<Seen> RunCycle(int32_t kind, int32_t difficulty, bool hard) {
  ResetGameModules();
  BossFight::EnterRoom(kind, difficulty);
  SeedRand(1);
  std::vector<Seen> cycle(1000);
  for (int32_t i = 0; i < 1200; ++i) {
    if (hard && i == 8) BossFight::ForceHard();
    const BossFrame f = BossFight::Step();
    if (f.timer < 200) continue;
    const int32_t c = (f.timer - 200) % 1000;
    // The bar finishes filling in the cycle's first frames; from then on
    // the hard test holds throughout the hard runs.
    if (c >= 10) {
      EXPECT_EQ(f.hard, hard) << "cycle " << c;
    }
    Seen& s = cycle[static_cast<size_t>(c)];
    for (const ShotRecord& b : f.fired) {
      s.count[b.typeCode] += 1;
      s.timeSum[b.typeCode] += b.lifetime;
    }
    for (const EnemyRecord& m : f.spawned) s.minionHp += m.hitPoints;
    s.speed100 = static_cast<int32_t>(std::lround(std::fabs(f.speedX) * 100.0f));
  }
  return cycle;
}

TEST_F(BossFight, AttackValuesAtEveryDifficultyFollowTheTable) {
  std::vector<int32_t> kinds;
  for (const Row& r : kRows) {
    if (kinds.empty() || kinds.back() != r.kind) kinds.push_back(r.kind);
  }
  EXPECT_EQ(kinds.size(), 11u);  // every boss kind
  for (const int32_t kind : kinds) {
    for (int32_t d = 0; d < 4; ++d) {
      for (const bool hard : {false, true}) {
        SCOPED_TRACE(testing::Message() << "kind " << kind << " difficulty " << d << (hard ? " hard" : ""));
        const std::vector<Seen> cycle = RunCycle(kind, d, hard);
        for (const Row& r : kRows) {
          if (r.kind != kind || r.hard != hard) continue;
          EXPECT_EQ(Measured(r, cycle), r.value[d]) << "cycle " << r.from << " code " << r.code;
        }
      }
    }
  }
}

}  // namespace
}  // namespace orb::test
