// A Theora movie's Vorbis soundtrack, muxed as a movie file holds it: whole,
// it becomes the movie's sound and decodes as libvorbisfile decodes it;
// with a soundtrack page missing or its number repeated, or a second link
// whose headers stop after its first page, the soundtrack is refused with
// the log line naming why, and the pictures still play on the clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/archives/archive_writer.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/sound/encoded_audio.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/movie/theora_decoder.h"
#include "support/ogg_pages.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/stream_play.h"
#include "movie_test_support.h"
#include "platform/host/headless/headless_control.h"

using namespace qor;
using soundtest::Page;

namespace {

constexpr uint32_t kSoundSerial = 99;

// Both streams' first pages, the header pages, then one picture page and
// one sound page in turn.
std::vector<Page> Muxed(int frames) {
  movietest::EncodeOptions o;
  o.frames = frames;
  const auto video = soundtest::SplitPages(movietest::EncodeNumberedMovie(o));
  const auto sound = soundtest::SplitPages(
      soundtest::EncodeVorbis(soundtest::Tone(44100 * 2, 2), 2, 44100, static_cast<int>(kSoundSerial)));
  std::vector<Page> out = {video[0], sound[0]};
  size_t a = 1, b = 1;
  while (a < video.size() || b < sound.size()) {
    if (a < video.size()) out.push_back(video[a++]);
    if (b < sound.size()) out.push_back(sound[b++]);
  }
  return out;
}

// Index of a sound page in the second half of the file.
size_t LaterSoundPage(const std::vector<Page>& pages) {
  for (size_t i = pages.size() / 2; i < pages.size(); ++i) {
    if (soundtest::PageSerial(pages[i]) == kSoundSerial && (pages[i][5] & 2) == 0) return i;
  }
  return 0;
}

struct Opened {
  int32_t movie = -1;
  MovieData* m = nullptr;
};

Opened Open(const std::vector<uint8_t>& file) {
  Opened o;
  EXPECT_EQ(WriteWholeFile("clip.ogv", file), 0);
  o.movie = OpenMovie("clip.ogv", nullptr, nullptr, 0);
  if (o.movie >= 0) o.m = GetMovieData(o.movie);
  return o;
}

}  // namespace

TEST(MovieSoundtrackPages, AWholeSoundtrackPlaysAsTheLibraryDecodesIt) {
  gfxtest::Road road(false, 32);
  ASSERT_NE(GetSoundState().directSound, nullptr);
  const auto file = soundtest::JoinPages(Muxed(40));
  const Opened o = Open(file);
  ASSERT_GE(o.movie, 0);
  ASSERT_EQ(o.m->theora, 1);
  ASSERT_NE(o.m->soundtrack, -1);
  EXPECT_EQ(GetSoundLengthMs(o.m->soundtrack), 3000);  // two seconds and the one-second reserve
  EXPECT_EQ(soundtest::DecodeVorbisDirectly(file).size(), 44100u * 2 * 4);
  EXPECT_FALSE(road.Logged("Ogg ストリームが壊れているため"));
  CloseMovie(o.movie);
}

TEST(MovieSoundtrackPages, ADamagedSoundtrackIsRefusedAndThePicturesPlayOn) {
  const auto pages = Muxed(40);
  const size_t at = LaterSoundPage(pages);
  ASSERT_NE(at, 0u);
  auto repeated = pages;
  soundtest::SetPageNumber(&repeated[at], soundtest::PageNumber(repeated[at]) - 1);
  auto missing = pages;
  missing.erase(missing.begin() + static_cast<long>(at));
  // A second link after the movie: its first page alone.
  auto lone = pages;
  lone.push_back(soundtest::SplitPages(soundtest::EncodeVorbis(soundtest::Tone(4000, 1), 1, 22050, 7))[0]);
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* reason;
  };
  const Case cases[] = {{"missing", soundtest::JoinPages(missing), "page missing"},
                        {"repeated", soundtest::JoinPages(repeated), "page number repeated"},
                        {"lone link", soundtest::JoinPages(lone), "header packets missing"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gfxtest::Road road(false, 32);
    plat::headless::SetAudioManual(true);
    const Opened o = Open(c.file);
    ASSERT_GE(o.movie, 0);
    ASSERT_EQ(o.m->theora, 1);
    EXPECT_EQ(o.m->soundtrack, -1);
    EXPECT_TRUE(road.Logged(c.reason));
    EXPECT_TRUE(road.Logged("Ogg ストリームが壊れているため読み込みません"));
    // Without a sound the clock drives the pictures.
    ASSERT_EQ(PlayMovie(o.movie, 1), 0);
    int last = -1;
    for (int step = 0; step < 4; ++step) {
      plat::headless::SetClock(plat::headless::PeekClock() + 200000);
      UpdateMovie(o.movie, 0);
      const int frame = GetTheoraCurrentFrame(o.m->decoder);
      EXPECT_GE(frame, last);
      last = frame;
    }
    EXPECT_GT(last, 0);
    CloseMovie(o.movie);
  }
}
