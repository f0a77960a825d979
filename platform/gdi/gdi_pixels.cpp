#include "platform/gdi/gdi_pixels.h"

#include "platform/gdi/row_lanes.h"

#include <cstring>
#include <vector>

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

namespace {

// v * 255 / 31 and v * 255 / 63 (the widening Expand does) for every 5- and
// 6-bit v, as a multiply and a shift that vectorise.
template <typename T>
inline T Widen5(T v) {
  return (v * 1053u) >> 7;
}
template <typename T>
inline T Widen6(T v) {
  return (v * 4145u) >> 10;
}

template <bool Green6, typename T>
inline T Rgb16ToRgb(T p) {
  const T r = Widen5<T>(Green6 ? p >> 11 : (p >> 10) & 31u);
  const T g = Green6 ? Widen6<T>((p >> 5) & 63u) : Widen5<T>((p >> 5) & 31u);
  return r << 16 | g << 8 | Widen5<T>(p & 31u);
}

template <bool Green6, typename T>
inline T RgbToRgb16(T c) {
  return Green6 ? ((c >> 8) & 0xF800u) | ((c >> 5) & 0x7E0u) | ((c >> 3) & 0x1Fu)
                : 0x8000u | ((c >> 9) & 0x7C00u) | ((c >> 6) & 0x3E0u) | ((c >> 3) & 0x1Fu);
}

template <bool Green6>
PLAT_ROW_CLONES void Read16Row(const uint8_t* src, int n, uint32_t* out) {
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    const Lanes v = Rgb16ToRgb<Green6>(LoadHalfLanes(src + 2 * i));
    std::memcpy(out + i, &v, sizeof v);
  }
  for (; i < n; ++i) {
    uint16_t p;
    std::memcpy(&p, src + 2 * i, 2);
    out[i] = Rgb16ToRgb<Green6, uint32_t>(p);
  }
}

template <bool Green6>
PLAT_ROW_CLONES void Write16Row(uint8_t* dst, int n, const uint32_t* rgb) {
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    Lanes c;
    std::memcpy(&c, rgb + i, sizeof c);
    const HalfLanes p = __builtin_convertvector(RgbToRgb16<Green6>(c), HalfLanes);
    std::memcpy(dst + 2 * i, &p, sizeof p);
  }
  for (; i < n; ++i) {
    const uint16_t p = static_cast<uint16_t>(RgbToRgb16<Green6, uint32_t>(rgb[i]));
    std::memcpy(dst + 2 * i, &p, 2);
  }
}

// The last pixel is read byte by byte: a 4-byte read of it could pass the
// end of the store.
PLAT_ROW_CLONES void Read24Row(const uint8_t* src, int n, uint32_t* out) {
  for (int i = 0; i + 1 < n; ++i) out[i] = Load24(src + 3 * i);
  const uint8_t* last = src + 3 * (n - 1);
  out[n - 1] = static_cast<uint32_t>(last[0]) | static_cast<uint32_t>(last[1]) << 8 | static_cast<uint32_t>(last[2]) << 16;
}

PLAT_ROW_CLONES void Write24Row(uint8_t* dst, int n, const uint32_t* rgb) {
  int i = 0;
  for (; i + kLanes < n; i += kLanes) {  // keeps a pixel of room for the overlapping stores
    Lanes c;
    std::memcpy(&c, rgb + i, sizeof c);
    Store24Lanes(dst + 3 * i, c);
  }
  for (; i < n; ++i) {
    dst[3 * i] = static_cast<uint8_t>(rgb[i]);
    dst[3 * i + 1] = static_cast<uint8_t>(rgb[i] >> 8);
    dst[3 * i + 2] = static_cast<uint8_t>(rgb[i] >> 16);
  }
}

PLAT_ROW_CLONES void Read32Row(const uint8_t* src, int n, uint32_t* out) {
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    Lanes p;
    std::memcpy(&p, src + 4 * i, sizeof p);
    p &= 0xFFFFFFu;
    std::memcpy(out + i, &p, sizeof p);
  }
  for (; i < n; ++i) {
    uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    out[i] = p & 0xFFFFFFu;
  }
}

