// GraphImage: a decoded picture in memory, what every image loader produces.
#pragma once

#include <cstdint>

#include "framework/graphics/images/pixel_format.h"

namespace qor {

struct GraphImage {
  PixelFormatInfo format;
  int32_t width;
  int32_t height;
  int32_t pitch;    // bytes from one row to the next; rows top first
  uint8_t* pixels;  // owned, from AllocMemory; null when the image holds none
};
// A zeroed record is the empty image.

// The largest pixel block an image or memory image may have. Sizes are
// computed in 64 bits and refused above this, so no size ever wraps.
constexpr int64_t kMaxImageBytes = int64_t{1} << 28;

// Pitch of a `width`-pixel row padded to 4 bytes, or -1 when the row would
// not fit in an int.
int32_t PaddedImagePitch(int32_t bytesPerPixel, int32_t width);

// A8R8G8B8 image with pitch 4 x width; 0, or -1 when the size is refused or
// memory runs out (the pixel pointer is then null).
int CreateArgb8GraphImage(int32_t width, int32_t height, GraphImage* image);
// X8R8G8B8 image with rows padded to 4 bytes; 0 or -1.
int AllocGraphImagePixels(int32_t width, int32_t height, GraphImage* image);
// R8G8B8 image with rows padded to 4 bytes; 0 or -1.
int CreateRgb24GraphImage(int32_t width, int32_t height, GraphImage* image);
// Frees the pixels and clears the whole record. 0.
int FreeGraphImage(GraphImage* image);

}  // namespace qor
