// The codebook check of Vorbis setup headers: encoder-made headers of every
// quality, channel count and rate pass; hand-written codebooks are refused
// at one past each limit and taken at it; and on damaged encoder headers the
// check never passes one that libvorbis accepts but cannot build a decoder
// from (the road to its division by zero).
#include "framework/sound/vorbis_setup_check.h"

#include <gtest/gtest.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

#include <vector>

#include "encoded_audio.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/ogg_page_check.h"
#include "support/ogg_pages.h"

using namespace qor;

namespace {

// Fields written from the lowest bit of each byte up, as Vorbis packs them.
struct BitWriter {
  std::vector<uint8_t> bytes;
  size_t bits = 0;
  void Put(uint32_t value, int count) {
    for (int i = 0; i < count; ++i, ++bits) {
      if (bits % 8 == 0) bytes.push_back(0);
      if ((value >> i) & 1) bytes.back() |= static_cast<uint8_t>(1 << (bits % 8));
    }
  }
};

// A setup header start: packet type, "vorbis", the codebook count less one.
BitWriter SetupStart(int codebooks) {
  BitWriter w;
  w.Put(5, 8);
  for (const char c : {'v', 'o', 'r', 'b', 'i', 's'}) w.Put(static_cast<uint8_t>(c), 8);
  w.Put(static_cast<uint32_t>(codebooks - 1), 8);
  return w;
}

void PutBookStart(BitWriter* w, uint32_t dimensions, uint32_t entries) {
  w->Put(0x564342, 24);
  w->Put(dimensions, 16);
  w->Put(entries, 24);
}

// Unordered lengths; 0 marks an unused entry (and makes the list sparse).
void PutLengths(BitWriter* w, const std::vector<int>& lengths) {
  bool sparse = false;
  for (const int l : lengths) sparse = sparse || l == 0;
  w->Put(0, 1);
  w->Put(sparse ? 1 : 0, 1);
  for (const int l : lengths) {
    if (sparse) w->Put(l != 0 ? 1 : 0, 1);
    if (l != 0) w->Put(static_cast<uint32_t>(l - 1), 5);
  }
}

// Ordered lengths: runs of entries from `first` up, one length more a run.
void PutOrdered(BitWriter* w, uint32_t entries, int first, const std::vector<uint32_t>& runs) {
  w->Put(1, 1);
  w->Put(static_cast<uint32_t>(first - 1), 5);
  uint32_t done = 0;
  for (const uint32_t run : runs) {
    int width = 0;
    for (uint32_t x = entries - done; x != 0; x >>= 1) ++width;
    w->Put(run, width);
    done += run;
  }
}

VorbisSetupCheck Check(const std::vector<uint8_t>& packet, size_t size) {
  VorbisSetupCheck c{};
  const int r = CheckVorbisSetupHeader(packet.data(), size, &c);
  EXPECT_EQ(r == 0, c.fault == kVorbisSetupSound);
  return c;
}

VorbisSetupFault FaultOf(const BitWriter& w) { return Check(w.bytes, w.bytes.size()).fault; }

// One codebook with the given lengths and no lookup table.
VorbisSetupFault LengthsFault(const std::vector<int>& lengths, uint32_t dimensions = 1) {
  BitWriter w = SetupStart(1);
  PutBookStart(&w, dimensions, static_cast<uint32_t>(lengths.size()));
  PutLengths(&w, lengths);
  w.Put(0, 4);
  return FaultOf(w);
}

}  // namespace

TEST(VorbisSetupCheck, CodeTreesMustBeWhole) {
  EXPECT_EQ(LengthsFault({2, 2, 2, 2}), kVorbisSetupSound);
  EXPECT_EQ(LengthsFault({1, 3, 2, 3}), kVorbisSetupSound);
  EXPECT_EQ(LengthsFault({2, 2, 2, 1}), kVorbisSetupLengths);     // one codeword too many
  EXPECT_EQ(LengthsFault({2, 2, 2, 3}), kVorbisSetupLengths);     // a gap left
  EXPECT_EQ(LengthsFault({2, 0, 2, 2}), kVorbisSetupLengths);     // a gap left by an unused entry
  EXPECT_EQ(LengthsFault({2, 2, 0, 2, 2}), kVorbisSetupSound);    // sparse, whole
  EXPECT_EQ(LengthsFault({0, 1, 0}), kVorbisSetupSound);          // the one codeword of a one-entry book
  EXPECT_EQ(LengthsFault({0, 2, 0}), kVorbisSetupLengths);        // one entry, but not length 1
  EXPECT_EQ(LengthsFault({1, 1}), kVorbisSetupSound);
  EXPECT_EQ(LengthsFault({0, 0, 0}), kVorbisSetupSound);          // nothing used: never decoded from
  EXPECT_EQ(LengthsFault({2, 2, 2, 2}, 0), kVorbisSetupDimension);
  EXPECT_EQ(LengthsFault({2, 2, 2, 2}, 65535), kVorbisSetupSound);
}

