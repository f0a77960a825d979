// The per-pixel rules of the software renderer, written once for every walk
// over the pixels: the 1:1 image draw, its run-table walk, the stretched
// draw, and the transformed (triangle, four-corner, rotated) draws.
//
// Using them in a draw
// --------------------
// 1. Once per draw, PreparePixelKernel() fills a PixelKernel from the format
//    kind (destination and source alike), the source kind (kSourcePalette,
//    kSourceDirect, kSourceAlpha, or kSourceFlat for a flat colour), the
//    source's transparent value and palette, the draw settings, the
//    transparent flag, whether a blend graph is given, and the walk. It
//    returns -1 when the draw writes nothing (blend modes 5 to 9 and out of
//    range; parameter 0 in modes 1 and 2; parameter 0 in mode 3 for all but a
//    palettised source): then stop.
// 2. DispatchPixelKernel(kernel, fn) calls
//    fn.template operator()<Kind, Source, Mode>() once, with the kernel's
//    three values as constants, so a generic lambda
//      DispatchPixelKernel(k, [&]<int Kind, int Source, int Mode>() {
//        MyRows<Kind, Source, Mode>(k, walk);
//      });
//    instantiates one loop per combination and leaves no per-pixel switch.
//    A flat colour dispatches with DispatchFlatKernel (Source = kSourceFlat).
// 3. Per pixel, with `cell` the source cell at the source position (1 byte
//    for a palettised source, 2 or 4 for a direct one, 4 with alpha;
//    SourceCellBytes<Kind, Source>()) and `dst` the destination pixel:
//      DrawKernelPixel<Kind, Source, Mode>(k, dst, cell, graphByte);
//    graphByte is the blend graph's byte at the same source position (the
//    kernel turns it into a factor through the threshold table; pass 0
//    without a graph). It reads and classes the cell (FetchSample: keyed
//    index or pixel equal to the key skipped; alpha sources: keyed, alpha 0
//    skipped and 255 drawn plain, unkeyed, every pixel weighed by its alpha)
//    and writes BlendSample<Kind, Mode>() into `dst`. A walk that knows the
//    class already (the run table) builds the sample with SampleFromCell().
//    A flat colour is tinted once with TintColorByTable() and drawn as
//      PixelLayout<Kind>::Store(dst, BlendSample<Kind, Mode>(k,
//          PixelLayout<Kind>::Load(dst), FlatSample(colour), 0));
//    Keep a local copy of the kernel in the loop function: the pixel stores
//    go through byte pointers, which could otherwise alias its fields.
//
// Rules that depend on the walk (PreparePixelKernel's `walk`):
//  - kAtSize (1:1 draw off the run table): mode 0 copies an alpha source
//    whole when unkeyed under a white tint without blend graph (copyAlpha);
//    mode 1 with a white tint, no blend graph and a source without alpha
//    takes the half rule at parameter 128 and, in 16-bit, the 6-bit cube at
//    the other parameters; modes 2 and 3 at parameter 255 in that same case
//    take the exact byte sum or difference of the stored 32-bit value, and in
//    16-bit the pair forms (pairForm), which the walk applies itself with
//    BlendPairAdd16 / BlendPairSubtract16.
//  - kStretched: only mode 3's exact 32-bit difference of that case.
//  - kAtSizeRuns and kTransformed: none; the transformed draws use exactly
//    the stretched draw's per-pixel results otherwise (mode 4 skips alpha-0
//    pixels of a keyed draw there too).
//
// All of it is exact integer arithmetic on the channel values as they stand
// (bytes in 32-bit pixels, 5-6-5 fields in 16-bit pixels, never widened);
// products past 32 bits are formed in 64 bits. The palette is read from the
// source buffer itself. g_blendTables must be built before a kernel is
// prepared, and the threshold table before a draw with a blend graph.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/blend_tables.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/soft_blend.h"
#include "framework/softrender/soft_draw_settings.h"

// The per-pixel operations are forced inline: a call per pixel costs more
// than the operation.
#define QOR_PIXEL_INLINE inline __attribute__((always_inline))
// The three channel steps unrolled, so that each uses its own fixed shifts.
#define QOR_EACH_CHANNEL _Pragma("GCC unroll 3") for (int i = 0; i < 3; ++i)

