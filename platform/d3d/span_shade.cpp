// The span road: covered runs of a row, shaded a chunk of pixels at a time,
// each pipeline step a loop over the chunk with its state switch outside it.
#include "platform/d3d/span_shade.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/d3d/span_direct.h"
#include "platform/d3d/span_lanes.h"
#include "platform/d3d/span_runs.h"
#include "platform/d3d/texel_fetch.h"
#include "platform/kernel/row_clones.h"

namespace plat::d3d {
namespace {

constexpr int kChunk = 32;
using Doubles = double __attribute__((vector_size(32)));
// 0, 1, 2, ...: each lane's place in the chunk.
constexpr struct LaneIndex {
  alignas(32) int32_t v[32];
} kLaneIndexTable = {{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                      16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}};
constexpr const int32_t* kLaneIndex = kLaneIndexTable.v;
static_assert(kChunk == 32, "one lane index per lane of a chunk");
constexpr int kDoubleLanes = 4;

// One channel of a chunk's pixels, and a colour as four of them.
struct alignas(32) Channel {
  int32_t v[kChunk];
};
struct Colors {
  Channel c[4];  // red, green, blue, alpha
};

D3D_PIXEL_INLINE Ints LerpInts(Ints a, Ints b, Ints f) { return Div255(a * f + b * (255 - f) + 127); }

// A stage argument for one channel: the chunk's values it reads and
// whether it complements them.
struct Operand {
  const int32_t* values;
  bool complement;
};

D3D_PIXEL_INLINE Operand OperandOf(const Colors* const sources[5], uint32_t arg, int channel) {
  const Colors& from = *sources[arg & kTaSelectMask];
  return {from.c[(arg & kTaAlphaReplicate) ? 3 : channel].v, (arg & kTaComplement) != 0};
}

D3D_PIXEL_INLINE Ints Read(const Operand& o, int j) {
  const Ints v = LoadInts(o.values + j);
  return o.complement ? 255 - v : v;
}

// The alphas the blending operations weigh with, as the stage found them.
struct OpAlphas {
  const int32_t* diffuse;
  const int32_t* texel;
  const int32_t* factor;
  const int32_t* current;
};

template <uint32_t Op>
D3D_PIXEL_INLINE Ints OpLanes(Ints a1, Ints a2, const OpAlphas& al, int j) {
  switch (Op) {
    case kTopSelectArg2: return a2;
    case kTopModulate: return Mul(a1, a2);
    case kTopModulate2x: return Min(Div255(2 * a1 * a2 + 127), Splat(255));
    case kTopModulate4x: return Min(Div255(4 * a1 * a2 + 127), Splat(255));
    case kTopAdd: return Min(a1 + a2, Splat(255));
    case kTopAddSigned: return Clamp255(a1 + a2 - 128);
    case kTopAddSigned2x: return Clamp255((a1 + a2 - 128) * 2);
    case kTopSubtract: return Max(a1 - a2, Splat(0));
    case kTopAddSmooth: return Min(a1 + Mul(a2, 255 - a1), Splat(255));
    case kTopBlendDiffuseAlpha: return LerpInts(a1, a2, LoadInts(al.diffuse + j));
    case kTopBlendTextureAlpha: return LerpInts(a1, a2, LoadInts(al.texel + j));
    case kTopBlendFactorAlpha: return LerpInts(a1, a2, LoadInts(al.factor + j));
    case kTopBlendTextureAlphaPm: return Min(a1 + Mul(a2, 255 - LoadInts(al.texel + j)), Splat(255));
    case kTopBlendCurrentAlpha: return LerpInts(a1, a2, LoadInts(al.current + j));
    default: return a1;
  }
}

template <uint32_t Op>
D3D_PIXEL_INLINE void OpLoop(const Operand& o1, const Operand& o2, const OpAlphas& al, int lanes, int32_t* out) {
  for (int j = 0; j < lanes; j += kIntLanes) StoreInts(out + j, OpLanes<Op>(Read(o1, j), Read(o2, j), al, j));
}

// ApplyOp over the chunk, the operation chosen once.
D3D_PIXEL_INLINE void ApplyOpChunk(uint32_t op, const Operand& o1, const Operand& o2, const OpAlphas& al, int lanes,
                                   int32_t* out) {
  switch (op) {
    case kTopSelectArg2: OpLoop<kTopSelectArg2>(o1, o2, al, lanes, out); break;
    case kTopModulate: OpLoop<kTopModulate>(o1, o2, al, lanes, out); break;
    case kTopModulate2x: OpLoop<kTopModulate2x>(o1, o2, al, lanes, out); break;
    case kTopModulate4x: OpLoop<kTopModulate4x>(o1, o2, al, lanes, out); break;
    case kTopAdd: OpLoop<kTopAdd>(o1, o2, al, lanes, out); break;
    case kTopAddSigned: OpLoop<kTopAddSigned>(o1, o2, al, lanes, out); break;
    case kTopAddSigned2x: OpLoop<kTopAddSigned2x>(o1, o2, al, lanes, out); break;
    case kTopSubtract: OpLoop<kTopSubtract>(o1, o2, al, lanes, out); break;
    case kTopAddSmooth: OpLoop<kTopAddSmooth>(o1, o2, al, lanes, out); break;
    case kTopBlendDiffuseAlpha: OpLoop<kTopBlendDiffuseAlpha>(o1, o2, al, lanes, out); break;
    case kTopBlendTextureAlpha: OpLoop<kTopBlendTextureAlpha>(o1, o2, al, lanes, out); break;
    case kTopBlendFactorAlpha: OpLoop<kTopBlendFactorAlpha>(o1, o2, al, lanes, out); break;
    case kTopBlendTextureAlphaPm: OpLoop<kTopBlendTextureAlphaPm>(o1, o2, al, lanes, out); break;
    case kTopBlendCurrentAlpha: OpLoop<kTopBlendCurrentAlpha>(o1, o2, al, lanes, out); break;
    default: OpLoop<kTopSelectArg1>(o1, o2, al, lanes, out); break;
  }
}

// BlendFactor over the chunk for channel i.
D3D_PIXEL_INLINE Ints FactorLanes(uint32_t factor, int i, const Colors& src, const Colors& dst, int j) {
  return BlendFactorLanes(factor, i, LoadInts(src.c[i].v + j), LoadInts(src.c[3].v + j), LoadInts(dst.c[i].v + j),
                          LoadInts(dst.c[3].v + j));
}

// DecodePixel over the first `lanes` raw pixels, a channel at a time.
D3D_PIXEL_INLINE void DecodeRun(const ChannelCodec& codec, const int32_t* raw, int lanes, Colors* out) {
  for (int i = 0; i < 4; ++i) {
    const WidenStep& w = kWidenSteps[codec.widenRow[i]];
    const int shift = codec.shift[i], mask = static_cast<int32_t>(codec.fieldMask[i]);
    const int mul = w.mul, down = w.shift, set = w.set;
    for (int j = 0; j < lanes; j += kIntLanes) {
      const Ints v = (LoadInts(raw + j) >> shift) & mask;
      StoreInts(out->c[i].v + j, ((v * mul) >> down) | set);
    }
  }
}

// The blend over the chunk: each channel min(255, src x f + dst x g), the
// factors fixed at compile time for the pairs the framework sets.
template <uint32_t SrcFactor, uint32_t DestFactor>
D3D_PIXEL_INLINE void BlendFixed(const Colors& src, const Colors& dst, int lanes, Colors* out) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < lanes; j += kIntLanes) {
      StoreInts(out->c[i].v + j, Min(Mul(LoadInts(src.c[i].v + j), FactorLanes(SrcFactor, i, src, dst, j)) +
                                         Mul(LoadInts(dst.c[i].v + j), FactorLanes(DestFactor, i, src, dst, j)),
                                     Splat(255)));
    }
  }
}

