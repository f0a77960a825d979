// A player against the other actors, once per frame after all movement:
// pickups, enemy bullets, breakable blocks, beaten bosses to recruit, warp
// gaps, touch damage and melee hits; then the knock-out that follows a fall
// or the last hit point, and its hand-over 32 frames later.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/crt_rand.h"
#include "game/enemies/enemies.h"
#include "game/world/input.h"
#include "game/actors/items.h"
#include "game/world/map_collision.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

WorldBox BodyOf(const PlayerRecord& p, bool standing) {
  const ActorHead& h = p.head;
  const bool crouched = p.crouch && !standing;
  const float top = crouched ? h.body.crouchTop : h.body.top;
  const float bottom = crouched ? h.body.crouchBottom : h.body.bottom;
  return {h.x + h.body.left, h.y + top, h.x + h.body.right, h.y + bottom};
}


int32_t Saturated(int64_t v) { return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v); }

// Takes damage into the member: 64 frames of safety; true when it fell.
bool Hurt(PlayerRecord& p, PartyMember* m, float damage) {
  p.invulnerableTimer = 64;
  if (!m) return false;
  m->hitPoints = Saturated(static_cast<int64_t>(m->hitPoints) - TruncToInt(damage));
  if (m->hitPoints < 1) {
    m->hitPoints = 0;
    PlaySe(assets.seDead);
    return true;
  }
  PlaySe(assets.seDamage0);
  return false;
}

void TakeItems(PlayerRecord& p) {
  const WorldBox body = BodyOf(p, false);
  for (ItemRecord& item : pools.items) {
    if (item.head.state != kActorActive) continue;
    if (!BoxesOverlap(body, CentredBox(item.head, item.head.hitboxWidth / 2, item.head.hitboxHeight / 2))) continue;
    ApplyItem(p, item.kind);
    for (PartyMember& m : game.party) {
      if (m.hitPointsMax > 255) m.hitPointsMax = 255;
      if (m.powerMax > 255) m.powerMax = 255;
    }
    item.head.state = kActorFree;
  }
}

void TakeBullets(PlayerRecord& p, PartyMember* m) {
  const WorldBox body = BodyOf(p, false);
  const WorldBox hit{body.left + 4, body.top + (p.crouch ? 1.0f : 8.0f), body.right - 4, body.bottom - 8};
  for (ShotRecord& b : pools.enemyBullets) {
    if (p.invulnerableTimer != 0) return;
    if (b.head.state != kActorActive) continue;
    if (!BoxesOverlap(hit, CentredBox(b.head, b.head.hitboxWidth / 2, b.head.hitboxHeight / 2))) continue;
    const float factor = p.params.damageFactors[b.damageClass & 3];
    const float damage = static_cast<float>(b.damage) * DifficultyDamageFactor() * factor;
    if (Hurt(p, m, damage)) return;
  }
}

// Beaten bosses of kinds 29 to 36 join as members 2 to 9.
int32_t RecruitedMember(int32_t kind) { return kind >= 29 && kind <= 36 ? kind - 27 : -1; }

void Recruit(EnemyRecord& boss, int32_t member) {
  PartyMember& m = game.party[member];
  m.power = static_cast<float>(m.powerMax);
  m.joined = 1;
  m.down = 0;
  m.hitPoints = m.hitPointsMax;
  scenes.JoinedMemberIndex = member;
  PlaySe(assets.seNakama);
  SetCurrentStageFlag(game.StageEventDone);
  OpenStageWalls(true, true);
  game.InGameState = 5;
  game.InGameStateTimer = 0;
  boss.head.state = kActorFree;
  if (boss.kind == 31) {
    SpawnEnemy(912.0f, 291.2f, 41, 0, 2, 51, 100, 1, 0, 0, 60.0f, 17.0f, 0, 0.4f, 0, 0, 0, 0, 0, 3, 0);
  }
}

void TakeGap(PlayerRecord& p, const EnemyRecord& gap) {
  if (gap.kind == 38) PlaySe(assets.seShot9);
  SetCurrentStageFlag(game.WarpGapOpen);
  const WarpDestination d =
      WarpGapDestination(game.CurrentStage, gap.hitPoints, p.head.x, p.head.y, game.EntryX, game.EntryY);
  game.CurrentStage = d.stage;
  game.EntryX = d.x;
  game.EntryY = d.y;
  game.EntryWalkIn = p.stairsMode;
  game.EntryFacing = p.facing;
  game.EntrySide = kEnteredAtPoint;
  game.InGameState = 1;
  game.InGameStateTimer = 0;
}

