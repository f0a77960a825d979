#include "framework/graphics/images/convert_pixels.h"

#include <algorithm>
#include <cstring>

#include "framework/graphics/images/convert_internal.h"

namespace qor {

namespace {

bool HasAlpha(const PixelFormatInfo* f) { return f->masks[kAlpha] != 0; }

// A block says where it ends only when its rows do not overlap: the pitch
// (either way, rows may run upward) spans at least a whole row.
bool UsableBlock(const PixelBlock* b) {
  if (b == nullptr || b->pixels == nullptr || b->format == nullptr) return false;
  int64_t bytes = b->format->bytesPerPixel;
  if (bytes < 1 || bytes > 4 || b->width < 0 || b->height < 0) return false;
  int64_t pitch = b->pitch;
  return (pitch < 0 ? -pitch : pitch) >= bytes * b->width;
}

// Narrows [*first, *end) to the columns (or rows) c with low <= c + offset < high.
void KeepInside(int64_t* first, int64_t* end, int64_t offset, int64_t low, int64_t high) {
  *first = std::max(*first, low - offset);
  *end = std::min(*end, high - offset);
}

// Plain copy: palette indices byte for byte; the result is the largest index.
int CopyIndices(const ConvertJob& job) {
  uint8_t largest = 0;
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      uint8_t index = *SourcePixelAt(job, row, col);
      *DestPixelAt(job, row, col) = index;
      largest = std::max(largest, index);
    }
  }
  return largest;
}

// Direct colours into a palette: each field scaled to 8 bits, then the
// nearest palette entry.
int PackIntoPalette(const ConvertJob& job) {
  const PixelFormatInfo* sf = job.srcFormat;
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      uint32_t value = LoadPixel(SourcePixelAt(job, row, col), job.srcBytes);
      uint32_t c[4];
      for (int i = 0; i < 4; ++i) {
        c[i] = WidenOrNarrowChannel((value & sf->masks[i]) >> sf->shifts[i], sf->widths[i], 8);
      }
      *DestPixelAt(job, row, col) = static_cast<uint8_t>(PackColorForFormat(job.dstFormat, c[0], c[1], c[2], c[3]));
    }
  }
  return 0;
}

int RemapPalette(const ConvertJob& job) {
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      const PaletteEntry& e = job.srcFormat->palette[*SourcePixelAt(job, row, col)];
      *DestPixelAt(job, row, col) = static_cast<uint8_t>(PackColorForFormat(job.dstFormat, e.red, e.green, e.blue, 0));
    }
  }
  return 0;
}

int CopySameFormat(const ConvertJob& job) {
  const int bytes = job.srcBytes;
  const int32_t count = job.endCol - job.firstCol;
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    if (!job.options.mirror && !job.options.skipKey) {
      std::memmove(DestPixelAt(job, row, job.firstCol), SourcePixelAt(job, row, job.firstCol),
                   static_cast<size_t>(count) * static_cast<size_t>(bytes));
      continue;
    }
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      uint32_t value = LoadPixel(SourcePixelAt(job, row, col), bytes);
      if (job.options.skipKey && value == job.skipValue) continue;
      StorePixel(DestPixelAt(job, row, col), bytes, value);
    }
  }
  return 0;
}

// Same colour layout into a format with alpha: the colour is kept and the
// alpha bits say whether it is the key colour.
int CopyWithKeyAlpha(const ConvertJob& job) {
  const PixelFormatInfo* df = job.dstFormat;
  uint32_t colorMask = df->masks[kRed] | df->masks[kGreen] | df->masks[kBlue];
  uint32_t key = job.options.key;
  uint32_t packedKey = PackColorForFormat(df, (key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF, 0) & colorMask;
  uint32_t alphaMask = df->masks[kAlpha];
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    for (int32_t col = job.firstCol; col < job.endCol; ++col) {
      uint32_t value = LoadPixel(SourcePixelAt(job, row, col), job.srcBytes);
      value &= ~alphaMask;
      if ((value & colorMask) != packedKey) value |= alphaMask;
      StorePixel(DestPixelAt(job, row, col), job.dstBytes, value);
    }
  }
  return 0;
}

}  // namespace

uint32_t WidenOrNarrowChannel(uint32_t value, int fromBits, int toBits) {
  if (fromBits == 0) return 0;
  if (toBits <= fromBits) return ShiftChannelWidth(value, fromBits, toBits);
  int k = toBits - fromBits;
  uint64_t v = value;
  uint64_t widened = (v << k) + v * ((uint64_t{1} << k) - 1) / ((uint64_t{1} << fromBits) - 1);
  return static_cast<uint32_t>(widened);
}

