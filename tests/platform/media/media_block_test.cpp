// The movie player's sample blocks at every width, in every container it
// opens: frames converted to 16, 24 and 32 bits into blocks of exactly
// pitch x height bytes, with guard bytes after them. The pixels are checked
// against FFmpeg's own decode converted into a frame of its own allocation
// (and, for the lossless movies, against the pattern the movie was made
// from). Then the refusals: containers and codecs outside the lists.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dsound/dsound.h"
#include "platform/host/headless/headless_control.h"
#include "platform/kernel/path_map.h"
#include "platform/media/media_player.h"
#include "manual_sound_device.h"
#include "support/encoded_movie.h"

namespace {

using encodedmovie::Kind;

constexpr size_t kGuard = 64;

struct Depth {
  plat::MediaSampleFormat format;
  AVPixelFormat oracle;
};
const Depth kDepths[] = {
    {{16, 0xF800, 0x7E0, 0x1F}, AV_PIX_FMT_RGB565LE},
    {{24, 0xFF0000, 0xFF00, 0xFF}, AV_PIX_FMT_BGR24},
    {{32, 0xFF0000, 0xFF00, 0xFF}, AV_PIX_FMT_BGR0},
};

// Every frame of the file as FFmpeg decodes it, converted by swscale into a
// frame FFmpeg allocated, as packed rows of width x bytes per pixel.
std::vector<std::vector<uint8_t>> OracleFrames(const std::string& path, AVPixelFormat target) {
  std::vector<std::vector<uint8_t>> frames;
  AVFormatContext* in = nullptr;
  if (avformat_open_input(&in, path.c_str(), nullptr, nullptr) != 0) return frames;
  const AVCodec* decoder = nullptr;
  const int index = avformat_find_stream_info(in, nullptr) >= 0
                        ? av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)
                        : -1;
  AVCodecContext* codec = index >= 0 ? avcodec_alloc_context3(decoder) : nullptr;
  if (codec == nullptr || avcodec_parameters_to_context(codec, in->streams[index]->codecpar) < 0 ||
      avcodec_open2(codec, decoder, nullptr) < 0) {
    avcodec_free_context(&codec);
    avformat_close_input(&in);
    return frames;
  }
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  AVFrame* out = av_frame_alloc();
  SwsContext* sws = nullptr;
  bool draining = false;
  for (;;) {
    const int got = avcodec_receive_frame(codec, frame);
    if (got == 0) {
      if (sws == nullptr) {
        sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
                             frame->height, target, SWS_POINT, nullptr, nullptr, nullptr);
        out->format = target;
        out->width = frame->width;
        out->height = frame->height;
        av_frame_get_buffer(out, 0);
      }
      sws_scale(sws, frame->data, frame->linesize, 0, frame->height, out->data, out->linesize);
      const int rowBytes = frame->width * av_get_padded_bits_per_pixel(av_pix_fmt_desc_get(target)) / 8;
      std::vector<uint8_t> packed;
      for (int r = 0; r < frame->height; ++r) {
        packed.insert(packed.end(), out->data[0] + r * out->linesize[0], out->data[0] + r * out->linesize[0] + rowBytes);
      }
      frames.push_back(packed);
      continue;
    }
    if (got != AVERROR(EAGAIN) || draining) break;
    if (av_read_frame(in, packet) < 0) {
      draining = true;
      avcodec_send_packet(codec, nullptr);
      continue;
    }
    if (packet->stream_index == index) avcodec_send_packet(codec, packet);
    av_packet_unref(packet);
  }
  sws_freeContext(sws);
  av_frame_free(&out);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
  avformat_close_input(&in);
  return frames;
}

// Pixel (x, y) of frame n of a lossless movie in the block's layout,
// worked out from the pattern the movie was made from.
void PatternInBlock(int x, int y, int n, int bits, uint8_t* out) {
  uint8_t bgr[4];
  encodedmovie::PatternPixel(x, y, n, bgr);
  if (bits == 16) {
    const int v = (bgr[2] >> 3) << 11 | (bgr[1] >> 2) << 5 | bgr[0] >> 3;
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
    return;
  }
  std::memcpy(out, bgr, 3);
}

class MediaBlockTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char dir[] = "/tmp/orb-media-blocks-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
  }
  static void TearDownTestSuite() {
    const std::string command = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  void SetUp() override {
    plat::headless::Reset();
    plat::ResetMediaStandIn();
  }
  static std::string Cp932(const std::string& host) {
    char name[512];
    EXPECT_GT(plat::HostPathToCp932(host.c_str(), name, sizeof name), 0);
    return name;
  }
  static std::string dir_;
};
std::string MediaBlockTest::dir_;

