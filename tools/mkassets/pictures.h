#pragma once

#include <string>

#include "asset_files.h"
#include "stage_maps.h"

namespace mkassets {

// A sheet of pieces laid out across x down, each a numbered shape on the key colour.
IndexedPicture SheetPicture(const std::string& name, int pieces, int across, int down, int w, int h);

// A whole picture: a framed gradient with a few marks.
IndexedPicture BackdropPicture(const std::string& name, int width, int height);

// A stage's picture: its map's columns from firstColumn on, 32 pixels a tile.
IndexedPicture StagePicture(const StageMap& map, int firstColumn, int columns);

}  // namespace mkassets
