// The mask screen: a screen-sized mask buffer with its memory image (software
// rendering) or surface, the table of mask handles, and the hooks every 2D
// draw runs while mask drawing is active. Nothing in this program requests a
// mask screen or makes mask handles, so what runs is the bookkeeping: the
// draw-target switch, the window move, the end of graphics management and
// the restore after device loss call it, and it answers as a program
// without a mask screen must.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/softrender/mem_image.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

// One mask handle's record, kept in place in the table.
struct MaskData {
  uint32_t check;
  uint8_t* pixels;  // owned, from the framework allocator
  int32_t width, height, pitch;
  uint32_t inUse;  // 1 = in use
  int32_t spare;
};

// What a mask draw hook was handed: the draw's rectangle and the current
// target, as an image (format, size, pitch, pixels) or as a surface.
struct MaskDrawView {
  int32_t x1, y1, x2, y2;
  const PixelFormatInfo* format;
  int32_t width, height, pitch;
  uint8_t* pixels;
  plat::DDSurface* surface;
};

struct MaskScreenState {
  int32_t requested;  // off at first; only EndMaskScreen writes it
  uint8_t* buffer;    // one byte per pixel, rows of `pitch`
  int32_t pitch, width, height;
  MemImage image;  // software rendering on a screen of more than 8 bits
  int32_t imageCreated;
  plat::DDSurface* surface;
  uint32_t surfaceKey;
  int32_t surfaceInVideo;
  int32_t begins, ends;  // hook calls
  MaskDrawView lastView;
  HandleTable table;
  void* slots[kMaskHandleMax];
  MaskData records[kMaskHandleMax];
};

MaskScreenState& GetMaskScreenState();
// Frees what the mask module holds and returns it to program load.
void ResetMaskScreenState();

// The record a handle names when it is live (in use and its check number
// matches), else null.
MaskData* LookupMaskData(int32_t handle);
int FreeMaskHandle(int32_t handle);
int DeleteAllMasks();
// The mask-drawing switch of the draw state.
int GetMaskUseFlag();
plat::DDSurface* GetMaskSurface();
MemImage* GetMaskMemImage();
// 0 at once when `request` is 0; otherwise makes the mask buffer and the
// mask image or surface that are missing (fatal when they cannot be made).
int SetupMaskScreen(int32_t request);
int ReleaseMaskScreen();
int RestoreMaskScreen();
int EndMaskScreen();
// -1 and nothing changed without a mask buffer; else stores the switch and
// points the draw area (and the Direct3D target) at the mask or back. 0.
int ApplyMaskDrawTarget(int32_t on);
int BeginMaskDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t flag);
int EndMaskDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t flag);

}  // namespace qor
