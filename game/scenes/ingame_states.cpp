// The in-game state machine: play, stage change, character change, game
// over, pause and the join banner, each state after 0 owning the screen
// over the captured last play frame.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/character_tables.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/stages/stage_setup.h"

namespace orb {

namespace {

enum InGame : uint8_t { kPlay = 0, kStageChange = 1, kCharacterChange = 2, kGameOver = 3, kPause = 4, kJoin = 5 };
constexpr int32_t kClosing = 100000;  // the closing fade of the panel and pause screens

void Enter(uint8_t state) {
  game.InGameState = state;
  game.InGameStateTimer = 0;
  scenes.HoldingLife[0] = scenes.HoldingLife[1] = 0;
}

bool PlayerOnField(int p) { return p == 0 ? game.OnFieldMode <= 1 : game.OnFieldMode >= 1; }

bool NewlyPressed(int p, int action) { return (input.PressedInput[p] & input.LiveButtonMasks[5 * p + action]) != 0; }

void ClearKnockOuts() { pools.players[0].knockedOut = pools.players[1].knockedOut = 0; }

void Blend(int mode, int64_t alpha) { qor::SelectBlendPublic(mode, ClampBlend(alpha)); }

// A second player joins next to the one on the field.
bool TryJoin() {
  int joiner = -1;
  if (game.OnFieldMode == 0 && (NewlyPressed(1, kActionDecide) || NewlyPressed(1, kActionChange))) joiner = 1;
  if (game.OnFieldMode == 2 && (NewlyPressed(0, kActionDecide) || NewlyPressed(0, kActionChange))) joiner = 0;
  if (joiner < 0) return false;
  int up = 0;
  for (const PartyMember& m : game.party) up += m.joined && !m.down;
  if (up < 2 && game.LivesLeft < 1) return true;
  PlaySe(assets.seOpen);
  PlaySe(assets.seUpitem);
  PlayerRecord& j = pools.players[joiner];
  const PlayerRecord& present = pools.players[1 - joiner];
  j.head.x = present.head.x;
  j.head.y = present.head.y;
  j.stairsMode = present.stairsMode;
  j.inAir = present.inAir;
  j.verticalSpeed = present.verticalSpeed;
  j.riding = 0;
  game.OnFieldMode = 1;
  Enter(kCharacterChange);
  return true;
}

void PlayChecks() {
  if (pools.players[0].knockedOut || pools.players[1].knockedOut) return;
  if (TryJoin()) return;
  if ((qor::QueryKeyPressedPublic(1) && game.EndingPhase == 0) || NewlyPressed(0, kActionPause)) {
    Enter(kPause);
    scenes.PauseCursor = 0;
    return;
  }
  if (NewlyPressed(0, kActionChange) || NewlyPressed(1, kActionChange)) {
    PlaySe(assets.seOpen);
    Enter(kCharacterChange);
  }
}

void StageChange() {
  int32_t& t = game.InGameStateTimer;
  if (t >= 1 && t <= 15) {
    ++t;
    DrawStateBackdrop(t * 16);
    if (t == 16) RunStageSetup(game.CurrentStage);
  } else if (t >= 17) {
    ++t;
    DrawStateBackdrop((32 - t) * 16);
    if (t >= 32) Enter(kPlay);
  }
}

bool CanConfirm(int p) {
  const int c = game.ActiveCharacter[p];
  return scenes.HoldingLife[p] == 0 && c >= 0 && c < kMemberCount && !game.party[c].down;
}

void CharacterChange() {
  int32_t& t = game.InGameStateTimer;
  if (t == 1) {
    ClearKnockOuts();
    scenes.PanelSlide[0] = scenes.PanelSlide[1] = 0;
  }
  if (t >= 1 && t <= 15) {
    ++t;
    DrawStateBackdrop(t * 8);
    DrawStatusPanel((60 - t) * 8);
  } else if (t >= 16 && t < kClosing) {
    ReadPlayerInputs();
    DrawStateBackdrop(128);
    DrawStatusPanel(352);
    bool pressed = false, ready = true;
    for (int p = 0; p < 2; ++p) {
      if (!PlayerOnField(p)) continue;
      pressed = pressed || NewlyPressed(p, kActionChange);
      ready = ready && CanConfirm(p);
    }
    if (pressed && ready) {
      PlaySe(assets.seClose);
      t = kClosing;
    }
  } else if (t >= kClosing) {
    ++t;
    DrawStateBackdrop((kClosing + 16 - static_cast<int64_t>(t)) * 8);
    DrawStatusPanel(static_cast<int>(static_cast<int64_t>(t) * 8 - 799648));
    if (t >= kClosing + 16) {
      SetupPlayerCharacters();
      Enter(kPlay);
    }
  }
}

void GameOver() {
  int32_t& t = game.InGameStateTimer;
  ++t;
  if (t == 1) ClearKnockOuts();
  if (t < 16) {
    DrawStateBackdrop(t * 16);
    return;
  }
  PaintBoxRGB(0, 0, 640, 480, 0, 0, 0);
  if (t >= 144) {
    RetryAfterGameOver();
    return;
  }
  const int64_t alpha = t < 48 ? t * 8 - 128 : t < 112 ? 255 : (144 - t) * 8;
  Blend(1, alpha);
  BlitGraph(192, 208, assets.effectGameover[0], 1);
  Blend(0, 0);
}

void PauseRows(int64_t alpha) {
  Blend(1, alpha);
  BlitGraph(256, 200, assets.effectHozonn[0], 1);
  BlitGraph(256, 248, assets.effectHozonn[1], 1);
  Blend(0, 0);
}

void Pause() {
  int32_t& t = game.InGameStateTimer;
  if (t >= 1 && t <= 15) {
    ++t;
    DrawStateBackdrop(t * 8);
    PauseRows(t * 16);
  } else if (t >= 16 && t < kClosing) {
    ReadPlayerInputs();
    DrawStateBackdrop(128);
    PauseRows(255);
    BlitGraphRotatedInt(230, 216 + 48 * static_cast<int>(scenes.PauseCursor), 1.0, game.PlayFrameCount / 10.0,
                        assets.titleOnnmyou[0], 1, 0);
    if (input.PressedInput[0] & (kPadUp | kPadDown)) {
      scenes.PauseCursor ^= 1;
      PlaySe(assets.seSelect);
    }
    if (NewlyPressed(0, kActionDecide)) {
      PlaySe(assets.seDecide);
      t = kClosing;
      if (scenes.PauseCursor == 1) {
        scenes.SceneExitFlag = 0;
        scenes.LeavePlayFlag = 1;
      }
    }
  } else if (t >= kClosing) {
    ++t;
    const int64_t left = kClosing + 16 - static_cast<int64_t>(t);
    DrawStateBackdrop(left * 8);
    PauseRows(left * 16);
    if (t >= kClosing + 16) {
      SetupPlayerCharacters();
      Enter(kPlay);
    }
  }
}

int Portrait(int member) {
  const int portraits[kMemberCount] = {assets.titleTovelt,  assets.titleQuenbyt, assets.titleDorrint, assets.titleFriskat,
                                       assets.titleGorvatht, assets.titleLismett, assets.titleVerrowt, assets.titleNoctat,
                                       assets.titleKesselt, assets.titlePallowt};
  return member >= 0 && member < kMemberCount ? portraits[member] : -1;
}

int NamePiece(int member) { return member >= 0 && member < kMemberCount ? assets.titleCharaname[member] : -1; }

void JoinBanner() {
  int32_t& t = game.InGameStateTimer;
  ++t;
  const int m = scenes.JoinedMemberIndex;
  if (t < 32) {
    DrawStateBackdrop(t * 4);
    BlitGraph(t * 4 - 64, -32, Portrait(m), 1);
    Blend(1, t * 8);
    BlitGraph(80, 380, NamePiece(m), 1);
    Blend(0, 0);
  } else if (t < 96) {
    DrawStateBackdrop(128);
    BlitGraph(64, -32, Portrait(m), 1);
    BlitGraph(80, 380, NamePiece(m), 1);
    BlitGraph(240, 380, assets.titleNakamani, 1);
  } else if (t < 128) {
    DrawStateBackdrop(128);
    Blend(1, (128 - t) * 8);
    BlitGraph(t * 4 - 320, -32, Portrait(m), 1);
    Blend(0, 0);
  } else {
    DrawStateBackdrop(128);
    Enter(kPlay);
  }
}

}  // namespace

int PortraitOfMember(int member) { return Portrait(member); }
int NameOfMember(int member) { return NamePiece(member); }

void RunInGameStateMachine() {
  const uint8_t startState = game.InGameState;
  const int32_t startTimer = game.InGameStateTimer;
  // A state the world pass entered (a knock-out, a recruit, an exit) is
  // captured before its first step draws over the frame just played: the
  // game-over and join steps count their timer and draw the backdrop at once.
  const bool enteredBefore = startState != kPlay && startTimer == 0;
  if (enteredBefore) CaptureScreenToGraph(0, 0, 640, 480, assets.stateBackdrop, 1);
  switch (game.InGameState) {
    case kPlay: PlayChecks(); break;
    case kStageChange: StageChange(); break;
    case kCharacterChange: CharacterChange(); break;
    case kGameOver: GameOver(); break;
    case kPause: Pause(); break;
    case kJoin: JoinBanner(); break;
    default: break;
  }
  // The frame just drawn becomes the backdrop: on entering a state, and on
  // the stage change's world frame (which is then blacked out). A state
  // waiting at timer 0 was captured above and only counts on.
  const bool midpoint = game.InGameState == kStageChange && game.InGameStateTimer == 16 && startTimer == 16;
  if (game.InGameState != kPlay && (game.InGameStateTimer == 0 || midpoint)) {
    const bool captured = enteredBefore && game.InGameState == startState;
    if (!captured) CaptureScreenToGraph(0, 0, 640, 480, assets.stateBackdrop, 1);
    if (midpoint) PaintBoxRGB(0, 0, 640, 480, 0, 0, 0);
    ++game.InGameStateTimer;
  }
}

void RetryAfterGameOver() {
  game.LivesLeft = 3;
  for (uint8_t& v : game.TakenItem5AndBosses) v = 0;
  for (PartyMember& m : game.party) {
    m.down = 0;
    m.hitPoints = m.hitPointsMax;
    m.power = static_cast<float>(m.powerMax);
  }
  game.ActiveCharacter[0] = 0;
  game.ActiveCharacter[1] = 1;
  SetupPlayerCharacters();
  for (PlayerRecord& p : pools.players) {
    p.verticalSpeed = 0;
    p.riding = 0;
    p.inAir = 0;
    p.stageMoveBytes[0] = 0;
    p.stairsMode = 0;
    p.invulnerableTimer = 0;
  }
  game.EntryX = 1280.0f;
  game.EntryY = 320.0f;
  game.BossMode = 0;
  game.EntryWalkIn = 0;
  game.EntryFacing = 0;
  game.EndingPhase = 0;
  game.CurrentStage = 1;
  game.EntrySide = kEnteredAtPoint;
  game.InGameState = kStageChange;
  game.InGameStateTimer = 16;
  RunStageSetup(1);
}

}  // namespace orb
