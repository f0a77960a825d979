// The renderer against the reference model over every pair of channel
// values: source pixel (x, y) takes its colour from x, destination pixel
// (x, y) from y, so an n x n block holds every (source, destination) pair of
// every channel (all 5- and 6-bit field pairs in 16-bit). Row blocks below
// it repeat the block with other alpha values and blend-graph factors.
#include <cstring>

#include "image_draw_support.h"

namespace qor::test {
namespace {

const int kAlphaEdges[] = {0, 1, 128, 254, 255};
const int kFactorEdges[] = {0, 1, 128, 254, 255};
constexpr uint32_t kTints[] = {0xFFFFFF, 0x3FA0FF, 0xFFFFFE};

struct SweepSource {
  int source;     // ref::kPalette, kDirect, kAlpha
  int flag;       // transparent flag
  bool runTable;  // flag 1 with a run table takes the run-table walk
};
const SweepSource kSources[] = {
    {ref::kPalette, 0, false}, {ref::kPalette, 2, false}, {ref::kPalette, 1, true},
    {ref::kDirect, 0, false},  {ref::kDirect, 2, false},  {ref::kDirect, 1, true},
    {ref::kAlpha, 0, false},   {ref::kAlpha, 2, false},   {ref::kAlpha, 1, true},
};
const int kModes[] = {0, 1, 2, 3, 4, 10, 11};

class ImageDrawSweepTest : public ImageDrawTest {
 protected:
  // Channel values 0..n-1 spread over the channel's range.
  static uint32_t Colour(int kind, int n, int v) {
    if (kind == 0) return (static_cast<uint32_t>(v & 31) << 11) | (static_cast<uint32_t>(v & 63) << 5) | (31 - (v & 31));
    uint32_t c = static_cast<uint32_t>(v * 255 / (n - 1));
    return (c << 16) | ((255 - c) << 8) | (c ^ 0x5A) | (static_cast<uint32_t>(v * 37 & 0xFF) << 24);
  }

  // Sweeps one kind over n x n blocks. `keep` picks which (mode, p, tint)
  // draws run for the source set-up numbered `config`.
  void Sweep(int kind, int n, const std::function<bool(int, int, int, int)>& keep) {
    int failures = 0;
    int config = 0;
    for (const SweepSource& ss : kSources) {
      for (bool graph : {false, true}) {
        ++config;
        int alphaBlocks = ss.source == ref::kAlpha ? 5 : 1;
        int factorBlocks = graph ? 5 : 1;
        int height = n * alphaBlocks * factorBlocks;
        auto block = [&](int y) { return y / n; };
        uint32_t key = ss.source == ref::kPalette ? 5 : Colour(kind, n, 5);
        MemImage* src = Source(
            kind, ss.source, n, height, key,
            [&](int x, int y) {
              return Cell{ss.source == ref::kPalette ? static_cast<uint32_t>(x) : Colour(kind, n, x),
                          static_cast<uint32_t>(kAlphaEdges[block(y) % alphaBlocks])};
            },
            [&](int i) { return Colour(kind, n, i % n); }, ss.runTable);
        MemImage* graphImage =
            graph ? Graph(n, height, [&](int, int y) { return kFactorEdges[block(y) / alphaBlocks]; }) : nullptr;
        MemImage* dst = Dest(kind, n, height, [&](int, int y) { return Colour(kind, n, y % n) ^ 0x80000000u; });
        ref::Grid pristine = GridOf(dst);
        std::vector<uint8_t> pristineBytes = DestBytes(pristine, kind);
        ref::Source refSource = RefSource(src);
        ref::Grid factors;
        if (graph) factors = FactorsOf(graphImage);
        ref::Area area = {0, 0, n, height};

        for (int mode : kModes) {
          for (int p = 0; p < 256; ++p) {
            for (int t = 0; t < 3; ++t) {
              if (!keep(mode, p, t, config)) continue;
              SoftDrawSettings s = {{0, 0, n, height}, mode, p, kTints[t]};
              for (bool stretched : {false, true}) {
                ref::Grid expected = pristine;
                std::memcpy(dst->pixels, pristineBytes.data(), pristineBytes.size());
                ref::Draw d = RefDraw(src, s, ss.flag, graph);
                if (stretched) {
                  // Mirrored at the same size: the stretched walk.
                  Rect r = {n, 0, 0, height};
                  ref::DrawStretched(d, refSource, graph ? &factors : nullptr, &expected, area, r.left, r.top,
                                     r.right, r.bottom);
                  DrawMemImgStretched(dst, src, &r, ss.flag, graphImage, &s);
                } else {
                  ref::DrawAt(d, refSource, graph ? &factors : nullptr, &expected, area, 0, 0);
                  DrawMemImgAt(dst, src, 0, 0, ss.flag, graphImage, &s);
                }
                std::string diff = FirstDifference(dst, expected);
                if (!diff.empty() && ++failures <= 5) {
                  ADD_FAILURE() << Describe(s, kind, ss.source, ss.flag, graph) << (stretched ? " stretched " : " 1:1 ")
                                << (ss.runTable ? "run table " : "") << diff;
                }
              }
            }
          }
        }
        ReleaseAll();
      }
    }
    EXPECT_EQ(failures, 0);
  }

  // The destination pixels as the image stores them (pitch = row bytes, as
  // n is a multiple of 8).
  static std::vector<uint8_t> DestBytes(const ref::Grid& g, int kind) {
    int bytes = kind == 0 ? 2 : 4;
    std::vector<uint8_t> out(g.values.size() * bytes);
    for (size_t i = 0; i < g.values.size(); ++i) StorePixel(out.data() + i * bytes, bytes, g.values[i]);
    return out;
  }
};

// The trimmed sweeps: two parameter edges and one tint per mode and source
// set-up, turning with the set-up so that every mode meets many of them.
bool Trimmed(int mode, int p, int t, int config) {
  static const int kEdges[] = {0, 1, 3, 4, 127, 128, 129, 252, 254, 255};
  int turn = mode + config * 3;
  return (p == kEdges[turn % 10] || p == kEdges[(turn + 5) % 10]) && t == turn % 3;
}

TEST_F(ImageDrawSweepTest, Fields16) { Sweep(0, 64, Trimmed); }

TEST_F(ImageDrawSweepTest, Channels32) { Sweep(1, 16, Trimmed); }

// Every parameter under a white and a coloured tint.
TEST_F(ImageDrawSweepTest, SlowFields16EveryParameter) {
  Sweep(0, 64, [](int, int, int t, int) { return t < 2; });
}

TEST_F(ImageDrawSweepTest, SlowChannels32) {
  Sweep(1, 256, [](int mode, int p, int t, int config) { return t < 2 && (p % 15 == 0 || Trimmed(mode, p, t, config)); });
}

}  // namespace
}  // namespace qor::test
