#include "platform/media/media_player.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/host/headless/headless_control.h"
#include "platform/kernel/path_map.h"
#include "platform/kernel/threads.h"

#include "manual_sound_device.h"
#include "support/lossless_movie.h"

namespace {

using namespace losslessmovie;

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::headless::Reset();
    plat::ResetMediaStandIn();
    char dir[] = "/tmp/orb-media-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.avi"));
    char name[512];
    ASSERT_GT(plat::HostPathToCp932((dir_ + "/clip.avi").c_str(), name, sizeof name), 0);
    name_ = name;
  }
  void TearDown() override {
    std::remove((dir_ + "/clip.avi").c_str());
    std::remove(dir_.c_str());
  }
  std::string dir_, name_;
};

const plat::MediaSampleFormat kBgr32{32, 0xFF0000, 0xFF00, 0xFF};

}  // namespace

TEST_F(MediaPlayerTest, ALosslessMovieReadsBackExactlyAndEndsThenSeeks) {
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  int32_t w = 0, h = 0;
  plat::GetMediaVideoSize(file, &w, &h);
  EXPECT_EQ(w, kWidth);
  EXPECT_EQ(h, kHeight);
  EXPECT_EQ(plat::MediaHasAudio(file), 0);
  const int32_t pitch = kWidth * 4 + 8;  // padded rows stay padded
  std::vector<uint8_t> block(pitch * kHeight, 0xEE);
  plat::MediaSample* sample = plat::CreateMediaSample(file, kBgr32, block.data(), pitch, kWidth, kHeight);
  ASSERT_NE(sample, nullptr);
  for (int n = 0; n < kFrames; ++n) {
    ASSERT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateOk) << n;
    const auto source = SourceFrame(n);
    for (int r = 0; r < kHeight; ++r) {
      for (int c = 0; c < kWidth; ++c) {
        for (int k = 0; k < 3; ++k) ASSERT_EQ(block[r * pitch + c * 4 + k], source[(r * kWidth + c) * 4 + k]) << n;
      }
      ASSERT_EQ(block[r * pitch + kWidth * 4], 0xEE);
    }
  }
  EXPECT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateEnd);
  ASSERT_EQ(plat::SeekMedia(file, 3 * 1000000), 0);  // 0.3 s: frame 3
  ASSERT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateOk);
  EXPECT_EQ(block[0], SourceFrame(3)[0]);
  EXPECT_EQ(block[pitch + 5], SourceFrame(3)[kWidth * 4 + 5]);
  plat::CloseMediaFile(file);  // the sample goes with it
}

TEST_F(MediaPlayerTest, AsynchronousUpdatesWaitForTheRunningStreamClock) {
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  std::vector<uint8_t> block(kWidth * 4 * kHeight);
  plat::MediaSample* sample = plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4, kWidth, kHeight);
  plat::Event* event = plat::CreateEvent(true, false);
  EXPECT_EQ(plat::GetMediaTime(file), 0);
  ASSERT_EQ(plat::UpdateMediaSample(sample, event), plat::kMediaUpdatePending);  // frame 0 at time 0
  plat::SleepRealMs(30);
  EXPECT_EQ(plat::WaitEvent(event, 0), 1) << "a stopped stream delivers nothing";
  plat::RunMedia(file);
  ASSERT_EQ(plat::WaitEvent(event, 5000), 0);
  EXPECT_EQ(plat::MediaSampleResult(sample), plat::kMediaUpdateOk);
  plat::ResetEvent(event);
  // Frame 1 is due at 0.1 s of stream time: not before the host clock gets there.
  plat::headless::SetClock(plat::headless::PeekClock());
  ASSERT_EQ(plat::UpdateMediaSample(sample, event), plat::kMediaUpdatePending);
  EXPECT_EQ(plat::UpdateMediaSample(sample, event), plat::kMediaUpdatePending);
  plat::SleepRealMs(30);
  EXPECT_EQ(plat::WaitEvent(event, 0), 1);
  plat::headless::SetClock(plat::headless::PeekClock() + 100000);
  ASSERT_EQ(plat::WaitEvent(event, 5000), 0);
  EXPECT_GE(plat::GetMediaTime(file), 1000000);
  plat::StopMedia(file);
  const int64_t stopped = plat::GetMediaTime(file);
  plat::headless::SetClock(plat::headless::PeekClock() + 500000);
  EXPECT_EQ(plat::GetMediaTime(file), stopped);
  plat::CloseMediaFile(file);
  plat::CloseEvent(event);
}

