// ConvertPixelsBlt on a 640 x 480 picture between R5G6B5 and X8R8G8B8, each
// way, against memcpy of the bytes the conversion writes. The counter
// "vs_memcpy" is conversion time / memcpy time.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "framework/graphics/images/convert_pixels.h"
#include "bench_clock.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

qor::PixelFormatInfo Format(int depth, uint32_t r, uint32_t g, uint32_t b) {
  qor::PixelFormatInfo f = {};
  qor::MakeFormatFromMasks(&f, depth, r, g, b, 0);
  return f;
}

// <chrono> does not build with the CP932 execution character set.

void ConvertPicture(benchmark::State& state, int fromDepth, int toDepth) {
  qor::PixelFormatInfo rgb565 = Format(16, 0xF800, 0x07E0, 0x001F);
  qor::PixelFormatInfo xrgb = Format(32, 0xFF0000, 0xFF00, 0xFF);
  const qor::PixelFormatInfo& from = fromDepth == 16 ? rgb565 : xrgb;
  const qor::PixelFormatInfo& to = toDepth == 16 ? rgb565 : xrgb;
  std::vector<uint8_t> src(static_cast<size_t>(kWidth) * kHeight * from.bytesPerPixel);
  std::vector<uint8_t> dst(static_cast<size_t>(kWidth) * kHeight * to.bytesPerPixel);
  std::vector<uint8_t> copy(dst.size());
  std::mt19937 rng(1);
  for (uint8_t& b : src) b = static_cast<uint8_t>(rng());
  qor::PixelBlock d = {dst.data(), kWidth * to.bytesPerPixel, kWidth, kHeight, &to};
  qor::PixelBlock s = {src.data(), kWidth * from.bytesPerPixel, kWidth, kHeight, &from};
  qor::Rect rect = {0, 0, kWidth, kHeight};

  double convertTime = 0;
  for (auto _ : state) {
    double start = MonotonicSeconds();
    qor::ConvertPixelsBlt(&d, &s, nullptr, 0, 0, &rect, nullptr);
    benchmark::ClobberMemory();
    convertTime += MonotonicSeconds() - start;
  }
  double start = MonotonicSeconds();
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
    std::memcpy(copy.data(), dst.data(), dst.size());
    benchmark::ClobberMemory();
  }
  double copyTime = MonotonicSeconds() - start;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(dst.size()));
  state.counters["vs_memcpy"] = copyTime > 0 ? convertTime / copyTime : 0.0;
}

void BM_Convert565To8888(benchmark::State& state) { ConvertPicture(state, 16, 32); }
void BM_Convert8888To565(benchmark::State& state) { ConvertPicture(state, 32, 16); }

}  // namespace

BENCHMARK(BM_Convert565To8888)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert8888To565)->Unit(benchmark::kMicrosecond);
