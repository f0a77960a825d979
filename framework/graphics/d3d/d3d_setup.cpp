// Direct3D set-up and end: the object, the device choice, the texture and
// depth formats, device creation and re-creation, and the release and
// re-acquisition around a task switch.
#include <cstring>

#include "framework/core/log.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

using namespace plat::d3d;

namespace {

struct DeviceChoice {
  bool found;
  DeviceDesc desc;
};

bool EnumD3DDeviceCallback(const DeviceDesc& desc, void* context) {
  auto* choice = static_cast<DeviceChoice*>(context);
  if (desc.kind != kDeviceHal && desc.kind != kDeviceTnlHal) return true;
  const int32_t bits = GetScreenState().colorBits;
  if (!((bits == 16 && (desc.renderBitDepths & kRenderDepth16)) ||
        (bits == 32 && (desc.renderBitDepths & kRenderDepth32))))
    return true;
  choice->found = true;
  choice->desc = desc;
  if (desc.kind == kDeviceHal) {
    LogOutput("ＨＡＬデバイスを発見しました\n");
    return true;
  }
  LogOutput("ハードウエアＴ＆Ｌデバイスを発見しました\n");
  return false;
}

bool EnumZBufferFormatCallback(const FormatDesc& format, void* context) {
  if (format.flags != kFormatZBuffer || format.bitCount != 16) return true;
  GetD3D().zFormat = plat::DDPixelFormat{plat::DDPF_ZBUFFER, 16, 0xFFFF, 0, 0, 0};
  *static_cast<bool*>(context) = true;
  return false;
}

void StoreFormat(int index, const FormatDesc& format) {
  TextureFormatRecord& r = GetD3D().formats[index];
  r.dd = plat::DDPixelFormat{format.flags, format.bitCount, format.masks[0], format.masks[1], format.masks[2],
                             format.masks[3]};
  MakeFormatFromDirectDraw(&r.dd, &r.info);
}

bool EnumTextureFormatCallback(const FormatDesc& format, void* context) {
  if ((format.flags & kFormatRgb) == 0) return true;  // bump maps, luminance, FourCC, alpha only
  D3DGlobals& d = GetD3D();
  if (format.flags & kFormatAlphaPixels) {
    switch (format.masks[3]) {
      case 0xF000: StoreFormat(kTexAlpha4444, format); break;
      case 0xFF000000u:
        StoreFormat(kTexAlpha8888, format);
        StoreFormat(kTexAlphaTest32, format);
        break;
      case 0x8000: StoreFormat(kTexAlphaTest1555, format); break;
      default: break;
    }
    return true;
  }
  const int index = format.bitCount == 16 ? kTexPlain16 : format.bitCount == 32 ? kTexPlain32 : -1;
  if (index < 0) return true;
  PixelFormatInfo info{};
  plat::DDPixelFormat dd{format.flags, format.bitCount, format.masks[0], format.masks[1], format.masks[2], 0};
  MakeFormatFromDirectDraw(&dd, &info);
  if (d.formats[index].dd.bitCount == 0 || IsSamePixelFormat(&info, &GetScreenState().format)) StoreFormat(index, format);
  if (index == kTexPlain16) *static_cast<bool*>(context) = true;
  return true;
}

void CopyMissing(int to, int from) {
  D3DGlobals& d = GetD3D();
  if (d.formats[to].dd.bitCount == 0) d.formats[to] = d.formats[from];
}

plat::DDSurface* PrimaryTarget() {
  const ScreenState& s = GetScreenState();
  return s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
}

// Fills the fixed fields of the batch buffers and the caches a new device
// starts with, and sends the creation states.
void PrepareNewDevice(D3DDeviceState* s) {
  for (ColorVertex& v : s->buffer0) v.z = 0.0f, v.rhw = 1.0f;
  for (TexVertex& v : s->buffer1) v.z = 0.0f, v.rhw = 1.0f;
  for (BlendVertex& v : s->buffer2) v.z = 0.0f, v.rhw = 1.0f, v.specular = 0xFFFFFFFFu;
  s->addressMode = kAddressClamp;
  for (uint32_t i = 0; i < kD3DStages; ++i) {
    s->device->SetTextureStageState(i, kTssAddress, s->addressMode);
    s->device->SetTextureStageState(i, kTssMagFilter, kFilterPoint);
    s->device->SetTextureStageState(i, kTssMinFilter, kFilterPoint);
    s->device->SetTextureStageState(i, kTssMipFilter, 2);
    s->magFilter[i] = s->minFilter[i] = kFilterPoint;
    s->mipFilter[i] = 2;
    s->stages[i] = {nullptr, 2, 0, 1, 2, 0, 1};
  }
  static constexpr uint32_t kCreationStates[][2] = {
      {kRsColorKeyBlendEnable, 0}, {kRsCullMode, kCullNone}, {kRsLighting, 0},       {kRsTexturePerspective, 0},
      {kRsShadeMode, kShadeFlat},  {kRsColorKeyEnable, 0},   {kRsDitherEnable, 0}};
  for (const auto& state : kCreationStates) s->device->SetRenderState(state[0], state[1]);
  s->cullMode = kCullNone;
  s->shadeMode = kShadeFlat;
  s->zEnable = 1;
  s->zFunc = kCmpLessEqual;
  s->blendTexParam = -1;
  s->stagesDirty = 1;
  s->format = 1;
  s->primitiveType = kPtTriangleList;
}

}  // namespace

