#include "framework/sound/sound_system.h"

#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "platform/dmusic/dmusic.h"
#include "sound_test_util.h"

using namespace qor;
using soundtest::Pcm;
using soundtest::WavSpec;
using soundtest::WriteWav;

namespace {

class SoundStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    OpenLogFile();
  }
  void TearDown() override {
    ResetSoundState();
    plat::dsound::ResetDirectSoundState();
    EXPECT_EQ(GetAllocatorState().liveCount, 0);
  }
  static plat::dsound::Control& Ctl() { return plat::dsound::GetControl(); }
  std::string Log() const { return dir_.Read("Log.txt"); }

  coretest::ScratchDir dir_;
  static int LoadEffect() {
    WavSpec s;
    s.data = Pcm(400);
    const std::vector<uint8_t> image = WriteWav(s);
    return CreateSoundFromMemory(image.data(), static_cast<uint32_t>(image.size()), 3, -1);
  }
  static WAVEFORMATEX PrimaryFormat() {
    WAVEFORMATEX f{};
    GetSoundState().primaryBuffer->GetFormat(&f);
    return f;
  }
};

TEST_F(SoundStartup, StartsOnceAndEndsOnce) {
  EXPECT_EQ(EndDirectSound(), -1);  // never started, and says nothing
  EXPECT_EQ(Log(), "");
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_EQ(InitDirectSound(), -1);
  uint32_t status = 0;
  GetSoundState().silenceBuffer->GetStatus(&status);
  EXPECT_EQ(status, plat::DSBSTATUS_PLAYING | plat::DSBSTATUS_LOOPING);

  const int h = LoadEffect();
  ASSERT_NE(h, -1);
  PlaySoundHandle(h, 3, 1);
  ASSERT_EQ(EndDirectSound(), 0);  // deletes every sound and lets the device go
  EXPECT_EQ(GetSoundState().table.liveCount, 0);
  EXPECT_EQ(plat::dsound::GetCounters().liveBuffers, 0);
  EXPECT_EQ(IsSoundPlaying(h), -1);
  EXPECT_EQ(EndDirectSound(), -1);
  EXPECT_NE(Log().find("DirectSound の終了処理は正常に終了しました"), std::string::npos);
  EXPECT_EQ(InitDirectSound(), 0);  // and it can start again
}

TEST_F(SoundStartup, ReportListsEveryDeviceBeforeTheRates) {
  Ctl().deviceCount = 2;
  ASSERT_EQ(InitDirectSound(), 0);
  const std::string log = Log();
  const size_t list = log.find("DirectSound デバイスを列挙します");
  const size_t rates = log.find("最大サンプリングレート:200.00KHz 最小サンプリングレート:0.10KHz");
  ASSERT_NE(list, std::string::npos);
  ASSERT_NE(rates, std::string::npos);
  int devices = 0;
  for (size_t at = log.find("モジュール名:", list); at < rates; at = log.find("モジュール名:", at + 1)) ++devices;
  EXPECT_EQ(devices, 2);
  EXPECT_NE(log.find(" プライマリ １６bit = OK  ８bit = OK"), std::string::npos);
  EXPECT_NE(log.find("DirectSound の初期化は正常に終了しました"), std::string::npos);
}

TEST_F(SoundStartup, FailuresBeforeThePrimaryBufferLeaveSoundOff) {
  for (int which = 0; which < 4; ++which) {
    plat::dsound::ResetDirectSoundState();
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    Ctl().failCreateInterface = which == 0;
    Ctl().noDevice = which == 1;
    Ctl().failCooperativeLevel = which == 2;
    Ctl().failPrimary = which == 3;
    EXPECT_EQ(InitDirectSound(), -1) << which;
    EXPECT_EQ(GetSoundState().directSound, nullptr) << which;
    EXPECT_EQ(LoadEffect(), -1) << which;
    EXPECT_EQ(EndDirectSound(), -1) << which;
    EXPECT_EQ(plat::dsound::GetCounters().liveBuffers, 0) << which;
  }
}

TEST_F(SoundStartup, LaterFailuresAreLoggedAndStartUpGoesOn) {
  Ctl().failSetFormat = true;
  Ctl().failNextCreates = 1;  // the silence buffer
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_EQ(GetSoundState().silenceBuffer, nullptr);
  EXPECT_NE(LoadEffect(), -1);
  EndDirectSound();

  Ctl().failNextLocks = 1;  // the silence buffer's lock
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_EQ(GetSoundState().silenceBuffer, nullptr);
  EXPECT_EQ(plat::dsound::GetCounters().liveBuffers, 1);  // the primary alone
}

TEST_F(SoundStartup, PrimaryFormatFollowsTheDevice) {
  ASSERT_EQ(InitDirectSound(), 0);
  WAVEFORMATEX f = PrimaryFormat();
  EXPECT_EQ(f.nChannels, 2);
  EXPECT_EQ(f.wBitsPerSample, 16);
  EXPECT_EQ(f.nSamplesPerSec, 44100u);  // the device goes higher; capped
  EXPECT_EQ(f.nAvgBytesPerSec, 176400u);
  EndDirectSound();

  Ctl().capsFlags = plat::DSCAPS_PRIMARYMONO | plat::DSCAPS_PRIMARY8BIT;
  Ctl().maxSampleRate = 22050;
  ASSERT_EQ(InitDirectSound(), 0);
  f = PrimaryFormat();
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.wBitsPerSample, 8);
  EXPECT_EQ(f.nSamplesPerSec, 22050u);
  EXPECT_EQ(f.nBlockAlign, 1);
}

TEST_F(SoundStartup, MusicRoadFallsBackToTheSoundDevice) {
  plat::dmusic::ResetDirectMusicState();
  SetDirectMusicMode(1);
  ASSERT_EQ(InitDirectSound(), 0);
  EXPECT_NE(Log().find("前バージョンでの初期化処理に移ります"), std::string::npos);
  EXPECT_EQ(plat::dmusic::GetCounters().createCalls, 1);
  EXPECT_EQ(GetSoundState().directMusicMode, 0u);
  EXPECT_NE(LoadEffect(), -1);
}

}  // namespace
