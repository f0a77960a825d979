#include "platform/acm/mpeg_header.h"

namespace plat {

namespace {

// kbit/s for indexes 0 to 14, by table: MPEG-1 Layers I, II, III, then MPEG-2
// Layer I and MPEG-2 Layers II and III.
constexpr uint16_t kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr uint32_t kRates[2][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}};

}  // namespace

int ParseMpegHeader(const uint8_t h[4], MpegHeader* out) {
  if (h[0] != 0xFF || (h[1] & 0xF0) != 0xF0) return -2;
  MpegHeader m{};
  m.version = (h[1] & 0x08) ? 0 : 1;
  const int layerBits = (h[1] >> 1) & 3;
  m.bitrateIndex = h[2] >> 4;
  m.sampleRateIndex = (h[2] >> 2) & 3;
  if (layerBits == 0 || m.bitrateIndex == 15 || m.sampleRateIndex == 3) return -1;
  m.layer = 3 - layerBits;
  m.padding = (h[2] >> 1) & 1;
  m.channels = (h[3] >> 6) == 3 ? 1 : 2;
  const int table = m.version == 0 ? m.layer : (m.layer == 0 ? 3 : 4);
  m.bitrate = kBitrates[table][m.bitrateIndex];
  m.sampleRate = kRates[m.version][m.sampleRateIndex];
  if (m.layer == 0) {
    m.frameSize = m.bitrate == 0 ? 0 : (12000 * m.bitrate / m.sampleRate + m.padding) * 4;
    m.samplesPerFrame = 384;
  } else if (m.version == 1 && m.layer == 2) {
    m.frameSize = m.bitrate == 0 ? 0 : 72000 * m.bitrate / m.sampleRate + m.padding;
    m.samplesPerFrame = 576;
  } else {
    m.frameSize = m.bitrate == 0 ? 0 : 144000 * m.bitrate / m.sampleRate + m.padding;
    m.samplesPerFrame = 1152;
  }
  *out = m;
  return 0;
}

}  // namespace plat
