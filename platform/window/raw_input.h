// The raw input state the window system keeps from host events, for the
// device layer (platform/dinput): which physical keys are down, the mouse,
// and which host pads are which. Keys are numbered by USB HID usage; each
// maps to a Windows virtual key and a DirectInput key number through one
// fixed table (key_codes.cpp), so the keyboard layout never matters.
#pragma once

#include <cstdint>

#include "platform/host/host.h"

namespace plat {

struct KeyCodes {
  uint8_t virtualKey = 0;  // 0: the key has none
  uint8_t dik = 0;         // DirectInput key number, 0: none
};
// The codes of a HID usage; both 0 for usages outside the table.
KeyCodes KeyCodesFromHid(int hidUsage);

bool IsHidKeyDown(int hidUsage);
// Counts every key press and release taken from the host; a reader that
// remembers it knows whether anything changed since.
uint32_t KeyChangeCount();
// Fills 256 bytes by DirectInput key number (0x80 down) from the keys held.
void ReadDikKeyboard(uint8_t* keys256);

struct RawMouse {
  int x = 0, y = 0;          // picture pixels
  int dx = 0, dy = 0;        // moved since the last TakeMouseMotion
  int wheel = 0;             // WHEEL_DELTA units since the last TakeMouseMotion
  bool buttons[3] = {};      // left, right, middle
};
RawMouse TakeMouseMotion();  // returns the state and clears the deltas

// Host pads keep a stable identity here while the host renumbers them when
// one goes: the id of pad index i, or -1; and the index of an id, or -1.
int PadIdAt(int hostIndex);
int PadIndexOfId(int padId);

}  // namespace plat
