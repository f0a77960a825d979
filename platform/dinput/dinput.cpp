#include "platform/dinput/dinput.h"

#include <cstring>
#include <vector>

#include "platform/host/host.h"
#include "platform/kernel/text_encoding.h"
#include "platform/window/raw_input.h"

namespace plat {

struct DirectInput {
  int version = 0;
  bool initialized = false;
};

struct DiDevice {
  DiDeviceKind kind = DiDeviceKind::Mouse;
  int padId = -1;
  bool formatSet = false;
  bool acquired = false;
  uint32_t cooperation = 0;
  int32_t rangeMin[kAxisCount] = {};
  int32_t rangeMax[kAxisCount] = {};
  int32_t deadZone[kAxisCount] = {};
  int32_t bufferSize = 0;
  bool notification = false;
  uint32_t seenKeyChanges = 0;
  HostPadState lastPad;  // what the last notification check saw
  bool padSeen = false;
  std::vector<DiEffect*> effects;
};

struct DiEffect {
  DiDevice* device = nullptr;
  DiEffectKind kind = DiEffectKind::Periodic;
  int32_t magnitude = 0;
  int32_t durationMs = -1;
  bool playing = false;
};

namespace {

constexpr int kKinds = 3;
constexpr int kMaxRange = 0x7FFFFFFF;

struct DinputStandIn {
  std::vector<DirectInput*> inputs;
  std::vector<DiDevice*> devices;
  std::vector<DiEffect*> effects;
  bool failNext[static_cast<int>(DiFailPoint::Count)][kKinds] = {};
  DiCounters counters;
};
DinputStandIn g_di;

bool TakeFailure(DiFailPoint point, DiDeviceKind kind) {
  bool& f = g_di.failNext[static_cast<int>(point)][static_cast<int>(kind)];
  const bool fail = f;
  f = false;
  return fail;
}

bool IsLive(const DiDevice* device) {
  for (const DiDevice* d : g_di.devices) {
    if (d == device) return true;
  }
  return false;
}

// Where the device's pad is in the host's list now (pad changes the host
// reported are taken first), or -1 when it is gone.
int HostIndex(const DiDevice* device) {
  CollectHostEvents();
  return PadIndexOfId(device->padId);
}

// A raw host axis (-32768..32767) in the device's range, with its dead zone:
// inside it the centre, outside it the rest of the travel spread over the
// whole half-range.
int32_t ScaleAxis(int raw, int32_t minimum, int32_t maximum, int32_t deadZone) {
  double t = raw < 0 ? raw / 32768.0 : raw / 32767.0;
  const double dz = deadZone / 10000.0;
  const double mag = t < 0 ? -t : t;
  if (mag <= dz) t = 0;
  else t = (t < 0 ? -1 : 1) * (mag - dz) / (1.0 - dz);
  const double centre = (static_cast<double>(minimum) + maximum) / 2.0;
  const double half = (static_cast<double>(maximum) - minimum) / 2.0;
  double v = centre + t * half;
  if (v < minimum) v = minimum;
  if (v > maximum) v = maximum;
  return static_cast<int32_t>(v);
}

uint32_t PovFromHat(int bits) {
  static const uint32_t kAngles[16] = {
      kPovCentred, 0, 9000, 4500, 18000, kPovCentred, 13500, kPovCentred,
      27000, 31500, kPovCentred, kPovCentred, 22500, kPovCentred, kPovCentred, kPovCentred,
  };
  return kAngles[bits & 15];
}

void FillJoyState(const DiDevice* d, const HostPadState& pad, DiJoyState* out) {
  *out = DiJoyState{};
  int32_t* axes[kAxisCount] = {&out->lX, &out->lY, &out->lZ, &out->lRx, &out->lRy, &out->lRz,
                               &out->rglSlider[0], &out->rglSlider[1]};
  for (int a = 0; a < kAxisCount; ++a) *axes[a] = ScaleAxis(pad.axes[a], d->rangeMin[a], d->rangeMax[a], d->deadZone[a]);
  for (int h = 0; h < 4; ++h) out->rgdwPOV[h] = PovFromHat(pad.hats[h]);
  for (int b = 0; b < 32; ++b) out->rgbButtons[b] = pad.buttons[b] ? 0x80 : 0;
}

void ApplyRumble(DiDevice* d) {
  const int index = HostIndex(d);
  if (index < 0) return;
  int low = 0, high = 0, duration = 0;
  for (const DiEffect* e : d->effects) {
    if (!e->playing) continue;
    const int strength = static_cast<int>(static_cast<int64_t>(e->magnitude) * 65535 / 10000);
    if (e->kind == DiEffectKind::Periodic) low = strength;
    else high = strength;
    const int ms = e->durationMs < 0 ? kMaxRange : e->durationMs;
    if (ms > duration) duration = ms;
  }
  HostRumblePad(index, low, high, (low == 0 && high == 0) ? 0 : duration);
}

}  // namespace

HRESULT DirectInputCreate(int version, DirectInput** out) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (version != 0x700 && version != 0x800) return DIERR_INVALIDPARAM;
  if (TakeFailure(version == 0x700 ? DiFailPoint::Create7 : DiFailPoint::Create8, DiDeviceKind::Mouse)) {
    return DIERR_DEVICENOTREG;
  }
  auto* input = new DirectInput;
  input->version = version;
  g_di.inputs.push_back(input);
  ++g_di.counters.created;
  *out = input;
  return DI_OK;
}

