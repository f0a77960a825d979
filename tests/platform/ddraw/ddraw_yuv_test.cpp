// YUV surfaces by FOURCC and the overlays a test offers: sizes and formats
// refused or taken, a whole 4:2:0 frame held in each layout, and
// UpdateOverlay recorded as called.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/sound/movie/yuv_convert.h"
#include "platform/ddraw/ddraw.h"

namespace {

using namespace plat;

struct YuvScope : ::testing::Test {
  DirectDraw* dd = nullptr;
  void SetUp() override {
    ResetDirectDrawStandIn();
    ASSERT_EQ(DirectDrawCreate(&dd), DD_OK);
  }
  void TearDown() override {
    dd->Release();
    EXPECT_EQ(GetDdCounters().liveSurfaces, 0);
    ResetDirectDrawStandIn();
  }
  int32_t Make(uint32_t fourcc, int w, int h, DDSurface** out, uint32_t caps = DDSCAPS_OFFSCREENPLAIN) {
    DDSurfaceDesc desc;
    desc.caps = caps;
    desc.width = w;
    desc.height = h;
    desc.hasPixelFormat = true;
    desc.pixelFormat.flags = DDPF_FOURCC;
    desc.pixelFormat.fourCC = fourcc;
    return dd->CreateSurface(&desc, out);
  }
};

constexpr uint32_t kYV12 = DdFourCC('Y', 'V', '1', '2');
constexpr uint32_t kYUY2 = DdFourCC('Y', 'U', 'Y', '2');
constexpr uint32_t kUYVY = DdFourCC('U', 'Y', 'V', 'Y');

}  // namespace