D3D_PIXEL_INLINE void BlendChunk(uint32_t srcFactor, uint32_t destFactor, const Colors& src, const Colors& dst,
                                 int lanes, Colors* out) {
  const uint32_t pair = srcFactor << 8 | destFactor;
  switch (pair) {
    case kBlendSrcAlpha << 8 | kBlendInvSrcAlpha: BlendFixed<kBlendSrcAlpha, kBlendInvSrcAlpha>(src, dst, lanes, out); return;
    case kBlendSrcAlpha << 8 | kBlendOne: BlendFixed<kBlendSrcAlpha, kBlendOne>(src, dst, lanes, out); return;
    case kBlendInvDestColor << 8 | kBlendZero: BlendFixed<kBlendInvDestColor, kBlendZero>(src, dst, lanes, out); return;
    case kBlendZero << 8 | kBlendSrcColor: BlendFixed<kBlendZero, kBlendSrcColor>(src, dst, lanes, out); return;
    case kBlendZero << 8 | kBlendOne: BlendFixed<kBlendZero, kBlendOne>(src, dst, lanes, out); return;
    default: break;
  }
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < lanes; j += kIntLanes) {
      StoreInts(out->c[i].v + j, Min(Mul(LoadInts(src.c[i].v + j), FactorLanes(srcFactor, i, src, dst, j)) +
                                         Mul(LoadInts(dst.c[i].v + j), FactorLanes(destFactor, i, src, dst, j)),
                                     Splat(255)));
    }
  }
}

