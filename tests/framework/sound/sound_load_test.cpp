#include "framework/sound/sound_load.h"

#include <sys/stat.h>

#include "encoded_audio.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/sound/sound_play.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::Pcm;
using soundtest::SoundTest;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

class SoundLoad : public SoundTest {
 protected:
  int Load(const WavSpec& s, int buffers) {
    const std::vector<uint8_t> image = WriteWav(s);
    return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), buffers, -1);
  }
  static WavSpec Effect() {
    WavSpec s;
    s.data = Pcm(4000);
    return s;
  }
};

TEST_F(SoundLoad, WholeSoundKeepsItsPcmAndFormat) {
  const WavSpec s = Effect();
  const int h = Load(s, 3);
  ASSERT_NE(h, -1);
  SoundData* r = GetSoundData(h);
  EXPECT_EQ(r->kind, 0u);
  EXPECT_EQ(r->bufferCount, 3);
  EXPECT_EQ(r->pcmSize, 4000u);
  EXPECT_EQ(std::vector<uint8_t>(r->pcmData, r->pcmData + 4000), s.data);
  EXPECT_EQ(r->format.nSamplesPerSec, 44100u);
  EXPECT_EQ(GetSoundLengthSamples(h), 1000);
  EXPECT_EQ(SoundBuffers(), 3);
  // Every buffer, duplicates included, holds the samples.
  for (int i = 0; i < 3; ++i) {
    void *p1, *p2;
    uint32_t s1, s2;
    ASSERT_EQ(r->slots[i].buffer->Lock(0, 4000, &p1, &s1, &p2, &s2, 0), plat::DS_OK);
    EXPECT_EQ(std::memcmp(p1, s.data.data(), 4000), 0);
    r->slots[i].buffer->Unlock(p1, s1, p2, s2);
  }
}

// Up to ten buffers as asked; a count of 0 or less makes a sound with no
// buffer at all, which holds its PCM but cannot play.
TEST_F(SoundLoad, BufferCountIsKeptAsAsked) {
  for (auto [asked, made] : {std::pair{10, 10}, {1, 1}, {0, 0}, {-4, 0}}) {
    const int created = plat::dsound::GetCounters().createBuffer;
    const int h = Load(Effect(), asked);
    ASSERT_NE(h, -1) << asked;
    EXPECT_EQ(GetSoundData(h)->bufferCount, asked) << asked;
    EXPECT_EQ(SoundBuffers(), made) << asked;
    EXPECT_EQ(plat::dsound::GetCounters().createBuffer - created, made > 0 ? 1 : 0) << asked;
    EXPECT_EQ(GetSoundLengthSamples(h), 1000) << asked;
    EXPECT_EQ(PlaySoundHandle(h, 1, 1), made > 0 ? 0 : -1) << asked;
    EXPECT_EQ(IsSoundPlaying(h), made > 0 ? 1 : 0) << asked;
    EXPECT_EQ(DeleteSound(h), 0) << asked;
  }
  // From memory, more than ten is refused before a handle is taken.
  const int before = GetSoundState().table.checkCounter;
  EXPECT_EQ(Load(Effect(), 11), -1);
  EXPECT_EQ(GetSoundState().table.checkCounter, before);
  EXPECT_EQ(SoundBuffers(), 0);
}

TEST_F(SoundLoad, FailingDuplicatesLeaveFewerBuffers) {
  plat::dsound::GetControl().maxBuffers = 3;  // the silence buffer and two more
  const int h = Load(Effect(), 3);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundData(h)->bufferCount, 2);
  EXPECT_EQ(PlaySoundHandle(h, 1, 1), 0);
}

TEST_F(SoundLoad, DeviceWithoutFrequencyControlGetsTheRetryFlags) {
  plat::dsound::GetControl().refusedFlags = plat::DSBCAPS_CTRLFREQUENCY;
  const int h = Load(Effect(), 3);
  ASSERT_NE(h, -1);
  EXPECT_EQ(GetSoundData(h)->slots[0].buffer->flags, 0xC2u);
}