namespace qor {

// Source kinds.
constexpr int32_t kSourcePalette = 0;  // one-byte indexes into the buffer's palette
constexpr int32_t kSourceDirect = 1;   // pixels of the destination's layout
constexpr int32_t kSourceAlpha = 2;    // 4-byte cells with an alpha byte (byte 2 in 16-bit, byte 3 in 32-bit)
constexpr int32_t kSourceFlat = 3;     // one colour, no source image

// Pixel classes.
constexpr int32_t kPixelSkip = 0;   // left untouched
constexpr int32_t kPixelPlain = 1;  // drawn without its alpha
constexpr int32_t kPixelAlpha = 2;  // drawn weighted by its alpha

enum class KernelWalk { kAtSize, kAtSizeRuns, kStretched, kTransformed };

// The blend modes 2 and 3 results depend on the MMX path of the original
// machine; it is taken as present everywhere so that the results never
// change from one machine to the next.
constexpr bool kMmxUsable = true;

struct PixelKernel {
  int32_t kind;    // 0: R5G6B5, 1: X8R8G8B8 (destination and source alike)
  int32_t source;  // kSource*
  int32_t mode;    // 0, 1, 2, 3, 4, 10 or 11; mode 1 at parameter 255 is held as 0
  int32_t param;   // 0..255
  bool white;      // no tint
  bool keyed;      // transparent flag non-zero
  bool graph;      // a blend graph is given
  uint32_t key;    // the source's transparent value, in its own format
  const uint8_t* palette;         // the source buffer's palette (palettised sources)
  const int32_t* tintRow[3];      // product rows of the tint's blue, green and red bytes
  const int32_t* paramProduct;    // product row of the parameter: x * p / 255
  const int32_t* paramSigned;     // signed row of the parameter, at its zero entry
  const uint8_t* cubeSlice;       // 6-bit cube slice of parameter / 4: [s * 64 + d]
  const uint8_t* threshold;       // blend-graph byte -> factor 0..255
  // Walk-dependent forms, see the header comment.
  bool copyAlpha;  // mode 0: alpha pixels copied whole
  bool halfRule;   // mode 1: (s >> 1) + (d >> 1) on whole pixels
  bool cubeRule;   // mode 1, 16-bit: the 6-bit cube
  bool exactForm;  // modes 2, 3, 32-bit: saturating byte sum / difference of the stored value
  bool pairForm;   // modes 2, 3, 16-bit: the walk pairs pixels
};

template <typename P>
struct BasicSample {
  P color;         // 16-bit: the R5G6B5 value; 32-bit: the whole palette entry or pixel, byte 3 included
  uint32_t alpha;  // 0..255, read for alpha pixels only
  int32_t cls;     // kPixel*
};
using SourceSample = BasicSample<uint32_t>;

// Fills `kernel` for one draw; the caller has checked that destination and
// source have the same format `kind`. `sourceKey` and `palette` come from
// the source buffer (unused for kSourceFlat, which also ignores the tint,
// the key and the graph). 0, or -1 when the draw writes nothing.
int PreparePixelKernel(PixelKernel* kernel, int32_t kind, int32_t source, uint32_t sourceKey,
                       const uint8_t* palette, const SoftDrawSettings* settings, int32_t transparent,
                       bool graph, KernelWalk walk);

// A colour of layout `kind` tinted through the product table (byte 3 of a
// 32-bit colour kept), as a flat colour is tinted before it is drawn.
uint32_t TintColorByTable(int32_t kind, uint32_t color, uint32_t tint);

// ---------------------------------------------------------------------------
// Pixel layouts.

template <int Kind>
struct PixelLayout;

template <>
struct PixelLayout<0> {
  static constexpr int kBytes = 2;
  static constexpr int kShift[3] = {0, 5, 11};  // blue, green, red
  static constexpr int kBits[3] = {5, 6, 5};
  static constexpr uint32_t kSpare = 0;  // bits a channel write keeps
  QOR_PIXEL_INLINE static uint32_t Load(const uint8_t* p) { return LoadPixel16(p); }
  QOR_PIXEL_INLINE static void Store(uint8_t* p, uint32_t v) { StorePixel16(p, v); }
};

template <>
struct PixelLayout<1> {
  static constexpr int kBytes = 4;
  static constexpr int kShift[3] = {0, 8, 16};
  static constexpr int kBits[3] = {8, 8, 8};
  static constexpr uint32_t kSpare = 0xFF000000;
  QOR_PIXEL_INLINE static uint32_t Load(const uint8_t* p) { return LoadPixel32(p); }
  QOR_PIXEL_INLINE static void Store(uint8_t* p, uint32_t v) { StorePixel32(p, v); }
};

// Wide pixels: kWideLanes pixel values side by side (and their channels,
// signed), so that an untinted draw without a blend graph can run the rules
// below on several pixels at once; WideRoadFits() says when.
using WidePixels = uint32_t __attribute__((vector_size(32)));
using WideChannels = int32_t __attribute__((vector_size(32)));
constexpr int kWideLanes = 8;

// The signed channel type that goes with a pixel type.
template <typename P>
struct ChannelTypeOf {
  using Type = int32_t;
};
template <>
struct ChannelTypeOf<WidePixels> {
  using Type = WideChannels;
};
template <typename P>
using ChannelOf = typename ChannelTypeOf<P>::Type;
template <typename P>
constexpr bool kIsWide = !std::is_same_v<P, uint32_t>;

template <int Kind, typename P>
QOR_PIXEL_INLINE ChannelOf<P> Channel(P v, int i) {
  return (ChannelOf<P>)((v >> PixelLayout<Kind>::kShift[i]) & ((1u << PixelLayout<Kind>::kBits[i]) - 1));
}
template <int Kind, typename S>
QOR_PIXEL_INLINE auto PlaceChannel(S v, int i) {
  if constexpr (std::is_same_v<S, int32_t>) {
    return static_cast<uint32_t>(v) << PixelLayout<Kind>::kShift[i];
  } else {
    return (WidePixels)v << PixelLayout<Kind>::kShift[i];
  }
}
template <int Kind>
QOR_PIXEL_INLINE int32_t ChannelMax(int i) {
  return (1 << PixelLayout<Kind>::kBits[i]) - 1;
}

// Bytes of one source cell.
template <int Kind, int Source>
constexpr int SourceCellBytes() {
  if constexpr (Source == kSourcePalette) return 1;
  if constexpr (Source == kSourceAlpha) return 4;
  return PixelLayout<Kind>::kBytes;
}

// ---------------------------------------------------------------------------
// Source fetch and classes.

// Reads the colour (and alpha) of a source cell without classing it.
template <int Kind, int Source>
QOR_PIXEL_INLINE SourceSample SampleFromCell(const PixelKernel& k, const uint8_t* cell, int32_t cls) {
  SourceSample s;
  s.cls = cls;
  s.alpha = 255;
  if constexpr (Source == kSourcePalette) {
    if constexpr (Kind == 0) {
      s.color = LoadPixel16(k.palette + 2 * cell[0]);
    } else {
      s.color = LoadPixel32(k.palette + 4 * cell[0]);
    }
  } else if constexpr (Source == kSourceAlpha) {
    if constexpr (Kind == 0) {
      s.color = LoadPixel16(cell);
      s.alpha = cell[2];
    } else {
      s.color = LoadPixel32(cell);
      s.alpha = cell[3];
    }
  } else {
    s.color = PixelLayout<Kind>::Load(cell);
  }
  return s;
}

// Reads and classes a source cell: a keyed palette index or pixel equal to
// the key is skipped (the test is on the stored value, before the palette
// and the tint); an alpha source ignores the key, skips alpha 0 and draws
// alpha 255 plain while keyed, and weighs every pixel by its alpha while not.
template <int Kind, int Source>
QOR_PIXEL_INLINE SourceSample FetchSample(const PixelKernel& k, const uint8_t* cell) {
  if constexpr (Source == kSourceAlpha) {
    SourceSample s = SampleFromCell<Kind, Source>(k, cell, kPixelAlpha);
    if (k.keyed) {
      if (s.alpha == 0) s.cls = kPixelSkip;
      else if (s.alpha == 255) s.cls = kPixelPlain;
    } else if (k.copyAlpha) {
      s.cls = kPixelPlain;
    }
    return s;
  } else {
    if (k.keyed) {
      uint32_t stored = Source == kSourcePalette ? cell[0] : PixelLayout<Kind>::Load(cell);
      if (stored == k.key) return {0, 0, kPixelSkip};
    }
    return SampleFromCell<Kind, Source>(k, cell, kPixelPlain);
  }
}

QOR_PIXEL_INLINE SourceSample FlatSample(uint32_t color) { return {color, 255, kPixelPlain}; }

// ---------------------------------------------------------------------------
// Channel arithmetic.

// d + floor((v - d) * w / 2^shift).
QOR_PIXEL_INLINE int32_t MoveToward(int32_t d, int32_t v, uint64_t w, int shift) {
  int64_t step = static_cast<int64_t>(v - d) * static_cast<int64_t>(w);
  return d + static_cast<int32_t>(step >> shift);
}

// The table entries the rules read, as single lookups; for wide channels
// the same entries by their formulas (the tables hold exactly these
// values; the tests compare every entry).
// a x b / 255 truncated, for a x b in 0..65025.
QOR_PIXEL_INLINE WideChannels DivideBy255(WideChannels x) { return (x + 1 + (x >> 8)) >> 8; }
// Row p of the product table at v (0..255): v x p / 255.
QOR_PIXEL_INLINE int32_t ParamProduct(const PixelKernel& k, int32_t v) { return k.paramProduct[v]; }
QOR_PIXEL_INLINE WideChannels ParamProduct(const PixelKernel& k, WideChannels v) { return DivideBy255(v * k.param); }
// Row p of the signed table at k (-255..255): p x k / 255 toward zero.
QOR_PIXEL_INLINE int32_t ParamSigned(const PixelKernel& k, int32_t v) { return k.paramSigned[v]; }
QOR_PIXEL_INLINE WideChannels ParamSigned(const PixelKernel& k, WideChannels v) {
  WideChannels negative = v >> 31;  // all ones where v < 0
  WideChannels magnitude = DivideBy255(((v ^ negative) - negative) * k.param);
  return (magnitude ^ negative) - negative;
}
// The cube slice of parameter / 4 = f at (s, d): (f x s + (63 - f) x d) / 63.
QOR_PIXEL_INLINE int32_t CubeEntry(const PixelKernel& k, int32_t s, int32_t d) { return k.cubeSlice[s * 64 + d]; }
QOR_PIXEL_INLINE WideChannels CubeEntry(const PixelKernel& k, WideChannels s, WideChannels d) {
  const int32_t f = k.param / 4;
  return ((f * s + (63 - f) * d) * 2081) >> 17;
}

// Wide channels are drawn only untinted (WideRoadFits).
template <typename S>
QOR_PIXEL_INLINE S Tinted(const PixelKernel& k, int i, S v) {
  if constexpr (std::is_same_v<S, int32_t>) {
    return k.white ? v : k.tintRow[i][v];
  } else {
    return v;
  }
}

// The product of the per-pixel weights that are in play (blend-graph factor,
// alpha) and 8 bits of shift for each. Wide samples are plain pixels of a
// draw without a blend graph: no weights.
struct PixelWeight {
  uint64_t w;
  int shift;
};
template <typename P>
QOR_PIXEL_INLINE PixelWeight WeightOf(const PixelKernel& k, const BasicSample<P>& s, uint32_t factor) {
  PixelWeight r = {1, 0};
  if constexpr (kIsWide<P>) return r;
  if (k.graph) {
    r.w *= factor;
    r.shift += 8;
  }
  if (s.cls == kPixelAlpha) {
    r.w *= s.alpha;
    r.shift += 8;
  }
  return r;
}

// d moved toward v by the parameter and the per-pixel weights in play.
// Without weights, 32-bit channels divide by 256 and round down, 16-bit
// fields divide by 255 and round toward zero (the signed table).
template <int Kind, typename S>
QOR_PIXEL_INLINE S MoveByParameter(const PixelKernel& k, S d, S v, const PixelWeight& w) {
  if constexpr (std::is_same_v<S, int32_t>) {
    if (w.shift != 0) return MoveToward(d, v, w.w * static_cast<uint32_t>(k.param), w.shift + 8);
  }
  if constexpr (Kind == 1) {
    return d + (((v - d) * k.param) >> 8);  // |v - d| x p fits in 32 bits
  } else {
    return d + ParamSigned(k, v - d);
  }
}

// Saturating sums and clamped differences of whole pixels. The packed forms
// work on the word with guard bits: blue is exact, green and red drop their
// lowest bit and take the carry or borrow of the channel below there.
template <typename P>
QOR_PIXEL_INLINE P AddPacked32(P d, P s) {
  P sum = (d & 0x00FEFEFF) + (s & 0x00FEFEFF);
  P carries = sum & 0x01010100;
  return (carries - (carries >> 8)) | sum | ((d | s) & 0x00010100);
}
template <typename P>
QOR_PIXEL_INLINE P AddPacked16(P d, P s, bool keepLowBits) {
  P sum = (d & 0xF7DF) + (s & 0xF7DF);
  P carries = sum & 0x08210820;
  P r = (carries - (carries >> 5)) | sum;
  if (keepLowBits) r |= (d | s) & 0x0820;
  return r & 0xFFFF;
}
template <typename P>
QOR_PIXEL_INLINE P SubtractPacked32(P d, P s) {
  P t = (d | 0x01010100) - (s & 0x00FEFEFF);
  P free = t & 0x01010100;
  return (free - (free >> 8)) & t;
}
template <typename P>
QOR_PIXEL_INLINE P SubtractPacked16(P d, P s) {
  P t = (d | 0x08210820) - (s & 0xF7DF);
  P free = t & 0x08210820;
  return ((free - (free >> 5)) & t) & 0xFFFF;
}
// Byte by byte (byte 3 too): the sum capped at 255, the difference floored
// at 0.
template <typename P>
QOR_PIXEL_INLINE P AddBytesExact(P d, P s) {
  P r = {};
  for (int n = 0; n < 32; n += 8) {
    P v = ((d >> n) & 0xFF) + ((s >> n) & 0xFF);  // 0..510
    r |= ((v | (0 - (v >> 8))) & 0xFF) << n;
  }
  return r;
}
template <typename P>
QOR_PIXEL_INLINE P SubtractBytesExact(P d, P s) {
  P r = {};
  for (int n = 0; n < 32; n += 8) {
    P t = ((d >> n) & 0xFF) + 256 - ((s >> n) & 0xFF);  // 256 and up when d > s
    r |= (t & 0xFF & (0 - (t >> 8))) << n;
  }
  return r;
}

// Two neighbouring 16-bit pixels as one word, the left one in the low half.
// The right pixel's lowest blue bit is a guard of the left pixel's red, so
// the pair does not equal two single pixels; see the blend mode 2 and 3
// pair rows.
QOR_PIXEL_INLINE uint32_t BlendPairAdd16(uint32_t d, uint32_t s) {
  uint64_t sum64 = static_cast<uint64_t>(d & 0xF7DEF7DF) + (s & 0xF7DEF7DF);
  uint32_t sum = static_cast<uint32_t>(sum64);
  uint32_t carryOut = static_cast<uint32_t>(sum64 >> 32);
  uint32_t carries = sum & 0x08210820;
  return (carries - ((carries >> 5) | (carryOut << 27))) | sum;
}
QOR_PIXEL_INLINE uint32_t BlendPairSubtract16(uint32_t d, uint32_t s) {
  uint32_t minuend = d | 0x08210820;
  uint32_t subtrahend = s & 0xF7DEF7DF;
  uint32_t t = minuend - subtrahend;
  uint32_t free = t & 0x08210820;
  uint32_t top = subtrahend > minuend ? 0 : 0xF8000000;
  return ((free - (free >> 5)) | top) & t;
}

// ---------------------------------------------------------------------------
// One operation per blend mode. Each takes the destination pixel, the
// classed sample (never kPixelSkip) and the blend-graph factor, and returns
// the new destination pixel.

// Mode 0: the source colour, weighed by the blend-graph factor and the alpha
// where they are in play.
template <int Kind>
QOR_PIXEL_INLINE uint32_t BlendCopy(const PixelKernel& k, uint32_t d, const SourceSample& s, uint32_t factor) {
  uint32_t out = d & PixelLayout<Kind>::kSpare;
  if (!k.graph && s.cls == kPixelPlain) {
    if (k.white) return s.color;
    QOR_EACH_CHANNEL out |= PlaceChannel<Kind>(Tinted(k, i, Channel<Kind>(s.color, i)), i);
    return out;
  }
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    int32_t v = MoveToward(Channel<Kind>(d, i), Tinted(k, i, Channel<Kind>(s.color, i)), w.w, w.shift);
    out |= PlaceChannel<Kind>(v, i);
  }
  return out;
}

