// The movie player's open through the framework: each interface it asks
// for, in order, with the line its failure logs (an overlay asks only for
// the newest surface interface); the file's line only when neither the file
// nor its temporary copy opens; and a movie shown on the software road at
// 16 bits, its frame image in the screen's 5-6-5 format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/archives/archive_writer.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/movie_display.h"
#include "framework/sound/movie/movie.h"
#include "platform/media/media_player.h"
#include "support/encoded_movie.h"

using namespace qor;

namespace {

class PlayerOpen : public ::testing::Test {
 protected:
  void SetUp() override { plat::ResetMediaStandIn(); }
  void TearDown() override { plat::ResetMediaStandIn(); }
};

const encodedmovie::Kind kLossless{"avi", "avi", "ffv1", nullptr};

TEST_F(PlayerOpen, EachStepInTurnFailsWithItsLineAndNoLaterStepIsAsked) {
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(encodedmovie::WriteMovie("clip.avi", kLossless, 30, 24));
  // The open's steps in its order; each logs its line when it fails.
  const struct {
    plat::MediaStep step;
    const char* line;
  } steps[] = {
      {plat::kMediaStepFilterGraph, "CLSID_FilterGraph の作成に失敗しました"},
      {plat::kMediaStepMultiMediaStream, "IAMMultimediaインターフェイスを取得できませんでした！"},
      {plat::kMediaStepInitialize, "ストリームを読み取り用にセットアップできませんでした！"},
      {plat::kMediaStepMediaControl, "IID_IMediaControlインターフェイスの取得に失敗しました"},
      {plat::kMediaStepDirectDraw4, "DirectDraw4オブジェクトを取得できませんでした"},
      {plat::kMediaStepPrimaryVideo, "プライマリビデオストリームを追加できませんでした！"},
      {plat::kMediaStepAudio, "デフォルトサウンドレンダラを追加できませんでした！\n"},
      {plat::kMediaStepStreams, "動画ファイルではない可能性があります！"},
      {plat::kMediaStepMediaSeeking, "メディアシーキングインターフェースの取得に失敗しました"},
      {plat::kMediaStepBasicAudio, "BasicAudio インターフェースの取得に失敗しました"},
      {plat::kMediaStepVideoStream, "プライマリビデオストリームインターフェイスを取得できませんでした！"},
      {plat::kMediaStepAMMediaStream, "AMMediaStreamインターフェイスの取得に失敗しました"},
      {plat::kMediaStepDirectDrawStream, "DirectDrawメディアストリームインターフェイスを取得できませんでした！"},
      {plat::kMediaStepSampleSurface, "ストリームサンプルからIDirectDrawSurfaceインターフェイスを取得できませんでした！"},
      {plat::kMediaStepSurface4, "IDirectDrawSurface4インターフェイスを取得できませんでした！"},
      {plat::kMediaStepSurface7, "IDirectDrawSurface7インターフェイスを取得できませんでした！"},
  };
  const size_t count = sizeof steps / sizeof steps[0];
  for (size_t k = 0; k < count; ++k) {
    std::vector<int> before;
    for (const auto& s : steps) before.push_back(plat::MediaStepCalls(s.step));
    plat::FailNextMediaStep(steps[k].step);
    const size_t logged = road.Log().size();
    EXPECT_EQ(OpenMovie("clip.avi", nullptr, nullptr, 0), -1) << steps[k].line;
    const std::string added = road.Log().substr(logged);
    std::string last = std::string(steps[k].line) + "ムービーファイルオープン処理時にエラーが発生しました";
    if (last.find('\n') != std::string::npos) last.insert(last.find('\n'), "\r");  // the log file's line ends
    EXPECT_TRUE(added.size() >= last.size() && added.compare(added.size() - last.size(), last.size(), last) == 0)
        << k << ": its line, then the movie's, last";
    for (size_t j = 0; j < count; ++j) {
      EXPECT_EQ(plat::MediaStepCalls(steps[j].step) - before[j], j <= k ? 1 : 0)
          << steps[k].line << " failing, step " << j;
    }
  }
  EXPECT_EQ(LiveMovieCount(), 0);
  // Whole, every step is asked once; an overlay asks for no older surface.
  std::vector<int> before;
  for (const auto& s : steps) before.push_back(plat::MediaStepCalls(s.step));
  const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  for (size_t j = 0; j < count; ++j) EXPECT_EQ(plat::MediaStepCalls(steps[j].step) - before[j], 1) << j;
  CloseMovie(movie);
}

// A sample surface shown as an overlay is asked only for the newest surface
// interface; the other modes ask for the older one first. Each row tells
// one of the two to fail and says whether the open must fail with its line.
TEST_F(PlayerOpen, AnOverlayAsksOnlyForTheNewestSurfaceInterface) {
  gfxtest::Road road(false, 16);
  ASSERT_NE(GetOverlayPixelFormat(), nullptr);
  ASSERT_TRUE(encodedmovie::WriteMovie("clip.avi", kLossless, 30, 24));
  const struct {
    int32_t mode;
    plat::MediaStep failing;
    const char* line;  // null: the open succeeds
  } rows[] = {
      {kMovieSurfaceOverlay, plat::kMediaStepSurface4, nullptr},
      {kMovieSurfaceOverlay, plat::kMediaStepSurface7, "IDirectDrawSurface7インターフェイスを取得できませんでした！"},
      {kMovieSurfaceScreen, plat::kMediaStepSurface4, "IDirectDrawSurface4インターフェイスを取得できませんでした！"},
      {kMovieSurfaceRgb24, plat::kMediaStepSurface4, "IDirectDrawSurface4インターフェイスを取得できませんでした！"},
      {kMovieSurfaceScreen, plat::kMediaStepSurface7, "IDirectDrawSurface7インターフェイスを取得できませんでした！"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << " " << row.failing);
    plat::ResetMediaStandIn();
    plat::FailNextMediaStep(row.failing);
    const size_t logged = road.Log().size();
    const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, row.mode);
    const bool overlay = row.mode == kMovieSurfaceOverlay;
    const bool olderRefused = !overlay && row.failing == plat::kMediaStepSurface4;
    EXPECT_EQ(plat::MediaStepCalls(plat::kMediaStepSurface4), overlay ? 0 : 1);
    EXPECT_EQ(plat::MediaStepCalls(plat::kMediaStepSurface7), olderRefused ? 0 : 1);
    if (row.line != nullptr) {
      EXPECT_EQ(movie, -1);
      EXPECT_NE(road.Log().find(row.line, logged), std::string::npos);
    } else {
      ASSERT_GE(movie, 0);
      EXPECT_EQ(GetMovieData(movie)->surfaceMode, kMovieSurfaceOverlay);
      CloseMovie(movie);
    }
  }
  EXPECT_EQ(LiveMovieCount(), 0);
}

