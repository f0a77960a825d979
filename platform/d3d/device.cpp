// The device object: state tables, bindings, scenes, primitive assembly.
#include "platform/d3d/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "platform/d3d/raster_bands.h"
#include "platform/d3d/span_shade.h"

namespace plat::d3d {
namespace {

constexpr uint32_t kNoVertex = 0xFFFFFFFFu;

// An argument the pixel steps can select: other selections read current.
uint32_t KnownArg(uint32_t arg) {
  uint32_t select = arg & kTaSelectMask;
  uint32_t modifiers = arg & (kTaComplement | kTaAlphaReplicate);
  return (select <= kTaSpecular ? select : kTaCurrent) | modifiers;
}

bool UsesTexture(uint32_t arg) { return (arg & kTaSelectMask) == kTaTexture; }

// The byte layout of one vertex of a flexible vertex format.
struct VertexLayout {
  uint32_t stride;
  int32_t diffuseAt;   // -1: absent
  int32_t specularAt;  // -1: absent
  int32_t texAt;
  int32_t texSets;
};

bool MakeVertexLayout(uint32_t fvf, VertexLayout* out) {
  const uint32_t known = kFvfPositionMask | kFvfDiffuse | kFvfSpecular | kFvfTexCountMask;
  if ((fvf & kFvfPositionMask) != kFvfXyzRhw || (fvf & ~known) != 0) return false;
  int32_t sets = static_cast<int32_t>((fvf & kFvfTexCountMask) >> kFvfTexCountShift);
  if (sets > kMaxTexCoordSets) return false;
  uint32_t at = 16;
  out->diffuseAt = (fvf & kFvfDiffuse) ? static_cast<int32_t>(at) : -1;
  if (fvf & kFvfDiffuse) at += 4;
  out->specularAt = (fvf & kFvfSpecular) ? static_cast<int32_t>(at) : -1;
  if (fvf & kFvfSpecular) at += 4;
  out->texAt = static_cast<int32_t>(at);
  out->texSets = sets;
  out->stride = at + 8u * static_cast<uint32_t>(sets);
  return true;
}

float ReadFloat(const uint8_t* p) {
  float f;
  std::memcpy(&f, p, 4);
  return f;
}

void SetColor(double* out, uint32_t argb) {
  out[0] = (argb >> 16) & 0xFF;
  out[1] = (argb >> 8) & 0xFF;
  out[2] = argb & 0xFF;
  out[3] = argb >> 24;
}

RasterVertex DecodeVertex(const uint8_t* base, const VertexLayout& layout, uint32_t index) {
  const uint8_t* p = base + static_cast<uint64_t>(index) * layout.stride;
  RasterVertex v = {};
  v.x = ReadFloat(p);
  v.y = ReadFloat(p + 4);
  v.z = ReadFloat(p + 8);
  uint32_t diffuse = 0xFFFFFFFFu;
  uint32_t specular = 0;
  if (layout.diffuseAt >= 0) std::memcpy(&diffuse, p + layout.diffuseAt, 4);
  if (layout.specularAt >= 0) std::memcpy(&specular, p + layout.specularAt, 4);
  SetColor(v.diffuse, diffuse);
  SetColor(v.specular, specular);
  for (int32_t s = 0; s < layout.texSets; ++s) {
    v.tex[s][0] = ReadFloat(p + layout.texAt + 8 * s);
    v.tex[s][1] = ReadFloat(p + layout.texAt + 8 * s + 4);
  }
  return v;
}

// Walks the triangles of a list or strip over `count` positions, giving
// each as three positions in winding order and its provoking position.
template <typename Fn>
void ForEachTriangle(uint32_t type, uint32_t count, Fn&& fn) {
  if (type == kPtTriangleList) {
    for (uint32_t i = 0; i + 2 < count; i += 3) fn(i, i + 1, i + 2, i);
  } else {
    // Every other strip triangle is turned round to keep the strip's winding.
    for (uint32_t i = 0; i + 2 < count; ++i) {
      if (i % 2 == 0) {
        fn(i, i + 1, i + 2, i);
      } else {
        fn(i + 1, i, i + 2, i);
      }
    }
  }
}

// A draw whose triangles' boxes cover this many viewport pixels is split
// into bands of at least kMinBandRows rows: below that, waking the helper
// threads costs more than they save.
constexpr double kBandDrawPixels = 32768.0;
constexpr int32_t kMinBandRows = 16;
constexpr int kMaxBandCount = 8;

double BoxAreaInside(const RasterSetup& s, const RasterVertex v[3]) {
  const double left = std::max<double>(std::min({v[0].x, v[1].x, v[2].x}), s.clipLeft);
  const double right = std::min<double>(std::max({v[0].x, v[1].x, v[2].x}), s.clipRight);
  const double top = std::max<double>(std::min({v[0].y, v[1].y, v[2].y}), s.clipTop);
  const double bottom = std::min<double>(std::max({v[0].y, v[1].y, v[2].y}), s.clipBottom);
  return right > left && bottom > top ? (right - left) * (bottom - top) : 0.0;  // false for NaN too
}

}  // namespace

// One band of a draw split across threads: every triangle, clipped to the
// band's rows.
struct Device::BandJob {
  const RasterSetup* setup;
  const std::vector<DrawnTriangle>* triangles;
  int32_t bandTop[kMaxBandCount + 1];
  int64_t written[kMaxBandCount];
  int64_t pairs[kMaxBandCount];
};

void Device::DrawBand(void* context, int band) {
  BandJob& job = *static_cast<BandJob*>(context);
  RasterSetup s = *job.setup;
  s.clipTop = job.bandTop[band];
  s.clipBottom = job.bandTop[band + 1];
  job.written[band] = DrawTriangles(s, *job.triangles, &job.pairs[band]);
}

int64_t Device::DrawTriangles(const RasterSetup& setup, const std::vector<DrawnTriangle>& triangles, int64_t* pairs) {
  int64_t written = 0;
  for (size_t i = 0; i < triangles.size(); ++i) {
    const DrawnTriangle& t = triangles[i];
    if (i + 1 < triangles.size()) {
      const DrawnTriangle& u = triangles[i + 1];
      const RasterVertex* first[4] = {&t.v[0], &t.v[1], &t.v[2], t.firstProvokes ? &t.v[0] : &t.v[1]};
      const RasterVertex* second[4] = {&u.v[0], &u.v[1], &u.v[2], u.firstProvokes ? &u.v[0] : &u.v[1]};
      const int64_t pair = DrawTrianglePair(setup, first, second);
      if (pair >= 0) {
        written += pair;
        ++*pairs;
        ++i;
        continue;
      }
    }
    written += DrawTriangle(setup, t.v[0], t.v[1], t.v[2], t.firstProvokes ? t.v[0] : t.v[1]);
  }
  return written;
}

Device::Device() { Reset(); }

void Device::Reset() {
  std::fill(std::begin(renderStates_), std::end(renderStates_), 0u);
  renderStates_[kRsTexturePerspective] = 1;
  renderStates_[kRsZEnable] = 1;
  renderStates_[kRsFillMode] = kFillSolid;
  renderStates_[kRsShadeMode] = kShadeGouraud;
  renderStates_[kRsZWriteEnable] = 1;
  renderStates_[kRsSrcBlend] = kBlendOne;
  renderStates_[kRsDestBlend] = kBlendZero;
  renderStates_[kRsCullMode] = kCullCcw;
  renderStates_[kRsZFunc] = kCmpLessEqual;
  renderStates_[kRsAlphaFunc] = kCmpAlways;
  renderStates_[kRsTextureFactor] = 0xFFFFFFFFu;
  renderStates_[kRsLighting] = 1;
  for (uint32_t s = 0; s < kMaxStages; ++s) {
    uint32_t* st = stageStates_[s];
    std::fill(st, st + kStageStateCount, 0u);
    st[kTssColorOp] = s == 0 ? kTopModulate : kTopDisable;
    st[kTssAlphaOp] = s == 0 ? kTopSelectArg1 : kTopDisable;
    st[kTssColorArg1] = kTaTexture;
    st[kTssColorArg2] = kTaCurrent;
    st[kTssAlphaArg1] = kTaTexture;
    st[kTssAlphaArg2] = kTaCurrent;
    st[kTssTexCoordIndex] = s;
    st[kTssAddressU] = kAddressWrap;
    st[kTssAddressV] = kAddressWrap;
    st[kTssMagFilter] = kFilterPoint;
    st[kTssMinFilter] = kFilterPoint;
    st[kTssMipFilter] = 1;
    textures_[s] = nullptr;
  }
  target_ = {};
  hasTarget_ = false;
  depth_ = {};
  hasDepth_ = false;
  viewport_ = {};
  for (Matrix16& t : transforms_) t = Matrix16{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  inScene_ = false;
  lost_ = false;
  failDraws_ = 0;
  failViewports_ = 0;
  failLoads_ = 0;
  spanRoad_ = true;
  counters_ = {};
}

Result Device::SetRenderTarget(const SurfaceView& target) {
  ++counters_.setRenderTarget;
  if (!SurfaceViewUsable(target)) return kErrInvalidCall;
  target_ = target;
  hasTarget_ = true;
  viewport_ = {0, 0, target.width, target.height, 0.0f, 1.0f};
  return kOk;
}

Result Device::SetDepthBuffer(const DepthView* depth) {
  if (depth == nullptr) {
    hasDepth_ = false;
    return kOk;
  }
  if (depth->bits == nullptr || depth->width < 1 || depth->height < 1 || depth->width > kMaxSurfaceSide ||
      depth->height > kMaxSurfaceSide || depth->pitch < depth->width * 2 || depth->pitch % 2 != 0) {
    return kErrInvalidCall;
  }
  depth_ = *depth;
  hasDepth_ = true;
  return kOk;
}

Result Device::SetRenderState(uint32_t state, uint32_t value) {
  ++counters_.setRenderState;
  if (state >= kRenderStateCount) return kErrInvalidCall;
  renderStates_[state] = value;
  return kOk;
}

Result Device::GetRenderState(uint32_t state, uint32_t* value) const {
  if (state >= kRenderStateCount || value == nullptr) return kErrInvalidCall;
  *value = renderStates_[state];
  return kOk;
}

Result Device::SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value) {
  ++counters_.setTextureStageState;
  if (stage >= kMaxStages || state >= kStageStateCount) return kErrInvalidCall;
  if (state == kTssAddress) {
    stageStates_[stage][kTssAddressU] = value;
    stageStates_[stage][kTssAddressV] = value;
  }
  stageStates_[stage][state] = value;
  return kOk;
}

Result Device::GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) const {
  if (stage >= kMaxStages || state >= kStageStateCount || value == nullptr) return kErrInvalidCall;
  *value = stageStates_[stage][state];
  return kOk;
}

