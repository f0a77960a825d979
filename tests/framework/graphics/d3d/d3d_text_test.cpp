// Text on the Direct3D road against the same text on the DirectDraw road:
// one scene of strings (plain and antialiased, edged, across and down, in
// several blends and tints, cut by the draw area) drawn through both, the
// DirectDraw road's picture the oracle. The texture cache's own layout is
// checked once against the memory cache it mirrors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace qor;

struct TextCase {
  int type, edge, mode, param, tint;
  bool vertical;
  int tolerance16, tolerance32;  // in steps of the screen's colour fields
};
// Mono glyphs are whole texels on both roads: exact unblended, within the
// blends' 2 steps otherwise. Antialiased glyphs go through 4-bit texel
// alpha where the memory road keeps 16 coverage levels (and, on 16-bit
// screens, a 4:4:4:4 work surface), so a coverage can land up to half a
// 4-bit alpha step away: 255 / 30, 9 steps of a 32-bit screen, 3 of a
// 16-bit one. Edges are compared on mono glyphs, whose pen stamps are whole
// on both roads: where partly covered pixels stamp one edge pixel, the
// texture combines them as overlapping transparencies and the memory cache
// keeps the highest (the texture's rule has its own test). A lone edge
// pixel is drawn at 225/256 by the memory rule and whole by a 1:5:5:5
// texel: 30 of 255 at most, 4 steps of a 16-bit screen.
const TextCase kCases[] = {
    {0, -1, 0, 255, 255, false, 0, 0}, {0, -1, 0, 255, 255, true, 0, 0},  {0, -1, 1, 128, 255, false, 2, 2},
    {0, -1, 3, 160, 255, false, 2, 2}, {0, -1, 0, 255, 120, false, 0, 0}, {2, -1, 0, 255, 255, false, 3, 9},
    {2, -1, 2, 200, 255, true, 3, 9},  {2, -1, 0, 255, 200, false, 3, 9}, {1, 2, 0, 255, 255, false, 4, 30},
};
constexpr int kCellW = 210, kCellH = 52;

int CellX(int i) { return 4 + (i % 3) * (kCellW + 4); }
int CellY(int i) { return 4 + (i / 3) * (kCellH + 4); }

std::vector<uint32_t> Scene(const char* road, int bits, int* direct3D, int* textureFonts) {
  gfxtest::Road r(false, bits, false, road);
  *direct3D = GetScreenState().direct3DInUse;
  SelectDrawTarget(kBackScreen);
  int i = 0;
  *textureFonts = 0;
  for (const TextCase& c : kCases) {
    const int x = CellX(i), y = CellY(i);
    ++i;
    SelectBlend(0, 255);
    SetTintRGB(255, 255, 255);
    // A striped background so that blends show.
    for (int k = 0; k < kCellW; k += 6)
      PaintBoxFilled(x + k, y, x + k + 6, y + kCellH, PackColorRGB(40 + (k * 3) % 200, 180 - k % 120, 90));
    const int32_t font = CreateFontHandle(nullptr, 20, 6, c.type, -1, c.edge, 0, -1, -1);
    EXPECT_NE(font, -1);
    *textureFonts += GetFontRecord(font)->textureCache;
    // Cut on the right by the draw area: the last glyphs only in part.
    SetClipArea(x, y, x + kCellW - 13, y + kCellH);
    SelectBlend(c.mode, c.param);
    SetTintRGB(c.tint, 255, c.tint);
    const char* text = c.vertical ? "縦AB" : "Wag 漢字 Ty!";
    EXPECT_GT(DrawStringWithFont(x + 3, y + 4, text, PackColorRGB(250, 230, 20), font, PackColorRGB(20, 40, 200),
                                 c.vertical ? 1 : 0),
              0);
    if (!c.vertical) DrawStringWithFont(x + 150, y + 28, "Xy", PackColorRGB(255, 255, 255), font, 0, 0);
    SetClipArea(0, 0, 640, 480);
    ReleaseFontHandle(font);
  }
  SelectBlend(0, 255);
  SetTintRGB(255, 255, 255);
  return d3dtest::Frame();
}

int CellDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int cell, int bits) {
  return d3dtest::StepDifference(a, b, CellX(cell), CellY(cell), kCellW, kCellH, bits, [](int, int) { return false; });
}

bool CellHasText(const std::vector<uint32_t>& a, int cell) {
  for (int y = CellY(cell); y < CellY(cell) + kCellH; ++y)
    for (int x = CellX(cell); x < CellX(cell) + kCellW; ++x)
      if (((a[static_cast<size_t>(y) * 640 + x] >> 8) & 255) >= 200 && (a[static_cast<size_t>(y) * 640 + x] & 255) < 60)
        return true;
  return false;
}

TEST(D3DTextE2E, StringsOnTheDeviceMatchTheDirectDrawRoad) {
  for (int bits : {16, 32}) {
    int withD3D = 0, without = 1, fonts2D = 0, fonts3D = 0;
    const std::vector<uint32_t> ddraw = Scene("ddraw", bits, &without, &fonts2D);
    const std::vector<uint32_t> d3d = Scene("d3d", bits, &withD3D, &fonts3D);
    ASSERT_EQ(without, 0);
    ASSERT_EQ(withD3D, 1);
    EXPECT_EQ(fonts2D, 0);
    EXPECT_EQ(fonts3D, static_cast<int>(std::size(kCases)));
    ASSERT_EQ(ddraw.size(), 640u * 480u);
    ASSERT_EQ(d3d.size(), ddraw.size());
    for (size_t i = 0; i < std::size(kCases); ++i) {
      const TextCase& c = kCases[i];
      const int d = CellDifference(ddraw, d3d, static_cast<int>(i), bits);
      std::printf("%d bits, type %d, mode %d at %d, tint %d%s: largest difference %d steps\n", bits, c.type, c.mode,
                  c.param, c.tint, c.vertical ? ", down" : "", d);
      EXPECT_LE(d, bits == 16 ? c.tolerance16 : c.tolerance32) << bits << " bits, case " << i;
    }
    // The text is there at all (yellow on the stripes) in the plain cases.
    EXPECT_TRUE(CellHasText(ddraw, 0));
    EXPECT_TRUE(CellHasText(d3d, 0));
  }
}

// A string longer than a big font's texture cache: its first glyphs are
// evicted and drawn anew within the same string, and the device road still
// shows what the DirectDraw road shows.
std::vector<uint32_t> EvictingScene(const char* road, int* capacity) {
  gfxtest::Road r(false, 32, false, road);
  SelectDrawTarget(kBackScreen);
  const int32_t font = CreateFontHandle(nullptr, 120, 6, 0, -1, -1, 0, -1, -1);
  EXPECT_NE(font, -1);
  *capacity = GetFontRecord(font)->capacity;
  const char* text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyzABC";
  // Only the last three letters land on the screen.
  const int head = DrawTextCachedTinted(0, 0, 0, text, 0, nullptr, nullptr, 1, font, 0, 52, 0, nullptr);
  DrawStringWithFont(20 - head, 100, text, PackColorRGB(255, 255, 255), font, 0, 0);
  return d3dtest::Frame();
}

TEST(D3DTextE2E, AStringLongerThanTheCacheDrawsTheSameOnBothRoads) {
  int capacity2D = 0, capacity3D = 0;
  const std::vector<uint32_t> ddraw = EvictingScene("ddraw", &capacity2D);
  const std::vector<uint32_t> d3d = EvictingScene("d3d", &capacity3D);
  EXPECT_LT(capacity3D, 52);
  ASSERT_EQ(ddraw.size(), d3d.size());
  int ink = 0;
  for (size_t i = 0; i < ddraw.size(); ++i) {
    ASSERT_EQ(ddraw[i], d3d[i]) << i % 640 << "," << i / 640;
    ink += ddraw[i] != 0;
  }
  EXPECT_GT(ink, 500);
}

}  // namespace
