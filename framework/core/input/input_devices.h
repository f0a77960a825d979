// Keyboard, mouse and joypads: DirectInput 7, else DirectInput 8, else the
// window system's keyboard state and the multimedia joystick functions; the
// key-to-pad map; force feedback; the cooperative levels that follow window
// activation.
#pragma once

#include <cstdint>

#include "platform/dinput/dinput.h"

namespace qor {

constexpr int kMaxPads = 8;
constexpr int kPadMapBits = 32;
constexpr int kPadMapKeys = 4;
constexpr int kPadKeyFlag = 0x1000;

struct PadRecord {
  plat::DiDevice* device = nullptr;
  plat::DiEffect* periodicEffect = nullptr;
  plat::DiEffect* constantEffect = nullptr;
  int notification = 0;         // 1 when the device signals changes
  plat::DiJoyState state;
  int hasZAndR = 0;             // multimedia joystick with Z and R axes
  uint32_t lastRefresh = 0;
  int refreshed = 0;            // lastRefresh holds a time
  int vibrationOn = 0;
  int vibrationPower = 10000;   // 0..10,000
  int vibrationLimit = -1;      // ms, negative: none
  int vibrationElapsed = 0;
  uint32_t lastVibrationTick = 0;
  int periodicApplied = 0, constantApplied = 0;
};

struct InputDeviceState {
  int started = 0;
  plat::DirectInput* input = nullptr;
  int directInputUnavailable = 0;  // neither version could be had
  int winmmMode = 0;
  plat::DiDevice* mouse = nullptr;
  plat::DiDevice* keyboard = nullptr;
  int keyboardNotification = 0;
  uint8_t keys[256] = {};   // by DirectInput key number, 0x80 down
  uint32_t lastKeyRefresh = 0;
  int keysRefreshed = 0;
  PadRecord pads[kMaxPads];
  int padCount = 0;
  int32_t keyMap[kMaxPads][kPadMapBits][kPadMapKeys] = {};
};

InputDeviceState& GetInputDeviceState();
// Back to the load state without releasing devices (tests reset the device
// stand-in after it).
void ResetInputDevices();

int InitInputDevices();
int EndInputDevices();
int QueryKeyPressed(int code);
int ReadPadInputBits(int value);
int StopPadVibration(int pad);
int TickPadVibration();
int ApplyJoypadVibration();
int ReapplyInputCooperation();
int RefreshKeyboardState();      // 1 refreshed, 0 not
int RefreshJoypadState(int pad);  // 0, or -1

// Joypads (joypads.cpp).
void InitJoypads();
void ReleaseJoypads();
void InitWinmmJoypads();

}  // namespace qor
