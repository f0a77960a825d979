// The first six boss fights against their timetables: each boss, spawned as
// its room spawns it, runs its intro and one cycle at difficulties 0 and 3,
// normal and with its bar forced under a third. Every frame's bullets (by
// type code, carried follow-up and acceleration time), minions, x speed, y
// speed and gravity are compared with what the timetables typed in here
// give for that frame, from the boss's state before the frame.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "boss_test_support.h"
#include "game/world/crt_rand.h"

namespace orb::test {
namespace {

// What the timetable puts in one frame.
struct Expect {
  std::map<std::string, int> bullets;  // "type/follow-up kind/acceleration time" -> bullets
  std::vector<std::string> minions;    // "mode/hit points@dx"
  std::optional<float> speedX;         // set this frame
  bool signedX = false;                // the set value with its sign (no pose turns it)
  float scaleX = 1.0f;                 // then multiplied
  std::optional<float> jump;           // y speed set when standing
  std::optional<float> speedY;         // y speed set in any case
  std::optional<float> gravity;

  void Add(int type, int follow, int life, int n) {
    if (n > 0) bullets[std::to_string(type) + "/" + std::to_string(follow) + "/" + std::to_string(life)] += n;
  }
};

struct Seen {
  int c, d;
  float de;
  bool hard;
  int facing;  // as before the frame
  int32_t playFrame;
};

float Facing(const Seen& s, float v) { return s.facing == 1 ? v : -v; }
bool In(int c, int a, int b) { return c >= a && c <= b; }

void Boss29(const Seen& s, Expect& x) {
  const int c = s.c, d = s.d;
  const float de = s.de;
  const int dt = static_cast<int>(de);
  if (c < 300) {
    struct Row {
      int c;
      bool hard;
      int mode, hp;
    };
    const Row rows[] = {{40, true, 5, 200},   {90, true, 31, 70},   {150, true, 7, 200},
                        {200, true, 8, 200},  {250, true, 31, 70},  {50, false, 5, 200},
                        {110, false, 7, 200}, {170, false, 8, 200}, {240, false, 5, 200}};
    for (const Row& r : rows) {
      const int dx = s.facing != 0 ? 24 : -18;  // the minion's centre: 14 or -28, plus half of its 20 px
      if (r.c == c && r.hard == s.hard)
        x.minions.push_back(std::to_string(r.mode) + "/" + std::to_string(r.hp) + "@" + std::to_string(dx));
    }
  } else if (c < 500) {
    if (c == 300) x.speedX = 0.0f;
    if (c == 330) x.jump = -11.0f;
    if (c == 430) x.speedX = 4.8f, x.jump = -14.0f;
    if (c == 350 || c == 465) {
      if (s.hard)
        x.Add(10203, 0, 0, 3 * (2 * d + 5));
      else
        x.Add(10200, 0, 0, 3 * (2 * d + 3));
    }
    if ((c == 356 || c == 471) && s.hard) x.Add(10203, 0, 0, 3 * (2 * d + 5));
  } else if (c < 800) {
    // Backsteps b = 530, 630, 730 (20 frames), dashes from 550, 650, 750.
    const int r = (c - 500) / 100, t = c - 500 - 100 * r;
    x.signedX = true;
    if (t < 30)
      x.speedX = 0.0f;
    else if (t < 50)
      x.speedX = Facing(s, static_cast<float>(t - 30) / 10.01f - 2.0f);
    else {
      const float top = r == 0 ? (s.hard ? 13.0f : 10.0f) : (s.hard ? 16.0f : 13.0f);
      x.speedX = Facing(s, top - static_cast<float>(t - 50) / (r == 0 ? 5.0f : 3.83f));
    }
    if (c == 750) x.speedY = -8.0f;
  } else {
    if (c < 810) x.speedX = 3.0f;
    if (c == 850 || c == 950) x.jump = -8.0f;
    if (c == 867 || c == 913 || c == 967) x.Add(10203, 0, 0, 3 * (s.hard ? 2 * dt + 3 : 2 * dt + 1));
  }
}

void Boss15(const Seen& s, Expect& x) {
  const int c = s.c, d = s.d;
  const float de = s.de;
  if (c < 300) {
    if (c == 10) x.speedX = 2.0f;
    if (c % 100 == 40) x.jump = -13.0f;
    const int t = c % 100;
    if (t == 70 || t == 75 || t == 80 || t == 85 || t == 90 || (t == 95 && s.hard)) x.Add(11503, 0, 0, 3 + d);
  } else if (c < 500) {
    if (c == 309) x.speedX = (s.hard ? 5.0f : 3.0f) + de;
    if (c == 310) x.jump = -5.0f;
    if (c == 369) x.speedX = (s.hard ? 7.0f : 5.0f) + de;
    if (c == 370) x.jump = -7.0f;
    if (c == 419) x.speedX = 3.0f + de;
    if (c == 449) x.scaleX = 2.0f;
    if (c == 450) x.jump = -9.0f;
  } else if (c < 800) {
    if (c == 510) x.speedX = 4.0f;
    if (c == 560 || c == 700) x.jump = -13.0f;
    if (c == 590 || (s.hard && (c == 720 || c == 740)) || (!s.hard && c == 730)) x.Add(10403, 0, 110, 2 * (2 * d + 14));
  } else {
    if (c < 810) x.speedX = static_cast<float>(d) + 3.0f;
    if (c == 850 || c == 950) x.jump = -11.0f;
  }
}

void Boss30(const Seen& s, Expect& x) {
  const int c = s.c, d = s.d;
  const float de = s.de;
  if (c < 300) {
    if (c == 10) x.speedX = 2.0f + 0.5f * de;
    if (c % 100 == 40) x.jump = -10.0f;
    if (c % 100 == 65) x.Add(10400, c >= 10 ? 2 : 0, 20, s.hard ? 20 : 12);
  } else if (c < 500) {
    if (c == 309) x.speedX = (s.hard ? 3.0f : 2.0f) + 0.5f * de;
    if (c == 330) x.jump = -5.0f;
    if (c == 390) x.speedX = 0.0f, x.jump = -8.0f;
    if (c == 450) x.jump = -8.0f;
    if (c == 400 || c == 460) x.Add(10300, 0, 20, s.hard ? 12 : 9);
  } else if (c < 800) {
    if (c == 510) x.speedX = 2.0f + 0.5f * de;
    if (c == 560 || c == 700) x.jump = -13.0f;
    struct Wave {
      int n, life, type;
    };
    const std::vector<Wave> w590h = {{4, 20, 11500}, {6, 30, 11500}, {5, 40, 11501}, {4, 50, 11502}, {3, 60, 11503}};
    const std::vector<Wave> w590 = {{6, 40, 11500}, {5, 40, 11501}, {4, 40, 11502}, {3, 40, 11503}};
    const std::vector<Wave> w730h = {{4, 30, 11500}, {6, 40, 11500}, {5, 50, 11501}, {4, 60, 11502}, {3, 70, 11503}};
    const std::vector<Wave> w730 = {{6, 50, 11500}, {5, 50, 11501}, {4, 50, 11502}, {3, 50, 11503}};
    const std::vector<Wave>* waves = c == 590   ? (s.hard ? &w590h : &w590)
                                     : c == 730 ? (s.hard ? &w730h : &w730)
                                                : nullptr;
    if (waves) {
      for (const Wave& v : *waves) x.Add(v.type, 3, v.life, d + v.n);
    }
  } else {
    if (c < 810) x.speedX = 2.0f + 0.5f * de;
    if (c == 850 || c == 885 || c == 950) x.jump = -6.0f;
  }
}

void Boss31(const Seen& s, Expect& x) {
  const int c = s.c, d = s.d;
  const float e = s.de;
  if (c < 300) {
    if (c == 10) x.speedX = 8.0f + e;
    if (c == 100) x.speedX = 6.0f + e;
    const std::map<int, float> hops = {{40, -6.0f}, {110, -8.0f}, {200, -3.0f}, {230, -5.0f}};
    if (hops.count(c)) x.jump = hops.at(c);
    if (c == 265 && s.hard) x.jump = -6.0f;
  } else if (c < 500) {
    if (c == 301) x.speedX = 3.0f;
    if (c == 330) x.jump = -12.0f;
    if (c == 350) x.speedY = -2.0f, x.gravity = 0.04f, x.scaleX = 1.0f / 3.0f;
    if (c == 450) x.gravity = 0.4f, x.scaleX = 3.0f;
    if (In(c, 350, 449) && c % (d == 0 ? 20 : 10) == 0) {
      const int n = d == 0 ? 2 : 4;
      if (s.hard) {
        for (int i = 0; i < 4; ++i) x.Add(10400 + i, 0, 20, n);
      } else {
        x.Add(10400, 0, 20, 2 * n);
      }
    }
  } else if (c < 800) {
    if (c == 510) x.speedX = 2.0f + 0.5f * e;
    if (c == 560 || c == 700) x.jump = -13.0f;
    if (c == 590 || c == 595 || c == 600 || c == 730 || c == 735 || c == 740) x.Add(10403, 0, 110, 4 * d + 9);
  } else {
    const bool guard = In(c, 800, 829) || In(c, 890, 929) || In(c, 980, 999);
    if (guard) x.speedX = 3.0f + 0.5f * e;
    if (c == 850 || c == 890 || c == 945) x.jump = -7.0f, x.scaleX = static_cast<float>(c - 700) / 100.0f;
  }
}

// Kind 32's follow-up kind, which its attack-value writes switch.
int g_follow32 = 0;

void Boss32(const Seen& s, Expect& x) {
  const int c = s.c, d = s.d;
  const float e = s.de;
  if (c == 10 || c == 510) g_follow32 = 0;
  if (In(c, 300, 310) || In(c, 380, 409)) g_follow32 = s.hard ? 1 : 0;
  if (c < 300) {
    if (c == 10) x.speedX = e;
    if (In(c, 20, 99)) {
      const bool fires = s.hard ? c % 10 == 0 && (d != 0 || c % 20 != 0) : c % 16 == 0 && (d != 0 || c % 32 != 0);
      if (fires) x.Add(s.hard ? 10300 : 10500, 0, s.hard ? 0 : 20, 1);
    }
    if (c == 130) x.speedX = 2.0f + 0.5f * e;
    if (c == 140) x.jump = -8.0f;
    if (c == 160) x.Add(11300, 0, 110, 2 * d + 1);
    if (c == 230) x.jump = -11.0f;
    if (c == 250) x.Add(11300, 0, 110, 2 * d + 2);
  } else if (c < 500) {
    if (c == 301) x.speedX = 3.0f;
    if (c == 330) x.jump = -12.0f;
    if (c == 350) x.speedY = -2.0f, x.gravity = 0.04f, x.scaleX = 1.0f / 3.0f;
    if (c == 450) x.gravity = 0.4f, x.scaleX = 3.0f;
    if (In(c, 350, 449)) {
      if (s.hard && (d != 0 || c % 4 == 0)) x.Add(10403, g_follow32, 70, 1);
      if (!s.hard && c % 10 == 0) x.Add(10500, g_follow32, 40, d == 0 ? 11 : 14);
    }
  } else if (c < 800) {
    if (c == 510) x.speedX = 2.0f + 0.5f * e;
    if (c == 560 || c == 700) x.jump = -13.0f;
    if (c == 595 || c == 602 || c == 609 || c == 735 || c == 742 || c == 749) {
      x.Add(s.hard ? 10500 : 11503, 0, 0, 3 * (d + 10));
    }
  } else {
    if (c < 810) x.speedX = 2.0f + 0.5f * e;
    if (c == 850) x.jump = -11.0f;
    if (c == 951) x.jump = -8.0f;
    if (d >= 1 && s.playFrame % 5 == 0 && In(c, 860, 879)) x.Add(10500, 0, 20, 1);
    if (d >= 1 && s.playFrame % 5 == 0 && In(c, 955, 974)) x.Add(10300, 0, 20, 1);
  }
}

void Boss33(const Seen& s, Expect& x, uint8_t airborneBefore) {
  const int c = s.c, d = s.d;
  const float e = s.de;
  if (c < 300) {
    if (c == 10) x.speedX = 2.0f + 0.2f * e;
    if (c == 105) x.speedX = 2.8f + 0.2f * e;
    if (c == 205) x.speedX = 3.6f + 0.2f * e;
    if (c == 40 || c == 140 || c == 240) x.jump = -13.0f;
    if (c == 60 || c == 160 || c == 260) x.Add(10603, 0, 110, (d + 3) * (d == 0 ? 12 : 16));
  } else if (c < 500) {
    if (c == 312) x.speedX = 3.0f;
    if (c == 330 && airborneBefore == 0) x.jump = -5.0f, x.gravity = 0.08f, x.scaleX = 1.0f / 3.0f;
    if (c == 490) x.gravity = 0.4f, x.scaleX = 3.0f;
    if (c >= 360 && c <= 410 && c % 10 == 0) x.Add(11003, 0, 40, 3 * (2 * d + 12));
  } else {
    if (c == 510) x.speedX = 2.0f + 0.5f * e;
    if (c == 540) x.jump = -13.0f;
    if (In(c, 572, 959)) x.speedY = 0.0f, x.gravity = 0.0f, x.speedX = 0.0f;
    if (c == 960) x.gravity = 0.4f, x.speedX = 0.0f;
    if (s.hard) {
      for (int first : {580, 630, 680, 730, 780, 830, 880, 930}) {
        if (c == first || c == first + 10) x.Add(10603, 2, 3, 2 * (d + 3));
      }
    } else {
      for (int from : {580, 680, 780, 880}) {
        if (c >= from && c < from + 60 && c % 5 == 0) x.Add(10600, 0, 40, d == 0 ? 4 : 6);
      }
      if (c == 660 || c == 760 || c == 860) x.Add(11002, 0, 40, (d == 0 ? 3 : 5) * (static_cast<int>(e) + 4));
    }
  }
}

std::string Fmt(float v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.4f", static_cast<double>(v) == 0.0 ? 0.0 : static_cast<double>(v));
  return b;
}

std::string Line(const std::map<std::string, int>& bullets, const std::vector<std::string>& minions, float sx, float sy,
                 float g) {
  std::string out;
  for (const auto& [k, n] : bullets) out += k + "x" + std::to_string(n) + " ";
  std::vector<std::string> m = minions;
  std::sort(m.begin(), m.end());
  for (const std::string& s : m) out += "m" + s + " ";
  return out + "sx " + Fmt(sx) + " sy " + Fmt(sy) + " g " + Fmt(g);
}

std::string Observed(const BossFrame& f, bool signedX) {
  std::map<std::string, int> bullets;
  for (const ShotRecord& b : f.fired) {
    bullets[std::to_string(b.typeCode) + "/" + std::to_string(b.child.patternKind) + "/" +
            std::to_string(b.lifetime)]++;
  }
  std::vector<std::string> minions;
  for (const EnemyRecord& m : f.spawned) {
    const int dx = static_cast<int>(std::lround(m.head.x - m.head.vx - f.xBefore));
    minions.push_back(std::to_string(m.mode) + "/" + std::to_string(m.hitPoints) + "@" + std::to_string(dx));
  }
  return Line(bullets, minions, signedX ? f.speedX : std::fabs(f.speedX), f.speedY, f.gravity);
}

struct Oracle {
  int kind;
  float gravity;

