#include "framework/softrender/pixel_kernel.h"

#include <algorithm>

namespace qor {

namespace {

bool IsDrawingMode(int32_t mode) {
  switch (mode) {
    case kBlendNone:
    case kBlendAlpha:
    case kBlendAdd:
    case kBlendSubtract:
    case kBlendMultiply:
    case kBlendInverse:
    case kBlendWeightedMultiply:
      return true;
    default:
      return false;
  }
}

}  // namespace

int PreparePixelKernel(PixelKernel* kernel, int32_t kind, int32_t source, uint32_t sourceKey,
                       const uint8_t* palette, const SoftDrawSettings* settings, int32_t transparent,
                       bool graph, KernelWalk walk) {
  *kernel = {};
  if (kind != kMemImgKindRgb565 && kind != kMemImgKindXrgb8888) return -1;
  if (source < kSourcePalette || source > kSourceFlat) return -1;
  if (source == kSourcePalette && palette == nullptr) return -1;
  int32_t mode = settings->blendMode;
  int32_t p = std::clamp(settings->blendParam, 0, 255);
  if (!IsDrawingMode(mode)) return -1;
  if (mode == kBlendAlpha && p == 0) return -1;
  if (mode == kBlendAdd && p == 0) return -1;
  // A palettised source still runs at 0: the subtraction of nothing
  // rewrites the lowest bits of green and red.
  if (mode == kBlendSubtract && p == 0 && source != kSourcePalette) return -1;
  if (mode == kBlendAlpha && p == 255) mode = kBlendNone;

  kernel->kind = kind;
  kernel->source = source;
  kernel->mode = mode;
  kernel->param = p;
  // A flat colour is tinted before it is drawn, and has no key or graph.
  bool flat = source == kSourceFlat;
  kernel->white = flat || IsWhiteTint(settings->tint);
  kernel->keyed = !flat && transparent != 0;
  kernel->graph = !flat && graph;
  kernel->key = sourceKey;
  kernel->palette = palette;
  for (int i = 0; i < 3; ++i) kernel->tintRow[i] = g_blendTables.product[(settings->tint >> (8 * i)) & 0xFF];
  kernel->paramProduct = g_blendTables.product[p];
  kernel->paramSigned = &g_blendTables.signedBlend[p][255];
  kernel->cubeSlice = &g_blendTables.cube[(p / 4) * 4096];
  kernel->threshold = g_blendTables.blendGraphThreshold;

  // Forms of the 1:1 and stretched walks for untinted draws without a blend
  // graph.
  bool plainSource = source == kSourcePalette || source == kSourceDirect;
  bool bare = kernel->white && !kernel->graph;
  bool atSize = walk == KernelWalk::kAtSize;
  if (mode == kBlendNone) {
    kernel->copyAlpha = atSize && bare && source == kSourceAlpha && !kernel->keyed;
  } else if (mode == kBlendAlpha) {
    kernel->halfRule = atSize && bare && plainSource && p == 128;
    kernel->cubeRule = atSize && bare && plainSource && p != 128 && kind == kMemImgKindRgb565;
  } else if (mode == kBlendAdd || mode == kBlendSubtract) {
    bool full = bare && plainSource && p == 255;
    if (kind == kMemImgKindXrgb8888) {
      bool road = atSize || (mode == kBlendSubtract && walk == KernelWalk::kStretched);
      kernel->exactForm = full && road && kMmxUsable;
    } else {
      kernel->pairForm = full && atSize;
    }
  }
  return 0;
}

uint32_t TintColorByTable(int32_t kind, uint32_t color, uint32_t tint) {
  if (IsWhiteTint(tint)) return color;
  const int* shift = kind == kMemImgKindRgb565 ? PixelLayout<0>::kShift : PixelLayout<1>::kShift;
  const int* bits = kind == kMemImgKindRgb565 ? PixelLayout<0>::kBits : PixelLayout<1>::kBits;
  uint32_t out = kind == kMemImgKindRgb565 ? 0 : (color & 0xFF000000);
  for (int i = 0; i < 3; ++i) {
    uint32_t v = (color >> shift[i]) & ((1u << bits[i]) - 1);
    out |= static_cast<uint32_t>(g_blendTables.product[(tint >> (8 * i)) & 0xFF][v]) << shift[i];
  }
  return out;
}

namespace {

template <int Kind, int Mode>
inline __attribute__((always_inline)) void DrawWideStripOf(const PixelKernel& k, uint8_t* dst, const uint8_t* strip,
                                                           int32_t count) {
  constexpr int db = PixelLayout<Kind>::kBytes;
  const int32_t wide = count - count % kWideLanes;
  DrawWideSpan<Kind, Mode>(k, dst, strip, wide);
  for (int32_t i = wide; i < count; ++i) DrawKernelPixel<Kind, kSourceDirect, Mode>(k, dst + i * db, strip + i * db, 0);
}

}  // namespace

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void DrawWideStrip(const PixelKernel& k, uint8_t* dst, const uint8_t* strip, int32_t count) {
  // A local copy: the pixel stores cannot alias it, so its fields stay in registers.
  const PixelKernel kernel = k;
  DispatchWideKernel(kernel, [&]<int Kind, int Mode>() __attribute__((always_inline)) {
    DrawWideStripOf<Kind, Mode>(kernel, dst, strip, count);
  });
}

}  // namespace qor
