// The rotated and scaled draw: every pixel of the corners' box is mapped
// back into the source, and the pixels that land inside it are drawn. The
// mirrored draw goes through the four-corner draw.
#include "framework/softrender/xform_draw.h"
#include "framework/softrender/xform_paint.h"
#include "framework/softrender/xform_rotate_setup.h"

namespace qor {

void DrawMemImgRotated(MemImage* destination, const MemImage* source, int32_t cx, int32_t cy, float angle,
                       float scale, int32_t useKey, int32_t mirror, const MemImage* blendGraph,
                       const SoftDrawSettings* settings) {
  if (source == nullptr) return;
  XformSurface s;
  if (!PrepareXformSurface(destination, source, blendGraph, settings, &s)) return;
  RotateSetup r;
  int road = PrepareRotation(cx, cy, angle, scale, s.srcWidth, s.srcHeight, mirror != 0, s.area, &r);
  if (road == kRotateMirrored) {
    DrawMemImgQuadClipped(destination, source, r.mirrorCorners, useKey, blendGraph, settings);
    return;
  }
  if (road != kRotateScan) return;
  PixelKernel k;
  if (PrepareXformKernel(s, settings, useKey, &k) != 0) return;
  PaintSourceSpans(s, k, r.ux, r.vx, [&](auto&& span) { ForEachRotatedSpan(r, span); });
}

}  // namespace qor
