// What the Direct3D-like stand-in offers before a device exists: the device
// kinds with the capabilities the framework reads, the texture and depth
// formats, and device creation, with switches that take any of them away
// so that the framework's fall-backs run.
#pragma once

#include <cstdint>

#include "platform/d3d/d3d_types.h"

namespace plat::d3d {

class Device;

enum DeviceKind : uint32_t { kDeviceSoftware = 0, kDeviceHal = 1, kDeviceTnlHal = 2 };

// Render-target depths a device accepts (bit values of the display's
// depth flags) and texture capability bits.
constexpr uint32_t kRenderDepth16 = 0x400;
constexpr uint32_t kRenderDepth32 = 0x100;
constexpr uint32_t kTextureCapsPow2 = 0x2;
constexpr uint32_t kTextureCapsSquareOnly = 0x20;

struct DeviceDesc {
  DeviceKind kind;
  uint32_t renderBitDepths;
  uint32_t textureCaps;
  uint32_t minTextureWidth, minTextureHeight;
  uint32_t maxTextureWidth, maxTextureHeight;
  uint16_t maxTextureBlendStages;
  uint16_t maxSimultaneousTextures;
};

// Pixel format flags of the formats offered.
constexpr uint32_t kFormatAlphaPixels = 0x1;
constexpr uint32_t kFormatRgb = 0x40;
constexpr uint32_t kFormatZBuffer = 0x400;

struct FormatDesc {
  uint32_t flags;
  uint32_t bitCount;   // colour bits, or the depth bits of a depth format
  uint32_t masks[4];   // red, green, blue, alpha (0 for a depth format)
};

// The stand-in's one record: what it offers, its injected failures, its
// call counts.
struct D3DStandIn {
  bool offerDirect3D;          // false: the display offers no Direct3D at all
  DeviceDesc devices[4];
  int32_t deviceCount;
  FormatDesc textureFormats[8];
  int32_t textureFormatCount;
  bool offerDepthFormat;
  int32_t failCreateDevice;    // the next N device creations fail
  int32_t enumDevicesCalls;
  int32_t createDeviceCalls;
};

// The record, and its state at program load: Direct3D offered with a HAL
// device followed by a T&L HAL device (16- and 32-bit targets, textures 1
// to 2048 texels without size rules, 8 stages), the six texture formats of
// d3d_types.h, a 16-bit depth format, no failures.
D3DStandIn& StandIn();
void ResetStandIn();

// Enumerations: the callback returns true to go on, false to stop. They
// fail with kErrUnsupported when Direct3D is not offered.
using DeviceCallback = bool (*)(const DeviceDesc& desc, void* context);
using FormatCallback = bool (*)(const FormatDesc& format, void* context);
Result EnumDevices(DeviceCallback callback, void* context);
Result EnumTextureFormats(FormatCallback callback, void* context);
Result EnumZBufferFormats(FormatCallback callback, void* context);

// A new device of `kind` drawing on `target` (the caller deletes it);
// null with kErrUnsupported for a kind not offered or a target depth the
// device does not take, kErrInvalidCall for an unusable view, kErrDrawFailed
// for an injected failure.
Device* CreateDevice(DeviceKind kind, const SurfaceView& target, Result* result);

}  // namespace plat::d3d