int ConvertPixelsBlt(const PixelBlock* destination, const PixelBlock* source, const PixelBlock* alphaImage,
                     int32_t dstX, int32_t dstY, const Rect* sourceRect, const ConvertOptions* options) {
  if (!UsableBlock(destination) || !UsableBlock(source) || sourceRect == nullptr) return -1;
  int64_t width = static_cast<int64_t>(sourceRect->right) - sourceRect->left;
  int64_t height = static_cast<int64_t>(sourceRect->bottom) - sourceRect->top;
  if (width <= 0 || height <= 0) return -1;

  ConvertJob job = {};
  job.options = options != nullptr ? *options : ConvertOptions{};
  job.dst = destination->pixels;
  job.dstPitch = destination->pitch;
  job.dstFormat = destination->format;
  job.dstBytes = destination->format->bytesPerPixel;
  job.src = source->pixels;
  job.srcPitch = source->pitch;
  job.srcFormat = source->format;
  job.srcBytes = source->format->bytesPerPixel;

  // Where alpha comes from, and which options that leaves on.
  bool dstAlpha = HasAlpha(job.dstFormat);
  bool srcAlpha = HasAlpha(job.srcFormat);
  bool alphaGiven = UsableBlock(alphaImage);
  bool alphaElsewhere = dstAlpha && (alphaGiven || srcAlpha);
  bool alphaInUse = dstAlpha && alphaGiven && !srcAlpha;
  if (alphaElsewhere || !dstAlpha || job.options.alphaFromRed) job.options.colorKeyMode = 0;
  if (alphaElsewhere || job.options.mirror) job.options.skipKey = 0;
  if (alphaInUse) {
    job.alpha = alphaImage->pixels;
    job.alphaPitch = alphaImage->pitch;
    job.alphaFormat = alphaImage->format;
    job.alphaBytes = alphaImage->format->bytesPerPixel;
  }
  job.skipValue = job.options.key;
  if (!job.options.colorKeyMode && job.srcBytes < 4) job.skipValue &= (1u << (8 * job.srcBytes)) - 1;

  // The part of the rectangle that lies inside every block.
  job.width = static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
  job.height = static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX));
  job.srcLeft = sourceRect->left;
  job.srcTop = sourceRect->top;
  job.dstX = dstX;
  job.dstY = dstY;
  int64_t firstCol = 0, endCol = job.width, firstRow = 0, endRow = job.height;
  KeepInside(&firstCol, &endCol, job.srcLeft, 0, source->width);
  KeepInside(&firstRow, &endRow, job.srcTop, 0, source->height);
  if (alphaInUse) {
    KeepInside(&firstCol, &endCol, job.srcLeft, 0, alphaImage->width);
    KeepInside(&firstRow, &endRow, job.srcTop, 0, alphaImage->height);
  }
  if (job.options.mirror) {
    // Column c lands at dstX + width - 1 - c.
    KeepInside(&firstCol, &endCol, -(static_cast<int64_t>(dstX) + job.width - 1), -(destination->width - 1), 1);
  } else {
    KeepInside(&firstCol, &endCol, dstX, 0, destination->width);
  }
  KeepInside(&firstRow, &endRow, dstY, 0, destination->height);
  if (firstCol >= endCol || firstRow >= endRow) return -1;
  job.firstCol = static_cast<int32_t>(firstCol);
  job.endCol = static_cast<int32_t>(endCol);
  job.firstRow = static_cast<int32_t>(firstRow);
  job.endRow = static_cast<int32_t>(endRow);

  const PixelFormatInfo* df = job.dstFormat;
  const PixelFormatInfo* sf = job.srcFormat;
  bool dstPalette = IsPaletteFormat(df) != 0;
  bool srcPalette = IsPaletteFormat(sf) != 0;

  if (dstPalette && srcPalette && job.options.remapPalette &&
      std::memcmp(df->palette, sf->palette, sizeof df->palette) != 0) {
    return RemapPalette(job);
  }
  if (dstPalette) {
    if (job.srcBytes == 1) {
      if (job.options.zeroColor || job.options.skipKey) return 0;
      return CopyIndices(job);
    }
    return PackIntoPalette(job);
  }
  bool sameColors = df->bitDepth == sf->bitDepth && df->masks[kRed] == sf->masks[kRed] &&
                    df->masks[kGreen] == sf->masks[kGreen] && df->masks[kBlue] == sf->masks[kBlue] &&
                    job.dstBytes == job.srcBytes;
  bool sameFormat = sameColors && df->masks[kAlpha] == sf->masks[kAlpha];
  if (sameFormat && !job.options.colorKeyMode && !alphaInUse && !job.options.zeroColor &&
      !job.options.alphaFromRed) {
    return CopySameFormat(job);
  }
  if (sameColors && dstAlpha && job.options.colorKeyMode && !job.options.zeroColor && !job.options.alphaFromRed &&
      !job.options.skipKey) {
    return CopyWithKeyAlpha(job);
  }
  if (!job.options.reduction && !job.options.zeroColor && !job.options.alphaFromRed && !job.options.mirror &&
      !alphaInUse && ConvertFixedPair(job)) {
    return 0;
  }
  return ConvertGeneral(job);
}

}  // namespace qor
