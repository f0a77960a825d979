// The pieces that carry words or figures the player reads: title pages,
// option and pad rows, difficulty names, file slots, pause and game-over
// rows, the status panel, the HUD's labels and bars, digits, captions, the
// staff roll, and the members' faces, names and descriptions.
#pragma once

#include <string>

#include "asset_files.h"

namespace mkassets {

// Paints the divided picture `file` (pieces of w x h laid across x down)
// when it is one of these; false for any other file.
bool WordSheet(const std::string& file, int pieces, int across, int down, int w, int h, IndexedPicture* out);

}  // namespace mkassets
