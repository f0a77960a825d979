// The BMP reader: plain 4-, 8- and 24-bit rows and RLE8/RLE4 are decoded
// here; every other layout goes the GDI route into 24 bits.
#include <climits>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"
#include "platform/gdi/dib_bits.h"
#include "platform/gdi/gdi.h"

namespace qor {

namespace {

constexpr uint32_t kBmpRgb = 0;
constexpr uint32_t kBmpRle8 = 1;
constexpr uint32_t kBmpRle4 = 2;
constexpr uint32_t kBmpBitfields = 3;
constexpr int kMaxInfoHeader = 124;

struct BmpHeader {
  uint32_t infoSize;
  int32_t width;
  int32_t storedHeight;  // positive: rows bottom-up; negative: top-down
  int32_t height;        // the absolute value
  uint16_t bits;
  uint32_t compression;
  uint32_t colorsUsed;
  uint32_t masks[3];
  uint8_t palette[256][4];  // blue, green, red, reserved; entries past the file's are 0
  int32_t paletteCount;
};

bool AcceptedInfoSize(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Reads the info header, palette and masks after the 14-byte file header.
bool ReadBmpHeader(StreamSource* source, BmpHeader* h) {
  uint8_t info[kMaxInfoHeader] = {};
  if (!ReadStreamBytes(source, info, 4)) return false;
  h->infoSize = ReadLe32(info);
  // A 12-byte core header (and any size we do not know) is refused.
  if (!AcceptedInfoSize(h->infoSize) || !ReadStreamBytes(source, info + 4, h->infoSize - 4)) return false;
  h->width = static_cast<int32_t>(ReadLe32(info + 4));
  h->storedHeight = static_cast<int32_t>(ReadLe32(info + 8));
  h->bits = ReadLe16(info + 14);
  h->compression = ReadLe32(info + 16);
  h->colorsUsed = ReadLe32(info + 32);

  if (h->width <= 0 || h->storedHeight == 0 || h->storedHeight == INT_MIN) return false;
  h->height = h->storedHeight < 0 ? -h->storedHeight : h->storedHeight;
  const int b = h->bits;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return false;
  if ((h->compression == kBmpRle8 && b != 8) || (h->compression == kBmpRle4 && b != 4)) return false;

  if (b <= 8) {
    // The header's colour count when it gives one; entries past it stay 0.
    const uint32_t full = 1u << b;
    h->paletteCount = static_cast<int32_t>(h->colorsUsed >= 1 && h->colorsUsed < full ? h->colorsUsed : full);
    if (!ReadStreamBytes(source, h->palette, static_cast<size_t>(h->paletteCount) * 4)) return false;
  } else if (h->compression == kBmpBitfields) {
    uint8_t masks[12];
    if (h->infoSize >= 52) {
      std::memcpy(masks, info + 40, 12);
    } else if (!ReadStreamBytes(source, masks, 12)) {
      return false;
    }
    for (int c = 0; c < 3; ++c) h->masks[c] = ReadLe32(masks + 4 * c);
  }
  return true;
}

void SetPaletteFormat(const BmpHeader& h, int entries, GraphImage* image) {
  MakeFormatPal8(&image->format);
  for (int i = 0; i < entries; ++i) {
    image->format.palette[i] = PaletteEntry{h.palette[i][0], h.palette[i][1], h.palette[i][2], 0};
  }
}

// The RLE8 and RLE4 decoder. Writes outside the picture are dropped; data
// that ends before the end-of-picture escape keeps what was decoded.
void DecodeBmpRle(const BmpHeader& h, bool fourBit, const uint8_t* data, size_t size, uint8_t* out,
                  int32_t pitch) {
  const int64_t step = h.storedHeight > 0 ? -1 : 1;
  int64_t x = 0;
  int64_t y = h.storedHeight > 0 ? h.height - 1 : 0;
  auto put = [&](int64_t px, uint8_t value) {
    if (px >= 0 && px < h.width && y >= 0 && y < h.height) out[y * pitch + px] = value;
  };
  size_t pos = 0;
  while (pos + 2 <= size) {
    const uint32_t count = data[pos];
    const uint8_t second = data[pos + 1];
    pos += 2;
    if (count != 0) {
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t v = fourBit ? static_cast<uint8_t>((i & 1) ? (second & 0xF) : (second >> 4)) : second;
        put(x + i, v);
      }
      x += count;
      continue;
    }
    if (second == 0) {  // end of line
      x = 0;
      y += step;
    } else if (second == 1) {  // end of picture
      return;
    } else if (second == 2) {  // delta
      if (pos + 2 > size) return;
      x += data[pos];
      y += step * data[pos + 1];
      pos += 2;
    } else {  // absolute run
      const size_t literalBytes = fourBit ? (second + 1u) / 2 : second;
      for (uint32_t i = 0; i < second; ++i) {
        const size_t at = pos + (fourBit ? i / 2 : i);
        if (at >= size) return;
        const uint8_t v = fourBit ? static_cast<uint8_t>((i & 1) ? (data[at] & 0xF) : (data[at] >> 4)) : data[at];
        put(x + i, v);
      }
      x += second;
      pos += literalBytes;
      pos += pos & 1;
    }
  }
}

bool PlainDataCovers(const BmpHeader& h, size_t size) {
  const int64_t rowBytes = plat::gdi::DibRowBytes(h.width, h.bits);
  const int64_t lastRow = (static_cast<int64_t>(h.width) * h.bits + 7) / 8;
  return static_cast<int64_t>(size) >= rowBytes * (h.height - 1) + lastRow;
}

const uint8_t* StoredRow(const BmpHeader& h, const uint8_t* data, int64_t imageRow) {
  const int64_t rowBytes = plat::gdi::DibRowBytes(h.width, h.bits);
  return data + (h.storedHeight > 0 ? h.height - 1 - imageRow : imageRow) * rowBytes;
}

// The GDI route: the file's rows drawn into a 24-bit top-down DIB section
// and copied out. Null on failure (after its log line where it has one): a
// section that cannot be made or a transfer that fails refuses the file
// rather than handing back a black picture.
uint8_t* DecodeThroughDib(const BmpHeader& h, const uint8_t* data, int32_t pitch) {
  const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(h.height);
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  if (dc == 0) return nullptr;
  plat::BitmapInfo target;
  target.header.width = h.width;
  target.header.height = -h.height;
  target.header.bitCount = 24;
  void* sectionBits = nullptr;
  const plat::HGdiObj section = plat::CreateDIBSection(dc, &target, plat::DIB_RGB_COLORS, &sectionBits);
  if (section == 0) {
    LogOutput("ＤＩＢの作成に失敗しました3\n");
    plat::DeleteDC(dc);
    return nullptr;
  }
  plat::BitmapInfo source;
  source.header.width = h.width;
  source.header.height = h.storedHeight;
  source.header.bitCount = h.bits;
  source.header.compression = h.compression;
  if (h.compression == kBmpBitfields) {
    std::memcpy(source.colors, h.masks, sizeof h.masks);
  } else {
    std::memcpy(source.colors, h.palette, sizeof source.colors);
  }
  const plat::HGdiObj previous = plat::SelectObject(dc, section);
  const uint32_t lines = static_cast<uint32_t>(h.height);
  const bool drawn = plat::SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(h.width), lines, 0, 0, 0, lines, data,
                                             &source, plat::DIB_RGB_COLORS) == static_cast<int>(lines);
  plat::SelectObject(dc, previous);
  plat::BitmapObject object;
  uint8_t* block = nullptr;
  if (drawn && plat::GetObjectA(section, sizeof object, &object) != 0 && object.bits != nullptr &&
      object.widthBytes == pitch) {
    block = static_cast<uint8_t*>(AllocMemory(bytes, nullptr, 0));
    if (block == nullptr) {
      LogOutput("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
    } else {
      std::memcpy(block, object.bits, bytes);
    }
  }
  plat::DeleteObject(section);
  plat::DeleteDC(dc);
  return block;
}

// Decodes the pixel data into a new block and sets the format and pitch;
// null when the data does not hold the picture.
uint8_t* DecodeBmpPixels(const BmpHeader& h, const uint8_t* data, size_t size, GraphImage* image) {
  const bool rle = h.compression == kBmpRle8 || h.compression == kBmpRle4;
  const bool plainIndexedOrRgb = h.compression == kBmpRgb && (h.bits == 4 || h.bits == 8 || h.bits == 24);
  int64_t pitch;
  if (rle || (plainIndexedOrRgb && h.bits == 4)) {
    pitch = h.bits == 8 ? plat::gdi::DibRowBytes(h.width, 8) : (static_cast<int64_t>(h.width) + 3) / 4 * 4;
  } else if (plainIndexedOrRgb) {
    pitch = plat::gdi::DibRowBytes(h.width, h.bits);
  } else {
    pitch = (static_cast<int64_t>(h.width) * 3 + 3) / 4 * 4;
  }
  if (!ImageSizeAcceptable(h.width, h.height, pitch)) return nullptr;
  image->pitch = static_cast<int32_t>(pitch);
  const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(h.height);

  // Plain rows must all be there (only the last row's padding may be
  // missing) before any block is made for them.
  if (!rle && !PlainDataCovers(h, size)) return nullptr;
  if (!rle && !plainIndexedOrRgb) {
    uint8_t* block = DecodeThroughDib(h, data, image->pitch);
    if (block != nullptr) MakeFormatRGB24(&image->format);
    return block;
  }

  auto* out = static_cast<uint8_t*>(AllocMemory(bytes, nullptr, 0));
  if (out == nullptr) return nullptr;
  if (rle) {
    std::memset(out, 0, bytes);
    DecodeBmpRle(h, h.compression == kBmpRle4, data, size, out, image->pitch);
    SetPaletteFormat(h, h.compression == kBmpRle4 ? 16 : 256, image);
  } else if (h.bits == 4) {
    for (int64_t y = 0; y < h.height; ++y) {
      const uint8_t* src = StoredRow(h, data, y);
      uint8_t* dst = out + y * pitch;
      for (int32_t x = 0; x < h.width; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0xF) : (src[x >> 1] >> 4);
    }
    SetPaletteFormat(h, 16, image);
  } else {
    const size_t lastRow = (static_cast<size_t>(h.width) * h.bits + 7) / 8;
    for (int64_t y = 0; y < h.height; ++y) std::memcpy(out + y * pitch, StoredRow(h, data, y), lastRow);
    if (h.bits == 24) {
      MakeFormatRGB24(&image->format);
    } else {
      SetPaletteFormat(h, 256, image);
    }
  }
  return out;
}

}  // namespace

int DecodeBmpImage(StreamSource* source, GraphImage* image) {
  const int64_t streamSize = BytesLeftInStream(source);
  if (streamSize < 0) return -1;
  uint8_t fileHeader[14];
  if (!ReadStreamBytes(source, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M') {
    return -1;
  }
  auto* header = static_cast<BmpHeader*>(AllocMemoryZeroed(sizeof(BmpHeader), nullptr, 0));
  if (header == nullptr) return -1;
  int result = -1;
  const uint32_t pixelOffset = ReadLe32(fileHeader + 10);
  if (ReadBmpHeader(source, header) && pixelOffset < streamSize &&
      source->functions.seek(source->handle, pixelOffset, 0) == 0) {
    const size_t dataSize = static_cast<size_t>(streamSize - pixelOffset);
    uint8_t* data = ReadStreamBlock(source, dataSize);
    if (data != nullptr) {
      uint8_t* pixels = DecodeBmpPixels(*header, data, dataSize, image);
      FreeMemory(data);
      if (pixels != nullptr) {
        image->width = header->width;
        image->height = header->height;
        image->pixels = pixels;
        result = 0;
      }
    }
  }
  FreeMemory(header);
  return result;
}

}  // namespace qor
