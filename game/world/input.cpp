#include "game/world/input.h"

#include <cstring>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/scenes/scenes.h"

namespace orb {

InputState input;

void ResetInput() { std::memset(&input, 0, sizeof input); }

void UpdatePlayerInput(int player, uint32_t bits) {
  const uint32_t held = input.HeldInput[player];
  input.PressedInput[player] = bits & ~held;
  input.ReleasedInput[player] = held & ~bits;
  input.HeldInput[player] = bits;
}

void ReadPlayerInputs() {
  int (*read)(int) = input.padReader ? input.padReader : qor::ReadPadInputBitsPublic;
  UpdatePlayerInput(0, static_cast<uint32_t>(read(0x1001)));
  UpdatePlayerInput(1, static_cast<uint32_t>(read(2)));
}

void AssignPadButton(uint32_t player, uint32_t action) {
  if (player > 1 || action > 4) return;
  uint32_t* masks = input.ConfigButtonMasks + player * 5;
  for (uint32_t bit = kFirstButton; bit <= kLastButton; bit <<= 1) {
    if (!(input.PressedInput[player] & bit) || bit == masks[action]) continue;
    PlaySe(assets.seDecide);
    const uint32_t old = masks[action];
    for (uint32_t k = 0; k < 5; ++k) {
      if (k != action && masks[k] == bit) masks[k] = old;
    }
    masks[action] = bit;
  }
}

uint32_t GetPadButtonIndex(uint32_t bit) {
  for (uint32_t i = 0; i < 10; ++i) {
    if (bit == (kFirstButton << i)) return i;
  }
  return 0;
}

void DefaultPlayerMasks(uint32_t* masks5) {
  for (uint32_t i = 0; i < 5; ++i) masks5[i] = kFirstButton << i;
}

bool PlayerMasksUsable(const uint32_t* masks5) {
  uint32_t seen = 0;
  for (int i = 0; i < 5; ++i) {
    const uint32_t m = masks5[i];
    const bool singleButton = m >= kFirstButton && m <= kLastButton && (m & (m - 1)) == 0;
    if (!singleButton || (seen & m)) return false;
    seen |= m;
  }
  return true;
}

}  // namespace orb
