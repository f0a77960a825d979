// Pad input of the two players: held, newly pressed and newly released bits,
// and the button bound to each of the five actions of each player.
#pragma once

#include <cstdint>

namespace orb {

// Pad bits.
constexpr uint32_t kPadDown = 0x1, kPadLeft = 0x2, kPadRight = 0x4, kPadUp = 0x8;
constexpr uint32_t kFirstButton = 0x10, kLastButton = 0x2000;

// Actions.
enum PlayerAction { kActionDecide = 0, kActionCancel = 1, kActionShoot = 2, kActionChange = 3, kActionPause = 4 };

struct InputState {
  uint32_t HeldInput[2];
  uint32_t PressedInput[2];
  uint32_t ReleasedInput[2];
  uint32_t ConfigButtonMasks[10];  // player 1 actions 0-4, then player 2
  uint32_t LiveButtonMasks[10];    // the copy tested during play
  // Where ReadPlayerInputs reads a pad (the framework's pad read when unset);
  // tests plug in scripted pads here.
  int (*padReader)(int padValue);
};

extern InputState input;

void ResetInput();

// Reads both pads: player 1 with the keyboard merged in, player 2 pad 2 only.
void ReadPlayerInputs();

// Takes the new bits of one player (the reading half of ReadPlayerInputs).
void UpdatePlayerInput(int player, uint32_t bits);

// Binds a newly pressed button to the action; a button the player's other
// action had is swapped, so no two actions of a player share a button.
void AssignPadButton(uint32_t player, uint32_t action);

// 0x10 -> 0 .. 0x2000 -> 9; any other value 0.
uint32_t GetPadButtonIndex(uint32_t bit);

// The pad screen's defaults: buttons 1 to 5 for actions 0 to 4.
void DefaultPlayerMasks(uint32_t* masks5);

// True when the five masks are five distinct single button bits.
bool PlayerMasksUsable(const uint32_t* masks5);

}  // namespace orb
