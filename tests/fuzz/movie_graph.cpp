// The graph road for files no image reader takes: the bytes written as a
// file, opened as a movie graph (Theora first, then the movie player),
// played, drawn a few times and deleted with its movie. Every block the
// movie libraries write into has guard bytes after it (guarded_calls.h).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "guarded_calls.h"

#include "framework/core/memory.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/qorlib.h"
#include "framework/sound/movie/movie.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::StartSoftFramework(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The movie player opens by name: a file it is.
  if (!fuzz::WriteScratchFile("movie.bin", data, size)) return 0;
  const std::string path = fuzz::GetScratch().z + "\\movie.bin";
  using namespace qor;
  const int32_t graph = OpenGraphFile(path.c_str(), 1);
  if (graph != -1) {
    const int32_t movie = LookupGraph(graph)->movieHandle;
    PlayMovie(movie, (size & 1) != 0 ? 3 : 1);
    SelectDrawTarget(kBackScreen);
    for (int i = 0; i < 4; ++i) {
      UpdateMovie(movie, 1);
      BlitGraph(i * 3 - 4, i, graph, 0);
    }
    PauseAllMovies();
    ResumeAllMovies();
    BlitGraphStretched(0, 0, 17, 9, graph, 0);
    DestroyGraph(graph, 0);
  }
  // A write past one of the framework's blocks shows in the next block's
  // header.
  if (qor::CheckAllocations() != 0) std::abort();
  return 0;
}
