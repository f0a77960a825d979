// The Direct3D draw path: the per-draw state switch, the vertex batch, the
// draw at a point and the stretched draw, and pieces of carved graphs.
#include "framework/graphics/d3d/d3d_draw_internal.h"

#include <algorithm>

#include "framework/graphics/graphs/draw_state.h"

namespace qor {

using namespace plat::d3d;

void SetDrawStates(const Surface3DData* piece, uint32_t flags) {
  D3DGlobals& d = GetD3D();
  const uint32_t dev = d.currentDevice;
  D3DDeviceState* s = InUseDevice(dev);
  if (s == nullptr) return;
  const DrawState& ds = GetDrawState();
  if (flags & kDrawLighting) {
    if (s->lighting != 1) SetLightingState(dev, 1);
  } else if (s->lighting == 1) {
    SetLightingState(dev, 0);
  }
  if (!(flags & kDrawKeepTexture)) {
    plat::DDSurface* texture = PieceTexture(piece);
    uint32_t colorKey = 0, alphaChannel = 0, alphaTest = 0;
    const SurfaceDataRecord* data = piece != nullptr ? LookupSurfaceData(piece->texture) : nullptr;
    if ((flags & kDrawTransparent) && data != nullptr) {
      if (!data->flags.alpha && !data->flags.alphaTest) {
        colorKey = 1;
      } else if ((ds.blendMode == 0 || ds.blendMode == 8) && ((flags & kDrawKeepAlphaTest) || ds.drawMode != 1)) {
        alphaChannel = data->flags.alpha;
        alphaTest = data->flags.alphaTest;
      } else {
        alphaChannel = 1;
      }
    }
    const uint32_t useColor = (flags & kDrawForceDiffuseColor) || (CurrentTint() & 0xFFFFFFu) != 0xFFFFFFu ? 1 : 0;
    const uint32_t useAlpha = (flags & kDrawForceDiffuseAlpha) || ds.blendMode != 0 ? 1 : 0;
    const uint32_t perspective = (flags & kDrawPerspective) ? 1 : 0;
    if (s->texturePerspective != perspective) SetTexturePerspectiveState(dev, perspective);
    if (s->useDiffuseColor != useColor) SetDiffuseUseState(dev, useColor);
    if (s->useDiffuseAlpha != useAlpha) SetAlphaBlendUseState(dev, useAlpha);
    if (s->texture != texture) SetCurrentTextureState(dev, texture);
    if (s->blendMode != ds.blendMode || s->alphaChannel != alphaChannel || s->alphaTest != alphaTest)
      SetBlendModeState(dev, ds.blendMode, alphaChannel, alphaTest);
    if (s->stagesDirty || s->textureDirty) ApplyBlendStates(dev);
    SetColorKeyEnableState(dev, colorKey);
  }
  SetShadeModeState(dev, (flags & kDrawGouraud) ? kShadeGouraud : kShadeFlat);
  if (s->filterMode != ds.drawMode) SetD3DFilterMode(dev, ds.drawMode);
  SetCullModeState(dev, static_cast<uint32_t>(ds.cullMode));
  if (flags & kDrawZBuffer) {
    SetZEnableState(dev, 1);
    SetZWriteEnableState(dev, static_cast<uint32_t>(ds.zWrite));
    SetZFuncState(dev, static_cast<uint32_t>(ds.zCompare));
  } else if (s->zEnable != 0) {
    SetZEnableState(dev, 0);
  }
  if (flags & kDrawFog) {
    SetFogEnableState(dev, static_cast<uint32_t>(ds.fog));
  } else if (s->fogEnable != 0) {
    SetFogEnableState(dev, 0);
  }
  s->lastPiece = piece;
  s->lastFlags = flags;
}

void PrepareBatchForPiece(uint32_t device, const Surface3DData* piece) {
  D3DDeviceState* s = InUseDevice(device);
  plat::DDSurface* texture = PieceTexture(piece);
  if (s->texture != texture) SetCurrentTextureState(device, texture);
  if (s->stagesDirty || s->textureDirty) ApplyBlendStates(device);
}

// Six vertices (TL, TR, BL, BR, BL, TR) into the batch; the colour goes
// into the first vertex of each triangle only, which flat shading reads.
void AppendQuad(uint32_t device, const QuadCorner corners[4]) {
  D3DDeviceState* s = InUseDevice(device);
  if (s->vertexCount > 0 && (s->primitiveType != kPtTriangleList || s->vertexCount + 6 >= kBatchCapacity[s->format]))
    FlushVertexBatch(device);
  s->primitiveType = kPtTriangleList;
  static constexpr int kOrder[6] = {0, 1, 2, 3, 2, 1};
  const float z = GetDrawState().depth2D;
  const uint32_t diffuse = GetD3D().diffuseColor;
  for (int k = 0; k < 6; ++k) {
    const QuadCorner& c = corners[kOrder[k]];
    const bool colored = k == 0 || k == 3;
    const int32_t at = s->vertexCount + k;
    if (s->format == 0) {
      ColorVertex& v = s->buffer0[at];
      v.x = c.x, v.y = c.y, v.z = z;
      if (colored) v.diffuse = c.diffuse;
    } else if (s->format == 1) {
      TexVertex& v = s->buffer1[at];
      v.x = c.x, v.y = c.y, v.z = z, v.u = c.u, v.v = c.v;
      if (colored) v.diffuse = diffuse;
    } else {
      BlendVertex& v = s->buffer2[at];
      v.x = c.x, v.y = c.y, v.z = z, v.u0 = c.bu, v.v0 = c.bv, v.u1 = c.u, v.v1 = c.v;
      if (colored) v.diffuse = diffuse;
    }
  }
  s->vertexCount += 6;
}

namespace {

// Cuts one corner to the clip rectangle, moving its texture coordinates by
// the per-pixel steps so that the visible texels stay where they were.
void ClipCorner(QuadCorner* c, const float clip[4], float du, float dv, float dbu, float dbv) {
  if (c->x < clip[0]) {
    const float by = clip[0] - c->x;
    c->u += by * du, c->bu += by * dbu, c->x = clip[0];
  } else if (c->x > clip[2]) {
    const float by = c->x - clip[2];
    c->u -= by * du, c->bu -= by * dbu, c->x = clip[2];
  }
  if (c->y < clip[1]) {
    const float by = clip[1] - c->y;
    c->v += by * dv, c->bv += by * dbv, c->y = clip[1];
  } else if (c->y > clip[3]) {
    const float by = c->y - clip[3];
    c->v -= by * dv, c->bv -= by * dbv, c->y = clip[3];
  }
}

float TextureSide(const Surface3DData* p, bool height) {
  const SurfaceDataRecord* t = LookupSurfaceData(p->texture);
  return t == nullptr ? 1.0f : static_cast<float>(height ? t->height : t->width);
}

// The point and stretched draws: every piece corner mapped by scale and
// shift, cut to the clip rectangle when the graph is not wholly inside.
int DrawScaledPieces(GraphRecord* graph, float sx, float sy, float bx, float by, bool inside, float clipShift) {
  D3DGlobals& d = GetD3D();
  const uint32_t dev = d.currentDevice;
  const DrawState& ds = GetDrawState();
  const float ox = static_cast<float>(ds.screenPlacement.left), oy = static_cast<float>(ds.screenPlacement.top);
  const float clip[4] = {ds.drawAreaF[0] + clipShift + ox, ds.drawAreaF[1] + clipShift + oy,
                         ds.drawAreaF[2] + clipShift + ox, ds.drawAreaF[3] + clipShift + oy};
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    PrepareBatchForPiece(dev, p);
    QuadCorner c[4];
    for (int k = 0; k < 4; ++k) {
      const TexVertex& v = p->vertices[k];
      c[k] = {sx * v.x + bx, sy * v.y + by, v.u, v.v, v.x * d.blendRecipWidth, v.y * d.blendRecipHeight, 0};
    }
    if (!inside) {
      const float du = 1.0f / (TextureSide(p, false) * sx), dv = 1.0f / (TextureSide(p, true) * sy);
      const float dbu = d.blendWidth > 0 ? 1.0f / (d.blendWidth * sx) : 0.0f;
      const float dbv = d.blendHeight > 0 ? 1.0f / (d.blendHeight * sy) : 0.0f;
      for (QuadCorner& corner : c) ClipCorner(&corner, clip, du, dv, dbu, dbv);
    }
    AppendQuad(dev, c);
  }
  if (d.frontTarget) EndSceneIfBegun(dev);
  return 0;
}

}  // namespace

