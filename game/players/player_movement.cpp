// Player movement: walking with ice momentum, crouching, jumping with a
// variable height, dropping through one-way floors, gravity, stairs, deadly
// tiles and the stage's exits. The map's collision is the box mover's; this
// file decides what to ask of it.
#include <cmath>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/input.h"
#include "game/world/map_collision.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

struct Feet {
  float left, right, y;  // foot corners and feet y
};

Feet FeetOf(const PlayerRecord& p) {
  const ActorHead& h = p.head;
  const float cx = h.x + h.hitboxOffsetX;
  return {cx - h.hitboxWidth / 2, cx + h.hitboxWidth / 2, h.y + h.hitboxOffsetY + h.hitboxHeight / 2 + 1};
}

bool FootOn(const Feet& f, int code) { return GetTileAt(f.left, f.y) == code || GetTileAt(f.right, f.y) == code; }

float StairsStep(const PlayerRecord& p) { return static_cast<float>(p.params.walkSpeed / 1.4); }

void CancelAttack(PlayerRecord& p) { p.attackPhase = p.attackBuffered = p.comboCount = 0; }

void RegeneratePower(PlayerRecord& p, PartyMember* m) {
  if (!m) return;
  if (p.invulnerableTimer == 0) m->power += static_cast<float>(m->powerMax) * 0.003f;
  if (m->power > static_cast<float>(m->powerMax)) m->power = static_cast<float>(m->powerMax);
}

void WalkOffIce(PlayerRecord& p, uint32_t held, bool allowed, float speed, float* vx) {
  if (held & kPadLeft) {
    if (allowed) *vx = -speed;
    p.facing = 0;
  }
  if (held & kPadRight) {
    if (allowed) *vx += speed;
    p.facing = 1;
  }
}

void WalkOnIce(PlayerRecord& p, uint32_t held, bool allowed, float speed, float* vx) {
  float& m = p.iceMomentum;
  const bool left = (held & kPadLeft) != 0, right = !left && (held & kPadRight) != 0;
  if ((left || right) && allowed) {
    m += left ? -speed / 20 : speed / 20;
    if (m > speed) m = speed;
    if (m < -speed) m = -speed;
  } else if (std::fabs(m) >= speed / 40) {
    m -= m / 40;
  } else {
    m = 0.0f;
  }
  if (left) p.facing = 0;
  if (right) p.facing = 1;
  *vx = m;
}

// Up at a foot of stairs, or down at a top, near the centre of its column.
void TryEnterStairs(PlayerRecord& p, uint32_t held) {
  const ActorHead& h = p.head;
  const Feet f = FeetOf(p);
  const int t = GetTileAt(f.left, f.y - 2);
  const bool up = held & kPadUp, down = held & kPadDown, left = held & kPadLeft, right = held & kPadRight;
  uint8_t mode = 0;
  if ((t == kTileStairsFootRight && up && !down && !left) || (t == kTileStairsTopRight && down && !right && !up)) {
    mode = 2;
  } else if ((t == kTileStairsFootLeft && up && !down && !right) ||
             (t == kTileStairsTopLeft && down && !left && !up)) {
    mode = 1;
  }
  if (!mode) return;
  const float centre =
      static_cast<float>(TruncToInt((h.x + h.hitboxOffsetX - 0.2f * h.hitboxWidth) / 32) * 32 + 16);
  if (!(std::fabs(h.x - centre) < 7.0f)) return;
  p.stairsMode = mode;
  p.crouch = 0;
}

void Jump(PlayerRecord& p, uint32_t held) {
  const Feet f = FeetOf(p);
  const auto dropsAt = [&](float fx) {
    return GetTileAt(fx, f.y) == kTileOneWay && GetTileAt(fx, f.y - 2) != kTileOneWay;
  };
  if ((held & kPadDown) && (dropsAt(f.left) || dropsAt(f.right))) {
    p.verticalSpeed = 1.1f;
    p.head.y += 11;
    p.dropThrough = 1;
  } else {
    p.slowFloor = GetTileAt(p.head.x + p.head.hitboxOffsetX, f.y) == kTileSlow;
    p.verticalSpeed = p.slowFloor ? -p.jumpSpeed / 1.3f : -p.jumpSpeed;
    if (p.riding) {
      p.riding = 0;
      if (BlockRecord* b = BlockAt(p.riddenBlock)) {
        b->carrying = 0;
        p.verticalSpeed += b->head.vy / 2.1f;
      }
    }
    p.jumpHeld = 1;
  }
  CancelAttack(p);
  p.inAir = 1;
}

