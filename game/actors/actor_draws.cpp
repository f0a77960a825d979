// The draws of blocks, items, effects, shots and bullets: the frame and
// blend each record's rules choose, through the shared sprite routines.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/actors/blocks.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/actors/items.h"
#include "game/world/map_collision.h"
#include "game/scenes/scenes.h"
#include "game/actors/shots.h"
#include "game/actors/sprite_draw.h"

namespace orb {

namespace {

void DrawShot(ShotRecord& r, bool enemyBullet) {
  if (r.head.state != kActorActive) return;
  r.head.frame = ShotDrawFrame(r, game.PlayFrameCount);
  if (r.head.frame >= 0) {
    const ShotDrawPlan plan = PlanShotDraw(r, enemyBullet);
    if (plan.blendMode != 0) qor::SelectBlendPublic(plan.blendMode, ClampBlend(plan.blendParameter));
    if (plan.rotated) {
      DrawActorRotated(r.head, plan.angle, plan.scale);
    } else {
      DrawActorCentered(r.head);
    }
    if (plan.blendMode != 0) qor::SelectBlendPublic(0, 0);
  }
  DrawHitboxDebug(r.head);
}

// A sign centred on the block.
void DrawSign(const BlockRecord& b, int graph, int width, int height) {
  const int x = TruncToInt(b.head.x - static_cast<float>(width / 2) - game.CameraScrollX);
  const int y = TruncToInt(b.head.y - static_cast<float>(height / 2));
  BlitGraph(x, y, graph, 1);
}

}  // namespace

void DrawPlayerShot(ShotRecord& r) { DrawShot(r, false); }
void DrawEnemyBullet(ShotRecord& r) { DrawShot(r, true); }

void DrawBlock(BlockRecord& b) {
  b.head.frame = BlockDrawFrame(b);
  if (b.motionKind == 20) {
    BlitGraph(TruncToInt(b.head.x) - TruncToInt(game.CameraScrollX) - 8, TruncToInt(b.head.y) - 496,
              assets.blockBlockhk[0], 1);
  }
  if (b.head.frame < SetPieceCount(b.head.images)) DrawActorCentered(b.head);
  DrawBlockOverlay(b);
}

void DrawBlockOverlay(const BlockRecord& b) {
  const BlockSign sign = BlockOverlaySign(b, game.PlayFrameCount);
  if (sign.images == nullptr) return;
  const bool digit = sign.images == assets.blockSuujired || sign.images == assets.blockSuujiblue;
  DrawSign(b, sign.images[sign.frame], digit ? 64 : 32, 32);
  if (sign.countSound) PlaySe(assets.seCount);
}

void DrawItem(ItemRecord& r) {
  r.head.frame = ItemDrawFrame(r, game.PlayFrameCount);
  DrawActorCentered(r.head);
}

void UpdateDrawEffect(EffectRecord& r) {
  const EffectFrame f = StepEffect(r);
  qor::SelectBlendPublic(2, ClampBlend(f.blendParameter));
  DrawActorRotated(r.head, r.angle, r.scale);
  qor::SelectBlendPublic(0, 0);
}

}  // namespace orb
