#include "framework/graphics/screen/dib_section.h"

#include <cstdlib>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

plat::HGdiObj CreateGraphFromDIB(const plat::BitmapInfo* source, const void* bits, int32_t mirror,
                                 PixelFormatInfo* format) {
  if (source == nullptr || bits == nullptr || source->header.height == INT32_MIN) return 0;
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  if (dc == 0) return 0;
  const plat::BitmapInfoHeader& from = source->header;
  const int32_t width = from.width, height = std::abs(from.height);
  plat::BitmapInfo info;
  info.header.width = width;
  info.header.height = -height;
  const bool withMasks =
      format != nullptr && (format->bitDepth == 16 || (format->bitDepth >= 25 && from.bitCount != 24));
  if (withMasks) {
    info.header.compression = plat::BI_BITFIELDS;
    info.header.bitCount = format->bitDepth;
    for (int i = 0; i < 3; ++i) info.colors[i] = format->masks[i];
  } else if (format != nullptr) {
    if (format->bitDepth == 32) {
      MakeFormatRGB24(format);
      info.header.bitCount = 24;
    } else {
      info.header.bitCount = format->bitDepth;
    }
  } else if (from.bitCount == 8) {
    info.header.bitCount = 8;
    info.header.compression = from.compression;
    std::memcpy(info.colors, source->colors, sizeof info.colors);
  } else {
    info.header.bitCount = 24;
  }
  void* sectionBits = nullptr;
  const plat::HGdiObj section = plat::CreateDIBSection(dc, &info, plat::DIB_RGB_COLORS, &sectionBits);
  if (section == 0) {
    LogOutput("ＤＩＢの作成に失敗しました3\n");
    plat::DeleteDC(dc);
    return 0;
  }
  if (sectionBits == nullptr) {
    LogOutput("ＤＩＢの作成に失敗しました2\n");
    plat::DeleteObject(section);
    plat::DeleteDC(dc);
    return 0;
  }
  const plat::HGdiObj previous = plat::SelectObject(dc, section);
  // A mirrored copy reads the source's columns from the right; both heights
  // are whole (a top-down source must not also turn upside down).
  if (mirror != 0) {
    plat::StretchDIBits(dc, 0, 0, width, height, width - 1, 0, -width, height, bits, source, plat::DIB_RGB_COLORS,
                        plat::SRCCOPY);
  } else {
    plat::SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height), 0, 0, 0,
                            static_cast<uint32_t>(height), bits, source, plat::DIB_RGB_COLORS);
  }
  plat::SelectObject(dc, previous);
  plat::DeleteDC(dc);
  return section;
}

int BlitImageThroughGdi(const GraphImage* image, const Rect* source, plat::DDSurface* surface, int32_t x, int32_t y) {
  DibInfo dib;
  uint8_t* bits = nullptr;
  const int converted = ConvertGraphImageToDib(image, &dib, &bits);
  if (converted < 0) {
    LogOutput("GraphImage を BMP に変換する処理が失敗しました");
    return -1;
  }
  plat::BitmapInfo info;
  static_assert(sizeof info.header == sizeof dib.header, "40-byte DIB headers");
  std::memcpy(static_cast<void*>(&info.header), &dib.header, sizeof info.header);
  std::memcpy(info.colors, dib.colors, sizeof info.colors);
  const plat::HGdiObj section = CreateGraphFromDIB(&info, bits, 0, nullptr);
  if (converted == 1) FreeMemory(bits);
  if (section == 0) {
    LogOutput("ＢＭＰデータからＢＭＰハンドルを作成する処理が失敗しました");
    return -1;
  }
  int result = -1;
  const plat::Hdc memory = plat::CreateCompatibleDC(0);
  plat::Hdc target = 0;
  // A surface without a palette of its own maps GDI colours through the
  // screen's, as the display does for every 8-bit surface.
  plat::DDPalette* screenPalette = GetScreenState().palette;
  const bool lend = surface->palette() == nullptr && screenPalette != nullptr;
  if (lend) surface->SetPalette(screenPalette);
  if (memory != 0 && surface->GetDC(&target) == plat::DD_OK) {
    const plat::HGdiObj previous = plat::SelectObject(memory, section);
    result = plat::BitBlt(target, x, y, source->right - source->left, source->bottom - source->top, memory,
                          source->left, source->top, plat::SRCCOPY)
                 ? 0
                 : -1;
    plat::SelectObject(memory, previous);
    surface->ReleaseDC(target);
  }
  if (lend) surface->SetPalette(nullptr);
  if (memory != 0) plat::DeleteDC(memory);
  plat::DeleteObject(section);
  return result;
}

}  // namespace qor
