// Two roads of the 2D back-end that must agree: strings on an 8-bit
// DirectDraw screen against the same strings on a 32-bit one (text, edge
// and untouched pixels in the same places), and a capture from a drawable
// system-memory graph into a graph surface against the same capture from
// the back screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "graphics_test_support.h"

using namespace qor;

namespace {

struct StringCase {
  int type, edge;
  bool vertical;
  int clipRight;  // the draw area's right edge
  int x;          // where the string starts
};
const StringCase kStrings[] = {
    {0, -1, false, 640, 4}, {1, 2, false, 640, 4},  {0, -1, true, 640, 4},
    {1, 1, false, 90, 4},   {0, -1, false, 90, 89}, {0, -1, false, 90, 90},  // at the edge and one past
};
constexpr int kW = 220, kH = 40;

// Each pixel of the strings' area: 0 untouched, 1 text, 2 edge (anything
// else drawn).
std::vector<int> DrawnClasses(int bits, std::vector<int>* results) {
  gfxtest::Road road(false, bits, false, "ddraw");
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  const uint32_t text = PackColorRGB(255, 255, 0), edge = PackColorRGB(0, 0, 255);
  std::vector<int> classes;
  int row = 0;
  for (const StringCase& c : kStrings) {
    const int32_t font = CreateFontHandle(nullptr, 16, 4, c.type, -1, c.edge, 0, -1, -1);
    EXPECT_NE(font, -1);
    const int y = 4 + row * (kH + 4);
    ++row;
    SetClipArea(0, 0, c.clipRight, 480);
    results->push_back(DrawStringWithFont(c.x, y, c.vertical ? "\x8F" "cA" : "Wag \x8A\xBF!", text, font, edge,
                                          c.vertical ? 1 : 0));
    SetClipArea(0, 0, 640, 480);
    const std::vector<uint32_t> px = gfxtest::TargetPixels(0, y, kW, kH);
    for (uint32_t v : px) classes.push_back((v & 0xFFFFFF) == 0 ? 0 : (v & 0xFFFFFF) == (text & 0xFFFFFF) ? 1 : 2);
    ReleaseFontHandle(font);
  }
  return classes;
}

TEST(SurfaceText, EightBitScreenDrawsStringsWhereAThirtyTwoBitScreenDoes) {
  std::vector<int> results8, results32;
  const std::vector<int> eight = DrawnClasses(8, &results8);
  const std::vector<int> wide = DrawnClasses(32, &results32);
  ASSERT_EQ(eight.size(), wide.size());
  int text = 0, edge = 0;
  for (size_t i = 0; i < eight.size(); ++i) {
    ASSERT_EQ(eight[i], wide[i]) << "string " << i / (kW * kH) << " at " << i % kW << "," << i / kW % kH;
    text += eight[i] == 1;
    edge += eight[i] == 2;
  }
  EXPECT_GT(text, 300);
  EXPECT_GT(edge, 300);
  EXPECT_EQ(results8, results32);
  // The string starting at the draw area's right edge draws nothing.
  const size_t last = (std::size(kStrings) - 1) * kW * kH;
  EXPECT_EQ(std::count(eight.begin() + static_cast<std::ptrdiff_t>(last), eight.end(), 0), kW * kH);
  EXPECT_NE(std::count(eight.begin() + static_cast<std::ptrdiff_t>(last - kW * kH),
                       eight.begin() + static_cast<std::ptrdiff_t>(last), 1),
            0);
}

// The raw pixels of a graph's surface.
std::vector<uint32_t> SurfacePixels(int32_t graph, int w, int h) {
  const Surface2DPiece* piece = LookupSurface2D(LookupGraph(graph)->pieceHandles[0]);
  const SurfaceDataRecord* data = LookupSurfaceData(piece->surfaceData);
  EXPECT_EQ(data->memImageMode, 0);
  plat::DDSurface* s = data->surface;
  plat::DDPixelFormat f;
  s->GetPixelFormat(&f);
  std::vector<uint32_t> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = 0;
      std::memcpy(&v, s->memory() + (piece->surfaceY + y) * s->pitch() + (piece->surfaceX + x) * (f.bitCount / 8),
                  f.bitCount / 8);
      out.push_back(v);
    }
  return out;
}