D3D_PIXEL_INLINE void Broadcast(const Rgba& color, Colors* out) {
  for (int i = 0; i < 4; ++i) std::fill(out->c[i].v, out->c[i].v + kChunk, color.c[i]);
}

// What a chunk's steps work on: the edge functions of its pixels, which of
// them are still drawn, and the colours the stages read and write.
struct ChunkWork {
  int lanes;  // the chunk's pixels rounded up to whole vectors: the loops' extent
  alignas(32) double e[3][kChunk];
  alignas(32) int32_t keep[kChunk];  // -1: still drawn
  alignas(32) int32_t raw[kChunk];
  alignas(32) uint16_t half[kChunk];
  Colors diffuse, specular, factor, texture, dst;
  Colors stageOut[2];  // the current colour and the next one, taking turns
};

using IndexLanes = int32_t __attribute__((vector_size(16)));
using UIndexLanes = uint32_t __attribute__((vector_size(16)));

D3D_PIXEL_INLINE void MixLanes(const ChunkWork& w, const TriangleShading& t, double q0, double q1, double q2,
                               double* out) {
  for (int j = 0; j < w.lanes; j += kDoubleLanes) {
    Doubles e0, e1, e2;
    std::memcpy(&e0, w.e[0] + j, sizeof e0);
    std::memcpy(&e1, w.e[1] + j, sizeof e1);
    std::memcpy(&e2, w.e[2] + j, sizeof e2);
    const Doubles m = (e0 * q0 + e1 * q1 + e2 * q2) / t.area;
    std::memcpy(out + j, &m, sizeof m);
  }
}

// The three edge functions of a chunk's lanes, worked out as needed.
struct Edges {
  double base[3];
  double per[3];
  D3D_PIXEL_INLINE Doubles At(int k, int j) const {
    const Doubles lane = {0.0, 1.0, 2.0, 3.0};
    return base[k] + (lane + static_cast<double>(j)) * per[k];
  }
};

// Mix for two values (u and v) at once, from edge functions worked out on
// the fly: the same operations in the same order as MixLanes.
D3D_PIXEL_INLINE void MixTwo(const Edges& edges, const TriangleShading& t, const double qu[3], const double qv[3],
                             int lanes, double* u, double* v) {
  for (int j = 0; j < lanes; j += kDoubleLanes) {
    const Doubles e0 = edges.At(0, j), e1 = edges.At(1, j), e2 = edges.At(2, j);
    const Doubles mu = (e0 * qu[0] + e1 * qu[1] + e2 * qu[2]) / t.area;
    const Doubles mv = (e0 * qv[0] + e1 * qv[1] + e2 * qv[2]) / t.area;
    std::memcpy(u + j, &mu, sizeof mu);
    std::memcpy(v + j, &mv, sizeof mv);
  }
}

