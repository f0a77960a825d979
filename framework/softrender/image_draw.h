// Drawing one memory image onto another, at its own size or stretched and
// mirrored, under the draw settings' blend mode, parameter and tint, keyed
// by the source's transparent value when asked, and weighted by an optional
// blend graph (one byte per source pixel, through the blend-graph threshold
// table). The per-pixel rules are those of pixel_kernel.h.
//
// Both draws write only destination pixels, and only inside the draw area
// cut to the destination. They draw nothing when the two format kinds
// differ, the destination is palettised or has alpha, the kind is not 0 or
// 1, the blend graph is smaller than the source, or the blend mode draws
// nothing. The blend tables must be built.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_draw_settings.h"

namespace qor {

// Draws `source` with its top-left pixel at (x, y). A non-zero `transparent`
// keys the source; a value of exactly 1 lets an unclipped draw of a whole
// buffer walk its run table. `blendGraph` may be null.
void DrawMemImgAt(MemImage* destination, const MemImage* source, int32_t x, int32_t y, int32_t transparent,
                  const MemImage* blendGraph, const SoftDrawSettings* settings);

// Draws `source` scaled into `rect` by nearest-pixel sampling; a rectangle
// given right-to-left or bottom-to-top mirrors the image. A rectangle of the
// source's exact size, not mirrored, is drawn by DrawMemImgAt.
void DrawMemImgStretched(MemImage* destination, const MemImage* source, const Rect* rect, int32_t transparent,
                         const MemImage* blendGraph, const SoftDrawSettings* settings);

}  // namespace qor
