#include "framework/graphics/graphics_reset.h"

#include "framework/graphics/d3d_device.h"
#include "framework/graphics/draw_state.h"
#include "framework/graphics/graph_record.h"
#include "framework/graphics/screen.h"
#include "framework/graphics/soft_image.h"
#include "framework/graphics/surface_2d.h"
#include "framework/graphics/surface_data.h"
#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"

namespace qor {

void ResetGraphicsState() {
  ResetSoftImages();
  ResetGraphTables();
  ResetD3D();
  ResetSurface2DTable();
  ResetSurfaceDataTable();
  ResetScreenState();
  ClearDrawState();
  plat::ResetDirectDrawStandIn();
  plat::ResetGdiStandIn();
  plat::d3d::ResetStandIn();
}

}  // namespace qor