Result Device::SetTexture(uint32_t stage, const Texture* texture) {
  ++counters_.setTexture;
  if (stage >= kMaxStages) return kErrInvalidCall;
  if (texture != nullptr && !SurfaceViewUsable(texture->view)) return kErrInvalidCall;
  textures_[stage] = texture;
  return kOk;
}

Result Device::SetViewport(const Viewport& vp) {
  ++counters_.setViewport;
  if (failViewports_ > 0) {
    --failViewports_;
    return kErrInvalidCall;
  }
  if (!hasTarget_ || vp.x < 0 || vp.y < 0 || vp.width < 1 || vp.height < 1) return kErrInvalidCall;
  if (static_cast<int64_t>(vp.x) + vp.width > target_.width || static_cast<int64_t>(vp.y) + vp.height > target_.height) {
    return kErrInvalidCall;
  }
  if (!std::isfinite(vp.minZ) || !std::isfinite(vp.maxZ)) return kErrInvalidCall;
  viewport_ = vp;
  return kOk;
}

Result Device::GetViewport(Viewport* viewport) const {
  if (viewport == nullptr || !hasTarget_) return kErrInvalidCall;
  *viewport = viewport_;
  return kOk;
}

Result Device::SetTransform(uint32_t type, const Matrix16* matrix) {
  ++counters_.setTransform;
  if (type < kTransformWorld || type >= kTransformTypeEnd || matrix == nullptr) return kErrInvalidCall;
  transforms_[type] = *matrix;
  return kOk;
}

