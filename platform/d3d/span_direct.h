// The direct road of the span road: a triangle whose pixels read their
// texels one for one (a picture drawn at its own size, mirrored or not)
// under one flat-shaded, point-sampled texture stage is drawn straight from
// texture rows to target rows, eight pixels at a time, without working out
// texture coordinates per pixel. Before the road is taken the triangle is
// shown to read, at every pixel it covers, the very texel the interpolation
// of the other roads picks, so all roads give the same bits.
#pragma once

#include <cstdint>

#include "platform/d3d/pixel_pipeline.h"
#include "platform/d3d/span_shade.h"

namespace plat::d3d {

// What one channel of the stage's result is: the texel's channel `texel`
// (0..3) times `factor` (255 leaves it as it is), or, when texel is -1, the
// same `constant` for every pixel.
struct DirectChannel {
  int32_t texel;
  int32_t factor;
  int32_t constant;
  bool operator==(const DirectChannel&) const = default;
};

struct DirectPlan {
  // The texel of pixel (x, y) is column columnStep * x + column0 and row
  // rowStep * y + row0 (each step +1, or -1 for a mirrored axis).
  int64_t columnStep, column0, rowStep, row0;
  DirectChannel channel[4];  // red, green, blue, alpha
  bool operator==(const DirectPlan&) const = default;
};

// Whether the triangle may take the direct road; fills `plan`.
bool PlanDirectRoad(const RasterSetup& setup, const TriangleShading& tri, const SpanRows& rows, DirectPlan* plan);

// Shades the rows of the walk on the direct road. Returns the pixels written.
int64_t ShadeDirectRows(const RasterSetup& setup, const DirectPlan& plan, const SpanRows& rows);

// Pixels drawn on the direct road since the program started (all threads).
int64_t DirectRoadPixels();

}  // namespace plat::d3d
