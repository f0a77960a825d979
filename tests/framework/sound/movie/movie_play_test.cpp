// Movie handles and movie graphs on the virtual clock: frames due by the
// clock (the worked examples), pause and resume, the graph road for loose
// and archived files, a lossless movie written by libavcodec shown exactly,
// the movie player's refusals and the overlay placement.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/file_test_support.h"
#include "framework/core/archives/archive.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/core/time_helpers.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/screen/screen.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/encoded_audio.h"
#include "movie_test_support.h"
#include "platform/host/headless/headless_control.h"
#include "platform/kernel/file_io.h"
#include "platform/media/media_player.h"
#include "support/lossless_movie.h"
#include "support/ogg_pages.h"

using namespace qor;

namespace {

void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) { ASSERT_EQ(WriteWholeFile(name, bytes), 0); }

std::vector<uint8_t> Numbered(int frames, uint32_t rate = 30) {
  movietest::EncodeOptions o;
  o.frames = frames;
  o.rateNumerator = rate;
  return movietest::EncodeNumberedMovie(o);
}

// The number painted in the frame, read from the 32-bit screen's pixels.
int ShownOnScreen(int x, int y, int w, int h) {
  const std::vector<uint32_t> px = gfxtest::TargetPixels(x, y, w, h);
  std::vector<uint8_t> luma(px.size());
  for (size_t i = 0; i < px.size(); ++i) {
    const uint32_t p = px[i];
    luma[i] = static_cast<uint8_t>(((p & 0xFF) * 29 + ((p >> 8) & 0xFF) * 150 + ((p >> 16) & 0xFF) * 77) >> 8);
  }
  return movietest::ReadFrameNumber(luma.data(), w, w, h);
}

// Whether the target shows source frame n of the lossless movie at (x, y),
// exactly.
bool ShowsSourceFrame(int n, int x, int y) {
  const auto want = losslessmovie::SourceFrame(n);
  const auto got = gfxtest::TargetPixels(x, y, losslessmovie::kWidth, losslessmovie::kHeight);
  for (size_t i = 0; i < got.size(); ++i) {
    const uint32_t rgb = want[i * 4] | want[i * 4 + 1] << 8 | static_cast<uint32_t>(want[i * 4 + 2]) << 16;
    if ((got[i] & 0xFFFFFF) != rgb) return false;
  }
  return true;
}

}  // namespace

TEST(MovieFrameDue, SixtyFourBitsAndSaturation) {
  // 40 minutes of sound: p x 1000 left 32 bits after 35 minutes.
  EXPECT_EQ(MovieFrameDue(int64_t{40} * 60 * 1000 * 1000, 30.0), 72000);
  EXPECT_EQ(MovieFrameDue(INT64_MAX, 30.0), INT32_MAX);
  EXPECT_EQ(MovieFrameDue(-5000000, 30.0), 0);
  EXPECT_EQ(MovieFrameDue(2500000, 29.97), 74);  // truncated toward zero
}

TEST(MoviePlay, FramesDueByTheClockFollowTheWorkedExamples) {
  gfxtest::Road road(false, 32);
  WriteBytes("clip.ogv", Numbered(300));
  const int32_t movie = OpenMovie("clip.ogv", nullptr, nullptr, 0);  // null size pointers still open
  ASSERT_GE(movie, 0);
  MovieData* m = GetMovieData(movie);
  EXPECT_EQ(m->theora, 1);
  EXPECT_EQ(m->soundtrack, -1);  // no sound device, no soundtrack
  EXPECT_EQ(m->stopped, 1);
  EXPECT_EQ(m->resumeMark, 0);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  m->startTime = GetNowMicros() - 2500000;
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(m->decoder), 75);
  m->startTime = GetNowMicros() - 12000000;
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(m->decoder), 299);
  EXPECT_EQ(m->stopped, 0);
  UpdateMovie(movie, 0);  // the next update that finds it there stops it
  EXPECT_EQ(m->stopped, 1);
  EXPECT_EQ(m->resumeMark, 0);

  // Looping: 12 s wraps to frame 60, forward through the end.
  ASSERT_EQ(PlayMovie(movie, 3), 0);
  m->startTime = GetNowMicros() - 12000000;
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(m->decoder), 60);

  // Resuming at frame 150 puts the start 5 s before now.
  ASSERT_EQ(PauseMovie(movie, 1), 0);
  m->startTime = GetNowMicros() - 5000000;
  m->stopped = 0;
  UpdateMovie(movie, 0);
  ASSERT_EQ(GetTheoraCurrentFrame(m->decoder), 150);
  m->stopped = 1;
  ResumeAllMovies();
  EXPECT_NEAR(static_cast<double>(GetNowMicros() - m->startTime), 5000000.0, 1000.0);
  EXPECT_EQ(CloseMovie(movie), 0);
  EXPECT_EQ(GetMovieData(movie), nullptr);
  EXPECT_EQ(CloseMovie(movie), -1);
}

