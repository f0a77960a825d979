// The render-state cache: every state the draw path touches goes through a
// setter that sends it only when it changes (flushing the batch first), and
// the blend set-up that turns the draw state's blend mode into blend factors
// and texture-stage operations.
#include "framework/core/log.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"

namespace qor {

using namespace plat::d3d;

namespace {

// {DESTBLEND, SRCBLEND, stage kind}; -1 keeps the factor. Mode 7 draws
// nothing, as on the 2D road: ZERO x source + ONE x destination.
struct BlendRow {
  int32_t dest, src, kind;
};
constexpr BlendRow kBlendTable[12] = {
    {-1, -1, 0}, {6, 5, 0}, {2, 5, 0}, {1, 10, 0}, {3, 1, 0}, {2, 5, 0},
    {-1, -1, 0}, {2, 1, 0}, {2, 1, 0}, {1, 10, 0}, {6, 5, 2}, {3, 1, 1},
};

struct StageEntry {
  int16_t alphaArg1, alphaArg2, alphaOp, colorArg1, colorArg2, colorOp;
};
struct StageBlock {
  int32_t n;
  StageEntry stages[kD3DStages];
};

constexpr int16_t kKeep = -1;

StageEntry Stage(int16_t alphaOp, int16_t alphaArg1, int16_t alphaArg2, int16_t colorOp, int16_t colorArg1,
                 int16_t colorArg2) {
  return {alphaArg1, alphaArg2, alphaOp, colorArg1, colorArg2, colorOp};
}

// Closes the block after its n stages.
void CloseBlock(StageBlock* b) {
  b->stages[b->n] = Stage(kTopDisable, kKeep, kKeep, kTopDisable, kKeep, kKeep);
}

// a: alpha source (0 none, 1 texture alpha channel, 2 texture alpha test);
// dA, dC: diffuse alpha and colour in use; kind: the blend row's stage kind.
StageBlock TexturedBlock(int a, int dA, int dC, int kind) {
  StageBlock b{};
  const int16_t tex = kind == 2 ? kTaTexture | kTaComplement : kTaTexture;
  const int16_t alphaOp = a == 0 ? kTopSelectArg2 : dA ? kTopModulate : kTopSelectArg1;
  const int16_t colorOp = dC ? kTopModulate : kTopSelectArg1;
  b.stages[0] = Stage(alphaOp, kTaTexture, kTaDiffuse, colorOp, tex, kTaDiffuse);
  b.n = 1;
  if (kind == 1) b.stages[b.n++] = Stage(kTopSelectArg1, kTaCurrent, kTaCurrent, kTopBlendCurrentAlpha, kTaCurrent, kTaTFactor);
  CloseBlock(&b);
  return b;
}

StageBlock BlendTexturedBlock(int a, int dA, int dC) {
  StageBlock b{};
  const StageEntry colorOfGraph(dC ? Stage(kKeep, kKeep, kKeep, kTopModulate, kTaTexture, kTaDiffuse)
                                   : Stage(kKeep, kKeep, kKeep, kTopSelectArg1, kTaTexture, kTaDiffuse));
  auto withAlpha = [&](int16_t op, int16_t a1, int16_t a2) {
    StageEntry e = colorOfGraph;
    e.alphaOp = op;
    e.alphaArg1 = a1;
    e.alphaArg2 = a2;
    return e;
  };
  b.stages[0] = Stage(kTopAdd, kTaTexture, kTaTFactor, kTopSelectArg2, kTaTexture, kTaDiffuse);
  if (a == 0) {
    b.stages[1] = withAlpha(kTopModulate, kTaCurrent, kTaDiffuse);
    b.n = 2;
  } else if (a == 1) {
    b.stages[1] = Stage(kTopModulate, kTaSpecular, kTaCurrent, kTopSelectArg1, kTaCurrent, kTaDiffuse);
    b.stages[2] = withAlpha(kTopModulate, kTaTexture, kTaCurrent);
    b.n = 3;
  } else {
    b.stages[1] = withAlpha(kTopModulate, kTaTexture, kTaCurrent);
    b.n = 2;
  }
  if (a != 0 && dA) b.stages[b.n++] = Stage(kTopModulate, kTaDiffuse, kTaCurrent, kTopSelectArg1, kTaCurrent, kTaDiffuse);
  CloseBlock(&b);
  return b;
}

StageBlock UntexturedBlock(int32_t mode, int kind) {
  StageBlock b{};
  if (mode == 3) {
    b.stages[0] = Stage(kTopSelectArg2, kTaTexture, kTaDiffuse, kTopSelectArg1, kTaDiffuse, kTaCurrent);
  } else if (kind == 1) {
    b.stages[0] = Stage(kTopSelectArg1, kTaDiffuse, kTaCurrent, kTopBlendDiffuseAlpha, kTaDiffuse, kTaTFactor);
  } else {
    const int16_t arg = kind == 2 ? kTaDiffuse | kTaComplement : kTaDiffuse;
    b.stages[0] = Stage(kTopSelectArg1, kTaDiffuse, kTaCurrent, kTopSelectArg1, arg, kTaCurrent);
  }
  b.n = 1;
  CloseBlock(&b);
  return b;
}

// Sends a render state unless the cache holds it already (and no re-send is
// under way), flushing the batch first.
int CachedRenderState(uint32_t device, uint32_t* cache, uint32_t state, uint32_t value, bool flush = true) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if (*cache == value && !s->resend) return 0;
  if (flush) FlushVertexBatch(device);
  *cache = value;
  return s->device->SetRenderState(state, value) == kOk ? 0 : -1;
}

// The same for a setter: the cache is the device record's field.
int CachedField(uint32_t device, uint32_t D3DDeviceState::*field, uint32_t state, uint32_t value) {
  D3DDeviceState* s = InUseDevice(device);
  return s == nullptr ? -1 : CachedRenderState(device, &(s->*field), state, value);
}

void CachedStageState(D3DDeviceState* s, uint32_t stage, uint16_t* cache, uint32_t state, int16_t value) {
  if (value == kKeep || (*cache == static_cast<uint16_t>(value) && !s->resend)) return;
  *cache = static_cast<uint16_t>(value);
  s->device->SetTextureStageState(stage, state, static_cast<uint32_t>(value));
}

void SendFilters(D3DDeviceState* s, int32_t stages) {
  const uint32_t value = s->filterMode == 1 ? kFilterLinear : kFilterPoint;
  static constexpr uint32_t kMip[2] = {2, 3};
  for (int32_t i = 0; i < stages && i < kD3DStages; ++i) {
    s->magFilter[i] = s->minFilter[i] = value;
    s->mipFilter[i] = kMip[value - 1];
    s->device->SetTextureStageState(static_cast<uint32_t>(i), kTssMagFilter, value);
    s->device->SetTextureStageState(static_cast<uint32_t>(i), kTssMinFilter, value);
    s->device->SetTextureStageState(static_cast<uint32_t>(i), kTssMipFilter, s->mipFilter[i]);
  }
}

void BindStageTexture(D3DDeviceState* s, uint32_t stage, plat::DDSurface* surface) {
  if (s->stages[stage].texture == surface && !s->resend) return;
  s->stages[stage].texture = surface;
  if (surface == nullptr) {
    s->device->SetTexture(stage, nullptr);
    return;
  }
  Texture& t = s->boundTextures[stage];
  t.view = SurfaceViewOf(surface);
  t.hasColorKey = surface->hasColorKey();
  t.colorKey = surface->colorKey();
  s->device->SetTexture(stage, &t);
}

}  // namespace

