// The enemy rules checked against values typed here: the muzzle of the
// generic modes, and the tables of drops, entrances and difficulty factors.
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "enemy_test_support.h"
#include "framework/graphics/graphs/draw_state.h"
#include "game/actors/shots.h"
#include "game/graph_calls.h"
#include "game/world/crt_rand.h"

namespace orb::test {
namespace {

using EnemyOracle = EnemyTest;

// A kind-4 enemy (a group with a 7 x 3 muzzle offset) facing right, centred
// at (x, y), awake, with a slot that fires one bullet every frame.
EnemyRecord& GroupFlier(float x, float y, int32_t mode, float slotMode) {
  SpawnEnemy(x, y, 4, 0, 1, mode, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10000);
  EnemyRecord& e = LastEnemy();
  e.head.x = x;
  e.head.y = y;
  e.facing = 1;
  e.head.state = kActorActive;
  SetEnemyAttackSlot(e, 1, 1, 0, 100, 100, 100, 100, 1, 1, 0, slotMode, 2, 0, 0, 0, 0, 0, 0, 0, 60, 0);
  return e;
}

TEST_F(EnemyOracle, GenericModesFireAndAimFromTheCentreWhateverTheGroupOffset) {
  for (int32_t mode : {31, 33}) {
    ResetPools();
    pools.players[0].head.x = 511;
    pools.players[0].head.y = 411;  // straight below the centre: 90 degrees from it
    EnemyRecord& e = GroupFlier(511, 211, mode, -1.0f);
    const auto shots = Fired([&] { RunEnemyAI(e); });
    ASSERT_EQ(shots.size(), 1u) << "mode " << mode;
    EXPECT_FLOAT_EQ(shots[0].head.x, 511.0f) << "mode " << mode;
    EXPECT_FLOAT_EQ(shots[0].head.y, 211.0f) << "mode " << mode;
    EXPECT_NEAR(shots[0].angle, 90.0f, 1e-3) << "mode " << mode;
  }
  // The group's own volleys keep the offset: mode 4 fires at PH(120) = 10.
  ResetPools();
  EnemyRecord& g = GroupFlier(511, 211, 4, 0.0f);
  std::vector<ShotRecord> shots;
  for (int frame = 0; frame < 130 && shots.empty(); ++frame) shots = Fired([&] { RunEnemyAI(g); });
  ASSERT_FALSE(shots.empty());
  EXPECT_FLOAT_EQ(shots[0].head.x, 518.0f);
  EXPECT_FLOAT_EQ(shots[0].head.y, 214.0f);
}


// The C runtime's generator, written here from its constants.
struct Lcg {
  uint32_t state;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

// A seed whose draw number `skip` + 1 is r modulo 100.
uint32_t SeedWhereDraw(int skip, int r) {
  for (uint32_t s = 1;; ++s) {
    Lcg g{s};
    for (int i = 0; i < skip; ++i) g.Next();
    if (g.Next() % 100 == r) return s;
  }
}

// The drop tables as written: per table and column, "first-last: items" bands
// separated by ';', "-" for nothing.
struct DropColumn {
  int table, byTouch;  // byTouch -1: either column
  const char* bands;
};
// clang-format off
const DropColumn kDropTables[] = {
    {1, 0, "0-19: 1; 20-99: -"},
    {1, 1, "0-9: 0; 10-39: 1; 40-99: -"},
    {2, 0, "0-4: 3; 5-29: 1; 30-99: -"},
    {2, 1, "0-9: 0; 10-19: 3; 20-49: 1, 1; 50-69: 1; 70-99: -"},
    {3, 0, "0-9: 3; 10-29: 1, 1; 30-49: 1; 50-99: -"},
    {3, 1, "0-9: 0, 1, 1; 10-14: 0; 15-29: 1, 1, 1; 30-49: 1, 1; 50-99: 1"},
    {4, 0, "0-9: 3; 10-19: 1, 1, 1; 20-49: 1; 50-99: -"},
    {4, 1, "0-6: 2; 7-14: 0, 1; 15-29: 3, 1, 1; 30-49: 1, 1, 1; 50-99: 1, 1"},
    {5, 0, "0-9: 3, 1; 10-29: 1, 1, 1; 30-69: 1, 1; 70-99: -"},
    {5, 1, "0-0: 5; 1-1: 4; 2-7: 2, 1, 0; 8-15: 0, 1, 0; 16-29: 3, 1, 1; 30-49: 1, 1, 1; 50-99: 1, 1"},
    {6, 0, "0-19: 3, 1, 1; 20-39: 1, 1, 1; 40-79: 1, 1; 80-99: -"},
    {6, 1, "0-0: 5; 1-2: 4; 3-7: 2, 3, 0; 8-15: 0, 0, 0; 16-39: 3, 1, 3; 40-69: 1, 1, 1; 70-99: 1, 1"},
    {7, 0, "0-29: 3, 1, 1; 30-59: 1, 1, 1; 60-79: 1, 1; 80-99: -"},
    {7, 1, "0-1: 5; 2-4: 4; 5-9: 2, 3, 0; 10-19: 0, 3, 0; 20-39: 3, 1, 3; 40-69: 3, 1, 1; 70-99: 1, 1, 1"},
    {8, 0, "0-29: 3, 3, 1; 30-59: 3, 1, 1; 60-79: 1, 1; 80-99: -"},
    {8, 1, "0-1: 5; 2-4: 4; 5-11: 2, 3, 0; 12-19: 0, 3, 0; 20-39: 3, 0, 3; 40-69: 3, 1, 1; 70-99: 1, 1, 1"},
    {11, -1, "0-99: 2, 0, 0, 0, 5"},
    {14, 0, "0-99: -"},
    {14, 1, "0-4: 5; 5-99: -"},
    {17, -1, "0-99: 4, 4, 5"},
};
// Drop table by kind (0: none).
const int kDropTableOfKind[48] = {
    0,
    1, 0, 4, 2, 3, 4, 2, 5, 5, 5,       // 1-10
    5, 6, 6, 7, 11, 8, 8, 8, 4, 5,      // 11-20
    5, 5, 2, 4, 1, 8, 14, 3, 17, 17,    // 21-30
    17, 17, 17, 17, 17, 17, 17, 0, 0, 0,  // 31-40
    0, 3, 0, 8, 17, 0, 0,               // 41-47
};
// clang-format on

// The items a column throws for r.
std::vector<int> DropsFor(const char* bands, int r) {
  std::stringstream in(bands);
  std::string band;
  while (std::getline(in, band, ';')) {
    int first = 0, last = 0;
    char* rest = nullptr;
    first = static_cast<int>(std::strtol(band.c_str(), &rest, 10));
    last = static_cast<int>(std::strtol(rest + 1, &rest, 10));
    if (r < first || r > last) continue;
    std::vector<int> items;
    std::stringstream list(rest + 1);
    std::string item;
    while (std::getline(list, item, ',')) {
      if (item.find('-') == std::string::npos) items.push_back(std::atoi(item.c_str()));
    }
    return items;
  }
  ADD_FAILURE() << "no band for " << r << " in " << bands;
  return {};
}

std::vector<int> ExpectedDrops(int table, int byTouch, int r) {
  for (const DropColumn& c : kDropTables) {
    if (c.table == table && (c.byTouch == byTouch || c.byTouch == -1)) return DropsFor(c.bands, r);
  }
  return {};
}

std::vector<const ItemRecord*> LiveItems() {
  std::vector<const ItemRecord*> out;
  for (const ItemRecord& i : pools.items) {
    if (i.head.state != kActorFree) out.push_back(&i);
  }
  return out;
}

TEST_F(EnemyOracle, EveryDropTableThrowsItsBandForEveryDrawWithItsFallSpeeds) {
  for (const DropColumn& c : kDropTables) {
    for (int byTouch = 0; byTouch < 2; ++byTouch) {
      if (c.byTouch != -1 && c.byTouch != byTouch) continue;
      for (int r = 0; r < 100; ++r) {
        ResetPools();
        SpawnEnemy(280, 180, 25, 0, 1, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        EnemyRecord& e = LastEnemy();
        e.head.x = 300;
        e.head.y = 200;
        const uint32_t seed = SeedWhereDraw(0, r);
        SeedRand(seed);
        DropEnemyItems(e, c.table, static_cast<uint8_t>(byTouch));
        const std::vector<int> want = DropsFor(c.bands, r);
        const auto items = LiveItems();
        ASSERT_EQ(items.size(), want.size()) << "table " << c.table << " touch " << byTouch << " r " << r;
        Lcg g{seed};
        g.Next();
        for (size_t i = 0; i < items.size(); ++i) {
          EXPECT_EQ(items[i]->kind, want[i]) << "table " << c.table << " touch " << byTouch << " r " << r;
          EXPECT_FLOAT_EQ(items[i]->head.x, 300.0f);
          EXPECT_FLOAT_EQ(items[i]->head.y, 192.0f);
          // A fresh draw for the fall speed, then the item's own draw for its x speed.
          EXPECT_FLOAT_EQ(items[i]->fallSpeed, static_cast<float>((g.Next() % 20) / 10.0 - 7.0))
              << "table " << c.table << " r " << r << " item " << i;
          EXPECT_FLOAT_EQ(items[i]->head.vx, static_cast<float>(3.0 - (g.Next() % 61) / 10.0))
              << "table " << c.table << " r " << r << " item " << i;
        }
      }
    }
  }
}

TEST_F(EnemyOracle, EveryKindDropsFromItsTableWhenDefeated) {
  for (int kind = 1; kind <= 47; ++kind) {
    for (int byTouch = 0; byTouch < 2; ++byTouch) {
      for (int r : {0, 1, 2, 4, 6, 9, 12, 17, 25, 35, 45, 55, 65, 75, 85, 99}) {
        ResetPools();
        SpawnEnemy(280, 180, kind, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        EnemyRecord& e = LastEnemy();
        e.head.state = kActorActive;
        SeedRand(SeedWhereDraw(1, r));  // the burst angle draws first
        DefeatEnemy(e, static_cast<uint8_t>(byTouch));
        std::vector<int> got;
        for (const ItemRecord* i : LiveItems()) got.push_back(i->kind);
        const int table = kDropTableOfKind[kind];
        EXPECT_EQ(got, table == 0 ? std::vector<int>{} : ExpectedDrops(table, byTouch, r))
            << "kind " << kind << " touch " << byTouch << " r " << r;
      }
    }
  }
}

// The frames a boss shows while it enters, by step s = timer / 4 - 4: each
// "b: f" covers the steps below b not covered before.
struct Entrance {
  int kind, stage;
  std::vector<std::pair<int, int>> entries;
};
// clang-format off
const Entrance kEntrances[] = {
    {29, 16,  {{4, 0}, {7, 5}, {8, 0}, {11, 5}, {12, 0}, {16, 13}, {17, 0}, {20, 7}, {21, 0}, {27, 9}, {50, 6}}},
    {30, 43,  {{4, 0}, {7, 5}, {8, 0}, {11, 9}, {12, 0}, {16, 7}, {17, 0}, {20, 9}, {21, 0}, {27, 6}, {50, 13}}},
    {31, 56,  {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {16, 6}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {33, 87,  {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {16, 6}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {32, 70,  {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {16, 7}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {34, 101, {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {16, 7}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {35, 119, {{4, 0}, {7, 7}, {8, 0}, {9, 5}, {10, 6}, {11, 14}, {12, 0}, {16, 7}, {17, 0}, {20, 9}, {21, 0},
               {24, 5}, {25, 6}, {26, 14}, {50, 13}}},
    {36, 136, {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {18, 7}, {19, 0}, {21, 9}, {22, 0}, {26, 12}, {27, 0}, {50, 13}}},
    {37, 151, {{40, 13}}},
    {37, 146, {{18, 13}, {21, 5}, {22, 0}, {26, 7}, {27, 0}, {50, 6}}},
    {45, 149, {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {18, 6}, {21, 5}, {22, 0}, {26, 6}, {27, 0}, {50, 13}}},
};
// clang-format on

TEST_F(EnemyOracle, BossesShowTheirEntranceFramesStepByStep) {
  static const int sheet[16] = {};
  for (const Entrance& en : kEntrances) {
    const int lastStep = en.entries.back().first;
    for (int timer = 0; timer < 4 * (lastStep + 4); ++timer) {
      ResetPools();
      game.CurrentStage = en.stage;
      SpawnEnemy(1000, 300, en.kind, 0, 6, 1, 3000, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
      EnemyRecord& e = LastEnemy();
      e.head.state = kActorActive;
      e.head.images = sheet;
      e.timer = timer;
      e.airborne = 0;
      e.animationId = 3;  // the entrance wins over the behaviour's frame
      DrawEnemySprite(e);
      const int step = timer / 4 - 4;
      int want = en.entries.front().second;
      for (const auto& [below, frame] : en.entries) {
        if (step < below) {
          want = frame;
          break;
        }
      }
      EXPECT_EQ(e.head.frame, want) << "kind " << en.kind << " stage " << en.stage << " timer " << timer;
    }
  }
}

TEST_F(EnemyOracle, BulletSpeedsAndTheSpeedBonusFollowTheDifficulty) {
  const float bulletScale[4] = {0.8f, 1.0f, 1.3f, 1.6f};
  const float inverse[4] = {1.25f, 1.0f, 0.769231f, 0.625f};
  std::vector<float> onScreen[4];
  for (int d = 0; d < 4; ++d) {
    ResetPools();
    game.DifficultyLevel = d;
    EXPECT_NEAR(InverseBulletSpeedScale[d], inverse[d], 1e-6) << d;
    EXPECT_EQ(DifficultyExcess(), d > 1 ? d - 1.0f : 0.0f) << d;  // the speed bonus of the stage scripts
    const auto shots = Fired([] { SpawnEnemyBullet(100, 100, 4.0f, 0.0f, 0, 0, 0, 0, 10000, 30, 0, 0); });
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_FLOAT_EQ(shots[0].head.speed, 4.0f * bulletScale[d]) << d;
    EXPECT_FLOAT_EQ(shots[0].head.vx, 4.0f * bulletScale[d]) << d;
    // Kind 26's fixed volley at timer 60 flies at 5.0 on the screen at every difficulty.
    SpawnEnemy(300, 100, 26, 0, 1, 1, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10403);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.timer = 59;
    SeedRand(12345);
    const auto volley = Fired([&] { RunEnemyAI(e); });
    ASSERT_EQ(volley.size(), 5u) << d;
    for (const ShotRecord& b : volley) onScreen[d].push_back(b.head.speed);
  }
  // The same draws give the same speeds: 5.0 times the random factor, 80 to 120 percent.
  for (size_t i = 0; i < onScreen[1].size(); ++i) {
    EXPECT_GE(onScreen[1][i], 4.0f - 1e-4f);
    EXPECT_LE(onScreen[1][i], 6.0f + 1e-4f);
    for (int d : {0, 2, 3}) EXPECT_NEAR(onScreen[d][i], onScreen[1][i], 1e-4) << "difficulty " << d;
  }
}


// Each sprite draw with the blend and tint it was made under.
struct TintedDraw {
  bool mirrored;
  int mode, param, r, g, b;
};
std::vector<TintedDraw> tinted;
TintedDraw DrawNow(bool mirrored) {
  const qor::DrawState& s = qor::GetDrawState();
  return {mirrored, s.blendMode, s.blendParam, s.tintRed, s.tintGreen, s.tintBlue};
}

TEST_F(EnemyOracle, FlashFrozenFadeAndEndingTintsByTheFrame) {
  qor::ClearDrawState();
  graphCalls.blitGraph = [](int, int, int, int) { return tinted.push_back(DrawNow(false)), 0; };
  graphCalls.blitGraphMirrored = [](int, int, int, int) { return tinted.push_back(DrawNow(true)), 0; };
  static const int sheet[16] = {};
  auto flier = [] {
    ResetPools();
    SpawnEnemy(300, 200, 25, 0, 1, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.head.images = sheet;
    e.motion.velocityX = 1;
    return &e;
  };
  // Frozen: a second draw tinted (0, 255, 255) in mode 3 at trunc(f / 10 x p).
  for (int f = 1; f <= 48; ++f) {
    EnemyRecord& e = *flier();
    e.frozenTimer = f;
    tinted.clear();
    DrawEnemy(e);
    ASSERT_EQ(tinted.size(), 2u) << f;
    const int r = f % 8, p = r < 4 ? 32 * r : 32 * (8 - r);
    const int want = std::min(255, static_cast<int>(f / 10.0 * p));
    EXPECT_EQ(tinted[1].mode, 3) << f;
    EXPECT_EQ(tinted[1].param, want) << f;
    EXPECT_EQ((std::vector<int>{tinted[1].r, tinted[1].g, tinted[1].b}), (std::vector<int>{0, 255, 255})) << f;
    EXPECT_EQ(tinted[0].mode, 0) << f;
    EXPECT_EQ(e.frozenTimer, f - 1);
    EXPECT_EQ(qor::GetDrawState().blendMode, 0);
    EXPECT_EQ(qor::GetDrawState().tintGreen, 255);
    EXPECT_EQ(qor::GetDrawState().tintRed, 255);
  }
  // Hit flash: the second draw additive at 255.
  EnemyRecord& hit = *flier();
  hit.hitFlash = 2;
  tinted.clear();
  DrawEnemy(hit);
  ASSERT_EQ(tinted.size(), 2u);
  EXPECT_EQ(tinted[1].mode, 2);
  EXPECT_EQ(tinted[1].param, 255);
  EXPECT_EQ(hit.hitFlash, 1);
  // Leaving: alpha 255 - 16 x counter after its step, nothing from 16 on.
  EnemyRecord& gone = *flier();
  gone.head.state = kEnemyLeaving;
  for (int n = 1; n <= 17; ++n) {
    tinted.clear();
    DrawEnemy(gone);
    if (n < 16) {
      ASSERT_EQ(tinted.size(), 1u) << n;
      EXPECT_EQ(tinted[0].mode, 1) << n;
      EXPECT_EQ(tinted[0].param, 255 - 16 * n) << n;
    } else {
      EXPECT_TRUE(tinted.empty()) << n;
    }
  }
  // Stage 152 in the ending: facing left, tinted (255, 111, 77) once the timer passes 2219.
  for (int t : {2219, 2220}) {
    EnemyRecord& actor = *flier();
    game.CurrentStage = 152;
    game.EndingPhase = 3;
    game.EndingTimer = t;
    tinted.clear();
    DrawEnemy(actor);
    ASSERT_EQ(tinted.size(), 1u) << t;
    EXPECT_TRUE(tinted[0].mirrored) << t;
    const std::vector<int> want = t > 2219 ? std::vector<int>{255, 111, 77} : std::vector<int>{255, 255, 255};
    EXPECT_EQ((std::vector<int>{tinted[0].r, tinted[0].g, tinted[0].b}), want) << t;
    EXPECT_EQ(qor::GetDrawState().tintGreen, 255);
  }
  qor::ClearDrawState();
}

}  // namespace
}  // namespace orb::test
