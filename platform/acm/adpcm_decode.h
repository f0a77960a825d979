// Block decoders of Microsoft ADPCM and IMA ADPCM, and the G.711 A-law and
// mu-law expansions. Output is 16-bit signed PCM, channels interleaved.
#pragma once

#include <cstdint>

namespace plat {
namespace acm {

struct MsAdpcmCoef {
  int16_t coef1;
  int16_t coef2;
};

// The decoding parameters read from a format block.
struct AdpcmParams {
  int channels;
  uint32_t blockAlign;
  uint32_t samplesPerBlock;
  int coefCount;                 // Microsoft ADPCM only
  MsAdpcmCoef coefs[256];
};

// Samples per channel that a block of `bytes` bytes holds (a whole block or
// a short last one); 0 when it holds not even its header.
uint32_t MsAdpcmSamplesIn(const AdpcmParams& p, uint32_t bytes);
uint32_t ImaAdpcmSamplesIn(const AdpcmParams& p, uint32_t bytes);

// Decodes one block of `bytes` bytes (at most the block align) into
// samples-in-block frames; -1 for a block whose header is invalid (a
// predictor past the coefficient table, a step index above 88).
int DecodeMsAdpcmBlock(const AdpcmParams& p, const uint8_t* block, uint32_t bytes, int16_t* out);
int DecodeImaAdpcmBlock(const AdpcmParams& p, const uint8_t* block, uint32_t bytes, int16_t* out);

int16_t AlawToLinear(uint8_t code);
int16_t MulawToLinear(uint8_t code);

}  // namespace acm
}  // namespace plat
