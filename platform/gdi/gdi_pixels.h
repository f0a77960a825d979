// Reading and writing one pixel of a GdiPixels store as 0x00RRGGBB, for the
// transfers between stores of different formats.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace plat::gdi {

uint32_t ReadRgb(const GdiPixels& store, int x, int y);
void WriteRgb(const GdiPixels& store, int x, int y, uint32_t rgb);
bool SameLayout(const GdiPixels& a, const GdiPixels& b);
// Copies a w x h block; the rectangles must lie inside both stores. Rows of
// the same layout are copied as bytes.
void CopyBlock(const GdiPixels& destination, int x, int y, const GdiPixels& source, int sourceX, int sourceY, int w,
               int h);

}  // namespace plat::gdi
