// The software renderer's two primitives: filled rectangles and lines drawn
// into a memory image under a blend mode, clipped to the draw area.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_draw_settings.h"

namespace qor {

struct LineRecord {
  int32_t x1;
  int32_t y1;
  int32_t x2;
  int32_t y2;
  int32_t color;
  int32_t spare;
};

// Each primitive draws only into kind 0 or 1 images without palette and
// alpha, only inside the draw area and the image, and takes the colour as a
// pixel value of the image (an R5G6B5 value in the low 16 bits for kind 0).

// Fills the rectangle (null = the whole image; corners in any order).
void PaintMemImgRect(MemImage* image, const Rect* rect, uint32_t color, const SoftDrawSettings* settings);
// A line from (x1, y1) up to but not including (x2, y2).
void DrawMemImgLine(MemImage* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color,
                    const SoftDrawSettings* settings);
void DrawMemImgLineList(MemImage* image, const LineRecord* lines, int32_t count, const SoftDrawSettings* settings);

}  // namespace qor
