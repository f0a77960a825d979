#include "framework/softrender/xform_span.h"

namespace qor {

bool PrepareXformSurface(const MemImage* destination, const MemImage* source, const MemImage* blendGraph,
                         const SoftDrawSettings* settings, XformSurface* s) {
  *s = {};
  if (settings == nullptr || !IsMemImgValid(destination)) return false;
  const MemImgBuffer* db = destination->buffer;
  if (db->formatKind != kMemImgKindRgb565 && db->formatKind != kMemImgKindXrgb8888) return false;
  if (db->paletteFlag == 1 || db->alphaFlag == 1) return false;
  // A draw area left over from a larger target never reaches outside this one.
  Rect bounds = {0, 0, destination->width, destination->height};
  s->area = settings->drawArea;
  ClipRect(&s->area, &bounds);
  if (s->area.left >= s->area.right || s->area.top >= s->area.bottom) return false;
  s->kind = db->formatKind;
  s->dst = destination->pixels;
  s->dstPitch = db->pitch;
  s->dstBytes = s->kind == kMemImgKindRgb565 ? 2 : 4;
  if (source == nullptr) return true;

  if (!IsMemImgValid(source)) return false;
  const MemImgBuffer* sb = source->buffer;
  if (sb->formatKind != db->formatKind) return false;
  if (source->width <= 0 || source->height <= 0) return false;
  if (source->width >= kXformSourceLimit || source->height >= kXformSourceLimit) return false;
  if (sb->paletteFlag == 1 && sb->palette == nullptr) return false;
  // The graph is read at every drawn source position, so it must cover the
  // source.
  if (blendGraph != nullptr) {
    if (!IsMemImgValid(blendGraph)) return false;
    if (blendGraph->width < source->width || blendGraph->height < source->height) return false;
    s->graph = blendGraph->pixels;
    s->graphPitch = blendGraph->buffer->pitch;
  }
  s->srcBuffer = sb;
  s->src = source->pixels;
  s->srcPitch = sb->pitch;
  s->srcBytes = sb->paletteFlag == 1 ? 1 : sb->alphaFlag == 1 ? 4 : s->dstBytes;
  s->srcWidth = source->width;
  s->srcHeight = source->height;
  return true;
}

}  // namespace qor
