#include "platform/dinput/winmm_joystick.h"

#include <cstring>

#include "platform/host/host.h"

namespace plat {

namespace {

constexpr uint32_t kJoystickIds = 16;

uint32_t AxisValue(int raw) { return static_cast<uint32_t>(raw + 32768); }

}  // namespace

uint32_t joyGetNumDevs() { return kJoystickIds; }

uint32_t joyGetDevCaps(uint32_t id, JoyCaps* out) {
  if (out == nullptr) return JOYERR_PARMS;
  if (id >= kJoystickIds) return MMSYSERR_BADDEVICEID;
  HostPadInfo info;
  if (!HostGetPadInfo(static_cast<int>(id), &info)) return JOYERR_UNPLUGGED;
  *out = JoyCaps{};
  out->numAxes = static_cast<uint32_t>(info.axisCount);
  out->numButtons = static_cast<uint32_t>(info.buttonCount);
  if (info.axisCount >= 3) out->caps |= JOYCAPS_HASZ;
  if (info.axisCount >= 4) out->caps |= JOYCAPS_HASR;
  std::memcpy(out->name, info.name, sizeof out->name);  // same size, terminated by the host
  out->name[sizeof out->name - 1] = '\0';
  return JOYERR_NOERROR;
}

uint32_t joyGetPosEx(uint32_t id, JoyInfoEx* out) {
  if (out == nullptr) return JOYERR_PARMS;
  if (id >= kJoystickIds) return MMSYSERR_BADDEVICEID;
  HostPadState pad;
  if (!HostGetPadState(static_cast<int>(id), &pad)) return JOYERR_UNPLUGGED;
  const uint32_t flags = out->flags;
  *out = JoyInfoEx{};
  out->flags = flags;
  out->xPos = AxisValue(pad.axes[0]);
  out->yPos = AxisValue(pad.axes[1]);
  out->zPos = AxisValue(pad.axes[2]);
  out->rPos = AxisValue(pad.axes[3]);
  out->uPos = AxisValue(pad.axes[4]);
  out->vPos = AxisValue(pad.axes[5]);
  for (int b = 0; b < kHostPadMaxButtons; ++b) {
    if (pad.buttons[b]) {
      out->buttons |= 1u << b;
      ++out->buttonNumber;
    }
  }
  return JOYERR_NOERROR;
}

}  // namespace plat
