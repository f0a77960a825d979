// Moving pixels into, out of and between memory images, and the per-buffer
// tables derived from the pixels (run table, premultiplied copy).
#include <algorithm>
#include <cstring>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/mem_image.h"

namespace qor {

namespace {

Rect RectOfSize(int32_t x, int32_t y, int32_t width, int32_t height) {
  auto clampInt = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {x, y, clampInt(static_cast<int64_t>(x) + width), clampInt(static_cast<int64_t>(y) + height)};
}

// The buffer's key colour as 0xRRGGBB, the form the converter's colour key
// compares against.
uint32_t KeyAsRgb(const MemImgBuffer* buffer) {
  uint32_t r, g, b;
  UnpackColorFromFormat(buffer->format, buffer->keyColor, &r, &g, &b, nullptr);
  return (r << 16) | (g << 8) | b;
}

void RebuildPalette(MemImgBuffer* buffer, const PixelFormatInfo* sourceFormat) {
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = sourceFormat->palette[i];
    if (buffer->formatKind == kMemImgKindRgb565) {
      uint32_t v = ((e.red & 0xF8u) << 8) | ((e.green & 0xFCu) << 3) | (e.blue >> 3);
      StorePixel16(buffer->palette + 2 * i, v);
    } else {
      uint32_t v = (static_cast<uint32_t>(e.red) << 16) | (static_cast<uint32_t>(e.green) << 8) | e.blue;
      StorePixel32(buffer->palette + 4 * i, v);
    }
  }
  std::memcpy(buffer->secondPalette, buffer->palette, 1024);
}

// Class bits of pixel `x` of a row.
uint8_t PixelClass(const MemImgBuffer* buffer, const uint8_t* row, int32_t x) {
  if (buffer->paletteFlag) return row[x] == buffer->keyColor ? kRunTransparent : kRunOpaque;
  if (buffer->alphaFlag) {
    // Alpha is byte 2 of a 16-bit colour's 4-byte cell, byte 3 of a 32-bit pixel.
    uint8_t alpha = buffer->formatKind == kMemImgKindRgb565 ? row[4 * x + 2] : row[4 * x + 3];
    if (alpha == 0) return kRunTransparent;
    return alpha == 255 ? kRunOpaque : kRunTranslucent;
  }
  uint32_t value = buffer->formatKind == kMemImgKindRgb565 ? LoadPixel16(row + 2 * x) : LoadPixel32(row + 4 * x);
  return value == buffer->keyColor ? kRunTransparent : kRunOpaque;
}

}  // namespace

void RebuildMemImgRunTable(MemImgBuffer* buffer) {
  if (buffer->runTable == nullptr) return;
  if (buffer->formatKind != kMemImgKindRgb565 && buffer->formatKind != kMemImgKindXrgb8888) return;
  uint8_t* out = buffer->runTable;
  for (int32_t y = 0; y < buffer->height; ++y) {
    const uint8_t* row = buffer->pixels + static_cast<int64_t>(y) * buffer->pitch;
    int32_t x = 0;
    while (x < buffer->width) {
      uint8_t kind = PixelClass(buffer, row, x);
      int32_t length = 1;
      while (x + length < buffer->width && length < kRunMaxLength && PixelClass(buffer, row, x + length) == kind) {
        ++length;
      }
      *out++ = static_cast<uint8_t>((length - 1) | kind);
      x += length;
    }
    *out++ = kRunRowEnd;
  }
  buffer->runTableValid = 1;
}

void RebuildMemImgPremultiplied(MemImgBuffer* buffer) {
  if (buffer->premultiplied == nullptr || !buffer->alphaFlag) return;
  for (int32_t y = 0; y < buffer->height; ++y) {
    const uint8_t* s = buffer->pixels + static_cast<int64_t>(y) * buffer->pitch;
    uint8_t* d = buffer->premultiplied + static_cast<int64_t>(y) * buffer->pitch;
    for (int32_t x = 0; x < buffer->width; ++x, s += 4, d += 4) {
      if (buffer->formatKind == kMemImgKindRgb565) {
        uint32_t c = LoadPixel16(s);
        uint32_t a = s[2];
        uint32_t v = ((((c & 0x001F) * a) & 0x1F00) | (((c & 0xF800) * a) & 0xF80000) |
                      (((c & 0x07E0) * a) & 0x7E000)) >> 8;
        StorePixel32(d, v);
        d[2] = static_cast<uint8_t>(a);
      } else {
        uint32_t a = s[3];
        d[0] = static_cast<uint8_t>((s[0] * a) >> 8);
        d[1] = static_cast<uint8_t>((s[1] * a) >> 8);
        d[2] = static_cast<uint8_t>((s[2] * a) >> 8);
        d[3] = static_cast<uint8_t>(a);
      }
    }
  }
  buffer->premultipliedValid = 1;
}