D3D_PIXEL_INLINE void GouraudColors(const ChunkWork& w, const TriangleShading& t, int n, bool specular, Colors* out) {
  alignas(32) double m[kChunk];
  for (int i = 0; i < 4; ++i) {
    const double* c0 = specular ? t.v[0]->specular : t.v[0]->diffuse;
    const double* c1 = specular ? t.v[1]->specular : t.v[1]->diffuse;
    const double* c2 = specular ? t.v[2]->specular : t.v[2]->diffuse;
    MixLanes(w, t, c0[i], c1[i], c2[i], m);
    for (int k = 0; k < n; ++k) {
      out->c[i].v[k] = m[k] <= 0.0 ? 0 : m[k] >= 255.0 ? 255 : static_cast<int32_t>(std::floor(m[k] + 0.5));
    }
  }
}

// TexelCoordinate and FloorToInt over four lanes: the texel index of each
// coordinate (|t * size| below kTexelLimit, so the index fits 32 bits).
D3D_PIXEL_INLINE IndexLanes TexelIndexLanes(const double* t, int32_t size) {
  Doubles s;
  std::memcpy(&s, t, sizeof s);
  s *= static_cast<double>(size);
  const Doubles limit = Doubles{} + kTexelLimit;
  s = (s < limit) & (s > -limit) ? s : Doubles{};
  const IndexLanes i = __builtin_convertvector(s, IndexLanes);
  const Doubles back = __builtin_convertvector(i, Doubles);
  return i + __builtin_convertvector(s < back, IndexLanes);  // a true lane is -1
}

// Point sampling of one stage over the chunk: the texel of each drawn pixel
// read into raw, keyed texels dropping their pixel, then all decoded at once.
D3D_PIXEL_INLINE void PointSampleChunk(const RasterSetup& s, const StageSetup& st, const double* u, const double* v,
                                       int n, ChunkWork* w) {
  const SurfaceView& view = st.texture->view;
  const int32_t bytes = st.codec.bytes;
  alignas(32) int32_t tx[kChunk];
  alignas(32) int32_t ty[kChunk];
  alignas(32) int32_t offset[kChunk];
  // Whether every pixel's texel lies inside the texture (lanes past the run
  // count as inside): then no addressing mode applies, and the texels are
  // read by their byte offsets alone (when those stay below 2^31).
  IndexLanes outside = {};
  const UIndexLanes width = UIndexLanes{} + static_cast<uint32_t>(view.width);
  const UIndexLanes height = UIndexLanes{} + static_cast<uint32_t>(view.height);
  for (int j = 0; j < w->lanes; j += 4) {
    const IndexLanes x = TexelIndexLanes(u + j, view.width), y = TexelIndexLanes(v + j, view.height);
    IndexLanes past;
    std::memcpy(&past, kLaneIndex + j, sizeof past);
    // Unsigned: a negative index compares as past the side.
    outside |= ((__builtin_convertvector(x, UIndexLanes) >= width) | (__builtin_convertvector(y, UIndexLanes) >= height)) &
               (past < n);
    // Unsigned: a byte offset past 2^31 wraps harmlessly and is not used.
    const IndexLanes at = __builtin_convertvector(__builtin_convertvector(y, UIndexLanes) * static_cast<uint32_t>(view.pitch) +
                                                      __builtin_convertvector(x, UIndexLanes) * static_cast<uint32_t>(bytes),
                                                  IndexLanes);
    std::memcpy(tx + j, &x, sizeof x);
    std::memcpy(ty + j, &y, sizeof y);
    std::memcpy(offset + j, &at, sizeof at);
  }
  const bool offsetsFit = static_cast<int64_t>(view.height) * view.pitch <= INT32_MAX;
  if (offsetsFit && (outside[0] | outside[1] | outside[2] | outside[3]) == 0) {
    if (bytes == 2) {
      for (int i = 0; i < n; ++i) w->raw[i] = static_cast<int32_t>(LoadRaw(view.bits + offset[i], 2));
    } else {
      for (int i = 0; i < n; ++i) w->raw[i] = static_cast<int32_t>(LoadRaw(view.bits + offset[i], 4));
    }
    if (s.colorKey && st.texture->hasColorKey) {
      const Ints key = Splat(static_cast<int32_t>(st.texture->colorKey));
      for (int j = 0; j < w->lanes; j += kIntLanes) {
        StoreInts(w->keep + j, LoadInts(w->keep + j) & (LoadInts(w->raw + j) != key));
      }
    }
    DecodeRun(st.codec, w->raw, w->lanes, &w->texture);
    return;
  }
  const bool keyed = s.colorKey && st.texture->hasColorKey;
  int borders = 0;
  uint8_t border[kChunk];
  for (int i = 0; i < n; ++i) {
    if (w->keep[i] == 0) continue;
    int32_t x = tx[i], y = ty[i];
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(view.width) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(view.height)) {
      if (!AddressTexel(x, view.width, st.addressU, &x) || !AddressTexel(y, view.height, st.addressV, &y)) {
        border[borders++] = static_cast<uint8_t>(i);  // the border colour, never keyed
        continue;
      }
    }
    const uint32_t raw = LoadRaw(view.bits + static_cast<int64_t>(y) * view.pitch + static_cast<int64_t>(x) * bytes, bytes);
    if (keyed && raw == st.texture->colorKey) w->keep[i] = 0;
    w->raw[i] = static_cast<int32_t>(raw);
  }
  DecodeRun(st.codec, w->raw, w->lanes, &w->texture);
  for (int b = 0; b < borders; ++b) {
    for (int c = 0; c < 4; ++c) w->texture.c[c].v[border[b]] = st.border.c[c];
  }
}

