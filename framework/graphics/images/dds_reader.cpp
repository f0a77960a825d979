// The DDS reader: the first surface of an uncompressed (mask or format-code)
// or DXT1-DXT5 block-compressed file.
#include <cstring>

#include "framework/core/memory.h"
#include "framework/graphics/images/dxt_blocks.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"

namespace qor {

namespace {

struct DdsFormatCode {
  uint32_t code;
  int32_t bits;
  uint32_t masks[4];  // red, green, blue, alpha
};

// Numeric Direct3D format codes accepted in the four-character-code field.
const DdsFormatCode DdsFormatCodeTable[] = {
    {20, 24, {0xFF0000, 0xFF00, 0xFF, 0}},
    {21, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
    {22, 32, {0xFF0000, 0xFF00, 0xFF, 0}},
    {23, 16, {0xF800, 0x7E0, 0x1F, 0}},
    {24, 16, {0x7C00, 0x3E0, 0x1F, 0}},
    {25, 16, {0x7C00, 0x3E0, 0x1F, 0x8000}},
    {26, 16, {0xF00, 0xF0, 0xF, 0xF000}},
    {27, 8, {0xE0, 0x1C, 0x3, 0}},
    {29, 16, {0xE0, 0x1C, 0x3, 0xFF00}},
    {30, 16, {0xF00, 0xF0, 0xF, 0}},
    {31, 32, {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}},
    {32, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},
    {33, 32, {0xFF, 0xFF00, 0xFF0000, 0}},
    {35, 32, {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}},
    {0xFFFFFFFFu, 0, {0, 0, 0, 0}},
};

constexpr uint32_t kHeaderPitchGiven = 0x8;
constexpr uint32_t kPixelAlpha = 0x1;
constexpr uint32_t kPixelFourCc = 0x4;
constexpr uint32_t kPixelRgb = 0x40;

// 1..5 for "DXT1".."DXT5", else 0.
int DxtVariant(const uint8_t* fourCc) {
  if (std::memcmp(fourCc, "DXT", 3) != 0 || fourCc[3] < '1' || fourCc[3] > '5') return 0;
  return fourCc[3] - '0';
}

int DecodeDxtSurface(StreamSource* source, int variant, int32_t width, int32_t height, GraphImage* image) {
  if (!ImageSizeAcceptable(width, height, int64_t{4} * width)) return -1;
  // Block rows hold (width + 3) / 4 blocks; edge blocks are clipped.
  const int64_t blocksAcross = (static_cast<int64_t>(width) + 3) / 4;
  const int64_t blocksDown = (static_cast<int64_t>(height) + 3) / 4;
  const int64_t blockBytes = variant == 1 ? 8 : 16;
  const int64_t dataBytes = blocksAcross * blocksDown * blockBytes;
  if (BytesLeftInStream(source) < dataBytes) return -1;
  uint8_t* data = ReadStreamBlock(source, static_cast<size_t>(dataBytes));
  if (data == nullptr) return -1;
  if (CreateArgb8GraphImage(width, height, image) != 0) {
    FreeMemory(data);
    FreeGraphImage(image);
    return -1;
  }
  uint32_t block[16];
  for (int64_t by = 0; by < blocksDown; ++by) {
    for (int64_t bx = 0; bx < blocksAcross; ++bx) {
      DecodeDxtBlock(variant, data + (by * blocksAcross + bx) * blockBytes, block);
      for (int64_t y = 0; y < 4 && by * 4 + y < height; ++y) {
        for (int64_t x = 0; x < 4 && bx * 4 + x < width; ++x) {
          std::memcpy(image->pixels + (by * 4 + y) * image->pitch + (bx * 4 + x) * 4, &block[4 * y + x], 4);
        }
      }
    }
  }
  FreeMemory(data);
  return 0;
}

}  // namespace

int DecodeDdsImage(StreamSource* source, GraphImage* image) {
  uint8_t magic[4];
  uint8_t h[124];
  if (!ReadStreamBytes(source, magic, 4) || std::memcmp(magic, "DDS", 3) != 0 || !ReadStreamBytes(source, h, 124)) {
    return -1;
  }
  const uint32_t flags = ReadLe32(h + 4);
  const int32_t height = static_cast<int32_t>(ReadLe32(h + 8));
  const int32_t width = static_cast<int32_t>(ReadLe32(h + 12));
  const uint32_t headerPitch = ReadLe32(h + 16);
  const uint32_t pixelFlags = ReadLe32(h + 76);
  const uint8_t* fourCc = h + 80;
  int32_t bits = static_cast<int32_t>(ReadLe32(h + 84));
  uint32_t masks[4] = {ReadLe32(h + 88), ReadLe32(h + 92), ReadLe32(h + 96), ReadLe32(h + 100)};

  if (pixelFlags & kPixelFourCc) {
    const int variant = DxtVariant(fourCc);
    if (variant != 0) return DecodeDxtSurface(source, variant, width, height, image);
    const DdsFormatCode* row = DdsFormatCodeTable;
    while (row->code != 0xFFFFFFFFu && row->code != ReadLe32(fourCc)) ++row;
    if (row->code == 0xFFFFFFFFu) return -1;
    bits = row->bits;
    std::memcpy(masks, row->masks, sizeof masks);
  } else if (pixelFlags & kPixelRgb) {
    if ((pixelFlags & kPixelAlpha) == 0) masks[3] = 0;
  } else {
    return -1;
  }
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return -1;
  MakeFormatFromMasks(&image->format, bits, masks[0], masks[1], masks[2], masks[3]);

  const int64_t rowBytes = static_cast<int64_t>(bits / 8) * width;
  const int64_t pitch = (flags & kHeaderPitchGiven) ? static_cast<int64_t>(headerPitch) : rowBytes;
  if (pitch < rowBytes || !ImageSizeAcceptable(width, height, pitch)) return -1;
  if (BytesLeftInStream(source) < pitch * height) return -1;
  image->pixels = ReadStreamBlock(source, static_cast<size_t>(pitch * height));
  if (image->pixels == nullptr) return -1;
  image->width = width;
  image->height = height;
  image->pitch = static_cast<int32_t>(pitch);
  return 0;
}

}  // namespace qor
