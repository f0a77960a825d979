// The device layer over scripted host keys and pads.
#include <gtest/gtest.h>

#include "platform/dinput/dinput.h"
#include "platform/dinput/winmm_joystick.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

using namespace plat;
namespace hl = plat::headless;

namespace {

LResult Plain(Hwnd w, uint32_t m, WParam wp, LParam lp) { return DefWindowProc(w, m, wp, lp); }

struct DeviceScope {
  Hwnd window = 0;
  DirectInput* input = nullptr;
  DeviceScope() {
    ResetDinputStandIn();
    ResetWindowStandIn();
    hl::Reset();
    RegisterClass("dev", Plain);
    window = CreateWindowEx(0, "dev", "", WS_POPUP, 0, 0, 64, 64);
    EXPECT_EQ(DirectInputCreate(0x700, &input), DI_OK);
    EXPECT_EQ(DirectInputInitialize(input, 0x400000, 0x700), DI_OK);
  }
  ~DeviceScope() {
    ResetDinputStandIn();
    ResetWindowStandIn();
    hl::Reset();
  }
  DiDevice* Make(DiDeviceKind kind, DiDataFormat format, const DiDeviceInstance* pad = nullptr) {
    DiDevice* d = nullptr;
    EXPECT_EQ(DiCreateDevice(input, kind, pad, &d), DI_OK);
    EXPECT_EQ(DiSetDataFormat(d, format), DI_OK);
    EXPECT_EQ(DiSetCooperativeLevel(d, window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    return d;
  }
};

std::vector<DiDeviceInstance> Pads(DirectInput* input) {
  std::vector<DiDeviceInstance> out;
  DirectInputEnumJoysticks(
      input,
      [](const DiDeviceInstance* pad, void* user) {
        static_cast<std::vector<DiDeviceInstance>*>(user)->push_back(*pad);
        return true;
      },
      &out);
  return out;
}

TEST(DinputKeyboard, StateByKeyNumberFromPhysicalKeys) {
  DeviceScope s;
  DiDevice* kb = s.Make(DiDeviceKind::Keyboard, DiDataFormat::Keyboard);
  uint8_t keys[256];
  EXPECT_EQ(DiGetDeviceState(kb, sizeof keys, keys), DIERR_NOTACQUIRED);
  ASSERT_EQ(DiAcquire(kb), DI_OK);
  ASSERT_EQ(DiSetEventNotification(kb, true), DI_OK);
  EXPECT_FALSE(DiIsNotificationSignalled(kb));
  hl::PushEvent(hl::KeyEvent(true, hid::RightAlt));
  hl::PushEvent(hl::KeyEvent(true, hid::Delete));
  EXPECT_TRUE(DiIsNotificationSignalled(kb));
  ASSERT_EQ(DiGetDeviceState(kb, sizeof keys, keys), DI_OK);
  EXPECT_EQ(keys[0xB8], 0x80);
  EXPECT_EQ(keys[0xD3], 0x80);
  EXPECT_EQ(keys[0x38], 0);
  DiResetNotification(kb);
  EXPECT_FALSE(DiIsNotificationSignalled(kb));
  hl::PushEvent(hl::KeyEvent(false, hid::Delete));
  DiGetDeviceState(kb, sizeof keys, keys);
  EXPECT_EQ(keys[0xD3], 0);
  EXPECT_EQ(DiGetDeviceState(kb, 100, keys), DIERR_INVALIDPARAM);
  // A lost device must be acquired again.
  DiFailNext(DiFailPoint::GetDeviceState, DiDeviceKind::Keyboard);
  EXPECT_EQ(DiGetDeviceState(kb, sizeof keys, keys), DIERR_INPUTLOST);
  EXPECT_EQ(DiGetDeviceState(kb, sizeof keys, keys), DIERR_NOTACQUIRED);
  DiAcquire(kb);
  EXPECT_EQ(DiGetDeviceState(kb, sizeof keys, keys), DI_OK);
}

TEST(DinputJoystick, AxesWithRangeAndDeadZoneHatsAndButtons) {
  DeviceScope s;
  hl::AddPad("Pad", 6, 1, 32, false);
  const std::vector<DiDeviceInstance> pads = Pads(s.input);
  ASSERT_EQ(pads.size(), 1u);
  EXPECT_STREQ(pads[0].productName, "Pad");
  DiDevice* pad = s.Make(DiDeviceKind::Joystick, DiDataFormat::Joystick, &pads[0]);
  DiSetRange(pad, kAxisX, -1000, 1000);
  DiSetRange(pad, kAxisY, -1000, 1000);
  DiSetDeadZone(pad, kAxisX, 2500);
  EXPECT_EQ(DiSetRange(pad, kAxisZ, 5, 5), DIERR_INVALIDPARAM);
  EXPECT_EQ(DiSetDeadZone(pad, kAxisZ, 10001), DIERR_INVALIDPARAM);
  ASSERT_EQ(DiAcquire(pad), DI_OK);

  HostPadState raw;
  raw.axes[0] = 16384;  // half way: a third of the travel past the dead zone
  raw.axes[1] = -32768;
  raw.axes[2] = 32767;  // no range set: 0..65,535
  raw.hats[0] = 2 | 4;  // right and down
  raw.buttons[0] = raw.buttons[31] = 1;
  hl::SetPadState(0, raw);
  DiJoyState js;
  ASSERT_EQ(DiGetDeviceState(pad, sizeof js, &js), DI_OK);
  EXPECT_EQ(js.lX, 333);
  EXPECT_EQ(js.lY, -1000);
  EXPECT_EQ(js.lZ, 65535);
  EXPECT_EQ(js.rgdwPOV[0], 13500u);
  EXPECT_EQ(js.rgdwPOV[1], kPovCentred);
  EXPECT_EQ(js.rgbButtons[0], 0x80);
  EXPECT_EQ(js.rgbButtons[31], 0x80);
  EXPECT_EQ(js.rgbButtons[1], 0);
  raw.axes[0] = -8000;  // inside the dead zone
  hl::SetPadState(0, raw);
  DiGetDeviceState(pad, sizeof js, &js);
  EXPECT_EQ(js.lX, 0);
  EXPECT_EQ(js.lY, -1000);
}

TEST(DinputJoystick, PadsKeepTheirIdentityWhenAnotherGoes) {
  DeviceScope s;
  hl::AddPad("First", 2, 0, 4, false);
  hl::AddPad("Second", 2, 0, 4, false);
  const std::vector<DiDeviceInstance> pads = Pads(s.input);
  ASSERT_EQ(pads.size(), 2u);
  DiDevice* first = s.Make(DiDeviceKind::Joystick, DiDataFormat::Joystick, &pads[0]);
  DiDevice* second = s.Make(DiDeviceKind::Joystick, DiDataFormat::Joystick, &pads[1]);
  DiAcquire(first);
  DiAcquire(second);
  HostPadState raw;
  raw.buttons[5] = 1;
  hl::SetPadState(1, raw);
  hl::RemovePad(0);
  DiJoyState js;
  EXPECT_EQ(DiPoll(first), DIERR_INPUTLOST);
  EXPECT_EQ(DiGetDeviceState(first, sizeof js, &js), DIERR_NOTACQUIRED);
  EXPECT_EQ(DiAcquire(first), DIERR_INPUTLOST);
  ASSERT_EQ(DiGetDeviceState(second, sizeof js, &js), DI_OK);
  EXPECT_EQ(js.rgbButtons[5], 0x80);
  EXPECT_EQ(Pads(s.input).size(), 1u);
}

TEST(DinputJoystick, EffectsRumbleThePad) {
  DeviceScope s;
  hl::AddPad("Rumble", 2, 0, 4, true);
  hl::AddPad("Still", 2, 0, 4, false);
  const std::vector<DiDeviceInstance> pads = Pads(s.input);
  DiDevice* pad = s.Make(DiDeviceKind::Joystick, DiDataFormat::Joystick, &pads[0]);
  DiDevice* still = s.Make(DiDeviceKind::Joystick, DiDataFormat::Joystick, &pads[1]);
  DiEffect* none = nullptr;
  EXPECT_EQ(DiCreateEffect(still, DiEffectKind::Periodic, 10000, -1, &none), DIERR_UNSUPPORTED);
  DiEffect* sine = nullptr;
  DiEffect* push = nullptr;
  ASSERT_EQ(DiCreateEffect(pad, DiEffectKind::Periodic, 5000, -1, &sine), DI_OK);
  ASSERT_EQ(DiCreateEffect(pad, DiEffectKind::ConstantForce, 10000, 300, &push), DI_OK);
  EXPECT_EQ(DiStartEffect(sine, 1), DIERR_NOTACQUIRED);
  DiAcquire(pad);
  ASSERT_EQ(DiStartEffect(sine, 1), DI_OK);
  hl::PadRumble r;
  hl::GetPadRumble(0, &r);
  EXPECT_EQ(r.low, 32767);
  EXPECT_EQ(r.high, 0);
  DiStartEffect(push, 1);
  hl::GetPadRumble(0, &r);
  EXPECT_EQ(r.high, 65535);
  DiStopEffect(sine);
  DiStopEffect(push);
  hl::GetPadRumble(0, &r);
  EXPECT_EQ(r.low + r.high + r.durationMs, 0);
  DiReleaseEffect(sine);
  DiReleaseDevice(pad);
  DiReleaseEffect(push);  // after its device: still freed once
  EXPECT_EQ(GetDiCounters().effectsReleased, 2);
}

TEST(Dinput, FailuresAndCounters) {
  DeviceScope s;
  DiFailNext(DiFailPoint::Create7, DiDeviceKind::Mouse);
  DirectInput* other = nullptr;
  DiDevice* d0 = nullptr;
  EXPECT_LT(DirectInputCreate(0x700, &other), 0);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(DirectInputCreate(0x800, &other), DI_OK);
  // Until it is initialised, for its own version and a module, the object
  // makes no device and lists no pad; a failed initialisation leaves it so.
  hl::AddPad("Pad", 2, 0, 4, false);
  EXPECT_TRUE(Pads(other).empty());
  EXPECT_EQ(DiCreateDevice(other, DiDeviceKind::Keyboard, nullptr, &d0), DIERR_NOTINITIALIZED);
  EXPECT_EQ(DirectInputInitialize(other, 0, 0x800), DIERR_INVALIDPARAM);
  EXPECT_EQ(DirectInputInitialize(other, 0x400000, 0x700), DIERR_INVALIDPARAM);
  DiFailNext(DiFailPoint::Initialize, DiDeviceKind::Mouse);
  EXPECT_LT(DirectInputInitialize(other, 0x400000, 0x800), 0);
  EXPECT_EQ(DiCreateDevice(other, DiDeviceKind::Keyboard, nullptr, &d0), DIERR_NOTINITIALIZED);
  EXPECT_EQ(GetDiCounters().initialized, 1);  // the scope's object only
  EXPECT_EQ(DirectInputInitialize(other, 0x400000, 0x800), DI_OK);
  EXPECT_EQ(Pads(other).size(), 1u);
  ASSERT_EQ(DiCreateDevice(other, DiDeviceKind::Keyboard, nullptr, &d0), DI_OK);
  DiReleaseDevice(d0);
  DiFailNext(DiFailPoint::CreateDevice, DiDeviceKind::Mouse);
  DiDevice* d = nullptr;
  EXPECT_LT(DiCreateDevice(s.input, DiDeviceKind::Mouse, nullptr, &d), 0);
  EXPECT_LT(DiCreateDevice(s.input, DiDeviceKind::Joystick, nullptr, &d), 0);  // no such pad
  DiDevice* mouse = s.Make(DiDeviceKind::Mouse, DiDataFormat::Mouse);
  EXPECT_EQ(DiSetDataFormat(mouse, DiDataFormat::Keyboard), DIERR_INVALIDPARAM);
  EXPECT_EQ(DiSetCooperativeLevel(mouse, s.window, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE), DIERR_INVALIDPARAM);
  DiAcquire(mouse);
  HostEvent move;
  move.kind = HostEventKind::MouseMove;
  move.x = 10;
  move.y = -4;
  hl::PushEvent(move);
  DiMouseState m;
  ASSERT_EQ(DiGetDeviceState(mouse, sizeof m, &m), DI_OK);
  EXPECT_EQ(m.lX, 10);
  EXPECT_EQ(m.lY, -4);
  DiGetDeviceState(mouse, sizeof m, &m);
  EXPECT_EQ(m.lX, 0);  // motion is counted once
  EXPECT_EQ(LiveDiDeviceCount(), 1);
  DiReleaseDevice(mouse);
  DirectInputRelease(other);
  const DiCounters c = GetDiCounters();
  EXPECT_EQ(c.created, 2);
  EXPECT_EQ(c.devicesCreated, 2);
  EXPECT_EQ(c.devicesReleased, 2);
  EXPECT_EQ(c.stateReads, 2);
}

TEST(Winmm, JoystickPositionsAndCaps) {
  DeviceScope s;
  hl::AddPad("Stick", 4, 0, 6, false);
  hl::AddPad("Flat", 2, 0, 2, false);
  JoyCaps caps;
  ASSERT_EQ(joyGetDevCaps(0, &caps), JOYERR_NOERROR);
  EXPECT_EQ(caps.caps, JOYCAPS_HASZ | JOYCAPS_HASR);
  ASSERT_EQ(joyGetDevCaps(1, &caps), JOYERR_NOERROR);
  EXPECT_EQ(caps.caps, 0u);
  EXPECT_EQ(joyGetDevCaps(2, &caps), JOYERR_UNPLUGGED);
  EXPECT_EQ(joyGetDevCaps(99, &caps), MMSYSERR_BADDEVICEID);
  HostPadState raw;
  raw.axes[0] = -32768;
  raw.axes[1] = 32767;
  raw.buttons[0] = raw.buttons[5] = 1;
  hl::SetPadState(0, raw);
  JoyInfoEx info;
  info.flags = JOY_RETURNALL;
  ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.xPos, 0u);
  EXPECT_EQ(info.yPos, 65535u);
  EXPECT_EQ(info.zPos, 32768u);
  EXPECT_EQ(info.buttons, 0x21u);
  EXPECT_EQ(joyGetPosEx(3, &info), JOYERR_UNPLUGGED);
}

}  // namespace
