// Software mixing cost: 32 looping voices mixed into one second of 44.1 kHz
// stereo output per iteration. The "realtime_pct" counter is the time spent
// per second of audio as a share of real time, in percent of one core.
#include <benchmark/benchmark.h>
#include <time.h>

#include <vector>

#include "platform/dsound/dsound.h"

namespace {

using namespace plat;

constexpr int kVoices = 32;
constexpr int kRate = 44100;

void MixVoices(benchmark::State& state, bool resample) {
  dsound::ResetDirectSoundState();
  dsound::SetSinkMode(dsound::SinkMode::Manual);
  IDirectSound* ds = nullptr;
  CreateDirectSound(&ds);
  ds->Initialize(nullptr);
  for (int v = 0; v < kVoices; ++v) {
    // A mix of the formats sounds come in: 8 and 16 bits, mono and stereo.
    const uint16_t channels = static_cast<uint16_t>(1 + v % 2);
    const uint16_t bits = static_cast<uint16_t>(v % 4 < 2 ? 16 : 8);
    const uint32_t rate = resample ? (v % 3 == 0 ? 22050u : v % 3 == 1 ? 11025u : 48000u) : 44100u;
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    const WAVEFORMATEX f{WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
    const uint32_t bytes = rate * align / 2 + align * static_cast<uint32_t>(v);  // about half a second
    const DSBUFFERDESC d{kDsBufferDescSize, 0x80E2, bytes, 0, &f};
    IDirectSoundBuffer* b = nullptr;
    ds->CreateSoundBuffer(&d, &b, nullptr);
    void *p1, *p2;
    uint32_t s1, s2;
    b->Lock(0, bytes, &p1, &s1, &p2, &s2, 0);
    for (uint32_t i = 0; i < s1; ++i) static_cast<uint8_t*>(p1)[i] = static_cast<uint8_t>(i * 37 + v);
    b->Unlock(p1, s1, p2, s2);
    b->SetVolume(-100 * (v % 10));
    b->SetPan(-5000 + 300 * v);
    b->Play(0, 0, DSBPLAY_LOOPING);
  }
  std::vector<int16_t> out(2 * kRate);
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (auto _ : state) {
    dsound::MixInto(out.data(), kRate);
    benchmark::DoNotOptimize(out.data());
  }
  clock_gettime(CLOCK_MONOTONIC, &end);
  // One second of audio per iteration: seconds spent per iteration is the
  // share of real time.
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  state.counters["realtime_pct"] = 100.0 * seconds / static_cast<double>(state.iterations());
  dsound::ResetDirectSoundState();
}

void BM_Mix32VoicesAtOutputRate(benchmark::State& state) { MixVoices(state, false); }
void BM_Mix32VoicesResampled(benchmark::State& state) { MixVoices(state, true); }

}  // namespace

BENCHMARK(BM_Mix32VoicesAtOutputRate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix32VoicesResampled)->Unit(benchmark::kMillisecond);
