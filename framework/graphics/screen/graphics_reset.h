// Returns the graphics module (graph, piece and surface tables, screen, draw
// state) and the display stand-ins to their state at program load, in the
// order their records depend on each other. Tests start from it.
#pragma once

namespace qor {

void ResetGraphicsState();

}  // namespace qor
