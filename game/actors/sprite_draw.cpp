#include "game/actors/sprite_draw.h"

#include <cmath>

#include "framework/qorlib.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"

namespace orb {

namespace {

constexpr float kPi = 3.14159f;

// Screen position of the sprite's top-left corner (halves by integer
// division, then truncation).
void TopLeft(const ActorHead& h, int32_t dx, int32_t dy, int* x, int* y) {
  *x = ToInt(static_cast<double>(h.x - static_cast<float>(h.spriteWidth / 2) - game.CameraScrollX) + dx);
  *y = ToInt(static_cast<double>(h.y - static_cast<float>(h.spriteHeight / 2)) + dy);
}

void Centered(const ActorHead& h, int32_t dx, int32_t dy, bool mirrored) {
  const int graph = ActorFrameGraph(h);
  if (graph == -1) return;
  int x, y;
  TopLeft(h, dx, dy, &x, &y);
  if (mirrored) {
    BlitGraphMirrored(x, y, graph, 1);
  } else {
    BlitGraph(x, y, graph, 1);
  }
}

void Rotated(const ActorHead& h, float cx, float cy, float degrees, float scale) {
  const int graph = ActorFrameGraph(h);
  if (graph == -1) return;
  BlitGraphRotatedInt(ToInt(cx - game.CameraScrollX), ToInt(cy), scale, degrees * kPi / 180.0f,
                      graph, 1, 0);
}

void Box(float left, float top, float right, float bottom, int r, int g, int b) {
  const float cam = game.CameraScrollX;
  PaintBoxRGB(ToInt(left - cam), ToInt(top), ToInt(right - cam), ToInt(bottom), r, g, b);
}

}  // namespace

int ActorFrameGraph(const ActorHead& head) {
  if (!head.images || head.frame < 0 || head.frame >= head.frameCount) return -1;
  return head.images[head.frame];
}

void DrawActorCentered(const ActorHead& head) { Centered(head, 0, 0, false); }
void DrawActorCenteredMirrored(const ActorHead& head) { Centered(head, 0, 0, true); }
void DrawActorCenteredOffset(const ActorHead& head, int32_t dx, int32_t dy) { Centered(head, dx, dy, false); }
void DrawActorCenteredOffsetMirrored(const ActorHead& head, int32_t dx, int32_t dy) { Centered(head, dx, dy, true); }

void DrawActorRotated(const ActorHead& head, float degrees, float scale) {
  Rotated(head, head.x, head.y, degrees, scale);
}

void DrawActorRotatedOffset(const ActorHead& head, float degrees, float scale) {
  Rotated(head, head.x + 27 * scale, head.y - 232 * scale, degrees, scale);
}

void DrawHitboxDebug(const ActorHead& h) {
  if (!scenes.DebugMode) return;
  qor::SelectBlendPublic(1, 177);
  const float hw = h.hitboxWidth / 2, hh = h.hitboxHeight / 2;
  Box(h.x - hw, h.y - hh, h.x + hw, h.y + hh, 255, 255, 255);
  qor::SelectBlendPublic(0, 0);
}

void DrawCollisionBoxesDebug(const ActorHead& h, bool crouching) {
  if (!scenes.DebugMode) return;
  qor::SelectBlendPublic(1, 77);
  const float cx = h.x + h.hitboxOffsetX, cy = h.y + h.hitboxOffsetY;
  const float hw = h.hitboxWidth / 2, hh = h.hitboxHeight / 2;
  Box(cx - hw, cy - hh, cx + hw, cy + hh, 255, 0, 0);
  const BodyBox& b = h.body;
  const float top = crouching ? b.crouchTop : b.top, bottom = crouching ? b.crouchBottom : b.bottom;
  Box(h.x + b.left, h.y + top, h.x + b.right, h.y + bottom, 0, 0, 255);
  qor::SelectBlendPublic(0, 0);
}

float CosFloat(float x) { return std::cos(x); }

}  // namespace orb
