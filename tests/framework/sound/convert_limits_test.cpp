// The sound converter at its limits: the seek that is too short to move
// (under 16 bytes either way) and the first that does, Ogg Vorbis sounds of
// one to three channels, a chained link that changes the rate or the
// channels, and 8-bit output against the library's own 8-bit decode.
#include <gtest/gtest.h>

#include "encoded_audio.h"
#include "framework/core/files/memory_stream.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_state.h"
#include "sound_test_util.h"

using namespace qor;

namespace {

struct Open {
  explicit Open(const std::vector<uint8_t>& image) {
    stream = OpenMemoryStream(image.data(), image.size());
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    result = SetupSoundConverter(&source, &c);
  }
  ~Open() {
    if (result == 0) EndSoundConverter(&c);
    FreeMemoryStream(stream);
  }
  std::vector<uint8_t> Next(uint32_t bytes) {
    std::vector<uint8_t> out(bytes);
    const int64_t got = ConvertSoundData(&c, out.data(), bytes);
    out.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return out;
  }
  std::vector<uint8_t> Whole() {
    WAVEFORMATEX f{};
    uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(ConvertWholeSound(&c, &f, &data, &size), 0);
    std::vector<uint8_t> out(data, data + size);
    FreeMemory(data);
    return out;
  }
  StreamHandle stream = 0;
  SoundConverter c{};
  int result = -1;
};

// libvorbisfile alone, 8-bit unsigned output.
std::vector<uint8_t> DecodeVorbis8(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> pcm;
  std::FILE* in = fmemopen(const_cast<uint8_t*>(file.data()), file.size(), "rb");
  OggVorbis_File vf;
  if (in == nullptr || ov_open(in, &vf, nullptr, 0) != 0) return pcm;
  char buf[4096];
  int section = 0;
  long n;
  while ((n = ov_read(&vf, buf, sizeof buf, 0, 1, 0, &section)) != 0) {
    if (n > 0) pcm.insert(pcm.end(), buf, buf + n);
  }
  ov_clear(&vf);
  return pcm;
}

}  // namespace

TEST(ConvertLimits, SeeksShorterThanSixteenBytesStayPut) {
  soundtest::WavSpec s;
  s.channels = 1;
  s.bits = 8;
  s.rate = 8000;
  s.data = soundtest::Pcm(1000, 3);
  const auto wav = soundtest::WriteWav(s);
  Open o(wav);
  ASSERT_EQ(o.result, 0);
  ASSERT_EQ(o.c.outputFormat.nBlockAlign, 1);
  ASSERT_EQ(o.Next(100).size(), 100u);
  const auto at = [&](uint32_t from) { return std::vector<uint8_t>(s.data.begin() + from, s.data.begin() + from + 8); };
  // 15 bytes on or back: nothing moves; 16: the seek is made.
  ASSERT_EQ(SeekSoundConverter(&o.c, 115), 0);
  EXPECT_EQ(o.c.pcmPosition, 100u);
  EXPECT_EQ(o.Next(8), at(100));
  ASSERT_EQ(SeekSoundConverter(&o.c, 124), 0);  // 16 on from 108
  EXPECT_EQ(o.c.pcmPosition, 124u);
  EXPECT_EQ(o.Next(8), at(124));
  ASSERT_EQ(SeekSoundConverter(&o.c, 117), 0);  // 15 back from 132
  EXPECT_EQ(o.Next(8), at(132));
  ASSERT_EQ(SeekSoundConverter(&o.c, 124), 0);  // 16 back from 140
  EXPECT_EQ(o.Next(8), at(124));
  // Past the data a plain PCM source stops at its end.
  ASSERT_EQ(SeekSoundConverter(&o.c, 5000), 0);
  EXPECT_EQ(o.c.pcmPosition, 1000u);
  EXPECT_TRUE(o.Next(8).empty());
}

TEST(ConvertLimits, VorbisChannelCountsAndChainedFormatChanges) {
  // Every channel count converts; whether the device can play it is the
  // buffers' question, asked when a sound is loaded.
  for (int channels = 1; channels <= 3; ++channels) {
    const auto ogg = soundtest::EncodeVorbis(soundtest::Tone(4000, channels), channels, 22050);
    Open o(ogg);
    ASSERT_EQ(o.result, 0) << channels;
    EXPECT_EQ(o.c.kind, 2u);
    EXPECT_EQ(o.c.outputFormat.nChannels, channels);
    EXPECT_EQ(o.c.outputFormat.nBlockAlign, 2 * channels);
    EXPECT_EQ(o.Whole().size(), 4000u * 2 * static_cast<size_t>(channels));
  }
  // A chain whose second link changes only the rate, or only the channels:
  // the data ends with the first link either way.
  const auto first = soundtest::EncodeVorbis(soundtest::Tone(9000, 1), 1, 44100, 1);
  for (auto [channels, rate] : {std::pair{1, 22050}, std::pair{2, 44100}, std::pair{1, 44100}}) {
    auto chained = first;
    const auto next = soundtest::EncodeVorbis(soundtest::Tone(5000, channels), channels, rate, 2);
    chained.insert(chained.end(), next.begin(), next.end());
    Open o(chained);
    ASSERT_EQ(o.result, 0);
    const size_t expected = (channels == 1 && rate == 44100) ? 14000u * 2 : 9000u * 2;
    EXPECT_EQ(o.Whole().size(), expected) << channels << " " << rate;
  }
}

TEST(ConvertLimits, EightBitVorbisOutputEqualsTheLibrary) {
  const auto ogg = soundtest::EncodeVorbis(soundtest::Tone(12000, 2), 2, 22050);
  const auto expected = DecodeVorbis8(ogg);
  ASSERT_EQ(expected.size(), 12000u * 2);
  GetSoundState().oggVorbisWordSize = 1;
  {
    Open o(ogg);
    ASSERT_EQ(o.result, 0);
    EXPECT_EQ(o.c.outputFormat.wBitsPerSample, 8);
    EXPECT_EQ(o.c.outputFormat.nBlockAlign, 2);
    EXPECT_EQ(o.c.outputFormat.nAvgBytesPerSec, 22050u * 2);
    EXPECT_TRUE(o.Whole() == expected);
  }
  GetSoundState().oggVorbisWordSize = 2;
  Open o(ogg);
  ASSERT_EQ(o.result, 0);
  EXPECT_EQ(o.c.outputFormat.wBitsPerSample, 16);
  EXPECT_EQ(o.Whole().size(), 12000u * 4);
}
