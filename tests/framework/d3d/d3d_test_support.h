// A graph of the test picture, made as texture pieces when the Direct3D road
// runs.
#pragma once

#include "framework/graphics/graph_load.h"
#include "framework/graphics/graphics_test_support.h"

namespace d3dtest {

inline int32_t PictureGraph(int w, int h, int seed) {
  qor::GraphImage image;
  gfxtest::MakePicture(&image, w, h, false, seed);
  const int32_t g = qor::BuildGraphFromImage(&image, nullptr, 1, 0, 0);
  qor::FreeGraphImage(&image);
  return g;
}

}  // namespace d3dtest
