// config.ini as the game reads it at start-up: any bytes give a window mode
// and camera option of 0 or 1 and five distinct button masks per player.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "game/world/config_file.h"
#include "game/game_reset.h"
#include "game/world/input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder here;
  if (!here.ok()) return 0;
  orb::ResetGameModules();
  if (!fuzz::WriteScratchFile("config.ini", data, size)) return 0;
  orb::LoadConfigFile();
  if (orb::config.WindowedMode > 1 || orb::config.CameraFollowOne > 1) std::abort();
  for (int p = 0; p < 2; ++p) {
    if (!orb::PlayerMasksUsable(orb::input.LiveButtonMasks + p * 5)) std::abort();
  }
  return 0;
}
