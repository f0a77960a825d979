#include "game/world/map_collision.h"

#include <cmath>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

constexpr int32_t kFinalPass = 10000;
constexpr int32_t kFinalPassPushed = 10001;
constexpr int kBlockKeys = 200;

struct Mover {
  float* x;
  float* y;
  float* fallSpeed;
  float vx, vy, w, h;
  uint8_t* airborne;
  uint8_t* riding;
  int32_t* riddenBlock;
  int32_t self;
};

int32_t Row(float y) {
  const int32_t r = TruncToInt(y) / kTileSize;
  return r < 0 ? 0 : r > kTileRows - 1 ? kTileRows - 1 : r;
}
int32_t Column(float x) { return TruncToInt(x) / kTileSize; }

bool IsEnemy(int32_t self) { return self < kSelfItem; }
bool IsBlock(int32_t self) { return self > 0; }
EnemyRecord* MovingEnemy(int32_t self) { return IsEnemy(self) ? EnemyAt(self + 1000) : nullptr; }
bool TurnsAtWalls(const EnemyRecord* e) { return e && (e->pausePose == 1 || e->pausePose == 3); }
bool TurnsAtLedges(const EnemyRecord* e) { return e && (e->pausePose == 2 || e->pausePose == 3); }

// Steps 2 to 7 of the mover: floor, ceiling, vertical move, walls, enemy
// turning, horizontal move. Returns the snapped motion through m.
void MoveAgainstTiles(Mover& m, bool finalPass) {
  float& x = *m.x;
  float& y = *m.y;
  const float hw = m.w / 2, hh = m.h / 2;
  const float columnsX[5] = {x - hw, x - hw / 2, x, x + hw, x + hw / 2};
  for (float px : columnsX) {
    float noVx = 0.0f;
    if (CollidePointWithMap(px, y + hh, 0, &noVx, &m.vy) == kHitFloor) *m.fallSpeed = 0.0f;
  }
  for (float px : columnsX) {
    float noVx = 0.0f;
    if (CollidePointWithMap(px, y - hh, 1, &noVx, &m.vy) == kHitCeiling) *m.fallSpeed = *m.fallSpeed * -0.1f;
  }
  y += m.vy;
  if (finalPass && m.self == kSelfPlayer) y = std::trunc(y);

  const float wallX[6] = {x - hw, x + hw, x - hw, x + hw, x - hw, x + hw};
  const float wallY[6] = {y + hh, y + hh, y - hh, y - hh, y, y};
  bool wallAhead = false;
  for (int i = 0; i < 6; ++i) {
    float noVy = 0.0f;
    const int hit = CollidePointWithMap(wallX[i], wallY[i], 0, &m.vx, &noVy);
    if ((i % 2 == 0 && hit == kHitWallLeft) || (i % 2 == 1 && hit == kHitWallRight)) wallAhead = true;
  }
  // A turning walker keeps its place this frame. Its motion is dropped rather
  // than taken back from x: the first pass's undo takes vx back a second time,
  // and a walker flush against a wall (its snapped vx pointing away from it)
  // would start the final pass with an edge inside the wall, whose tiles its
  // floor and ceiling points then read as ground or roof, dropping it into the
  // floor or lifting it. A walker clear of the wall ends where it did before.
  EnemyRecord* enemy = MovingEnemy(m.self);
  if (TurnsAtWalls(enemy) && wallAhead) {
    enemy->motion.velocityX = -enemy->motion.velocityX;
    m.vx = 0.0f;
  }
  if (TurnsAtLedges(enemy) && GetTileAt(x + m.vx, y + hh + 16) == kTileOpen && *m.airborne == 0 &&
      *m.fallSpeed == 0.0f) {
    enemy->motion.velocityX = -enemy->motion.velocityX;
    m.vx = 0.0f;
  }
  x += m.vx;
}

void SetGroundState(Mover& m) {
  const float hw = m.w / 2, hh = m.h / 2;
  const float feetY = *m.y + hh + 1;
  const float feetX[2] = {*m.x - hw, *m.x + hw};
  const int left = GetTileAt(feetX[0], feetY), right = GetTileAt(feetX[1], feetY);
  if (IsSolidTile(left) || IsSolidTile(right)) {
    *m.airborne = 0;
  } else if (left != kTileOneWay && right != kTileOneWay) {
    *m.airborne = 1;
  }
  for (float fx : feetX) {
    if (GetTileAt(fx, feetY) != kTileOneWay) continue;
    if (GetTileAt(fx, feetY - 2) == kTileOneWay) {
      *m.airborne = 1;
    } else if (m.vy >= 0.0f) {
      *m.airborne = 0;
    }
  }
}

struct BlockBox {
  float left, top, right, bottom, vx, vy;
};

BlockBox NextBlockBox(const BlockRecord& b) {
  const float x = b.head.x + b.head.vx, y = b.head.y + b.head.vy;
  const float hw = b.head.hitboxWidth / 2, hh = b.head.hitboxHeight / 2;
  return {x - hw, y - hh, x + hw, y + hh, b.head.vx, b.head.vy};
}

