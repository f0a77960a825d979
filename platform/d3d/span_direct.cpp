// The direct road: texels moved from texture rows to target rows through
// the one stage, the alpha test and the blend, eight pixels at a time.
#include "platform/d3d/span_direct.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/d3d/span_lanes.h"
#include "platform/d3d/span_runs.h"
#include "platform/kernel/row_clones.h"

namespace plat::d3d {
namespace {

int64_t g_directPixels = 0;

// How far every corner's texel position must stay from a texel edge. The
// other roads interpolate a coordinate of at most the texture's side (8192
// texels) from exact edge functions, so they are off by a few units in the
// last place of 8192, below 2^-37 texels: far inside this margin.
constexpr double kTexelMargin = 1.0 / (1 << 20);

// Whether one texture axis follows one pixel axis one for one over the
// whole triangle. The texel position (coordinate x size) is affine over the
// triangle and equals coord[k] * size at corner k (position pos[k] in
// 1/kSubPixel steps), so position minus +-pixel is affine too: when it lies
// strictly between two whole numbers at all three corners, it does so at
// every pixel centre the triangle covers, and each of them reads texel
// +-pixel + origin, whatever the rounding of the interpolation. Texel
// positions within 0..size keep every texel inside the texture, where no
// addressing mode applies.
bool AxisFollows(const double coord[3], int32_t size, const int64_t pos[3], int64_t* step, int64_t* origin) {
  double at[3];
  for (int k = 0; k < 3; ++k) {
    at[k] = coord[k] * size;
    if (!(at[k] >= 0.0 && at[k] <= static_cast<double>(size))) return false;
  }
  for (const int64_t s : {int64_t{1}, int64_t{-1}}) {
    double offset[3];
    for (int k = 0; k < 3; ++k) offset[k] = at[k] - static_cast<double>(s * pos[k]) / kSubPixel;
    const double base = static_cast<double>(FloorToInt(offset[0]));  // |offset| < 2^15: no library call
    bool between = true;
    for (int k = 0; k < 3; ++k) between = between && offset[k] - base >= kTexelMargin && offset[k] - base <= 1.0 - kTexelMargin;
    if (between) {
      *step = s;
      *origin = static_cast<int64_t>(base);
      return true;
    }
  }
  return false;
}

// A stage argument for one channel: the texel's channel, or (texel -1) a
// value every pixel shares.
struct DirectOperand {
  int32_t texel;
  int32_t value;
};

bool OperandOf(uint32_t arg, int channel, const Rgba inputs[5], DirectOperand* out) {
  const uint32_t select = arg & kTaSelectMask;
  if (select > kTaSpecular) return false;
  const int from = (arg & kTaAlphaReplicate) ? 3 : channel;
  if (select == kTaTexture) {
    if (arg & kTaComplement) return false;
    *out = {from, 0};
    return true;
  }
  const int32_t v = inputs[select].c[from];
  *out = {-1, (arg & kTaComplement) ? 255 - v : v};
  return true;
}

// The operations a picture's draw sets; the others take the chunk road.
bool Combine(uint32_t op, const DirectOperand& a1, const DirectOperand& a2, DirectChannel* out) {
  switch (op) {
    case kTopSelectArg1:
    case kTopSelectArg2: {
      const DirectOperand& a = op == kTopSelectArg1 ? a1 : a2;
      *out = a.texel >= 0 ? DirectChannel{a.texel, 255, 0} : DirectChannel{-1, 0, a.value};
      return true;
    }
    case kTopModulate:
      if (a1.texel >= 0 && a2.texel >= 0) return false;
      if (a1.texel < 0 && a2.texel < 0) {
        *out = {-1, 0, MulChannel(a1.value, a2.value)};
      } else {
        *out = a1.texel >= 0 ? DirectChannel{a1.texel, a2.value, 0} : DirectChannel{a2.texel, a1.value, 0};
      }
      return true;
    default:
      return false;
  }
}

// Everything the pixels of one draw share, copied out of the set-up into
// one local record: the target's stores may alias anything reached through
// a pointer, which would make every value be read again for each vector.
struct LaneRules {
  // Widening of the texel's and the target's channels (WidenStep by row).
  int32_t texelShift[4], texelMask[4], texelMul[4], texelDown[4], texelSet[4];
  int32_t pixelShift[4], pixelMask[4], pixelMul[4], pixelDown[4], pixelSet[4];
  // Each result channel: the texel channel it reads (-1: the constant),
  // and the factor it is multiplied by.
  int32_t from[4], factor[4], constant[4];
  // Narrowing into the target.
  int32_t drop[4], up[4], spare;
  bool keyed, alphaTest, blend;
  int32_t key, alphaRef;
  uint32_t alphaFunc, srcBlend, destBlend;
};

LaneRules MakeLaneRules(const RasterSetup& s, const DirectPlan& p) {
  LaneRules r = {};
  const StageSetup& st = s.stages[0];
  for (int i = 0; i < 4; ++i) {
    const WidenStep& t = kWidenSteps[st.codec.widenRow[i]];
    r.texelShift[i] = st.codec.shift[i];
    r.texelMask[i] = static_cast<int32_t>(st.codec.fieldMask[i]);
    r.texelMul[i] = t.mul, r.texelDown[i] = t.shift, r.texelSet[i] = t.set;
    const WidenStep& d = kWidenSteps[s.targetCodec.widenRow[i]];
    r.pixelShift[i] = s.targetCodec.shift[i];
    r.pixelMask[i] = static_cast<int32_t>(s.targetCodec.fieldMask[i]);
    r.pixelMul[i] = d.mul, r.pixelDown[i] = d.shift, r.pixelSet[i] = d.set;
    r.from[i] = p.channel[i].texel;
    r.factor[i] = p.channel[i].factor;
    r.constant[i] = p.channel[i].constant;
    r.drop[i] = 8 - s.targetCodec.width[i];
    r.up[i] = s.targetCodec.shift[i];
  }
  r.spare = static_cast<int32_t>(s.targetCodec.spareBits);
  r.keyed = s.colorKey && st.texture->hasColorKey;
  r.key = static_cast<int32_t>(st.texture->colorKey);
  r.alphaTest = s.alphaTest;
  r.alphaFunc = s.alphaFunc;
  r.alphaRef = s.alphaRef;
  r.blend = s.alphaBlend;
  r.srcBlend = s.srcBlend;
  r.destBlend = s.destBlend;
  return r;
}

D3D_PIXEL_INLINE Ints Widen(Ints raw, int32_t shift, int32_t mask, int32_t mul, int32_t down, int32_t set) {
  return ((((raw >> shift) & mask) * mul) >> down) | set;
}

// Eight pixels: `raw` their texels, `old` the target's pixels under them,
// `keep` the lanes still drawn. Returns the lanes drawn; *out holds the
// new pixels there and the old ones elsewhere.
template <bool kBlend, bool kAlphaTest, bool kTexelAlpha>
D3D_PIXEL_INLINE Ints ShadeLanes(const LaneRules& r, Ints raw, Ints old, Ints keep, Ints* out) {
  if (r.keyed) keep &= raw != Splat(r.key);
  constexpr int kTexelChannels = kTexelAlpha ? 4 : 3;
  Ints texel[4] = {};
#pragma GCC unroll 4
  for (int i = 0; i < kTexelChannels; ++i) {
    texel[i] = Widen(raw, r.texelShift[i], r.texelMask[i], r.texelMul[i], r.texelDown[i], r.texelSet[i]);
  }
  Ints c[4];
#pragma GCC unroll 4
  for (int i = 0; i < 4; ++i) {
    if (r.from[i] < 0) {
      c[i] = Splat(r.constant[i]);
    } else {
      const Ints t = r.from[i] == 3 ? texel[3] : texel[i];
      c[i] = r.factor[i] == 255 ? t : Mul(t, Splat(r.factor[i]));
    }
  }
  if (kAlphaTest) keep &= PassLanes(r.alphaFunc, c[3], Splat(r.alphaRef));
  if (kBlend) {
    Ints d[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
      d[i] = Widen(old, r.pixelShift[i], r.pixelMask[i], r.pixelMul[i], r.pixelDown[i], r.pixelSet[i]);
    }
    Ints blended[4];
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
      blended[i] = Min(Mul(c[i], BlendFactorLanes(r.srcBlend, i, c[i], c[3], d[i], d[3])) +
                           Mul(d[i], BlendFactorLanes(r.destBlend, i, c[i], c[3], d[i], d[3])),
                       Splat(255));
    }
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) c[i] = blended[i];
  }
  Ints pixel = Splat(r.spare);
#pragma GCC unroll 4
  for (int i = 0; i < 4; ++i) {
    if (r.drop[i] < 8) pixel |= (c[i] >> r.drop[i]) << r.up[i];
  }
  *out = (pixel & keep) | (old & ~keep);
  return keep;
}

