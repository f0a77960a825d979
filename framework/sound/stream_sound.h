// Stream sounds: up to three data parts played one after another from one
// looping ring buffer (6 seconds) that the message pump keeps filled. This
// file adds and loads the parts and chooses the ring; stream_play.h plays it.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Part kinds: 0 converted whole at once and kept as a WAVE image, 2 the file
// image kept and converted while playing, 3 converted while reading straight
// from the stream.
constexpr uint32_t kStreamPartWhole = 0;
constexpr uint32_t kStreamPartImage = 2;
constexpr uint32_t kStreamPartDirect = 3;

// Appends a part read from `source`. `ownsStream` tells whether the part
// still reads from `source` (0) or is done with it (1). `shareWith` is a
// stream sound whose ring to play through, or -1. 0 or -1 (logged).
int AddSreamSound(const StreamSource* source, int loopCount, int handle, int kind, int* ownsStream, int shareWith);
int LoadStreamSoundFile(const char* path, int loopCount, int handle, int kind, int shareWith);
// Kind 3 is taken as 2: the caller's block does not outlive the call.
int LoadStreamSoundMem(const void* data, uint32_t size, int loopCount, int handle, int kind, int shareWith);

// Releases what the parts of a stream sound hold (converters, data blocks,
// the streams the sound owns).
void FreeStreamParts(SoundData* record);

}  // namespace qor
