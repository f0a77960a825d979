// Joypads: DirectInput devices with force feedback, or the multimedia
// joystick functions; their states and vibration.
#include "framework/core/input/input_devices.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "platform/dinput/winmm_joystick.h"
#include "platform/kernel/mm_timer.h"

namespace qor {

namespace {

constexpr int32_t kAxisRange = 1000;
constexpr int32_t kDeadZone = 2500;
constexpr int kConstantForceThreshold = 5000;

void ReleasePadEffects(PadRecord& p) {
  if (p.periodicEffect != nullptr) plat::DiReleaseEffect(p.periodicEffect);
  if (p.constantEffect != nullptr) plat::DiReleaseEffect(p.constantEffect);
  p.periodicEffect = p.constantEffect = nullptr;
}

bool OnJoypadEnumerated(const plat::DiDeviceInstance* instance, void* /*user*/) {
  InputDeviceState& in = GetInputDeviceState();
  if (in.padCount >= kMaxPads) return false;
  LogOutput("入力装置を見つけました\n");
  PadRecord& p = in.pads[in.padCount];
  p = PadRecord{};
  if (plat::DiCreateDevice(in.input, plat::DiDeviceKind::Joystick, instance, &p.device) < 0) {
    LogOutput("入力装置の取得に失敗しました\n");
    p = PadRecord{};
    return true;
  }
  LogPrintf("デバイスの登録名:%s", instance->instanceName);
  LogPrintf("デバイスの製品登録名:%s", instance->productName);
  if (plat::DiSetDataFormat(p.device, plat::DiDataFormat::Joystick) < 0) {
    LogOutput("ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n");
    plat::DiReleaseDevice(p.device);
    p = PadRecord{};
    return true;
  }
  const plat::Hwnd window = GetFrameWindowHandle();
  if (plat::DiSetCooperativeLevel(p.device, window, plat::DISCL_EXCLUSIVE | plat::DISCL_BACKGROUND) < 0) {
    LogOutput("ジョイパッドデバイスの協調レベルの設定に失敗しました\n");
  }
  if (plat::DiSetRange(p.device, plat::kAxisX, -kAxisRange, kAxisRange) < 0) {
    LogOutput("ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n");
  }
  if (plat::DiSetRange(p.device, plat::kAxisY, -kAxisRange, kAxisRange) < 0) {
    LogOutput("ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n");
  }
  plat::DiSetRange(p.device, plat::kAxisZ, -kAxisRange, kAxisRange);
  plat::DiSetRange(p.device, plat::kAxisRz, -kAxisRange, kAxisRange);
  if (plat::DiSetDeadZone(p.device, plat::kAxisX, kDeadZone) < 0) {
    LogOutput("ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n");
  }
  if (plat::DiSetDeadZone(p.device, plat::kAxisY, kDeadZone) < 0) {
    LogOutput("ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n");
  }
  plat::DiSetDeadZone(p.device, plat::kAxisZ, kDeadZone);
  plat::DiSetDeadZone(p.device, plat::kAxisRz, kDeadZone);
  // A sine swell and a constant force; a pad without them still reads.
  if (plat::DiCreateEffect(p.device, plat::DiEffectKind::Periodic, 10000, -1, &p.periodicEffect) < 0 ||
      plat::DiCreateEffect(p.device, plat::DiEffectKind::ConstantForce, 10000, -1, &p.constantEffect) < 0) {
    LogOutput("周期的エフェクトの作成に失敗しました。\n");
    ReleasePadEffects(p);
  }
  if (plat::DiSetEventNotification(p.device, true) < 0) {
    LogOutput("ジョイパッドイベントのセットアップが失敗しました\n");
  } else {
    p.notification = 1;
  }
  plat::DiAcquire(p.device);
  p.state = plat::DiJoyState{};
  LogOutput("ジョイパッドの追加は正常に終了しました\n");
  ++in.padCount;
  return true;
}

// A multimedia axis 0..65,535 as -1,000..1,000 with its dead band around the
// middle.
int32_t WinmmAxis(uint32_t v) {
  if (v == 0) return -kAxisRange;
  if (v >= 65535) return kAxisRange;
  const int64_t value = v;
  if (value < 24576) return static_cast<int32_t>((value - 24576) * 1000 / 24576);
  if (value > 40960) return static_cast<int32_t>((value - 40960) * 1000 / 24576);
  return 0;
}

void SetEffect(plat::DiEffect* effect, int want, int* applied, int power) {
  if (effect == nullptr || want == *applied) return;
  if (want) {
    plat::DiSetEffectMagnitude(effect, power);
    plat::DiStartEffect(effect, 1);
  } else {
    plat::DiStopEffect(effect);
  }
  *applied = want;
}

}  // namespace

void InitJoypads() {
  LogOutput("ジョイパッドの初期化... \n");
  plat::DirectInputEnumJoysticks(GetInputDeviceState().input, OnJoypadEnumerated, nullptr);
  LogOutput("ジョイパッドの初期化は正常に終了しました\n");
}

void InitWinmmJoypads() {
  InputDeviceState& in = GetInputDeviceState();
  int found = 0;
  plat::JoyCaps caps;
  while (found < kMaxPads && plat::joyGetDevCaps(static_cast<uint32_t>(found), &caps) == plat::JOYERR_NOERROR) {
    const uint32_t both = plat::JOYCAPS_HASZ | plat::JOYCAPS_HASR;
    in.pads[found].hasZAndR = (caps.caps & both) == both ? 1 : 0;
    ++found;
  }
  LogPrintf("パッドの数は %d 個です", found);
  in.padCount = kMaxPads;
}

void ReleaseJoypads() {
  InputDeviceState& in = GetInputDeviceState();
  for (PadRecord& p : in.pads) {
    ReleasePadEffects(p);
    if (p.device != nullptr) {
      plat::DiUnacquire(p.device);
      plat::DiReleaseDevice(p.device);
    }
    p = PadRecord{};
  }
  in.padCount = 0;
}

int RefreshJoypadState(int pad) {
  InputDeviceState& in = GetInputDeviceState();
  if (pad < 0 || pad >= kMaxPads) return -1;
  PadRecord& p = in.pads[pad];
  const uint32_t now = plat::timeGetTime();
  if (in.winmmMode) {
    if (p.refreshed && now == p.lastRefresh) return 0;
    p.lastRefresh = now;
    p.refreshed = 1;
    plat::JoyInfoEx info;
    info.flags = plat::JOY_RETURNALL;
    p.state = plat::DiJoyState{};
    if (plat::joyGetPosEx(static_cast<uint32_t>(pad), &info) != plat::JOYERR_NOERROR) return 0;
    p.state.lX = WinmmAxis(info.xPos);
    p.state.lY = WinmmAxis(info.yPos);
    if (p.hasZAndR) {
      p.state.lZ = WinmmAxis(info.zPos);
      p.state.lRz = WinmmAxis(info.rPos);
    }
    for (int b = 0; b < 24; ++b) p.state.rgbButtons[b] = (info.buttons & (1u << b)) ? 0x80 : 0;
    return 0;
  }
  if (p.device == nullptr) {
    p.state = plat::DiJoyState{};
    return -1;
  }
  const bool signalled = p.notification && plat::DiIsNotificationSignalled(p.device);
  if (p.refreshed && now == p.lastRefresh && !signalled) return 0;
  p.lastRefresh = now;
  p.refreshed = 1;
  plat::DiPoll(p.device);
  plat::DiJoyState state;
  plat::HRESULT hr = plat::DiGetDeviceState(p.device, sizeof state, &state);
  if (hr < 0) {
    if (PumpMessages() != 0) return -1;
    plat::DiAcquire(p.device);
    hr = plat::DiGetDeviceState(p.device, sizeof state, &state);
  }
  if (p.notification) plat::DiResetNotification(p.device);
  // A pad that cannot be read (unplugged) holds nothing down.
  p.state = hr >= 0 ? state : plat::DiJoyState{};
  return hr >= 0 ? 0 : -1;
}

int StopPadVibration(int pad) {
  InputDeviceState& in = GetInputDeviceState();
  if (pad < 1 || pad > kMaxPads) return 0;
  const int index = pad - 1;
  in.pads[index].vibrationOn = 0;
  in.pads[index].vibrationPower = 10000;
  return 0;
}

int ApplyJoypadVibration() {
  InputDeviceState& in = GetInputDeviceState();
  const bool active = IsWindowActive() != 0;
  for (int i = 0; i < in.padCount && i < kMaxPads; ++i) {
    PadRecord& p = in.pads[i];
    const int periodic = active && p.vibrationOn ? 1 : 0;
    const int constant = active && p.vibrationOn && p.vibrationPower > kConstantForceThreshold ? 1 : 0;
    SetEffect(p.periodicEffect, periodic, &p.periodicApplied, p.vibrationPower);
    SetEffect(p.constantEffect, constant, &p.constantApplied, p.vibrationPower);
  }
  return 0;
}

int TickPadVibration() {
  InputDeviceState& in = GetInputDeviceState();
  const uint32_t now = plat::timeGetTime();
  for (int i = 0; i < in.padCount && i < kMaxPads; ++i) {
    PadRecord& p = in.pads[i];
    if (!p.vibrationOn || p.vibrationLimit < 0) continue;
    // A clock that went back counts from now.
    const uint32_t step = now >= p.lastVibrationTick ? now - p.lastVibrationTick : 0;
    p.lastVibrationTick = now;
    const int64_t elapsed = static_cast<int64_t>(p.vibrationElapsed) + step;
    p.vibrationElapsed = elapsed > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(elapsed);
    if (p.vibrationElapsed >= p.vibrationLimit) StopPadVibration(i + 1);
  }
  ApplyJoypadVibration();
  return 0;
}

}  // namespace qor
