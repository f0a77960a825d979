// Compressed WAV, MPEG audio and Ogg Vorbis through the sound converter,
// against files made by the encoders and decoded by the libraries directly.
#include <gtest/gtest.h>

#include "encoded_audio.h"
#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/acm_convert.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_state.h"
#include "platform/acm/adpcm_reference.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

struct Converted {
  int setup = -1;
  uint32_t kind = 99;
  WAVEFORMATEX format{};
  uint32_t reserve = 0;
  std::vector<uint8_t> pcm;
};

// Sets a converter up over a file image and converts it whole.
Converted ConvertImage(const std::vector<uint8_t>& image) {
  Converted r;
  const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter c{};
  r.setup = SetupSoundConverter(&source, &c);
  if (r.setup == 0) {
    r.kind = c.kind;
    r.reserve = GetConvertedSoundSize(&c);
    uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(ConvertWholeSound(&c, &r.format, &data, &size), 0);
    r.pcm.assign(data, data + size);
    FreeMemory(data);
    EndSoundConverter(&c);
  }
  FreeMemoryStream(stream);
  return r;
}

std::vector<uint8_t> Bytes(const std::vector<int16_t>& v) {
  std::vector<uint8_t> b(v.size() * 2);
  std::memcpy(b.data(), v.data(), b.size());
  return b;
}

// A WAV of a compressed format: the fmt record, its extra bytes and the data.
std::vector<uint8_t> CompressedWav(uint16_t tag, int channels, uint32_t rate, int align, int bits,
                                   const std::vector<uint8_t>& extra, const std::vector<uint8_t>& data) {
  WavSpec s;
  s.tag = tag;
  s.channels = static_cast<uint16_t>(channels);
  s.rate = rate;
  s.bits = static_cast<uint16_t>(bits);
  s.alignOverride = align;
  s.avgOverride = static_cast<int32_t>(rate);
  s.fmtSize = static_cast<uint32_t>(18 + extra.size());
  s.data = data;
  std::vector<uint8_t> wav = WriteWav(s);
  std::copy(extra.begin(), extra.end(), wav.begin() + 38);  // after the 18-byte record
  return wav;
}

TEST(MpegHeader, FrameSizesAndRefusals) {
  const struct {
    uint8_t h[4];
    int result;
    uint32_t frameSize, samples;
    int channels;
  } cases[] = {
      {{0xFF, 0xFB, 0x90, 0x00}, 0, 417, 1152, 2},  // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz
      {{0xFF, 0xFB, 0x92, 0xC0}, 0, 418, 1152, 1},  // padded, mono
      {{0xFF, 0xF3, 0x80, 0x00}, 0, 208, 576, 2},   // MPEG-2 Layer III, 64 kbit/s, 22.05 kHz
      {{0xFF, 0xFF, 0x14, 0x00}, 0, 32, 384, 2},    // MPEG-1 Layer I, 32 kbit/s, 48 kHz
      {{0xFF, 0xFB, 0x00, 0x00}, -1, 0, 0, 0},      // free format
      {{0xFF, 0xFB, 0x9C, 0x00}, -1, 0, 0, 0},      // reserved rate
      {{0xFF, 0xFB, 0xF0, 0x00}, -1, 0, 0, 0},      // reserved bitrate
      {{0xFF, 0xF9, 0x90, 0x00}, -1, 0, 0, 0},      // reserved layer
      {{0xFF, 0xE3, 0x90, 0x00}, -2, 0, 0, 0},      // MPEG-2.5
  };
  for (const auto& c : cases) {
    MpegFrameInfo i{};
    ASSERT_EQ(ParseMpegFrameHeader(c.h, &i), c.result) << std::hex << int{c.h[1]} << int{c.h[2]};
    if (c.result != 0) continue;
    EXPECT_EQ(i.frameSize, c.frameSize);
    EXPECT_EQ(i.samplesPerFrame, c.samples);
    EXPECT_EQ(i.channels, c.channels);
  }
}