// Mode 1's half rule on whole pixels: (s >> 1) + (d >> 1) with the bit each
// channel shifts into the one below cleared.
template <int Kind, typename P>
QOR_PIXEL_INLINE P HalfRule(P s, P d) {
  constexpr uint32_t mask = Kind == 0 ? 0x7BEF : 0x7F7F7F;
  return ((s >> 1) & mask) + ((d >> 1) & mask);
}

// Mode 1: toward the source by the parameter (1..254). The half and cube
// rules are set only for plain pixels without a blend graph.
template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendAlpha(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  if (k.halfRule) return HalfRule<Kind>(s.color, d);
  P out = d & PixelLayout<Kind>::kSpare;
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    auto dv = Channel<Kind>(d, i);
    auto sv = Tinted(k, i, Channel<Kind>(s.color, i));
    auto v = k.cubeRule ? CubeEntry(k, sv, dv) : MoveByParameter<Kind>(k, dv, sv, w);
    out |= PlaceChannel<Kind>(v, i);
  }
  return out;
}

// Modes 2 and 3: the colour added or taken away, per channel. In 16-bit the
// parameter always comes last through the product table, and without a
// blend graph the alpha is applied before the tint.
template <int Kind, typename P>
QOR_PIXEL_INLINE P Contribution(const PixelKernel& k, const BasicSample<P>& s, uint32_t factor) {
  P out = {};
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    auto c = Channel<Kind>(s.color, i);
    if constexpr (kIsWide<P>) {
      out |= PlaceChannel<Kind>(ParamProduct(k, c), i);
    } else {
      int32_t v;
      if (w.shift == 0) {
        v = ParamProduct(k, Tinted(k, i, c));
      } else if constexpr (Kind == 1) {
        v = static_cast<int32_t>((static_cast<uint64_t>(Tinted(k, i, c)) * w.w * static_cast<uint32_t>(k.param)) >>
                                 (w.shift + 8));
      } else if (!k.graph) {
        v = ParamProduct(k, Tinted(k, i, static_cast<int32_t>((static_cast<uint32_t>(c) * s.alpha) >> 8)));
      } else {
        v = ParamProduct(k, static_cast<int32_t>((static_cast<uint64_t>(Tinted(k, i, c)) * w.w) >> w.shift));
      }
      out |= PlaceChannel<Kind>(v, i);
    }
  }
  return out;
}

