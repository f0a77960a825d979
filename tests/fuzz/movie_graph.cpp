// The graph road for files no image reader takes: the bytes written as a
// file, opened as a movie graph (Theora first, then the movie player),
// played, drawn a few times and deleted with its movie.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/graphics/draw_entries.h"
#include "framework/graphics/draw_state.h"
#include "framework/graphics/graph_load.h"
#include "framework/graphics/graph_record.h"
#include "framework/qorlib.h"
#include "framework/sound/movie.h"
#include "platform/kernel/path_map.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ORB_HOST", "headless", 1);
  setenv("ORB_GFX", "soft", 1);
  qor::SetLogFileOutputPublic(0);
  qor::RequestScreenModePublic(320, 240, 32, -1);
  return qor::InitFramework() == 0 ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static char hostPath[64] = {};
  static char path[256] = {};
  if (hostPath[0] == '\0') {
    std::snprintf(hostPath, sizeof hostPath, "/tmp/fuzz_movie_%d.bin", static_cast<int>(getpid()));
    if (plat::HostPathToCp932(hostPath, path, sizeof path) < 0) return 0;
  }
  FILE* f = std::fopen(hostPath, "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);

  using namespace qor;
  const int32_t graph = OpenGraphFile(path, 1);
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
  std::remove(hostPath);
  return 0;
}
