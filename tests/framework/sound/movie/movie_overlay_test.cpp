// Movies on the display's YUV surfaces and overlays: a Theora movie drawn
// through the YUV surface and through the RGB image agrees within the two
// conversions' rounding; a movie-player movie on an overlay shows in the
// headless host's kept frame where it was placed, scaled, and goes when
// hidden or closed; the overlay probe's outcome and its log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "framework/core/file_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_movie.h"
#include "framework/graphics/screen/movie_display.h"
#include "framework/graphics/screen/screen.h"
#include "framework/sound/movie/movie.h"
#include "movie_test_support.h"
#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "platform/media/media_player.h"
#include "support/lossless_movie.h"

using namespace qor;

namespace {

// BT.601 studio range, written out from the standard's coefficients.
void Reference(int y, int u, int v, int rgb[3]) {
  const double c = 255.0 / 219.0 * (y - 16), d = u - 128.0, e = v - 128.0;
  const double r = c + 255.0 / 224.0 * 1.402 * e;
  const double g = c - 255.0 / 224.0 * (1.772 * 0.114 / 0.587) * d - 255.0 / 224.0 * (1.402 * 0.299 / 0.587) * e;
  const double b = c + 255.0 / 224.0 * 1.772 * d;
  const double out[3] = {r, g, b};
  for (int k = 0; k < 3; ++k) rgb[k] = static_cast<int>(std::clamp(std::lround(out[k]), 0L, 255L));
}

int ChannelOf(uint32_t p, int k) { return static_cast<int>((p >> (16 - 8 * k)) & 0xFF); }

// The Theora graph's frame as the screen shows it after one draw.
std::vector<uint32_t> TheoraFrameOnScreen(bool yuvSurfaces, int64_t* yuvCopies, std::string* log) {
  gfxtest::Road road(false, 32, false, "d3d");
  if (!yuvSurfaces) plat::DdOfferYuvSurfaces(false);
  EXPECT_EQ(GetScreenState().direct3DInUse, 1);
  movietest::EncodeOptions o;
  o.frames = 12;
  EXPECT_EQ(WriteWholeFile("clip.ogv", movietest::EncodeNumberedMovie(o)), 0);
  const int64_t before = MovieYuvFrameCopies();
  const int32_t g = OpenGraphFile("clip.ogv", 0);
  EXPECT_GE(g, 0);
  EXPECT_EQ(LookupGraph(g)->is3D, 1);
  const int32_t movie = LookupGraph(g)->movieHandle;
  PlayMovie(movie, 1);
  SelectDrawTarget(kBackScreen);
  // Three frames on, so that the frame shown is one the update copied.
  plat::headless::SetClock(plat::headless::PeekClock() + 3 * 1000000 / 30 + 5000);
  EXPECT_EQ(BlitGraph(0, 0, g, 0), 0);
  EndSceneCurrentDevice();
  EXPECT_EQ(GetTheoraCurrentFrame(GetMovieData(movie)->decoder), 3);
  *yuvCopies = MovieYuvFrameCopies() - before;
  const std::vector<uint32_t> shown = gfxtest::TargetPixels(0, 0, o.width, o.height);
  DestroyGraph(g, 0);
  *log = road.Log();
  return shown;
}

}  // namespace

TEST(MovieYuv, TheoraFramesThroughTheYuvSurfaceAgreeWithTheRgbRoad) {
  int64_t copiesYuv = 0, copiesRgb = 0;
  std::string logYuv, logRgb;
  const std::vector<uint32_t> viaYuv = TheoraFrameOnScreen(true, &copiesYuv, &logYuv);
  const std::vector<uint32_t> viaRgb = TheoraFrameOnScreen(false, &copiesRgb, &logRgb);
  EXPECT_GE(copiesYuv, 1);
  EXPECT_EQ(copiesRgb, 0);
  EXPECT_NE(logYuv.find("Theora ムービーのフレームは YUV サーフェス(YV12)で転送します"), std::string::npos);
  EXPECT_NE(logRgb.find("Theora ムービー用の YUV サーフェスを作成できませんでした、フレームは RGB 画像で転送します"),
            std::string::npos);
  ASSERT_EQ(viaYuv.size(), viaRgb.size());
  // The framework's tables truncate 14-bit products, the display rounds its
  // 8-bit ones: within two steps per channel, and the picture is there.
  int largest = 0, lit = 0;
  for (size_t i = 0; i < viaYuv.size(); ++i) {
    for (int k = 0; k < 3; ++k) largest = std::max(largest, std::abs(ChannelOf(viaYuv[i], k) - ChannelOf(viaRgb[i], k)));
    lit += (viaYuv[i] & 0xFFFFFF) > 0x404040 ? 1 : 0;
  }
  EXPECT_LE(largest, 2);
  EXPECT_GT(lit, 50);
}

