// The span road of the rasterizer: a row's covered pixels found at once
// from the edge functions, then shaded a chunk at a time, each step of the
// pixel pipeline (interpolation, sampling, each texture stage, specular,
// alpha test, blending, the store) run over the whole chunk with its state
// chosen once, not per pixel. Every value is computed with the same
// arithmetic as the per-pixel road (pixel_pipeline.h), so the two give the
// same bits.
#pragma once

#include <cstdint>

#include "platform/d3d/pixel_pipeline.h"

namespace plat::d3d {

// Whether a draw with this set-up can take the span road: any state but a
// depth buffer (the per-pixel road keeps the depth test and write).
bool SpanRoadFits(const RasterSetup& setup);

// The rows top..bottom and columns left..right of a triangle's walk: the
// edge functions at (left, top), their change per pixel to the right and
// per row down, and their bias (as ShadeRow takes them).
struct SpanRows {
  int32_t top, bottom, left, right;
  int64_t eTop[3];
  int64_t step[3];
  int64_t rowStep[3];
  int64_t bias[3];
  int64_t vertexX[3], vertexY[3];  // the corners in 1/kSubPixel steps, in the order of the shading's v
};

// ShadeRow over every row of the walk, on the span road. Returns the pixels
// written.
int64_t ShadeSpanRows(const RasterSetup& setup, const TriangleShading& tri, const SpanRows& rows);

}  // namespace plat::d3d
