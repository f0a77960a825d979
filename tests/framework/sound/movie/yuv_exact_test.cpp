// The YUV conversion held to its integer rule exactly, with no tolerance:
// the five tables and the clamp table entry by entry, the 4:2:0 road over
// every (Y, U, V) triple, and the floating-point road of the other layouts
// over every triple as well, each against the rule written out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/sound/movie/yuv_convert.h"

using namespace qor;

namespace {

// BT.601 studio range, 14-bit fixed point, fraction dropped.
struct Coefficient {
  const int32_t* table;
  int32_t multiplier, offset;
};

uint8_t Clamp255(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255)); }

// The fixed-point rule for one pixel: blue, green, red. C++ division
// truncates toward zero, as the rule asks.
void FixedRule(int y, int u, int v, uint8_t out[3]) {
  const int32_t luma = 19070 * (y - 16);
  out[0] = Clamp255((luma + 33062 * (u - 128)) / 16384);
  out[1] = Clamp255((luma - 6406 * (u - 128) - 13320 * (v - 128)) / 16384);
  out[2] = Clamp255((luma + 26148 * (v - 128)) / 16384);
}

// The floating-point rule: single-precision constants and luma, double
// arithmetic, truncation toward zero, then the clamp.
uint8_t TruncClamp(double v) { return v <= 0.0 ? 0 : v >= 255.0 ? 255 : static_cast<uint8_t>(v); }
void FloatRule(int y, int u, int v, uint8_t out[3]) {
  const double cb = u - 128, cr = v - 128;
  const float luma = 1.164f * static_cast<float>(y - 16);
  out[0] = TruncClamp(static_cast<double>(2.018f) * cb + luma);
  out[1] = TruncClamp(luma - static_cast<double>(0.391f) * cb - static_cast<double>(0.813f) * cr);
  out[2] = TruncClamp(static_cast<double>(1.596f) * cr + luma);
}

}  // namespace

TEST(YuvExact, TablesHoldTheIntegerMultipliersAndTheClamp) {
  ResetYuvTables();
  ASSERT_EQ(InitYuvToRgbTables(), 0);
  const YuvTables& t = GetYuvTables();
  const Coefficient tables[] = {{t.redFromV, 26148, 128}, {t.greenFromU, -6406, 128}, {t.greenFromV, -13320, 128},
                                {t.blueFromU, 33062, 128}, {t.luma, 19070, 16}};
  for (const Coefficient& c : tables) {
    for (int i = 0; i < 256; ++i) ASSERT_EQ(c.table[i], c.multiplier * (i - c.offset)) << c.multiplier << " at " << i;
  }
  for (int v = -512; v <= 767; ++v) ASSERT_EQ(t.clamp[v + 512], Clamp255(v)) << v;
  // The extremes every sum reaches stay inside the clamp table.
  int lowest = 0, highest = 0;
  for (int y : {0, 255}) {
    for (int u : {0, 255}) {
      for (int v : {0, 255}) {
        const int sums[3] = {(t.luma[y] + t.blueFromU[u]) / 16384, (t.luma[y] + t.greenFromU[u] + t.greenFromV[v]) / 16384,
                             (t.luma[y] + t.redFromV[v]) / 16384};
        for (int s : sums) lowest = std::min(lowest, s), highest = std::max(highest, s);
      }
    }
  }
  EXPECT_EQ(lowest, -276);
  EXPECT_EQ(highest, 534);
}

