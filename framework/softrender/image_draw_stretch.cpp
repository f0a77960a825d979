// The stretched and mirrored image draw: nearest-pixel sampling by 16.16
// steps. Destination pixel k of the unclipped rectangle shows source column
// floor(k x 65536 / scale), scale = floor(W x 65536 / source width), counted
// from the right when mirrored; rows likewise. All of it in 64 bits, and a
// sampled column or row never leaves the source.
#include <algorithm>
#include <cstring>
#include <utility>

#include "framework/softrender/image_draw.h"
#include "framework/softrender/image_draw_frame.h"
#include "framework/softrender/pixel_kernel.h"

namespace qor {

namespace {

// One axis of the sampling: the source index of the first visible
// destination pixel and the step to the next, as an exact division of the
// 16.16 position by the scale (quotient and remainder kept apart).
struct AxisStep {
  int64_t first;    // source index of the first visible pixel
  int64_t counter;  // (index + 1) x scale - position: in 1..scale
  int64_t scale;
  int64_t whole;    // 65536 / scale
  int64_t rest;     // 65536 % scale
  int64_t last;     // source size - 1
  bool mirrored;
};

AxisStep MakeAxis(int64_t skipped, int64_t scale, int32_t sourceSize, bool mirrored) {
  AxisStep a;
  int64_t position = skipped * 65536;
  a.first = position / scale;
  a.counter = scale - position % scale;
  a.scale = scale;
  a.whole = 65536 / scale;
  a.rest = 65536 % scale;
  a.last = sourceSize - 1;
  a.mirrored = mirrored;
  return a;
}

// Moves one destination pixel on.
inline void Advance(const AxisStep& a, int64_t* index, int64_t* counter) {
  *index += a.whole;
  *counter -= a.rest;
  if (*counter <= 0) {
    ++*index;
    *counter += a.scale;
  }
}

inline int64_t SourceIndex(const AxisStep& a, int64_t index) {
  int64_t i = std::min(index, a.last);
  return a.mirrored ? a.last - i : i;
}

struct StretchWalk {
  uint8_t* dst;
  int64_t dstPitch;
  const uint8_t* src;
  int64_t srcPitch;
  const uint8_t* graph;  // null without a blend graph
  int64_t graphPitch;
  int32_t width;   // clipped destination size
  int32_t height;
  AxisStep across;
  AxisStep down;
};

template <int Kind, int Source, int Mode>
void DrawStretchedRows(const PixelKernel& kernel, const StretchWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int sb = SourceCellBytes<Kind, Source>();
  constexpr int db = PixelLayout<Kind>::kBytes;
  uint8_t* dst = w.dst;
  int64_t row = w.down.first;
  int64_t rowCounter = w.down.counter;
  for (int32_t y = 0; y < w.height; ++y, dst += w.dstPitch) {
    int64_t sy = SourceIndex(w.down, row);
    const uint8_t* srcRow = w.src + sy * w.srcPitch;
    const uint8_t* graphRow = w.graph != nullptr ? w.graph + sy * w.graphPitch : nullptr;
    int64_t column = w.across.first;
    int64_t counter = w.across.counter;
    for (int32_t x = 0; x < w.width; ++x) {
      int64_t sx = SourceIndex(w.across, column);
      DrawKernelPixel<Kind, Source, Mode>(k, dst + x * db, srcRow + sx * sb, graphRow != nullptr ? graphRow[sx] : 0);
      Advance(w.across, &column, &counter);
    }
    Advance(w.down, &row, &rowCounter);
  }
}

// An untinted draw of a direct source without blend graph, in strips of
// columns: the strip's source columns are found once, each row's sampled
// pixels gathered through them, and the gathered strip drawn as a 1:1 strip
// on the wide road (the copy: copied whole, or pixel by pixel when keyed).
template <int Kind, int Mode>
inline __attribute__((always_inline)) void DrawStretchedWideRows(const PixelKernel& kernel, const StretchWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int db = PixelLayout<Kind>::kBytes;
  constexpr int32_t kStrip = 256;
  int64_t offsets[kStrip];
  alignas(32) uint8_t strip[kStrip * db];
  int64_t column = w.across.first;
  int64_t counter = w.across.counter;
  for (int32_t x0 = 0; x0 < w.width; x0 += kStrip) {
    const int32_t n = std::min(kStrip, w.width - x0);
    for (int32_t i = 0; i < n; ++i) {
      offsets[i] = SourceIndex(w.across, column) * db;
      Advance(w.across, &column, &counter);
    }
    const int32_t wide = n - n % kWideLanes;
    uint8_t* dst = w.dst + x0 * db;
    int64_t row = w.down.first;
    int64_t rowCounter = w.down.counter;
    for (int32_t y = 0; y < w.height; ++y, dst += w.dstPitch) {
      const uint8_t* srcRow = w.src + SourceIndex(w.down, row) * w.srcPitch;
      for (int32_t i = 0; i < n; ++i) std::memcpy(strip + i * db, srcRow + offsets[i], db);
      int32_t first = 0;  // the first pixel left to draw one by one
      if constexpr (Mode == kBlendNone) {
        if (!k.keyed) {
          std::memcpy(dst, strip, static_cast<size_t>(n) * db);
          first = n;
        }
      } else {
        DrawWideSpan<Kind, Mode>(k, dst, strip, wide);
        first = wide;
      }
      for (int32_t i = first; i < n; ++i) DrawKernelPixel<Kind, kSourceDirect, Mode>(k, dst + i * db, strip + i * db, 0);
      Advance(w.down, &row, &rowCounter);
    }
  }
}

// Built twice, for machines with AVX2 and without; the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void DrawStretchedWideOfKernel(const PixelKernel& k, const StretchWalk& w) {
  if (k.mode == kBlendNone) {
    k.kind == 0 ? DrawStretchedWideRows<0, kBlendNone>(k, w) : DrawStretchedWideRows<1, kBlendNone>(k, w);
    return;
  }
  DispatchWideKernel(k, [&]<int Kind, int Mode>() __attribute__((always_inline)) {
    DrawStretchedWideRows<Kind, Mode>(k, w);
  });
}

}  // namespace