int SetTexturePerspectiveState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::texturePerspective, kRsTexturePerspective, value);
}

int SetColorKeyEnableState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::colorKeyEnable, kRsColorKeyEnable, value);
}

int SetZEnableState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::zEnable, kRsZEnable, value == 1 ? 1u : 0u);
}

int SetZWriteEnableState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::zWriteEnable, kRsZWriteEnable, value);
}

int SetZFuncState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::zFunc, kRsZFunc, value);
}

int SetZBiasState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::zBias, kRsZBias, value);
}

int SetCullModeState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::cullMode, kRsCullMode, value != 0 ? kCullCcw : kCullNone);
}

int SetShadeModeState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::shadeMode, kRsShadeMode, value);
}

int SetFogEnableState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::fogEnable, kRsFogEnable, value);
}

int SetLightingState(uint32_t device, uint32_t value) {
  return CachedField(device, &D3DDeviceState::lighting, kRsLighting, value);
}

int SetD3DFilterMode(uint32_t device, int32_t mode) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr || (mode != 0 && mode != 1)) return -1;
  if (s->filterMode == mode && !s->resend) return 0;
  FlushVertexBatch(device);
  s->filterMode = mode;
  SendFilters(s, s->stagesInUse);
  return 0;
}

int SetD3DDrawFilterMode(int32_t mode) { return SetD3DFilterMode(GetD3D().currentDevice, mode); }

int SetD3DRenderTarget(uint32_t device, plat::DDSurface* surface) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  plat::DDSurface* target = surface != nullptr ? surface : s->ownTarget;
  FlushVertexBatch(device);
  if (s->device->SetRenderTarget(SurfaceViewOf(target)) != kOk) return -1;
  s->currentTarget = target;
  s->viewport = {0, 0, target->width(), target->height(), 0.0f, 1.0f};
  return 0;
}

