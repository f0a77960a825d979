// Converting one whole pixel block into another at its top-left corner.
#pragma once

#include "framework/graphics/images/convert_pixels.h"

namespace qor {

inline int ConvertWholeBlock(const PixelBlock* destination, const PixelBlock* source) {
  const Rect all{0, 0, source->width, source->height};
  return ConvertPixelsBlt(destination, source, nullptr, 0, 0, &all, nullptr);
}

}  // namespace qor
