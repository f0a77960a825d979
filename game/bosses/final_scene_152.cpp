// Stage 152: the three actors float on the ending clock, which the kind-47
// actor steps once a frame; kind 37 fires six fans, and at 2220 all three
// and the hidden players regroup for the staff roll.
#include "game/bosses/fight_steps.h"
#include "game/bosses/final_scenes.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/actors/sprite_draw.h"

namespace orb {

namespace {

float T(int32_t t) { return static_cast<float>(t); }

// The floating y speed: a ramp from 860 to 1109, then a steady swing until
// the regrouping.
float Floating(int32_t t, float wave, float amplitude) {
  const float c = CosFloat(wave);
  if (t >= 860 && t <= 1109) return c * T(t - 860) / 320.0f;
  return c * amplitude;
}

bool FloatingTime(int32_t t) { return t >= 860 && t <= 2219; }

void PlaceAndStop(EnemyRecord& e, float x, float y) {
  e.head.x = x;
  e.head.y = y;
  e.motion.velocityX = 0.0f;
  e.motion.velocityY = 0.0f;
}

void Flutter(EnemyRecord& e) { e.animationId = e.timer % 4 <= 1 ? 13 : 14; }

void Kind47(EnemyRecord& e) {
  const int32_t t = ++game.EndingTimer;
  Flutter(e);
  if (t == 200) e.motion.velocityY = -0.07f;
  if (t >= 600 && t <= 639) e.motion.velocityX = T(600 - t) * 0.02f;
  if (t == 640) e.motion.velocityX = -0.8f;
  if (t == 800) e.motion.velocityX = 0.3f;
  if (t == 1000) e.motion.velocityX = 0.0f;
  if (FloatingTime(t)) e.motion.velocityY = Floating(t, T(t - 500) / 10.0f, 1.4f);
  if (t == 1500) {
    e.motion.velocityX = -0.15f;
    e.motion.velocityY = 0.07f;
  }
  if (t == 2220) {
    PlaceAndStop(e, 1056.0f, 153.6f);
    pools.players[0].head.x = 736.0f;
    pools.players[1].head.x = 736.0f;
  }
  if (t == 8500) e.animationId = 0;
}

void Kind46(EnemyRecord& e) {
  const int32_t t = game.EndingTimer;
  Flutter(e);
  if (t == 600) e.motion.velocityY = 0.1f;
  if (t >= 600 && t <= 634) e.motion.velocityX = T(600 - t) * 0.02f;
  if (t == 635) e.motion.velocityX = -0.7f;
  if (t == 800) {
    e.motion.velocityX = 0.3f;
    e.motion.velocityY = 0.0f;
  }
  if (t == 1000) e.motion.velocityX = 0.0f;
  if (FloatingTime(t)) e.motion.velocityY = Floating(t, T(t - 200) / 12.0f, 1.2f);
  if (t == 1500) {
    e.motion.velocityX = -0.21f;
    e.motion.velocityY = -0.14f;
  }
  if (t == 2220) PlaceAndStop(e, 1120.0f, 217.6f);
  if (t == 8500) e.animationId = 0;
}

// Fans toward the right from where the actor floated last frame.
void Fan(EnemyRecord& e, int32_t count) {
  FireEnemyBulletPattern(e, e.muzzleX.value, e.muzzleY.value, 1, count, 150.0f, 0.0f, 0.0f, 0.0f, e.aimAngle.value,
                         e.speedStep.value, FixedSpeed(7.0f), 0.0f, 0.0f, e.slotA.driftAccelX.value,
                         e.slotA.driftAccelY.value, 0.0f, 0, 11002, 30);
}

void Kind37(EnemyRecord& e) {
  const int32_t t = game.EndingTimer;
  e.animationId = 8;
  if (t == 750) e.motion.velocityX = 1.7f;
  if (t >= 840 && t <= 856) e.motion.velocityX = T(857 - t) * 0.1f;
  if (t == 857) e.motion.velocityX = 0.0f;
  if (FloatingTime(t)) e.motion.velocityY = Floating(t, T(t) / 11.0f, 1.3f);
  switch (t) {
    case 1150:
    case 1250:
    case 1350: Fan(e, 5); break;
    case 1200:
    case 1300:
    case 1380: Fan(e, 4); break;
    default: break;
  }
  if (t == 2220) PlaceAndStop(e, 736.0f, 185.6f);
  if (t == 8500) e.animationId = 0;
  // No kind group or generic mode places this actor's muzzle: it keeps the
  // point it stands on before this frame's move, for the next fan.
  e.muzzleX.value = e.head.x;
  e.muzzleY.value = e.head.y;
}

}  // namespace

void RunStage152Actor(EnemyRecord& e) {
  switch (e.kind) {
    case 37: Kind37(e); break;
    case 46: Kind46(e); break;
    case 47: Kind47(e); break;
    default: break;
  }
}

}  // namespace orb
