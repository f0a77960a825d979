// Input start and end, the keyboard state, key queries and the pad bits.
#include "framework/core/input/input_devices.h"

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "platform/kernel/mm_timer.h"
#include "platform/kernel/system_query.h"
#include "platform/kernel/thread_id.h"
#include "platform/window/window.h"

namespace qor {

namespace {

InputDeviceState g_input;

constexpr uint16_t kGroupMarker = 0xFFFE;
constexpr uint16_t kTableEnd = 0xFFFF;

// Windows virtual key and the DirectInput key number of the same key on the
// Japanese 106-key layout. Group 1 (up to the marker) also overrides the
// DirectInput state on the main thread; without DirectInput both groups
// make the whole state. The arrow keys are not in the table.
constexpr uint16_t kVirtualKeyTable[][2] = {
    {'A', 0x1E}, {'B', 0x30}, {'C', 0x2E}, {'D', 0x20}, {'E', 0x12}, {'F', 0x21}, {'G', 0x22}, {'H', 0x23},
    {'I', 0x17}, {'J', 0x24}, {'K', 0x25}, {'L', 0x26}, {'M', 0x32}, {'N', 0x31}, {'O', 0x18}, {'P', 0x19},
    {'Q', 0x10}, {'R', 0x13}, {'S', 0x1F}, {'T', 0x14}, {'U', 0x16}, {'V', 0x2F}, {'W', 0x11}, {'X', 0x2D},
    {'Y', 0x15}, {'Z', 0x2C},
    {'0', 0x0B}, {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07}, {'7', 0x08},
    {'8', 0x09}, {'9', 0x0A},
    {0xBA, 0x92}, {0xBB, 0x27}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34}, {0xBF, 0x35}, {0xC0, 0x91},
    {0xDB, 0x1A}, {0xDC, 0x7D}, {0xDD, 0x1B}, {0xE2, 0x2B},
    {0x2E, 0xD3}, {0x1B, 0x01}, {0x20, 0x39}, {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C},
    {kGroupMarker, 0},
    {0x0D, 0x9C}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x9D}, {0x21, 0xC9}, {0x22, 0xD1},
    {0x23, 0xCF}, {0x24, 0xC7}, {0x2D, 0xD2}, {0xA4, 0x38}, {0xA5, 0xB8}, {0x91, 0x46}, {0x14, 0x3A},
    {0x13, 0xC5},
    {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40}, {0x76, 0x41},
    {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58},
    {kTableEnd, 0},
};

// The default key-to-pad map of pad 1: bit, then up to two keys.
constexpr int kDefaultPadKeys[][3] = {
    {0, 0x50, 0xD0}, {1, 0x4B, 0xCB}, {2, 0x4D, 0xCD}, {3, 0x48, 0xC8}, {4, 0x2C, -1},
    {5, 0x2D, -1},   {6, 0x2E, -1},   {7, 0x1E, -1},   {8, 0x1F, -1},   {9, 0x20, -1},
    {10, 0x10, -1},  {11, 0x11, -1},  {12, 0x01, -1},  {13, 0x39, -1},
};

// Copies key bytes from the window system's keyboard state: group 1 only,
// or both groups.
void FillFromVirtualKeys(bool bothGroups) {
  uint8_t vk[256];
  plat::GetKeyboardState(vk);
  for (const auto& pair : kVirtualKeyTable) {
    if (pair[0] == kTableEnd) break;
    if (pair[0] == kGroupMarker) {
      if (!bothGroups) break;
      continue;
    }
    g_input.keys[pair[1]] = vk[pair[0] & 0xFF];
  }
}

void FillKeyMap() {
  for (auto& pad : g_input.keyMap) {
    for (auto& bit : pad) {
      // Every slot says "no key"; a slot left 0 would name key number 0.
      for (int32_t& key : bit) key = -1;
    }
  }
  for (const auto& entry : kDefaultPadKeys) {
    g_input.keyMap[0][entry[0]][0] = entry[1];
    g_input.keyMap[0][entry[0]][1] = entry[2];
  }
}

// DirectInput 7, else 8: the version and its log texts.
struct DirectInputTry {
  int version;
  const char* asking;
  const char* notObtained;
};
constexpr DirectInputTry kDirectInputTries[] = {
    {0x700, "DirectInput7 の取得中... ", "取得に失敗。\n"},
    {0x800, "DirectInput8 の取得を試みます...", "取得に失敗。"},
};