TEST_F(YuvScope, FourCCSurfacesHoldAWholeFrameInTheirLayout) {
  // The layouts themselves are the YUV copy's tests; here the surface must
  // hold all of it (the sanitizers watch the copy) and its last chroma byte
  // lands where the layout puts it.
  constexpr int w = 22, h = 10;
  std::vector<uint8_t> y(w * h, 16), u(w / 2 * h / 2, 99), v(w / 2 * h / 2, 201);
  const qor::YuvPlanes planes{y.data(), u.data(), v.data(), w, h, w, w / 2, h / 2, w / 2};
  for (const uint32_t fourcc : {kYV12, kYUY2, kUYVY}) {
    DDSurface* s = nullptr;
    ASSERT_EQ(Make(fourcc, w, h, &s), DD_OK);
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    ASSERT_EQ(s->Lock(nullptr, &pitch, &bits, DDLOCK_WAIT), DD_OK);
    ASSERT_EQ(qor::CopyYuvToSurface(planes, qor::YuvSurfaceBlock{bits, pitch, w, h, fourcc}), 1);
    if (fourcc == kYV12) {
      EXPECT_EQ(bits[pitch * h + (pitch / 2) * (h / 2) * 2 - pitch / 2 + w / 2 - 1], 99);  // U, last row
    } else {
      EXPECT_EQ(bits[(h - 1) * pitch + w * 2 - (fourcc == kYUY2 ? 1 : 2)], 201);  // V, last pair
    }
    s->Unlock(nullptr);
    s->Release();
  }
  // Odd sizes, unknown codes and YUV in a flip chain are refused.
  DDSurface* s = nullptr;
  EXPECT_EQ(Make(kYV12, 21, 10, &s), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(Make(kYUY2, 21, 10, &s), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(Make(DdFourCC('I', '4', '2', '0'), 16, 16, &s), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(Make(kYUY2, 16, 16, &s, DDSCAPS_FLIP | DDSCAPS_COMPLEX), DDERR_INVALIDPARAMS);
  DdFailNext(DdOp::CreateSurface);
  EXPECT_EQ(Make(kYUY2, 16, 16, &s), DDERR_GENERIC);
  DdFailNext(DdOp::Lock);
  ASSERT_EQ(Make(kUYVY, 16, 16, &s), DD_OK);
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
  EXPECT_NE(s->Lock(nullptr, &pitch, &bits, 0), DD_OK);
  s->Release();
}

TEST_F(YuvScope, OverlaysExistOnlyWhenOfferedAndRecordTheirPlacement) {
  DDSurface* s = nullptr;
  DDCaps caps;
  ASSERT_EQ(dd->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.caps & DDCAPS_OVERLAY, DDCAPS_OVERLAY);  // offered from the start
  EXPECT_EQ(caps.minOverlayStretch, 100u);
  DdOfferOverlays(false);
  ASSERT_EQ(dd->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.caps & DDCAPS_OVERLAY, 0u);
  EXPECT_EQ(Make(kUYVY, 64, 64, &s, DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY), DDERR_NOOVERLAYHW);
  DDCaps offered;
  offered.caps = DDCAPS_ALIGNSIZESRC;
  offered.alignSizeSrc = 4;
  DdOfferOverlays(true, offered);
  ASSERT_EQ(dd->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.caps, DDCAPS_ALIGNSIZESRC | DDCAPS_OVERLAY);
  EXPECT_EQ(caps.alignSizeSrc, 4u);
  EXPECT_EQ(Make(kYV12, 64, 64, &s, DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY), DDERR_INVALIDPIXELFORMAT);
  ASSERT_EQ(Make(kUYVY, 64, 64, &s, DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY), DD_OK);
  DDSurface* plain = nullptr;
  ASSERT_EQ(Make(kYUY2, 16, 16, &plain), DD_OK);
  const Rect from{0, 0, 32, 32}, to{10, 20, 74, 84};
  EXPECT_EQ(plain->UpdateOverlay(&from, s, &to, DDOVER_SHOW), DDERR_INVALIDPARAMS);  // not an overlay
  ASSERT_EQ(s->UpdateOverlay(&from, plain, &to, DDOVER_SHOW), DD_OK);
  ASSERT_EQ(s->UpdateOverlay(nullptr, plain, nullptr, DDOVER_HIDE), DD_OK);
  ASSERT_EQ(DdOverlayCalls().size(), 2u);
  EXPECT_TRUE(DdOverlayCalls()[0].show);
  EXPECT_EQ(DdOverlayCalls()[0].destination.right, 74);
  EXPECT_FALSE(DdOverlayCalls()[1].show);
  EXPECT_FALSE(DdOverlayCalls()[1].hasSource);
  plain->Release();
  s->Release();
}

namespace {

// BT.601 studio range from the standard's coefficients (Kr 0.299, Kb 0.114;
// luma 219 and chroma 224 steps), rounded to nearest and clamped.
uint32_t FormulaRgb(int y, int u, int v) {
  const double c = 255.0 / 219.0 * (y - 16), d = 255.0 / 224.0 * (u - 128), e = 255.0 / 224.0 * (v - 128);
  const double kr = 0.299, kb = 0.114, kg = 1.0 - kr - kb;
  const double rgb[3] = {c + 2.0 * (1.0 - kr) * e, c - 2.0 * (1.0 - kb) * kb / kg * d - 2.0 * (1.0 - kr) * kr / kg * e,
                         c + 2.0 * (1.0 - kb) * d};
  uint32_t out = 0;
  for (double ch : rgb) out = out << 8 | static_cast<uint32_t>(std::clamp(std::lround(ch), 0L, 255L));
  return out;
}

int LargestStep(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(static_cast<int>((a >> 8 * k) & 0xFF) - static_cast<int>((b >> 8 * k) & 0xFF)));
  return worst;
}

// The Y, U and V of pixel (x, y) of a frame of pseudo-random samples.
struct Samples {
  int w, h;
  std::vector<uint8_t> y, u, v;  // u and v per 2 x 2 block
  Samples(int w_, int h_, uint32_t seed) : w(w_), h(h_), y(w_ * h_), u(w_ / 2 * h_ / 2), v(w_ / 2 * h_ / 2) {
    for (auto* plane : {&y, &u, &v})
      for (uint8_t& b : *plane) b = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    y[0] = 16, u[0] = 128, v[0] = 128;  // black
    y[1] = 235;                         // white's luma with the same chroma
  }
  qor::YuvPlanes Planes() const { return {y.data(), u.data(), v.data(), w, h, w, w / 2, h / 2, w / 2}; }
  uint32_t Rgb(int x, int yy) const {
    return FormulaRgb(y[yy * w + x], u[(yy / 2) * (w / 2) + x / 2], v[(yy / 2) * (w / 2) + x / 2]);
  }
};

}  // namespace

TEST_F(YuvScope, BltFromEachYuvLayoutConvertsAsTheFormulaWithinOneStep) {
  // 32-bit screens take the conversion whole; 5:6:5 keeps its top bits.
  constexpr int w = 32, h = 16;
  const Samples samples(w, h, 7);
  for (const uint32_t fourcc : {kYV12, kYUY2, kUYVY}) {
    DDSurface* yuv = nullptr;
    ASSERT_EQ(Make(fourcc, w, h, &yuv), DD_OK);
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    ASSERT_EQ(yuv->Lock(nullptr, &pitch, &bits, DDLOCK_WAIT), DD_OK);
    ASSERT_EQ(qor::CopyYuvToSurface(samples.Planes(), qor::YuvSurfaceBlock{bits, pitch, w, h, fourcc}), 1);
    yuv->Unlock(nullptr);
    for (const int depth : {32, 16}) {
      DDSurfaceDesc desc;
      desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
      desc.width = w;
      desc.height = h;
      desc.hasPixelFormat = true;
      desc.pixelFormat = depth == 32 ? DDPixelFormat{DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0, 0}
                                     : DDPixelFormat{DDPF_RGB, 16, 0xF800, 0x7E0, 0x1F, 0, 0};
      DDSurface* rgb = nullptr;
      ASSERT_EQ(dd->CreateSurface(&desc, &rgb), DD_OK);
      ASSERT_EQ(rgb->Blt(nullptr, yuv, nullptr, DDBLT_WAIT, nullptr), DD_OK);
      int worst = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint32_t want = samples.Rgb(x, y);
          uint32_t got = 0;
          if (depth == 32) {
            std::memcpy(&got, rgb->memory() + y * rgb->pitch() + x * 4, 4);
            worst = std::max(worst, LargestStep(got & 0xFFFFFF, want));
          } else {
            uint16_t p = 0;
            std::memcpy(&p, rgb->memory() + y * rgb->pitch() + x * 2, 2);
            // In 5:6:5 steps: the stored value against the formula's top bits.
            const int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
            const int wr = static_cast<int>(want >> 16) >> 3, wg = static_cast<int>((want >> 8) & 0xFF) >> 2,
                      wb = static_cast<int>(want & 0xFF) >> 3;
            worst = std::max({worst, std::abs(r - wr), std::abs(g - wg), std::abs(b - wb)});
          }
        }
      }
      EXPECT_LE(worst, 1) << fourcc << " at " << depth;
      if (depth == 32) {
        uint32_t first = 0, second = 0;
        std::memcpy(&first, rgb->memory(), 4);
        std::memcpy(&second, rgb->memory() + 4, 4);
        EXPECT_EQ(first & 0xFFFFFF, 0u);           // Y 16: black
        EXPECT_EQ(second & 0xFFFFFF, 0xFFFFFFu);  // Y 235: white
      }
      rgb->Release();
    }
    yuv->Release();
  }
}

