#include "reference_blend.h"

#include <algorithm>
#include <utility>

namespace qor::ref {

namespace {

// Channel i: 0 blue, 1 green, 2 red.
struct Layout {
  int shift[3];
  int bits[3];
};
const Layout& LayoutOf(int kind) {
  static const Layout k565 = {{0, 5, 11}, {5, 6, 5}};
  static const Layout k8888 = {{0, 8, 16}, {8, 8, 8}};
  return kind == 0 ? k565 : k8888;
}

int64_t Get(const Layout& l, uint32_t v, int i) { return (v >> l.shift[i]) & ((1u << l.bits[i]) - 1); }
int64_t Max(const Layout& l, int i) { return (1 << l.bits[i]) - 1; }

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t TintByte(uint32_t tint, int i) { return (tint >> (8 * i)) & 0xFF; }
bool White(uint32_t tint) { return (tint & 0xFFFFFF) == 0xFFFFFF; }

enum Class { kSkip, kPlain, kWeighted };

Class ClassOf(const Draw& w, uint32_t key, const Sample& s) {
  if (w.road == Road::kRuns) {
    if (s.runType == 0) return kSkip;
    return s.runType == 2 && w.source == kAlpha ? kWeighted : kPlain;
  }
  if (w.source == kAlpha) {
    if (w.flag == 0) return kWeighted;
    if (s.alpha == 0) return kSkip;
    return s.alpha == 255 ? kPlain : kWeighted;
  }
  return (w.flag != 0 && s.stored == key) ? kSkip : kPlain;
}

// d + floor((v - d) x weight / 2^shift).
int64_t Toward(int64_t d, int64_t v, int64_t weight, int shift) { return d + FloorDiv((v - d) * weight, int64_t{1} << shift); }

struct Channels {
  int64_t c[3];
};

uint32_t Pack(const Layout& l, const Channels& ch, uint32_t spare) {
  uint32_t v = spare;
  for (int i = 0; i < 3; ++i) v |= static_cast<uint32_t>(ch.c[i]) << l.shift[i];
  return v;
}

// Sums with carries: blue exact and clamped; green and red add their halves,
// saturate when those overflow, and otherwise get the carry of the channel
// below in their lowest bit, plus (with `keep`) either operand's lowest bit.
// Returns the red carry in *redCarry.
uint32_t AddChannels(const Layout& l, uint32_t d, uint32_t s, bool keep, bool* redCarry) {
  Channels out;
  bool carry = false;
  for (int i = 0; i < 3; ++i) {
    int64_t dv = Get(l, d, i), sv = Get(l, s, i), top = Max(l, i);
    if (i == 0) {
      out.c[i] = std::min(dv + sv, top);
      carry = dv + sv > top;
      continue;
    }
    int64_t half = (dv >> 1) + (sv >> 1);
    int64_t low = (carry ? 1 : 0) | (keep ? ((dv | sv) & 1) : 0);
    bool over = half > (top >> 1);
    if (over) {
      // 16-bit green keeps its lowest bit; the other channels fill.
      out.c[i] = (l.bits[i] == 6) ? (top - 1) | low : top;
    } else {
      out.c[i] = 2 * half | low;
    }
    carry = over;
  }
  *redCarry = carry;
  return Pack(l, out, 0);
}

// Differences with borrows: blue exact and clamped at 0; green and red
// subtract their halves and become 0 below zero; their lowest bit is the
// no-borrow of the channel below (16-bit green: always 0).
uint32_t SubtractChannels(const Layout& l, uint32_t d, uint32_t s, bool* redBorrow) {
  Channels out;
  bool borrow = false;
  for (int i = 0; i < 3; ++i) {
    int64_t dv = Get(l, d, i), sv = Get(l, s, i);
    if (i == 0) {
      out.c[i] = std::max<int64_t>(dv - sv, 0);
      borrow = dv < sv;
      continue;
    }
    bool under = (dv >> 1) < (sv >> 1);
    int64_t low = (l.bits[i] == 6) ? 0 : (borrow ? 0 : 1);
    out.c[i] = under ? 0 : 2 * ((dv >> 1) - (sv >> 1)) + low;
    borrow = under;
  }
  *redBorrow = borrow;
  return Pack(l, out, 0);
}

uint32_t ExactBytes(uint32_t d, uint32_t s, bool add) {
  uint32_t r = 0;
  for (int n = 0; n < 4; ++n) {
    int64_t dv = (d >> (8 * n)) & 0xFF, sv = (s >> (8 * n)) & 0xFF;
    int64_t v = add ? std::min<int64_t>(dv + sv, 255) : std::max<int64_t>(dv - sv, 0);
    r |= static_cast<uint32_t>(v) << (8 * n);
  }
  return r;
}

bool Bare(const Draw& w) { return White(w.tint) && !w.graph; }
bool PlainSource(const Draw& w) { return w.source != kAlpha; }

}  // namespace

bool UsesPairs(const Draw& w) {
  return w.kind == 0 && (w.mode == 2 || w.mode == 3) && w.road == Road::kAtSize && Bare(w) && PlainSource(w) &&
         w.p == 255;
}

uint32_t Pixel(const Draw& w, uint32_t key, const Sample& s, int f, uint32_t d) {
  const Layout& l = LayoutOf(w.kind);
  int mode = w.mode;
  int64_t p = w.p;
  switch (mode) {
    case 0: case 1: case 2: case 3: case 4: case 10: case 11: break;
    default: return d;
  }
  if (mode == 1 && p == 0) return d;
  if (mode == 1 && p == 255) mode = 0;
  if (mode == 2 && p == 0) return d;
  if (mode == 3 && p == 0 && w.source != kPalette) return d;

  Class cls = ClassOf(w, key, s);
  if (cls == kSkip) return d;
  const bool white = White(w.tint);
  const int64_t a = s.alpha;
  const uint32_t spare = w.kind == 1 ? (d & 0xFF000000) : 0;
  auto tinted = [&](int i, int64_t v) { return white ? v : TintByte(w.tint, i) * v / 255; };
  auto par = [&](int64_t v) { return v * p / 255; };
  // The factors in play: the graph's and the alpha's.
  int64_t weight = 1;
  int shift = 0;
  if (w.graph) {
    weight *= f;
    shift += 8;
  }
  if (cls == kWeighted) {
    weight *= a;
    shift += 8;
  }
  Channels out;

  if (mode == 0) {
    if (!w.graph && cls == kPlain) {
      if (white) return s.color;
      for (int i = 0; i < 3; ++i) out.c[i] = tinted(i, Get(l, s.color, i));
      return Pack(l, out, spare);
    }
    // The 1:1 walk copies an unkeyed alpha source whole under a white tint.
    if (!w.graph && w.road == Road::kAtSize && w.source == kAlpha && w.flag == 0 && white) return s.color;
    for (int i = 0; i < 3; ++i) out.c[i] = Toward(Get(l, d, i), tinted(i, Get(l, s.color, i)), weight, shift);
    return Pack(l, out, spare);
  }

  if (mode == 1) {
    if (w.graph || cls == kWeighted) {
      for (int i = 0; i < 3; ++i) out.c[i] = Toward(Get(l, d, i), tinted(i, Get(l, s.color, i)), weight * p, shift + 8);
      return Pack(l, out, spare);
    }
    bool exception = w.road == Road::kAtSize && white && PlainSource(w);
    if (exception && p == 128) {
      for (int i = 0; i < 3; ++i) out.c[i] = Get(l, s.color, i) / 2 + Get(l, d, i) / 2;
      return Pack(l, out, 0);
    }
    for (int i = 0; i < 3; ++i) {
      int64_t sv = tinted(i, Get(l, s.color, i)), dv = Get(l, d, i);
      if (exception && w.kind == 0) {
        int64_t k = p / 4;
        out.c[i] = (k * sv + (63 - k) * dv) / 63;
      } else if (w.kind == 1) {
        out.c[i] = dv + FloorDiv((sv - dv) * p, 256);
      } else {
        out.c[i] = dv + p * (sv - dv) / 255;  // toward zero
      }
    }
    return Pack(l, out, spare);
  }

  if (mode == 2 || mode == 3) {
    bool full = Bare(w) && PlainSource(w) && p == 255;
    if (w.kind == 1 && full && (w.road == Road::kAtSize || (mode == 3 && w.road == Road::kStretched))) {
      return ExactBytes(d, s.color, mode == 2);
    }
    for (int i = 0; i < 3; ++i) {
      int64_t c = Get(l, s.color, i);
      if (!w.graph && cls == kPlain) {
        out.c[i] = par(tinted(i, c));
      } else if (w.kind == 1) {
        out.c[i] = tinted(i, c) * weight * p >> (shift + 8);
      } else if (!w.graph) {
        out.c[i] = par(tinted(i, c * a / 256));  // the alpha before the tint
      } else {
        out.c[i] = par(tinted(i, c) * weight >> shift);
      }
    }
    uint32_t contribution = Pack(l, out, 0);
    bool top;
    if (mode == 2) {
      // The lone pixel of the pair walk has no low-bit keep.
      uint32_t r = AddChannels(l, d, contribution, !UsesPairs(w), &top);
      return r | (w.kind == 1 && top ? 0x01000000u : 0u);
    }
    return SubtractChannels(l, d, contribution, &top);
  }

  for (int i = 0; i < 3; ++i) {
    int64_t dv = Get(l, d, i), c = Get(l, s.color, i), n = l.bits[i];
    if (mode == 4) {
      out.c[i] = tinted(i, c) * dv * weight >> (n + shift);
    } else if (mode == 10) {
      int64_t v = tinted(i, Max(l, i) - c);
      if (shift != 0) out.c[i] = Toward(dv, v, weight * p, shift + 8);
      else if (w.kind == 1) out.c[i] = dv + FloorDiv((v - dv) * p, 256);
      else out.c[i] = dv + p * (v - dv) / 255;
    } else {  // 11
      int64_t sv = tinted(i, c);
      int64_t m = sv * dv >> n;
      if (shift == 0) {
        out.c[i] = w.kind == 1 ? dv + FloorDiv((m - dv) * p, 256) : dv + p * (m - dv) / 255;
      } else if (w.kind == 0 && i == 1 && white && !w.graph) {
        out.c[i] = dv + FloorDiv((sv * dv / 2 - 32 * dv) * a * p, 2097152);
      } else {
        out.c[i] = Toward(dv, m, weight * p, shift + 8);
      }
    }
  }
  return Pack(l, out, spare);
}

void Pair(const Draw& w, uint32_t sLeft, uint32_t sRight, uint32_t* dLeft, uint32_t* dRight) {
  const Layout& l = LayoutOf(0);
  bool leftTop;
  if (w.mode == 2) {
    *dLeft = AddChannels(l, *dLeft, sLeft, false, &leftTop);
    bool unused;
    // The right pixel's lowest blue bit carries the left red's overflow.
    uint32_t r = AddChannels(l, *dRight & ~1u, sRight & ~1u, false, &unused);
    *dRight = leftTop ? (r | 1u) : r;
    return;
  }
  *dLeft = SubtractChannels(l, *dLeft, sLeft, &leftTop);
  bool unused;
  uint32_t r = SubtractChannels(l, *dRight, sRight, &unused);
  // The right pixel's blue is subtracted like green or red, its lowest bit
  // being the left red's no-borrow.
  int64_t db = *dRight & 31, sb = sRight & 31;
  int64_t blue = (db >> 1) < (sb >> 1) ? 0 : 2 * ((db >> 1) - (sb >> 1)) + (leftTop ? 0 : 1);
  *dRight = (r & ~31u) | static_cast<uint32_t>(blue);
}

namespace {

int RunTypeOf(const Draw& w, uint32_t key, const Sample& s) {
  if (w.source == kAlpha) return s.alpha == 0 ? 0 : (s.alpha == 255 ? 1 : 2);
  return s.stored == key ? 0 : 1;
}

}  // namespace

void DrawAt(Draw w, const Source& src, const Grid* graph, Grid* dst, Area area, int64_t x, int64_t y) {
  int64_t left = std::max(x, area.left), top = std::max(y, area.top);
  int64_t right = std::min(x + src.width, area.right), bottom = std::min(y + src.height, area.bottom);
  if (left >= right || top >= bottom) return;
  bool unclipped = right - left == src.width && bottom - top == src.height;
  w.road = (w.flag == 1 && src.runTableUsable && unclipped) ? Road::kRuns : Road::kAtSize;
  bool pairs = UsesPairs(w);
  for (int64_t dy = top; dy < bottom; ++dy) {
    int sy = static_cast<int>(dy - y);
    for (int64_t dx = left; dx < right; ++dx) {
      int sx = static_cast<int>(dx - x);
      Sample s = src.at(sx, sy);
      s.runType = RunTypeOf(w, src.key, s);
      uint32_t& d = dst->at(static_cast<int>(dx), static_cast<int>(dy));
      if (pairs && dx + 1 < right && (dx - left) % 2 == 0) {
        Sample s2 = src.at(sx + 1, sy);
        bool drawn1 = !(w.flag != 0 && s.stored == src.key);
        bool drawn2 = !(w.flag != 0 && s2.stored == src.key);
        if (drawn1 && drawn2) {
          Pair(w, s.color, s2.color, &d, &dst->at(static_cast<int>(dx + 1), static_cast<int>(dy)));
          ++dx;
          continue;
        }
      }
      d = Pixel(w, src.key, s, graph != nullptr ? static_cast<int>(graph->at(sx, sy)) : 0, d);
    }
  }
}

void DrawStretched(Draw w, const Source& src, const Grid* graph, Grid* dst, Area area, int64_t left, int64_t top,
                   int64_t right, int64_t bottom) {
  bool mx = left > right, my = top > bottom;
  if (mx) std::swap(left, right);
  if (my) std::swap(top, bottom);
  int64_t width = right - left, height = bottom - top;
  if (width == 0 || height == 0) return;
  if (width == src.width && height == src.height && !mx && !my) {
    DrawAt(w, src, graph, dst, area, left, top);
    return;
  }
  int64_t scaleX = width * 65536 / src.width, scaleY = height * 65536 / src.height;
  if (scaleX == 0 || scaleY == 0) return;
  w.road = Road::kStretched;
  for (int64_t dy = std::max(top, area.top); dy < std::min(bottom, area.bottom); ++dy) {
    int64_t row = std::min<int64_t>((dy - top) * 65536 / scaleY, src.height - 1);
    int sy = static_cast<int>(my ? src.height - 1 - row : row);
    for (int64_t dx = std::max(left, area.left); dx < std::min(right, area.right); ++dx) {
      int64_t col = std::min<int64_t>((dx - left) * 65536 / scaleX, src.width - 1);
      int sx = static_cast<int>(mx ? src.width - 1 - col : col);
      uint32_t& d = dst->at(static_cast<int>(dx), static_cast<int>(dy));
      d = Pixel(w, src.key, src.at(sx, sy), graph != nullptr ? static_cast<int>(graph->at(sx, sy)) : 0, d);
    }
  }
}

}  // namespace qor::ref
