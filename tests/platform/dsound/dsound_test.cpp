#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

using namespace plat;

namespace {

WAVEFORMATEX Pcm(int channels, int rate, int bits) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return WAVEFORMATEX{WAVE_FORMAT_PCM, static_cast<uint16_t>(channels), static_cast<uint32_t>(rate),
                      static_cast<uint32_t>(rate) * align, align, static_cast<uint16_t>(bits), 0};
}

class DsoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dsound::ResetDirectSoundState();
    dsound::SetSinkMode(dsound::SinkMode::Manual);
    ASSERT_EQ(CreateDirectSound(&ds_), DS_OK);
    ASSERT_EQ(ds_->Initialize(nullptr), DS_OK);
  }
  void TearDown() override { dsound::ResetDirectSoundState(); }

  IDirectSoundBuffer* Make(const WAVEFORMATEX& f, uint32_t bytes) {
    DSBUFFERDESC d{kDsBufferDescSize, 0x80E2, bytes, 0, &f};
    IDirectSoundBuffer* b = nullptr;
    EXPECT_EQ(ds_->CreateSoundBuffer(&d, &b, nullptr), DS_OK);
    return b;
  }
  // Writes `data` at offset 0 through a lock.
  void Fill(IDirectSoundBuffer* b, const void* data, uint32_t bytes) {
    void *p1, *p2;
    uint32_t s1, s2;
    ASSERT_EQ(b->Lock(0, bytes, &p1, &s1, &p2, &s2, 0), DS_OK);
    ASSERT_EQ(s1, bytes);
    std::memcpy(p1, data, bytes);
    ASSERT_EQ(b->Unlock(p1, s1, p2, s2), DS_OK);
  }
  uint32_t Cursor(IDirectSoundBuffer* b) {
    uint32_t play = 0, write = 0;
    EXPECT_EQ(b->GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }
  uint32_t Status(IDirectSoundBuffer* b) {
    uint32_t s = 99;
    EXPECT_EQ(b->GetStatus(&s), DS_OK);
    return s;
  }
  std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(2 * static_cast<size_t>(frames));
    dsound::AdvanceManual(frames, out.data());
    return out;
  }

  IDirectSound* ds_ = nullptr;
};

// The buffers take PCM of one or two channels, 8 or 16 bits, a rate from
// 100 to 200000 Hz, a block align of channels x bits / 8 and a byte rate of
// rate x block align. Each row breaks one condition (or keeps to it at its
// limit); the other fields are made to agree with the one changed.
TEST_F(DsoundTest, EachConditionOfTheFormatRuleRefusesOnItsOwn) {
  enum Field { kTag, kChannels, kBits, kRate, kAlign, kAverage };
  const struct {
    Field field;
    int64_t value;  // kAlign, kAverage: added to what the rule gives
    bool playable;
  } rows[] = {
      {kTag, 1, true},         {kTag, 0, false},         {kTag, 2, false},         {kChannels, 2, true},
      {kChannels, 0, false},   {kChannels, 3, false},    {kBits, 8, true},         {kBits, 16, true},
      {kBits, 7, false},       {kBits, 9, false},        {kBits, 15, false},       {kBits, 17, false},
      {kBits, 24, false},      {kRate, 100, true},       {kRate, 99, false},       {kRate, 200000, true},
      {kRate, 200001, false},  {kAlign, 0, true},        {kAlign, 1, false},       {kAlign, -1, false},
      {kAverage, 0, true},     {kAverage, 1, false},     {kAverage, -1, false},
  };
  for (const auto& row : rows) {
    int64_t tag = 1, channels = 1, bits = 16, rate = 22050, alignDelta = 0, averageDelta = 0;
    switch (row.field) {
      case kTag: tag = row.value; break;
      case kChannels: channels = row.value; break;
      case kBits: bits = row.value; break;
      case kRate: rate = row.value; break;
      case kAlign: alignDelta = row.value; break;
      case kAverage: averageDelta = row.value; break;
    }
    const int64_t align = channels * bits / 8 + alignDelta;
    const WAVEFORMATEX f{static_cast<uint16_t>(tag),   static_cast<uint16_t>(channels),
                         static_cast<uint32_t>(rate),  static_cast<uint32_t>(rate * align + averageDelta),
                         static_cast<uint16_t>(align), static_cast<uint16_t>(bits),
                         0};
    SCOPED_TRACE(testing::Message() << "field " << row.field << " value " << row.value);
    EXPECT_EQ(IsPlayableFormat(&f), row.playable);
    DSBUFFERDESC d{kDsBufferDescSize, 0x80E2, 4096, 0, &f};
    IDirectSoundBuffer* b = nullptr;
    EXPECT_EQ(ds_->CreateSoundBuffer(&d, &b, nullptr), row.playable ? DS_OK : DSERR_BADFORMAT);
    EXPECT_EQ(b != nullptr, row.playable);
    if (b != nullptr) b->Release();
  }
  EXPECT_FALSE(IsPlayableFormat(nullptr));
}

