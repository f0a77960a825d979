// Text drawing from the glyph cache: the coverage and edge rule written
// again here against the writer on 8-, 16- and 32-bit images, transparent
// and opaque, across and down; an edge alone level by level; the mask
// hooks over a string's work rectangle; measuring against drawing; the
// blended string road keeping the caller's settings; the screen log on both
// roads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/core/screen_log.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"
#include "graphics_test_support.h"
#include "platform/host/headless/headless_control.h"

using namespace qor;

namespace {

uint32_t Channel(uint32_t v, uint32_t mask) { return (v & mask) / (mask & (~mask + 1)); }
uint32_t Place(uint32_t v, uint32_t mask) { return (v * (mask & (~mask + 1))) & mask; }

// One pixel by the rule: c, e the glyph and edge coverage (0-15).
uint32_t RulePixel(uint32_t under, uint32_t c, uint32_t e, uint32_t text, uint32_t edge, const uint32_t* masks,
                   bool transparent) {
  if (c == 0 && e == 0) return transparent ? under : 0;
  if (masks[0] == masks[1]) return c >= 8 ? text : e >= 8 ? edge : transparent ? under : 0;  // 8 bits
  if (c == 15) return text;
  if (!transparent) under = 0;
  const uint32_t a = c == 0 ? e * 16 : e * (15 - c) + c * 16, t = c * 4096 / a;
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t mixed = (Channel(text, masks[k]) * t + Channel(edge, masks[k]) * (256 - t)) / 256;
    out |= Place((mixed * a + Channel(under, masks[k]) * (256 - a)) / 256, masks[k]);
  }
  return out;
}

uint32_t ReadPixel(const MemImage& m, int x, int y) {
  const int bytes = m.buffer->format->bytesPerPixel;
  uint32_t v = 0;
  std::memcpy(&v, m.pixels + y * m.buffer->pitch + x * bytes, static_cast<size_t>(bytes));
  return v;
}

// The image the rule gives: each glyph's cell laid at its place, turned a
// quarter clockwise for vertical text.
std::vector<uint32_t> RuleImage(const MemImage& before, FontRecord* f, const char* text, int x, int y, bool vertical,
                                uint32_t color, uint32_t edge, bool transparent) {
  const int w = before.width, h = before.height;
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out[static_cast<size_t>(j) * w + i] = ReadPixel(before, i, j);
  const uint32_t* masks = before.buffer->format->masks;
  int pen = 0;
  for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); *s != 0; ++s) {
    const FontGlyphEntry* g = f->codes[*s].entry;
    const uint8_t* cell = FontCellBits(f, g->slot);
    for (int gy = 0; gy < g->boxHeight; ++gy) {
      for (int gx = 0; gx < g->boxWidth; ++gx) {
        const int px = vertical ? x + f->height - g->yOffset - 1 - gy : x + pen + g->xOrigin + gx;
        const int py = vertical ? y + pen + g->xOrigin + gx : y + g->yOffset + gy;
        if (px < 0 || py < 0 || px >= w || py >= h) continue;
        const uint8_t v = cell[gy * f->memoryRowBytes + gx];
        uint32_t& p = out[static_cast<size_t>(py) * w + px];
        p = RulePixel(p, v & 15, v >> 4, color, edge, masks, transparent);
      }
    }
    pen += g->advance + f->extraAdvance;
  }
  return out;
}

