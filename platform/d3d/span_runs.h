// The covered runs of a triangle's rows: offsets from the walk's left
// column whose pixel centres pass all three edge functions (rules in
// raster.h).
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/d3d/span_shade.h"
#include "platform/d3d/texel_fetch.h"

namespace plat::d3d {

// The least j with c + j * step >= 0 (step > 0), and the greatest (step <
// 0): a quotient in double (|c| < 2^53, so it is off by one at most) put
// right with exact integer steps, instead of a 64-bit division per edge and
// row.
D3D_PIXEL_INLINE int64_t FirstInside(int64_t c, int64_t step) {
  int64_t j = static_cast<int64_t>(static_cast<double>(-c) / static_cast<double>(step));
  while (c + j * step < 0) ++j;
  while (c + (j - 1) * step >= 0) --j;
  return j;
}
D3D_PIXEL_INLINE int64_t LastInside(int64_t c, int64_t step) {
  int64_t j = static_cast<int64_t>(static_cast<double>(c) / static_cast<double>(-step));
  while (c + j * step < 0) --j;
  while (c + (j + 1) * step >= 0) ++j;
  return j;
}

// The covered run of each row in turn, top to bottom: the offsets j in
// 0..width-1 with e[k] + bias[k] + j * step[k] >= 0 for all three edges.
// Each edge's bound is found once on the first row, then moved by whole
// steps as the rows go down, so that a row costs a few additions instead of
// a division per edge.
struct RunWalk {
  int64_t width;
  int64_t bound[3];  // edge k's first inside offset (step > 0) or last (step < 0)
  int64_t value[3];  // e + bias + bound * step of edge k (step 0: e + bias)
  int64_t step[3];
  int64_t jump[3];   // whole offsets a bound moves per row, and the value's
  int64_t rest[3];   // change once it has moved them
  int64_t rowStep[3];
};

D3D_PIXEL_INLINE void StartRunWalk(const SpanRows& rows, RunWalk* w) {
  w->width = static_cast<int64_t>(rows.right) - rows.left + 1;
  for (int k = 0; k < 3; ++k) {
    const int64_t c = rows.eTop[k] + rows.bias[k], step = rows.step[k];
    w->step[k] = step;
    w->rowStep[k] = rows.rowStep[k];
    w->bound[k] = step > 0 ? FirstInside(c, step) : step < 0 ? LastInside(c, step) : 0;
    w->value[k] = c + w->bound[k] * step;
    w->jump[k] = step != 0 ? -rows.rowStep[k] / step : 0;
    w->rest[k] = rows.rowStep[k] + w->jump[k] * step;
  }
}

// The current row's run (false when it covers nothing).
D3D_PIXEL_INLINE bool WalkRun(const RunWalk& w, int64_t* lo, int64_t* hi) {
  *lo = 0;
  *hi = w.width - 1;
  for (int k = 0; k < 3; ++k) {
    if (w.step[k] > 0) {
      *lo = std::max(*lo, w.bound[k]);
    } else if (w.step[k] < 0) {
      *hi = std::min(*hi, w.bound[k]);
    } else if (w.value[k] < 0) {
      return false;
    }
  }
  return *lo <= *hi;
}

// On to the next row. A bound's value stays in [0, |step|) (the first
// offset inside and the one before it outside, or the last inside and the
// one after it outside); after the whole jump it is off by one step at most.
D3D_PIXEL_INLINE void NextWalkRow(RunWalk* w) {
  for (int k = 0; k < 3; ++k) {
    const int64_t step = w->step[k];
    if (step == 0) {
      w->value[k] += w->rowStep[k];
      continue;
    }
    w->bound[k] += w->jump[k];
    w->value[k] += w->rest[k];
    if (step > 0) {
      if (w->value[k] < 0) {
        ++w->bound[k];
        w->value[k] += step;
      } else if (w->value[k] >= step) {
        --w->bound[k];
        w->value[k] -= step;
      }
    } else {
      if (w->value[k] < 0) {
        --w->bound[k];
        w->value[k] -= step;
      } else if (w->value[k] >= -step) {
        ++w->bound[k];
        w->value[k] += step;
      }
    }
  }
}

}  // namespace plat::d3d
