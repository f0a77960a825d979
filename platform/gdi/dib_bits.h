// Device-independent bitmap rows into 24-bit pixels: the pixel work of a
// transfer of DIB bits into a 24-bit device (the DC calls wrap it).
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::gdi {

constexpr uint32_t kDibRgb = 0;        // plain rows
constexpr uint32_t kDibBitfields = 3;  // 16- and 32-bit rows with channel masks

struct DibRowsInfo {
  int32_t width;
  int32_t height;        // positive: rows stored bottom-up; negative: top-down
  uint16_t bitCount;     // 1, 4, 8, 16, 24 or 32
  uint32_t compression;  // kDibRgb or kDibBitfields
  uint32_t masks[3];     // red, green, blue for kDibBitfields
  const uint8_t* palette;  // entries of 4 bytes: blue, green, red, reserved
  int32_t paletteCount;    // entries the palette holds; indices beyond read black
};

// Bytes of one stored row: bits x width rounded up to whole 4-byte words.
int64_t DibRowBytes(int32_t width, int bitCount);

// Writes the picture top row first as blue, green, red bytes into `out`
// (rows `outPitch` bytes apart, |height| rows of 3 x width bytes). Plain
// 16-bit rows are 5:5:5 and plain 32-bit rows 8:8:8; a channel narrower than
// 8 bits is widened by repeating its bits (full scale stays 255), a wider one
// keeps its top 8 bits. Only the last row may lack its padding. Returns 0, or
// -1 for a layout it does not take (depth, compression, masks on other
// depths, empty masks, a zero size) or bits shorter than the rows.
// Palette rows of 8 bits, 5:5:5 and 5:6:5 rows, 24-bit rows and 32-bit
// 8:8:8 rows go through straight loops, every other layout through one
// generic channel reader.
int ConvertDibRowsToRgb24(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                          int32_t outPitch);
// The same colours as little-endian 0x00RRGGBB words (4 bytes a pixel):
// rows that a 32-bit 8:8:8 transfer then moves eight pixels at a time.
int ConvertDibRowsToXrgb(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                         int32_t outPitch);
// ConvertDibRowsToRgb24 with every layout through the generic channel
// reader: the straight loops must agree with it.
int ConvertDibRowsToRgb24Generic(const DibRowsInfo& info, const uint8_t* bits, size_t bitsSize, uint8_t* out,
                                 int32_t outPitch);

}  // namespace plat::gdi