bool BlockCornerInSolid(const BlockBox& bb) {
  return GetTileAt(bb.left, bb.top + 8) == kTileSolid || GetTileAt(bb.right, bb.top + 8) == kTileSolid ||
         GetTileAt(bb.left, bb.bottom - 8) == kTileSolid || GetTileAt(bb.right, bb.bottom - 8) == kTileSolid;
}

void CrushPlayerUnderBlock() {
  const int player = game.CurrentPlayerIndex == 1 ? 1 : 0;
  const int member = game.ActiveCharacter[player];
  if (member < 0 || member >= kMemberCount) return;
  game.party[member].hitPoints = 0;
  game.party[member].power = 0.0f;
  PlaySe(assets.seDead);
}

// Slots of the colliding blocks, by horizontal key and then slot.
int OrderedBlocks(int* order) {
  int counts[kBlockKeys + 1] = {};
  for (const BlockRecord& b : pools.blocks) {
    if (b.head.state != kActorFree && b.tileDistance >= 0) ++counts[b.tileDistance + 1];
  }
  for (int k = 1; k <= kBlockKeys; ++k) counts[k] += counts[k - 1];
  const int total = counts[kBlockKeys];
  for (int slot = 0; slot < kBlockCount; ++slot) {
    const BlockRecord& b = pools.blocks[slot];
    if (b.head.state != kActorFree && b.tileDistance >= 0) order[counts[b.tileDistance]++] = slot;
  }
  return total;
}

// Returns true when a block mover was pushed.
bool CollideWithBlocks(Mover& m) {
  float& x = *m.x;
  float& y = *m.y;
  const float hw = m.w / 2, hh = m.h / 2;
  BlockRecord* ridden = BlockAt(*m.riddenBlock);
  if (*m.riding && (!ridden || ridden->head.state == kActorFree)) *m.riding = 0;

  bool pushed = false;
  int order[kBlockCount];
  const int count = OrderedBlocks(order);
  for (int n = 0; n < count; ++n) {
    const int slot = order[n];
    BlockRecord& b = pools.blocks[slot];
    if (b.motionKind >= 50 || (IsBlock(m.self) && m.self - 1 == slot)) continue;
    const BlockBox bb = NextBlockBox(b);

    if (*m.riding && *m.riddenBlock == slot) {
      m.vy = bb.top - (y + hh) - 1;
      if (!BlockCornerInSolid(bb)) m.vx += bb.vx + b.roll;
      *m.fallSpeed = 0.0f;
      *m.airborne = 0;
      *m.riding = 1;
      if (m.self != kSelfItem) b.steppedOn = b.carrying = 1;
      const float nextLeft = x + m.vx - hw, nextRight = x + m.vx + hw;
      if (nextRight < bb.left || nextLeft > bb.right) {
        *m.airborne = 1;
        *m.riding = 0;
        b.carrying = 0;
        y += bb.vy + (bb.vy > 0 ? 4.0f : 0.0f);
        *m.fallSpeed = bb.vy * 0.5f;
      }
      if (bb.vy > 0 && y + hh < bb.top - 4 - 1.1f * bb.vy) {
        *m.riding = 0;
        b.carrying = 0;
      }
      if (*m.riding && !IsBlock(m.self)) continue;
    }

    const float left = x + m.vx - hw, right = x + m.vx + hw;
    const float top = y + m.vy - hh, bottom = y + m.vy + hh;
    if (!(left <= bb.right && bb.left < right && bb.top - 1 < bottom && top < bb.bottom)) continue;

    BlockRecord* other = *m.riding ? BlockAt(*m.riddenBlock) : nullptr;
    const float sinking = other && other != &b ? other->head.vy : *m.fallSpeed;
    if (bottom - sinking < bb.top + 8 - bb.vy) {
      if (bb.vy < m.vy) {
        m.vy = bb.top - (y + hh) - 1;
        *m.fallSpeed = 0.0f;
        *m.airborne = 0;
        if (other) other->carrying = 0;
        *m.riddenBlock = slot;
        *m.riding = 1;
        if (m.self != kSelfItem) b.steppedOn = b.carrying = 1;
      }
    } else if (top <= bb.bottom - 14 || (m.self == kSelfPlayer && top < bb.bottom - bb.vy)) {
      const float blockCentre = (bb.left + bb.right) / 2;
      m.vx = x > blockCentre ? bb.right - (x - hw) + 1 : bb.left - (x + hw) - 1;
      EnemyRecord* enemy = MovingEnemy(m.self);
      if (TurnsAtWalls(enemy)) enemy->motion.velocityX = -enemy->motion.velocityX;
      const float overlap = std::fmin(right, bb.right) - std::fmax(left, bb.left);
      if (IsBlock(m.self) && overlap > 1.0f) pushed = true;
    } else if (m.vy < bb.vy) {
      m.vy = bb.bottom - (y - hh) + 1;
      if (m.self == kSelfPlayer && b.motionKind == 20) CrushPlayerUnderBlock();
      *m.fallSpeed = *m.fallSpeed * -0.1f;
      m.vy += 8;
    }
  }
  return pushed;
}

}  // namespace