template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendAdd(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  if constexpr (Kind == 1) {
    if (k.exactForm) return AddBytesExact(d, s.color);
    return AddPacked32(d, Contribution<Kind>(k, s, factor));
  } else {
    return AddPacked16(d, Contribution<Kind>(k, s, factor), true);
  }
}

template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendSubtract(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  if constexpr (Kind == 1) {
    if (k.exactForm) return SubtractBytesExact(d, s.color);
    return SubtractPacked32(d, Contribution<Kind>(k, s, factor));
  } else {
    return SubtractPacked16(d, Contribution<Kind>(k, s, factor));
  }
}

// Mode 4: the product of source and destination, the factor and the alpha
// scaling the source; no parameter.
template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendMultiply(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  P out = d & PixelLayout<Kind>::kSpare;
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    auto product = Tinted(k, i, Channel<Kind>(s.color, i)) * Channel<Kind>(d, i);  // at most 255 x 255
    if constexpr (!kIsWide<P>) {
      if (w.shift != 0) {
        uint64_t weighed = static_cast<uint64_t>(product) * w.w;
        out |= PlaceChannel<Kind>(static_cast<int32_t>(weighed >> (PixelLayout<Kind>::kBits[i] + w.shift)), i);
        continue;
      }
    }
    out |= PlaceChannel<Kind>(product >> PixelLayout<Kind>::kBits[i], i);
  }
  return out;
}

