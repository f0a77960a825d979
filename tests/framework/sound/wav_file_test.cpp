#include "framework/sound/wav_file.h"

#include <algorithm>
#include <functional>

#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_convert.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::Chunk;
using soundtest::Pcm;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

// A converter over a memory image, ended and closed when it goes.
struct Reader {
  explicit Reader(const std::vector<uint8_t>& image) : bytes(image) {
    stream = OpenMemoryStream(bytes.data(), bytes.size());
    source = MakeStreamSource(GetMemoryStreamTable(), stream);
  }
  ~Reader() {
    EndSoundConverter(&converter);
    FreeMemoryStream(stream);
  }
  int Setup() { return SetupSoundConverter(&source, &converter); }
  std::vector<uint8_t> Whole() {
    WAVEFORMATEX f{};
    uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(ConvertWholeSound(&converter, &f, &data, &size), 0);
    std::vector<uint8_t> out(data, data + size);
    FreeMemory(data);
    return out;
  }
  std::vector<uint8_t> bytes;
  StreamHandle stream = 0;
  StreamSource source{};
  SoundConverter converter{};
};

TEST(WavImage, BuildLaysOutTheImageAndReadsBack) {
  const WAVEFORMATEX f{1, 2, 22050, 88200, 4, 16, 0};
  const std::vector<uint8_t> pcm = Pcm(1000);
  uint8_t* image = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(BuildWaveImage(&image, &size, &f, sizeof f, pcm.data(), 1000), 0);
  EXPECT_EQ(size, 1046u);
  uint32_t riff, data;
  std::memcpy(&riff, image + 4, 4);
  std::memcpy(&data, image + 42, 4);
  EXPECT_EQ(riff, 1038u);
  EXPECT_EQ(data, 1000u);
  EXPECT_EQ(std::memcmp(image + 38, "data", 4), 0);

  Reader r(std::vector<uint8_t>(image, image + size));
  FreeMemory(image);
  ASSERT_EQ(r.Setup(), 0);
  EXPECT_EQ(r.converter.dataStart, 46u);
  EXPECT_EQ(r.converter.dataSize, 1000u);
  EXPECT_EQ(std::memcmp(&r.converter.outputFormat, &f, sizeof f), 0);
  EXPECT_EQ(r.Whole(), pcm);
}

// Formats and chunk layouts read back by the reader as the writer made them.
TEST(WavRead, RoundTripsOverFormatsAndChunkLayouts) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate, fmtSize;
    std::vector<Chunk> before;
  };
  const std::vector<Case> cases = {
      {1, 8, 11025, 16, {}},
      {2, 8, 22050, 18, {}},
      {1, 16, 44100, 16, {{"fact", {1, 0, 0, 0}}}},
      {2, 16, 48000, 18, {{"LIST", {1, 2, 3}}, {"junk", std::vector<uint8_t>(9, 7)}}},
      {2, 16, 8000, 40, {}},
  };
  for (const Case& c : cases) {
    WavSpec s;
    s.channels = c.channels;
    s.bits = c.bits;
    s.rate = c.rate;
    s.fmtSize = c.fmtSize;
    s.before = c.before;
    s.data = Pcm(c.channels * c.bits / 8 * 333u, c.rate);
    Reader r(WriteWav(s));
    ASSERT_EQ(r.Setup(), 0) << c.rate;
    const WAVEFORMATEX& f = r.converter.outputFormat;
    EXPECT_EQ(f.nChannels, c.channels);
    EXPECT_EQ(f.wBitsPerSample, c.bits);
    EXPECT_EQ(f.nSamplesPerSec, c.rate);
    EXPECT_EQ(f.nBlockAlign, c.channels * c.bits / 8);
    EXPECT_EQ(f.cbSize, 0);  // an extended body's extra bytes are not carried
    EXPECT_EQ(r.Whole(), s.data);
  }
}

TEST(WavRead, SixteenByteFmtTakesBitsFromTheBlockAlign) {
  WavSpec s;
  s.bits = 8;  // wrong on purpose: 2 channels, block align 4
  s.alignOverride = 4;
  s.data = Pcm(40);
  Reader r(WriteWav(s));
  ASSERT_EQ(r.Setup(), 0);
  EXPECT_EQ(r.converter.outputFormat.wBitsPerSample, 16);
  // A byte rate below one block (here none) still streams whole blocks.
  s.avgOverride = 0;
  Reader slow(WriteWav(s));
  ASSERT_EQ(slow.Setup(), 0);
  std::vector<uint8_t> got(40);
  for (size_t at = 0; at < got.size(); at += 4) ASSERT_EQ(ConvertSoundData(&slow.converter, got.data() + at, 4), 4);
  EXPECT_EQ(got, s.data);
}