int32_t TruncToInt(float v) {
  if (!(v > -2147483648.0f)) return v < 0 ? INT32_MIN : 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  return static_cast<int32_t>(v);
}

int GetTileAt(float x, float y) {
  const int32_t column = Column(x);
  if (column < 0 || column >= kTileColumns) return kTileOpen;
  return tiles.TileMap[Row(y)][column];
}

int CollidePointWithMap(float px, float py, uint8_t passOneWay, float* vx, float* vy) {
  const float tx = px + *vx, ty = py + *vy;
  const int t = GetTileAt(tx, ty);
  if (IsSolidTile(t)) {
    if (*vy > 0) {
      *vy = static_cast<float>(kTileSize * Row(ty)) - py - 1;
      return kHitFloor;
    }
    if (*vy < 0) {
      *vy = static_cast<float>(kTileSize * (Row(ty) + 1)) - py + 1;
      return kHitCeiling;
    }
    if (*vx > 0) {
      *vx = static_cast<float>(kTileSize * Column(tx)) - px - 1;
      return kHitWallRight;
    }
    if (*vx < 0) {
      *vx = static_cast<float>(kTileSize * (Column(tx) + 1)) - px + 1;
      return kHitWallLeft;
    }
    return kHitCeiling;
  }
  if (t == kTileOneWay && !passOneWay && *vy > 0 && GetTileAt(tx, py) != kTileOneWay) {
    *vy = static_cast<float>(kTileSize * Row(ty)) - py - 1;
    return kHitFloor;
  }
  return kHitNone;
}

void MoveBoxOnMap(float* x, float* y, float* fallSpeed, float vx, float vy, float w, float h, uint8_t* airborne,
                  uint8_t* riding, int32_t* riddenBlock, int32_t selfIndex) {
  Mover m{x, y, fallSpeed, vx, vy, w, h, airborne, riding, riddenBlock, selfIndex};
  const float hw = w / 2, hh = h / 2;

  const bool slowLeft = GetTileAt(*x - hw, *y + hh + 1) == kTileSlow;
  const bool slowRight = GetTileAt(*x + hw, *y + hh + 1) == kTileSlow;
  if (slowLeft || slowRight) {
    m.vx *= 0.5f;
    *airborne = 0;
  }
  if (selfIndex == kSelfPlayer) pools.players[game.CurrentPlayerIndex == 1 ? 1 : 0].onSlowGround = slowLeft || slowRight;

  MoveAgainstTiles(m, false);
  SetGroundState(m);
  *x -= m.vx;
  *y -= m.vy;
  CollideBoxWithBlocks(x, y, fallSpeed, m.vx, m.vy, w, h, airborne, riding, riddenBlock, selfIndex);
}

void CollideBoxWithBlocks(float* x, float* y, float* fallSpeed, float vx, float vy, float w, float h,
                          uint8_t* airborne, uint8_t* riding, int32_t* riddenBlock, int32_t selfIndex) {
  Mover m{x, y, fallSpeed, vx, vy, w, h, airborne, riding, riddenBlock, selfIndex};
  const bool pushed = CollideWithBlocks(m);

  // The final pass runs on the block-adjusted motion; its ridden-block value
  // marks it (10000, or 10001 for a pushed block) and is never stored.
  int32_t finalMarker = pushed ? kFinalPassPushed : kFinalPass;
  Mover last{x, y, fallSpeed, m.vx, m.vy, w, h, airborne, riding, &finalMarker, selfIndex};
  MoveAgainstTiles(last, true);
  if (IsBlock(selfIndex)) {
    if (BlockRecord* b = BlockAt(selfIndex - 1)) b->head.vx = pushed ? 0.0f : last.vx;
  }
}

void UpdateCamera() {
  const PlayerRecord& p1 = pools.players[0];
  const PlayerRecord& p2 = pools.players[1];
  float followed;
  if (config.CameraFollowOne) {
    followed = game.OnFieldMode == 2 ? p2.head.x : p1.head.x;
  } else {
    followed = game.OnFieldMode == 2 ? p2.head.x : game.OnFieldMode == 1 ? (p1.head.x + p2.head.x) / 2 : p1.head.x;
  }
  float camera = followed - 320.0f;
  camera = std::fmax(camera, game.links.leftBound);
  camera = std::fmin(camera, game.links.rightBound);
  game.CameraScrollX = camera;
}

bool IsAnyPlayerKnockedOut() { return pools.players[0].knockedOut == 1 || pools.players[1].knockedOut == 1; }

}  // namespace orb
