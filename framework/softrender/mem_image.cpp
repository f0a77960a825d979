#include "framework/softrender/mem_image.h"

#include <cstring>

#include "framework/core/memory.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

MemImageFormatsState g_memImageFormats = {};

void FreeBufferBlocks(MemImgBuffer* buffer) {
  if (buffer->pixels != nullptr && !buffer->callerPixels) FreeMemory(buffer->pixels);
  if (buffer->premultiplied != nullptr) FreeMemory(buffer->premultiplied);
  if (buffer->runTable != nullptr) FreeMemory(buffer->runTable);
  if (buffer->palette != nullptr) FreeMemory(buffer->palette);
  FreeMemory(buffer);
}

void BuildOneChannelFormat(PixelFormatInfo* f, int bits) {
  uint32_t mask = bits == 8 ? 0xFFu : 0xFFFFu;
  f->bitDepth = static_cast<uint16_t>(bits);
  f->bytesPerPixel = static_cast<uint16_t>(bits / 8);
  for (int c = 0; c < 4; ++c) {
    f->widths[c] = static_cast<uint8_t>(bits);
    f->shifts[c] = 0;
    f->masks[c] = mask;
  }
  f->spareMask = 0;
}

int32_t BytesPerPixelOf(int32_t kind, int32_t paletteFlag, int32_t alphaFlag) {
  if (paletteFlag) return 1;
  if (kind == kMemImgKindRgb565 && alphaFlag) return 4;
  static constexpr int32_t kBytes[4] = {2, 4, 1, 2};
  return kBytes[kind];
}

}  // namespace

void ResetMemImageFormats() { std::memset(g_memImageFormats.built, 0, sizeof g_memImageFormats.built); }

const PixelFormatInfo* GetMemImgColorFormat(int32_t formatKind, int32_t alphaFlag, int32_t paletteFlag) {
  if (formatKind < 0 || formatKind > 3) return nullptr;
  int a = alphaFlag ? 1 : 0;
  int p = paletteFlag ? 1 : 0;
  if (formatKind >= 2) a = p = 0;
  PixelFormatInfo* f = &g_memImageFormats.formats[formatKind][a][p];
  if (g_memImageFormats.built[formatKind][a][p]) return f;
  switch (formatKind) {
    case kMemImgKindRgb565:
      MakeFormatFromMasks(f, p ? 8 : (a ? 32 : 16), 0xF800, 0x07E0, 0x001F, a ? 0x00FF0000 : 0);
      break;
    case kMemImgKindXrgb8888:
      MakeFormatFromMasks(f, p ? 8 : 32, 0xFF0000, 0xFF00, 0xFF, a ? 0xFF000000 : 0);
      break;
    case kMemImgKindOne8:
      BuildOneChannelFormat(f, 8);
      break;
    default:
      BuildOneChannelFormat(f, 16);
      break;
  }
  g_memImageFormats.built[formatKind][a][p] = 1;
  return f;
}

