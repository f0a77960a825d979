// Streams over a block of memory that stays the caller's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/files/file_access.h"

namespace qor {

struct MemoryStream {
  const uint8_t* data;  // not owned
  size_t size;
  size_t position;
  int eof;
};

// A new stream at position 0 over `size` bytes; 0 when out of memory.
StreamHandle OpenMemoryStream(const void* data, size_t size);
int FreeMemoryStream(StreamHandle stream);  // frees the record only; 0

int64_t MemStreamTell(StreamHandle stream);
int MemStreamSeek(StreamHandle stream, int64_t offset, int origin);
size_t MemStreamRead(void* buffer, size_t size, size_t count, StreamHandle stream);
int MemStreamEof(StreamHandle stream);
int MemStreamIdle(StreamHandle stream);

}  // namespace qor
