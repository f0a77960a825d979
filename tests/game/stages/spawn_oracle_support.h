// The spawns of a stage routine against rows typed from the stage contents
// as they are written: per enemy its kind, hit points, behaviour, bullet
// type, whether it starts awake, and the values of its attack slot, with the
// difficulty rules left as written (20(D+1), 4 + 2[E], ...) and worked out
// here for each difficulty.
//
// A row: "k4 n3 hp70 b32 t11400 act d2-3 : p2 c1 s4 w20/120 q1/10 i1 sp60 r3 rs8 aim ang90 sa-0.05 dy0.07
// aa1.5 spin2 at110 op120". Left out: n1, b1, t0, every difficulty, and
// 0 for every slot value. Values are expressions over D (difficulty), E
// (max(D - 1, 0)), F ([E], E truncated) and V (the inverse bullet speed
// scale of D); {a|b} is a at D = 0 and b above; <a,b,c,d> one value per
// difficulty; a number or letter right after a number or ')' multiplies.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "stage_contents_support.h"

namespace orb::test {

struct SpawnOracleRow {
  int stage;
  const char* spawn;
};

namespace spawn_oracle_detail {

class Expr {
 public:
  Expr(const std::string& text, int d) : s_(text), d_(d) {}
  double Value() {
    const double v = Sum();
    if (at_ != s_.size()) ADD_FAILURE() << "bad expression " << s_;
    return v;
  }