// Data no buffer can hold is refused before the device is asked: -1, the
// log line, no handle left, nothing leaked, and the program goes on. The
// device's own rules are the oracle: what is not refused, it takes.
TEST_F(SoundLoad, UnbufferableSoundsAreRefusedBeforeTheDevice) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
    size_t bytes;
    int createMode;
    bool loads;
  } cases[] = {
      {2, 16, 44100, 0, 0, false},        // empty
      {2, 16, 44100, 4, 0, true},         // one block
      {1, 8, 44100, 4, 0, true},          // the device's smallest buffer
      {1, 8, 44100, 3, 0, false},         // one byte short of it
      {2, 24, 44100, 600, 0, false},
      {6, 16, 44100, 1200, 0, false},
      {1, 16, 100, 400, 0, true},         // lowest rate
      {1, 16, 99, 400, 0, false},
      {1, 16, 200000, 400, 0, true},      // highest rate
      {1, 16, 200001, 400, 0, false},
      {2, 24, 44100, 600, 2, false},      // a stream's ring is refused alike
      {2, 16, 44100, 4000, 2, true},
  };
  for (const Case& c : cases) {
    WavSpec s;
    s.channels = c.channels;
    s.bits = c.bits;
    s.rate = c.rate;
    s.data = Pcm(c.bytes);
    SetSoundDataCreateMode(c.createMode);
    const int created = plat::dsound::GetCounters().createBuffer;
    const int h = Load(s, 1);
    SetSoundDataCreateMode(0);
    const int asked = plat::dsound::GetCounters().createBuffer - created;
    EXPECT_EQ(h != -1, c.loads) << c.channels << " " << c.bits << " " << c.rate << " " << c.bytes;
    EXPECT_EQ(asked, c.loads ? 1 : 0) << c.channels << " " << c.bits << " " << c.rate << " " << c.bytes;
    if (h != -1) DeleteSound(h);
  }
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(SoundBuffers(), 0);
  EXPECT_TRUE(Logged("再生できない形式の音声データです"));
  EXPECT_NE(Load(Effect(), 3), -1);  // and the next sound loads fine
}

// Ogg Vorbis sounds are refused by the same rule as WAV data: channels and
// rates at the device's limits and one past them, as whole sounds and as
// streams. What cannot play gets the unplayable-data line, not the line of a
// sound that failed to convert, and the device is never asked.
TEST_F(SoundLoad, VorbisTheDeviceCannotPlayIsRefusedAsUnplayable) {
  const struct {
    int channels;
    uint32_t rate;
    int createMode;
    bool loads;
  } cases[] = {
      {1, 22050, 0, true},   {2, 22050, 0, true},  {3, 22050, 0, false}, {1, 100, 0, true},
      {1, 99, 0, false},     {2, 200000, 0, true}, {2, 200001, 0, false}, {2, 22050, 2, true},
      {3, 22050, 2, false},  {1, 99, 2, false},    {1, 200000, 2, true},  {1, 200001, 2, false},
  };
  const auto times = [this](const char* line) {
    const std::string log = dir_.Read("Log.txt");
    int n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  };
  const char* const refused = "再生できない形式の音声データです";
  const char* const unconverted[] = {"音声ファイルのＰＣＭへの変換に失敗しました", "音声データのオープンに失敗しました"};
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.channels) + " channels, " + std::to_string(c.rate) + " Hz, mode " +
                             std::to_string(c.createMode);
    // The encoder takes rates up to 200000; one past that is written into
    // the header of a file made at 200000.
    const uint32_t encoded = c.rate > 200000 ? 200000 : c.rate;
    auto ogg = soundtest::EncodeVorbis(soundtest::Tone(3000, c.channels), c.channels, static_cast<int>(encoded));
    if (encoded != c.rate) ogg = soundtest::WithVorbisRate(ogg, c.rate);
    const int refusedBefore = times(refused);
    const int unconvertedBefore = times(unconverted[0]) + times(unconverted[1]);
    const int created = plat::dsound::GetCounters().createBuffer;
    SetSoundDataCreateMode(c.createMode);
    const int h = CreateSoundFromMemory(ogg.data(), static_cast<uint32_t>(ogg.size()), 1, -1);
    SetSoundDataCreateMode(0);
    EXPECT_EQ(h != -1, c.loads) << what;
    EXPECT_EQ(plat::dsound::GetCounters().createBuffer - created, c.loads ? 1 : 0) << what;
    EXPECT_EQ(times(refused) - refusedBefore, c.loads ? 0 : 1) << what;
    EXPECT_EQ(times(unconverted[0]) + times(unconverted[1]), unconvertedBefore) << what;
    if (h != -1) {
      EXPECT_EQ(GetSoundData(h)->format.nChannels, c.channels) << what;
      EXPECT_EQ(GetSoundData(h)->format.nSamplesPerSec, c.rate) << what;
      DeleteSound(h);
    }
  }
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(SoundBuffers(), 0);
}

