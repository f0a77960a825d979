// Rotated and four-corner draws of texture-piece graphs.
#include <cmath>
#include <utility>

#include "framework/graphics/d3d/d3d_draw_internal.h"
#include "framework/graphics/graphs/draw_state.h"

namespace qor {

using namespace plat::d3d;

namespace {

struct Point {
  float x, y;
};

constexpr double kQuarterTurn = 1.57079632679489661923;

// Sine and cosine, exact at whole quarter turns so that right-angle draws
// land on whole pixels.
void TurnOf(double angle, double* s, double* c) {
  const double quarters = angle / kQuarterTurn;
  const double nearest = std::nearbyint(quarters);
  if (std::fabs(quarters - nearest) < 1e-9) {
    static constexpr double kSin[4] = {0, 1, 0, -1}, kCos[4] = {1, 0, -1, 0};
    const int q = static_cast<int>(std::fmod(std::fmod(nearest, 4.0) + 4.0, 4.0));
    *s = kSin[q];
    *c = kCos[q];
    return;
  }
  *s = std::sin(angle);
  *c = std::cos(angle);
}

// The cross product (b - a) x (c - a) on the screen (y down): positive for a
// triangle the device's back-face culling keeps, as the unmirrored
// top-left, top-right, bottom-left triangle of a quad is.
float Cross(float ax, float ay, float bx, float by, float cx, float cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Corners 1 and 2 exchanged (in the six vertices: 1 with 2, 4 with 5) when a
// mirrored quad would turn both its triangles away from the viewer, so that
// back-face culling keeps it.
void KeepWinding(QuadCorner c[4]) {
  const float first = Cross(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
  const float second = Cross(c[3].x, c[3].y, c[2].x, c[2].y, c[1].x, c[1].y);
  if (first <= 0.0f && second <= 0.0f) std::swap(c[1], c[2]);
}

// Draws one piece onto a quadrilateral: two triangles for a parallelogram,
// else an 8 x 8 grid whose texture follows the bilinear map.
void DrawQuadGridD3D(uint32_t device, const Surface3DData* piece, Point tl, Point tr, Point bl, Point br) {
  PrepareBatchForPiece(device, piece);
  const TexVertex* v = piece->vertices;
  const bool topBottom = std::fabs((tr.x - tl.x) - (br.x - bl.x)) < 1.0f && std::fabs((tr.y - tl.y) - (br.y - bl.y)) < 1.0f;
  const bool leftRight = std::fabs((bl.x - tl.x) - (br.x - tr.x)) < 1.0f && std::fabs((bl.y - tl.y) - (br.y - tr.y)) < 1.0f;
  if (topBottom && leftRight) {
    QuadCorner c[4] = {{tl.x, tl.y, v[0].u, v[0].v, 0, 0, 0}, {tr.x, tr.y, v[1].u, v[1].v, 0, 0, 0},
                       {bl.x, bl.y, v[2].u, v[2].v, 0, 0, 0}, {br.x, br.y, v[3].u, v[3].v, 0, 0, 0}};
    const D3DGlobals& d = GetD3D();
    for (int k = 0; k < 4; ++k) c[k].bu = v[k].x * d.blendRecipWidth, c[k].bv = v[k].y * d.blendRecipHeight;
    KeepWinding(c);
    AppendQuad(device, c);
    return;
  }
  // A mirrored grid is laid from its right edge, so its triangles keep their
  // winding too.
  const bool mirrored = Cross(tl.x, tl.y, tr.x, tr.y, bl.x, bl.y) <= 0.0f && Cross(br.x, br.y, bl.x, bl.y, tr.x, tr.y) <= 0.0f;
  static TexVertex grid[64];
  const float z = GetDrawState().depth2D;
  const uint32_t diffuse = GetD3D().diffuseColor;
  for (int r = 0; r < 8; ++r) {
    const float t = static_cast<float>(r) / 7.0f;
    const Point left{tl.x + (bl.x - tl.x) * t, tl.y + (bl.y - tl.y) * t};
    const Point right{tr.x + (br.x - tr.x) * t, tr.y + (br.y - tr.y) * t};
    for (int col = 0; col < 8; ++col) {
      const float s = static_cast<float>(col) / 7.0f;
      grid[r * 8 + (mirrored ? 7 - col : col)] = {left.x + (right.x - left.x) * s, left.y + (right.y - left.y) * s, z, 1.0f, diffuse,
                           v[0].u + (v[3].u - v[0].u) * s, v[0].v + (v[3].v - v[0].v) * t};
    }
  }
  DrawIndexedGrid(device, grid, 8, 8);
}

}  // namespace

int DrawIndexedGrid(uint32_t device, const TexVertex* vertices, int32_t columns, int32_t rows) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr || columns < 2 || rows < 2 || columns * rows > 65536) return -1;
  FlushVertexBatch(device);
  uint16_t indices[1000];
  int32_t count = 0;
  const uint32_t vertexCount = static_cast<uint32_t>(columns * rows);
  for (int32_t r = 0; r + 1 < rows; ++r) {
    const int32_t pairLength = 2 * columns + (count > 0 ? 2 : 0);
    if (count + pairLength > 1000) {
      s->device->DrawIndexedPrimitive(kPtTriangleStrip, kFvfTextured, vertices, vertexCount, indices,
                                      static_cast<uint32_t>(count), 0);
      count = 0;
    }
    if (count > 0) {  // degenerate joint: the last index again, then the first of this pair
      indices[count] = indices[count - 1];
      indices[count + 1] = static_cast<uint16_t>((r + 1) * columns);
      count += 2;
    }
    for (int32_t col = 0; col < columns; ++col) {
      indices[count++] = static_cast<uint16_t>((r + 1) * columns + col);
      indices[count++] = static_cast<uint16_t>(r * columns + col);
    }
  }
  if (count > 0)
    s->device->DrawIndexedPrimitive(kPtTriangleStrip, kFvfTextured, vertices, vertexCount, indices,
                                    static_cast<uint32_t>(count), 0);
  return 0;
}

int BlitGraphRotatedD3D(float centerX, float centerY, double scale, double angle, GraphRecord* graph,
                        int32_t transparent, int32_t turn) {
  if (!GetD3D().object) return -1;
  if (GetD3D().drawingSuspended) return 0;
  if (scale == 0.0) return -1;
  // A non-finite angle, scale or centre has no place on the screen.
  if (!std::isfinite(scale) || !std::isfinite(angle) || !std::isfinite(centerX) || !std::isfinite(centerY)) return 0;
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, transparent ? kDrawTransparent : 0u, &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  const D3DGlobals& d = GetD3D();
  const DrawState& ds = GetDrawState();
  double s = 0, c = 1;
  TurnOf(angle, &s, &c);
  // A whole-pixel centre turns about the pixel the 2D road puts there.
  const bool whole = std::fabs(centerX - std::floor(centerX)) < 1e-5f && std::fabs(centerY - std::floor(centerY)) < 1e-5f;
  const double hw = whole ? graph->width / 2 : graph->width / 2.0, hh = whole ? graph->height / 2 : graph->height / 2.0;
  // Every pixel samples the texel the 2D road shows there: the point draw's
  // half-pixel shift, turned with the graph, so that the pixel on the
  // centre takes the centre texel's middle at every angle.
  const double mx = turn == 1 ? -0.5 : 0.5;  // the shift goes through the mirror too
  const double cx = centerX + ds.screenPlacement.left - (mx * c - 0.5 * s);
  const double cy = centerY + ds.screenPlacement.top - (mx * s + 0.5 * c);
  const double sx = turn == 1 ? -scale : scale;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    PrepareBatchForPiece(d.currentDevice, p);
    QuadCorner q[4];
    for (int k = 0; k < 4; ++k) {
      const TexVertex& v = p->vertices[k];
      const double a = (v.x - hw) * sx, b = (v.y - hh) * scale;
      q[k] = {static_cast<float>(a * c - b * s + cx), static_cast<float>(b * c + a * s + cy), v.u, v.v,
              v.x * d.blendRecipWidth, v.y * d.blendRecipHeight, 0};
    }
    if (turn == 1) KeepWinding(q);
    AppendQuad(d.currentDevice, q);
  }
  if (d.frontTarget) EndSceneIfBegun(d.currentDevice);
  return 0;
}