// Beaten bosses (recruited by a crouching touch) and warp gaps (taken by
// pressing up while standing).
void MeetStill(PlayerRecord& p, EnemyRecord& e) {
  const float half = e.mode == 50 ? 2.1f * e.head.hitboxWidth : e.head.hitboxWidth / 2;
  if (!BoxesOverlap(BodyOf(p, true), CentredBox(e.head, half, e.head.hitboxHeight / 2))) return;
  if (e.mode == 50) {
    const int32_t member = RecruitedMember(e.kind);
    if (p.crouch && member >= 0) Recruit(e, member);
    return;
  }
  // Gaps tagged 1111 only mark where a boss or minion comes in: they lead
  // nowhere (taking one would re-enter the room and set its gap flag).
  if (e.hitPoints == 1111) return;
  if ((PressedBits(p) & kPadUp) && !p.inAir && !IsAnyPlayerKnockedOut()) TakeGap(p, e);
}

WorldBox TouchBox(const EnemyRecord& e) {
  const ActorHead& h = e.head;
  const float hw = h.hitboxWidth / 2, hh = h.hitboxHeight / 2;
  switch (e.kind) {
    case 40: return CentredBox(h, 1.05f * h.hitboxWidth, hh);
    case 29:
      if (h.frame == 6) {
        const float screenX = h.x - game.CameraScrollX;
        const bool left = screenX < 40 || (screenX <= 600 && e.motion.velocityX < 0);
        const float reach = 3.2f * h.hitboxWidth, tall = 0.3f * h.hitboxHeight;
        return left ? WorldBox{h.x - reach, h.y - tall, h.x + hw, h.y + tall}
                    : WorldBox{h.x - hw, h.y - tall, h.x + reach, h.y + tall};
      }
      break;
    case 2: return {h.x - hw, h.y - 0.8f * h.hitboxHeight, h.x + hw, h.y + hh};
    default: break;
  }
  return CentredBox(h, hw, hh);
}

// Touch damage; true when the player fell.
bool TouchEnemy(PlayerRecord& p, PartyMember* m, const EnemyRecord& e) {
  if (e.kind == 43 || p.invulnerableTimer != 0) return false;
  const float factor = p.params.damageFactors[0];
  if (!(static_cast<float>(e.touchDamage) * factor > 0)) return false;
  if (!BoxesOverlap(BodyOf(p, false), TouchBox(e))) return false;
  return Hurt(p, m, static_cast<float>(e.touchDamage) * DifficultyDamageFactor() * factor);
}

void ClampMember(PartyMember* m) {
  if (!m) return;
  if (m->hitPoints < 0) m->hitPoints = 0;
  if (m->hitPoints > m->hitPointsMax) m->hitPoints = m->hitPointsMax;
  if (m->power < 0) m->power = 0;
  if (m->power > static_cast<float>(m->powerMax)) m->power = static_cast<float>(m->powerMax);
}

void KnockOut(PlayerRecord& p) {
  p.knockoutTimer = 0;
  p.invulnerableTimer = 64;
  p.knockedOut = 1;
}

struct WarpRow {
  int32_t from, to;
  float x, y;  // a negative value keeps the player's own
  int32_t hubRow;  // -1: no hub lookup
};

// clang-format off
const WarpRow kWarpRows[] = {
    {137, 138, 790.4f, 288, -1}, {138, 137, 1046.4f, 288, -1}, {147, 148, 790.4f, 256, -1},
    {56, 58, 640.0f, -1, -1},    {122, 124, 640.0f, 352, -1},
    {125, 126, -1, -1, -1},      {126, 125, -1, -1, -1},       {128, 129, -1, -1, -1}, {129, 128, -1, -1, -1},
    {100, 1, 1398.4f, 320, -1},
    {17, 1, 1526.4f, 320, 0},    {123, 1, 1654.4f, 320, 1},    {135, 1, 1782.4f, 320, 2},
    {44, 1, 886.4f, 320, 3},     {55, 1, 758.4f, 320, 4},      {73, 1, 1142.4f, 320, 5},
    {86, 1, 1270.4f, 320, 6},    {30, 1, 1014.4f, 320, 8},
};

struct HubRow {
  int32_t stage;
  float x, y;
};
const HubRow kHubRows[] = {
    {17, 1526.4f, 320}, {123, 1142.4f, 320}, {135, 1174.4f, 96}, {44, 1174.4f, 320}, {55, 1366.4f, 320},
    {73, 886.4f, 288},  {86, 1334.4f, 352},  {30, 822.4f, 352},  {100, 2038.4f, 128},
};
// clang-format on

}  // namespace

float DifficultyDamageFactor() {
  static const float kFactors[4] = {0.7f, 1.2f, 1.6f, 2.1f};
  return kFactors[game.DifficultyLevel & 3];
}

