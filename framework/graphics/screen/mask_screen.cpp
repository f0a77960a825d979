// The mask screen's bookkeeping. The mask-area preparation and application
// that a mask screen exists for are not part of this program, and nothing
// requests a mask screen: the hooks describe the target they were handed
// and leave it as it is.
#include "framework/graphics/screen/mask_screen.h"

#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

MaskScreenState g_mask;

void InitTable() { InitHandleTable(&g_mask.table, kMaskHandleTag, kMaskHandleMax, g_mask.slots); }

// The target a hook hands on: the draw's memory image when it has one,
// else its surface.
MaskDrawView DescribeTarget(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const ScreenState& s = GetScreenState();
  MaskDrawView v{};
  v.x1 = x1, v.y1 = y1, v.x2 = x2, v.y2 = y2;
  const MemImage* image = s.targetImage;
  if (image != nullptr && IsMemImgValid(image)) {
    v.format = image->buffer->format;
    v.width = image->width;
    v.height = image->height;
    v.pitch = image->buffer->pitch;
    v.pixels = image->pixels;
  } else {
    v.surface = s.targetSurface;
  }
  return v;
}

}  // namespace

MaskScreenState& GetMaskScreenState() { return g_mask; }

void ResetMaskScreenState() {
  ReleaseMaskScreen();
  for (MaskData& r : g_mask.records) {
    if (r.inUse && r.pixels != nullptr) FreeMemory(r.pixels);
  }
  std::memset(&g_mask, 0, sizeof g_mask);
  InitTable();
}

MaskData* LookupMaskData(int32_t handle) {
  if (g_mask.table.slots == nullptr) InitTable();
  MaskData* r = static_cast<MaskData*>(LookupHandleEntry(&g_mask.table, handle));
  return r != nullptr && r->inUse != 0 ? r : nullptr;
}

int FreeMaskHandle(int32_t handle) {
  MaskData* r = LookupMaskData(handle);
  if (r == nullptr) return -1;
  if (r->pixels != nullptr) FreeMemory(r->pixels);
  RemoveHandleEntry(&g_mask.table, handle);
  std::memset(r, 0, sizeof *r);
  return 0;
}

int DeleteAllMasks() {
  if (g_mask.table.slots == nullptr) InitTable();
  for (int32_t slot = 0; slot < kMaskHandleMax; ++slot) {
    if (g_mask.records[slot].inUse == 1) FreeMaskHandle(HandleOfSlot(&g_mask.table, slot));
  }
  return 0;
}

int GetMaskUseFlag() { return GetDrawState().maskDrawing; }
plat::DDSurface* GetMaskSurface() { return g_mask.surface; }
MemImage* GetMaskMemImage() { return g_mask.imageCreated ? &g_mask.image : nullptr; }

int SetupMaskScreen(int32_t request) {
  if (request == 0) return 0;
  const ScreenState& s = GetScreenState();
  int32_t w = 0, h = 0;
  QueryScreenSize(&w, &h);
  if (g_mask.buffer == nullptr) {
    g_mask.pitch = (w + 3) / 4 * 4;
    g_mask.width = w;
    g_mask.height = h;
    g_mask.buffer =
        static_cast<uint8_t*>(AllocMemoryZeroed(static_cast<size_t>(g_mask.pitch) * static_cast<size_t>(h), __FILE__, __LINE__));
    if (g_mask.buffer == nullptr) FatalError("マスク用 MemImage の作成に失敗しました");
  }
  if (IsMemImageScreen()) {
    if (!g_mask.imageCreated) {
      const int32_t bits = s.requestedBits != 0 ? s.requestedBits : GetScreenColorBits();
      if (CreateScreenMemImg(&g_mask.image, w, h, bits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888) != 0)
        FatalError("マスク用 MemImage の作成に失敗しました");
      g_mask.imageCreated = 1;
    }
    return 0;
  }
  if (g_mask.surface == nullptr) {
    plat::DDSurfaceDesc desc;
    desc.caps = plat::DDSCAPS_OFFSCREENPLAIN |
                (s.softwareRendering ? plat::DDSCAPS_SYSTEMMEMORY : plat::DDSCAPS_3DDEVICE);
    desc.width = w;
    desc.height = h;
    if (s.directDraw == nullptr || s.directDraw->CreateSurface(&desc, &g_mask.surface) != plat::DD_OK) {
      g_mask.surface = nullptr;
      FatalError("マスク用サーフェスの作成に失敗しました");
    }
    g_mask.surface->SetColorKey(plat::DDCKEY_SRCBLT, g_mask.surfaceKey, g_mask.surfaceKey);
    uint32_t caps = 0;
    g_mask.surface->GetCaps(&caps);
    g_mask.surfaceInVideo = (caps & plat::DDSCAPS_VIDEOMEMORY) ? 1 : 0;
  }
  return 0;
}

int ReleaseMaskScreen() {
  if (g_mask.buffer != nullptr) FreeMemory(g_mask.buffer);
  g_mask.buffer = nullptr;
  if (g_mask.imageCreated) ReleaseMemImg(&g_mask.image);
  g_mask.imageCreated = 0;
  g_mask.image = MemImage{};
  if (g_mask.surface != nullptr) g_mask.surface->Release();
  g_mask.surface = nullptr;
  g_mask.surfaceInVideo = 0;
  return 0;
}

int RestoreMaskScreen() {
  SetupMaskScreen(g_mask.requested);
  if (GetMaskUseFlag()) ApplyMaskDrawTarget(1);
  return 0;
}

int EndMaskScreen() {
  if (!IsWindowActive()) WaitWhileInactive();
  if (GetMaskUseFlag()) ApplyMaskDrawTarget(0);
  ReleaseMaskScreen();
  g_mask.requested = 0;
  GetDrawState().maskInUse = 0;
  return 0;
}

int ApplyMaskDrawTarget(int32_t on) {
  if (g_mask.buffer == nullptr) return -1;
  DrawState& d = GetDrawState();
  d.maskDrawing = on;
  d.maskInUse = on != 0 && g_mask.requested != 0 ? 1 : 0;
  // The draw area is set again for the current draw screen.
  const Rect area = d.clipRequest;
  SetClipArea(area.left, area.top, area.right, area.bottom);
  D3DGlobals& d3d = GetD3D();
  if (d3d.object && GetScreenState().direct3DInUse) {
    if (on != 0 && g_mask.surface != nullptr) {
      SetD3DRenderTarget(d3d.currentDevice, g_mask.surface);
    } else {
      SelectDrawTargetD3D(d.drawTarget);
    }
    if (SetD3DViewportRect(&d.drawArea) != 0) LogOutput("ビューポートのセットに失敗しました\n");
  }
  return 0;
}

int BeginMaskDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t /*flag*/) {
  g_mask.lastView = DescribeTarget(x1, y1, x2, y2);
  ++g_mask.begins;
  return 0;
}

int EndMaskDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t /*flag*/) {
  g_mask.lastView = DescribeTarget(x1, y1, x2, y2);
  ++g_mask.ends;
  return 0;
}

}  // namespace qor
