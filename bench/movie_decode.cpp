// Playing a Theora movie as fast as frames can be shown: the decode thread
// fills its stock while the owner steps frame by frame and converts each to
// RGB. The counter "share_of_real_time" is the time taken over the movie's
// own length (below 1 keeps up with playback). The movie is encoded at
// start by libtheora: 320 x 240 at 30 frames a second.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_clock.h"
#include "framework/sound/movie/theora_decoder.h"
#include "movie_test_support.h"

namespace {

constexpr int kFrames = 90;
constexpr double kRate = 30.0;

const std::vector<uint8_t>& Movie() {
  static const std::vector<uint8_t> bytes = [] {
    movietest::EncodeOptions o;
    o.width = 320;
    o.height = 240;
    o.frames = kFrames;
    o.keyframeInterval = 30;
    return movietest::EncodeNumberedMovie(o);
  }();
  return bytes;
}

void TheoraPlayThrough(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = Movie();
  movietest::MemFile file{bytes.data(), bytes.size(), 0, 0};
  qor::InitYuvToRgbTables();
  qor::TheoraDecoder* d = qor::OpenTheoraMovie(movietest::MemFileTable(), movietest::HandleOf(&file), 10);
  if (d == nullptr) {
    state.SkipWithError("the test movie did not open");
    return;
  }
  double spent = 0;
  int64_t shown = 0;
  for (auto _ : state) {
    const double start = MonotonicSeconds();
    qor::SeekTheoraFrame(d, 0);
    shown += qor::UpdateTheoraFrame(d, 1, 0);
    for (int i = 1; i < kFrames; ++i) {
      qor::AdvanceTheoraFrame(d, 1);
      shown += qor::UpdateTheoraFrame(d, 1, 0);
    }
    spent += MonotonicSeconds() - start;
  }
  qor::CloseTheoraMovie(d);
  state.counters["share_of_real_time"] =
      spent / static_cast<double>(state.iterations()) / (kFrames / kRate);
  // Frames the stock could not hand over in time count against the run.
  state.counters["frames_missed"] = static_cast<double>(state.iterations() * kFrames - shown);
  state.SetItemsProcessed(shown);
}
BENCHMARK(TheoraPlayThrough)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