HRESULT DirectInputInitialize(DirectInput* input, uintptr_t instance, int version) {
  if (input == nullptr || instance == 0 || version != input->version) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::Initialize, DiDeviceKind::Mouse)) return DIERR_GENERIC;
  input->initialized = true;
  ++g_di.counters.initialized;
  return DI_OK;
}

void DirectInputRelease(DirectInput* input) {
  for (size_t i = 0; i < g_di.inputs.size(); ++i) {
    if (g_di.inputs[i] == input) {
      g_di.inputs.erase(g_di.inputs.begin() + static_cast<long>(i));
      delete input;
      ++g_di.counters.released;
      return;
    }
  }
}

void DirectInputEnumJoysticks(DirectInput* input, bool (*each)(const DiDeviceInstance* pad, void* user), void* user) {
  if (input == nullptr || !input->initialized || each == nullptr) return;
  const int count = HostPadCount();
  for (int i = 0; i < count; ++i) {
    DiDeviceInstance pad;
    pad.padId = PadIdAt(i);
    HostPadInfo info;
    if (pad.padId < 0 || !HostGetPadInfo(i, &info)) continue;
    // Names come as UTF-8; the framework logs CP932.
    if (Utf8ToCp932(info.name, pad.productName, sizeof pad.productName) < 0) {
      std::strncpy(pad.productName, "Joypad", sizeof pad.productName - 1);
    }
    std::memcpy(pad.instanceName, pad.productName, sizeof pad.instanceName);
    if (!each(&pad, user)) return;
  }
}

HRESULT DiCreateDevice(DirectInput* input, DiDeviceKind kind, const DiDeviceInstance* pad, DiDevice** out) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (input == nullptr || !input->initialized) return DIERR_NOTINITIALIZED;
  if (TakeFailure(DiFailPoint::CreateDevice, kind)) return DIERR_DEVICENOTREG;
  if (kind == DiDeviceKind::Joystick && (pad == nullptr || PadIndexOfId(pad->padId) < 0)) return DIERR_DEVICENOTREG;
  auto* d = new DiDevice;
  d->kind = kind;
  d->padId = kind == DiDeviceKind::Joystick ? pad->padId : -1;
  // Joystick axes report 0..65535 until a range is set.
  for (int a = 0; a < kAxisCount; ++a) d->rangeMax[a] = 65535;
  d->seenKeyChanges = KeyChangeCount();
  g_di.devices.push_back(d);
  ++g_di.counters.devicesCreated;
  *out = d;
  return DI_OK;
}

void DiReleaseDevice(DiDevice* device) {
  if (!IsLive(device)) return;
  for (DiEffect* e : device->effects) {
    e->device = nullptr;  // effects released later find no device
  }
  for (size_t i = 0; i < g_di.devices.size(); ++i) {
    if (g_di.devices[i] == device) g_di.devices.erase(g_di.devices.begin() + static_cast<long>(i));
  }
  delete device;
  ++g_di.counters.devicesReleased;
}

HRESULT DiSetDataFormat(DiDevice* device, DiDataFormat format) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::SetDataFormat, device->kind)) return DIERR_GENERIC;
  const bool fits = (device->kind == DiDeviceKind::Mouse && format == DiDataFormat::Mouse) ||
                    (device->kind == DiDeviceKind::Keyboard && format == DiDataFormat::Keyboard) ||
                    (device->kind == DiDeviceKind::Joystick && format == DiDataFormat::Joystick);
  if (!fits) return DIERR_INVALIDPARAM;
  device->formatSet = true;
  return DI_OK;
}

HRESULT DiSetCooperativeLevel(DiDevice* device, Hwnd window, uint32_t flags) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::SetCooperativeLevel, device->kind)) return DIERR_GENERIC;
  const bool oneMode = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
  const bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
  if (!oneMode || !oneScope || !IsWindow(window)) return DIERR_INVALIDPARAM;
  device->cooperation = flags;
  return DI_OK;
}

