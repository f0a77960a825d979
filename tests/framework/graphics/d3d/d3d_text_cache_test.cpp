// The texture glyph cache and the cached writer's texture path: the edge
// layer against the rule written again here over FreeType's own glyphs,
// the cache graphs holding what was stored; scaled strings against the
// unscaled string drawn into a graph and that graph stretched; the glyph
// failures that end the program, each in a child with its text; text
// drawing switched off after graphics end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/font_test_support.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "platform/gdi/gdi.h"

namespace {

using namespace qor;

// The 16-bit texel at (x, y) of a graph, read from its texture.
uint16_t GraphTexel(int32_t graph, int x, int y) {
  const GraphRecord* g = LookupGraph(graph);
  for (int32_t i = 0; g != nullptr && i < g->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(g->pieceHandles[i]);
    if (x < p->x || y < p->y || x >= p->x + p->width || y >= p->y + p->height) continue;
    plat::DDSurface* s = LookupSurfaceData(p->texture)->surface;
    uint16_t v = 0;
    std::memcpy(&v, s->memory() + (p->textureY + y - p->y) * s->pitch() + (p->textureX + x - p->x) * 2, 2);
    return v;
  }
  ADD_FAILURE() << "no piece at " << x << "," << y;
  return 0;
}

uint16_t Alpha4(uint16_t texel) { return texel >> 12; }

// Every pen pixel of the edge layer becomes (256 - (16 - old) x (16 - level))
// / 16, glyph pixels taken row by row; the glyph layer keeps the level.
TEST(D3DTextCache, EdgeLayerCombinesTheStampsOfEveryGlyphPixel) {
  gfxtest::Road road(false, 32, false, "d3d");
  fonttest::FaceFile file;
  const struct {
    uint16_t code;
    uint32_t unicode;
    const char* text;
  } chars[] = {{'W', 'W', "W"}, {0x82A0, 0x3042, "\x82\xA0"}};
  int combined = 0;  // edge pixels where the rule gave more than the highest stamp
  for (int edge : {1, 2, 3, 4, 6}) {
    const int32_t h = CreateFontHandle(nullptr, 20, 4, 3, -1, edge, 0, -1, -1);
    ASSERT_NE(h, -1);
    FontRecord* f = GetFontRecord(h);
    ASSERT_TRUE(f->textureCache);
    const int cell = f->cell;
    for (const auto& c : chars) {
      SCOPED_TRACE(testing::Message() << "edge " << edge << " char " << c.code);
      uint16_t codes[4];
      int32_t n = 0;
      ASSERT_EQ(FindCachedGlyph(codes, 4, c.text, h, -1, &n), 0);
      const FontGlyphEntry* e = f->codes[c.code].entry;
      ASSERT_NE(e, nullptr);
      const fonttest::RefGlyph ref = file.Render(20, c.unicode, false, false);
      std::vector<int> glyph(static_cast<size_t>(cell) * cell, 0), edges(glyph.size(), 0), highest(glyph.size(), 0);
      for (int y = 0; y < ref.rows; ++y)
        for (int x = 0; x < ref.width; ++x) {
          const int level = ref.level[static_cast<size_t>(y * ref.width + x)];
          if (level == 0) continue;
          const int gx = x + edge, gy = y + edge;
          if (gx < cell && gy < cell) glyph[static_cast<size_t>(gy * cell + gx)] = level;
          for (int dy = -edge; dy <= edge; ++dy)
            for (int dx = -edge; dx <= edge; ++dx) {
              const int px = gx + dx, py = gy + dy;
              if (px < 0 || py < 0 || px >= cell || py >= cell || !fonttest::PenCovers(edge, dx, dy)) continue;
              int& old = edges[static_cast<size_t>(py * cell + px)];
              old = (256 - (16 - old) * (16 - level)) / 16;
              highest[static_cast<size_t>(py * cell + px)] = std::max(highest[static_cast<size_t>(py * cell + px)], level);
            }
        }
      const GraphImage& image = f->glyphImage;
      const int cx = e->slot / f->glyphsPerColumn * cell, cy = e->slot % f->glyphsPerColumn * cell;
      for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
          const size_t i = static_cast<size_t>(y * cell + x);
          uint16_t texel[2];
          std::memcpy(texel, image.pixels + y * image.pitch + x * 2, 2);
          std::memcpy(texel + 1, image.pixels + y * image.pitch + (cell + x) * 2, 2);
          ASSERT_EQ(Alpha4(texel[0]), GlyphAlpha4(glyph[i])) << x << "," << y;
          ASSERT_EQ(Alpha4(texel[1]), EdgeAlpha4(edges[i])) << x << "," << y;
          ASSERT_EQ(texel[0] & 0xFFF, 0xFFF);
          ASSERT_GE(edges[i], highest[i]);
          combined += edges[i] > highest[i];
          // What was stored: the same texels in both cache graphs.
          ASSERT_EQ(GraphTexel(f->cacheGraph, cx + x, cy + y), texel[0]);
          ASSERT_EQ(GraphTexel(f->edgeGraph, cx + x, cy + y), texel[1]);
        }
    }
    ReleaseFontHandle(h);
  }
  EXPECT_GT(combined, 100);
  // Levels at the ends of the range.
  EXPECT_EQ(GlyphAlpha4(16), 15);
  EXPECT_EQ(GlyphAlpha4(1), 0);
  EXPECT_EQ(EdgeAlpha4(0), 0);
  EXPECT_EQ(EdgeAlpha4(16), 13);  // a lone edge of the memory rule: 225 / 256
}

