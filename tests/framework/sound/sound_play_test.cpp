#include "framework/sound/sound_play.h"

#include <atomic>
#include <thread>

#include "framework/sound/sound_load.h"
#include "sound_test_util.h"

using namespace qor;
using plat::dsound::AdvanceManual;
using soundtest::Pcm;
using soundtest::SoundTest;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

constexpr int kFrames = 1000;  // 16-bit stereo at 44.1 kHz: cursor = frames x 4

class SoundPlay : public SoundTest {
 protected:
  int Load(int buffers, int frames = kFrames) {
    WavSpec s;
    s.data = Pcm(static_cast<size_t>(frames) * 4);
    const std::vector<uint8_t> image = WriteWav(s);
    return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), buffers, -1);
  }
  static uint32_t Cursor(int h, int slot) {
    uint32_t play = 0;
    GetSoundData(h)->slots[slot].buffer->GetCurrentPosition(&play, nullptr);
    return play / 4;
  }
  static bool Playing(int h, int slot) {
    uint32_t status = 0;
    GetSoundData(h)->slots[slot].buffer->GetStatus(&status);
    return (status & plat::DSBSTATUS_PLAYING) != 0;
  }
};

// Round robin from the buffer after the current one: 1, 2, 0, then 1 again,
// which a restart starts over and a play without restart leaves alone.
TEST_F(SoundPlay, FourPlaysOnThreeBuffersWithAndWithoutRestart) {
  for (int restart : {1, 0}) {
    const int h = Load(3);
    for (int i = 0; i < 3; ++i) {
      ASSERT_EQ(PlaySoundHandle(h, 1, 1), 0);
      AdvanceManual(10);
    }
    EXPECT_EQ(Cursor(h, 2), 20u);
    EXPECT_EQ(Cursor(h, 0), 10u);
    const uint64_t plays = plat::dsound::GetCounters().play;
    ASSERT_EQ(PlaySoundHandle(h, 1, restart), 0);
    EXPECT_EQ(GetSoundData(h)->currentBuffer, 1);
    EXPECT_EQ(Cursor(h, 1), restart ? 0u : 30u);
    EXPECT_TRUE(Playing(h, 1));
    EXPECT_EQ(plat::dsound::GetCounters().play, restart ? plays + 1 : plays);
    EXPECT_EQ(Cursor(h, 0), 10u);
    if (!restart) {
      EXPECT_EQ(PlaySoundHandle(h, 1, 0), 0);  // the next play tries the following buffer
      EXPECT_EQ(GetSoundData(h)->currentBuffer, 2);
      EXPECT_EQ(Cursor(h, 2), 20u);
    }
    DeleteSound(h);
  }
}

