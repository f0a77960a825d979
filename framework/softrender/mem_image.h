// Memory images: the software renderer's images. A MemImage is a small view
// record pointing into a MemImgBuffer, which several views may share; the
// buffer is use-counted and freed with its last view.
#pragma once

#include <cstdint>

#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/graphs/rect.h"

namespace qor {

constexpr uint32_t kMemImgTag = 0x12345678;

// Format kinds.
constexpr int32_t kMemImgKindRgb565 = 0;    // R5G6B5 (4-byte cells with alpha in byte 2 under the alpha flag)
constexpr int32_t kMemImgKindXrgb8888 = 1;  // X8R8G8B8, or A8R8G8B8 under the alpha flag
constexpr int32_t kMemImgKindOne8 = 2;      // one 8-bit channel
constexpr int32_t kMemImgKindOne16 = 3;     // one 16-bit channel (Z buffers)

// Run table bytes: (length - 1) | class, each row ended by kRunRowEnd.
constexpr uint8_t kRunTransparent = 0x00;
constexpr uint8_t kRunOpaque = 0x40;
constexpr uint8_t kRunTranslucent = 0x80;
constexpr uint8_t kRunRowEnd = 0xC0;
constexpr int kRunMaxLength = 64;

struct MemImgBuffer {
  int32_t useCount;           // views pointing here; 1 at creation
  int32_t width;              // size the buffer was made for
  int32_t height;
  int32_t pitch;              // a multiple of 16 when computed
  int32_t pitchShift;         // log2 of the pitch when it is a power of two as described at creation, else -1
  const PixelFormatInfo* format;  // shared descriptor, never freed
  uint32_t keyColor;          // transparent value in the buffer's own format
  int32_t formatKind;         // 0..3
  int32_t paletteFlag;        // 1: pixels are 8-bit indices into `palette`
  int32_t paletteColorCount;  // entries in use after a transfer
  int32_t alphaFlag;          // 1: pixels carry an 8-bit alpha
  int32_t premultipliedValid;
  int32_t runTableValid;
  int32_t callerPixels;       // 1: the pixel block is the caller's
  uint8_t* palette;           // 2048-byte block: first half
  uint8_t* secondPalette;     // palette + 1024
  uint8_t* pixels;            // pitch x height bytes
  uint8_t* premultiplied;     // pitch x height bytes, or null
  uint8_t* runTable;          // (width + 5) x height bytes, or null
};

struct MemImage {
  uint32_t tag;                  // kMemImgTag while initialised, 0 after release
  int32_t width;                 // of this view
  int32_t height;
  uint8_t* pixels;               // first pixel of this view
  uint8_t* premultipliedPixels;  // same place in the premultiplied copy, or null
  MemImgBuffer* buffer;          // null when not initialised
};

// Builds a buffer and initialises `image`, which must not be initialised.
// pitch -1 computes it (bytes per pixel x width up to a multiple of 16);
// kinds 2 and 3 take neither palette nor alpha and a palette excludes alpha;
// `extraBlocks` adds the premultiplied copy (alpha buffers) and the run table
// (every kind but 2); `callerPixels` (or null) is used instead of a new pixel
// block. 0, or -1 with nothing kept allocated and the record left
// uninitialised.
int CreateMemImg(MemImage* image, int32_t width, int32_t height, int32_t pitch, uint32_t keyColor,
                 int32_t formatKind, int32_t paletteFlag, int32_t alphaFlag, int32_t extraBlocks,
                 uint8_t* callerPixels);
// Clears the record and creates a plain image of `kind` (-1: the screen's,
// 0 for a 16-bit screen, else 1).
int CreateScreenMemImg(MemImage* image, int32_t width, int32_t height, int32_t kind);
// Clears the record and creates a plain one-channel 16-bit image.
int CreateMemImgKind3(MemImage* image, int32_t width, int32_t height);

// Makes `view` show the rectangle of `parent`, sharing its buffer. Nothing
// happens unless the parent is initialised and the rectangle lies inside it.
// A view record that was already initialised is released first.
void MakeMemImgView(MemImage* view, const MemImage* parent, int32_t x, int32_t y, int32_t width, int32_t height);

int IsMemImgValid(const MemImage* image);
// Drops the image's use of its buffer, freeing the buffer with its last use.
void ReleaseMemImg(MemImage* image);

// The shared format descriptor of a kind and flags, or null for a kind
// outside 0..3.
const PixelFormatInfo* GetMemImgColorFormat(int32_t formatKind, int32_t alphaFlag, int32_t paletteFlag);

// The image as a block for the pixel converter.
PixelBlock PixelBlockOfMemImg(const MemImage* image);

// Converts a rectangle of a picture (with an optional alpha picture) into
// the image at (dstX, dstY); rebuilds a palette buffer's palette, and the run
// table and premultiplied copy when the whole image was transferred.
void TransferMemImgRect(const GraphImage* source, const GraphImage* alphaImage, MemImage* destination, int32_t x,
                        int32_t y, int32_t width, int32_t height, int32_t dstX, int32_t dstY,
                        int32_t transparent);
// Copies a rectangle of a plain kind 0 or 1 image out into a picture; other
// images are left alone.
void CopyMemImgToGraphImage(GraphImage* destination, const MemImage* source, int32_t x, int32_t y, int32_t width,
                            int32_t height, int32_t dstX, int32_t dstY, uint32_t key, int32_t skipKey);
// Converts a rectangle (null = all) of one image into another; the
// converter's result.
int CopyMemImgRect(MemImage* destination, const MemImage* source, const Rect* sourceRect, int32_t dstX,
                   int32_t dstY);
// Fills the rectangle (null = all), clipped to the image, with the low 8, 16
// or 32 bits of `value`.
void FillMemImgRect(MemImage* image, const Rect* rect, uint32_t value);

// Rebuilds the run table (and, for alpha buffers, the premultiplied copy)
// from the buffer's pixels and marks them valid; does nothing for buffers
// without the blocks.
void RebuildMemImgRunTable(MemImgBuffer* buffer);
void RebuildMemImgPremultiplied(MemImgBuffer* buffer);

struct MemImageFormatsState {
  PixelFormatInfo formats[4][2][2];  // [kind][alpha][palette]
  uint8_t built[4][2][2];
};
void ResetMemImageFormats();

}  // namespace qor
