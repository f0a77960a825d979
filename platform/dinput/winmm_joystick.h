// The multimedia joystick functions, the road the framework takes when no
// DirectInput interface can be had: up to 16 joystick ids over the host's
// pads, axes 0..65,535, buttons as a bit set.
#pragma once

#include <cstdint>

namespace plat {

constexpr uint32_t JOYERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_BADDEVICEID = 2;
constexpr uint32_t JOYERR_PARMS = 165;
constexpr uint32_t JOYERR_UNPLUGGED = 167;

constexpr uint32_t JOYCAPS_HASZ = 0x1;
constexpr uint32_t JOYCAPS_HASR = 0x2;
constexpr uint32_t JOY_RETURNALL = 0xFF;

struct JoyCaps {
  uint32_t caps = 0;  // JOYCAPS_ flags
  uint32_t numAxes = 0;
  uint32_t numButtons = 0;
  char name[128] = {};
};

struct JoyInfoEx {
  uint32_t flags = 0;
  uint32_t xPos = 0, yPos = 0, zPos = 0, rPos = 0, uPos = 0, vPos = 0;
  uint32_t buttons = 0;  // bit n: button n down
  uint32_t buttonNumber = 0;
  uint32_t pov = 0xFFFF;
};

uint32_t joyGetNumDevs();  // 16
uint32_t joyGetDevCaps(uint32_t id, JoyCaps* out);
uint32_t joyGetPosEx(uint32_t id, JoyInfoEx* out);

}  // namespace plat
