// Integer rectangles: left, top, right, bottom, right and bottom exclusive.
#pragma once

#include <cstdint>

namespace qor {

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Clips `rect` in place to `clip`: an inverted rectangle first collapses
// (right to left, bottom to top), then bottom, top, right and left are each
// clamped into the clip rectangle. A rectangle wholly outside collapses onto
// the nearest edge; callers take a width or height of 0 as empty. 0.
int ClipRect(Rect* rect, const Rect* clip);

// Swaps left and right, then top and bottom, where they are out of order. 0.
int NormalizeRect(Rect* rect);

// Writes the width and the height where the pointers are given. 0.
int GetRectSize(const Rect* rect, int32_t* width, int32_t* height);

// An image rectangle `source` laid at (x, y) of a graph, cut to the piece of
// the graph at (pieceX, pieceY) of the given size: the part of `source` that
// lands on the piece. False when none does.
bool CutSourceToPiece(const Rect& source, int32_t x, int32_t y, int32_t pieceX, int32_t pieceY, int32_t pieceWidth,
                      int32_t pieceHeight, Rect* part);

}  // namespace qor
