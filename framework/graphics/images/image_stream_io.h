// Small stream helpers shared by the image readers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/files/file_access.h"
#include "framework/graphics/graphs/graph_image.h"

namespace qor {

// True when exactly `bytes` bytes were read into `buffer`.
bool ReadStreamBytes(StreamSource* source, void* buffer, size_t bytes);

// The byte count from the current position to the end; the position is
// kept. -1 when the stream cannot say.
int64_t BytesLeftInStream(StreamSource* source);

// True when a picture of width x height whose rows are `rowBytes` apart is
// worth allocating: both sizes at least 1, the block within kMaxImageBytes
// (in 64 bits).
bool ImageSizeAcceptable(int64_t width, int64_t height, int64_t rowBytes);

// Reads `bytes` bytes into a new block from AllocMemory; null on a short
// read or failed allocation (nothing stays allocated).
uint8_t* ReadStreamBlock(StreamSource* source, size_t bytes);

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace qor