TEST(MoviePlay, PauseAllThenResumeAllBringsBackExactlyThePlayingMovies) {
  gfxtest::Road road(false, 32);
  WriteBytes("clip.ogv", Numbered(20));
  int32_t movies[3];
  for (int32_t& h : movies) ASSERT_GE(h = OpenMovie("clip.ogv", nullptr, nullptr, 0), 0);
  PlayMovie(movies[0], 3);
  PlayMovie(movies[2], 1);
  PauseAllMovies();
  for (int32_t h : movies) EXPECT_EQ(GetMovieData(h)->stopped, 1);
  // Pausing a stopped movie changes nothing, not even its mark.
  EXPECT_EQ(PauseMovie(movies[1], 0), 0);
  EXPECT_EQ(GetMovieData(movies[0])->resumeMark, 1);
  ResumeAllMovies();
  EXPECT_EQ(GetMovieData(movies[0])->stopped, 0);
  EXPECT_EQ(GetMovieData(movies[0])->playType, 3);
  EXPECT_EQ(GetMovieData(movies[1])->stopped, 1);
  EXPECT_EQ(GetMovieData(movies[2])->stopped, 0);
  // A closed slot is the next one taken; the old handle no longer validates.
  CloseMovie(movies[1]);
  const int32_t again = OpenMovie("clip.ogv", nullptr, nullptr, 0);
  EXPECT_EQ(again & 0xFFFF, movies[1] & 0xFFFF);
  EXPECT_NE(again, movies[1]);
  EXPECT_EQ(PauseMovie(movies[1], 1), -1);
  EXPECT_EQ(DrawMovieDirect(0, 0, 1, movies[1], 1), -1);
}

TEST(MovieGraph, ATheoraGraphAdvancesWithTheVirtualClockAndClosesWithTheGraph) {
  for (const bool archived : {false, true}) {
    gfxtest::Road road(false, 32);
    const auto movie = Numbered(40);
    if (archived) {
      std::vector<uint8_t> archive;
      ASSERT_EQ(BuildArchive(filetest::DirNode("", {filetest::FileNode("clip.ogv", movie)}), PackOptions{}, &archive),
                0);
      WriteBytes("movies.dat", archive);
      SetArchiveExtension("dat");
    } else {
      WriteBytes("clip.ogv", movie);
    }
    const int32_t g = OpenGraphFile(archived ? "movies\\clip.ogv" : "clip.ogv", 1);
    ASSERT_GE(g, 0) << archived;
    SelectDrawTarget(kBackScreen);
    ASSERT_EQ(BlitGraph(0, 0, g, 0), 0);
    EXPECT_EQ(ShownOnScreen(0, 0, 64, 48), 0);  // opened stopped, on its first frame
    ASSERT_EQ(PlayMovie(LookupGraph(g)->movieHandle, 1), 0);
    int last = 0;
    for (int step = 0; step < 4; ++step) {
      plat::headless::SetClock(plat::headless::PeekClock() + 1000000 * 9 / 30);
      const MovieData* m = GetMovieData(LookupGraph(g)->movieHandle);
      const int due = MovieFrameDue(GetNowMicros() - m->startTime, 30.0);
      ASSERT_GT(due, last);
      ASSERT_EQ(BlitGraph(0, 0, g, 0), 0);
      EXPECT_EQ(ShownOnScreen(0, 0, 64, 48), due) << archived;
      last = due;
    }
    EXPECT_EQ(LiveMovieCount(), 1);
    EXPECT_EQ(DestroyGraph(g, 0), 0);
    EXPECT_EQ(LiveMovieCount(), 0);
  }
}