Result Device::GetTransform(uint32_t type, Matrix16* matrix) const {
  if (type < kTransformWorld || type >= kTransformTypeEnd || matrix == nullptr) return kErrInvalidCall;
  *matrix = transforms_[type];
  return kOk;
}

Result Device::BeginScene() {
  ++counters_.beginScene;
  if (lost_) return kErrDeviceLost;
  if (inScene_) return kErrSceneState;
  inScene_ = true;
  return kOk;
}

Result Device::EndScene() {
  ++counters_.endScene;
  if (!inScene_) return kErrSceneState;
  inScene_ = false;
  return lost_ ? kErrDeviceLost : kOk;
}

void Device::BuildSetup(RasterSetup* s) const {
  *s = {};
  s->target = target_;
  MakeChannelCodec(target_.layout, &s->targetCodec);
  s->clipLeft = viewport_.x;
  s->clipTop = viewport_.y;
  s->clipRight = viewport_.x + viewport_.width;
  s->clipBottom = viewport_.y + viewport_.height;
  // A depth buffer smaller than the viewport serves no draw.
  bool depthFits = hasDepth_ && depth_.width >= s->clipRight && depth_.height >= s->clipBottom;
  if (depthFits && renderStates_[kRsZEnable] != 0) {
    s->depth = &depth_;
    s->depthTest = true;
    s->depthWrite = renderStates_[kRsZWriteEnable] != 0;
    s->depthFunc = renderStates_[kRsZFunc];
  }

  s->stageCount = 0;
  for (int k = 0; k < kMaxStages; ++k) {
    const uint32_t* st = stageStates_[k];
    if (st[kTssColorOp] == kTopDisable) break;
    StageSetup& out = s->stages[k];
    out.colorOp = st[kTssColorOp];
    out.colorArg1 = KnownArg(st[kTssColorArg1]);
    out.colorArg2 = KnownArg(st[kTssColorArg2]);
    out.alphaOp = st[kTssAlphaOp];
    out.alphaArg1 = KnownArg(st[kTssAlphaArg1]);
    out.alphaArg2 = KnownArg(st[kTssAlphaArg2]);
    out.texCoordIndex = st[kTssTexCoordIndex] & 0xFFFF;
    out.addressU = st[kTssAddressU];
    out.addressV = st[kTssAddressV];
    out.magFilter = st[kTssMagFilter];
    out.minFilter = st[kTssMinFilter];
    out.border = ColorFromArgb(st[kTssBorderColor]);
    // The caller may have changed a bound texture's view since: check again.
    out.texture = textures_[k] != nullptr && SurfaceViewUsable(textures_[k]->view) ? textures_[k] : nullptr;
    if (out.texture != nullptr) MakeChannelCodec(out.texture->view.layout, &out.codec);
    bool alphaUses = out.alphaOp != kTopDisable && (UsesTexture(out.alphaArg1) || UsesTexture(out.alphaArg2));
    bool opUses = out.colorOp == kTopBlendTextureAlpha || out.colorOp == kTopBlendTextureAlphaPm ||
                  out.alphaOp == kTopBlendTextureAlpha || out.alphaOp == kTopBlendTextureAlphaPm;
    out.samples = out.texture != nullptr && (UsesTexture(out.colorArg1) || UsesTexture(out.colorArg2) || alphaUses || opUses);
    s->stageCount = k + 1;
  }

  s->textureFactor = ColorFromArgb(renderStates_[kRsTextureFactor]);
  s->alphaBlend = renderStates_[kRsAlphaBlendEnable] != 0;
  s->srcBlend = renderStates_[kRsSrcBlend];
  s->destBlend = renderStates_[kRsDestBlend];
  if (s->srcBlend == kBlendBothSrcAlpha) {
    s->srcBlend = kBlendSrcAlpha;
    s->destBlend = kBlendInvSrcAlpha;
  } else if (s->srcBlend == kBlendBothInvSrcAlpha) {
    s->srcBlend = kBlendInvSrcAlpha;
    s->destBlend = kBlendSrcAlpha;
  }
  s->alphaTest = renderStates_[kRsAlphaTestEnable] != 0;
  s->alphaFunc = renderStates_[kRsAlphaFunc];
  s->alphaRef = static_cast<int32_t>(renderStates_[kRsAlphaRef] & 0xFF);
  s->colorKey = renderStates_[kRsColorKeyEnable] != 0;
  s->gouraud = renderStates_[kRsShadeMode] != kShadeFlat;
  s->specularAdd = renderStates_[kRsSpecularEnable] != 0;
  s->cull = renderStates_[kRsCullMode];
  s->spanRoad = spanRoad_ && SpanRoadFits(*s);
}