TEST(YuvExact, FourTwoZeroRoadEqualsTheIntegerRuleForEveryTriple) {
  ResetYuvTables();  // the road builds its tables on first use
  // A 512 x 512 frame: chroma sample (k, j) holds U = j and V = k, so each
  // frame covers every (U, V) pair once; frame f gives the four luma
  // samples of a block the values 4f .. 4f + 3, so 64 frames cover every Y.
  constexpr int kSide = 512, kChroma = 256;
  std::vector<uint8_t> y(kSide * kSide), u(kChroma * kChroma), v(kChroma * kChroma);
  for (int k = 0; k < kChroma; ++k) {
    for (int j = 0; j < kChroma; ++j) {
      u[k * kChroma + j] = static_cast<uint8_t>(j);
      v[k * kChroma + j] = static_cast<uint8_t>(k);
    }
  }
  std::vector<uint8_t> rgb(static_cast<size_t>(kSide) * kSide * 4);
  int64_t mismatches = 0;
  for (int f = 0; f < 64; ++f) {
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) y[r * kSide + c] = static_cast<uint8_t>(4 * f + (r % 2) * 2 + c % 2);
    }
    const YuvPlanes planes{y.data(), u.data(), v.data(), kSide, kSide, kSide, kChroma, kChroma, kChroma};
    ASSERT_EQ(ConvertYuvToRgb32(planes, rgb.data(), kSide * 4, kSide, kSide), 0);
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) {
        uint8_t want[3];
        FixedRule(y[r * kSide + c], c / 2, r / 2, want);
        const uint8_t* got = &rgb[(static_cast<size_t>(r) * kSide + c) * 4];
        if (got[0] != want[0] || got[1] != want[1] || got[2] != want[2] || got[3] != 255) {
          if (++mismatches <= 5) {
            ADD_FAILURE() << "Y " << int(y[r * kSide + c]) << " U " << c / 2 << " V " << r / 2 << ": got " << int(got[2])
                          << "," << int(got[1]) << "," << int(got[0]) << " want " << int(want[2]) << "," << int(want[1])
                          << "," << int(want[0]);
          }
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(YuvExact, OtherLayoutsEqualTheFloatingPointRuleForEveryTriple) {
  // 4:4:4, one frame per V: row r holds U = r, column c holds Y = c.
  constexpr int kSide = 256;
  std::vector<uint8_t> y(kSide * kSide), u(kSide * kSide), v(kSide * kSide);
  for (int r = 0; r < kSide; ++r) {
    for (int c = 0; c < kSide; ++c) y[r * kSide + c] = static_cast<uint8_t>(c), u[r * kSide + c] = static_cast<uint8_t>(r);
  }
  std::vector<uint8_t> rgb(kSide * kSide * 4);
  int64_t mismatches = 0;
  for (int vv = 0; vv < 256; ++vv) {
    std::fill(v.begin(), v.end(), static_cast<uint8_t>(vv));
    const YuvPlanes planes{y.data(), u.data(), v.data(), kSide, kSide, kSide, kSide, kSide, kSide};
    ASSERT_EQ(ConvertYuvToRgb32(planes, rgb.data(), kSide * 4, kSide, kSide), 0);
    for (int i = 0; i < kSide * kSide; ++i) {
      uint8_t want[3];
      FloatRule(i % kSide, i / kSide, vv, want);
      const uint8_t* got = &rgb[static_cast<size_t>(i) * 4];
      if ((got[0] != want[0] || got[1] != want[1] || got[2] != want[2] || got[3] != 255) && ++mismatches <= 5) {
        ADD_FAILURE() << "Y " << i % kSide << " U " << i / kSide << " V " << vv;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(YuvExact, FourTwoZeroRoadLeavesOddLastRowsAndColumnsUntouched) {
  // A 6 x 6 frame into images of every size up to it: whole 2 x 2 blocks
  // are converted exactly, an odd last row or column is left as it was.
  constexpr int kP = 6, kC = 3;
  std::vector<uint8_t> y(kP * kP), u(kC * kC), v(kC * kC);
  for (size_t i = 0; i < y.size(); ++i) y[i] = static_cast<uint8_t>(16 + 37 * i);
  for (size_t i = 0; i < u.size(); ++i) u[i] = static_cast<uint8_t>(60 + 41 * i), v[i] = static_cast<uint8_t>(200 - 29 * i);
  const YuvPlanes planes{y.data(), u.data(), v.data(), kP, kP, kP, kC, kC, kC};
  for (int w = 1; w <= kP; ++w) {
    for (int h = 1; h <= kP; ++h) {
      SCOPED_TRACE(testing::Message() << w << " x " << h);
      std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 4, 0x5A);
      ASSERT_EQ(ConvertYuvToRgb32(planes, rgb.data(), w * 4, w, h), 0);
      for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
          const uint8_t* got = &rgb[(static_cast<size_t>(r) * w + c) * 4];
          if (r >= h / 2 * 2 || c >= w / 2 * 2) {
            EXPECT_EQ(got[0] & got[1] & got[2] & got[3], 0x5A) << r << "," << c;
            continue;
          }
          uint8_t want[3];
          FixedRule(y[r * kP + c], u[(r / 2) * kC + c / 2], v[(r / 2) * kC + c / 2], want);
          EXPECT_TRUE(got[0] == want[0] && got[1] == want[1] && got[2] == want[2] && got[3] == 255) << r << "," << c;
        }
      }
    }
  }
}
