#include "framework/sound/movie/theora_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/core/file_test_support.h"
#include "movie_test_support.h"

using namespace qor;
using movietest::EncodeNumberedMovie;
using movietest::EncodeOptions;
using movietest::MemFile;

namespace {
// A memory YUV surface maker whose FOURCC refusals and lock failures tests
// choose; `last` is the newest surface.
struct FakeSurfaces {
  struct Surface {
    uint32_t fourcc;
    int32_t width, height, pitch;
    std::vector<uint8_t> bits;
  };
  static inline bool refuseYV12 = false;
  static inline int lockFailures = 0, creates = 0;
  static inline Surface* last = nullptr;
  static void* Create(int32_t w, int32_t h, uint32_t fourcc) {
    ++creates;
    if (refuseYV12 && fourcc == kFourCCYV12) return nullptr;
    const int32_t pitch = fourcc == kFourCCYV12 ? w : 2 * w;
    return last = new Surface{fourcc, w, h, pitch, std::vector<uint8_t>(static_cast<size_t>(pitch) * h * 2)};
  }
  static int Lock(void* s, YuvSurfaceBlock* b) {
    if (lockFailures > 0 && lockFailures-- > 0) return -1;
    Surface* f = static_cast<Surface*>(s);
    *b = YuvSurfaceBlock{f->bits.data(), f->pitch, f->width, f->height, f->fourcc};
    return 0;
  }
  static void Unlock(void*) {}
  static void Release(void* s) {
    if (s == last) last = nullptr;
    delete static_cast<Surface*>(s);
  }
  static void Install() {
    static const TheoraSurfaceOps ops{Create, Lock, Unlock, Release};
    refuseYV12 = false;
    lockFailures = creates = 0;
    SetTheoraSurfaceOps(&ops);
  }
};

class TheoraDecoderTest : public movietest::TheoraFixture {
 protected:
  TheoraDecoder* Open(const std::vector<uint8_t>& bytes, int stock = 10) {
    bytes_ = bytes;
    file_ = MemFile{bytes_.data(), bytes_.size(), 0, 0};
    decoder_ = OpenTheoraMovie(movietest::MemFileTable(), movietest::HandleOf(&file_), stock);
    return decoder_;
  }
  // The frame number shown in the RGB image (blue channel follows luma
  // closely enough for the painted blocks).
  int ShownNumber() {
    const GraphImage* image = GetTheoraFrameImage(decoder_);
    std::vector<uint8_t> luma(static_cast<size_t>(image->width) * image->height);
    for (int i = 0; i < image->width * image->height; ++i) {
      const uint8_t* p = image->pixels + (i / image->width) * image->pitch + (i % image->width) * 4;
      luma[i] = static_cast<uint8_t>((p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8);
    }
    return movietest::ReadFrameNumber(luma.data(), image->width, image->width, image->height);
  }
  int ShowAfterAdvance(int step) {
    AdvanceTheoraFrame(decoder_, step);
    if (UpdateTheoraFrame(decoder_, 1, 0) != 1) return -2;
    return ShownNumber();
  }

  std::vector<uint8_t> bytes_;
  MemFile file_{};
};

}  // namespace

TEST_F(TheoraDecoderTest, EveryFrameMatchesLibtheorasOwnDecodeThroughTheSurface) {
  FakeSurfaces::Install();
  EncodeOptions o;
  o.frames = 40;
  o.packetsPerPage = 3;
  const auto bytes = EncodeNumberedMovie(o);
  const auto reference = movietest::ReferenceDecode(bytes);
  ASSERT_EQ(reference.size(), 40u);
  ASSERT_NE(Open(bytes), nullptr);
  ASSERT_EQ(GetTheoraYuvFourcc(decoder_), kFourCCYV12);
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(decoder_, &info);
  EXPECT_EQ(info.frameCount, 40);
  EXPECT_EQ(info.width, 64);
  EXPECT_EQ(info.height, 48);
  EXPECT_DOUBLE_EQ(info.frameRate, 30.0);
  for (int n = 0; n < 40; ++n) {
    if (n > 0) {
      AdvanceTheoraFrame(decoder_, 1);
      ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 1), 1) << n;
    }
    const FakeSurfaces::Surface* s = FakeSurfaces::last;
    ASSERT_NE(s, nullptr);
    const auto& r = reference[n];
    for (int row = 0; row < r.yHeight; ++row) {
      ASSERT_EQ(std::memcmp(s->bits.data() + row * s->pitch, r.y.data() + row * r.yWidth, r.yWidth), 0) << n;
    }
    const uint8_t* vPlane = s->bits.data() + s->pitch * s->height;
    const uint8_t* uPlane = vPlane + (s->pitch / 2) * (s->height / 2);
    for (int row = 0; row < r.chromaHeight; ++row) {
      ASSERT_EQ(std::memcmp(vPlane + row * s->pitch / 2, r.v.data() + row * r.chromaWidth, r.chromaWidth), 0);
      ASSERT_EQ(std::memcmp(uPlane + row * s->pitch / 2, r.u.data() + row * r.chromaWidth, r.chromaWidth), 0);
    }
    EXPECT_EQ(ShownNumber(), n);
  }
}

