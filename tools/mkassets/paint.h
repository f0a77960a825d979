// Shapes for the placeholder pictures, on the shared palette: plates for
// words, ellipses and triangles for figures, and a piece record that names a
// piece's rectangle in its sheet.
#pragma once

#include <cstdint>
#include <string>

#include "asset_files.h"
#include "text_render.h"

namespace mkassets {

// Colours used across the set.
namespace ink {
inline uint8_t White() { return GreyIndex(38); }
inline uint8_t Black() { return GreyIndex(0); }
inline uint8_t Grey(int level) { return GreyIndex(level); }
}  // namespace ink

// One piece of a sheet: its rectangle and its number.
struct Piece {
  IndexedPicture* pic;
  int x, y, w, h;
  int index;
};

// The pieces of a sheet laid out across x down, each w x h, on the key.
IndexedPicture KeySheet(int across, int down, int w, int h);
Piece PieceOf(IndexedPicture& pic, int across, int w, int h, int index);

void FillEllipse(IndexedPicture& pic, float cx, float cy, float rx, float ry, uint8_t index);
// An ellipse with a rim of the given width.
void RimmedEllipse(IndexedPicture& pic, float cx, float cy, float rx, float ry, uint8_t body, uint8_t rim, float rimWidth);
void FillTriangle(IndexedPicture& pic, float x0, float y0, float x1, float y1, float x2, float y2, uint8_t index);
// A filled rectangle with cut corners and a border (right and bottom exclusive).
void Plate(IndexedPicture& pic, int x0, int y0, int x1, int y1, uint8_t fill, uint8_t border);
// Only the border, `thickness` wide.
void Frame(IndexedPicture& pic, int x0, int y0, int x1, int y1, int thickness, uint8_t border);

// A plate over the whole piece with words on it, white with a black rim.
void WordPlate(const Piece& p, const std::string& words, uint8_t fill, uint8_t border, int maxPixels = 22,
               Align align = Align::Centre);
// Words straight on the piece (the key stays around them).
void Words(const Piece& p, const std::string& words, uint8_t colour, int maxPixels = 22, Align align = Align::Centre,
           Face face = Face::Words);
// Words in a part of the picture.
void WordsAt(IndexedPicture& pic, int x, int y, int w, int h, const std::string& words, uint8_t colour, int maxPixels,
             Align align = Align::Centre, Face face = Face::Words);

}  // namespace mkassets
