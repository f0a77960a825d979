#include "framework/softrender/soft_primitives.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/graphics/images/pixel_access.h"
#include "framework/softrender/soft_blend.h"

namespace qor {

namespace {

// A destination prepared for per-pixel work: the clip area (the draw area
// cut to the image) and the tinted colour.
struct PrimitiveTarget {
  uint8_t* pixels;
  int32_t pitch;
  bool wide;  // 32-bit pixels, else 16-bit
  Rect area;
  uint32_t color;
  int32_t mode;
  int32_t param;
};

bool PrepareTarget(MemImage* image, uint32_t color, const SoftDrawSettings* settings, PrimitiveTarget* target) {
  if (!IsMemImgValid(image)) return false;
  const MemImgBuffer* buffer = image->buffer;
  if (buffer->paletteFlag || buffer->alphaFlag) return false;
  if (buffer->formatKind != 0 && buffer->formatKind != 1) return false;
  target->pixels = image->pixels;
  target->pitch = buffer->pitch;
  target->wide = buffer->formatKind == 1;
  // The draw area is cut to the image as well, so that an area left over
  // from a larger target never reaches outside this one.
  Rect bounds = {0, 0, image->width, image->height};
  target->area = settings->drawArea;
  ClipRect(&target->area, &bounds);
  target->color = target->wide ? TintColor32(color, settings->tint) : TintColor16(color, settings->tint);
  target->mode = settings->blendMode;
  target->param = std::clamp(settings->blendParam, 0, 255);
  return true;
}

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

void PlotPixel(const PrimitiveTarget& t, int64_t x, int64_t y) {
  uint8_t* p = t.pixels + y * t.pitch + x * (t.wide ? 4 : 2);
  if (t.wide) {
    StorePixel32(p, BlendPixel32(LoadPixel32(p), t.color, t.mode, t.param));
  } else {
    StorePixel16(p, BlendPixel16(LoadPixel16(p), t.color, t.mode, t.param));
  }
}

// Keeps a coordinate computed along the line within a range that converts to
// an integer safely; the final clamp brings it into the area.
int64_t TruncateCoordinate(double v) { return static_cast<int64_t>(std::clamp(v, -4.0e12, 4.0e12)); }

// Moves an end that lies outside [lowX, highX] x [lowY, highY] along the
// line onto the range's edges, then clamps it into the range.
void MoveEndInside(int64_t* x, int64_t* y, double xPerY, double yPerX, int64_t lowX, int64_t highX, int64_t lowY,
                   int64_t highY) {
  if (*x < lowX) {
    *y = TruncateCoordinate(static_cast<double>(*y) + static_cast<double>(lowX - *x) * yPerX);
    *x = lowX;
  } else if (*x > highX) {
    *y = TruncateCoordinate(static_cast<double>(*y) + static_cast<double>(highX - *x) * yPerX);
    *x = highX;
  }
  if (*y < lowY) {
    *x = TruncateCoordinate(static_cast<double>(*x) + static_cast<double>(lowY - *y) * xPerY);
    *y = lowY;
  } else if (*y > highY) {
    *x = TruncateCoordinate(static_cast<double>(*x) + static_cast<double>(highY - *y) * xPerY);
    *y = highY;
  }
  *x = std::clamp(*x, lowX, highX);
  *y = std::clamp(*y, lowY, highY);
}

}  // namespace

void PaintMemImgRect(MemImage* image, const Rect* rect, uint32_t color, const SoftDrawSettings* settings) {
  PrimitiveTarget t;
  if (!PrepareTarget(image, color, settings, &t)) return;
  Rect r = rect != nullptr ? *rect : Rect{0, 0, image->width, image->height};
  NormalizeRect(&r);
  ClipRect(&r, &t.area);
  if (IsEmpty(r)) return;
  const int bytes = t.wide ? 4 : 2;
  const bool plainFill = t.mode == kBlendNone || (t.mode == kBlendAlpha && t.param == 255);
  for (int32_t y = r.top; y < r.bottom; ++y) {
    uint8_t* p = t.pixels + static_cast<int64_t>(y) * t.pitch + static_cast<int64_t>(r.left) * bytes;
    for (int32_t x = r.left; x < r.right; ++x, p += bytes) {
      if (t.wide) {
        StorePixel32(p, plainFill ? t.color : BlendPixel32(LoadPixel32(p), t.color, t.mode, t.param));
      } else {
        StorePixel16(p, plainFill ? t.color : BlendPixel16(LoadPixel16(p), t.color, t.mode, t.param));
      }
    }
  }
}

void DrawMemImgLine(MemImage* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color,
                    const SoftDrawSettings* settings) {
  PrimitiveTarget t;
  if (!PrepareTarget(image, color, settings, &t)) return;
  const Rect& a = t.area;
  if (IsEmpty(a)) return;
  if (std::min(x1, x2) >= a.right || std::min(y1, y2) >= a.bottom || std::max(y1, y2) < a.top ||
      std::max(x1, x2) < a.left) {
    return;
  }

  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  double dx = static_cast<double>(bx - ax);
  double dy = static_cast<double>(by - ay);
  double xPerY = dy != 0.0 ? dx / dy : 0.0;
  double yPerX = dx != 0.0 ? dy / dx : 0.0;
  // The first end is drawn, so it comes inside the area; the second is not,
  // so it may sit one step beyond each edge.
  MoveEndInside(&ax, &ay, xPerY, yPerX, a.left, a.right - 1, a.top, a.bottom - 1);
  MoveEndInside(&bx, &by, xPerY, yPerX, a.left - 1, a.right, a.top - 1, a.bottom);

  int64_t lx = std::llabs(bx - ax);
  int64_t ly = std::llabs(by - ay);
  if (lx == 0 && ly == 0) return;
  int64_t stepX = bx >= ax ? 1 : -1;
  int64_t stepY = by >= ay ? 1 : -1;
  int64_t x = ax, y = ay, error = 0;
  if (lx >= ly) {
    for (int64_t n = 0; n < lx; ++n) {
      PlotPixel(t, x, y);
      x += stepX;
      error += ly;
      if (error >= lx) {
        y += stepY;
        error -= lx;
      }
    }
  } else {
    for (int64_t n = 0; n < ly; ++n) {
      PlotPixel(t, x, y);
      y += stepY;
      error += lx;
      if (error >= ly) {
        x += stepX;
        error -= ly;
      }
    }
  }
}

void DrawMemImgLineList(MemImage* image, const LineRecord* lines, int32_t count, const SoftDrawSettings* settings) {
  for (int32_t i = 0; i < count; ++i) {
    const LineRecord& l = lines[i];
    DrawMemImgLine(image, l.x1, l.y1, l.x2, l.y2, static_cast<uint32_t>(l.color), settings);
  }
}

}  // namespace qor
