#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::SoundTest;

namespace {

using SoundHandles = SoundTest;

int Index(int handle) { return handle & 0xFFFF; }

TEST_F(SoundHandles, FullTableRefusesThenReusesAFreedSlot) {
  std::vector<int> handles;
  for (int i = 0; i < kMaxSounds; ++i) handles.push_back(AddSoundData(-1));
  EXPECT_EQ(handles.back() & 0x78000000, 0x10000000);
  EXPECT_EQ(Index(handles.back()), kMaxSounds - 1);
  EXPECT_EQ(AddSoundData(-1), -1);
  EXPECT_TRUE(Logged("サウンドの数が許容量を越えました"));
  EXPECT_EQ(GetSoundState().table.liveCount, kMaxSounds);
  ASSERT_EQ(DeleteSound(handles[5]), 0);
  const int again = AddSoundData(-1);
  EXPECT_EQ(Index(again), 5);
  EXPECT_EQ(DeleteAllSounds(), 0);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(GetSoundState().table.usedEnd, 0);
}

TEST_F(SoundHandles, GivenHandleRecreatesOnlyAnEmptySlot) {
  const int a = AddSoundData(-1);
  EXPECT_EQ(AddSoundData(a), -1);  // occupied: the value must keep naming its record
  DeleteSound(a);
  EXPECT_EQ(AddSoundData(a), a);
  EXPECT_NE(GetSoundData(a), nullptr);
  // A slot beyond the used end raises it, so fresh handles never land on it.
  const int far = (a & ~0xFFFF) | 40;
  EXPECT_EQ(AddSoundData(far), far);
  EXPECT_EQ(GetSoundState().table.usedEnd, 41);
  EXPECT_EQ(Index(AddSoundData(-1)), 41);
  EXPECT_EQ(AddSoundData(0x20000000), -1);  // wrong kind
}

TEST_F(SoundHandles, LengthsTruncate) {
  const int h = AddSoundData(-1);
  SoundData* r = GetSoundData(h);
  r->format = WAVEFORMATEX{1, 2, 44100, 176400, 4, 16, 0};
  r->pcmSize = 44100 * 4;
  EXPECT_EQ(GetSoundLengthSamples(h), 44100);
  EXPECT_EQ(GetSoundLengthMs(h), 1000);
  r->pcmSize = 4;
  EXPECT_EQ(GetSoundLengthMs(h), 0);
  r->format = WAVEFORMATEX{1, 1, 100, 100, 1, 8, 0};
  r->pcmSize = 0x0FFFFFFF;  // longer than an int of milliseconds
  EXPECT_EQ(GetSoundLengthMs(h), 2147483647);
  r->kind = 7;
  EXPECT_EQ(GetSoundLengthSamples(h), 0);
  EXPECT_EQ(GetSoundLengthMs(h + 1), -1);
}

TEST_F(SoundHandles, CreateModeAcceptsZeroToThree) {
  EXPECT_EQ(SetSoundDataCreateMode(2), 0);
  EXPECT_EQ(SetSoundDataCreateMode(4), -1);
  EXPECT_EQ(SetSoundDataCreateMode(-1), -1);
}

TEST(SoundHandlesNotStarted, EveryCallFails) {
  ResetSoundState();
  EXPECT_EQ(DeleteAllSounds(), -1);
  EXPECT_EQ(PlaySoundHandle(0x10000000, 1, 1), -1);
  EXPECT_EQ(StopSound(0x10000000), -1);
  EXPECT_EQ(IsSoundPlaying(0x10000000), -1);
  EXPECT_EQ(GetSoundLengthMs(0x10000000), -1);
  EXPECT_EQ(CreateSoundFromMemory("RIFF", 4, 3, -1), -1);
  EXPECT_EQ(LoadSoundFile("a.wav", 3, -1), -1);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
}

}  // namespace