D3D_PIXEL_INLINE void SampleChunk(const RasterSetup& s, const TriangleShading& t, int k, int n, ChunkWork* w) {
  const StageSetup& st = s.stages[k];
  const uint32_t set = st.texCoordIndex < kMaxTexCoordSets ? st.texCoordIndex : 0;
  alignas(32) double u[kChunk];
  alignas(32) double v[kChunk];
  MixLanes(*w, t, t.v[0]->tex[set][0], t.v[1]->tex[set][0], t.v[2]->tex[set][0], u);
  MixLanes(*w, t, t.v[0]->tex[set][1], t.v[1]->tex[set][1], t.v[2]->tex[set][1], v);
  for (int i = 0; i < n; ++i) {
    if (w->keep[i] == 0) continue;
    Rgba texel;
    if (!SampleStage(s, st, t.minify[k], u[i], v[i], &texel)) {
      w->keep[i] = 0;
      continue;
    }
    for (int c = 0; c < 4; ++c) w->texture.c[c].v[i] = texel.c[c];
  }
}

D3D_PIXEL_INLINE int64_t ShadeChunk(const RasterSetup& s, const TriangleShading& t, int32_t y, int32_t x, int n,
                                    const int64_t e[3], const int64_t step[3], ChunkWork* w) {
  w->lanes = (n + kIntLanes - 1) / kIntLanes * kIntLanes;
  const int lanes = w->lanes;
  // The edge functions as doubles: whole numbers below 2^53, so the same
  // values as converting e + i * step. Point sampling works them out on the
  // fly; Gouraud colours and linear sampling read them from the arrays.
  Edges edges;
  for (int k = 0; k < 3; ++k) {
    edges.base[k] = static_cast<double>(e[k]);
    edges.per[k] = static_cast<double>(step[k]);
  }
  bool edgeArrays = false;
  auto fillEdges = [&]() __attribute__((always_inline)) {
    if (edgeArrays) return;
    edgeArrays = true;
    for (int k = 0; k < 3; ++k) {
      for (int j = 0; j < lanes; j += kDoubleLanes) {
        const Doubles at = edges.At(k, j);
        std::memcpy(w->e[k] + j, &at, sizeof at);
      }
    }
  };
  for (int i = 0; i < lanes; ++i) w->keep[i] = i < n ? -1 : 0;
  if (s.gouraud) {
    fillEdges();
    GouraudColors(*w, t, n, false, &w->diffuse);
    GouraudColors(*w, t, n, true, &w->specular);
  }
  const Colors* sources[5];
  sources[kTaDiffuse] = &w->diffuse;
  sources[kTaCurrent] = &w->diffuse;
  sources[kTaTexture] = &w->texture;
  sources[kTaTFactor] = &w->factor;
  sources[kTaSpecular] = &w->specular;
  int turn = 0;
  for (int32_t k = 0; k < s.stageCount; ++k) {
    const StageSetup& st = s.stages[k];
    if (!st.samples) {
      Broadcast(kOpaqueWhite, &w->texture);
    } else if ((t.minify[k] ? st.minFilter : st.magFilter) != kFilterLinear) {
      const uint32_t set = st.texCoordIndex < kMaxTexCoordSets ? st.texCoordIndex : 0;
      alignas(32) double u[kChunk];
      alignas(32) double v[kChunk];
      const double qu[3] = {t.v[0]->tex[set][0], t.v[1]->tex[set][0], t.v[2]->tex[set][0]};
      const double qv[3] = {t.v[0]->tex[set][1], t.v[1]->tex[set][1], t.v[2]->tex[set][1]};
      MixTwo(edges, t, qu, qv, lanes, u, v);
      PointSampleChunk(s, st, u, v, n, w);
    } else {
      fillEdges();
      SampleChunk(s, t, k, n, w);
    }
    const Colors& current = *sources[kTaCurrent];
    Colors& next = w->stageOut[turn];
    const OpAlphas alphas = {w->diffuse.c[3].v, w->texture.c[3].v, w->factor.c[3].v, current.c[3].v};
    for (int i = 0; i < 3; ++i) {
      ApplyOpChunk(st.colorOp, OperandOf(sources, st.colorArg1, i), OperandOf(sources, st.colorArg2, i), alphas,
                   lanes, next.c[i].v);
    }
    if (st.alphaOp == kTopDisable) {
      next.c[3] = current.c[3];
    } else {
      ApplyOpChunk(st.alphaOp, OperandOf(sources, st.alphaArg1, 3), OperandOf(sources, st.alphaArg2, 3), alphas,
                   lanes, next.c[3].v);
    }
    sources[kTaCurrent] = &next;
    turn ^= 1;
  }
  // The stages' result, written in place from here on.
  Colors& src = w->stageOut[turn ^ 1];
  if (sources[kTaCurrent] != &src) src = *sources[kTaCurrent];  // no stage ran
  if (s.specularAdd) {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < lanes; j += kIntLanes) {
        StoreInts(src.c[i].v + j, Min(LoadInts(src.c[i].v + j) + LoadInts(w->specular.c[i].v + j), Splat(255)));
      }
    }
  }
  if (s.alphaTest) {
    const Ints reference = Splat(s.alphaRef);
    for (int j = 0; j < lanes; j += kIntLanes) {
      StoreInts(w->keep + j, LoadInts(w->keep + j) & PassLanes(s.alphaFunc, LoadInts(src.c[3].v + j), reference));
    }
  }

  const ChannelCodec& codec = s.targetCodec;
  uint8_t* row = s.target.bits + static_cast<int64_t>(y) * s.target.pitch + static_cast<int64_t>(x) * codec.bytes;
  const Colors* result = &src;
  if (s.alphaBlend) {
    // The target's pixels under the whole run (those not drawn are read too,
    // and left alone).
    if (codec.bytes == 2) {
      std::memcpy(w->half, row, static_cast<size_t>(n) * 2);
      for (int j = 0; j < lanes; j += kIntLanes) {
        HalfInts h;
        std::memcpy(&h, w->half + j, sizeof h);
        StoreInts(w->raw + j, __builtin_convertvector(h, Ints));
      }
    } else {
      std::memcpy(w->raw, row, static_cast<size_t>(n) * 4);
    }
    DecodeRun(codec, w->raw, lanes, &w->dst);
    Colors& out = w->stageOut[turn];
    BlendChunk(s.srcBlend, s.destBlend, src, w->dst, lanes, &out);
    result = &out;
  }
  // EncodePixel over the chunk, then the stores of the pixels still drawn:
  // a chunk drawn whole is stored at once.
  const Ints spare = Splat(static_cast<int32_t>(codec.spareBits));
  const int drop0 = 8 - codec.width[0], drop1 = 8 - codec.width[1], drop2 = 8 - codec.width[2],
            drop3 = 8 - codec.width[3];
  const int up0 = codec.shift[0], up1 = codec.shift[1], up2 = codec.shift[2], up3 = codec.shift[3];
  Ints all = Splat(-1);
  for (int j = 0; j < lanes; j += kIntLanes) {
    const Ints r = spare | (LoadInts(result->c[0].v + j) >> drop0) << up0 |
                   (LoadInts(result->c[1].v + j) >> drop1) << up1 | (LoadInts(result->c[2].v + j) >> drop2) << up2 |
                   (LoadInts(result->c[3].v + j) >> drop3) << up3;
    StoreInts(w->raw + j, r);
    all &= LoadInts(w->keep + j) | (LoadInts(kLaneIndex + j) >= n);
  }
  uint64_t halves[4];
  std::memcpy(halves, &all, sizeof halves);
  if ((halves[0] & halves[1] & halves[2] & halves[3]) == ~uint64_t{0}) {
    if (codec.bytes == 2) {
      for (int j = 0; j < lanes; j += kIntLanes) {
        const HalfInts h = __builtin_convertvector(LoadInts(w->raw + j), HalfInts);
        std::memcpy(w->half + j, &h, sizeof h);
      }
      std::memcpy(row, w->half, static_cast<size_t>(n) * 2);
    } else {
      std::memcpy(row, w->raw, static_cast<size_t>(n) * 4);
    }
    return n;
  }
  int64_t written = 0;
  for (int i = 0; i < n; ++i) {
    if (w->keep[i] == 0) continue;
    StoreRaw(row + i * codec.bytes, codec.bytes, static_cast<uint32_t>(w->raw[i]));
    ++written;
  }
  return written;
}