Result Device::CheckDraw(uint32_t type, uint32_t fvf, const void* vertices) {
  if (lost_) return kErrDeviceLost;
  if (!inScene_) return kErrSceneState;
  if (failDraws_ > 0) {
    --failDraws_;
    return kErrDrawFailed;
  }
  if (!hasTarget_ || vertices == nullptr) return kErrInvalidCall;
  VertexLayout layout;
  if ((type != kPtTriangleList && type != kPtTriangleStrip) || !MakeVertexLayout(fvf, &layout)) return kErrUnsupported;
  return kOk;
}

template <typename VertexAt>
void Device::DrawAssembled(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, VertexAt vertexAt) {
  counters_.verticesSubmitted += count;
  VertexLayout layout;
  MakeVertexLayout(fvf, &layout);
  RasterSetup setup;
  BuildSetup(&setup);
  const uint8_t* base = static_cast<const uint8_t*>(vertices);
  drawn_.clear();
  double area = 0.0;  // of the triangles' boxes inside the viewport
  ForEachTriangle(type, count, [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t ip) {
    ++counters_.trianglesSubmitted;
    uint32_t n0 = vertexAt(i0), n1 = vertexAt(i1), n2 = vertexAt(i2);
    if (n0 == kNoVertex || n1 == kNoVertex || n2 == kNoVertex) return;
    DrawnTriangle& t = drawn_.emplace_back();
    t.v[0] = DecodeVertex(base, layout, n0);
    t.v[1] = DecodeVertex(base, layout, n1);
    t.v[2] = DecodeVertex(base, layout, n2);
    t.firstProvokes = ip == i0;
    area += BoxAreaInside(setup, t.v);
  });
  const int bands = std::min(DrawBandCount(), (setup.clipBottom - setup.clipTop) / kMinBandRows);
  if (setup.spanRoad && bands > 1 && area >= kBandDrawPixels) {
    BandJob job = {&setup, &drawn_, {}, {}, {}};
    for (int b = 0; b <= bands; ++b) {
      job.bandTop[b] = setup.clipTop + static_cast<int32_t>(static_cast<int64_t>(setup.clipBottom - setup.clipTop) * b / bands);
    }
    RunDrawBands(bands, DrawBand, &job);
    for (int b = 0; b < bands; ++b) counters_.pixelsWritten += job.written[b];
    counters_.trianglePairs += job.pairs[0];  // every band meets the same pairs
    return;
  }
  counters_.pixelsWritten += DrawTriangles(setup, drawn_, &counters_.trianglePairs);
}