TEST_F(SoundPlay, SingleBufferRestartsFromTheBeginning) {
  const int h = Load(1);
  PlaySoundHandle(h, 1, 1);
  AdvanceManual(500);
  EXPECT_EQ(Cursor(h, 0), 500u);
  PlaySoundHandle(h, 1, 1);
  EXPECT_EQ(Cursor(h, 0), 0u);
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundPlay, LoopingPlaysOnPastTheEnd) {
  const int h = Load(3);
  ASSERT_EQ(PlaySoundHandle(h, 3, 1), 0);
  AdvanceManual(kFrames * 5 / 2);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  EXPECT_EQ(Cursor(h, 1), static_cast<uint32_t>(kFrames / 2));
  EXPECT_EQ(StopSound(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(SoundPlay, OneShotsEndAndIsPlayingFollowsTheLastCopy) {
  const int h = Load(3);
  PlaySoundHandle(h, 1, 1);
  AdvanceManual(600);
  PlaySoundHandle(h, 2, 1);  // type 2 is a one-shot too
  AdvanceManual(399);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  AdvanceManual(1);  // the first copy ends
  EXPECT_FALSE(Playing(h, 1));
  EXPECT_EQ(Cursor(h, 1), 0u);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  AdvanceManual(600);  // and the second
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(SoundPlay, StopKeepsTheCursorAndPlayWithoutRestartGoesOn) {
  const int h = Load(3);
  PlaySoundHandle(h, 1, 1);
  AdvanceManual(250);
  EXPECT_EQ(GetSoundPositionMs(h), 250 * 1000 / 44100);
  ASSERT_EQ(StopSound(h), 0);
  AdvanceManual(100);
  EXPECT_EQ(Cursor(h, 1), 250u);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  ASSERT_EQ(PlaySoundHandle(h, 1, 0), 0);
  EXPECT_EQ(GetSoundData(h)->currentBuffer, 2);
  EXPECT_EQ(Cursor(h, 2), 250u);
  AdvanceManual(750);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

// The host's audio thread mixes while the program loads, plays, stops and
// deletes sounds (the sanitizers watch for reads of freed or half-made
// buffers).
TEST_F(SoundPlay, MixerThreadRunsAlongsideEveryOperation) {
  std::atomic<bool> done{false};
  std::thread mixer([&done] {
    int16_t out[2 * 256];
    while (!done.load()) plat::dsound::MixInto(out, 256);
  });
  for (int round = 0; round < 100; ++round) {
    const int h = Load(3, 300);
    ASSERT_NE(h, -1);
    EXPECT_EQ(PlaySoundHandle(h, round % 3 == 0 ? 3 : 1, 1), 0);
    EXPECT_EQ(PlaySoundHandle(h, 1, round % 2), 0);
    EXPECT_NE(IsSoundPlaying(h), -1);
    EXPECT_GE(GetSoundPositionMs(h), 0);
    if (round % 2) {
      EXPECT_EQ(StopSound(h), 0);
    }
    EXPECT_EQ(DeleteSound(h), 0);
  }
  done.store(true);
  mixer.join();
  EXPECT_EQ(SoundBuffers(), 0);
}

int g_pumps = 0;
int g_quitAfter = 0;
int ManualPump() {
  ++g_pumps;
  AdvanceManual(441);
  return g_pumps >= g_quitAfter ? -1 : 0;
}

TEST_F(SoundPlay, PlayTypeZeroWaitsForTheEnd) {
  const int h = Load(3, 44100);  // one second
  SetSoundMessagePump(ManualPump);
  g_pumps = 0;
  g_quitAfter = 1000000;
  ASSERT_EQ(PlaySoundHandle(h, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_EQ(g_pumps, 100);
  // A quitting program returns at once, the sound still playing.
  g_pumps = 0;
  g_quitAfter = 1;
  ASSERT_EQ(PlaySoundHandle(h, 0, 1), 0);
  EXPECT_EQ(g_pumps, 1);
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundPlay, DeviceFailuresAreReported) {
  const int h = Load(3);
  plat::dsound::GetControl().failNextPlays = 1;
  EXPECT_EQ(PlaySoundHandle(h, 1, 1), -1);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  plat::dsound::GetControl().failNextStatus = 1;
  EXPECT_EQ(PlaySoundHandle(h, 1, 1), -1);
  PlaySoundHandle(h, 1, 1);
  plat::dsound::GetControl().failNextStatus = 1;
  EXPECT_EQ(StopSound(h), -1);
  // An unreadable status counts as silent.
  plat::dsound::GetControl().failNextStatus = 1;
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundPlay, DeleteStopsFreesAndRefusesTwice) {
  const int h = Load(3);
  PlaySoundHandle(h, 3, 1);
  EXPECT_EQ(SoundBuffers(), 3);
  ASSERT_EQ(DeleteSound(h), 0);
  EXPECT_EQ(SoundBuffers(), 0);
  EXPECT_EQ(DeleteSound(h), -1);
  EXPECT_EQ(PlaySoundHandle(h, 1, 1), -1);
  EXPECT_EQ(IsSoundPlaying(h), -1);
  EXPECT_EQ(GetSoundPositionMs(h), -1);
  EXPECT_EQ(EndTemporaryPlayback(), 0);
}

}  // namespace
