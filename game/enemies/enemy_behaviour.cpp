// The enemy's frame: waking when it scrolls into view, holding while frozen,
// the behaviour (boss hook, kind group, generic modes, wave motion) and the
// move, then the hit test.
#include <cmath>

#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/actors/volley.h"
#include "game/actors/wave_motion.h"

namespace orb {

namespace {

// Kinds that keep acting while frozen.
bool ActsWhileFrozen(int32_t kind) {
  return kind == 15 || kind == 19 || kind == 26 || (kind >= 29 && kind <= 37) || kind == 45;
}

float TowardPlayer1(float magnitude, float self, float player) {
  const float m = std::fabs(magnitude);
  return player <= self ? -m : m;
}

void MoveOnMap(EnemyRecord& e, float vx, float vy) {
  MoveBoxOnMap(&e.head.x, &e.head.y, &e.fallSpeed, vx, vy, e.head.hitboxWidth, e.head.hitboxHeight, &e.airborne,
               &e.sideWall, &e.ridingBlock, SelfIndexOfEnemy(e.slot));
}

// Turns the homing heading toward the target by at most maxTurn degrees;
// the velocity keeps the length speed.
void StepHoming(EnemyRecord& e) {
  float* h = e.homingScratch;
  const double target = GetAngleToPlayer(e.head.x, e.head.y, e.targetPlayer);
  const double heading = std::atan2(static_cast<double>(h[1]), static_cast<double>(h[0]));
  const double turn = Radians(e.motion.velocityY);
  double diff = std::remainder(target - heading, 6.283185307179586);
  double next = target;
  if (std::fabs(diff) > std::fabs(turn)) next = heading + (diff > 0 ? std::fabs(turn) : -std::fabs(turn));
  const double speed = e.motion.velocityX;
  h[0] = static_cast<float>(std::cos(next) * speed);
  h[1] = static_cast<float>(std::sin(next) * speed);
  e.head.vx = h[0];
  e.head.vy = h[1];
  e.motion.velocityX += e.motion.accelX;
}

bool IsGenericMode(uint8_t mode) { return mode == 31 || mode == 32 || mode == 33 || mode == 34 || mode == 42; }

void RunGenericMode(EnemyRecord& e) {
  if (!IsGenericMode(e.mode)) return;
  // The generic modes fire and aim from the centre, whatever offset the
  // kind group gave the muzzle for its own volleys.
  e.muzzleX.value = e.head.x;
  e.muzzleY.value = e.head.y;
  const int32_t maxY = TruncToInt(e.motion.maxSpeedY);
  switch (e.mode) {
    case 31: RunEnemyAttack(e); break;
    case 32:
    case 42: {
      if (maxY < 1) break;  // no cycle to pause in
      const int64_t base = e.mode == 32 ? 17LL * e.slot + e.timer : e.timer + 17LL;
      const int64_t q = base % maxY;
      e.poseFlag = static_cast<float>(q) < e.motion.maxSpeedX ? e.pausePose : 0;
      RunEnemyAttackStaggered(e);
      break;
    }
    case 33:
      if (e.timer < 2) {
        const double a = GetAngleToPlayer(e.head.x, e.head.y, e.targetPlayer);
        e.motion.velocityY = static_cast<float>(std::sin(a) * e.motion.velocityX);
        e.motion.velocityX = static_cast<float>(std::cos(a) * e.motion.velocityX);
      }
      RunEnemyAttack(e);
      break;
    case 34:
      if (e.timer < 2) {
        const float a = GetAngleToPlayer(e.head.x, e.head.y, e.targetPlayer);
        e.motion.phase = a;
        e.homingScratch[0] = static_cast<float>(std::cos(static_cast<double>(a)) * e.motion.velocityX);
        e.homingScratch[1] = static_cast<float>(std::sin(static_cast<double>(a)) * e.motion.velocityX);
      }
      StepHoming(e);
      RunEnemyAttack(e);
      break;
    default: break;
  }
}

void Move(EnemyRecord& e) {
  const PlayerRecord& p1 = pools.players[0];
  float vx = e.head.vx, vy = e.head.vy;
  if (e.mapCollision == 0) {
    const uint8_t pose = e.poseFlag;
    if (pose >= 1 && pose <= 4) vx = vy = 0.0f;
    if (pose == 2 || pose == 4) e.motion.velocityX = TowardPlayer1(e.motion.velocityX, e.head.x, p1.head.x);
    if (pose == 3 || pose == 4) e.motion.velocityY = TowardPlayer1(e.motion.velocityY, e.head.y, p1.head.y);
    e.head.x += vx;
    e.head.y += vy;
    e.head.vx = vx;
    e.head.vy = vy;
    return;
  }
  e.fallSpeed = vy;
  if (e.airborne == 0 && e.poseFlag == 1) {
    vx = 0.0f;
    e.motion.velocityX = TowardPlayer1(e.motion.velocityX, e.head.x, p1.head.x);
    e.fallSpeed = vy = e.motion.velocityY = 0.0f;
  }
  MoveOnMap(e, vx, vy);
  if (e.airborne == 0) e.fallSpeed = vy = e.motion.velocityY = 0.0f;
  e.head.vx = vx;
  e.head.vy = vy;
}

}  // namespace

void HoldFrozenEnemy(EnemyRecord& e) {
  e.motion.velocityX = e.motion.velocityY = 0.0f;
  e.fallSpeed = 0.0f;
  MoveOnMap(e, 0.0f, 0.0f);
}

void RunEnemyAI(EnemyRecord& e) {
  e.timer += 1;
  if (e.attackPoseTimer > 0) e.attackPoseTimer -= 1;
  switch (game.OnFieldMode) {
    case 1: e.targetPlayer = e.slot % 2; break;
    case 2: e.targetPlayer = 1; break;
    default: e.targetPlayer = 0; break;
  }
  RunBossAI(e);
  // The muzzle is each firing step's own: a kind group places it, the
  // generic modes centre it, and a boss places it before it fires.
  RunEnemyGroup(e);
  RunGenericMode(e);

  const EnemyAttackSlot& s = e.slotA;
  if (e.bulletType != 0 && e.timer >= s.startFrame.value && e.timer < s.endFrame.value) {
    e.slotA.shotCounter.value += 1;
  }

  if (e.mode != 34) {
    WaveMotion m{e.motion.accelX,         e.motion.accelY,         e.motion.maxSpeedX, e.motion.maxSpeedY,
                 e.motion.velocityX,      e.motion.velocityY,      e.motion.waveAmplitudeX,
                 e.motion.waveAmplitudeY, e.motion.phaseStep,      e.motion.phase};
    StepWaveMotion(m, e.waveCode, &e.head.vx, &e.head.vy);
    e.motion.velocityX = m.velocityX;
    e.motion.velocityY = m.velocityY;
    e.motion.phase = m.phase;
  }
  Move(e);
}

void UpdateEnemy(EnemyRecord& e) {
  if (e.head.state == kEnemyWaiting) {
    const double h = e.head.spriteWidth / 2;
    const double cam = game.CameraScrollX;
    if (cam - h - 16.0 < e.head.x && e.head.x < cam + 640.0 + h + 16.0) e.head.state = kActorActive;
  }
  if (e.head.state == kEnemyLeaving && e.frozenTimer == 0) RunEnemyAI(e);
  if (e.head.state == kActorActive) {
    if (e.frozenTimer != 0 && !ActsWhileFrozen(e.kind)) {
      HoldFrozenEnemy(e);
    } else {
      RunEnemyAI(e);
    }
    HitEnemyByPlayerShots(e);
  }
}

}  // namespace orb
