// The wave motion model shared by gimmick blocks and enemies: velocities
// that accelerate up to their maxima, a phase that advances each frame, and
// a sine or cosine swing on each axis chosen by the wave code.
#pragma once

#include <cstdint>

namespace orb {

// pi as the game writes it; widened to double where the maths runs in double.
constexpr float kGamePi = 3.14159f;

// Degrees to radians with the game's pi, in double on the f32 operand.
inline double Radians(float degrees) { return static_cast<double>(degrees) * static_cast<double>(kGamePi) / 180.0; }

// The motion values a wave-moving record carries (its own fields are copied
// in and back out by the caller).
struct WaveMotion {
  float accelX, accelY;
  float maxSpeedX, maxSpeedY;
  float velocityX, velocityY;
  float amplitudeX, amplitudeY;
  float phaseStep;
  float phase;
};

// One frame: velocities += accelerations, each limited in size to its maximum
// keeping its sign; phase += phase step; then vx, vy from the wave code. Tens
// digit 0..6 picks the phase doubling of one axis (above 6: the plain phase on
// both); units digit 0..3 picks the swing; other units leave vx, vy alone.
void StepWaveMotion(WaveMotion& m, uint8_t waveCode, float* vx, float* vy);

}  // namespace orb
