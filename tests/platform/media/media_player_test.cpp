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

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 32;
constexpr int kFrames = 6;

// Frame n's B, G, R, X pixels: pseudo-random, so any conversion error shows.
std::vector<uint8_t> SourceFrame(int n) {
  std::vector<uint8_t> p(kWidth * kHeight * 4);
  uint32_t seed = 1234u + static_cast<uint32_t>(n) * 77u;
  for (size_t i = 0; i < p.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    p[i] = i % 4 == 3 ? 0 : static_cast<uint8_t>(seed >> 24);
  }
  return p;
}

constexpr int kSoundRate = 44100;
constexpr int kSoundFrames = kSoundRate * 6 / 10;

// Sample frame i of the movie's sound, left and right.
int16_t SoundAt(int i, int channel) {
  const int left = (i * 37) % 20000 - 10000;
  return static_cast<int16_t>(channel == 0 ? left : -left / 2);
}

// PCM sound, when asked, as a second stream of the movie.
bool AddSound(AVFormatContext* out, std::vector<AVPacket*>* packets, AVStream** stream) {
  *stream = avformat_new_stream(out, nullptr);
  AVCodecParameters* p = (*stream)->codecpar;
  p->codec_type = AVMEDIA_TYPE_AUDIO;
  p->codec_id = AV_CODEC_ID_PCM_S16LE;
  p->sample_rate = kSoundRate;
  av_channel_layout_default(&p->ch_layout, 2);
  p->format = AV_SAMPLE_FMT_S16;
  p->bits_per_coded_sample = 16;
  p->block_align = 4;
  (*stream)->time_base = AVRational{1, kSoundRate};
  constexpr int kChunk = 4410;
  for (int start = 0; start < kSoundFrames; start += kChunk) {
    AVPacket* packet = av_packet_alloc();
    if (av_new_packet(packet, kChunk * 4) < 0) return false;
    int16_t* samples = reinterpret_cast<int16_t*>(packet->data);
    for (int i = 0; i < kChunk; ++i) {
      samples[2 * i] = SoundAt(start + i, 0);
      samples[2 * i + 1] = SoundAt(start + i, 1);
    }
    packet->pts = packet->dts = start;
    packet->duration = kChunk;
    packets->push_back(packet);
  }
  return true;
}

// A lossless FFV1 movie in a NUT container at 10 frames a second, written by
// libavcodec and libavformat, with PCM sound when asked.
bool WriteLosslessMovie(const std::string& path, bool withSound = false) {
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, "nut", path.c_str()) < 0) return false;
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
  AVStream* stream = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = kWidth;
  enc->height = kHeight;
  enc->pix_fmt = AV_PIX_FMT_BGR0;
  enc->time_base = AVRational{1, 10};
  stream->time_base = enc->time_base;
  std::vector<AVPacket*> sound;
  AVStream* soundStream = nullptr;
  if (withSound && !AddSound(out, &sound, &soundStream)) return false;
  bool ok = avcodec_open2(enc, codec, nullptr) == 0 && avcodec_parameters_from_context(stream->codecpar, enc) >= 0 &&
            avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  for (int n = 0; ok && n <= kFrames; ++n) {
    if (n < kFrames) {
      frame->format = enc->pix_fmt;
      frame->width = kWidth;
      frame->height = kHeight;
      av_frame_get_buffer(frame, 0);
      const auto pixels = SourceFrame(n);
      for (int r = 0; r < kHeight; ++r) memcpy(frame->data[0] + r * frame->linesize[0], &pixels[r * kWidth * 4], kWidth * 4);
      frame->pts = n;
      ok = avcodec_send_frame(enc, frame) == 0;
      av_frame_unref(frame);
    } else {
      avcodec_send_frame(enc, nullptr);
    }
    while (ok && avcodec_receive_packet(enc, packet) == 0) {
      av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
      packet->stream_index = stream->index;
      ok = av_interleaved_write_frame(out, packet) >= 0;
    }
  }
  for (AVPacket* packet : sound) {
    packet->stream_index = soundStream->index;
    av_packet_rescale_ts(packet, AVRational{1, kSoundRate}, soundStream->time_base);
    if (ok) ok = av_interleaved_write_frame(out, packet) >= 0;
    av_packet_free(&packet);
  }
  if (ok) ok = av_write_trailer(out) == 0;
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
  return ok;
}

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::headless::Reset();
    plat::ResetMediaStandIn();
    char dir[] = "/tmp/orb-media-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.nut"));
    char name[512];
    ASSERT_GT(plat::HostPathToCp932((dir_ + "/clip.nut").c_str(), name, sizeof name), 0);
    name_ = name;
  }
  void TearDown() override {
    std::remove((dir_ + "/clip.nut").c_str());
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
  std::rename((dir_ + "/clip.nut").c_str(), (dir_ + "/clip2.nut").c_str());
  for (const char* text : {"not a movie at all", "ffconcat version 1.0\nfile clip2.nut\n"}) {
    FILE* junk = std::fopen((dir_ + "/clip.nut").c_str(), "wb");
    ASSERT_NE(junk, nullptr);
    std::fputs(text, junk);
    std::fclose(junk);
    EXPECT_EQ(plat::OpenMediaFile(name_.c_str()), nullptr) << text;
  }
  std::remove((dir_ + "/clip2.nut").c_str());
  EXPECT_EQ(plat::OpenMediaFile("Z:\\no\\such\\movie.avi"), nullptr);
}

TEST_F(MediaPlayerTest, TheSoundPlaysThroughTheSoundDeviceWhileTheClockRuns) {
  ASSERT_TRUE(WriteLosslessMovie(dir_ + "/clip.nut", true));
  plat::dsound::ResetDirectSoundState();
  plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
  plat::IDirectSound* device = nullptr;
  ASSERT_EQ(plat::CreateDirectSound(&device), plat::DS_OK);
  ASSERT_EQ(device->Initialize(nullptr), plat::DS_OK);
  plat::SetMediaSoundDevice(device);
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
  plat::SetMediaSoundDevice(nullptr);
  device->Release();
  plat::dsound::ResetDirectSoundState();
}
