// Physical keys (USB HID usages) to Windows virtual keys and DirectInput key
// numbers. A key keeps its codes whatever layout the machine uses. The
// punctuation keys carry the codes a Japanese 106-key keyboard gives for the
// key in that place (the framework's tables are written for it): the key
// right of P is "@" (VK 0xC0, DIK 0x91), the one right of L ";" (0xBB,
// 0x27), and so on.
#include <cstdint>

#include "platform/window/raw_input.h"
#include "platform/window/window_state.h"

namespace plat {

namespace {

struct HidCodes {
  uint16_t hid;
  uint8_t virtualKey;
  uint8_t dik;
};

constexpr HidCodes kHidTable[] = {
    // Letters A-Z: virtual keys are the letters; DirectInput numbers follow the rows.
    {4, 'A', 0x1E}, {5, 'B', 0x30}, {6, 'C', 0x2E}, {7, 'D', 0x20}, {8, 'E', 0x12}, {9, 'F', 0x21},
    {10, 'G', 0x22}, {11, 'H', 0x23}, {12, 'I', 0x17}, {13, 'J', 0x24}, {14, 'K', 0x25}, {15, 'L', 0x26},
    {16, 'M', 0x32}, {17, 'N', 0x31}, {18, 'O', 0x18}, {19, 'P', 0x19}, {20, 'Q', 0x10}, {21, 'R', 0x13},
    {22, 'S', 0x1F}, {23, 'T', 0x14}, {24, 'U', 0x16}, {25, 'V', 0x2F}, {26, 'W', 0x11}, {27, 'X', 0x2D},
    {28, 'Y', 0x15}, {29, 'Z', 0x2C},
    // Digits 1-9, 0.
    {30, '1', 0x02}, {31, '2', 0x03}, {32, '3', 0x04}, {33, '4', 0x05}, {34, '5', 0x06}, {35, '6', 0x07},
    {36, '7', 0x08}, {37, '8', 0x09}, {38, '9', 0x0A}, {39, '0', 0x0B},
    {40, 0x0D, 0x1C},  // Return
    {41, 0x1B, 0x01},  // Escape
    {42, 0x08, 0x0E},  // Backspace
    {43, 0x09, 0x0F},  // Tab
    {44, 0x20, 0x39},  // Space
    {45, 0xBD, 0x0C},  // "-"
    {46, 0xDE, 0x90},  // "^" (circumflex)
    {47, 0xC0, 0x91},  // "@"
    {48, 0xDB, 0x1A},  // "["
    {49, 0xDD, 0x1B},  // "]" (the key left of Return)
    {50, 0xDD, 0x1B},  // "]" (the same place on keyboards that report it as non-US #)
    {51, 0xBB, 0x27},  // ";"
    {52, 0xBA, 0x92},  // ":"
    {53, 0xF3, 0x29},  // half-width/full-width
    {54, 0xBC, 0x33},  // ","
    {55, 0xBE, 0x34},  // "."
    {56, 0xBF, 0x35},  // "/"
    {57, 0x14, 0x3A},  // Caps Lock
    {58, 0x70, 0x3B}, {59, 0x71, 0x3C}, {60, 0x72, 0x3D}, {61, 0x73, 0x3E}, {62, 0x74, 0x3F},
    {63, 0x75, 0x40}, {64, 0x76, 0x41}, {65, 0x77, 0x42}, {66, 0x78, 0x43}, {67, 0x79, 0x44},
    {68, 0x7A, 0x57}, {69, 0x7B, 0x58},  // F1-F12
    {70, 0x2C, 0xB7},  // Print Screen
    {71, 0x91, 0x46},  // Scroll Lock
    {72, 0x13, 0xC5},  // Pause
    {73, 0x2D, 0xD2},  // Insert
    {74, 0x24, 0xC7},  // Home
    {75, 0x21, 0xC9},  // Page Up
    {76, 0x2E, 0xD3},  // Delete
    {77, 0x23, 0xCF},  // End
    {78, 0x22, 0xD1},  // Page Down
    {79, 0x27, 0xCD},  // Right
    {80, 0x25, 0xCB},  // Left
    {81, 0x28, 0xD0},  // Down
    {82, 0x26, 0xC8},  // Up
    {83, 0x90, 0x45},  // Num Lock
    {84, 0x6F, 0xB5},  // numpad /
    {85, 0x6A, 0x37},  // numpad *
    {86, 0x6D, 0x4A},  // numpad -
    {87, 0x6B, 0x4E},  // numpad +
    {88, 0x0D, 0x9C},  // numpad Enter
    {89, 0x61, 0x4F}, {90, 0x62, 0x50}, {91, 0x63, 0x51}, {92, 0x64, 0x4B}, {93, 0x65, 0x4C},
    {94, 0x66, 0x4D}, {95, 0x67, 0x47}, {96, 0x68, 0x48}, {97, 0x69, 0x49},  // numpad 1-9
    {98, 0x60, 0x52},  // numpad 0
    {99, 0x6E, 0x53},  // numpad .
    {100, 0xE2, 0x2B},  // the extra key of ISO keyboards, here "\"
    {101, 0x5D, 0xDD},  // Application (menu)
    {103, 0, 0x8D},     // numpad =
    {104, 0x7C, 0x64}, {105, 0x7D, 0x65}, {106, 0x7E, 0x66},  // F13-F15
    {133, 0x6C, 0xB3},  // numpad ,
    {135, 0xE2, 0x2B},  // "\" (ro)
    {136, 0x15, 0x70},  // katakana/hiragana
    {137, 0xDC, 0x7D},  // yen
    {138, 0x1C, 0x79},  // convert
    {139, 0x1D, 0x7B},  // no convert
    {224, 0xA2, 0x1D},  // left Ctrl
    {225, 0xA0, 0x2A},  // left Shift
    {226, 0xA4, 0x38},  // left Alt
    {227, 0x5B, 0xDB},  // left Windows
    {228, 0xA3, 0x9D},  // right Ctrl
    {229, 0xA1, 0x36},  // right Shift
    {230, 0xA5, 0xB8},  // right Alt
    {231, 0x5C, 0xDC},  // right Windows
};

constexpr int kTableSize = 256;

struct HidLookup {
  KeyCodes codes[kTableSize] = {};
  constexpr HidLookup() {
    for (const HidCodes& e : kHidTable) codes[e.hid] = KeyCodes{e.virtualKey, e.dik};
  }
};
constexpr HidLookup kLookup;

}  // namespace

KeyCodes KeyCodesFromHid(int hidUsage) {
  if (hidUsage < 0 || hidUsage >= kTableSize) return KeyCodes{};
  return kLookup.codes[hidUsage];
}

bool IsHidKeyDown(int hidUsage) {
  if (hidUsage < 0 || hidUsage >= hid::Count) return false;
  return win::State().intake.keys[hidUsage];
}

uint32_t KeyChangeCount() { return win::State().intake.keyChanges; }

void ReadDikKeyboard(uint8_t* keys256) {
  for (int i = 0; i < 256; ++i) keys256[i] = 0;
  const bool* keys = win::State().intake.keys;
  for (int usage = 0; usage < kTableSize; ++usage) {
    if (!keys[usage]) continue;
    const uint8_t dik = kLookup.codes[usage].dik;
    if (dik != 0) keys256[dik] = 0x80;
  }
}

bool GetKeyboardState(uint8_t* keys256) {
  if (keys256 == nullptr) return false;
  for (int i = 0; i < 256; ++i) keys256[i] = 0;
  const bool* keys = win::State().intake.takenKeys;
  for (int usage = 0; usage < kTableSize; ++usage) {
    if (!keys[usage]) continue;
    const uint8_t vk = kLookup.codes[usage].virtualKey;
    if (vk == 0) continue;
    keys256[vk] = 0x80;
    // The sided modifier keys also hold their common key down.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) keys256[VK_SHIFT] = 0x80;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) keys256[VK_CONTROL] = 0x80;
    if (vk == VK_LMENU || vk == VK_RMENU) keys256[VK_MENU] = 0x80;
  }
  return true;
}

int16_t GetKeyState(int virtualKey) {
  uint8_t keys[256];
  GetKeyboardState(keys);
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return (keys[virtualKey] & 0x80) ? static_cast<int16_t>(-32768) : 0;
}

}  // namespace plat