WarpDestination WarpGapDestination(int32_t fromStage, int32_t gapTag, float playerX, float playerY, float entryX,
                                   float entryY) {
  WarpDestination d{fromStage, entryX, entryY};
  int32_t hubRow = fromStage == 1 ? 0 : -1;
  for (const WarpRow& r : kWarpRows) {
    if (r.from != fromStage) continue;
    d = {r.to, r.x < 0 ? playerX : r.x, r.y < 0 ? playerY : r.y};
    hubRow = r.hubRow;
    break;
  }
  if (hubRow < 0) return d;
  for (int i = hubRow; i < static_cast<int>(sizeof kHubRows / sizeof kHubRows[0]); ++i) {
    if (kHubRows[i].stage == gapTag) return {kHubRows[i].stage, kHubRows[i].x, kHubRows[i].y};
  }
  return d;
}

void ApplyItem(PlayerRecord& p, int32_t kind) {
  PartyMember* m = MemberOf(p);
  const int sounds[10] = {assets.seLitem, assets.seSitem, assets.seLitem, assets.seSitem, assets.seFull,
                          assets.seUpitem, assets.seRtitem, assets.seRtitem, assets.seRtitem, assets.seRtitem};
  if (kind < 0 || kind > 9) return;
  PlaySe(sounds[kind]);
  switch (kind) {
    case 0: if (m) m->hitPoints = Saturated(int64_t{m->hitPoints} + (m->hitPointsMax / 10 + 10) / 2); break;
    case 1: if (m) m->power += static_cast<float>(m->powerMax / 10 + 10); break;
    case 2: if (m) m->hitPoints = Saturated(int64_t{m->hitPoints} + (m->hitPointsMax / 10) * 2 + 20); break;
    case 3: if (m) m->power += static_cast<float>((m->powerMax / 10) * 4 + 40); break;
    case 4:
      if (m) {
        m->hitPoints = m->hitPointsMax;
        m->power = static_cast<float>(m->powerMax);
      }
      break;
    case 5:
      SetCurrentStageFlag(game.TakenItem5AndBosses);
      if (game.LivesLeft < 9) ++game.LivesLeft;
      break;
    case 6:
      ++game.ItemCounters[0];
      SetCurrentStageFlag(game.TakenItem6);
      if (m) m->hitPoints = m->hitPointsMax = Saturated(int64_t{m->hitPointsMax} + 15);
      break;
    case 7:
      ++game.ItemCounters[1];
      SetCurrentStageFlag(game.TakenItem7);
      if (m) {
        m->powerMax = Saturated(int64_t{m->powerMax} + 10);
        m->power = static_cast<float>(m->powerMax);
      }
      break;
    case 8:
      for (PartyMember& all : game.party) all.hitPoints = all.hitPointsMax = Saturated(int64_t{all.hitPointsMax} + 20);
      ++game.ItemCounters[2];
      SetCurrentStageFlag(game.TakenItem8);
      break;
    default:
      for (PartyMember& all : game.party) {
        all.powerMax = Saturated(int64_t{all.powerMax} + 10);
        all.power = static_cast<float>(all.powerMax);
      }
      ++game.ItemCounters[3];
      SetCurrentStageFlag(game.TakenItem9);
      break;
  }
}

void UpdatePlayerInteractions(PlayerRecord& p) {
  PartyMember* m = MemberOf(p);
  TakeItems(p);
  TakeBullets(p, m);
  MeleeBreakBlocks(p);
  for (EnemyRecord& e : pools.enemies) {
    if (e.head.state != kActorActive) continue;
    if (e.mode == 50 || e.mode == 51) {
      MeetStill(p, e);
      continue;
    }
    if (e.mode >= 50) continue;
    if (TouchEnemy(p, m, e)) break;
    MeleeHitEnemy(p, e);
  }
  ClampMember(m);
  if (p.stairsMode == 0 && p.head.y > 550) {
    PlaySe(assets.seDead);
    KnockOut(p);
  }
  if (m && m->hitPoints < 1) KnockOut(p);
}

void UpdatePlayerKnockout(PlayerRecord& p) {
  PartyMember* m = MemberOf(p);
  if (p.knockoutTimer == 0) {
    SpawnBurstEffect(p.head.x, p.head.y, static_cast<float>(Rand() % 360), 1.0f);
    if (m) m->down = 1;
    p.iceMomentum = 0.0f;
  }
  ++p.knockoutTimer;
  if (p.knockoutTimer <= 31) return;
  int up = 0;
  for (const PartyMember& member : game.party) up += member.joined && !member.down;
  p.riding = 0;
  if (game.LivesLeft == 0 && up == 0) {
    p.knockedOut = 0;
    p.stairsMode = 0;
    game.InGameState = 3;
    game.InGameStateTimer = 0;
  } else if (game.OnFieldMode == 1) {
    game.OnFieldMode = p.playerIndex == 1 ? 0 : 2;
    p.knockedOut = 0;
    p.stairsMode = 0;
  } else {
    game.InGameState = 2;
    game.InGameStateTimer = 0;
    p.head.x = p.respawnX;
    p.head.y = p.respawnY;
  }
}

}  // namespace orb
