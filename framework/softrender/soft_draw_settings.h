// The draw state as the software renderer reads it. The graphics layer
// fills one record from its current draw state before each software draw;
// the renderer only reads it.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"

namespace qor {

struct SoftDrawSettings {
  Rect drawArea;       // right and bottom exclusive; cut to the destination by every draw
  int32_t blendMode;   // 0..11
  int32_t blendParam;  // 0..255
  uint32_t tint;       // 0x00RRGGBB; white (0xFFFFFF) = none
};

}  // namespace qor
