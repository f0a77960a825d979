// The IPA Gothic face read straight through FreeType for the font tests:
// the reference glyphs and metrics the glyph cache must reproduce.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/ipa_face.h"

namespace fonttest {

struct RefGlyph {
  int width = 0, rows = 0, left = 0, top = 0, advance = 0;
  std::vector<int> level;  // per pixel: 0-16 (grey) or 0/16 (mono)
};

struct FaceFile : testsupport::IpaFace {
  int Ascent(int cell) const { return static_cast<int>(Scale(winAscent, cell)); }
  int Height(int cell) const { return static_cast<int>(Scale(winAscent, cell) + Scale(winDescent, cell)); }

  // GDI's rendering of a Unicode character at a cell height: the hinted
  // FreeType bitmap, levels (coverage x 16 + 127) / 255 for grey, and the
  // bold overstrike (each pixel also takes its left neighbour, one wider).
  RefGlyph Render(int cell, uint32_t unicode, bool mono, bool bold) {
    FT_Set_Char_Size(face, 0, Scale(em * 64, cell), 0, 0);
    const FT_UInt index = FT_Get_Char_Index(face, unicode);
    FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL));
    FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL);
    const FT_Bitmap& b = face->glyph->bitmap;
    RefGlyph g;
    g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6) + (bold ? 1 : 0);
    if (b.width == 0 || b.rows == 0) return g;
    g.width = static_cast<int>(b.width) + (bold ? 1 : 0);
    g.rows = static_cast<int>(b.rows);
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.level.assign(static_cast<size_t>(g.width * g.rows), 0);
    auto cover = [&](int x, int y) {
      if (x < 0 || x >= static_cast<int>(b.width)) return 0;
      const unsigned char* row = b.buffer + y * b.pitch;
      return mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : static_cast<int>(row[x]);
    };
    for (int y = 0; y < g.rows; ++y) {
      for (int x = 0; x < g.width; ++x) {
        const int c = bold ? std::max(cover(x, y), cover(x - 1, y)) : cover(x, y);
        g.level[static_cast<size_t>(y * g.width + x)] = mono ? (c >= 128 ? 16 : 0) : (c * 16 + 127) / 255;
      }
    }
    return g;
  }
};

// Half the width of each row of the edge pens, by row distance from the
// centre: the plus of edge 1, the round pens of edges 2 to 4.
inline bool PenCovers(int edge, int dx, int dy) {
  static const int kHalf[5][5] = {{0}, {1, 0}, {2, 2, 1}, {3, 2, 2, 0}, {4, 4, 4, 3, 2}};
  if (edge > 4) return true;
  const int ady = dy < 0 ? -dy : dy, adx = dx < 0 ? -dx : dx;
  return ady <= edge && adx <= kHalf[edge][ady];
}

}  // namespace fonttest