int SetBlendModeState(uint32_t device, int32_t mode, uint32_t alphaChannel, uint32_t alphaTest) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  s->blendMode = mode;
  s->alphaChannel = alphaChannel;
  s->alphaTest = alphaTest;
  s->stagesDirty = 1;
  return 0;
}

int SetCurrentTextureState(uint32_t device, plat::DDSurface* texture) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if ((s->texture == nullptr) != (texture == nullptr)) s->stagesDirty = 1;
  s->texture = texture;
  s->textureDirty = 1;
  return 0;
}

// The device keeps a view of every bound texture's memory, and the batch and
// the caches name textures by address: a texture about to be freed is drawn
// out of the batch and unbound everywhere, so neither a stale view nor a new
// surface at the same address is ever taken for it.
void ForgetTextureSurface(plat::DDSurface* surface) {
  if (surface == nullptr) return;
  for (uint32_t i = 0; i < kD3DDeviceSlots; ++i) {
    D3DDeviceState* s = InUseDevice(i);
    if (s == nullptr) continue;
    bool bound = s->texture == surface || s->blendTexture == surface;
    for (uint32_t stage = 0; stage < kD3DStages; ++stage) bound = bound || s->stages[stage].texture == surface;
    if (!bound) continue;
    FlushVertexBatch(i);
    for (uint32_t stage = 0; stage < kD3DStages; ++stage) {
      if (s->stages[stage].texture == surface) BindStageTexture(s, stage, nullptr);
    }
    if (s->texture == surface) s->texture = nullptr;
    if (s->blendTexture == surface) s->blendTexture = nullptr;
    s->lastPiece = nullptr;
    s->stagesDirty = 1;
    s->textureDirty = 1;
  }
}

int SetBlendTextureState(uint32_t device, plat::DDSurface* texture, int32_t parameter, int32_t type) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if (texture == nullptr && s->blendTexture == nullptr) return 0;
  s->blendTexture = texture;
  if (parameter != -1) s->blendTexParam = parameter;
  if (type != -1) s->blendTexType = type;
  s->stagesDirty = 1;
  return 0;
}

int SetAlphaBlendUseState(uint32_t device, uint32_t on) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  s->useDiffuseAlpha = on;
  s->stagesDirty = 1;
  return 0;
}

int SetDiffuseUseState(uint32_t device, uint32_t on) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  s->useDiffuseColor = on;
  s->stagesDirty = 1;
  return 0;
}

