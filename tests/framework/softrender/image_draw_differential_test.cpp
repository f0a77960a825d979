// Two roads through the image draws that must give the same pixels, apart
// from the forms that only one of them takes.
#include <cstring>
#include <random>

#include "image_draw_support.h"

namespace qor::test {
namespace {

class ImageDrawDifferentialTest : public ImageDrawTest {
 protected:
  std::mt19937 rng{77};
  int Range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  uint32_t Word() { return static_cast<uint32_t>(rng()); }

  SoftDrawSettings RandomSettings(int width, int height) {
    static const int kModes[] = {0, 1, 2, 3, 4, 10, 11};
    static const int kParams[] = {0, 1, 100, 128, 200, 254, 255};
    static const uint32_t kTints[] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFE, 0x80C040};
    return {{0, 0, width, height}, kModes[Range(0, 6)], kParams[Range(0, 6)], kTints[Range(0, 3)]};
  }

  // Random pixels with a share of key pixels and of alpha 0 and 255.
  MemImage* RandomSource(int kind, int source, int width, int height, bool runTable) {
    std::vector<Cell> cells(static_cast<size_t>(width) * height);
    uint32_t mask = kind == 0 ? 0xFFFF : 0xFFFFFFFF;
    for (Cell& c : cells) {
      c.value = source == ref::kPalette ? Word() & 15 : (Range(0, 3) == 0 ? 0x4321 : Word() & mask);
      c.alpha = static_cast<uint32_t>(Range(0, 2) == 0 ? 255 * Range(0, 1) : Range(0, 255));
    }
    std::vector<uint32_t> palette(256);
    for (uint32_t& e : palette) e = Word() & mask;
    return Source(
        kind, source, width, height, source == ref::kPalette ? 3 : 0x4321,
        [&](int x, int y) { return cells[static_cast<size_t>(y) * width + x]; }, [&](int i) { return palette[i]; },
        runTable);
  }

  // The 1:1 walk off the run table takes forms of its own: the half and cube
  // rules of mode 1 and the exact and pair forms of modes 2 and 3.
  static bool AtSizeOnlyForms(const SoftDrawSettings& s, int source) {
    bool bare = (s.tint & 0xFFFFFF) == 0xFFFFFF && source != ref::kAlpha;
    if (s.blendMode == 1) return bare && s.blendParam != 255 && s.blendParam != 0;
    if (s.blendMode == 2 || s.blendMode == 3) return bare && s.blendParam == 255;
    return false;
  }

  static bool SameArea(const MemImage* a, const MemImage* b, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (GetPixel(a, x, y) != GetPixel(b, x, y)) return false;
    return true;
  }
};

TEST_F(ImageDrawDifferentialTest, RunTableAgainstClippedDraw) {
  int compared = 0;
  for (int i = 0; i < 400; ++i) {
    ReleaseAll();
    int kind = Range(0, 1), source = Range(0, 2), width = Range(2, 12), height = Range(2, 6);
    SoftDrawSettings s = RandomSettings(width, height);
    bool graph = Range(0, 2) == 0;
    MemImage* src = RandomSource(kind, source, width, height, true);
    MemImage* graphImage = graph ? Graph(width, height, [&](int, int) { return Word() & 0xFF; }) : nullptr;
    uint32_t seed = Word();
    auto fill = [&](int x, int y) { return seed * (x + 7 * y + 1); };
    MemImage* runs = Dest(kind, width, height, fill);
    MemImage* clipped = Dest(kind, width, height, fill);
    DrawMemImgAt(runs, src, 0, 0, 1, graphImage, &s);
    SoftDrawSettings cut = s;
    int side = Range(0, 3);
    (side == 0 ? cut.drawArea.left : side == 1 ? cut.drawArea.top : side == 2 ? cut.drawArea.right : cut.drawArea.bottom) +=
        side < 2 ? 1 : -1;
    DrawMemImgAt(clipped, src, 0, 0, 1, graphImage, &cut);
    if (AtSizeOnlyForms(s, source)) continue;
    ++compared;
    EXPECT_TRUE(SameArea(runs, clipped, cut.drawArea.left, cut.drawArea.top, cut.drawArea.right, cut.drawArea.bottom))
        << i << ": " << Describe(s, kind, source, 1, graph);
  }
  EXPECT_GT(compared, 200);
}

TEST_F(ImageDrawDifferentialTest, ExactSizeStretchedAgainstAtSize) {
  for (int i = 0; i < 400; ++i) {
    ReleaseAll();
    int kind = Range(0, 1), source = Range(0, 2), width = Range(1, 9), height = Range(1, 5);
    SoftDrawSettings s = RandomSettings(width + 2, height + 2);
    int flag = Range(0, 2);
    MemImage* src = RandomSource(kind, source, width, height, Range(0, 1) == 1);
    uint32_t seed = Word();
    auto fill = [&](int x, int y) { return seed ^ (x * 0x9E3779B9u + y); };
    MemImage* a = Dest(kind, width + 2, height + 2, fill);
    MemImage* b = Dest(kind, width + 2, height + 2, fill);
    Rect r = {1, 1, 1 + width, 1 + height};
    DrawMemImgAt(a, src, 1, 1, flag, nullptr, &s);
    DrawMemImgStretched(b, src, &r, flag, nullptr, &s);
    EXPECT_TRUE(SameArea(a, b, 0, 0, width + 2, height + 2)) << i << ": " << Describe(s, kind, source, flag, false);

    // Mirrored, the stretched walk draws; against the 1:1 draw of a mirrored
    // copy it differs only by the forms of the 1:1 walk.
    MemImage* flipped = NewImage();
    CreateMemImg(flipped, width, height, -1, src->buffer->keyColor, kind, source == ref::kPalette,
                 source == ref::kAlpha, 0, nullptr);
    if (source == ref::kPalette) std::memcpy(flipped->buffer->palette, src->buffer->palette, 1024);
    int cell = src->buffer->format->bytesPerPixel;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) std::memcpy(CellAt(flipped, width - 1 - x, y), CellAt(src, x, y), cell);
    MemImage* c = Dest(kind, width + 2, height + 2, fill);
    MemImage* d = Dest(kind, width + 2, height + 2, fill);
    Rect mirrored = {1 + width, 1, 1, 1 + height};
    DrawMemImgStretched(c, src, &mirrored, flag, nullptr, &s);
    DrawMemImgAt(d, flipped, 1, 1, flag, nullptr, &s);
    bool alphaCopy = (s.blendMode == 0 || (s.blendMode == 1 && s.blendParam == 255)) && source == ref::kAlpha &&
                     flag == 0 && (s.tint & 0xFFFFFF) == 0xFFFFFF;
    bool exactSubtract = s.blendMode == 3 && kind == 1;  // the stretched walk has it too
    if ((AtSizeOnlyForms(s, source) && !exactSubtract) || alphaCopy) continue;
    EXPECT_TRUE(SameArea(c, d, 0, 0, width + 2, height + 2)) << i << ": " << Describe(s, kind, source, flag, false);
  }
}