// Mode 10: toward the complement of the source (tinted after the
// complement) by the parameter.
template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendInverse(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  P out = d & PixelLayout<Kind>::kSpare;
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    auto v = Tinted(k, i, ChannelMax<Kind>(i) - Channel<Kind>(s.color, i));
    out |= PlaceChannel<Kind>(MoveByParameter<Kind>(k, Channel<Kind>(d, i), v, w), i);
  }
  return out;
}

// Mode 11: toward the product of source and destination by the parameter.
template <int Kind, typename P>
QOR_PIXEL_INLINE P BlendWeightedMultiply(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  P out = d & PixelLayout<Kind>::kSpare;
  PixelWeight w = WeightOf(k, s, factor);
  QOR_EACH_CHANNEL {
    auto dv = Channel<Kind>(d, i);
    auto sv = Tinted(k, i, Channel<Kind>(s.color, i));
    auto m = (sv * dv) >> PixelLayout<Kind>::kBits[i];
    if constexpr (!kIsWide<P>) {
      if (Kind == 0 && i == 1 && w.shift != 0 && k.white && !k.graph) {
        // 16-bit green of an alpha pixel keeps five more bits of its product.
        int64_t fine = static_cast<int64_t>((sv * dv) >> 1) - 32 * dv;
        out |= PlaceChannel<Kind>(dv + static_cast<int32_t>((fine * s.alpha * k.param) >> 21), i);
        continue;
      }
    }
    out |= PlaceChannel<Kind>(MoveByParameter<Kind>(k, dv, m, w), i);
  }
  return out;
}

