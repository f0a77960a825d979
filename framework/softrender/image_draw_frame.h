// What both image draws check and take from their images before any pixel.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_draw_settings.h"

namespace qor {

struct ImageDrawFrame {
  Rect area;           // the draw area cut to the destination, never empty
  int32_t kind;        // 0 or 1, both images
  int32_t source;      // kSourcePalette, kSourceDirect or kSourceAlpha
  int32_t sourceBytes; // bytes of one source cell
  int32_t destBytes;   // bytes of one destination pixel
};

// Cuts the draw area to the destination into `area` and returns true when
// something can be drawn there: valid settings, a valid plain destination
// of kind 0 or 1 (no palette, no alpha), and a non-empty cut area.
bool PrepareDrawDestination(const MemImage* destination, const SoftDrawSettings* settings, Rect* area);

// Fills `frame` and returns true when the images can be drawn one onto the
// other: both valid, the same kind 0 or 1, a plain destination, a blend
// graph (when given) valid and at least the source's size, and a non-empty
// draw area inside the destination.
bool PrepareImageDrawFrame(const MemImage* destination, const MemImage* source, const MemImage* blendGraph,
                           const SoftDrawSettings* settings, ImageDrawFrame* frame);

}  // namespace qor
