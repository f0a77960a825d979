// The TGA reader: colour-mapped and true-colour pictures, plain or
// run-length encoded, of 16, 24 or 32 bits, in any of the four row orders.
#include <cstring>

#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"

namespace qor {

namespace {

constexpr int64_t kTgaFooterSize = 26;
constexpr int32_t kTgaMaxSide = 8192;

struct TgaHeader {
  uint8_t idLength;
  uint8_t colorMapType;
  uint8_t type;
  uint16_t mapFirst;
  uint16_t mapLength;
  uint8_t mapEntryBits;
  uint16_t originX;
  uint16_t originY;
  uint16_t width;
  uint16_t height;
  uint8_t pixelBits;
  uint8_t descriptor;
};

bool ColorMapped(const TgaHeader& h) { return h.type == 1 || h.type == 9; }

// The footer counts when its signature is there and its extension-area
// offset is 0.
bool HasTgaFooter(StreamSource* source, int64_t streamSize) {
  if (streamSize < kTgaFooterSize) return false;
  uint8_t footer[kTgaFooterSize];
  if (source->functions.seek(source->handle, streamSize - kTgaFooterSize, 0) != 0 ||
      !ReadStreamBytes(source, footer, sizeof footer)) {
    return false;
  }
  return std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) == 0 && ReadLe32(footer) == 0;
}

bool CheckTgaHeader(const TgaHeader& h) {
  if ((h.type >= 4 && h.type <= 8) || h.type > 11) return false;
  if (h.originX != 0 || h.originY != 0) return false;
  if (h.width > kTgaMaxSide || h.height > kTgaMaxSide || h.width == 0 || h.height == 0) return false;
  const int depth = ColorMapped(h) ? h.mapEntryBits : h.pixelBits;
  if (depth != 16 && depth != 24 && depth != 32) return false;
  if (h.type == 0 || h.type == 3 || h.type == 11) return false;
  if (ColorMapped(h) && (h.pixelBits != 8 || h.mapFirst + h.mapLength > 256)) return false;
  return true;
}

// Turns `count` stored values (pixels, or indices into `colorMap`) into
// pixels at `out`.
void StoreTgaValues(const uint8_t* values, int64_t count, const uint8_t* colorMap, int bytes, uint8_t* out) {
  if (colorMap == nullptr) {
    std::memcpy(out, values, static_cast<size_t>(count * bytes));
    return;
  }
  for (int64_t i = 0; i < count; ++i) std::memcpy(out + i * bytes, colorMap + values[i] * bytes, bytes);
}

// Run-length packets until `pixels` pixels are written; a last packet
// running past the count is cut. False when the data ends first.
bool DecodeTgaRle(const uint8_t* data, size_t size, int64_t pixels, int valueBytes, const uint8_t* colorMap,
                  int bytes, uint8_t* out) {
  size_t pos = 0;
  int64_t written = 0;
  while (written < pixels) {
    if (pos >= size) return false;
    const uint8_t packet = data[pos++];
    int64_t count = (packet & 0x7F) + 1;
    if (count > pixels - written) count = pixels - written;
    if (packet & 0x80) {
      if (size - pos < static_cast<size_t>(valueBytes)) return false;
      for (int64_t i = 0; i < count; ++i) StoreTgaValues(data + pos, 1, colorMap, bytes, out + (written + i) * bytes);
      pos += valueBytes;
    } else {
      const size_t need = static_cast<size_t>(count) * valueBytes;
      if (size - pos < need) return false;
      StoreTgaValues(data + pos, count, colorMap, bytes, out + written * bytes);
      pos += need;
    }
    written += count;
  }
  return true;
}

// Reads the pixel data in file order into `out`; false on short data.
bool ReadTgaPixels(StreamSource* source, const TgaHeader& h, const uint8_t* colorMap, int bytes, int64_t dataEnd,
                   uint8_t* out) {
  const int64_t pixels = static_cast<int64_t>(h.width) * h.height;
  const int valueBytes = colorMap != nullptr ? 1 : bytes;
  if (h.type == 1 || h.type == 2) {
    uint8_t* values = ReadStreamBlock(source, static_cast<size_t>(pixels * valueBytes));
    if (values == nullptr) return false;
    StoreTgaValues(values, pixels, colorMap, bytes, out);
    FreeMemory(values);
    return true;
  }
  const int64_t here = source->functions.tell(source->handle);
  if (here < 0 || dataEnd <= here) return false;
  const size_t size = static_cast<size_t>(dataEnd - here);
  uint8_t* data = ReadStreamBlock(source, size);
  if (data == nullptr) return false;
  const bool ok = DecodeTgaRle(data, size, pixels, valueBytes, colorMap, bytes, out);
  FreeMemory(data);
  return ok;
}

// Puts the decoded block into image order (top row first, left column
// first); returns the block to keep, or null when memory runs out.
uint8_t* OrientTga(const TgaHeader& h, uint8_t* block, int bytes, int32_t pitch) {
  const bool topDown = (h.descriptor & 0x20) != 0;
  const bool rightToLeft = (h.descriptor & 0x10) != 0;
  if (topDown && !rightToLeft) return block;
  const size_t total = static_cast<size_t>(pitch) * h.height;
  auto* ordered = static_cast<uint8_t*>(AllocMemory(total, nullptr, 0));
  if (ordered == nullptr) {
    FreeMemory(block);
    return nullptr;
  }
  for (int32_t y = 0; y < h.height; ++y) {
    const uint8_t* src = block + static_cast<int64_t>(topDown ? y : h.height - 1 - y) * pitch;
    uint8_t* dst = ordered + static_cast<int64_t>(y) * pitch;
    if (!rightToLeft) {
      std::memcpy(dst, src, static_cast<size_t>(pitch));
      continue;
    }
    for (int32_t x = 0; x < h.width; ++x) {
      std::memcpy(dst + static_cast<int64_t>(x) * bytes, src + static_cast<int64_t>(h.width - 1 - x) * bytes, bytes);
    }
  }
  FreeMemory(block);
  return ordered;
}

}  // namespace