const plat::DDPixelFormat* GetZBufferPixelFormat() { return &GetD3D().zFormat; }

int InitDirect3D() {
  D3DGlobals& d = GetD3D();
  if (d.object) return -1;
  LogOutput("Direct3D 関連の初期化を行います\n");
  ResetD3D();
  LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  if (GetScreenState().directDraw == nullptr || !StandIn().offerDirect3D)
    return LogOutput("Direct3Dオブジェクトの作成に失敗しました\n");
  d.object = 1;
  LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得しました\n");
  DeviceChoice choice{};
  if (EnumDevices(EnumD3DDeviceCallback, &choice) != kOk || !choice.found) {
    d.object = 0;
    return LogOutput("現在の画面モードで使用できる描画デバイスが見つかりませんでした\n");
  }
  d.desc = choice.desc;
  bool zFound = false;
  if (EnumZBufferFormats(EnumZBufferFormatCallback, &zFound) != kOk || !zFound)
    LogOutput("使用可能なＺバッファが見つかりませんでした\n");
  const int32_t device = CreateD3DDevice(PrimaryTarget());
  if (device < 0) {
    d.object = 0;
    return -1;
  }
  d.currentDevice = static_cast<uint32_t>(device);
  SetD3DRenderTarget(d.currentDevice, PrimaryTarget());
  DrawState& ds = GetDrawState();
  if (ds.textureAddress == 0) ds.textureAddress = kAddressClamp;
  D3DDeviceState* s = DeviceSlot(d.currentDevice);
  s->addressMode = static_cast<uint32_t>(ds.textureAddress);
  for (int stage = 3; stage >= 0; --stage) {
    if (s->device->SetTextureStageState(static_cast<uint32_t>(stage), kTssAddress, s->addressMode) != kOk &&
        stage == 0) {
      DeleteAllD3DDevices();
      d.object = 0;
      return -1;
    }
  }
  for (TextureFormatRecord& r : d.formats) r = {};
  bool texFound = false;
  if (EnumTextureFormats(EnumTextureFormatCallback, &texFound) != kOk || !texFound) {
    LogOutput("使用可能なテクスチャフォーマットが見つかりませんでした\n");
    DeleteAllD3DDevices();
    d.object = 0;
    return -1;
  }
  CopyMissing(kTexPlain32, kTexPlain16);
  CopyMissing(kTexAlpha8888, kTexAlpha4444);
  CopyMissing(kTexAlphaTest1555, kTexAlpha4444);
  CopyMissing(kTexAlphaTest32, kTexAlpha8888);
  CopyMissing(kTexTarget16, kTexPlain16);
  CopyMissing(kTexTarget32, kTexPlain32);
  CopyMissing(kTexTargetAlpha, kTexAlpha8888);
  d.frontTarget = 1;
  const uint32_t minSide = d.desc.minTextureWidth < d.desc.minTextureHeight ? d.desc.minTextureWidth : d.desc.minTextureHeight;
  const uint32_t maxSide = d.desc.maxTextureWidth < d.desc.maxTextureHeight ? d.desc.maxTextureWidth : d.desc.maxTextureHeight;
  d.minTexture = minSide == 0 ? 32 : static_cast<int32_t>(minSide);
  d.maxTexture = maxSide == 0 ? 256 : static_cast<int32_t>(maxSide);
  d.captureMethod[0] = d.captureMethod[1] = -1;
  d.drawingSuspended = 0;
  IncreaseLogIndent();
  LogPrintf("テクスチャ最大幅:%u 最小幅:%u ", static_cast<unsigned>(d.maxTexture), static_cast<unsigned>(d.minTexture));
  LogPrintf("描画制限: TEXTURECAPS_POW2 = %d  TEXTURECAPS_SQUAREONLY = %d ", (d.desc.textureCaps & kTextureCapsPow2) ? 1 : 0,
            (d.desc.textureCaps & kTextureCapsSquareOnly) ? 1 : 0);
  LogPrintf("最大テクスチャステージ数 = %d   最大テクスチャブレンド数 = %d ", d.desc.maxTextureBlendStages,
            d.desc.maxSimultaneousTextures);
  if (d.desc.maxTextureBlendStages < 4)
    LogOutput("使用可能テクスチャステージが 4 以下なので SelectBlendGraph は正常に機能しない可能性があります\n");
  LogOutput("テクスチャピクセルフォーマット\n");
  LogOutput("\t通常グラフィック用\n");
  for (int i : {kTexPlain16, kTexPlain32}) {
    const plat::DDPixelFormat& f = d.formats[i].dd;
    const PixelFormatInfo& n = d.formats[i].info;
    LogPrintf("\t\t BIT:%u  RED:%u  GREEN:%u  BLUE:%u ", f.bitCount, n.widths[0], n.widths[1], n.widths[2]);
    LogPrintf("\t\t RED:%06x GREEN:%06x BLUE:%06x \n", f.redMask, f.greenMask, f.blueMask);
  }
  LogOutput("\tアルファチャンネル付きグラフィック用\n");
  for (int i : {kTexAlpha4444, kTexAlpha8888}) {
    const plat::DDPixelFormat& f = d.formats[i].dd;
    const PixelFormatInfo& n = d.formats[i].info;
    LogPrintf("\t\t BIT:%u  ALPHA:%u  RED:%u  GREEN:%u  BLUE:%u ", f.bitCount, n.widths[3], n.widths[0], n.widths[1],
              n.widths[2]);
    LogPrintf("\t\t ALPHA:%08x RED:%08x GREEN:%08x BLUE:%08x \n", f.alphaMask, f.redMask, f.greenMask, f.blueMask);
  }
  DecreaseLogIndent();
  LogOutput("Direct3D 関連の初期化は正常に終了しました\n");
  d.initialised = 1;
  return 0;
}