int BeginD3DDraw(GraphRecord* graph, uint32_t flags, const Surface3DData** first) {
  D3DGlobals& d = GetD3D();
  if (InUseDevice(d.currentDevice) == nullptr) return -1;
  if (d.drawingSuspended) return 1;
  UpdateDiffuseColor();
  BeginSceneIfNeeded(d.currentDevice);
  *first = graph->pieceCount > 0 ? LookupSurface3DData(graph->pieceHandles[0]) : nullptr;
  if (*first == nullptr) return -1;
  const DrawState& ds = GetDrawState();
  SetDrawStates(*first, flags | (ds.zBufferUse ? kDrawZBuffer : 0u));
  return 0;
}

int BlitGraphD3D(int32_t ix, int32_t iy, float fx, float fy, GraphRecord* graph, int32_t transparent,
                 int32_t keepAlphaTest) {
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, (keepAlphaTest ? kDrawKeepAlphaTest : 0u) | (transparent ? kDrawTransparent : 0u),
                                 &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  const DrawState& ds = GetDrawState();
  const Rect& a = ds.drawArea;
  const bool inside = ix >= a.left && iy >= a.top && ix + graph->width <= a.right && iy + graph->height <= a.bottom;
  return DrawScaledPieces(graph, 1.0f, 1.0f, fx - 0.5f + static_cast<float>(ds.screenPlacement.left),
                          fy - 0.5f + static_cast<float>(ds.screenPlacement.top), inside, 0.0f);
}

