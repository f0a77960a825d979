// The whole pictures: member portraits, the join banner's caption, the
// closing picture with the results' labels, the opening's panorama, the
// splash logo, the overlays the play scene lays over stages, and the
// ending's film strip.
#pragma once

#include <string>

#include "asset_files.h"

namespace mkassets {

// The picture for a whole-picture file at its size; false for a file not drawn here.
bool WholePicture(const std::string& file, int width, int height, IndexedPicture* out);

// The ending's film strip: 40 numbered scenes of 213 x 160, 5 across.
IndexedPicture FilmStrip();

}  // namespace mkassets
