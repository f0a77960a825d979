// 64 x 64 sprites drawn 1:1 onto a 640 x 480 image of the same layout
// (R5G6B5, and X8R8G8B8 as "layout:1") in each blend mode (parameter 128,
// white tint), unkeyed and keyed by the run table, and stretched to 96 x 96. items_per_second counts drawn pixels;
// the counter "vs_memcpy" is draw time / time of a memcpy of the same
// pixels. BM_DrawSpriteVsPeers draws the same sprites with SDL2's
// surface-alpha blit and pixman's compositing in the same run and reports
// our time / their time ("vs_sdl", "vs_pixman"): below 1 is faster.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/image_draw.h"
#include "framework/softrender/mem_image.h"
#include "bench_clock.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kSprite = 64;
constexpr uint32_t kKey16 = 0xF81F;
constexpr uint32_t kKey32 = 0xFF00FF;

// <chrono> does not build with the CP932 execution character set.

struct Scene {
  qor::MemImage screen = {};
  qor::MemImage sprite = {};
  explicit Scene(bool wide) {
    qor::BuildBlendTables();
    const int kind = wide ? qor::kMemImgKindXrgb8888 : qor::kMemImgKindRgb565;
    const int bytes = wide ? 4 : 2;
    const uint32_t key = wide ? kKey32 : kKey16;
    qor::CreateMemImg(&screen, kScreenWidth, kScreenHeight, -1, 0, kind, 0, 0, 0, nullptr);
    qor::CreateMemImg(&sprite, kSprite, kSprite, -1, key, kind, 0, 0, 1, nullptr);
    std::mt19937 rng(1);
    for (int y = 0; y < kScreenHeight; ++y)
      for (int x = 0; x < kScreenWidth; ++x)
        std::memcpy(screen.pixels + y * screen.buffer->pitch + bytes * x, &y, bytes);
    // A round sprite: the corners are the key colour.
    for (int y = 0; y < kSprite; ++y) {
      for (int x = 0; x < kSprite; ++x) {
        int dx = x - kSprite / 2, dy = y - kSprite / 2;
        uint32_t v = dx * dx + dy * dy < kSprite * kSprite / 4 ? (rng() & (wide ? 0xFFFFFF : 0xFFFF)) : key;
        if (v == key && dx * dx + dy * dy < kSprite * kSprite / 4) v = 0;
        std::memcpy(sprite.pixels + y * sprite.buffer->pitch + bytes * x, &v, bytes);
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

Scene& SceneOf(bool wide) {
  static Scene narrow(false), broad(true);
  return wide ? broad : narrow;
}

void DrawSprites(benchmark::State& state, Road road) {
  Scene& scene = SceneOf(state.range(1) != 0);
  qor::SoftDrawSettings settings = {{0, 0, kScreenWidth, kScreenHeight}, static_cast<int32_t>(state.range(0)), 128,
                                    0xFFFFFF};
  int size = road == kStretched ? 96 : kSprite;
  int64_t pixelsPerPass = 0;
  double drawTime = 0;
  for (auto _ : state) {
    double start = MonotonicSeconds();
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
    drawTime += MonotonicSeconds() - start;
  }
  // The same number of pixels copied row by row with memcpy.
  std::vector<uint8_t> from(static_cast<size_t>(pixelsPerPass) * (state.range(1) != 0 ? 4 : 2)), to(from.size());
  double start = MonotonicSeconds();
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
  double copyTime = MonotonicSeconds() - start;
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * pixelsPerPass);
  state.counters["vs_memcpy"] = copyTime > 0 ? drawTime / copyTime : 0.0;
}

void BM_DrawSprite(benchmark::State& state) { DrawSprites(state, kPlain); }
void BM_DrawSpriteKeyed(benchmark::State& state) { DrawSprites(state, kKeyed); }
void BM_DrawSpriteStretched(benchmark::State& state) { DrawSprites(state, kStretched); }

void BlendModes(benchmark::internal::Benchmark* b) {
  for (int layout : {0, 1})
    for (int mode : {0, 1, 2, 3, 4, 10, 11}) b->Args({mode, layout});
  b->ArgNames({"mode", "layout"})->Unit(benchmark::kMicrosecond);
}

}  // namespace

// Mode 1 (alpha at 128) against SDL's alpha-mod blit and pixman's OVER
// through a solid half mask; mode 2 (add at 128) against pixman's ADD
// through the same mask. Each pass draws the 70 sprites of the grid.
void BM_DrawSpriteVsPeers(benchmark::State& state) {
  Scene& scene = SceneOf(false);
  const int mode = static_cast<int>(state.range(0));
  qor::SoftDrawSettings settings = {{0, 0, kScreenWidth, kScreenHeight}, mode, 128, 0xFFFFFF};
  std::vector<uint8_t> peerScreen(static_cast<size_t>(scene.screen.buffer->pitch) * kScreenHeight);
  std::memcpy(peerScreen.data(), scene.screen.pixels, peerScreen.size());

  SDL_Surface* sdlScreen = SDL_CreateRGBSurfaceWithFormatFrom(peerScreen.data(), kScreenWidth, kScreenHeight, 16,
                                                              scene.screen.buffer->pitch, SDL_PIXELFORMAT_RGB565);
  SDL_Surface* sdlSprite = SDL_CreateRGBSurfaceWithFormatFrom(scene.sprite.pixels, kSprite, kSprite, 16,
                                                              scene.sprite.buffer->pitch, SDL_PIXELFORMAT_RGB565);
  SDL_SetSurfaceBlendMode(sdlSprite, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceAlphaMod(sdlSprite, 128);
  pixman_image_t* pmScreen = pixman_image_create_bits(PIXMAN_r5g6b5, kScreenWidth, kScreenHeight,
                                                      reinterpret_cast<uint32_t*>(peerScreen.data()),
                                                      scene.screen.buffer->pitch);
  pixman_image_t* pmSprite = pixman_image_create_bits(PIXMAN_r5g6b5, kSprite, kSprite,
                                                      reinterpret_cast<uint32_t*>(scene.sprite.pixels),
                                                      scene.sprite.buffer->pitch);
  const pixman_color_t half = {0, 0, 0, 0x8080};
  pixman_image_t* pmMask = pixman_image_create_solid_fill(&half);
  const pixman_op_t pmOp = mode == 1 ? PIXMAN_OP_OVER : PIXMAN_OP_ADD;
  if (sdlScreen == nullptr || sdlSprite == nullptr || pmScreen == nullptr || pmSprite == nullptr || pmMask == nullptr) {
    state.SkipWithError("peer set-up failed");
  }

  double ours = 0, sdl = 0, pixman = 0;
  int64_t pixels = 0;
  for (auto _ : state) {
    double t0 = MonotonicSeconds();
    for (int y = 0; y + kSprite <= kScreenHeight; y += kSprite)
      for (int x = 0; x + kSprite <= kScreenWidth; x += kSprite)
        qor::DrawMemImgAt(&scene.screen, &scene.sprite, x, y, 0, nullptr, &settings);
    benchmark::ClobberMemory();
    double t1 = MonotonicSeconds();
    if (mode == 1) {
      for (int y = 0; y + kSprite <= kScreenHeight; y += kSprite) {
        for (int x = 0; x + kSprite <= kScreenWidth; x += kSprite) {
          SDL_Rect to = {x, y, kSprite, kSprite};
          SDL_BlitSurface(sdlSprite, nullptr, sdlScreen, &to);
        }
      }
      benchmark::ClobberMemory();
    }
    double t2 = MonotonicSeconds();
    for (int y = 0; y + kSprite <= kScreenHeight; y += kSprite)
      for (int x = 0; x + kSprite <= kScreenWidth; x += kSprite)
        pixman_image_composite32(pmOp, pmSprite, pmMask, pmScreen, 0, 0, 0, 0, x, y, kSprite, kSprite);
    benchmark::ClobberMemory();
    double t3 = MonotonicSeconds();
    ours += t1 - t0;
    sdl += t2 - t1;
    pixman += t3 - t2;
    pixels += static_cast<int64_t>(kScreenWidth / kSprite) * (kScreenHeight / kSprite) * kSprite * kSprite;
  }
  state.counters["ours_px_per_s"] = ours > 0 ? static_cast<double>(pixels) / ours : 0.0;
  if (mode == 1) state.counters["vs_sdl"] = sdl > 0 ? ours / sdl : 0.0;
  state.counters["vs_pixman"] = pixman > 0 ? ours / pixman : 0.0;
  state.SetLabel(mode == 1 ? "alpha 128 vs SDL alpha-mod blit, pixman OVER" : "add 128 vs pixman ADD");

  if (pmMask != nullptr) pixman_image_unref(pmMask);
  if (pmSprite != nullptr) pixman_image_unref(pmSprite);
  if (pmScreen != nullptr) pixman_image_unref(pmScreen);
  SDL_FreeSurface(sdlSprite);
  SDL_FreeSurface(sdlScreen);
}

BENCHMARK(BM_DrawSprite)->Apply(BlendModes);
BENCHMARK(BM_DrawSpriteVsPeers)->Arg(1)->Arg(2)->ArgName("mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSpriteKeyed)->Apply(BlendModes);
BENCHMARK(BM_DrawSpriteStretched)->Apply(BlendModes);