// Eight pixels of `bytes` bytes from p.
D3D_PIXEL_INLINE Ints LoadPixels(const uint8_t* p, int bytes) {
  if (bytes == 2) {
    HalfInts h;
    std::memcpy(&h, p, sizeof h);
    return __builtin_convertvector(h, Ints);
  }
  return LoadInts(reinterpret_cast<const int32_t*>(p));
}

D3D_PIXEL_INLINE void StorePixels(uint8_t* p, int bytes, Ints v) {
  if (bytes == 2) {
    const HalfInts h = __builtin_convertvector(v, HalfInts);
    std::memcpy(p, &h, sizeof h);
  } else {
    std::memcpy(p, &v, sizeof v);
  }
}

// The texels of eight pixels whose first reads column `column` of `row`,
// going left when the axis is mirrored.
D3D_PIXEL_INLINE Ints LoadTexels(const uint8_t* row, int64_t column, int64_t step, int bytes) {
  if (step > 0) return LoadPixels(row + column * bytes, bytes);
  const Ints backward = LoadPixels(row + (column - kIntLanes + 1) * bytes, bytes);
  return __builtin_shufflevector(backward, backward, 7, 6, 5, 4, 3, 2, 1, 0);
}

// A run shorter than eight pixels with no room for a whole vector around
// it (a texture or target narrower than eight): its pixels one by one.
template <bool kBlend, bool kAlphaTest, bool kTexelAlpha>
D3D_PIXEL_INLINE Ints ShadeShortRun(const LaneRules& r, const uint8_t* texels, int64_t column, int64_t step,
                                    int texelBytes, uint8_t* dst, int pixelBytes, int n) {
  alignas(32) int32_t raw[kIntLanes] = {};
  alignas(32) int32_t old[kIntLanes] = {};
  for (int i = 0; i < n; ++i) {
    raw[i] = static_cast<int32_t>(LoadRaw(texels + (column + step * i) * texelBytes, texelBytes));
    old[i] = static_cast<int32_t>(LoadRaw(dst + i * pixelBytes, pixelBytes));
  }
  const Ints lane = {0, 1, 2, 3, 4, 5, 6, 7};
  Ints out;
  const Ints keep = ShadeLanes<kBlend, kAlphaTest, kTexelAlpha>(r, LoadInts(raw), LoadInts(old), lane < n, &out);
  for (int i = 0; i < n; ++i) StoreRaw(dst + i * pixelBytes, pixelBytes, static_cast<uint32_t>(out[i]));
  return keep;
}

