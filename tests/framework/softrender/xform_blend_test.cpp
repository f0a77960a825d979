// The transformed draws in every blend mode: the reference model of the
// image draws pixel by pixel, agreement between the roads that must give the
// same pixels (mode 1 at full strength and mode 0, the rotated draw at angle
// 0 and the 1:1 four-corner draw, the four-corner draw and the image draw),
// the flat colour, and the modes that draw nothing.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/image_draw.h"
#include "framework/softrender/xform_draw.h"
#include "reference_blend.h"
#include "xform_test_util.h"

namespace qor {
namespace {

using xform_test::Canvas;

constexpr int kPalette = 0, kDirect = 1, kAlpha = 2;
const int kModes[] = {0, 1, 2, 3, 4, 10, 11};

// One combination of the per-draw choices.
struct Config {
  int kind;
  int source;  // kPalette, kDirect, kAlpha
  uint32_t tint;
  bool graph;
  int key;
};

std::vector<Config> AllConfigs() {
  std::vector<Config> out;
  for (int kind = 0; kind < 2; ++kind)
    for (int source = 0; source < 3; ++source)
      for (uint32_t tint : {0xFFFFFFu, 0xC08040u})
        for (bool graph : {false, true})
          for (int key = 0; key < 2; ++key) out.push_back({kind, source, tint, graph, key});
  return out;
}

class XformBlendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMemImageFormats();
    BuildBlendTables();
    BuildBlendGraphTable(100, 60);
  }
  void TearDown() override {
    for (MemImage* m : {&src_, &graph_}) ReleaseMemImg(m);
  }

  // A random source of the configuration's kind: keyed pixels, alpha 0 and
  // 255 among the others; a palette with few entries in use; a blend graph
  // of random bytes.
  void MakeSource(const Config& c, int width, int height, uint32_t seed) {
    ReleaseMemImg(&src_);
    ReleaseMemImg(&graph_);
    std::mt19937 rng(seed);
    uint32_t key = c.source == kPalette ? 3 : c.kind == 0 ? 0x1234 : 0x00102030;
    ASSERT_EQ(CreateMemImg(&src_, width, height, -1, key, c.kind, c.source == kPalette, c.source == kAlpha, 0, nullptr),
              0);
    MemImgBuffer* b = src_.buffer;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint8_t* p = b->pixels + y * b->pitch + x * b->format->bytesPerPixel;
        uint32_t v = rng();
        if (rng() % 5 == 0) v = key;
        if (c.source == kPalette) {
          p[0] = static_cast<uint8_t>(v);
        } else if (c.kind == 0) {
          StorePixel16(p, v);
          if (c.source == kAlpha) p[2] = static_cast<uint8_t>(rng() % 3 == 0 ? (rng() % 2) * 255 : rng());
        } else {
          if (c.source == kAlpha && rng() % 3 == 0) v = (v & 0x00FFFFFF) | ((rng() % 2) * 0xFF000000u);
          StorePixel32(p, v);
        }
      }
    }
    if (c.source == kPalette) {
      for (int i = 0; i < 256; ++i) {
        if (c.kind == 0) StorePixel16(b->palette + 2 * i, rng());
        else StorePixel32(b->palette + 4 * i, rng() & 0x00FFFFFF);
      }
      // Indices past the entries in use still take the buffer's palette.
      b->paletteColorCount = 5;
    }
    if (c.graph) {
      ASSERT_EQ(CreateMemImg(&graph_, width + 3, height + 1, -1, 0, 2, 0, 0, 0, nullptr), 0);
      for (int y = 0; y < height + 1; ++y)
        for (int x = 0; x < width + 3; ++x) graph_.pixels[y * graph_.buffer->pitch + x] = static_cast<uint8_t>(rng());
    }
  }
  const MemImage* Graph(const Config& c) const { return c.graph ? &graph_ : nullptr; }

  static void FillRandom(Canvas& canvas, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < canvas.view.height; ++y)
      for (int x = 0; x < canvas.view.width; ++x) canvas.Set(x, y, rng());
  }

  MemImage src_ = {};
  MemImage graph_ = {};
};