// Creates the object, then initialises it for the program's module; an
// object that does not initialise is let go and the next version tried.
bool StartDirectInput() {
  for (const DirectInputTry& t : kDirectInputTries) {
    LogOutput(t.asking);
    plat::HRESULT hr = plat::DirectInputCreate(t.version, &g_input.input);
    if (hr >= 0) {
      LogOutput("成功\n");
      LogOutput("引き続き初期化処理... ");
      hr = plat::DirectInputInitialize(g_input.input, plat::GetModuleHandle(), t.version);
      if (hr >= 0) return true;
      plat::DirectInputRelease(g_input.input);
      g_input.input = nullptr;
      LogOutput("初期化に失敗。");
    } else {
      LogOutput(t.notObtained);
    }
    LogPrintf("エラーコード 0x%x", static_cast<unsigned>(hr));
  }
  return false;
}

void StartMouse(plat::Hwnd window) {
  LogOutput("マウスデバイスの初期化... ");
  if (plat::DiCreateDevice(g_input.input, plat::DiDeviceKind::Mouse, nullptr, &g_input.mouse) < 0) {
    FatalError("マウスデバイスの取得に失敗しました");
  }
  if (plat::DiSetDataFormat(g_input.mouse, plat::DiDataFormat::Mouse) < 0) {
    FatalError("マウスデバイスのデータ形式の設定に失敗しました");
  }
  if (plat::DiSetCooperativeLevel(g_input.mouse, window, plat::DISCL_NONEXCLUSIVE | plat::DISCL_BACKGROUND) < 0) {
    FatalError("マウスデバイスの協調レベルの設定に失敗しました");
  }
}

void StartKeyboard(plat::Hwnd window) {
  LogOutput("キーボードデバイスの初期化... ");
  if (plat::DiCreateDevice(g_input.input, plat::DiDeviceKind::Keyboard, nullptr, &g_input.keyboard) < 0) {
    FatalError("キーボードデバイスの取得に失敗しました");
  }
  if (plat::DiSetDataFormat(g_input.keyboard, plat::DiDataFormat::Keyboard) < 0) {
    FatalError("キーボードデバイスのデータ形式の設定に失敗しました");
  }
  if (plat::DiSetCooperativeLevel(g_input.keyboard, window, plat::DISCL_NONEXCLUSIVE | plat::DISCL_BACKGROUND) < 0) {
    FatalError("キーボードデバイスの協調レベルの設定に失敗しました");
  }
  if (plat::DiSetBufferSize(g_input.keyboard, 100) < 0) LogOutput("キーボードのプロパティ設定に失敗しました\n");
  if (plat::DiSetEventNotification(g_input.keyboard, true) < 0) {
    LogOutput("キーボードイベントのセットアップが失敗しました\n");
  } else {
    g_input.keyboardNotification = 1;
  }
  plat::DiAcquire(g_input.keyboard);
  plat::DiAcquire(g_input.mouse);
  LogOutput("初期化成功\n");
  g_input.lastKeyRefresh = plat::timeGetTime();
  LogOutput("DirectInput 関連の初期化は正常に終了しました\n");
}

bool OnMainThread() { return plat::GetCurrentThreadId() == GetMainWindowState().mainThread; }

}  // namespace

InputDeviceState& GetInputDeviceState() { return g_input; }
void ResetInputDevices() { g_input = InputDeviceState{}; }

int InitInputDevices() {
  g_input = InputDeviceState{};
  LogOutput("DirectInput関係初期化処理\n");
  IncreaseLogIndent();
  if (!StartDirectInput()) {
    LogOutput("DirectInput を使用しません。\n");
    g_input.input = nullptr;
    g_input.directInputUnavailable = 1;
    g_input.winmmMode = 1;
    InitWinmmJoypads();
    LogOutput("入力関連の初期化をしました\n");
  } else {
    const plat::Hwnd window = GetFrameWindowHandle();
    LogOutput("初期化成功\n");
    plat::BringWindowToTop(window);
    PumpMessages();
    InitJoypads();
    StartMouse(window);
    StartKeyboard(window);
  }
  FillKeyMap();
  g_input.started = 1;
  DecreaseLogIndent();
  return 0;
}

int EndInputDevices() {
  ReleaseJoypads();
  if (g_input.keyboard != nullptr) {
    plat::DiUnacquire(g_input.keyboard);
    plat::DiReleaseDevice(g_input.keyboard);
  }
  if (g_input.mouse != nullptr) {
    plat::DiUnacquire(g_input.mouse);
    plat::DiReleaseDevice(g_input.mouse);
  }
  if (g_input.input != nullptr) plat::DirectInputRelease(g_input.input);
  g_input.keyboard = g_input.mouse = nullptr;
  g_input.input = nullptr;
  g_input.keyboardNotification = 0;
  g_input.started = 0;
  LogOutput("DirectInput 関連の終了処理... 完了\n");
  return 0;
}