TEST(FontText, CoverageAndEdgeRuleOn16And32BitTargets) {
  gfxtest::Road road(true, 32);
  for (int type : {2, 3}) {
    const int32_t h = CreateFontHandle(nullptr, 20, 6, type, -1, type == 3 ? 2 : -1, 0, -1, -1);
    FontRecord* f = GetFontRecord(h);
    ASSERT_NE(f, nullptr);
    for (int kind : {0, 1, 2}) {
      for (bool transparent : {true, false}) {
        for (bool vertical : {false, true}) {
          SCOPED_TRACE(testing::Message() << type << kind << transparent << vertical);
          MemImage image{};
          ASSERT_EQ(kind == 2 ? CreateMemImg(&image, 90, 90, -1, 0, kMemImgKindOne8, 0, 0, 0, nullptr)
                              : CreateScreenMemImg(&image, 90, 90, kind),
                    0);
          const int bytes = image.buffer->format->bytesPerPixel;
          for (int j = 0; j < 90; ++j)
            for (int i = 0; i < 90; ++i) {
              const uint32_t v = static_cast<uint32_t>(i * 2654435761u ^ j * 40503u);
              std::memcpy(image.pixels + j * image.buffer->pitch + i * bytes, &v, static_cast<size_t>(bytes));
            }
          const uint32_t texts[3] = {0xF81Fu, 0xFF8020u, 0xC4u}, edges[3] = {0x07E0u, 0x2040C0u, 0x17u};
          const uint32_t text = texts[kind], edge = edges[kind];
          const char* s = "Rg&W";
          FindCachedGlyph(nullptr, 8, s, h, -1, nullptr);
          const auto expected = RuleImage(image, f, s, 5, 4, vertical, text, edge, transparent);
          DrawTextCachedTinted(1, 5, 4, s, text, &image, nullptr, transparent, h, edge, -1, vertical, nullptr);
          int differ = 0;
          for (int j = 0; j < 90; ++j)
            for (int i = 0; i < 90; ++i) differ += ReadPixel(image, i, j) != expected[static_cast<size_t>(j) * 90 + i];
          EXPECT_EQ(differ, 0);
          ReleaseMemImg(&image);
        }
      }
    }
  }
}

// An edge alone, level by level: cell values 0x00, 0x10 .. 0xF0 in one row
// give the edge colour at alpha e x 16 over what is there (e = 0: nothing),
// on 16- and 32-bit targets.
TEST(FontText, EdgeAloneGoesOnAtSixteenthsOfItsLevel) {
  gfxtest::Road road(true, 32);
  const int32_t h = CreateFontHandle(nullptr, 20, 6, 3, -1, 2, 0, -1, -1);
  FontRecord* f = GetFontRecord(h);
  ASSERT_NE(f, nullptr);
  ASSERT_GE(f->cell, 16);
  ASSERT_EQ(FindCachedGlyph(nullptr, 2, "W", h, -1, nullptr), 0);
  FontGlyphEntry* g = f->codes['W'].entry;
  // The glyph becomes one row of the sixteen edge levels at (0, 0).
  uint8_t* cell = FontCellBits(f, g->slot);
  std::memset(cell, 0, static_cast<size_t>(f->cell) * f->memoryRowBytes);
  for (int e = 0; e < 16; ++e) cell[e] = static_cast<uint8_t>(e << 4);
  g->xOrigin = 0;
  g->yOffset = 0;
  g->boxWidth = 16;
  g->boxHeight = 1;
  for (int kind : {0, 1}) {
    MemImage image{};
    ASSERT_EQ(CreateScreenMemImg(&image, 20, 2, kind), 0);
    const uint32_t* masks = image.buffer->format->masks;
    const int bytes = image.buffer->format->bytesPerPixel;
    const uint32_t under = kind == 0 ? 0x0841u : 0x10E0F0u, edge = kind == 0 ? 0xF81Fu : 0xF02008u;
    for (int x = 0; x < 20; ++x) std::memcpy(image.pixels + x * bytes, &under, static_cast<size_t>(bytes));
    DrawTextCachedTinted(1, 0, 0, "W", 0xFFFFFFu, &image, nullptr, 1, h, edge, -1, 0, nullptr);
    for (int e = 0; e < 16; ++e) {
      const uint32_t a = 16 * static_cast<uint32_t>(e);
      uint32_t want = 0;
      for (int k = 0; k < 3; ++k)
        want |= Place((Channel(edge, masks[k]) * a + Channel(under, masks[k]) * (256 - a)) / 256, masks[k]);
      EXPECT_EQ(ReadPixel(image, e, 0) & (masks[0] | masks[1] | masks[2]), want) << "kind " << kind << " edge " << e;
    }
    ReleaseMemImg(&image);
  }
}