void KillOnDeadlyTile(PlayerRecord& p, float vx, float vy) {
  const ActorHead& h = p.head;
  const Feet f = FeetOf(p);
  const float headY = h.y + h.hitboxOffsetY - h.hitboxHeight / 2 + vy - 1;
  const bool deadly = FootOn(f, kTileDeadly) || GetTileAt(f.left + vx, headY) == kTileDeadly ||
                      GetTileAt(f.right + vx, headY) == kTileDeadly;
  if (!deadly) return;
  if (PartyMember* m = MemberOf(p)) {
    m->hitPoints = 0;
    m->power = 0.0f;
  }
  PlaySe(assets.seDead);
}

void MoveOffStairs(PlayerRecord& p, uint32_t held) {
  float vx = 0.0f, vy = 0.0f;
  const uint8_t mode = p.stairsMode;
  if (!p.inAir && !p.holdPose) {
    const float s = StairsStep(p);
    const bool up = held & kPadUp, down = held & kPadDown, left = held & kPadLeft, right = held & kPadRight;
    if (mode == 2) {
      if (left || (down && !right)) {
        vx = -s, vy = s, p.facing = 0;
      } else if (right || (up && !down)) {
        vx = s, vy = -s, p.facing = 1;
      }
    } else {
      if (right || (down && !left)) {
        vx = s, vy = s, p.facing = 1;
      } else if (left || (up && !down)) {
        vx = -s, vy = -s, p.facing = 0;
      }
    }
  }
  p.head.x += vx;
  p.head.y += vy;
  p.head.vx = vx;
  p.head.vy = vy;
  const Feet f = FeetOf(p);
  const float cx = p.head.x + p.head.hitboxOffsetX;
  const int t = GetTileAt(cx, f.y - 2);
  const bool leaveDown = vy > 0 && (t == kTileStairsFootRight || t == kTileStairsFootLeft) &&
                         GetTileAt(cx, f.y - 2 + vy) != t;
  const bool leaveUp = vy < 0 && (t == kTileStairsTopRight || t == kTileStairsTopLeft) &&
                       GetTileAt(cx, f.y - 2 + 2 * vy) != t;
  if (leaveDown || leaveUp) {
    p.stairsMode = 0;
    p.inAir = 0;
  }
}

void LeaveStage(PlayerRecord& p, int32_t stage, int32_t side) {
  game.CurrentStage = stage;
  game.EntrySide = side;
  game.EntryX = p.head.x;
  game.EntryY = p.head.y;
  game.EntryFacing = p.facing;
  game.EntryWalkIn = p.stairsMode;
  game.InGameState = 1;
  game.InGameStateTimer = 0;
  if (side == kEnteredRightEnd || side == kEnteredLeftEnd) {
    p.warpFade = 0;
    p.fadeCounter = 0;
  }
}

bool Entrable(int32_t stage) { return stage >= 1 && stage <= kLastStage; }

// An exit of 0 leads nowhere: the player stays, and on stairs it is walked
// back one step toward the screen, as while a partner is knocked out.
void TakeExits(PlayerRecord& p, uint32_t held) {
  const float x = p.head.x, y = p.head.y;
  const bool onStairs = p.stairsMode != 0;
  const bool offScreen = onStairs && (y > 480 || y < 0);
  if (IsAnyPlayerKnockedOut()) {
    if (offScreen) StepAlongStairs(p, y < 0);
    return;
  }
  const StageLinks& l = game.links;
  const bool carried = p.warpFade || p.onIce || p.riding;
  if (x < l.leftBound && (carried || (held & (kPadDown | kPadLeft | kPadUp)))) {
    if (Entrable(l.exitLeft)) return LeaveStage(p, l.exitLeft, kEnteredRightEnd);
  }
  if (x > l.rightBound + 640 && (carried || (held & (kPadDown | kPadRight | kPadUp)))) {
    if (Entrable(l.exitRight)) return LeaveStage(p, l.exitRight, kEnteredLeftEnd);
  }
  if (y < 0 && onStairs && (held & (kPadLeft | kPadRight | kPadUp))) {
    int32_t up = l.exitUp;
    if (game.CurrentStage == 25 && game.CameraScrollX < 1280) up = 26;
    if (Entrable(up)) return LeaveStage(p, up, kEnteredFromBelow);
    return StepAlongStairs(p, true);
  }
  if (y > 480 && onStairs && (held & (kPadDown | kPadLeft | kPadRight))) {
    if (Entrable(l.exitDown)) return LeaveStage(p, l.exitDown, kEnteredFromAbove);
    return StepAlongStairs(p, false);
  }
}