// The byte above the three channels belongs to no mask: it is set.
PLAT_ROW_CLONES void Write32Row(uint8_t* dst, int n, const uint32_t* rgb) {
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    Lanes p;
    std::memcpy(&p, rgb + i, sizeof p);
    p |= 0xFF000000u;
    std::memcpy(dst + 4 * i, &p, sizeof p);
  }
  for (; i < n; ++i) {
    const uint32_t p = rgb[i] | 0xFF000000u;
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

void ReadPaletteRow(const GdiPixels& s, const uint8_t* src, int n, uint32_t* out) {
  if (s.palette == nullptr) {
    for (int i = 0; i < n; ++i) out[i] = src[i] * 0x010101u;
    return;
  }
  for (int i = 0; i < n; ++i) out[i] = s.palette[src[i]] & 0xFFFFFF;
}

// The nearest-entry search is the same as WriteRgb's; a run of one colour
// searches once.
void WritePaletteRow(const GdiPixels& s, int x, int y, int n, const uint32_t* rgb) {
  uint8_t* dst = At(s, x, y);
  uint32_t last = 0;
  uint8_t lastIndex = 0;
  for (int i = 0; i < n; ++i) {
    const uint32_t c = rgb[i] & 0xFFFFFF;
    if (i == 0 || c != last) {
      WriteRgb(s, x + i, y, c);
      last = c;
      lastIndex = dst[i];
    } else {
      dst[i] = lastIndex;
    }
  }
}

}  // namespace

RowLayout RowLayoutOf(const GdiPixels& s) {
  const uint32_t r = s.masks[0], g = s.masks[1], b = s.masks[2];
  switch (s.bits) {
    case 8: return RowLayout::Palette8;
    case 24: return RowLayout::Bgr24;
    case 16:
      if (r == 0x7C00 && g == 0x3E0 && b == 0x1F) return RowLayout::Rgb555;
      if (r == 0xF800 && g == 0x7E0 && b == 0x1F) return RowLayout::Rgb565;
      return RowLayout::Generic;
    case 32: return r == 0xFF0000 && g == 0xFF00 && b == 0xFF ? RowLayout::Xrgb8888 : RowLayout::Generic;
    default: return RowLayout::Generic;
  }
}

void ReadRgbRow(const GdiPixels& s, RowLayout layout, int x, int y, int n, uint32_t* out) {
  if (n <= 0) return;
  const uint8_t* src = At(s, x, y);
  switch (layout) {
    case RowLayout::Palette8: ReadPaletteRow(s, src, n, out); return;
    case RowLayout::Rgb555: Read16Row<false>(src, n, out); return;
    case RowLayout::Rgb565: Read16Row<true>(src, n, out); return;
    case RowLayout::Bgr24: Read24Row(src, n, out); return;
    case RowLayout::Xrgb8888: Read32Row(src, n, out); return;
    case RowLayout::Generic: break;
  }
  for (int i = 0; i < n; ++i) out[i] = ReadRgb(s, x + i, y);
}

void WriteRgbRow(const GdiPixels& s, RowLayout layout, int x, int y, int n, const uint32_t* rgb) {
  if (n <= 0) return;
  uint8_t* dst = At(s, x, y);
  switch (layout) {
    case RowLayout::Palette8: WritePaletteRow(s, x, y, n, rgb); return;
    case RowLayout::Rgb555: Write16Row<false>(dst, n, rgb); return;
    case RowLayout::Rgb565: Write16Row<true>(dst, n, rgb); return;
    case RowLayout::Bgr24: Write24Row(dst, n, rgb); return;
    case RowLayout::Xrgb8888: Write32Row(dst, n, rgb); return;
    case RowLayout::Generic: break;
  }
  for (int i = 0; i < n; ++i) WriteRgb(s, x + i, y, rgb[i]);
}

void CopyBlock(const GdiPixels& d, int x, int y, const GdiPixels& s, int sx, int sy, int w, int h) {
  if (w <= 0 || h <= 0) return;
  if (SameLayout(d, s)) {
    for (int row = 0; row < h; ++row) std::memmove(At(d, x, y + row), At(s, sx, sy + row), static_cast<size_t>(w) * (d.bits / 8));
    return;
  }
  const RowLayout from = RowLayoutOf(s), to = RowLayoutOf(d);
  std::vector<uint32_t> row(static_cast<size_t>(w));
  for (int i = 0; i < h; ++i) {
    ReadRgbRow(s, from, sx, sy + i, w, row.data());
    WriteRgbRow(d, to, x, y + i, w, row.data());
  }
}

}  // namespace plat::gdi
