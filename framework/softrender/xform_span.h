// What the transformed draws take from their images, and the walk along one
// destination span: each pixel's source position advances by a fixed step,
// and only the pixels whose position lies inside the source are handed to
// the pixel operation. The inside pixels of a span form one run, found by
// exact integer division, so the per-pixel loop carries no bounds test.
#pragma once

#include <algorithm>
#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_draw_settings.h"
#include "framework/softrender/xform_fixed.h"

namespace qor {

struct XformSurface {
  Rect area;  // the draw area cut to the destination; not empty
  int32_t kind;  // 0 (R5G6B5) or 1 (X8R8G8B8), both images
  uint8_t* dst;  // destination pixel (0, 0)
  int64_t dstPitch;
  int32_t dstBytes;
  int32_t sourceKind;             // kSourcePalette, kSourceDirect, kSourceAlpha or kSourceFlat
  const MemImgBuffer* srcBuffer;  // null for a flat colour
  const uint8_t* src;             // source pixel (0, 0)
  int64_t srcPitch;
  int32_t srcWidth;  // 1..8191
  int32_t srcHeight;
  const uint8_t* graph;  // blend graph pixel (0, 0), or null
  int64_t graphPitch;
};

// Fills `surface` and returns true when something can be drawn: a valid
// destination of kind 0 or 1 without palette or alpha, a draw area that
// meets it, and (when given) a valid source of the same kind, at most 8191
// pixels each way, with a blend graph (when given) that covers it. A null
// source is a flat-colour draw, which reads no blend graph.
bool PrepareXformSurface(const MemImage* destination, const MemImage* source, const MemImage* blendGraph,
                         const SoftDrawSettings* settings, XformSurface* surface);

inline int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The pixels i of [0, count) at which p + i x step lies in [0, limit), as
// [*first, *end); empty when *first >= *end.
inline void InsideRun(int64_t p, int64_t step, int64_t limit, int32_t count, int32_t* first, int32_t* end) {
  int64_t lo = 0, hi = count - 1;
  if (step == 0) {
    if (p < 0 || p >= limit) hi = -1;
  } else if (step > 0) {
    lo = std::max<int64_t>(lo, -FloorDiv(p, step));
    hi = std::min<int64_t>(hi, FloorDiv(limit - 1 - p, step));
  } else {
    lo = std::max<int64_t>(lo, -FloorDiv(limit - 1 - p, -step));
    hi = std::min<int64_t>(hi, FloorDiv(p, -step));
  }
  *first = static_cast<int32_t>(lo);
  *end = static_cast<int32_t>(std::max(lo, hi + 1));
}

// Calls pixel(destination address, source column, source row) for each
// pixel of the span whose source position lies inside the source.
template <class PixelFn>
inline void WalkSourceSpan(const XformSurface& s, int32_t y, int32_t column, int32_t count, int64_t u, int64_t v,
                           int64_t ux, int64_t vx, PixelFn&& pixel) {
  int32_t first, end, vFirst, vEnd;
  InsideRun(u, ux, PixelToFixed(s.srcWidth), count, &first, &end);
  InsideRun(v, vx, PixelToFixed(s.srcHeight), count, &vFirst, &vEnd);
  first = std::max(first, vFirst);
  end = std::min(end, vEnd);
  if (first >= end) return;
  uint8_t* dst = s.dst + y * s.dstPitch + static_cast<int64_t>(column + first) * s.dstBytes;
  u += first * ux;
  v += first * vx;
  for (int32_t i = first; i < end; ++i, dst += s.dstBytes, u += ux, v += vx) {
    pixel(dst, static_cast<int32_t>(u >> kFixedShift), static_cast<int32_t>(v >> kFixedShift));
  }
}

// Calls pixel(destination address) for every pixel of the span.
template <class PixelFn>
inline void WalkFlatSpan(const XformSurface& s, int32_t y, int32_t column, int32_t count, PixelFn&& pixel) {
  uint8_t* dst = s.dst + y * s.dstPitch + static_cast<int64_t>(column) * s.dstBytes;
  for (int32_t i = 0; i < count; ++i, dst += s.dstBytes) pixel(dst);
}

}  // namespace qor
