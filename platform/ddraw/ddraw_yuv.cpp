// Blt from a YUV surface ("YV12", "YUY2", "UYVY") onto an RGB surface, as a
// display card converts on the way: BT.601 studio range in the card's 8-bit
// integer form (HostYuvToXrgb), each destination pixel taking the nearest
// source pixel as the plain Blt stretches, and the chroma sample that covers
// it (no chroma interpolation). Channels are narrowed to the destination's
// masks by dropping low bits; alpha bits are set.
#include <algorithm>
#include <bit>
#include <vector>

#include "platform/ddraw/ddraw_state.h"
#include "platform/host/host.h"

namespace plat {

namespace {

// Puts an 8-bit channel into a mask's place, keeping its top bits.
uint32_t Narrow(uint32_t value8, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (v << shift) & mask;
}

struct YuvReader {
  uint32_t fourcc;
  const uint8_t* bits;
  int32_t pitch, height;

  // Y, U and V of one pixel.
  void Read(int x, int y, int* py, int* pu, int* pv) const {
    if (fourcc == DdFourCC('Y', 'V', '1', '2')) {
      // The Y plane, then V and U at half the pitch and half the rows.
      const int32_t half = pitch / 2;
      const uint8_t* vPlane = bits + static_cast<intptr_t>(pitch) * height;
      const uint8_t* uPlane = vPlane + static_cast<intptr_t>(half) * (height / 2);
      const intptr_t c = static_cast<intptr_t>(y / 2) * half + x / 2;
      *py = bits[static_cast<intptr_t>(y) * pitch + x];
      *pu = uPlane[c];
      *pv = vPlane[c];
      return;
    }
    const uint8_t* pair = bits + static_cast<intptr_t>(y) * pitch + (x & ~1) * 2;
    const bool yFirst = fourcc == DdFourCC('Y', 'U', 'Y', '2');
    *py = pair[(yFirst ? 0 : 1) + (x & 1) * 2];
    *pu = pair[yFirst ? 1 : 0];
    *pv = pair[yFirst ? 3 : 2];
  }
};

}  // namespace

int32_t DdBltFromYuv(DDSurface* destination, const Rect& d, const Rect& clip, DDSurface* source, const Rect* from) {
  DDPixelFormat to, yuv;
  destination->GetPixelFormat(&to);
  source->GetPixelFormat(&yuv);
  const bool rgb = (to.flags & DDPF_RGB) && !(to.flags & DDPF_PALETTEINDEXED8) &&
                   (to.bitCount == 16 || to.bitCount == 24 || to.bitCount == 32);
  if (!rgb) return DDERR_INVALIDPIXELFORMAT;
  const Rect s = from != nullptr ? *from : Rect{0, 0, source->width(), source->height()};
  if (s.left < 0 || s.top < 0 || s.left >= s.right || s.top >= s.bottom || s.right > source->width() ||
      s.bottom > source->height()) {
    return DDERR_INVALIDRECT;
  }
  const YuvReader reader{yuv.fourCC, source->memory(), source->pitch(), source->height()};
  const int bpp = static_cast<int>(to.bitCount / 8);
  const uint32_t alpha = to.alphaMask;
  const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  uint8_t* memory = destination->deviceMemory();
  for (int y = std::max(d.top, clip.top); y < std::min(d.bottom, clip.bottom); ++y) {
    const int sy = s.top + static_cast<int>(static_cast<int64_t>(y - d.top) * sh / dh);
    uint8_t* row = memory + static_cast<intptr_t>(y) * destination->pitch();
    for (int x = std::max(d.left, clip.left); x < std::min(d.right, clip.right); ++x) {
      const int sx = s.left + static_cast<int>(static_cast<int64_t>(x - d.left) * sw / dw);
      int py = 0, pu = 0, pv = 0;
      reader.Read(sx, sy, &py, &pu, &pv);
      const uint32_t c = HostYuvToXrgb(py, pu, pv);
      const uint32_t v = Narrow(c >> 16 & 0xFF, to.redMask) | Narrow(c >> 8 & 0xFF, to.greenMask) |
                         Narrow(c & 0xFF, to.blueMask) | alpha;
      for (int b = 0; b < bpp; ++b) row[x * bpp + b] = static_cast<uint8_t>(v >> (8 * b));
    }
  }
  return DD_OK;
}

}  // namespace plat
