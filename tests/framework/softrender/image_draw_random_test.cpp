// Seeded random draws against the reference model: random 32-bit pixels,
// palettes, keys, alpha, blend graphs and threshold tables, draw areas,
// positions and rectangles (mirrored, clipped, partly outside), views into
// larger buffers, and every blend mode, drawing or not.
#include <random>

#include "image_draw_support.h"

namespace qor::test {
namespace {

class ImageDrawRandomTest : public ImageDrawTest {
 protected:
  std::mt19937 rng{20240607};

  int Range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  uint32_t Word() { return static_cast<uint32_t>(rng()); }
  bool Chance(int percent) { return Range(0, 99) < percent; }
  int Edgy(const std::vector<int>& edges, int low, int high) {
    return Chance(50) ? edges[Range(0, static_cast<int>(edges.size()) - 1)] : Range(low, high);
  }

  void RunOne(int iteration) {
    int kind = Range(0, 1);
    int source = Range(0, 2);
    int width = Range(1, 9), height = Range(1, 9);
    bool view = Chance(25);
    int bufferWidth = view ? width + Range(0, 3) : width;
    int bufferHeight = view ? height + Range(0, 3) : height;
    uint32_t pixelMask = kind == 0 ? 0xFFFF : 0xFFFFFFFF;
    std::vector<uint32_t> palette(256);
    for (uint32_t& e : palette) e = Word() & pixelMask;
    std::vector<Cell> cells(static_cast<size_t>(bufferWidth) * bufferHeight);
    for (Cell& c : cells) {
      c.value = source == ref::kPalette ? Word() & 7 : (Chance(30) ? 0x1234 : Word() & pixelMask);
      c.alpha = static_cast<uint32_t>(Edgy({0, 0, 255, 255, 1, 254}, 0, 255));
    }
    uint32_t key = Chance(70) ? cells[Range(0, static_cast<int>(cells.size()) - 1)].value : Word() & pixelMask;
    int flag = Range(0, 2);
    bool runTable = Chance(50);
    MemImage* whole = Source(
        kind, source, bufferWidth, bufferHeight, key,
        [&](int x, int y) { return cells[static_cast<size_t>(y) * bufferWidth + x]; },
        [&](int i) { return palette[i]; }, runTable);
    MemImage* src = whole;
    if (view) {
      src = NewImage();
      MakeMemImgView(src, whole, Range(0, bufferWidth - width), Range(0, bufferHeight - height), width, height);
    }

    MemImage* graph = nullptr;
    if (Chance(40)) {
      graph = Graph(width + Range(0, 2), height + Range(0, 2), [&](int, int) { return Word() & 0xFF; });
      if (Chance(50)) BuildBlendGraphTable(Range(0, 255), Range(0, 255));
    }
    MemImage* dst = Dest(kind, Range(1, 14), Range(1, 14), [&](int, int) { return Word(); });

    static const int kModes[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 10, 11, 5, 9, 12, -1};
    SoftDrawSettings s = {};
    s.blendMode = kModes[Range(0, 14)];
    s.blendParam = Edgy({0, 1, 127, 128, 129, 254, 255, 255}, 0, 255);
    s.tint = Chance(45) ? 0xFFFFFF : (Chance(20) ? 0xFFFFFE : Word() & 0xFFFFFF);
    s.drawArea = {Range(-3, 6), Range(-3, 6), Range(0, 18), Range(0, 18)};
    if (Chance(30)) s.drawArea = {-100, -100, 100, 100};

    std::string diff;
    if (Chance(50)) {
      diff = CompareAt(dst, src, Range(-10, 15), Range(-10, 15), flag, graph, s);
    } else {
      Rect r = {Range(-10, 20), Range(-10, 20), Range(-10, 20), Range(-10, 20)};
      if (Chance(20)) r = {r.left, r.top, r.left + width, r.top + height};
      diff = CompareStretched(dst, src, r, flag, graph, s);
    }
    EXPECT_EQ(diff, "") << "iteration " << iteration << ": "
                        << Describe(s, kind, source, flag, graph != nullptr) << (view ? " view" : "")
                        << (runTable ? " run table" : "");
    ReleaseAll();
  }

  void Run(int iterations) {
    for (int i = 0; i < iterations && !HasFailure(); ++i) RunOne(i);
  }
};

TEST_F(ImageDrawRandomTest, AgreesWithReference) { Run(40000); }

TEST_F(ImageDrawRandomTest, SlowAgreesWithReference) { Run(2000000); }

}  // namespace
}  // namespace qor::test