// Pixels that both triangles of a four-corner draw cover.
std::set<std::pair<int, int>> Diagonal(const int32_t* c, int w, int h, const Rect& area) {
  const int32_t list[16] = {c[0], c[1], 0, 0, c[2], c[3], w, 0, c[4], c[5], 0, h, c[6], c[7], w, h};
  std::set<std::pair<int, int>> first = xform_test::TriangleCoverage(list, area), both;
  for (auto p : xform_test::TriangleCoverage(list + 4, area))
    if (first.count(p)) both.insert(p);
  return both;
}

void ExpectSameOutside(const Canvas& a, const Canvas& b, const std::set<std::pair<int, int>>& skip,
                       const std::string& what) {
  for (int y = 0; y < a.view.height; ++y) {
    for (int x = 0; x < a.view.width; ++x) {
      if (skip.count({x, y})) continue;
      ASSERT_EQ(a.Get(x, y), b.Get(x, y)) << what << " at " << x << "," << y;
    }
  }
  ASSERT_TRUE(a.CanaryIntact() && b.CanaryIntact()) << what;
}

std::string Describe(const Config& c, int mode) {
  return "kind " + std::to_string(c.kind) + " source " + std::to_string(c.source) + " tint " + std::to_string(c.tint) +
         " graph " + std::to_string(c.graph) + " key " + std::to_string(c.key) + " mode " + std::to_string(mode);
}

// What the reference model sees of source pixel (x, y).
ref::Sample RefSample(const MemImage& m, int x, int y) {
  const MemImgBuffer* b = m.buffer;
  const uint8_t* p = m.pixels + y * b->pitch + x * b->format->bytesPerPixel;
  bool wide = b->formatKind == 1;
  ref::Sample s = {};
  if (b->paletteFlag) {
    s.stored = p[0];
    s.color = wide ? LoadPixel32(b->palette + 4 * p[0]) : LoadPixel16(b->palette + 2 * p[0]);
    return s;
  }
  s.stored = s.color = wide ? LoadPixel32(p) : LoadPixel16(p);
  if (b->alphaFlag) s.alpha = wide ? p[3] : p[2];
  return s;
}

// Pixel by pixel, the 1:1 four-corner draw follows the reference model of
// the image draws on the transformed road (none of the 1:1 and stretched
// forms; alpha-0 pixels of a keyed draw skipped in every mode, mode 4
// included) in every mode and choice of loop; the pixels of the shared
// diagonal are blended twice.
TEST_F(XformBlendTest, OneToOneQuadAgainstReference) {
  const int32_t corners[8] = {3, 2, 12, 2, 3, 9, 12, 9};  // a 9 x 7 source
  const Rect area = {0, 0, 16, 12};
  const int32_t list[16] = {3, 2, 0, 0, 12, 2, 9, 0, 3, 9, 0, 7, 12, 9, 9, 7};
  std::set<std::pair<int, int>> first = xform_test::TriangleCoverage(list, area);
  std::set<std::pair<int, int>> second = xform_test::TriangleCoverage(list + 4, area);
  int drawn = 0;
  for (const Config& c : AllConfigs()) {
    MakeSource(c, 9, 7, 11);
    for (int mode : kModes) {
      for (int p : {0, 1, 128, 254, 255}) {
        Canvas k;
        k.Create(c.kind, 16, 12);
        FillRandom(k, 12);
        const std::vector<uint32_t> before = k.Pixels();
        std::vector<uint32_t> expected = before;
        SoftDrawSettings st = {area, mode, p, c.tint};
        DrawMemImgQuadClipped(&k.view, &src_, corners, c.key, Graph(c), &st);
        ref::Draw d = {c.kind, mode, p, c.tint, ref::Road::kTransformed, c.source, c.key, c.graph};
        for (int y = 0; y < 12; ++y) {
          for (int x = 0; x < 16; ++x) {
            // Pixels of column 12 and row 9 map to the source's far edges.
            int times = static_cast<int>(first.count({x, y}) + second.count({x, y}));
            if (times == 0 || x >= 12 || y >= 9) continue;
            int f = c.graph ? g_blendTables.blendGraphThreshold[graph_.pixels[(y - 2) * graph_.buffer->pitch + x - 3]] : 0;
            uint32_t& e = expected[y * 16 + x];
            for (int t = 0; t < times; ++t) e = ref::Pixel(d, src_.buffer->keyColor, RefSample(src_, x - 3, y - 2), f, e);
          }
        }
        drawn += k.Pixels() != before;
        std::vector<uint32_t> got = k.Pixels();
        for (size_t i = 0; i < got.size(); ++i)
          ASSERT_EQ(got[i], expected[i]) << Describe(c, mode) << " p " << p << " at " << i % 16 << "," << i / 16;
      }
    }
  }
  EXPECT_GT(drawn, 1300);
}

