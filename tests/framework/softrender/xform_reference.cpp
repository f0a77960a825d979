// Closed-form reference of the triangle draw (see xform_test_util.h).
#include <algorithm>
#include <cmath>

#include "xform_test_util.h"

namespace qor::xform_test {

namespace {

constexpr int64_t kOne = 262144;

struct Point {
  int64_t x, y, u, v;  // 14.18; x and y at pixel centres
};

int64_t Floor18(int64_t f) { return static_cast<int64_t>(std::floor(static_cast<double>(f) / kOne)); }

// The x of an edge from `a` to `b` at whole row `y`, with `startX` in place
// of a's x where the edge starts off the vertex.
int64_t EdgeX(int64_t startX, const Point& a, const Point& b, int64_t y) {
  int64_t rows = (b.y - a.y) / kOne;
  int64_t step = (b.x - startX) / rows;  // toward zero
  return startX + (y - Floor18(a.y)) * step;
}

}  // namespace

std::vector<RefPixel> ReferenceTriangle(const int32_t* vt, const int32_t* area) {
  Point p[3];
  for (int k = 0; k < 3; ++k) {
    p[k] = {vt[4 * k] * kOne + kOne / 2, vt[4 * k + 1] * kOne + kOne / 2, vt[4 * k + 2] * kOne, vt[4 * k + 3] * kOne};
  }
  // The reference vertex: the first of the leftmost; the other two in any
  // order (the gradients do not depend on it).
  int r = 0;
  for (int k = 1; k < 3; ++k)
    if (p[k].x < p[r].x) r = k;
  const Point& o = p[r];
  const Point& q1 = p[(r + 1) % 3];
  const Point& q2 = p[(r + 2) % 3];
  int64_t xd1 = (q1.x - o.x) / kOne, xd2 = (q2.x - o.x) / kOne;
  int64_t yd1 = (q1.y - o.y) / kOne, yd2 = (q2.y - o.y) / kOne;
  int64_t d = yd1 * xd2 - yd2 * xd1;
  if (d == 0) return {};
  auto grad = [&](int64_t a1, int64_t a2, int64_t b1, int64_t b2) {
    return static_cast<int64_t>(std::trunc(static_cast<double>(a1 * b2 - a2 * b1) * 262144.0 / static_cast<double>(d)));
  };
  int64_t ux = grad(yd1, yd2, (q1.u - o.u) / kOne, (q2.u - o.u) / kOne);
  int64_t vx = grad(yd1, yd2, (q1.v - o.v) / kOne, (q2.v - o.v) / kOne);
  int64_t uy = grad(xd2, xd1, (q2.u - o.u) / kOne, (q1.u - o.u) / kOne);
  int64_t vy = grad(xd2, xd1, (q2.v - o.v) / kOne, (q1.v - o.v) / kOne);
  int64_t x0 = Floor18(o.x), y0 = Floor18(o.y);

  // Top, middle and bottom by y.
  Point s[3] = {p[0], p[1], p[2]};
  std::stable_sort(s, s + 3, [](const Point& a, const Point& b) { return a.y < b.y; });
  const Point &top = s[0], &mid = s[1], &bot = s[2];

  std::vector<RefPixel> out;
  for (int64_t y = Floor18(top.y); y < Floor18(bot.y); ++y) {
    int64_t lx, rx;
    if (top.y == mid.y) {
      const Point& l = top.x < mid.x ? top : mid;
      const Point& rr = top.x < mid.x ? mid : top;
      lx = EdgeX(l.x, l, bot, y);
      rx = EdgeX(rr.x, rr, bot, y);
    } else if (mid.y == bot.y) {
      const Point& l = mid.x < bot.x ? mid : bot;
      const Point& rr = mid.x < bot.x ? bot : mid;
      lx = EdgeX(top.x, top, l, y);
      rx = EdgeX(top.x, top, rr, y);
    } else {
      bool midLeft = (mid.x - top.x) * ((bot.y - top.y) / kOne) < (bot.x - top.x) * ((mid.y - top.y) / kOne);
      bool upper = y < Floor18(mid.y);
      int64_t longX = EdgeX(top.x, top, bot, y);
      int64_t shortX = upper ? EdgeX(top.x, top, mid, y) : EdgeX(mid.x + (midLeft ? 0 : 1), mid, bot, y);
      lx = midLeft ? shortX : longX;
      rx = midLeft ? longX : shortX;
    }
    if (y < area[1] || y >= area[3]) continue;
    for (int64_t x = std::max<int64_t>(Floor18(lx), area[0]); x <= std::min<int64_t>(Floor18(rx), area[2] - 1); ++x) {
      out.push_back({static_cast<int>(x), static_cast<int>(y), o.u + (x - x0) * ux + (y - y0) * uy,
                     o.v + (x - x0) * vx + (y - y0) * vy});
    }
  }
  return out;
}

}  // namespace qor::xform_test