TEST_F(TheoraDecoderTest, IndexAndKeyframesMatchAPlainLiboggWalkAndGrowPastAThousand) {
  EncodeOptions o;
  o.frames = 1100;
  o.packetsPerPage = 1;
  o.keyframeInterval = 16;
  o.foreignStreamFirst = true;  // the Theora stream is not the first to begin
  const auto bytes = EncodeNumberedMovie(o);
  const auto scan = movietest::ScanWithLibogg(bytes);
  ASSERT_EQ(scan.keyframes.size(), 1100u);
  ASSERT_NE(Open(bytes, 4), nullptr);
  ASSERT_EQ(decoder_->frameCount, 1100);
  EXPECT_EQ(decoder_->keyframeCapacity, 2000);
  EXPECT_EQ(decoder_->pageCapacity, 2000);
  ASSERT_EQ(decoder_->pageCount, static_cast<int32_t>(scan.pageStarts.size()));
  for (int i = 0; i < decoder_->pageCount; ++i) {
    EXPECT_EQ(decoder_->pages[i].byteOffset, i == 0 ? 0 : scan.pageStarts[i]) << i;
    EXPECT_EQ(decoder_->pages[i].firstFrame, scan.pageFirstFrames[i]) << i;
  }
  EXPECT_EQ(std::memcmp(decoder_->keyframes, scan.keyframes.data(), 1100), 0);
  // Far jumps across keyframes and a wrap at the end of a long movie.
  EXPECT_EQ(ShowAfterAdvance(517), 517);
  EXPECT_EQ(ShowAfterAdvance(570), 1087);
  EXPECT_EQ(ShowAfterAdvance(20), 7);
}

TEST_F(TheoraDecoderTest, StepsJumpsWrapsAndSeeksShowTheirFrames) {
  EncodeOptions o;
  o.frames = 40;
  const auto bytes = EncodeNumberedMovie(o);
  ASSERT_NE(Open(bytes, 4), nullptr);
  EXPECT_EQ(ShownNumber(), 0);
  EXPECT_EQ(ShowAfterAdvance(1), 1);
  EXPECT_EQ(ShowAfterAdvance(13), 14);  // past a keyframe
  // Zero and negative steps change nothing and keep the frame shown.
  AdvanceTheoraFrame(decoder_, 0);
  AdvanceTheoraFrame(decoder_, -3);
  EXPECT_EQ(GetTheoraCurrentFrame(decoder_), 14);
  EXPECT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 0);
  EXPECT_EQ(UpdateTheoraFrame(decoder_, 0, 0), 0);
  for (int n = 15; n < 38; ++n) ASSERT_EQ(ShowAfterAdvance(1), n);
  EXPECT_EQ(ShowAfterAdvance(5), 2);  // 37 + 5 wraps to 2
  // The wanted frame jumped back past the whole stock: it still comes.
  EXPECT_EQ(ShowAfterAdvance(28), 30);
  EXPECT_EQ(ShowAfterAdvance(12), 2);
  // Seeks to frames that are not keyframes, backwards and forwards.
  SeekTheoraFrame(decoder_, 27);
  ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1);
  EXPECT_EQ(ShownNumber(), 27);
  SeekTheoraFrame(decoder_, 27);  // the current frame: nothing to do
  EXPECT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 0);
  SeekTheoraFrame(decoder_, 5);
  ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1);
  EXPECT_EQ(ShownNumber(), 5);
  SeekTheoraFrame(decoder_, 1000);  // clamped to the last frame
  ASSERT_EQ(UpdateTheoraFrame(decoder_, 1, 0), 1);
  EXPECT_EQ(ShownNumber(), 39);
}

// A seek into a tail of the file that can no longer be read fails part way.
// The movie still plays what it can: on from the seek's frame through the
// start, every readable frame comes, and the first unreadable one is
// reported as not coming rather than waited for.
TEST_F(TheoraDecoderTest, AFailedSeekLeavesTheReadableFramesToPlay) {
  EncodeOptions o;
  o.frames = 40;
  o.packetsPerPage = 1;  // keyframes at 0, 8, ... 32: the seek to 39 lands at frame 31
  const auto bytes = EncodeNumberedMovie(o);
  ASSERT_NE(Open(bytes, 4), nullptr);
  constexpr int kCut = 36;
  int32_t entry = 0;
  while (decoder_->pages[entry].firstFrame + decoder_->pages[entry].frames <= kCut) ++entry;
  ASSERT_EQ(decoder_->pages[entry].firstFrame, kCut);
  // The file is cut while the thread, paused, reads nothing.
  decoder_->pauseRequest = 1;
  while (decoder_->threadState.load() != kTheoraPaused) plat::YieldThread();
  file_.size = static_cast<size_t>(decoder_->pages[entry].byteOffset);
  SeekTheoraFrame(decoder_, 39);
  while (decoder_->seekRequest.load() != 0) plat::YieldThread();
  for (int n = 0; n < kCut; ++n) ASSERT_EQ(ShowAfterAdvance(1), n);  // 39 + 1 wraps to 0
  EXPECT_EQ(ShowAfterAdvance(1), -2);
}

