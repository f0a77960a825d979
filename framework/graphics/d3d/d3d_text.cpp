// Text on the Direct3D road: strings of a font with a texture glyph cache
// become one textured quad per glyph cell (two when edged: the edge in the
// edge colour first), laid out as the memory path lays them out and cut to
// the draw area. Also the wrap that gives blend mode 3 its subtraction on
// a device that only adds: invert, add, invert back.
#include <algorithm>
#include <cmath>

#include "framework/graphics/d3d/d3d_draw_internal.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"

namespace qor {

namespace {

// One glyph box on the screen and where its pixels come from: the box
// (right and bottom excluded) shows the cell's boxW x boxH texels, or,
// turned a quarter clockwise, boxH across and boxW down; stretched when the
// box is larger or smaller than the texels.
struct GlyphPlace {
  int32_t left, top, right, bottom;  // screen
  int32_t cellX, cellY;              // the cell's top-left in the graph
  int32_t boxW, boxH;                // the glyph's box in the cell
  bool turned;
};

float TextureLength(const Surface3DData* p, bool height) {
  const SurfaceDataRecord* t = LookupSurfaceData(p->texture);
  return t == nullptr ? 1.0f : static_cast<float>(height ? t->height : t->width);
}

// Quads for the part of the glyph's box that lies in each piece and in the
// draw area. Texel edges sit on pixel edges (at the box's scale), so every
// pixel samples the texel under its centre.
void AppendGlyph(uint32_t dev, const GraphRecord* graph, const GlyphPlace& g) {
  const DrawState& ds = GetDrawState();
  const Rect& area = ds.drawArea;
  const int32_t x0 = std::max(g.left, area.left), y0 = std::max(g.top, area.top);
  const int32_t x1 = std::min(g.right, area.right), y1 = std::min(g.bottom, area.bottom);
  if (x1 <= x0 || y1 <= y0 || g.boxW <= 0 || g.boxH <= 0) return;
  // Screen pixels per texel across and down the screen.
  const double kx = static_cast<double>(g.right - g.left) / (g.turned ? g.boxH : g.boxW);
  const double ky = static_cast<double>(g.bottom - g.top) / (g.turned ? g.boxW : g.boxH);
  // The visible part in glyph coordinates (gx across the cell, gy down).
  double gx0, gx1, gy0, gy1;
  if (!g.turned) {
    gx0 = (x0 - g.left) / kx, gx1 = (x1 - g.left) / kx, gy0 = (y0 - g.top) / ky, gy1 = (y1 - g.top) / ky;
  } else {
    gx0 = (y0 - g.top) / ky, gx1 = (y1 - g.top) / ky;
    gy0 = g.boxH - (x1 - g.left) / kx, gy1 = g.boxH - (x0 - g.left) / kx;
  }
  const float ox = static_cast<float>(ds.screenPlacement.left) - 0.5f;
  const float oy = static_cast<float>(ds.screenPlacement.top) - 0.5f;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return;
    // The piece's share, in glyph coordinates.
    const double l = std::max<double>(gx0, p->x - g.cellX), r = std::min<double>(gx1, p->x + p->width - g.cellX);
    const double t = std::max<double>(gy0, p->y - g.cellY), b = std::min<double>(gy1, p->y + p->height - g.cellY);
    if (r <= l || b <= t) continue;
    PrepareBatchForPiece(dev, p);
    const float tw = TextureLength(p, false), th = TextureLength(p, true);
    auto u = [&](double gx) { return static_cast<float>(p->textureX + g.cellX - p->x + gx) / tw; };
    auto v = [&](double gy) { return static_cast<float>(p->textureY + g.cellY - p->y + gy) / th; };
    auto sx = [&](double across) { return static_cast<float>(g.left + across * kx) + ox; };
    auto sy = [&](double down) { return static_cast<float>(g.top + down * ky) + oy; };
    QuadCorner c[4];
    if (!g.turned) {
      c[0] = {sx(l), sy(t), u(l), v(t), 0, 0, 0};
      c[1] = {sx(r), sy(t), u(r), v(t), 0, 0, 0};
      c[2] = {sx(l), sy(b), u(l), v(b), 0, 0, 0};
      c[3] = {sx(r), sy(b), u(r), v(b), 0, 0, 0};
    } else {
      // Screen x grows as gy falls; screen y grows with gx.
      c[0] = {sx(g.boxH - b), sy(l), u(l), v(b), 0, 0, 0};
      c[1] = {sx(g.boxH - t), sy(l), u(l), v(t), 0, 0, 0};
      c[2] = {sx(g.boxH - b), sy(r), u(r), v(b), 0, 0, 0};
      c[3] = {sx(g.boxH - t), sy(r), u(r), v(t), 0, 0, 0};
    }
    AppendQuad(dev, c);
  }
}

// Draws one layer of a glyph (glyph or edge graph) in the given colour.
int DrawGlyphLayer(GraphRecord* graph, const uint8_t rgb[3], const GlyphPlace& place) {
  SetTintRGB(rgb[0], rgb[1], rgb[2]);
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, kDrawTransparent, &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  AppendGlyph(GetD3D().currentDevice, graph, place);
  return 0;
}

// A screen colour as the 8-bit channels the texture path tints with,
// scaled by the draw brightness.
void TintedChannels(uint32_t color, const uint8_t bright[3], uint8_t out[3]) {
  int32_t rgb[3] = {0, 0, 0};
  UnpackColorRGB(color, &rgb[0], &rgb[1], &rgb[2]);
  for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>(std::clamp(rgb[k], 0, 255) * bright[k] / 255);
}

int32_t Scaled(int64_t v, double scale) {
  return static_cast<int32_t>(std::clamp(std::llround(static_cast<double>(v) * scale), -(1LL << 30), 1LL << 30));
}

}  // namespace

