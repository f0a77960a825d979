// The Ogg page walk before libvorbisfile: encoder-made files pass and decode
// as the library decodes them alone; every damage the library cannot take
// (a page missing or repeated after the headers, a link whose headers stop
// short) and every broken page is refused for its own reason, through the
// converter, whole sounds and stream sounds, with the log line naming it.
#include "framework/sound/ogg_page_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "encoded_audio.h"
#include "framework/core/files/memory_stream.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/stream_sound.h"
#include "support/ogg_pages.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::JoinPages;
using soundtest::Page;
using soundtest::SplitPages;

namespace {

OggPageWalk WalkImage(const std::vector<uint8_t>& image, int* result = nullptr) {
  const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  OggPageWalk walk{};
  const int r = WalkOggPages(&source, &walk);
  EXPECT_EQ(source.functions.tell(source.handle), 0);  // left where the decoder starts
  if (result != nullptr) *result = r;
  FreeMemoryStream(stream);
  return walk;
}

OggPageFault FaultOf(const std::vector<uint8_t>& image) { return WalkImage(image).fault; }

// Stereo noise: it fills pages quickly, so even a short sound has many.
std::vector<uint8_t> Stereo(int serial = 1, size_t frames = 44100 * 2) {
  std::vector<int16_t> pcm(frames * 2);
  uint32_t x = static_cast<uint32_t>(serial) * 7919u;
  for (int16_t& s : pcm) {
    x = x * 1103515245u + 12345u;
    s = static_cast<int16_t>(static_cast<int32_t>(x >> 16) - 32768);
  }
  return soundtest::EncodeVorbis(pcm, 2, 44100, serial);
}

// The file with one page taken out, or with one page's number set to that
// of the page before it.
std::vector<uint8_t> WithoutPage(std::vector<Page> pages, size_t index) {
  pages.erase(pages.begin() + static_cast<long>(index));
  return JoinPages(pages);
}
std::vector<uint8_t> WithNumberRepeated(std::vector<Page> pages, size_t index) {
  soundtest::SetPageNumber(&pages[index], soundtest::PageNumber(pages[index]) - 1);
  return JoinPages(pages);
}

// A complete link followed by the first page of a second one, nothing more.
std::vector<uint8_t> LinkThenLoneFirstPage() {
  std::vector<uint8_t> file = Stereo(1);
  const auto second = SplitPages(soundtest::EncodeVorbis(soundtest::Tone(8000, 1), 1, 22050, 2));
  file.insert(file.end(), second[0].begin(), second[0].end());
  return file;
}

}  // namespace