class OverlayMovie : public ::testing::Test {
 protected:
  void SetUp() override { plat::ResetMediaStandIn(); }
  void TearDown() override { plat::ResetMediaStandIn(); }
};

TEST_F(OverlayMovie, ShowsInTheKeptFrameWherePlacedScaledAndGoesWhenHiddenOrClosed) {
  gfxtest::Road road(false, 32);
  EXPECT_TRUE(road.Logged("オーバーレイサーフェスを使用します　　　UYVY"));
  ASSERT_NE(GetOverlayPixelFormat(), nullptr);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  // The graph road with the overlay option: a draw of the graph places it.
  const int32_t g = LoadGraphFromFile("clip.avi", 0, 0, kMovieSurfaceOverlay);
  ASSERT_GE(g, 0);
  const int32_t movie = LookupGraph(g)->movieHandle;
  MovieData* m = GetMovieData(movie);
  ASSERT_EQ(m->surfaceMode, kMovieSurfaceOverlay);
  ASSERT_EQ(m->yuvSample, 1);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  UpdateMovie(movie, 1);  // frame 0 into the overlay
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  ASSERT_EQ(BlitGraph(30, 40, g, 0), -1);  // placed 1:1 on the overlay, nothing drawn
  EXPECT_EQ(m->directDestination.left, 30);
  EXPECT_EQ(m->directDestination.right, 30 + losslessmovie::kWidth);
  ASSERT_EQ(DrawMovieDirect(100, 50, 2, movie, 1), 0);
  ASSERT_EQ(PresentFrame(), 0);

  // The overlay holds frame 0: its luma is the source's, as BT.601 makes it.
  const plat::DDSurface* overlay = m->sampleSurface;
  ASSERT_NE(overlay, nullptr);
  const uint8_t* yuv = overlay->memory();
  const int pitch = overlay->pitch();
  const auto source = losslessmovie::SourceFrame(0);
  int lumaOff = 0;
  for (int y = 0; y < losslessmovie::kHeight; ++y) {
    for (int x = 0; x < losslessmovie::kWidth; ++x) {
      const uint8_t* s = &source[(y * losslessmovie::kWidth + x) * 4];
      const double luma = 16.0 + (65.481 * s[2] + 128.553 * s[1] + 24.966 * s[0]) / 255.0;
      const int got = yuv[y * pitch + x * 2 + 1];  // UYVY: Y at bytes 1 and 3
      lumaOff = std::max(lumaOff, static_cast<int>(std::lround(std::fabs(got - luma))));
    }
  }
  EXPECT_LE(lumaOff, 2);

  // The kept frame: every pixel of the doubled rectangle is the overlay's
  // pixel under it by the formula; the screen around it stays black.
  const plat::headless::KeptFrame* frame = plat::headless::LastFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->width, 640);
  int worst = 0;
  for (int y = 50; y < 50 + 2 * losslessmovie::kHeight; ++y) {
    for (int x = 100; x < 100 + 2 * losslessmovie::kWidth; ++x) {
      const int sx = (x - 100) / 2, sy = (y - 50) / 2;
      const uint8_t* pair = yuv + sy * pitch + (sx & ~1) * 2;
      int want[3];
      Reference(pair[1 + (sx & 1) * 2], pair[0], pair[2], want);
      const uint32_t got = frame->pixels[static_cast<size_t>(y) * 640 + x];
      for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(ChannelOf(got, k) - want[k]));
    }
  }
  EXPECT_LE(worst, 1);
  EXPECT_EQ(frame->pixels[49 * 640 + 100] & 0xFFFFFF, 0u);
  EXPECT_EQ(frame->pixels[50 * 640 + 100 + 2 * losslessmovie::kWidth] & 0xFFFFFF, 0u);

  // A scale below 1 hides it; shown again and then closed, it is gone.
  ASSERT_EQ(DrawMovieDirect(100, 50, 0, movie, 1), 0);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::HostOverlayCount(), 0);
  EXPECT_EQ(plat::headless::LastFrame()->pixels[60 * 640 + 110] & 0xFFFFFF, 0u);
  ASSERT_EQ(DrawMovieDirect(100, 50, 1, movie, 1), 0);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::HostOverlayCount(), 1);
  EXPECT_NE(plat::headless::LastFrame()->pixels[60 * 640 + 110] & 0xFFFFFF, 0u);
  // While the window is inactive the message processing keeps it placed.
  m->directX = 8;
  EXPECT_EQ(DrawDirectMovies(), 0);
  EXPECT_EQ(m->directDestination.left, 8);
  DestroyGraph(g, 0);
  EXPECT_EQ(LiveMovieCount(), 0);
  EXPECT_EQ(plat::HostOverlayCount(), 0);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::headless::LastFrame()->pixels[60 * 640 + 110] & 0xFFFFFF, 0u);
}