TEST_F(DsoundTest, CursorsMoveOnlyWhenTheManualSinkAdvances) {
  IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 4000);  // 1000 frames
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Cursor(b), 0u);
  dsound::AdvanceManual(100);
  EXPECT_EQ(Cursor(b), 400u);
  EXPECT_EQ(Status(b), DSBSTATUS_PLAYING);
  uint32_t play, write;
  b->GetCurrentPosition(&play, &write);
  EXPECT_EQ(write, (100u + 44100 * 15 / 1000) * 4);  // the write cursor leads by 15 ms

  // Stop keeps the cursor; play goes on from it.
  ASSERT_EQ(b->Stop(), DS_OK);
  dsound::AdvanceManual(300);
  EXPECT_EQ(Cursor(b), 400u);
  EXPECT_EQ(Status(b), 0u);
  b->Play(0, 0, 0);
  dsound::AdvanceManual(899);
  EXPECT_EQ(Cursor(b), 3996u);
  // The end of a one-shot stops it with its cursor back at the start.
  dsound::AdvanceManual(1);
  EXPECT_EQ(Status(b), 0u);
  EXPECT_EQ(Cursor(b), 0u);
}

TEST_F(DsoundTest, LoopingWrapsAndReportsTheLoopingBit) {
  IDirectSoundBuffer* b = Make(Pcm(1, 44100, 8), 1000);
  b->Play(0, 0, DSBPLAY_LOOPING);
  ASSERT_EQ(b->SetCurrentPosition(999), DS_OK);
  dsound::AdvanceManual(3);
  EXPECT_EQ(Cursor(b), 2u);
  EXPECT_EQ(Status(b), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

TEST_F(DsoundTest, UnityMixReproducesSixteenBitStereoExactly) {
  const int n = 700;
  std::vector<int16_t> src(2 * n);
  for (int i = 0; i < 2 * n; ++i) src[i] = static_cast<int16_t>((i * 7919) % 65536 - 32768);
  IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 4 * n);
  Fill(b, src.data(), 4 * n);
  b->Play(0, 0, 0);
  std::vector<int16_t> out = Mix(n + 10);
  for (int i = 0; i < 2 * n; ++i) ASSERT_EQ(out[i], src[i]) << i;
  for (int i = 2 * n; i < 2 * (n + 10); ++i) ASSERT_EQ(out[i], 0);
}

TEST_F(DsoundTest, EightBitIsCentredAndMonoSpreadToBothSides) {
  const uint8_t src[6] = {0, 64, 128, 192, 255, 128};
  for (int channels : {1, 2}) {
    IDirectSoundBuffer* b = Make(Pcm(channels, 44100, 8), 6);
    Fill(b, src, 6);
    b->Play(0, 0, 0);
    std::vector<int16_t> out = Mix(6 / channels);
    for (int i = 0; i < 12 / channels; ++i) EXPECT_EQ(out[i], (src[channels == 1 ? i / 2 : i] - 128) * 256) << i;
    b->Release();
  }
}

TEST_F(DsoundTest, HalfRateSourceIsInterpolatedBetweenItsFrames) {
  const int16_t src[8] = {0, 0, 1000, -1000, 3000, 3000, -2000, 0};  // 4 stereo frames
  IDirectSoundBuffer* b = Make(Pcm(2, 22050, 16), sizeof src);
  Fill(b, src, sizeof src);
  b->Play(0, 0, 0);
  std::vector<int16_t> out = Mix(4);
  EXPECT_EQ(Cursor(b), 2u * 4);  // two source frames for four output frames
  // Reference: linear interpolation at half steps; past the last frame a
  // one-shot holds it rather than reaching back to its start.
  const std::vector<int16_t> rest = Mix(4);
  out.insert(out.end(), rest.begin(), rest.end());
  EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 500, -500, 1000, -1000, 2000, 1000, 3000, 3000, 500, 1500, -2000, 0,
                                        -2000, 0}));
}

