// Synthesized sounds: short tone sweeps for the effects and looping
// arpeggios for the music, 16-bit mono at 22,050 Hz.
#include "sounds.h"

#include <cmath>

namespace mkassets {

namespace {
constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

std::vector<int16_t> EffectSound(const std::string& name) {
  const uint32_t h = HashText(name);
  const int length = kRate / 8 + static_cast<int>(h % (kRate / 3));
  const double start = 220.0 + (h >> 8) % 900, end = 110.0 + (h >> 20) % 1400;
  std::vector<int16_t> out(static_cast<size_t>(length));
  double phase = 0.0;
  for (int i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / length;
    phase += 2 * kPi * (start + (end - start) * t) / kRate;
    const double envelope = (1.0 - t) * (i < 64 ? i / 64.0 : 1.0);
    const double wave = (h & 1) ? (std::sin(phase) > 0 ? 0.6 : -0.6) : std::sin(phase);
    out[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(wave * envelope * 9000.0));
  }
  return out;
}

std::vector<int16_t> MusicLoop(int number) {
  // Four bars of eighth notes over a minor or major triad rooted by the number.
  static const int steps[2][4] = {{0, 3, 7, 12}, {0, 4, 7, 12}};
  const int noteLength = kRate / 6;
  const int notes = 32;
  std::vector<int16_t> out(static_cast<size_t>(noteLength) * notes);
  const double root = 110.0 * std::pow(2.0, (number % 12) / 12.0);
  for (int n = 0; n < notes; ++n) {
    const int step = steps[number % 2][(n * (1 + number % 3)) % 4];
    const double freq = root * std::pow(2.0, (step + 12 * ((n / 8) % 2)) / 12.0);
    for (int i = 0; i < noteLength; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double envelope = 1.0 - static_cast<double>(i) / noteLength * 0.7;
      const double v = std::sin(2 * kPi * freq * t) * 0.7 + std::sin(2 * kPi * freq * 2 * t) * 0.2;
      out[static_cast<size_t>(n) * noteLength + i] = static_cast<int16_t>(std::lround(v * envelope * 7000.0));
    }
  }
  return out;
}

int SoundRate() { return kRate; }

}  // namespace mkassets
