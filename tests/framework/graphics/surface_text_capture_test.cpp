// Roads of the 2D back-end that must agree: strings on an 8-bit DirectDraw
// screen against a 32-bit one; a capture from a memory-image graph target
// into a graph surface against the back screen's; one triangle on the
// software and DirectDraw roads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "graphics_test_support.h"

using namespace qor;

namespace {

constexpr int kW = 220, kH = 40;

// Each pixel of each string's band: 0 untouched, 1 text, 2 edge. The last
// two strings start a pixel inside the draw area's right edge and on it.
std::vector<int> StringPixels(int bits) {
  gfxtest::Road road(false, bits, false, "ddraw");
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  const uint32_t text = PackColorRGB(255, 255, 0) & 0xFFFFFF, edge = PackColorRGB(0, 0, 255);
  const struct {
    int type, edge, vertical, clipRight, x;
  } cases[] = {{0, -1, 0, 640, 4}, {1, 2, 0, 640, 4}, {0, -1, 1, 640, 4}, {1, 1, 0, 90, 4}, {0, -1, 0, 90, 89},
               {0, -1, 0, 90, 90}};
  std::vector<int> out;
  for (int i = 0; i < 6; ++i) {
    const auto& c = cases[i];
    const int32_t font = CreateFontHandle(nullptr, 16, 4, c.type, -1, c.edge, 0, -1, -1);
    SetClipArea(0, 0, c.clipRight, 480);
    DrawStringWithFont(c.x, 4 + i * kH, c.vertical ? "\x8F" "cA" : "Wag \x8A\xBF!", text, font, edge, c.vertical);
    SetClipArea(0, 0, 640, 480);
    for (uint32_t v : gfxtest::TargetPixels(0, 4 + i * kH, kW, kH))
      out.push_back((v & 0xFFFFFF) == 0 ? 0 : (v & 0xFFFFFF) == text ? 1 : 2);
    ReleaseFontHandle(font);
  }
  return out;
}

TEST(SurfaceText, EightBitScreenDrawsStringsWhereAThirtyTwoBitScreenDoes) {
  const std::vector<int> eight = StringPixels(8), wide = StringPixels(32);
  ASSERT_EQ(eight.size(), wide.size());
  for (size_t i = 0; i < eight.size(); ++i)
    ASSERT_EQ(eight[i], wide[i]) << "string " << i / (kW * kH) << " at " << i % kW << "," << i / kW % kH;
  EXPECT_GT(std::count(eight.begin(), eight.end(), 1), 300);
  EXPECT_GT(std::count(eight.begin(), eight.end(), 2), 300);
  const auto band = [&](int i) { return eight.begin() + i * kW * kH; };
  EXPECT_GT(std::count(band(4), band(5), 1), 0);
  EXPECT_EQ(std::count(band(5), band(6), 0), kW * kH);
}

std::vector<uint32_t> SurfacePixels(int32_t graph, int w, int h) {
  const Surface2DPiece* p = LookupSurface2D(LookupGraph(graph)->pieceHandles[0]);
  plat::DDSurface* s = LookupSurfaceData(p->surfaceData)->surface;
  plat::DDPixelFormat f;
  s->GetPixelFormat(&f);
  const int bytes = static_cast<int>(f.bitCount / 8);
  std::vector<uint32_t> out(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      std::memcpy(&out[static_cast<size_t>(y * w + x)],
                  s->memory() + (p->surfaceY + y) * s->pitch() + (p->surfaceX + x) * bytes, bytes);
  return out;
}

TEST(SurfaceCapture, MemoryImageGraphTargetIntoAGraphSurfaceAsFromTheBackScreen) {
  for (int bits : {16, 32}) {
    gfxtest::Road road(false, bits, false, "ddraw");
    constexpr int cw = 96, ch = 64, gw = 40, gh = 30;
    const int32_t canvas = gfxtest::MakeGraph(cw, ch, true, true, 0, true);
    ASSERT_EQ(LookupSurfaceData(LookupSurface2D(LookupGraph(canvas)->pieceHandles[0])->surfaceData)->memImageMode, 1);
    const int32_t captured[2] = {gfxtest::MakeGraph(gw, gh, false, false), gfxtest::MakeGraph(gw, gh, false, false)};
    const int32_t targets[2] = {kBackScreen, canvas};
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ(SelectDrawTarget(targets[i]), 0);
      for (int k = 0; k < 12; ++k) PaintBoxFilled(k * 8, 0, k * 8 + 8, ch, PackColorRGB(k * 21, 255 - k * 20, k * 77 % 256));
      PaintBoxFilled(24, 16, 70, 50, PackColorRGB(255, 255, 255));
      // At the canvas's right and bottom edges; one past them fails.
      if (i == 1) {
        EXPECT_EQ(CaptureScreenRectDirectDraw(cw - gw + 1, ch - gh, cw + 1, ch, LookupGraph(captured[i])), -1);
        EXPECT_EQ(CaptureScreenRectDirectDraw(cw - gw, ch - gh + 1, cw, ch + 1, LookupGraph(captured[i])), -1);
      }
      ASSERT_EQ(CaptureScreenToGraph(cw - gw, ch - gh, cw, ch, captured[i], 0), 0) << bits;
    }
    SelectDrawTarget(kBackScreen);
    const std::vector<uint32_t> fromCanvas = SurfacePixels(captured[1], gw, gh);
    EXPECT_EQ(fromCanvas, SurfacePixels(captured[0], gw, gh)) << bits;
    EXPECT_NE(fromCanvas.front(), fromCanvas.back());
  }
}

// A flat triangle (no graph) and a mapped one; the DirectDraw road's work
// box must hold each triangle's right and bottom pixels.
std::vector<uint32_t> Triangles(bool software, int bits) {
  gfxtest::Road road(software, bits, false, software ? nullptr : "ddraw");
  SelectDrawTarget(kBackScreen);
  PaintBoxFilled(0, 0, 120, 80, PackColorRGB(10, 20, 30));
  const int32_t sprite = gfxtest::MakeGraph(24, 16, false, false, 2);
  const int32_t flat[12] = {5, 5, 0, 0, 60, 20, 0, 0, 20, 70, 0, 0};
  const int32_t mapped[12] = {110, 2, 24, 0, 64, 40, 0, 16, 110, 78, 24, 16};
  EXPECT_EQ(DrawSurface2DQuad(flat, nullptr, 0, PackColorRGB(240, 200, 40)), 0);
  SelectBlend(1, 128);
  EXPECT_EQ(DrawSurface2DQuad(mapped, LookupGraph(sprite), 1, 0), 0);
  SelectBlend(0, 255);
  std::vector<uint32_t> out = gfxtest::TargetPixels(0, 0, 120, 80);
  for (uint32_t& v : out) v &= 0xFFFFFF;
  return out;
}

TEST(SurfaceQuad, OneTriangleDrawsAlikeOnBothRoads) {
  for (int bits : {16, 32}) {
    const std::vector<uint32_t> dd = Triangles(false, bits);
    EXPECT_EQ(Triangles(true, bits), dd) << bits;
    EXPECT_EQ(dd[20 * 120 + 60], dd[10 * 120 + 10]);    // the flat triangle's far corner
    EXPECT_NE(dd[40 * 120 + 110], dd[40 * 120 + 115]);  // the mapped one's right edge
  }
}

}  // namespace
