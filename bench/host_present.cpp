// Cost of showing one 640x480 picture on the headless host (conversion to
// XRGB8888, the frame's hash and keeping the frame), for RGB565 and XRGB8888
// sources: pixels per second, and per present "fps", "budget_pct" and
// "x_memcpy" (a multiple of one frame memcpy).
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "bench_clock.h"

namespace {

template <typename Pixel>
void PresentFrames(benchmark::State& state, plat::HostPixelFormat format) {
  plat::headless::Reset();
  plat::HostCreateWindow(640, 480);
  std::vector<Pixel> pic(640 * 480);
  for (size_t i = 0; i < pic.size(); ++i) pic[i] = static_cast<Pixel>(i * 2654435761u);
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    plat::HostPresent(pic.data(), 640 * static_cast<int>(sizeof(Pixel)), 640, 480, format);
    benchmark::DoNotOptimize(plat::headless::LastFrame());
  }
  const double seconds = MonotonicSeconds() - start;
  state.SetItemsProcessed(state.iterations() * 640 * 480);
  if (state.iterations() > 0) ReportFrameSeconds(state, seconds / static_cast<double>(state.iterations()));
  plat::HostReset();
}

void BM_PresentRgb565(benchmark::State& state) { PresentFrames<uint16_t>(state, plat::HostPixelFormat::Rgb565); }
void BM_PresentXrgb8888(benchmark::State& state) {
  PresentFrames<uint32_t>(state, plat::HostPixelFormat::Xrgb8888);
}

}  // namespace

BENCHMARK(BM_PresentRgb565);
BENCHMARK(BM_PresentXrgb8888);
