#include "framework/graphics/screen/graphics_reset.h"

#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/images/soft_image.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "platform/ddraw/ddraw.h"
#include "platform/gdi/gdi.h"

namespace qor {

void ResetGraphicsState() {
  ResetMaskScreenState();  // its surface goes before the display stand-in's reset
  ResetFontModule();
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
