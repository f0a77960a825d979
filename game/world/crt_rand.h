// The game's random numbers: the Windows C runtime's generator, owned by the
// game so that runs repeat and ranges match the original.
#pragma once

#include <cstdint>

namespace orb {

// 0 to 32767.
int Rand();
void SeedRand(uint32_t seed);
// State 1, as at program load.
void ResetRand();

}  // namespace orb
