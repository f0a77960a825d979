// The sound converter: recognises a source and delivers its sound as PCM,
// one block at a time or whole. Results are 0 for success and -1 for
// failure or the end of the data unless stated.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Tries the readers in order on `source` (which stays the caller's) and
// sets the converter up for the first that recognises it.
int SetupSoundConverter(const StreamSource* source, SoundConverter* converter);

// Delivers up to `count` PCM bytes: `count` unless the data ended, 0 once the
// end has been reached, -1 when the converter is not set up.
int64_t ConvertSoundData(SoundConverter* converter, void* destination, uint32_t count);

// Moves to a sample frame; a move of less than 16 bytes is ignored.
int SeekSoundConverter(SoundConverter* converter, uint32_t sample);

int EndSoundConverter(SoundConverter* converter);
int GetConverterFormat(const SoundConverter* converter, WAVEFORMATEX* format);
// PCM bytes to reserve for the whole sound.
uint32_t GetConvertedSoundSize(const SoundConverter* converter);

// Converts the whole sound into a new block (the caller frees it with
// FreeMemory); -1 only when the block cannot be allocated. A conversion that
// ends early reports the bytes really delivered.
int ConvertWholeSound(SoundConverter* converter, WAVEFORMATEX* format, uint8_t** data, uint32_t* size);

// The plain PCM block reader and seek.
int ReadPcmChunk(SoundConverter* converter);
void SeekPcmConverter(SoundConverter* converter, uint32_t target);

// Reads `bytes` bytes from a source as one item and returns how many really
// arrived, measured by the stream position, so a short read never counts
// bytes that were not read.
uint32_t ReadSourceBytes(const StreamSource* source, void* buffer, uint32_t bytes);

}  // namespace qor
