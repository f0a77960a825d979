// Texture sampling, texture stages, alpha test, depth, blending and the
// store of one pixel.
#include "platform/d3d/pixel_pipeline.h"

#include <algorithm>
#include <cmath>

#include "platform/d3d/texel_fetch.h"

namespace plat::d3d {
namespace {

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
