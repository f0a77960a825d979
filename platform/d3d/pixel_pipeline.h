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

// Shades pixel (x, y) whose edge functions are e0, e1, e2; 1 when it was
// written, 0 when a step discarded it.
int ShadePixel(const RasterSetup& setup, const TriangleShading& tri, int32_t x, int32_t y, double e0, double e1,
               double e2);

// The texel colour of `stage` at texture coordinates (u, v); false when the
// sample is keyed out (colour keying on and the texel, or every texel of a
// linear sample, equals the key).
bool SampleStage(const RasterSetup& setup, const StageSetup& stage, bool minify, double u, double v, Rgba* out);

}  // namespace plat::d3d
