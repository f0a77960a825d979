// Channel codecs and triangle set-up: finiteness, culling, clipping to the
// guard band, fixed point, and the walk over the viewport's pixel centres.
#include "platform/d3d/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/d3d/pixel_pipeline.h"
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

Rgba RoundColor(const double* c) {
  Rgba out;
  for (int i = 0; i < 4; ++i) out.c[i] = std::clamp(static_cast<int32_t>(std::floor(c[i] + 0.5)), 0, 255);
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

// A triangle wholly inside the guard band.
int64_t DrawSnapped(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                    TriangleShading shading) {
  const RasterVertex* v[3] = {&a, &b, &c};
  int64_t X[3];
  int64_t Y[3];
  for (int i = 0; i < 3; ++i) {
    X[i] = static_cast<int64_t>(std::floor(v[i]->x * kSubPixel + 0.5));
    Y[i] = static_cast<int64_t>(std::floor(v[i]->y * kSubPixel + 0.5));
  }
  int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0) return 0;
  if (area < 0) {
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
    area = -area;
  }
  // Edge k lies opposite vertex k, from vertex k+1 to vertex k+2.
  int64_t dx[3];
  int64_t dy[3];
  int64_t bias[3];
  for (int k = 0; k < 3; ++k) {
    int p = (k + 1) % 3;
    int q = (k + 2) % 3;
    dx[k] = X[q] - X[p];
    dy[k] = Y[q] - Y[p];
    bool topLeft = (dy[k] == 0 && dx[k] > 0) || dy[k] < 0;
    bias[k] = topLeft ? 0 : -1;
  }

  int64_t left = std::max<int64_t>(CeilDiv(std::min({X[0], X[1], X[2]}), kSubPixel), setup.clipLeft);
  int64_t right = std::min<int64_t>(FloorDiv(std::max({X[0], X[1], X[2]}), kSubPixel), setup.clipRight - 1);
  int64_t top = std::max<int64_t>(CeilDiv(std::min({Y[0], Y[1], Y[2]}), kSubPixel), setup.clipTop);
  int64_t bottom = std::min<int64_t>(FloorDiv(std::max({Y[0], Y[1], Y[2]}), kSubPixel), setup.clipBottom - 1);
  if (left > right || top > bottom) return 0;

  for (int i = 0; i < 3; ++i) shading.v[i] = v[i];
  shading.area = static_cast<double>(area);
  for (int k = 0; k < setup.stageCount; ++k) shading.minify[k] = Minifies(setup, k, v, dx, dy, shading.area);

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

}  // namespace

int64_t DrawTriangle(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                     const RasterVertex& provoking) {
  if (!VertexFinite(a) || !VertexFinite(b) || !VertexFinite(c)) return 0;
  double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (!std::isfinite(cross) || cross == 0.0) return 0;
  // On screen, y grows downward: a positive cross product runs clockwise.
  if ((setup.cull == kCullCw && cross > 0.0) || (setup.cull == kCullCcw && cross < 0.0)) return 0;

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
