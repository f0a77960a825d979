// Returns every game module to its state at program load.
#pragma once

namespace orb {

void ResetGameModules();

}  // namespace orb
