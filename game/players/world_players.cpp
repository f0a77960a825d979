// The players' steps of the world pass: member 7's drain at its head, the
// movement of the players on the field, and the draw pass in which each
// player meets the other actors, attacks and is drawn. Also the small reads
// every player routine shares: its roster entry and its pad.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/input.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/scenes/world_hooks.h"

namespace orb {

PlayerPassState playerPass;

void ResetPlayerPass() { playerPass = {}; }

PartyMember* MemberOf(const PlayerRecord& p) {
  const int player = p.playerIndex == 1 ? 1 : 0;
  const int32_t c = game.ActiveCharacter[player];
  return c >= 0 && c < kMemberCount ? &game.party[c] : nullptr;
}

namespace {
int Pad(const PlayerRecord& p) { return p.playerIndex == 1 ? 1 : 0; }
uint32_t Mask(const PlayerRecord& p, int action) { return input.LiveButtonMasks[5 * Pad(p) + action]; }

bool DrainStage(int32_t s) {
  return (s >= 1 && s <= 2) || (s >= 16 && s <= 23) || (s >= 32 && s <= 35) || (s >= 41 && s <= 57) ||
         (s >= 104 && s <= 123);
}

bool OnField(int player) { return player == 0 ? game.OnFieldMode <= 1 : game.OnFieldMode >= 1; }
}  // namespace

uint32_t HeldBits(const PlayerRecord& p) { return input.HeldInput[Pad(p)]; }
uint32_t PressedBits(const PlayerRecord& p) { return input.PressedInput[Pad(p)]; }
bool ActionHeld(const PlayerRecord& p, int action) { return (input.HeldInput[Pad(p)] & Mask(p, action)) != 0; }
bool ActionPressed(const PlayerRecord& p, int action) { return (input.PressedInput[Pad(p)] & Mask(p, action)) != 0; }
bool ActionReleased(const PlayerRecord& p, int action) {
  return (input.ReleasedInput[Pad(p)] & Mask(p, action)) != 0;
}

// Member 7 tires in the listed stages whenever either player has chosen it;
// the drain stops at 0 and the dead sound marks the step from 1 to 0.
void DrainMember7() {
  if (game.ActiveCharacter[0] != 7 && game.ActiveCharacter[1] != 7) return;
  if (static_cast<int64_t>(game.PlayTimeFrames) % 40 != 0 || !DrainStage(game.CurrentStage)) return;
  PartyMember& m = game.party[7];
  if (m.hitPoints <= 0) return;
  if (m.hitPoints == 1) PlaySe(assets.seDead);
  m.hitPoints -= 1;
}

void MovePlayers() {
  for (int i = 0; i < kPlayerCount; ++i) {
    PlayerRecord& p = pools.players[i];
    if (OnField(i) && !p.warpFade && !p.knockedOut) UpdatePlayerMovement(p);
  }
}

void UpdateDrawPlayers() {
  if (game.EndingPhase >= 2) return;
  for (int i = kPlayerCount - 1; i >= 0; --i) {
    if (!OnField(i)) continue;
    PlayerRecord& p = pools.players[i];
    if (p.warpFade) {
      ++p.fadeCounter;
      DrawPlayer(p);
    } else if (p.knockedOut) {
      UpdatePlayerKnockout(p);
    } else {
      UpdatePlayerInteractions(p);
      UpdatePlayerAttack(p);
      if (!p.warpFade) DrawPlayer(p);
    }
    if (scenes.DebugMode) DrawPlayerHitboxesDebug(p);
  }
}

}  // namespace orb
