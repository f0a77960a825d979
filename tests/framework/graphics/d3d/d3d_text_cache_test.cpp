// The texture glyph cache: the edge layer against the combining rule over
// FreeType's own glyphs; the edge texel level by level; the glyph image's
// size at the edge's limits; scaled strings against the unscaled string drawn
// into a graph stretched; glyph failures ending the program with their
// texts; text drawing off after graphics end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/font_test_support.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "platform/gdi/gdi.h"

namespace {

using namespace qor;

// Each pen pixel of the edge layer becomes (256 - (16 - old) x (16 - level))
// / 16, glyph pixels taken row by row; both layers land in the cache graphs.
TEST(D3DTextCache, EdgeLayerCombinesTheStampsOfEveryGlyphPixel) {
  gfxtest::Road road(false, 32, false, "d3d");
  fonttest::FaceFile file;
  int combined = 0;  // pixels where the rule gives more than the highest stamp
  for (int edge : {1, 2, 3, 4, 6}) {
    const int32_t h = CreateFontHandle(nullptr, 20, 4, 3, -1, edge, 0, -1, -1);
    FontRecord* f = GetFontRecord(h);
    ASSERT_TRUE(f->textureCache);
    const int cell = f->cell;
    for (uint32_t unicode : {0x57u, 0x3042u}) {
      const char* text = unicode == 0x57 ? "W" : "\x82\xA0";
      ASSERT_EQ(FindCachedGlyph(nullptr, 4, text, h, -1, nullptr), 0);
      const FontGlyphEntry* e = f->codes[unicode == 0x57 ? 0x57 : 0x82A0].entry;
      const fonttest::RefGlyph ref = file.Render(20, unicode, false, false);
      std::vector<int> glyph(static_cast<size_t>(cell * cell)), edges(glyph.size()), top(glyph.size());
      for (int y = 0; y < ref.rows; ++y)
        for (int x = 0; x < ref.width; ++x) {
          const int level = ref.level[static_cast<size_t>(y * ref.width + x)], gx = x + edge, gy = y + edge;
          if (level == 0) continue;
          if (gx < cell && gy < cell) glyph[static_cast<size_t>(gy * cell + gx)] = level;
          for (int dy = -edge; dy <= edge; ++dy)
            for (int dx = -edge; dx <= edge; ++dx) {
              const size_t at = static_cast<size_t>((gy + dy) * cell + gx + dx);
              if (gx + dx < 0 || gy + dy < 0 || gx + dx >= cell || gy + dy >= cell) continue;
              if (!fonttest::PenCovers(edge, dx, dy)) continue;
              edges[at] = (256 - (16 - edges[at]) * (16 - level)) / 16;
              top[at] = std::max(top[at], level);
            }
        }
      const int cx = e->slot / f->glyphsPerColumn * cell, cy = e->slot % f->glyphsPerColumn * cell;
      for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
          const size_t i = static_cast<size_t>(y * cell + x);
          const uint16_t g = d3dtest::GraphTexel(f->cacheGraph, cx + x, cy + y);
          const uint16_t m = d3dtest::GraphTexel(f->edgeGraph, cx + x, cy + y);
          ASSERT_EQ(g, 0xFFF | GlyphAlpha4(glyph[i]) << 12) << "edge " << edge << " at " << x << "," << y;
          ASSERT_EQ(m, 0xFFF | EdgeAlpha4(edges[i]) << 12) << "edge " << edge << " at " << x << "," << y;
          combined += edges[i] > top[i];
        }
    }
    ReleaseFontHandle(h);
  }
  EXPECT_GT(combined, 100);
  // The ends of the level range; a whole edge as the memory rule's 240/256.
  EXPECT_EQ(std::vector<int>({GlyphAlpha4(1), GlyphAlpha4(16), EdgeAlpha4(0), EdgeAlpha4(16)}),
            std::vector<int>({0, 15, 0, 14}));
}

