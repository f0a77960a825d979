#include "game/actors/shots.h"

#include <cmath>

#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/actors/volley.h"
#include "game/actors/wave_motion.h"

namespace orb {

const float kBulletSpeedScale[4] = {0.8f, 1.0f, 1.3f, 1.6f};

namespace {

constexpr int32_t kFirstTypeCode = 10000;
constexpr int32_t kLastTypeCode = 11699;
constexpr int32_t kFromArgument = -1;

enum class FrameRule : uint8_t { First, Row, Animated, RowAnimated };

// One line of the shot type table, by the hundreds of the type code.
struct ShotType {
  const int* images;
  int32_t sprite;
  int32_t frames, period;
  FrameRule rule;
  float shotHitbox;
  int32_t shotDamage;  // kFromArgument: the spawner's damage and class stand
  float bulletHitbox;
  int32_t bulletDamage;
};

const ShotType kShotTypes[17] = {
    {assets.effectTamahari, 32, 1, 1, FrameRule::First, 8, kFromArgument, 8, 15},
    {assets.effectTamastar, 64, 4, 1, FrameRule::Row, 28, kFromArgument, 28, 20},
    {assets.effectTamad, 32, 4, 1, FrameRule::Row, 24, kFromArgument, 16, 15},
    {assets.effectTamakoori, 32, 1, 1, FrameRule::First, 12, kFromArgument, 8, 20},
    {assets.effectTamac, 32, 4, 1, FrameRule::Row, 12, kFromArgument, 8, 15},
    {assets.effectTamafire, 64, 4, 4, FrameRule::Animated, 28, kFromArgument, 22, 30},
    {assets.effectTamaknife, 64, 4, 1, FrameRule::Row, 20, kFromArgument, 12, 30},
    {assets.effectTamaf, 64, 4, 1, FrameRule::Row, 52, kFromArgument, 35, 40},
    {assets.effectTamae, 32, 4, 1, FrameRule::Row, 26, kFromArgument, 20, 20},
    {assets.effectTamag, 64, 4, 1, FrameRule::Row, 26, kFromArgument, 23, 40},
    {assets.effectTamakunai, 64, 4, 1, FrameRule::Row, 20, kFromArgument, 12, 40},
    {assets.effectTamayuurei, 64, 4, 4, FrameRule::Animated, 40, kFromArgument, 30, 30},
    {assets.effectTamamissile, 32, 1, 1, FrameRule::First, 12, 20, 8, 20},
    {assets.effectTatumaki, 64, 8, 2, FrameRule::Animated, 40, kFromArgument, 30, 30},
    {assets.effectTamaa, 16, 16, 4, FrameRule::RowAnimated, 6, 10, 4, 13},
    {assets.effectTamab, 32, 16, 4, FrameRule::RowAnimated, 16, 20, 10, 20},
    {assets.effectTamaonnpu, 64, 4, 1, FrameRule::Row, 28, 24, 20, 24},
};

const ShotType* TypeOf(int32_t code) {
  if (code < kFirstTypeCode || code > kLastTypeCode) return nullptr;
  return &kShotTypes[(code - kFirstTypeCode) / 100];
}

int32_t Mod(int32_t a, int32_t n) {
  const int32_t m = a % n;
  return m < 0 ? m + n : m;
}

int32_t AdvanceRing(int32_t counter, int32_t last) { return counter >= 0 && counter < last ? counter + 1 : 0; }

ShotRecord& RingRecord(ShotRecord* pool, int32_t counter, int32_t last) {
  return pool[counter >= 0 && counter <= last ? counter : 0];
}

void FillShot(ShotRecord& r, bool bullet, float x, float y, float speed, float angle, float speedAccel,
              float driftAccelX, float driftAccelY, float angleAccel, int32_t typeCode, int32_t damage,
              uint8_t damageClass, int32_t lifetime) {
  r.driftX = r.driftY = 0.0f;
  r.head.x = x;
  r.head.y = y;
  r.age = 0;
  r.lifetime = lifetime;
  r.angle = angle;
  r.damage = damage;
  r.damageClass = damageClass;
  r.speedAccel = speedAccel;
  r.driftAccelX = driftAccelX;
  r.driftAccelY = driftAccelY;
  r.angleAccel = angleAccel;
  r.typeCode = typeCode;
  r.head.speed = speed;
  const double radians = Radians(angle);
  r.head.vx = static_cast<float>(std::cos(radians) * speed);
  r.head.vy = static_cast<float>(std::sin(radians) * speed);
  r.head.state = kActorActive;

  r.head.frame = 0;
  const ShotType* t = TypeOf(typeCode);
  if (t == nullptr) {
    // No picture and no body: it draws nothing and touches nothing.
    r.head.images = nullptr;
    r.head.frameCount = 0;
    r.head.framePeriod = 1;
    r.head.spriteWidth = r.head.spriteHeight = 0;
    r.head.hitboxWidth = r.head.hitboxHeight = 0.0f;
    return;
  }
  r.head.images = t->images;
  r.head.frameCount = t->frames;
  r.head.framePeriod = bullet && typeCode / 100 == 111 ? 1 : t->period;
  r.head.spriteWidth = r.head.spriteHeight = t->sprite;
  const float hitbox = bullet ? t->bulletHitbox : t->shotHitbox;
  r.head.hitboxWidth = r.head.hitboxHeight = hitbox;
  if (bullet) {
    r.damage = t->bulletDamage;
  } else if (t->shotDamage != kFromArgument) {
    r.damage = t->shotDamage;
    r.damageClass = 1;
  }
}

// Player shots of these types end at their lifetime when they carry the
// matching speed acceleration (the fading kinds).
bool PlayerShotFades(const ShotRecord& r) {
  const int32_t t = r.typeCode;
  const float a = r.speedAccel;
  return (t == 10300 && a == -0.7f) || (t == 11100 && a == -0.4f) || (t == 11300 && a == -0.5f) ||
         (t >= 10400 && t <= 10499 && a == -0.11f);
}

bool BulletFades(const ShotRecord& r) { return r.typeCode == 11300 || r.typeCode == 11100; }

void UpdateShot(ShotRecord& r, bool bullet) {
  r.age = r.age < INT32_MAX ? r.age + 1 : r.age;
  if (static_cast<int64_t>(r.age) <= static_cast<int64_t>(r.lifetime) + 1) {
    r.driftX += r.driftAccelX;
    r.driftY += r.driftAccelY;
    r.head.speed += r.speedAccel;
    r.angle += r.angleAccel;
    const double radians = Radians(r.angle);
    r.head.vx = static_cast<float>(std::cos(radians) * r.head.speed + r.driftX);
    r.head.vy = static_cast<float>(std::sin(radians) * r.head.speed + r.driftY);
  }
  r.head.x += r.head.vx;
  r.head.y += r.head.vy;

  if (r.age > r.lifetime && (bullet ? BulletFades(r) : PlayerShotFades(r))) r.head.state = kActorFree;

  if (r.child.patternKind != 0 && r.age == r.lifetime) {
    // Freed before the volley: a follow-up that the ring lays into this very
    // record must survive its parent.
    r.head.state = kActorFree;
    if (bullet) {
      const ShotChildSpec c = r.child;
      FireEnemyBulletChildPattern(c.patternKind, c.baseAngle, c.count, r.head.x, r.head.y, c.childSpeed,
                                  c.childSpeedAccel, c.childDriftAccelX, c.childDriftAccelY, c.childAngleAccel,
                                  c.childLifetime, c.childTypeCode, c.spread, c.layers, c.step, c.targetPlayer,
                                  r.damage, r.damageClass);
    }
    return;  // player shots have no follow-up emitter: they just end
  }

  const float half = static_cast<float>(r.head.spriteWidth / 2);
  const float scroll = game.CameraScrollX;
  if (r.head.x < scroll - half - 32 || r.head.x > scroll + 640 + half + 32 || r.head.y < -half ||
      r.head.y > half + 480) {
    r.head.state = kActorFree;
  }
}

}  // namespace

void SetShotChildSpec(ShotRecord& r, int32_t patternKind, int32_t count, float spread, float childSpeed,
                      float baseAngle, float childSpeedAccel, float childDriftAccelX, float childDriftAccelY,
                      float childAngleAccel, int32_t childLifetime, int32_t childTypeCode, float layers, float step) {
  ShotChildSpec& c = r.child;
  c.patternKind = patternKind;
  c.count = count;
  c.spread = spread;
  c.childSpeed = childSpeed;
  c.baseAngle = baseAngle;
  c.childSpeedAccel = childSpeedAccel;
  c.childDriftAccelX = childDriftAccelX;
  c.childDriftAccelY = childDriftAccelY;
  c.childAngleAccel = childAngleAccel;
  c.childLifetime = childLifetime;
  c.childTypeCode = childTypeCode;
  c.layers = layers;
  c.step = step;
}

void SetDefaultShotChildSpec(ShotRecord& r) {
  SetShotChildSpec(r, 0, 1, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1, 1, 1.0f, 1.0f);
}

ShotRecord& NextPlayerShot() { return RingRecord(pools.playerShots, pools.PlayerShotRing, kPlayerShotCount - 2); }

ShotRecord& NextEnemyBullet() {
  return RingRecord(pools.enemyBullets, pools.EnemyBulletRing, kEnemyBulletCount - 2);
}

void SpawnPlayerShot(float x, float y, float speed, float angle, float speedAccel, float driftAccelX,
                     float driftAccelY, float angleAccel, int32_t typeCode, int32_t damage, uint8_t damageClass,
                     int32_t lifetime) {
  FillShot(NextPlayerShot(), false, x, y, speed, angle, speedAccel, driftAccelX, driftAccelY, angleAccel, typeCode,
           damage, damageClass, lifetime);
  pools.PlayerShotRing = AdvanceRing(pools.PlayerShotRing, kPlayerShotCount - 2);
}

void SpawnEnemyBullet(float x, float y, float speed, float angle, float speedAccel, float driftAccelX,
                      float driftAccelY, float angleAccel, int32_t typeCode, int32_t damage, uint8_t damageClass,
                      int32_t lifetime) {
  const float scale = kBulletSpeedScale[game.DifficultyLevel < 4 ? game.DifficultyLevel : 3];
  FillShot(NextEnemyBullet(), true, x, y, speed * scale, angle, speedAccel, driftAccelX, driftAccelY, angleAccel,
           typeCode, damage, damageClass, lifetime);
  pools.EnemyBulletRing = AdvanceRing(pools.EnemyBulletRing, kEnemyBulletCount - 2);
}

void UpdatePlayerShot(ShotRecord& r) { UpdateShot(r, false); }
void UpdateEnemyBullet(ShotRecord& r) { UpdateShot(r, true); }

int32_t ShotDrawFrame(const ShotRecord& r, int32_t playFrame) {
  const ShotType* t = TypeOf(r.typeCode);
  if (t == nullptr || r.head.images == nullptr) return -1;
  const int32_t row = r.typeCode % 100;
  const int32_t period = r.head.framePeriod > 0 ? r.head.framePeriod : 1;
  switch (t->rule) {
    case FrameRule::First: return 0;
    case FrameRule::Row: return row < t->frames ? row : -1;
    case FrameRule::Animated: return Mod(playFrame / period, t->frames);
    case FrameRule::RowAnimated: return row < 4 ? 4 * row + Mod(playFrame / period, 4) : -1;
  }
  return -1;
}

ShotDrawPlan PlanShotDraw(const ShotRecord& r, bool enemyBullet) {
  const int32_t t = r.typeCode;
  const float a = r.speedAccel;
  const float turned = r.angle + 180;
  const int64_t left = static_cast<int64_t>(r.lifetime) - r.age;  // frames before the lifetime
  auto fade = [left](int64_t step) {
    const int64_t p = left * step - 1;
    return static_cast<int32_t>(p < INT32_MIN ? INT32_MIN : p > INT32_MAX ? INT32_MAX : p);
  };
  if (t >= 10100 && t <= 10199) return {2, 255, true, turned + r.head.x, 1.0f};
  if (t >= 10900 && t <= 10999) return {2, 255, true, turned, 0.6f};
  if (t == 11300) {
    const bool fading = left < 8 && (enemyBullet || a == -0.5f);
    return {2, fading ? fade(32) : 255, false, 0.0f, 1.0f};
  }
  if (t == 11100) {
    const bool fading = left < 32 && (enemyBullet || a == -0.4f);
    return {2, fading ? fade(8) : 255, true, turned, 1.0f};
  }
  if (left < 8 && ((t == 10300 && a == -0.7f) || (t >= 10400 && t <= 10499 && a == -0.11f))) {
    return {1, fade(32), true, turned, 1.0f};
  }
  if (enemyBullet && t >= 11600 && t <= 11699) return {0, 0, false, 0.0f, 1.0f};
  return {0, 0, true, turned, 1.0f};
}

}  // namespace orb