TEST(WavRead, RefusesWhatIsNotAPlainPcmWav) {
  WavSpec s;
  s.data = Pcm(64);
  const std::pair<const char*, std::function<void(WavSpec&)>> bends[] = {
      {"LIST before fmt", [](WavSpec& t) { t.fmtFirst = false; }},
      {"compressed", [](WavSpec& t) { t.tag = 0x55; }},
      {"short fmt", [](WavSpec& t) { t.fmtSize = 14; }},
      {"no channels", [](WavSpec& t) { t.channels = 0, t.alignOverride = 4; }},
      {"block align 0", [](WavSpec& t) { t.alignOverride = 0; }},
      {"rate 0", [](WavSpec& t) { t.rate = 0; }},
  };
  for (const auto& [what, bend] : bends) {
    WavSpec t = s;
    bend(t);
    Reader r(WriteWav(t));
    EXPECT_EQ(r.Setup(), -1) << what;
    EXPECT_EQ(r.converter.active, 0u) << what;
  }
  std::vector<uint8_t> noData = WriteWav(s);
  std::memcpy(noData.data() + 36, "dat_", 4);
  Reader r(noData);
  EXPECT_EQ(r.Setup(), -1) << "no data chunk";
  EXPECT_EQ(Reader(std::vector<uint8_t>{'R', 'I', 'F', 'F'}).Setup(), -1);
}

TEST(WavRead, ChunkSizesNeverWalkBackwardsOrPastTheEnd) {
  // Sizes that wrap a 32-bit position back onto the same chunk, or far past
  // the end: both end the walk with -1.
  for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFF7u, 0x7FFFFFFFu, 0x80000000u}) {
    WavSpec s;
    s.before = {{"junk", {}}};
    s.data = Pcm(16);
    std::vector<uint8_t> image = WriteWav(s);
    std::memcpy(image.data() + 40, &size, 4);  // the junk chunk's size field
    Reader r(image);
    EXPECT_EQ(r.Setup(), -1) << size;
  }
}

TEST(WavRead, DeclaredDataSizeIsClampedToWhatIsPresent) {
  WavSpec s;
  s.data = Pcm(400);
  s.declaredDataSize = 0x7FFFFFF0;
  Reader r(WriteWav(s));
  ASSERT_EQ(r.Setup(), 0);
  EXPECT_EQ(r.converter.dataSize, 400u);
  EXPECT_EQ(GetConvertedSoundSize(&r.converter), 400u);
  EXPECT_EQ(r.Whole(), s.data);
}

// A file that shrank after its length was taken: the end is where the
// length says, but reads stop short of it, the way fread does.
struct ShrunkFile {
  std::vector<uint8_t> bytes;  // what is really there
  int64_t claimed = 0;
  int64_t pos = 0;
};
ShrunkFile* g_shrunk = nullptr;
const StreamFunctionTable kShrunkTable = {
    [](StreamHandle) { return g_shrunk->pos; },
    [](StreamHandle, int64_t offset, int origin) {
      g_shrunk->pos = (origin == 2 ? g_shrunk->claimed : origin == 1 ? g_shrunk->pos : 0) + offset;
      return 0;
    },
    [](void* buffer, size_t size, size_t count, StreamHandle) -> size_t {
      const int64_t real = static_cast<int64_t>(g_shrunk->bytes.size());
      const int64_t n = std::min<int64_t>(static_cast<int64_t>(size * count), std::max<int64_t>(real - g_shrunk->pos, 0));
      if (n > 0) std::memcpy(buffer, g_shrunk->bytes.data() + g_shrunk->pos, static_cast<size_t>(n));
      g_shrunk->pos += n;
      return size == 0 ? 0 : static_cast<size_t>(n) / size;
    },
    [](StreamHandle) { return g_shrunk->pos >= static_cast<int64_t>(g_shrunk->bytes.size()) ? 1 : 0; },
    [](StreamHandle) { return 0; },
    [](StreamHandle) { return 0; },
};

