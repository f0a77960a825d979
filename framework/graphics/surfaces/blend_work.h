// The work images of one 2D draw on the DirectDraw road: the destination
// (and source) surfaces locked and wrapped as memory images of the screen's
// kind; or a plain BltFast when the draw neither blends nor tints and the
// target has the screen's format. A destination in another format than the
// kind's (a 5:5:5 screen, a texture target of any layout) is drawn on a
// converted copy, and afterwards only the pixels the draw changed go back,
// as colours: each keeps its alpha and other bits outside the colour masks.
// The caller's colours arrive in the screen's format and are handed back in
// the kind's.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/rect.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/softrender/mem_image.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

struct BlendWork {
  int32_t direct;  // 1: BltFast srcSurface's srcRect to (dstX, dstY) of dstSurface
  plat::DDSurface* srcSurface;
  plat::Rect srcRect;
  plat::DDSurface* dstSurface;
  int32_t dstX, dstY;
  int32_t empty;   // the clipped destination is empty: nothing to draw
  Rect clipped;    // the destination rectangle cut to the draw area, in target coordinates
  int32_t shiftX, shiftY;  // added to target coordinates to reach the work image's
  int32_t convert;  // the screen's format is not the kind's: sources and colours are converted

  MemImage* dstWork;
  MemImage dstImage;       // our record: a view of the target image, or a wrap of locked memory
  MemImage dstConverted;   // the converted copy when converting
  MemImage dstPrepared;    // what the converted copy held before the draw
  plat::DDSurface* dstLocked;
  uint8_t* dstLockPixels;
  int32_t dstLockPitch;
  PixelFormatInfo dstFormat;  // the target surface's layout

  const MemImage* srcWork;
  MemImage srcImage;
  MemImage srcConverted;
  int32_t srcLockedData;  // surface-data handle locked, or -1
};

BlendWork& GetBlendWork();
// 0 with the work ready (or empty, or direct), -1 when a lock failed (every
// lock taken is released again). `plainWrite`: the caller only writes
// whole pixel values (strings); on an 8-bit screen that is the one work
// there is, on the locked palette indices as they are.
int PrepareBlendWork(const Surface2DPiece* piece, int32_t directAllowed, const Rect* sourceRect,
                     const Rect* destinationRect, int32_t plainWrite, uint32_t* color1, uint32_t* color2);
int CommitBlendWork();
// The memory-image kind the screen's draws use: 0 for a 16-bit screen, else 1.
int32_t ScreenWorkKind();

}  // namespace qor
