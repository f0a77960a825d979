// Sprite draws shared by every actor kind: the frame's graph out of the
// actor's image array, placed on screen by the camera, and two debug
// routines that paint collision boxes.
#pragma once

#include <cstdint>

#include "game/actors/actors.h"

namespace orb {

// The graph of the actor's current frame, or -1 when it has no images or
// the frame lies outside 0 .. frameCount - 1.
int ActorFrameGraph(const ActorHead& head);

void DrawActorCentered(const ActorHead& head);
void DrawActorCenteredMirrored(const ActorHead& head);
void DrawActorCenteredOffset(const ActorHead& head, int32_t offsetX, int32_t offsetY);
void DrawActorCenteredOffsetMirrored(const ActorHead& head, int32_t offsetX, int32_t offsetY);
void DrawActorRotated(const ActorHead& head, float degrees, float scale);
void DrawActorRotatedOffset(const ActorHead& head, float degrees, float scale);

// Only in debug mode.
void DrawHitboxDebug(const ActorHead& head);
void DrawCollisionBoxesDebug(const ActorHead& head, bool crouching);

float CosFloat(float x);

}  // namespace orb