TEST(WavRead, ShortReadsCountOnlyWhatArrived) {
  WavSpec s;
  s.data = Pcm(400);
  ShrunkFile file;
  file.bytes = WriteWav(s);
  file.claimed = static_cast<int64_t>(file.bytes.size());
  file.bytes.resize(44 + 250);  // 250 of the 400 data bytes are left
  g_shrunk = &file;
  const StreamSource source = MakeStreamSource(&kShrunkTable, 0);
  SoundConverter c{};
  ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
  WAVEFORMATEX f{};
  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ConvertWholeSound(&c, &f, &data, &size), 0);
  EXPECT_EQ(size, 250u);
  EXPECT_EQ(std::memcmp(data, s.data.data(), 250), 0);
  FreeMemory(data);
  // Block by block, too: the conversion ends with what arrived.
  std::vector<uint8_t> got(400);
  ASSERT_EQ(SeekSoundConverter(&c, 20), 0);
  ASSERT_EQ(SeekSoundConverter(&c, 0), 0);
  EXPECT_EQ(ConvertSoundData(&c, got.data(), 400), 250);
  EXPECT_EQ(c.endOfData, 1u);
  EXPECT_EQ(EndSoundConverter(&c), 0);
  g_shrunk = nullptr;
}

TEST(SoundConverter, PiecewiseConversionSeekAndEnd) {
  WavSpec s;
  s.data = Pcm(3 * 176400 + 100);  // several one-second refill blocks
  Reader r(WriteWav(s));
  ASSERT_EQ(r.Setup(), 0);
  std::vector<uint8_t> got(s.data.size() + 400000);
  ASSERT_EQ(ConvertSoundData(&r.converter, got.data(), 1000), 1000);
  ASSERT_EQ(ConvertSoundData(&r.converter, got.data() + 1000, 200000), 200000);
  const int64_t rest = ConvertSoundData(&r.converter, got.data() + 201000, 400000);
  EXPECT_EQ(rest, static_cast<int64_t>(s.data.size()) - 201000);
  EXPECT_EQ(r.converter.endOfData, 1u);
  EXPECT_EQ(ConvertSoundData(&r.converter, got.data(), 10), 0);
  got.resize(s.data.size());
  EXPECT_EQ(got, s.data);
  EXPECT_EQ(r.converter.pcmPosition, s.data.size());

  // Back to an earlier sample: conversion starts again from there.
  ASSERT_EQ(SeekSoundConverter(&r.converter, 10), 0);
  EXPECT_EQ(r.converter.endOfData, 0u);
  uint8_t four[4];
  ASSERT_EQ(ConvertSoundData(&r.converter, four, 4), 4);
  EXPECT_EQ(std::memcmp(four, s.data.data() + 40, 4), 0);
  // Moves of less than 16 bytes are ignored: 3 samples of 4 bytes, yes; 4, no.
  ASSERT_EQ(SeekSoundConverter(&r.converter, 14), 0);
  EXPECT_EQ(r.converter.pcmPosition, 44u);
  ASSERT_EQ(SeekSoundConverter(&r.converter, 15), 0);
  EXPECT_EQ(r.converter.pcmPosition, 60u);
  // Past the end: at the end, with nothing more to give.
  ASSERT_EQ(SeekSoundConverter(&r.converter, 0xFFFFFFF0u), 0);
  EXPECT_EQ(r.converter.pcmPosition, s.data.size());
  EXPECT_EQ(ConvertSoundData(&r.converter, four, 4), 0);
}

TEST(SoundConverter, FreshSeekToZeroLeavesTheSourceAtTheData) {
  WavSpec s;
  s.data = Pcm(64);
  Reader r(WriteWav(s));
  ASSERT_EQ(r.Setup(), 0);
  const int64_t at = r.source.functions.tell(r.stream);
  EXPECT_EQ(at, r.converter.dataStart);
  SeekSoundConverter(&r.converter, 0);
  EXPECT_EQ(r.source.functions.tell(r.stream), at);
}

TEST(SoundConverter, EndWithoutSetupFails) {
  SoundConverter c{};
  EXPECT_EQ(EndSoundConverter(&c), -1);
  uint8_t b[4];
  EXPECT_EQ(ConvertSoundData(&c, b, 4), -1);
}

TEST(WavStreams, LoadStreamToMemoryReadsEverything) {
  const std::vector<uint8_t> bytes = Pcm(777);
  const StreamHandle stream = OpenMemoryStream(bytes.data(), bytes.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  source.functions.seek(stream, 100, 0);
  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(LoadStreamToMemory(&source, &data, &size), 0);
  ASSERT_EQ(size, 777u);
  EXPECT_EQ(std::vector<uint8_t>(data, data + size), bytes);
  FreeMemory(data);
  FreeMemoryStream(stream);
}

}  // namespace