TEST(CodecConvert, AdpcmAndG711WavsDecodeToTheReference) {
  const auto pcm = adpcmref::Signal(30000, 2);
  const int align = 1024;
  const auto ms = adpcmref::EncodeMsAdpcm(pcm, 2, align);
  const int msSpb = (align - 14) + 2;
  Converted r = ConvertImage(
      CompressedWav(plat::WAVE_FORMAT_ADPCM, 2, 22050, align, 4, adpcmref::MsAdpcmExtra(msSpb), ms.data));
  ASSERT_EQ(r.setup, 0);
  EXPECT_EQ(r.kind, 1u);
  EXPECT_EQ(r.format.nBlockAlign, 4);
  EXPECT_EQ(r.format.wBitsPerSample, 16);
  EXPECT_EQ(r.pcm, Bytes(ms.decoded));
  EXPECT_EQ(r.reserve, r.pcm.size());  // the size is exact

  // A block align above 2,048 still converts, one block per step: the
  // step's source bytes never cut a block in two.
  for (int edge : {2048, 2049}) {
    const auto mono = adpcmref::EncodeMsAdpcm(pcm, 1, edge);
    r = ConvertImage(CompressedWav(plat::WAVE_FORMAT_ADPCM, 1, 22050, edge, 4,
                                   adpcmref::MsAdpcmExtra((edge - 7) * 2 + 2), mono.data));
    ASSERT_EQ(r.setup, 0) << edge;
    EXPECT_EQ(r.pcm, Bytes(mono.decoded)) << edge;
  }
  const int big = 4096;
  const auto ima = adpcmref::EncodeImaAdpcm(pcm, 1, big);
  const int imaSpb = (big - 4) * 2 + 1;
  r = ConvertImage(
      CompressedWav(plat::WAVE_FORMAT_IMA_ADPCM, 1, 8000, big, 4, adpcmref::ImaAdpcmExtra(imaSpb), ima.data));
  ASSERT_EQ(r.setup, 0);
  EXPECT_EQ(r.pcm, Bytes(ima.decoded));

  std::vector<uint8_t> codes(1000);
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<uint8_t>(i * 7);
  r = ConvertImage(CompressedWav(plat::WAVE_FORMAT_MULAW, 1, 8000, 1, 8, {}, codes));
  ASSERT_EQ(r.setup, 0);
  EXPECT_EQ(r.pcm.size(), 2000u);

  // A fmt chunk whose extra bytes run past it is refused.
  auto broken = CompressedWav(plat::WAVE_FORMAT_ADPCM, 2, 22050, align, 4, adpcmref::MsAdpcmExtra(msSpb), ms.data);
  broken[36] = 200;  // cbSize
  EXPECT_EQ(ConvertImage(broken).setup, -1);
}

TEST(CodecConvert, Mp3EqualsTheLibraryAndCountsEveryFrame) {
  struct Case {
    int channels, rate, kbps;
  };
  for (const Case k : {Case{2, 44100, 128}, Case{1, 22050, 32}, Case{2, 48000, 192}}) {
    const auto mp3 = soundtest::EncodeMp3(soundtest::Tone(40000, k.channels), k.channels, k.rate, k.kbps);
    size_t frames = 0;
    const auto expected = soundtest::DecodeMp3Directly(mp3, &frames);
    ASSERT_GT(frames, 10u);
    const Converted r = ConvertImage(mp3);
    ASSERT_EQ(r.setup, 0) << k.rate;
    EXPECT_EQ(r.kind, 1u);
    EXPECT_EQ(r.format.nChannels, k.channels);
    EXPECT_EQ(r.format.nSamplesPerSec, static_cast<uint32_t>(k.rate));
    EXPECT_TRUE(r.pcm == expected) << k.rate << ": " << r.pcm.size() << " vs " << expected.size();
    const size_t spf = k.rate >= 32000 ? 1152 : 576;
    EXPECT_EQ(r.pcm.size(), frames * spf * 2 * static_cast<size_t>(k.channels));
    EXPECT_EQ(r.reserve, r.pcm.size());
  }
}

