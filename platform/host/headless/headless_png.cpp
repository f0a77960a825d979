// Writes a kept frame as an 8-bit RGB PNG.
#include <png.h>

#include <cstring>
#include <vector>

#include "platform/host/headless/headless_control.h"

namespace plat::headless {

bool WriteFramePng(const KeptFrame& frame, const char* path) {
  if (!path || frame.width <= 0 || frame.height <= 0) return false;
  const size_t count = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
  if (frame.pixels.size() < count) return false;
  std::vector<unsigned char> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = frame.pixels[i];
    rgb[3 * i] = static_cast<unsigned char>(p >> 16);
    rgb[3 * i + 1] = static_cast<unsigned char>(p >> 8);
    rgb[3 * i + 2] = static_cast<unsigned char>(p);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path, 0, rgb.data(), frame.width * 3, nullptr);
  png_image_free(&image);
  return ok != 0;
}

}  // namespace plat::headless
