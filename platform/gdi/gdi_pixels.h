// Reading and writing one pixel of a GdiPixels store as 0x00RRGGBB, for the
// transfers between stores of different formats.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace plat::gdi {

uint32_t ReadRgb(const GdiPixels& store, int x, int y);
void WriteRgb(const GdiPixels& store, int x, int y, uint32_t rgb);
bool SameLayout(const GdiPixels& a, const GdiPixels& b);

// How a store's pixels lie, worked out once per transfer: the layouts this
// program moves whole pictures in get straight row loops; any other goes
// pixel by pixel through ReadRgb and WriteRgb (Generic), with the same
// results.
enum class RowLayout { Generic, Palette8, Rgb555, Rgb565, Bgr24, Xrgb8888 };
RowLayout RowLayoutOf(const GdiPixels& store);
// n pixels of row y from column x as 0x00RRGGBB, and back; `layout` is the
// store's RowLayoutOf or Generic. Writes to 8 bits take the nearest palette
// entry.
void ReadRgbRow(const GdiPixels& store, RowLayout layout, int x, int y, int n, uint32_t* out);
void WriteRgbRow(const GdiPixels& store, RowLayout layout, int x, int y, int n, const uint32_t* rgb);
// Copies a w x h block; the rectangles must lie inside both stores. Rows of
// the same layout are copied as bytes, others row by row through 0x00RRGGBB.
void CopyBlock(const GdiPixels& destination, int x, int y, const GdiPixels& source, int sourceX, int sourceY, int w,
               int h);

}  // namespace plat::gdi
