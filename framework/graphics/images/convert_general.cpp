// The per-pixel conversion rule: any formats, alpha image, colour key,
// dithering, mirroring.
#include <algorithm>

#include "framework/graphics/images/convert_internal.h"

namespace qor {

namespace {

constexpr uint8_t kBayer4x4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

struct ChannelScaler {
  int reduction;
  uint32_t bayer;        // 0..15 at the pixel's place in the rectangle
  uint64_t* remainder;   // running remainder of this channel

  // The channel scaled from `from` to `to` bits, a narrowed one rounded by
  // the reduction mode and limited to the destination's range.
  uint32_t Scale(uint32_t value, int from, int to) const {
    if (from <= to) return WidenOrNarrowChannel(value, from, to);
    int k = from - to;
    const uint64_t discardedRange = ChannelFullScale(k);
    uint64_t discarded = value & discardedRange;
    uint64_t result = static_cast<uint64_t>(value) >> k;
    if (reduction == kReduceOrderedDither) {
      uint64_t threshold = (static_cast<uint64_t>(bayer) << k) / 16;
      if (discarded > threshold) ++result;
    } else if (reduction == kReduceRunningRemainder) {
      *remainder += discarded;
      if (*remainder > discardedRange) {
        ++result;
        *remainder &= discardedRange;
      }
    }
    return static_cast<uint32_t>(std::min(result, uint64_t{ChannelFullScale(to)}));
  }
};

uint32_t ReadColorValue(const uint8_t* p, int bytes, const PixelFormatInfo* format, bool palette) {
  uint32_t raw = LoadPixel(p, bytes);
  return palette ? PaletteWord(format->palette[raw & 0xFF]) : raw;
}

uint32_t Field(uint32_t value, const PixelFormatInfo* f, int c) { return (value & f->masks[c]) >> f->shifts[c]; }

}  // namespace

int ConvertGeneral(const ConvertJob& job) {
  const PixelFormatInfo* sf = job.srcFormat;
  const PixelFormatInfo* df = job.dstFormat;
  const ConvertOptions& o = job.options;
  const bool srcPalette = IsPaletteFormat(sf) != 0;
  const bool alphaPalette = job.alpha != nullptr && IsPaletteFormat(job.alphaFormat) != 0;
  const bool dstAlpha = df->masks[kAlpha] != 0;
  const bool srcAlpha = sf->masks[kAlpha] != 0;
  const uint32_t fullAlpha = df->masks[kAlpha] >> df->shifts[kAlpha];
  const uint32_t spare = (job.dstBytes == 2 || job.dstBytes == 4) ? df->spareMask : 0;

  // The key colour converted to the destination's channel widths by the
  // same rule as the pixels, so that it compares like with like.
  uint32_t keyChannel[3];
  for (int c = 0; c < 3; ++c) keyChannel[c] = WidenOrNarrowChannel((o.key >> (16 - 8 * c)) & 0xFF, 8, df->widths[c]);

  uint64_t remainders[4] = {0, 0, 0, 0};
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      const uint8_t* sp = SourcePixelAt(job, row, col);
      if (o.skipKey && LoadPixel(sp, job.srcBytes) == job.skipValue) continue;
      uint32_t value = ReadColorValue(sp, job.srcBytes, sf, srcPalette);
      uint32_t bayer = kBayer4x4[row & 3][col & 3];

      uint32_t out[4];
      bool isKey = true;
      for (int c = 0; c < 3; ++c) {
        uint32_t v = Field(value, sf, c);
        ChannelScaler scaler = {o.reduction, bayer, &remainders[c]};
        out[c] = scaler.Scale(v, sf->widths[c], df->widths[c]);
        // The key is compared with the plainly truncated colour, so that
        // dithering never turns a key pixel into a visible one.
        if (WidenOrNarrowChannel(v, sf->widths[c], df->widths[c]) != keyChannel[c]) isKey = false;
      }

      ChannelScaler alphaScaler = {o.reduction, bayer, &remainders[kAlpha]};
      if (!dstAlpha) {
        out[kAlpha] = 0;
      } else if (job.alpha != nullptr) {
        uint32_t a = ReadColorValue(AlphaPixelAt(job, row, col), job.alphaBytes, job.alphaFormat, alphaPalette);
        out[kAlpha] = alphaScaler.Scale(Field(a, job.alphaFormat, kRed), job.alphaFormat->widths[kRed],
                                        df->widths[kAlpha]);
      } else if (srcAlpha) {
        out[kAlpha] = alphaScaler.Scale(Field(value, sf, kAlpha), sf->widths[kAlpha], df->widths[kAlpha]);
      } else {
        out[kAlpha] = fullAlpha;
      }
      if (o.alphaFromRed) out[kAlpha] = std::min(out[kRed], fullAlpha);
      if (o.zeroColor) out[kRed] = out[kGreen] = out[kBlue] = 0;
      if (o.colorKeyMode) out[kAlpha] = isKey ? 0 : fullAlpha;

      uint64_t pixel = 0;
      for (int c = 0; c < 4; ++c) pixel |= static_cast<uint64_t>(out[c]) << df->shifts[c];
      StorePixel(DestPixelAt(job, row, col), job.dstBytes, static_cast<uint32_t>(pixel) | spare);
    }
  }
  return 0;
}

}  // namespace qor
