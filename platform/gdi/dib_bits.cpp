#include "platform/gdi/dib_bits.h"

#include <cstring>

#include "platform/gdi/row_lanes.h"

namespace plat::gdi {

namespace {

struct ChannelField {
  uint32_t mask;
  int shift;
  int width;
};

// Lowest set bit and the run of set bits from there.
ChannelField FieldOfMask(uint32_t mask) {
  ChannelField f{mask, 0, 0};
  if (mask == 0) return f;
  while (((mask >> f.shift) & 1u) == 0) ++f.shift;
  while (f.shift + f.width < 32 && ((mask >> (f.shift + f.width)) & 1u) != 0) ++f.width;
  return f;
}

uint8_t ChannelTo8Bits(uint32_t pixel, const ChannelField& f) {
  if (f.width == 0) return 0;
  uint32_t v = (pixel >> f.shift) & ((f.width >= 32) ? 0xFFFFFFFFu : ((1u << f.width) - 1));
  if (f.width >= 8) return static_cast<uint8_t>(v >> (f.width - 8));
  // Repeat the bits downward until 8 are filled.
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << f.width) | v;
    filled += f.width;
  }
  return static_cast<uint8_t>(out >> (filled - 8));
}

void PutPaletteColor(const DibRowsInfo& info, uint32_t index, uint8_t* dst) {
  if (info.palette == nullptr || index >= static_cast<uint32_t>(info.paletteCount)) {
    dst[0] = dst[1] = dst[2] = 0;
    return;
  }
  std::memcpy(dst, info.palette + 4 * static_cast<size_t>(index), 3);
}

// The layouts with straight loops.
enum class FastRows { None, Palette8, Rgb555, Rgb565, Bgr24, Rgb888x };

// A 5- or 6-bit channel widened by repeating its bits, as ChannelTo8Bits does.
template <typename T>
inline T Repeat5(T v) {
  return (v << 3) | (v >> 2);
}
template <typename T>
inline T Repeat6(T v) {
  return (v << 2) | (v >> 4);
}

// A 16-bit pixel as blue, green and red bytes from the lowest up.
template <bool Green6, typename T>
inline T Bgr16ToBgr24(T p) {
  const T r = Repeat5<T>(Green6 ? p >> 11 : (p >> 10) & 31u);
  const T g = Green6 ? Repeat6<T>((p >> 5) & 63u) : Repeat5<T>((p >> 5) & 31u);
  return r << 16 | g << 8 | Repeat5<T>(p & 31u);
}

template <bool Green6>
PLAT_ROW_CLONES void Rows16To24(const uint8_t* src, int32_t n, uint8_t* dst) {
  int32_t x = 0;
  for (; x + kLanes < n; x += kLanes) {  // keeps a pixel of room for the overlapping stores
    Store24Lanes(dst + 3 * x, Bgr16ToBgr24<Green6>(LoadHalfLanes(src + 2 * x)));
  }
  for (; x < n; ++x) {
    const uint32_t c = Bgr16ToBgr24<Green6, uint32_t>(static_cast<uint32_t>(src[2 * x]) | static_cast<uint32_t>(src[2 * x + 1]) << 8);
    dst[3 * x] = static_cast<uint8_t>(c);
    dst[3 * x + 1] = static_cast<uint8_t>(c >> 8);
    dst[3 * x + 2] = static_cast<uint8_t>(c >> 16);
  }
}

PLAT_ROW_CLONES void Rows32To24(const uint8_t* src, int32_t n, uint8_t* dst) {
  int32_t x = 0;
  for (; x + kLanes < n; x += kLanes) {
    Lanes p;
    std::memcpy(&p, src + 4 * x, sizeof p);
    Store24Lanes(dst + 3 * x, p);
  }
  for (; x < n; ++x) {
    dst[3 * x] = src[4 * x];
    dst[3 * x + 1] = src[4 * x + 1];
    dst[3 * x + 2] = src[4 * x + 2];
  }
}

