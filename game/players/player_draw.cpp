// The player's draw: edge signs (and the drain of a player left off screen
// in a two-player game), the pose of the character's sheet, the blink of
// invulnerability, and the fade out and in of the warp move.
#include <initializer_list>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/actors/sprite_draw.h"

namespace orb {

namespace {

int32_t CharacterOf(const PlayerRecord& p) { return game.ActiveCharacter[p.playerIndex == 1 ? 1 : 0]; }

void EdgeSign(const PlayerRecord& p, int arrowFrame, int arrowX, int labelX, int b) {
  const int y = ToInt(p.head.y - 16);
  BlitGraph(arrowX, y, assets.effectPlayer12[arrowFrame + b], 1);
  BlitGraph(labelX, y, assets.effectPlayer12[(p.playerIndex == 1 ? 1 : 0) + 2 * b], 1);
  if (game.PlayFrameCount % 2 != 0 || game.OnFieldMode != 1) return;
  PartyMember* m = MemberOf(p);
  if (!m) return;
  m->hitPoints -= 1;
  m->power -= 2.0f;
  if (m->hitPoints < 1) {
    m->hitPoints = 0;
    PlaySe(assets.seDead);
  }
}

void DrawPose(PlayerRecord& p, const PlayerPose& pose) {
  p.head.frame = pose.frame;
  if (pose.mirrored) {
    DrawActorCenteredOffsetMirrored(p.head, pose.offsetX, 0);
  } else {
    DrawActorCenteredOffset(p.head, pose.offsetX, 0);
  }
}

int32_t WalkFrame(int32_t period) {
  const int32_t c = (game.PlayFrameCount / (period > 0 ? period : 1)) % 18;
  return c <= 4 ? 2 : c <= 8 ? 3 : c <= 13 ? 4 : 1;
}

// The warp move: held in place, fading out, invisible, fading in.
void DrawWarpFade(PlayerRecord& p) {
  p.head.vx = p.head.vy = 0.0f;
  p.verticalSpeed = 0.0f;
  MovePlayerBox(p, 0.0f, 0.0f);
  const int32_t c = p.fadeCounter;
  const int32_t out = 255 - 16 * c, in = 16 * (c - 24);
  const bool mirrored = p.facing == 0;
  PlayerPose pose = ChoosePlayerPose(p);
  if (CharacterOf(p) == 6) pose = {13, mirrored, 0};
  for (const int32_t alpha : {out, in}) {
    if (alpha <= 0) continue;
    qor::SelectBlendPublic(1, ClampBlend(alpha));
    DrawPose(p, pose);
    qor::SelectBlendPublic(0, 0);
  }
  if (in > 240) {
    p.fadeCounter = 0;
    p.iceMomentum = 0.0f;
    p.warpFade = 0;
  }
  if (out <= 0 && in <= 0) {
    for (int i = 0; i < 4; ++i) {
      p.verticalSpeed = 0.0f;
      p.inAir = 0;
      MovePlayerBox(p, 0.0f, 0.0f);
    }
  }
}

}  // namespace

PlayerPose ChoosePlayerPose(const PlayerRecord& p) {
  const int32_t character = CharacterOf(p);
  const bool mirrored = p.facing == 0;
  const int32_t toward = mirrored ? -40 : 40;
  const uint8_t phase = p.attackPhase;
  const int32_t timer = p.attackTimer;
  const bool lateStrike = timer >= p.params.meleeTiming[2] - 7;
  const auto facing = [&](int32_t frame) { return PlayerPose{frame, mirrored, 0}; };
  if (p.inAir) {
    if (p.holdPose) return facing(10);
    if (character == 2) {
      if (phase != 0 && lateStrike) return {6, mirrored, toward};
      return facing(phase != 0 ? 9 : 8);
    }
    return facing(phase == 1 ? 9 : 8);
  }
  if (p.crouch) return facing(phase == 1 ? 12 : 11);
  if (p.holdPose) return facing(7);
  if (phase == 2 || phase == 3) {
    if (character == 2) return lateStrike ? PlayerPose{6, mirrored, toward} : facing(9);
    if (character == 8) return facing(timer < 3 ? 5 : timer <= 5 ? 6 : 14);
    return facing(6);
  }
  if (phase == 1) return facing(5);
  const uint32_t held = HeldBits(p);
  const bool onStairs = p.stairsMode != 0;
  if ((held & kPadLeft) && (held & kPadRight)) return facing(0);
  if ((held & kPadLeft) || (onStairs && p.head.vx < 0)) return {WalkFrame(p.head.framePeriod), true, 0};
  if ((held & kPadRight) || (onStairs && p.head.vx > 0)) return {WalkFrame(p.head.framePeriod), false, 0};
  return facing(0);
}

void DrawPlayerSprite(PlayerRecord& p) { DrawPose(p, ChoosePlayerPose(p)); }

void DrawPlayer(PlayerRecord& p) {
  const int b = (game.PlayFrameCount / 4) % 2;
  const float half = p.head.hitboxWidth / 2;
  if (p.head.x < game.CameraScrollX - half) EdgeSign(p, 4, -4, 28, b);
  if (p.head.x > game.CameraScrollX + 640 + half) EdgeSign(p, 6, 580, 604, b);
  if (p.warpFade) {
    DrawWarpFade(p);
    return;
  }
  DrawPlayerSprite(p);
  int32_t& t = p.invulnerableTimer;
  if (t <= 0) return;
  const int32_t pulse = t % 16 < 8 ? t % 16 : 16 - t % 8;
  qor::SetTintRGBPublic(0, 255, 255);
  qor::SelectBlendPublic(3, ClampBlend(static_cast<int64_t>(static_cast<float>(t) * 0.03125f * 16.0f *
                                                            static_cast<float>(pulse))));
  DrawPlayerSprite(p);
  qor::SelectBlendPublic(0, 0);
  qor::SetTintRGBPublic(255, 255, 255);
  --t;
}

void DrawPlayerHitboxesDebug(const PlayerRecord& p) {
  if (!scenes.DebugMode) return;
  DrawCollisionBoxesDebug(p.head, p.crouch != 0);
  if (p.attackPhase == 0) return;
  const WorldBox box = PlayerMeleeBox(p, p.attackPhase != 1, p.facing != 0);
  qor::SelectBlendPublic(1, 77);
  const float cam = game.CameraScrollX;
  PaintBoxRGB(ToInt(box.left - cam), ToInt(box.top), ToInt(box.right - cam), ToInt(box.bottom), 255, 255, 0);
  qor::SelectBlendPublic(0, 0);
}

}  // namespace orb
