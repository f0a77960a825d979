// Channel codecs and triangle set-up: finiteness, culling, clipping to the
// guard band, fixed point, and the walk over the viewport's pixel centres.
#include "platform/d3d/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/d3d/pixel_pipeline.h"
#include "platform/d3d/span_direct.h"
#include "platform/d3d/span_shade.h"

namespace plat::d3d {

bool MakeChannelCodec(const PixelLayout& layout, ChannelCodec* codec) {
  if (layout.bitCount != 16 && layout.bitCount != 32) return false;
  const uint32_t all = layout.bitCount == 32 ? 0xFFFFFFFFu : 0xFFFFu;
  ChannelCodec out = {};
  out.bytes = layout.bitCount / 8;
  out.widenRow[3] = kWidenRowFull;
  uint32_t used = 0;
  for (int i = 0; i < 4; ++i) {
    uint32_t m = layout.masks[i];
    if (m == 0) continue;
    if ((m & ~all) != 0 || (m & used) != 0) return false;
    int shift = std::countr_zero(m);
    int width = std::popcount(m);
    if (width > 8 || (m >> shift) != (1u << width) - 1u) return false;
    out.shift[i] = static_cast<uint8_t>(shift);
    out.width[i] = static_cast<uint8_t>(width);
    out.fieldMask[i] = (1u << width) - 1u;
    out.widenRow[i] = static_cast<uint8_t>(width);
    used |= m;
  }
  out.spareBits = all & ~used;
  *codec = out;
  return true;
}

bool SurfaceViewUsable(const SurfaceView& view) {
  ChannelCodec codec;
  if (view.bits == nullptr || !MakeChannelCodec(view.layout, &codec)) return false;
  if (view.width < 1 || view.height < 1 || view.width > kMaxSurfaceSide || view.height > kMaxSurfaceSide) return false;
  return view.pitch >= view.width * codec.bytes;
}

namespace {

bool VertexFinite(const RasterVertex& v) {
  if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) return false;
  for (const auto& set : v.tex) {
    if (!std::isfinite(set[0]) || !std::isfinite(set[1])) return false;
  }
  return true;
}

bool InsideGuardBand(const RasterVertex& v) { return std::fabs(v.x) <= kGuardBand && std::fabs(v.y) <= kGuardBand; }

// Each channel rounded half up and held to 0..255 (the colours are finite:
// vertex colours are read from bytes and only ever mixed).
Rgba RoundColor(const double* c) {
  Rgba out;
  for (int i = 0; i < 4; ++i) {
    const double v = c[i] + 0.5;
    out.c[i] = v <= 0.0 ? 0 : v >= 255.0 ? 255 : static_cast<int32_t>(v);  // truncation is the floor above 0
  }
  return out;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Whether stage k's texture is shrunk on this triangle: some texture axis
// moves by more than one texel per pixel.
bool Minifies(const RasterSetup& setup, int k, const RasterVertex* const v[3], const int64_t dx[3],
              const int64_t dy[3], double area) {
  const StageSetup& st = setup.stages[k];
  if (st.texture == nullptr || st.magFilter == st.minFilter) return false;
  uint32_t set = st.texCoordIndex < kMaxTexCoordSets ? st.texCoordIndex : 0;
  const double size[2] = {static_cast<double>(st.texture->view.width), static_cast<double>(st.texture->view.height)};
  for (int axis = 0; axis < 2; ++axis) {
    double perX = 0.0;
    double perY = 0.0;
    for (int i = 0; i < 3; ++i) {
      perX -= static_cast<double>(dy[i]) * kSubPixel * v[i]->tex[set][axis];
      perY += static_cast<double>(dx[i]) * kSubPixel * v[i]->tex[set][axis];
    }
    if (std::fabs(perX / area) * size[axis] > 1.0 || std::fabs(perY / area) * size[axis] > 1.0) return true;
  }
  return false;
}

// A triangle taken to fixed point and turned to a positive area, with its
// edges: edge k lies opposite vertex k, from vertex k+1 to vertex k+2, and
// bias -1 when it does not own its points.
struct SnappedTriangle {
  const RasterVertex* v[3];
  int64_t X[3], Y[3];
  int64_t dx[3], dy[3], bias[3];
  int64_t area;
};

// false for a triangle of no area once snapped.
bool SnapTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c, SnappedTriangle* t) {
  const RasterVertex* v[3] = {&a, &b, &c};
  for (int i = 0; i < 3; ++i) {
    t->v[i] = v[i];
    t->X[i] = static_cast<int64_t>(std::floor(v[i]->x * kSubPixel + 0.5));
    t->Y[i] = static_cast<int64_t>(std::floor(v[i]->y * kSubPixel + 0.5));
  }
  t->area = (t->X[1] - t->X[0]) * (t->Y[2] - t->Y[0]) - (t->Y[1] - t->Y[0]) * (t->X[2] - t->X[0]);
  if (t->area == 0) return false;
  if (t->area < 0) {
    std::swap(t->v[1], t->v[2]);
    std::swap(t->X[1], t->X[2]);
    std::swap(t->Y[1], t->Y[2]);
    t->area = -t->area;
  }
  for (int k = 0; k < 3; ++k) {
    int p = (k + 1) % 3;
    int q = (k + 2) % 3;
    t->dx[k] = t->X[q] - t->X[p];
    t->dy[k] = t->Y[q] - t->Y[p];
    bool topLeft = (t->dy[k] == 0 && t->dx[k] > 0) || t->dy[k] < 0;
    t->bias[k] = topLeft ? 0 : -1;
  }
  return true;
}

// The shading's vertices, area and minification, from the snapped triangle.
void CompleteShading(const RasterSetup& setup, const SnappedTriangle& t, TriangleShading* shading) {
  for (int i = 0; i < 3; ++i) shading->v[i] = t.v[i];
  shading->area = static_cast<double>(t.area);
  for (int k = 0; k < setup.stageCount; ++k) shading->minify[k] = Minifies(setup, k, t.v, t.dx, t.dy, shading->area);
}

// A triangle wholly inside the guard band.
int64_t DrawSnapped(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                    TriangleShading shading) {
  SnappedTriangle snapped;
  if (!SnapTriangle(a, b, c, &snapped)) return 0;
  const int64_t* X = snapped.X;
  const int64_t* Y = snapped.Y;
  const int64_t* dx = snapped.dx;
  const int64_t* dy = snapped.dy;
  const int64_t* bias = snapped.bias;

  int64_t left = std::max<int64_t>(CeilDiv(std::min({X[0], X[1], X[2]}), kSubPixel), setup.clipLeft);
  int64_t right = std::min<int64_t>(FloorDiv(std::max({X[0], X[1], X[2]}), kSubPixel), setup.clipRight - 1);
  int64_t top = std::max<int64_t>(CeilDiv(std::min({Y[0], Y[1], Y[2]}), kSubPixel), setup.clipTop);
  int64_t bottom = std::min<int64_t>(FloorDiv(std::max({Y[0], Y[1], Y[2]}), kSubPixel), setup.clipBottom - 1);
  if (left > right || top > bottom) return 0;

  CompleteShading(setup, snapped, &shading);

  const int64_t step[3] = {-dy[0] * kSubPixel, -dy[1] * kSubPixel, -dy[2] * kSubPixel};
  if (setup.spanRoad) {
    SpanRows rows = {};
    rows.top = static_cast<int32_t>(top);
    rows.bottom = static_cast<int32_t>(bottom);
    rows.left = static_cast<int32_t>(left);
    rows.right = static_cast<int32_t>(right);
    for (int k = 0; k < 3; ++k) {
      int p = (k + 1) % 3;
      rows.eTop[k] = dx[k] * (top * kSubPixel - Y[p]) - dy[k] * (left * kSubPixel - X[p]);
      rows.step[k] = step[k];
      rows.rowStep[k] = dx[k] * kSubPixel;
      rows.bias[k] = bias[k];
      rows.vertexX[k] = X[k];
      rows.vertexY[k] = Y[k];
    }
    return ShadeSpanRows(setup, shading, rows);
  }
  int64_t written = 0;
  for (int64_t py = top; py <= bottom; ++py) {
    int64_t e[3];
    for (int k = 0; k < 3; ++k) {
      int p = (k + 1) % 3;
      e[k] = dx[k] * (py * kSubPixel - Y[p]) - dy[k] * (left * kSubPixel - X[p]);
    }
    written += ShadeRow(setup, shading, static_cast<int32_t>(py), static_cast<int32_t>(left),
                        static_cast<int32_t>(right), e, step, bias);
  }
  return written;
}

RasterVertex LerpVertex(const RasterVertex& a, const RasterVertex& b, double t) {
  auto mix = [t](double p, double q) { return p + (q - p) * t; };
  RasterVertex out;
  out.x = mix(a.x, b.x);
  out.y = mix(a.y, b.y);
  out.z = mix(a.z, b.z);
  for (int i = 0; i < 4; ++i) {
    out.diffuse[i] = mix(a.diffuse[i], b.diffuse[i]);
    out.specular[i] = mix(a.specular[i], b.specular[i]);
  }
  for (int s = 0; s < kMaxTexCoordSets; ++s) {
    out.tex[s][0] = mix(a.tex[s][0], b.tex[s][0]);
    out.tex[s][1] = mix(a.tex[s][1], b.tex[s][1]);
  }
  return out;
}

constexpr int kMaxClipped = 8;

// Keeps the part of the polygon on the inner side of one guard-band edge:
// `axis` 0 = x, 1 = y; `sign` +1 keeps values >= -band, -1 keeps <= band.
int ClipPolygon(const RasterVertex* in, int count, int axis, double sign, RasterVertex* out) {
  auto distance = [&](const RasterVertex& v) { return sign * (axis == 0 ? v.x : v.y) + kGuardBand; };
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const RasterVertex& p = in[i];
    const RasterVertex& q = in[(i + 1) % count];
    double dp = distance(p);
    double dq = distance(q);
    if (dp >= 0.0 && n < kMaxClipped) out[n++] = p;
    if ((dp >= 0.0) != (dq >= 0.0) && n < kMaxClipped) {
      RasterVertex cut = LerpVertex(p, q, dp / (dp - dq));
      // Far-away end points leave the cut imprecise: put it on the edge.
      (axis == 0 ? cut.x : cut.y) = -sign * kGuardBand;
      out[n++] = cut;
    }
  }
  return n;
}

