#include "framework/softrender/xform_rotate_setup.h"

#include <algorithm>
#include <cmath>

#include "framework/core/math_helpers.h"

namespace qor {

namespace {

// Fixed corners further out than this are refused anyway; the clamp only
// keeps the conversion defined.
constexpr int64_t kCornerLimit = int64_t{1} << 40;
// Source positions of the mapping stay below 2^54 for any accepted input
// (box and centre within 2^15 pixels, turn values within 2^18, inverse
// scale within 2^20); the clamp only keeps the conversion defined.
constexpr int64_t kMappingLimit = int64_t{1} << 60;

// The centre plus a turned and scaled offset, as a 14.18 position.
bool Corner(int32_t centre, float offset, int64_t* out) {
  if (!std::isfinite(offset)) return false;
  int64_t v = PixelToFixed(centre) + TruncSaturate(offset, kCornerLimit);
  if (!FixedFitsFormat(v)) return false;
  *out = v;
  return true;
}

struct InverseMap {
  int32_t cx, cy;
  int32_t cN, sN;    // turn values of the negated angle, fixed
  float inv;         // 1 / scale
  int64_t uCentre;   // fixed source position shown at the centre
  int64_t vCentre;
};

// The source position of destination pixel (x, y). The turned offsets are
// exact integers; their product with the inverse scale is a float, as is
// every other step of the set-up.
void MapBack(const InverseMap& m, int64_t x, int64_t y, int64_t* u, int64_t* v) {
  int64_t dx = x - m.cx;
  int64_t dy = y - m.cy;
  float fu = static_cast<float>(dx * m.cN - dy * m.sN) * m.inv;
  float fv = static_cast<float>(dy * m.cN + dx * m.sN) * m.inv;
  *u = TruncSaturate(fu, kMappingLimit) + m.uCentre;
  *v = TruncSaturate(fv, kMappingLimit) + m.vCentre;
}

}  // namespace

int PrepareRotation(int32_t cx, int32_t cy, float angle, float scale, int32_t width, int32_t height, bool mirror,
                    const Rect& area, RotateSetup* r) {
  *r = {};
  if (!std::isfinite(angle) || !std::isfinite(scale) || !(std::fabs(scale) >= kRotateMinScale)) {
    return kRotateNothing;
  }
  if (!PixelFitsFixed(cx) || !PixelFitsFixed(cy) || width <= 0 || height <= 0) return kRotateNothing;

  float sNf, cNf, sPf, cPf;
  SinCosFloat(-angle, &sNf, &cNf);
  SinCosFloat(angle, &sPf, &cPf);
  const float one = static_cast<float>(kFixedOne);
  int32_t cN = FloatToIntTrunc(cNf * one);
  int32_t sN = FloatToIntTrunc(sNf * one);
  int32_t cP = FloatToIntTrunc(cPf * one);
  int32_t sP = FloatToIntTrunc(sPf * one);

  float hw = static_cast<float>(width) * scale * 0.5f;
  float hh = static_cast<float>(height) * scale * 0.5f;
  float aw = static_cast<float>(cP) * hw;
  float bw = static_cast<float>(sP) * hw;
  float ah = static_cast<float>(cP) * hh;
  float bh = static_cast<float>(sP) * hh;

  // Top-left, bottom-left, bottom-right, top-right.
  int64_t x[4], y[4];
  bool ok = Corner(cx, bh - aw, &x[0]) && Corner(cy, -ah - bw, &y[0]) && Corner(cx, -aw - bh, &x[1]) &&
            Corner(cy, ah - bw, &y[1]) && Corner(cx, aw - bh, &x[2]) && Corner(cy, ah + bw, &y[2]) &&
            Corner(cx, aw + bh, &x[3]) && Corner(cy, bw - ah, &y[3]);
  if (!ok) return kRotateNothing;

  if (mirror) {
    const int order[4] = {3, 0, 2, 1};
    for (int i = 0; i < 4; ++i) {
      r->mirrorCorners[2 * i] = static_cast<int32_t>(FixedToPixel(x[order[i]]));
      r->mirrorCorners[2 * i + 1] = static_cast<int32_t>(FixedToPixel(y[order[i]]));
    }
    return kRotateMirrored;
  }

  int64_t minX = *std::min_element(x, x + 4), maxX = *std::max_element(x, x + 4);
  int64_t minY = *std::min_element(y, y + 4), maxY = *std::max_element(y, y + 4);
  if (minY == maxY) return kRotateNothing;
  // Grown by a margin so that rounding never cuts an edge pixel off.
  Rect box = {static_cast<int32_t>(FixedToPixel(minX) - 2), static_cast<int32_t>(FixedToPixel(minY) - 2),
              static_cast<int32_t>(FixedToPixel(maxX) + 4), static_cast<int32_t>(FixedToPixel(maxY) + 4)};
  ClipRect(&box, &area);
  if (box.left >= box.right || box.top >= box.bottom) return kRotateNothing;
  r->box = box;

  InverseMap m;
  m.cx = cx;
  m.cy = cy;
  m.cN = cN;
  m.sN = sN;
  m.inv = 1.0f / scale;
  m.uCentre = PixelToFixed(width >> 1);
  m.vCentre = PixelToFixed(height >> 1);
  r->ux = TruncSaturate(static_cast<float>(cP) * m.inv, kFixedStepLimit);
  r->vx = TruncSaturate(static_cast<float>(sN) * m.inv, kFixedStepLimit);

  // Two evaluations of the mapping: the box's first column in its top row
  // and in the row just below it; rows in between are stepped.
  int64_t u1, v1;
  MapBack(m, box.left, box.top, &r->u0, &r->v0);
  MapBack(m, box.left, box.bottom, &u1, &v1);
  int64_t rows = box.bottom - box.top;
  r->urow = (u1 - r->u0) / rows;
  r->vrow = (v1 - r->v0) / rows;
  return kRotateScan;
}

}  // namespace qor