// A string drawn at scale (sx, sy) shows what the same string drawn at its
// size into a graph shows when that graph is stretched by (sx, sy).
TEST(D3DTextCache, ScaledTextIsTheUnscaledTextStretched) {
  gfxtest::Road road(false, 32, false, "d3d");
  const struct {
    int type, edge;
    bool vertical;
    int sx, sy;
    const char* text;
  } cases[] = {{2, -1, false, 2, 3, "Wag\x8A\xBF"}, {3, 2, false, 3, 2, "Ty!"}, {0, -1, true, 3, 2, "\x8F" "cA"},
               {2, -1, false, 1, 1, "Wa"}};
  SetNewGraphDrawable(1);
  const int32_t canvas = CreateBlankGraph(128, 128, 0);
  SetNewGraphDrawable(0);
  ASSERT_NE(canvas, -1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const int32_t font = CreateFontHandle(nullptr, 16, 4, c.type, -1, c.edge, 0, -1, -1);
    ASSERT_TRUE(GetFontRecord(font)->textureCache);
    const uint32_t ink = PackColorRGB(250, 230, 20), edge = PackColorRGB(20, 40, 200);
    const int unscaled = DrawTextCached(0, 0, 0, 0, 1, 1, c.text, ink, nullptr, nullptr, 1, font, edge, -1,
                                        c.vertical, nullptr);
    // Stretched road.
    ASSERT_EQ(SelectDrawTarget(canvas), 0);
    PaintBoxFilled(0, 0, 128, 128, PackColorRGB(0, 0, 0));
    ASSERT_EQ(DrawTextCached(1, 0, 0, 0, 1, 1, c.text, ink, nullptr, nullptr, 1, font, edge, -1, c.vertical,
                             nullptr),
              unscaled);
    SelectDrawTarget(kBackScreen);
    PaintBoxFilled(0, 0, 640, 480, PackColorRGB(0, 0, 0));
    BlitGraphStretched(10, 20, 10 + 128 * c.sx, 20 + 128 * c.sy, canvas, 0);
    const std::vector<uint32_t> stretched = d3dtest::Frame();
    // Scaled road.
    SelectDrawTarget(kBackScreen);
    PaintBoxFilled(0, 0, 640, 480, PackColorRGB(0, 0, 0));
    int32_t size[2] = {};
    const int along = c.vertical ? c.sy : c.sx;
    EXPECT_EQ(DrawTextCached(1, 10, 20, 1, c.sx, c.sy, c.text, ink, nullptr, nullptr, 1, font, edge, -1, c.vertical,
                             size),
              unscaled * along);
    EXPECT_EQ(size[c.vertical ? 1 : 0], unscaled * along);
    const std::vector<uint32_t> scaled = d3dtest::Frame();
    ASSERT_EQ(scaled.size(), stretched.size());
    int lit = 0;
    for (size_t i = 0; i < scaled.size(); ++i) {
      ASSERT_EQ(scaled[i] & 0xFFFFFF, stretched[i] & 0xFFFFFF) << i % 640 << "," << i / 640;
      lit += (scaled[i] & 0xFFFFFF) != 0;
    }
    EXPECT_GT(lit, 40 * c.sx * c.sy);
    ReleaseFontHandle(font);
  }
}

