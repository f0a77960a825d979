#include "framework/graphics/images/pixel_format.h"

#include <cstring>

namespace qor {

namespace {

void SetChannels(PixelFormatInfo* f, uint16_t depth, const uint8_t widths[4], const uint8_t shifts[4],
                 const uint32_t masks[4], uint32_t spareMask) {
  f->bitDepth = depth;
  f->bytesPerPixel = static_cast<uint16_t>(depth / 8);
  std::memcpy(f->widths, widths, 4);
  std::memcpy(f->shifts, shifts, 4);
  std::memcpy(f->masks, masks, sizeof f->masks);
  f->spareMask = spareMask;
  f->formatCode = 0;
}

constexpr uint8_t kWidths888[4] = {8, 8, 8, 0};
constexpr uint8_t kWidths8888[4] = {8, 8, 8, 8};
constexpr uint8_t kShifts888[4] = {16, 8, 0, 0};
constexpr uint8_t kShifts8888[4] = {16, 8, 0, 24};
constexpr uint32_t kMasks888[4] = {0xFF0000, 0xFF00, 0xFF, 0};
constexpr uint32_t kMasks8888[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};

// Lowest set bit and the run of set bits upward from it.
void MeasureMask(uint32_t mask, uint8_t* shift, uint8_t* width) {
  *shift = 0;
  *width = 0;
  if (mask == 0) return;
  int s = 0;
  while (((mask >> s) & 1) == 0) ++s;
  int w = 0;
  while (s + w < 32 && ((mask >> (s + w)) & 1) != 0) ++w;
  *shift = static_cast<uint8_t>(s);
  *width = static_cast<uint8_t>(w);
}

// Channel `c` of `pixel` scaled to 0-255, in 64 bits so that a 32-bit
// channel neither overflows the product nor divides by zero.
uint32_t UnpackChannel(const PixelFormatInfo* f, uint32_t pixel, int c) {
  int width = f->widths[c];
  if (width == 0) return 0;
  uint64_t value = (pixel & f->masks[c]) >> f->shifts[c];
  return static_cast<uint32_t>(value * 255 / ChannelFullScale(width));
}

}  // namespace

int MakeFormatPal8(PixelFormatInfo* format) {
  SetChannels(format, 8, kWidths888, kShifts888, kMasks888, 0xFF000000);
  return 0;
}

int MakeFormatX8R8G8B8(PixelFormatInfo* format) {
  SetChannels(format, 32, kWidths888, kShifts888, kMasks888, 0xFF000000);
  format->spareShift = 24;
  format->spareWidth = 8;
  return 0;
}

int MakeFormatA8R8G8B8(PixelFormatInfo* format) {
  SetChannels(format, 32, kWidths8888, kShifts8888, kMasks8888, 0);
  return 0;
}

int MakeFormatRGB24(PixelFormatInfo* format) {
  SetChannels(format, 24, kWidths888, kShifts888, kMasks888, 0);
  return 0;
}

int MakeFormatPal8Gray(PixelFormatInfo* format) {
  MakeFormatPal8(format);
  for (int i = 0; i < 256; ++i) {
    uint8_t v = static_cast<uint8_t>(i);
    format->palette[i] = {v, v, v, 0};
  }
  return 0;
}

int MakeFormatFromMasks(PixelFormatInfo* format, int32_t bitDepth, uint32_t red, uint32_t green, uint32_t blue,
                        uint32_t alpha) {
  format->bitDepth = static_cast<uint16_t>(bitDepth);
  format->bytesPerPixel = static_cast<uint16_t>(bitDepth / 8);
  format->formatCode = 0;
  const uint32_t masks[4] = {red, green, blue, alpha};
  for (int c = 0; c < 4; ++c) {
    format->masks[c] = masks[c];
    MeasureMask(masks[c], &format->shifts[c], &format->widths[c]);
  }
  format->spareMask = ChannelFullScale(bitDepth) & ~(red | green | blue | alpha);
  MeasureMask(format->spareMask, &format->spareShift, &format->spareWidth);
  return 0;
}

void ComputeUnusedMask(PixelFormatInfo* format) {
  int total = format->widths[0] + format->widths[1] + format->widths[2] + format->widths[3];
  if (total == format->bitDepth) {
    format->spareMask = 0;
    return;
  }
  format->spareMask = ChannelFullScale(format->bitDepth) &
                      ~(format->masks[0] | format->masks[1] | format->masks[2] | format->masks[3]);
}

int IsSamePixelFormat(const PixelFormatInfo* a, const PixelFormatInfo* b) {
  if (a->bitDepth == 0 && b->bitDepth == 0 && a->formatCode != b->formatCode) return 0;
  if (a->bitDepth != b->bitDepth) return 0;
  for (int c = 0; c < 4; ++c) {
    if (a->masks[c] != b->masks[c]) return 0;
  }
  return 1;
}

int IsPaletteFormat(const PixelFormatInfo* format) {
  if (format->bytesPerPixel != 1) return 0;
  uint32_t r = format->masks[kRed];
  bool oneChannel = r != 0 && r <= 0xFF && format->masks[kGreen] == r && format->masks[kBlue] == r;
  return oneChannel ? 0 : 1;
}

uint32_t PackColorForFormat(const PixelFormatInfo* format, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  if (format->bytesPerPixel == 1) {
    uint32_t best = 0xFFFFFF;
    uint32_t bestIndex = 0;
    for (uint32_t i = 0; i < 256; ++i) {
      const PaletteEntry& e = format->palette[i];
      uint32_t dr = r - e.red, dg = g - e.green, db = b - e.blue;
      uint32_t distance = dr * dr + dg * dg + db * db;
      if (distance < best) {
        best = distance;
        bestIndex = i;
      }
    }
    return bestIndex;
  }
  const uint32_t values[4] = {r & 0xFF, g & 0xFF, b & 0xFF, a & 0xFF};
  uint64_t pixel = 0;
  for (int c = 0; c < 4; ++c) {
    if (c == kAlpha && format->widths[kAlpha] == 0) break;
    uint64_t v = ShiftChannelWidth(values[c], 8, format->widths[c]);
    pixel += v << format->shifts[c];
  }
  pixel += format->spareMask;
  return static_cast<uint32_t>(pixel);
}

int UnpackColorFromFormat(const PixelFormatInfo* format, uint32_t pixel, uint32_t* r, uint32_t* g, uint32_t* b,
                          uint32_t* a) {
  if (r != nullptr) *r = UnpackChannel(format, pixel, kRed);
  if (g != nullptr) *g = UnpackChannel(format, pixel, kGreen);
  if (b != nullptr) *b = UnpackChannel(format, pixel, kBlue);
  if (a != nullptr) *a = UnpackChannel(format, pixel, kAlpha);
  return 0;
}

uint32_t ConvertColorBetweenFormats(const PixelFormatInfo* destination, const PixelFormatInfo* source,
                                    uint32_t pixel) {
  uint64_t result = 0;
  for (int c = 0; c < 4; ++c) {
    uint32_t v;
    if (c == kAlpha && source->widths[kAlpha] == 0) {
      v = destination->masks[kAlpha] >> destination->shifts[kAlpha];
    } else {
      v = (pixel & source->masks[c]) >> source->shifts[c];
      v = ShiftChannelWidth(v, source->widths[c], destination->widths[c]);
    }
    result |= static_cast<uint64_t>(v) << destination->shifts[c];
  }
  return static_cast<uint32_t>(result) | destination->spareMask;
}

}  // namespace qor
