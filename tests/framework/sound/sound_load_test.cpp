#include "framework/sound/sound_load.h"

#include <sys/stat.h>

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

TEST_F(SoundLoad, BufferCountIsTakenIntoOneToTen) {
  for (auto [asked, made] : {std::pair{10, 10}, {1, 1}, {0, 1}, {-4, 1}}) {
    const int h = Load(Effect(), asked);
    ASSERT_NE(h, -1) << asked;
    EXPECT_EQ(GetSoundData(h)->bufferCount, made) << asked;
    DeleteSound(h);
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

// Sounds the device refuses, or that hold nothing, fail to load: -1, no
// handle left, nothing leaked, and the program goes on.
TEST_F(SoundLoad, RefusedAndEmptySoundsGiveMinusOne) {
  plat::dsound::GetControl().failNextCreates = 2;  // the first try and the retry
  EXPECT_EQ(Load(Effect(), 3), -1);

  WavSpec empty = Effect();
  empty.data.clear();
  EXPECT_EQ(Load(empty, 3), -1);

  WavSpec deep = Effect();
  deep.bits = 24;
  deep.data = Pcm(600);
  EXPECT_EQ(Load(deep, 3), -1);

  WavSpec many = Effect();
  many.channels = 6;
  EXPECT_EQ(Load(many, 3), -1);

  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(SoundBuffers(), 0);
  EXPECT_TRUE(Logged("DirectSoundBuffer の作成に失敗しました"));
  EXPECT_NE(Load(Effect(), 3), -1);  // and the next sound loads fine
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
