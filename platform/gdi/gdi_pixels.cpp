#include "platform/gdi/gdi_pixels.h"

#include <cstring>

namespace plat::gdi {

namespace {

// Masks are runs of set bits: the run starts at the lowest set bit.
int Shift(uint32_t mask) { return mask == 0 ? 0 : __builtin_ctz(mask); }
int Width(uint32_t mask) { return __builtin_popcount(mask); }

uint32_t Expand(uint32_t pixel, uint32_t mask) {
  const int w = Width(mask);
  if (w == 0) return 0;
  const uint32_t v = (pixel & mask) >> Shift(mask);
  return w >= 8 ? v >> (w - 8) : v * 255u / ((1u << w) - 1u);
}

uint32_t Narrow(uint32_t channel, uint32_t mask) {
  const int w = Width(mask);
  if (w == 0) return 0;
  const uint32_t v = w >= 8 ? channel << (w - 8) : channel >> (8 - w);
  return (v << Shift(mask)) & mask;
}

uint8_t* At(const GdiPixels& s, int x, int y) {
  return s.pixels + static_cast<std::ptrdiff_t>(y) * s.pitch + static_cast<std::ptrdiff_t>(x) * (s.bits / 8);
}

}  // namespace

uint32_t ReadRgb(const GdiPixels& s, int x, int y) {
  const uint8_t* p = At(s, x, y);
  switch (s.bits) {
    case 8: return s.palette != nullptr ? s.palette[*p] & 0xFFFFFF : *p * 0x010101u;
    case 24: return static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16;
    case 16:
    case 32: {
      uint32_t v = 0;
      std::memcpy(&v, p, s.bits / 8);
      return Expand(v, s.masks[0]) << 16 | Expand(v, s.masks[1]) << 8 | Expand(v, s.masks[2]);
    }
    default: return 0;
  }
}

void WriteRgb(const GdiPixels& s, int x, int y, uint32_t rgb) {
  uint8_t* p = At(s, x, y);
  const uint32_t r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
  switch (s.bits) {
    case 8: {
      int best = 0;
      uint32_t bestDistance = 0xFFFFFFFFu;
      for (int i = 0; i < 256 && s.palette != nullptr; ++i) {
        const int dr = static_cast<int>((s.palette[i] >> 16) & 255) - static_cast<int>(r);
        const int dg = static_cast<int>((s.palette[i] >> 8) & 255) - static_cast<int>(g);
        const int db = static_cast<int>(s.palette[i] & 255) - static_cast<int>(b);
        const uint32_t d = static_cast<uint32_t>(dr * dr + dg * dg + db * db);
        if (d < bestDistance) {
          bestDistance = d;
          best = i;
        }
      }
      *p = static_cast<uint8_t>(s.palette != nullptr ? best : (r * 30 + g * 59 + b * 11) / 100);
      return;
    }
    case 24:
      p[0] = static_cast<uint8_t>(b);
      p[1] = static_cast<uint8_t>(g);
      p[2] = static_cast<uint8_t>(r);
      return;
    case 16:
    case 32: {
      // Bits outside the three masks are set, as a screen's spare bits are.
      const uint32_t all = s.bits == 32 ? 0xFFFFFFFFu : 0xFFFFu;
      const uint32_t v = Narrow(r, s.masks[0]) | Narrow(g, s.masks[1]) | Narrow(b, s.masks[2]) |
                         (all & ~(s.masks[0] | s.masks[1] | s.masks[2]));
      std::memcpy(p, &v, s.bits / 8);
      return;
    }
    default: return;
  }
}

bool SameLayout(const GdiPixels& a, const GdiPixels& b) {
  if (a.bits != b.bits) return false;
  if (a.bits == 8) return a.palette == b.palette || (a.palette && b.palette && !std::memcmp(a.palette, b.palette, 1024));
  if (a.bits == 24) return true;
  return a.masks[0] == b.masks[0] && a.masks[1] == b.masks[1] && a.masks[2] == b.masks[2];
}

void CopyBlock(const GdiPixels& d, int x, int y, const GdiPixels& s, int sx, int sy, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (SameLayout(d, s)) {
    for (int row = 0; row < h; ++row) std::memmove(At(d, x, y + row), At(s, sx, sy + row), static_cast<size_t>(w) * (d.bits / 8));
    return;
  }
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) WriteRgb(d, x + col, y + row, ReadRgb(s, sx + col, sy + row));
  }
}

}  // namespace plat::gdi