int BlitGraphQuadIntD3D(const int32_t* k, GraphRecord* graph, int32_t transparent) {
  // An axis-aligned rectangle draws as the stretched draw.
  if (k[0] == k[4] && k[2] == k[6] && k[1] == k[3] && k[5] == k[7])
    return BlitGraphStretchedD3D(k[0], k[1], k[6], k[7], static_cast<float>(k[0]), static_cast<float>(k[1]),
                                 static_cast<float>(k[6]), static_cast<float>(k[7]), graph, transparent, 1);
  if (GetDrawState().blendGraph == -1) {
    float corners[8];
    for (int i = 0; i < 8; ++i) corners[i] = static_cast<float>(k[i]);
    return BlitGraphQuadD3D(corners, graph, transparent);
  }
  // With a blend graph: two triangles, each piece corner placed by the
  // affine map of the triangle on its side of the graph's diagonal; the
  // blend graph lies from the graph's top-left corner.
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, (transparent ? kDrawTransparent : 0u) | kDrawKeepAlphaTest, &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  const D3DGlobals& d = GetD3D();
  const DrawState& ds = GetDrawState();
  const double ox = ds.screenPlacement.left - 0.5, oy = ds.screenPlacement.top - 0.5;
  const double tlx = k[0] + ox, tly = k[1] + oy, trx = k[2] + ox, try_ = k[3] + oy;
  const double blx = k[4] + ox, bly = k[5] + oy, brx = k[6] + ox, bry = k[7] + oy;
  const double w = graph->width, h = graph->height;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    PrepareBatchForPiece(d.currentDevice, p);
    QuadCorner q[4];
    for (int c = 0; c < 4; ++c) {
      const TexVertex& v = p->vertices[c];
      const double px = v.x, py = v.y;
      double x, y;
      if (p->diagonal[c]) {
        x = tlx + px * (trx - tlx) / w + py * (blx - tlx) / h;
        y = tly + px * (try_ - tly) / w + py * (bly - tly) / h;
      } else {
        x = brx + (px - w) * (blx - brx) / -w + (py - h) * (trx - brx) / -h;
        y = bry + (px - w) * (bly - bry) / -w + (py - h) * (try_ - bry) / -h;
      }
      q[c] = {static_cast<float>(x), static_cast<float>(y), v.u, v.v, v.x * d.blendRecipWidth,
              v.y * d.blendRecipHeight, 0};
    }
    // Each triangle has its own map, so the two may face different ways.
    const float first = Cross(q[0].x, q[0].y, q[1].x, q[1].y, q[2].x, q[2].y);
    const float second = Cross(q[3].x, q[3].y, q[2].x, q[2].y, q[1].x, q[1].y);
    if ((first <= 0.0f && second <= 0.0f) || (first * second < 0.0f && first < 0.0f)) std::swap(q[1], q[2]);
    AppendQuad(d.currentDevice, q);
  }
  if (d.frontTarget) EndSceneIfBegun(d.currentDevice);
  return 0;
}