TEST(CodecConvert, Mp3TagsAndMp3InsideWav) {
  const auto mp3 = soundtest::EncodeMp3(soundtest::Tone(20000, 2), 2, 44100, 128);
  const auto expected = soundtest::DecodeMp3Directly(mp3);
  // An ID3v2.4 tag with a footer (size 0,0,2,1 = 257 bytes) in front and an
  // ID3v1 tag behind, with junk that looks like a sync inside the tag.
  const uint8_t tag[10] = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 2, 1};
  std::vector<uint8_t> tagged(tag, tag + 10);
  tagged.resize(10 + 257 + 10, 0xFF);
  tagged.insert(tagged.end(), mp3.begin(), mp3.end());
  std::vector<uint8_t> v1(128, 0);
  std::memcpy(v1.data(), "TAG", 3);
  tagged.insert(tagged.end(), v1.begin(), v1.end());
  Converted r = ConvertImage(tagged);
  ASSERT_EQ(r.setup, 0);
  EXPECT_TRUE(r.pcm == expected);

  // The same frames in a WAV with format tag 0x55 go through the compressed
  // WAV attempt and give the same PCM.
  std::vector<uint8_t> extra(12, 0);
  extra[0] = 1;
  r = ConvertImage(CompressedWav(plat::WAVE_FORMAT_MPEGLAYER3, 2, 44100, 1, 0, extra, mp3));
  ASSERT_EQ(r.setup, 0);
  EXPECT_EQ(r.kind, 1u);
  EXPECT_TRUE(r.pcm == expected);
  EXPECT_EQ(r.reserve, r.pcm.size());  // its frames counted, not a codec's estimate

  // A free-format frame, and a false sync that does not parse, refuse the file.
  std::vector<uint8_t> freeFormat = mp3;
  const uint8_t hdr[4] = {0xFF, 0xFB, 0x00, 0x00};
  std::copy(hdr, hdr + 4, freeFormat.begin());
  EXPECT_EQ(ConvertImage(freeFormat).setup, -1);
  std::vector<uint8_t> falseSync(4, 0xFF);
  falseSync.insert(falseSync.end(), mp3.begin(), mp3.end());
  EXPECT_EQ(ConvertImage(falseSync).setup, -1);
  // A tiny file of one short frame header is taken whole as its audio.
  const std::vector<uint8_t> tiny = {0xFF, 0xFF, 0x14, 0x00};
  EXPECT_EQ(ConvertImage(tiny).setup, 0);
}

TEST(CodecConvert, VorbisEqualsTheLibrary) {
  for (int channels = 1; channels <= 2; ++channels) {
    const auto ogg = soundtest::EncodeVorbis(soundtest::Tone(30000, channels), channels, 44100);
    const auto expected = soundtest::DecodeVorbisDirectly(ogg);
    ASSERT_EQ(expected.size(), 30000u * 2 * static_cast<size_t>(channels));
    const Converted r = ConvertImage(ogg);
    ASSERT_EQ(r.setup, 0);
    EXPECT_EQ(r.kind, 2u);
    EXPECT_EQ(r.format.nBlockAlign, 2 * channels);
    EXPECT_EQ(r.format.nAvgBytesPerSec, 44100u * 2 * static_cast<uint32_t>(channels));
    EXPECT_TRUE(r.pcm == expected);
    EXPECT_EQ(r.reserve, (30000u + 44100u) * 2 * static_cast<uint32_t>(channels));
  }
}

TEST(CodecConvert, SeeksBackAndForthMatchTheWholeConversion) {
  const auto pcm = adpcmref::Signal(20000, 2);
  const auto ima = adpcmref::EncodeImaAdpcm(pcm, 2, 512);
  const std::vector<std::vector<uint8_t>> files = {
      CompressedWav(plat::WAVE_FORMAT_IMA_ADPCM, 2, 22050, 512, 4, adpcmref::ImaAdpcmExtra(505), ima.data),
      soundtest::EncodeMp3(soundtest::Tone(30000, 2), 2, 44100, 128),
      soundtest::EncodeVorbis(soundtest::Tone(30000, 2), 2, 44100)};
  for (const auto& file : files) {
    const Converted whole = ConvertImage(file);
    ASSERT_EQ(whole.setup, 0);
    const StreamHandle stream = OpenMemoryStream(file.data(), file.size());
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    SoundConverter c{};
    ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
    std::vector<uint8_t> part(20000);
    for (uint32_t sample : {7000u, 100u, 15000u, 3u, 0u}) {
      SeekSoundConverter(&c, sample);
      const int64_t got = ConvertSoundData(&c, part.data(), static_cast<uint32_t>(part.size()));
      ASSERT_EQ(got, static_cast<int64_t>(part.size())) << c.kind;
      EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.pcm.begin() + sample * 4)) << c.kind << " " << sample;
    }
    EndSoundConverter(&c);
    FreeMemoryStream(stream);
  }
}

