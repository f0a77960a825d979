#include "game/world/config_file.h"

#include <cerrno>
#include <cstring>

#include "game/world/file_io.h"
#include "game/world/input.h"

namespace orb {

ConfigState config;

namespace {
const char kConfigPath[] = "config.ini";
constexpr int kModeOffset = 160;
constexpr int kMaskOffset = 162;

void SetDefaultOptions() {
  config.WindowedMode = 1;
  config.CameraFollowOne = 0;
  DefaultPlayerMasks(input.ConfigButtonMasks);
  DefaultPlayerMasks(input.ConfigButtonMasks + 5);
}
}  // namespace

void ResetConfig() {
  for (uint32_t i = 0; i < 32; ++i) {
    config.ConfigFillerBytes[i] = static_cast<uint8_t>(0x5A ^ (i * 37));
    config.ConfigFillerWords[i] = 0x9E3779B9u * (i + 1);
  }
  config.WindowedMode = 1;
  config.CameraFollowOne = 0;
}

void EncodeConfigFile(uint8_t* out) {
  for (int i = 0; i < 32; ++i) {
    out[i * 5] = config.ConfigFillerBytes[i];
    PutU32(out + i * 5 + 1, config.ConfigFillerWords[i]);
  }
  out[kModeOffset] = config.WindowedMode;
  out[kModeOffset + 1] = config.CameraFollowOne;
  for (int i = 0; i < 10; ++i) PutU32(out + kMaskOffset + i * 4, input.ConfigButtonMasks[i]);
}

bool SaveConfigFile() {
  uint8_t bytes[kConfigFileSize];
  EncodeConfigFile(bytes);
  std::memcpy(input.LiveButtonMasks, input.ConfigButtonMasks, sizeof input.LiveButtonMasks);
  if (WriteGameFile(kConfigPath, bytes, sizeof bytes)) return true;
  TellPlayer("cannot write config.ini in %s (%s); the settings hold for this run only", GameFolder(),
             std::strerror(errno));
  return false;
}

void LoadConfigFile() {
  uint8_t bytes[kConfigFileSize + 1];
  const long n = ReadGameFile(kConfigPath, bytes, sizeof bytes);
  if (n < kConfigFileSize) {
    if (n >= 0) {
      TellPlayer("config.ini in %s is damaged (%ld bytes, not %d); replaced by the default settings", GameFolder(),
                 n, kConfigFileSize);
    }
    SetDefaultOptions();
    SaveConfigFile();
    return;
  }
  for (int i = 0; i < 32; ++i) {
    config.ConfigFillerBytes[i] = bytes[i * 5];
    config.ConfigFillerWords[i] = GetU32(bytes + i * 5 + 1);
  }
  config.WindowedMode = bytes[kModeOffset] == 0 ? 0 : 1;
  config.CameraFollowOne = bytes[kModeOffset + 1] == 0 ? 0 : 1;
  for (int i = 0; i < 10; ++i) input.ConfigButtonMasks[i] = GetU32(bytes + kMaskOffset + i * 4);
  for (int p = 0; p < 2; ++p) {
    if (PlayerMasksUsable(input.ConfigButtonMasks + p * 5)) continue;
    TellPlayer("config.ini in %s has damaged buttons for player %d; replaced by the default buttons", GameFolder(),
               p + 1);
    DefaultPlayerMasks(input.ConfigButtonMasks + p * 5);
  }
  std::memcpy(input.LiveButtonMasks, input.ConfigButtonMasks, sizeof input.LiveButtonMasks);
}

}  // namespace orb