// With a mask in use the string's work rectangle goes to the mask hooks,
// before and after the draw: across from (x, y) to (draw-area right,
// y + size + 3), down from (x, y) to (x + size + 3, draw-area bottom). A
// string starting at the area's right edge calls neither and draws nothing;
// one a pixel inside does. Without a mask in use no hook runs.
TEST(FontText, MaskHooksRunOverTheWorkRectangle) {
  for (const char* name : {"soft", "ddraw", "d3d"}) {
    SCOPED_TRACE(name);
    gfxtest::Road road(name[0] == 's', 16, false, name);
    SelectDrawTarget(kBackScreen);
    MaskScreenState& m = GetMaskScreenState();
    const int32_t plain = CreateFontHandle(nullptr, 16, 4, 0, -1, -1, 0, -1, -1);
    const int32_t edged = CreateFontHandle(nullptr, 16, 4, 3, -1, 1, 0, -1, -1);
    const uint32_t white = PackColorRGB(255, 255, 255);
    EXPECT_GT(DrawStringWithFont(10, 10, "Ab", white, plain, 0, 0), 0);
    EXPECT_EQ(m.begins + m.ends, 0);
    m.requested = 1;  // what a build that asks for a mask screen would set
    ASSERT_EQ(SetupMaskScreen(1), 0);
    ASSERT_EQ(ApplyMaskDrawTarget(1), 0);
    SetClipArea(0, 0, 600, 400);
    int calls = 0;
    for (int32_t font : {plain, edged}) {
      for (int vertical : {0, 1}) {
        for (int32_t x : {30, 599, 600}) {
          const int before = m.begins;
          const int advance = DrawStringWithFont(x, 40, "Ab", white, font, 0, vertical);
          if (x >= 600) {
            EXPECT_EQ(advance, 0);
            EXPECT_EQ(m.begins, before);
            continue;
          }
          ++calls;
          EXPECT_GT(advance, 0);
          ASSERT_EQ(m.begins, calls);
          ASSERT_EQ(m.ends, calls);
          const int32_t x2 = vertical ? x + 16 + 3 : 600, y2 = vertical ? 400 : 40 + 16 + 3;
          EXPECT_EQ(std::vector<int32_t>({m.lastView.x1, m.lastView.y1, m.lastView.x2, m.lastView.y2}),
                    std::vector<int32_t>({x, 40, x2, y2}))
              << "font " << font << " vertical " << vertical << " x " << x;
        }
      }
    }
    EndMaskScreen();
  }
}

TEST(FontText, MeasuringAddsExtraAdvanceAsDrawingDoes) {
  gfxtest::Road road(true, 16);
  const int32_t h = CreateFontHandle(nullptr, 16, 4, 0, -1, -1, 0, -1, -1);
  int32_t plain[2], size[2];
  const int a = DrawTextCached(0, 0, 0, 0, 1, 1, "\x82\xA0" "i ", 0, nullptr, nullptr, 1, h, 0, -1, 0, plain);
  ASSERT_EQ(SetFontAdvanceExtra(2, h), 0);
  const int b = DrawTextCached(0, 0, 0, 0, 1, 1, "\x82\xA0" "i ", 0, nullptr, nullptr, 1, h, 0, -1, 1, size);
  EXPECT_EQ(b, a + 6);
  EXPECT_EQ(size[0], GetFontRecord(h)->height);
  EXPECT_EQ(size[1], b);
  EXPECT_EQ(plain[0], a);
  EXPECT_EQ(DrawStringWithFont(10, 10, "\x82\xA0" "i ", PackColorRGB(255, 255, 255), h, 0, 0), b);
  EXPECT_EQ(DrawStringWithFont(10, 10, "", 0, h, 0, 0) + DrawStringWithFont(10, 10, nullptr, 0, h, 0, 0), 0);
  EXPECT_EQ(DrawStringWithFont(10, 10, "x", 0, h + 1, 0, 0), -1);
}