int RefreshKeyboardState() {
  const uint32_t now = plat::timeGetTime();
  if (g_input.keyboard != nullptr) {
    const bool signalled = g_input.keyboardNotification && plat::DiIsNotificationSignalled(g_input.keyboard);
    if (g_input.keysRefreshed && now == g_input.lastKeyRefresh && !signalled) return 0;
    if (PumpMessages() != 0) return 0;
    uint8_t state[256];
    plat::HRESULT hr = plat::DiGetDeviceState(g_input.keyboard, sizeof state, state);
    if (hr < 0) {
      plat::DiAcquire(g_input.keyboard);
      hr = plat::DiGetDeviceState(g_input.keyboard, sizeof state, state);
    }
    if (hr >= 0) {
      for (int i = 0; i < 256; ++i) g_input.keys[i] = state[i];
    }
    if (g_input.keyboardNotification) plat::DiResetNotification(g_input.keyboard);
    g_input.lastKeyRefresh = now;
    g_input.keysRefreshed = 1;
    if (OnMainThread()) FillFromVirtualKeys(false);
    return 1;
  }
  if (g_input.keysRefreshed && now == g_input.lastKeyRefresh) return 0;
  if (PumpMessages() != 0) return 0;
  for (uint8_t& k : g_input.keys) k = 0;
  FillFromVirtualKeys(true);
  g_input.lastKeyRefresh = now;
  g_input.keysRefreshed = 1;
  return 1;
}

int QueryKeyPressed(int code) {
  WaitWhileInactive();
  if (!g_input.started) {
    if (IsWindowClosing()) return 0;
    return InitInputDevices();
  }
  // Only key numbers 0..255 exist; anything else is never held.
  if (code < 0 || code > 255) return 0;
  RefreshKeyboardState();
  return (g_input.keys[code] & 0x80) ? 1 : 0;
}

int ReadPadInputBits(int value) {
  const bool withKeys = (value & kPadKeyFlag) != 0;
  // Wide enough for the lowest pad number minus one.
  const int64_t index = static_cast<int64_t>(value & ~kPadKeyFlag) - 1;
  WaitWhileInactive();
  if (!g_input.started) {
    if (IsWindowClosing()) return 0;
    InitInputDevices();
  }
  if (g_input.padCount > 0 && !withKeys && (index < 0 || index >= g_input.padCount)) return 0;
  int bits = 0;
  if (index >= 0 && index < g_input.padCount) {
    const int pad = static_cast<int>(index);
    RefreshJoypadState(pad);
    const plat::DiJoyState& s = g_input.pads[pad].state;
    if (s.lY > 0) bits |= 0x1;
    if (s.lX < 0) bits |= 0x2;
    if (s.lX > 0) bits |= 0x4;
    if (s.lY < 0) bits |= 0x8;
    for (int b = 0; b < 24; ++b) {
      if (s.rgbButtons[b] & 0x80) bits |= 0x10 << b;
    }
  }
  if (withKeys) {
    // Pad number 0 reads pad 1's keys; numbers past the map have none.
    const int mapIndex = index < 0 ? 0 : static_cast<int>(index);
    if (index >= -1 && mapIndex < kMaxPads) {
      RefreshKeyboardState();
      for (int bit = 0; bit < kPadMapBits; ++bit) {
        for (int slot = 0; slot < kPadMapKeys; ++slot) {
          const int32_t code = g_input.keyMap[mapIndex][bit][slot];
          if (code >= 0 && code <= 255 && (g_input.keys[code] & 0x80)) bits |= static_cast<int>(1u << bit);
        }
      }
    }
  }
  return bits;
}

int ReapplyInputCooperation() {
  const plat::Hwnd window = GetFrameWindowHandle();
  const uint32_t level = (IsWindowActive() ? plat::DISCL_EXCLUSIVE : plat::DISCL_NONEXCLUSIVE) | plat::DISCL_BACKGROUND;
  for (int i = 0; i < g_input.padCount; ++i) {
    plat::DiDevice* d = g_input.pads[i].device;
    if (d == nullptr) continue;
    plat::DiUnacquire(d);
    plat::DiSetCooperativeLevel(d, window, level);
    plat::DiAcquire(d);
  }
  if (g_input.keyboard != nullptr) {
    plat::DiUnacquire(g_input.keyboard);
    plat::DiAcquire(g_input.keyboard);
  }
  return 0;
}

}  // namespace qor
