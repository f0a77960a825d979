// config.ini: a 202-byte binary file with the window mode, the camera option
// and the ten button masks between two filler tables.
#pragma once

#include <cstdint>

namespace orb {

constexpr int kConfigFileSize = 202;

struct ConfigState {
  uint8_t WindowedMode;     // 1 windowed, 0 full screen
  uint8_t CameraFollowOne;  // 1 follow one player, 0 the midpoint of both
  uint8_t ConfigFillerBytes[32];
  uint32_t ConfigFillerWords[32];
};

extern ConfigState config;

// Fillers at their fixed contents, windowed, midpoint camera.
void ResetConfig();

// Reads config.ini. A missing or short file gives the defaults (windowed,
// midpoint camera, buttons 1-5 for both players) and is written back; a mode
// or option other than 0 or 1 reads as 1; a player whose masks are not five
// distinct buttons gets the defaults. Each mask goes to LiveButtonMasks too.
void LoadConfigFile();

// Writes config.ini from the current values (masks also into LiveButtonMasks);
// false when the file could not be written.
bool SaveConfigFile();

// The bytes SaveConfigFile writes.
void EncodeConfigFile(uint8_t* out);

}  // namespace orb