// A request waiting for its frame's time (here a stream that is not
// running) is made to deliver when a caller asks for a frame and waits; the
// wait must not last until the stream runs, which may be never.
TEST_F(MediaPlayerTest, AWaitingUpdateHurriesARequestStillWaitingForItsTime) {
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  std::vector<uint8_t> block(kWidth * 4 * kHeight);
  plat::MediaSample* sample = plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4, kWidth, kHeight);
  plat::Event* event = plat::CreateEvent(true, false);
  ASSERT_EQ(plat::UpdateMediaSample(sample, event), plat::kMediaUpdatePending);
  plat::SleepRealMs(20);
  ASSERT_EQ(plat::WaitEvent(event, 0), 1) << "a stopped stream delivers nothing by itself";
  EXPECT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateOk);
  EXPECT_EQ(plat::WaitEvent(event, 0), 0) << "the pending request was delivered and its event set";
  EXPECT_EQ(plat::MediaSampleResult(sample), plat::kMediaUpdateOk);
  EXPECT_EQ(plat::GetMediaTime(file), 0) << "the stream did not run";
  plat::CloseMediaFile(file);
  plat::CloseEvent(event);
}

TEST_F(MediaPlayerTest, EachStepCanBeMadeToFailAndBadInputIsRefused) {
  for (plat::MediaStep step : {plat::kMediaStepOpen, plat::kMediaStepStreams, plat::kMediaStepCodec}) {
    plat::FailNextMediaStep(step);
    EXPECT_EQ(plat::OpenMediaFile(name_.c_str()), nullptr) << step;
  }
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  std::vector<uint8_t> block(kWidth * 4 * kHeight);
  plat::FailNextMediaStep(plat::kMediaStepSample);
  EXPECT_EQ(plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4, kWidth, kHeight), nullptr);
  const plat::MediaSampleFormat odd{32, 0xFF, 0xFF00, 0xFF0000};
  EXPECT_EQ(plat::CreateMediaSample(file, odd, block.data(), kWidth * 4, kWidth, kHeight), nullptr);
  EXPECT_EQ(plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4 - 1, kWidth, kHeight), nullptr);
  EXPECT_EQ(plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4, kWidth + 2, kHeight), nullptr);
  plat::MediaSample* sample = plat::CreateMediaSample(file, kBgr32, block.data(), kWidth * 4, kWidth, kHeight);
  ASSERT_NE(sample, nullptr);
  plat::FailNextMediaStep(plat::kMediaStepUpdate);
  EXPECT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateError);
  plat::FailNextMediaStep(plat::kMediaStepSeek);
  EXPECT_EQ(plat::SeekMedia(file, 0), -1);
  plat::CloseMediaFile(file);

  // A file that is no movie, and a playlist that would have other files read.
  std::rename((dir_ + "/clip.avi").c_str(), (dir_ + "/clip2.avi").c_str());
  for (const char* text : {"not a movie at all", "ffconcat version 1.0\nfile clip2.avi\n"}) {
    FILE* junk = std::fopen((dir_ + "/clip.avi").c_str(), "wb");
    ASSERT_NE(junk, nullptr);
    std::fputs(text, junk);
    std::fclose(junk);
    EXPECT_EQ(plat::OpenMediaFile(name_.c_str()), nullptr) << text;
  }
  std::remove((dir_ + "/clip2.avi").c_str());
  EXPECT_EQ(plat::OpenMediaFile("Z:\\no\\such\\movie.avi"), nullptr);
}