// Finite, of some area and not culled.
bool Visible(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c) {
  if (!VertexFinite(a) || !VertexFinite(b) || !VertexFinite(c)) return false;
  double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (!std::isfinite(cross) || cross == 0.0) return false;
  // On screen, y grows downward: a positive cross product runs clockwise.
  return !((setup.cull == kCullCw && cross > 0.0) || (setup.cull == kCullCcw && cross < 0.0));
}

// Which corners of the box x0..x1, y0..y1 the triangle's vertices take (bit
// (x == x1) | (y == y1) << 1 per corner); 0 when one lies off the corners.
int BoxCorners(const SnappedTriangle& t, int64_t x0, int64_t x1, int64_t y0, int64_t y1) {
  int corners = 0;
  for (int i = 0; i < 3; ++i) {
    if ((t.X[i] != x0 && t.X[i] != x1) || (t.Y[i] != y0 && t.Y[i] != y1)) return 0;
    corners |= 1 << ((t.X[i] == x1 ? 1 : 0) | (t.Y[i] == y1 ? 2 : 0));
  }
  return corners;
}

}  // namespace

int64_t DrawTrianglePair(const RasterSetup& setup, const RasterVertex* const first[4], const RasterVertex* const second[4]) {
  if (!setup.spanRoad) return -1;
  const RasterVertex* const* triangles[2] = {first, second};
  SnappedTriangle snapped[2];
  for (int t = 0; t < 2; ++t) {
    const RasterVertex& a = *triangles[t][0];
    const RasterVertex& b = *triangles[t][1];
    const RasterVertex& c = *triangles[t][2];
    if (!Visible(setup, a, b, c) || !InsideGuardBand(a) || !InsideGuardBand(b) || !InsideGuardBand(c) ||
        !SnapTriangle(a, b, c, &snapped[t])) {
      return -1;
    }
  }
  // Two halves of an upright rectangle, cut along a diagonal: each takes
  // three corners, and the corners they leave out are opposite.
  const int64_t x0 = std::min({snapped[0].X[0], snapped[0].X[1], snapped[0].X[2]});
  const int64_t x1 = std::max({snapped[0].X[0], snapped[0].X[1], snapped[0].X[2]});
  const int64_t y0 = std::min({snapped[0].Y[0], snapped[0].Y[1], snapped[0].Y[2]});
  const int64_t y1 = std::max({snapped[0].Y[0], snapped[0].Y[1], snapped[0].Y[2]});
  const int corners0 = BoxCorners(snapped[0], x0, x1, y0, y1), corners1 = BoxCorners(snapped[1], x0, x1, y0, y1);
  if (corners0 == 0 || corners1 == 0 || (corners0 ^ 0xF) == 0 || (corners1 ^ 0xF) == 0) return -1;
  const int left0 = std::countr_zero(static_cast<unsigned>(corners0 ^ 0xF));
  const int left1 = std::countr_zero(static_cast<unsigned>(corners1 ^ 0xF));
  if ((left0 ^ left1) != 3) return -1;
  // Both halves must shade every pixel alike on the direct road.
  DirectPlan plans[2];
  for (int t = 0; t < 2; ++t) {
    TriangleShading shading = {};
    shading.flatDiffuse = RoundColor(triangles[t][3]->diffuse);
    shading.flatSpecular = RoundColor(triangles[t][3]->specular);
    CompleteShading(setup, snapped[t], &shading);
    SpanRows rows = {};
    for (int k = 0; k < 3; ++k) {
      rows.vertexX[k] = snapped[t].X[k];
      rows.vertexY[k] = snapped[t].Y[k];
    }
    if (!PlanDirectRoad(setup, shading, rows, &plans[t])) return -1;
  }
  if (!(plans[0] == plans[1])) return -1;
  // The halves' edge rules together own the rectangle's left and top edges
  // and the diagonal once, and not its right and bottom edges: the pixel
  // centres x0 <= x < x1 and y0 <= y < y1. Each row is one run.
  SpanRows box = {};
  box.left = static_cast<int32_t>(std::max<int64_t>(CeilDiv(x0, kSubPixel), setup.clipLeft));
  box.right = static_cast<int32_t>(std::min<int64_t>(CeilDiv(x1, kSubPixel) - 1, setup.clipRight - 1));
  box.top = static_cast<int32_t>(std::max<int64_t>(CeilDiv(y0, kSubPixel), setup.clipTop));
  box.bottom = static_cast<int32_t>(std::min<int64_t>(CeilDiv(y1, kSubPixel) - 1, setup.clipBottom - 1));
  if (box.left > box.right || box.top > box.bottom) return 0;
  return ShadeDirectRows(setup, plans[0], box);
}

