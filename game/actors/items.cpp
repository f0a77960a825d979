#include "game/actors/items.h"

#include "game/world/asset_table.h"
#include "game/world/crt_rand.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"

namespace orb {

namespace {

constexpr int32_t kEffectFrames = 32;
constexpr int32_t kEffectLastFrame = 31;

struct ItemLook {
  const int* images;
  int32_t sprite;
  float hitbox;
  int32_t frames, period;
  bool animated;
};

const ItemLook kItemLooks[10] = {
    {assets.effectLitem, 32, 24, 1, 1, false},  {assets.effectSitem, 32, 24, 1, 1, false},
    {assets.effectBlitem, 32, 30, 1, 1, false}, {assets.effectBsitem, 32, 30, 1, 1, false},
    {assets.effectFitem, 32, 24, 1, 1, false},  {assets.effectUpitem, 32, 24, 1, 1, false},
    {assets.effectTitem, 64, 46, 4, 2, false},  {assets.effectRitem, 64, 46, 4, 2, false},
    {assets.effectTitem, 64, 46, 4, 2, true},   {assets.effectRitem, 64, 46, 4, 2, true},
};

bool ValidItemKind(int32_t kind) { return kind >= 0 && kind <= 9; }

}  // namespace

int32_t SpawnItem(float x, float y, int32_t kind, float fallSpeed) {
  if (!ValidItemKind(kind)) return -1;
  for (int32_t slot = 0; slot < kItemCount; ++slot) {
    if (pools.items[slot].head.state != kActorFree) continue;
    InitItem(pools.items[slot], slot, kind, x, y, fallSpeed);
    return slot;
  }
  return -1;
}

void InitItem(ItemRecord& r, int32_t slot, int32_t kind, float x, float y, float fallSpeed) {
  if (!ValidItemKind(kind)) return;
  r.head.x = x;
  r.head.y = y;
  r.kind = kind;
  r.slot = slot;
  const ItemLook& look = kItemLooks[kind];
  r.head.images = look.images;
  r.head.spriteWidth = r.head.spriteHeight = look.sprite;
  r.head.hitboxWidth = r.head.hitboxHeight = look.hitbox;
  r.head.frameCount = look.frames;
  r.head.framePeriod = look.period;
  r.head.frame = 0;
  r.head.vx = static_cast<float>(3.0 - (Rand() % 61) / 10.0);
  r.head.vy = 0.0f;
  r.gravity = 0.4f;
  r.fallSpeed = fallSpeed;
  r.airborne = 1;
  r.riding = 0;
  r.head.state = kActorActive;
}

void MoveItem(ItemRecord& r) {
  r.fallSpeed += r.gravity;
  if (r.fallSpeed > 10.0f) r.fallSpeed = 10.0f;
  r.head.vy = r.fallSpeed;
  if (r.airborne == 0) r.head.vx = 0.0f;
  MoveBoxOnMap(&r.head.x, &r.head.y, &r.fallSpeed, r.head.vx, r.head.vy, r.head.hitboxWidth, r.head.hitboxHeight,
               &r.airborne, &r.riding, &r.riddenBlock, kSelfItem);
}

int32_t ItemDrawFrame(const ItemRecord& r, int32_t playFrame) {
  if (!ValidItemKind(r.kind) || !kItemLooks[r.kind].animated) return 0;
  const int32_t step = playFrame / kItemLooks[r.kind].period % 4;
  return step < 0 ? step + 4 : step;
}

int32_t SpawnBurstEffect(float x, float y, float angle, float scale) {
  for (int32_t slot = 0; slot < kEffectCount; ++slot) {
    EffectRecord& e = pools.effects[slot];
    if (e.head.state != kActorFree) continue;
    e.head.x = x;
    e.head.y = y;
    e.slot = slot;
    e.head.images = assets.effectBomb;
    e.head.frameCount = kEffectFrames;
    e.counter = 0;
    e.angle = angle;
    e.scale = scale;
    e.head.state = kActorActive;
    return slot;
  }
  return -1;
}

EffectFrame StepEffect(EffectRecord& r) {
  r.counter = r.counter < kEffectLastFrame ? r.counter + 1 : kEffectLastFrame;
  r.head.frame = r.counter % kEffectFrames;
  if (r.counter >= kEffectLastFrame) r.head.state = kActorFree;
  return {r.head.frame, 255 - 8 * r.counter};
}

void RemoveObjectWithBurst(ActorHead& actor) {
  SpawnBurstEffect(actor.x, actor.y, static_cast<float>(Rand() % 360), 0.8f);
  actor.state = kActorFree;
}

}  // namespace orb