// NUT files are refused at once: a whole movie (the container is not one a
// movie for this program comes in) and two damaged ones on which the NUT
// reader spun for ever, probing and delivering a frame.
TEST_F(MediaPlayerTest, NutFilesAreRefusedWithoutBeingRead) {
  ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.avi", false, "nut"));
  EXPECT_EQ(plat::OpenMediaFile(name_.c_str()), nullptr);
  for (const char* file : {"nut_probe_spins.nut", "nut_far_frame_time.nut"}) {
    char name[512];
    ASSERT_GT(plat::HostPathToCp932((std::string(ORB_TEST_DATA_DIR) + "/media/" + file).c_str(), name, sizeof name), 0);
    EXPECT_EQ(plat::OpenMediaFile(name), nullptr) << file;
  }
}

TEST_F(MediaPlayerTest, TheSoundPlaysThroughTheSoundDeviceWhileTheClockRuns) {
  ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.avi", true));
  mediatest::ManualSoundDevice sound;
  ASSERT_NE(sound.device, nullptr);
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(plat::MediaHasAudio(file), 1);
  std::vector<int16_t> mixed(2 * 8820);
  plat::dsound::AdvanceManual(4410, mixed.data());
  EXPECT_EQ(std::count(mixed.begin(), mixed.begin() + 8820, 0), 8820) << "silent while stopped";
  plat::RunMedia(file);
  plat::dsound::AdvanceManual(8820, mixed.data());
  for (int i = 0; i < 8820; ++i) {
    ASSERT_EQ(mixed[2 * i], SoundAt(i, 0)) << i;
    ASSERT_EQ(mixed[2 * i + 1], SoundAt(i, 1)) << i;
  }
  // Past the first half second the worker has refilled the ring: each round
  // waits for its refill before playing on.
  for (int round = 0; round < 4; ++round) {
    const int writes = plat::MediaStepCalls(plat::kMediaStepSoundWrite);
    for (int wait = 0; wait < 5000 && plat::MediaStepCalls(plat::kMediaStepSoundWrite) == writes; ++wait) {
      plat::SleepRealMs(1);
    }
    plat::dsound::AdvanceManual(4410, mixed.data());
    const int at = 8820 + round * 4410;
    for (int i = 0; i < 4410 && at + i < kSoundFrames; ++i) ASSERT_EQ(mixed[2 * i], SoundAt(at + i, 0)) << at + i;
  }
  plat::StopMedia(file);
  plat::dsound::AdvanceManual(4410, mixed.data());
  EXPECT_EQ(std::count(mixed.begin(), mixed.begin() + 8820, 0), 8820);
  plat::CloseMediaFile(file);
}

// 8-bit sound is unsigned with its silence at 128: each byte b plays as the
// 16-bit sample (b - 128) x 256, every one of the 256 values exactly.
TEST_F(MediaPlayerTest, AnEightBitSoundtrackPlaysCentredOn128AtFullScale) {
  ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.avi", true, "avi", 8));
  mediatest::ManualSoundDevice sound;
  ASSERT_NE(sound.device, nullptr);
  plat::MediaFile* file = plat::OpenMediaFile(name_.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(plat::MediaHasAudio(file), 1);
  plat::RunMedia(file);
  std::vector<int16_t> mixed(2 * 2048);
  plat::dsound::AdvanceManual(2048, mixed.data());
  for (int i = 0; i < 2048; ++i) {
    for (int c = 0; c < 2; ++c) ASSERT_EQ(mixed[2 * i + c], (SoundByteAt(i, c) - 128) * 256) << i << " " << c;
  }
  plat::CloseMediaFile(file);
}