// A flat colour is tinted once and then drawn like a plain source; bits
// above a 16-bit colour are not part of it; modes 5 to 9 and out of range
// draw nothing.
TEST_F(XformBlendTest, FlatColourAgainstReference) {
  const int32_t tri[12] = {1, 0, 0, 0, 14, 5, 0, 0, 4, 11, 0, 0};
  const Rect area = {0, 0, 16, 12};
  std::set<std::pair<int, int>> covered = xform_test::TriangleCoverage(tri, area);
  const int shift[2][3] = {{0, 5, 11}, {0, 8, 16}}, bits[2][3] = {{5, 6, 5}, {8, 8, 8}};
  std::mt19937 rng(13);
  for (int kind = 0; kind < 2; ++kind) {
    for (uint32_t tint : {0xFFFFFFu, 0xFFFF00u, 0xC08040u, 0x000000u}) {
      for (uint32_t colour : {0xABCDFFFFu, static_cast<uint32_t>(rng())}) {
        uint32_t drawn = kind == 0 ? colour & 0xFFFF : colour;
        // Each channel (blue, green, red) through its tint byte.
        uint32_t tinted = kind == 0 ? 0 : drawn & 0xFF000000u;
        for (int i = 0; i < 3; ++i) {
          uint32_t v = (drawn >> shift[kind][i]) & ((1u << bits[kind][i]) - 1);
          tinted |= (((tint >> (8 * i)) & 0xFF) * v / 255) << shift[kind][i];
        }
        for (int mode : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, -1}) {
          for (int p : {0, 1, 128, 254, 255}) {
            Canvas k;
            k.Create(kind, 16, 12);
            FillRandom(k, 14);
            std::vector<uint32_t> expected = k.Pixels();
            SoftDrawSettings st = {area, mode, p, tint};
            DrawMemImgTriangle(&k.view, nullptr, tri, 0, nullptr, colour, &st);
            ref::Draw d = {kind, mode, p, 0xFFFFFF, ref::Road::kTransformed, ref::kDirect, 0, false};
            ref::Sample s = {tinted, tinted, 0, 0};
            for (auto [x, y] : covered) expected[y * 16 + x] = ref::Pixel(d, 0, s, 0, expected[y * 16 + x]);
            ASSERT_EQ(k.Pixels(), expected) << "kind " << kind << " tint " << tint << " mode " << mode << " p " << p;
            ASSERT_TRUE(k.CanaryIntact());
          }
        }
      }
    }
  }
}

// The rotated draw in mode 1 at full strength is the copy (the triangle
// road is held to the model above).
TEST_F(XformBlendTest, AlphaBlendAtFullStrengthIsCopy) {
  for (const Config& c : AllConfigs()) {
    MakeSource(c, 18, 16, 1);
    Canvas ra, rb;
    for (Canvas* k : {&ra, &rb}) {
      k->Create(c.kind, 32, 32);
      FillRandom(*k, 2);
    }
    SoftDrawSettings copy = {{0, 0, 32, 32}, 0, 17, c.tint}, alpha = {{0, 0, 32, 32}, 1, 255, c.tint};
    DrawMemImgRotated(&ra.view, &src_, 15, 16, 0.7f, 1.3f, c.key, 0, Graph(c), &copy);
    DrawMemImgRotated(&rb.view, &src_, 15, 16, 0.7f, 1.3f, c.key, 0, Graph(c), &alpha);
    ExpectSameOutside(ra, rb, {}, "rotated " + Describe(c, 1));
  }
}

