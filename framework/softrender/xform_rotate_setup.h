// Set-up of the rotated and scaled draw: the four corners of the turned and
// scaled source about a destination centre pixel, their bounding box clipped
// to the draw area, and the inverse mapping from destination pixels back to
// source positions (14.18), stepped by additions only.
//
// A positive angle turns clockwise on the destination (rows grow downward):
// the source's rightward direction maps to (cos angle, sin angle). The
// centre pixel shows source pixel (width / 2, height / 2), halves rounded
// down.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/xform_fixed.h"

namespace qor {

struct RotateSetup {
  Rect box;        // pixels scanned: the corners' box, grown, clipped; not empty
  int64_t u0;      // source position of the box's top-left pixel, fixed
  int64_t v0;
  int64_t urow;    // change from one row's first pixel to the next row's
  int64_t vrow;
  int64_t ux;      // change from one pixel to the next in a row
  int64_t vx;
  // Whole-pixel corners for the mirrored draw, in the four-corner draw's
  // order: top-right, top-left, bottom-right, bottom-left (x, y each).
  int32_t mirrorCorners[8];
};

constexpr int kRotateNothing = 0;   // nothing to draw
constexpr int kRotateScan = 1;      // scan `box` with the inverse mapping
constexpr int kRotateMirrored = 2;  // draw `mirrorCorners` with the four-corner draw

// Scales whose magnitude is below this shrink any source to far less than a
// pixel and would make the inverse mapping leave every sane range; they are
// not drawn.
constexpr float kRotateMinScale = 1.0f / 1048576.0f;

// Computes the draw of a width x height source about (cx, cy). Nothing is
// drawn for a centre or a corner outside 14.18, an angle or scale that is
// NaN or infinite, a scale of 0 (or below kRotateMinScale in magnitude), a
// box that misses `area`, or four corners on one row.
int PrepareRotation(int32_t cx, int32_t cy, float angle, float scale, int32_t width, int32_t height, bool mirror,
                    const Rect& area, RotateSetup* setup);

// Calls span(y, column, count, u, v) for each row of the box, top to bottom.
template <class SpanFn>
void ForEachRotatedSpan(const RotateSetup& r, SpanFn&& span) {
  int32_t width = r.box.right - r.box.left;
  int64_t u = r.u0;
  int64_t v = r.v0;
  for (int32_t y = r.box.top; y < r.box.bottom; ++y, u += r.urow, v += r.vrow) {
    span(y, r.box.left, width, u, v);
  }
}

}  // namespace qor
