#include "framework/graphics/graphs/rect.h"

#include <algorithm>
#include <utility>

namespace qor {

namespace {

int32_t ClampEdge(int32_t value, int32_t low, int32_t high) {
  if (value > high) return high;
  if (value < low) return low;
  return value;
}

}  // namespace

int ClipRect(Rect* rect, const Rect* clip) {
  if (rect->right < rect->left) rect->right = rect->left;
  if (rect->bottom < rect->top) rect->bottom = rect->top;
  rect->bottom = ClampEdge(rect->bottom, clip->top, clip->bottom);
  rect->top = ClampEdge(rect->top, clip->top, clip->bottom);
  rect->right = ClampEdge(rect->right, clip->left, clip->right);
  rect->left = ClampEdge(rect->left, clip->left, clip->right);
  return 0;
}

int NormalizeRect(Rect* rect) {
  if (rect->left > rect->right) std::swap(rect->left, rect->right);
  if (rect->top > rect->bottom) std::swap(rect->top, rect->bottom);
  return 0;
}

int GetRectSize(const Rect* rect, int32_t* width, int32_t* height) {
  // 64-bit differences so that extreme edges do not overflow; the sizes are
  // saturated into int.
  auto span = [](int32_t a, int32_t b) {
    int64_t d = static_cast<int64_t>(b) - a;
    if (d > INT32_MAX) return INT32_MAX;
    if (d < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(d);
  };
  if (width != nullptr) *width = span(rect->left, rect->right);
  if (height != nullptr) *height = span(rect->top, rect->bottom);
  return 0;
}

bool CutSourceToPiece(const Rect& source, int32_t x, int32_t y, int32_t pieceX, int32_t pieceY, int32_t pieceWidth,
                      int32_t pieceHeight, Rect* part) {
  const int32_t w = source.right - source.left, h = source.bottom - source.top;
  const int32_t pr = pieceX + pieceWidth, pb = pieceY + pieceHeight;
  if (x >= pr || y >= pb || x + w <= pieceX || y + h <= pieceY) return false;
  *part = source;
  if (pieceX > x) part->left += pieceX - x;
  if (pieceY > y) part->top += pieceY - y;
  part->right = std::min(part->right, source.left + (pr - x));
  part->bottom = std::min(part->bottom, source.top + (pb - y));
  return part->right > part->left && part->bottom > part->top;
}

}  // namespace qor
