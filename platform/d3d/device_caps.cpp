// The stand-in's offer: device kinds, formats, device creation.
#include "platform/d3d/device_caps.h"

#include "platform/d3d/device.h"

namespace plat::d3d {
namespace {

FormatDesc FormatOf(const PixelLayout& layout) {
  return {kFormatRgb | (layout.masks[3] != 0 ? kFormatAlphaPixels : 0u), static_cast<uint32_t>(layout.bitCount),
          {layout.masks[0], layout.masks[1], layout.masks[2], layout.masks[3]}};
}

D3DStandIn DefaultStandIn() {
  D3DStandIn s = {};
  s.offerDirect3D = true;
  const DeviceDesc hal = {kDeviceHal, kRenderDepth16 | kRenderDepth32, 0, 1, 1, 2048, 2048, kMaxStages, kMaxStages};
  s.devices[0] = hal;
  s.devices[1] = hal;
  s.devices[1].kind = kDeviceTnlHal;
  s.deviceCount = 2;
  const PixelLayout layouts[] = {kLayoutR5G6B5,   kLayoutX1R5G5B5, kLayoutA1R5G5B5,
                                 kLayoutA4R4G4B4, kLayoutX8R8G8B8, kLayoutA8R8G8B8};
  for (const PixelLayout& layout : layouts) s.textureFormats[s.textureFormatCount++] = FormatOf(layout);
  s.offerDepthFormat = true;
  return s;
}

D3DStandIn g_standIn = DefaultStandIn();

}  // namespace

D3DStandIn& StandIn() { return g_standIn; }

void ResetStandIn() { g_standIn = DefaultStandIn(); }

Result EnumDevices(DeviceCallback callback, void* context) {
  ++g_standIn.enumDevicesCalls;
  if (!g_standIn.offerDirect3D || callback == nullptr) return g_standIn.offerDirect3D ? kErrInvalidCall : kErrUnsupported;
  for (int32_t i = 0; i < g_standIn.deviceCount && i < 4; ++i) {
    if (!callback(g_standIn.devices[i], context)) break;
  }
  return kOk;
}

Result EnumTextureFormats(FormatCallback callback, void* context) {
  if (!g_standIn.offerDirect3D || callback == nullptr) return g_standIn.offerDirect3D ? kErrInvalidCall : kErrUnsupported;
  for (int32_t i = 0; i < g_standIn.textureFormatCount && i < 8; ++i) {
    if (!callback(g_standIn.textureFormats[i], context)) break;
  }
  return kOk;
}

Result EnumZBufferFormats(FormatCallback callback, void* context) {
  if (!g_standIn.offerDirect3D || callback == nullptr) return g_standIn.offerDirect3D ? kErrInvalidCall : kErrUnsupported;
  if (g_standIn.offerDepthFormat) callback({kFormatZBuffer, 16, {0, 0, 0, 0}}, context);
  return kOk;
}

Device* CreateDevice(DeviceKind kind, const SurfaceView& target, Result* result) {
  ++g_standIn.createDeviceCalls;
  Result r = kOk;
  const DeviceDesc* desc = nullptr;
  for (int32_t i = 0; i < g_standIn.deviceCount && i < 4; ++i) {
    if (g_standIn.devices[i].kind == kind) desc = &g_standIn.devices[i];
  }
  uint32_t depthBit = target.layout.bitCount == 16 ? kRenderDepth16 : target.layout.bitCount == 32 ? kRenderDepth32 : 0;
  if (!g_standIn.offerDirect3D || desc == nullptr || (desc->renderBitDepths & depthBit) == 0) {
    r = kErrUnsupported;
  } else if (!SurfaceViewUsable(target)) {
    r = kErrInvalidCall;
  } else if (g_standIn.failCreateDevice > 0) {
    --g_standIn.failCreateDevice;
    r = kErrDrawFailed;
  }
  if (result != nullptr) *result = r;
  if (r != kOk) return nullptr;
  Device* device = new Device();
  device->SetRenderTarget(target);
  return device;
}

}  // namespace plat::d3d
