// How the sound loaders read their input: the six stream operations (tell,
// seek, read, end test, idle test, close) and a stream handle, the shape of
// the framework's stream sources. The converter keeps its own copy and never
// closes the stream; whoever opened it does.
//
// Sound reads its in-memory file images through the small memory reader
// below until the framework's file and memory streams take its place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor {

struct SoundStreamTable {
  int64_t (*tell)(uintptr_t handle);
  int (*seek)(uintptr_t handle, int64_t offset, int origin);  // origin 0 start, 1 current, 2 end
  size_t (*read)(void* buffer, size_t size, size_t count, uintptr_t handle);
  int (*eof)(uintptr_t handle);   // non-zero once a read met the end
  int (*idle)(uintptr_t handle);
  int (*close)(uintptr_t handle);
};

struct SoundSource {
  SoundStreamTable table;
  uintptr_t handle;
};

// A reader over a block the caller keeps. Reads follow the memory-stream
// rules: whole items while they fit; when not one whole item is left but
// some bytes are, those bytes are copied and the read counts 1. Returns 0
// when memory runs out.
uintptr_t OpenSoundMemStream(const void* data, size_t size);
int FreeSoundMemStream(uintptr_t handle);
const SoundStreamTable& GetSoundMemStreamTable();

// A source over an open memory stream.
SoundSource MakeSoundMemSource(uintptr_t handle);

}  // namespace qor
