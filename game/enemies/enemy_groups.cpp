// The timed behaviour of the enemy kind groups: jumps, pauses, fades and
// volleys on frame cycles, each enemy of a wave 17 frames behind the slot
// before it.
#include "game/enemies/enemies.h"
#include "game/world/crt_rand.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"

namespace orb {

namespace {

enum Group { kNoGroup, kG1, kG2, kG3, kG4, kG5, kG6, kG7 };

Group GroupOf(int32_t kind) {
  switch (kind) {
    case 1: case 2: case 3: case 42: return kG1;
    case 4: case 5: case 6: case 7: return kG2;
    case 8: case 9: case 10: return kG3;
    case 26: return kG4;
    case 19: return kG5;
    case 11: case 12: case 13: case 14: case 16: case 17: case 44: return kG6;
    case 18: case 20: case 21: case 22: return kG7;
    default: return kNoGroup;
  }
}

// The frame cycles of a group. Every phase is -1 when its cycle is below 1,
// so nothing happens on it.
struct Clock {
  EnemyRecord& e;
  int32_t L, M;  // the maximum speeds read as a pause length and a cycle length
  int32_t Ph(int32_t n) const { return n >= 1 ? static_cast<int32_t>((17LL * e.slot + e.timer) % n) : -1; }
  int32_t T(int32_t n) const { return n >= 1 ? e.timer % n : -1; }
  bool HasCycle() const { return M >= 1; }
};

void Jump(EnemyRecord& e, float v) {
  if (e.airborne != 0) return;
  e.airborne = 1;
  e.motion.velocityY = -v;
  e.sideWall = 0;
}

enum VolleyRule { kAnywhere = 0, kInAir = 1, kAnyType = 2 };

void Volley(EnemyRecord& e, int rule = kAnywhere) {
  if (!(rule & kAnyType) && e.bulletType == 0) return;
  if ((rule & kInAir) && e.airborne == 0) return;
  FireSlotVolley(e);
}

void VolleyAp(EnemyRecord& e, int rule) {
  if (!(rule & kAnyType) && e.bulletType == 0) return;
  if ((rule & kInAir) && e.airborne == 0) return;
  FireSlotVolley(e);
  e.attackPoseTimer = 16;
}

void Fade(EnemyRecord& e, bool out) { e.head.state = out ? kEnemyLeaving : kActorActive; }

// The muzzle of a group, ahead of the centre along the facing; the jumpers
// of group 1 never fire from it and leave it where it was.
void PlaceMuzzle(EnemyRecord& e, Group g) {
  float dx, dy;
  if (g == kG1) return;
  if (g == kG2) {
    dx = 7.0f, dy = 3.0f;
  } else if (g == kG7) {
    dx = e.kind == 18 ? 28.0f : 7.0f, dy = 4.0f;
  } else {
    dx = e.airborne == 0 ? 20.0f : 7.0f, dy = 4.0f;
  }
  e.muzzleX.value = e.head.x + (e.facing == 1 ? dx : -dx);
  e.muzzleY.value = e.head.y + dy;
}

// The fixed five-bullet spray of the crow kinds, aimed, with its speed
// freed from the difficulty scale.
void FixedSpray(EnemyRecord& e) {
  const float speed = 5.0f * InverseBulletSpeedScale[game.DifficultyLevel & 3];
  FireEnemyBulletPattern(e, e.muzzleX.value, e.muzzleY.value, 14, 5, 15.0f, 1.0f, 0.0f, 0.0f, e.aimAngle.value,
                         e.speedStep.value, speed, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 10403, 30);
}

void G1(Clock& c) {
  EnemyRecord& e = c.e;
  switch (e.mode) {
    case 2: if (c.Ph(55) == 0) Jump(e, 5); break;
    case 3: if (c.Ph(77) == 0) Jump(e, 8); break;
    case 4: if (c.Ph(91) == 0) Jump(e, 11); break;
    case 5: {
      const int32_t q = c.Ph(113);
      if (q == 0 || q == 25) Jump(e, 5);
      if (q == 50) Jump(e, 9.8f);
      break;
    }
    case 6: if (c.Ph(51) == 0) Jump(e, static_cast<float>(11 - Rand() % 6)); break;
    case 7: e.poseFlag = e.airborne == 0; if (c.Ph(50) == 0) Jump(e, 8); break;
    case 8: e.poseFlag = e.airborne == 0; if (c.Ph(80) == 0) Jump(e, 11); break;
    default: break;
  }
}

void G2(Clock& c) {
  EnemyRecord& e = c.e;
  switch (e.mode) {
    case 1: RunEnemyAttack(e); break;
    case 2: case 3: {
      const int32_t q = c.Ph(e.mode == 2 ? 85 : 50);
      if (q == 0) Jump(e, e.mode == 2 ? 7 : 8);
      if (q == 20) Volley(e, kInAir);
      break;
    }
    case 4: {
      const int32_t q = c.Ph(120);
      e.poseFlag = q < 60;
      if (q == 10) VolleyAp(e, kAnywhere);
      break;
    }
    case 5: case 15: {
      const int32_t q = c.Ph(e.mode == 5 ? 150 : 100);
      if (q == 0) Jump(e, 8);
      e.poseFlag = q < (e.mode == 5 ? 80 : 50);
      if (q == 20) Volley(e, kInAir);
      break;
    }
    case 6: if (c.Ph(80) == 0) Jump(e, static_cast<float>(11 - Rand() % 6)); break;
    case 7: case 8: case 9: {
      e.poseFlag = e.mode == 9 ? 1 : e.airborne == 0;
      const int32_t q = c.Ph(e.mode == 7 ? 58 : 80);
      if (q == 0) Jump(e, e.mode == 8 ? 11 : 8);
      if (q == (e.mode == 8 ? 30 : 20)) Volley(e, kInAir);
      break;
    }
    case 18:
      e.poseFlag = 1;
      if (e.timer % 240 == 45) Jump(e, 10);
      RunEnemyAttack(e);
      break;
    default: break;
  }
}

// Modes 8 and 9 of groups G3, G6 and G7: stand, jump on the cycle, fire 20
// frames later.
void JumpThenVolley(Clock& c, bool anyType, bool staggered) {
  EnemyRecord& e = c.e;
  e.poseFlag = 1;
  if (!c.HasCycle()) return;
  const int32_t q = c.Ph(c.M);
  if (q == c.L) Jump(e, 7);
  if (q == c.L + 20) Volley(e, anyType ? kAnyType : kAnywhere);
  if (staggered) RunEnemyAttackStaggered(e);
}

void G3(Clock& c) {
  EnemyRecord& e = c.e;
  switch (e.mode) {
    case 1: RunEnemyAttack(e); break;
    case 2: {
      const int32_t q = c.T(170);
      e.poseFlag = q > 99;
      if (q == 50) Fade(e, true);
      if (q == 101) Fade(e, false);
      if (q == 140) Jump(e, 7);
      if (q == 160) Volley(e, kInAir);
      break;
    }
    case 3: {
      const int32_t q = c.T(270);
      e.poseFlag = q > 199;
      if (q == 30 || q == 240) Jump(e, 7);
      if (q == 40) Fade(e, true);
      if (q == 201) Fade(e, false);
      if (q == 260) Volley(e, kInAir);
      break;
    }
    case 4: {
      const int32_t q = c.T(370);
      e.poseFlag = (q >= 120 && q <= 165) || q >= 320;
      if (q == 20 || q == 150 || q == 260) Fade(e, true);
      if (q == 121 || q == 220 || q == 321) Fade(e, false);
      if (q == 340) Jump(e, 7);
      if (q == 360) Volley(e, kInAir);
      break;
    }
    case 5: case 7:
      if (!c.HasCycle()) break;
      e.poseFlag = c.Ph(c.M) < c.L;
      if (e.mode == 5) {
        RunEnemyAttackStaggered(e);
      } else {
        const int32_t t = e.targetPlayer == 1 ? 1 : 0;
        const bool holds = (input.HeldInput[t] & input.LiveButtonMasks[t * 5 + kActionCancel]) != 0;
        if (pools.players[t].inAir && holds) Jump(e, 10.7f);
      }
      break;
    case 6: {
      if (!c.HasCycle()) break;
      const int32_t q = c.Ph(c.M);
      e.poseFlag = q < c.L;
      if (q == c.L) Jump(e, 7);
      RunEnemyAttackStaggered(e);
      break;
    }
    case 8: JumpThenVolley(c, true, false); break;
    case 9: JumpThenVolley(c, true, true); break;
    default: break;
  }
}

// Groups G4 (kind 26) and G5 (kind 19): the swoop of mode 1, then the
// hover cycle of G4 and the timed leave of wave code 1.
void G4G5(Clock& c, Group g) {
  EnemyRecord& e = c.e;
  const int32_t t = e.timer;
  if (e.mode == 1) {
    e.poseFlag = t < 100;
    if (t == 60) {
      FixedSpray(e);
      if (g == kG5) e.attackPoseTimer = 16;
    }
    if (t == 100) Jump(e, 11);
    if (t == 130) {
      e.mode = 32;
      e.motion.velocityX = g == kG4 ? 5.8f : 5.0f;
      e.mapCollision = 0;
      e.pausePose = 4;
      e.motion.velocityY = 1.7f;
      e.motion.accelY = 0.0f;
    }
  }
  if (g == kG4) {
    if (t >= 180 && (t - 180) % 90 == 0) {
      Volley(e);
      if (e.mode == 42) FixedSpray(e);
    }
    if (t >= 160 && (t - 160) % 90 == 0) {
      Fade(e, false);
      e.poseFlag = 1;
      if (Rand() % 100 < 33) {
        e.motion.velocityY = 1.7f;
      } else {
        e.motion.velocityY = Rand() % 100 < 50 ? 0.0f : 3.1f;
      }
    }
    if (t >= 200 && (t - 200) % 90 == 0) Fade(e, true);
  }
  if (e.waveCode == 1) {
    if (t > 479) {
      e.head.state = kActorFree;
    } else if (t > 449) {
      Fade(e, true);
    }
  }
}

void G6(Clock& c) {
  EnemyRecord& e = c.e;
  switch (e.mode) {
    case 1: RunEnemyAttack(e); break;
    case 2: {
      const int32_t q = c.Ph(70);
      if (q == 0) Jump(e, 6);
      if (q == 10) Volley(e, kInAir);
      break;
    }
    case 3: {
      const int32_t q = c.Ph(170);
      if (q == 56 || q == 83) Jump(e, 5);
      if (q == 110) Jump(e, 8);
      e.poseFlag = q > 130;
      if (q == 130) Volley(e, kInAir);
      break;
    }
    case 4: case 24: case 23: {
      const int32_t q = c.Ph(110);
      if (q == 0) Jump(e, e.mode == 23 ? 8 : 10);
      e.poseFlag = e.mode == 23 ? 1 : q < 80;
      if (q == (e.mode == 23 ? 19 : 30)) {
        Volley(e, kInAir);
        if (e.mode != 4) Volley(e, kInAir);
      }
      break;
    }
    case 5: {
      const int32_t q = c.Ph(120);
      if (q == 50) Jump(e, 6);
      e.poseFlag = q < 10;
      if (q == 60) Volley(e, kInAir);
      break;
    }
    case 6: {
      if (!c.HasCycle()) break;
      const int32_t q = c.Ph(c.M);
      e.poseFlag = q < c.L;
      if (q == c.L) Jump(e, 6);
      RunEnemyAttackStaggered(e);
      break;
    }
    case 10: {
      if (!c.HasCycle()) break;
      const int32_t q = c.Ph(c.M);
      if (q == c.L) Jump(e, 6);
      RunEnemyAttack(e);
      if (q == c.L + 20) {
        e.poseFlag = 0;
        Volley(e, kAnyType);
      }
      break;
    }
    case 13: case 14:
      if (!c.HasCycle()) break;
      e.poseFlag = c.T(c.M) < c.L;
      if (e.mode == 13 && c.Ph(c.M) == c.L) Jump(e, 9);
      RunEnemyAttack(e);
      break;
    case 7: case 11: {
      const int32_t q = c.Ph(e.mode == 7 ? 120 : 90);
      if (q == 50) Jump(e, e.mode == 7 ? 11 : 17);
      e.poseFlag = q < 30;
      RunEnemyAttack(e);
      break;
    }
    case 18:
      e.poseFlag = 0;
      if (c.HasCycle() && c.T(c.M) == c.L) Jump(e, 9);
      break;
    case 8: JumpThenVolley(c, false, false); break;
    case 9: JumpThenVolley(c, true, true); break;
    default: break;
  }
}

void G7(Clock& c) {
  EnemyRecord& e = c.e;
  switch (e.mode) {
    case 1: RunEnemyAttack(e); break;
    case 2: {
      const int32_t q = c.Ph(80);
      if (q == 0) Jump(e, 8);
      if (q == 20) VolleyAp(e, kInAir);
      break;
    }
    case 3: {
      const int32_t q = c.Ph(190);
      e.poseFlag = q > 170;
      if (q == 60 || q == 100 || q == 140) Jump(e, 7);
      if (q == 80 || q == 120 || q == 160) VolleyAp(e, kInAir);
      break;
    }
    case 10:
      e.poseFlag = 1;
      if (!c.HasCycle()) break;
      if (c.Ph(c.M) == c.L) Jump(e, 7);
      RunEnemyAttackStaggered(e);
      break;
    case 8: JumpThenVolley(c, true, false); break;
    case 9: JumpThenVolley(c, true, true); break;
    default: break;
  }
}

}  // namespace

void RunEnemyGroup(EnemyRecord& e) {
  const Group g = GroupOf(e.kind);
  if (g == kNoGroup) return;
  PlaceMuzzle(e, g);
  Clock c{e, TruncToInt(e.motion.maxSpeedX), TruncToInt(e.motion.maxSpeedY)};
  switch (g) {
    case kG1: G1(c); break;
    case kG2: G2(c); break;
    case kG3: G3(c); break;
    case kG4: case kG5: G4G5(c, g); break;
    case kG6: G6(c); break;
    case kG7: G7(c); break;
    default: break;
  }
}

}  // namespace orb
