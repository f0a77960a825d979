// Sheets of things in the world: members, enemies and bosses as marked
// figures, gimmick blocks, items, the explosion and the warp gap.
#pragma once

#include <string>

#include "asset_files.h"

namespace mkassets {

// Paints the divided picture `file` when it is a sprite or block sheet
// drawn here; false for any other file.
bool SpriteSheet(const std::string& file, int pieces, int across, int down, int w, int h, IndexedPicture* out);

}  // namespace mkassets