template <bool kBlend, bool kAlphaTest, bool kTexelAlpha>
D3D_PIXEL_INLINE int64_t DirectRowsOf(const RasterSetup& s, const DirectPlan& p, const LaneRules& r, const SpanRows& rows) {
  const SurfaceView& texture = s.stages[0].texture->view;
  const int texelBytes = s.stages[0].codec.bytes, pixelBytes = s.targetCodec.bytes;
  const Ints lane = {0, 1, 2, 3, 4, 5, 6, 7};
  Ints drawn = {};
  RunWalk walk;
  StartRunWalk(rows, &walk);
  for (int32_t y = rows.top; y <= rows.bottom; ++y) {
    int64_t lo = 0, hi = 0;
    if (WalkRun(walk, &lo, &hi)) {
      const int64_t x = rows.left + lo, n = hi - lo + 1;
      uint8_t* dst = s.target.bits + static_cast<int64_t>(y) * s.target.pitch + x * pixelBytes;
      const uint8_t* texels = texture.bits + (p.rowStep * y + p.row0) * texture.pitch;
      const int64_t column = p.columnStep * x + p.column0;
      // Whole vectors only: a run's last pixels are shaded in a window of
      // eight that ends with the run (or, for a run shorter than eight,
      // reaches past it on the row and the texel row); the window's lanes
      // outside the pixels still to be shaded write back what they read.
      // A copy of a varying length would go through memory and stall.
      auto fits = [&](int64_t at) {
        const int64_t first = column + p.columnStep * at, last = first + p.columnStep * (kIntLanes - 1);
        return x + at >= 0 && x + at + kIntLanes <= s.target.width && std::min(first, last) >= 0 &&
               std::max(first, last) < texture.width;
      };
      for (int64_t i = 0; i < n; i += kIntLanes) {
        int64_t at = i;
        if (n - i < kIntLanes) {
          if (n >= kIntLanes) {
            at = n - kIntLanes;
          } else if (!fits(at)) {
            at = n - kIntLanes;
            if (!fits(at)) {
              drawn -= ShadeShortRun<kBlend, kAlphaTest, kTexelAlpha>(r, texels, column, p.columnStep, texelBytes, dst, pixelBytes, static_cast<int>(n));
              break;
            }
          }
        }
        const Ints offset = lane + static_cast<int32_t>(at);
        const Ints keep = (offset >= static_cast<int32_t>(i)) & (offset < static_cast<int32_t>(n));
        const Ints raw = LoadTexels(texels, column + p.columnStep * at, p.columnStep, texelBytes);
        const Ints old = LoadPixels(dst + at * pixelBytes, pixelBytes);
        Ints out;
        drawn -= ShadeLanes<kBlend, kAlphaTest, kTexelAlpha>(r, raw, old, keep, &out);
        StorePixels(dst + at * pixelBytes, pixelBytes, out);
      }
    }
    NextWalkRow(&walk);
  }
  int64_t written = 0;
  for (int i = 0; i < kIntLanes; ++i) written += drawn[i];
  return written;
}

