// The BGRA reader: a 16-byte header and unpadded 8- or 16-bit-per-channel
// blue, green, red, alpha pixels.
#include <cstring>

#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"

namespace qor {

int DecodeBgraImage(StreamSource* source, GraphImage* image) {
  uint8_t header[16];
  if (!ReadStreamBytes(source, header, sizeof header) || std::memcmp(header, "BGRA", 4) != 0) return -1;
  const uint32_t depthWord = ReadLe32(header + 4);
  if (depthWord != 0x08080808u && depthWord != 0x10101010u) return -1;
  const int32_t width = static_cast<int32_t>(ReadLe32(header + 8));
  const int32_t height = static_cast<int32_t>(ReadLe32(header + 12));
  if (!ImageSizeAcceptable(width, height, int64_t{4} * width)) return -1;
  // A file shorter than its pixels is refused before the block is made.
  const int64_t channelBytes = depthWord == 0x10101010u ? 2 : 1;
  const int64_t left = BytesLeftInStream(source);
  if (left < int64_t{4} * channelBytes * width * height) return -1;
  if (CreateArgb8GraphImage(width, height, image) != 0) return -1;

  bool ok = true;
  if (channelBytes == 1) {
    ok = ReadStreamBytes(source, image->pixels, static_cast<size_t>(image->pitch) * static_cast<size_t>(height));
  } else {
    const size_t rowBytes = size_t{8} * static_cast<size_t>(width);
    auto* row = static_cast<uint8_t*>(AllocMemory(rowBytes, nullptr, 0));
    ok = row != nullptr;
    for (int32_t y = 0; ok && y < height; ++y) {
      ok = ReadStreamBytes(source, row, rowBytes);
      uint8_t* dst = image->pixels + static_cast<int64_t>(y) * image->pitch;
      for (size_t i = 0; ok && i < rowBytes / 2; ++i) dst[i] = row[2 * i + 1];  // the high byte
    }
    if (row != nullptr) FreeMemory(row);
  }
  if (!ok) {
    FreeGraphImage(image);
    return -1;
  }
  return 0;
}

}  // namespace qor