TEST_F(PlayerOpen, TheFilesLineComesOnlyWhenItsCopyDoesNotOpenEither) {
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(encodedmovie::WriteMovie("clip.avi", kLossless, 30, 24));
  // Refused by name once: the temporary copy opens, and nothing is logged.
  plat::FailNextMediaStep(plat::kMediaStepOpen);
  const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(GetMovieData(movie)->tempFile, 1);
  EXPECT_FALSE(road.Logged("が開けませんでした"));
  CloseMovie(movie);
  // No movie at all: the file's line once, after the copy failed to open.
  ASSERT_EQ(WriteWholeFile("junk.avi", std::vector<uint8_t>(3000, 0x3C)), 0);
  EXPECT_EQ(OpenMovie("junk.avi", nullptr, nullptr, 0), -1);
  EXPECT_EQ(road.CountLogged("ファイル:junk.avi が開けませんでした"), 1);
  EXPECT_FALSE(road.Logged("動画ファイルではない可能性があります！"));
}

// The software road at 16 bits: the sample comes in the screen's 5-6-5
// format, and a frame 30 pixels wide (rows of 60 bytes) shows exactly.
TEST_F(PlayerOpen, OnTheSoftwareRoadAt16BitsTheFrameComesIn565AndShowsExactly) {
  gfxtest::Road road(true, 16);
  ASSERT_TRUE(encodedmovie::WriteMovie("clip.avi", kLossless, 30, 24));
  const int32_t g = OpenGraphFile("clip.avi", 1);
  ASSERT_GE(g, 0);
  const int32_t movie = LookupGraph(g)->movieHandle;
  const MovieData* m = GetMovieData(movie);
  EXPECT_EQ(m->surfaceMode, kMovieSurfaceScreen);
  EXPECT_EQ(m->frameImage.format.bitDepth, 16);
  EXPECT_EQ(m->frameImage.format.masks[0], 0xF800u);
  EXPECT_EQ(m->frameImage.format.masks[1], 0x7E0u);
  EXPECT_EQ(m->frameImage.format.masks[2], 0x1Fu);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  SelectDrawTarget(kBackScreen);
  for (int n = 0; n < 3; ++n) {
    UpdateMovie(movie, 1);
    ASSERT_EQ(BlitGraph(7, 5, g, 0), 0);
    const std::vector<uint32_t> shown = gfxtest::TargetPixels(7, 5, 30, 24);
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 30; ++x) {
        uint8_t bgr[4];
        encodedmovie::PatternPixel(x, y, n, bgr);
        const uint32_t want = (bgr[2] >> 3) << 11 | (bgr[1] >> 2) << 5 | bgr[0] >> 3;
        ASSERT_EQ(shown[y * 30 + x], want) << "frame " << n << " pixel " << x << "," << y;
      }
    }
  }
  DestroyGraph(g, 0);
}

}  // namespace
