// Damaged compressed sounds, whole and streamed: each load gives -1 or a
// sound no longer than the intact one, and playing it never crashes, hangs or
// allocates without bound (the sanitizer build runs this).
#include <gtest/gtest.h>

#include "encoded_audio.h"
#include "framework/core/memory_stream.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/stream_play.h"
#include "platform/acm/adpcm_reference.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::SoundTest;

namespace {

std::vector<uint8_t> AdpcmWav() {
  const auto e = adpcmref::EncodeMsAdpcm(adpcmref::Signal(6000, 2), 2, 512);
  const auto extra = adpcmref::MsAdpcmExtra((512 - 14) + 2);
  soundtest::WavSpec s;
  s.tag = plat::WAVE_FORMAT_ADPCM;
  s.bits = 4;
  s.rate = 22050;
  s.alignOverride = 512;
  s.avgOverride = 22050;
  s.fmtSize = static_cast<uint32_t>(18 + extra.size());
  s.data = e.data;
  auto wav = soundtest::WriteWav(s);
  std::copy(extra.begin(), extra.end(), wav.begin() + 38);
  return wav;
}

class CodecCorpus : public SoundTest {
 protected:
  // Loads the image whole and as a stream; returns the whole sound's PCM
  // size, or -1.
  int64_t LoadBoth(const std::vector<uint8_t>& image) {
    int64_t size = -1;
    const int whole = CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1);
    if (whole != -1) {
      size = GetSoundData(whole)->pcmSize;
      DeleteSound(whole);
    }
    SetSoundDataCreateMode(2);
    const int stream = CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 1, -1);
    SetSoundDataCreateMode(0);
    if (stream != -1) {
      PlaySoundHandle(stream, 3, 1);
      for (int i = 0; i < 6; ++i) {
        plat::dsound::AdvanceManual(22050);
        UpdateStreamSounds();
      }
      EXPECT_LE(GetSoundPositionMs(stream), GetSoundLengthMs(stream));
      DeleteSound(stream);
    }
    return size;
  }
  void Damage(const std::vector<uint8_t>& intact, const char* name) {
    const int64_t full = LoadBoth(intact);
    ASSERT_GT(full, 0) << name;
    for (size_t cut = 0; cut < intact.size(); cut += intact.size() / 23 + 1) {
      const std::vector<uint8_t> part(intact.begin(), intact.begin() + static_cast<long>(cut));
      EXPECT_LE(LoadBoth(part), full) << name << " cut at " << cut;
    }
    uint32_t x = 99;
    for (int i = 0; i < 24; ++i) {
      std::vector<uint8_t> flipped = intact;
      for (int k = 0; k < 4; ++k) {
        x = x * 1103515245u + 12345u;
        // Most flips land in the headers, where the readers decide.
        const size_t at = (x >> 8) % (k == 0 ? flipped.size() : std::min<size_t>(flipped.size(), 200));
        flipped[at] ^= static_cast<uint8_t>(1u << ((x >> 4) & 7));
      }
      LoadBoth(flipped);
    }
  }
};

TEST_F(CodecCorpus, TruncatedAndFlippedAdpcm) { Damage(AdpcmWav(), "adpcm"); }

TEST_F(CodecCorpus, TruncatedAndFlippedMp3) {
  const auto mp3 = soundtest::EncodeMp3(soundtest::Tone(20000, 1), 1, 22050, 32);
  Damage(mp3, "mp3");
  // An ID3 tag that claims far more than the file, free-format frames and
  // false syncs are refused.
  const uint8_t tag[10] = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
  std::vector<uint8_t> huge(tag, tag + 10);
  huge.resize(10 + mp3.size());
  std::copy(mp3.begin(), mp3.end(), huge.begin() + 10);
  EXPECT_EQ(LoadBoth(huge), -1);
  std::vector<uint8_t> freeFormat(4000, 0);
  for (size_t i = 0; i + 4 <= freeFormat.size(); i += 400) {
    freeFormat[i] = 0xFF;
    freeFormat[i + 1] = 0xFB;
  }
  EXPECT_EQ(LoadBoth(freeFormat), -1);
  std::vector<uint8_t> falseSyncs(3000, 0xFF);
  EXPECT_EQ(LoadBoth(falseSyncs), -1);
}

TEST_F(CodecCorpus, TruncatedAndFlippedVorbis) {
  Damage(soundtest::EncodeVorbis(soundtest::Tone(20000, 2), 2, 22050), "vorbis");
}

}  // namespace
