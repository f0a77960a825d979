#include "game/actors/blocks.h"

#include <cmath>

#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/actors/wave_motion.h"

namespace orb {

namespace {

constexpr int kRowKeyTop = 20, kRowKeyBottom = -4;
constexpr int kDistanceKeys = 200;
constexpr int kKeyPairs = (kRowKeyTop - kRowKeyBottom + 1) * kDistanceKeys;

int32_t Mod(int64_t a, int32_t n) {
  const int64_t m = a % n;
  return static_cast<int32_t>(m < 0 ? m + n : m);
}

WaveMotion WaveOf(const BlockRecord& b) {
  return {b.accelX,    b.accelY,    b.maxSpeedX,  b.maxSpeedY,  b.velocityX,
          b.velocityY, b.amplitudeX, b.amplitudeY, b.phaseStep, b.phase};
}

void SetVelocity(BlockRecord& b, float vx, float vy) {
  b.head.vx = vx;
  b.head.vy = vy;
}

// Kinds 10 to 15: still or moving at their velocity until triggered, then
// the wave motion once the trigger counter has reached the delay. Kinds 13
// to 15 count only while they carry a player, so a kind-14 lift moves at its
// velocity only while someone rides it and halts when the rider leaves.
void TriggeredMotion(BlockRecord& b) {
  const bool carryOnly = b.motionKind >= 13;
  const int base = carryOnly ? b.motionKind - 3 : b.motionKind;
  const bool latched = b.steppedOn != 0;
  const bool counting = carryOnly ? b.carrying != 0 : latched;
  if (counting && b.triggerCounter < b.delay) ++b.triggerCounter;
  if (latched && b.triggerCounter >= b.delay) {
    StepBlockMotion(b);
  } else if (base == 12 || (base == 11 && latched && counting)) {
    SetVelocity(b, b.velocityX, b.velocityY);
  } else {
    SetVelocity(b, 0.0f, 0.0f);
  }
}

// Descends for frames 1..L of each cycle, rises at a quarter of the speed for
// 2L..6L-1, rests otherwise. A cycle below 1 never moves.
void PistonMotion(BlockRecord& b) {
  const int32_t cycle = TruncToInt(b.maxSpeedY);
  SetVelocity(b, 0.0f, 0.0f);
  if (cycle < 1) return;
  const int64_t c = Mod(b.frameCounter, cycle);
  const int64_t length = TruncToInt(b.phaseStep);
  if (c >= 1 && c <= length) {
    b.head.vy = b.velocityY;
  } else if (c >= 2 * length && c < 6 * length) {
    b.head.vy = -b.velocityY * 0.25f;
  }
}

void MotionByKind(BlockRecord& b) {
  const uint8_t k = b.motionKind;
  if (k == 1) {
    StepBlockMotion(b);
  } else if (k >= 10 && k <= 15) {
    TriggeredMotion(b);
  } else if (k == 20) {
    PistonMotion(b);
  } else if (k >= 50) {
    SetVelocity(b, 0.0f, 0.0f);
  }
}

// A generator's block: its own motion values, spawned at its top left.
void SpawnGenerated(const BlockRecord& g, float left, float top, float size, uint8_t pushWeight, uint8_t overlay) {
  const bool small = size == 32.0f;
  SpawnBlock(left, top, small ? 32.0f : 64.0f, 32.0f, small ? assets.blockBlock32 : assets.blockBlock64, 8,
             g.head.framePeriod, 1, g.delay, pushWeight, g.velocityX, g.velocityY, g.maxSpeedX, g.maxSpeedY,
             g.accelX, g.accelY, g.amplitudeX, g.amplitudeY, g.phaseStep, g.period, g.waveCode, g.roll, overlay);
}

void RunGenerator(const BlockRecord& g) {
  const uint8_t k = g.motionKind;
  if (k < 51 || k > 53) return;
  const int32_t period = TruncToInt(g.period);
  if (period < 1 || Mod(g.frameCounter, period) != 10) return;
  const float left = g.head.x - static_cast<float>(g.head.spriteWidth) / 2;
  const float top = g.head.y - static_cast<float>(g.head.spriteHeight) / 2;
  if (k == 51) {
    SpawnGenerated(g, left, top, 64.0f, g.pushWeight, g.overlay);
  } else if (g.overlay == 0) {
    SpawnGenerated(g, left, top, 32.0f, k == 52 ? 1 : g.pushWeight, 0);
  } else if (k == 52 && g.frameCounter < 860) {
    SpawnGenerated(g, left, top, 32.0f, g.pushWeight, g.overlay);
  } else if (k == 52 && g.frameCounter < 1000) {
    SpawnGenerated(g, left - 64.0f, top - 32.0f, 64.0f, g.pushWeight, g.overlay);
  }
}

bool OnField(int player) {
  return player == 0 ? game.OnFieldMode == 0 || game.OnFieldMode == 1
                     : game.OnFieldMode == 1 || game.OnFieldMode == 2;
}

// Players walking into the block's side push it (weights of 100 and more
// only for characters 4 and 9, and from any height).
void PushByPlayers(BlockRecord& b) {
  if (b.pushWeight < 2) return;
  const float bw = b.head.hitboxWidth / 2, bh = b.head.hitboxHeight / 2;
  const float bLeft = b.head.x - bw, bRight = b.head.x + bw, bTop = b.head.y - bh, bBottom = b.head.y + bh;
  const bool heavy = b.pushWeight >= 100;
  for (int i = 0; i < kPlayerCount; ++i) {
    if (!OnField(i)) continue;
    PlayerRecord& p = pools.players[i];
    const float cx = p.head.x + p.head.hitboxOffsetX, cy = p.head.y + p.head.hitboxOffsetY;
    const float pw = p.head.hitboxWidth / 2, ph = p.head.hitboxHeight / 2;
    const float pLeft = cx - pw, pRight = cx + pw, pTop = cy - ph, pBottom = cy + ph;
    const float overlap = std::fmin(pBottom, bBottom) - std::fmax(pTop, bTop);
    if (overlap <= 8.0f || !(pTop < bTop || heavy)) continue;
    float direction = 0.0f;
    if (std::fabs(pRight - bLeft) <= 2.0f && p.head.vx > 0.0f) direction = 1.0f;
    if (std::fabs(pLeft - bRight) <= 2.0f && p.head.vx < 0.0f) direction = -1.0f;
    if (direction == 0.0f) continue;
    const int32_t character = game.ActiveCharacter[i];
    const bool strong = character == 4 || character == 9;
    float gain;
    if (heavy) {
      if (!strong) continue;
      gain = static_cast<float>(b.pushWeight - 100) * 0.1f;
    } else {
      gain = static_cast<float>(b.pushWeight) * (strong ? 0.2f : 0.1f);
    }
    p.blockContact = 1;
    b.head.vx += direction * gain;
  }
}

void MoveBlock(BlockRecord& b) {
  if (b.pushWeight == 0) {
    b.head.x += b.head.vx;
    b.head.y += b.head.vy;
    return;
  }
  b.verticalSpeed = b.head.vy;
  uint8_t riding = 0;
  int32_t ridden = 0;
  MoveBoxOnMap(&b.head.x, &b.head.y, &b.verticalSpeed, b.head.vx, b.head.vy, b.head.hitboxWidth,
               b.head.hitboxHeight, &b.airborne, &riding, &ridden, SelfIndexOfBlock(b.slot));
  if (b.airborne == 0) b.verticalSpeed = b.head.vy = 0.0f;
}

bool OutsideStage(const BlockRecord& b) {
  const float w2 = 2.0f * static_cast<float>(b.head.spriteWidth);
  const float h2 = 2.0f * static_cast<float>(b.head.spriteHeight);
  return b.head.x < game.links.leftBound - w2 || b.head.x > game.links.rightBound + 640 + w2 ||
         b.head.y < -h2 || b.head.y > 480 + h2;
}

struct BlockPreset {
  float width, height;
  const int* images;
  const int* secondImages;  // belt kinds with a variant
  int32_t frames;
};

const BlockPreset kPresets[16] = {
    {32, 32, assets.blockBlock32, nullptr, 8},   {64, 32, assets.blockBlock64, nullptr, 8},
    {128, 32, assets.blockBlock128, nullptr, 8}, {0, 0, nullptr, nullptr, 0},
    {64, 32, assets.blockBelt64, assets.blockBelt64b, 8},
    {128, 32, assets.blockBelt128, assets.blockBelt128b, 8},
    {32, 32, assets.blockIwa3232, nullptr, 2},   {0, 0, nullptr, nullptr, 0},
    {0, 0, nullptr, nullptr, 0},                 {64, 64, assets.blockIwa6464, nullptr, 2},
    {64, 32, assets.blockMaruta, nullptr, 2},    {32, 33, assets.blockIwa3232, nullptr, 2},
    {64, 64, assets.blockKooria, nullptr, 2},    {64, 64, assets.blockFurikoa, nullptr, 1},
    {64, 32, assets.blockBlockh, nullptr, 8},    {128, 32, assets.blockBlockhl, nullptr, 8},
};

}  // namespace

// The frame count a block was given may be larger than its set.
int32_t SetPieceCount(const int* images) {
  const AssetEntry* table = AssetTable();
  for (int i = 0; i < AssetTableSize(); ++i) {
    if (table[i].handles == images) return table[i].pieces;
  }
  return 0;
}

void InitBlock(BlockRecord& b, const BlockSpawnValues& v, int32_t slot) {
  b.head.x = v.left + v.width / 2;
  b.head.y = v.top + v.height / 2;
  b.head.spriteWidth = TruncToInt(v.width);
  b.head.spriteHeight = TruncToInt(v.height);
  b.head.hitboxWidth = v.width - 2;
  b.head.hitboxHeight = v.height - 2;
  b.head.vx = v.velocityX;
  b.head.vy = v.velocityY;
  b.head.images = v.images;
  b.head.frameCount = v.frameCount;
  b.head.frame = b.head.framePeriod = v.firstFrame;
  b.slot = slot;
  b.motionKind = v.motionKind;
  b.delay = v.delay;
  b.pushWeight = v.pushWeight;
  b.velocityX = v.velocityX;
  b.velocityY = v.velocityY;
  b.maxSpeedX = v.maxSpeedX;
  b.maxSpeedY = v.maxSpeedY;
  b.accelX = v.accelX;
  b.accelY = v.accelY;
  b.amplitudeX = v.amplitudeX;
  b.amplitudeY = v.amplitudeY;
  b.phaseStep = v.phaseStep;
  b.phase = b.period = v.phase;
  b.waveCode = v.waveCode;
  b.roll = v.roll;
  b.overlay = v.overlay;
  b.triggerCounter = 0;
  b.steppedOn = b.carrying = b.airborne = 0;
  b.frameCounter = 0;
  b.head.state = kActorActive;
}

int32_t SpawnBlock(float left, float top, float width, float height, const int* images, int32_t frameCount,
                   int32_t firstFrame, uint8_t motionKind, int32_t delay, uint8_t pushWeight, float velocityX,
                   float velocityY, float maxSpeedX, float maxSpeedY, float accelX, float accelY, float amplitudeX,
                   float amplitudeY, float phaseStep, float phase, uint8_t waveCode, float roll, uint8_t overlay) {
  for (int32_t slot = 0; slot < kBlockCount; ++slot) {
    BlockRecord& b = pools.blocks[slot];
    if (b.head.state != kActorFree) continue;
    InitBlock(b,
              {left, top, width, height, images, frameCount, firstFrame, motionKind, delay, pushWeight, velocityX,
               velocityY, maxSpeedX, maxSpeedY, accelX, accelY, amplitudeX, amplitudeY, phaseStep, phase, waveCode,
               roll, overlay},
              slot);
    return slot;
  }
  return -1;
}

int32_t SpawnBlockOfKind(float left, float top, int32_t kind, uint8_t motionKind, int32_t delay,
                         uint8_t pushWeight, float velocityX, float velocityY, float maxSpeedX, float maxSpeedY,
                         float accelX, float accelY, float amplitudeX, float amplitudeY, float phaseStep,
                         float phase, uint8_t waveCode, float roll, uint8_t overlay, int32_t variant) {
  if (kind < 0 || kind > 15 || kPresets[kind].images == nullptr) return -1;
  const BlockPreset& p = kPresets[kind];
  const int* images = variant != 0 && p.secondImages != nullptr ? p.secondImages : p.images;
  return SpawnBlock(left, top, p.width, p.height, images, p.frames, variant, motionKind, delay, pushWeight,
                    velocityX, velocityY, maxSpeedX, maxSpeedY, accelX, accelY, amplitudeX, amplitudeY, phaseStep,
                    phase, waveCode, roll, overlay);
}

void StepBlockMotion(BlockRecord& b) {
  WaveMotion m = WaveOf(b);
  StepWaveMotion(m, b.waveCode, &b.head.vx, &b.head.vy);
  b.velocityX = m.velocityX;
  b.velocityY = m.velocityY;
  b.phase = m.phase;
}

void UpdateBlock(BlockRecord& b) {
  b.frameCounter = static_cast<int32_t>(static_cast<uint32_t>(b.frameCounter) + 1u);
  MotionByKind(b);
  RunGenerator(b);
  if (b.pushWeight != 0 && b.airborne == 0) b.verticalSpeed = b.head.vy = 0.0f;
  PushByPlayers(b);
  MoveBlock(b);
  if (OutsideStage(b)) b.head.state = kActorFree;
}

void ComputeBlockKeys() {
  const int reference = pools.players[1].blockContact == 1 ? 1 : 0;
  const float rx = pools.players[reference].head.x;
  for (BlockRecord& b : pools.blocks) {
    if (b.head.state == kActorFree) continue;
    b.tileDistance = static_cast<int8_t>(TruncToInt(std::fabs(b.head.x - rx)) / 32);
    b.tileRow = static_cast<int8_t>(TruncToInt(b.head.y) / 32);
  }
  pools.players[0].blockContact = pools.players[1].blockContact = 0;
}

// The keys only change in ComputeBlockKeys, so every slot's place in the walk
// is known before it starts; a slot is visited if it is live when its turn
// comes, which also covers blocks that generators spawn during the pass.
void UpdateBlocksNearFirst() {
  int start[kKeyPairs + 1] = {};
  int pairOf[kBlockCount];
  for (int slot = 0; slot < kBlockCount; ++slot) {
    const BlockRecord& b = pools.blocks[slot];
    const bool inRange = b.tileRow <= kRowKeyTop && b.tileRow >= kRowKeyBottom && b.tileDistance >= 0 &&
                         b.tileDistance < kDistanceKeys;
    pairOf[slot] = inRange ? (kRowKeyTop - b.tileRow) * kDistanceKeys + b.tileDistance : -1;
    if (inRange) ++start[pairOf[slot] + 1];
  }
  for (int k = 1; k <= kKeyPairs; ++k) start[k] += start[k - 1];
  int order[kBlockCount];
  const int total = start[kKeyPairs];
  for (int slot = 0; slot < kBlockCount; ++slot) {
    if (pairOf[slot] >= 0) order[start[pairOf[slot]]++] = slot;
  }
  for (int n = 0; n < total; ++n) {
    BlockRecord& b = pools.blocks[order[n]];
    if (b.head.state != kActorFree) UpdateBlock(b);
  }
}

int32_t BlockDrawFrame(const BlockRecord& b) {
  if (b.roll == 0.0f) return b.head.frame;
  const int32_t pieces = SetPieceCount(b.head.images);
  if (pieces < 1) return b.head.frame;
  const float turned = static_cast<float>(b.frameCounter) * std::fabs(b.roll) / 2;
  return Mod(TruncToInt(b.roll < 0.0f ? 1000000 - turned : turned), pieces < 8 ? pieces : 8);
}

BlockSign BlockOverlaySign(const BlockRecord& b, int32_t playFrame) {
  const int tens = b.overlay / 10, units = b.overlay % 10;
  if (tens == 3 || tens == 4) {
    const int64_t left = static_cast<int64_t>(b.delay) - b.triggerCounter + 19;
    return {tens == 3 ? assets.blockSuujired : assets.blockSuujiblue, Mod(left / 20, 10), left % 20 == 0};
  }
  if (b.overlay >= 30 || (units != 1 && units != 2)) return {nullptr, 0, false};
  const bool active = units == 1 ? b.steppedOn != 0 : b.carrying != 0;
  const int direction = b.head.vy < 0 ? 0 : b.head.vy > 0 ? 1 : b.head.vx > 0 ? 2 : 3;  // up, down, right, left
  const int32_t step = active ? Mod(playFrame / 4, 4) : 0;
  return {units == 1 ? assets.blockYajirusired : assets.blockYajirusiblue, direction * 4 + step, false};
}

}  // namespace orb
