// Screen operations of the Direct3D road: the render target for the draw
// screen, clearing a texture target, filled and outlined boxes.
#include <algorithm>

#include "framework/graphics/d3d/d3d_draw_internal.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

namespace {

constexpr uint32_t kBackgroundColor = 0x00000000;  // 0xAARRGGBB

plat::DDSurface* FrontSurface() {
  const ScreenState& s = GetScreenState();
  return s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
}

// The texture of a graph made of one texture piece, or null.
SurfaceDataRecord* SingleTexture(int32_t graph) {
  const GraphRecord* g = LookupGraph(graph);
  if (g == nullptr || !g->is3D || g->pieceCount != 1) return nullptr;
  const Surface3DData* p = LookupSurface3DData(g->pieceHandles[0]);
  return p != nullptr ? LookupSurfaceData(p->texture) : nullptr;
}

// The render target of the draw screen; 0 or -1 as SelectDrawTargetD3D.
int SwitchRenderTarget(uint32_t dev, D3DDeviceState* s, int32_t screen) {
  D3DGlobals& d = GetD3D();
  // A graph of several pieces is no one render target: the device keeps
  // its target and its state.
  const GraphRecord* g = screen >= 0 ? LookupGraph(screen) : nullptr;
  if (g != nullptr && g->pieceCount > 1) return 0;
  EndSceneIfBegun(dev);
  if (s->currentTarget != s->ownTarget) SetD3DRenderTarget(dev, nullptr);
  SetCurrentTextureState(dev, nullptr);
  d.drawingSuspended = 0;
  if (screen == kFrontScreen) {
    d.frontTarget = 1;
    return SetD3DRenderTarget(dev, FrontSurface());
  }
  if (screen == kBackScreen) {
    d.frontTarget = 0;
    return SetD3DRenderTarget(dev, GetScreenState().back);
  }
  if (g == nullptr || g->pieceCount < 1) return -1;
  if (!g->is3D) {
    const Surface2DPiece* piece = LookupSurface2D(g->pieceHandles[0]);
    const SurfaceDataRecord* data = piece != nullptr ? LookupSurfaceData(piece->surfaceData) : nullptr;
    if (data == nullptr) return -1;
    if (data->memImageMode || data->flags.systemMemory || data->surface == nullptr) {
      d.drawingSuspended = 1;
      return -1;
    }
    d.frontTarget = 0;
    return SetD3DRenderTarget(dev, data->surface);
  }
  SurfaceDataRecord* texture = SingleTexture(screen);
  if (texture == nullptr || !texture->flags.drawable || texture->surface == nullptr) return -1;
  d.frontTarget = 0;
  return SetD3DRenderTarget(dev, texture->surface);
}

}  // namespace

int SelectDrawTargetD3D(int32_t screen) {
  D3DGlobals& d = GetD3D();
  const uint32_t dev = d.currentDevice;
  D3DDeviceState* s = InUseDevice(dev);
  if (s == nullptr) return 0;
  const int result = SwitchRenderTarget(dev, s, screen);
  // Another device current after the switch takes the old one's texture and
  // blend states.
  if (d.currentDevice != dev) ApplyTextureAndBlend(dev, d.currentDevice);
  return result;
}

// A texture target is filled in its own format: black with alpha 0, as a
// new drawable graph starts, whatever the screen's format.
int ClearScreenD3D() {
  const DrawState& ds = GetDrawState();
  if (ds.drawTarget == kFrontScreen || ds.drawTarget == -3 || ds.drawTarget == kBackScreen) return 0;
  const GraphRecord* g = LookupGraph(ds.drawTarget);
  if (g == nullptr || !g->is3D) return 0;
  SurfaceDataRecord* t = SingleTexture(ds.drawTarget);
  if (t == nullptr || t->surface == nullptr) return -1;
  EndSceneCurrentDevice();  // what the batch holds lands before the clear
  plat::DDBltFx fx;
  if (t->zSurface != nullptr) {
    fx.fillDepth = 65535;
    t->zSurface->Blt(nullptr, nullptr, nullptr, plat::DDBLT_DEPTHFILL | plat::DDBLT_WAIT, &fx);
  }
  PixelFormatInfo format;
  plat::DDPixelFormat dd;
  t->surface->GetPixelFormat(&dd);
  MakeFormatFromDirectDraw(&dd, &format);
  fx.fillColor = PackColorForFormat(&format, (kBackgroundColor >> 16) & 255, (kBackgroundColor >> 8) & 255,
                                    kBackgroundColor & 255, kBackgroundColor >> 24);
  return t->surface->Blt(nullptr, nullptr, nullptr, plat::DDBLT_COLORFILL | plat::DDBLT_WAIT, &fx) == plat::DD_OK ? 0 : -1;
}

