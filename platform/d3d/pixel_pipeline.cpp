// Texture sampling, texture stages, alpha test, depth, blending and the
// store of one pixel.
#include "platform/d3d/pixel_pipeline.h"

#include <algorithm>
#include <cmath>

// The per-pixel helpers are forced inline: a call per pixel costs more
// than the work.
#define D3D_PIXEL_INLINE inline __attribute__((always_inline))

namespace plat::d3d {
namespace {

constexpr Rgba kOpaqueWhite = {{255, 255, 255, 255}};
constexpr Rgba kKeyedOut = {{0, 0, 0, 0}};
// Texel positions past this many texture sides are treated as 0: far
// beyond any repeat, and still safe to convert to an integer.
constexpr double kTexelLimit = 1073741824.0;

D3D_PIXEL_INLINE int32_t Saturate(int32_t v) { return std::clamp(v, 0, 255); }

// Which texel of a row or column of `size` texels the index `i` reads;
// false for a border texel.
D3D_PIXEL_INLINE bool AddressTexel(int64_t i, int32_t size, uint32_t mode, int32_t* texel) {
  if (i >= 0 && i < size) {
    *texel = static_cast<int32_t>(i);
    return true;
  }
  switch (mode) {
    case kAddressWrap:
      *texel = static_cast<int32_t>(((i % size) + size) % size);
      return true;
    case kAddressMirror: {
      int64_t period = int64_t{2} * size;
      int64_t m = ((i % period) + period) % period;
      *texel = static_cast<int32_t>(m < size ? m : period - 1 - m);
      return true;
    }
    case kAddressBorder:
      return false;
    default:  // clamp
      *texel = i < 0 ? 0 : size - 1;
      return true;
  }
}

// The texel at (tx, ty); false when colour keying removes it.
D3D_PIXEL_INLINE bool FetchTexel(const RasterSetup& setup, const StageSetup& stage, int64_t tx, int64_t ty, Rgba* out) {
  const SurfaceView& view = stage.texture->view;
  int32_t x = 0;
  int32_t y = 0;
  if (!AddressTexel(tx, view.width, stage.addressU, &x) || !AddressTexel(ty, view.height, stage.addressV, &y)) {
    *out = stage.border;
    return true;
  }
  uint32_t raw = LoadRaw(view.bits + static_cast<int64_t>(y) * view.pitch + static_cast<int64_t>(x) * stage.codec.bytes,
                         stage.codec.bytes);
  if (setup.colorKey && stage.texture->hasColorKey && raw == stage.texture->colorKey) return false;
  *out = DecodePixel(stage.codec, raw);
  return true;
}

// floor() for the texel range, without a library call per pixel.
D3D_PIXEL_INLINE int64_t FloorToInt(double v) {
  int64_t i = static_cast<int64_t>(v);
  return i - (v < static_cast<double>(i) ? 1 : 0);
}

D3D_PIXEL_INLINE double TexelCoordinate(double t, int32_t size) {
  double s = t * size;
  return std::fabs(s) < kTexelLimit ? s : 0.0;
}

D3D_PIXEL_INLINE int32_t Lerp(int32_t a, int32_t b, int32_t f) { return (a * f + b * (255 - f) + 127) / 255; }

// The values a stage argument selects, indexed by its low bits (diffuse,
// current, texture, factor, specular; the device maps other values to
// current).
struct ArgInputs {
  Rgba v[5];
  const Rgba& diffuse() const { return v[kTaDiffuse]; }
  const Rgba& texel() const { return v[kTaTexture]; }
  const Rgba& factor() const { return v[kTaTFactor]; }
  const Rgba& current() const { return v[kTaCurrent]; }
};

D3D_PIXEL_INLINE Rgba SelectArg(uint32_t arg, const ArgInputs& in) {
  Rgba v = in.v[arg & kTaSelectMask];
  if (arg & (kTaComplement | kTaAlphaReplicate)) {
    if (arg & kTaComplement) {
      for (int32_t& c : v.c) c = 255 - c;
    }
    if (arg & kTaAlphaReplicate) v.c[0] = v.c[1] = v.c[2] = v.c[3];
  }
  return v;
}

D3D_PIXEL_INLINE int32_t ApplyOp(uint32_t op, int32_t a1, int32_t a2, const ArgInputs& in) {
  switch (op) {
    case kTopSelectArg2: return a2;
    case kTopModulate: return MulChannel(a1, a2);
    case kTopModulate2x: return std::min(255, (2 * a1 * a2 + 127) / 255);
    case kTopModulate4x: return std::min(255, (4 * a1 * a2 + 127) / 255);
    case kTopAdd: return std::min(255, a1 + a2);
    case kTopAddSigned: return Saturate(a1 + a2 - 128);
    case kTopAddSigned2x: return Saturate((a1 + a2 - 128) * 2);
    case kTopSubtract: return std::max(0, a1 - a2);
    case kTopAddSmooth: return std::min(255, a1 + MulChannel(a2, 255 - a1));
    case kTopBlendDiffuseAlpha: return Lerp(a1, a2, in.diffuse().c[3]);
    case kTopBlendTextureAlpha: return Lerp(a1, a2, in.texel().c[3]);
    case kTopBlendFactorAlpha: return Lerp(a1, a2, in.factor().c[3]);
    case kTopBlendTextureAlphaPm: return std::min(255, a1 + MulChannel(a2, 255 - in.texel().c[3]));
    case kTopBlendCurrentAlpha: return Lerp(a1, a2, in.current().c[3]);
    default: return a1;  // SELECTARG1, and operations the device does not know
  }
}

D3D_PIXEL_INLINE bool Passes(uint32_t func, int32_t value, int32_t reference) {
  switch (func) {
    case kCmpNever: return false;
    case kCmpLess: return value < reference;
    case kCmpEqual: return value == reference;
    case kCmpLessEqual: return value <= reference;
    case kCmpGreater: return value > reference;
    case kCmpNotEqual: return value != reference;
    case kCmpGreaterEqual: return value >= reference;
    default: return true;
  }
}

D3D_PIXEL_INLINE int32_t BlendFactor(uint32_t factor, int i, const Rgba& src, const Rgba& dst) {
  switch (factor) {
    case kBlendZero: return 0;
    case kBlendOne: return 255;
    case kBlendSrcColor: return src.c[i];
    case kBlendInvSrcColor: return 255 - src.c[i];
    case kBlendSrcAlpha: return src.c[3];
    case kBlendInvSrcAlpha: return 255 - src.c[3];
    case kBlendDestAlpha: return dst.c[3];
    case kBlendInvDestAlpha: return 255 - dst.c[3];
    case kBlendDestColor: return dst.c[i];
    case kBlendInvDestColor: return 255 - dst.c[i];
    case kBlendSrcAlphaSat: return i == 3 ? 255 : std::min(src.c[3], 255 - dst.c[3]);
    default: return 0;
  }
}

D3D_PIXEL_INLINE double Mix(const TriangleShading& t, double e0, double e1, double e2, double q0, double q1, double q2) {
  return (e0 * q0 + e1 * q1 + e2 * q2) / t.area;
}

D3D_PIXEL_INLINE Rgba MixColor(const TriangleShading& t, double e0, double e1, double e2, bool specular) {
  Rgba out;
  for (int i = 0; i < 4; ++i) {
    const double* c0 = specular ? t.v[0]->specular : t.v[0]->diffuse;
    const double* c1 = specular ? t.v[1]->specular : t.v[1]->diffuse;
    const double* c2 = specular ? t.v[2]->specular : t.v[2]->diffuse;
    double m = Mix(t, e0, e1, e2, c0[i], c1[i], c2[i]);
    out.c[i] = m <= 0.0 ? 0 : m >= 255.0 ? 255 : static_cast<int32_t>(std::floor(m + 0.5));
  }
  return out;
}

}  // namespace

D3D_PIXEL_INLINE bool SampleStage(const RasterSetup& setup, const StageSetup& stage, bool minify, double u, double v, Rgba* out) {
  if (stage.texture == nullptr) {
    *out = kOpaqueWhite;
    return true;
  }
  const int32_t w = stage.texture->view.width;
  const int32_t h = stage.texture->view.height;
  double tu = TexelCoordinate(u, w);
  double tv = TexelCoordinate(v, h);
  uint32_t filter = minify ? stage.minFilter : stage.magFilter;
  if (filter != kFilterLinear) {
    return FetchTexel(setup, stage, FloorToInt(tu), FloorToInt(tv), out);
  }
  // Linear: the four texels around the sample point, whose centres lie at
  // half texels, weighed in 1/256 steps; keyed texels weigh in as clear black.
  double fx = tu - 0.5;
  double fy = tv - 0.5;
  double x0 = static_cast<double>(FloorToInt(fx));
  double y0 = static_cast<double>(FloorToInt(fy));
  int32_t wx = static_cast<int32_t>((fx - x0) * 256.0);
  int32_t wy = static_cast<int32_t>((fy - y0) * 256.0);
  const int32_t weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
  int64_t sums[4] = {0, 0, 0, 0};
  int kept = 0;
  for (int k = 0; k < 4; ++k) {
    Rgba texel;
    if (FetchTexel(setup, stage, static_cast<int64_t>(x0) + (k & 1), static_cast<int64_t>(y0) + (k >> 1), &texel)) {
      ++kept;
    } else {
      texel = kKeyedOut;
    }
    for (int i = 0; i < 4; ++i) sums[i] += static_cast<int64_t>(texel.c[i]) * weights[k];
  }
  if (kept == 0) return false;
  for (int i = 0; i < 4; ++i) out->c[i] = static_cast<int32_t>((sums[i] + 32768) >> 16);
  return true;
}

namespace {

D3D_PIXEL_INLINE int ShadePixel(const RasterSetup& s, const TriangleShading& t, int32_t x, int32_t y, double e0,
                                double e1, double e2) {
  ArgInputs in;
  in.v[kTaDiffuse] = s.gouraud ? MixColor(t, e0, e1, e2, false) : t.flatDiffuse;
  in.v[kTaSpecular] = s.gouraud ? MixColor(t, e0, e1, e2, true) : t.flatSpecular;
  in.v[kTaTFactor] = s.textureFactor;
  in.v[kTaCurrent] = in.v[kTaDiffuse];
  in.v[kTaTexture] = kOpaqueWhite;

  for (int32_t k = 0; k < s.stageCount; ++k) {
    const StageSetup& st = s.stages[k];
    if (st.samples) {
      uint32_t set = st.texCoordIndex < kMaxTexCoordSets ? st.texCoordIndex : 0;
      double u = Mix(t, e0, e1, e2, t.v[0]->tex[set][0], t.v[1]->tex[set][0], t.v[2]->tex[set][0]);
      double v = Mix(t, e0, e1, e2, t.v[0]->tex[set][1], t.v[1]->tex[set][1], t.v[2]->tex[set][1]);
      if (!SampleStage(s, st, t.minify[k], u, v, &in.v[kTaTexture])) return 0;
    } else {
      in.v[kTaTexture] = kOpaqueWhite;
    }
    Rgba next;
    Rgba c1 = SelectArg(st.colorArg1, in);
    Rgba c2 = SelectArg(st.colorArg2, in);
    for (int i = 0; i < 3; ++i) next.c[i] = ApplyOp(st.colorOp, c1.c[i], c2.c[i], in);
    if (st.alphaOp == kTopDisable) {
      next.c[3] = in.current().c[3];
    } else {
      next.c[3] = ApplyOp(st.alphaOp, SelectArg(st.alphaArg1, in).c[3], SelectArg(st.alphaArg2, in).c[3], in);
    }
    in.v[kTaCurrent] = next;
  }
  Rgba src = in.current();
  if (s.specularAdd) {
    for (int i = 0; i < 3; ++i) src.c[i] = std::min(255, src.c[i] + in.v[kTaSpecular].c[i]);
  }

  if (s.alphaTest && !Passes(s.alphaFunc, src.c[3], s.alphaRef)) return 0;

  if (s.depth != nullptr) {
    double z = Mix(t, e0, e1, e2, t.v[0]->z, t.v[1]->z, t.v[2]->z);
    int32_t depth = z <= 0.0 ? 0 : z >= 1.0 ? 65535 : static_cast<int32_t>(z * 65535.0 + 0.5);
    uint16_t* cell = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(s.depth->bits) +
                                                 static_cast<int64_t>(y) * s.depth->pitch) + x;
    if (s.depthTest && !Passes(s.depthFunc, depth, *cell)) return 0;
    if (s.depthWrite) *cell = static_cast<uint16_t>(depth);
  }

