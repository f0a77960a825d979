// ConvertPixelsBlt: the one general pixel transfer between two blocks of
// pixels described by PixelFormatInfo, used by every upload, read-back and
// memory-image transfer.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/graphs/rect.h"

namespace qor {

// A block of pixels and its extent: nothing outside width x height is ever
// read or written.
struct PixelBlock {
  uint8_t* pixels;  // first pixel of the first row
  int32_t pitch;    // bytes from one row to the next (negative: rows run upward); at least a row
  int32_t width;
  int32_t height;
  const PixelFormatInfo* format;
};

enum ReductionMode { kReduceTruncate = 0, kReduceOrderedDither = 1, kReduceRunningRemainder = 2 };

struct ConvertOptions {
  int32_t mirror;        // 1: each row is written in reverse order
  int32_t colorKeyMode;  // 1: `key` is a key colour 0xRRGGBB whose pixels get alpha 0
  uint32_t key;          // the key colour, or a raw source pixel value for skipKey
  int32_t reduction;     // ReductionMode: rounding of channels that get narrower
  int32_t zeroColor;     // 1: red, green and blue are written as 0
  int32_t alphaFromRed;  // 1: the destination alpha is the converted red
  int32_t skipKey;       // 1: source pixels equal to the key are not written
  int32_t remapPalette;  // 1: palette to palette with different palettes remaps by colour
};

// Copies the source rectangle into the destination with its top-left corner
// at (dstX, dstY), converting formats; `alphaImage` (or null) supplies alpha
// from its red channel at the same place as the source. The rectangle is cut
// to what lies inside the source, the destination and the alpha image.
// Result: -1 when nothing lies inside (a width or height of 0 or less
// included) or a block is unusable; otherwise 0, except the plain 8-bit to
// 8-bit copy, which returns the largest index it copied. `options` may be
// null for all options off.
int ConvertPixelsBlt(const PixelBlock* destination, const PixelBlock* source, const PixelBlock* alphaImage,
                     int32_t dstX, int32_t dstY, const Rect* sourceRect, const ConvertOptions* options);

// The picture as a block (also for reading, hence the const source).
inline PixelBlock PixelBlockOfImage(const GraphImage* image) {
  return {image->pixels, image->pitch, image->width, image->height, &image->format};
}

}  // namespace qor
