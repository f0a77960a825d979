// Decoding through the sound converter against the libraries alone (MP3 and
// Ogg Vorbis, 10 s of 44.1 kHz stereo each; compare the pairs' times), and
// the refill of 8 playing stream sounds. "realtime_pct" is the time spent per
// second of audio as a share of real time, in percent of one core.
#include <benchmark/benchmark.h>
#include <time.h>

#include <vector>

#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/wav_file.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/sound_system.h"
#include "framework/sound/stream_play.h"
#include "platform/dsound/dsound.h"
#include "tests/framework/sound/encoded_audio.h"
#include "bench_clock.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 10;

const std::vector<uint8_t>& Mp3() {
  static const auto file = soundtest::EncodeMp3(soundtest::Tone(kRate * kSeconds, 2), 2, kRate, 128);
  return file;
}
const std::vector<uint8_t>& Ogg() {
  static const auto file = soundtest::EncodeVorbis(soundtest::Tone(kRate * kSeconds, 2), 2, kRate);
  return file;
}

// Seconds spent per second of audio, in percent.
void ReportShare(benchmark::State& state, double seconds, double audioSecondsPerIteration) {
  state.counters["realtime_pct"] =
      100.0 * seconds / (audioSecondsPerIteration * static_cast<double>(state.iterations()));
}

void ConvertWhole(benchmark::State& state, const std::vector<uint8_t>& file) {
  const double start = MonotonicSeconds();
  for (auto _ : state) {
    const qor::StreamHandle stream = qor::OpenMemoryStream(file.data(), file.size());
    const qor::StreamSource source = qor::MakeStreamSource(qor::GetMemoryStreamTable(), stream);
    qor::SoundConverter c{};
    qor::SetupSoundConverter(&source, &c);
    qor::WAVEFORMATEX f{};
    uint8_t* pcm = nullptr;
    uint32_t size = 0;
    qor::ConvertWholeSound(&c, &f, &pcm, &size);
    benchmark::DoNotOptimize(pcm);
    qor::FreeMemory(pcm);
    qor::EndSoundConverter(&c);
    qor::FreeMemoryStream(stream);
  }
  ReportShare(state, MonotonicSeconds() - start, kSeconds);
}

void BM_Mp3Converter(benchmark::State& state) { ConvertWhole(state, Mp3()); }
void BM_Mp3Library(benchmark::State& state) {
  const double start = MonotonicSeconds();
  for (auto _ : state) benchmark::DoNotOptimize(soundtest::DecodeMp3Directly(Mp3()));
  ReportShare(state, MonotonicSeconds() - start, kSeconds);
}
void BM_VorbisConverter(benchmark::State& state) { ConvertWhole(state, Ogg()); }
void BM_VorbisLibrary(benchmark::State& state) {
  const double start = MonotonicSeconds();
  for (auto _ : state) benchmark::DoNotOptimize(soundtest::DecodeVorbisDirectly(Ogg()));
  ReportShare(state, MonotonicSeconds() - start, kSeconds);
}

// 8 stream sounds of plain PCM playing at once; each iteration mixes one
// second in 50 ms passes and refills after each. Only the refills are timed.
void BM_RefillEightStreams(benchmark::State& state) {
  qor::ResetSoundState();
  plat::dsound::ResetDirectSoundState();
  plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
  qor::InitDirectSound();
  std::vector<int16_t> tone = soundtest::Tone(kRate * 20, 2);
  const qor::WAVEFORMATEX f{1, 2, kRate, kRate * 4, 4, 16, 0};
  uint8_t* image = nullptr;
  uint32_t imageSize = 0;
  qor::BuildWaveImage(&image, &imageSize, &f, sizeof f, tone.data(), static_cast<uint32_t>(tone.size() * 2));
  qor::SetSoundDataCreateMode(2);
  for (int i = 0; i < 8; ++i) qor::PlaySoundHandle(qor::CreateSoundFromMemory(image, imageSize, 1, -1), 3, 1);
  qor::SetSoundDataCreateMode(0);
  qor::FreeMemory(image);
  double refilling = 0;
  for (auto _ : state) {
    for (int pass = 0; pass < 20; ++pass) {
      state.PauseTiming();
      plat::dsound::AdvanceManual(kRate / 20);
      state.ResumeTiming();
      const double start = MonotonicSeconds();
      qor::UpdateStreamSounds();
      refilling += MonotonicSeconds() - start;
    }
  }
  ReportShare(state, refilling, 1.0);
  qor::ResetSoundState();
  plat::dsound::ResetDirectSoundState();
}

BENCHMARK(BM_Mp3Converter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mp3Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VorbisConverter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VorbisLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefillEightStreams)->Unit(benchmark::kMillisecond);

}  // namespace