int BlitGraphStretchedD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float fx1, float fy1, float fx2, float fy2,
                          GraphRecord* graph, int32_t transparent, int32_t keepAlphaTest) {
  if (x1 == x2 || y1 == y2) return -1;
  const DrawState& ds = GetDrawState();
  const uint32_t flags = (keepAlphaTest && ds.drawMode != 1 ? kDrawKeepAlphaTest : 0u) | (transparent ? kDrawTransparent : 0u);
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, flags, &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  const Rect& a = ds.drawArea;
  const bool inside = std::min(x1, x2) >= a.left && std::min(y1, y2) >= a.top && std::max(x1, x2) <= a.right &&
                      std::max(y1, y2) <= a.bottom;
  const float sx = (fx2 - fx1) / static_cast<float>(graph->width), sy = (fy2 - fy1) / static_cast<float>(graph->height);
  return DrawScaledPieces(graph, sx, sy, fx1 - 0.5f + static_cast<float>(ds.screenPlacement.left),
                          fy1 - 0.5f + static_cast<float>(ds.screenPlacement.top), inside, -0.5f);
}

int DeriveGraphPieces3D(GraphRecord* graph, int32_t x, int32_t y, int32_t width, int32_t height,
                        const GraphRecord* parent) {
  FlushCurrentVertexBatch();
  EndSceneCurrentDevice();
  graph->pieceCount = 0;
  const double h = graph->height, ratio = static_cast<double>(graph->height) / graph->width;
  for (int32_t i = 0; i < parent->pieceCount; ++i) {
    const Surface3DData* pp = LookupSurface3DData(parent->pieceHandles[i]);
    int32_t piece = -1;
    if (pp != nullptr && parent->pieceCount == 1) {
      piece = AddSurface3DData(0, 0, 0, 0, width, height, x, y, graph->handle, pp, x, y, nullptr);
    } else if (pp != nullptr) {
      const int32_t l = std::max<int32_t>(x, pp->x), t = std::max<int32_t>(y, pp->y);
      const int32_t r = std::min<int32_t>(x + width, pp->x + pp->width), b = std::min<int32_t>(y + height, pp->y + pp->height);
      if (r <= l || b <= t) continue;
      piece = AddSurface3DData(0, 0, l - x, t - y, r - l, b - t, l - pp->x, t - pp->y, graph->handle, pp, l - pp->x,
                               t - pp->y, nullptr);
    }
    if (piece < 0) {
      DeleteGraphPieces3D(graph);
      return -1;
    }
    ComputeDiagonalFlags(LookupSurface3DData(piece), h, ratio);
    graph->pieceHandles[graph->pieceCount++] = piece;
  }
  return 0;
}

int DeleteAllGraph3DPieces() { return GetD3D().object ? DeleteAllSurface3DData() : -1; }

}  // namespace qor
