// Clearing the draw target on the 2D road: the background colour (black)
// and the farthest depth. A texture target is the Direct3D road's to clear.
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/softrender/soft_primitives.h"

namespace qor {

namespace {

constexpr uint32_t kFarthestDepth = 65535;

// The surface data behind a 2D graph target, or null.
SurfaceDataRecord* TargetSurfaceData(const GraphRecord* graph) {
  const Surface2DPiece* piece = graph->pieceCount > 0 ? LookupSurface2D(graph->pieceHandles[0]) : nullptr;
  return piece != nullptr ? LookupSurfaceData(piece->surfaceData) : nullptr;
}

// A graph held as a memory image: its Z image at the farthest depth, its
// image painted under the current blend mode and draw area.
int ClearMemImageGraph(SurfaceDataRecord* data, const Rect& area, uint32_t background) {
  const ScreenState& s = GetScreenState();
  if (IsMemImgValid(&data->zImage)) FillMemImgRect(&data->zImage, &area, kFarthestDepth);
  SoftDrawSettings settings = CurrentSoftSettings();
  Rect& clip = settings.drawArea;
  clip = Rect{clip.left + s.targetOffsetX, clip.top + s.targetOffsetY, clip.right + s.targetOffsetX,
              clip.bottom + s.targetOffsetY};
  PaintMemImgRect(&data->image, &area, background, &settings);
  return 0;
}

}  // namespace

int ClearScreenDirectDraw() {
  ScreenState& s = GetScreenState();
  EndSceneCurrentDevice();  // what the 3D device drew is on the surface first
  const DrawState& d = GetDrawState();
  const uint32_t background = PackColorRGB(0, 0, 0);
  int32_t w = 0, h = 0;
  QueryTargetSize(d.drawTarget, &w, &h);
  Rect area{s.targetOffsetX, s.targetOffsetY, s.targetOffsetX + w, s.targetOffsetY + h};

  // Software rendering: the target's memory image and its Z image.
  if (IsMemImageScreen()) {
    if (s.targetImage == nullptr || !IsMemImgValid(s.targetImage)) return -1;
    FillMemImgRect(s.targetImage, &area, background);
    if (s.targetZ != nullptr && IsMemImgValid(s.targetZ)) FillMemImgRect(s.targetZ, &area, kFarthestDepth);
    return 0;
  }
  if (s.directDraw == nullptr) return -1;
  plat::DDBltFx fx;
  fx.fillColor = background;

  if (d.drawTarget >= 0) {
    const GraphRecord* graph = LookupGraph(d.drawTarget);
    if (graph == nullptr) return -1;
    if (graph->is3D) return 0;
    SurfaceDataRecord* data = TargetSurfaceData(graph);
    if (data == nullptr) return -1;
    if (data->memImageMode) return ClearMemImageGraph(data, area, background);
    if (data->surface == nullptr) return -1;
    const plat::Rect r = PlatRect(area);
    if (data->zSurface != nullptr) {
      plat::DDBltFx depth;
      depth.fillDepth = kFarthestDepth;
      data->zSurface->Blt(&r, nullptr, nullptr, plat::DDBLT_DEPTHFILL | plat::DDBLT_WAIT, &depth);
    }
    data->surface->Blt(&r, nullptr, nullptr, plat::DDBLT_COLORFILL | plat::DDBLT_WAIT, &fx);
    return 0;
  }

  if (s.targetSurface == nullptr) return -1;
  if (d.drawTarget == kFrontScreen && IsWindowedMode() && s.tempPrimary == nullptr) GetScreenRectOnDesktop(&area);
  const Rect bounds{0, 0, s.targetSurface->width(), s.targetSurface->height()};
  ClipRect(&area, &bounds);
  if (area.left >= area.right || area.top >= area.bottom) return 0;
  const plat::Rect r = PlatRect(area);
  s.targetSurface->Blt(&r, nullptr, nullptr, plat::DDBLT_COLORFILL, &fx);
  plat::DDSurface* z = nullptr;
  if (s.targetSurface->GetAttachedSurface(plat::DDSCAPS_ZBUFFER, &z) == plat::DD_OK) {
    fx.fillDepth = kFarthestDepth;
    z->Blt(nullptr, nullptr, nullptr, plat::DDBLT_DEPTHFILL | plat::DDBLT_WAIT, &fx);
  }
  return 0;
}

}  // namespace qor