// Plays every frame of the file into a guarded block of each depth; each
// frame equals the oracle's (and the pattern's, for a lossless codec), and
// all the oracle's frames come unless the file is damaged. Returns the
// frames delivered at the first depth.
int CheckGuardedFrames(const std::string& host, const std::string& name, bool lossless, bool damaged,
                       const std::string& what) {
  int delivered = -1;
  for (const Depth& depth : kDepths) {
    const auto oracle = OracleFrames(host, depth.oracle);
    plat::MediaFile* file = plat::OpenMediaFile(name.c_str());
    if (file == nullptr) {
      ADD_FAILURE() << what << " does not open";
      return -1;
    }
    int32_t w = 0, h = 0;
    plat::GetMediaVideoSize(file, &w, &h);
    const int bpp = depth.format.bitsPerPixel / 8;
    const size_t bytes = static_cast<size_t>(w) * bpp * h;
    std::vector<uint8_t> block(bytes + kGuard, 0x5A);
    plat::MediaSample* sample = plat::CreateMediaSample(file, depth.format, block.data(), w * bpp, w, h);
    EXPECT_NE(sample, nullptr) << what;
    int n = 0;
    while (sample != nullptr && plat::UpdateMediaSample(sample, nullptr) == plat::kMediaUpdateOk) {
      for (size_t g = 0; g < kGuard; ++g) {
        if (block[bytes + g] != 0x5A) {
          ADD_FAILURE() << what << " at " << depth.format.bitsPerPixel << " bits: guard byte " << g << " changed";
          plat::CloseMediaFile(file);
          return -1;
        }
      }
      EXPECT_TRUE(n < static_cast<int>(oracle.size()) && std::memcmp(block.data(), oracle[n].data(), bytes) == 0)
          << what << " frame " << n << " at " << depth.format.bitsPerPixel << " bits";
      for (int y = 0; lossless && y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          uint8_t want[3];
          PatternInBlock(x, y, n, depth.format.bitsPerPixel, want);
          if (std::memcmp(&block[(y * w + x) * bpp], want, std::min(bpp, 3)) != 0) {
            ADD_FAILURE() << what << " frame " << n << " pixel " << x << "," << y;
            y = h;
            break;
          }
        }
      }
      ++n;
    }
    if (!damaged) {
      EXPECT_EQ(n, static_cast<int>(oracle.size())) << what;
    }
    if (delivered < 0) delivered = n;
    plat::CloseMediaFile(file);
  }
  return delivered;
}

// One codec a container carries that takes every width from 1 up.
const Kind kSweepKinds[] = {
    {"avi", "avi", "ffv1", nullptr},         {"matroska", "mkv", "ffv1", nullptr},
    {"mov", "mov", "ffv1", nullptr},         {"mp4", "mp4", "mpeg4", nullptr},
    {"webm", "webm", "libvpx", nullptr},     {"mpeg", "mpg", "mpeg1video", nullptr},
    {"mpegts", "ts", "mpeg2video", nullptr}, {"asf", "asf", "msmpeg4", nullptr},
    {"flv", "flv", "flv", nullptr},          {"ogg", "ogv", "libtheora", nullptr},
};

TEST_F(MediaBlockTest, EveryWidthInEveryContainerStaysInsideItsBlockAndMatchesTheConversion) {
  struct Size {
    int width, height;
  };
  std::vector<Size> sizes;
  for (int w = 1; w <= 40; ++w) sizes.push_back({w, 6});
  for (int h : {1, 7, 13}) sizes.push_back({29, h});
  for (const Kind& kind : kSweepKinds) {
    const bool lossless = std::strcmp(kind.video, "ffv1") == 0;
    int written = 0;
    for (const Size& s : sizes) {
      const std::string what = std::string(kind.muxer) + "/" + kind.video + " " + std::to_string(s.width) + "x" +
                               std::to_string(s.height);
      const std::string host = dir_ + "/sweep." + kind.extension;
      // A transport stream needs a few packets before FFmpeg finds its streams.
      const int frames = std::strcmp(kind.muxer, "mpegts") == 0 ? 6 : 2;
      // A size the encoder or FFmpeg's own reading of the file does not
      // take (Theora under 2 pixels) is skipped, but every container must
      // take most widths.
      if (!encodedmovie::WriteMovie(host, kind, s.width, s.height, frames) ||
          OracleFrames(host, AV_PIX_FMT_BGR0).empty()) {
        continue;
      }
      ++written;
      ASSERT_GE(CheckGuardedFrames(host, Cp932(host), lossless, false, what), 1) << what;
    }
    EXPECT_GE(written, 20) << kind.muxer;
  }
}