// A device that cannot make the first buffer even with fewer controls, or a
// stream's ring, for a sound it could hold, is failing for itself: the
// program ends with the line.
TEST_F(SoundLoad, DeviceBufferFailuresEndTheProgram) {
  const struct {
    int failCreates;
    int maxBuffers;
    int createMode;
    const char* line;
  } cases[] = {
      {2, 0, 0, "DirectSoundBuffer の作成に失敗しました"},  // the first try and the retry
      {0, 1, 0, "DirectSoundBuffer の作成に失敗しました"},  // no buffer left beside the silence
      {1, 0, 2, "ストリーム風サウンドバッファの作成に失敗しました"},
      {0, 1, 3, "ストリーム風サウンドバッファの作成に失敗しました"},
  };
  const auto times = [this](const char* line) {
    const std::string log = dir_.Read("Log.txt");
    int n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  };
  for (const auto& c : cases) {
    const int before = times(c.line);
    EXPECT_EXIT(
        {
          plat::dsound::GetControl().failNextCreates = c.failCreates;
          plat::dsound::GetControl().maxBuffers = c.maxBuffers;
          SetSoundDataCreateMode(c.createMode);
          Load(Effect(), 3);
          _exit(3);  // not reached
        },
        testing::ExitedWithCode(255), "");
    EXPECT_EQ(times(c.line), before + 1) << c.line;
  }
  // One refusal fewer and the sound loads: the retry and the last free buffer.
  plat::dsound::GetControl().failNextCreates = 1;
  const int retried = Load(Effect(), 1);
  EXPECT_NE(retried, -1);
  DeleteSound(retried);
  plat::dsound::GetControl().maxBuffers = 2;
  SetSoundDataCreateMode(2);
  EXPECT_NE(Load(Effect(), 1), -1);
  SetSoundDataCreateMode(0);
}

TEST_F(SoundLoad, FailureAfterConversionFreesEverythingOnce) {
  plat::dsound::GetControl().failNextLocks = 1;
  EXPECT_EQ(Load(Effect(), 3), -1);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(SoundBuffers(), 0);
  EXPECT_TRUE(Logged("サウンドデータの転送に失敗しました_1"));
}

TEST_F(SoundLoad, NothingAndModeOneGiveMinusOne) {
  EXPECT_EQ(CreateSoundFromMemory(nullptr, 0, 3, -1), -1);
  SetSoundDataCreateMode(1);  // no part kind loads in mode 1
  EXPECT_EQ(Load(Effect(), 3), -1);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
}

// The file road: a loose file, and a file inside the archive named after its
// folder, both through the framework's file access.
TEST_F(SoundLoad, LoadsLooseFilesAndFilesInArchives) {
  WavSpec shot = Effect();
  ASSERT_EQ(mkdir("sddata", 0755), 0);
  ASSERT_EQ(WriteWholeFile("sddata\\shot0.wav", WriteWav(shot)), 0);
  const int loose = LoadSoundFile("SDDATA\\Shot0.WAV", 25, -1);
  ASSERT_NE(loose, -1);
  EXPECT_EQ(GetSoundData(loose)->bufferCount, 10);
  EXPECT_EQ(std::vector<uint8_t>(GetSoundData(loose)->pcmData, GetSoundData(loose)->pcmData + 4000), shot.data);

  WavSpec bgm = Effect();
  bgm.data = Pcm(8000, 7);
  PackNode root;
  root.isDirectory = true;
  PackNode file;
  file.name = "bgm.wav";
  file.data = WriteWav(bgm);
  root.children.push_back(file);
  std::vector<uint8_t> archive;
  ASSERT_EQ(BuildArchive(root, PackOptions{}, &archive), 0);
  ASSERT_EQ(WriteWholeFile("music.dat", archive), 0);
  SetArchiveExtension("dat");
  const int music = LoadSoundFile("music\\bgm.wav", 3, -1);
  ASSERT_NE(music, -1);
  EXPECT_EQ(GetSoundData(music)->pcmSize, 8000u);
  EXPECT_EQ(PlaySoundHandle(music, 3, 1), 0);

  EXPECT_EQ(LoadSoundFile("music\\missing.wav", 3, -1), -1);
  EXPECT_EQ(GetSoundState().table.liveCount, 2);
}

TEST_F(SoundLoad, MissingAndUnreadableFilesGiveMinusOne) {
  EXPECT_EQ(LoadSoundFile("sddata\\nothing_here.wav", 3, -1), -1);
  EXPECT_EQ(LoadSoundFileEntry2("sddata\\nothing_here.wav", 3, -1), -1);
  EXPECT_TRUE(Logged("右記の音声ファイルのロードに失敗しました_1：sddata\\nothing_here.wav"));
  ASSERT_EQ(WriteWholeFile("notes.wav", std::vector<uint8_t>(100, 'x')), 0);
  EXPECT_EQ(LoadSoundFile("notes.wav", 3, -1), -1);
  const std::string log = dir_.Read("Log.txt");
  const size_t convert = log.find("音声ファイルのＰＣＭへの変換に失敗しました");
  ASSERT_NE(convert, std::string::npos);
  EXPECT_NE(log.find("右記の音声ファイルのロードに失敗しました_2：notes.wav", convert), std::string::npos);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
}

}  // namespace