int ApplyBlendStates(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  // The batch never holds vertices of two state sets (nor of two formats).
  FlushVertexBatch(device);
  const int32_t mode = s->blendMode >= 0 && s->blendMode <= kBlendModeMax ? s->blendMode : 0;
  const BlendRow row = kBlendTable[mode];
  int32_t dest = row.dest, src = row.src;
  s->stagesDirty = s->textureDirty = 0;
  const bool blending = mode != 0 && mode != 6;
  uint32_t factor = 0xFFFFFFFFu;
  uint32_t alphaTestOn = s->alphaTestEnable, ref = s->alphaRef, func = s->alphaFunc, blendOn;
  plat::DDSurface* stageTexture[kD3DStages] = {};
  StageBlock block;
  const int a = s->alphaChannel ? 1 : s->alphaTest ? 2 : 0;
  if (s->texture == nullptr) {
    s->drawingOff = 0;
    block = UntexturedBlock(mode, row.kind);
    alphaTestOn = 0;
    factor = s->textureFactor;
    blendOn = blending ? 1 : 0;
    s->format = 0;
  } else if (s->blendTexture == nullptr) {
    block = TexturedBlock(a, s->useDiffuseAlpha ? 1 : 0, s->useDiffuseColor ? 1 : 0, row.kind);
    s->drawingOff = 0;
    s->format = 1;
    if (s->alphaTest) {
      alphaTestOn = 1, ref = 16, func = kCmpGreater;
    } else if (s->zEnable) {
      alphaTestOn = 1, ref = 0, func = kCmpGreater;
    } else {
      alphaTestOn = 0;
    }
    if (s->alphaChannel && !blending) dest = kBlendInvSrcAlpha, src = kBlendSrcAlpha;
    blendOn = s->alphaChannel || blending ? 1 : 0;
    stageTexture[0] = s->texture;
  } else {
    block = BlendTexturedBlock(a, s->useDiffuseAlpha ? 1 : 0, s->useDiffuseColor ? 1 : 0);
    if (!blending) dest = kBlendInvSrcAlpha, src = kBlendSrcAlpha;
    s->format = 2;
    const int32_t p = s->blendTexParam & 255;
    s->drawingOff = s->blendTexParam == 255 ? 1 : 0;
    stageTexture[0] = s->blendTexture;
    stageTexture[s->alphaChannel ? 2 : 1] = s->texture;
    if (s->blendTexType < 2) {
      alphaTestOn = 1;
      func = kCmpGreaterEqual;
      ref = static_cast<uint32_t>(p == 0 && (s->alphaChannel || s->alphaTest) ? 1 : p);
      blendOn = 0;
      factor = 0x00FFFFFFu;
    } else {
      alphaTestOn = 0;
      blendOn = 1;
      const int32_t t = s->blendTexType;
      const int32_t k = t <= 64 ? 1280 : t <= 128 ? 768 : 512;
      const int32_t m = t <= 64 ? 1024 : t <= 128 ? 512 : 256;
      const int32_t c = t <= 64 ? 64 : t <= 128 ? 128 : 255;
      block.stages[1].alphaOp = static_cast<int16_t>(t <= 64 ? kTopModulate4x : t <= 128 ? kTopModulate2x : kTopModulate);
      const int32_t q = -(p * k / 255), r = q + k;
      uint32_t alpha;
      if (r < m) {
        alpha = static_cast<uint32_t>(255 - r * 255 / m);
        block.stages[0].alphaOp = kTopSubtract;
      } else {
        alpha = static_cast<uint32_t>((q + 256) * c / 256) & 255u;
        block.stages[0].alphaOp = kTopAdd;
      }
      factor = alpha << 24 | 0xFFFFFFu;
    }
  }
  if (block.n != s->stagesInUse) {
    s->stagesInUse = block.n;
    SendFilters(s, block.n);
  }
  CachedRenderState(device, &s->diffuseMaterialSource, kRsDiffuseMaterialSource, 1, false);
  CachedRenderState(device, &s->specularMaterialSource, kRsSpecularMaterialSource, 2, false);
  CachedRenderState(device, &s->specularEnable, kRsSpecularEnable, 0, false);
  CachedRenderState(device, &s->alphaFunc, kRsAlphaFunc, func, false);
  CachedRenderState(device, &s->alphaRef, kRsAlphaRef, ref, false);
  CachedRenderState(device, &s->alphaTestEnable, kRsAlphaTestEnable, alphaTestOn, false);
  CachedRenderState(device, &s->alphaBlendEnable, kRsAlphaBlendEnable, blendOn, false);
  CachedRenderState(device, &s->textureFactor, kRsTextureFactor, factor, false);
  // A kept factor (-1) is still sent again on a re-send: a new device knows
  // only its defaults, and a later draw asking for the cached factor would
  // otherwise find it "already set".
  if (src != -1 || (s->resend && s->srcBlend != 0)) {
    CachedRenderState(device, &s->srcBlend, kRsSrcBlend, static_cast<uint32_t>(src != -1 ? src : static_cast<int32_t>(s->srcBlend)), false);
  }
  if (dest != -1 || (s->resend && s->destBlend != 0)) {
    CachedRenderState(device, &s->destBlend, kRsDestBlend, static_cast<uint32_t>(dest != -1 ? dest : static_cast<int32_t>(s->destBlend)), false);
  }
  for (int32_t i = 0; i <= block.n && i < kD3DStages; ++i) {
    if (i >= 2 && s->stages[i - 1].alphaOp == kTopDisable) break;
    StageCache& c = s->stages[i];
    const StageEntry& e = block.stages[i];
    const uint32_t st = static_cast<uint32_t>(i);
    BindStageTexture(s, st, stageTexture[i]);
    CachedStageState(s, st, &c.alphaOp, kTssAlphaOp, e.alphaOp);
    CachedStageState(s, st, &c.alphaArg1, kTssAlphaArg1, e.alphaArg1);
    CachedStageState(s, st, &c.alphaArg2, kTssAlphaArg2, e.alphaArg2);
    CachedStageState(s, st, &c.colorOp, kTssColorOp, e.colorOp);
    CachedStageState(s, st, &c.colorArg1, kTssColorArg1, e.colorArg1);
    CachedStageState(s, st, &c.colorArg2, kTssColorArg2, e.colorArg2);
  }
  return 0;
}

