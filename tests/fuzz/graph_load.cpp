// Pictures made into graphs on the software road: any image the loader
// table takes (and an "_a" companion cut from the same bytes) built into a
// graph, divided, carved, read pixel by pixel and drawn on the back screen.
#include <cstdint>
#include <cstdlib>

#include "guarded_calls.h"
#include "fuzz_support.h"

#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/soft_image.h"
#include "framework/qorlib.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::StartSoftFramework(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  GraphImage image{}, alpha{};
  const size_t half = size / 2;
  const int loaded = LoadImageWithAlphaFile(nullptr, data, size, 1, data + half, size - half, 1, &image, &alpha, 0);
  if (loaded == -1) return 0;
  // Graphs past a quarter million pixels cost the fuzzer time and teach it
  // nothing the small ones do not.
  if (static_cast<int64_t>(image.width) * image.height <= (int64_t{1} << 18)) {
    const int32_t graph = BuildGraphFromImage(&image, loaded == 0 ? &alpha : nullptr, 0, 1, 1);
    int32_t pieces[4] = {-1, -1, -1, -1};
    CreateDividedGraphFromImage(&image, nullptr, 4, 2, 2, image.width / 2 + 1, image.height / 2 + 1, pieces, 0, 1, 0);
    int32_t r = 0, g = 0, b = 0, a = 0;
    GetGraphImagePixel(&image, image.width - 1, image.height - 1, &r, &g, &b, &a);
    SelectDrawTarget(kBackScreen);
    BlitGraph(r - 128, g - 128, graph, 1);
    BlitGraphPartStretched(0, 0, b, a, 1, 1, image.width - 1, image.height - 1, pieces[3], 1);
    CarveSubGraph(r % 7, g % 5, b, a, graph);
    DestroyAllGraphs(0);
  }
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);
  return 0;
}
