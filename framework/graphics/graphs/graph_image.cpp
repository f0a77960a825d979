#include "framework/graphics/graphs/graph_image.h"

#include <cstring>

#include "framework/core/memory.h"

namespace qor {

namespace {

// Sets the size fields and allocates pitch x height bytes (not cleared).
int AllocImageBlock(GraphImage* image, int32_t width, int32_t height, int32_t pitch) {
  image->width = width;
  image->height = height;
  image->pitch = pitch;
  image->pixels = nullptr;
  if (width < 0 || height < 0 || pitch < 0) return -1;
  int64_t bytes = static_cast<int64_t>(pitch) * height;
  if (bytes > kMaxImageBytes) return -1;
  image->pixels = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(bytes), nullptr, 0));
  return image->pixels != nullptr ? 0 : -1;
}

}  // namespace

int32_t PaddedImagePitch(int32_t bytesPerPixel, int32_t width) {
  int64_t pitch = (static_cast<int64_t>(bytesPerPixel) * width + 3) / 4 * 4;
  if (width < 0 || pitch > INT32_MAX) return -1;
  return static_cast<int32_t>(pitch);
}

int CreateArgb8GraphImage(int32_t width, int32_t height, GraphImage* image) {
  MakeFormatA8R8G8B8(&image->format);
  int64_t pitch = int64_t{4} * width;
  return AllocImageBlock(image, width, height, pitch > INT32_MAX ? -1 : static_cast<int32_t>(pitch));
}

int AllocGraphImagePixels(int32_t width, int32_t height, GraphImage* image) {
  MakeFormatX8R8G8B8(&image->format);
  return AllocImageBlock(image, width, height, PaddedImagePitch(4, width));
}

int CreateRgb24GraphImage(int32_t width, int32_t height, GraphImage* image) {
  MakeFormatRGB24(&image->format);
  return AllocImageBlock(image, width, height, PaddedImagePitch(3, width));
}

int FreeGraphImage(GraphImage* image) {
  if (image->pixels != nullptr) FreeMemory(image->pixels);
  std::memset(image, 0, sizeof *image);
  return 0;
}

}  // namespace qor