void TransferMemImgRect(const GraphImage* source, const GraphImage* alphaImage, MemImage* destination, int32_t x,
                        int32_t y, int32_t width, int32_t height, int32_t dstX, int32_t dstY,
                        int32_t transparent) {
  if (!IsMemImgValid(destination) || source == nullptr) return;
  MemImgBuffer* buffer = destination->buffer;
  // Any transfer may change pixels the tables describe.
  buffer->premultipliedValid = 0;
  buffer->runTableValid = 0;
  PixelBlock dst = PixelBlockOfMemImg(destination);
  PixelBlock src = PixelBlockOfImage(source);
  Rect rect = RectOfSize(x, y, width, height);
  ConvertOptions options = {};
  int result;
  if (buffer->formatKind == kMemImgKindOne8 || buffer->formatKind == kMemImgKindOne16) {
    // The one channel receives the source's red.
    options.zeroColor = 1;
    options.alphaFromRed = 1;
    result = ConvertPixelsBlt(&dst, &src, nullptr, dstX, dstY, &rect, &options);
  } else {
    PixelBlock alpha = {};
    if (alphaImage != nullptr) alpha = PixelBlockOfImage(alphaImage);
    options.colorKeyMode = transparent;
    options.key = KeyAsRgb(buffer);
    result = ConvertPixelsBlt(&dst, &src, alphaImage != nullptr ? &alpha : nullptr, dstX, dstY, &rect, &options);
  }
  if (result < 0) return;
  if (alphaImage == nullptr && buffer->paletteFlag) buffer->paletteColorCount = result + 1;
  if (buffer->paletteFlag) RebuildPalette(buffer, &source->format);

  bool whole = width == destination->width && height == destination->height;
  bool directKind = buffer->formatKind == kMemImgKindRgb565 || buffer->formatKind == kMemImgKindXrgb8888;
  if (whole && directKind && buffer->runTable != nullptr) {
    // Both tables describe the whole buffer, whatever part was written.
    RebuildMemImgPremultiplied(buffer);
    RebuildMemImgRunTable(buffer);
  }
}

void CopyMemImgToGraphImage(GraphImage* destination, const MemImage* source, int32_t x, int32_t y, int32_t width,
                            int32_t height, int32_t dstX, int32_t dstY, uint32_t key, int32_t skipKey) {
  if (!IsMemImgValid(source)) return;
  const MemImgBuffer* buffer = source->buffer;
  if (buffer->formatKind > kMemImgKindXrgb8888 || buffer->paletteFlag || buffer->alphaFlag) return;
  PixelBlock dst = PixelBlockOfImage(destination);
  PixelBlock src = PixelBlockOfMemImg(source);
  Rect rect = RectOfSize(x, y, width, height);
  ConvertOptions options = {};
  options.key = key;
  options.skipKey = skipKey;
  ConvertPixelsBlt(&dst, &src, nullptr, dstX, dstY, &rect, &options);
}

int CopyMemImgRect(MemImage* destination, const MemImage* source, const Rect* sourceRect, int32_t dstX,
                   int32_t dstY) {
  if (!IsMemImgValid(destination) || !IsMemImgValid(source)) return -1;
  PixelBlock dst = PixelBlockOfMemImg(destination);
  PixelBlock src = PixelBlockOfMemImg(source);
  Rect whole = {0, 0, source->width, source->height};
  return ConvertPixelsBlt(&dst, &src, nullptr, dstX, dstY, sourceRect != nullptr ? sourceRect : &whole, nullptr);
}

void FillMemImgRect(MemImage* image, const Rect* rect, uint32_t value) {
  if (!IsMemImgValid(image)) return;
  Rect bounds = {0, 0, image->width, image->height};
  Rect area = rect != nullptr ? *rect : bounds;
  ClipRect(&area, &bounds);
  int bytes = image->buffer->format->bytesPerPixel;
  if (bytes != 1 && bytes != 2 && bytes != 4) return;
  if (area.left >= area.right || area.top >= area.bottom) return;
  // The first row pixel by pixel, every other row a copy of it.
  auto rowAt = [&](int32_t y) {
    return image->pixels + static_cast<int64_t>(y) * image->buffer->pitch + static_cast<int64_t>(area.left) * bytes;
  };
  uint8_t* first = rowAt(area.top);
  const int32_t count = area.right - area.left;
  switch (bytes) {
    case 1: std::memset(first, static_cast<int>(value & 0xFF), static_cast<size_t>(count)); break;
    case 2: for (int32_t x = 0; x < count; ++x) StorePixel16(first + 2 * x, value); break;
    default: for (int32_t x = 0; x < count; ++x) StorePixel32(first + 4 * x, value); break;
  }
  for (int32_t y = area.top + 1; y < area.bottom; ++y) {
    std::memcpy(rowAt(y), first, static_cast<size_t>(count) * static_cast<size_t>(bytes));
  }
}

}  // namespace qor
