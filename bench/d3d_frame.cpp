// One 640 x 480 x 16 frame of 1,000 32 x 32 sprites (a third opaque, a third
// keyed, a third in blend mode 1 at 128) and its present, on the Direct3D
// road, the DirectDraw road and the software road of the headless host, in
// one run. BM_D3DFrame reports the Direct3D road's frame time, its frames per
// second, share of the 16.7 ms budget and multiple of one frame memcpy
// ("fps", "budget_pct", "x_memcpy"), the same for the other two roads
// ("ddraw_x_memcpy", "soft_x_memcpy", ...), and "d3d_over_ddraw" and
// "soft_over_d3d" as ratios of the roads' times.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

#include "framework/core/life/framework_status.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/graphics_reset.h"
#include "framework/graphics/screen/screen.h"
#include "framework/qorlib.h"
#include "platform/d3d/device_caps.h"
#include "bench_clock.h"

namespace {

using namespace qor;

struct Road {
  int32_t sprite = -1;
  bool started = false;
  explicit Road(const char* road) {
    setenv("ORB_HOST", "headless", 0);
    // The road switches start-up sets stay set after the framework ends: each
    // road starts from the display's and the framework's first state.
    plat::d3d::ResetStandIn();
    ResetFrameworkStatus();
    setenv("ORB_GFX", road, 1);
    SwitchWindowModePublic(0);
    SetLogFileOutputPublic(0);
    RequestScreenModePublic(640, 480, 16, -1);
    started = InitFramework() == 0;
    unsetenv("ORB_GFX");
    SetVSyncOnPresentPublic(0);
    GraphImage image{};
    CreateRgb24GraphImage(32, 32, &image);
    for (int i = 0; i < 32 * 32; ++i) {
      uint8_t* p = image.pixels + (i / 32) * image.pitch + (i % 32) * 3;
      const bool key = (i % 32 + i / 32) % 7 == 0;
      p[0] = key ? 0 : static_cast<uint8_t>(i * 3), p[1] = key ? 255 : static_cast<uint8_t>(i), p[2] = key ? 0 : 90;
    }
    sprite = BuildGraphFromImage(&image, nullptr, 1, 0, 0);
    FreeGraphImage(&image);
    SelectDrawTarget(kBackScreen);
  }
  ~Road() {
    EndFramework();
    ResetGraphicsState();
    SwitchWindowModePublic(1);
  }
  void Frame() {
    for (int i = 0; i < 1000; ++i) {
      const int kind = i % 3;
      SelectBlend(kind == 2 ? 1 : 0, kind == 2 ? 128 : 255);
      BlitGraph((i * 37) % 608, (i * 53) % 448, sprite, kind != 0 ? 1 : 0);
    }
    SelectBlend(0, 255);
    PresentFrame();
  }
};

// -1 when the road did not start.
double FrameSeconds(const char* name, int frames) {
  Road road(name);
  if (!road.started) return -1;
  road.Frame();
  const double start = MonotonicSeconds();
  for (int i = 0; i < frames; ++i) road.Frame();
  return (MonotonicSeconds() - start) / frames;
}

void BM_D3DFrame(benchmark::State& state) {
  double d3d = 0, ddraw = 0, soft = 0;
  for (auto _ : state) {
    const double times[3] = {FrameSeconds("d3d", 30), FrameSeconds("ddraw", 30), FrameSeconds("soft", 30)};
    if (times[0] < 0 || times[1] < 0 || times[2] < 0) {
      state.SkipWithError("a road did not start");
      return;
    }
    d3d += times[0], ddraw += times[1], soft += times[2];
  }
  const double n = static_cast<double>(state.iterations());
  if (n <= 0) return;
  state.counters["d3d_ms"] = d3d / n * 1000.0;
  ReportFrameSeconds(state, d3d / n);
  ReportFrameSeconds(state, ddraw / n, "ddraw_");
  ReportFrameSeconds(state, soft / n, "soft_");
  state.counters["d3d_over_ddraw"] = ddraw > 0 ? d3d / ddraw : 0;
  state.counters["soft_over_d3d"] = d3d > 0 ? soft / d3d : 0;
}

}  // namespace

BENCHMARK(BM_D3DFrame)->Unit(benchmark::kMillisecond)->Iterations(2);
