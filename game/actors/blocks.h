// Gimmick blocks: floating, triggered and piston platforms, pushable crates
// and generators, their spawners, the per-frame update and the block pass of
// the play loop (keys, then updates near the reference player first).
#pragma once

#include <cstdint>

#include "game/actors/actors.h"

namespace orb {

// The values a block is spawned with, as SpawnBlock takes them.
struct BlockSpawnValues {
  float left, top, width, height;
  const int* images;
  int32_t frameCount, firstFrame;
  uint8_t motionKind;
  int32_t delay;
  uint8_t pushWeight;
  float velocityX, velocityY, maxSpeedX, maxSpeedY, accelX, accelY;
  float amplitudeX, amplitudeY, phaseStep, phase;
  uint8_t waveCode;
  float roll;
  uint8_t overlay;
};

// Fills a block record from its spawn values: the centre from the top-left
// corner, a hitbox 2 px smaller than the size, the phase also as the
// generator period, the counters and flags cleared, state 1.
void InitBlock(BlockRecord& b, const BlockSpawnValues& v, int32_t slot);

// Fills the first free block slot through InitBlock; returns the slot, or -1 when all 256 are
// in use (nothing is spawned).
int32_t SpawnBlock(float left, float top, float width, float height, const int* images, int32_t frameCount,
                   int32_t firstFrame, uint8_t motionKind, int32_t delay, uint8_t pushWeight, float velocityX,
                   float velocityY, float maxSpeedX, float maxSpeedY, float accelX, float accelY, float amplitudeX,
                   float amplitudeY, float phaseStep, float phase, uint8_t waveCode, float roll, uint8_t overlay);

// A block of a preset kind (size, picture set and frame count from the kind);
// the variant picks the second belt set of kinds 4 and 5 and is the first
// frame. Kinds 3, 7, 8, negative and above 15 spawn nothing (-1).
int32_t SpawnBlockOfKind(float left, float top, int32_t kind, uint8_t motionKind, int32_t delay,
                         uint8_t pushWeight, float velocityX, float velocityY, float maxSpeedX, float maxSpeedY,
                         float accelX, float accelY, float amplitudeX, float amplitudeY, float phaseStep,
                         float phase, uint8_t waveCode, float roll, uint8_t overlay, int32_t variant);

// The wave motion on the block's own fields.
void StepBlockMotion(BlockRecord& b);

// One frame of a block: motion by kind, generators, falling, pushing, the
// move and the removal outside the stage.
void UpdateBlock(BlockRecord& b);

// World-pass steps: the keys of every live block from the reference player
// (then both block-contact flags cleared), and the updates in key order,
// row 20 down to -4, distance 0 up to 199, slots upward.
void ComputeBlockKeys();
void UpdateBlocksNearFirst();

// The frame a block shows now: its rolled frame (within the pieces its set
// really has) or its own frame.
int32_t BlockDrawFrame(const BlockRecord& b);

// The sign drawn over a block: a countdown digit or a direction arrow.
struct BlockSign {
  const int* images;  // nullptr: no sign
  int32_t frame;
  bool countSound;    // the countdown ticks this frame
};
BlockSign BlockOverlaySign(const BlockRecord& b, int32_t playFrame);

// A piston's rod, then the block centred (a frame its set does not hold
// draws nothing), then its sign.
void DrawBlock(BlockRecord& b);
void DrawBlockOverlay(const BlockRecord& b);

// How many pieces the loaded set really holds (0 for an unknown set).
int32_t SetPieceCount(const int* images);

}  // namespace orb