  std::string Predict(const BossFrame& f, bool* signedX) {
    Expect x;
    const int d = game.DifficultyLevel;
    Seen s{0, d, d > 1 ? static_cast<float>(d - 1) : 0.0f, f.hard, f.facingBefore, f.playFrame};
    if (f.timer < 200) {
      x.speedX = 0.0f;
      if (kind == 15) {
        x.signedX = true;
        x.speedX = f.timer < 110 ? 2.0f : 0.0f;
        if (f.timer == 30) x.jump = -11.0f;
      }
    } else {
      s.c = (f.timer - 200) % 1000;
      switch (kind) {
        case 15:
          Boss15(s, x);
          break;
        case 29:
          Boss29(s, x);
          break;
        case 30:
          Boss30(s, x);
          break;
        case 31:
          Boss31(s, x);
          break;
        case 32:
          Boss32(s, x);
          break;
        case 33:
          Boss33(s, x, f.airborneBefore);
          break;
        default:
          break;
      }
    }
    if (x.gravity) gravity = *x.gravity;
    float sx = x.speedX ? *x.speedX : f.speedXBefore;
    sx *= x.scaleX;
    *signedX = x.signedX;
    if (!x.signedX) sx = std::fabs(sx);
    float sy;
    if (x.speedY)
      sy = *x.speedY + gravity;
    else if (x.jump && f.airborneBefore == 0)
      sy = *x.jump + gravity;
    else
      sy = f.airborneAfter ? std::clamp(f.speedYBefore + gravity, -17.0f, 17.0f) : 0.0f;
    return Line(x.bullets, x.minions, sx, sy, gravity);
  }
};

// One run; the record of every frame (what was compared, and where the
// bullets flew) comes back for the repeat.
std::vector<std::string> Fight(int kind, int d, bool hard) {
  SCOPED_TRACE(testing::Message() << "kind " << kind << " difficulty " << d << (hard ? " hard" : ""));
  ResetGameModules();
  BossFight::EnterRoom(kind, d);
  g_follow32 = 0;
  Oracle oracle{kind, RoomOfKind(kind).gravity};
  std::set<int> releasedTypes;
  std::vector<std::string> record;
  int jumps = 0, mismatches = 0;
  for (int frame = 1; frame <= 1200; ++frame) {
    if (hard && frame == 100) BossFight::ForceHard();
    SeedRand(static_cast<uint32_t>(frame));  // the generator as the frame begins, modelled below
    const BossFrame f = BossFight::Step();
    EXPECT_EQ(f.timer, frame);
    bool signedX = false;
    const std::string want = oracle.Predict(f, &signedX);
    const std::string got = Observed(f, signedX);
    if (want != got && ++mismatches <= 5) {
      ADD_FAILURE() << "timer " << frame << "\n  timetable: " << want << "\n  fight:     " << got;
    }
    record.push_back(got);
    for (const ShotRecord& b : f.fired) record.back() += " " + Fmt(b.head.x) + "," + Fmt(b.head.y);
    jumps += f.airborneBefore == 0 && f.airborneAfter == 1;
    for (const ShotRecord& r : f.released) releasedTypes.insert(r.typeCode);
    if (kind == 32 && frame < 300 && !f.fired.empty()) {
      // One draw per aimed shot: the muzzle 17 px above to 22 px below the boss's centre.
      const uint32_t crt = static_cast<uint32_t>(frame) * 214013u + 2531011u;
      const float muzzle = f.yBefore + 3.0f - 20.0f + static_cast<float>(((crt >> 16) & 0x7FFF) % 40);
      EXPECT_NEAR(f.fired[0].head.y - f.fired[0].head.vy, muzzle, 0.01f) << "timer " << frame;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(jumps, 2);
  // Only kind 30 (always), and 32 and 33 in the hard phase, fire bullets that burst.
  std::set<int> bursts;
  if (kind == 30) bursts = {10400, 11500};
  if (kind == 32 && hard) bursts = {10403};
  if (kind == 33 && hard) bursts = {10603};
  EXPECT_EQ(releasedTypes, bursts);
  return record;
}

class BossTimeline : public BossFight, public ::testing::WithParamInterface<int> {};

TEST_P(BossTimeline, IntroAndOneCycleFollowTheTimetableAndRepeat) {
  std::vector<std::string> last;
  for (int d : {0, 3}) {
    for (bool hard : {false, true}) last = Fight(GetParam(), d, hard);
  }
  EXPECT_EQ(Fight(GetParam(), 3, true), last);
}

INSTANTIATE_TEST_SUITE_P(FirstSix, BossTimeline, ::testing::Values(29, 15, 30, 31, 32, 33));

}  // namespace
}  // namespace orb::test
