// Test support for the movie readers: Theora movies encoded on the spot by
// libtheora (each frame's number painted in large blocks, a short keyframe
// interval), a reference decode by libtheora's own decoder, and a file-access
// table over bytes in memory.
#pragma once

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "framework/core/files/file_access.h"
#include "framework/sound/movie/theora_decoder.h"
#include "platform/kernel/threads.h"

namespace movietest {

struct EncodeOptions {
  int width = 64;   // a multiple of 16
  int height = 48;  // a multiple of 16
  int frames = 30;
  uint32_t rateNumerator = 30;
  uint32_t rateDenominator = 1;
  int keyframeInterval = 8;
  bool foreignStreamFirst = false;  // a beginning page of another stream before the Theora one
  int packetsPerPage = 0;           // 0: pages as libogg makes them; n: a page after every n packets
  int grain = 0;                    // n: luma varied by up to +-n per pixel, so packets grow large
};

// The Ogg file's bytes; empty on failure.
std::vector<uint8_t> EncodeNumberedMovie(const EncodeOptions& options);

// The number painted into a frame's luma plane (-1 when unreadable).
int ReadFrameNumber(const uint8_t* y, int stride, int width, int height);

// One decoded frame of the reference decoder: the three planes packed.
struct ReferenceFrame {
  int yWidth, yHeight, chromaWidth, chromaHeight;
  std::vector<uint8_t> y, u, v;
};
// Every frame of the file as libtheora's decoder gives it, in order.
std::vector<ReferenceFrame> ReferenceDecode(const std::vector<uint8_t>& file);

// Video packets of the Theora stream: (keyframe flag) per frame, and the
// start offsets of the pages after which video packets came out, by a
// plain libogg walk.
struct PlainScan {
  std::vector<uint8_t> keyframes;
  std::vector<int64_t> pageStarts;
  std::vector<int32_t> pageFirstFrames;
};
PlainScan ScanWithLibogg(const std::vector<uint8_t>& file);

// A file-access table over a byte block; the handle is a MemFile pointer.
struct MemFile {
  const uint8_t* data;
  size_t size;
  size_t position;
  int reads;
};
const qor::FileAccessTable* MemFileTable();
inline qor::FileHandle HandleOf(MemFile* file) { return reinterpret_cast<qor::FileHandle>(file); }

// A Theora test starts from a fresh decoder module and thread stand-in, and
// ends with its decoder closed and no decoding thread left behind.
class TheoraFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    qor::ResetTheoraModule();
    plat::ResetThreadStandIn();
  }
  void TearDown() override {
    if (decoder_ != nullptr) qor::CloseTheoraMovie(decoder_);
    EXPECT_EQ(plat::LiveThreadCount(), 0);
    qor::ResetTheoraModule();
  }
  qor::TheoraDecoder* decoder_ = nullptr;
};

}  // namespace movietest
