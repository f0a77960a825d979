// The four-corner draw: a whole source onto a free four-corner shape, as two
// triangles sharing the diagonal from corner 1 to corner 2.
#include <algorithm>
#include <cstring>

#include "framework/softrender/xform_draw.h"
#include "framework/softrender/xform_fixed.h"

namespace qor {

void DrawMemImgQuadClipped(MemImage* destination, const MemImage* source, const int32_t* corners, int32_t useKey,
                           const MemImage* blendGraph, const SoftDrawSettings* settings) {
  if (corners == nullptr || settings == nullptr || !IsMemImgValid(source)) return;
  int32_t c[8];
  std::memcpy(c, corners, sizeof c);
  for (int32_t v : c) {
    if (!PixelFitsFixed(v)) return;
  }
  // A shape whose box (grown by the margin of the rotated draw) misses the
  // draw area costs nothing more.
  Rect box = {std::min({c[0], c[2], c[4], c[6]}) - 2, std::min({c[1], c[3], c[5], c[7]}) - 2,
              std::max({c[0], c[2], c[4], c[6]}) + 4, std::max({c[1], c[3], c[5], c[7]}) + 4};
  ClipRect(&box, &settings->drawArea);
  if (box.left == box.right || box.top == box.bottom) return;

  const int32_t w = source->width;
  const int32_t h = source->height;
  const int32_t list[16] = {c[0], c[1], 0, 0, c[2], c[3], w, 0, c[4], c[5], 0, h, c[6], c[7], w, h};
  DrawMemImgTriangle(destination, source, list, useKey, blendGraph, 0, settings);
  DrawMemImgTriangle(destination, source, list + 4, useKey, blendGraph, 0, settings);
}

}  // namespace qor
