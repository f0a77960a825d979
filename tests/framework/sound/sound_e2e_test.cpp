// The game's use of sound on the headless host, whose audio sink pulls the
// mixer at the virtual clock's pace: effects loaded with 3 buffers and fired
// faster than they end, looping music, stop and delete.
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

int LoadTone(uint32_t rate, uint16_t bits, uint16_t channels, uint32_t frames) {
  WavSpec s;
  s.rate = rate;
  s.bits = bits;
  s.channels = channels;
  const size_t align = channels * bits / 8u;
  s.data.resize(frames * align);
  for (size_t i = 0; i < s.data.size(); ++i) s.data[i] = static_cast<uint8_t>(bits == 8 ? 128 + (i % 64) : i * 7);
  const std::vector<uint8_t> image = WriteWav(s);
  return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 3, -1);
}

TEST(SoundE2E, EffectsOverlapAndMusicLoopsOnTheHostSink) {
  ResetSoundState();
  plat::dsound::ResetDirectSoundState();
  plat::headless::Reset();
  plat::headless::SetClockStep(0);
  ASSERT_EQ(InitDirectSound(), 0);
  ASSERT_TRUE(plat::headless::GetAudioStats().open);

  const int shot = LoadTone(22050, 8, 1, 2205);       // 100 ms
  const int hit = LoadTone(44100, 16, 2, 4410);       // 100 ms
  const int music = LoadTone(44100, 16, 2, 8820);     // 200 ms, looped
  ASSERT_NE(shot, -1);
  ASSERT_NE(hit, -1);
  ASSERT_NE(music, -1);
  ASSERT_EQ(PlaySoundHandle(music, 3, 1), 0);

  // A shot every 40 ms: up to three copies sound at once, round robin.
  for (int frame = 0; frame < 6; ++frame) {
    ASSERT_EQ(PlaySoundHandle(shot, 1, 1), 0);
    if (frame % 2 == 0) PlaySoundHandle(hit, 1, 1);
    plat::HostSleepMs(40);
    EXPECT_EQ(IsSoundPlaying(shot), 1);
  }
  EXPECT_EQ(GetSoundData(shot)->currentBuffer, 0);  // six plays: 1, 2, 0, 1, 2, 0
  plat::HostSleepMs(200);
  EXPECT_EQ(IsSoundPlaying(shot), 0);
  EXPECT_EQ(IsSoundPlaying(hit), 0);

  // 440 ms have gone by: the music has come round twice and still plays.
  EXPECT_EQ(IsSoundPlaying(music), 1);
  const int position = GetSoundPositionMs(music);
  EXPECT_GE(position, 0);
  EXPECT_LT(position, 200);
  ASSERT_EQ(StopSound(music), 0);
  EXPECT_EQ(IsSoundPlaying(music), 0);
  EXPECT_EQ(DeleteSound(music), 0);

  EXPECT_GT(plat::headless::GetAudioStats().nonSilentFrames, 0u);
  EXPECT_EQ(EndDirectSound(), 0);
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_FALSE(plat::headless::GetAudioStats().open);
  ResetSoundState();
  plat::dsound::ResetDirectSoundState();
  plat::HostReset();
}

}  // namespace
