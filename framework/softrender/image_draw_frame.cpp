#include "framework/softrender/image_draw_frame.h"

#include "framework/softrender/pixel_kernel.h"

namespace qor {

bool PrepareDrawDestination(const MemImage* destination, const SoftDrawSettings* settings, Rect* area) {
  if (settings == nullptr || !IsMemImgValid(destination)) return false;
  const MemImgBuffer* db = destination->buffer;
  if (db->formatKind != kMemImgKindRgb565 && db->formatKind != kMemImgKindXrgb8888) return false;
  if (db->paletteFlag || db->alphaFlag) return false;
  // A draw area left over from a larger target never reaches outside this one.
  Rect bounds = {0, 0, destination->width, destination->height};
  *area = settings->drawArea;
  ClipRect(area, &bounds);
  return area->left < area->right && area->top < area->bottom;
}

bool PrepareImageDrawFrame(const MemImage* destination, const MemImage* source, const MemImage* blendGraph,
                           const SoftDrawSettings* settings, ImageDrawFrame* frame) {
  if (!IsMemImgValid(source) || !PrepareDrawDestination(destination, settings, &frame->area)) return false;
  const MemImgBuffer* db = destination->buffer;
  const MemImgBuffer* sb = source->buffer;
  if (db->formatKind != sb->formatKind) return false;
  if (sb->paletteFlag && sb->palette == nullptr) return false;
  if (source->width <= 0 || source->height <= 0) return false;
  // The graph is read at every source position, so it must cover the source.
  if (blendGraph != nullptr) {
    if (!IsMemImgValid(blendGraph)) return false;
    if (blendGraph->width < source->width || blendGraph->height < source->height) return false;
  }

  frame->kind = db->formatKind;
  frame->destBytes = frame->kind == kMemImgKindRgb565 ? 2 : 4;
  if (sb->paletteFlag) {
    frame->source = kSourcePalette;
    frame->sourceBytes = 1;
  } else if (sb->alphaFlag) {
    frame->source = kSourceAlpha;
    frame->sourceBytes = 4;
  } else {
    frame->source = kSourceDirect;
    frame->sourceBytes = frame->destBytes;
  }
  return true;
}

}  // namespace qor