// The same rows as 0x00RRGGBB words.
template <bool Green6>
PLAT_ROW_CLONES void Rows16To32(const uint8_t* src, int32_t n, uint8_t* dst) {
  int32_t x = 0;
  for (; x + kLanes <= n; x += kLanes) {
    const Lanes c = Bgr16ToBgr24<Green6>(LoadHalfLanes(src + 2 * x));
    std::memcpy(dst + 4 * x, &c, sizeof c);
  }
  for (; x < n; ++x) {
    const uint32_t c = Bgr16ToBgr24<Green6, uint32_t>(static_cast<uint32_t>(src[2 * x]) | static_cast<uint32_t>(src[2 * x + 1]) << 8);
    std::memcpy(dst + 4 * x, &c, 4);
  }
}

PLAT_ROW_CLONES void Rows24To32(const uint8_t* src, int32_t n, uint8_t* dst) {
  for (int32_t x = 0; x + 1 < n; ++x) {  // the last pixel byte by byte: a 4-byte read could pass the row
    const uint32_t c = Load24(src + 3 * x);
    std::memcpy(dst + 4 * x, &c, 4);
  }
  const uint8_t* last = src + 3 * (n - 1);
  const uint32_t c = static_cast<uint32_t>(last[0]) | static_cast<uint32_t>(last[1]) << 8 | static_cast<uint32_t>(last[2]) << 16;
  std::memcpy(dst + 4 * (n - 1), &c, 4);
}

PLAT_ROW_CLONES void Rows32To32(const uint8_t* src, int32_t n, uint8_t* dst) {
  int32_t x = 0;
  for (; x + kLanes <= n; x += kLanes) {
    Lanes p;
    std::memcpy(&p, src + 4 * x, sizeof p);
    p &= 0xFFFFFFu;
    std::memcpy(dst + 4 * x, &p, sizeof p);
  }
  for (; x < n; ++x) {
    uint32_t p;
    std::memcpy(&p, src + 4 * x, 4);
    p &= 0xFFFFFFu;
    std::memcpy(dst + 4 * x, &p, 4);
  }
}

FastRows FastRowsOf(int bpp, const ChannelField fields[3]) {
  const uint32_t r = fields[0].mask, g = fields[1].mask, b = fields[2].mask;
  switch (bpp) {
    case 8: return FastRows::Palette8;
    case 24: return FastRows::Bgr24;
    case 16:
      if (r == 0x7C00 && g == 0x3E0 && b == 0x1F) return FastRows::Rgb555;
      if (r == 0xF800 && g == 0x7E0 && b == 0x1F) return FastRows::Rgb565;
      return FastRows::None;
    case 32: return r == 0xFF0000 && g == 0xFF00 && b == 0xFF ? FastRows::Rgb888x : FastRows::None;
    default: return FastRows::None;
  }
}

