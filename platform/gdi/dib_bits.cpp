#include "platform/gdi/dib_bits.h"

#include <cstring>

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

}  // namespace

int64_t DibRowBytes(int32_t width, int bitCount) {
  return (static_cast<int64_t>(width) * bitCount + 31) / 32 * 4;
}

int ConvertDibRowsToRgb24(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                          int32_t outPitch) {
  const int bpp = info.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return -1;
  if (info.compression != kDibRgb && info.compression != kDibBitfields) return -1;
  if (info.compression == kDibBitfields && bpp != 16 && bpp != 32) return -1;
  if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return -1;
  const int64_t height = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
  if (outPitch < static_cast<int64_t>(info.width) * 3) return -1;

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

  for (int64_t y = 0; y < height; ++y) {
    const int64_t stored = info.height > 0 ? height - 1 - y : y;
    const uint8_t* src = bits + stored * rowBytes;
    uint8_t* dst = out + y * outPitch;
    for (int32_t x = 0; x < info.width; ++x, dst += 3) {
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

}  // namespace plat::gdi
