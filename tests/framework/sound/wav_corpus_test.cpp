// Malformed WAVs, truncated and bit-flipped, loaded as sounds: each gives -1
// or a playable sound no longer than its file, never a crash, a hang or a
// leak (the sanitizers watch the rest).
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::Chunk;
using soundtest::Pcm;
using soundtest::SoundTest;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

std::vector<std::vector<uint8_t>> Seeds() {
  std::vector<std::vector<uint8_t>> seeds;
  WavSpec a;
  a.data = Pcm(64);
  seeds.push_back(WriteWav(a));
  WavSpec b;
  b.channels = 1;
  b.bits = 8;
  b.rate = 11025;
  b.fmtSize = 18;
  b.before = {{"LIST", {1, 2, 3}}, {"fact", {4, 0, 0, 0}}};
  b.data = Pcm(33);
  seeds.push_back(WriteWav(b));
  WavSpec c;
  c.fmtSize = 40;
  c.data = Pcm(48);
  seeds.push_back(WriteWav(c));
  return seeds;
}

class WavCorpus : public SoundTest {
 protected:
  // Loads one image; checks the outcome and deletes what was made.
  void Try(const std::vector<uint8_t>& image, bool mustFail) {
    const int h = CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 3, -1);
    if (mustFail) {
      EXPECT_EQ(h, -1);
    }
    if (h != -1) {
      ++loaded_;
      const SoundData* r = GetSoundData(h);
      ASSERT_NE(r, nullptr);
      EXPECT_LE(r->pcmSize, image.size());
      EXPECT_GE(r->bufferCount, 1);
      EXPECT_EQ(PlaySoundHandle(h, 1, 1), 0);
      plat::dsound::AdvanceManual(64);
      EXPECT_EQ(DeleteSound(h), 0);
    }
    ASSERT_EQ(GetSoundState().table.liveCount, 0);
    ASSERT_EQ(SoundBuffers(), 0);
  }
  int loaded_ = 0;
};

TEST_F(WavCorpus, TruncatedFilesFailOrLoadWhatIsThere) {
  for (const std::vector<uint8_t>& seed : Seeds()) {
    // Where the data body starts: cutting before it leaves no sound.
    size_t dataStart = 0;
    for (size_t i = 12; i + 8 <= seed.size(); ++i) {
      if (std::memcmp(seed.data() + i, "data", 4) == 0) dataStart = i + 8;
    }
    for (size_t n = 0; n < seed.size(); ++n) {
      Try(std::vector<uint8_t>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(n)), n < dataStart + 4);
    }
  }
  EXPECT_GT(loaded_, 0);
}

TEST_F(WavCorpus, EveryHeaderBitFlipped) {
  for (const std::vector<uint8_t>& seed : Seeds()) {
    const size_t header = seed.size() < 96 ? seed.size() : 96;
    for (size_t bit = 0; bit < header * 8; ++bit) {
      std::vector<uint8_t> image = seed;
      image[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      Try(image, false);
    }
  }
}

TEST_F(WavCorpus, SeededRandomDamage) {
  uint32_t x = 12345;
  auto next = [&x] {
    x = x * 1664525u + 1013904223u;
    return x >> 8;
  };
  for (const std::vector<uint8_t>& seed : Seeds()) {
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> image = seed;
      const int hits = 1 + static_cast<int>(next() % 6);
      for (int i = 0; i < hits; ++i) image[next() % image.size()] = static_cast<uint8_t>(next());
      image.resize(image.size() - next() % 8);
      Try(image, false);
    }
  }
}

}  // namespace
