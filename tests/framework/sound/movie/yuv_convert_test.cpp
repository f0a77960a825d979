#include "framework/sound/movie/yuv_convert.h"

#include <gtest/gtest.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace qor;

namespace {

// The conversion formula in floating point, straight from the BT.601
// studio-range coefficients.
int Reference(double value) { return std::clamp(static_cast<int>(std::trunc(value)), 0, 255); }

struct Frame {
  int width, height;
  std::vector<uint8_t> y, u, v;
  YuvPlanes Planes() const {
    return YuvPlanes{y.data(), u.data(), v.data(), width, height, width, width / 2, height / 2, width / 2};
  }
};

Frame Flat(int width, int height, uint8_t y, uint8_t u, uint8_t v) {
  return Frame{width, height, std::vector<uint8_t>(width * height, y), std::vector<uint8_t>(width * height / 4, u),
               std::vector<uint8_t>(width * height / 4, v)};
}

std::vector<uint8_t> Convert(const YuvPlanes& planes, int width, int height) {
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4, 0x11);
  EXPECT_EQ(ConvertYuvToRgb32(planes, out.data(), width * 4, width, height), 0);
  return out;
}

}  // namespace

TEST(YuvConvert, FixedPointIsWithinOneOfTheFormulaForEveryYuvAndExactAtTheWorkedValues) {
  ResetYuvTables();
  // One 2 x 2 block per (U, V) pair, every Y value across the rows.
  int worst = 0;
  for (int u = 0; u < 256; ++u) {
    for (int v = 0; v < 256; ++v) {
      Frame f = Flat(512, 2, 0, static_cast<uint8_t>(u), static_cast<uint8_t>(v));
      for (int i = 0; i < 512; ++i) f.y[i] = f.y[512 + i] = static_cast<uint8_t>(i / 2);
      const auto out = Convert(f.Planes(), 512, 2);
      for (int i = 0; i < 512; i += 2) {
        const double y = 1.164 * (i / 2 - 16);
        const int expected[3] = {Reference(y + 2.018 * (u - 128)), Reference(y - 0.391 * (u - 128) - 0.813 * (v - 128)),
                                 Reference(y + 1.596 * (v - 128))};
        for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(out[i * 4 + k] - expected[k]));
        ASSERT_EQ(out[i * 4 + 3], 255);
      }
    }
  }
  EXPECT_LE(worst, 1);
  const auto black = Convert(Flat(2, 2, 16, 128, 128).Planes(), 2, 2);
  EXPECT_EQ(black[0] | black[1] | black[2], 0);
  const auto white = Convert(Flat(2, 2, 235, 128, 128).Planes(), 2, 2);
  EXPECT_EQ(white[0], 254);
  EXPECT_EQ(white[1], 254);
  EXPECT_EQ(white[2], 254);
  const auto top = Convert(Flat(2, 2, 255, 128, 128).Planes(), 2, 2);
  EXPECT_EQ(top[2], 255);
  const auto noRed = Convert(Flat(2, 2, 0, 128, 0).Planes(), 2, 2);
  EXPECT_EQ(noRed[2], 0);
}

TEST(YuvConvert, RandomFramesAreCloseToLibswscale) {
  constexpr int W = 64, H = 48;
  Frame f = Flat(W, H, 0, 0, 0);
  uint32_t seed = 99;
  auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 24; };
  for (auto& s : f.y) s = static_cast<uint8_t>(16 + next() % 220);
  // Chroma constant over 4 x 4 chroma tiles, so the way either side spreads
  // chroma over the pixels does not matter inside a tile.
  for (int ty = 0; ty < H / 8; ++ty) {
    for (int tx = 0; tx < W / 8; ++tx) {
      const uint8_t u = static_cast<uint8_t>(16 + next() % 225), v = static_cast<uint8_t>(16 + next() % 225);
      for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
          f.u[(ty * 4 + r) * (W / 2) + tx * 4 + c] = u;
          f.v[(ty * 4 + r) * (W / 2) + tx * 4 + c] = v;
        }
      }
    }
  }
  const auto ours = Convert(f.Planes(), W, H);
  SwsContext* sws = sws_getContext(W, H, AV_PIX_FMT_YUV420P, W, H, AV_PIX_FMT_BGR0,
                                   SWS_POINT | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
  ASSERT_NE(sws, nullptr);
  std::vector<uint8_t> theirs(W * H * 4);
  const uint8_t* src[3] = {f.y.data(), f.u.data(), f.v.data()};
  const int srcStride[3] = {W, W / 2, W / 2};
  uint8_t* dst[1] = {theirs.data()};
  const int dstStride[1] = {W * 4};
  sws_scale(sws, src, srcStride, 0, H, dst, dstStride);
  sws_freeContext(sws);
  int worst = 0;
  for (int r = 0; r < H; ++r) {
    for (int c = 0; c < W; ++c) {
      if (r % 8 == 0 || r % 8 == 7 || c % 8 == 0 || c % 8 == 7) continue;  // tile borders
      for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(ours[(r * W + c) * 4 + k] - theirs[(r * W + c) * 4 + k]));
    }
  }
  EXPECT_LE(worst, 3);
}

