// The wide draw road against the pixel-by-pixel one: the table entries the
// wide rules compute by formula, and whole spans of random pixels drawn
// both ways in every mode that takes the wide road.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "framework/softrender/pixel_kernel.h"

namespace qor {
namespace {

PixelKernel Kernel(int kind, int mode, int param, int transparent, uint32_t key) {
  SoftDrawSettings settings = {{0, 0, 64, 64}, mode, param, 0xFFFFFF};
  PixelKernel k;
  if (PreparePixelKernel(&k, kind, kSourceDirect, key, nullptr, &settings, transparent, false, KernelWalk::kAtSize) != 0) {
    k.mode = -1;
  }
  return k;
}

TEST(WideRulesTest, FormulasGiveEveryTableEntry) {
  ASSERT_EQ(BuildBlendTables(), 0);
  for (int p = 0; p < 256; ++p) {
    PixelKernel k = Kernel(0, kBlendMultiply, p, 0, 0);  // a mode that prepares at every parameter
    for (int v = -255; v <= 255; ++v) {
      WideChannels lanes = WideChannels{} + v;
      ASSERT_EQ(ParamSigned(k, lanes)[0], SignedBlend(p, v)) << p << " " << v;
      if (v >= 0) {
        ASSERT_EQ(ParamProduct(k, lanes)[0], g_blendTables.product[p][v]) << p << " " << v;
      }
    }
    for (int s = 0; s < 64; ++s) {
      for (int d = 0; d < 64; ++d) {
        ASSERT_EQ(CubeEntry(k, WideChannels{} + s, WideChannels{} + d)[0], g_blendTables.cube[(p / 4) * 4096 + s * 64 + d])
            << p << " " << s << " " << d;
      }
    }
  }
}

template <int Kind, int Mode>
void CompareSpans(std::mt19937& rng) {
  constexpr int bytes = PixelLayout<Kind>::kBytes;
  constexpr int count = 16 * kWideLanes;
  for (int round = 0; round < 40; ++round) {
    const int param = round % 4 == 0 ? 255 : static_cast<int>(rng() % 256);  // full strength has forms of its own
    const int transparent = static_cast<int>(rng() % 2);
    std::vector<uint8_t> src(count * bytes), a(count * bytes), b(count * bytes);
    for (uint8_t& v : src) v = static_cast<uint8_t>(rng());
    for (uint8_t& v : a) v = static_cast<uint8_t>(rng());
    uint32_t key = PixelLayout<Kind>::Load(src.data() + bytes * (rng() % count));
    std::memcpy(src.data() + bytes * (rng() % count), &key, bytes);  // the key at least twice
    b = a;
    PixelKernel k = Kernel(Kind, Mode, param, transparent, key);
    if (k.mode != Mode || !WideRoadFits(k)) continue;
    DrawWideSpan<Kind, Mode>(k, a.data(), src.data(), count);
    for (int x = 0; x < count; ++x) DrawKernelPixel<Kind, kSourceDirect, Mode>(k, b.data() + x * bytes, src.data() + x * bytes, 0);
    ASSERT_EQ(a, b) << "kind " << Kind << " mode " << Mode << " p " << param << " keyed " << transparent;
  }
}

template <int Kind>
void CompareEveryMode(std::mt19937& rng) {
  CompareSpans<Kind, kBlendAlpha>(rng);
  CompareSpans<Kind, kBlendAdd>(rng);
  CompareSpans<Kind, kBlendSubtract>(rng);
  CompareSpans<Kind, kBlendMultiply>(rng);
  CompareSpans<Kind, kBlendInverse>(rng);
  CompareSpans<Kind, kBlendWeightedMultiply>(rng);
}

TEST(WideRulesTest, SpansMatchThePixelByPixelDraw) {
  ASSERT_EQ(BuildBlendTables(), 0);
  std::mt19937 rng(7);
  CompareEveryMode<0>(rng);
  CompareEveryMode<1>(rng);
}

}  // namespace
}  // namespace qor
