// The play state that many parts of the game read: stage and entry, links
// and bounds, the roster, progress tables, difficulty, camera and the
// in-game state. One record, reset to its state at program load.
#pragma once

#include <cstdint>

namespace orb {

constexpr int kMemberCount = 10;
constexpr int kStageTableSize = 256;
constexpr int kLastStage = 152;

struct PartyMember {
  int32_t hitPoints;
  int32_t hitPointsMax;
  float power;
  int32_t powerMax;
  uint8_t joined;
  uint8_t down;
};

struct StageLinks {
  float leftBound;   // 640 in every stage
  float rightBound;  // the largest camera x; the stage spans left bound to right bound + 640
  int32_t exitLeft, exitRight, exitUp, exitDown;  // 0 = none
};

// How the players arrived in the current stage.
enum EntrySideCode : int32_t {
  kEnteredRightEnd = 1,
  kEnteredLeftEnd = 2,
  kEnteredFromBelow = 3,
  kEnteredFromAbove = 4,
  kEnteredAtPoint = 38,
};

struct GameState {
  int32_t CurrentStage;
  int32_t PreviousStage;
  int32_t EntrySide;
  float EntryX, EntryY;
  int32_t EntryFacing;
  uint8_t EntryWalkIn;

  StageLinks links;
  uint8_t BossMode;
  int32_t BossIntroTimer;
  int32_t EndingPhase;
  int32_t EndingTimer;

  uint8_t InGameState;
  int32_t InGameStateTimer;
  int32_t PlayFrameCount;
  float CameraScrollX;
  int32_t CurrentPlayerIndex;

  uint8_t TitlePlayerCount;  // 0 one player, 1 two
  uint8_t OnFieldMode;       // 0 player 1 only, 1 both, 2 player 2 only
  int32_t ActiveCharacter[2];
  int32_t LivesLeft;
  int32_t ItemCounters[4];
  PartyMember party[kMemberCount];
  float PlayTimeFrames;
  uint8_t DifficultyLevel;  // 0 to 3
  float DifficultySpeedBonus;
  uint8_t SaveSlotIndex;    // 0 to 2

  // Per-stage tables by stage number.
  uint8_t TakenItem6[kStageTableSize];
  uint8_t TakenItem7[kStageTableSize];
  uint8_t TakenItem8[kStageTableSize];
  uint8_t TakenItem9[kStageTableSize];
  uint8_t StageEventDone[kStageTableSize];  // boss or guardian beaten
  uint8_t WarpGapOpen[kStageTableSize];     // a door or gap taken there
  uint8_t TakenItem5AndBosses[kStageTableSize];  // not saved
};

extern GameState game;

void ResetGameState();

// Sets the current stage's entry of a per-stage progress table to 1; a
// stage number outside the table writes nothing.
void SetCurrentStageFlag(uint8_t* table);

// max(difficulty - 1, 0): the excess the stage routines scale by.
float DifficultyExcess();

// Reciprocals of the enemy-bullet speed scale, by difficulty.
extern const float InverseBulletSpeedScale[4];

}  // namespace orb
