// The monotonic clock in seconds, for benchmarks that time a part of their
// work by hand (a peer, a memcpy, a share of the frame budget), and the
// frame benchmarks' common yardstick: one memcpy of a 640 x 480 x 4 frame,
// measured in the same run, so that figures from machines of different speed
// can be set side by side ("x_memcpy").
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <cstring>
#include <string>
#include <vector>

inline double MonotonicSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds for one memcpy of a 640 x 480 x 4 frame between two warm buffers:
// the fastest of several batches, so that a busy neighbour on the machine
// inflates it as little as possible. Measured once per program.
inline double FrameMemcpySeconds() {
  static const double seconds = [] {
    const size_t bytes = 640 * 480 * 4;
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes, 0);
    std::memcpy(to.data(), from.data(), bytes);
    double best = 1.0;
    for (int batch = 0; batch < 9; ++batch) {
      const int copies = 20;
      const double start = MonotonicSeconds();
      for (int i = 0; i < copies; ++i) {
        from[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
      }
      const double each = (MonotonicSeconds() - start) / copies;
      if (each < best) best = each;
    }
    return best;
  }();
  return seconds;
}

// A frame's cost as frames per second ("fps"), as a share of the 16.7 ms
// budget of a 60 Hz frame ("budget_pct") and as a multiple of one frame
// memcpy ("x_memcpy"); `prefix` names the road when a benchmark reports
// several.
inline void ReportFrameSeconds(benchmark::State& state, double perFrame, const char* prefix = "") {
  const std::string p = prefix;
  state.counters[p + "fps"] = perFrame > 0 ? 1.0 / perFrame : 0;
  state.counters[p + "budget_pct"] = 100.0 * perFrame / (1.0 / 60.0);
  state.counters[p + "x_memcpy"] = perFrame / FrameMemcpySeconds();
}
