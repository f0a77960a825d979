// Map collision shared by every actor that walks or falls, and the camera.
#pragma once

#include <cstdint>

namespace orb {

// Self indexes of the box mover's callers.
constexpr int32_t kSelfPlayer = 0;
constexpr int32_t kSelfItem = -1;
inline int32_t SelfIndexOfBlock(int slot) { return slot + 1; }
inline int32_t SelfIndexOfEnemy(int slot) { return slot - 1000; }

// Results of CollidePointWithMap.
enum PointHit { kHitNone = 0, kHitWallRight = 1, kHitWallLeft = 2, kHitFloor = 3, kHitCeiling = 4 };

// The float truncated toward zero, saturated to the int range (NaN gives 0).
int32_t TruncToInt(float v);

// The code at a world point; the row is clamped to 0..14, a column outside
// 0..319 reads 0.
int GetTileAt(float x, float y);

int CollidePointWithMap(float px, float py, uint8_t passOneWay, float* vx, float* vy);

// Moves a box (centre x, y; size w x h) by (vx, vy) against the tile map and
// then the gimmick blocks, keeping the caller's airborne, riding and ridden
// block fields.
void MoveBoxOnMap(float* x, float* y, float* fallSpeed, float vx, float vy, float w, float h, uint8_t* airborne,
                  uint8_t* riding, int32_t* riddenBlock, int32_t selfIndex);

// The block stage of MoveBoxOnMap, from the box's place before this frame's
// move with the motion the tiles allowed: the gimmick blocks adjust the
// motion (landing, riding, side and head hits), then a last pass against the
// tiles moves the box.
void CollideBoxWithBlocks(float* x, float* y, float* fallSpeed, float vx, float vy, float w, float h,
                          uint8_t* airborne, uint8_t* riding, int32_t* riddenBlock, int32_t selfIndex);

void UpdateCamera();
bool IsAnyPlayerKnockedOut();

}  // namespace orb