void Paint(int w, int h) {
  for (int i = 0; i < 12; ++i)
    PaintBoxFilled(i * w / 12, 0, (i + 1) * w / 12, h, PackColorRGB(i * 21, 255 - i * 20, (i * 77) % 256));
  PaintBoxFilled(w / 4, h / 4, w / 2, h / 2, PackColorRGB(255, 255, 255));
}

TEST(SurfaceCapture, SystemMemoryGraphTargetIntoAGraphSurfaceAsFromTheBackScreen) {
  for (int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    gfxtest::Road road(false, bits, false, "ddraw");
    constexpr int cw = 96, ch = 64, gw = 40, gh = 30;
    const int32_t canvas = gfxtest::MakeGraph(cw, ch, true, true, 0, true);
    ASSERT_EQ(LookupSurfaceData(LookupSurface2D(LookupGraph(canvas)->pieceHandles[0])->surfaceData)->memImageMode, 1);
    const int32_t fromCanvas = gfxtest::MakeGraph(gw, gh, false, false);
    const int32_t fromBack = gfxtest::MakeGraph(gw, gh, false, false);
    SelectDrawTarget(kBackScreen);
    Paint(cw, ch);
    // The rectangle at the target's right and bottom edges, and one past.
    const int x1 = cw - gw, y1 = ch - gh;
    ASSERT_EQ(CaptureScreenToGraph(x1, y1, cw, ch, fromBack, 0), 0);
    ASSERT_EQ(SelectDrawTarget(canvas), 0);
    Paint(cw, ch);
    EXPECT_EQ(CaptureScreenRectDirectDraw(x1 + 1, y1, cw + 1, ch, LookupGraph(fromCanvas)), -1);
    EXPECT_EQ(CaptureScreenRectDirectDraw(x1, y1 + 1, cw, ch + 1, LookupGraph(fromCanvas)), -1);
    ASSERT_EQ(CaptureScreenToGraph(x1, y1, cw, ch, fromCanvas, 0), 0);
    SelectDrawTarget(kBackScreen);
    const std::vector<uint32_t> a = SurfacePixels(fromCanvas, gw, gh), b = SurfacePixels(fromBack, gw, gh);
    EXPECT_EQ(a, b);
    // The white box's corner lies inside: the capture is not empty.
    EXPECT_NE(std::count(a.begin(), a.end(), b[0]), static_cast<std::ptrdiff_t>(a.size()));
  }
}

}  // namespace

namespace {

// A flat triangle (no graph) and a mapped one draw the same pixels on the
// software road and on the DirectDraw road, the latter through one work
// box per triangle that must hold its right and bottom pixels.
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
  return gfxtest::TargetPixels(0, 0, 120, 80);
}

TEST(SurfaceQuad, OneTriangleDrawsAlikeOnBothRoads) {
  for (int bits : {16, 32}) {
    const std::vector<uint32_t> soft = Triangles(true, bits), dd = Triangles(false, bits);
    ASSERT_EQ(soft.size(), dd.size());
    for (size_t i = 0; i < soft.size(); ++i)
      ASSERT_EQ(soft[i] & 0xFFFFFF, dd[i] & 0xFFFFFF) << bits << " bits at " << i % 120 << "," << i / 120;
    // The flat triangle's far corner pixel (60, 20) and the mapped one's
    // right edge (110, y) are drawn.
    EXPECT_EQ(dd[20 * 120 + 60] & 0xFFFFFF, dd[10 * 120 + 10] & 0xFFFFFF);
    EXPECT_NE(dd[40 * 120 + 110] & 0xFFFFFF, dd[40 * 120 + 115] & 0xFFFFFF);
  }
}

}  // namespace
