// Shared by the Direct3D road tests: a graph of the test picture (texture
// pieces when the Direct3D road runs), a texel of a texture graph, the
// presented frame, and how far two frames lie apart.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/surfaces/surface_data.h"
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

// The texel at (x, y) of a texture graph, as its piece's texture holds it
// (2 or 4 bytes); 0 outside every piece.
inline uint32_t GraphTexel(int32_t graph, int x, int y) {
  const qor::GraphRecord* g = qor::LookupGraph(graph);
  for (int32_t i = 0; i < g->pieceCount; ++i) {
    const qor::Surface3DData* p = qor::LookupSurface3DData(g->pieceHandles[i]);
    if (x < p->x || y < p->y || x >= p->x + p->width || y >= p->y + p->height) continue;
    const plat::DDSurface* s = qor::LookupSurfaceData(p->texture)->surface;
    plat::DDPixelFormat format;
    s->GetPixelFormat(&format);
    const int bytes = static_cast<int>(format.bitCount / 8);
    uint32_t v = 0;
    std::memcpy(&v, s->memory() + (p->textureY + y - p->y) * s->pitch() + (p->textureX + x - p->x) * bytes, bytes);
    return v;
  }
  return 0;
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
