#include "game/world/roster.h"

#include <cstring>

#include "game/world/character_tables.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"

namespace orb {

namespace {
constexpr int32_t kStartHitPoints[kMemberCount] = {100, 110, 100, 80, 140, 80, 110, 100, 110, 120};
constexpr int32_t kStartPower[kMemberCount] = {110, 100, 100, 70, 60, 140, 110, 130, 100, 130};
}  // namespace

void InitRosterStats() {
  for (int m = 0; m < kMemberCount; ++m) {
    PartyMember& p = game.party[m];
    p.hitPointsMax = kStartHitPoints[m];
    p.powerMax = kStartPower[m];
    p.hitPoints = p.hitPointsMax;
    p.power = static_cast<float>(p.powerMax);
  }
}

void ResetNewGame() {
  for (PlayerRecord& p : pools.players) p.verticalSpeed = 0.0f;
  game.EntryX = 1280.0f;
  game.EntryY = 320.0f;
  game.OnFieldMode = game.TitlePlayerCount == 1 ? 1 : 0;
  game.BossIntroTimer = 0;

  for (int i = 0; i < kPlayerCount; ++i) {
    PlayerRecord& p = pools.players[i];
    p.playerIndex = i;
    p.inAir = 0;
    p.stageMoveBytes[0] = 0;
    p.stairsMode = 0;
    p.invulnerableTimer = 0;
  }
  game.EntryWalkIn = 0;
  game.EntrySide = kEnteredAtPoint;
  game.CurrentStage = 1;

  for (PartyMember& m : game.party) {
    m.joined = 1;
    m.down = 0;
  }
  for (int m = 2; m < kMemberCount; ++m) game.party[m].joined = 0;

  game.LivesLeft = 3;
  for (int32_t& c : game.ItemCounters) c = 0;
  game.ActiveCharacter[0] = 0;
  game.ActiveCharacter[1] = 1;

  SetupPlayerCharacters();
  InitRosterStats();

  std::memset(game.TakenItem6, 0, sizeof game.TakenItem6);
  std::memset(game.TakenItem7, 0, sizeof game.TakenItem7);
  std::memset(game.TakenItem8, 0, sizeof game.TakenItem8);
  std::memset(game.TakenItem9, 0, sizeof game.TakenItem9);
  std::memset(game.StageEventDone, 0, sizeof game.StageEventDone);
  std::memset(game.WarpGapOpen, 0, sizeof game.WarpGapOpen);
  std::memset(game.TakenItem5AndBosses, 0, sizeof game.TakenItem5AndBosses);

  for (PartyMember& m : game.party) {
    m.hitPoints = m.hitPointsMax;
    m.power = static_cast<float>(m.powerMax);
  }
  game.PlayTimeFrames = 0.0f;

  for (BlockRecord& b : pools.blocks) b.head.state = kActorFree;
  game.BossMode = 0;
}

}  // namespace orb
