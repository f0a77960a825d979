// 640 x 480 4:2:0 frames to 32-bit RGB: the framework's table conversion
// against libswscale doing the same job (compare the two times for the
// ratio).
#include <benchmark/benchmark.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <vector>

#include "framework/sound/movie/yuv_convert.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Planes {
  std::vector<uint8_t> y, u, v;
  Planes() : y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4) {
    uint32_t seed = 5;
    for (auto* plane : {&y, &u, &v}) {
      for (auto& s : *plane) s = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    }
  }
};

void TablesConvert(benchmark::State& state) {
  const Planes p;
  std::vector<uint8_t> out(kWidth * kHeight * 4);
  qor::InitYuvToRgbTables();
  const qor::YuvPlanes planes{p.y.data(), p.u.data(), p.v.data(), kWidth, kHeight, kWidth,
                              kWidth / 2, kHeight / 2, kWidth / 2};
  for (auto _ : state) {
    qor::ConvertYuvToRgb32(planes, out.data(), kWidth * 4, kWidth, kHeight);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TablesConvert);

void SwscaleConvert(benchmark::State& state) {
  const Planes p;
  std::vector<uint8_t> out(kWidth * kHeight * 4);
  SwsContext* sws = sws_getContext(kWidth, kHeight, AV_PIX_FMT_YUV420P, kWidth, kHeight, AV_PIX_FMT_BGR0, SWS_POINT,
                                   nullptr, nullptr, nullptr);
  const uint8_t* src[3] = {p.y.data(), p.u.data(), p.v.data()};
  const int srcStride[3] = {kWidth, kWidth / 2, kWidth / 2};
  uint8_t* dst[1] = {out.data()};
  const int dstStride[1] = {kWidth * 4};
  for (auto _ : state) {
    sws_scale(sws, src, srcStride, 0, kHeight, dst, dstStride);
    benchmark::DoNotOptimize(out.data());
  }
  sws_freeContext(sws);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SwscaleConvert);

}  // namespace

BENCHMARK_MAIN();
