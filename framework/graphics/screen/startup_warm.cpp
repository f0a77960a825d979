// The last graphics step of the framework's start: every graph road is
// taken once (a drawable graph as target, a picture drawn with blending, a
// stretched draw) and both screens are left black.
#include <cstring>

#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

namespace {

// A 256 x 256 24-bit picture, all black, as a graph; -1 when either cannot
// be made.
int32_t BlackGraph(GraphImage* image) {
  *image = GraphImage{};
  if (CreateRgb24GraphImage(256, 256, image) != 0) return -1;
  std::memset(image->pixels, 0, static_cast<size_t>(image->pitch) * 256);
  return BuildGraphFromSingleImage(image);
}

}  // namespace

int WarmGraphPaths() {
  SetNewGraphDrawable(1);
  const int32_t blank = CreateBlankGraph(256, 256, 0);
  SetNewGraphDrawable(0);
  SelectDrawTarget(blank);
  SelectDrawTarget(kFrontScreen);
  DestroyGraph(blank, 0);
  SelectDrawTarget(kBackScreen);

  GraphImage image;
  int32_t black = BlackGraph(&image);
  FreeGraphImage(&image);
  SelectBlend(3, 128);
  BlitGraph(0, 0, black, 1);
  SelectBlend(0, 0);
  SelectDrawTarget(kFrontScreen);
  BlitGraph(0, 0, black, 1);
  DestroyGraph(black, 0);

  black = BlackGraph(&image);
  BlitGraphStretched(0, 0, 640, 480, black, 1);
  DestroyGraph(black, 0);
  FreeGraphImage(&image);
  return 0;
}

}  // namespace qor