// One Ogg page of a stream of its own: a single packet of `body`.
std::vector<uint8_t> OtherStreamPage(int serial, bool bos, bool eos, int pageNo, const std::vector<uint8_t>& body) {
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet p{};
  p.packet = const_cast<uint8_t*>(body.data());
  p.bytes = static_cast<long>(body.size());
  p.b_o_s = bos;
  p.e_o_s = eos;
  p.packetno = pageNo;
  p.granulepos = 0;
  os.pageno = pageNo;
  ogg_stream_packetin(&os, &p);
  ogg_page page;
  ogg_stream_flush(&os, &page);
  // libogg marks the first page a stream state writes as a first page; a
  // page from the middle of the stream must not be.
  if (!bos) {
    page.header[5] = static_cast<unsigned char>(page.header[5] & ~2);
    ogg_page_checksum_set(&page);
  }
  std::vector<uint8_t> out(page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
  ogg_stream_clear(&os);
  return out;
}

// Offsets of the pages of an Ogg file.
std::vector<size_t> PageStarts(const std::vector<uint8_t>& ogg) {
  std::vector<size_t> starts;
  for (size_t at = 0; at + 27 <= ogg.size();) {
    starts.push_back(at);
    size_t body = 0;
    for (int i = 0; i < ogg[at + 26]; ++i) body += ogg[at + 27 + static_cast<size_t>(i)];
    at += 27 + ogg[at + 26] + body;
  }
  return starts;
}

TEST(CodecConvert, ChainedLinkThatChangesFormatEndsTheData) {
  const auto first = soundtest::EncodeVorbis(soundtest::Tone(20000, 1), 1, 44100, 1);
  auto chained = first;
  const auto second = soundtest::EncodeVorbis(soundtest::Tone(20000, 2), 2, 44100, 2);
  chained.insert(chained.end(), second.begin(), second.end());
  const Converted r = ConvertImage(chained);
  ASSERT_EQ(r.setup, 0);
  EXPECT_EQ(r.format.nChannels, 1);
  const auto alone = soundtest::DecodeVorbisDirectly(first);
  EXPECT_TRUE(r.pcm == alone) << r.pcm.size() << " vs " << alone.size();
}

TEST(CodecConvert, VorbisTrackOfAMultiplexedFile) {
  const auto ogg = soundtest::EncodeVorbis(soundtest::Tone(30000, 2), 2, 22050, 7);
  const auto expected = soundtest::DecodeVorbisDirectly(ogg);
  // Another logical stream's pages before, inside and after the Vorbis ones,
  // as in a movie.
  const std::vector<uint8_t> other(200, 0x5A);
  std::vector<uint8_t> movie = OtherStreamPage(99, true, false, 0, {0x80, 't', 'h', 'e', 'o', 'r', 'a'});
  const auto starts = PageStarts(ogg);
  ASSERT_GE(starts.size(), 3u);
  const long split = static_cast<long>(starts.back());
  movie.insert(movie.end(), ogg.begin(), ogg.begin() + split);
  const auto page = OtherStreamPage(99, false, false, 1, other);
  movie.insert(movie.end(), page.begin(), page.end());
  movie.insert(movie.end(), ogg.begin() + split, ogg.end());
  const auto last = OtherStreamPage(99, false, true, 2, other);
  movie.insert(movie.end(), last.begin(), last.end());

  GetSoundState().movieSoundtrackLoading = 1;
  const StreamHandle stream = OpenMemoryStream(movie.data(), movie.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter c{};
  ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
  GetSoundState().movieSoundtrackLoading = 0;
  EXPECT_EQ(c.decoderVariant, 1u);
  EXPECT_EQ(c.kind, 2u);
  std::vector<uint8_t> pcm(expected.size() + 1000);
  EXPECT_EQ(ConvertSoundData(&c, pcm.data(), static_cast<uint32_t>(pcm.size())), static_cast<int64_t>(expected.size()));
  pcm.resize(expected.size());
  EXPECT_TRUE(pcm == expected);
  EndSoundConverter(&c);
  FreeMemoryStream(stream);
}

}  // namespace
