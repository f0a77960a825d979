// Reference ADPCM encoders written from the codecs' published descriptions.
// Each keeps the decoder's reconstruction of what it wrote, so a decoder can
// be checked against it sample for sample.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace adpcmref {

inline int16_t Clamp16(int v) { return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }
inline void Put16(std::vector<uint8_t>& v, int x) {
  v.push_back(static_cast<uint8_t>(x & 0xFF));
  v.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
}

constexpr int kMsCoef1[7] = {256, 512, 0, 192, 240, 460, 392};
constexpr int kMsCoef2[7] = {0, -256, 0, 64, 0, -208, -232};
constexpr int kMsAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

struct Encoded {
  std::vector<uint8_t> data;      // whole blocks
  std::vector<int16_t> decoded;   // the reconstruction, interleaved
};

// Microsoft ADPCM: every block uses predictor (block number mod 7), so all
// seven standard predictors are exercised.
inline Encoded EncodeMsAdpcm(const std::vector<int16_t>& pcm, int channels, int blockAlign) {
  const int spb = (blockAlign - 7 * channels) * 2 / channels + 2;
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  Encoded e;
  for (size_t start = 0, block = 0; start < frames; start += static_cast<size_t>(spb), ++block) {
    auto at = [&](size_t f, int c) -> int { return f < frames ? pcm[f * channels + c] : 0; };
    const int pred = static_cast<int>(block % 7);
    int delta[2], s1[2], s2[2];
    for (int c = 0; c < channels; ++c) e.data.push_back(static_cast<uint8_t>(pred));
    for (int c = 0; c < channels; ++c) {
      delta[c] = std::abs(at(start + 2, c) - at(start + 1, c)) / 4;
      if (delta[c] < 16) delta[c] = 16;
      Put16(e.data, delta[c]);
    }
    for (int c = 0; c < channels; ++c) Put16(e.data, s1[c] = at(start + 1, c));
    for (int c = 0; c < channels; ++c) Put16(e.data, s2[c] = at(start, c));
    for (int c = 0; c < channels; ++c) e.decoded.push_back(static_cast<int16_t>(s2[c]));
    for (int c = 0; c < channels; ++c) e.decoded.push_back(static_cast<int16_t>(s1[c]));
    int nibbleCount = 0;
    uint8_t byte = 0;
    for (int i = 2; i < spb; ++i) {
      for (int c = 0; c < channels; ++c) {
        const int predicted = (s1[c] * kMsCoef1[pred] + s2[c] * kMsCoef2[pred]) >> 8;
        int n = (at(start + static_cast<size_t>(i), c) - predicted) / delta[c];
        n = n < -8 ? -8 : n > 7 ? 7 : n;
        const int16_t out = Clamp16(predicted + n * delta[c]);
        s2[c] = s1[c];
        s1[c] = out;
        const int nibble = n & 0x0F;
        delta[c] = kMsAdapt[nibble] * delta[c] >> 8;
        if (delta[c] < 16) delta[c] = 16;
        e.decoded.push_back(out);
        if (nibbleCount++ % 2 == 0) byte = static_cast<uint8_t>(nibble << 4);
        else e.data.push_back(static_cast<uint8_t>(byte | nibble));
      }
    }
  }
  return e;
}

constexpr int kImaIndex[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
inline int ImaStep(int index) {
  // 7 x 1.1^index, as the published table gives it.
  static const int table[89] = {
      7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
      31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
      130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
      544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
      2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
      9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
  return table[index];
}

// IMA ADPCM with the usual encoder's nibble choice.
inline Encoded EncodeImaAdpcm(const std::vector<int16_t>& pcm, int channels, int blockAlign) {
  const int spb = (blockAlign - 4 * channels) * 2 / channels + 1;
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  Encoded e;
  int index[2] = {0, 0};
  for (size_t start = 0; start < frames; start += static_cast<size_t>(spb)) {
    auto at = [&](size_t f, int c) -> int { return f < frames ? pcm[f * channels + c] : 0; };
    std::vector<int16_t> block(static_cast<size_t>(spb * channels));
    int predictor[2];
    for (int c = 0; c < channels; ++c) {
      predictor[c] = at(start, c);
      Put16(e.data, predictor[c]);
      e.data.push_back(static_cast<uint8_t>(index[c]));
      e.data.push_back(0);
      block[static_cast<size_t>(c)] = static_cast<int16_t>(predictor[c]);
    }
    std::vector<std::vector<uint8_t>> nibbles(static_cast<size_t>(channels));
    for (int i = 1; i < spb; ++i) {
      for (int c = 0; c < channels; ++c) {
        const int step = ImaStep(index[c]);
        int diff = at(start + static_cast<size_t>(i), c) - predictor[c];
        int nibble = 0;
        if (diff < 0) {
          nibble = 8;
          diff = -diff;
        }
        int mask = 4, tempStep = step;
        for (int k = 0; k < 3; ++k, mask >>= 1, tempStep >>= 1) {
          if (diff >= tempStep) {
            nibble |= mask;
            diff -= tempStep;
          }
        }
        int delta = step >> 3;
        if (nibble & 4) delta += step;
        if (nibble & 2) delta += step >> 1;
        if (nibble & 1) delta += step >> 2;
        predictor[c] = Clamp16(nibble & 8 ? predictor[c] - delta : predictor[c] + delta);
        index[c] += kImaIndex[nibble];
        index[c] = index[c] < 0 ? 0 : index[c] > 88 ? 88 : index[c];
        block[static_cast<size_t>(i * channels + c)] = static_cast<int16_t>(predictor[c]);
        nibbles[static_cast<size_t>(c)].push_back(static_cast<uint8_t>(nibble));
      }
    }
    // Channels take turns, 8 nibbles (4 bytes) each, low nibble first.
    for (size_t g = 0; g < nibbles[0].size(); g += 8) {
      for (int c = 0; c < channels; ++c) {
        for (size_t k = 0; k < 8; k += 2) {
          e.data.push_back(static_cast<uint8_t>(nibbles[static_cast<size_t>(c)][g + k] |
                                                (nibbles[static_cast<size_t>(c)][g + k + 1] << 4)));
        }
      }
    }
    e.decoded.insert(e.decoded.end(), block.begin(), block.end());
  }
  return e;
}

// The standard extra bytes of the two formats.
inline std::vector<uint8_t> MsAdpcmExtra(int samplesPerBlock) {
  std::vector<uint8_t> v;
  Put16(v, samplesPerBlock);
  Put16(v, 7);
  for (int i = 0; i < 7; ++i) {
    Put16(v, kMsCoef1[i]);
    Put16(v, kMsCoef2[i]);
  }
  return v;
}
inline std::vector<uint8_t> ImaAdpcmExtra(int samplesPerBlock) {
  std::vector<uint8_t> v;
  Put16(v, samplesPerBlock);
  return v;
}

// A test signal: two tones and a little noise.
inline std::vector<int16_t> Signal(size_t frames, int channels, uint32_t seed = 7) {
  std::vector<int16_t> v(frames * static_cast<size_t>(channels));
  uint32_t x = seed;
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      x = x * 1103515245u + 12345u;
      const double t = static_cast<double>(i);
      const double s = 9000 * __builtin_sin(t * (0.031 + 0.01 * c)) + 4000 * __builtin_sin(t * 0.173) +
                       static_cast<double>(static_cast<int>((x >> 16) & 0x3FF) - 512);
      v[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = static_cast<int16_t>(s);
    }
  }
  return v;
}

}  // namespace adpcmref
