#include "game/game_state.h"

#include <cstring>

namespace orb {

GameState game;

const float InverseBulletSpeedScale[4] = {1.25f, 1.0f, 0.769231f, 0.625f};

void ResetGameState() { std::memset(&game, 0, sizeof game); }

float DifficultyExcess() {
  const int d = game.DifficultyLevel;
  return d > 1 ? static_cast<float>(d - 1) : 0.0f;
}

}  // namespace orb
