#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_files.h"

namespace mkassets {

std::vector<int16_t> EffectSound(const std::string& name);
std::vector<int16_t> MusicLoop(int number);
int SoundRate();

}  // namespace mkassets
