// Scan conversion of one triangle of the triangle draw: the vertices in
// 14.18 fixed point (destination positions offset by half a pixel), the
// affine source mapping as four gradients about a reference vertex, and the
// left and right edges as one or two straight segments each.
//
// A triangle covers the rows from its top vertex's row down to the row above
// its bottom vertex's row, and in each row the columns from the left edge's
// to the right edge's, both included. Whole pixels are taken from fixed
// positions by rounding down.
#pragma once

#include <algorithm>
#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/xform_fixed.h"

namespace qor {

struct TriangleSegment {
  int64_t x;     // fixed x at the segment's first row
  int64_t y;     // fixed y of that row (read on the left edge only)
  int64_t step;  // fixed x per row, truncated toward zero
  int32_t rows;  // at least 1
};

struct TriangleEdge {
  TriangleSegment segment[2];
  int32_t count;  // 1 or 2
};

struct TriangleSetup {
  int32_t x0;  // reference vertex (the leftmost), whole pixels
  int32_t y0;
  int64_t u0;  // its source position, fixed
  int64_t v0;
  int64_t ux;  // source change per destination column and per row, fixed
  int64_t uy;
  int64_t vx;
  int64_t vy;
  TriangleEdge left;
  TriangleEdge right;
};

// Reads 12 values (x, y, u, v per vertex, in any order and winding). 0 when
// the triangle has rows to draw; -1 when a value lies outside what 14.18 can
// name (-8192..8191 pixels) or the vertices are collinear.
int PrepareTriangle(const int32_t* vertices, TriangleSetup* setup);

// Calls span(y, column, count, u, v) for each row of the triangle that meets
// `area`, top to bottom: `count` pixels from `column` on, all inside the
// area, the first of them mapped to source position (u, v).
template <class SpanFn>
void ForEachTriangleSpan(const TriangleSetup& t, const Rect& area, SpanFn&& span) {
  int li = 0;
  int ri = 0;
  const TriangleSegment* ls = &t.left.segment[0];
  const TriangleSegment* rs = &t.right.segment[0];
  int64_t lx = ls->x;
  int64_t rx = rs->x;
  int64_t y = FixedToPixel(ls->y);
  int32_t lrows = ls->rows;
  int32_t rrows = rs->rows;
  for (;;) {
    if (y >= area.bottom) return;
    int64_t c = FixedToPixel(lx);
    int64_t w = FixedToPixel(rx) - c + 1;  // the right edge's column is drawn
    if (c < area.left) {
      w -= area.left - c;
      c = area.left;
    }
    if (y >= area.top && c < area.right && w > 0) {
      int64_t count = std::min<int64_t>(w, area.right - c);
      int64_t dx = c - t.x0;
      int64_t dy = y - t.y0;
      span(static_cast<int32_t>(y), static_cast<int32_t>(c), static_cast<int32_t>(count), t.u0 + dx * t.ux + dy * t.uy,
           t.v0 + dx * t.vx + dy * t.vy);
    }
    lx += ls->step;
    rx += rs->step;
    ++y;
    if (--lrows == 0) {
      if (++li >= t.left.count) return;
      ls = &t.left.segment[li];
      lx = ls->x;
      y = FixedToPixel(ls->y);
      lrows = ls->rows;
    }
    if (--rrows == 0) {
      if (++ri >= t.right.count) return;
      rs = &t.right.segment[ri];
      rx = rs->x;
      rrows = rs->rows;
    }
  }
}

}  // namespace qor