int EndDirect3D() {
  D3DGlobals& d = GetD3D();
  if (!d.object) return -1;
  LogOutput("Direct3D 関連の終了処理を行います\n");
  EndSceneIfBegun(d.currentDevice);
  d.frontTarget = 0;
  if (D3DDeviceState* s = DeviceSlot(d.currentDevice)) s->texture = nullptr;
  DeleteAllSurface3DData();
  DeleteAllD3DDevices();
  d.object = 0;
  LogOutput("Direct3D 関連の終了処理は正常に終了しました\n");
  d.initialised = 0;
  return 0;
}

int32_t CreateD3DDevice(plat::DDSurface* target) {
  D3DGlobals& d = GetD3D();
  int32_t index = -1;
  for (int32_t i = 0; i < kD3DDeviceSlots && index < 0; ++i) {
    if (!d.devices[i].inUse) index = i;
  }
  if (index < 0 || target == nullptr) return -1;
  D3DDeviceState* s = &d.devices[index];
  std::memset(static_cast<void*>(s), 0, sizeof(*s));
  LogOutput("３Ｄデバイスを作成します... ");
  Result r = kOk;
  s->device = CreateDevice(d.desc.kind, SurfaceViewOf(target), &r);
  if (s->device == nullptr) return LogOutput("３Ｄデバイスの作成に失敗しました\n");
  PrepareNewDevice(s);
  s->inUse = 1;
  s->ownTarget = s->currentTarget = target;
  s->viewport = {0, 0, target->width(), target->height(), 0.0f, 1.0f};
  ResendAllD3DStates(static_cast<uint32_t>(index));
  LogOutput("３Ｄデバイスの作成に成功しました\n");
  return index;
}

