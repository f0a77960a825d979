#include "framework/graphics/images/image_loader.h"

#include <cstring>

#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/core/string_helpers.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/images/pixel_access.h"

namespace qor {

const ImageReader ImageLoaderTable[] = {
    DecodeBmpImage, LoadJpegImage, LoadPngImage, DecodeBgraImage, DecodeTgaImage, DecodeDdsImage, nullptr,
};

int DecodeImageStream(StreamSource* source, GraphImage* image) {
  for (const ImageReader* reader = ImageLoaderTable; *reader != nullptr; ++reader) {
    source->functions.seek(source->handle, 0, 0);
    std::memset(image, 0, sizeof *image);
    if ((*reader)(source, image) == 0) return 0;
  }
  std::memset(image, 0, sizeof *image);
  return -1;
}

namespace {

// A new block holding the picture with each row reversed.
int MirrorIntoNewBlock(GraphImage* image) {
  const int64_t bytes = static_cast<int64_t>(image->pitch) * image->height;
  if (bytes <= 0 || bytes > kMaxImageBytes) return -1;
  auto* mirrored = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(bytes), nullptr, 0));
  if (mirrored == nullptr) return -1;
  const PixelBlock source = PixelBlockOfImage(image);
  const PixelBlock destination{mirrored, image->pitch, image->width, image->height, &image->format};
  const Rect whole{0, 0, image->width, image->height};
  ConvertOptions options{};
  options.mirror = 1;
  if (ConvertPixelsBlt(&destination, &source, nullptr, 0, 0, &whole, &options) < 0) {
    FreeMemory(mirrored);
    return -1;
  }
  FreeMemory(image->pixels);
  image->pixels = mirrored;
  return 0;
}

}  // namespace

int LoadImageToGraphImage(const char* fileName, const void* memoryData, size_t memorySize, int fromMemory,
                          int mirror, GraphImage* out) {
  StreamSource source;
  if (fromMemory) {
    const StreamHandle stream = OpenMemoryStream(memoryData, memorySize);
    if (stream == 0) return -1;
    source = MakeStreamSource(GetMemoryStreamTable(), stream);
  } else {
    if (fileName == nullptr) return -1;
    const FileHandle file = FileOpenDispatch(fileName, 0, 1, 0);
    if (file == 0) return -1;
    source = MakeStreamSource(GetFileStreamTable(), file);
  }

  GraphImage image{};
  const int decoded = DecodeImageStream(&source, &image);
  source.functions.close(source.handle);
  if (decoded != 0) return -1;

  if (mirror == 1 && MirrorIntoNewBlock(&image) != 0) {
    FreeGraphImage(&image);
    return -1;
  }
  *out = image;
  return 0;
}

int LoadImageFileToGraphImage(const char* fileName, GraphImage* out, int mirror) {
  return LoadImageToGraphImage(fileName, nullptr, 0, 0, mirror, out);
}

int LoadImageWithAlphaFile(const char* fileName, const void* memoryData, size_t memorySize, int fromMemory,
                           const void* alphaData, size_t alphaSize, int alphaMode, GraphImage* out,
                           GraphImage* alphaOut, int mirror) {
  if (LoadImageToGraphImage(fileName, memoryData, memorySize, fromMemory, mirror, out) != 0) return -1;

  if (alphaMode == 0) {
    // "_a" goes before the last '.' of the whole name (a '.' is never the
    // second byte of a double-byte character). A name that does not fit
    // the buffer has no companion.
    if (fileName == nullptr) return 1;
    char alphaName[kFileNameCapacity];
    const char* dot = std::strrchr(fileName, '.');
    const size_t stem = dot != nullptr ? static_cast<size_t>(dot - fileName) : std::strlen(fileName);
    const char* rest = fileName + stem;
    if (stem + 2 + std::strlen(rest) + 1 > sizeof alphaName) return 1;
    std::memcpy(alphaName, fileName, stem);
    std::memcpy(alphaName + stem, "_a", 2);
    std::memcpy(alphaName + stem + 2, rest, std::strlen(rest) + 1);
    return LoadImageToGraphImage(alphaName, nullptr, 0, 0, mirror, alphaOut) == 0 ? 0 : 1;
  }
  if (alphaMode == 1) {
    if (alphaData == nullptr) return 1;
    return LoadImageToGraphImage(nullptr, alphaData, alphaSize, 1, mirror, alphaOut) == 0 ? 0 : 1;
  }
  return 1;
}