TEST(OggPageWalk, EncoderFilesPassWhole) {
  const auto stereo = Stereo();
  int result = -1;
  OggPageWalk w = WalkImage(stereo, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(w.fault, kOggPagesSound);
  EXPECT_EQ(w.pages, SplitPages(stereo).size());
  EXPECT_EQ(w.links, 1u);
  EXPECT_EQ(w.offset, static_cast<int64_t>(stereo.size()));
  // Chained links of different formats, and a link whose serial comes back.
  auto chained = stereo;
  for (const auto& link : {soundtest::EncodeVorbis(soundtest::Tone(9000, 1), 1, 22050, 2), Stereo(1, 5000)}) {
    chained.insert(chained.end(), link.begin(), link.end());
  }
  w = WalkImage(chained, &result);
  EXPECT_EQ(result, 0) << OggPageFaultName(w.fault);
  EXPECT_EQ(w.links, 3u);
  EXPECT_EQ(w.pages, SplitPages(chained).size());
  // A file of pages that each hold one packet (every header on its own page).
  auto small = soundtest::EncodeVorbis(soundtest::Tone(300, 1), 1, 8000, 5);
  EXPECT_EQ(FaultOf(small), kOggPagesSound);
}

TEST(OggPageWalk, PagesOutOfSequenceAreRefused) {
  const auto pages = SplitPages(Stereo());
  ASSERT_GE(pages.size(), 6u);
  // The header pages, an audio page in the middle, the last page.
  EXPECT_EQ(FaultOf(WithoutPage(pages, 1)), kOggSequenceGap);
  EXPECT_EQ(FaultOf(WithoutPage(pages, pages.size() / 2)), kOggSequenceGap);
  EXPECT_EQ(FaultOf(WithNumberRepeated(pages, 2)), kOggSequenceRepeat);
  EXPECT_EQ(FaultOf(WithNumberRepeated(pages, pages.size() - 1)), kOggSequenceRepeat);
  // A page counted forward by one past its place, and the same page twice.
  auto skipped = pages;
  soundtest::SetPageNumber(&skipped[3], soundtest::PageNumber(skipped[3]) + 1);
  EXPECT_EQ(FaultOf(JoinPages(skipped)), kOggSequenceGap);
  auto twice = pages;
  twice.insert(twice.begin() + 3, pages[3]);
  EXPECT_EQ(FaultOf(JoinPages(twice)), kOggSequenceRepeat);
  // Numbers that wrap past 2^32 - 1 still run in sequence.
  auto wrapping = pages;
  for (size_t i = 0; i < wrapping.size(); ++i) {
    soundtest::SetPageNumber(&wrapping[i], 0xFFFFFFFDu + static_cast<uint32_t>(i));
  }
  EXPECT_EQ(FaultOf(JoinPages(wrapping)), kOggPagesSound);
  // The reason reaches the walk's record: where and which stream.
  const OggPageWalk w = WalkImage(WithoutPage(pages, 4));
  EXPECT_EQ(w.offset, static_cast<int64_t>(JoinPages({pages[0], pages[1], pages[2], pages[3]}).size()));
  EXPECT_EQ(w.serial, 1u);
  EXPECT_EQ(w.pages, 4u);
}

TEST(OggPageWalk, BrokenPagesAreRefusedForTheirReason) {
  const auto pages = SplitPages(Stereo());
  const auto file = JoinPages(pages);
  const size_t second = pages[0].size();
  auto flip = [&](size_t at, uint8_t bits) {
    auto f = file;
    f[at] ^= bits;
    return f;
  };
  EXPECT_EQ(FaultOf(flip(second + 40, 0x10)), kOggChecksum);            // in a body
  EXPECT_EQ(FaultOf(flip(second + 22, 0x01)), kOggChecksum);            // the checksum itself
  EXPECT_EQ(FaultOf(flip(second + 1, 0x01)), kOggCapturePattern);       // "OggS" of page 2
  EXPECT_EQ(FaultOf(flip(second + 4, 0x01)), kOggVersion);
  EXPECT_EQ(FaultOf(flip(second + 5, 0x08)), kOggHeaderFlags);
  EXPECT_EQ(FaultOf(flip(0, 0x01)), kOggNotOgg);                        // not Ogg from the start
  EXPECT_EQ(FaultOf({}), kOggNotOgg);
  EXPECT_EQ(FaultOf({'O', 'g', 'g'}), kOggNotOgg);
  // Cut inside the header, the segment table and the body of the last page;
  // bytes that follow the last page.
  const size_t last = file.size() - pages.back().size();
  for (size_t keep : {last + 3, last + 26, last + 27, last + 28, file.size() - 1}) {
    EXPECT_EQ(FaultOf(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(keep))), kOggPageCut)
        << keep - last;
  }
  // Cut at a page boundary before the end: whole pages, taken; bytes after
  // them while the stream has not ended: refused.
  const std::vector<uint8_t> open(file.begin(), file.begin() + static_cast<long>(last));
  EXPECT_EQ(FaultOf(open), kOggPagesSound);
  auto trailing = open;
  trailing.push_back(0);
  EXPECT_EQ(FaultOf(trailing), kOggPageCut);
  trailing.insert(trailing.end(), 40, 0);
  EXPECT_EQ(FaultOf(trailing), kOggCapturePattern);
}

