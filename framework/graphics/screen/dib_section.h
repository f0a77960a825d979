// DIB sections for the GDI transfer route of 8-bit screens: a picture in
// memory made into a GDI bitmap that a memory DC can BitBlt from.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/graphs/rect.h"
#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"

namespace qor {

// A new DIB section holding the source picture (mirrored left to right when
// `mirror` is 1), laid out for `format` when one is given (a 32-bit format
// is turned into R8G8B8 and the section made 24-bit), or 0. The caller's
// header and bits stay the caller's on every path.
plat::HGdiObj CreateGraphFromDIB(const plat::BitmapInfo* source, const void* bits, int32_t mirror,
                                 PixelFormatInfo* format);

// The GDI route of an 8-bit screen: the source rectangle of the picture,
// made into a 24-bit DIB section, BitBlt to (x, y) of the surface, which
// GDI maps onto the surface's palette. 0 or -1 (logged).
int BlitImageThroughGdi(const GraphImage* image, const Rect* source, plat::DDSurface* surface, int32_t x, int32_t y);

}  // namespace qor
