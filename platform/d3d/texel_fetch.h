// Texel addressing, fetch and sampling of one pixel, shared by the
// per-pixel road and the span road of the rasterizer (rules in raster.h).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/d3d/raster.h"

// The per-pixel helpers are forced inline: a call per pixel costs more
// than the work.
#define D3D_PIXEL_INLINE inline __attribute__((always_inline))

namespace plat::d3d {

constexpr Rgba kOpaqueWhite = {{255, 255, 255, 255}};
constexpr Rgba kKeyedOut = {{0, 0, 0, 0}};
// Texel positions past this many texture sides are treated as 0: far
// beyond any repeat, and still safe to convert to an integer.
constexpr double kTexelLimit = 1073741824.0;

D3D_PIXEL_INLINE int32_t Saturate(int32_t v) { return std::clamp(v, 0, 255); }

// Which texel of a row or column of `size` texels the index `i` reads;
// false for a border texel.
D3D_PIXEL_INLINE bool AddressTexel(int64_t i, int32_t size, uint32_t mode, int32_t* texel) {
  if (i >= 0 && i < size) {
    *texel = static_cast<int32_t>(i);
    return true;
  }
  switch (mode) {
    case kAddressWrap:
      *texel = static_cast<int32_t>(((i % size) + size) % size);
      return true;
    case kAddressMirror: {
      int64_t period = int64_t{2} * size;
      int64_t m = ((i % period) + period) % period;
      *texel = static_cast<int32_t>(m < size ? m : period - 1 - m);
      return true;
    }
    case kAddressBorder:
      return false;
    default:  // clamp
      *texel = i < 0 ? 0 : size - 1;
      return true;
  }
}

// The texel at (tx, ty); false when colour keying removes it.
D3D_PIXEL_INLINE bool FetchTexel(const RasterSetup& setup, const StageSetup& stage, int64_t tx, int64_t ty, Rgba* out) {
  const SurfaceView& view = stage.texture->view;
  int32_t x = 0;
  int32_t y = 0;
  if (!AddressTexel(tx, view.width, stage.addressU, &x) || !AddressTexel(ty, view.height, stage.addressV, &y)) {
    *out = stage.border;
    return true;
  }
  uint32_t raw = LoadRaw(view.bits + static_cast<int64_t>(y) * view.pitch + static_cast<int64_t>(x) * stage.codec.bytes,
                         stage.codec.bytes);
  if (setup.colorKey && stage.texture->hasColorKey && raw == stage.texture->colorKey) return false;
  *out = DecodePixel(stage.codec, raw);
  return true;
}

// floor() for the texel range, without a library call per pixel.
D3D_PIXEL_INLINE int64_t FloorToInt(double v) {
  int64_t i = static_cast<int64_t>(v);
  return i - (v < static_cast<double>(i) ? 1 : 0);
}

D3D_PIXEL_INLINE double TexelCoordinate(double t, int32_t size) {
  double s = t * size;
  return std::fabs(s) < kTexelLimit ? s : 0.0;
}

D3D_PIXEL_INLINE bool SampleStage(const RasterSetup& setup, const StageSetup& stage, bool minify, double u, double v, Rgba* out) {
  if (stage.texture == nullptr) {
    *out = kOpaqueWhite;
    return true;
  }
  const int32_t w = stage.texture->view.width;
  const int32_t h = stage.texture->view.height;
  double tu = TexelCoordinate(u, w);
  double tv = TexelCoordinate(v, h);
  uint32_t filter = minify ? stage.minFilter : stage.magFilter;
  if (filter != kFilterLinear) {
    return FetchTexel(setup, stage, FloorToInt(tu), FloorToInt(tv), out);
  }
  // Linear: the four texels around the sample point, whose centres lie at
  // half texels, weighed in 1/256 steps; keyed texels weigh in as clear black.
  double fx = tu - 0.5;
  double fy = tv - 0.5;
  double x0 = static_cast<double>(FloorToInt(fx));
  double y0 = static_cast<double>(FloorToInt(fy));
  int32_t wx = static_cast<int32_t>((fx - x0) * 256.0);
  int32_t wy = static_cast<int32_t>((fy - y0) * 256.0);
  const int32_t weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
  int64_t sums[4] = {0, 0, 0, 0};
  int kept = 0;
  for (int k = 0; k < 4; ++k) {
    Rgba texel;
    if (FetchTexel(setup, stage, static_cast<int64_t>(x0) + (k & 1), static_cast<int64_t>(y0) + (k >> 1), &texel)) {
      ++kept;
    } else {
      texel = kKeyedOut;
    }
    for (int i = 0; i < 4; ++i) sums[i] += static_cast<int64_t>(texel.c[i]) * weights[k];
  }
  if (kept == 0) return false;
  for (int i = 0; i < 4; ++i) out->c[i] = static_cast<int32_t>((sums[i] + 32768) >> 16);
  return true;
}

}  // namespace plat::d3d
