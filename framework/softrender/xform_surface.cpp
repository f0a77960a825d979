#include "framework/softrender/image_draw_frame.h"
#include "framework/softrender/xform_paint.h"

namespace qor {

bool PrepareXformSurface(const MemImage* destination, const MemImage* source, const MemImage* blendGraph,
                         const SoftDrawSettings* settings, XformSurface* s) {
  *s = {};
  if (source != nullptr) {
    // The checks of the image draws, and a size that 14.18 can map.
    ImageDrawFrame frame;
    if (!PrepareImageDrawFrame(destination, source, blendGraph, settings, &frame)) return false;
    if (source->width >= kXformSourceLimit || source->height >= kXformSourceLimit) return false;
    s->area = frame.area;
    s->kind = frame.kind;
    s->dstBytes = frame.destBytes;
    s->sourceKind = frame.source;
    s->srcBuffer = source->buffer;
    s->src = source->pixels;
    s->srcPitch = source->buffer->pitch;
    s->srcWidth = source->width;
    s->srcHeight = source->height;
    if (blendGraph != nullptr) {
      s->graph = blendGraph->pixels;
      s->graphPitch = blendGraph->buffer->pitch;
    }
  } else {
    if (!PrepareDrawDestination(destination, settings, &s->area)) return false;
    s->kind = destination->buffer->formatKind;
    s->dstBytes = s->kind == kMemImgKindRgb565 ? 2 : 4;
    s->sourceKind = kSourceFlat;
  }
  s->dst = destination->pixels;
  s->dstPitch = destination->buffer->pitch;
  return true;
}

int PrepareXformKernel(const XformSurface& s, const SoftDrawSettings* settings, int32_t useKey, PixelKernel* kernel) {
  const MemImgBuffer* sb = s.srcBuffer;
  if (sb == nullptr) {
    return PreparePixelKernel(kernel, s.kind, kSourceFlat, 0, nullptr, settings, 0, false, KernelWalk::kTransformed);
  }
  return PreparePixelKernel(kernel, s.kind, s.sourceKind, sb->keyColor, sb->palette, settings, useKey,
                            s.graph != nullptr, KernelWalk::kTransformed);
}

}  // namespace qor