// The scale flag stretches the measured pen: each character's advance (its
// extra advance included) times the scale along the text, summed and then
// rounded; without the flag, or onto a memory image, the scales count for
// nothing.
TEST(FontText, ScaledMeasureStretchesThePenAlongTheText) {
  gfxtest::Road road(true, 16);
  const int32_t h = CreateFontHandle(nullptr, 16, 4, 0, -1, -1, 0, -1, -1);
  ASSERT_EQ(SetFontAdvanceExtra(1, h), 0);
  const char* text = "Wij" "\x82\xA0";
  int sum = 0;
  for (const char* one : {"W", "i", "j", "\x82\xA0"})
    sum += DrawTextCached(0, 0, 0, 0, 1, 1, one, 0, nullptr, nullptr, 1, h, 0, -1, 0, nullptr);
  ASSERT_EQ(DrawTextCached(0, 0, 0, 0, 1, 1, text, 0, nullptr, nullptr, 1, h, 0, -1, 0, nullptr), sum);
  int32_t size[2] = {};
  // Across: the horizontal scale; down: the vertical one.
  EXPECT_EQ(DrawTextCached(0, 0, 0, 1, 1.3, 7.0, text, 0, nullptr, nullptr, 1, h, 0, -1, 0, size),
            static_cast<int>(std::lround(sum * 1.3)));
  EXPECT_EQ(size[0], static_cast<int>(std::lround(sum * 1.3)));
  EXPECT_EQ(size[1], GetFontRecord(h)->height);
  EXPECT_EQ(DrawTextCached(0, 0, 0, 1, 7.0, 0.5, text, 0, nullptr, nullptr, 1, h, 0, -1, 1, size),
            static_cast<int>(std::lround(sum * 0.5)));
  EXPECT_EQ(size[0], GetFontRecord(h)->height);
  // Rounding is of the whole pen, not of each character: a scale of 1/3
  // sums thirds.
  const double third = 1.0 / 3.0;
  EXPECT_EQ(DrawTextCached(0, 0, 0, 1, third, 1, text, 0, nullptr, nullptr, 1, h, 0, -1, 0, nullptr),
            static_cast<int>(std::lround(sum * third)));
  // The flag off, or a memory image as target: unscaled.
  EXPECT_EQ(DrawTextCached(0, 0, 0, 0, 2.0, 2.0, text, 0, nullptr, nullptr, 1, h, 0, -1, 0, nullptr), sum);
  MemImage image{};
  ASSERT_EQ(CreateScreenMemImg(&image, 200, 40, -1), 0);
  EXPECT_EQ(DrawTextCached(1, 0, 0, 1, 2.0, 2.0, text, 0, &image, nullptr, 1, h, 0, -1, 0, nullptr), sum);
  ReleaseMemImg(&image);
  EXPECT_EQ(DrawTextCached(0, 0, 0, 1, 2.0, 2.0, text, 0, nullptr, nullptr, 1, h + 1, 0, -1, 0, nullptr), -1);
}

// Blend mode 1 at 128 goes through the work surface: the text lands half
// mixed, text in the key colour too, and draw area and tint are the
// caller's again afterwards.
TEST(FontText, BlendedStringKeepsDrawAreaAndTint) {
  for (int type : {0, 2}) {
    for (bool software : {true, false}) {
      gfxtest::Road road(software, 16);
      SelectDrawTarget(kBackScreen);
      const int32_t h = CreateFontHandle(nullptr, 24, 6, type, -1, -1, 0, -1, -1);
      FillBoxDirectDraw(0, 0, 640, 480, PackColorRGB(0, 0, 0));
      SetClipArea(5, 5, 600, 400);
      SetTintRGB(255, 128, 255);
      SelectBlend(1, 128);
      const Rect area = GetDrawState().drawArea;
      EXPECT_GT(DrawStringWithFont(20, 30, "\x81\xA1\x81\xA1", PackColorRGB(255, 255, 255), h, 0, 0), 0);
      EXPECT_EQ(std::memcmp(&GetDrawState().drawArea, &area, sizeof area), 0);
      EXPECT_EQ(CurrentTint(), 0xFF80FFu);
      const auto px = gfxtest::TargetPixels(20, 30, 40, 30);
      uint32_t brightest = 0;
      for (uint32_t p : px) brightest = std::max(brightest, p);
      EXPECT_EQ(brightest, PackColorRGB(127, 64, 127)) << software;  // half of the tinted white, on black
      // Text in the work image's key colour still shows: the key moves aside.
      FillBoxDirectDraw(0, 0, 640, 480, PackColorRGB(255, 255, 255));
      DrawStringWithFont(20, 30, "\x81\xA1", PackColorRGB(0, 0, 0), h, 0, 0);
      const auto over = gfxtest::TargetPixels(20, 30, 30, 30);
      EXPECT_LT(*std::min_element(over.begin(), over.end()), PackColorRGB(255, 255, 255));
    }
  }
}

