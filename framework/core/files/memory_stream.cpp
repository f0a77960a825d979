#include "framework/core/files/memory_stream.h"

#include <cstring>

#include "framework/core/memory.h"

namespace qor {

namespace {
MemoryStream* StreamOf(StreamHandle stream) { return reinterpret_cast<MemoryStream*>(stream); }
}  // namespace

StreamHandle OpenMemoryStream(const void* data, size_t size) {
  MemoryStream* s = static_cast<MemoryStream*>(AllocMemoryZeroed(sizeof(MemoryStream), __FILE__, __LINE__));
  if (s == nullptr) return 0;
  s->data = static_cast<const uint8_t*>(data);
  s->size = size;
  return reinterpret_cast<StreamHandle>(s);
}

int FreeMemoryStream(StreamHandle stream) {
  if (stream != 0) FreeMemory(StreamOf(stream));
  return 0;
}

int64_t MemStreamTell(StreamHandle stream) { return static_cast<int64_t>(StreamOf(stream)->position); }

int MemStreamSeek(StreamHandle stream, int64_t offset, int origin) {
  MemoryStream* s = StreamOf(stream);
  const int64_t target = ClampedSeekTarget(static_cast<int64_t>(s->position), static_cast<int64_t>(s->size), offset, origin);
  if (target < 0) return -1;
  s->position = static_cast<size_t>(target);
  s->eof = 0;
  return 0;
}

size_t MemStreamRead(void* buffer, size_t size, size_t count, StreamHandle stream) {
  MemoryStream* s = StreamOf(stream);
  if (s->position >= s->size) {
    s->eof = 1;
    return 0;
  }
  if (size == 0 || count == 0) return 0;
  const size_t remaining = s->size - s->position;
  // Clip by division so a huge size x count cannot wrap.
  if (count > remaining / size) count = remaining / size;
  if (count > 0) {
    std::memcpy(buffer, s->data + s->position, size * count);
    s->position += size * count;
    s->eof = 0;
    return count;
  }
  // Less than one element is left: hand it over, the rest of the element
  // zero-filled so the caller never sees stale bytes.
  std::memcpy(buffer, s->data + s->position, remaining);
  std::memset(static_cast<uint8_t*>(buffer) + remaining, 0, size - remaining);
  s->position = s->size;
  return 1;
}

int MemStreamEof(StreamHandle stream) { return StreamOf(stream)->eof; }
int MemStreamIdle(StreamHandle) { return 1; }

}  // namespace qor
