// Shared between the parts of the pixel converter: one prepared transfer.
#pragma once

#include <cstdint>

#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/images/pixel_access.h"

namespace qor {

struct ConvertJob {
  uint8_t* dst;
  int32_t dstPitch;
  const PixelFormatInfo* dstFormat;
  int dstBytes;
  const uint8_t* src;
  int32_t srcPitch;
  const PixelFormatInfo* srcFormat;
  int srcBytes;
  const uint8_t* alpha;  // null unless the alpha image is in use
  int32_t alphaPitch;
  const PixelFormatInfo* alphaFormat;
  int alphaBytes;

  // The rectangle is `width` x `height` source pixels at (srcLeft, srcTop)
  // landing at (dstX, dstY); only columns firstCol..endCol-1 and rows
  // firstRow..endRow-1 of it lie inside every block.
  int32_t width;
  int32_t height;
  int32_t srcLeft;
  int32_t srcTop;
  int32_t dstX;
  int32_t dstY;
  int32_t firstCol;
  int32_t endCol;
  int32_t firstRow;
  int32_t endRow;

  ConvertOptions options;  // after the preparation rules
  uint32_t skipValue;      // raw source value that skipKey leaves out
};

// Pixel `col` of row `row` of the rectangle (both relative to it).
inline const uint8_t* SourcePixelAt(const ConvertJob& job, int32_t row, int32_t col) {
  return job.src + static_cast<int64_t>(job.srcTop + row) * job.srcPitch +
         static_cast<int64_t>(job.srcLeft + col) * job.srcBytes;
}
inline const uint8_t* AlphaPixelAt(const ConvertJob& job, int32_t row, int32_t col) {
  return job.alpha + static_cast<int64_t>(job.srcTop + row) * job.alphaPitch +
         static_cast<int64_t>(job.srcLeft + col) * job.alphaBytes;
}
// Where source column `col` lands, mirrored or not.
inline uint8_t* DestPixelAt(const ConvertJob& job, int32_t row, int32_t col) {
  int32_t x = job.options.mirror ? job.dstX + (job.width - 1 - col) : job.dstX + col;
  return job.dst + static_cast<int64_t>(job.dstY + row) * job.dstPitch + static_cast<int64_t>(x) * job.dstBytes;
}

inline uint32_t PaletteWord(const PaletteEntry& e) {
  return static_cast<uint32_t>(e.blue) | (static_cast<uint32_t>(e.green) << 8) |
         (static_cast<uint32_t>(e.red) << 16) | (static_cast<uint32_t>(e.alpha) << 24);
}

// The fixed format pairs; 1 when the job was one of them and is done.
int ConvertFixedPair(const ConvertJob& job);
// The per-pixel rule for every other transfer. 0.
int ConvertGeneral(const ConvertJob& job);

// A channel of `fromBits` as one of `toBits`: widened so that full scale
// stays full scale, narrowed by dropping low bits; a channel of 0 bits
// reads 0.
uint32_t WidenOrNarrowChannel(uint32_t value, int fromBits, int toBits);

}  // namespace qor