int MirrorImageHorizontally(GraphImage* image) {
  if (image->width == 0 || image->height == 0) return -1;
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 1 || bytes > 4 || image->pixels == nullptr || image->width < 0 || image->height < 0) return 0;
  for (int32_t y = 0; y < image->height; ++y) {
    uint8_t* row = image->pixels + static_cast<int64_t>(y) * image->pitch;
    for (int32_t i = 0; i < image->width / 2; ++i) {
      uint8_t* left = row + static_cast<int64_t>(i) * bytes;
      uint8_t* right = row + static_cast<int64_t>(image->width - 1 - i) * bytes;
      uint8_t held[4];
      std::memcpy(held, left, bytes);
      std::memcpy(left, right, bytes);
      std::memcpy(right, held, bytes);
    }
  }
  return 0;
}

namespace {

// A channel's field as one byte: narrower fields land in the top bits of
// the byte, wider ones keep their top 8 bits.
uint32_t ChannelByte(uint32_t value, const PixelFormatInfo& f, int channel) {
  const int width = f.widths[channel];
  if (width == 0) return 0;
  const uint32_t field = (value & f.masks[channel]) >> f.shifts[channel];
  return width >= 8 ? (field >> (width - 8)) & 0xFF : (field << (8 - width)) & 0xFF;
}

}  // namespace

uint32_t ReadImagePixel(const GraphImage* image, int32_t x, int32_t y) {
  if (image->pixels == nullptr) return 0;
  if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(image->width) ||
      static_cast<uint32_t>(y) >= static_cast<uint32_t>(image->height)) {
    return 0;
  }
  const PixelFormatInfo& f = image->format;
  const int bytes = f.bytesPerPixel;
  if (bytes < 1 || bytes > 4) return 0;
  const uint8_t* p = image->pixels + static_cast<int64_t>(y) * image->pitch + static_cast<int64_t>(x) * bytes;
  if (IsPaletteFormat(&f)) {
    const PaletteEntry& e = f.palette[p[0]];
    return (static_cast<uint32_t>(e.red) << 16) | (static_cast<uint32_t>(e.green) << 8) | e.blue;
  }
  const uint32_t value = LoadPixel(p, bytes);
  uint32_t color = (ChannelByte(value, f, kRed) << 16) | (ChannelByte(value, f, kGreen) << 8) |
                   ChannelByte(value, f, kBlue);
  if (f.masks[kAlpha] != 0) color |= ChannelByte(value, f, kAlpha) << 24;
  return color;
}

int ConvertGraphImageToDib(const GraphImage* image, DibInfo* info, uint8_t** pixels) {
  std::memset(&info->header, 0, sizeof info->header);
  info->header.size = 40;
  info->header.width = image->width;
  info->header.height = -image->height;
  info->header.planes = 1;
  info->header.bitCount = 24;
  *pixels = nullptr;

  const int32_t rowBytes = PaddedImagePitch(3, image->width);
  const int64_t bytes = static_cast<int64_t>(rowBytes) * image->height;
  if (rowBytes < 0 || image->height < 0 || bytes > kMaxImageBytes || image->pixels == nullptr) return -1;
  const PixelFormatInfo& f = image->format;
  const bool plainRgb24 = f.bitDepth == 24 && f.masks[kRed] == 0xFF0000 && f.masks[kGreen] == 0xFF00 &&
                          f.masks[kBlue] == 0xFF;
  if (plainRgb24 && image->pitch == rowBytes) {
    *pixels = image->pixels;
    return 0;
  }
  auto* block = static_cast<uint8_t*>(AllocMemory(bytes > 0 ? static_cast<size_t>(bytes) : 1, nullptr, 0));
  if (block == nullptr) return -1;
  if (plainRgb24) {
    for (int32_t y = 0; y < image->height; ++y) {
      std::memcpy(block + static_cast<int64_t>(y) * rowBytes, image->pixels + static_cast<int64_t>(y) * image->pitch,
                  static_cast<size_t>(image->width) * 3);
    }
  } else {
    PixelFormatInfo rgb24{};
    MakeFormatRGB24(&rgb24);
    const PixelBlock destination{block, rowBytes, image->width, image->height, &rgb24};
    const PixelBlock source = PixelBlockOfImage(image);
    const Rect whole{0, 0, image->width, image->height};
    if (image->width > 0 && image->height > 0 &&
        ConvertPixelsBlt(&destination, &source, nullptr, 0, 0, &whole, nullptr) < 0) {
      FreeMemory(block);
      return -1;
    }
  }
  *pixels = block;
  return 1;
}

}  // namespace qor