template <int Kind, int Mode, typename P>
QOR_PIXEL_INLINE P BlendSample(const PixelKernel& k, P d, const BasicSample<P>& s, uint32_t factor) {
  if constexpr (Mode == kBlendNone) return BlendCopy<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendAlpha) return BlendAlpha<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendAdd) return BlendAdd<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendSubtract) return BlendSubtract<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendMultiply) return BlendMultiply<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendInverse) return BlendInverse<Kind>(k, d, s, factor);
  if constexpr (Mode == kBlendWeightedMultiply) return BlendWeightedMultiply<Kind>(k, d, s, factor);
  return d;
}

// Whether a draw may run the rules on WidePixels: a direct source, no
// tint, no blend graph (so every drawn pixel is plain and unweighted), a
// mode other than the copy, and not the 16-bit pair form (whose pairs are
// not single pixels).
QOR_PIXEL_INLINE bool WideRoadFits(const PixelKernel& k) {
  return k.source == kSourceDirect && k.white && !k.graph && k.mode != kBlendNone && !k.pairForm;
}

// Draws `count` (a multiple of kWideLanes) pixels of a direct source onto
// the destination, kWideLanes at a time; a keyed source pixel leaves its
// lane as it was.
template <int Kind, int Mode>
QOR_PIXEL_INLINE void DrawWideSpan(const PixelKernel& k, uint8_t* dst, const uint8_t* src, int32_t count) {
  constexpr int bytes = PixelLayout<Kind>::kBytes;
  const WidePixels key = WidePixels{} + k.key;
  for (int32_t x = 0; x < count; x += kWideLanes, dst += kWideLanes * bytes, src += kWideLanes * bytes) {
    WidePixels s, d;
    if constexpr (Kind == 0) {
      using Halves = uint16_t __attribute__((vector_size(16)));
      Halves sh, dh;
      std::memcpy(&sh, src, sizeof sh);
      std::memcpy(&dh, dst, sizeof dh);
      s = __builtin_convertvector(sh, WidePixels);
      d = __builtin_convertvector(dh, WidePixels);
    } else {
      std::memcpy(&s, src, sizeof s);
      std::memcpy(&d, dst, sizeof d);
    }
    WidePixels r = BlendSample<Kind, Mode>(k, d, BasicSample<WidePixels>{s, 255, kPixelPlain}, 0);
    if (k.keyed) {
      const WidePixels skip = (WidePixels)(s == key);
      r = (d & skip) | (r & ~skip);
    }
    if constexpr (Kind == 0) {
      using Halves = uint16_t __attribute__((vector_size(16)));
      Halves rh = __builtin_convertvector(r, Halves);
      std::memcpy(dst, &rh, sizeof rh);
    } else {
      std::memcpy(dst, &r, sizeof r);
    }
  }
}

