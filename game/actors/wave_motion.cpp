#include "game/actors/wave_motion.h"

#include <cmath>

namespace orb {

namespace {

float Limit(float v, float maximum) { return std::fabs(v) > maximum ? std::copysign(maximum, v) : v; }

}  // namespace

void StepWaveMotion(WaveMotion& m, uint8_t waveCode, float* vx, float* vy) {
  m.velocityX = Limit(m.velocityX + m.accelX, m.maxSpeedX);
  m.velocityY = Limit(m.velocityY + m.accelY, m.maxSpeedY);
  m.phase += m.phaseStep;

  float px = m.phase, py = m.phase;
  switch (waveCode / 10) {
    case 1: px = m.phase * 2.0f; break;
    case 2: px = m.phase * 4.0f; break;
    case 3: px = m.phase * 8.0f; break;
    case 4: py = m.phase * 2.0f; break;
    case 5: py = m.phase * 4.0f; break;
    case 6: py = m.phase * 8.0f; break;
    default: break;  // 0, and codes no caller uses: the plain phase
  }
  const double ax = m.amplitudeX, ay = m.amplitudeY;
  const double swingX = std::cos(static_cast<double>(px)) * ax + m.velocityX;
  switch (waveCode % 10) {
    case 0:
      *vx = static_cast<float>(swingX);
      *vy = static_cast<float>(std::sin(static_cast<double>(py)) * ay + m.velocityY);
      break;
    case 1:
      *vx = static_cast<float>(swingX);
      *vy = static_cast<float>(m.velocityY - std::sin(static_cast<double>(py)) * ay);
      break;
    case 2:
      *vx = static_cast<float>(swingX);
      *vy = static_cast<float>(std::cos(static_cast<double>(py)) * ay + m.velocityY);
      break;
    case 3:
      *vx = static_cast<float>(swingX);
      *vy = static_cast<float>(m.velocityY - std::cos(static_cast<double>(py)) * ay);
      break;
    default: break;
  }
}

}  // namespace orb