HRESULT DiSetRange(DiDevice* device, DiAxis axis, int32_t minimum, int32_t maximum) {
  if (!IsLive(device) || device->kind != DiDeviceKind::Joystick || axis < 0 || axis >= kAxisCount) {
    return DIERR_INVALIDPARAM;
  }
  if (TakeFailure(DiFailPoint::SetProperty, device->kind)) return DIERR_UNSUPPORTED;
  if (minimum >= maximum) return DIERR_INVALIDPARAM;
  device->rangeMin[axis] = minimum;
  device->rangeMax[axis] = maximum;
  return DI_OK;
}

HRESULT DiSetDeadZone(DiDevice* device, DiAxis axis, int32_t tenThousandths) {
  if (!IsLive(device) || device->kind != DiDeviceKind::Joystick || axis < 0 || axis >= kAxisCount) {
    return DIERR_INVALIDPARAM;
  }
  if (TakeFailure(DiFailPoint::SetProperty, device->kind)) return DIERR_UNSUPPORTED;
  if (tenThousandths < 0 || tenThousandths > 10000) return DIERR_INVALIDPARAM;
  device->deadZone[axis] = tenThousandths;
  return DI_OK;
}

HRESULT DiSetBufferSize(DiDevice* device, int32_t entries) {
  if (!IsLive(device) || entries < 0) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::SetProperty, device->kind)) return DIERR_UNSUPPORTED;
  device->bufferSize = entries;
  return DI_OK;
}

HRESULT DiAcquire(DiDevice* device) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  ++g_di.counters.acquires;
  if (TakeFailure(DiFailPoint::Acquire, device->kind)) return DIERR_GENERIC;
  if (!device->formatSet) return DIERR_INVALIDPARAM;
  if (device->kind == DiDeviceKind::Joystick && HostIndex(device) < 0) return DIERR_INPUTLOST;
  device->acquired = true;
  return DI_OK;
}

HRESULT DiUnacquire(DiDevice* device) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  ++g_di.counters.unacquires;
  if (!device->acquired) return DI_NOEFFECT;
  device->acquired = false;
  return DI_OK;
}

HRESULT DiPoll(DiDevice* device) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  ++g_di.counters.polls;
  if (!device->acquired) return DIERR_NOTACQUIRED;
  if (device->kind == DiDeviceKind::Joystick && HostIndex(device) < 0) {
    device->acquired = false;
    return DIERR_INPUTLOST;
  }
  return DI_OK;
}

HRESULT DiGetDeviceState(DiDevice* device, uint32_t size, void* data) {
  if (!IsLive(device) || data == nullptr) return DIERR_INVALIDPARAM;
  ++g_di.counters.stateReads;
  if (TakeFailure(DiFailPoint::GetDeviceState, device->kind)) {
    device->acquired = false;
    return DIERR_INPUTLOST;
  }
  if (!device->acquired) return DIERR_NOTACQUIRED;
  CollectHostEvents();
  switch (device->kind) {
    case DiDeviceKind::Keyboard:
      if (size != 256) return DIERR_INVALIDPARAM;
      ReadDikKeyboard(static_cast<uint8_t*>(data));
      return DI_OK;
    case DiDeviceKind::Mouse: {
      if (size != sizeof(DiMouseState)) return DIERR_INVALIDPARAM;
      const RawMouse m = TakeMouseMotion();
      DiMouseState s;
      s.lX = m.dx;
      s.lY = m.dy;
      s.lZ = m.wheel;
      for (int b = 0; b < 3; ++b) s.rgbButtons[b] = m.buttons[b] ? 0x80 : 0;
      std::memcpy(data, &s, sizeof s);
      return DI_OK;
    }
    case DiDeviceKind::Joystick: {
      if (size != sizeof(DiJoyState)) return DIERR_INVALIDPARAM;
      HostPadState pad;
      const int index = HostIndex(device);
      if (index < 0 || !HostGetPadState(index, &pad)) {
        device->acquired = false;
        return DIERR_INPUTLOST;
      }
      DiJoyState s;
      FillJoyState(device, pad, &s);
      std::memcpy(data, &s, sizeof s);
      return DI_OK;
    }
  }
  return DIERR_GENERIC;
}

HRESULT DiSetEventNotification(DiDevice* device, bool on) {
  if (!IsLive(device)) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::EventNotification, device->kind)) return DIERR_GENERIC;
  device->notification = on;
  return DI_OK;
}