// An edge alone is drawn at alpha e x 16 / 256 (e = level - 1, none below
// level 1): its texel takes the 4-bit alpha nearest that (a / 15), the
// larger one where two are as near. Levels 0 to 16 and one past each end.
TEST(D3DTextCache, EdgeTexelIsTheNearestFourBitAlphaOfSixteenthsOfTheLevel) {
  for (int level = -1; level <= 17; ++level) {
    const int e = std::clamp(level - 1, 0, 15);
    int best = 0;
    for (int a = 1; a <= 15; ++a)
      if (std::abs(a * 256 - e * 16 * 15) <= std::abs(best * 256 - e * 16 * 15)) best = a;
    EXPECT_EQ(EdgeAlpha4(level), best) << "level " << level;
  }
}

// The glyph image holds one cell, two side by side when edged, and is then
// the edge twice taller than the cell; the edge at its limits (0 with the
// edged type, 1, 32) and one past (33: no font).
TEST(D3DTextCache, GlyphImageOfAnEdgedFontIsTallerByTwiceTheEdge) {
  gfxtest::Road road(false, 16, false, "d3d");
  const struct {
    int type, edge;
    bool edged;
  } cases[] = {{0, 1, false}, {2, -1, false}, {1, 0, true}, {1, 1, true}, {3, 1, true},
               {0, 2, true},  {2, 31, true},  {0, 32, true}, {3, 32, true}, {0, 33, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " edge " << c.edge);
    const int32_t h = CreateFontHandle(nullptr, 16, 4, c.type, -1, c.edge, 0, -1, -1);
    if (c.edge > kFontEdgeMax) {
      EXPECT_EQ(h, -1);
      continue;
    }
    const FontRecord* f = GetFontRecord(h);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(f->textureCache);
    const int edge = c.edge < 0 ? 1 : c.edge;
    EXPECT_EQ(f->glyphImage.width, c.edged ? 2 * f->cell : f->cell);
    EXPECT_EQ(f->glyphImage.height, c.edged ? f->cell + 2 * edge : f->cell);
    EXPECT_GE(f->glyphImage.pitch * f->glyphImage.height, 2 * f->glyphImage.width * f->glyphImage.height);
    // Glyphs still go into the cache.
    EXPECT_GT(DrawStringWithFont(0, 0, "Ag", PackColorRGB(255, 255, 255), h, 0, 0), 0);
    ReleaseFontHandle(h);
  }
}

// A string at scale (sx, sy) shows what the string drawn at its size into a
// graph shows with the graph stretched by (sx, sy).
TEST(D3DTextCache, ScaledTextIsTheUnscaledTextStretched) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetNewGraphDrawable(1);
  const int32_t canvas = CreateBlankGraph(128, 128, 0);
  SetNewGraphDrawable(0);
  const struct {
    int type, edge, vertical, sx, sy;
    const char* text;
  } cases[] = {{2, -1, 0, 2, 3, "Wag\x8A\xBF"}, {3, 2, 0, 3, 2, "Ty!"}, {0, -1, 1, 3, 2, "\x8F" "cA"}};
  for (const auto& c : cases) {
    const int32_t font = CreateFontHandle(nullptr, 16, 4, c.type, -1, c.edge, 0, -1, -1);
    const uint32_t ink = PackColorRGB(250, 230, 20), edge = PackColorRGB(20, 40, 200);
    auto draw = [&](int x, int y, uint8_t scaled) {
      return DrawTextCached(1, x, y, scaled, c.sx, c.sy, c.text, ink, nullptr, nullptr, 1, font, edge, -1, c.vertical,
                            nullptr);
    };
    ASSERT_EQ(SelectDrawTarget(canvas), 0);
    PaintBoxFilled(0, 0, 128, 128, 0);
    const int unscaled = draw(0, 0, 0);
    SelectDrawTarget(kBackScreen);
    PaintBoxFilled(0, 0, 640, 480, 0);
    BlitGraphStretched(10, 20, 10 + 128 * c.sx, 20 + 128 * c.sy, canvas, 0);
    const std::vector<uint32_t> stretched = d3dtest::Frame();
    SelectDrawTarget(kBackScreen);
    PaintBoxFilled(0, 0, 640, 480, 0);
    EXPECT_EQ(draw(10, 20, 1), unscaled * (c.vertical ? c.sy : c.sx));
    const std::vector<uint32_t> scaled = d3dtest::Frame();
    int lit = 0;
    for (size_t i = 0; i < scaled.size(); ++i) {
      ASSERT_EQ(scaled[i] & 0xFFFFFF, stretched[i] & 0xFFFFFF) << c.text << " at " << i % 640 << "," << i / 640;
      lit += (scaled[i] & 0xFFFFFF) != 0;
    }
    EXPECT_GT(lit, 40 * c.sx * c.sy);
    ReleaseFontHandle(font);
  }
}