namespace {

// Boxes: untextured quads in the given colour scaled by the tint, with the
// blend parameter as alpha. Each rectangle is cut to the draw area.
int PaintBoxes(const Rect* boxes, int count, uint32_t color) {
  D3DGlobals& d = GetD3D();
  const uint32_t dev = d.currentDevice;
  if (InUseDevice(dev) == nullptr) return -1;
  const DrawState& ds = GetDrawState();
  FlushVertexBatch(dev);
  UpdateDiffuseColor();
  int32_t r = 0, g = 0, b = 0;
  UnpackColorRGB(color, &r, &g, &b);
  const uint32_t t = d.diffuseColor;
  const uint32_t diffuse = (t & 0xFF000000u) | static_cast<uint32_t>(r) * ((t >> 16) & 255) / 255 << 16 |
                           static_cast<uint32_t>(g) * ((t >> 8) & 255) / 255 << 8 |
                           static_cast<uint32_t>(b) * (t & 255) / 255;
  bool begun = false;
  for (int i = 0; i < count; ++i) {
    const Rect& a = ds.drawArea;
    const Rect c{std::max(boxes[i].left, a.left), std::max(boxes[i].top, a.top), std::min(boxes[i].right, a.right),
                 std::min(boxes[i].bottom, a.bottom)};
    if (c.right <= c.left || c.bottom <= c.top) continue;
    if (!begun) {
      BeginSceneIfNeeded(dev);
      SetCurrentTextureState(dev, nullptr);
      SetDrawStates(nullptr, kDrawForceDiffuseColor | (ds.zBufferUse ? kDrawZBuffer : 0u));
      D3DDeviceState* s = InUseDevice(dev);
      if (s->stagesDirty || s->textureDirty) ApplyBlendStates(dev);
      begun = true;
    }
    const float ox = static_cast<float>(ds.screenPlacement.left), oy = static_cast<float>(ds.screenPlacement.top);
    const float l = static_cast<float>(c.left) + ox, tp = static_cast<float>(c.top) + oy;
    const float rt = static_cast<float>(c.right) + ox, bt = static_cast<float>(c.bottom) + oy;
    const QuadCorner q[4] = {{l, tp, 0, 0, 0, 0, diffuse}, {rt, tp, 0, 0, 0, 0, diffuse},
                             {l, bt, 0, 0, 0, 0, diffuse}, {rt, bt, 0, 0, 0, 0, diffuse}};
    AppendQuad(dev, q);
  }
  if (begun && d.frontTarget) EndSceneIfBegun(dev);
  return 0;
}

Rect SortedBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

int PaintBoxFilledD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  if (!GetD3D().object) return -1;
  if (GetD3D().drawingSuspended) return FillBoxDirectDraw(x1, y1, x2, y2, color);
  const Rect box = SortedBox(x1, y1, x2, y2);
  return PaintBoxes(&box, 1, color);
}

// Four one-pixel bands that cover each edge pixel once: the full top and
// bottom rows, the columns between them.
int PaintBoxOutlineD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  if (!GetD3D().object) return -1;
  if (GetD3D().drawingSuspended) return DrawBoxFrameDirectDraw(x1, y1, x2, y2, color);
  const Rect r = SortedBox(x1, y1, x2, y2);
  if (r.right <= r.left || r.bottom <= r.top) return 0;
  Rect bands[4];
  int count = 0;
  bands[count++] = {r.left, r.top, r.right, r.top + 1};
  if (r.bottom - r.top > 1) bands[count++] = {r.left, r.bottom - 1, r.right, r.bottom};
  if (r.bottom - r.top > 2) {
    bands[count++] = {r.left, r.top + 1, r.left + 1, r.bottom - 1};
    if (r.right - r.left > 1) bands[count++] = {r.right - 1, r.top + 1, r.right, r.bottom - 1};
  }
  return PaintBoxes(bands, count, color);
}

}  // namespace qor
