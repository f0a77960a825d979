// The overlays shown over presented pictures: the set the display stand-in
// keeps, the YUV-to-RGB rule both hosts share, and software compositing for
// hosts that keep their pictures in memory.
#include <algorithm>
#include <vector>

#include "platform/host/host_backend.h"

namespace plat {

namespace {

std::vector<HostOverlay> g_overlays;

uint8_t Clamp8(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

bool Usable(const HostOverlay& o) {
  const HostRect& s = o.source;
  const HostRect& d = o.destination;
  return o.pixels != nullptr && o.width > 0 && o.height > 0 && o.width % 2 == 0 && o.pitch >= 2 * o.width &&
         s.left >= 0 && s.top >= 0 && s.left < s.right && s.top < s.bottom && s.right <= o.width &&
         s.bottom <= o.height && d.left < d.right && d.top < d.bottom;
}

}  // namespace

uint32_t HostYuvToXrgb(int y, int u, int v) {
  const int c = y - 16, d = u - 128, e = v - 128;
  const uint32_t r = Clamp8((298 * c + 409 * e + 128) >> 8);
  const uint32_t g = Clamp8((298 * c - 100 * d - 208 * e + 128) >> 8);
  const uint32_t b = Clamp8((298 * c + 516 * d + 128) >> 8);
  return r << 16 | g << 8 | b;
}

void HostSetOverlays(const HostOverlay* overlays, int count) {
  g_overlays.clear();
  for (int i = 0; overlays != nullptr && i < count; ++i) {
    if (Usable(overlays[i])) g_overlays.push_back(overlays[i]);
  }
}

int HostOverlayCount() { return static_cast<int>(g_overlays.size()); }

const HostOverlay* HostOverlaysInUse(int* count) {
  *count = static_cast<int>(g_overlays.size());
  return g_overlays.data();
}

void HostCompositeOverlays(uint32_t* xrgb, int pitch, int width, int height) {
  for (const HostOverlay& o : g_overlays) {
    const HostRect& s = o.source;
    const HostRect& d = o.destination;
    const int64_t sw = s.right - s.left, sh = s.bottom - s.top;
    const int64_t dw = static_cast<int64_t>(d.right) - d.left, dh = static_cast<int64_t>(d.bottom) - d.top;
    const int x0 = std::max(d.left, 0), x1 = std::min(d.right, width);
    const int y0 = std::max(d.top, 0), y1 = std::min(d.bottom, height);
    // Within a pixel pair Y comes at bytes 0 and 2 (YUY2) or 1 and 3 (UYVY).
    const int yAt = o.format == HostOverlayFormat::Yuy2 ? 0 : 1;
    const int uAt = o.format == HostOverlayFormat::Yuy2 ? 1 : 0;
    for (int y = y0; y < y1; ++y) {
      const int sy = s.top + static_cast<int>((y - d.top) * sh / dh);
      const uint8_t* row = o.pixels + static_cast<intptr_t>(sy) * o.pitch;
      uint32_t* out = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(xrgb) + static_cast<intptr_t>(y) * pitch);
      for (int x = x0; x < x1; ++x) {
        const int sx = s.left + static_cast<int>((x - d.left) * sw / dw);
        const uint8_t* pair = row + (sx & ~1) * 2;
        out[x] = HostYuvToXrgb(pair[yAt + (sx & 1) * 2], pair[uAt], pair[uAt + 2]);
      }
    }
  }
}

}  // namespace plat
