// RIFF/WAVE: the reader of plain PCM WAV files, the writer of WAV images, and
// the routines that read a whole file or stream into a new block.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Where the parts of a RIFF/WAVE source lie: the fmt body right after
// "WAVE", and the data body found by walking the chunks after it. Sizes are
// checked against the stream; the data size counts only bytes present.
struct WaveLayout {
  uint32_t fmtStart;
  uint32_t fmtSize;
  uint32_t dataStart;
  uint32_t dataSize;
};
// 0 with the layout, -1 when the source is not such a file.
int WalkWaveChunks(const StreamSource* source, WaveLayout* layout);

// Sets a converter up for a plain PCM WAV read from its source (at position
// 0): 0 with the stream left at the first data byte, -1 when the source is
// not a plain PCM WAV that can be played.
int ReadWaveHeader(SoundConverter* converter);

// Writes the head of a WAV image, 28 + formatSize bytes: the RIFF and WAVE
// marks, the fmt chunk holding the format block, and the data chunk's head
// for dataSize bytes (formatSize + dataSize + 20 must fit in 32 bits).
void WriteWaveHeader(uint8_t* out, const void* format, uint32_t formatSize, uint32_t dataSize);
// Builds a WAV image of a format block and data in a new block (freed by the
// caller with FreeMemory). 0, or -1 when it cannot be allocated.
int BuildWaveImage(uint8_t** image, uint32_t* imageSize, const void* format, uint32_t formatSize,
                   const void* data, uint32_t dataSize);

// A whole file or stream in a new block; the size is what was really read.
// The file is opened through the framework's file access, so files inside
// resource archives load like loose ones.
int LoadFileToMemory(const char* path, uint8_t** data, uint32_t* size);
int LoadStreamToMemory(const StreamSource* source, uint8_t** data, uint32_t* size);
// The same without a log line: -1 when the stream is too long or memory runs out.
int ReadWholeStream(const StreamSource* source, uint8_t** data, uint32_t* size);

}  // namespace qor
