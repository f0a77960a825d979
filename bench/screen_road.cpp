// One frame of 500 32 x 32 sprites (blend mode 0, and mode 1 at 128) and its
// present, on the software road and on the DirectDraw road (full screen,
// 640 x 480 x 16) of the headless host. Each reports its time against a
// memcpy of the frame ("x_memcpy"); BM_RoadRatio reports the software road's
// time over the DirectDraw road's.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/graphics_reset.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/qorlib.h"
#include "bench_clock.h"

namespace {

using namespace qor;

// Seconds one memcpy of a 640 x 480 x 16 frame takes.
double MemcpySeconds() {
  static double cached = 0;
  if (cached > 0) return cached;
  std::vector<uint8_t> a(640 * 480 * 2, 1), b(a.size());
  const double start = MonotonicSeconds();
  for (int i = 0; i < 2000; ++i) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::DoNotOptimize(b.data());
  }
  cached = (MonotonicSeconds() - start) / 2000;
  return cached;
}

struct Road {
  int32_t sprite = -1;
  explicit Road(bool software) {
    setenv("ORB_HOST", "headless", 0);
    if (software) setenv("ORB_GFX", "soft", 1);
    else SwitchWindowModePublic(0);
    SetLogFileOutputPublic(0);
    RequestScreenModePublic(640, 480, 16, -1);
    InitFramework();
    unsetenv("ORB_GFX");
    SetVSyncOnPresentPublic(0);
    GraphCreateSettings settings{};
    settings.softwareRendering = IsSoftwareRendering();
    GraphRecord* g = nullptr;
    sprite = AddGraphRecord(32, 32, 0, &g, 0, 0, &settings);
    CreateGraphSurface2D(g);
    GraphImage image{};
    CreateRgb24GraphImage(32, 32, &image);
    for (int i = 0; i < 32 * 32; ++i) image.pixels[(i / 32) * image.pitch + (i % 32) * 3 + 1] = static_cast<uint8_t>(i);
    const Rect all{0, 0, 32, 32};
    BlitImageToGraphPieces(&image, nullptr, &all, 0, 0, g, 1);
    FreeGraphImage(&image);
    SelectDrawTarget(kBackScreen);
  }
  ~Road() {
    EndFramework();
    ResetGraphicsState();
    SwitchWindowModePublic(1);
  }
  void Frame(int mode) {
    SelectBlend(mode, 128);
    GraphRecord* g = LookupGraph(sprite);
    for (int i = 0; i < 500; ++i) DrawGraphDirectDraw((i * 37) % 608, (i * 53) % 448, g, 1);
    PresentFrame();
  }
};

void RunRoad(benchmark::State& state, bool software, int mode) {
  Road road(software);
  const double start = MonotonicSeconds();
  for (auto _ : state) road.Frame(mode);
  const double perFrame = state.iterations() > 0 ? (MonotonicSeconds() - start) / static_cast<double>(state.iterations()) : 0;
  state.SetItemsProcessed(state.iterations() * 500);
  state.counters["x_memcpy"] = perFrame / MemcpySeconds();
}

void BM_SoftwareMode0(benchmark::State& state) { RunRoad(state, true, 0); }
void BM_SoftwareMode1(benchmark::State& state) { RunRoad(state, true, 1); }
void BM_DirectDrawMode0(benchmark::State& state) { RunRoad(state, false, 0); }
void BM_DirectDrawMode1(benchmark::State& state) { RunRoad(state, false, 1); }

void BM_RoadRatio(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  double soft = 0, dd = 0;
  for (auto _ : state) {
    {
      Road road(true);
      const double start = MonotonicSeconds();
      for (int i = 0; i < 20; ++i) road.Frame(mode);
      soft += MonotonicSeconds() - start;
    }
    {
      Road road(false);
      const double start = MonotonicSeconds();
      for (int i = 0; i < 20; ++i) road.Frame(mode);
      dd += MonotonicSeconds() - start;
    }
  }
  state.counters["software_over_ddraw"] = dd > 0 ? soft / dd : 0;
}

}  // namespace

BENCHMARK(BM_SoftwareMode0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SoftwareMode1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectDrawMode0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectDrawMode1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoadRatio)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
