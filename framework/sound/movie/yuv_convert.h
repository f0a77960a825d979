// YUV to RGB conversion of decoded movie frames, and the copies of a frame
// into memory blocks laid out as the YUV surface formats "YV12", "YUY2" and
// "UYVY". The conversion tables are built once at framework start.
#pragma once

#include <cstdint>

namespace qor {

// Three planes of 8-bit samples as the Theora decoder hands them out.
struct YuvPlanes {
  const uint8_t* y;
  const uint8_t* u;
  const uint8_t* v;
  int32_t yWidth;
  int32_t yHeight;
  int32_t yStride;
  int32_t chromaWidth;
  int32_t chromaHeight;
  int32_t chromaStride;
};

// 14-bit fixed point (1.0 = 16384), BT.601 studio range.
constexpr int kYuvFixedOne = 16384;
constexpr int kYuvClampLow = -512;  // the clamp table covers -512..767

struct YuvTables {
  uint8_t clamp[1280];  // index v + 512: 0 below 0, 255 above 255
  int32_t redFromV[256];
  int32_t greenFromU[256];
  int32_t greenFromV[256];
  int32_t blueFromU[256];
  int32_t luma[256];
  int built;
};

const YuvTables& GetYuvTables();
// Builds the tables (a rebuild writes the same values). 0.
int InitYuvToRgbTables();
// Back to the load state: tables unbuilt. The conversions build them on
// first use, so a test never reads empty tables.
void ResetYuvTables();

// 1 when the chroma planes are half the luma plane in both directions.
int IsYuv420(const YuvPlanes& planes);

// Converts into a 32-bit image (blue, green, red, 255 per pixel) of
// `width` x `height` pixels at `pitch`. 4:2:0 frames take the fixed-point
// road over whole 2 x 2 blocks (odd last rows and columns stay untouched);
// other layouts take the floating-point road, each pixel using the chroma
// sample that covers it. Nothing is written outside either the planes or
// the image. 0, or -1 for missing planes or image.
int ConvertYuvToRgb32(const YuvPlanes& planes, uint8_t* pixels, int32_t pitch, int32_t width, int32_t height);

// The FOURCC codes of the YUV surface formats.
constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}
constexpr uint32_t kFourCCYV12 = MakeFourCC('Y', 'V', '1', '2');
constexpr uint32_t kFourCCYUY2 = MakeFourCC('Y', 'U', 'Y', '2');
constexpr uint32_t kFourCCUYVY = MakeFourCC('U', 'Y', 'V', 'Y');

// A locked YUV surface: `height` rows of the surface's own layout at `pitch`.
struct YuvSurfaceBlock {
  uint8_t* bits;
  int32_t pitch;
  int32_t width;   // pixels
  int32_t height;  // rows of luma
  uint32_t fourcc;
};

// Copies a 4:2:0 frame into the block by its FOURCC, clipped to both the
// frame and the block. Frames of other layouts and unknown FOURCCs copy
// nothing. 1 when something was copied, else 0.
int CopyYuvToSurface(const YuvPlanes& planes, const YuvSurfaceBlock& block);

}  // namespace qor
