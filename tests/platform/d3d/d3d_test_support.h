// Canvases with a canary border, random textures, and the device set-up
// that matches a reference configuration.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/d3d/device.h"
#include "reference_raster.h"

namespace d3dtest {

using namespace plat::d3d;

constexpr int kBorder = 8;

// A view into the middle of a larger buffer; the border around it must
// never change.
struct Canvas {
  std::vector<uint8_t> memory;
  int32_t fullPitch = 0;
  SurfaceView view = {};

  Canvas(const PixelLayout& layout, int w, int h, uint32_t seed) {
    int bytes = layout.bitCount / 8;
    fullPitch = (w + 2 * kBorder) * bytes;
    memory.resize(static_cast<size_t>(fullPitch) * (h + 2 * kBorder));
    std::mt19937 rng(seed);
    for (auto& b : memory) b = static_cast<uint8_t>(rng());
    view = {memory.data() + kBorder * fullPitch + kBorder * bytes, fullPitch, w, h, layout};
  }
  Canvas(const Canvas& other) : memory(other.memory), fullPitch(other.fullPitch), view(other.view) {
    view.bits = memory.data() + (other.view.bits - other.memory.data());
  }
  Canvas& operator=(const Canvas&) = delete;

  uint32_t Pixel(int x, int y) const {
    uint32_t v = 0;
    std::memcpy(&v, view.bits + y * view.pitch + x * (view.layout.bitCount / 8), view.layout.bitCount / 8);
    return v;
  }
  // True when nothing outside the view differs from `before`.
  bool BorderSame(const Canvas& before) const {
    int bytes = view.layout.bitCount / 8;
    for (int y = 0; y < view.height + 2 * kBorder; ++y) {
      for (int x = 0; x < (view.width + 2 * kBorder) * bytes; ++x) {
        bool inside = y >= kBorder && y < kBorder + view.height && x >= kBorder * bytes && x < (kBorder + view.width) * bytes;
        size_t at = static_cast<size_t>(y) * fullPitch + x;
        if (!inside && memory[at] != before.memory[at]) return false;
      }
    }
    return true;
  }
};

struct OwnedTexture {
  std::vector<uint8_t> memory;
  Texture texture = {};
  OwnedTexture(const PixelLayout& layout, int w, int h, uint32_t seed, bool keyed) {
    int bytes = layout.bitCount / 8;
    memory.resize(static_cast<size_t>(w) * h * bytes);
    std::mt19937 rng(seed);
    for (auto& b : memory) b = static_cast<uint8_t>(rng());
    texture.view = {memory.data(), w * bytes, w, h, layout};
    if (keyed) {
      // A key that really occurs: about one texel in eight takes it.
      uint32_t key = 0;
      std::memcpy(&key, memory.data(), bytes);
      for (int i = 0; i < w * h; ++i) {
        if (rng() % 8 == 0) std::memcpy(memory.data() + i * bytes, &key, bytes);
      }
      texture.hasColorKey = true;
      texture.colorKey = key;
    }
  }
};

// Device stage and render states for a reference configuration.
inline void Configure(Device& d, const d3dref::Config& c) {
  uint32_t colorOp = c.color == d3dref::kColorTexture       ? kTopSelectArg1
                     : c.color == d3dref::kColorDiffuse ? kTopSelectArg2
                                                        : kTopModulate;
  uint32_t alphaOp = c.alpha == d3dref::kAlphaTexture   ? kTopSelectArg1
                     : c.alpha == d3dref::kAlphaDiffuse ? kTopSelectArg2
                                                        : kTopModulate;
  d.SetTextureStageState(0, kTssColorArg1, c.color == d3dref::kColorInvTextureTimesDiffuse ? kTaTexture | kTaComplement : kTaTexture);
  d.SetTextureStageState(0, kTssColorArg2, kTaDiffuse);
  d.SetTextureStageState(0, kTssColorOp, colorOp);
  d.SetTextureStageState(0, kTssAlphaArg1, kTaTexture);
  d.SetTextureStageState(0, kTssAlphaArg2, kTaDiffuse);
  d.SetTextureStageState(0, kTssAlphaOp, alphaOp);
  uint32_t filter = c.linear ? kFilterLinear : kFilterPoint;
  d.SetTextureStageState(0, kTssMagFilter, filter);
  d.SetTextureStageState(0, kTssMinFilter, filter);
  d.SetTextureStageState(0, kTssAddress, c.wrap ? kAddressWrap : kAddressClamp);
  d.SetTexture(0, c.texture);
  if (c.fadeToFactor) {
    d.SetTextureStageState(1, kTssColorOp, kTopBlendCurrentAlpha);
    d.SetTextureStageState(1, kTssColorArg1, kTaCurrent);
    d.SetTextureStageState(1, kTssColorArg2, kTaTFactor);
    d.SetTextureStageState(1, kTssAlphaOp, kTopSelectArg1);
    d.SetTextureStageState(1, kTssAlphaArg1, kTaCurrent);
  } else {
    d.SetTextureStageState(1, kTssColorOp, kTopDisable);
    d.SetTextureStageState(1, kTssAlphaOp, kTopDisable);
  }
  d.SetRenderState(kRsTextureFactor, c.factor);
  d.SetRenderState(kRsColorKeyEnable, c.colorKey);
  d.SetRenderState(kRsAlphaTestEnable, c.alphaTest);
  d.SetRenderState(kRsAlphaFunc, c.alphaFunc);
  d.SetRenderState(kRsAlphaRef, static_cast<uint32_t>(c.alphaRef));
  d.SetRenderState(kRsAlphaBlendEnable, c.blend);
  d.SetRenderState(kRsSrcBlend, c.src);
  d.SetRenderState(kRsDestBlend, c.dst);
  d.SetRenderState(kRsCullMode, kCullNone);
  d.SetRenderState(kRsShadeMode, kShadeFlat);
  d.SetRenderState(kRsLighting, 0);
}

// One vertex of the one-texture format (x, y, z, rhw, diffuse, u, v).
struct TexturedVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};
static_assert(sizeof(TexturedVertex) == 28);

inline TexturedVertex ToVertex(const d3dref::Vtx& v) { return {v.x, v.y, 0.0f, 1.0f, v.diffuse, v.u, v.v}; }

inline Result DrawList(Device& d, const std::vector<d3dref::Vtx>& tris) {
  std::vector<TexturedVertex> vb;
  for (const auto& v : tris) vb.push_back(ToVertex(v));
  return d.DrawPrimitive(kPtTriangleList, kFvfTextured, vb.data(), static_cast<uint32_t>(vb.size()), 0);
}

// The same draw on a device held to the per-pixel road (onto perPixel) and
// on one free to take the span, direct and rectangle roads (onto spans):
// `configure` sets the states, `draw` draws inside the scene. Their
// counters, in that order.
struct RoadCounters {
  DeviceCounters perPixel, spans;
};
inline RoadCounters DrawOnBothRoads(Canvas& perPixel, Canvas& spans, const std::function<void(Device&)>& configure,
                                    const std::function<void(Device&)>& draw) {
  Device a, b;
  a.UseSpanRoad(false);
  for (Device* d : {&a, &b}) {
    EXPECT_EQ(d->SetRenderTarget(d == &a ? perPixel.view : spans.view), kOk);
    configure(*d);
    EXPECT_EQ(d->BeginScene(), kOk);
    draw(*d);
    EXPECT_EQ(d->EndScene(), kOk);
  }
  return {a.Counters(), b.Counters()};
}

}  // namespace d3dtest
