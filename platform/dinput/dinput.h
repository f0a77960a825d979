// A DirectInput-like device layer over the host: the system mouse, the
// system keyboard (256 bytes indexed by DirectInput key number, from the
// physical keys, so the layout never matters) and the attached pads as
// joysticks (axes with range and dead zone, four point-of-view hats, 32
// buttons, force-feedback effects played as rumble).
//
// Either interface version (7 or 8) can be asked for; both behave alike.
// Every call is counted and most can be told to fail once, so the
// framework's fall-back paths run in tests.
#pragma once

#include <cstdint>

#include "platform/kernel/com.h"
#include "platform/window/window.h"

namespace plat {

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1;
constexpr HRESULT DIERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);

constexpr uint32_t DISCL_EXCLUSIVE = 0x1;
constexpr uint32_t DISCL_NONEXCLUSIVE = 0x2;
constexpr uint32_t DISCL_FOREGROUND = 0x4;
constexpr uint32_t DISCL_BACKGROUND = 0x8;

constexpr uint32_t kPovCentred = 0xFFFFFFFFu;

// The 80-byte joystick state.
struct DiJoyState {
  int32_t lX = 0, lY = 0, lZ = 0, lRx = 0, lRy = 0, lRz = 0;
  int32_t rglSlider[2] = {};
  uint32_t rgdwPOV[4] = {kPovCentred, kPovCentred, kPovCentred, kPovCentred};
  uint8_t rgbButtons[32] = {};
};
static_assert(sizeof(DiJoyState) == 80, "joystick state layout");

struct DiMouseState {
  int32_t lX = 0, lY = 0, lZ = 0;  // motion since the last read; wheel in WHEEL_DELTA units
  uint8_t rgbButtons[4] = {};
};

enum class DiDeviceKind { Mouse, Keyboard, Joystick };
enum class DiDataFormat { Mouse, Keyboard, Joystick };
// Joystick axes, in the order of DiJoyState's first eight values.
enum DiAxis { kAxisX, kAxisY, kAxisZ, kAxisRx, kAxisRy, kAxisRz, kAxisSlider0, kAxisSlider1, kAxisCount };

struct DirectInput;
struct DiDevice;
struct DiEffect;

struct DiDeviceInstance {
  int padId = -1;                // which pad (see raw_input.h)
  char instanceName[128] = {};   // CP932
  char productName[128] = {};
};

// `version` 0x700 or 0x800. The object makes no devices and lists no pads
// until it is initialised.
HRESULT DirectInputCreate(int version, DirectInput** out);
// Binds the object to the program's module instance (not 0) for the
// version it was created for.
HRESULT DirectInputInitialize(DirectInput* input, uintptr_t instance, int version);
void DirectInputRelease(DirectInput* input);
// Calls `each` for every attached pad until it returns false.
void DirectInputEnumJoysticks(DirectInput* input, bool (*each)(const DiDeviceInstance* pad, void* user), void* user);

// `pad` names the joystick (ignored for the mouse and keyboard).
HRESULT DiCreateDevice(DirectInput* input, DiDeviceKind kind, const DiDeviceInstance* pad, DiDevice** out);
void DiReleaseDevice(DiDevice* device);
HRESULT DiSetDataFormat(DiDevice* device, DiDataFormat format);
HRESULT DiSetCooperativeLevel(DiDevice* device, Hwnd window, uint32_t flags);
HRESULT DiSetRange(DiDevice* device, DiAxis axis, int32_t minimum, int32_t maximum);
HRESULT DiSetDeadZone(DiDevice* device, DiAxis axis, int32_t tenThousandths);
HRESULT DiSetBufferSize(DiDevice* device, int32_t entries);
HRESULT DiAcquire(DiDevice* device);
HRESULT DiUnacquire(DiDevice* device);
HRESULT DiPoll(DiDevice* device);
// Keyboard: 256 bytes; mouse: sizeof(DiMouseState); joystick: sizeof(DiJoyState).
HRESULT DiGetDeviceState(DiDevice* device, uint32_t size, void* data);
// The notification stands for the device's event: it is signalled when the
// device's input changed since the last reset.
HRESULT DiSetEventNotification(DiDevice* device, bool on);
bool DiIsNotificationSignalled(DiDevice* device);
void DiResetNotification(DiDevice* device);
uint32_t DiGetCooperativeLevel(const DiDevice* device);
bool DiIsAcquired(const DiDevice* device);

// Force feedback: a periodic (sine) effect and a constant force, each with a
// magnitude 0..10,000 and a duration in ms (negative: until stopped).
enum class DiEffectKind { Periodic, ConstantForce };
HRESULT DiCreateEffect(DiDevice* device, DiEffectKind kind, int32_t magnitude, int32_t durationMs, DiEffect** out);
HRESULT DiSetEffectMagnitude(DiEffect* effect, int32_t magnitude);
HRESULT DiStartEffect(DiEffect* effect, uint32_t iterations);
HRESULT DiStopEffect(DiEffect* effect);
void DiReleaseEffect(DiEffect* effect);

// --- tests -------------------------------------------------------------------
enum class DiFailPoint {
  Create7, Create8, Initialize, CreateDevice, SetDataFormat, SetCooperativeLevel, SetProperty, Acquire,
  GetDeviceState, EventNotification, CreateEffect, Count
};
// The next call at that point for that kind of device fails (for Create7,
// Create8 and Initialize the kind does not matter).
void DiFailNext(DiFailPoint point, DiDeviceKind kind);
struct DiCounters {
  int created = 0, initialized = 0, released = 0;
  int devicesCreated = 0, devicesReleased = 0;
  int stateReads = 0, polls = 0, acquires = 0, unacquires = 0;
  int effectsCreated = 0, effectStarts = 0, effectStops = 0, effectsReleased = 0;
};
DiCounters GetDiCounters();
int LiveDiDeviceCount();
void ResetDinputStandIn();

}  // namespace plat
