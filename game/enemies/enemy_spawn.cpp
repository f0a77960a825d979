// The enemy spawners: the kind table, the ring of enemy slots and the
// record's start values.
#include <cstring>
#include <initializer_list>

#include "game/world/asset_table.h"
#include "game/enemies/enemies.h"
#include "game/world/pools.h"

namespace orb {

namespace {

struct EnemyKindRow {
  int16_t spriteWidth, spriteHeight;
  float hitboxWidth, hitboxHeight;
  int16_t frames;
  int16_t touchDamage;  // kinds 1 to 5 choose theirs by variant
};

// clang-format off
const EnemyKindRow kKinds[kLastEnemyKind + 1] = {
    {0, 0, 0, 0, 0, 0},
    {64, 64, 28, 28, 4, 0}, {32, 32, 14, 14, 4, 0}, {128, 128, 58, 58, 4, 0}, {64, 64, 22, 52, 9, 0},
    {64, 64, 22, 52, 9, 0}, {128, 128, 24, 58, 7, 32}, {64, 64, 20, 54, 7, 21}, {128, 128, 22, 52, 7, 23},
    {128, 128, 22, 52, 7, 23}, {128, 128, 22, 52, 7, 23}, {128, 128, 22, 52, 7, 28}, {128, 128, 22, 52, 7, 36},
    {128, 128, 22, 52, 7, 28}, {128, 128, 22, 52, 7, 28}, {128, 128, 22, 52, 7, 28}, {128, 128, 22, 52, 7, 35},
    {128, 128, 22, 52, 7, 30}, {128, 128, 22, 52, 8, 28}, {128, 128, 22, 52, 12, 36}, {128, 128, 22, 52, 4, 24},
    {128, 128, 22, 52, 4, 24}, {128, 128, 22, 52, 4, 24}, {64, 64, 38, 38, 4, 30}, {128, 128, 46, 46, 4, 39},
    {128, 128, 40, 40, 4, 20}, {128, 128, 22, 52, 3, 35}, {64, 64, 22, 50, 1, 24}, {64, 64, 36, 36, 1, 18},
    {128, 128, 22, 52, 14, 25}, {128, 128, 22, 52, 14, 25}, {128, 128, 22, 52, 14, 35}, {128, 128, 22, 52, 14, 25},
    {128, 128, 22, 52, 14, 30}, {128, 128, 22, 52, 14, 32}, {128, 128, 22, 52, 15, 38}, {128, 128, 22, 52, 14, 40},
    {128, 128, 22, 52, 15, 40}, {128, 128, 100, 100, 15, 0}, {64, 64, 64, 64, 2, 40}, {64, 64, 30, 50, 2, 40},
    {128, 128, 100, 100, 1, 0}, {128, 128, 64, 128, 4, 0}, {16, 512, 0, 0, 1, 0}, {128, 128, 22, 52, 7, 32},
    {128, 128, 22, 52, 15, 40}, {128, 128, 22, 52, 16, 40}, {128, 128, 22, 52, 18, 40},
};
// clang-format on

int32_t TouchDamageOf(int32_t kind, int32_t variant) {
  switch (kind) {
    case 1: return variant >= 0 && variant <= 3 ? 15 : variant == 5 ? 35 : 24;
    case 2: return variant >= 0 && variant <= 3 ? 10 : 18;
    case 3: return variant >= 0 && variant <= 1 ? 30 : 40;
    case 4: return variant >= 0 && variant <= 3 ? 18 : 25;
    case 5: return variant >= 0 && variant <= 3 ? 22 : 32;
    default: return kKinds[kind].touchDamage;
  }
}

// One of a kind's variant sheets, or nullptr beyond them.
const int* Pick(int32_t variant, std::initializer_list<const int*> sheets) {
  if (variant < 0 || static_cast<size_t>(variant) >= sheets.size()) return nullptr;
  return sheets.begin()[variant];
}

void DamageFactorsOf(EnemyRecord& e) {
  float f[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  auto set = [&f](float a, float b, float c, float d) { f[0] = a, f[1] = b, f[2] = c, f[3] = d; };
  switch (e.kind) {
    case 1: if (e.touchDamage == 35) set(0, 0, 0, 0); break;
    case 13: set(1.0f, 1.0f, 1.0f, 4.0f); break;
    case 15: case 29: case 35: set(0.9f, 0.9f, 1.4f, 0.9f); break;
    case 17: set(1.0f, 1.0f, 4.0f, 1.0f); break;
    case 20: case 21: case 22: set(1.0f, 0, 0, 0); break;
    case 26: set(0, 1.0f, 1.0f, 1.0f); break;
    case 30: set(0.9f, 0.9f, 4.0f, 0.3f); break;
    case 31: set(0.7f, 1.3f, 1.3f, 1.7f); break;
    case 32: set(0.9f, 0.5f, 0.5f, 0.5f); break;
    case 33: set(0.9f, 0.9f, 0.9f, 0.9f); break;
    case 34: set(0.9f, 0.9f, 0.9f, 1.4f); break;
    case 39: set(1.0f, 1.0f, 10.0f, 1.0f); break;
    case 40: set(1.0f, 0, 10.0f, 0); break;
    default: break;
  }
  std::memcpy(e.damageFactors, f, sizeof f);
}

}  // namespace

void SpawnEnemyAvoiding(float x, float y, int32_t kind, int32_t variant, int32_t framePeriod, int32_t mode,
                        int32_t hitPoints, int32_t mapCollision, float velocityX, float velocityY, float maxSpeedX,
                        float maxSpeedY, float accelX, float accelY, float amplitudeX, float amplitudeY,
                        float phaseStep, float startPhase, int32_t waveCode, int32_t pausePose, int32_t bulletType,
                        int32_t avoidSlot);

const int* EnemySheet(int32_t kind, int32_t variant) {
  const AssetHandles& a = assets;
  switch (kind) {
    case 1: return Pick(variant, {a.grKedama1, a.grKedama2, a.grKedama3, a.grKedama4, a.grKedama5, a.grKedama6,
                                  a.grKedama7, a.grKedama8, a.grKedama9});
    case 2: return Pick(variant, {a.grKedamam1, a.grKedamam2, a.grKedamam3, a.grKedamam4, a.grKedamam5,
                                  a.grKedamam6, a.grKedamam7, a.grKedamam8, a.grKedamam9});
    case 3: return Pick(variant, {a.grKedamabig1, a.grKedamabig2, a.grKedamabig3});
    case 4: return Pick(variant, {a.grRibbonyouseim1, a.grRibbonyouseim2, a.grRibbonyouseim3, a.grRibbonyouseim4,
                                  a.grRibbonyouseim5, a.grRibbonyouseim6, a.grRibbonyouseim7, a.grRibbonyouseim8});
    case 5: return Pick(variant, {a.grMaidyouseim1, a.grMaidyouseim2, a.grMaidyouseim3, a.grMaidyouseim4,
                                  a.grMaidyouseim5, a.grMaidyouseim6, a.grMaidyouseim7, a.grMaidyouseim8,
                                  a.grMaidyouseim9});
    case 6: return Pick(variant, {a.grMaidyouseibig1, a.grMaidyouseibig2});
    case 7: return a.grDorrinzako;
    case 8: return a.grBrightel;
    case 9: return a.grDimmet;
    case 10: return a.grSpangle;
    case 11: return a.grHopsy;
    case 12: return a.grRavette;
    case 13: return a.grGlimmick;
    case 14: return a.grTrillow;
    case 15: case 44: return a.grDuskel;
    case 16: return a.grImpkin;
    case 17: return a.grMossling;
    case 18: return a.grPell;
    case 19: return a.grWhiskit;
    case 20: return a.grBowring;
    case 21: return a.grKeyling;
    case 22: return a.grHornwell;
    case 23: return Pick(variant, {a.grYuurei1, a.grYuurei2, a.grYuurei3, a.grYuurei4});
    case 24: return Pick(variant, {a.grYuureibig1, a.grYuureibig2});
    case 25: return a.grKarasu;
    case 26: return a.grCorvane;
    case 27: return a.grVernette;
    case 28: return a.grHaridama;
    case 29: return a.grDorrin;
    case 30: return a.grFriska;
    case 31: return a.grGorvath;
    case 32: return a.grLismet;
    case 33: return a.grVerrow;
    case 34: return a.grNocta;
    case 35: return a.grKessel;
    case 36: return a.grPallow;
    case 37: case 45: return a.grZindra;
    case 38: return a.effectSukima;
    case 39: return a.blockKooria;
    case 40: return a.blockKoorib;
    case 42: return variant == 0 ? a.grSwitch : a.grSwitchb;
    case 43: return a.blockFurikob;
    case 46: return a.grTovel;
    case 47: return a.grQuenby;
    default: return nullptr;  // 41 is invisible
  }
}

void SpawnEnemy(float x, float y, int32_t kind, int32_t variant, int32_t framePeriod, int32_t mode,
                int32_t hitPoints, int32_t mapCollision, float velocityX, float velocityY, float maxSpeedX,
                float maxSpeedY, float accelX, float accelY, float amplitudeX, float amplitudeY, float phaseStep,
                float startPhase, int32_t waveCode, int32_t pausePose, int32_t bulletType) {
  SpawnEnemyAvoiding(x, y, kind, variant, framePeriod, mode, hitPoints, mapCollision, velocityX, velocityY,
                     maxSpeedX, maxSpeedY, accelX, accelY, amplitudeX, amplitudeY, phaseStep, startPhase, waveCode,
                     pausePose, bulletType, -1);
}

void SpawnBeatenBossCopy(const EnemyRecord& boss) {
  const float accelY = boss.kind == 37 || boss.kind == 45 ? 0.2f : 0.4f;
  SpawnEnemyAvoiding(boss.head.x - 14, boss.head.y - 14, boss.kind, 0, 1, 50, 3500, 1, 0, 0, 60.0f, 17.0f, 0,
                     accelY, 0, 0, 0, 0, 0, 3, 0, boss.slot);
}

void SpawnEnemyAvoiding(float x, float y, int32_t kind, int32_t variant, int32_t framePeriod, int32_t mode,
                        int32_t hitPoints, int32_t mapCollision, float velocityX, float velocityY, float maxSpeedX,
                        float maxSpeedY, float accelX, float accelY, float amplitudeX, float amplitudeY,
                        float phaseStep, float startPhase, int32_t waveCode, int32_t pausePose, int32_t bulletType,
                        int32_t avoidSlot) {
  if (kind < 1 || kind > kLastEnemyKind) return;
  const EnemyKindRow& k = kKinds[kind];
  EnemySpawnValues v{};
  v.x = x;
  v.y = y;
  v.kind = kind;
  v.spriteWidth = k.spriteWidth;
  v.spriteHeight = k.spriteHeight;
  v.hitboxWidth = k.hitboxWidth;
  v.hitboxHeight = k.hitboxHeight;
  v.images = EnemySheet(kind, variant);
  v.frameCount = k.frames;
  v.framePeriod = framePeriod;
  v.mode = static_cast<uint8_t>(mode);
  v.hitPoints = hitPoints;
  v.mapCollision = static_cast<uint8_t>(mapCollision);
  v.motion = {accelX, accelY, maxSpeedX, maxSpeedY, velocityX, velocityY, amplitudeX, amplitudeY,
              startPhase, phaseStep, startPhase};
  v.waveCode = static_cast<uint8_t>(waveCode);
  v.pausePose = static_cast<uint8_t>(pausePose);
  v.touchDamage = TouchDamageOf(kind, variant);
  v.bulletType = bulletType;
  const int32_t slot = SpawnEnemyRecord(v, avoidSlot);
  // A reused slot must not fire its previous occupant's attack.
  EnemyRecord& e = pools.enemies[slot];
  std::memset(&e.slotA, 0, sizeof e.slotA);
  std::memset(&e.slotB, 0, sizeof e.slotB);
  std::memset(&e.aimAngle, 0, sizeof e.aimAngle);
  std::memset(&e.speedStep, 0, sizeof e.speedStep);
}

int32_t SpawnEnemyRecord(const EnemySpawnValues& v, int32_t avoidSlot) {
  // The ring skips live slots and overwrites only when all of them are live.
  int32_t slot = pools.EnemyRingIndex;
  int32_t firstAllowed = -1;
  for (int32_t i = 0; i < kEnemyRingSlots; ++i) {
    slot = slot + 1 >= kEnemyRingSlots ? 0 : slot + 1;
    if (slot == avoidSlot) continue;
    if (firstAllowed < 0) firstAllowed = slot;
    if (pools.enemies[slot].head.state == kActorFree) {
      firstAllowed = slot;
      break;
    }
  }
  pools.EnemyRingIndex = firstAllowed;
  EnemySpawnValues centred = v;
  centred.x = v.x + 0.5f * v.hitboxWidth;
  centred.y = v.y + 0.5f * v.hitboxWidth;  // the width on both axes, as the stage routines place
  InitEnemy(pools.enemies[firstAllowed], centred, firstAllowed);
  return firstAllowed;
}

void InitEnemy(EnemyRecord& e, const EnemySpawnValues& v, int32_t slot) {
  ActorHead& h = e.head;
  h.x = v.x;
  h.y = v.y;
  h.spriteWidth = v.spriteWidth;
  h.spriteHeight = v.spriteHeight;
  h.hitboxWidth = v.hitboxWidth;
  h.hitboxHeight = v.hitboxHeight;
  h.images = v.images;
  h.frameCount = v.frameCount;
  h.framePeriod = v.framePeriod;
  e.slot = slot;
  e.mode = v.mode;
  e.hitPoints = v.hitPoints;
  e.mapCollision = v.mapCollision;
  e.motion = v.motion;
  e.motion.phase = v.motion.startPhase;
  e.waveCode = v.waveCode;
  e.pausePose = v.pausePose;
  e.kind = v.kind;
  e.touchDamage = v.touchDamage;
  e.bulletType = v.bulletType;
  h.frame = 0;
  h.state = kEnemyWaiting;
  e.sideWall = 0;
  e.fadeCounter = v.kind == 37 ? 16 : 0;

  // Player 1's stored position decides, even when only player 2 plays.
  if (pools.players[0].head.x < h.x && e.mode != 33 && e.mode != 34) e.motion.velocityX = -e.motion.velocityX;
  if (e.motion.velocityX < 0.0f) e.motion.accelX = -e.motion.accelX;

  e.timer = 0;
  e.frozenTimer = 0;
  e.poseFlag = 0;
  DamageFactorsOf(e);
  e.hitFlash = 0;
  if (e.motion.maxSpeedX == 111.1f) h.state = kActorActive;
  if (e.kind == 38 && e.hitPoints == 1111) {
    e.fadeCounter = 16;
    h.state = kActorActive;
  }
  if ((e.kind == 19 || e.kind == 26) && e.waveCode == 1) {
    e.timer = 130;
    e.fadeCounter = 16;
    h.state = kActorActive;
  }
}

EnemyRecord& LastEnemy() {
  const int32_t i = pools.EnemyRingIndex;
  return pools.enemies[i >= 0 && i < kEnemyRingSlots ? i : 0];
}

}  // namespace orb