TEST_F(DsoundTest, LockSplitsOnlyWhenItWrapsPastTheEnd) {
  IDirectSoundBuffer* b = Make(Pcm(1, 8000, 8), 100);
  void *p1, *p2;
  uint32_t s1, s2;
  ASSERT_EQ(b->Lock(60, 40, &p1, &s1, &p2, &s2, 0), DS_OK);  // ends exactly at the end
  EXPECT_EQ(s1, 40u);
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(s2, 0u);
  ASSERT_EQ(b->Unlock(p1, s1, static_cast<uint8_t*>(p1) + s1, 0), DS_OK);  // an empty part at the very end
  ASSERT_EQ(b->Lock(90, 30, &p1, &s1, &p2, &s2, 0), DS_OK);
  EXPECT_EQ(s1, 10u);
  EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 90);
  EXPECT_EQ(s2, 20u);
  EXPECT_EQ(b->Unlock(p1, 11, nullptr, 0), DSERR_INVALIDPARAM);  // past the end
  ASSERT_EQ(b->Unlock(p1, s1, p2, s2), DS_OK);
  EXPECT_EQ(b->Lock(100, 1, &p1, &s1, &p2, &s2, 0), DSERR_INVALIDPARAM);
  // A position inside the last, partial frame is that frame's start.
  IDirectSoundBuffer* odd = Make(Pcm(2, 8000, 16), 10);
  ASSERT_EQ(odd->SetCurrentPosition(9), DS_OK);
  EXPECT_EQ(Cursor(odd), 4u);
}

TEST_F(DsoundTest, FrequencyControlChangesTheCursorRate) {
  IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 40000);
  ASSERT_EQ(b->SetFrequency(88200), DS_OK);
  b->Play(0, 0, 0);
  dsound::AdvanceManual(100);
  EXPECT_EQ(Cursor(b), 200u * 4);
  ASSERT_EQ(b->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
  dsound::AdvanceManual(100);
  EXPECT_EQ(Cursor(b), 300u * 4);
}

TEST_F(DsoundTest, VolumeAndPanFollowTheDecibelCurve) {
  std::vector<int16_t> src(2 * 16, 20000);
  IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 64);
  Fill(b, src.data(), 64);
  ASSERT_EQ(b->SetVolume(-600), DS_OK);
  ASSERT_EQ(b->SetPan(300), DS_OK);  // 3 dB off the left
  b->Play(0, 0, 0);
  std::vector<int16_t> out = Mix(1);
  EXPECT_NEAR(out[0], 20000 * std::pow(10.0, -900 / 2000.0), 1.0);
  EXPECT_NEAR(out[1], 20000 * std::pow(10.0, -600 / 2000.0), 1.0);
  ASSERT_EQ(b->SetPan(DSBPAN_RIGHT), DS_OK);
  out = Mix(1);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(b->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);
  ASSERT_EQ(b->SetVolume(DSBVOLUME_MIN), DS_OK);
  out = Mix(1);
  EXPECT_EQ(out[1], 0);
}

TEST_F(DsoundTest, VoicesSumAndSaturate) {
  std::vector<int16_t> loud(2 * 4, 30000), quiet(2 * 4, -30000);
  IDirectSoundBuffer* a = Make(Pcm(2, 44100, 16), 16);
  IDirectSoundBuffer* b = Make(Pcm(2, 44100, 16), 16);
  IDirectSoundBuffer* c = Make(Pcm(2, 44100, 16), 16);
  Fill(a, loud.data(), 16);
  Fill(b, loud.data(), 16);
  Fill(c, quiet.data(), 16);
  a->Play(0, 0, 0);
  b->Play(0, 0, 0);
  EXPECT_EQ(Mix(1)[0], 32767);
  c->Play(0, 0, 0);
  EXPECT_EQ(Mix(1)[0], 30000);
  for (auto* x : {a, b}) x->Stop();
  c->SetCurrentPosition(0);
  Fill(b, quiet.data(), 16);
  b->SetCurrentPosition(0);
  b->Play(0, 0, 0);
  EXPECT_EQ(Mix(1)[1], -32768);
}

