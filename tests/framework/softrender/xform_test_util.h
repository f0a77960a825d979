// Helpers of the transformed-draw and primitive tests: destinations framed
// by a canary border, sources with a distinct value in every pixel, and the
// closed-form reference of the triangle draw's coverage and source mapping.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/xform_triangle_setup.h"

namespace qor::xform_test {

// A destination image that is the inside of a larger buffer; the frame
// around it holds a canary value that no draw may change.
struct Canvas {
  MemImage whole = {};
  MemImage view = {};
  int border = 0;
  uint32_t canary = 0;

  void Create(int kind, int width, int height, int frame = 4, uint32_t background = 0) {
    ReleaseMemImg(&view);
    ReleaseMemImg(&whole);
    border = frame;
    canary = kind == 0 ? 0xA55A : 0xA55AC33Cu;
    ASSERT_EQ(CreateMemImg(&whole, width + 2 * frame, height + 2 * frame, -1, 0, kind, 0, 0, 0, nullptr), 0);
    FillMemImgRect(&whole, nullptr, canary);
    MakeMemImgView(&view, &whole, frame, frame, width, height);
    FillMemImgRect(&view, nullptr, background);
  }
  ~Canvas() {
    ReleaseMemImg(&view);
    ReleaseMemImg(&whole);
  }
  int Bytes() const { return whole.buffer->formatKind == 0 ? 2 : 4; }
  uint8_t* At(int x, int y) const { return view.pixels + y * view.buffer->pitch + x * Bytes(); }
  uint32_t Get(int x, int y) const { return LoadPixel(At(x, y), Bytes()); }
  void Set(int x, int y, uint32_t v) const { StorePixel(At(x, y), Bytes(), v); }
  // The pixels of the view, row by row.
  std::vector<uint32_t> Pixels() const {
    std::vector<uint32_t> out;
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) out.push_back(Get(x, y));
    return out;
  }
  void Restore(const std::vector<uint32_t>& pixels) const {
    size_t i = 0;
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) Set(x, y, pixels[i++]);
  }
  bool CanaryIntact() const {
    int bytes = Bytes();
    for (int y = 0; y < whole.height; ++y) {
      for (int x = 0; x < whole.width; ++x) {
        bool inside = x >= border && x < border + view.width && y >= border && y < border + view.height;
        if (inside) continue;
        if (LoadPixel(whole.pixels + y * whole.buffer->pitch + x * bytes, bytes) != canary) return false;
      }
    }
    return true;
  }
};

// A source whose pixel (x, y) holds SourceValue(kind, x, y); palettised
// sources hold index (x + 7y) & 255 with a palette of distinct colours.
inline uint32_t SourceValue(int kind, int x, int y) {
  uint32_t v = static_cast<uint32_t>(x * 131 + y * 7919 + 17);
  return kind == 0 ? (v * 2654435761u) >> 16 : (v * 2654435761u) | 0x01000000u;
}

struct Source {
  MemImage image = {};
  void Create(int kind, int width, int height, int palette = 0, int alpha = 0, uint32_t key = 0) {
    ASSERT_EQ(CreateMemImg(&image, width, height, -1, key, kind, palette, alpha, 0, nullptr), 0);
    MemImgBuffer* b = image.buffer;
    int bytes = b->format->bytesPerPixel;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint32_t v = palette ? static_cast<uint32_t>((x + 7 * y) & 255) : SourceValue(kind, x, y);
        StorePixel(b->pixels + y * b->pitch + x * bytes, bytes, v);
      }
    }
    if (palette) {
      for (int i = 0; i < 256; ++i) {
        uint32_t c = SourceValue(kind, i, 1000);
        if (kind == 0) StorePixel16(b->palette + 2 * i, c);
        else StorePixel32(b->palette + 4 * i, c & 0x00FFFFFF);
      }
      b->paletteColorCount = 256;
    }
  }
  ~Source() { ReleaseMemImg(&image); }
  uint32_t Get(int x, int y) const {
    int bytes = image.buffer->format->bytesPerPixel;
    return LoadPixel(image.pixels + y * image.buffer->pitch + x * bytes, bytes);
  }
  void Set(int x, int y, uint32_t v) const {
    int bytes = image.buffer->format->bytesPerPixel;
    StorePixel(image.pixels + y * image.buffer->pitch + x * bytes, bytes, v);
  }
};

// The pixels the triangle draw's scan conversion covers inside `area`.
inline std::set<std::pair<int, int>> TriangleCoverage(const int32_t* v, const Rect& area) {
  TriangleSetup t;
  std::set<std::pair<int, int>> out;
  if (PrepareTriangle(v, &t) != 0) return out;
  ForEachTriangleSpan(t, area, [&](int32_t y, int32_t c, int32_t n, int64_t, int64_t) {
    for (int i = 0; i < n; ++i) out.insert({c + i, y});
  });
  return out;
}

// One pixel of a triangle: its destination position and its source
// position in 14.18.
struct RefPixel {
  int x;
  int y;
  int64_t u;
  int64_t v;
};

// The pixels a triangle covers inside `area` (left, top, right, bottom,
// exclusive), each with its source position, computed directly: for every
// row the edges are the segment's start plus the row count times its step,
// and each pixel's source position is the reference vertex's plus the
// gradients times the distance to it. Empty for collinear vertices.
std::vector<RefPixel> ReferenceTriangle(const int32_t* vertices, const int32_t* area);

}  // namespace qor::xform_test