TEST_F(YuvScope, BltFromYuvStretchesClipsAndRefusesWhatItCannotTake) {
  constexpr int w = 8, h = 4;
  DDSurface* yuv = nullptr;
  ASSERT_EQ(Make(kYUY2, w, h, &yuv), DD_OK);
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
  ASSERT_EQ(yuv->Lock(nullptr, &pitch, &bits, DDLOCK_WAIT), DD_OK);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bits[y * pitch + x * 2] = static_cast<uint8_t>(16 + 20 * x + 5 * y);  // Y
      bits[y * pitch + x * 2 + 1] = static_cast<uint8_t>(x % 2 == 0 ? 90 : 200);  // U, then V
    }
  yuv->Unlock(nullptr);
  DDSurfaceDesc desc;
  desc.caps = DDSCAPS_OFFSCREENPLAIN;
  desc.width = 40;
  desc.height = 20;
  desc.hasPixelFormat = true;
  desc.pixelFormat = DDPixelFormat{DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, 0};
  DDSurface* rgb = nullptr;
  ASSERT_EQ(dd->CreateSurface(&desc, &rgb), DD_OK);
  // Source (2, 1)-(6, 3) doubled onto (10, 4): each pixel from the nearest
  // source pixel, alpha set, nothing outside written.
  const Rect from{2, 1, 6, 3}, to{10, 4, 18, 8};
  ASSERT_EQ(rgb->Blt(&to, yuv, &from, DDBLT_WAIT, nullptr), DD_OK);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint32_t got = 0;
      std::memcpy(&got, rgb->memory() + y * rgb->pitch() + x * 4, 4);
      if (x < 10 || x >= 18 || y < 4 || y >= 8) {
        ASSERT_EQ(got, 0u) << x << "," << y;
        continue;
      }
      const int sx = 2 + (x - 10) / 2, sy = 1 + (y - 4) / 2;
      ASSERT_EQ(got >> 24, 0xFFu);
      ASSERT_LE(LargestStep(got & 0xFFFFFF, FormulaRgb(16 + 20 * sx + 5 * sy, 90, 200)), 1) << x << "," << y;
    }
  }
  // Source rectangles reaching out, and targets that hold no RGB, are refused.
  const Rect out{6, 0, 9, 2};
  EXPECT_EQ(rgb->Blt(&to, yuv, &out, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  DDSurface* other = nullptr;
  ASSERT_EQ(Make(kUYVY, 8, 4, &other), DD_OK);
  EXPECT_EQ(other->Blt(nullptr, yuv, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPIXELFORMAT);
  // A card without YUV surfaces refuses them; overlays stay.
  DdOfferYuvSurfaces(false);
  DDSurface* refused = nullptr;
  EXPECT_EQ(Make(kYV12, 16, 16, &refused), DDERR_INVALIDPIXELFORMAT);
  ASSERT_EQ(Make(kYUY2, 16, 16, &refused, DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY), DD_OK);
  refused->Release();
  other->Release();
  rgb->Release();
  yuv->Release();
}
