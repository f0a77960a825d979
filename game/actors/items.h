// Pickup items and burst effects: two small first-free pools.
#pragma once

#include <cstdint>

#include "game/actors/actors.h"

namespace orb {

// Fills the first free item slot; returns it, or -1 when all 64 are in use
// or the kind lies outside 0..9 (nothing is spawned).
int32_t SpawnItem(float x, float y, int32_t kind, float fallSpeed);
void InitItem(ItemRecord& r, int32_t slot, int32_t kind, float x, float y, float fallSpeed);

// The item's motion of the play loop: gravity up to 10, sliding only while
// airborne, then the box mover.
void MoveItem(ItemRecord& r);

// The frame an item shows at this play frame.
int32_t ItemDrawFrame(const ItemRecord& r, int32_t playFrame);

// Fills the first free effect slot; -1 when all 64 are in use.
int32_t SpawnBurstEffect(float x, float y, float angle, float scale);

// The counting half of an effect's frame: counter + 1 and the frame and
// blend parameter to draw with; the effect ends (state 0) once the counter
// reaches 31, after that last frame is drawn.
struct EffectFrame {
  int32_t frame;
  int32_t blendParameter;
};
EffectFrame StepEffect(EffectRecord& r);

// The item centred at its frame.
void DrawItem(ItemRecord& r);

// One frame of an effect: count, then the rotated frame at its fade.
void UpdateDrawEffect(EffectRecord& r);

// A burst at the actor's position (random angle 0..359, scale 0.8), then the
// actor is freed.
void RemoveObjectWithBurst(ActorHead& actor);

}  // namespace orb
