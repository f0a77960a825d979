// The transformed draws of the software renderer: a memory image (or one
// flat colour) mapped affinely onto a triangle, a whole image onto a free
// four-corner shape, and a whole image turned and scaled about a centre
// pixel, under the draw settings' blend mode, parameter and tint. The
// per-pixel rules are those of pixel_kernel.h, shared with the image draws.
//
// Every draw writes only destination pixels inside the draw area cut to the
// destination, and draws nothing when: the destination is not a plain kind 0
// or 1 image (no palette, no alpha); a source of another kind is given, or
// one of 8192 pixels or more either way; the blend graph does not cover the
// source; a position lies outside what 14.18 fixed point can name (-8192 to
// 8191 pixels); or the blend mode draws nothing (5 to 9, out of range, and
// the parameter cases of pixel_kernel.h). The blend tables must be built.
// Nothing is kept between calls: the draws may run side by side on
// different destinations.
#pragma once

#include <cstdint>

#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_draw_settings.h"

namespace qor {

// `vertices`: three (x, y, u, v) in whole pixels, destination then source
// position, in any order and winding. Pixels whose mapped source position
// lies outside the source keep their values. A null `source` fills the
// triangle with `colour` (a pixel value of the destination's layout, tinted
// first; blend graph and key are not read). A non-zero `useKey` skips source
// pixels equal to the source's transparent value.
void DrawMemImgTriangle(MemImage* destination, const MemImage* source, const int32_t* vertices, int32_t useKey,
                        const MemImage* blendGraph, uint32_t colour, const SoftDrawSettings* settings);

// `corners`: four (x, y) in whole pixels receiving the source's top-left,
// top-right, bottom-left and bottom-right corners (source positions (0, 0),
// (width, 0), (0, height), (width, height)); drawn as the triangles 0-1-2
// and 1-2-3, so the pixels of the shared diagonal are drawn by both.
void DrawMemImgQuadClipped(MemImage* destination, const MemImage* source, const int32_t* corners, int32_t useKey,
                           const MemImage* blendGraph, const SoftDrawSettings* settings);

// The source turned by `angle` (radians, clockwise on the destination) and
// scaled by `scale` about the destination pixel (cx, cy), which shows source
// pixel (width / 2, height / 2). A non-zero `mirror` draws the source
// mirrored left to right through DrawMemImgQuadClipped. An angle or scale
// that is NaN or infinite, and a scale of 0, draw nothing.
void DrawMemImgRotated(MemImage* destination, const MemImage* source, int32_t cx, int32_t cy, float angle,
                       float scale, int32_t useKey, int32_t mirror, const MemImage* blendGraph,
                       const SoftDrawSettings* settings);

}  // namespace qor