// A damaged FLV on which swscale wrote past the block.
TEST_F(MediaBlockTest, TheDamagedFlvStaysInsideItsBlock) {
  const std::string host = std::string(ORB_TEST_DATA_DIR) + "/media/movie-overrun.flv";
  EXPECT_GT(CheckGuardedFrames(host, Cp932(host), false, true, "movie-overrun.flv"), 0);
}

// FFmpeg's messages while the player opens a file.
std::vector<std::string> g_messages;
void KeepMessage(void*, int, const char* format, va_list args) {
  char line[512];
  std::vsnprintf(line, sizeof line, format, args);
  g_messages.push_back(line);
}

TEST_F(MediaBlockTest, OnlyTheListedContainersAndCodecsOpenAndEachOfThemPlays) {
  // Outside the lists: containers FFmpeg reads well, refused by their first
  // bytes before FFmpeg reads the file (it says nothing), and codecs in a
  // listed container, refused by FFmpeg's own list while it probes.
  const struct {
    Kind kind;
    plat::MediaStep step;
  } refused[] = {
      {{"nut", "nut", "ffv1", nullptr}, plat::kMediaStepOpen},
      {{"yuv4mpegpipe", "y4m", "wrapped_avframe", nullptr}, plat::kMediaStepOpen},
      {{"h264", "h264", "libx264", nullptr}, plat::kMediaStepOpen},
      {{"avi", "avi", "huffyuv", nullptr}, plat::kMediaStepStreams},
      {{"matroska", "mkv", "utvideo", nullptr}, plat::kMediaStepStreams},
      {{"mov", "mov", "png", nullptr}, plat::kMediaStepStreams},
  };
  av_log_set_callback(KeepMessage);
  for (const auto& r : refused) {
    const std::string host = dir_ + "/refused." + r.kind.extension;
    ASSERT_TRUE(encodedmovie::WriteMovie(host, r.kind, 30, 24)) << r.kind.video;
    g_messages.clear();
    plat::MediaStep step = plat::kMediaStepCount;
    EXPECT_EQ(plat::OpenMediaFile(Cp932(host).c_str(), &step), nullptr) << r.kind.muxer << "/" << r.kind.video;
    EXPECT_EQ(step, r.step) << r.kind.muxer << "/" << r.kind.video;
    bool listRefused = false;
    for (const std::string& m : g_messages) listRefused = listRefused || m.find("whitelist") != std::string::npos;
    if (r.step == plat::kMediaStepOpen) {
      EXPECT_TRUE(g_messages.empty()) << r.kind.muxer << ": FFmpeg read a file of an unlisted container";
    } else {
      EXPECT_TRUE(listRefused) << r.kind.muxer << "/" << r.kind.video << ": refused by FFmpeg's own list";
    }
  }
  av_log_set_callback(av_log_default_callback);

  // One movie of each listed container and codec plays, its sound too.
  mediatest::ManualSoundDevice sound;
  ASSERT_NE(sound.device, nullptr);
  for (const Kind& kind : encodedmovie::kListedKinds) {
    const std::string what = std::string(kind.muxer) + "/" + kind.video + "/" + kind.audio;
    const std::string host = dir_ + "/kind." + kind.extension;
    ASSERT_TRUE(encodedmovie::WriteMovie(host, kind, 36, 20, 10)) << what;
    plat::MediaFile* file = plat::OpenMediaFile(Cp932(host).c_str());
    ASSERT_NE(file, nullptr) << what;
    std::vector<uint8_t> block(36 * 2 * 20);  // 16 bits: rows of 72 bytes
    plat::MediaSample* sample = plat::CreateMediaSample(file, kDepths[0].format, block.data(), 36 * 2, 36, 20);
    ASSERT_NE(sample, nullptr) << what;
    EXPECT_EQ(plat::UpdateMediaSample(sample, nullptr), plat::kMediaUpdateOk) << what;
    EXPECT_EQ(plat::MediaHasAudio(file), 1) << what;
    plat::RunMedia(file);
    std::vector<int16_t> mixed(2 * 11025);
    plat::dsound::AdvanceManual(11025, mixed.data());
    int loud = 0;
    for (int16_t v : mixed) loud += v > 1000 || v < -1000;
    EXPECT_GT(loud, 100) << what << ": the sound plays";
    plat::CloseMediaFile(file);
  }
}

}  // namespace
