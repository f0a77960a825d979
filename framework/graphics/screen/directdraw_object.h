// The DirectDraw object and the window's clipper, and the screen getters.
#pragma once

#include <cstdint>

#include "framework/graphics/images/pixel_format.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

// Creates and initialises the object, logs the video card and sets the
// normal cooperative level for the main window. 0, or -1 with its log line.
int AcquireDirectDraw(plat::DirectDraw** out);
// The screen's clipper, bound to the main window (0 when it exists). -1
// with a log line when it cannot be made.
int CreateDisplayClipper();
// The same, fatal when it cannot be made.
int AttachWindowClipper();
// Detaches the clipper from the primary and releases it. 0.
int ReleaseClipper();
// After a loss: a missing object is made again (fatal when it cannot be),
// the display mode applied, the pieces' surfaces and the clipper re-made. 0.
int EnsureDirectDrawObject();
// Releases the pieces' surfaces, the palette, the clipper and the object,
// with its log lines ("already released" when there is none). 0.
int ReleaseDirectDrawObject();

plat::DirectDraw* GetDirectDrawObject();
int IsGdiPresentMode();
int IsDirect3DOff();
// 1 while 2D draws go to the primary (or the temporary primary).
int IsDrawingToPrimary();
plat::DDSurface* GetTargetSurface();
plat::DDSurface* GetBackBufferSurface();
// The two work surfaces (0 and 1) that reads of video memory go through.
plat::DDSurface* GetAuxScreenSurface(int32_t which);
const PixelFormatInfo* GetScreenPixelFormat();

}  // namespace qor