// Codeword lengths reach 32 and no further: 1, 2, ... 31, 32, 32 fill the
// tree exactly; shifted up by one the last run is 33 long.
TEST(VorbisSetupCheck, LongestCodewordIs32) {
  std::vector<uint32_t> runs(31, 1);
  runs.push_back(2);
  BitWriter atLimit = SetupStart(1);
  PutBookStart(&atLimit, 1, 33);
  PutOrdered(&atLimit, 33, 1, runs);
  atLimit.Put(0, 4);
  EXPECT_EQ(FaultOf(atLimit), kVorbisSetupSound);
  std::vector<int> unordered;
  for (int l = 1; l <= 32; ++l) unordered.push_back(l);
  unordered.push_back(32);
  EXPECT_EQ(LengthsFault(unordered), kVorbisSetupSound);

  // One past: 1 .. 32 once each and two of 33 fill the tree as well.
  std::vector<uint32_t> longer(32, 1);
  longer.push_back(2);
  BitWriter past = SetupStart(1);
  PutBookStart(&past, 1, 34);
  PutOrdered(&past, 34, 1, longer);
  past.Put(0, 4);
  EXPECT_EQ(FaultOf(past), kVorbisSetupLengths);

  // A run longer than the entries left.
  BitWriter overrun = SetupStart(1);
  PutBookStart(&overrun, 1, 4);
  PutOrdered(&overrun, 4, 2, {5});
  overrun.Put(0, 4);
  EXPECT_EQ(FaultOf(overrun), kVorbisSetupLengths);
  BitWriter exact = SetupStart(1);
  PutBookStart(&exact, 1, 4);
  PutOrdered(&exact, 4, 2, {4});
  exact.Put(0, 4);
  EXPECT_EQ(FaultOf(exact), kVorbisSetupSound);
}

namespace {

// Ordered lengths filling the tree for `entries` (at least 2): with
// 2^(L-1) < entries <= 2^L, 2^L - entries of length L - 1 and the rest L.
void PutWholeTree(BitWriter* w, uint32_t entries) {
  int L = 0;
  while ((uint32_t{1} << L) < entries) ++L;
  const uint32_t shorter = (uint32_t{1} << L) - entries;
  PutOrdered(w, entries, L - 1, {shorter, entries - shorter});
}

// A book with a lookup table of one-byte values, up to the first value.
BitWriter LookupBook(uint32_t entries, uint32_t dimensions, uint32_t lookup) {
  BitWriter w = SetupStart(1);
  PutBookStart(&w, dimensions, entries);
  PutWholeTree(&w, entries);
  w.Put(lookup, 4);
  w.Put(0x12345678, 32);
  w.Put(0x9ABCDEF0, 32);
  w.Put(7, 4);  // 8 bits a value
  w.Put(0, 1);
  return w;
}

void PutValues(BitWriter* w, int count) {
  for (int i = 0; i < count; ++i) w->Put(static_cast<uint32_t>(i), 8);
}

}  // namespace

// The table holds r values (r^dimensions <= entries < (r+1)^dimensions) for
// lookup type 1 and entries x dimensions for type 2: the packet ending at the
// last value passes, one byte shorter it is cut.
TEST(VorbisSetupCheck, LookupTablesAreReadToTheirEnd) {
  struct Case {
    uint32_t entries, dimensions, lookup;
    int values;
  } cases[] = {
      {625, 4, 1, 5},  // 5^4 = 625 exactly
      {624, 4, 1, 4},  // one short of 5^4
      {512, 1, 1, 512},
      {289, 2, 1, 17},
      {288, 2, 1, 16},
      {81, 4, 2, 324},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    BitWriter w = LookupBook(c.entries, c.dimensions, c.lookup);
    const size_t before = w.bytes.size();
    PutValues(&w, c.values);
    ASSERT_EQ(w.bytes.size(), before + static_cast<size_t>(c.values));
    EXPECT_EQ(Check(w.bytes, w.bytes.size()).fault, kVorbisSetupSound);
    EXPECT_EQ(Check(w.bytes, w.bytes.size() - 1).fault, kVorbisSetupCut);
  }
  BitWriter type3 = LookupBook(625, 4, 3);
  PutValues(&type3, 5);
  EXPECT_EQ(FaultOf(type3), kVorbisSetupLookup);
}

