// Conversion through the compression manager: compressed WAV files (any
// format tag a codec takes) and MPEG audio files, found by walking their
// frame headers. Both read all compressed data into memory at set-up.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

struct MpegFrameInfo {
  uint8_t layer;            // 0 Layer I, 1 Layer II, 2 Layer III
  uint8_t version;          // 0 MPEG-1, 1 MPEG-2
  uint8_t bitrateIndex;
  uint8_t sampleRateIndex;
  uint8_t padding;
  uint8_t channels;
  uint32_t sampleRate;      // Hz
  uint32_t bitrate;         // kbit/s
  uint32_t frameSize;       // bytes, header included
  uint32_t samplesPerFrame;
};

// 0; -1 an invalid layer, bit-rate or sample-rate index (free format, whose
// frames cannot be measured, included); -2 no sync.
int ParseMpegFrameHeader(const uint8_t header[4], MpegFrameInfo* info);

// Set-up attempts on a converter whose source stands at position 0.
int SetupAcmWaveConverter(SoundConverter* converter);
int SetupAcmMp3Converter(SoundConverter* converter);

// Block producer, seek step and release step of the kind.
int ConvertAcmChunk(SoundConverter* converter);
int SeekAcmConverter(SoundConverter* converter, uint32_t sample);
int FreeAcmConverter(SoundConverter* converter);
// PCM bytes the whole source converts to.
uint64_t AcmConvertedSize(const SoundConverter* converter);

}  // namespace qor