// `outBytes` 3: blue, green, red bytes; 4: the same and a zero byte (a
// little-endian 0x00RRGGBB word).
int Convert(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out, int32_t outPitch,
            bool straightLoops, int outBytes) {
  const int bpp = info.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return -1;
  if (info.compression != kDibRgb && info.compression != kDibBitfields) return -1;
  if (info.compression == kDibBitfields && bpp != 16 && bpp != 32) return -1;
  if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return -1;
  const int64_t height = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
  if (outPitch < static_cast<int64_t>(info.width) * outBytes) return -1;

  const int64_t rowBytes = DibRowBytes(info.width, bpp);
  const int64_t lastRowBytes = (static_cast<int64_t>(info.width) * bpp + 7) / 8;
  if (bits == nullptr || static_cast<int64_t>(bitsSize) < rowBytes * (height - 1) + lastRowBytes) return -1;

  ChannelField fields[3];
  if (info.compression == kDibBitfields) {
    for (int c = 0; c < 3; ++c) fields[c] = FieldOfMask(info.masks[c]);
    if (fields[0].width == 0 && fields[1].width == 0 && fields[2].width == 0) return -1;
  } else if (bpp == 16) {
    fields[0] = FieldOfMask(0x7C00);
    fields[1] = FieldOfMask(0x3E0);
    fields[2] = FieldOfMask(0x1F);
  } else {
    fields[0] = FieldOfMask(0xFF0000);
    fields[1] = FieldOfMask(0xFF00);
    fields[2] = FieldOfMask(0xFF);
  }

  const FastRows fast = straightLoops ? FastRowsOf(bpp, fields) : FastRows::None;
  uint8_t palette[256][4] = {};  // the 8-bit rows' colours, looked up once
  if (fast == FastRows::Palette8) {
    for (uint32_t i = 0; i < 256; ++i) PutPaletteColor(info, i, palette[i]);
  }
  const bool words = outBytes == 4;
  for (int64_t y = 0; y < height; ++y) {
    const int64_t stored = info.height > 0 ? height - 1 - y : y;
    const uint8_t* src = bits + stored * rowBytes;
    uint8_t* dst = out + y * outPitch;
    switch (fast) {
      case FastRows::Palette8:
        for (int32_t x = 0; x < info.width; ++x) {
          std::memcpy(dst + static_cast<size_t>(outBytes) * x, palette[src[x]], static_cast<size_t>(outBytes));
        }
        continue;
      case FastRows::Rgb555: words ? Rows16To32<false>(src, info.width, dst) : Rows16To24<false>(src, info.width, dst); continue;
      case FastRows::Rgb565: words ? Rows16To32<true>(src, info.width, dst) : Rows16To24<true>(src, info.width, dst); continue;
      case FastRows::Bgr24:
        if (words) Rows24To32(src, info.width, dst);
        else std::memcpy(dst, src, 3 * static_cast<size_t>(info.width));
        continue;
      case FastRows::Rgb888x: words ? Rows32To32(src, info.width, dst) : Rows32To24(src, info.width, dst); continue;
      case FastRows::None: break;
    }
    for (int32_t x = 0; x < info.width; ++x, dst += outBytes) {
      if (words) dst[3] = 0;
      switch (bpp) {
        case 1: PutPaletteColor(info, (src[x >> 3] >> (7 - (x & 7))) & 1u, dst); break;
        case 4: PutPaletteColor(info, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu, dst); break;
        case 8: PutPaletteColor(info, src[x], dst); break;
        case 24: std::memcpy(dst, src + 3 * static_cast<size_t>(x), 3); break;
        default: {
          uint32_t pixel;
          if (bpp == 16) {
            pixel = static_cast<uint32_t>(src[2 * x]) | (static_cast<uint32_t>(src[2 * x + 1]) << 8);
          } else {
            std::memcpy(&pixel, src + 4 * static_cast<size_t>(x), 4);
          }
          dst[2] = ChannelTo8Bits(pixel, fields[0]);
          dst[1] = ChannelTo8Bits(pixel, fields[1]);
          dst[0] = ChannelTo8Bits(pixel, fields[2]);
          break;
        }
      }
    }
  }
  return 0;
}

}  // namespace

int64_t DibRowBytes(int32_t width, int bitCount) {
  return (static_cast<int64_t>(width) * bitCount + 31) / 32 * 4;
}

int ConvertDibRowsToRgb24(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                          int32_t outPitch) {
  return Convert(info, bits, bitsSize, out, outPitch, true, 3);
}

int ConvertDibRowsToRgb24Generic(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                                 int32_t outPitch) {
  return Convert(info, bits, bitsSize, out, outPitch, false, 3);
}

int ConvertDibRowsToXrgb(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                         int32_t outPitch) {
  return Convert(info, bits, bitsSize, out, outPitch, true, 4);
}

}  // namespace plat::gdi
