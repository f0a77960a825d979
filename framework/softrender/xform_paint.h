// The pixel kernels of pixel_kernel.h run along the spans of a transformed
// draw: one loop per combination of layout, source kind and blend mode,
// chosen once per draw.
#pragma once

#include <cstdint>
#include <cstring>

#include "framework/softrender/pixel_kernel.h"
#include "framework/softrender/xform_span.h"

namespace qor {

// Fills `kernel` for a draw of the surface's source (or of a flat colour
// when it has none). 0, or -1 when the draw writes nothing.
int PrepareXformKernel(const XformSurface& s, const SoftDrawSettings* settings, int32_t useKey, PixelKernel* kernel);

// An untinted draw of a direct source without blend graph: each span's
// source pixels are gathered into a strip, which is drawn as a 1:1 strip on
// the wide road.
template <int Kind, class ForEachSpan>
void PaintWideSpans(const XformSurface& surface, const PixelKernel& kernel, int64_t ux, int64_t vx,
                    ForEachSpan& forEachSpan) {
  constexpr int db = PixelLayout<Kind>::kBytes;
  constexpr int32_t kStrip = 256;
  alignas(32) uint8_t strip[kStrip * db];
  uint8_t* start = nullptr;  // where the strip lands
  int32_t n = 0;             // pixels in the strip
  auto flush = [&] {
    DrawWideStrip(kernel, start, strip, n);
    n = 0;
  };
  forEachSpan([&](int32_t y, int32_t column, int32_t count, int64_t u, int64_t v) {
    // The walk hands out neighbouring destination pixels, left to right.
    WalkSourceSpan(surface, y, column, count, u, v, ux, vx, [&](uint8_t* dst, int32_t sx, int32_t sy) {
      if (n == 0) start = dst;
      std::memcpy(strip + n * db, surface.src + sy * surface.srcPitch + sx * db, db);
      if (++n == kStrip) flush();
    });
    if (n > 0) flush();
  });
}

// Draws the source along the spans that forEachSpan(span) hands to `span`
// as span(y, column, count, u, v); each pixel's source position advances by
// (ux, vx).
template <class ForEachSpan>
void PaintSourceSpans(const XformSurface& s, const PixelKernel& k, int64_t ux, int64_t vx, ForEachSpan&& forEachSpan) {
  DispatchPixelKernel(k, [&]<int Kind, int Source, int Mode>() {
    constexpr int cellBytes = SourceCellBytes<Kind, Source>();
    // Local copies: the pixel stores go through byte pointers, which could
    // otherwise alias the records' fields and force their reloads.
    const PixelKernel kernel = k;
    const XformSurface surface = s;
    if constexpr (Source == kSourceDirect && Mode != kBlendNone) {
      if (WideRoadFits(kernel)) {
        PaintWideSpans<Kind>(surface, kernel, ux, vx, forEachSpan);
        return;
      }
    }
    forEachSpan([&](int32_t y, int32_t column, int32_t count, int64_t u, int64_t v) {
      WalkSourceSpan(surface, y, column, count, u, v, ux, vx, [&](uint8_t* dst, int32_t sx, int32_t sy) {
        const uint8_t* cell = surface.src + sy * surface.srcPitch + sx * cellBytes;
        uint32_t graphByte = surface.graph != nullptr ? surface.graph[sy * surface.graphPitch + sx] : 0;
        DrawKernelPixel<Kind, Source, Mode>(kernel, dst, cell, graphByte);
      });
    });
  });
}

}  // namespace qor
