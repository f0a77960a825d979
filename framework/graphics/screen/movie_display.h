// What the movie code needs of the display: the overlay format and
// alignment rules, and the surface overlays are shown on.
#pragma once

#include "platform/ddraw/ddraw.h"

namespace qor {

// The first overlay format the display makes ("UYVY", "YUY2", RGB 5:5:5,
// RGB 5:6:5). 0, or -1 when there is none or the screen is smaller than
// 640 x 400.
int GetOverlayPixelFormat(plat::DDPixelFormat* out);
// The display's capabilities (zero without a DirectDraw object). 0.
int CopyDisplayCaps(plat::DDCaps* out);
// The temporary primary surface when one is in use, else the primary.
plat::DDSurface* GetPrimaryOrTempSurface();
}  // namespace qor
