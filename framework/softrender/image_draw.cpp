// The 1:1 image draw: clipping, the choice between the pixel-by-pixel walk
// and the run-table walk, and the 16-bit pair walk of blend modes 2 and 3.
#include "framework/softrender/image_draw.h"

#include <algorithm>
#include <cstring>

#include "framework/softrender/image_draw_frame.h"
#include "framework/softrender/pixel_kernel.h"

namespace qor {

namespace {

// The clipped rectangle as row starts and steps.
struct AtSizeWalk {
  uint8_t* dst;
  int64_t dstPitch;
  const uint8_t* src;
  int64_t srcPitch;
  const uint8_t* graph;  // null without a blend graph
  int64_t graphPitch;
  int32_t width;
  int32_t height;
  const uint8_t* runs;     // the source's run table (run-table walk only)
  const uint8_t* runsEnd;  // one past its last byte
};

// Rows of an untinted draw of a direct source without blend graph, as many
// pixels at a time as the wide rules take; the tail of a row goes pixel by
// pixel.
template <int Kind, int Mode>
inline __attribute__((always_inline)) void DrawWideRows(const PixelKernel& kernel, const AtSizeWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int db = PixelLayout<Kind>::kBytes;
  const int32_t wide = w.width - w.width % kWideLanes;
  uint8_t* dst = w.dst;
  const uint8_t* src = w.src;
  for (int32_t y = 0; y < w.height; ++y, dst += w.dstPitch, src += w.srcPitch) {
    DrawWideSpan<Kind, Mode>(k, dst, src, wide);
    for (int32_t x = wide; x < w.width; ++x) {
      DrawKernelPixel<Kind, kSourceDirect, Mode>(k, dst + x * db, src + x * db, 0);
    }
  }
}

// The wide rows of every layout and mode in one function, built twice: for
// machines with AVX2 (eight 32-bit lanes in one register, a 32-bit
// multiply) and without; the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void DrawWideRowsOfKernel(const PixelKernel& k, const AtSizeWalk& w) {
  DispatchWideKernel(k, [&]<int Kind, int Mode>() __attribute__((always_inline)) { DrawWideRows<Kind, Mode>(k, w); });
}

template <int Kind, int Source, int Mode>
void DrawRows(const PixelKernel& kernel, const AtSizeWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int sb = SourceCellBytes<Kind, Source>();
  constexpr int db = PixelLayout<Kind>::kBytes;
  uint8_t* dst = w.dst;
  const uint8_t* src = w.src;
  const uint8_t* graph = w.graph;
  if constexpr (Mode == kBlendNone && sb == db && Source != kSourcePalette) {
    // A whole-pixel copy of every pixel is a row copy.
    if (k.white && !k.graph && !k.keyed && (Source == kSourceDirect || k.copyAlpha)) {
      for (int32_t y = 0; y < w.height; ++y, dst += w.dstPitch, src += w.srcPitch) {
        std::memmove(dst, src, static_cast<size_t>(w.width) * db);
      }
      return;
    }
  }
  for (int32_t y = 0; y < w.height; ++y) {
    for (int32_t x = 0; x < w.width; ++x) {
      DrawKernelPixel<Kind, Source, Mode>(k, dst + x * db, src + x * sb, graph != nullptr ? graph[x] : 0);
    }
    dst += w.dstPitch;
    src += w.srcPitch;
    if (graph != nullptr) graph += w.graphPitch;
  }
}

// Blend modes 2 and 3 on 16-bit pixels at full strength: pixels go in pairs
// from the first drawn column of each row; a pixel whose partner is keyed
// out, and the last pixel of an odd row, go alone.
template <int Source, int Mode>
void DrawPairRows(const PixelKernel& kernel, const AtSizeWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int sb = SourceCellBytes<0, Source>();
  auto single = [](uint32_t d, uint32_t s) {
    return Mode == kBlendAdd ? AddPacked16(d, s, false) : SubtractPacked16(d, s);
  };
  uint8_t* dst = w.dst;
  const uint8_t* src = w.src;
  for (int32_t y = 0; y < w.height; ++y, dst += w.dstPitch, src += w.srcPitch) {
    int32_t x = 0;
    for (; x + 1 < w.width; x += 2) {
      SourceSample a = FetchSample<0, Source>(k, src + x * sb);
      SourceSample b = FetchSample<0, Source>(k, src + (x + 1) * sb);
      uint8_t* d = dst + 2 * x;
      if (a.cls != kPixelSkip && b.cls != kPixelSkip) {
        uint32_t s = a.color | (b.color << 16);
        StorePixel32(d, Mode == kBlendAdd ? BlendPairAdd16(LoadPixel32(d), s) : BlendPairSubtract16(LoadPixel32(d), s));
      } else if (a.cls != kPixelSkip) {
        StorePixel16(d, single(LoadPixel16(d), a.color));
      } else if (b.cls != kPixelSkip) {
        StorePixel16(d + 2, single(LoadPixel16(d + 2), b.color));
      }
    }
    if (x < w.width) {
      SourceSample a = FetchSample<0, Source>(k, src + x * sb);
      uint8_t* d = dst + 2 * x;
      if (a.cls != kPixelSkip) StorePixel16(d, single(LoadPixel16(d), a.color));
    }
  }
}

// The run table gives each pixel's class: transparent runs are passed over
// unread, opaque runs draw plain, translucent runs by each pixel's alpha.
// Runs never reach past the row, and the walk never past the table.
// Opaque runs of a draw on the wide road (WideRoadFits) go wide. Inlined, so
// that each build of DrawWideRunsOfKernel has its own loops.
template <int Kind, int Source, int Mode>
inline __attribute__((always_inline)) void DrawRuns(const PixelKernel& kernel, const AtSizeWalk& w) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel k = kernel;
  constexpr int sb = SourceCellBytes<Kind, Source>();
  constexpr int db = PixelLayout<Kind>::kBytes;
  constexpr bool canCopy = Mode == kBlendNone && sb == db && Source != kSourcePalette;
  const bool copyRuns = canCopy && k.white && !k.graph;
  constexpr bool canWiden = Source == kSourceDirect && Mode != kBlendNone;
  const bool wideRuns = canWiden && WideRoadFits(k);
  // The table, not the key, says which pixels an opaque run draws.
  PixelKernel unkeyed = k;
  unkeyed.keyed = false;
  const uint8_t* run = w.runs;
  uint8_t* dst = w.dst;
  const uint8_t* src = w.src;
  const uint8_t* graph = w.graph;
  for (int32_t y = 0; y < w.height; ++y) {
    int32_t x = 0;
    while (run < w.runsEnd) {
      uint8_t code = *run++;
      uint8_t type = code & kRunRowEnd;
      if (type == kRunRowEnd) break;
      int32_t length = std::min((code & 0x3F) + 1, w.width - x);
      if (type != kRunTransparent && length > 0) {
        int32_t first = x;  // the first pixel left to draw one by one
        if (copyRuns && type == kRunOpaque) {
          std::memmove(dst + x * db, src + x * sb, static_cast<size_t>(length) * db);
          first = x + length;
        } else if (wideRuns && type == kRunOpaque) {
          if constexpr (canWiden) {
            const int32_t wide = length - length % kWideLanes;
            DrawWideSpan<Kind, Mode>(unkeyed, dst + x * db, src + x * sb, wide);
            first = x + wide;
          }
        }
        int32_t cls = type == kRunTranslucent && Source == kSourceAlpha ? kPixelAlpha : kPixelPlain;
        for (int32_t i = first; i < x + length; ++i) {
          SourceSample s = SampleFromCell<Kind, Source>(k, src + i * sb, cls);
          uint32_t factor = graph != nullptr ? k.threshold[graph[i]] : 0;
          uint8_t* d = dst + i * db;
          PixelLayout<Kind>::Store(d, BlendSample<Kind, Mode>(k, PixelLayout<Kind>::Load(d), s, factor));
        }
      }
      x += std::max(length, 0);
    }
    dst += w.dstPitch;
    src += w.srcPitch;
    if (graph != nullptr) graph += w.graphPitch;
  }
}

