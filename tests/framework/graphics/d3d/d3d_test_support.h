// Shared by the Direct3D road tests: a graph of the test picture (texture
// pieces when the Direct3D road runs), the presented frame, and how far two
// frames lie apart.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphics_test_support.h"
#include "platform/host/headless/headless_control.h"

namespace d3dtest {

inline int32_t PictureGraph(int w, int h, int seed) {
  qor::GraphImage image;
  gfxtest::MakePicture(&image, w, h, false, seed);
  const int32_t g = qor::BuildGraphFromImage(&image, nullptr, 1, 0, 0);
  qor::FreeGraphImage(&image);
  return g;
}

// Presents the back screen; the frame the host kept.
inline std::vector<uint32_t> Frame() {
  qor::PresentFrame();
  const plat::headless::KeptFrame* f = plat::headless::LastFrame();
  return f != nullptr ? f->pixels : std::vector<uint32_t>{};
}

// The largest difference of two 640-wide frames inside a rectangle, in steps
// of the screen's colour fields; pixels for which skip(x, y) holds are left out.
template <typename Skip>
int StepDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int x0, int y0, int w, int h,
                   int bits, Skip skip) {
  const int steps[3] = {bits == 16 ? 8 : 1, bits == 16 ? 4 : 1, bits == 16 ? 8 : 1};
  int worst = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      if (skip(x, y)) continue;
      const uint32_t p = a[static_cast<size_t>(y) * 640 + x], q = b[static_cast<size_t>(y) * 640 + x];
      for (int ch = 0; ch < 3; ++ch) {
        const int d = std::abs(static_cast<int>((p >> (16 - 8 * ch)) & 255) - static_cast<int>((q >> (16 - 8 * ch)) & 255));
        worst = std::max(worst, d / steps[ch]);
      }
    }
  return worst;
}

}  // namespace d3dtest