int DecodeTgaImage(StreamSource* source, GraphImage* image) {
  const int64_t streamSize = BytesLeftInStream(source);
  if (streamSize < 18) return -1;
  const bool footer = HasTgaFooter(source, streamSize);
  uint8_t raw[18];
  if (source->functions.seek(source->handle, 0, 0) != 0 || !ReadStreamBytes(source, raw, sizeof raw)) return -1;
  const TgaHeader h{raw[0],          raw[1],          raw[2],  ReadLe16(raw + 3), ReadLe16(raw + 5),
                    raw[7],          ReadLe16(raw + 8), ReadLe16(raw + 10), ReadLe16(raw + 12),
                    ReadLe16(raw + 14), raw[16],      raw[17]};
  if (!CheckTgaHeader(h)) return -1;

  const int depth = ColorMapped(h) ? h.mapEntryBits : h.pixelBits;
  const int bytes = depth / 8;
  if (depth == 16) {
    MakeFormatFromMasks(&image->format, 16, 0x7C00, 0x3E0, 0x1F, 0);
  } else if (depth == 24) {
    MakeFormatRGB24(&image->format);
  } else {
    MakeFormatA8R8G8B8(&image->format);
  }
  const int32_t pitch = h.width * bytes;

  // Skip the ID; read the colour map of a colour-mapped picture, step over
  // one that a true-colour picture carries.
  int64_t position = 18 + h.idLength;
  uint8_t* colorMap = nullptr;
  if (ColorMapped(h)) {
    colorMap = static_cast<uint8_t*>(AllocMemoryZeroed(size_t{256} * bytes, nullptr, 0));
    if (colorMap == nullptr || source->functions.seek(source->handle, position, 0) != 0 ||
        !ReadStreamBytes(source, colorMap + h.mapFirst * bytes, static_cast<size_t>(h.mapLength) * bytes)) {
      if (colorMap != nullptr) FreeMemory(colorMap);
      return -1;
    }
    position += static_cast<int64_t>(h.mapLength) * bytes;
  } else {
    if (h.colorMapType != 0) position += static_cast<int64_t>(h.mapLength) * ((h.mapEntryBits + 7) / 8);
    if (position > streamSize || source->functions.seek(source->handle, position, 0) != 0) return -1;
  }

  // Data too short to hold the picture is refused before the block is made
  // (a run packet covers at most 128 pixels).
  const int64_t dataEnd = streamSize - (footer ? kTgaFooterSize : 0);
  const int64_t pixels = static_cast<int64_t>(h.width) * h.height;
  const int64_t valueBytes = ColorMapped(h) ? 1 : bytes;
  const int64_t leastData = h.type <= 2 ? pixels * valueBytes : (pixels + 127) / 128 * (1 + valueBytes);
  uint8_t* block = nullptr;
  if (dataEnd - position >= leastData) {
    block = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(pitch) * h.height, nullptr, 0));
  }
  if (block != nullptr && !ReadTgaPixels(source, h, colorMap, bytes, dataEnd, block)) {
    FreeMemory(block);
    block = nullptr;
  }
  if (colorMap != nullptr) FreeMemory(colorMap);
  if (block != nullptr) block = OrientTga(h, block, bytes, pitch);
  if (block == nullptr) return -1;
  image->width = h.width;
  image->height = h.height;
  image->pitch = pitch;
  image->pixels = block;
  return 0;
}

}  // namespace qor
