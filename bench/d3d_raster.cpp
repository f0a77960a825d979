// 1,000 textured 32 x 32 quads onto a 640 x 480 R5G6B5 target through the
// Direct3D-like device, in batches of 389 quads as the framework sends them:
// opaque (plain 16-bit texture, texture colour only) and blended (4:4:4:4
// texture modulated by a half-transparent diffuse, SRCALPHA / INVSRCALPHA).
// Counter: pixels written per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/d3d/device.h"

namespace {

using namespace plat::d3d;

struct Vertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};

void DrawSprites(benchmark::State& state, bool blended) {
  std::vector<uint8_t> screen(640 * 480 * 2, 0x55);
  SurfaceView target = {screen.data(), 640 * 2, 640, 480, kLayoutR5G6B5};
  std::vector<uint8_t> texels(32 * 32 * 2);
  std::mt19937 rng(5);
  for (auto& b : texels) b = static_cast<uint8_t>(rng());
  Texture texture = {{texels.data(), 64, 32, 32, blended ? kLayoutA4R4G4B4 : kLayoutR5G6B5}, false, 0};

  Device device;
  device.SetRenderTarget(target);
  device.SetTexture(0, &texture);
  device.SetRenderState(kRsCullMode, kCullNone);
  device.SetRenderState(kRsShadeMode, kShadeFlat);
  device.SetRenderState(kRsLighting, 0);
  device.SetTextureStageState(0, kTssAddress, kAddressClamp);
  device.SetTextureStageState(0, kTssColorArg1, kTaTexture);
  device.SetTextureStageState(0, kTssColorArg2, kTaDiffuse);
  device.SetTextureStageState(0, kTssAlphaArg1, kTaTexture);
  device.SetTextureStageState(0, kTssAlphaArg2, kTaDiffuse);
  device.SetTextureStageState(0, kTssColorOp, blended ? kTopModulate : kTopSelectArg1);
  device.SetTextureStageState(0, kTssAlphaOp, blended ? kTopModulate : kTopSelectArg1);
  device.SetRenderState(kRsAlphaBlendEnable, blended);
  device.SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  device.SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);

  std::vector<Vertex> vertices;
  const uint32_t colour = blended ? 0x80FFFFFFu : 0xFFFFFFFFu;
  for (int i = 0; i < 1000; ++i) {
    float x = static_cast<float>(rng() % (640 - 32)) - 0.5f;
    float y = static_cast<float>(rng() % (480 - 32)) - 0.5f;
    Vertex tl = {x, y, 0, 1, colour, 0, 0}, tr = {x + 32, y, 0, 1, colour, 1, 0};
    Vertex bl = {x, y + 32, 0, 1, colour, 0, 1}, br = {x + 32, y + 32, 0, 1, colour, 1, 1};
    for (const Vertex& v : {tl, tr, bl, br, bl, tr}) vertices.push_back(v);
  }
  constexpr uint32_t kBatch = 2334;
  for (auto _ : state) {
    device.BeginScene();
    for (size_t first = 0; first < vertices.size(); first += kBatch) {
      uint32_t count = static_cast<uint32_t>(std::min<size_t>(kBatch, vertices.size() - first));
      device.DrawPrimitive(kPtTriangleList, kFvfTextured, vertices.data() + first, count, 0);
    }
    device.EndScene();
    benchmark::DoNotOptimize(screen.data());
  }
  state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(device.Counters().pixelsWritten),
                                                  benchmark::Counter::kIsRate);
}

void BM_D3DSpritesOpaque(benchmark::State& state) { DrawSprites(state, false); }
void BM_D3DSpritesBlended(benchmark::State& state) { DrawSprites(state, true); }
BENCHMARK(BM_D3DSpritesOpaque)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_D3DSpritesBlended)->Unit(benchmark::kMillisecond);

}  // namespace
