#include "game/world/game_state.h"

#include <cstring>

namespace orb {

GameState game;

const float InverseBulletSpeedScale[4] = {1.25f, 1.0f, 0.769231f, 0.625f};

void ResetGameState() { std::memset(&game, 0, sizeof game); }

void SetCurrentStageFlag(uint8_t* table) {
  const int32_t s = game.CurrentStage;
  if (s >= 0 && s < kStageTableSize) table[s] = 1;
}

float DifficultyExcess() {
  const int d = game.DifficultyLevel;
  return d > 1 ? static_cast<float>(d - 1) : 0.0f;
}

}  // namespace orb
