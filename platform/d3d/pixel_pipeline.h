// The per-pixel steps of the rasterizer: texture sampling, texture stages,
// alpha test, depth, blending and the store (rules in raster.h).
#pragma once

#include <cstdint>

#include "platform/d3d/raster.h"

namespace plat::d3d {

// What the pixels of one triangle share.
struct TriangleShading {
  const RasterVertex* v[3];  // v[i] is weighted by the edge function opposite it
  double area;               // doubled area in the same units as the edge functions
  Rgba flatDiffuse;
  Rgba flatSpecular;
  bool minify[kMaxStages];   // the stage's texture is shrunk: its MINFILTER applies
};

// Shades the pixels left..right (inclusive) of row y whose centres are
// inside: e holds the three edge functions at (left, y), step their change
// per pixel, bias -1 for an edge that does not own its points (0 for a top
// or left edge). Returns the pixels written. This is the per-pixel road; a
// draw whose set-up allows it takes the span road instead (span_shade.h),
// with the same results.
int64_t ShadeRow(const RasterSetup& setup, const TriangleShading& tri, int32_t y, int32_t left, int32_t right,
                 const int64_t e[3], const int64_t step[3], const int64_t bias[3]);

}  // namespace plat::d3d