// Fetch, class, blend and write one pixel; `graphByte` is the blend graph's
// byte at the source position (read only when the kernel has a graph).
template <int Kind, int Source, int Mode>
QOR_PIXEL_INLINE void DrawKernelPixel(const PixelKernel& k, uint8_t* dst, const uint8_t* cell, uint32_t graphByte) {
  SourceSample s = FetchSample<Kind, Source>(k, cell);
  if (s.cls == kPixelSkip) return;
  uint32_t factor = k.graph ? k.threshold[graphByte] : 0;
  PixelLayout<Kind>::Store(dst, BlendSample<Kind, Mode>(k, PixelLayout<Kind>::Load(dst), s, factor));
}

// Draws `count` gathered source pixels of a direct source (`strip`, packed)
// onto neighbouring destination pixels on the wide road (WideRoadFits), the
// tail pixel by pixel. Built for machines with AVX2 and without.
void DrawWideStrip(const PixelKernel& k, uint8_t* dst, const uint8_t* strip, int32_t count);

// ---------------------------------------------------------------------------
// Dispatch: one call of fn.template operator()<Kind, Source, Mode>() with the
// kernel's values as constants.

template <int Kind, int Source, class Fn>
inline void DispatchKernelMode(const PixelKernel& k, Fn& fn) {
  switch (k.mode) {
    case kBlendNone: fn.template operator()<Kind, Source, kBlendNone>(); break;
    case kBlendAlpha: fn.template operator()<Kind, Source, kBlendAlpha>(); break;
    case kBlendAdd: fn.template operator()<Kind, Source, kBlendAdd>(); break;
    case kBlendSubtract: fn.template operator()<Kind, Source, kBlendSubtract>(); break;
    case kBlendMultiply: fn.template operator()<Kind, Source, kBlendMultiply>(); break;
    case kBlendInverse: fn.template operator()<Kind, Source, kBlendInverse>(); break;
    case kBlendWeightedMultiply: fn.template operator()<Kind, Source, kBlendWeightedMultiply>(); break;
    default: break;
  }
}

