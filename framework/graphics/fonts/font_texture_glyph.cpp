// The texture cache's side of rendering a glyph: the glyph image (one cell,
// two side by side for edged fonts) made from GDI's bitmap, the glyph layer
// keeping its levels and the edge layer combining every stamp of the pen,
// then stored into the cache graph and the edge graph at the slot's cell.
#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_load.h"

namespace qor {

uint16_t GlyphAlpha4(int32_t level) {
  const int32_t c = std::max(level - 1, 0);
  return static_cast<uint16_t>(c >= 15 ? 15 : (c * 15 + 8) / 16);
}

// The memory cache draws an edge of coded value e = level - 1 alone at
// alpha e x 16 / 256: e x 15 / 16 of the 4-bit range, to the nearest.
uint16_t EdgeAlpha4(int32_t level) {
  return static_cast<uint16_t>((std::clamp(level - 1, 0, 15) * 15 + 8) / 16);
}

int StoreGlyphInTextureCache(FontRecord* f, int32_t slot, const uint8_t* bitmap, int32_t width, int32_t rows,
                             bool mono, int32_t offset) {
  GraphImage& image = f->glyphImage;
  if (image.pixels == nullptr) return -1;
  const int32_t cell = f->cell;
  const bool edged = (f->type & kFontTypeEdged) != 0 && image.width >= 2 * cell;
  const int32_t pitch = GlyphBitmapPitch(width, mono);
  // Both layers' levels over the cell.
  std::vector<uint8_t> glyph(static_cast<size_t>(cell) * cell, 0), edge(glyph.size(), 0);
  auto inside = [&](int32_t x, int32_t y) { return x >= 0 && y >= 0 && x < cell && y < cell; };
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* row = bitmap + static_cast<size_t>(y) * pitch;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t level = GlyphBitmapLevel(row, x, mono);
      if (level == 0) continue;
      const int32_t cx = x + offset, cy = y + offset;
      if (inside(cx, cy)) glyph[static_cast<size_t>(cy) * cell + cx] = static_cast<uint8_t>(level);
      if (!edged) continue;
      const int32_t e = f->edgeSize;
      for (int32_t dy = -e; dy <= e; ++dy) {
        for (int32_t dx = -e; dx <= e; ++dx) {
          if (!inside(cx + dx, cy + dy) || !FontPenCovers(e, dx, dy)) continue;
          uint8_t& old = edge[static_cast<size_t>(cy + dy) * cell + cx + dx];
          old = static_cast<uint8_t>(CombineEdgeLevel(old, level));
        }
      }
    }
  }
  // White texels carrying the levels as alpha.
  const PixelFormatInfo& fmt = image.format;
  const uint32_t white = fmt.masks[0] | fmt.masks[1] | fmt.masks[2];
  const bool fourBits = fmt.widths[3] == 4;
  auto texel = [&](uint16_t alpha4) {
    const uint32_t a = fourBits ? alpha4 : (alpha4 != 0 ? 1u : 0u);
    return static_cast<uint16_t>(white | ((a << fmt.shifts[3]) & fmt.masks[3]));
  };
  for (int32_t y = 0; y < cell && y < image.height; ++y) {
    auto* row = reinterpret_cast<uint16_t*>(image.pixels + static_cast<size_t>(y) * image.pitch);
    for (int32_t x = 0; x < cell; ++x) {
      row[x] = texel(GlyphAlpha4(glyph[static_cast<size_t>(y) * cell + x]));
      if (edged) row[cell + x] = texel(EdgeAlpha4(edge[static_cast<size_t>(y) * cell + x]));
    }
  }
  const int32_t cx = slot / f->glyphsPerColumn * cell, cy = slot % f->glyphsPerColumn * cell;
  const Rect glyphRect{0, 0, cell, cell};
  if (StoreImageInGraph(&image, cx, cy, 0, nullptr, &glyphRect, f->cacheGraph, 0) != 0) return -1;
  if (!edged) return 0;
  const Rect edgeRect{cell, 0, 2 * cell, cell};
  return StoreImageInGraph(&image, cx, cy, 0, nullptr, &edgeRect, f->edgeGraph, 0);
}

}  // namespace qor
