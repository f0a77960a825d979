// Pixel formats: how the bits of one pixel value hold red, green, blue and
// alpha, and the conversions of one colour between r, g, b, a values and
// pixel values.
#pragma once

#include <cstdint>

namespace qor {

enum Channel { kRed = 0, kGreen = 1, kBlue = 2, kAlpha = 3 };

struct PaletteEntry {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t alpha;  // the fourth byte, read back as the entry's alpha
};

struct PixelFormatInfo {
  uint16_t bitDepth;       // 8, 16, 24 or 32; 0 = described by formatCode only
  uint16_t bytesPerPixel;  // bitDepth / 8; 1 = palette indices
  uint8_t widths[4];       // bits of red, green, blue, alpha (0 = absent)
  uint8_t shifts[4];       // lowest bit of each channel
  uint32_t masks[4];
  uint32_t spareMask;      // bits that belong to no channel
  PaletteEntry palette[256];
  uint8_t spareShift;
  uint8_t spareWidth;
  uint32_t formatCode;     // 0 in every format the framework builds
};
// For a palettised format the widths, shifts and masks describe a palette
// entry read as a little-endian 32-bit word (blue in the lowest byte).

// Presets. Fields the preset does not name keep what the record held.
int MakeFormatPal8(PixelFormatInfo* format);
int MakeFormatX8R8G8B8(PixelFormatInfo* format);
int MakeFormatA8R8G8B8(PixelFormatInfo* format);
int MakeFormatRGB24(PixelFormatInfo* format);
int MakeFormatPal8Gray(PixelFormatInfo* format);

// Depth, bytes per pixel, the four masks and everything derived from them
// (widths, shifts, spare bits); the palette is left alone. A channel's width
// counts the set bits upward from its lowest one, up to the first gap. 0.
int MakeFormatFromMasks(PixelFormatInfo* format, int32_t bitDepth, uint32_t red, uint32_t green, uint32_t blue,
                        uint32_t alpha);

// Recomputes the spare-bits mask (shift and width stay).
void ComputeUnusedMask(PixelFormatInfo* format);

// 1 when a and b lay out pixels the same way (depth and the four masks; two
// formats of depth 0 also need equal format codes), else 0.
int IsSamePixelFormat(const PixelFormatInfo* a, const PixelFormatInfo* b);

// 1 for a format of one-byte pixels that are palette indices, 0 for every
// other format (including one-byte formats of a single grey level channel,
// whose red, green and blue masks are one and the same byte).
int IsPaletteFormat(const PixelFormatInfo* format);

// r, g, b, a (0-255) as a pixel of `format`: the nearest palette entry for
// one-byte formats (squared distance, first entry on ties, alpha ignored);
// otherwise each channel keeps its high bits (or is shifted up into a channel
// wider than 8 bits) and the spare bits are set.
uint32_t PackColorForFormat(const PixelFormatInfo* format, uint32_t r, uint32_t g, uint32_t b, uint32_t a);

// Each channel of `pixel` scaled to 0-255 (full scale stays 255, values
// truncate downward); a channel of width 0 reads 0. Null pointers skip their
// channel. Palettes are not looked up. 0.
int UnpackColorFromFormat(const PixelFormatInfo* format, uint32_t pixel, uint32_t* r, uint32_t* g, uint32_t* b,
                          uint32_t* a);

// `pixel` re-expressed in `destination` by shifting each channel to the new
// width (widened channels get zero low bits); a source without alpha gives
// full alpha; the destination's spare bits are set.
uint32_t ConvertColorBetweenFormats(const PixelFormatInfo* destination, const PixelFormatInfo* source,
                                    uint32_t pixel);

// The largest value of a channel (or mask) of `bits` bits: all of them set,
// 0 for none, every bit of the word from 32 up.
inline uint32_t ChannelFullScale(int bits) {
  if (bits <= 0) return 0;
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// `value` of `fromBits` bits as a value of `toBits` bits by dropping or
// appending low bits (both 0..32).
inline uint32_t ShiftChannelWidth(uint32_t value, int fromBits, int toBits) {
  uint64_t v = value;
  if (toBits >= fromBits) return static_cast<uint32_t>(v << (toBits - fromBits));
  return static_cast<uint32_t>(v >> (fromBits - toBits));
}

}  // namespace qor