int DrawTextOnTextureCache(int32_t x, int32_t y, double scaleX, double scaleY, const char* text, uint32_t color,
                           int32_t handle, uint32_t edgeColor, int32_t length, int32_t vertical, int64_t* pen) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr || !f->textureCache || !std::isfinite(scaleX) || !std::isfinite(scaleY)) return -1;
  const DrawState& ds = GetDrawState();
  const uint8_t bright[3] = {ds.tintRed, ds.tintGreen, ds.tintBlue};
  uint8_t ink[3], edge[3];
  TintedChannels(color, bright, ink);
  TintedChannels(edgeColor, bright, edge);
  const bool edged = (f->type & kFontTypeEdged) != 0;
  int result = 0;
  const bool laid = LayOutCachedText(text, handle, length, vertical, [&](const FontGlyphEntry& g, int64_t left,
                                                                         int64_t top) {
    GraphRecord* cache = LookupGraph(f->cacheGraph);
    GraphRecord* edges = LookupGraph(f->edgeGraph);
    const int32_t boxW = std::min<int32_t>(g.boxWidth, f->cell), boxH = std::min<int32_t>(g.boxHeight, f->cell);
    const int32_t l = Scaled(left, scaleX), t = Scaled(top, scaleY);
    const int32_t w = Scaled(vertical ? boxH : boxW, scaleX), h = Scaled(vertical ? boxW : boxH, scaleY);
    const int64_t sx = x + int64_t{l}, sy = y + int64_t{t};
    if (cache == nullptr || sx < -0x40000000 || sx > 0x40000000 || sy < -0x40000000 || sy > 0x40000000) return;
    const GlyphPlace place{static_cast<int32_t>(sx), static_cast<int32_t>(sy), static_cast<int32_t>(sx + w),
                           static_cast<int32_t>(sy + h), g.slot / f->glyphsPerColumn * f->cell,
                           g.slot % f->glyphsPerColumn * f->cell, boxW, boxH, vertical != 0};
    if (edged && edges != nullptr && DrawGlyphLayer(edges, edge, place) != 0) result = -1;
    if (DrawGlyphLayer(cache, ink, place) != 0) result = -1;
  }, pen);
  SetTintRGB(bright[0], bright[1], bright[2]);
  UpdateDiffuseColor();
  return laid ? result : -1;
}

int DrawStringD3D(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle, uint32_t edgeColor,
                  int32_t vertical) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  if (!f->textureCache) return DrawStringDirectDraw(x, y, text, color, handle, edgeColor, vertical);
  D3DGlobals& d = GetD3D();
  if (InUseDevice(d.currentDevice) == nullptr || d.drawingSuspended) return -1;
  if (RebuildFontCacheSurface(handle) != 0) return -1;
  const int drawn = DrawTextCached(1, x, y, 0, 1.0, 1.0, text, color, nullptr, nullptr, 1, handle, edgeColor, -1,
                                   vertical, nullptr);
  if (d.frontTarget) EndSceneIfBegun(d.currentDevice);
  return drawn < 0 ? -1 : 0;
}

namespace {

// The box fill under mode 3 at 255 in white: the device writes
// white x (1 - destination), the target inverted over the rectangle.
void InvertRect(const Rect& hook) {
  SetTintRGB(255, 255, 255);
  const DrawState& ds = GetDrawState();
  if (ds.blendMode != 3 || ds.blendParam != 255) SelectBlend(3, 255);
  PaintBoxFilledD3D(hook.left, hook.top, hook.right, hook.bottom, PackColorRGB(255, 255, 255));
}

struct WhiteBlendKeep {
  uint8_t tint[3];
  int32_t param;
};
WhiteBlendKeep g_whiteBlend;

}  // namespace

void EnterWhiteBlend3(const Rect& hook) {
  const DrawState& ds = GetDrawState();
  g_whiteBlend = WhiteBlendKeep{{ds.tintRed, ds.tintGreen, ds.tintBlue}, ds.blendParam};
  InvertRect(hook);
  SetTintRGB(g_whiteBlend.tint[0], g_whiteBlend.tint[1], g_whiteBlend.tint[2]);
  SelectBlend(5, g_whiteBlend.param);
}

void LeaveWhiteBlend3(const Rect& hook) {
  InvertRect(hook);
  SetTintRGB(g_whiteBlend.tint[0], g_whiteBlend.tint[1], g_whiteBlend.tint[2]);
  SelectBlend(3, g_whiteBlend.param);
}

}  // namespace qor
