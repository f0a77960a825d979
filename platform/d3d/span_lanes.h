// The vector lanes the span road computes in: eight 32-bit channel values
// at a time, with the pixel rules of raster.h as whole-vector operations.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/d3d/texel_fetch.h"

namespace plat::d3d {

using Ints = int32_t __attribute__((vector_size(32)));
constexpr int kIntLanes = 8;
using HalfInts = uint16_t __attribute__((vector_size(16)));

D3D_PIXEL_INLINE Ints LoadInts(const int32_t* p) {
  Ints v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
D3D_PIXEL_INLINE void StoreInts(int32_t* p, Ints v) { std::memcpy(p, &v, sizeof v); }
D3D_PIXEL_INLINE Ints Splat(int32_t v) { return Ints{} + v; }
D3D_PIXEL_INLINE Ints Min(Ints a, Ints b) { return a < b ? a : b; }
D3D_PIXEL_INLINE Ints Max(Ints a, Ints b) { return a > b ? a : b; }
D3D_PIXEL_INLINE Ints Clamp255(Ints v) { return Min(Max(v, Splat(0)), Splat(255)); }

// WidenChannel as a multiply and a shift, by kWidenTable row: (v * mul) >>
// shift | set gives v * 255 / (2^w - 1) for every w-bit v (rows 1..8), 0 for
// an absent colour channel (row 0) and 255 for an absent alpha (row 9).
struct WidenStep {
  int32_t mul, shift, set;
};
constexpr WidenStep kWidenSteps[10] = {{0, 0, 0},     {255, 0, 0},  {85, 0, 0},    {583, 4, 0},   {17, 0, 0},
                                       {1053, 7, 0},  {4145, 10, 0}, {16449, 13, 0}, {1, 0, 0},     {0, 0, 255}};

// x / 255 for 0 <= x < 65535 without a division; above that the result is
// at least 257, and every such use is clamped to 255 (as the division's
// would be).
D3D_PIXEL_INLINE Ints Div255(Ints x) { return (x + 1 + (x >> 8)) >> 8; }
// MulChannel for channels 0..255.
D3D_PIXEL_INLINE Ints Mul(Ints a, Ints b) { return Div255(a * b + 127); }

D3D_PIXEL_INLINE Ints PassLanes(uint32_t func, Ints value, Ints reference) {
  switch (func) {
    case kCmpNever: return Splat(0);
    case kCmpLess: return value < reference;
    case kCmpEqual: return value == reference;
    case kCmpLessEqual: return value <= reference;
    case kCmpGreater: return value > reference;
    case kCmpNotEqual: return value != reference;
    case kCmpGreaterEqual: return value >= reference;
    default: return Splat(-1);
  }
}

// BlendFactor over eight pixels of channel i.
D3D_PIXEL_INLINE Ints BlendFactorLanes(uint32_t factor, int i, Ints src, Ints srcAlpha, Ints dst, Ints dstAlpha) {
  switch (factor) {
    case kBlendZero: return Splat(0);
    case kBlendOne: return Splat(255);
    case kBlendSrcColor: return src;
    case kBlendInvSrcColor: return 255 - src;
    case kBlendSrcAlpha: return srcAlpha;
    case kBlendInvSrcAlpha: return 255 - srcAlpha;
    case kBlendDestAlpha: return dstAlpha;
    case kBlendInvDestAlpha: return 255 - dstAlpha;
    case kBlendDestColor: return dst;
    case kBlendInvDestColor: return 255 - dst;
    case kBlendSrcAlphaSat: return i == 3 ? Splat(255) : Min(srcAlpha, 255 - dstAlpha);
    default: return Splat(0);
  }
}

}  // namespace plat::d3d