TEST(OggPageWalk, BytesAfterTheLastPageOfEveryStream) {
  const auto file = Stereo();
  // A tag appended after the end: left alone, and the sound decodes as
  // without it.
  std::vector<uint8_t> tag = {'T', 'A', 'G'};
  tag.resize(128, 'x');
  for (size_t extra : {size_t{1}, size_t{3}, size_t{26}, size_t{128}}) {
    auto tagged = file;
    tagged.insert(tagged.end(), tag.begin(), tag.begin() + static_cast<long>(extra));
    EXPECT_EQ(FaultOf(tagged), kOggPagesSound) << extra;
  }
  auto tagged = file;
  tagged.insert(tagged.end(), tag.begin(), tag.end());
  const StreamHandle stream = OpenMemoryStream(tagged.data(), tagged.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter c{};
  ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
  WAVEFORMATEX format{};
  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ConvertWholeSound(&c, &format, &data, &size), 0);
  EXPECT_TRUE(std::vector<uint8_t>(data, data + size) == soundtest::DecodeVorbisDirectly(file));
  FreeMemory(data);
  EndSoundConverter(&c);
  FreeMemoryStream(stream);
  // A capture pattern anywhere among those bytes, even split across the
  // walk's reads, and the bytes are refused: a page may hide there.
  // (The walk reads 27 bytes, then pieces of 65,025.)
  for (size_t at : {size_t{0}, size_t{1}, size_t{24}, size_t{25}, size_t{26}, size_t{27}, size_t{65049}, size_t{65050},
                    size_t{65051}, size_t{100000}}) {
    auto hidden = file;
    std::vector<uint8_t> junk(at + 10, 'x');
    std::memcpy(junk.data() + at, "OggS", 4);
    hidden.insert(hidden.end(), junk.begin(), junk.end());
    EXPECT_EQ(FaultOf(hidden), at == 0 ? kOggPageCut : kOggCapturePattern) << at;
  }
}

TEST(OggPageWalk, StreamOrderRules) {
  const auto pages = SplitPages(Stereo());
  // No first page for the stream; a first page twice.
  EXPECT_EQ(FaultOf(WithoutPage(pages, 0)), kOggNoFirstPage);
  auto again = pages;
  again.insert(again.begin() + 1, pages[0]);
  EXPECT_EQ(FaultOf(JoinPages(again)), kOggFirstPageAgain);
  // A page after the stream's last page, numbered in sequence.
  auto after = pages;
  Page extra = pages[pages.size() - 2];
  soundtest::SetPageNumber(&extra, soundtest::PageNumber(pages.back()) + 1);
  after.push_back(extra);
  EXPECT_EQ(FaultOf(JoinPages(after)), kOggAfterLastPage);
  // The first page marked as continuing a packet.
  auto bosContinued = pages;
  soundtest::SetPageFlags(&bosContinued[0], 0x03);
  EXPECT_EQ(FaultOf(JoinPages(bosContinued)), kOggContinuation);
}