// Each failure that leaves a glyph unrendered or uncached ends the program
// with its own text.
TEST(D3DTextCacheDeathTest, GlyphFailuresEndTheProgramWithTheirTexts) {
  const struct {
    const char* text;
    std::function<void()> fail;
    bool uncached;  // the texture cache graph gone and a string longer than the cache
  } cases[] = {
      {"テキストキャッシュサーフェスのＤＣの取得に失敗しました", [] { plat::FailNextCreateCompatibleDC(); }, false},
      {"GetGlyphOutline 関数が失敗しました", [] { plat::FailGlyphOutlineAfter(0); }, false},  // the size
      {"GetGlyphOutline 関数が失敗しました", [] { plat::FailGlyphOutlineAfter(1); }, false},  // the bits
      {"アンチエイリアス文字取得用バッファの確保に失敗しました", [] { plat::ReportNextGlyphOutlineSize(0xFFFFFF00u); },
       false},
      {"テキストキャッシュの作成に失敗しました", [] {}, true},
  };
  for (const auto& c : cases) {
    lifetest::LifeScope scope;
    EXPECT_EXIT(
        {
          // In this scope's folder, where the log is read afterwards.
          setenv("ORB_GFX", "d3d", 1);
          SwitchWindowModePublic(0);
          RequestScreenModePublic(640, 480, 32, -1);
          if (InitFramework() != 0) _exit(2);
          const int32_t font = CreateFontHandle(nullptr, c.uncached ? 120 : 16, 4, 2, -1, -1, 0, -1, -1);
          if (font == -1 || !GetFontRecord(font)->textureCache) _exit(3);
          if (c.uncached) {
            DestroyGraph(GetFontRecord(font)->cacheGraph, 0);
            DrawTextCached(0, 0, 0, 0, 1, 1, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0, nullptr,
                           nullptr, 1, font, 0, -1, 0, nullptr);
          } else {
            c.fail();
            DrawStringWithFont(0, 0, "A", PackColorRGB(255, 255, 255), font, 0, 0);
          }
          _exit(4);
        },
        testing::ExitedWithCode(255), "");
    EXPECT_TRUE(scope.Logged(c.text)) << c.text;
  }
}

// From graphics end until the fonts start again, strings draw nothing: 0
// from the string entry (no log line), -1 from the cached writer.
TEST(D3DTextCache, TextDrawingIsOffBetweenGraphicsEndAndTheNextStart) {
  lifetest::LifeScope scope;
  for (const char* road : {"d3d", "ddraw"}) {
    setenv("ORB_GFX", road, 1);
    ASSERT_EQ(InitFramework(), 0);
    unsetenv("ORB_GFX");
    const int32_t font = GetStandardFontHandle();
    EXPECT_GT(DrawStringWithFont(0, 0, "Ab", PackColorRGB(255, 255, 255), font, 0, 0), 0);
    EndFramework();
    EXPECT_TRUE(IsTextDrawingOff());
    EXPECT_EQ(DrawStringWithFont(0, 0, "Ab", PackColorRGB(255, 255, 255), font, 0, 0), 0);
    EXPECT_EQ(DrawTextCached(0, 0, 0, 0, 1, 1, "Ab", 0, nullptr, nullptr, 1, font, 0, -1, 0, nullptr), -1);
    EXPECT_FALSE(scope.Logged("フォントハンドル値が異常です"));
  }
}

}  // namespace
