// Building memory images for the image-draw tests and drawing them through
// both the renderer and the reference model.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/blend_tables.h"
#include "framework/softrender/image_draw.h"
#include "framework/softrender/mem_image.h"
#include "reference_blend.h"

namespace qor::test {

// One source cell: the palette index or the pixel (colour part), and the
// alpha of alpha sources.
struct Cell {
  uint32_t value;
  uint32_t alpha;
};

class ImageDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMemImageFormats();
    ResetBlendTables();
    BuildBlendTables();
    // Graph bytes are their own factors unless a test builds the table.
    for (int i = 0; i < 256; ++i) g_blendTables.blendGraphThreshold[i] = static_cast<uint8_t>(i);
  }
  void TearDown() override { ReleaseAll(); }
  void ReleaseAll() {
    for (MemImage& m : images_) ReleaseMemImg(&m);
    images_.clear();
  }

  MemImage* NewImage() {
    images_.emplace_back();
    return &images_.back();
  }

  // A plain destination filled by `fill`.
  MemImage* Dest(int kind, int width, int height, const std::function<uint32_t(int, int)>& fill) {
    MemImage* m = NewImage();
    EXPECT_EQ(CreateMemImg(m, width, height, -1, 0, kind, 0, 0, 0, nullptr), 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) SetPixel(m, x, y, fill(x, y));
    return m;
  }

  // A source of `sourceKind` (ref::kPalette, kDirect, kAlpha); `palette`
  // gives the entries of a palettised source. With `runTable` the run table
  // is built from the pixels.
  MemImage* Source(int kind, int sourceKind, int width, int height, uint32_t key,
                   const std::function<Cell(int, int)>& cells, const std::function<uint32_t(int)>& palette,
                   bool runTable) {
    MemImage* m = NewImage();
    EXPECT_EQ(CreateMemImg(m, width, height, -1, key, kind, sourceKind == ref::kPalette, sourceKind == ref::kAlpha,
                           runTable ? 1 : 0, nullptr),
              0);
    MemImgBuffer* b = m->buffer;
    if (sourceKind == ref::kPalette) {
      for (int i = 0; i < 256; ++i) {
        if (kind == 0) StorePixel16(b->palette + 2 * i, palette(i));
        else StorePixel32(b->palette + 4 * i, palette(i));
      }
      b->paletteColorCount = 256;
    }
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        Cell c = cells(x, y);
        uint8_t* p = CellAt(m, x, y);
        if (sourceKind == ref::kPalette) {
          p[0] = static_cast<uint8_t>(c.value);
        } else if (sourceKind == ref::kAlpha) {
          if (kind == 0) {
            StorePixel32(p, (c.value & 0xFFFF) | (c.alpha << 16));
          } else {
            StorePixel32(p, (c.value & 0xFFFFFF) | (c.alpha << 24));
          }
        } else {
          StorePixel(p, kind == 0 ? 2 : 4, c.value);
        }
      }
    }
    if (runTable) RebuildMemImgRunTable(b);
    return m;
  }

  // A one-byte-per-pixel blend graph.
  MemImage* Graph(int width, int height, const std::function<uint32_t(int, int)>& bytes) {
    MemImage* m = NewImage();
    EXPECT_EQ(CreateMemImg(m, width, height, -1, 0, kMemImgKindOne8, 0, 0, 0, nullptr), 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) m->pixels[y * m->buffer->pitch + x] = static_cast<uint8_t>(bytes(x, y));
    return m;
  }

  static uint8_t* CellAt(const MemImage* m, int x, int y) {
    return m->pixels + static_cast<int64_t>(y) * m->buffer->pitch + static_cast<int64_t>(x) * m->buffer->format->bytesPerPixel;
  }
  static uint32_t GetPixel(const MemImage* m, int x, int y) {
    return LoadPixel(CellAt(m, x, y), m->buffer->format->bytesPerPixel);
  }
  static void SetPixel(MemImage* m, int x, int y, uint32_t v) {
    StorePixel(CellAt(m, x, y), m->buffer->format->bytesPerPixel, v);
  }

  // What the reference sees of a source image.
  static ref::Source RefSource(const MemImage* m) {
    const MemImgBuffer* b = m->buffer;
    ref::Source s;
    s.width = m->width;
    s.height = m->height;
    s.key = b->keyColor;
    s.runTableUsable = b->runTableValid && b->runTable != nullptr && m->pixels == b->pixels &&
                       m->width == b->width && m->height == b->height;
    for (int y = 0; y < m->height; ++y) {
      for (int x = 0; x < m->width; ++x) {
        const uint8_t* p = CellAt(m, x, y);
        ref::Sample r = {};
        if (b->paletteFlag) {
          r.stored = p[0];
          r.color = b->formatKind == 0 ? LoadPixel16(b->palette + 2 * p[0]) : LoadPixel32(b->palette + 4 * p[0]);
        } else if (b->alphaFlag) {
          r.color = b->formatKind == 0 ? LoadPixel16(p) : LoadPixel32(p);
          r.stored = r.color;
          r.alpha = b->formatKind == 0 ? p[2] : p[3];
        } else {
          r.stored = r.color = b->formatKind == 0 ? LoadPixel16(p) : LoadPixel32(p);
        }
        s.samples.push_back(r);
      }
    }
    return s;
  }
  static ref::Grid GridOf(const MemImage* m) {
    ref::Grid g;
    g.width = m->width;
    g.height = m->height;
    for (int y = 0; y < m->height; ++y)
      for (int x = 0; x < m->width; ++x) g.values.push_back(GetPixel(m, x, y));
    return g;
  }
  // The blend-graph factors through the threshold table.
  static ref::Grid FactorsOf(const MemImage* graph) {
    ref::Grid g = GridOf(graph);
    for (uint32_t& v : g.values) v = g_blendTables.blendGraphThreshold[v & 0xFF];
    return g;
  }
  static ref::Area AreaOf(const SoftDrawSettings& s, const MemImage* dst) {
    Rect a = s.drawArea;
    Rect bounds = {0, 0, dst->width, dst->height};
    ClipRect(&a, &bounds);
    return {a.left, a.top, a.right, a.bottom};
  }
  static ref::Draw RefDraw(const MemImage* src, const SoftDrawSettings& s, int flag, bool graph) {
    const MemImgBuffer* b = src->buffer;
    int kind = b->paletteFlag ? ref::kPalette : (b->alphaFlag ? ref::kAlpha : ref::kDirect);
    return {b->formatKind, s.blendMode, std::clamp(s.blendParam, 0, 255), s.tint, ref::Road::kAtSize, kind, flag, graph};
  }

  // Draws with the renderer and the reference and returns a description of
  // the first pixel on which they differ, or "" when they agree.
  std::string CompareAt(MemImage* dst, const MemImage* src, int x, int y, int flag, const MemImage* graph,
                        const SoftDrawSettings& s) {
    ref::Grid expected = GridOf(dst);
    ref::Grid factors;
    if (graph != nullptr) factors = FactorsOf(graph);
    ref::DrawAt(RefDraw(src, s, flag, graph != nullptr), RefSource(src), graph != nullptr ? &factors : nullptr,
                &expected, AreaOf(s, dst), x, y);
    DrawMemImgAt(dst, src, x, y, flag, graph, &s);
    return FirstDifference(dst, expected);
  }
  std::string CompareStretched(MemImage* dst, const MemImage* src, Rect rect, int flag, const MemImage* graph,
                               const SoftDrawSettings& s) {
    ref::Grid expected = GridOf(dst);
    ref::Grid factors;
    if (graph != nullptr) factors = FactorsOf(graph);
    ref::DrawStretched(RefDraw(src, s, flag, graph != nullptr), RefSource(src),
                       graph != nullptr ? &factors : nullptr, &expected, AreaOf(s, dst), rect.left, rect.top,
                       rect.right, rect.bottom);
    DrawMemImgStretched(dst, src, &rect, flag, graph, &s);
    return FirstDifference(dst, expected);
  }
  static std::string FirstDifference(const MemImage* dst, const ref::Grid& expected) {
    for (int y = 0; y < dst->height; ++y) {
      for (int x = 0; x < dst->width; ++x) {
        uint32_t got = GetPixel(dst, x, y);
        if (got != expected.at(x, y)) {
          char text[96];
          snprintf(text, sizeof text, "at (%d, %d): got %08X, expected %08X", x, y, got, expected.at(x, y));
          return text;
        }
      }
    }
    return "";
  }

 private:
  std::deque<MemImage> images_;  // records never move
};

inline std::string Describe(const SoftDrawSettings& s, int kind, int source, int flag, bool graph) {
  char text[160];
  snprintf(text, sizeof text, "kind %d source %d mode %d p %d tint %06X flag %d graph %d", kind, source, s.blendMode,
           s.blendParam, s.tint, flag, graph ? 1 : 0);
  return text;
}

}  // namespace qor::test