int ApplyTextureAndBlend(uint32_t oldDevice, uint32_t newDevice) {
  const D3DDeviceState* o = InUseDevice(oldDevice);
  if (o == nullptr || InUseDevice(newDevice) == nullptr) return -1;
  SetBlendModeState(newDevice, o->blendMode, o->alphaChannel, o->alphaTest);
  SetAlphaBlendUseState(newDevice, o->useDiffuseAlpha);
  SetDiffuseUseState(newDevice, o->useDiffuseColor);
  SetD3DFilterMode(newDevice, o->filterMode);
  SetCurrentTextureState(newDevice, o->texture);
  return ApplyBlendStates(newDevice);
}

int SetBlendGraphD3D(const GraphRecord* graph, int32_t parameter, int32_t type) {
  D3DGlobals& d = GetD3D();
  const uint32_t device = d.currentDevice;
  D3DDeviceState* s = InUseDevice(device);
  if (graph != nullptr) {
    const Surface3DData* p = graph->pieceCount > 0 ? LookupSurface3DData(graph->pieceHandles[0]) : nullptr;
    const SurfaceDataRecord* t = p != nullptr ? LookupSurfaceData(p->texture) : nullptr;
    if (t == nullptr) return -1;
    if (s == nullptr) return 0;
    FlushVertexBatch(device);
    SetBlendTextureState(device, t->surface, parameter, type);
    d.blendWidth = static_cast<float>(t->width);
    d.blendHeight = static_cast<float>(t->height);
    d.blendRecipWidth = 1.0f / d.blendWidth;
    d.blendRecipHeight = 1.0f / d.blendHeight;
    return 0;
  }
  if (s == nullptr) return 0;
  if (s->blendTexture != nullptr || s->resend) {
    FlushVertexBatch(device);
    s->blendTexture = nullptr;
    if (parameter != -1) s->blendTexParam = parameter;
    if (type != -1) s->blendTexType = type;
    s->stagesDirty = 1;
  }
  return 0;
}

int SetD3DViewport(const Viewport& viewport, uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr || s->currentTarget == nullptr) return -1;
  const Viewport& c = s->viewport;
  if (c.x == viewport.x && c.y == viewport.y && c.width == viewport.width && c.height == viewport.height &&
      !s->resend)
    return 0;
  FlushVertexBatch(device);
  EndSceneIfBegun(device);
  const Result r = s->device->SetViewport(viewport);
  if (r != kOk) {
    LogPrintf("ビューポートのセットに失敗しました ErrorCode %x\n", static_cast<unsigned>(r));
    return -1;
  }
  s->viewport = viewport;
  return 0;
}

int SetD3DViewportRect(const Rect* rect) {
  const DrawState& ds = GetDrawState();
  if (rect->right == rect->left || rect->bottom == rect->top) return -1;
  if (GetD3D().drawingSuspended) return 0;
  const Viewport v = {rect->left + ds.screenPlacement.left, rect->top + ds.screenPlacement.top,
                      rect->right - rect->left, rect->bottom - rect->top, 0.0f, 1.0f};
  return SetD3DViewport(v, GetD3D().currentDevice);
}

int SetDefaultD3DStates(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  FlushVertexBatch(device);
  static constexpr uint32_t kCoordIndex[4] = {0, 1, 1, 0};
  for (uint32_t i = 0; i < 4; ++i) {
    s->device->SetTextureStageState(i, kTssAddress, s->addressMode);
    s->device->SetTextureStageState(i, kTssTexCoordIndex, kCoordIndex[i]);
  }
  s->device->SetRenderState(kRsTexturePerspective, s->texturePerspective);
  s->device->SetRenderState(kRsShadeMode, s->shadeMode);
  s->device->SetRenderState(kRsColorKeyEnable, s->colorKeyEnable);
  s->device->SetRenderState(kRsLighting, s->lighting);
  s->device->SetRenderState(kRsCullMode, kCullNone);
  s->device->SetRenderState(kRsDitherEnable, 0);
  return 0;
}

namespace {

int SendTransform(uint32_t type, const float* matrix16) {
  const uint32_t device = GetD3D().currentDevice;
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr || matrix16 == nullptr) return -1;
  FlushVertexBatch(device);
  SendDeviceMatrix(s, type, matrix16);
  return 0;
}

}  // namespace

int SetWorldTransformD3D(const float* matrix16, int32_t index) {
  const uint32_t device = GetD3D().currentDevice;
  if (InUseDevice(device) == nullptr) return -1;
  FlushVertexBatch(device);
  return SetDeviceTransform(device, index, matrix16);
}

int SetViewTransformD3D(const float* matrix16) { return SendTransform(plat::d3d::kTransformView, matrix16); }

int SetProjectionTransformD3D(const float* matrix16) {
  return SendTransform(plat::d3d::kTransformProjection, matrix16);
}

}  // namespace qor