class PlayerGraph : public ::testing::Test {
 protected:
  void SetUp() override { plat::ResetMediaStandIn(); }
  void TearDown() override { plat::ResetMediaStandIn(); }
};

TEST_F(PlayerGraph, ALosslessMovieShowsItsSourceFramesExactlyOnA32BitScreen) {
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  const int32_t g = OpenGraphFile("clip.avi", 1);
  ASSERT_GE(g, 0);
  const int32_t movie = LookupGraph(g)->movieHandle;
  EXPECT_EQ(GetMovieData(movie)->theora, 0);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  SelectDrawTarget(kBackScreen);
  for (int n = 0; n < losslessmovie::kFrames; ++n) {
    UpdateMovie(movie, 1);  // waits for the frame's time
    ASSERT_EQ(BlitGraph(10, 20, g, 0), 0);
    ASSERT_TRUE(ShowsSourceFrame(n, 10, 20)) << n;
  }
  UpdateMovie(movie, 1);  // the end stops a movie that plays once
  EXPECT_EQ(GetMovieData(movie)->stopped, 1);
  DestroyGraph(g, 0);
}

TEST_F(PlayerGraph, EachRefusalLogsItsLineAndLeavesNothingOpen) {
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  const struct {
    plat::MediaStep step;
    const char* line;
  } cases[] = {
      {plat::kMediaStepAudio, "デフォルトサウンドレンダラを追加できませんでした！"},
      {plat::kMediaStepStreams, "動画ファイルではない可能性があります！"},
      {plat::kMediaStepSample, "ムービーファイルオープン処理時にエラーが発生しました"},
  };
  for (const auto& c : cases) {
    plat::FailNextMediaStep(c.step);
    if (c.step == plat::kMediaStepSample) {
      // The sample on the system's surface is refused: the player's own
      // memory takes it, in mode 0.
      const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, 2);
      ASSERT_GE(movie, 0);
      EXPECT_EQ(GetMovieData(movie)->surfaceMode, kMovieSurfaceScreen);
      CloseMovie(movie);
      continue;
    }
    EXPECT_EQ(OpenGraphFile("clip.avi", 1), -1);
    EXPECT_TRUE(road.Logged(c.line)) << c.line;
    EXPECT_TRUE(road.Logged("ムービーファイルオープン処理時にエラーが発生しました"));
  }
  // A file no reader takes and no player opens: the load line, and no
  // temporary copy stays behind.
  WriteBytes("junk.dat", std::vector<uint8_t>(5000, 0x5A));
  EXPECT_EQ(OpenGraphFile("junk.dat", 1), -1);
  EXPECT_TRUE(road.Logged("右記のグラフィックファイルのロードに失敗しました：junk.dat"));
  EXPECT_EQ(LiveMovieCount(), 0);
  // A name longer than the record's path is refused, not cut.
  const std::string longName(300, 'a');
  EXPECT_EQ(OpenMovie(longName.c_str(), nullptr, nullptr, 0), -1);
}