TEST(D3DTextCacheDeathTest, GlyphFailuresEndTheProgramWithTheirTexts) {
  const struct {
    const char* text;
    std::function<void()> fail;  // null: the cache graph gone under a string longer than the cache
  } cases[] = {
      {"テキストキャッシュサーフェスのＤＣの取得に失敗しました", [] { plat::FailNextCreateCompatibleDC(); }},
      {"GetGlyphOutline 関数が失敗しました", [] { plat::FailGlyphOutlineAfter(0); }},  // the size
      {"GetGlyphOutline 関数が失敗しました", [] { plat::FailGlyphOutlineAfter(1); }},  // the bits
      {"アンチエイリアス文字取得用バッファの確保に失敗しました", [] { plat::ReportNextGlyphOutlineSize(0xFFFFFF00u); }},
      {"テキストキャッシュの作成に失敗しました", nullptr},
  };
  for (const auto& c : cases) {
    lifetest::LifeScope scope;  // the child's log lands in its folder
    EXPECT_EXIT(
        {
          setenv("ORB_GFX", "d3d", 1);
          RequestScreenModePublic(640, 480, 32, -1);
          if (InitFramework() != 0) _exit(2);
          const int32_t font = CreateFontHandle(nullptr, c.fail ? 16 : 120, 4, 2, -1, -1, 0, -1, -1);
          if (!c.fail) {
            DestroyGraph(GetFontRecord(font)->cacheGraph, 0);
            DrawTextCached(0, 0, 0, 0, 1, 1, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0, nullptr,
                           nullptr, 1, font, 0, -1, 0, nullptr);
          } else {
            c.fail();
            DrawStringWithFont(0, 0, "A", 0, font, 0, 0);
          }
          _exit(3);
        },
        testing::ExitedWithCode(255), "");
    EXPECT_TRUE(scope.Logged(c.text)) << c.text;
  }
}

// From graphics end until the fonts start again: 0 from the string entry,
// with no log line, and -1 from the cached writer.
TEST(D3DTextCache, TextDrawingIsOffAfterGraphicsEnd) {
  lifetest::LifeScope scope;
  ASSERT_EQ(InitFramework(), 0);
  const int32_t font = GetStandardFontHandle();
  EXPECT_GT(DrawStringWithFont(0, 0, "Ab", 0, font, 0, 0), 0);
  EndFramework();
  EXPECT_EQ(DrawStringWithFont(0, 0, "Ab", 0, font, 0, 0), 0);
  EXPECT_EQ(DrawTextCached(0, 0, 0, 0, 1, 1, "Ab", 0, nullptr, nullptr, 1, font, 0, -1, 0, nullptr), -1);
  EXPECT_FALSE(scope.Logged("フォントハンドル値が異常です"));
  ASSERT_EQ(InitFramework(), 0);
  EXPECT_GT(DrawStringWithFont(0, 0, "Ab", 0, GetStandardFontHandle(), 0, 0), 0);
  EndFramework();
}

}  // namespace
