// The device's texture load: texels of a source rectangle land at the
// destination point and nothing else changes; rectangles and points at the
// textures' edges and one past, other layouts, flags, a lost device and an
// injected failure are refused with nothing copied.
#include <gtest/gtest.h>

#include <cstdint>

#include "d3d_test_support.h"
#include "platform/d3d/device.h"

namespace {

using namespace plat::d3d;
using d3dtest::Canvas;

TEST(D3DTextureLoad, CopiesTheRectangleAndRefusesWhatDoesNotFit) {
  constexpr ClearRect kWhole{-100, 0, 0, 0};  // stands for "no rectangle"
  const struct {
    PixelLayout from, to;
    ClearRect rect;
    int32_t x, y;
    uint32_t flags;
    Result result;
  } cases[] = {
      {kLayoutA4R4G4B4, kLayoutA4R4G4B4, kWhole, 0, 0, 0, kOk},           // all of a 20 x 12 into 24 x 16
      {kLayoutA4R4G4B4, kLayoutA4R4G4B4, kWhole, 4, 4, 0, kOk},           // ending on both edges
      {kLayoutA4R4G4B4, kLayoutA4R4G4B4, kWhole, 5, 4, 0, kErrInvalidCall},  // a column past
      {kLayoutA4R4G4B4, kLayoutA4R4G4B4, kWhole, 4, 5, 0, kErrInvalidCall},  // a row past
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {3, 2, 10, 7}, 5, 4, 0, kOk},
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {13, 5, 20, 12}, 0, 9, 0, kOk},   // the source's far corner
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {13, 5, 21, 12}, 0, 0, 0, kErrInvalidCall},
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {13, 5, 20, 13}, 0, 0, 0, kErrInvalidCall},
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {-1, 0, 4, 4}, 0, 0, 0, kErrInvalidCall},
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {0, 0, 4, 4}, -1, 0, 0, kErrInvalidCall},
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {6, 6, 2, 8}, 0, 0, 0, kErrInvalidCall},  // turned round
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {4, 4, 4, 9}, 23, 0, 0, kOk},     // empty: nothing to copy
      {kLayoutA8R8G8B8, kLayoutA8R8G8B8, {0, 0, 4, 4}, 0, 0, 1, kErrInvalidCall},
      {kLayoutA1R5G5B5, kLayoutA4R4G4B4, {0, 0, 4, 4}, 0, 0, 0, kErrInvalidCall},
      {kLayoutA8R8G8B8, kLayoutX8R8G8B8, {0, 0, 4, 4}, 0, 0, 0, kErrInvalidCall},
  };
  Device device;
  int64_t calls = 0;
  uint32_t seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "rect " << c.rect.left << "," << c.rect.top << "," << c.rect.right << ","
                                    << c.rect.bottom << " at " << c.x << "," << c.y);
    const Canvas source(c.from, 20, 12, seed++);
    Canvas target(c.to, 24, 16, seed++);
    const Canvas before(target);
    const Texture from{source.view, false, 0}, to{target.view, false, 0};
    const bool whole = c.rect.left == kWhole.left;
    EXPECT_EQ(device.Load(&to, c.x, c.y, &from, whole ? nullptr : &c.rect, c.flags), c.result);
    EXPECT_EQ(device.Counters().load, ++calls);
    const ClearRect r = whole ? ClearRect{0, 0, 20, 12} : c.rect;
    int copied = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 24; ++x) {
        const int sx = x - c.x + r.left, sy = y - c.y + r.top;
        const bool in = c.result == kOk && sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom;
        ASSERT_EQ(target.Pixel(x, y), in ? source.Pixel(sx, sy) : before.Pixel(x, y)) << x << "," << y;
        copied += in;
      }
    EXPECT_EQ(copied, c.result == kOk ? (r.right - r.left) * (r.bottom - r.top) : 0);
    EXPECT_TRUE(target.BorderSame(before));
  }

  // A lost device and an injected failure copy nothing; the next load does.
  const Canvas source(kLayoutR5G6B5, 8, 8, 77);
  Canvas target(kLayoutR5G6B5, 8, 8, 78);
  const Canvas before(target);
  const Texture from{source.view, false, 0}, to{target.view, false, 0};
  device.SetLost(true);
  EXPECT_EQ(device.Load(&to, 0, 0, &from, nullptr, 0), kErrDeviceLost);
  device.SetLost(false);
  device.FailNextLoads(1);
  EXPECT_EQ(device.Load(&to, 0, 0, &from, nullptr, 0), kErrInvalidCall);
  EXPECT_EQ(target.Pixel(3, 3), before.Pixel(3, 3));
  EXPECT_EQ(device.Load(&to, 0, 0, &from, nullptr, 0), kOk);
  EXPECT_EQ(target.Pixel(3, 3), source.Pixel(3, 3));
}

}  // namespace
