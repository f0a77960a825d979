// Image loading: a file or a block of memory handed to each reader of the
// loader table in turn until one accepts it, delivered as a GraphImage; the
// "_a" companion picture; and the small image helpers the graph code needs
// (in-place mirror, one-pixel read, conversion to a 24-bit DIB).
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/files/file_access.h"
#include "framework/graphics/graphs/graph_image.h"

namespace qor {

// A reader takes a stream at offset 0 and a cleared image; 0 when it decoded
// the stream into the image, non-zero when it refuses or fails (after
// freeing everything it allocated).
using ImageReader = int (*)(StreamSource* source, GraphImage* image);

// BMP, JPEG, PNG, BGRA, TGA, DDS, then null.
extern const ImageReader ImageLoaderTable[];

int DecodeBmpImage(StreamSource* source, GraphImage* image);
int LoadJpegImage(StreamSource* source, GraphImage* image);
int LoadPngImage(StreamSource* source, GraphImage* image);
int DecodeBgraImage(StreamSource* source, GraphImage* image);
int DecodeTgaImage(StreamSource* source, GraphImage* image);
int DecodeDdsImage(StreamSource* source, GraphImage* image);

// Each reader in table order from offset 0 with a cleared record; 0 when
// one accepted, -1 when none did.
int DecodeImageStream(StreamSource* source, GraphImage* image);

// Decodes a file (through the file-access table, so loose files and
// archives alike) or `memorySize` bytes at `memoryData` when `fromMemory`
// is 1, mirrored left to right when `mirror` is 1. The caller owns the
// pixels of `out`. 0 or -1; the source is closed on every path.
int LoadImageToGraphImage(const char* fileName, const void* memoryData, size_t memorySize, int fromMemory,
                          int mirror, GraphImage* out);
int LoadImageFileToGraphImage(const char* fileName, GraphImage* out, int mirror);

// The main picture and its alpha companion: with alpha mode 0 the file named
// like the main one with "_a" before the last '.' (appended when there is
// none), with mode 1 the block `alphaData` of `alphaSize` bytes. -1: the
// main picture failed; 0: both loaded; 1: only the main picture (no
// companion, or it did not load).
int LoadImageWithAlphaFile(const char* fileName, const void* memoryData, size_t memorySize, int fromMemory,
                           const void* alphaData, size_t alphaSize, int alphaMode, GraphImage* out,
                           GraphImage* alphaOut, int mirror);

// Mirrors each row in place; -1 when width or height is 0 (nothing is done
// for pixels other than 1 to 4 bytes), else 0.
int MirrorImageHorizontally(GraphImage* image);

// The pixel at (x, y) as 0xAARRGGBB (no alpha channel: top byte 0; a
// palettised pixel gives its palette colour; channels keep their top 8
// bits, narrower ones land in the top bits of their byte). 0 for an image
// without pixels or a position outside it.
uint32_t ReadImagePixel(const GraphImage* image, int32_t x, int32_t y);

// The 40-byte header and 256 palette entries of a device-independent bitmap.
struct DibHeader {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
};
static_assert(sizeof(DibHeader) == 40, "DIB header layout");
struct DibInfo {
  DibHeader header;
  uint8_t colors[256][4];  // blue, green, red, reserved
};

// A top-down 24-bit DIB of the image: 0 when `*pixels` is the image's own
// block, 1 when it is a new block the caller frees with FreeMemory, -1 when
// memory runs out or the image cannot be converted.
int ConvertGraphImageToDib(const GraphImage* image, DibInfo* info, uint8_t** pixels);

}  // namespace qor