TEST_F(ImageDrawDifferentialTest, PalettisedAgainstDirect) {
  for (int i = 0; i < 400; ++i) {
    ReleaseAll();
    int kind = Range(0, 1), width = Range(1, 10), height = Range(1, 5);
    SoftDrawSettings s = RandomSettings(width, height);
    int flag = Range(0, 2);
    bool runTable = Range(0, 1) == 1;
    // Sixteen distinct colours, so that the key index and the key colour
    // pick the same pixels.
    uint32_t mask = kind == 0 ? 0xFFFF : 0xFFFFFFFF;
    std::vector<uint32_t> colours(256);
    for (int c = 0; c < 256; ++c) colours[c] = ((Word() & mask) & ~0xFu) | static_cast<uint32_t>(c & 15);
    std::vector<uint32_t> index(static_cast<size_t>(width) * height);
    for (uint32_t& v : index) v = Word() & 15;
    auto cells = [&](bool palettised) {
      return [&, palettised](int x, int y) {
        uint32_t v = index[static_cast<size_t>(y) * width + x];
        return Cell{palettised ? v : colours[v], 0};
      };
    };
    MemImage* pal = Source(kind, ref::kPalette, width, height, 3, cells(true), [&](int c) { return colours[c]; }, runTable);
    MemImage* dir = Source(kind, ref::kDirect, width, height, colours[3], cells(false), nullptr, runTable);
    MemImage* graph = Range(0, 2) == 0 ? Graph(width, height, [&](int, int) { return Word() & 0xFF; }) : nullptr;
    uint32_t seed = Word();
    auto fill = [&](int x, int y) { return seed + 0x01030507u * (x + 16 * y); };
    MemImage* a = Dest(kind, width, height, fill);
    MemImage* b = Dest(kind, width, height, fill);
    bool stretch = Range(0, 1) == 1;
    Rect r = {width, 0, 0, height};
    if (stretch) {
      DrawMemImgStretched(a, pal, &r, flag, graph, &s);
      DrawMemImgStretched(b, dir, &r, flag, graph, &s);
    } else {
      DrawMemImgAt(a, pal, 0, 0, flag, graph, &s);
      DrawMemImgAt(b, dir, 0, 0, flag, graph, &s);
    }
    // A palettised source still subtracts nothing at parameter 0.
    if (s.blendMode == 3 && s.blendParam == 0) continue;
    EXPECT_TRUE(SameArea(a, b, 0, 0, width, height)) << i << ": " << Describe(s, kind, 0, flag, graph != nullptr);
  }
}

TEST_F(ImageDrawDifferentialTest, AlphaBlendAtFullParameterIsTheCopy) {
  for (int i = 0; i < 200; ++i) {
    ReleaseAll();
    int kind = Range(0, 1), source = Range(0, 2), width = Range(1, 8), height = Range(1, 4), flag = Range(0, 2);
    MemImage* src = RandomSource(kind, source, width, height, Range(0, 1) == 1);
    MemImage* graph = Range(0, 2) == 0 ? Graph(width, height, [&](int, int) { return Word() & 0xFF; }) : nullptr;
    uint32_t tint = Range(0, 1) ? 0xFFFFFF : Word() & 0xFFFFFF;
    uint32_t seed = Word();
    auto fill = [&](int x, int y) { return seed * (3 * x + y + 1); };
    MemImage* a = Dest(kind, width, height, fill);
    MemImage* b = Dest(kind, width, height, fill);
    SoftDrawSettings copy = {{0, 0, width, height}, 0, 17, tint};
    SoftDrawSettings full = {{0, 0, width, height}, 1, 255, tint};
    DrawMemImgAt(a, src, 0, 0, flag, graph, &copy);
    DrawMemImgAt(b, src, 0, 0, flag, graph, &full);
    EXPECT_TRUE(SameArea(a, b, 0, 0, width, height)) << i;
  }
}

}  // namespace
}  // namespace qor::test