// The row loop for the shape of the draw: whether it blends, tests alpha
// and reads the texel's alpha, each fixed at compile time.
PLAT_ROW_CLONES int64_t DirectRows(const RasterSetup& s, const DirectPlan& p, const SpanRows& rows) {
  const LaneRules r = MakeLaneRules(s, p);
  const bool texelAlpha = r.from[0] == 3 || r.from[1] == 3 || r.from[2] == 3 || r.from[3] == 3;
  switch ((s.alphaBlend ? 4 : 0) | (s.alphaTest ? 2 : 0) | (texelAlpha ? 1 : 0)) {
    case 0: return DirectRowsOf<false, false, false>(s, p, r, rows);
    case 1: return DirectRowsOf<false, false, true>(s, p, r, rows);
    case 2: return DirectRowsOf<false, true, false>(s, p, r, rows);
    case 3: return DirectRowsOf<false, true, true>(s, p, r, rows);
    case 4: return DirectRowsOf<true, false, false>(s, p, r, rows);
    case 5: return DirectRowsOf<true, false, true>(s, p, r, rows);
    case 6: return DirectRowsOf<true, true, false>(s, p, r, rows);
    default: return DirectRowsOf<true, true, true>(s, p, r, rows);
  }
}

}  // namespace

bool PlanDirectRoad(const RasterSetup& s, const TriangleShading& t, const SpanRows& rows, DirectPlan* plan) {
  if (s.stageCount != 1 || s.gouraud || s.specularAdd || s.depth != nullptr) return false;
  const StageSetup& st = s.stages[0];
  if (!st.samples || st.texture == nullptr) return false;
  if ((t.minify[0] ? st.minFilter : st.magFilter) == kFilterLinear) return false;
  const uint32_t set = st.texCoordIndex < kMaxTexCoordSets ? st.texCoordIndex : 0;
  const double u[3] = {t.v[0]->tex[set][0], t.v[1]->tex[set][0], t.v[2]->tex[set][0]};
  const double v[3] = {t.v[0]->tex[set][1], t.v[1]->tex[set][1], t.v[2]->tex[set][1]};
  if (!AxisFollows(u, st.texture->view.width, rows.vertexX, &plan->columnStep, &plan->column0) ||
      !AxisFollows(v, st.texture->view.height, rows.vertexY, &plan->rowStep, &plan->row0)) {
    return false;
  }
  // What stage 0 reads besides the texel: the current colour is still the
  // diffuse one.
  Rgba inputs[5];
  inputs[kTaDiffuse] = t.flatDiffuse;
  inputs[kTaCurrent] = t.flatDiffuse;
  inputs[kTaTexture] = kOpaqueWhite;  // never read: texture operands name the texel
  inputs[kTaTFactor] = s.textureFactor;
  inputs[kTaSpecular] = t.flatSpecular;
  for (int i = 0; i < 3; ++i) {
    DirectOperand a1, a2;
    if (!OperandOf(st.colorArg1, i, inputs, &a1) || !OperandOf(st.colorArg2, i, inputs, &a2) ||
        !Combine(st.colorOp, a1, a2, &plan->channel[i])) {
      return false;
    }
  }
  if (st.alphaOp == kTopDisable) {
    plan->channel[3] = {-1, 0, t.flatDiffuse.c[3]};
  } else {
    DirectOperand a1, a2;
    if (!OperandOf(st.alphaArg1, 3, inputs, &a1) || !OperandOf(st.alphaArg2, 3, inputs, &a2) ||
        !Combine(st.alphaOp, a1, a2, &plan->channel[3])) {
      return false;
    }
  }
  return true;
}

int64_t ShadeDirectRows(const RasterSetup& setup, const DirectPlan& plan, const SpanRows& rows) {
  const int64_t written = DirectRows(setup, plan, rows);
  __atomic_fetch_add(&g_directPixels, written, __ATOMIC_RELAXED);
  return written;
}

int64_t DirectRoadPixels() { return __atomic_load_n(&g_directPixels, __ATOMIC_RELAXED); }

}  // namespace plat::d3d
