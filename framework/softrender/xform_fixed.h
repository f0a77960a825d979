// 14.18 fixed point of the transformed draws (triangle, four-corner and
// rotated): one pixel is 2^18. Positions are held in 64 bits so that the
// differences, gradients and source stepping never wrap; every input is
// first checked against what the format can name, so the values stay well
// inside 64 bits (see the bounds next to each helper).
#pragma once

#include <cmath>
#include <cstdint>

namespace qor {

constexpr int kFixedShift = 18;
constexpr int64_t kFixedOne = int64_t{1} << kFixedShift;
constexpr int64_t kFixedHalf = kFixedOne / 2;

// Whole pixels that 14.18 can name: 14 integer bits with the sign.
constexpr int32_t kFixedPixelMin = -8192;
constexpr int32_t kFixedPixelMax = 8191;

// A source this wide or tall would put its far edge (width x 2^18) past the
// 14.18 range; such sources are not drawn.
constexpr int32_t kXformSourceLimit = 8192;

// Gradients and inverse steps of a mapping whose source edge lies within
// 14.18 never pass 2^47 fixed units per pixel (a source difference of 2^14
// pixels over one destination pixel); anything beyond is saturated there,
// so stepping over the at most 2^15 columns of a span stays below 2^63.
constexpr int64_t kFixedStepLimit = int64_t{1} << 47;

inline bool PixelFitsFixed(int64_t pixels) { return pixels >= kFixedPixelMin && pixels <= kFixedPixelMax; }

// A fixed value that the 32-bit 14.18 format can hold.
inline bool FixedFitsFormat(int64_t fixed) { return fixed >= INT32_MIN && fixed <= INT32_MAX; }

inline int64_t PixelToFixed(int64_t pixels) { return pixels * kFixedOne; }

// Whole pixels of a fixed position, rounded down: negative positions are
// floored, so a shape entering from the top or left keeps its place.
inline int64_t FixedToPixel(int64_t fixed) { return fixed >> kFixedShift; }

// Truncates toward zero and saturates at +-limit; NaN gives 0.
inline int64_t TruncSaturate(double value, int64_t limit) {
  if (std::isnan(value)) return 0;
  double bound = static_cast<double>(limit);
  if (value >= bound) return limit;
  if (value <= -bound) return -limit;
  return static_cast<int64_t>(value);
}

}  // namespace qor
