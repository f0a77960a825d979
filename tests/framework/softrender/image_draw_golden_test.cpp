// The worked examples of the blend rules, each drawn as one pixel through
// the renderer and through the reference model.
#include "image_draw_support.h"

namespace qor::test {
namespace {

using ref::Road;

constexpr uint32_t kNoKey = 0xDEADBEEF;  // matches no stored value
constexpr int kNone = -1;

struct Golden {
  const char* what;
  int kind;
  int source;  // ref::kPalette (the value is palette entry 0), kDirect, kAlpha
  int mode;
  int p;
  uint32_t tint;
  Road road;
  int flag;
  int graph;  // blend-graph factor, or kNone
  uint32_t key;
  uint32_t src;  // colour (alpha sources: without the alpha)
  uint32_t alpha;
  uint32_t dst;
  uint32_t expected;
};

constexpr uint32_t W = 0xFFFFFF;
constexpr Road At = Road::kAtSize, Runs = Road::kRuns, Str = Road::kStretched;
constexpr int P = ref::kPalette, D = ref::kDirect, A = ref::kAlpha;

const Golden kGolden[] = {
    // Blend mode 0.
    {"palette byte 3 copied", 1, P, 0, 0, W, At, 0, kNone, kNoKey, 0x80112233, 0, 0x44000000, 0x80112233},
    {"palette tinted keeps byte 3", 1, P, 0, 0, 0xFFFFFE, At, 0, kNone, kNoKey, 0x80112233, 0, 0x44000000, 0x44112232},
    {"tint 255,255,254 is coloured", 1, D, 0, 0, 0xFFFFFE, At, 0, kNone, kNoKey, 0x00FFFFFF, 0, 0x7F000000, 0x7FFFFFFE},
    {"16-bit tint 128", 0, D, 0, 0, 0x808080, At, 0, kNone, kNoKey, 0xFFFF, 0, 0, 0x7BEF},
    {"key differs in byte 3", 1, D, 0, 0, W, At, 1, kNone, 0x00123456, 0x01123456, 0, 0, 0x01123456},
    {"key matches", 1, D, 0, 0, W, At, 2, kNone, 0x00123456, 0x00123456, 0, 0x99, 0x99},
    {"alpha 0 keyed", 1, A, 0, 0, W, At, 1, kNone, kNoKey, 0xABCDEF, 0, 0x11223344, 0x11223344},
    {"alpha 0 tinted", 1, A, 0, 0, 0x808080, At, 0, kNone, kNoKey, 0xABCDEF, 0, 0x11223344, 0x11223344},
    {"alpha 0 copied 1:1", 1, A, 0, 0, W, At, 0, kNone, kNoKey, 0xABCDEF, 0, 0x11223344, 0x00ABCDEF},
    {"alpha 0 stretched", 1, A, 0, 0, W, Str, 0, kNone, kNoKey, 0xABCDEF, 0, 0x11223344, 0x11223344},
    {"alpha 128", 1, A, 0, 0, W, At, 1, kNone, kNoKey, 0xFFFFFF, 128, 0, 0x007F7F7F},
    {"graph 0", 1, D, 0, 0, W, At, 0, 0, kNoKey, 0xFFFFFF, 0, 0x123456, 0x123456},
    {"graph 255", 1, D, 0, 0, W, At, 0, 255, kNoKey, 0xFFFFFF, 0, 0, 0x00FEFEFE},
    // Blend mode 1.
    {"half rule 16", 0, D, 1, 128, W, At, 0, kNone, kNoKey, 0xF800, 0, 0x001F, 0x780F},
    {"signed rule runs", 0, D, 1, 128, W, Runs, 1, kNone, kNoKey, 0xF800, 0, 0x001F, 0x7810},
    {"signed rule stretched", 0, D, 1, 128, W, Str, 0, kNone, kNoKey, 0xF800, 0, 0x001F, 0x7810},
    {"cube rule", 0, D, 1, 100, W, At, 0, kNone, kNoKey, 0xF800, 0, 0x001F, 0x6012},
    {"cube rule palettised", 0, P, 1, 100, W, At, 0, kNone, kNoKey, 0xF800, 0, 0x001F, 0x6012},
    {"p 100 runs", 0, D, 1, 100, W, Runs, 1, kNone, kNoKey, 0xF800, 0, 0x001F, 0x6013},
    {"p 100 stretched", 0, D, 1, 100, W, Str, 0, kNone, kNoKey, 0xF800, 0, 0x001F, 0x6013},
    {"graph rule", 0, D, 1, 128, W, At, 0, 255, kNoKey, 0xF800, 0, 0x001F, 0x780F},
    {"parameter rule", 1, D, 1, 100, W, At, 0, kNone, kNoKey, 0xFF8040, 0, 0x55204080, 0x55775967},
    {"alpha rule", 1, A, 1, 200, W, At, 1, kNone, kNoKey, 0xFF8040, 128, 0x55204080, 0x55775967},
    {"half rule 32", 1, D, 1, 128, W, At, 0, kNone, kNoKey, 0x030303, 0, 0x55010101, 0x00010101},
    {"p 128 runs 32", 1, D, 1, 128, W, Runs, 1, kNone, kNoKey, 0x030303, 0, 0x55010101, 0x55020202},
    {"p 128 stretched 32", 1, D, 1, 128, W, Str, 0, kNone, kNoKey, 0x030303, 0, 0x55010101, 0x55020202},
    {"red tint 128", 1, D, 1, 200, 0x80FFFF, At, 0, kNone, kNoKey, 0xFF0000, 0, 0, 0x00640000},
    {"red tint 200 16", 0, D, 1, 200, 0xC8FFFF, At, 0, kNone, kNoKey, 0xF800, 0, 0, 0x9000},
    {"cube k 0", 0, D, 1, 3, W, At, 0, kNone, kNoKey, 0xFFFF, 0, 0, 0},
    {"cube k 63", 0, D, 1, 252, W, At, 0, kNone, kNoKey, 0xFFFF, 0, 0, 0xFFFF},
    {"alpha 255 unkeyed", 1, A, 1, 254, W, At, 0, kNone, kNoKey, 0xFFFFFF, 255, 0, 0x00FCFCFC},
    {"alpha 255 keyed", 1, A, 1, 254, W, At, 1, kNone, kNoKey, 0xFFFFFF, 255, 0, 0x00FDFDFD},
    {"p 0", 1, D, 1, 0, W, At, 0, 255, kNoKey, 0xFFFFFF, 0, 0x12345678, 0x12345678},
    // Blend mode 2.
    {"blue carry into green", 1, D, 2, 128, W, At, 0, kNone, kNoKey, 0xC86432, 0, 0x0064C8FA, 0x00C8FBFF},
    {"add 0 keeps low bits", 1, D, 2, 128, W, At, 0, kNone, kNoKey, 0, 0, 0x00808181, 0x00808181},
    {"add 16 keep", 0, D, 2, 255, W, Runs, 1, kNone, kNoKey, 0x0821, 0, 0x1C21, 0x1C22},
    {"add 16 lone pixel", 0, D, 2, 255, W, At, 0, kNone, kNoKey, 0x0821, 0, 0x1C21, 0x1402},
    {"add 16 green saturates", 0, D, 2, 255, W, Str, 0, kNone, kNoKey, 0x2BC5, 0, 0xA51E, 0xCFFF},
    {"add graph 128", 1, D, 2, 255, W, At, 0, 128, kNoKey, 0xC8C8C8, 0, 0, 0x00636363},
    {"add graph 255", 1, D, 2, 255, W, At, 0, 255, kNoKey, 0xFFFFFF, 0, 0, 0x00FDFDFD},
    {"add alpha 0 keyed", 1, A, 2, 255, W, At, 1, kNone, kNoKey, 0xC8C8C8, 0, 0x12345678, 0x12345678},
    {"add alpha 128", 1, A, 2, 255, W, At, 1, kNone, kNoKey, 0xC8C8C8, 128, 0, 0x00636363},
    {"add alpha 16", 0, A, 2, 200, W, At, 0, kNone, kNoKey, 0xF800, 128, 0, 0x5800},
    {"add tinted", 1, D, 2, 128, 0x808080, At, 0, kNone, kNoKey, 0xC8C8C8, 0, 0, 0x00323232},
    {"add red carry to byte 3", 1, D, 2, 255, W, Str, 0, kNone, kNoKey, 0x640000, 0, 0x00C80000, 0x01FF0000},
    {"exact add", 1, D, 2, 255, W, At, 0, kNone, kNoKey, 0x03030303, 0, 0x05050505, 0x08080808},
    // Blend mode 3.
    {"subtract p 0 direct", 1, D, 3, 0, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x00808080, 0x00808080},
    {"subtract p 0 palettised", 1, P, 3, 0, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x00808080, 0x00818180},
    {"subtract p 0 palettised 16", 0, P, 3, 0, W, At, 0, kNone, kNoKey, 0xFFFF, 0, 0xFFFF, 0xFFDF},
    {"subtract p 0 palettised 16 b", 0, P, 3, 0, W, At, 0, kNone, kNoKey, 0xFFFF, 0, 0x8429, 0x8C09},
    {"subtract packed", 1, D, 3, 255, W, Runs, 1, kNone, kNoKey, 0x010101, 0, 0x00102030, 0x0011212F},
    {"subtract exact", 1, D, 3, 255, W, At, 0, kNone, kNoKey, 0x010101, 0, 0x00102030, 0x000F1F2F},
    {"subtract exact stretched", 1, D, 3, 255, W, Str, 0, kNone, kNoKey, 0x010101, 0, 0x00102030, 0x000F1F2F},
    {"subtract clamps", 1, D, 3, 255, W, Runs, 1, kNone, kNoKey, 0x0A141E, 0, 0x00053228, 0x00001F0A},
    {"subtract 16", 0, D, 3, 255, W, At, 0, kNone, kNoKey, 0x5285, 0, 0xA503, 0x5A80},
    {"subtract 16 b", 0, D, 3, 255, W, At, 0, kNone, kNoKey, 0x5285, 0, 0xA527, 0x5A82},
    {"subtract 0 on black", 1, D, 3, 128, W, At, 0, kNone, kNoKey, 0, 0, 0, 0x00010100},
    // Blend mode 4.
    {"multiply", 1, D, 4, 0, W, At, 0, kNone, kNoKey, 0x3264C8, 0, 0x000AFF80, 0x00016364},
    {"multiply alpha 128", 1, A, 4, 0, W, At, 0, kNone, kNoKey, 0x3264C8, 128, 0x000AFF80, 0x00003132},
    {"multiply alpha 255 keyed", 1, A, 4, 0, W, At, 1, kNone, kNoKey, 0x3264C8, 255, 0x000AFF80, 0x00016364},
    {"multiply alpha 255", 1, A, 4, 0, W, At, 0, kNone, kNoKey, 0x3264C8, 255, 0x000AFF80, 0x00016363},
    {"multiply alpha 0 keyed", 1, A, 4, 0, W, Str, 1, kNone, kNoKey, 0x3264C8, 0, 0x440AFF80, 0x440AFF80},
    {"multiply alpha 0", 1, A, 4, 0, W, Str, 0, kNone, kNoKey, 0x3264C8, 0, 0x440AFF80, 0x44000000},
    {"multiply 16", 0, D, 4, 0, W, At, 0, kNone, kNoKey, 0xFFF0, 0, 0xA51F, 0x9CEF},
    {"multiply white", 1, D, 4, 77, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0xFFFFFF, 0xFEFEFE},
    {"multiply graph 0", 1, D, 4, 0, W, At, 0, 0, kNoKey, 0xFFFFFF, 0, 0x33FFFFFF, 0x33000000},
    {"multiply graph 255", 1, D, 4, 0, W, At, 0, 255, kNoKey, 0xFFFFFF, 0, 0xFFFFFF, 0xFDFDFD},
    {"multiply palette byte 3", 1, P, 4, 0, W, At, 0, kNone, kNoKey, 0x80FFFFFF, 0, 0x11FFFFFF, 0x11FEFEFE},
    {"multiply tinted", 1, D, 4, 0, 0x808080, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0xC8C8C8, 0x646464},
    // Blend mode 10.
    {"inverse", 1, D, 10, 128, W, At, 0, kNone, kNoKey, 0x3264C8, 0, 0x000AFF80, 0x006BCD5B},
    {"inverse 16", 0, D, 10, 128, W, At, 0, kNone, kNoKey, 0xFFF0, 0, 0xA51F, 0x5297},
    {"inverse 16 alpha", 0, A, 10, 128, W, At, 0, kNone, kNoKey, 0xFFF0, 128, 0xA51F, 0x7BDB},
    {"inverse black", 1, D, 10, 255, W, At, 0, kNone, kNoKey, 0, 0, 0, 0xFEFEFE},
    {"inverse black 16", 0, D, 10, 255, W, At, 0, kNone, kNoKey, 0, 0, 0, 0xFFFF},
    {"inverse tinted", 1, D, 10, 255, 0x808080, At, 0, kNone, kNoKey, 0, 0, 0, 0x7F7F7F},
    {"inverse white", 1, D, 10, 255, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0xFFFFFF, 0},
    {"inverse white 128", 1, D, 10, 128, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0xFFFFFF, 0x7F7F7F},
    {"inverse p 0", 1, D, 10, 0, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x12345678, 0x12345678},
    // Blend mode 11.
    {"weighted multiply 255", 1, D, 11, 255, W, At, 0, kNone, kNoKey, 0x808080, 0, 0xC8C8C8, 0x646464},
    {"weighted multiply 128", 1, D, 11, 128, W, At, 0, kNone, kNoKey, 0x808080, 0, 0xC8C8C8, 0x969696},
    {"weighted multiply white", 1, D, 11, 255, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x77FFFFFF, 0x77FEFEFE},
    {"weighted multiply palette", 1, P, 11, 255, W, At, 0, kNone, kNoKey, 0x80FF8040, 0, 0x55C8C8C8, 0x55C76432},
    {"weighted multiply 16 red", 0, D, 11, 255, W, At, 0, kNone, kNoKey, 0xF800, 0, 0xF800, 0xF000},
    {"weighted multiply 16 red 128", 0, D, 11, 128, W, At, 0, kNone, kNoKey, 0xF800, 0, 0xF800, 0xF800},
    {"weighted multiply 16 green", 0, D, 11, 200, W, At, 0, kNone, kNoKey, 0x0400, 0, 0x07E0, 0x04C0},
    {"weighted multiply graph", 1, D, 11, 255, W, At, 0, 255, kNoKey, 0, 0, 0xFFFFFF, 0x010101},
    {"weighted multiply alpha 128", 1, A, 11, 255, W, At, 1, kNone, kNoKey, 0, 128, 0xFFFFFF, 0x7F7F7F},
    {"weighted multiply alpha 255 keyed", 1, A, 11, 255, W, At, 1, kNone, kNoKey, 0, 255, 0xFFFFFF, 0},
    {"weighted multiply alpha 255", 1, A, 11, 255, W, At, 0, kNone, kNoKey, 0, 255, 0xFFFFFF, 0x010101},
    {"fine green", 0, A, 11, 255, W, At, 0, kNone, kNoKey, 0x0020, 200, 0x0120, 0x0040},
    {"fine green off when tinted", 0, A, 11, 255, 0xFFFFFE, At, 0, kNone, kNoKey, 0x0020, 200, 0x0120, 0x0020},
    // Modes that draw nothing.
    {"mode 5", 1, D, 5, 128, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x12345678, 0x12345678},
    {"mode 9", 0, D, 9, 128, W, At, 0, kNone, kNoKey, 0xFFFF, 0, 0x1234, 0x1234},
    {"mode 12", 1, D, 12, 128, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x12345678, 0x12345678},
    {"mode -1", 1, D, -1, 128, W, At, 0, kNone, kNoKey, 0xFFFFFF, 0, 0x12345678, 0x12345678},
};

class ImageDrawGoldenTest : public ImageDrawTest {
 protected:
  // Draws the one source pixel of `g` onto a one-pixel destination.
  uint32_t Draw(const Golden& g) {
    MemImage* dst = Dest(g.kind, 1, 1, [&](int, int) { return g.dst; });
    uint32_t key = g.source == ref::kPalette && g.key == kNoKey ? 300 : g.key;
    MemImage* src = Source(
        g.kind, g.source, 1, 1, key, [&](int, int) { return Cell{g.source == ref::kPalette ? 0 : g.src, g.alpha}; },
        [&](int) { return g.src; }, g.road == Road::kRuns);
    MemImage* graph = g.graph == kNone ? nullptr : Graph(1, 1, [&](int, int) { return g.graph; });
    SoftDrawSettings s = {{0, 0, 1, 1}, g.mode, g.p, g.tint};
    if (g.road == Road::kStretched) {
      Rect mirrored = {1, 0, 0, 1};
      DrawMemImgStretched(dst, src, &mirrored, g.flag, graph, &s);
    } else {
      DrawMemImgAt(dst, src, 0, 0, g.flag, graph, &s);
    }
    return GetPixel(dst, 0, 0);
  }

  uint32_t Reference(const Golden& g) {
    ref::Draw d = {g.kind, g.mode, g.p, g.tint, g.road, g.source, g.flag, g.graph != kNone};
    ref::Sample s = {};
    s.color = g.source == ref::kAlpha && g.kind == 1 ? (g.src & 0xFFFFFF) | (g.alpha << 24) : g.src;
    s.stored = g.source == ref::kPalette ? 0 : s.color;
    s.alpha = static_cast<int>(g.alpha);
    s.runType = g.source == ref::kAlpha ? (g.alpha == 0 ? 0 : (g.alpha == 255 ? 1 : 2)) : (s.stored == g.key ? 0 : 1);
    uint32_t key = g.source == ref::kPalette && g.key == kNoKey ? 300 : g.key;
    return ref::Pixel(d, key, s, g.graph, g.dst);
  }
};

TEST_F(ImageDrawGoldenTest, WorkedExamples) {
  for (const Golden& g : kGolden) {
    EXPECT_EQ(Draw(g), g.expected) << g.what;
    EXPECT_EQ(Reference(g), g.expected) << g.what << " (reference)";
    ReleaseAll();
  }
}

}  // namespace
}  // namespace qor::test