Result Device::DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, uint32_t) {
  ++counters_.drawPrimitive;
  Result r = CheckDraw(type, fvf, vertices);
  if (r != kOk) return r;
  DrawAssembled(type, fvf, vertices, count, [](uint32_t i) { return i; });
  return kOk;
}

Result Device::DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                                    const uint16_t* indices, uint32_t indexCount, uint32_t) {
  ++counters_.drawIndexedPrimitive;
  Result r = CheckDraw(type, fvf, vertices);
  if (r != kOk) return r;
  if (indices == nullptr && indexCount > 0) return kErrInvalidCall;
  DrawAssembled(type, fvf, vertices, indexCount, [&](uint32_t i) {
    return indices[i] < vertexCount ? indices[i] : kNoVertex;
  });
  return kOk;
}

Result Device::Clear(uint32_t count, const ClearRect* rects, uint32_t flags, uint32_t color, float z, uint32_t) {
  ++counters_.clear;
  if (lost_) return kErrDeviceLost;
  if (!hasTarget_) return kErrInvalidCall;
  ChannelCodec codec;
  MakeChannelCodec(target_.layout, &codec);
  const uint32_t raw = EncodePixel(codec, ColorFromArgb(color));
  const float zc = std::isfinite(z) ? std::clamp(z, 0.0f, 1.0f) : 1.0f;
  const uint16_t depth = static_cast<uint16_t>(zc * 65535.0f + 0.5f);
  const ClearRect whole = {viewport_.x, viewport_.y, viewport_.x + viewport_.width, viewport_.y + viewport_.height};
  if (count == 0 || rects == nullptr) {
    count = 1;
    rects = &whole;
  }
  for (uint32_t i = 0; i < count; ++i) {
    int32_t left = std::max(rects[i].left, whole.left);
    int32_t top = std::max(rects[i].top, whole.top);
    int32_t right = std::min(rects[i].right, whole.right);
    int32_t bottom = std::min(rects[i].bottom, whole.bottom);
    for (int32_t y = top; y < bottom; ++y) {
      for (int32_t x = left; x < right; ++x) {
        if (flags & kClearTarget) {
          StoreRaw(target_.bits + static_cast<int64_t>(y) * target_.pitch + static_cast<int64_t>(x) * codec.bytes,
                   codec.bytes, raw);
        }
        if ((flags & kClearZBuffer) && hasDepth_ && x < depth_.width && y < depth_.height) {
          reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(depth_.bits) + static_cast<int64_t>(y) * depth_.pitch)[x] =
              depth;
        }
      }
    }
  }
  return kOk;
}

}  // namespace plat::d3d
