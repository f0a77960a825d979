// The display stand-in's pixel moves: colour fills, 1:1 copies and stretched
// copies, row by row, with or without a source colour key.
//
// Rectangles are already checked against their planes; `clip` limits what is
// written. A source and a destination may be the same surface: overlapping
// rectangles give the picture a copy of the source taken before the move
// would have given.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace plat {

struct DdPlane {
  uint8_t* pixels = nullptr;  // pixel (0, 0)
  int32_t pitch = 0;
  int bytes = 0;  // per pixel: 1, 2, 3 or 4
};

// A source pixel whose value lies in low..high (as a whole pixel) is skipped.
struct DdKeyRange {
  bool on = false;
  uint32_t low = 0, high = 0;
};

// Fills `r` intersected with `clip`.
void DdFillRows(const DdPlane& to, const Rect& r, const Rect& clip, uint32_t value);

// Moves the source rectangle `s` onto the destination rectangle `d`: pixel
// (x, y) of `d` takes source pixel (s.left + x * sw / dw, s.top + y * sh / dh)
// (x, y counted from d's corner, sizes of the rectangles as given); only the
// part of `d` inside `clip` is written. Same sizes make a plain copy.
void DdMoveRows(const DdPlane& to, const Rect& d, const Rect& clip, const DdPlane& from, const Rect& s,
                const DdKeyRange& key);

}  // namespace plat
