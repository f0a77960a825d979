#include "framework/graphics/images/image_stream_io.h"

#include "framework/core/memory.h"

namespace qor {

bool ReadStreamBytes(StreamSource* source, void* buffer, size_t bytes) {
  if (bytes == 0) return true;
  return source->functions.read(buffer, bytes, 1, source->handle) == 1;
}

int64_t BytesLeftInStream(StreamSource* source) {
  const int64_t here = source->functions.tell(source->handle);
  if (here < 0 || source->functions.seek(source->handle, 0, 2) != 0) return -1;
  const int64_t end = source->functions.tell(source->handle);
  if (source->functions.seek(source->handle, here, 0) != 0 || end < here) return -1;
  return end - here;
}

bool ImageSizeAcceptable(int64_t width, int64_t height, int64_t rowBytes) {
  if (width < 1 || height < 1 || rowBytes < 1) return false;
  if (width > kMaxImageBytes || height > kMaxImageBytes || rowBytes > kMaxImageBytes) return false;
  return rowBytes * height <= kMaxImageBytes;
}

uint8_t* ReadStreamBlock(StreamSource* source, size_t bytes) {
  auto* block = static_cast<uint8_t*>(AllocMemory(bytes > 0 ? bytes : 1, nullptr, 0));
  if (block == nullptr) return nullptr;
  if (!ReadStreamBytes(source, block, bytes)) {
    FreeMemory(block);
    return nullptr;
  }
  return block;
}

}  // namespace qor