TEST_F(TheoraDecoderTest, YuvSurfaceFormatFallsBackAndLockFailuresSkipOnlyTheYuvPart) {
  const auto bytes = EncodeNumberedMovie(EncodeOptions{});
  ASSERT_NE(Open(bytes), nullptr);  // no surface maker: RGB only
  EXPECT_EQ(GetTheoraYuvSurface(decoder_), nullptr);
  EXPECT_EQ(GetTheoraYuvFourcc(decoder_), 0u);
  CloseTheoraMovie(decoder_);

  FakeSurfaces::Install();
  FakeSurfaces::refuseYV12 = true;
  ASSERT_NE(Open(bytes), nullptr);
  EXPECT_EQ(GetTheoraYuvFourcc(decoder_), kFourCCYUY2);
  FakeSurfaces::lockFailures = 3;
  const int createsBefore = FakeSurfaces::creates;
  AdvanceTheoraFrame(decoder_, 2);
  EXPECT_EQ(UpdateTheoraFrame(decoder_, 1, 1), 1);
  EXPECT_EQ(decoder_->yuvDone, 0);
  EXPECT_EQ(decoder_->rgbDone, 1);
  EXPECT_EQ(ShownNumber(), 2);
  // The first two failed locks make the surface again (YV12 refused, then YUY2).
  EXPECT_EQ(FakeSurfaces::creates - createsBefore, 2 * 2);
  EXPECT_EQ(UpdateTheoraFrame(decoder_, 1, 1), 1);  // the YUV part is still to do
  EXPECT_EQ(decoder_->yuvDone, 1);
}

TEST_F(TheoraDecoderTest, UnusableFilesAreRefusedWithoutAThread) {
  std::vector<uint8_t> good = EncodeNumberedMovie(EncodeOptions{});
  std::vector<uint8_t> notOgg = good;
  notOgg[3] = 'X';
  EXPECT_EQ(Open(notOgg), nullptr);
  EXPECT_EQ(file_.position, 4u);  // nothing read past the signature
  EncodeOptions zeroRate;
  zeroRate.rateDenominator = 0;
  EXPECT_EQ(Open(EncodeNumberedMovie(zeroRate)), nullptr);
  zeroRate.rateDenominator = 1;
  zeroRate.rateNumerator = 0;
  EXPECT_EQ(Open(EncodeNumberedMovie(zeroRate)), nullptr);
  EncodeOptions noFrames;
  noFrames.frames = 0;
  EXPECT_EQ(Open(EncodeNumberedMovie(noFrames)), nullptr);
  // Only a foreign stream: the headers are never found.
  EncodeOptions foreign;
  foreign.foreignStreamFirst = true;
  std::vector<uint8_t> onlyForeign = EncodeNumberedMovie(foreign);
  onlyForeign.resize(onlyForeign.size() - good.size());
  EXPECT_EQ(Open(onlyForeign), nullptr);
  plat::FailNextThreadCreate();
  EXPECT_EQ(Open(good), nullptr);
  EXPECT_EQ(plat::LiveThreadCount(), 0);
}

TEST_F(TheoraDecoderTest, PlaysFromAResourceArchiveThroughTheFrameworkFileAccess) {
  EncodeOptions o;
  o.frames = 20;
  const auto movie = EncodeNumberedMovie(o);
  for (const bool store : {true, false}) {
    filetest::ScratchDir dir;
    PackOptions options;
    options.store = store;
    std::vector<uint8_t> archive;
    ASSERT_EQ(BuildArchive(filetest::DirNode("", {filetest::FileNode("clip.ogv", movie)}), options, &archive), 0);
    dir.WriteFile("movies.dat", archive);
    SetArchiveExtension("dat");
    const FileAccessTable* files = GetFileAccessTable();
    const FileHandle file = files->open(dir.Z("movies/clip.ogv").c_str(), 0, 0, 0);
    ASSERT_NE(file, 0);
    decoder_ = OpenTheoraMovie(files, file, 10);
    ASSERT_NE(decoder_, nullptr);
    EXPECT_EQ(ShownNumber(), 0);
    EXPECT_EQ(ShowAfterAdvance(9), 9);
    EXPECT_EQ(ShowAfterAdvance(15), 4);
    CloseTheoraMovie(decoder_);  // the thread is joined before the file goes
    decoder_ = nullptr;
    EXPECT_EQ(files->close(file), 0);
  }
}