int CreateMemImg(MemImage* image, int32_t width, int32_t height, int32_t pitch, uint32_t keyColor,
                 int32_t formatKind, int32_t paletteFlag, int32_t alphaFlag, int32_t extraBlocks,
                 uint8_t* callerPixels) {
  if (image->tag == kMemImgTag) return -1;
  if (formatKind < 0 || formatKind > 3 || width <= 0 || height <= 0) return -1;
  if (formatKind >= 2) paletteFlag = alphaFlag = 0;
  paletteFlag = paletteFlag ? 1 : 0;
  alphaFlag = (alphaFlag && !paletteFlag) ? 1 : 0;

  // Every size in 64 bits, checked before anything is allocated.
  int64_t bytesPerPixel = BytesPerPixelOf(formatKind, paletteFlag, alphaFlag);
  int64_t rowBytes = bytesPerPixel * width;
  int64_t storedPitch = pitch == -1 ? (rowBytes + 15) / 16 * 16 : pitch;
  if (storedPitch < rowBytes || storedPitch > INT32_MAX) return -1;
  int64_t blockBytes = storedPitch * height;
  int64_t runBytes = (static_cast<int64_t>(width) + 5) * height;
  if (blockBytes > kMaxImageBytes || runBytes > kMaxImageBytes) return -1;

  auto* buffer = static_cast<MemImgBuffer*>(AllocMemoryZeroed(sizeof(MemImgBuffer), __FILE__, __LINE__));
  image->buffer = buffer;
  if (buffer == nullptr) return -1;
  buffer->width = width;
  buffer->height = height;
  buffer->keyColor = keyColor;
  buffer->formatKind = formatKind;
  buffer->paletteFlag = paletteFlag;
  buffer->alphaFlag = alphaFlag;
  buffer->useCount = 1;
  buffer->pitch = static_cast<int32_t>(storedPitch);

  int64_t reference = pitch == -1 ? rowBytes : pitch;
  int64_t power = 1;
  int shift = 0;
  while (power < reference) {
    power <<= 1;
    ++shift;
  }
  buffer->pitchShift = storedPitch == power ? shift : -1;
  buffer->format = GetMemImgColorFormat(formatKind, alphaFlag, paletteFlag);

  bool failed = false;
  if (paletteFlag) {
    buffer->palette = static_cast<uint8_t*>(AllocMemoryZeroed(2048, __FILE__, __LINE__));
    failed = buffer->palette == nullptr;
    if (!failed) buffer->secondPalette = buffer->palette + 1024;
  }
  if (!failed && callerPixels != nullptr) {
    buffer->pixels = callerPixels;
    buffer->callerPixels = 1;
  } else if (!failed) {
    buffer->pixels = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(blockBytes), __FILE__, __LINE__));
    failed = buffer->pixels == nullptr;
  }
  if (!failed && extraBlocks) {
    if (alphaFlag) {
      buffer->premultiplied = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(blockBytes), __FILE__, __LINE__));
      failed = buffer->premultiplied == nullptr;
    }
    if (!failed && formatKind != kMemImgKindOne8) {
      buffer->runTable = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(runBytes), __FILE__, __LINE__));
      failed = buffer->runTable == nullptr;
    }
  }
  if (failed) {
    FreeBufferBlocks(buffer);
    image->buffer = nullptr;
    return -1;
  }

  image->tag = kMemImgTag;
  image->width = width;
  image->height = height;
  image->pixels = buffer->pixels;
  image->premultipliedPixels = buffer->premultiplied;
  return 0;
}

int CreateScreenMemImg(MemImage* image, int32_t width, int32_t height, int32_t kind) {
  *image = {};
  if (kind == -1) kind = GetScreenColorBits() == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888;
  return CreateMemImg(image, width, height, -1, 0, kind, 0, 0, 0, nullptr);
}

int CreateMemImgKind3(MemImage* image, int32_t width, int32_t height) {
  *image = {};
  return CreateMemImg(image, width, height, -1, 0, kMemImgKindOne16, 0, 0, 0, nullptr);
}

void MakeMemImgView(MemImage* view, const MemImage* parent, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!IsMemImgValid(parent)) return;
  if (x < 0 || y < 0 || width < 0 || height < 0) return;
  if (static_cast<int64_t>(x) + width > parent->width || static_cast<int64_t>(y) + height > parent->height) return;

  // Take the parent's values before the view is released: the view may be
  // the parent itself or hold the same buffer's last use.
  MemImgBuffer* buffer = parent->buffer;
  int64_t offset = static_cast<int64_t>(y) * buffer->pitch + static_cast<int64_t>(x) * buffer->format->bytesPerPixel;
  uint8_t* pixels = parent->pixels + offset;
  uint8_t* premultiplied = buffer->premultiplied != nullptr ? parent->premultipliedPixels + offset : nullptr;
  ++buffer->useCount;
  ReleaseMemImg(view);

  view->tag = kMemImgTag;
  view->width = width;
  view->height = height;
  view->pixels = pixels;
  view->premultipliedPixels = premultiplied;
  view->buffer = buffer;
}

int IsMemImgValid(const MemImage* image) {
  return (image != nullptr && image->tag == kMemImgTag && image->buffer != nullptr) ? 1 : 0;
}

void ReleaseMemImg(MemImage* image) {
  if (image->tag != kMemImgTag) return;
  MemImgBuffer* buffer = image->buffer;
  if (buffer != nullptr && --buffer->useCount == 0) FreeBufferBlocks(buffer);
  image->buffer = nullptr;
  image->tag = 0;
}

PixelBlock PixelBlockOfMemImg(const MemImage* image) {
  return {image->pixels, image->buffer->pitch, image->width, image->height, image->buffer->format};
}

}  // namespace qor