PLAT_ROW_CLONES int64_t ShadeRows(const RasterSetup& s, const TriangleShading& t, const SpanRows& rows) {
  ChunkWork w;
  // Lanes past a short chunk's pixels hold channel values too (0..255), so
  // that the whole-chunk loops compute on sound numbers.
  Broadcast(s.gouraud ? Rgba{{0, 0, 0, 0}} : t.flatDiffuse, &w.diffuse);
  Broadcast(s.gouraud ? Rgba{{0, 0, 0, 0}} : t.flatSpecular, &w.specular);
  Broadcast(s.textureFactor, &w.factor);
  Broadcast(kOpaqueWhite, &w.texture);
  Broadcast(Rgba{{0, 0, 0, 0}}, &w.dst);
  std::fill(w.raw, w.raw + kChunk, 0);
  int64_t written = 0;
  int64_t e[3] = {rows.eTop[0], rows.eTop[1], rows.eTop[2]};
  RunWalk walk;
  StartRunWalk(rows, &walk);
  for (int32_t y = rows.top; y <= rows.bottom; ++y) {
    int64_t lo = 0, hi = 0;
    if (WalkRun(walk, &lo, &hi)) {
      int64_t at[3] = {e[0] + lo * rows.step[0], e[1] + lo * rows.step[1], e[2] + lo * rows.step[2]};
      for (int64_t x = lo; x <= hi; x += kChunk) {
        const int n = static_cast<int>(std::min<int64_t>(kChunk, hi - x + 1));
        written += ShadeChunk(s, t, y, static_cast<int32_t>(rows.left + x), n, at, rows.step, &w);
        for (int k = 0; k < 3; ++k) at[k] += rows.step[k] * kChunk;
      }
    }
    for (int k = 0; k < 3; ++k) e[k] += rows.rowStep[k];
    NextWalkRow(&walk);
  }
  return written;
}

}  // namespace

bool SpanRoadFits(const RasterSetup& setup) { return setup.depth == nullptr; }

int64_t ShadeSpanRows(const RasterSetup& setup, const TriangleShading& tri, const SpanRows& rows) {
  if (rows.top > rows.bottom || rows.left > rows.right) return 0;
  DirectPlan plan;
  if (PlanDirectRoad(setup, tri, rows, &plan)) return ShadeDirectRows(setup, plan, rows);
  return ShadeRows(setup, tri, rows);
}

}  // namespace plat::d3d