template <int Kind, class Fn>
inline void DispatchKernelSource(const PixelKernel& k, Fn& fn) {
  switch (k.source) {
    case kSourcePalette: DispatchKernelMode<Kind, kSourcePalette>(k, fn); break;
    case kSourceDirect: DispatchKernelMode<Kind, kSourceDirect>(k, fn); break;
    case kSourceAlpha: DispatchKernelMode<Kind, kSourceAlpha>(k, fn); break;
    default: break;
  }
}

// Image sources (palettised, direct, alpha); a flat colour dispatches with
// DispatchFlatKernel.
template <class Fn>
inline void DispatchPixelKernel(const PixelKernel& k, Fn&& fn) {
  if (k.kind == 0) DispatchKernelSource<0>(k, fn);
  else if (k.kind == 1) DispatchKernelSource<1>(k, fn);
}

// The wide road (WideRoadFits): fn.template operator()<Kind, Mode>() for
// the kernel's layout and mode. Forced inline all the way, so that a caller
// built for several machines (target_clones) gets every loop in each build:
// give the lambda __attribute__((always_inline)) too.
template <class Fn>
QOR_PIXEL_INLINE void DispatchWideKernel(const PixelKernel& k, Fn&& fn) {
  const bool narrow = k.kind == 0;
  switch (k.mode) {
    case kBlendAlpha:
      narrow ? fn.template operator()<0, kBlendAlpha>() : fn.template operator()<1, kBlendAlpha>();
      break;
    case kBlendAdd:
      narrow ? fn.template operator()<0, kBlendAdd>() : fn.template operator()<1, kBlendAdd>();
      break;
    case kBlendSubtract:
      narrow ? fn.template operator()<0, kBlendSubtract>() : fn.template operator()<1, kBlendSubtract>();
      break;
    case kBlendMultiply:
      narrow ? fn.template operator()<0, kBlendMultiply>() : fn.template operator()<1, kBlendMultiply>();
      break;
    case kBlendInverse:
      narrow ? fn.template operator()<0, kBlendInverse>() : fn.template operator()<1, kBlendInverse>();
      break;
    case kBlendWeightedMultiply:
      narrow ? fn.template operator()<0, kBlendWeightedMultiply>() : fn.template operator()<1, kBlendWeightedMultiply>();
      break;
    default:
      break;
  }
}

template <class Fn>
inline void DispatchFlatKernel(const PixelKernel& k, Fn&& fn) {
  if (k.kind == 0) DispatchKernelMode<0, kSourceFlat>(k, fn);
  else if (k.kind == 1) DispatchKernelMode<1, kSourceFlat>(k, fn);
}

}  // namespace qor
