// The device's texture load: texels copied row by row between two textures
// of one pixel layout.
#include <cstring>

#include "platform/d3d/device.h"

namespace plat::d3d {

namespace {

bool SameLayout(const PixelLayout& a, const PixelLayout& b) {
  return a.bitCount == b.bitCount && std::memcmp(a.masks, b.masks, sizeof a.masks) == 0;
}

}  // namespace

Result Device::Load(const Texture* destination, int32_t x, int32_t y, const Texture* source,
                    const ClearRect* sourceRect, uint32_t flags) {
  ++counters_.load;
  if (failLoads_ > 0) {
    --failLoads_;
    return kErrInvalidCall;
  }
  if (lost_) return kErrDeviceLost;
  if (destination == nullptr || source == nullptr || flags != 0) return kErrInvalidCall;
  const SurfaceView& to = destination->view;
  const SurfaceView& from = source->view;
  if (to.bits == nullptr || from.bits == nullptr || !SameLayout(to.layout, from.layout)) return kErrInvalidCall;
  const ClearRect whole{0, 0, from.width, from.height};
  const ClearRect r = sourceRect != nullptr ? *sourceRect : whole;
  // In 64 bits: a rectangle or a point near the ends of the range must not
  // wrap into a copy that looks as if it fitted.
  const int64_t w = int64_t{r.right} - r.left, h = int64_t{r.bottom} - r.top;
  if (r.left < 0 || r.top < 0 || w < 0 || h < 0 || r.right > from.width || r.bottom > from.height) return kErrInvalidCall;
  if (x < 0 || y < 0 || x + w > to.width || y + h > to.height) return kErrInvalidCall;
  const int64_t bytes = to.layout.bitCount / 8;
  for (int64_t row = 0; row < h; ++row) {
    std::memmove(to.bits + (y + row) * to.pitch + x * bytes, from.bits + (r.top + row) * from.pitch + r.left * bytes,
                 static_cast<size_t>(w * bytes));
  }
  return kOk;
}

}  // namespace plat::d3d
