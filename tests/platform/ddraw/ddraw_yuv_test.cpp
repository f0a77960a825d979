// YUV surfaces by FOURCC and the overlays a test offers: sizes and formats
// refused or taken, a whole 4:2:0 frame held in each layout, and
// UpdateOverlay recorded as called.
#include <gtest/gtest.h>

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