TEST_F(PlayerGraph, OverlayModeFallsBackAndPlacesTheOverlayWithinTheArea) {
  {
    gfxtest::Road road(false, 16, false, nullptr, false);
    ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
    const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, kMovieSurfaceOverlay);
    ASSERT_GE(movie, 0);
    EXPECT_EQ(GetMovieData(movie)->surfaceMode, kMovieSurfaceRgb24);  // no overlay format
    EXPECT_EQ(DrawMovieDirect(0, 0, 1, movie, 1), 0);                 // not an overlay: nothing
    EXPECT_TRUE(plat::DdOverlayCalls().empty());
  }
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  plat::DDCaps caps;
  caps.caps = plat::DDCAPS_ALIGNBOUNDARYDEST | plat::DDCAPS_ALIGNSIZESRC;
  caps.alignBoundaryDest = 8;
  caps.alignSizeSrc = 4;
  plat::DdOfferOverlays(true, caps);
  const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, kMovieSurfaceOverlay);
  ASSERT_GE(movie, 0);
  MovieData* m = GetMovieData(movie);
  ASSERT_EQ(m->surfaceMode, kMovieSurfaceOverlay);
  EXPECT_EQ(IsMovieDirect(m), 1);
  ASSERT_EQ(DrawMovieDirect(13, 7, 2, movie, 1), 0);
  ASSERT_FALSE(plat::DdOverlayCalls().empty());
  const plat::DdOverlayCall shown = plat::DdOverlayCalls().back();
  EXPECT_TRUE(shown.show);
  EXPECT_EQ(shown.destination.left, 8);  // moved down to the boundary
  EXPECT_EQ(shown.source.right - shown.source.left, 48);
  const size_t calls = plat::DdOverlayCalls().size();
  DrawMovieDirect(13, 7, 2, movie, 1);  // unchanged: not placed again
  EXPECT_EQ(plat::DdOverlayCalls().size(), calls);
  // A scale below 1 hides the overlay instead of dividing by zero.
  ASSERT_EQ(DrawMovieDirect(13, 7, 0, movie, 1), 0);
  EXPECT_FALSE(plat::DdOverlayCalls().back().show);
  EXPECT_EQ(m->directShow, 0);
  EXPECT_EQ(m->directDestination.right, 0);
  // Wholly outside the area: hidden, rectangles zero.
  ASSERT_EQ(DrawMovieDirect(5000, 5000, 1, movie, 1), 0);
  EXPECT_FALSE(plat::DdOverlayCalls().back().show);
  EXPECT_EQ(m->directSource.right, 0);
  CloseMovie(movie);
  plat::DdOfferOverlays(false);
}

