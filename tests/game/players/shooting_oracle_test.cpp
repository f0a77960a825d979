// Every character's shooting mode, held from a fresh press, against the
// shooting table typed here: which frames fire, from which muzzle, at which
// angles, with which pattern, and what each volley costs.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "game/game_reset.h"
#include "game/players/players.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/pools.h"

namespace orb::test {
namespace {

// One call of the pattern emitter.
struct Call {
  float mx, my;  // muzzle offset, facing right (x mirrored facing left)
  int kind, count;
  float spread, speed, speedAccel, driftX, angleAccel;  // driftX and angleAccel facing right
  int lifetime, typeLo, typeHi, damage, damageClass;
  std::function<float(int fc, bool right)> angle;
  std::function<int(int fc)> type;  // overrides typeLo..typeHi when set
  bool angleAccelBothSides = false;  // else mirrored facing left
};

struct Mode {
  int character;
  uint32_t held;  // the direction held
  const char* what;
  int interval, cycle;  // cycle: counter lowered by it once it reaches it (0: never)
  std::function<bool(int fc)> window;
  float baseCost;
  float muzzleYJitter;  // a random shift of the muzzle height, up to this many pixels
  std::vector<Call> calls;
};

float Side(bool right, float r, float l) { return right ? r : l; }
std::function<float(int, bool)> Straight() {
  return [](int, bool r) { return Side(r, 0, 180); };
}
std::function<float(int, bool)> ByHeld(uint32_t held) {
  return [held](int, bool r) {
    if (held & kPadDown) return Side(r, 30, 150);
    if (held & kPadUp) return Side(r, -30, 210);
    return Side(r, 0, 180);
  };
}
// Angle number (fc mod period) / step of a sweep.
std::function<float(int, bool)> Sweep(std::vector<float> right, std::vector<float> left, int period, int step) {
  return [=](int fc, bool r) { return (r ? right : left)[static_cast<size_t>((fc % period) / step)]; };
}
std::function<bool(int)> Always() {
  return [](int) { return true; };
}
std::function<bool(int)> Below(int period, int limit) {
  return [=](int fc) { return fc % period < limit; };
}

// clang-format off
std::vector<Mode> Modes() {
  const uint32_t none = 0, down = kPadDown, up = kPadUp, side = kPadRight;
  std::vector<Mode> m;
  for (uint32_t held : {none, down, up}) {
    m.push_back({0, held, "0", 5, 0, Always(), 4.6f, 0, {{22, 4, 1, 1, 0, 12.0f, 0, 0, 0, 0, 10000, 10000, 32, 1, ByHeld(held), {}}}});
  }
  for (auto [held, spread] : {std::pair{none, 70.0f}, {down, 360.0f}, {up, 110.0f}}) {
    m.push_back({1, held, "1", 6, 0, Always(), 4.8f, 0, {{22, 4, 3, 1, spread, 4.0f, 0, 0.3f, 0, 30, 10100, 10103, 47, 1, Straight(), {}}}});
  }
  for (uint32_t held : {none, down, up, side}) {
    const float spread = held == side ? 15.0f : 60.0f;
    m.push_back({2, held, "2", 7, 0, Always(), 4.7f, 0,
                 {{22, 4, 1, 1, 0, 5.0f, 0, 0, 0, 0, 10203, 10203, 24, 1, Straight(), {}},
                  {0, -8, 3, 1, spread, 5.0f, 0, 0, 0, 0, 10200, 10200, 24, 1, ByHeld(held), {}}}});
  }
  m.push_back({3, none, "3", 5, 0, Always(), 2.3f, 0, {{12, 10, 3, 1, 30.0f, 18.0f, -0.7f, 0, 0, 23, 10300, 10300, 47, 3, Straight(), {}}}});
  m.push_back({4, none, "4", 5, 0, Below(40, 25), 3.0f, 0,
               {{22, 4, 1, 5, 68.0f, 7.0f, -0.11f, 0, 0, 32, 0, 0, 11, 1,
                 Sweep({32, 16, 0, -16, -32}, {148, 164, 180, 196, 212}, 40, 5),
                 [](int fc) { return 10400 + ((fc % 40) / 5) % 4; }}}});
  m.push_back({5, none, "5 nothing held", 7, 0, Always(), 5.5f, 10,
               {{22, 4, 1, 1, 0, 9.0f, 0, -0.3f, 0, 17, 10500, 10500, 50, 2, Straight(), {}}}});
  m.push_back({5, side, "5 side", 6, 0, Always(), 5.2f, 0,
               {{22, 4, 3, 1, 20.0f, 17.0f, -0.4f, 0, 0, 10, 10300, 10300, 35, 3, Straight(), {}}}});
  m.push_back({5, down, "5 down", 12, 0, Always(), 14.0f, 0,
               {{15, 4, 1, 6, 360.0f, 10.0f, -0.3f, 0, 4.0f, 20, 10500, 10500, 50, 2,
                 [](int fc, bool) { return static_cast<float>((fc * 4) % 360); }, {}, true}}});
  m.push_back({5, up, "5 up", 16, 16, Always(), 18.0f, 0,
               {{22, 4, 1, 3, 60.0f, 12.5f, -0.5f, 0, 0, 25, 11300, 11300, 43, 1, Straight(), {}}}});
  m.push_back({6, none, "6", 5, 0, Below(30, 20), 5.1f, 0,
               {{38, 4, 1, 4, 45.0f, 0.1f, 0.5f, 0, 0, 10, 10600, 10600, 21, 1,
                 Sweep({24, 8, -8, -24}, {156, 172, 188, 204}, 30, 5), {}}}});
  m.push_back({6, up, "6 up", 5, 0, Always(), 4.4f, 0,
               {{30, 4, 1, 2, 10.0f, 16.0f, -1.0f, 0, 0, 10, 10600, 10600, 21, 1,
                 [](int fc, bool r) {
                   const int i = fc / 2;
                   return static_cast<float>(i % 20 < 10 ? i % 10 - 5 : 5 - i % 10) + (r ? 0.0f : 180.0f);
                 }, {}}}});
  m.push_back({7, none, "7", 5, 0, Always(), 4.6f, 0,
               {{20, 7, 3, 2, 30.0f, 15.0f, -0.5f, 0, 0, 10, 10403, 10403, 24, 1, Straight(), {}}}});
  m.push_back({7, up, "7 up", 20, 20, Always(), 23.0f, 0,
               {{24, 7, 1, 1, 0, 10.0f, 0, 0, 0, 0, 10703, 10703, 40, 1, Straight(), {}},
                {24, 7, 3, 4, 20.0f, 10.0f, -0.3f, 0, 0, 10, 11503, 11503, 15, 1, Straight(), {}},
                {24, 7, 3, 6, 20.0f, 9.0f, -0.3f, 0, 0, 10, 11403, 11403, 8, 1, Straight(), {}}}});
  m.push_back({8, none, "8", 5, 0, Below(35, 25), 5.0f, 0,
               {{25, 8, 1, 1, 1.0f, 0.0f, 0.7f, 0, 0, 10, 10800, 10800, 43, 1,
                 Sweep({8, 4, 0, -4, -8}, {172, 176, 180, 184, 188}, 35, 5), {}}}});
  m.push_back({8, up, "8 up", 20, 20, Always(), 20.0f, 0,
               {{25, -8, 1, 1, 1.0f, 12.0f, -0.4f, 0, 0, 30, 11100, 11100, 120, 1, Straight(), {}}}});
  m.push_back({9, none, "9", 7, 0, Below(35, 21), 8.0f, 0,
               {{33, -6, 1, 5, 60.0f, 0.0f, 0.5f, 0, 0, 13, 0, 0, 23, 1, Straight(),
                 [](int fc) { return 10900 + (fc % 35) / 5; }}}});
  m.push_back({9, down, "9 down", 7, 0, Below(35, 21), 8.0f, 0,
               {{33, -13, 1, 5, 70.0f, 0.0f, 0.5f, 0, 0, 13, 0, 0, 23, 1,
                 [](int, bool r) { return Side(r, -35, 215); },
                 [](int fc) { return 10900 + (fc % 35) / 5; }}}});
  m.push_back({9, up, "9 up", 7, 0, Below(42, 28), 9.0f, 0,
               {{39, 5, 1, 1, 1.0f, 5.0f, 0.2f, 0, -3.0f, 23, 11100, 11100, 70, 1,
                 Sweep({56, 48, 40, 32, 24}, {124, 132, 140, 148, 156}, 42, 7), {}}}});
  return m;
}
// clang-format on

// The headings of a kind-1 pattern: one shot at the angle, or a fan whose
// spread of exactly 360 closes to 360 (n - 1) / n.
std::vector<float> FanHeadings(float angle, int count, float spread) {
  if (count == 1) return {angle};
  if (spread == 360.0f) spread = 360.0f * (count - 1) / count;
  std::vector<float> out;
  for (int i = 0; i < count; ++i) out.push_back(angle - spread / 2 + spread * i / (count - 1));
  return out;
}

// The shot types whose own damage and class replace the spawner's.
void TypeDamage(int type, int* damage, int* damageClass) {
  const int band = type / 100;
  const int fixed = band == 112 ? 20 : band == 114 ? 10 : band == 115 ? 20 : band == 116 ? 24 : -1;
  if (fixed < 0) return;
  *damage = fixed;
  *damageClass = 1;
}

constexpr int kFrames = 90;
constexpr float kPower = 5000.0f;

TEST(ShootingOracle, EveryModeFiresItsRowFromAFreshPressAtBothFacings) {
  for (const Mode& mode : Modes()) {
    for (bool right : {true, false}) {
      ResetGameModules();
      DefaultPlayerMasks(input.LiveButtonMasks);
      game.DifficultyLevel = 1;
      game.ActiveCharacter[0] = mode.character;
      PartyMember& member = game.party[mode.character];
      member.power = member.powerMax = kPower;
      PlayerRecord& p = pools.players[0];
      p.playerIndex = 0;
      p.head.x = 1000;
      p.head.y = 300;
      p.facing = right ? 1 : 0;
      p.fireCounter = 5;
      const uint32_t shoot = input.LiveButtonMasks[kActionShoot];
      const std::string what = std::string("character ") + mode.what + (right ? " right" : " left");

      int fc = 5, volleys = 0;
      for (int frame = 0; frame < kFrames; ++frame) {
        input.HeldInput[0] = shoot | mode.held;
        input.PressedInput[0] = frame == 0 ? shoot : 0;
        // The counter as the table runs it: -1 at the press, +1 a frame.
        if (frame == 0) fc = -1;
        ++fc;
        const bool due = mode.window(fc) && fc % mode.interval == 0;
        const int firedAt = fc;
        if (mode.cycle != 0 && fc >= mode.cycle) fc -= mode.cycle;

        const int32_t before = pools.PlayerShotRing;
        const float powerBefore = member.power;
        UpdatePlayerAttack(p);
        std::vector<ShotRecord> shots;
        for (int32_t i = before; i != pools.PlayerShotRing; i = (i + 1) % 255) shots.push_back(pools.playerShots[i]);
        for (ShotRecord& s : pools.playerShots) s.head.state = kActorFree;

        size_t expected = 0;
        for (const Call& c : mode.calls) expected += due ? static_cast<size_t>(c.count) : 0;
        ASSERT_EQ(shots.size(), expected) << what << " frame " << frame;
        if (!due) {
          EXPECT_EQ(member.power, powerBefore) << what << " frame " << frame;
          continue;
        }
        ++volleys;
        EXPECT_FLOAT_EQ(member.power, powerBefore - 1.7f * mode.baseCost) << what << " frame " << frame;
        size_t n = 0;
        for (const Call& c : mode.calls) {
          const float angle = c.angle(firedAt, right);
          const std::vector<float> fan = FanHeadings(angle, c.count, c.spread);
          for (int k = 0; k < c.count; ++k, ++n) {
            const ShotRecord& s = shots[n];
            const std::string at = what + " frame " + std::to_string(frame) + " shot " + std::to_string(n);
            EXPECT_FLOAT_EQ(s.head.x, 1000 + Side(right, c.mx, -c.mx)) << at;
            EXPECT_NEAR(s.head.y, 300 + c.my, mode.muzzleYJitter) << at;
            if (c.kind == 1) {
              EXPECT_NEAR(s.angle, fan[static_cast<size_t>(k)], 1e-3) << at;
              EXPECT_FLOAT_EQ(s.head.speed, c.speed) << at;
            } else {
              // The scatter: a whole-degree offset within the spread, 80 to 120 percent of the speed.
              const float low = angle - c.spread / 2;
              EXPECT_GE(s.angle, low - 1e-3) << at;
              EXPECT_LE(s.angle, low + std::trunc(c.spread) - 1 + 1e-3) << at;
              EXPECT_NEAR(s.angle - low, std::round(s.angle - low), 1e-3) << at;
              EXPECT_GE(s.head.speed, c.speed * 0.8f - 1e-4f) << at;
              EXPECT_LE(s.head.speed, c.speed * 1.2f + 1e-4f) << at;
            }
            EXPECT_FLOAT_EQ(s.speedAccel, c.speedAccel) << at;
            EXPECT_FLOAT_EQ(s.driftAccelX, Side(right, c.driftX, -c.driftX)) << at;
            EXPECT_FLOAT_EQ(s.driftAccelY, 0.0f) << at;
            const float angleAccel = c.angleAccelBothSides ? c.angleAccel : Side(right, c.angleAccel, -c.angleAccel);
            EXPECT_FLOAT_EQ(s.angleAccel, angleAccel) << at;
            EXPECT_EQ(s.lifetime, c.lifetime) << at;
            if (c.type) {
              EXPECT_EQ(s.typeCode, c.type(firedAt)) << at;
            } else {
              EXPECT_GE(s.typeCode, c.typeLo) << at;
              EXPECT_LE(s.typeCode, c.typeHi) << at;
            }
            int damage = c.damage, damageClass = c.damageClass;
            TypeDamage(s.typeCode, &damage, &damageClass);
            EXPECT_EQ(s.damage, damage) << at;
            EXPECT_EQ(s.damageClass, damageClass) << at;
          }
        }
      }
      EXPECT_GT(volleys, 2) << what;
    }
  }
  ResetGameModules();
}

TEST(ShootingOracle, TheCostFactorIs13AtDifficulty0And17AboveForEveryCharacter) {
  const float factor[4] = {1.3f, 1.7f, 1.7f, 1.7f};
  const float base[10] = {4.6f, 4.8f, 4.7f, 2.3f, 3.0f, 5.5f, 5.1f, 4.6f, 5.0f, 8.0f};  // nothing held
  for (int d = 0; d < 4; ++d) {
    for (int c = 0; c < 10; ++c) {
      ResetGameModules();
      DefaultPlayerMasks(input.LiveButtonMasks);
      game.DifficultyLevel = d;
      game.ActiveCharacter[0] = c;
      game.party[c].power = 100.0f;
      PlayerRecord& p = pools.players[0];
      p.playerIndex = 0;
      p.facing = 1;
      p.fireCounter = 5;
      input.HeldInput[0] = input.PressedInput[0] = input.LiveButtonMasks[kActionShoot];
      UpdatePlayerAttack(p);
      EXPECT_FLOAT_EQ(game.party[c].power, 100.0f - factor[d] * base[c]) << "difficulty " << d << " character " << c;
      // Exactly the cost left fires once more; a hair below it does not.
      const float cost = factor[d] * base[c];
      input.PressedInput[0] = 0;
      p.fireCounter = -1;
      game.party[c].power = cost;
      UpdatePlayerAttack(p);
      EXPECT_FLOAT_EQ(game.party[c].power, 0.0f) << "difficulty " << d << " character " << c;
      p.fireCounter = -1;
      game.party[c].power = std::nextafter(cost, 0.0f);
      UpdatePlayerAttack(p);
      EXPECT_FLOAT_EQ(game.party[c].power, std::nextafter(cost, 0.0f)) << "difficulty " << d << " character " << c;
    }
  }
  ResetGameModules();
}

}  // namespace
}  // namespace orb::test
