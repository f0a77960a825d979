// The Direct3D-like device fed arbitrary vertices, indices and states: a
// target and a texture of formats and sizes picked by the input, then the
// rest of the input as states and vertex bytes for list, strip and indexed
// draws. Every surface is allocated to its exact size, so any write or read
// past one is caught by the address sanitizer.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/d3d/device.h"

namespace {

using namespace plat::d3d;

const PixelLayout kLayouts[] = {kLayoutR5G6B5, kLayoutX1R5G5B5, kLayoutA1R5G5B5,
                                kLayoutA4R4G4B4, kLayoutX8R8G8B8, kLayoutA8R8G8B8};
// The states the framework drives, so that the input spends its bytes there.
const uint32_t kRenderStates[] = {kRsAlphaBlendEnable, kRsSrcBlend,     kRsDestBlend,      kRsAlphaTestEnable,
                                  kRsAlphaRef,         kRsAlphaFunc,    kRsColorKeyEnable, kRsZEnable,
                                  kRsZWriteEnable,     kRsZFunc,        kRsCullMode,       kRsShadeMode,
                                  kRsTextureFactor,    kRsSpecularEnable};
const uint32_t kStageStates[] = {kTssColorOp,  kTssColorArg1,     kTssColorArg2,     kTssAlphaOp,
                                 kTssAlphaArg1, kTssAlphaArg2,    kTssTexCoordIndex, kTssAddress,
                                 kTssMagFilter, kTssMinFilter,    kTssBorderColor};

struct Reader {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  uint32_t Word() { return Byte() | (Byte() << 8) | (Byte() << 16) | (static_cast<uint32_t>(Byte()) << 24); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in = {data, size};
  const PixelLayout& targetLayout = kLayouts[in.Byte() % 6];
  const PixelLayout& textureLayout = kLayouts[in.Byte() % 6];
  const int tw = 1 + in.Byte() % 16, th = 1 + in.Byte() % 16;
  const int w = 1 + in.Byte() % 24, h = 1 + in.Byte() % 24;
  std::vector<uint8_t> target(static_cast<size_t>(w) * h * (targetLayout.bitCount / 8));
  std::vector<uint8_t> texels(static_cast<size_t>(tw) * th * (textureLayout.bitCount / 8));
  for (auto& b : texels) b = in.Byte();
  std::vector<uint16_t> depth(static_cast<size_t>(w) * h);
  Texture texture = {{texels.data(), tw * (textureLayout.bitCount / 8), tw, th, textureLayout}, true, in.Word()};
  DepthView depthView = {depth.data(), w * 2, w, h};

  Device device;
  device.SetRenderTarget({target.data(), w * (targetLayout.bitCount / 8), w, h, targetLayout});
  device.SetDepthBuffer(&depthView);
  for (uint32_t s = 0; s < 3; ++s) device.SetTexture(s, &texture);
  int states = in.Byte() % 16;
  for (int i = 0; i < states; ++i) {
    uint8_t pick = in.Byte();
    uint32_t value = in.Word();
    if (pick & 0x80) {
      device.SetTextureStageState(pick % 3, kStageStates[(pick >> 2) % 11], value);
    } else {
      device.SetRenderState(kRenderStates[pick % 14], value);
    }
  }
  if (in.Byte() & 1) device.SetViewport({in.Byte() % w, in.Byte() % h, 1 + in.Byte() % w, 1 + in.Byte() % h, 0, 1});

  const uint32_t formats[] = {kFvfColored, kFvfTextured, kFvfBlendTextured};
  const uint32_t fvf = formats[in.Byte() % 3];
  const uint8_t shape = in.Byte();
  const uint32_t stride = fvf == kFvfColored ? 20 : fvf == kFvfTextured ? 28 : 40;
  const uint32_t count = 3 + shape % 13;
  std::vector<uint8_t> vertices(static_cast<size_t>(stride) * count);
  for (auto& b : vertices) b = in.Byte();
  std::vector<uint16_t> indices(1 + in.Byte() % 30);
  for (auto& i : indices) i = static_cast<uint16_t>(in.Byte() % (count + 4));  // some past the end

  device.Clear(0, nullptr, kClearTarget | kClearZBuffer, in.Word(), 0.5f, 0);
  device.BeginScene();
  device.DrawPrimitive((shape & 0x40) ? kPtTriangleStrip : kPtTriangleList, fvf, vertices.data(), count, 0);
  device.DrawIndexedPrimitive((shape & 0x80) ? kPtTriangleStrip : kPtTriangleList, fvf, vertices.data(), count,
                              indices.data(), static_cast<uint32_t>(indices.size()), 0);
  device.EndScene();
  return 0;
}
