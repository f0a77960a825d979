// The four-corner draw from whole-pixel corners against the draws it hands
// over to: an axis-aligned rectangle is the stretched draw, a quadrilateral
// without a blend graph the four-corner draw of float corners, and with a
// blend graph the four-corner draw of float corners that truncate to it;
// and a transparent draw with a blend graph, which shows no key colour.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"

namespace {

using namespace qor;

std::vector<uint32_t> Drawn(const std::function<int()>& draw, int* result) {
  SelectDrawTarget(kBackScreen);
  PaintBoxFilled(0, 0, 640, 480, 0);
  *result = draw();
  return d3dtest::Frame();
}

TEST(D3DQuadInt, EveryCaseDrawsAsTheDrawItHandsOverTo) {
  gfxtest::Road road(false, 32, false, "d3d");
  const int32_t g = d3dtest::PictureGraph(40, 30, 5);
  const int32_t blend = d3dtest::PictureGraph(64, 64, 9);
  GraphRecord* r = LookupGraph(g);
  ASSERT_TRUE(r->is3D);
  const struct {
    bool blendGraph;
    int32_t k[8];  // top-left, top-right, bottom-left, bottom-right
  } cases[] = {
      {false, {10, 10, 60, 10, 10, 40, 60, 40}},   // a rectangle
      {true, {10, 10, 60, 10, 10, 40, 60, 40}},
      {false, {60, 10, 10, 10, 60, 40, 10, 40}},   // mirrored
      {false, {10, 10, 61, 12, 4, 40, 66, 47}},    // a quadrilateral
      {true, {10, 10, 61, 12, 4, 40, 66, 47}},
      {false, {10, 10, 60, 10, 10, 40, 60, 41}},   // one corner a pixel off
      {true, {10, 10, 60, 10, 10, 40, 60, 41}},
  };
  for (const auto& c : cases) {
    const int32_t* k = c.k;
    SCOPED_TRACE(testing::Message() << "blend " << c.blendGraph << " corners " << k[0] << "," << k[1] << " "
                                    << k[6] << "," << k[7]);
    SelectBlendGraph(c.blendGraph ? blend : -1, 100, 0);
    int got = 0, want = 0;
    const std::vector<uint32_t> a = Drawn([&] { return BlitGraphQuadIntD3D(k, r, 1); }, &got);
    const bool rectangle = k[0] == k[4] && k[2] == k[6] && k[1] == k[3] && k[5] == k[7];
    std::vector<uint32_t> b;
    if (rectangle) {
      const float x1 = static_cast<float>(k[0]), y1 = static_cast<float>(k[1]);
      const float x2 = static_cast<float>(k[6]), y2 = static_cast<float>(k[7]);
      b = Drawn([&] { return BlitGraphStretchedD3D(k[0], k[1], k[6], k[7], x1, y1, x2, y2, r, 1, 1); }, &want);
    } else if (!c.blendGraph) {
      float f[8];
      for (int i = 0; i < 8; ++i) f[i] = static_cast<float>(k[i]);
      b = Drawn([&] { return BlitGraphQuadD3D(f, r, 1); }, &want);
    } else {
      // Through the public entry: corners with fractions that truncate to k.
      float f[8];
      for (int i = 0; i < 8; ++i) f[i] = static_cast<float>(k[i]) + (i % 3 == 0 ? 0.75f : 0.25f);
      b = Drawn([&] { return BlitGraphQuad(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], g, 1); }, &want);
    }
    EXPECT_EQ(got, want);
    ASSERT_EQ(a.size(), b.size());
    int lit = 0, differ = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      lit += (a[i] & 0xFFFFFF) != 0;
      differ += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(lit, 500);
  }
  SelectBlendGraph(-1, 0, 0);
}

// With a blend graph the four-corner draw goes by whole-pixel corners and
// stays transparent: wherever the same draw without transparency shows the
// key colour the screen keeps its own, and everywhere else the two agree.
TEST(D3DQuadInt, ATransparentDrawWithABlendGraphShowsNoKeyColour) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetKeyColorRGB(0, 255, 0);  // the picture's key, as the game sets it
  GraphRecord* r = LookupGraph(d3dtest::PictureGraph(40, 30, 5));
  const int32_t blend = CreateSizedGraph(64, 64, 1, 0, 0);
  ASSERT_EQ(FillGraphColor(blend, 255, 255, 255, 255), 0);  // lets every pixel through
  const uint32_t screen = 0x204060, key = 0x00FF00;
  const float corners[][8] = {
      {10.75f, 10.25f, 61.5f, 12.25f, 4.25f, 40.5f, 66.75f, 47.25f},  // a quadrilateral
      {60.5f, 10.5f, 10.5f, 12.5f, 62.5f, 50.5f, 8.5f, 55.5f},        // mirrored
      {20.0f, 50.0f, 70.0f, 46.0f, 18.0f, 8.0f, 66.0f, 12.0f},        // flipped down
  };
  for (const auto& c : corners) {
    for (const bool whole : {false, true}) {  // from float corners, or from the whole-pixel ones
      SCOPED_TRACE(testing::Message() << "corners " << c[0] << "," << c[1] << (whole ? " whole" : " float"));
      std::vector<uint32_t> frames[2];
      for (const int transparent : {0, 1}) {
        SelectBlendGraph(blend, 0, 0);
        int result = -1;
        frames[transparent] = Drawn(
            [&] {
              PaintBoxFilled(0, 0, 640, 480, PackColorRGB(0x20, 0x40, 0x60));
              if (!whole) return BlitGraphQuadD3D(c, r, transparent);
              int32_t k[8];
              for (int i = 0; i < 8; ++i) k[i] = static_cast<int32_t>(c[i]);
              return BlitGraphQuadIntD3D(k, r, transparent);
            },
            &result);
        EXPECT_EQ(result, 0);
        SelectBlendGraph(-1, 0, 0);
      }
      int keyed = 0, drawn = 0, wrong = 0;
      for (size_t i = 0; i < frames[0].size(); ++i) {
        const uint32_t opaque = frames[0][i] & 0xFFFFFF, seen = frames[1][i] & 0xFFFFFF;
        keyed += opaque == key;
        drawn += opaque != key && opaque != screen;
        wrong += seen != (opaque == key ? screen : opaque);
      }
      EXPECT_EQ(wrong, 0);
      EXPECT_GT(keyed, 100);
      EXPECT_GT(drawn, 500);
    }
  }
}

}  // namespace
