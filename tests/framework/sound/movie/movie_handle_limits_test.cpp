// The movie table at its limits: 100 movies open at once and the 101st
// refused, a freed slot taken again with a new check, the handle's form,
// the width a movie reports with alpha halves on and off, and the
// soundtrack's sound handle going with its movie.
#include <gtest/gtest.h>

#include <dirent.h>

#include <set>
#include <vector>

#include "framework/core/archives/archive_writer.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/sound/encoded_audio.h"
#include "framework/sound/movie/movie.h"
#include "support/ogg_pages.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_state.h"
#include "movie_test_support.h"

using namespace qor;

namespace {

std::vector<uint8_t> SmallMovie() {
  movietest::EncodeOptions o;
  o.frames = 3;
  o.width = 32;
  o.height = 16;
  return movietest::EncodeNumberedMovie(o);
}

}  // namespace

TEST(MovieHandles, AHundredOpenAtOnceAndTheNextRefused) {
  gfxtest::Road road(false, 32);
  ASSERT_EQ(WriteWholeFile("small.ogv", SmallMovie()), 0);
  std::vector<int32_t> handles;
  for (int i = 0; i < kMovieHandleMax; ++i) {
    const int32_t h = OpenMovie("small.ogv", nullptr, nullptr, 0);
    ASSERT_GE(h, 0) << i;
    // Tag 0x18, a check in bits 16-26, the slot below.
    EXPECT_EQ(h & kHandleKindMask, kMovieHandleTag);
    EXPECT_EQ(h & kHandleIndexMask, i);
    EXPECT_EQ(MovieHandleOfSlot(i), h);
    handles.push_back(h);
  }
  EXPECT_EQ(LiveMovieCount(), kMovieHandleMax);
  EXPECT_EQ(OpenMovie("small.ogv", nullptr, nullptr, 0), -1);
  EXPECT_EQ(LiveMovieCount(), kMovieHandleMax);
  // Checks run on from movie to movie.
  std::set<int32_t> checks;
  for (int32_t h : handles) checks.insert(h & kHandleCheckMask);
  EXPECT_EQ(checks.size(), handles.size());
  EXPECT_EQ((handles[1] & kHandleCheckMask) - (handles[0] & kHandleCheckMask), 1 << 16);
  // A freed slot is the next one taken, under a check of its own; the old
  // handle names nothing.
  ASSERT_EQ(CloseMovie(handles[37]), 0);
  EXPECT_EQ(GetMovieData(handles[37]), nullptr);
  EXPECT_EQ(CloseMovie(handles[37]), -1);
  const int32_t again = OpenMovie("small.ogv", nullptr, nullptr, 0);
  ASSERT_GE(again, 0);
  EXPECT_EQ(again & kHandleIndexMask, 37);
  EXPECT_NE(again, handles[37]);
  EXPECT_EQ(OpenMovie("small.ogv", nullptr, nullptr, 0), -1);
  EXPECT_EQ(MovieHandleOfSlot(kMovieHandleMax), -1);
  EXPECT_EQ(MovieHandleOfSlot(-1), -1);
  CloseAllMovies();
  EXPECT_EQ(LiveMovieCount(), 0);
  EXPECT_EQ(MovieHandleOfSlot(0), -1);
  // The slot past the table, with the field after the table set.
  SetMovieAlphaHalves(1);
  EXPECT_EQ(MovieHandleOfSlot(kMovieHandleMax), -1);
  SetMovieAlphaHalves(0);
}

TEST(MovieHandles, WidthWithAlphaHalvesAndTheSoundtracksHandle) {
  gfxtest::Road road(false, 32);
  ASSERT_EQ(WriteWholeFile("small.ogv", SmallMovie()), 0);
  int32_t w = 0, h = 0;
  int32_t movie = OpenMovie("small.ogv", &w, &h, 0);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 16);
  EXPECT_EQ(GetMovieData(movie)->width, 32);
  CloseMovie(movie);
  SetMovieAlphaHalves(1);
  movie = OpenMovie("small.ogv", &w, &h, 0);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(w, 16) << "the picture's left half; the right half is its alpha";
  EXPECT_EQ(h, 16);
  EXPECT_EQ(GetMovieData(movie)->width, 32);
  CloseMovie(movie);
  SetMovieAlphaHalves(2);  // any value but 0 is on
  movie = OpenMovie("small.ogv", &w, &h, 0);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(w, 16);
  CloseMovie(movie);
  SetMovieAlphaHalves(0);

  // A movie with a soundtrack: the sound handle lives exactly as long.
  ASSERT_NE(GetSoundState().directSound, nullptr);
  const auto video = soundtest::SplitPages(SmallMovie());
  const auto sound = soundtest::SplitPages(soundtest::EncodeVorbis(soundtest::Tone(22050, 1), 1, 22050, 5));
  std::vector<soundtest::Page> pages = {video[0], sound[0]};
  pages.insert(pages.end(), video.begin() + 1, video.end());
  pages.insert(pages.end(), sound.begin() + 1, sound.end());
  ASSERT_EQ(WriteWholeFile("sound.ogv", soundtest::JoinPages(pages)), 0);
  movie = OpenMovie("sound.ogv", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  const int track = GetMovieData(movie)->soundtrack;
  ASSERT_NE(track, -1);
  EXPECT_NE(GetSoundData(track), nullptr);
  EXPECT_EQ(GetSoundLengthMs(track), 3000);  // a second at 22.05 kHz and the reserve of 44,100 samples
  ASSERT_EQ(CloseMovie(movie), 0);
  EXPECT_EQ(GetSoundData(track), nullptr);
}

TEST(MovieHandles, ClosingAMovieClosesItsFiles) {
  gfxtest::Road road(false, 32);
  ASSERT_EQ(WriteWholeFile("small.ogv", SmallMovie()), 0);
  const auto descriptors = [] {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
      while (readdir(d) != nullptr) ++n;
      closedir(d);
    }
    return n;
  };
  const int before = descriptors();
  const int32_t movie = OpenMovie("small.ogv", nullptr, nullptr, 0);
  ASSERT_GE(movie, 0);
  EXPECT_GT(descriptors(), before);
  ASSERT_EQ(CloseMovie(movie), 0);
  EXPECT_EQ(descriptors(), before);
}
