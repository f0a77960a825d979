// Volley geometry: the fans, rows, jittered and snapped fans and random
// sprays of the bullet pattern kinds, the aim angle toward a player, and the
// follow-up pattern a dying bullet releases.
#pragma once

#include <cstdint>

namespace orb {

// One volley's shape. Angles in degrees (0 = +x, 90 = +y).
struct VolleyShape {
  int32_t kind;   // 1/2, 11/12, 21/22, 31/32, 41/42 fans; 3/4, 13/14, 33/34 sprays
  int32_t count;  // bullets per fan, or volleys of a spray
  float spread;
  float rows;     // rows, jitter size or snap step, by kind
  float rowStep;
  float x, y;     // muzzle
  float speed;
  float angle;    // base angle A (already aimed for the even kinds)
};

struct VolleyBullet {
  float x, y, speed, angle;
};

// Called once per bullet in the volley's order.
using VolleyEmit = void (*)(const VolleyBullet& bullet, void* context);

// Emits the volley of the shape's kind; other kinds emit nothing. Random
// kinds draw from the game's rand, direction first, then speed.
void EmitVolley(const VolleyShape& shape, VolleyEmit emit, void* context);

// Heading in radians from (x, y) to the centre of player record 0 or 1
// (any other index aims at player 1), in -pi..pi.
float GetAngleToPlayer(float x, float y, int32_t player);

// Radians from GetAngleToPlayer to degrees, as the aiming code converts.
float AimDegrees(float radians);

// The volley a dying enemy bullet releases: aimed kinds (kind mod 10 = 2 or
// 4) aim at the target player; every bullet gets the empty follow-up pattern (no
// follow-up of its own) and the difficulty speed scale.
void FireEnemyBulletChildPattern(int32_t patternKind, float baseAngle, int32_t count, float x, float y,
                                 float childSpeed, float childSpeedAccel, float childDriftAccelX,
                                 float childDriftAccelY, float childAngleAccel, int32_t childLifetime,
                                 int32_t childTypeCode, float spread, float layers, float step,
                                 int32_t targetPlayer, int32_t damage, uint8_t damageClass);

}  // namespace orb