TEST(OverlayProbe, NoOverlayWhenOffStretchLimitsSayNoOrTheScreenIsSmall) {
  {
    gfxtest::Road road(false, 16, false, nullptr, false);
    EXPECT_TRUE(road.Logged("オーバーレイサーフェスは使用しません"));
    EXPECT_EQ(GetOverlayPixelFormat(), nullptr);
    EXPECT_EQ(GetOverlayFormatIndex(), -1);
  }
  {
    // The probe runs only when the display can shrink an overlay (minimum
    // stretch below 1000) or cannot stretch it twice (maximum below 2000).
    gfxtest::Road road(false, 16);
    EXPECT_EQ(GetOverlayFormatIndex(), 0);
    struct Limits {
      uint32_t min, max;
      int32_t index;
    };
    for (const Limits& l : {Limits{1000, 2000, -1}, Limits{999, 2000, 0}, Limits{1000, 1999, 0}, Limits{1000, 32000, -1}}) {
      plat::DDCaps caps;
      caps.minOverlayStretch = l.min;
      caps.maxOverlayStretch = l.max;
      plat::DdOfferOverlays(true, caps);
      StartMovieDisplay();
      EXPECT_EQ(GetOverlayFormatIndex(), l.index) << l.min << " " << l.max;
    }
    // Each refusal says so in the log.
    EXPECT_EQ(road.CountLogged("オーバーレイサーフェスは使用しません"), 2);
  }
  {
    gfxtest::Road road(false, 16);
    EXPECT_EQ(GetOverlayFormatIndex(), 0);
    ASSERT_EQ(RequestScreenMode(640, 400, 16, -1), 0);
    EXPECT_NE(GetOverlayPixelFormat(), nullptr);
    ASSERT_EQ(RequestScreenMode(640, 399, 16, -1), 0);
    EXPECT_EQ(GetOverlayPixelFormat(), nullptr);  // smaller than 640 x 400
    ASSERT_EQ(RequestScreenMode(639, 480, 16, -1), 0);
    EXPECT_EQ(GetOverlayPixelFormat(), nullptr);
  }
}

TEST_F(OverlayMovie, InAWindowItLandsWhereTheWindowsPictureShowsIt) {
  gfxtest::Road road(false, 32, true);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, kMovieSurfaceOverlay);
  ASSERT_GE(movie, 0);
  MovieData* m = GetMovieData(movie);
  ASSERT_EQ(m->surfaceMode, kMovieSurfaceOverlay);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  UpdateMovie(movie, 1);
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  // Placed in the window's picture coordinates, whatever the window's place
  // on the desktop; its right part runs past the picture and is cut.
  ASSERT_EQ(DrawMovieDirect(620, 5, 1, movie, 1), 0);
  ASSERT_EQ(PresentFrame(), 0);
  const plat::headless::KeptFrame* frame = plat::headless::LastFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->width, 640);
  const uint8_t* yuv = m->sampleSurface->memory();
  const int pitch = m->sampleSurface->pitch();
  int worst = 0;
  for (int y = 5; y < 5 + losslessmovie::kHeight; ++y)
    for (int x = 620; x < 640; ++x) {
      const int sx = x - 620, sy = y - 5;
      const uint8_t* pair = yuv + sy * pitch + (sx & ~1) * 2;
      int want[3];
      Reference(pair[1 + (sx & 1) * 2], pair[0], pair[2], want);
      for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(ChannelOf(frame->pixels[y * 640 + x], k) - want[k]));
    }
  EXPECT_LE(worst, 1);
  EXPECT_EQ(frame->pixels[4 * 640 + 630] & 0xFFFFFF, 0u);
  EXPECT_EQ(frame->pixels[5 * 640 + 619] & 0xFFFFFF, 0u);
  CloseMovie(movie);
  EXPECT_EQ(plat::HostOverlayCount(), 0);
}

TEST_F(OverlayMovie, WithOverlaysOffTheOverlayModeFallsBackByTheScreensDepth) {
  for (const int bits : {16, 32}) {
    gfxtest::Road road(false, bits, false, nullptr, false);
    ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
    const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, kMovieSurfaceOverlay);
    ASSERT_GE(movie, 0);
    EXPECT_EQ(GetMovieData(movie)->surfaceMode, bits == 32 ? kMovieSurfaceScreen : kMovieSurfaceRgb24) << bits;
    EXPECT_EQ(IsMovieDirect(GetMovieData(movie)), 0);
    CloseMovie(movie);
  }
}
