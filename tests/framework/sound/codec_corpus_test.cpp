// Cut compressed sounds, whole and streamed: each load gives -1 or a sound
// no longer than the intact one, and playing it stays inside its length.
#include <gtest/gtest.h>

#include "encoded_audio.h"
#include "framework/core/files/memory_stream.h"
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
  // Cuts at two dozen lengths. Bit flips are the fuzz targets' work.
  void Truncate(const std::vector<uint8_t>& intact, const char* name) {
    const int64_t full = LoadBoth(intact);
    ASSERT_GT(full, 0) << name;
    for (size_t cut = 0; cut < intact.size(); cut += intact.size() / 23 + 1) {
      const std::vector<uint8_t> part(intact.begin(), intact.begin() + static_cast<long>(cut));
      EXPECT_LE(LoadBoth(part), full) << name << " cut at " << cut;
    }
  }
};

TEST_F(CodecCorpus, TruncatedFilesLoadNoLongerThanWhole) {
  Truncate(AdpcmWav(), "adpcm");
  const auto mp3 = soundtest::EncodeMp3(soundtest::Tone(20000, 1), 1, 22050, 32);
  Truncate(mp3, "mp3");
  Truncate(soundtest::EncodeVorbis(soundtest::Tone(20000, 2), 2, 22050), "vorbis");
  // An ID3 tag that claims far more than the file, and false syncs.
  std::vector<uint8_t> huge = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
  huge.resize(10 + mp3.size());
  std::copy(mp3.begin(), mp3.end(), huge.begin() + 10);
  EXPECT_EQ(LoadBoth(huge), -1);
  EXPECT_EQ(LoadBoth(std::vector<uint8_t>(3000, 0xFF)), -1);
}

}  // namespace