TEST(YuvConvert, OddEdgesAndOtherLayouts) {
  // 4:2:0 with an odd height: the last row stays untouched.
  Frame f = Flat(4, 3, 100, 90, 160);
  f.u.resize(2 * 2, 90);
  f.v.resize(2 * 2, 160);
  YuvPlanes p{f.y.data(), f.u.data(), f.v.data(), 4, 2, 4, 2, 1, 2};
  std::vector<uint8_t> out(4 * 4 * 3, 0x11);
  ASSERT_EQ(ConvertYuvToRgb32(p, out.data(), 16, 4, 3), 0);
  EXPECT_EQ(out[16 * 2], 0x11);
  EXPECT_EQ(out[16 * 1 + 3], 255);
  // 4:4:4 takes each pixel's own chroma sample, through the formula.
  std::vector<uint8_t> y = {16, 235, 128, 60}, u = {128, 128, 40, 200}, v = {128, 128, 220, 10};
  const YuvPlanes full{y.data(), u.data(), v.data(), 4, 1, 4, 4, 1, 4};
  std::vector<uint8_t> rgb(16);
  ASSERT_EQ(ConvertYuvToRgb32(full, rgb.data(), 16, 4, 1), 0);
  for (int i = 0; i < 4; ++i) {
    const double yy = 1.164f * (y[i] - 16);
    EXPECT_NEAR(rgb[i * 4 + 2], Reference(yy + 1.596 * (v[i] - 128)), 1) << i;
    EXPECT_NEAR(rgb[i * 4 + 0], Reference(yy + 2.018 * (u[i] - 128)), 1) << i;
  }
  EXPECT_EQ(rgb[4 * 1 + 2], 254);  // 1.164 x 219 = 254.9, truncated
}

TEST(YuvConvert, FourccCopiesReadBackToThePlanes) {
  Frame f = Flat(8, 4, 0, 0, 0);
  for (size_t i = 0; i < f.y.size(); ++i) f.y[i] = static_cast<uint8_t>(i);
  for (size_t i = 0; i < f.u.size(); ++i) {
    f.u[i] = static_cast<uint8_t>(100 + i);
    f.v[i] = static_cast<uint8_t>(200 + i);
  }
  const YuvPlanes p = f.Planes();
  std::vector<uint8_t> yv12(12 * 4 * 3 / 2, 0xEE);
  ASSERT_EQ(CopyYuvToSurface(p, YuvSurfaceBlock{yv12.data(), 12, 8, 4, kFourCCYV12}), 1);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 8; ++c) EXPECT_EQ(yv12[r * 12 + c], f.y[r * 8 + c]);
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(yv12[48 + r * 6 + c], f.v[r * 4 + c]);
      EXPECT_EQ(yv12[48 + 12 + r * 6 + c], f.u[r * 4 + c]);
    }
  }
  for (const uint32_t fourcc : {kFourCCYUY2, kFourCCUYVY}) {
    std::vector<uint8_t> packed(20 * 4, 0xEE);
    ASSERT_EQ(CopyYuvToSurface(p, YuvSurfaceBlock{packed.data(), 20, 8, 4, fourcc}), 1);
    const int yAt = fourcc == kFourCCYUY2 ? 0 : 1, uAt = fourcc == kFourCCYUY2 ? 1 : 0;
    for (int r = 0; r < 4; ++r) {
      for (int j = 0; j < 4; ++j) {
        const uint8_t* q = &packed[r * 20 + j * 4];
        EXPECT_EQ(q[yAt], f.y[r * 8 + 2 * j]);
        EXPECT_EQ(q[yAt + 2], f.y[r * 8 + 2 * j + 1]);
        EXPECT_EQ(q[uAt], f.u[(r / 2) * 4 + j]);
        EXPECT_EQ(q[uAt + 2], f.v[(r / 2) * 4 + j]);
      }
      EXPECT_EQ(packed[r * 20 + 16], 0xEE);
    }
  }
  // A 4:4:4 frame or an unknown code copies nothing.
  const YuvPlanes full{f.y.data(), f.y.data(), f.y.data(), 8, 4, 8, 8, 4, 8};
  EXPECT_EQ(CopyYuvToSurface(full, YuvSurfaceBlock{yv12.data(), 12, 8, 4, kFourCCYV12}), 0);
  EXPECT_EQ(CopyYuvToSurface(p, YuvSurfaceBlock{yv12.data(), 12, 8, 4, MakeFourCC('R', 'G', 'B', 'A')}), 0);
}