int BlitGraphQuadD3D(const float* corners, GraphRecord* graph, int32_t transparent) {
  if (!GetD3D().object) return -1;
  if (GetD3D().drawingSuspended) return 0;
  for (int i = 0; i < 8; ++i) {
    if (!std::isfinite(corners[i])) return 0;
  }
  const DrawState& ds = GetDrawState();
  // A blend graph is drawn from whole-pixel corners.
  if (ds.blendGraph != -1) {
    int32_t k[8];
    for (int i = 0; i < 8; ++i) k[i] = static_cast<int32_t>(std::fmax(-2e9, std::fmin(2e9, corners[i])));
    return BlitGraphQuadIntD3D(k, graph, transparent);
  }
  const Surface3DData* first = nullptr;
  const int begun = BeginD3DDraw(graph, transparent ? kDrawTransparent : 0u, &first);
  if (begun != 0) return begun > 0 ? 0 : -1;
  const D3DGlobals& d = GetD3D();
  // No half-pixel shift: the corners land where they are given. Against the
  // 2D road's four-corner draw this agrees as well at 1:1 and 2x and better
  // on stretched, sheared and trapezoid quads than the point draw's shift.
  const float ox = static_cast<float>(ds.screenPlacement.left), oy = static_cast<float>(ds.screenPlacement.top);
  const Point tl{corners[0] + ox, corners[1] + oy}, tr{corners[2] + ox, corners[3] + oy};
  const Point bl{corners[4] + ox, corners[5] + oy}, br{corners[6] + ox, corners[7] + oy};
  const float w = static_cast<float>(graph->width), h = static_cast<float>(graph->height);
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    Point mapped[4];
    for (int k = 0; k < 4; ++k) {
      const float t = p->vertices[k].y / h, s = p->vertices[k].x / w;
      const Point left{tl.x + t * (bl.x - tl.x), tl.y + t * (bl.y - tl.y)};
      const Point right{tr.x + t * (br.x - tr.x), tr.y + t * (br.y - tr.y)};
      mapped[k] = {left.x + s * (right.x - left.x), left.y + s * (right.y - left.y)};
    }
    DrawQuadGridD3D(d.currentDevice, p, mapped[0], mapped[1], mapped[2], mapped[3]);
  }
  if (d.frontTarget) EndSceneIfBegun(d.currentDevice);
  return 0;
}

}  // namespace qor