bool UnsafeAt(float x, float y) {
  const int t = GetTileAt(x, y);
  return t == kTileDeadly || t == kTileUnsafe;
}

void KeepRespawnPoint(PlayerRecord& p) {
  if ((p.stairsMode == 0 && p.inAir) || p.riding) return;
  const ActorHead& h = p.head;
  const Feet f = FeetOf(p);
  const float cx = h.x + h.hitboxOffsetX;
  const float wideY = h.y + h.hitboxOffsetY + 0.9f * h.hitboxHeight + 1;
  if (UnsafeAt(f.left, f.y) || UnsafeAt(f.right, f.y) || UnsafeAt(cx - 0.9f * h.hitboxWidth, wideY) ||
      UnsafeAt(cx + 0.9f * h.hitboxWidth, wideY)) {
    return;
  }
  p.respawnX = h.x;
  p.respawnY = h.y;
}

}  // namespace

void MovePlayerBox(PlayerRecord& p, float vx, float vy) {
  ActorHead& h = p.head;
  game.CurrentPlayerIndex = p.playerIndex;
  h.x += h.hitboxOffsetX;
  h.y += h.hitboxOffsetY;
  MoveBoxOnMap(&h.x, &h.y, &p.verticalSpeed, vx, vy, h.hitboxWidth, h.hitboxHeight, &p.inAir, &p.riding,
               &p.riddenBlock, kSelfPlayer);
  h.x -= h.hitboxOffsetX;
  h.y -= h.hitboxOffsetY;
}

void StepAlongStairs(PlayerRecord& p, bool down) {
  const float s = StairsStep(p);
  const bool risingRight = p.stairsMode == 2;
  p.head.x += (down == risingRight) ? -s : s;
  p.head.y += down ? s : -s;
}

void UpdatePlayerMovement(PlayerRecord& p) {
  PartyMember* member = MemberOf(p);
  RegeneratePower(p, member);
  p.holdPose = ActionHeld(p, kActionShoot) && p.attackPhase == 0 && p.attackBuffered == 0;
  UpdateMeleeBookkeeping(p);

  const uint32_t held = HeldBits(p), pressed = PressedBits(p);
  const float speed = p.params.walkSpeed;
  p.dropThrough = 0;
  if (p.stairsMode == 0) {
    float vx = 0.0f;
    if ((pressed & kPadDown) && !p.inAir && !p.holdPose) CancelAttack(p);
    if ((held & kPadDown) && !p.holdPose && !p.inAir) {
      p.crouch = 1;
      if (p.attackPhase != 1) p.attackPhase = 0;
    } else {
      p.crouch = 0;
    }
    const Feet f = FeetOf(p);
    p.onIce = FootOn(f, kTileIce) && game.ActiveCharacter[p.playerIndex == 1 ? 1 : 0] != 3;
    const bool allowed = !(!p.inAir && (p.crouch || p.holdPose));
    if (!p.onIce) {
      p.iceMomentum = (held & kPadLeft) ? -speed : (held & kPadRight) ? speed : 0.0f;
      WalkOffIce(p, held, allowed, speed, &vx);
    } else {
      WalkOnIce(p, held, allowed, speed, &vx);
    }
    if (!p.inAir && !p.warpFade && !p.holdPose) TryEnterStairs(p, held);
    if (ActionPressed(p, kActionCancel) && !p.inAir && p.stairsMode == 0) Jump(p, held);
    if (p.inAir && ActionReleased(p, kActionCancel) && p.verticalSpeed < 0 && p.jumpHeld) {
      p.verticalSpeed /= 3;
      p.jumpHeld = 0;
    }
    if (p.verticalSpeed > -0.3f) p.jumpHeld = 0;
    p.verticalSpeed += p.gravity;
    if (p.verticalSpeed > p.jumpSpeed) p.verticalSpeed = p.jumpSpeed;
    const float vy = p.verticalSpeed;
    KillOnDeadlyTile(p, vx, vy);
    p.head.vx = vx;
    p.head.vy = vy;
    MovePlayerBox(p, vx, vy);
  } else {
    MoveOffStairs(p, held);
  }
  TakeExits(p, held);
  KeepRespawnPoint(p);
}

}  // namespace orb
