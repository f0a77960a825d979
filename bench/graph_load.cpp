// Loading a 512 x 512 24-bit BMP as one graph (OpenGraphFile) and as 16
// pieces of 128 x 128 (OpenDividedGraph) on the software road of the
// headless host. Each reports its time against reading the file's bytes
// ("x_read"), which is the floor any load has to pay.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "framework/graphics/screen/graphics_reset.h"
#include "framework/qorlib.h"
#include "bench_clock.h"

namespace {

constexpr int kSide = 512;

void Put32(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) (*v)[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// A bottom-up 24-bit BMP with a 40-byte info header.
std::string WriteBmp() {
  const uint32_t row = kSide * 3, size = 54 + row * kSide;
  std::vector<uint8_t> v(size, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put32(&v, 2, size);
  Put32(&v, 10, 54);
  Put32(&v, 14, 40);
  Put32(&v, 18, kSide);
  Put32(&v, 22, kSide);
  v[26] = 1;
  v[28] = 24;
  for (uint32_t i = 54; i < size; ++i) v[i] = static_cast<uint8_t>(i * 7 + i / 1536);
  std::string path = "/tmp/orb_bench_graph_" + std::to_string(getpid()) + ".bmp";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f != nullptr) {
    std::fwrite(v.data(), 1, v.size(), f);
    std::fclose(f);
  }
  return path;
}

double ReadSeconds(const std::string& path) {
  std::vector<uint8_t> bytes(54 + kSide * kSide * 3);
  const double start = MonotonicSeconds();
  for (int i = 0; i < 50; ++i) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return 1;
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
  }
  return (MonotonicSeconds() - start) / 50;
}

struct SoftRoad {
  std::string path = WriteBmp();
  SoftRoad() {
    setenv("ORB_HOST", "headless", 0);
    setenv("ORB_GFX", "soft", 1);
    qor::SetLogFileOutputPublic(0);
    qor::InitFramework();
    unsetenv("ORB_GFX");
  }
  ~SoftRoad() {
    qor::EndFramework();
    qor::ResetGraphicsState();
    std::remove(path.c_str());
  }
};

void Report(benchmark::State& state, double start, double read) {
  const double each = state.iterations() > 0 ? (MonotonicSeconds() - start) / static_cast<double>(state.iterations()) : 0;
  state.counters["x_read"] = read > 0 ? each / read : 0;
}

void BM_OpenGraphFile(benchmark::State& state) {
  SoftRoad road;
  const double read = ReadSeconds(road.path);
  const double start = MonotonicSeconds();
  for (auto _ : state) qor::DestroyGraphPublic(qor::OpenGraphFilePublic(road.path.c_str(), 1));
  Report(state, start, read);
}

void BM_OpenDividedGraph16(benchmark::State& state) {
  SoftRoad road;
  const double read = ReadSeconds(road.path);
  int pieces[16];
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    qor::OpenDividedGraphPublic(road.path.c_str(), 16, 4, 4, 128, 128, pieces, 1);
    for (int piece : pieces) qor::DestroyGraphPublic(piece);
  }
  Report(state, start, read);
}

}  // namespace

BENCHMARK(BM_OpenGraphFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDividedGraph16)->Unit(benchmark::kMicrosecond);