TEST_F(PlayerGraph, TextureGraphsTakeTheFramesOnTheDirect3DRoad) {
  gfxtest::Road road(false, 32, false, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  WriteBytes("clip.ogv", Numbered(20));
  const int32_t player = OpenGraphFile("clip.avi", 0);
  const int32_t theora = OpenGraphFile("clip.ogv", 0);
  ASSERT_GE(player, 0);
  ASSERT_GE(theora, 0);
  ASSERT_EQ(LookupGraph(player)->is3D, 1);
  ASSERT_EQ(LookupGraph(theora)->is3D, 1);
  PlayMovie(LookupGraph(player)->movieHandle, 1);
  PlayMovie(LookupGraph(theora)->movieHandle, 1);
  SelectDrawTarget(kBackScreen);
  for (int n = 0; n < 3; ++n) {
    // A waiting update takes the next frame; the draws right after it (same
    // presented frame) ask for no other.
    UpdateMovie(LookupGraph(player)->movieHandle, 1);
    ASSERT_EQ(BlitGraph(0, 0, player, 0), 0);
    ASSERT_EQ(BlitGraph(100, 0, theora, 0), 0);
    EndSceneCurrentDevice();
    ASSERT_TRUE(ShowsSourceFrame(n, 0, 0)) << n;
    const MovieData* m = GetMovieData(LookupGraph(theora)->movieHandle);
    EXPECT_EQ(ShownOnScreen(100, 0, 64, 48), GetTheoraCurrentFrame(m->decoder));
    plat::headless::SetClock(plat::headless::PeekClock() + 1000000 / 10);
  }
  DestroyGraph(player, 0);
  DestroyGraph(theora, 0);
  EXPECT_EQ(LiveMovieCount(), 0);
}

namespace {

// The two files' pages as one multiplexed Ogg file: both first pages, then
// the rest of the video, then the rest of the sound.
std::vector<uint8_t> Multiplex(const std::vector<uint8_t>& video, const std::vector<uint8_t>& sound) {
  const auto v = soundtest::SplitPages(video), s = soundtest::SplitPages(sound);
  std::vector<uint8_t> out;
  const auto put = [&](const std::vector<uint8_t>& p) { out.insert(out.end(), p.begin(), p.end()); };
  put(v[0]);
  put(s[0]);
  for (size_t i = 1; i < v.size(); ++i) put(v[i]);
  for (size_t i = 1; i < s.size(); ++i) put(s[i]);
  return out;
}

}  // namespace

TEST(MovieSound, ATheoraMovieWithVorbisSoundFollowsTheSoundsPosition) {
  gfxtest::Road road(false, 32);
  ASSERT_NE(GetSoundState().directSound, nullptr);
  plat::headless::SetAudioManual(true);
  WriteBytes("clip.ogv",
             Multiplex(Numbered(60), soundtest::EncodeVorbis(soundtest::Tone(44100 * 3, 2), 2, 44100, 99)));
  const int32_t movie = OpenMovie("clip.ogv", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  MovieData* m = GetMovieData(movie);
  ASSERT_EQ(m->theora, 1);
  ASSERT_NE(m->soundtrack, -1);
  ASSERT_EQ(PlayMovie(movie, 1), 0);
  int lastPosition = -1;
  for (int step = 0; step < 6; ++step) {
    plat::headless::PumpAudio(44100 / 4);
    UpdateStreamSounds();
    const int p = GetSoundPositionMs(m->soundtrack);
    UpdateMovie(movie, 0);
    EXPECT_GT(p, lastPosition);
    EXPECT_EQ(GetTheoraCurrentFrame(m->decoder), std::min(MovieFrameDue(int64_t{p} * 1000, 30.0), 59)) << p;
    lastPosition = p;
  }
  // Paused, the sound stands and the picture with it; resumed, both go on
  // from there.
  PauseAllMovies();
  const int32_t frame = GetTheoraCurrentFrame(m->decoder);
  const int paused = GetSoundPositionMs(m->soundtrack);
  plat::headless::PumpAudio(44100 / 2);
  UpdateStreamSounds();
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(m->decoder), frame);
  EXPECT_EQ(GetSoundPositionMs(m->soundtrack), paused);
  ResumeAllMovies();
  plat::headless::PumpAudio(44100 / 10);
  UpdateStreamSounds();
  EXPECT_GE(GetSoundPositionMs(m->soundtrack), paused);
  CloseMovie(movie);
  EXPECT_EQ(LiveMovieCount(), 0);
}

TEST_F(PlayerGraph, AnArchivedMoviePlaysFromATemporaryCopyWholeOrNotAtAll) {
  gfxtest::Road road(false, 32);
  ASSERT_EQ(mkdir("t", 0755), 0);
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  const std::string tempHost = std::string(here) + "/t";
  setenv("TMPDIR", tempHost.c_str(), 1);
  const auto tempFiles = [&] {
    int n = 0;
    if (DIR* d = opendir(tempHost.c_str())) {
      while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
      closedir(d);
    }
    return n;
  };
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  // Inside an archive the player cannot open it by name: it plays from a
  // copy, which goes with the graph.
  std::vector<uint8_t> source;
  ASSERT_EQ(ReadWholeFile("clip.avi", &source), 0);
  std::vector<uint8_t> archive;
  ASSERT_EQ(BuildArchive(filetest::DirNode("", {filetest::FileNode("clip.avi", source)}), PackOptions{}, &archive), 0);
  WriteBytes("movies.dat", archive);
  SetArchiveExtension("dat");
  const int32_t g = OpenGraphFile("movies\\clip.avi", 1);
  ASSERT_GE(g, 0);
  EXPECT_EQ(GetMovieData(LookupGraph(g)->movieHandle)->tempFile, 1);
  EXPECT_EQ(tempFiles(), 1);
  EXPECT_FALSE(road.Logged("が開けませんでした")) << "the copy opened";
  DestroyGraph(g, 0);
  EXPECT_EQ(tempFiles(), 0);
  // A read that comes up short fails the copy and removes it.
  static FileAccessTable saved;
  saved = *GetFileAccessTable();
  FileAccessTable shortReads = saved;
  shortReads.read = [](void* buffer, size_t size, size_t count, FileHandle file) {
    return saved.read(buffer, size, count > 16 ? count / 2 : count, file);
  };
  SetFileAccessTable(&shortReads);
  MovieData record{};
  EXPECT_EQ(CopyMovieToTempFile(&record, "clip.avi"), -1);
  EXPECT_EQ(record.tempFile, 0);
  SetFileAccessTable(&saved);
  EXPECT_EQ(tempFiles(), 0);
  // Whole, it is the same bytes.
  ASSERT_EQ(CopyMovieToTempFile(&record, "clip.avi"), 0);
  EXPECT_EQ(tempFiles(), 1);
  std::vector<uint8_t> copy;
  ASSERT_EQ(ReadWholeFile(record.path, &copy), 0);
  EXPECT_EQ(copy, source);
  plat::DeleteFileAt(record.path);
  // A copy that the player cannot open either is deleted with the failed open.
  WriteBytes("junk.dat", std::vector<uint8_t>(3000, 0x11));
  EXPECT_EQ(OpenMovie("junk.dat", nullptr, nullptr, 0), -1);
  EXPECT_EQ(tempFiles(), 0);
  unsetenv("TMPDIR");
}

TEST_F(PlayerGraph, ReleasedStreamsAreLeftAloneUntilReopenedWhereTheyWere) {
  gfxtest::Road road(false, 32);
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  const int32_t movie = OpenMovie("clip.avi", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  MovieData* m = GetMovieData(movie);
  PlayMovie(movie, 1);
  UpdateMovie(movie, 1);
  UpdateMovie(movie, 1);
  // The stream clock runs on the virtual clock: 150 ms in, past frame 1.
  plat::headless::SetClock(plat::headless::PeekClock() + 150000);
  const int64_t at = plat::GetMediaTime(m->media);
  ReleaseAllMovieStreams();
  EXPECT_EQ(m->media, nullptr);
  EXPECT_NEAR(static_cast<double>(m->savedStreamTime), static_cast<double>(at), 1000.0);
  EXPECT_EQ(UpdateMovie(movie, 1), 0);
  EXPECT_EQ(PauseMovie(movie, 0), 0);
  EXPECT_EQ(m->stopped, 0);  // not marked: the pause did nothing
  ASSERT_EQ(ReopenAllMovies(), 0);
  ASSERT_NE(m->media, nullptr);
  EXPECT_GE(plat::GetMediaTime(m->media), at);
  EXPECT_EQ(plat::IsMediaRunning(m->media), 1);
  // Frame 2 is the next: the stream goes on from 150 ms.
  UpdateMovie(movie, 1);
  const auto want = losslessmovie::SourceFrame(2);
  EXPECT_EQ(std::memcmp(m->frameImage.pixels, want.data(), 4), 0);
  CloseMovie(movie);
}

TEST_F(PlayerGraph, ACarvedMovieGraphLeavesTheMovieToItsOwner) {
  gfxtest::Road road(false, 32);
  WriteBytes("clip.ogv", Numbered(10));
  const int32_t g = OpenGraphFile("clip.ogv", 1);
  ASSERT_GE(g, 0);
  const int32_t part = CarveSubGraph(8, 8, 16, 16, g);
  ASSERT_GE(part, 0);
  EXPECT_EQ(DestroyGraph(part, 0), 0);
  EXPECT_EQ(LiveMovieCount(), 1);
  EXPECT_EQ(BlitGraph(0, 0, g, 0), 0);
  EXPECT_EQ(DestroyGraph(g, 0), 0);
  EXPECT_EQ(LiveMovieCount(), 0);
  // The display refuses the sample surface: the open logs it and fails.
  ASSERT_TRUE(losslessmovie::WriteLosslessMovie("clip.avi"));
  plat::DdFailNext(plat::DdOp::CreateSurface);
  EXPECT_EQ(OpenMovie("clip.avi", nullptr, nullptr, 0), -1);
  EXPECT_TRUE(road.Logged("DirectDrawSurface オブジェクトの作成に失敗しました"));
}
