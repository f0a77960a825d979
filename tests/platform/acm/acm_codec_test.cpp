// The compression-manager stand-in against independent references: ADPCM
// files from the reference encoders decode to the encoders' reconstruction,
// G.711 codes to the values of the companding formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "adpcm_reference.h"
#include "platform/acm/acm.h"

using namespace plat;

namespace {

// A source format block: the record and its extra bytes.
std::vector<uint8_t> FormatBlock(uint16_t tag, int channels, uint32_t rate, int align, int bits,
                                 const std::vector<uint8_t>& extra) {
  WAVEFORMATEX f{tag, static_cast<uint16_t>(channels), rate, rate * static_cast<uint32_t>(align) / 2,
                 static_cast<uint16_t>(align), static_cast<uint16_t>(bits), static_cast<uint16_t>(extra.size())};
  std::vector<uint8_t> v(sizeof f + extra.size());
  std::memcpy(v.data(), &f, sizeof f);
  for (size_t i = 0; i < extra.size(); ++i) v[sizeof f + i] = extra[i];
  return v;
}

// Converts all of `data` in steps of `step` source bytes, as the converter
// does; returns the PCM.
std::vector<int16_t> ConvertAll(const std::vector<uint8_t>& format, const std::vector<uint8_t>& data, uint32_t step,
                                uint32_t* predicted = nullptr) {
  const auto* src = reinterpret_cast<const WAVEFORMATEX*>(format.data());
  WAVEFORMATEX out{};
  out.wFormatTag = WAVE_FORMAT_PCM;
  EXPECT_EQ(acmFormatSuggest(nullptr, src, &out, sizeof out, ACM_FORMATSUGGESTF_WFORMATTAG), 0u);
  HACMSTREAM s = nullptr;
  EXPECT_EQ(acmStreamOpen(&s, nullptr, src, &out, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME), 0u);
  if (predicted != nullptr) acmStreamSize(s, static_cast<uint32_t>(data.size()), predicted, ACM_STREAMSIZEF_SOURCE);
  std::vector<uint8_t> pcm;
  std::vector<uint8_t> dst(1 << 20);
  size_t pos = 0;
  while (pos < data.size()) {
    ACMSTREAMHEADER h{};
    h.cbStruct = sizeof h;
    h.pbSrc = data.data() + pos;
    h.cbSrcLength = static_cast<uint32_t>(std::min<size_t>(step, data.size() - pos));
    h.pbDst = dst.data();
    h.cbDstLength = static_cast<uint32_t>(dst.size());
    EXPECT_EQ(acmStreamPrepareHeader(s, &h, 0), 0u);
    acmStreamConvert(s, &h, ACM_STREAMCONVERTF_BLOCKALIGN);
    acmStreamUnprepareHeader(s, &h, 0);
    if (h.cbDstLengthUsed == 0) break;
    pcm.insert(pcm.end(), dst.begin(), dst.begin() + h.cbDstLengthUsed);
    pos += h.cbSrcLengthUsed;
  }
  acmStreamClose(s, 0);
  std::vector<int16_t> samples(pcm.size() / 2);
  std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
  return samples;
}

double Snr(const std::vector<int16_t>& ref, const std::vector<int16_t>& got) {
  double signal = 0, noise = 0;
  for (size_t i = 0; i < ref.size() && i < got.size(); ++i) {
    signal += double(ref[i]) * ref[i];
    noise += double(ref[i] - got[i]) * (ref[i] - got[i]);
  }
  return 10 * std::log10(signal / (noise + 1));
}

TEST(AcmAdpcm, DecodesToTheReferenceReconstruction) {
  for (int channels = 1; channels <= 2; ++channels) {
    for (int align : {256, 1024, 4096}) {
      const auto pcm = adpcmref::Signal(20000, channels);
      // Microsoft ADPCM, in steps smaller and larger than a block.
      const int msSpb = (align - 7 * channels) * 2 / channels + 2;
      const auto ms = adpcmref::EncodeMsAdpcm(pcm, channels, align);
      const auto msFormat = FormatBlock(WAVE_FORMAT_ADPCM, channels, 22050, align, 4, adpcmref::MsAdpcmExtra(msSpb));
      uint32_t predicted = 0;
      const auto msOut = ConvertAll(msFormat, ms.data, std::max(2048, align), &predicted);
      EXPECT_EQ(msOut, ms.decoded) << channels << " " << align;
      EXPECT_EQ(predicted, ms.decoded.size() * 2);
      EXPECT_GT(Snr(pcm, msOut), 12.0);
      // IMA ADPCM.
      const int imaSpb = (align - 4 * channels) * 2 / channels + 1;
      const auto ima = adpcmref::EncodeImaAdpcm(pcm, channels, align);
      const auto imaFormat =
          FormatBlock(WAVE_FORMAT_IMA_ADPCM, channels, 22050, align, 4, adpcmref::ImaAdpcmExtra(imaSpb));
      const auto imaOut = ConvertAll(imaFormat, ima.data, std::max(2048, align), &predicted);
      EXPECT_EQ(imaOut, ima.decoded) << channels << " " << align;
      EXPECT_EQ(predicted, ima.decoded.size() * 2);
      EXPECT_GT(Snr(pcm, imaOut), 12.0);
    }
  }
}

TEST(AcmAdpcm, ShortLastBlockAndBadHeaders) {
  const auto pcm = adpcmref::Signal(3000, 2);
  const int align = 512;
  const int spb = (align - 8) * 2 / 2 + 1;
  auto ima = adpcmref::EncodeImaAdpcm(pcm, 2, align);
  const auto format = FormatBlock(WAVE_FORMAT_IMA_ADPCM, 2, 22050, align, 4, adpcmref::ImaAdpcmExtra(spb));
  // Cut the last block to its header and three groups: it decodes within
  // its own bytes, 1 + 3 x 8 samples, as the acmStreamSize estimate says.
  const size_t whole = ima.data.size() / align - 1;
  ima.data.resize(whole * align + 8 + 3 * 8);
  uint32_t predicted = 0;
  const auto out = ConvertAll(format, ima.data, 2048, &predicted);
  ASSERT_EQ(out.size(), (whole * spb + 25) * 2);
  EXPECT_EQ(predicted, out.size() * 2);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), ima.decoded.begin()));

  // A step index above 88 stops the conversion at that block.
  auto bad = adpcmref::EncodeImaAdpcm(pcm, 2, align);
  bad.data[2 * align + 2] = 89;
  EXPECT_EQ(ConvertAll(format, bad.data, align).size(), 2u * spb * 2);

  // A predictor past the coefficient table does the same.
  const int msSpb = (align - 14) * 2 / 2 + 2;
  auto ms = adpcmref::EncodeMsAdpcm(pcm, 2, align);
  ms.data[align] = 7;
  const auto msFormat = FormatBlock(WAVE_FORMAT_ADPCM, 2, 22050, align, 4, adpcmref::MsAdpcmExtra(msSpb));
  EXPECT_EQ(ConvertAll(msFormat, ms.data, align).size(), 1u * msSpb * 2);

  // The largest step and nibble all through a block: samples saturate and
  // the step stays bounded (the sanitizer build checks the arithmetic).
  std::vector<uint8_t> loud(align, 0x77);
  loud[0] = loud[1] = 1;
  for (int i = 2; i < 14; ++i) loud[static_cast<size_t>(i)] = i % 2 == 0 ? 0xFF : 0x7F;
  const auto loudOut = ConvertAll(msFormat, loud, align);
  ASSERT_EQ(loudOut.size(), 1u * msSpb * 2);
  EXPECT_EQ(loudOut.back(), 32767);
}