TEST(OggPageWalk, ContinuedPacketsFollowTheirFlags) {
  // A stream whose middle packet is longer than one page can hold, so that
  // libogg carries it on in a continued page.
  ogg_stream_state os;
  ogg_stream_init(&os, 77);
  std::vector<uint8_t> small(100, 1), large(70000, 2);
  int number = 0;
  for (auto* body : {&small, &large, &small}) {
    ogg_packet p{};
    p.packet = body->data();
    p.bytes = static_cast<long>(body->size());
    p.b_o_s = number == 0;
    p.e_o_s = number == 2;
    p.packetno = number++;
    ogg_stream_packetin(&os, &p);
  }
  std::vector<Page> pages;
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) {
    pages.emplace_back(page.header, page.header + page.header_len);
    pages.back().insert(pages.back().end(), page.body, page.body + page.body_len);
  }
  ogg_stream_clear(&os);
  ASSERT_EQ(pages.size(), 3u);
  ASSERT_EQ(pages[2][5] & 1, 1) << "the last page continues the large packet";
  EXPECT_EQ(FaultOf(JoinPages(pages)), kOggPagesSound);
  // The continuation's flag cleared; the flag set on a page that starts a
  // fresh packet.
  auto cleared = pages;
  soundtest::SetPageFlags(&cleared[2], static_cast<uint8_t>(cleared[2][5] & ~1));
  EXPECT_EQ(FaultOf(JoinPages(cleared)), kOggContinuation);
  auto set = pages;
  soundtest::SetPageFlags(&set[1], static_cast<uint8_t>(set[1][5] | 1));
  EXPECT_EQ(FaultOf(JoinPages(set)), kOggContinuation);
  // The continued page missing: a gap, whatever the flags say.
  EXPECT_EQ(FaultOf(WithoutPage(pages, 2)), kOggPagesSound) << "the end cut at a page boundary";
  auto gap = pages;
  gap.erase(gap.begin() + 1);
  EXPECT_EQ(FaultOf(JoinPages(gap)), kOggSequenceGap);

  // A Vorbis stream paged again with at most 7 lacing values a page, so
  // nearly every packet continues: taken whole, and it still converts; a
  // continued page taken out is a gap.
  const auto file = Stereo(3, 20000);
  const auto repaged = soundtest::RepagePackets(soundtest::PacketsOf(file, 3), 3, 7);
  ASSERT_GT(repaged.size(), SplitPages(file).size() + 4);
  EXPECT_EQ(FaultOf(JoinPages(repaged)), kOggPagesSound);
  size_t continuedPage = 0;
  for (size_t i = repaged.size() / 2; i < repaged.size() && continuedPage == 0; ++i) {
    if ((repaged[i][5] & 1) != 0) continuedPage = i;
  }
  ASSERT_NE(continuedPage, 0u);
  EXPECT_EQ(FaultOf(WithoutPage(repaged, continuedPage)), kOggSequenceGap);
  // A page without segments inside a continued packet keeps it open.
  auto withNil = repaged;
  Page nil(repaged[continuedPage].begin(), repaged[continuedPage].begin() + 27);
  nil[26] = 0;
  nil[5] = 1;  // continued, as the packet is
  soundtest::FixChecksum(&nil);
  withNil.insert(withNil.begin() + static_cast<long>(continuedPage), nil);
  for (size_t i = continuedPage + 1; i < withNil.size(); ++i) {
    soundtest::SetPageNumber(&withNil[i], soundtest::PageNumber(withNil[i]) + 1);
  }
  EXPECT_EQ(FaultOf(JoinPages(withNil)), kOggPagesSound);
  const auto joined = JoinPages(repaged);
  const StreamHandle stream = OpenMemoryStream(joined.data(), joined.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter c{};
  ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
  EXPECT_EQ(c.kind, 2u);
  EXPECT_EQ(c.outputFormat.nChannels, 2);
  EndSoundConverter(&c);
  FreeMemoryStream(stream);
}