// At angle 0 and scale 1 the rotated draw puts every source pixel where the
// 1:1 four-corner draw does; only the diagonal that the four-corner draw
// blends twice may differ.
TEST_F(XformBlendTest, RotatedAtZeroEqualsOneToOneQuad) {
  const int32_t corners[8] = {11, 13, 21, 13, 11, 21, 21, 21};  // a 10 x 8 source about (16, 17)
  int changed = 0;
  for (const Config& c : AllConfigs()) {
    MakeSource(c, 10, 8, 3);
    for (int mode : kModes) {
      Canvas q, r;
      q.Create(c.kind, 32, 32);
      r.Create(c.kind, 32, 32);
      FillRandom(q, 4);
      FillRandom(r, 4);
      SoftDrawSettings st = {{0, 0, 32, 32}, mode, 160, c.tint};
      DrawMemImgQuadClipped(&q.view, &src_, corners, c.key, Graph(c), &st);
      std::vector<uint32_t> before = r.Pixels();
      DrawMemImgRotated(&r.view, &src_, 16, 17, 0.0f, 1.0f, c.key, 0, Graph(c), &st);
      changed += r.Pixels() != before;
      ExpectSameOutside(q, r, Diagonal(corners, 10, 8, st.drawArea), Describe(c, mode));
    }
  }
  EXPECT_EQ(changed, 48 * 7);
}

// The 1:1 four-corner draw and the image draw share the per-pixel rules in
// the modes whose image draw has no form of its own.
TEST_F(XformBlendTest, OneToOneQuadEqualsImageDraw) {
  const int32_t corners[8] = {-3, 5, 9, 5, -3, 19, 9, 19};  // 12 x 14, partly left of the area
  const Rect area = {0, 2, 30, 17};
  int changed = 0;
  for (const Config& c : AllConfigs()) {
    MakeSource(c, 12, 14, 5);
    for (int mode : {1, 4, 10, 11}) {
      // Mode 1 at size takes the half and cube rules for plain untinted
      // sources without a blend graph.
      if (mode == 1 && c.tint == 0xFFFFFF && !c.graph && c.source != kAlpha) continue;
      Canvas q, d;
      q.Create(c.kind, 30, 24);
      d.Create(c.kind, 30, 24);
      FillRandom(q, 6);
      FillRandom(d, 6);
      SoftDrawSettings st = {area, mode, 77, c.tint};
      std::vector<uint32_t> before = q.Pixels();
      DrawMemImgQuadClipped(&q.view, &src_, corners, c.key, Graph(c), &st);
      changed += q.Pixels() != before;
      DrawMemImgAt(&d.view, &src_, -3, 5, c.key, Graph(c), &st);
      ExpectSameOutside(q, d, Diagonal(corners, 12, 14, area), Describe(c, mode));
    }
  }
  EXPECT_EQ(changed, 48 * 4 - 8);
}

// The rotated draw keeps nothing between calls: draws on several threads
// give what they give one after another.
TEST_F(XformBlendTest, RotatedDrawsRunSideBySide) {
  Config c = {1, kPalette, 0xFFFFFF, true, 1};
  MakeSource(c, 40, 30, 8);
  SoftDrawSettings st = {{0, 0, 64, 64}, 1, 200, 0xFFFFFF};
  // The images are made on this thread: the allocator is not shared.
  Canvas serial[4], parallel[4];
  for (int i = 0; i < 4; ++i) {
    serial[i].Create(1, 64, 64);
    parallel[i].Create(1, 64, 64);
  }
  auto draw = [&](int i, Canvas* k) {
    for (int n = 0; n < 20; ++n) {
      DrawMemImgRotated(&k->view, &src_, 32, 32, 0.3f * static_cast<float>(i + n), 1.0f + 0.1f * static_cast<float>(i),
                        1, 0, &graph_, &st);
    }
  };
  for (int i = 0; i < 4; ++i) draw(i, &serial[i]);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) threads.emplace_back(draw, i, &parallel[i]);
  for (std::thread& t : threads) t.join();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(serial[i].Pixels(), parallel[i].Pixels());
}

}  // namespace
}  // namespace qor
