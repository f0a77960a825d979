// 64 x 64 R5G6B5 sprites drawn 1:1 onto a 640 x 480 R5G6B5 image in each
// blend mode (parameter 128, white tint), unkeyed and keyed by the run
// table, and stretched to 96 x 96. items_per_second counts drawn pixels;
// the counter "vs_memcpy" is draw time / time of a memcpy of the same
// pixels.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/image_draw.h"
#include "framework/softrender/mem_image.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kSprite = 64;
constexpr uint32_t kKey = 0xF81F;

// <chrono> does not build with the CP932 execution character set.
double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Scene {
  qor::MemImage screen = {};
  qor::MemImage sprite = {};
  Scene() {
    qor::BuildBlendTables();
    qor::CreateMemImg(&screen, kScreenWidth, kScreenHeight, -1, 0, qor::kMemImgKindRgb565, 0, 0, 0, nullptr);
    qor::CreateMemImg(&sprite, kSprite, kSprite, -1, kKey, qor::kMemImgKindRgb565, 0, 0, 1, nullptr);
    std::mt19937 rng(1);
    for (int y = 0; y < kScreenHeight; ++y)
      for (int x = 0; x < kScreenWidth; ++x)
        std::memcpy(screen.pixels + y * screen.buffer->pitch + 2 * x, &y, 2);
    // A round sprite: the corners are the key colour.
    for (int y = 0; y < kSprite; ++y) {
      for (int x = 0; x < kSprite; ++x) {
        int dx = x - kSprite / 2, dy = y - kSprite / 2;
        uint16_t v = dx * dx + dy * dy < kSprite * kSprite / 4 ? static_cast<uint16_t>(rng()) : kKey;
        if (v == kKey && dx * dx + dy * dy < kSprite * kSprite / 4) v = 0;
        std::memcpy(sprite.pixels + y * sprite.buffer->pitch + 2 * x, &v, 2);
      }
    }
    qor::RebuildMemImgRunTable(sprite.buffer);
  }
  ~Scene() {
    qor::ReleaseMemImg(&screen);
    qor::ReleaseMemImg(&sprite);
  }
};

// How the sprites are drawn.
enum Road { kPlain, kKeyed, kStretched };

void DrawSprites(benchmark::State& state, Road road) {
  static Scene scene;
  qor::SoftDrawSettings settings = {{0, 0, kScreenWidth, kScreenHeight}, static_cast<int32_t>(state.range(0)), 128,
                                    0xFFFFFF};
  int size = road == kStretched ? 96 : kSprite;
  int64_t pixelsPerPass = 0;
  double drawTime = 0;
  for (auto _ : state) {
    double start = Now();
    pixelsPerPass = 0;
    for (int y = 0; y + size <= kScreenHeight; y += size) {
      for (int x = 0; x + size <= kScreenWidth; x += size) {
        if (road == kStretched) {
          qor::Rect r = {x, y, x + size, y + size};
          qor::DrawMemImgStretched(&scene.screen, &scene.sprite, &r, 0, nullptr, &settings);
        } else {
          qor::DrawMemImgAt(&scene.screen, &scene.sprite, x, y, road == kKeyed ? 1 : 0, nullptr, &settings);
        }
        pixelsPerPass += static_cast<int64_t>(size) * size;
      }
    }
    benchmark::ClobberMemory();
    drawTime += Now() - start;
  }
  // The same number of pixels copied row by row with memcpy.
  std::vector<uint8_t> from(static_cast<size_t>(pixelsPerPass) * 2), to(from.size());
  double start = Now();
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
  double copyTime = Now() - start;
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * pixelsPerPass);
  state.counters["vs_memcpy"] = copyTime > 0 ? drawTime / copyTime : 0.0;
}

void BM_DrawSprite(benchmark::State& state) { DrawSprites(state, kPlain); }
void BM_DrawSpriteKeyed(benchmark::State& state) { DrawSprites(state, kKeyed); }
void BM_DrawSpriteStretched(benchmark::State& state) { DrawSprites(state, kStretched); }

void BlendModes(benchmark::internal::Benchmark* b) {
  for (int mode : {0, 1, 2, 3, 4, 10, 11}) b->Arg(mode);
  b->ArgName("mode")->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_DrawSprite)->Apply(BlendModes);
BENCHMARK(BM_DrawSpriteKeyed)->Apply(BlendModes);
BENCHMARK(BM_DrawSpriteStretched)->Apply(BlendModes);