  uint8_t* dst = s.target.bits + static_cast<int64_t>(y) * s.target.pitch + static_cast<int64_t>(x) * s.targetCodec.bytes;
  if (s.alphaBlend) {
    Rgba d = DecodePixel(s.targetCodec, LoadRaw(dst, s.targetCodec.bytes));
    Rgba out;
    for (int i = 0; i < 4; ++i) {
      out.c[i] = std::min(255, MulChannel(src.c[i], BlendFactor(s.srcBlend, i, src, d)) +
                                   MulChannel(d.c[i], BlendFactor(s.destBlend, i, src, d)));
    }
    src = out;
  }
  StoreRaw(dst, s.targetCodec.bytes, EncodePixel(s.targetCodec, src));
  return 1;
}

}  // namespace

int64_t ShadeRow(const RasterSetup& setup, const TriangleShading& tri, int32_t y, int32_t left, int32_t right,
                 const int64_t e[3], const int64_t step[3], const int64_t bias[3]) {
  int64_t e0 = e[0], e1 = e[1], e2 = e[2];
  int64_t written = 0;
  for (int32_t x = left; x <= right; ++x) {
    if (e0 + bias[0] >= 0 && e1 + bias[1] >= 0 && e2 + bias[2] >= 0) {
      written += ShadePixel(setup, tri, x, y, static_cast<double>(e0), static_cast<double>(e1), static_cast<double>(e2));
    }
    e0 += step[0];
    e1 += step[1];
    e2 += step[2];
  }
  return written;
}

}  // namespace plat::d3d