TEST(OggPageWalk, EveryLinkNeedsItsThreeHeaders) {
  const OggPageWalk w = WalkImage(LinkThenLoneFirstPage());
  EXPECT_EQ(w.fault, kOggHeadersMissing);
  EXPECT_EQ(w.serial, 2u);
  EXPECT_EQ(w.links, 2u);
  // The short link in the middle of a chain is refused when the next begins.
  auto middle = LinkThenLoneFirstPage();
  const auto third = soundtest::EncodeVorbis(soundtest::Tone(4000, 1), 1, 22050, 3);
  middle.insert(middle.end(), third.begin(), third.end());
  EXPECT_EQ(FaultOf(middle), kOggHeadersMissing);
  // The identification page and the page of the other two headers, with no
  // audio: complete; the identification page alone, marked last: not.
  const auto small = SplitPages(soundtest::EncodeVorbis(soundtest::Tone(300, 1), 1, 8000, 5));
  ASSERT_GE(small.size(), 3u);
  EXPECT_EQ(FaultOf(JoinPages({small[0], small[1]})), kOggPagesSound) << "two pages carry all headers";
  Page ident = small[0];
  soundtest::SetPageFlags(&ident, 0x06);  // first and last
  EXPECT_EQ(FaultOf(JoinPages({ident})), kOggHeadersMissing);
  // Exactly the three headers and nothing more: taken; the first two: not.
  const auto packets = soundtest::PacketsOf(soundtest::EncodeVorbis(soundtest::Tone(300, 1), 1, 8000, 6), 6);
  ASSERT_GE(packets.size(), 4u);
  const std::vector<soundtest::Packet> three(packets.begin(), packets.begin() + 3);
  const std::vector<soundtest::Packet> two(packets.begin(), packets.begin() + 2);
  EXPECT_EQ(FaultOf(JoinPages(soundtest::RepagePackets(three, 6, 255))), kOggPagesSound);
  EXPECT_EQ(FaultOf(JoinPages(soundtest::RepagePackets(two, 6, 255))), kOggHeadersMissing);
  // The shortest identification a Vorbis stream can start with is enough
  // to ask for its headers.
  EXPECT_EQ(FaultOf(JoinPages({soundtest::SinglePacketPage(8, true, true, 0, {1, 'v', 'o', 'r', 'b', 'i', 's'})})),
            kOggHeadersMissing);
  EXPECT_EQ(FaultOf(JoinPages({soundtest::SinglePacketPage(8, true, true, 0, {1, 'v', 'o', 'r', 'b', 'i'})})),
            kOggPagesSound);
  // Streams that are not Vorbis need no headers of that kind.
  const Page other = soundtest::SinglePacketPage(9, true, true, 0, {0x80, 't', 'h', 'e', 'o', 'r', 'a'});
  EXPECT_EQ(FaultOf(JoinPages({other})), kOggPagesSound);
}

TEST(OggPageWalk, StreamsPerLinkAtTheLimitAndOnePast) {
  std::vector<Page> pages;
  for (uint32_t s = 0; s < kMaxOggStreamsPerLink; ++s) {
    pages.push_back(soundtest::SinglePacketPage(100 + s, true, true, 0, {1, 2, 3}));
  }
  EXPECT_EQ(FaultOf(JoinPages(pages)), kOggPagesSound);
  pages.push_back(soundtest::SinglePacketPage(999, true, true, 0, {1, 2, 3}));
  EXPECT_EQ(FaultOf(JoinPages(pages)), kOggTooManyStreams);
}

// What libvorbisfile cannot take never reaches it, on every road a sound
// takes; these inputs crash (or leak in) the library when it is called.
class DamagedOgg : public soundtest::SoundTest {
 protected:
  static std::vector<std::vector<uint8_t>> Inputs() {
    const auto pages = SplitPages(Stereo());
    return {WithoutPage(pages, pages.size() / 2), WithNumberRepeated(pages, 3),
            WithNumberRepeated(pages, pages.size() - 1), LinkThenLoneFirstPage()};
  }
};

TEST_F(DamagedOgg, TheConverterRefusesAndLogsTheReason) {
  const char* reasons[] = {"page missing", "page number repeated", "page number repeated", "header packets missing"};
  int i = 0;
  for (const auto& image : Inputs()) {
    const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    SoundConverter c{};
    EXPECT_EQ(SetupSoundConverter(&source, &c), -1);
    EXPECT_EQ(c.vorbis.decoderOpen, 0u);
    FreeMemoryStream(stream);
    EXPECT_TRUE(Logged(reasons[i])) << reasons[i];
    ++i;
  }
  EXPECT_TRUE(Logged("Ogg ストリームが壊れているため読み込みません"));
}