TEST(VorbisSetupCheck, NamesTheCodebookAtFault) {
  BitWriter w = SetupStart(3);
  for (int i = 0; i < 2; ++i) {
    PutBookStart(&w, 2, 4);
    PutLengths(&w, {2, 2, 2, 2});
    w.Put(0, 4);
  }
  PutBookStart(&w, 2, 4);
  PutLengths(&w, {2, 2, 2, 1});
  w.Put(0, 4);
  const VorbisSetupCheck c = Check(w.bytes, w.bytes.size());
  EXPECT_EQ(c.fault, kVorbisSetupLengths);
  EXPECT_EQ(c.codebook, 2);
  // The sync pattern of the second book broken; then the third book missing.
  std::vector<uint8_t> broken = w.bytes;
  BitWriter one = SetupStart(3);
  PutBookStart(&one, 2, 4);
  PutLengths(&one, {2, 2, 2, 2});
  one.Put(0, 4);
  broken[one.bits / 8] ^= static_cast<uint8_t>(1 << (one.bits % 8));
  EXPECT_EQ(Check(broken, broken.size()).fault, kVorbisSetupSync);
  EXPECT_EQ(Check(broken, broken.size()).codebook, 1);
  EXPECT_EQ(Check(one.bytes, one.bytes.size()).fault, kVorbisSetupCut);
  EXPECT_EQ(Check(one.bytes, one.bytes.size()).codebook, 1);
  EXPECT_EQ(Check(w.bytes, 7).fault, kVorbisSetupCut);
  std::vector<uint8_t> comment = w.bytes;
  comment[0] = 3;
  EXPECT_EQ(Check(comment, comment.size()).fault, kVorbisSetupNotSetup);
}

namespace {

struct Headers {
  std::vector<uint8_t> packet[3];
};

// The three header packets libvorbisenc writes for one format; false when it
// has no setting for that format.
bool EncoderHeaders(int channels, int rate, float quality, Headers* out) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  const bool made = vorbis_encode_init_vbr(&vi, channels, rate, quality) == 0;
  if (made) {
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    ogg_packet h[3];
    vorbis_analysis_headerout(&vd, &vc, &h[0], &h[1], &h[2]);
    for (int i = 0; i < 3; ++i) out->packet[i].assign(h[i].packet, h[i].packet + h[i].bytes);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
  }
  vorbis_info_clear(&vi);
  return made;
}

// What libvorbis makes of the headers: -1 when it refuses them, 0 when it
// takes them but cannot build a decoder from them, 1 when it can.
int LibraryVerdict(const Headers& h) {
  vorbis_info vi;
  vorbis_comment vc;
  vorbis_info_init(&vi);
  vorbis_comment_init(&vc);
  int verdict = 1;
  for (int i = 0; i < 3 && verdict == 1; ++i) {
    ogg_packet p{};
    p.packet = const_cast<unsigned char*>(h.packet[i].data());
    p.bytes = static_cast<long>(h.packet[i].size());
    p.b_o_s = i == 0;
    p.packetno = i;
    if (vorbis_synthesis_headerin(&vi, &vc, &p) != 0) verdict = -1;
  }
  if (verdict == 1) {
    vorbis_dsp_state vd;
    if (vorbis_synthesis_init(&vd, &vi) != 0) {
      verdict = 0;
    } else {
      vorbis_dsp_clear(&vd);
    }
  }
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return verdict;
}

}  // namespace