TEST(AcmAdpcm, RefusesFormatsThatDisagreeWithThemselves) {
  WAVEFORMATEX out{};
  out.wFormatTag = WAVE_FORMAT_PCM;
  auto suggest = [&](const std::vector<uint8_t>& f) {
    return acmFormatSuggest(nullptr, reinterpret_cast<const WAVEFORMATEX*>(f.data()), &out, sizeof out,
                            ACM_FORMATSUGGESTF_WFORMATTAG);
  };
  EXPECT_EQ(suggest(FormatBlock(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, adpcmref::MsAdpcmExtra(500))), 0u);
  EXPECT_EQ(out.nBlockAlign, 2);
  EXPECT_EQ(out.nAvgBytesPerSec, 44100u);
  EXPECT_NE(suggest(FormatBlock(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, adpcmref::MsAdpcmExtra(501))), 0u);
  EXPECT_NE(suggest(FormatBlock(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, adpcmref::ImaAdpcmExtra(500))), 0u);
  EXPECT_EQ(suggest(FormatBlock(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, adpcmref::ImaAdpcmExtra(505))), 0u);
  EXPECT_NE(suggest(FormatBlock(WAVE_FORMAT_ADPCM, 3, 22050, 256, 4, adpcmref::MsAdpcmExtra(500))), 0u);
  EXPECT_NE(suggest(FormatBlock(0x1234, 1, 22050, 256, 4, {})), 0u);
}

// G.711 from its definition: sign, 3-bit segment, 4-bit step.
int AlawReference(uint8_t code) {
  const uint8_t a = code ^ 0x55;
  const int segment = (a >> 4) & 7, step = a & 15;
  const int magnitude = segment == 0 ? 16 * step + 8 : (16 * step + 264) << (segment - 1);
  return (a & 0x80) ? magnitude : -magnitude;
}
int MulawReference(uint8_t code) {
  const uint8_t u = static_cast<uint8_t>(~code);
  const int segment = (u >> 4) & 7, step = u & 15;
  const int magnitude = ((2 * step + 33) << (segment + 2)) - 132;
  return (u & 0x80) ? -magnitude : magnitude;
}

TEST(AcmG711, EveryCodeMatchesTheFormula) {
  std::vector<uint8_t> codes(256);
  for (int i = 0; i < 256; ++i) codes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  const auto alaw = ConvertAll(FormatBlock(WAVE_FORMAT_ALAW, 1, 8000, 1, 8, {}), codes, 2048);
  const auto mulaw = ConvertAll(FormatBlock(WAVE_FORMAT_MULAW, 1, 8000, 1, 8, {}), codes, 2048);
  ASSERT_EQ(alaw.size(), 256u);
  ASSERT_EQ(mulaw.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(alaw[static_cast<size_t>(i)], AlawReference(static_cast<uint8_t>(i))) << i;
    EXPECT_EQ(mulaw[static_cast<size_t>(i)], MulawReference(static_cast<uint8_t>(i))) << i;
  }
  EXPECT_EQ(mulaw[0xFF], 0);
  EXPECT_EQ(alaw[0xD5], 8);
}

}  // namespace
