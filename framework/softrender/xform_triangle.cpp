// The triangle draw: the scan conversion of xform_triangle_setup.h with the
// pixel kernels along each span, or a flat colour filling it.
#include "framework/softrender/xform_draw.h"
#include "framework/softrender/xform_paint.h"
#include "framework/softrender/xform_triangle_setup.h"

namespace qor {

void DrawMemImgTriangle(MemImage* destination, const MemImage* source, const int32_t* vertices, int32_t useKey,
                        const MemImage* blendGraph, uint32_t colour, const SoftDrawSettings* settings) {
  if (vertices == nullptr) return;
  XformSurface s;
  if (!PrepareXformSurface(destination, source, source != nullptr ? blendGraph : nullptr, settings, &s)) return;
  TriangleSetup t;
  if (PrepareTriangle(vertices, &t) != 0) return;
  PixelKernel k;
  if (PrepareXformKernel(s, settings, useKey, &k) != 0) return;

  if (source != nullptr) {
    PaintSourceSpans(s, k, t.ux, t.vx, [&](auto&& span) { ForEachTriangleSpan(t, s.area, span); });
    return;
  }
  // A 16-bit colour has no bits above its 16.
  if (s.kind == kMemImgKindRgb565) colour &= 0xFFFF;
  SourceSample sample = FlatSample(TintColorByTable(s.kind, colour, settings->tint));
  DispatchFlatKernel(k, [&]<int Kind, int Source, int Mode>() {
    const PixelKernel kernel = k;  // not aliased by the pixel stores
    ForEachTriangleSpan(t, s.area, [&](int32_t y, int32_t column, int32_t count, int64_t, int64_t) {
      WalkFlatSpan(s, y, column, count, [&](uint8_t* dst) {
        PixelLayout<Kind>::Store(dst, BlendSample<Kind, Mode>(kernel, PixelLayout<Kind>::Load(dst), sample, 0));
      });
    });
  });
}

}  // namespace qor