TEST_F(DsoundTest, DuplicatesShareSamplesButNotCursors) {
  const int16_t src[4] = {100, 200, 300, 400};
  IDirectSoundBuffer* a = Make(Pcm(2, 44100, 16), 8);
  IDirectSoundBuffer* d = nullptr;
  ASSERT_EQ(ds_->DuplicateSoundBuffer(a, &d), DS_OK);
  Fill(a, src, 8);  // written after duplication: still shared
  d->Play(0, 0, 0);
  std::vector<int16_t> out = Mix(1);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(out[1], 200);
  EXPECT_EQ(Cursor(a), 0u);
  EXPECT_EQ(Cursor(d), 4u);
  // The samples outlive the original.
  a->Release();
  out = Mix(1);
  EXPECT_EQ(out[0], 300);
  EXPECT_EQ(dsound::GetCounters().liveBuffers, 1);
  d->Release();
  EXPECT_EQ(dsound::GetCounters().liveBuffers, 0);
}

TEST_F(DsoundTest, ASecondDeviceIsRefusedAndReleaseFreesEveryBuffer) {
  IDirectSound* second = nullptr;
  EXPECT_EQ(CreateDirectSound(&second), DSERR_ALLOCATED);
  IDirectSoundBuffer* b = Make(Pcm(1, 8000, 8), 100);
  ASSERT_EQ(ds_->DuplicateSoundBuffer(b, &b), DS_OK);
  ds_->Release();
  EXPECT_EQ(dsound::GetCounters().liveBuffers, 0);
}

// The host sink: the headless host pulls the mixer at the virtual clock's
// pace; without an audio output the device keeps time by the clock. Either
// way a one-shot plays and then ends.
class DsoundHostSink : public ::testing::Test {
 protected:
  void SetUp() override {
    dsound::ResetDirectSoundState();
    headless::Reset();
  }
  void TearDown() override {
    dsound::ResetDirectSoundState();
    HostReset();
  }
  IDirectSoundBuffer* Start(uint32_t frames) {
    EXPECT_EQ(CreateDirectSound(&ds_), DS_OK);
    EXPECT_EQ(ds_->Initialize(nullptr), DS_OK);
    const WAVEFORMATEX f = Pcm(2, 44100, 16);
    DSBUFFERDESC d{kDsBufferDescSize, 0x80E2, frames * 4, 0, &f};
    IDirectSoundBuffer* b = nullptr;
    EXPECT_EQ(ds_->CreateSoundBuffer(&d, &b, nullptr), DS_OK);
    return b;
  }
  static uint32_t Status(IDirectSoundBuffer* b) {
    uint32_t s = 99;
    b->GetStatus(&s);
    return s;
  }
  IDirectSound* ds_ = nullptr;
};

TEST_F(DsoundHostSink, HeadlessOutputCarriesTheMix) {
  headless::SetClockStep(0);
  IDirectSoundBuffer* b = Start(4410);  // 100 ms
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(headless::GetAudioStats().open);
  std::vector<int16_t> tone(2 * 4410, 1000);
  void *p1, *p2;
  uint32_t s1, s2;
  ASSERT_EQ(b->Lock(0, 4410 * 4, &p1, &s1, &p2, &s2, 0), DS_OK);
  std::memcpy(p1, tone.data(), s1);
  b->Unlock(p1, s1, p2, s2);
  b->Play(0, 0, 0);
  HostSleepMs(50);
  uint32_t play = 0;
  b->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(Status(b), DSBSTATUS_PLAYING);
  EXPECT_EQ(play, 2048u * 4);  // four whole chunks of the sink
  HostSleepMs(100);
  EXPECT_EQ(Status(b), 0u);
  EXPECT_EQ(headless::GetAudioStats().nonSilentFrames, 4410u);
  ds_->Release();
  EXPECT_FALSE(headless::GetAudioStats().open);
}

TEST_F(DsoundHostSink, NoOutputKeepsTimeByTheClock) {
  headless::FailNextOpenAudio();
  IDirectSoundBuffer* b = Start(441);  // 10 ms
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(headless::GetAudioStats().open);
  b->Play(0, 0, 0);
  HostSleepMs(5);
  EXPECT_EQ(Status(b), DSBSTATUS_PLAYING);
  HostSleepMs(6);
  EXPECT_EQ(Status(b), 0u);
}

}  // namespace