int64_t DrawTriangle(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                     const RasterVertex& provoking) {
  if (!Visible(setup, a, b, c)) return 0;
  TriangleShading shading = {};
  shading.flatDiffuse = RoundColor(provoking.diffuse);
  shading.flatSpecular = RoundColor(provoking.specular);
  if (InsideGuardBand(a) && InsideGuardBand(b) && InsideGuardBand(c)) return DrawSnapped(setup, a, b, c, shading);

  RasterVertex bufA[kMaxClipped] = {a, b, c};
  RasterVertex bufB[kMaxClipped];
  int n = 3;
  n = ClipPolygon(bufA, n, 0, 1.0, bufB);
  n = ClipPolygon(bufB, n, 0, -1.0, bufA);
  n = ClipPolygon(bufA, n, 1, 1.0, bufB);
  n = ClipPolygon(bufB, n, 1, -1.0, bufA);
  for (int i = 0; i < n; ++i) {
    bufA[i].x = std::clamp(bufA[i].x, -kGuardBand, kGuardBand);
    bufA[i].y = std::clamp(bufA[i].y, -kGuardBand, kGuardBand);
  }
  int64_t written = 0;
  for (int i = 1; i + 1 < n; ++i) written += DrawSnapped(setup, bufA[0], bufA[i], bufA[i + 1], shading);
  return written;
}

}  // namespace plat::d3d
