// A Theora movie whose packets run on across pages (paged again with a few
// lacing values a page, so most packets begin on one page and end two or
// more pages later): its page index and keyframe table against a plain
// libogg walk, every frame shown in turn, and seeks to every keyframe and
// every other frame from both sides, each picture compared exactly with
// libtheora's straight decode of the same file converted by the integer
// rule written out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/sound/movie/theora_decoder.h"
#include "movie_test_support.h"
#include "platform/kernel/threads.h"
#include "support/ogg_pages.h"

using namespace qor;

namespace {

constexpr uint32_t kSerial = 0x1234;  // the serial the movie maker gives the stream

uint8_t Clamp255(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// The picture the RGB frame image must hold for a decoded frame.
std::vector<uint8_t> Converted(const movietest::ReferenceFrame& f) {
  std::vector<uint8_t> out(static_cast<size_t>(f.yWidth) * f.yHeight * 4);
  for (int r = 0; r < f.yHeight; ++r) {
    for (int c = 0; c < f.yWidth; ++c) {
      const int32_t luma = 19070 * (f.y[r * f.yWidth + c] - 16);
      const int u = f.u[(r / 2) * f.chromaWidth + c / 2] - 128, v = f.v[(r / 2) * f.chromaWidth + c / 2] - 128;
      uint8_t* p = &out[(static_cast<size_t>(r) * f.yWidth + c) * 4];
      p[0] = Clamp255((luma + 33062 * u) / 16384);
      p[1] = Clamp255((luma - 6406 * u - 13320 * v) / 16384);
      p[2] = Clamp255((luma + 26148 * v) / 16384);
      p[3] = 255;
    }
  }
  return out;
}

class TheoraContinuedPages : public movietest::TheoraFixture {
 protected:
  // True when the image holds exactly the converted reference frame.
  bool Shows(const std::vector<uint8_t>& want) {
    const GraphImage* image = GetTheoraFrameImage(decoder_);
    for (int r = 0; r < image->height; ++r) {
      if (std::memcmp(image->pixels + r * image->pitch, want.data() + r * image->width * 4, image->width * 4) != 0)
        return false;
    }
    return true;
  }

  std::vector<uint8_t> bytes_;
  movietest::MemFile file_{};
};

}  // namespace

TEST_F(TheoraContinuedPages, IndexStepsAndSeeksAreFrameExact) {
  movietest::EncodeOptions o;
  o.width = 64;
  o.height = 64;
  o.frames = 48;
  o.keyframeInterval = 8;
  o.grain = 20;
  const std::vector<uint8_t> plain = movietest::EncodeNumberedMovie(o);
  ASSERT_FALSE(plain.empty());
  const auto packets = soundtest::PacketsOf(plain, kSerial);
  // One lacing value a page: any packet over 255 bytes runs on into the next
  // page, and one over 510 bytes crosses a page on which no packet ends.
  bytes_ = soundtest::JoinPages(soundtest::RepagePackets(packets, kSerial, 1));
  int continued = 0, spanning = 0;
  for (const auto& page : soundtest::SplitPages(bytes_)) {
    continued += (page[5] & 1) != 0;
    bool ends = false;
    for (int i = 0; i < page[26]; ++i) ends = ends || page[27 + i] < 255;
    spanning += !ends;
  }
  ASSERT_GT(continued, 40);
  ASSERT_GT(spanning, 10);

  const auto reference = movietest::ReferenceDecode(bytes_);
  ASSERT_EQ(reference.size(), 48u);
  EXPECT_EQ(reference[47].y, movietest::ReferenceDecode(plain)[47].y);  // the same stream
  std::vector<std::vector<uint8_t>> pictures;
  for (const auto& f : reference) pictures.push_back(Converted(f));

  file_ = movietest::MemFile{bytes_.data(), bytes_.size(), 0, 0};
  decoder_ = OpenTheoraMovie(movietest::MemFileTable(), movietest::HandleOf(&file_), 10);
  ASSERT_NE(decoder_, nullptr);

  // The index: one entry per page after which a frame came out.
  const auto scan = movietest::ScanWithLibogg(bytes_);
  ASSERT_EQ(decoder_->frameCount, 48);
  ASSERT_EQ(decoder_->pageCount, static_cast<int32_t>(scan.pageStarts.size()));
  for (int i = 0; i < decoder_->pageCount; ++i) {
    EXPECT_EQ(decoder_->pages[i].byteOffset, i == 0 ? 0 : scan.pageStarts[i]) << i;
    EXPECT_EQ(decoder_->pages[i].firstFrame, scan.pageFirstFrames[i]) << i;
    const int32_t next = i + 1 < decoder_->pageCount ? scan.pageFirstFrames[i + 1] : 48;
    EXPECT_EQ(decoder_->pages[i].frames, next - scan.pageFirstFrames[i]) << i;
  }
  ASSERT_EQ(std::memcmp(decoder_->keyframes, scan.keyframes.data(), 48), 0);
  std::vector<int32_t> keyframes;
  for (int32_t n = 0; n < 48; ++n) {
    if (scan.keyframes[n]) keyframes.push_back(n);
  }
  ASSERT_GE(keyframes.size(), 4u);
  ASSERT_LT(keyframes.size(), 40u);  // and frames between them that need the ones before

  // Every frame in turn, then round the end to the start.
  EXPECT_TRUE(Shows(pictures[0]));
  for (int n = 1; n < 52; ++n) {
    AdvanceTheoraFrame(decoder_, 1);
    ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1) << n;
    ASSERT_TRUE(Shows(pictures[n % 48])) << "step to " << n % 48;
  }

  // Seeks to every keyframe, backwards from the end and forwards from the
  // start, then to every frame after a seek to the last one.
  std::vector<int32_t> targets(keyframes.rbegin(), keyframes.rend());
  targets.insert(targets.end(), keyframes.begin(), keyframes.end());
  for (int32_t n = 47; n >= 0; --n) {
    targets.push_back(47);
    targets.push_back(n);
  }
  for (const int32_t target : targets) {
    if (target == GetTheoraCurrentFrame(decoder_)) continue;
    SeekTheoraFrame(decoder_, target);
    ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1) << target;
    ASSERT_TRUE(Shows(pictures[target])) << "seek to " << target;
    // And the frame after it, decoded on from there.
    AdvanceTheoraFrame(decoder_, 1);
    ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1) << target;
    ASSERT_TRUE(Shows(pictures[(target + 1) % 48])) << "step after seeking to " << target;
  }
}
