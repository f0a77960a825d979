// MPEG audio frame headers: the bit-rate and sample-rate tables of MPEG-1 and
// MPEG-2 (lower sampling frequencies), and the size of a frame.
#pragma once

#include <cstdint>

namespace plat {

struct MpegHeader {
  int version;            // 0 MPEG-1, 1 MPEG-2
  int layer;              // 0 Layer I, 1 Layer II, 2 Layer III
  int bitrateIndex;
  int sampleRateIndex;
  int padding;
  int channels;
  uint32_t sampleRate;    // Hz
  uint32_t bitrate;       // kbit/s (0 for free format)
  uint32_t frameSize;     // bytes, header included (0 for free format)
  uint32_t samplesPerFrame;
};

// 0 parsed; -1 a reserved layer, bit-rate index 15 or sample-rate index 3;
// -2 no sync (MPEG-2.5 included). Bit-rate index 0 (free format) parses with
// a bit rate and frame size of 0; callers that need a size refuse it.
int ParseMpegHeader(const uint8_t header[4], MpegHeader* out);

}  // namespace plat
