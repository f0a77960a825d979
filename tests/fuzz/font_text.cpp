// Fonts and text drawing with whatever a caller could pass: any font type,
// size, thickness, edge and slant, and any bytes as CP932 text (lone leads,
// bad trails, every byte value), drawn across or down into a small 16- or
// 32-bit image through any clip rectangle, transparent or opaque. The
// glyph cache is small at large sizes, so long strings also evict.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"

using fuzz::Take;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Fonts need a screen road: software rendering without DirectDraw.
  qor::GetScreenState().directDrawUnusable = 1;
  qor::GetScreenState().softwareRendering = 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qor;
  const int type = Take<uint8_t>(data, size) % 5 - 1;
  // Rasterising is what costs: sizes stay small, and the rare large size
  // draws only a few characters (the unit tests cover the limits).
  const uint16_t sizeBits = Take<uint16_t>(data, size);
  const bool large = (sizeBits & 0x8000) != 0;
  const int fontSize = large ? sizeBits % 200 - 1 : sizeBits % 40 - 1;
  const int thickness = Take<uint8_t>(data, size) % 12 - 1;
  const int edge = Take<uint8_t>(data, size) % 12 - 1;
  const int italic = Take<uint8_t>(data, size) & 1;
  const uint8_t flags = Take<uint8_t>(data, size);
  const int16_t clip[4] = {Take<int16_t>(data, size), Take<int16_t>(data, size), Take<int16_t>(data, size),
                           Take<int16_t>(data, size)};
  const int16_t x = Take<int16_t>(data, size), y = Take<int16_t>(data, size);
  const int charSet = (flags >> 4) % 4 - 1;
  const int32_t h = CreateFontHandle(nullptr, fontSize, thickness, type, charSet, edge, italic, -1, -1);
  if (h == -1) return 0;
  SetFontAdvanceExtra(static_cast<int8_t>(flags), h);
  MemImage image{};
  if (CreateScreenMemImg(&image, 48, 40, flags & 1) == 0) {
    const size_t cap = large ? 6 : 48;
    std::vector<char> text(data, data + (size < cap ? size : cap));
    const int32_t length = (flags & 8) ? -1 : static_cast<int32_t>(text.size());
    text.push_back('\0');
    const Rect r{clip[0] % 80, clip[1] % 80, clip[2] % 80, clip[3] % 80};
    int32_t out[2];
    DrawTextCached(1, x % 100, y % 100, 0, 1, 1, text.data(), 0x12345678, &image, (flags & 2) ? &r : nullptr,
                   (flags >> 2) & 1, h, 0x9ABCDEF0, length, (flags >> 6) & 1, out);
    ReleaseMemImg(&image);
  }
  ReleaseFontHandle(h);
  return 0;
}
