// The stand-in's offer and its switches.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/d3d/device.h"
#include "platform/d3d/device_caps.h"

namespace {

using namespace plat::d3d;

TEST(D3DStandIn, OffersDevicesAndFormatsUntilTakenAway) {
  ResetStandIn();
  std::vector<DeviceKind> kinds;
  ASSERT_EQ(EnumDevices([](const DeviceDesc& d, void* c) {
              static_cast<std::vector<DeviceKind>*>(c)->push_back(d.kind);
              return true;
            }, &kinds), kOk);
  EXPECT_EQ(kinds, (std::vector<DeviceKind>{kDeviceHal, kDeviceTnlHal}));
  int alphaFormats = 0;
  EnumTextureFormats([](const FormatDesc& f, void* c) {
    *static_cast<int*>(c) += (f.flags & kFormatAlphaPixels) ? 1 : 0;
    return true;
  }, &alphaFormats);
  EXPECT_EQ(alphaFormats, 3);
  int depthBits = 0;
  EnumZBufferFormats([](const FormatDesc& f, void* c) {
    *static_cast<int*>(c) = f.flags == kFormatZBuffer ? static_cast<int>(f.bitCount) : -1;
    return false;
  }, &depthBits);
  EXPECT_EQ(depthBits, 16);

  std::vector<uint8_t> bits(16 * 16 * 4);
  const SurfaceView target16 = {bits.data(), 32, 16, 16, kLayoutR5G6B5};
  const SurfaceView target24 = {bits.data(), 48, 16, 16, {24, {0xFF0000, 0xFF00, 0xFF, 0}}};
  Result r = kOk;
  std::unique_ptr<Device> device(CreateDevice(kDeviceTnlHal, target16, &r));
  ASSERT_NE(device, nullptr);
  Viewport vp;
  ASSERT_EQ(device->GetViewport(&vp), kOk);
  EXPECT_EQ(vp.width, 16);
  EXPECT_EQ(CreateDevice(kDeviceTnlHal, target24, &r), nullptr);
  EXPECT_EQ(r, kErrUnsupported);
  EXPECT_EQ(CreateDevice(kDeviceSoftware, target16, &r), nullptr);
  StandIn().failCreateDevice = 1;
  EXPECT_EQ(CreateDevice(kDeviceHal, target16, &r), nullptr);
  EXPECT_EQ(r, kErrDrawFailed);
  device.reset(CreateDevice(kDeviceHal, target16, &r));
  EXPECT_NE(device, nullptr);

  StandIn().offerDirect3D = false;
  EXPECT_EQ(EnumDevices([](const DeviceDesc&, void*) { return true; }, nullptr), kErrUnsupported);
  EXPECT_EQ(CreateDevice(kDeviceHal, target16, &r), nullptr);
  ResetStandIn();
  EXPECT_TRUE(StandIn().offerDirect3D);
  EXPECT_EQ(StandIn().createDeviceCalls, 0);
}

}  // namespace