TEST(VorbisSetupCheck, EncoderMadeHeadersPass) {
  int formats = 0;
  // (libvorbisenc leaks a little setting up six channels at 44.1 and 48 kHz.)
  for (const int channels : {1, 2, 3}) {
    for (const int rate : {8000, 11025, 22050, 32000, 44100, 48000, 96000}) {
      for (const float quality : {-0.1f, 0.0f, 0.3f, 0.6f, 1.0f}) {
        Headers h;
        if (!EncoderHeaders(channels, rate, quality, &h)) continue;
        SCOPED_TRACE(testing::Message() << channels << " ch " << rate << " Hz q" << quality);
        ++formats;
        EXPECT_EQ(Check(h.packet[2], h.packet[2].size()).fault, kVorbisSetupSound);
        EXPECT_EQ(LibraryVerdict(h), 1);
      }
    }
  }
  EXPECT_GE(formats, 90);
}

// Every bit of the codebooks of an encoder header flipped in turn: whatever
// the check passes, libvorbis either refuses at once or builds its decoder.
TEST(VorbisSetupCheck, NeverPassesWhatTheDecoderCannotBuild) {
  Headers h;
  ASSERT_TRUE(EncoderHeaders(1, 8000, 0.0f, &h));
  const std::vector<uint8_t> setup = h.packet[2];
  int unbuildable = 0, refused = 0;
  // The codebooks fill most of the packet; every third bit keeps this short.
  for (size_t bit = 7 * 8; bit < setup.size() * 8 * 3 / 4; bit += 3) {
    Headers damaged = h;
    damaged.packet[2][bit / 8] ^= static_cast<uint8_t>(1 << (bit % 8));
    const VorbisSetupCheck c = Check(damaged.packet[2], damaged.packet[2].size());
    const int verdict = LibraryVerdict(damaged);
    if (verdict == 0) ++unbuildable;
    if (c.fault != kVorbisSetupSound) ++refused;
    if (c.fault == kVorbisSetupSound) {
      EXPECT_NE(verdict, 0) << "bit " << bit;
    }
  }
  EXPECT_GT(unbuildable, 20);  // the damage that reaches the division is common
  EXPECT_GT(refused, unbuildable);
}

namespace {

// A chained file whose second link's setup header runs over several pages,
// with `damage` applied to that header.
std::vector<uint8_t> ChainWithSecondSetup(void (*damage)(std::vector<uint8_t>*)) {
  const auto first = soundtest::EncodeVorbis(soundtest::Tone(8000, 1), 1, 22050, 5);
  const auto second = soundtest::EncodeVorbis(soundtest::Tone(8000, 2), 2, 44100, 6);
  auto packets = soundtest::PacketsOf(second, 6);
  damage(&packets[2].bytes);
  auto pages = soundtest::RepagePackets(packets, 6, 3);
  std::vector<uint8_t> file = first;
  const auto tail = soundtest::JoinPages(pages);
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

OggPageWalk Walk(const std::vector<uint8_t>& image) {
  const StreamHandle stream = OpenMemoryStream(image.data(), image.size());
  const StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  OggPageWalk walk{};
  WalkOggPages(&source, &walk);
  FreeMemoryStream(stream);
  return walk;
}

// The first flip in the codebooks that libvorbis takes and cannot build.
void BreakCodeTree(std::vector<uint8_t>* setup) {
  Headers h;
  h.packet[2] = *setup;
  // The identification header of the same format as the file's second link.
  Headers encoder;
  EncoderHeaders(2, 44100, 0.3f, &encoder);
  h.packet[0] = encoder.packet[0];
  h.packet[1] = encoder.packet[1];
  for (size_t bit = 7 * 8; bit < setup->size() * 8; ++bit) {
    Headers d = h;
    d.packet[2][bit / 8] ^= static_cast<uint8_t>(1 << (bit % 8));
    if (LibraryVerdict(d) == 0) {
      *setup = d.packet[2];
      return;
    }
  }
  ADD_FAILURE() << "no flip found";
}

}  // namespace

TEST(VorbisSetupCheck, ThePageWalkChecksEveryLinksSetupAcrossItsPages) {
  const OggPageWalk sound = Walk(ChainWithSecondSetup([](std::vector<uint8_t>*) {}));
  EXPECT_EQ(sound.fault, kOggPagesSound);
  EXPECT_EQ(sound.links, 2u);
  const OggPageWalk broken = Walk(ChainWithSecondSetup(BreakCodeTree));
  EXPECT_EQ(broken.fault, kOggVorbisSetup);
  EXPECT_EQ(broken.serial, 6u);
  EXPECT_EQ(broken.setup.fault, kVorbisSetupLengths);
  EXPECT_GE(broken.setup.codebook, 0);
}