// The run-table walk on the wide road, built twice like
// DrawWideRowsOfKernel.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void DrawWideRunsOfKernel(const PixelKernel& k, const AtSizeWalk& w) {
  DispatchWideKernel(k, [&]<int Kind, int Mode>() __attribute__((always_inline)) {
    DrawRuns<Kind, kSourceDirect, Mode>(k, w);
  });
}

}  // namespace

void DrawMemImgAt(MemImage* destination, const MemImage* source, int32_t x, int32_t y, int32_t transparent,
                  const MemImage* blendGraph, const SoftDrawSettings* settings) {
  ImageDrawFrame frame;
  if (!PrepareImageDrawFrame(destination, source, blendGraph, settings, &frame)) return;
  const MemImgBuffer* sb = source->buffer;

  // Clip in 64 bits: x + width may pass the int range.
  int64_t left = std::max<int64_t>(x, frame.area.left);
  int64_t top = std::max<int64_t>(y, frame.area.top);
  int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + source->width, frame.area.right);
  int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + source->height, frame.area.bottom);
  if (left >= right || top >= bottom) return;
  int32_t width = static_cast<int32_t>(right - left);
  int32_t height = static_cast<int32_t>(bottom - top);
  int64_t leftSkip = left - x;
  int64_t topSkip = top - y;

  // The run table describes the whole buffer, so it serves only an unclipped
  // draw of a view that is the whole buffer.
  bool wholeBuffer = source->pixels == sb->pixels && source->width == sb->width && source->height == sb->height;
  bool runs = transparent == 1 && sb->runTableValid && sb->runTable != nullptr && wholeBuffer &&
              width == source->width && height == source->height;

  PixelKernel k;
  if (PreparePixelKernel(&k, frame.kind, frame.source, sb->keyColor, sb->palette, settings, transparent,
                         blendGraph != nullptr, runs ? KernelWalk::kAtSizeRuns : KernelWalk::kAtSize) != 0) {
    return;
  }

  AtSizeWalk w = {};
  w.dstPitch = destination->buffer->pitch;
  w.dst = destination->pixels + top * w.dstPitch + left * frame.destBytes;
  w.srcPitch = sb->pitch;
  w.src = source->pixels + topSkip * w.srcPitch + leftSkip * frame.sourceBytes;
  if (blendGraph != nullptr) {
    w.graphPitch = blendGraph->buffer->pitch;
    w.graph = blendGraph->pixels + topSkip * w.graphPitch + leftSkip;
  }
  w.width = width;
  w.height = height;
  if (runs) {
    w.runs = sb->runTable;
    w.runsEnd = sb->runTable + (static_cast<int64_t>(sb->width) + 5) * sb->height;
  }

  DispatchPixelKernel(k, [&]<int Kind, int Source, int Mode>() {
    if (runs) {
      if constexpr (Source == kSourceDirect && Mode != kBlendNone) {
        if (WideRoadFits(k)) {
          DrawWideRunsOfKernel(k, w);
          return;
        }
      }
      DrawRuns<Kind, Source, Mode>(k, w);
      return;
    }
    if constexpr (Kind == 0 && Source != kSourceAlpha && (Mode == kBlendAdd || Mode == kBlendSubtract)) {
      if (k.pairForm) {
        DrawPairRows<Source, Mode>(k, w);
        return;
      }
    }
    if constexpr (Source == kSourceDirect && Mode != kBlendNone) {
      if (WideRoadFits(k)) {
        DrawWideRowsOfKernel(k, w);
        return;
      }
    }
    DrawRows<Kind, Source, Mode>(k, w);
  });
}

}  // namespace qor
