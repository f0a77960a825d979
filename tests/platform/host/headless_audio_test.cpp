// The headless audio sink pulls the mixing callback at the virtual clock's
// pace, in whole chunks, and only when the program lets it.
#include <gtest/gtest.h>

#include <thread>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

namespace hl = plat::headless;

namespace {

struct Tone {
  uint64_t frames = 0;
  int calls = 0;
  int16_t value = 100;
  bool readClock = false;
};

void Fill(void* user, int16_t* out, int frames) {
  auto* t = static_cast<Tone*>(user);
  ++t->calls;
  t->frames += static_cast<uint64_t>(frames);
  for (int i = 0; i < 2 * frames; ++i) out[i] = t->value;
  if (t->readClock) plat::HostMillis();  // must not call back into itself
}

// Frames a device at `rate` has played after `micros`, rounded down to chunks.
uint64_t Expected(uint64_t micros, int rate) {
  const uint64_t frames = micros * static_cast<uint64_t>(rate) / 1'000'000u;
  return frames / hl::kAudioChunkFrames * hl::kAudioChunkFrames;
}

class HeadlessAudio : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    hl::SetClockStep(0);
  }
  void TearDown() override { plat::HostReset(); }
  Tone tone;
};

TEST_F(HeadlessAudio, PullsAtTheClocksPace) {
  ASSERT_EQ(plat::HostOpenAudio(44100, Fill, &tone), 44100);
  uint64_t elapsed = 0;
  for (int ms : {1, 16, 17, 3, 250, 1000, 7}) {
    plat::HostSleepMs(static_cast<uint32_t>(ms));
    elapsed += static_cast<uint64_t>(ms) * 1000;
    EXPECT_EQ(tone.frames, Expected(elapsed, 44100)) << elapsed;
  }
  const hl::AudioStats s = hl::GetAudioStats();
  EXPECT_EQ(s.framesPulled, tone.frames);
  EXPECT_EQ(s.nonSilentFrames, tone.frames);
  EXPECT_EQ(s.rate, 44100);
}

TEST_F(HeadlessAudio, ClockReadsDriveItToo) {
  hl::SetClockStep(10);
  tone.readClock = true;
  ASSERT_EQ(plat::HostOpenAudio(22050, Fill, &tone), 22050);
  for (int i = 0; i < 100000; ++i) plat::HostMicros();  // one virtual second
  EXPECT_EQ(tone.frames, Expected(1'000'000, 22050));
  EXPECT_GT(tone.calls, 0);
}

TEST_F(HeadlessAudio, PausedAndLockedOutputWaits) {
  ASSERT_NE(plat::HostOpenAudio(48000, Fill, &tone), 0);
  plat::HostPauseAudio(true);
  plat::HostSleepMs(1000);
  EXPECT_EQ(tone.frames, 0u);
  plat::HostPauseAudio(false);  // a paused device does not catch up afterwards
  plat::HostSleepMs(100);
  EXPECT_EQ(tone.frames, Expected(100'000, 48000));

  const uint64_t before = tone.frames;
  plat::HostLockAudio();
  plat::HostLockAudio();  // nests
  plat::HostSleepMs(100);
  plat::HostUnlockAudio();
  plat::HostSleepMs(0);
  EXPECT_EQ(tone.frames, before);
  plat::HostUnlockAudio();
  plat::HostSleepMs(0);  // the frames held back come at the next advance
  EXPECT_EQ(tone.frames, Expected(200'000, 48000));
}

TEST_F(HeadlessAudio, AnotherThreadWaitsForTheLock) {
  ASSERT_NE(plat::HostOpenAudio(48000, Fill, &tone), 0);
  plat::HostLockAudio();
  std::thread other([] { plat::HostSleepMs(500); });  // advances the clock, cannot mix
  other.join();
  EXPECT_EQ(tone.frames, 0u);
  plat::HostUnlockAudio();
  plat::HostMillis();
  EXPECT_EQ(tone.frames, Expected(500'000, 48000));
}

TEST_F(HeadlessAudio, ManualModeOnlyPumps) {
  ASSERT_NE(plat::HostOpenAudio(44100, Fill, &tone), 0);
  hl::SetAudioManual(true);
  plat::HostSleepMs(1000);
  EXPECT_EQ(tone.frames, 0u);
  hl::PumpAudio(1300);
  EXPECT_EQ(tone.frames, 1300u);
  EXPECT_EQ(tone.calls, 3);  // 512 + 512 + 276
  tone.value = 0;
  hl::PumpAudio(10);
  EXPECT_EQ(hl::GetAudioStats().nonSilentFrames, 1300u);
  EXPECT_EQ(hl::GetAudioStats().framesPulled, 1310u);
  hl::SetAudioManual(false);  // back on the clock from now on, not from the open
  plat::HostSleepMs(50);
  EXPECT_EQ(tone.frames, 1310 + Expected(50'000, 44100));
}

TEST_F(HeadlessAudio, OpenFailsCleanlyAndCloseStopsIt) {
  EXPECT_EQ(plat::HostOpenAudio(0, Fill, &tone), 0);
  hl::FailNextOpenAudio();
  EXPECT_EQ(plat::HostOpenAudio(44100, Fill, &tone), 0);
  EXPECT_FALSE(hl::GetAudioStats().open);
  ASSERT_EQ(plat::HostOpenAudio(44100, Fill, &tone), 44100);
  plat::HostCloseAudio();
  plat::HostSleepMs(1000);
  EXPECT_EQ(tone.frames, 0u);

}

}  // namespace
