#include "framework/sound/sound_source.h"

#include <cstring>

#include "framework/core/memory.h"

namespace qor {

namespace {

struct SoundMemStream {
  const uint8_t* data;
  size_t size;
  size_t position;
  int atEnd;
};

SoundMemStream* AsStream(uintptr_t handle) { return reinterpret_cast<SoundMemStream*>(handle); }

int64_t MemTell(uintptr_t handle) { return static_cast<int64_t>(AsStream(handle)->position); }

int MemSeek(uintptr_t handle, int64_t offset, int origin) {
  SoundMemStream* s = AsStream(handle);
  const int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(s->position) : static_cast<int64_t>(s->size);
  int64_t target = base + offset;
  if (offset > 0 && target < base) target = INT64_MAX;  // overflow saturates at the end
  if (target < 0) target = 0;
  if (static_cast<uint64_t>(target) > s->size) target = static_cast<int64_t>(s->size);
  s->position = static_cast<size_t>(target);
  s->atEnd = 0;
  return 0;
}

size_t MemRead(void* buffer, size_t size, size_t count, uintptr_t handle) {
  SoundMemStream* s = AsStream(handle);
  if (size == 0 || count == 0) return 0;
  const size_t remaining = s->size - s->position;
  if (remaining == 0) {
    s->atEnd = 1;
    return 0;
  }
  if (count > remaining / size) count = remaining / size;
  if (count > 0) {
    std::memcpy(buffer, s->data + s->position, size * count);
    s->position += size * count;
    s->atEnd = 0;
    return count;
  }
  std::memcpy(buffer, s->data + s->position, remaining);
  s->position = s->size;
  return 1;
}

int MemEof(uintptr_t handle) { return AsStream(handle)->atEnd; }
int MemIdle(uintptr_t) { return 1; }

const SoundStreamTable kMemTable = {MemTell, MemSeek, MemRead, MemEof, MemIdle, FreeSoundMemStream};

}  // namespace

uintptr_t OpenSoundMemStream(const void* data, size_t size) {
  SoundMemStream* s = static_cast<SoundMemStream*>(AllocMemoryZeroed(sizeof(SoundMemStream), "", 0));
  if (s == nullptr) return 0;
  s->data = static_cast<const uint8_t*>(data);
  s->size = data == nullptr ? 0 : size;
  return reinterpret_cast<uintptr_t>(s);
}

int FreeSoundMemStream(uintptr_t handle) {
  if (handle != 0) FreeMemory(AsStream(handle));
  return 0;
}

const SoundStreamTable& GetSoundMemStreamTable() { return kMemTable; }

SoundSource MakeSoundMemSource(uintptr_t handle) { return SoundSource{kMemTable, handle}; }

}  // namespace qor
