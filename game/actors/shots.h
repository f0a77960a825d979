// Player shots and enemy bullets: one record kind, one table of shot types,
// the same spawn and motion rules, two ring pools (Parts of the play loop
// call the pool passes below).
#pragma once

#include <cstdint>

#include "game/actors/actors.h"

namespace orb {

// Enemy bullet speed by difficulty (the reciprocals are InverseBulletSpeedScale).
extern const float kBulletSpeedScale[4];

// Writes a record's follow-up pattern; the target player is left as it is.
void SetShotChildSpec(ShotRecord& r, int32_t patternKind, int32_t count, float spread, float childSpeed,
                      float baseAngle, float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                      float childAngleAccel, int32_t childLifetime, int32_t childTypeCode, float layers, float step);

// The follow-up pattern every bullet of a volley starts from: floats 1.0, integers 1,
// pattern kind 0 (so it releases nothing).
void SetDefaultShotChildSpec(ShotRecord& r);

// The records the spawners fill next (emitters lay a follow-up pattern in first).
ShotRecord& NextPlayerShot();
ShotRecord& NextEnemyBullet();

// Fill the record at the ring counter and advance the ring (0..254 for shots,
// 0..510 for bullets; the last record of each pool is never used).
void SpawnPlayerShot(float x, float y, float speed, float angle, float speedAccel, float driftAccelX,
                     float driftAccelY, float angleAccel, int32_t typeCode, int32_t damage, uint8_t damageClass,
                     int32_t lifetime);
void SpawnEnemyBullet(float x, float y, float speed, float angle, float speedAccel, float driftAccelX,
                      float driftAccelY, float angleAccel, int32_t typeCode, int32_t damage, uint8_t damageClass,
                      int32_t lifetime);

// One frame of motion and life.
void UpdatePlayerShot(ShotRecord& r);
void UpdateEnemyBullet(ShotRecord& r);

// The frame a shot shows at this play frame, or -1 when its type has no
// picture there (unknown type, or a row beyond its set).
int32_t ShotDrawFrame(const ShotRecord& r, int32_t playFrame);

// How a shot is drawn this frame: blend mode and parameter (mode 0: no
// blend), and rotated by an angle in degrees at a scale, or unrotated.
struct ShotDrawPlan {
  int32_t blendMode;
  int32_t blendParameter;
  bool rotated;
  float angle;
  float scale;
};
ShotDrawPlan PlanShotDraw(const ShotRecord& r, bool enemyBullet);

// Draw one record when it is active (and its hitbox in debug mode).
void DrawPlayerShot(ShotRecord& r);
void DrawEnemyBullet(ShotRecord& r);

}  // namespace orb
