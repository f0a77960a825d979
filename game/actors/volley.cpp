#include "game/actors/volley.h"

#include <cmath>

#include "game/world/crt_rand.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/actors/shots.h"
#include "game/actors/wave_motion.h"

namespace orb {

namespace {

// Direction of bullet i of an n-bullet fan around A; a spread of exactly 360
// becomes 360 (n - 1) / n so that the ring does not repeat its first bullet.
float FanDirection(float a, float spread, int32_t n, int32_t i) {
  if (n == 1) return a;
  const float s = spread == 360.0f ? 360.0f * static_cast<float>(n - 1) / static_cast<float>(n) : spread;
  return a - s / 2 + s * static_cast<float>(i) / static_cast<float>(n - 1);
}

// Sideways offset of row r of a parallel volley.
float RowOffset(int32_t r, float rows, float rowStep) {
  return static_cast<float>((r - (static_cast<double>(rows) - 1) * 0.5) * rowStep);
}

void EmitDisplaced(float x, float y, float speed, float angle, float d, VolleyEmit emit, void* context) {
  const double theta = Radians(angle);
  const VolleyBullet b{static_cast<float>(x + std::sin(theta) * d), static_cast<float>(y - std::cos(theta) * d),
                       speed, angle};
  emit(b, context);
}

struct SprayDraw {
  float angle;
  float factor;
};

// Direction first, then the 80..120 percent speed factor.
SprayDraw DrawSpray(const VolleyShape& s) {
  // A spread below 0 (or NaN) would leave nothing to draw from: m is at least 1.
  const double width = s.spread + 1.0;
  const int32_t m = width >= 2.0 ? (width < 2147483647.0 ? static_cast<int32_t>(width) : INT32_MAX) : 1;
  const float angle = static_cast<float>(Rand() % m) + s.angle - s.spread / 2;
  const float factor = static_cast<float>(Rand() % 41 + 80) / 100.0f;
  return {angle, factor};
}

void EmitFans(const VolleyShape& s, VolleyEmit emit, void* context) {
  const int32_t n = s.count;
  const int32_t family = s.kind / 10;  // 0 fan, 1 slower rows, 2 jitter, 3 parallel rows, 4 snapped
  const bool rowsOfFans = family == 1 || family == 3;
  for (int32_t r = 0; rowsOfFans ? static_cast<float>(r) < s.rows : r < 1; ++r) {
    for (int32_t i = 0; i < n; ++i) {
      float angle = FanDirection(s.angle, s.spread, n, i);
      float speed = s.speed;
      switch (family) {
        case 1: speed = (1 - static_cast<float>(r) * s.rowStep) * s.speed; break;
        case 2: angle += static_cast<float>(Rand() % 11 - 5) * s.rows / 10; break;
        case 3: EmitDisplaced(s.x, s.y, speed, angle, RowOffset(r, s.rows, s.rowStep), emit, context); continue;
        case 4:
          if (s.rows != 0.0f) {
            const float h = s.angle >= 0.0f ? 0.5f : -0.5f;
            angle = static_cast<float>(TruncToInt(angle / s.rows + h)) * s.rows;
          }
          break;
        default: break;
      }
      emit({s.x, s.y, speed, angle}, context);
    }
  }
}

void EmitSprays(const VolleyShape& s, VolleyEmit emit, void* context) {
  for (int32_t i = 0; i < s.count; ++i) {
    const SprayDraw d = DrawSpray(s);
    switch (s.kind / 10) {
      case 0: emit({s.x, s.y, d.factor * s.speed, d.angle}, context); break;
      case 1:
        for (int32_t r = 0; static_cast<float>(r) < s.rows; ++r) {
          emit({s.x, s.y, (1 - static_cast<float>(r) * s.rowStep) * d.factor * s.speed, d.angle}, context);
        }
        break;
      default:
        for (int32_t r = 0; static_cast<float>(r) < s.rows; ++r) {
          EmitDisplaced(s.x, s.y, d.factor * s.speed, d.angle, RowOffset(r, s.rows, s.rowStep), emit, context);
        }
        break;
    }
  }
}

struct ChildContext {
  float speedAccel, driftAccelX, driftAccelY, angleAccel;
  int32_t lifetime, typeCode, damage;
  uint8_t damageClass;
};

void SpawnChildBullet(const VolleyBullet& b, void* context) {
  const ChildContext& c = *static_cast<const ChildContext*>(context);
  SetDefaultShotChildSpec(NextEnemyBullet());
  SpawnEnemyBullet(b.x, b.y, b.speed, b.angle, c.speedAccel, c.driftAccelX, c.driftAccelY, c.angleAccel, c.typeCode,
                   c.damage, c.damageClass, c.lifetime);
}

}  // namespace

void EmitVolley(const VolleyShape& s, VolleyEmit emit, void* context) {
  switch (s.kind) {
    case 1: case 2: case 11: case 12: case 21: case 22: case 31: case 32: case 41: case 42:
      EmitFans(s, emit, context);
      break;
    case 3: case 4: case 13: case 14: case 33: case 34:
      EmitSprays(s, emit, context);
      break;
    default: break;
  }
}

float GetAngleToPlayer(float x, float y, int32_t player) {
  const ActorHead& p = pools.players[player == 1 ? 1 : 0].head;
  const float ex = p.x - x, ey = p.y - y;
  const double pi = kGamePi;
  if (ex == 0.0f) return static_cast<float>(std::atan(ey * 10000000.0));
  const double a = std::atan(static_cast<double>(ey / ex));
  if (ex > 0.0f) return static_cast<float>(a);
  return static_cast<float>(ey >= 0.0f ? a + pi : a - pi);
}

float AimDegrees(float radians) {
  return static_cast<float>(static_cast<double>(radians) * 180.0 / static_cast<double>(kGamePi));
}

void FireEnemyBulletChildPattern(int32_t patternKind, float baseAngle, int32_t count, float x, float y,
                                 float childSpeed, float childSpeedAccel, float childDriftAccelX,
                                 float childDriftAccelY, float childAngleAccel, int32_t childLifetime,
                                 int32_t childTypeCode, float spread, float layers, float step,
                                 int32_t targetPlayer, int32_t damage, uint8_t damageClass) {
  float a = baseAngle;
  if (patternKind % 10 == 2 || patternKind % 10 == 4) a = AimDegrees(GetAngleToPlayer(x, y, targetPlayer));
  const VolleyShape shape{patternKind, count, spread, layers, step, x, y, childSpeed, a};
  ChildContext c{childSpeedAccel, childDriftAccelX, childDriftAccelY, childAngleAccel,
                 childLifetime,   childTypeCode,    damage,           damageClass};
  EmitVolley(shape, SpawnChildBullet, &c);
}

}  // namespace orb