// Start-up sets the screen log up only with a DirectDraw object: the
// software road has none, so there the log stays unset and start-up
// carries on to its end (the front screen its target, blanked).
TEST(FontText, ScreenLogIsSetUpOnlyWithADirectDrawObject) {
  for (const bool software : {true, false}) {
    gfxtest::Road scope(software, 16);
    EXPECT_EQ(GetFrameworkStatus().initialised, 1) << software;
    EXPECT_EQ(GetScreenLogState().setUp, software ? 0 : 1) << software;
    EXPECT_EQ(InitScreenLog(), software ? -1 : 0) << software;
    EXPECT_EQ(GetScreenLogState().setUp, software ? 0 : 1) << software;
    EXPECT_EQ(GetScreenLogState().fontHandle == -1, software) << software;
    EXPECT_EQ(GetDrawState().drawTarget, kFrontScreen) << software;
    SelectDrawTarget(kFrontScreen);
    const auto front = gfxtest::TargetPixels(0, 0, 640, 480);
    EXPECT_EQ(*std::max_element(front.begin(), front.end()), 0u) << software;
    EndFramework();
    EXPECT_EQ(plat::gdi::GetFontCounters().live, 0) << software;
  }
}

// The screen log's lines at (0, 16 i), white edged in black, the same on
// both roads; a mode change keeps the standard size; shut-down frees the
// fonts.
TEST(FontText, ScreenLogIsIdenticalOnBothRoads) {
  std::vector<uint32_t> frames[2];
  for (int road = 0; road < 2; ++road) {
    gfxtest::Road scope(road == 0, 16);
    SelectDrawTarget(kBackScreen);
    ScreenLogState& log = GetScreenLogState();
    if (road == 0) CreateScreenLogFont();  // start-up leaves it unset without a DirectDraw object
    ASSERT_EQ(log.setUp, 1);
    SetScreenLogEnabled(1);
    std::strcpy(log.lines[0], "Screen log");
    std::strcpy(log.lines[2], "\x83\x8D\x83\x4F 2");
    std::memset(log.lines[29], 'W', sizeof log.lines[29]);  // no terminating zero
    const uint32_t blue = PackColorRGB(0, 0, 255);
    FillBoxDirectDraw(0, 0, 640, 480, blue);
    ASSERT_EQ(PresentFrame(), 0);
    frames[road] = plat::headless::LastFrame()->pixels;
    const uint32_t* p = frames[road].data();
    int count[4] = {};  // white, edge (black at 240 of 256 over blue), blue, other
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 200; ++x) {
        const uint32_t v = p[y * 640 + x];
        ++count[v == 0xFFFFFFu ? 0 : v < 0x20u ? 1 : v == 0xFFu ? 2 : 3];
        if (y >= 16 && y < 32 && v != 0xFFu) ++count[3];  // line 1 is empty
      }
    }
    EXPECT_GT(count[0], 50);
    EXPECT_GT(count[1], count[0]);  // the edge goes all round
    EXPECT_EQ(count[3], 0);
    EXPECT_NE(p[470 * 640 + 3], 0xFFu);  // line 29 reaches the bottom
    EXPECT_EQ(SetStandardFontSize(24, 5), 0);
    ASSERT_EQ(SwitchScreenMode(640, 480, 16, 1, -1), 0);
    int32_t size = 0, thickness = 0;
    GetFontParams(nullptr, 0, &size, &thickness, GetStandardFontHandle());
    EXPECT_EQ(size * 10 + thickness, 245);
    // The mode change makes the log's font again where the log can be set
    // up; without a DirectDraw object its next draw does.
    if (road == 0) DrawScreenLog();
    EXPECT_EQ(IsValidFontHandle(log.fontHandle), 1);
    EndFramework();
    EXPECT_EQ(plat::gdi::GetFontCounters().live, 0);
  }
  EXPECT_TRUE(frames[0] == frames[1]);
}

}  // namespace
