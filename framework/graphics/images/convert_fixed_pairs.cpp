// The common format pairs, each with its own pixel rule: narrowing keeps the
// high bits, widening leaves the low bits 0. Images of these formats are
// uploaded without the per-pixel rule.
#include <cstring>
#include <type_traits>

#include "framework/graphics/images/convert_internal.h"

// The pair loops are simple enough for the compiler to turn into vector code,
// which at -O2 it does only when told to weigh the cost of each loop.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=dynamic")
#endif

namespace qor {

namespace {

enum class Layout { kOther, kPal8, kR5G6B5, kX1R5G5B5, kA1R5G5B5, kX8R8G8B8, kA8R8G8B8, kR8G8B8 };

bool MasksAre(const PixelFormatInfo* f, int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return f->bitDepth == depth && f->bytesPerPixel == depth / 8 && f->masks[kRed] == r && f->masks[kGreen] == g &&
         f->masks[kBlue] == b && f->masks[kAlpha] == a;
}

Layout LayoutOf(const PixelFormatInfo* f) {
  if (f->bytesPerPixel == 1) return IsPaletteFormat(f) ? Layout::kPal8 : Layout::kOther;
  if (MasksAre(f, 16, 0xF800, 0x07E0, 0x001F, 0)) return Layout::kR5G6B5;
  if (MasksAre(f, 16, 0x7C00, 0x03E0, 0x001F, 0)) return Layout::kX1R5G5B5;
  if (MasksAre(f, 16, 0x7C00, 0x03E0, 0x001F, 0x8000)) return Layout::kA1R5G5B5;
  if (MasksAre(f, 32, 0xFF0000, 0xFF00, 0xFF, 0)) return Layout::kX8R8G8B8;
  if (MasksAre(f, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)) return Layout::kA8R8G8B8;
  if (MasksAre(f, 24, 0xFF0000, 0xFF00, 0xFF, 0)) return Layout::kR8G8B8;
  return Layout::kOther;
}

template <int Bytes>
uint32_t Load(const uint8_t* p) {
  if constexpr (Bytes == 1) return p[0];
  if constexpr (Bytes == 2) return LoadPixel16(p);
  if constexpr (Bytes == 3) return LoadPixel24(p);
  if constexpr (Bytes == 4) return LoadPixel32(p);
}

template <int Bytes>
void Store(uint8_t* p, uint32_t v) {
  if constexpr (Bytes == 2) StorePixel16(p, v);
  if constexpr (Bytes == 3) StorePixel24(p, v);
  if constexpr (Bytes == 4) StorePixel32(p, v);
}

// Sixteen pixels at once between the 2- and 4-byte layouts: the same rule
// on a vector of sixteen 32-bit values.
using PixelWords = uint32_t __attribute__((vector_size(64)));
using PixelHalves = uint16_t __attribute__((vector_size(32)));

constexpr int kLanes = sizeof(PixelWords) / sizeof(uint32_t);

template <int SrcBytes, int DstBytes>
constexpr bool kLanesAtOnce = (SrcBytes == 2 || SrcBytes == 4) && (DstBytes == 2 || DstBytes == 4);

template <int Bytes>
PixelWords LoadLanes(const uint8_t* p) {
  if constexpr (Bytes == 4) {
    PixelWords v;
    std::memcpy(&v, p, sizeof v);
    return v;
  } else {
    PixelHalves v;
    std::memcpy(&v, p, sizeof v);
    return __builtin_convertvector(v, PixelWords);
  }
}

template <int Bytes>
void StoreLanes(uint8_t* p, const PixelWords& v) {
  if constexpr (Bytes == 4) {
    std::memcpy(p, &v, sizeof v);
  } else {
    PixelHalves h = __builtin_convertvector(v, PixelHalves);
    std::memcpy(p, &h, sizeof h);
  }
}

// Runs `rule` over every pixel of the job (never mirrored here). A rule
// that takes any unsigned type runs kLanes pixels at a time where the
// layouts allow.
// Inlined, so that each build of ConvertFixedPair has its own loops.
template <int SrcBytes, int DstBytes, typename Rule>
inline __attribute__((always_inline)) void RunPairRows(const ConvertJob& job, Rule rule) {
  const int32_t count = job.endCol - job.firstCol;
  const bool skip = job.options.skipKey != 0;
  for (int32_t row = job.firstRow; row < job.endRow; ++row) {
    const uint8_t* s = SourcePixelAt(job, row, job.firstCol);
    uint8_t* d = DestPixelAt(job, row, job.firstCol);
    if (skip) {
      for (int32_t n = 0; n < count; ++n, s += SrcBytes, d += DstBytes) {
        uint32_t v = Load<SrcBytes>(s);
        if (v != job.skipValue) Store<DstBytes>(d, rule(v));
      }
    } else {
      int32_t n = 0;
      if constexpr (kLanesAtOnce<SrcBytes, DstBytes> && std::is_invocable_v<Rule, PixelWords>) {
        for (; n + kLanes <= count; n += kLanes, s += kLanes * SrcBytes, d += kLanes * DstBytes) {
          StoreLanes<DstBytes>(d, rule(LoadLanes<SrcBytes>(s)));
        }
      }
      for (; n < count; ++n, s += SrcBytes, d += DstBytes) Store<DstBytes>(d, rule(Load<SrcBytes>(s)));
    }
  }
}

template <typename T>
T Rgb24To565(const T& v) {
  return ((v & 0xF80000) >> 8) | ((v & 0xFC00) >> 5) | ((v & 0xF8) >> 3);
}
uint32_t Rgb24To555(uint32_t v) { return ((v & 0xF80000) >> 9) | ((v & 0xF800) >> 6) | ((v & 0xF8) >> 3); }

// Palette sources: the rule is applied once per palette entry and the rows
// only look the result up.
template <int DstBytes>
inline __attribute__((always_inline)) void RunPaletteRows(const ConvertJob& job, uint32_t (*rule)(uint32_t rgb, uint32_t key), uint32_t key) {
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = rule(PaletteWord(job.srcFormat->palette[i]) & 0xFFFFFF, key);
  RunPairRows<1, DstBytes>(job, [&table](uint32_t index) { return table[index]; });
}

}  // namespace

// Built twice, for machines with and without AVX2; the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
int ConvertFixedPair(const ConvertJob& job) {
  const Layout src = LayoutOf(job.srcFormat);
  const Layout dst = LayoutOf(job.dstFormat);
  const bool keyed = job.options.colorKeyMode != 0;
  const uint32_t key = job.options.key & 0xFFFFFF;

  if (src == Layout::kPal8) {
    if (dst == Layout::kR5G6B5) {
      RunPaletteRows<2>(job, [](uint32_t rgb, uint32_t) { return Rgb24To565(rgb); }, key);
    } else if (dst == Layout::kX1R5G5B5) {
      RunPaletteRows<2>(job, [](uint32_t rgb, uint32_t) { return Rgb24To555(rgb) | 0x8000; }, key);
    } else if (dst == Layout::kX8R8G8B8) {
      RunPaletteRows<4>(job, [](uint32_t rgb, uint32_t) { return rgb | 0xFF000000; }, key);
    } else if (dst == Layout::kA1R5G5B5 && keyed) {
      RunPaletteRows<2>(job, [](uint32_t rgb, uint32_t k) { return Rgb24To555(rgb) | (rgb == k ? 0 : 0x8000); }, key);
    } else if (dst == Layout::kA8R8G8B8 && keyed) {
      RunPaletteRows<4>(job, [](uint32_t rgb, uint32_t k) { return rgb | (rgb == k ? 0 : 0xFF000000); }, key);
    } else {
      return 0;
    }
    return 1;
  }
  if (src == Layout::kR8G8B8) {
    if (dst == Layout::kR5G6B5) {
      RunPairRows<3, 2>(job, Rgb24To565<uint32_t>);
    } else if (dst == Layout::kX1R5G5B5) {
      RunPairRows<3, 2>(job, [](uint32_t v) { return Rgb24To555(v) | 0x8000; });
    } else if (dst == Layout::kA1R5G5B5 && keyed) {
      RunPairRows<3, 2>(job, [key](uint32_t v) { return Rgb24To555(v) | (v == key ? 0 : 0x8000); });
    } else if (dst == Layout::kA8R8G8B8 && keyed) {
      RunPairRows<3, 4>(job, [key](uint32_t v) { return v | (v == key ? 0 : 0xFF000000); });
    } else {
      return 0;
    }
    return 1;
  }
  if ((src == Layout::kX8R8G8B8 || src == Layout::kA8R8G8B8) && dst == Layout::kR5G6B5) {
    RunPairRows<4, 2>(job, [](const auto& v) { return Rgb24To565(v); });
    return 1;
  }
  if (src == Layout::kR5G6B5) {
    auto widen = [](const auto& v) { return ((v & 0xF800) << 8) | ((v & 0x07E0) << 5) | ((v & 0x001F) << 3); };
    auto to555 = [](uint32_t v) { return ((v & 0xFFC0) >> 1) | (v & 0x001F); };
    if (dst == Layout::kR8G8B8) {
      RunPairRows<2, 3>(job, widen);
    } else if (dst == Layout::kX8R8G8B8) {
      RunPairRows<2, 4>(job, widen);
    } else if (dst == Layout::kX1R5G5B5) {
      RunPairRows<2, 2>(job, to555);
    } else if (dst == Layout::kA1R5G5B5 && keyed) {
      // The key compared in the destination's 5:5:5 colour.
      uint32_t key555 = Rgb24To555(key);
      RunPairRows<2, 2>(job, [key555, to555](uint32_t v) {
        uint32_t c = to555(v);
        return c | (c == key555 ? 0 : 0x8000);
      });
    } else {
      return 0;
    }
    return 1;
  }
  if (src == Layout::kX1R5G5B5 && dst == Layout::kR5G6B5) {
    RunPairRows<2, 2>(job, [](uint32_t v) { return ((v & 0x7FE0) << 1) | (v & 0x003F); });
    return 1;
  }
  return 0;
}

}  // namespace qor
