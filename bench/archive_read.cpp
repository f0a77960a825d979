// Reading a large file from an archive (stored and LZ-compressed) against
// reading the same file loose, through the default file-access table. The
// ratio benchmarks report archive time / loose time as the counter "ratio".
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "framework/core/archives/archive.h"
#include "framework/core/archives/archive_writer.h"
#include "framework/core/files/file_access.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/path_map.h"
#include "bench_clock.h"

namespace {

constexpr size_t kFileBytes = 16u << 20;
constexpr size_t kChunk = 64u << 10;

struct Fixture {
  std::string host;
  std::string z;
  Fixture() {
    char tmpl[] = "/tmp/orb_bench_archive_XXXXXX";
    host = mkdtemp(tmpl);
    char buffer[1024];
    plat::HostPathToCp932(host.c_str(), buffer, sizeof buffer);
    z = buffer;
    // Picture-like data: runs and repeats with noise, so compression has
    // work to do and something to gain.
    std::mt19937 rng(1);
    std::vector<uint8_t> data;
    data.reserve(kFileBytes);
    while (data.size() < kFileBytes) {
      const uint8_t value = static_cast<uint8_t>(rng() % 7 == 0 ? rng() : rng() % 4);
      data.insert(data.end(), 1 + rng() % 24, value);
    }
    data.resize(kFileBytes);
    plat::CreateDirectoryAt((z + "\\loose").c_str());
    qor::WriteWholeFile((z + "\\loose\\data.bin").c_str(), data);
    qor::PackNode root;
    root.isDirectory = true;
    qor::PackNode file;
    file.name = "data.bin";
    file.data = data;
    root.children.push_back(file);
    for (bool store : {true, false}) {
      qor::PackOptions o;
      o.keyMode = qor::PackKeyMode::String;
      o.key = "trum8";
      o.store = store;
      std::vector<uint8_t> bytes;
      qor::BuildArchive(root, o, &bytes);
      qor::WriteWholeFile((z + (store ? "\\stored.dat" : "\\packed.dat")).c_str(), bytes);
    }
    qor::ResetArchiveTables();
    qor::SetArchiveExtension("dat");
    qor::SetArchiveKey("trum8");
  }
  ~Fixture() {
    qor::ResetArchiveTables();
    std::system(("rm -rf '" + host + "'").c_str());
  }
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

// Opens, reads whole in 64 KB chunks and closes; the bytes read.
size_t ReadWhole(const std::string& path, std::vector<uint8_t>* buffer) {
  const qor::FileHandle f = qor::FileOpenDispatch(path.c_str(), 0, 1, 0);
  if (f == 0) return 0;
  size_t total = 0;
  for (size_t got; (got = qor::FileReadDispatch(buffer->data(), 1, buffer->size(), f)) > 0;) total += got;
  qor::FileCloseDispatch(f);
  benchmark::DoNotOptimize(buffer->data());
  return total;
}

const char* const kRoads[] = {"\\loose\\data.bin", "\\stored\\data.bin", "\\packed\\data.bin"};

void BM_ReadWholeFile(benchmark::State& state) {
  const std::string path = Files().z + kRoads[state.range(0)];
  std::vector<uint8_t> buffer(kChunk);
  for (auto _ : state) {
    if (ReadWhole(path, &buffer) != kFileBytes) state.SkipWithError("short read");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
  state.SetLabel(state.range(0) == 0 ? "loose" : state.range(0) == 1 ? "archive stored" : "archive compressed");
}
BENCHMARK(BM_ReadWholeFile)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Loose and archived reads alternate in each iteration so both see the same
// machine state; the counter is the archive's time over the loose time.
void BM_ArchiveToLooseRatio(benchmark::State& state) {
  const std::string loose = Files().z + kRoads[0];
  const std::string archived = Files().z + kRoads[state.range(0)];
  std::vector<uint8_t> buffer(kChunk);
  double looseSeconds = 0, archiveSeconds = 0;
  for (auto _ : state) {
    const double t0 = MonotonicSeconds();
    const size_t a = ReadWhole(loose, &buffer);
    const double t1 = MonotonicSeconds();
    const size_t b = ReadWhole(archived, &buffer);
    const double t2 = MonotonicSeconds();
    if (a != kFileBytes || b != kFileBytes) state.SkipWithError("short read");
    looseSeconds += t1 - t0;
    archiveSeconds += t2 - t1;
  }
  state.counters["ratio"] = looseSeconds > 0 ? archiveSeconds / looseSeconds : 0;
  state.SetLabel(state.range(0) == 1 ? "stored / loose" : "compressed / loose");
}
BENCHMARK(BM_ArchiveToLooseRatio)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
