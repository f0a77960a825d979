#include "platform/acm/adpcm_decode.h"

namespace plat {
namespace acm {

namespace {

constexpr int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

constexpr int64_t kMaxMsDelta = 1 << 24;

constexpr int kImaIndexStep[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }
int16_t Le16s(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

struct MsChannel {
  int32_t coef1, coef2, delta, sample1, sample2;
};

int16_t MsStep(MsChannel& c, int nibble) {
  const int64_t signedNibble = nibble >= 8 ? nibble - 16 : nibble;
  // 64-bit: a damaged block may carry any coefficients and deltas.
  const int64_t predicted = (int64_t{c.sample1} * c.coef1 + int64_t{c.sample2} * c.coef2) >> 8;
  const int64_t value = predicted + signedNibble * c.delta;
  const int16_t sample = static_cast<int16_t>(value > 32767 ? 32767 : value < -32768 ? -32768 : value);
  c.sample2 = c.sample1;
  c.sample1 = sample;
  // Real streams keep the step far below this bound; it only stops a
  // damaged one from growing without end.
  const int64_t delta = (int64_t{kMsAdaptation[nibble]} * c.delta) >> 8;
  c.delta = static_cast<int32_t>(delta < 16 ? 16 : delta > kMaxMsDelta ? kMaxMsDelta : delta);
  return sample;
}

struct ImaChannel {
  int32_t predictor, index;
};

int16_t ImaStep(ImaChannel& c, int nibble) {
  const int32_t step = kImaSteps[c.index];
  int32_t diff = step >> 3;
  if (nibble & 4) diff += step;
  if (nibble & 2) diff += step >> 1;
  if (nibble & 1) diff += step >> 2;
  c.predictor = Clamp16(nibble & 8 ? c.predictor - diff : c.predictor + diff);
  c.index += kImaIndexStep[nibble];
  c.index = c.index < 0 ? 0 : c.index > 88 ? 88 : c.index;
  return static_cast<int16_t>(c.predictor);
}

}  // namespace

uint32_t MsAdpcmSamplesIn(const AdpcmParams& p, uint32_t bytes) {
  const uint32_t header = 7u * static_cast<uint32_t>(p.channels);
  if (bytes > p.blockAlign) bytes = p.blockAlign;
  if (bytes < header) return 0;
  const uint32_t samples = 2 + (bytes - header) * 2 / static_cast<uint32_t>(p.channels);
  return samples < p.samplesPerBlock ? samples : p.samplesPerBlock;
}

uint32_t ImaAdpcmSamplesIn(const AdpcmParams& p, uint32_t bytes) {
  const uint32_t header = 4u * static_cast<uint32_t>(p.channels);
  if (bytes > p.blockAlign) bytes = p.blockAlign;
  if (bytes < header) return 0;
  // Channels take turns in groups of 4 bytes (8 samples).
  const uint32_t groups = (bytes - header) / (4u * static_cast<uint32_t>(p.channels));
  const uint32_t samples = 1 + groups * 8;
  return samples < p.samplesPerBlock ? samples : p.samplesPerBlock;
}

int DecodeMsAdpcmBlock(const AdpcmParams& p, const uint8_t* block, uint32_t bytes, int16_t* out) {
  const int ch = p.channels;
  const uint32_t samples = MsAdpcmSamplesIn(p, bytes);
  if (samples == 0) return -1;
  MsChannel c[2];
  for (int i = 0; i < ch; ++i) {
    const int predictor = block[i];
    if (predictor >= p.coefCount) return -1;
    c[i].coef1 = p.coefs[predictor].coef1;
    c[i].coef2 = p.coefs[predictor].coef2;
    c[i].delta = Le16s(block + ch + 2 * i);
    c[i].sample1 = Le16s(block + 3 * ch + 2 * i);
    c[i].sample2 = Le16s(block + 5 * ch + 2 * i);
  }
  for (int i = 0; i < ch; ++i) {
    out[i] = static_cast<int16_t>(c[i].sample2);
    out[ch + i] = static_cast<int16_t>(c[i].sample1);
  }
  const uint8_t* data = block + 7 * ch;
  const uint32_t nibbles = (samples - 2) * static_cast<uint32_t>(ch);
  int16_t* o = out + 2 * ch;
  for (uint32_t n = 0; n < nibbles; ++n) {
    const int nibble = (n & 1) ? (data[n >> 1] & 0x0F) : (data[n >> 1] >> 4);
    o[n] = MsStep(c[ch == 2 ? (n & 1) : 0], nibble);
  }
  return 0;
}

int DecodeImaAdpcmBlock(const AdpcmParams& p, const uint8_t* block, uint32_t bytes, int16_t* out) {
  const int ch = p.channels;
  const uint32_t samples = ImaAdpcmSamplesIn(p, bytes);
  if (samples == 0) return -1;
  ImaChannel c[2];
  for (int i = 0; i < ch; ++i) {
    c[i].predictor = Le16s(block + 4 * i);
    c[i].index = block[4 * i + 2];
    if (c[i].index > 88) return -1;
    out[i] = static_cast<int16_t>(c[i].predictor);
  }
  const uint8_t* data = block + 4 * ch;
  const uint32_t groups = (samples - 1) / 8;
  for (uint32_t g = 0; g < groups; ++g) {
    for (int i = 0; i < ch; ++i) {
      const uint8_t* bytes4 = data + (g * static_cast<uint32_t>(ch) + static_cast<uint32_t>(i)) * 4;
      for (int k = 0; k < 8; ++k) {
        const int nibble = (k & 1) ? (bytes4[k >> 1] >> 4) : (bytes4[k >> 1] & 0x0F);
        out[(1 + g * 8 + static_cast<uint32_t>(k)) * static_cast<uint32_t>(ch) + static_cast<uint32_t>(i)] =
            ImaStep(c[i], nibble);
      }
    }
  }
  return 0;
}

int16_t AlawToLinear(uint8_t code) {
  const int a = code ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0) t += 8;
  else t = (t + 0x108) << (segment - 1);
  return static_cast<int16_t>((a & 0x80) ? t : -t);
}

int16_t MulawToLinear(uint8_t code) {
  const int u = ~code & 0xFF;
  const int t = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
  return static_cast<int16_t>((u & 0x80) ? (0x84 - t) : (t - 0x84));
}

}  // namespace acm
}  // namespace plat