TEST_F(DamagedOgg, WholeAndStreamSoundsAreRefused) {
  for (const auto& image : Inputs()) {
    SetSoundDataCreateMode(0);
    EXPECT_EQ(CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1), -1);
    SetSoundDataCreateMode(2);
    const int h = CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1);
    SetSoundDataCreateMode(0);
    if (h != -1) {
      // A stream sound may take the image and fail at its first refill;
      // either way nothing plays and nothing is decoded.
      PlaySoundHandle(h, 3, 1);
      plat::dsound::AdvanceManual(4410);
      UpdateStreamSounds();
      DeleteSound(h);
    }
  }
  EXPECT_EQ(SoundBuffers(), 0);
}

TEST_F(DamagedOgg, UnharmedFilesStillDecodeAsTheLibraryDecodesThem) {
  // Chained links of one format run on as one sound.
  auto chained = Stereo(1, 30000);
  const auto second = Stereo(2, 20000);
  chained.insert(chained.end(), second.begin(), second.end());
  // The library opened on a chain may start past its first link, so the
  // links are decoded alone and put together.
  auto expected = soundtest::DecodeVorbisDirectly(Stereo(1, 30000));
  const auto tail = soundtest::DecodeVorbisDirectly(second);
  expected.insert(expected.end(), tail.begin(), tail.end());
  ASSERT_EQ(expected.size(), 50000u * 4);
  const StreamHandle stream = OpenMemoryStream(chained.data(), chained.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  SoundConverter c{};
  ASSERT_EQ(SetupSoundConverter(&source, &c), 0);
  WAVEFORMATEX format{};
  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ConvertWholeSound(&c, &format, &data, &size), 0);
  EXPECT_TRUE(std::vector<uint8_t>(data, data + size) == expected);
  FreeMemory(data);
  EndSoundConverter(&c);
  FreeMemoryStream(stream);
  EXPECT_FALSE(Logged("Ogg ストリームが壊れているため"));
}

namespace {

std::vector<uint8_t> ReadData(const char* name) {
  const std::string path = std::string(ORB_TEST_DATA_DIR) + "/ogg/" + name;
  std::vector<uint8_t> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return bytes;
}

}  // namespace

// Inputs on which libogg moved memory by a negative size (from ov_pcm_seek
// at open, and from ov_read in a movie's soundtrack), the one that leaked
// inside libvorbisfile, found by fuzzing before the walk existed, and a
// chained file whose first setup header has one codeword length changed
// (libvorbis took it, failed to build its decoder, and divided by zero in
// ov_read after the seek to the start).
TEST_F(DamagedOgg, InputsFoundByFuzzingAreRefused) {
  const std::pair<const char*, OggPageFault> findings[] = {
      {"split_pages_then_junk.ogg", kOggChecksum},
      {"muxed_soundtrack_out_of_sequence.ogv", kOggChecksum},
      {"lone_second_link.ogg", kOggHeadersMissing},
      {"setup_codeword_lengths.ogg", kOggVorbisSetup},
  };
  for (const auto& [name, fault] : findings) {
    SCOPED_TRACE(name);
    const auto image = ReadData(name);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(FaultOf(image), fault);
    const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
    const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
    SoundConverter c{};
    EXPECT_EQ(SetupSoundConverter(&source, &c), -1);
    FreeMemoryStream(stream);
    SetSoundDataCreateMode(0);
    EXPECT_EQ(CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1), -1);
    EXPECT_TRUE(Logged(OggPageFaultName(fault)));
  }
  const OggPageWalk setup = WalkImage(ReadData("setup_codeword_lengths.ogg"));
  EXPECT_EQ(setup.setup.fault, kVorbisSetupLengths);
  EXPECT_EQ(setup.setup.codebook, 23);
  EXPECT_EQ(setup.offset, 58);  // the page that ends the setup header
  EXPECT_TRUE(Logged("setup header 符号帳 23 codeword lengths 位置 58 論理ストリーム 0000000b"));
}