void DrawMemImgStretched(MemImage* destination, const MemImage* source, const Rect* rect, int32_t transparent,
                         const MemImage* blendGraph, const SoftDrawSettings* settings) {
  if (rect == nullptr || !IsMemImgValid(source)) return;
  int64_t left = rect->left, right = rect->right, top = rect->top, bottom = rect->bottom;
  bool mirrorX = left > right;
  bool mirrorY = top > bottom;
  if (mirrorX) std::swap(left, right);
  if (mirrorY) std::swap(top, bottom);
  int64_t width = right - left;
  int64_t height = bottom - top;
  if (width == 0 || height == 0) return;
  if (width == source->width && height == source->height && !mirrorX && !mirrorY) {
    DrawMemImgAt(destination, source, rect->left, rect->top, transparent, blendGraph, settings);
    return;
  }

  ImageDrawFrame frame;
  if (!PrepareImageDrawFrame(destination, source, blendGraph, settings, &frame)) return;
  // A rectangle so small that a destination pixel spans more than 65536
  // source pixels has no 16.16 scale; it is not drawn.
  int64_t scaleX = width * 65536 / source->width;
  int64_t scaleY = height * 65536 / source->height;
  if (scaleX == 0 || scaleY == 0) return;

  int64_t clipLeft = std::max<int64_t>(left, frame.area.left);
  int64_t clipTop = std::max<int64_t>(top, frame.area.top);
  int64_t clipRight = std::min<int64_t>(right, frame.area.right);
  int64_t clipBottom = std::min<int64_t>(bottom, frame.area.bottom);
  if (clipLeft >= clipRight || clipTop >= clipBottom) return;

  const MemImgBuffer* sb = source->buffer;
  PixelKernel k;
  if (PreparePixelKernel(&k, frame.kind, frame.source, sb->keyColor, sb->palette, settings, transparent,
                         blendGraph != nullptr, KernelWalk::kStretched) != 0) {
    return;
  }

  StretchWalk w = {};
  w.dstPitch = destination->buffer->pitch;
  w.dst = destination->pixels + clipTop * w.dstPitch + clipLeft * frame.destBytes;
  w.srcPitch = sb->pitch;
  w.src = source->pixels;
  if (blendGraph != nullptr) {
    w.graph = blendGraph->pixels;
    w.graphPitch = blendGraph->buffer->pitch;
  }
  w.width = static_cast<int32_t>(clipRight - clipLeft);
  w.height = static_cast<int32_t>(clipBottom - clipTop);
  w.across = MakeAxis(clipLeft - left, scaleX, source->width, mirrorX);
  w.down = MakeAxis(clipTop - top, scaleY, source->height, mirrorY);

  DispatchPixelKernel(k, [&]<int Kind, int Source, int Mode>() {
    if constexpr (Source == kSourceDirect) {
      if (Mode == kBlendNone ? k.white && !k.graph : WideRoadFits(k)) {
        DrawStretchedWideOfKernel(k, w);
        return;
      }
    }
    DrawStretchedRows<Kind, Source, Mode>(k, w);
  });
}

}  // namespace qor