 private:
  double Sum() {
    double v = Product();
    while (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) {
      const char op = s_[at_++];
      const double r = Product();
      v = op == '+' ? v + r : v - r;
    }
    return v;
  }
  double Product() {
    double v = Unary();
    while (at_ < s_.size()) {
      const char c = s_[at_];
      if (c == '*' || c == 'x') {
        ++at_;
        v *= Unary();
      } else if (c == '/') {
        ++at_;
        v /= Unary();
      } else if (c == '(' || std::isupper(static_cast<unsigned char>(c)) || c == '{' || c == '<') {
        v *= Unary();  // 20(D+1), 2D, 2V
      } else {
        break;
      }
    }
    return v;
  }
  double Unary() {
    if (s_[at_] == '-') {
      ++at_;
      return -Unary();
    }
    return Atom();
  }
  double Atom() {
    const char c = s_[at_];
    const double e = std::max(d_ - 1, 0);
    const double inverse[4] = {1.25, 1.0, 0.769231, 0.625};
    switch (c) {
      case 'D': ++at_; return d_;
      case 'E': ++at_; return e;
      case 'F': ++at_; return std::trunc(e);
      case 'V': ++at_; return inverse[d_];
      case '(': {
        ++at_;
        const double v = Sum();
        ++at_;  // ')'
        return v;
      }
      case '{': {
        ++at_;
        const double zero = Sum();
        ++at_;  // '|'
        const double above = Sum();
        ++at_;  // '}'
        return d_ == 0 ? zero : above;
      }
      case '<': {
        ++at_;
        double v[4] = {};
        for (int i = 0; i < 4; ++i) {
          v[i] = Sum();
          ++at_;  // ',' or '>'
        }
        return v[d_];
      }
      default: {
        char* end = nullptr;
        const double v = std::strtod(s_.c_str() + at_, &end);
        if (end == s_.c_str() + at_) {
          ADD_FAILURE() << "bad expression " << s_;
          at_ = s_.size();
          return 0;
        }
        at_ = static_cast<size_t>(end - s_.c_str());
        return v;
      }
    }
  }
  std::string s_;
  int d_;
  size_t at_ = 0;
};

inline double Eval(const std::string& text, int d) { return Expr(text, d).Value(); }

inline std::string Num(double v) {
  char text[32];
  // Both sides are single floats in the game: five digits tell them apart
  // without tripping over the last bit of a product.
  const float f = static_cast<float>(v);
  std::snprintf(text, sizeof text, "%.5g", std::fabs(f) < 5e-7f ? 0.0 : static_cast<double>(f));
  return text;
}

// The slot's values in the order the rows name them.
struct SlotValues {
  double p = 0, c = 0, s = 0, w = 0, l = 0, b = 0, q = 0, i = 0, sp = 0, r = 0, rs = 0, aim = 0, ang = 0, sa = 0,
         dy = 0, aa = 0, spin = 0, at = 0, op = 0;
};

inline std::string Describe(int kind, double hp, int behaviour, int bullet, bool active, const SlotValues* slot) {
  std::string out = "k" + std::to_string(kind) + " hp" + Num(hp) + " b" + std::to_string(behaviour) + " t" +
                    std::to_string(bullet) + (active ? " act" : "");
  if (slot == nullptr) return out;
  const SlotValues& v = *slot;
  out += " : p" + Num(v.p) + " c" + Num(v.c) + " s" + Num(v.s) + " w" + Num(v.w) + "/" + Num(v.l) + " q" +
         Num(v.b) + "/" + Num(v.q) + " i" + Num(v.i) + " sp" + Num(v.sp) + " r" + Num(v.r) + " rs" + Num(v.rs) +
         " aim" + Num(v.aim) + " ang" + Num(v.ang) + " sa" + Num(v.sa) + " dy" + Num(v.dy) + " aa" + Num(v.aa) +
         " spin" + Num(v.spin) + " at" + Num(v.at) + " op" + Num(v.op);
  return out;
}

// The descriptions a row stands for at the difficulty (none when the row's
// difficulties leave it out).
inline std::vector<std::string> Expand(const char* row, int d) {
  std::stringstream in(row);
  std::string word;
  int kind = 0, count = 1, behaviour = 1, bullet = 0, dLow = 0, dHigh = 3;
  double hp = 0;
  bool active = false, inSlot = false, hasSlot = false;
  SlotValues v;
  while (in >> word) {
    if (word == ":") {
      inSlot = hasSlot = true;
      continue;
    }
    if (!inSlot) {
      if (word == "act") {
        active = true;
      } else if (word[0] == 'k') {
        kind = std::atoi(word.c_str() + 1);
      } else if (word[0] == 'n') {
        count = std::atoi(word.c_str() + 1);
      } else if (word.rfind("hp", 0) == 0) {
        hp = Eval(word.substr(2), d);
      } else if (word[0] == 'b') {
        behaviour = std::atoi(word.c_str() + 1);
      } else if (word[0] == 't') {
        bullet = std::atoi(word.c_str() + 1);
      } else if (word[0] == 'd') {
        dLow = word[1] - '0';
        dHigh = word.size() > 3 ? word[3] - '0' : dLow;
      } else {
        ADD_FAILURE() << "bad word " << word << " in " << row;
      }
      continue;
    }
    auto pair = [&](const std::string& body, double* a, double* b) {
      const size_t slash = body.find('/');
      *a = Eval(body.substr(0, slash), d);
      *b = Eval(body.substr(slash + 1), d);
    };
    if (word == "aim") {
      v.aim = -1.0;
    } else if (word.rfind("spin", 0) == 0) {
      v.spin = Eval(word.substr(4), d);
    } else if (word.rfind("sp", 0) == 0) {
      v.sp = Eval(word.substr(2), d);
    } else if (word.rfind("sa", 0) == 0) {
      v.sa = Eval(word.substr(2), d);
    } else if (word.rfind("rs", 0) == 0) {
      v.rs = Eval(word.substr(2), d);
    } else if (word.rfind("ang", 0) == 0) {
      v.ang = Eval(word.substr(3), d);
    } else if (word.rfind("dy", 0) == 0) {
      v.dy = Eval(word.substr(2), d);
    } else if (word.rfind("aa", 0) == 0) {
      v.aa = Eval(word.substr(2), d);
    } else if (word.rfind("at", 0) == 0) {
      v.at = Eval(word.substr(2), d);
    } else if (word.rfind("op", 0) == 0) {
      v.op = Eval(word.substr(2), d);
    } else if (word[0] == 'p') {
      v.p = Eval(word.substr(1), d);
    } else if (word[0] == 'c') {
      v.c = Eval(word.substr(1), d);
    } else if (word[0] == 's') {
      v.s = Eval(word.substr(1), d);
    } else if (word[0] == 'w') {
      pair(word.substr(1), &v.w, &v.l);
    } else if (word[0] == 'q') {
      pair(word.substr(1), &v.b, &v.q);
    } else if (word[0] == 'i') {
      v.i = Eval(word.substr(1), d);
    } else if (word[0] == 'r') {
      v.r = Eval(word.substr(1), d);
    } else {
      ADD_FAILURE() << "bad slot word " << word << " in " << row;
    }
  }
  if (d < dLow || d > dHigh) return {};
  v.ang = static_cast<double>(static_cast<float>(v.ang) + 180.0f) - 180.0;  // kept as angle + 180
  if (hasSlot && v.c == 0) v.c = 1;
  const std::string one = Describe(kind, hp, behaviour, bullet, active, bullet != 0 && hasSlot ? &v : nullptr);
  return std::vector<std::string>(static_cast<size_t>(count), one);
}

// Every live enemy as the rows describe it.
inline std::vector<std::string> DescribeEnemies() {
  std::vector<std::string> out;
  for (const EnemyRecord& e : pools.enemies) {
    if (e.head.state == kActorFree) continue;
    SlotValues v;
    const EnemyAttackSlot& s = e.slotA;
    v.p = s.patternKind.value;
    v.c = s.count.value;
    v.s = s.speed.value;
    v.w = s.windowLength.value;
    v.l = s.windowCycle.value;
    v.b = s.burstLength.value;
    v.q = s.burstCycle.value;
    v.i = s.interval.value;
    v.sp = s.spread.value;
    v.r = s.rows.value;
    v.rs = s.rowStep.value;
    v.aim = s.mode.value;
    v.ang = static_cast<double>(s.angle.value) - 180.0;
    v.sa = s.speedAccel.value;
    v.dy = s.driftAccelY.value;
    v.aa = s.angleAccel.value;
    v.spin = s.angleVelocity.value;
    v.at = s.lifetime.value;
    v.op = s.startFrame.value;
    out.push_back(Describe(e.kind, e.hitPoints, e.mode, e.bulletType, e.head.state == kActorActive,
                           e.bulletType != 0 ? &v : nullptr));
  }
  return out;
}

}  // namespace spawn_oracle_detail

// Every stage of the range at every difficulty with every progress flag
// clear: the live enemies against the rows.
inline void ExpectSpawnsFollowTheRows(const SpawnOracleRow* rows, size_t count, int first, int last) {
  for (int stage = first; stage <= last; ++stage) {
    for (int d = 0; d < 4; ++d) {
      std::vector<std::string> want;
      for (size_t i = 0; i < count; ++i) {
        if (rows[i].stage != stage) continue;
        for (const std::string& s : spawn_oracle_detail::Expand(rows[i].spawn, d)) want.push_back(s);
      }
      RunStageAt(stage, d, false);
      std::vector<std::string> got = spawn_oracle_detail::DescribeEnemies();
      std::sort(want.begin(), want.end());
      std::sort(got.begin(), got.end());
      EXPECT_EQ(got, want) << "stage " << stage << " difficulty " << d;
    }
  }
}

// The kinds of the items a stage throws in with every progress flag clear
// (none with every flag set), in spawn order.
struct StageItems {
  int stage;
  std::vector<int> kinds;
};

inline void ExpectItemsFollowTheRows(const std::vector<StageItems>& rows, int first, int last) {
  for (int stage = first; stage <= last; ++stage) {
    std::vector<int> want;
    for (const StageItems& r : rows) {
      if (r.stage == stage) want = r.kinds;
    }
    for (bool flags : {false, true}) {
      RunStageAt(stage, 2, flags);
      std::vector<int> got;
      for (const ItemRecord& i : pools.items) {
        if (i.head.state != kActorFree) got.push_back(i.kind);
      }
      EXPECT_EQ(got, flags ? std::vector<int>{} : want) << "stage " << stage << (flags ? " flags set" : "");
    }
  }
}

// A stage's gimmick blocks with every progress flag clear: block kind, size
// and motion kind, at every difficulty.
struct StageBlocks {
  int stage, kind, width, height, count, motionKind;
};

inline void ExpectBlocksFollowTheRows(const std::vector<StageBlocks>& rows, int first, int last) {
  auto describe = [](int kind, int w, int h, int motion) {
    return "kind " + std::to_string(kind) + " " + std::to_string(w) + "x" + std::to_string(h) + " motion " +
           std::to_string(motion);
  };
  for (int stage = first; stage <= last; ++stage) {
    std::vector<std::string> want;
    for (const StageBlocks& r : rows) {
      if (r.stage != stage) continue;
      for (int n = 0; n < r.count; ++n) want.push_back(describe(r.kind, r.width, r.height, r.motionKind));
    }
    std::sort(want.begin(), want.end());
    for (int d = 0; d < 4; ++d) {
      RunStageAt(stage, d, false);
      std::vector<std::string> got;
      for (const BlockRecord& b : pools.blocks) {
        if (b.head.state == kActorFree) continue;
        got.push_back(describe(b.motionKind, b.head.spriteWidth, b.head.spriteHeight, b.waveCode));
      }
      std::sort(got.begin(), got.end());
      EXPECT_EQ(got, want) << "stage " << stage << " difficulty " << d;
    }
  }
}

}  // namespace orb::test