bool DiIsNotificationSignalled(DiDevice* device) {
  if (!IsLive(device) || !device->notification) return false;
  CollectHostEvents();
  if (device->kind == DiDeviceKind::Keyboard) return KeyChangeCount() != device->seenKeyChanges;
  if (device->kind == DiDeviceKind::Joystick) {
    HostPadState pad;
    const int index = HostIndex(device);
    if (index < 0 || !HostGetPadState(index, &pad)) return true;  // a pad that went is a change
    return !device->padSeen || std::memcmp(&pad, &device->lastPad, sizeof pad) != 0;
  }
  return false;
}

void DiResetNotification(DiDevice* device) {
  if (!IsLive(device)) return;
  device->seenKeyChanges = KeyChangeCount();
  if (device->kind == DiDeviceKind::Joystick) {
    const int index = HostIndex(device);
    device->padSeen = index >= 0 && HostGetPadState(index, &device->lastPad);
  }
}

uint32_t DiGetCooperativeLevel(const DiDevice* device) { return IsLive(device) ? device->cooperation : 0; }
bool DiIsAcquired(const DiDevice* device) { return IsLive(device) && device->acquired; }

HRESULT DiCreateEffect(DiDevice* device, DiEffectKind kind, int32_t magnitude, int32_t durationMs, DiEffect** out) {
  if (out == nullptr) return DIERR_INVALIDPARAM;
  *out = nullptr;
  if (!IsLive(device) || device->kind != DiDeviceKind::Joystick) return DIERR_INVALIDPARAM;
  if (TakeFailure(DiFailPoint::CreateEffect, device->kind)) return DIERR_GENERIC;
  HostPadInfo info;
  const int index = HostIndex(device);
  if (index < 0 || !HostGetPadInfo(index, &info) || !info.rumble) return DIERR_UNSUPPORTED;
  auto* e = new DiEffect;
  e->device = device;
  e->kind = kind;
  e->magnitude = magnitude < 0 ? 0 : magnitude > 10000 ? 10000 : magnitude;
  e->durationMs = durationMs;
  device->effects.push_back(e);
  g_di.effects.push_back(e);
  ++g_di.counters.effectsCreated;
  *out = e;
  return DI_OK;
}

HRESULT DiSetEffectMagnitude(DiEffect* effect, int32_t magnitude) {
  if (effect == nullptr || effect->device == nullptr) return DIERR_INVALIDPARAM;
  effect->magnitude = magnitude < 0 ? 0 : magnitude > 10000 ? 10000 : magnitude;
  if (effect->playing) ApplyRumble(effect->device);
  return DI_OK;
}

HRESULT DiStartEffect(DiEffect* effect, uint32_t /*iterations*/) {
  if (effect == nullptr || effect->device == nullptr) return DIERR_INVALIDPARAM;
  ++g_di.counters.effectStarts;
  if (!effect->device->acquired) return DIERR_NOTACQUIRED;
  effect->playing = true;
  ApplyRumble(effect->device);
  return DI_OK;
}

HRESULT DiStopEffect(DiEffect* effect) {
  if (effect == nullptr || effect->device == nullptr) return DIERR_INVALIDPARAM;
  ++g_di.counters.effectStops;
  if (!effect->playing) return DI_OK;
  effect->playing = false;
  ApplyRumble(effect->device);
  return DI_OK;
}

void DiReleaseEffect(DiEffect* effect) {
  bool live = false;
  for (size_t i = 0; i < g_di.effects.size(); ++i) {
    if (g_di.effects[i] == effect) {
      g_di.effects.erase(g_di.effects.begin() + static_cast<long>(i));
      live = true;
      break;
    }
  }
  if (!live) return;
  if (effect->device != nullptr) {
    auto& list = effect->device->effects;
    for (size_t i = 0; i < list.size(); ++i) {
      if (list[i] == effect) list.erase(list.begin() + static_cast<long>(i));
    }
    if (effect->playing) {
      effect->playing = false;
      ApplyRumble(effect->device);
    }
  }
  delete effect;
  ++g_di.counters.effectsReleased;
}

void DiFailNext(DiFailPoint point, DiDeviceKind kind) {
  g_di.failNext[static_cast<int>(point)][static_cast<int>(kind)] = true;
}

DiCounters GetDiCounters() { return g_di.counters; }
int LiveDiDeviceCount() { return static_cast<int>(g_di.devices.size()); }

void ResetDinputStandIn() {
  for (DiEffect* e : g_di.effects) delete e;
  for (DiDevice* d : g_di.devices) delete d;
  for (DirectInput* i : g_di.inputs) delete i;
  g_di = DinputStandIn{};
}

}  // namespace plat
