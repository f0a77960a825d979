// What the movie code needs of the display: the overlay format and
// alignment rules, the surface overlays are shown on, and the YUV surfaces
// Theora frames go through.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"

namespace qor {

// "UYVY", "YUY2", RGB 5:5:5, RGB 5:6:5.
constexpr int32_t kOverlayFormatCount = 4;

// At DirectDraw start: lets the Theora decoder make its YUV surfaces on the
// display, and probes for an overlay (unless the system is the one whose
// overlays are not trusted): when the display's overlay stretch limits call
// for it, a 16 x 16 overlay surface in each format in turn, the first that
// lands in video memory being the one used. Logs the outcome.
void StartMovieDisplay();
// The probed overlay format's index, -1 for none.
int32_t GetOverlayFormatIndex();
// The probed overlay format, or null when there is none, no DirectDraw
// object or the screen is smaller than 640 x 400.
const plat::DDPixelFormat* GetOverlayPixelFormat();
// The same as a copy: 0, or -1 when there is none.
int GetOverlayPixelFormat(plat::DDPixelFormat* out);
// The display's capabilities (zero without a DirectDraw object). 0.
int CopyDisplayCaps(plat::DDCaps* out);
// The temporary primary surface when one is in use, else the primary.
plat::DDSurface* GetPrimaryOrTempSurface();
}  // namespace qor
