// Loading whole sounds: a sound file, or its image in memory, converted to
// PCM and copied into a buffer and its duplicates, so the sound can overlap
// itself up to the buffer count.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

constexpr int kWholeSound = 0;
constexpr int kStreamSound = 1;

// The sound handle or -1. Loading from a file caps the buffer count at 10;
// from memory a count above 10 is refused before a handle is taken. A count
// of 0 or less makes a sound with no buffer (it cannot be played).
int LoadSoundFile(const char* path, int bufferCount, int shareWith);
int LoadSoundFileEntry2(const char* path, int bufferCount, int shareWith);
int CreateSoundFromMemory(const void* data, uint32_t size, int bufferCount, int shareWith);

// Creates a record's buffers for `bytes` bytes of PCM in `format`. 0, or -1
// for data no buffer can hold (logged). A device that cannot make the first
// buffer (after a retry with fewer controls) or a stream's ring, when the
// data is fine, is failing for itself (no memory, no buffer left): that ends
// the program.
int CreateHandleSoundBuffers(const WAVEFORMATEX* format, uint32_t bytes, int kind, int count, int handle);

}  // namespace qor