void ResendAllD3DStates(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return;
  s->resend = 1;
  SetD3DViewport(s->viewport, device);
  SetColorKeyEnableState(device, s->colorKeyEnable);
  SetDefaultD3DStates(device);
  SetD3DFilterMode(device, s->filterMode);
  ApplyBlendStates(device);
  SetZEnableState(device, s->zEnable);
  SetZWriteEnableState(device, s->zWriteEnable);
  SetZFuncState(device, s->zFunc);
  SetZBiasState(device, s->zBias);
  s->device->SetRenderState(kRsCullMode, s->cullMode);
  SetTexturePerspectiveState(device, s->texturePerspective);
  SetShadeModeState(device, s->shadeMode);
  s->resend = 0;
}

int DeleteAllD3DDevices() {
  for (D3DDeviceState& s : GetD3D().devices) {
    if (!s.inUse) continue;
    delete s.device;
    std::memset(static_cast<void*>(&s), 0, sizeof(s));
    LogOutput("３Ｄデバイスの削除は正常に終了しました\n");
  }
  return 0;
}

int ReleaseDirect3DObject() {
  D3DGlobals& d = GetD3D();
  if (!d.initialised) return -1;
  DeleteD3DDevice(d.currentDevice);
  LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放します\n");
  if (d.object) {
    d.object = 0;
    LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放しました\n");
  } else {
    LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に解放されています\n");
  }
  return 0;
}

int AcquireDirect3DObject() {
  D3DGlobals& d = GetD3D();
  if (!d.initialised) return 0;
  LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  if (d.object) {
    LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に取得されていますn");
    return 0;
  }
  if (GetScreenState().directDraw == nullptr || !StandIn().offerDirect3D)
    return LogOutput("Direct3Dオブジェクトの作成に失敗しました\n");
  d.object = 1;
  LogOutput("Ｄｉｒｅｃｔ３Ｄオブジェクトは正常に取得されました\n");
  D3DDeviceState* s = DeviceSlot(d.currentDevice);
  s->ownTarget = PrimaryTarget();
  const ScreenState& screen = GetScreenState();
  s->currentTarget = screen.targetSurface != nullptr ? screen.targetSurface : s->ownTarget;
  return RecreateD3DDevice(d.currentDevice);
}

int RecreateD3DDevice(uint32_t device) {
  D3DGlobals& d = GetD3D();
  D3DDeviceState* s = DeviceSlot(device);
  if (!d.object || s == nullptr || !s->inUse) return -1;
  if (s->device != nullptr) return 0;
  LogOutput("３Ｄデバイスを作成します... ");
  Result r = kOk;
  s->device = s->ownTarget != nullptr ? CreateDevice(d.desc.kind, SurfaceViewOf(s->ownTarget), &r) : nullptr;
  if (s->device == nullptr) return LogOutput("３Ｄデバイスの作成に失敗しました\n");
  s->device->SetRenderState(kRsDitherEnable, 0);
  LogOutput("３Ｄデバイスの作成に成功しました\n");
  // The new device knows none of the old one's bindings.
  for (StageCache& c : s->stages) c.texture = nullptr;
  s->resend = 1;
  if (s->currentTarget != s->ownTarget) SetD3DRenderTarget(device, s->currentTarget);
  s->texture = nullptr;
  s->vertexCount = 0;
  SetBlendModeState(device, s->blendMode, s->alphaChannel, s->alphaTest);
  const DrawState& ds = GetDrawState();
  SetD3DViewportRect(&ds.drawArea);
  ResendAllD3DStates(device);
  s->resend = 1;
  ApplyBlendStates(device);
  // Every live piece, wherever it sits in the table.
  for (int32_t slot = 0; slot < d.pieces.usedEnd; ++slot) {
    const auto* p = static_cast<const Surface3DData*>(d.pieces.slots[slot]);
    if (p == nullptr) continue;
    CreateSurfaceDataSurface(p->texture);
    ApplySurfaceColorKey(p->texture);
  }
  s->resend = 0;
  return 0;
}

}  // namespace qor
