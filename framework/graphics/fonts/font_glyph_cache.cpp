// The glyph cache of a font: splitting strings into character codes, and
// rasterising characters through GDI into the cache's cells, first in first
// out. Every write is clipped to the glyph's own cell.
#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/core/life/fatal.h"
#include "framework/core/memory.h"
#include "framework/graphics/fonts/font_handles.h"
#include "platform/gdi/gdi.h"

namespace qor {

namespace {

// Round pens of edges 2 to 4, one row per string.
constexpr const char* kPen5[] = {".###.", "#####", "#####", "#####", ".###."};
constexpr const char* kPen7[] = {"...#...", ".#####.", ".#####.", "#######", ".#####.", ".#####.", "...#..."};
constexpr const char* kPen9[] = {"..#####..", ".#######.", "#########", "#########", "#########",
                                 "#########", "#########", ".#######.", "..#####.."};

}  // namespace

bool FontPenCovers(int32_t edge, int32_t dx, int32_t dy) {
  switch (edge) {
    case 1: return dx == 0 || dy == 0;
    case 2: return kPen5[dy + 2][dx + 2] == '#';
    case 3: return kPen7[dy + 3][dx + 3] == '#';
    case 4: return kPen9[dy + 4][dx + 4] == '#';
    default: return true;
  }
}

namespace {

// One cell of the memory cache, with clipped pixel access.
struct Cell {
  uint8_t* bits;
  int32_t rowBytes, size, depth;  // depth 1 or 8

  bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < size && y < size; }
  void SetBit(int32_t x, int32_t y) const {
    if (Inside(x, y)) bits[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  void SetLow(int32_t x, int32_t y, uint8_t v) const {
    if (Inside(x, y)) bits[y * rowBytes + x] = static_cast<uint8_t>((bits[y * rowBytes + x] & 0xF0) | v);
  }
  void RaiseHigh(int32_t x, int32_t y, uint8_t v) const {
    if (!Inside(x, y)) return;
    uint8_t& p = bits[y * rowBytes + x];
    if ((p >> 4) < v) p = static_cast<uint8_t>((p & 0x0F) | (v << 4));
  }
};

// The largest value within `edge` of each pixel of a w x h grid, along
// rows or along columns: one pass of a square pen's stamp.
void SpreadMax(std::vector<uint8_t>* grid, int32_t w, int32_t h, int32_t edge, bool alongX) {
  std::vector<uint8_t> out(grid->size(), 0);
  const int32_t lines = alongX ? h : w, length = alongX ? w : h;
  for (int32_t line = 0; line < lines; ++line) {
    for (int32_t i = 0; i < length; ++i) {
      uint8_t best = 0;
      for (int32_t j = std::max(0, i - edge); j <= std::min(length - 1, i + edge); ++j) {
        best = std::max(best, (*grid)[static_cast<size_t>(alongX ? line * w + j : j * w + line)]);
      }
      out[static_cast<size_t>(alongX ? line * w + i : i * w + line)] = best;
    }
  }
  grid->swap(out);
}

// Writes a GDI glyph bitmap (1-bit or levels 0-16) into the cell at
// (offset, offset); with an edge (>= 0) the pen is stamped around every
// inked pixel into the high halves.
void StoreGlyph(const Cell& cell, const uint8_t* bitmap, int32_t width, int32_t rows, bool mono, int32_t offset,
                int32_t edge) {
  const int32_t pitch = GlyphBitmapPitch(width, mono);
  // The glyph's coded levels (level - 1) on a grid with room for the pen.
  const int32_t margin = std::max(edge, 0);
  const int32_t gw = width + 2 * margin, gh = rows + 2 * margin;
  std::vector<uint8_t> coded(static_cast<size_t>(gw) * gh, 0);
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* row = bitmap + static_cast<size_t>(y) * pitch;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t level = GlyphBitmapLevel(row, x, mono);
      if (level == 0) continue;
      const int32_t cx = x + offset, cy = y + offset;
      if (cell.depth == 1) cell.SetBit(cx, cy);
      else cell.SetLow(cx, cy, static_cast<uint8_t>(level - 1));
      coded[static_cast<size_t>(y + margin) * gw + x + margin] = static_cast<uint8_t>(level - 1);
    }
  }
  if (edge < 0 || cell.depth == 1) return;
  const int32_t origin = offset - margin;  // the grid's place in the cell
  if (edge > 4) {  // a square pen: two one-dimensional passes
    SpreadMax(&coded, gw, gh, edge, true);
    SpreadMax(&coded, gw, gh, edge, false);
    for (int32_t y = 0; y < gh; ++y) {
      for (int32_t x = 0; x < gw; ++x) cell.RaiseHigh(origin + x, origin + y, coded[static_cast<size_t>(y) * gw + x]);
    }
    return;
  }
  for (int32_t y = 0; y < gh; ++y) {
    for (int32_t x = 0; x < gw; ++x) {
      const uint8_t v = coded[static_cast<size_t>(y) * gw + x];
      if (v == 0) continue;
      for (int32_t dy = -edge; dy <= edge; ++dy) {
        for (int32_t dx = -edge; dx <= edge; ++dx) {
          if (FontPenCovers(edge, dx, dy)) cell.RaiseHigh(origin + x + dx, origin + y + dy, v);
        }
      }
    }
  }
}

}  // namespace

uint8_t* FontCellBits(FontRecord* font, int32_t slot) {
  return font->memoryCache + static_cast<size_t>(slot) * font->cell * font->memoryRowBytes;
}

int IsDoubleByteLead(const uint8_t* byte, int32_t charSet) {
  const uint8_t c = *byte;
  if (charSet == 2) return (c & 0x80) != 0 ? 1 : 0;
  return ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 1 : 0;
}

int ResetFontCache(int32_t handle) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  std::memset(f->codes, 0, sizeof f->codes);
  std::memset(f->glyphs, 0, sizeof f->glyphs);
  for (int32_t i = 0; i < f->capacity; ++i) f->glyphs[i].slot = i;
  f->glyphs[f->capacity].slot = -1;
  f->nextSlot = 0;
  return 0;
}

int FindCachedGlyph(uint16_t* codes, int32_t capacity, const char* text, int32_t handle, int32_t length,
                    int32_t* count) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr || text == nullptr) return -1;
  const auto* s = reinterpret_cast<const uint8_t*>(text);
  const size_t end = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  std::vector<uint16_t> missing;
  const size_t missingMax = static_cast<size_t>(std::min(kFontRenderBatch, f->capacity));
  int32_t n = 0;
  for (size_t i = 0; i < end && s[i] != 0 && n < capacity;) {
    uint16_t code = s[i];
    // A lead byte with no trail before the end or the zero stands alone.
    if (IsDoubleByteLead(s + i, f->charSet) && i + 1 < end && s[i + 1] != 0) {
      code = static_cast<uint16_t>((s[i] << 8) | s[i + 1]);
      i += 2;
    } else {
      i += 1;
    }
    if (codes != nullptr) codes[n] = code;
    ++n;
    if (!f->codes[code].cached && missing.size() < missingMax &&
        std::find(missing.begin(), missing.end(), code) == missing.end()) {
      missing.push_back(code);
    }
  }
  if (!missing.empty()) RenderGlyphsToCache(handle, static_cast<int32_t>(missing.size()), missing.data());
  if (count != nullptr) *count = n;
  return 0;
}

// A character GDI cannot render, or a bitmap with no room to fetch it into,
// ends the program: the string could not be drawn as asked. The last
// entry rendered, or null when a glyph could not be put into the texture
// cache (which is then marked to be made again).
FontGlyphEntry* RenderGlyphsToCache(int32_t handle, int32_t count, const uint16_t* codes) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr || codes == nullptr || count <= 0) return nullptr;
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  if (dc == 0) FatalError("テキストキャッシュサーフェスのＤＣの取得に失敗しました");
  plat::SelectObject(dc, plat::FontObjectHandle(f->gdiFont));
  const bool mono = (f->type & kFontTypeAntialiased) == 0;
  const uint32_t format = mono ? plat::gdi::GGO_BITMAP : plat::gdi::GGO_GRAY4_BITMAP;
  const bool edged = (f->type & kFontTypeEdged) != 0;
  const int32_t edge2 = edged ? 2 * f->edgeSize : 0;
  FontGlyphEntry* last = nullptr;
  bool stored = true;
  for (int32_t i = 0; i < count; ++i) {
    FontGlyphEntry* e = &f->glyphs[f->nextSlot];
    if (e->inUse && e->code != nullptr) *e->code = FontCodeEntry{};
    FontCodeEntry* c = &f->codes[codes[i]];
    *c = FontCodeEntry{1, e};
    const int32_t slot = e->slot;
    *e = FontGlyphEntry{};
    e->inUse = 1;
    e->slot = slot;
    e->code = c;
    f->nextSlot = f->nextSlot + 1 >= f->capacity ? 0 : f->nextSlot + 1;
    last = e;

    const Cell cell{FontCellBits(f, slot), f->memoryRowBytes, f->cell, f->memoryBits};
    std::memset(cell.bits, 0, static_cast<size_t>(f->cell) * f->memoryRowBytes);
    plat::gdi::GlyphMetrics gm;
    const uint32_t size = plat::GetGlyphOutlineA(dc, codes[i], format, &gm, 0, nullptr, &plat::gdi::kIdentityMat2);
    if (size == plat::gdi::GDI_ERROR) FatalError("GetGlyphOutline 関数が失敗しました");
    e->advance = static_cast<int16_t>(gm.gmCellIncX + edge2);
    if (IsBlankFontCode(codes[i])) continue;
    e->xOrigin = static_cast<int16_t>(gm.gmptGlyphOrigin.x);
    e->yOffset = static_cast<int16_t>(f->ascent - gm.gmptGlyphOrigin.y);
    if (size == 0) continue;  // no ink
    // Two rows to spare past the bitmap.
    const uint64_t rowBytes = gm.gmBlackBoxY > 0 ? (size / gm.gmBlackBoxY) & ~3u : 0;
    const uint64_t bytes = size + 2 * rowBytes;
    auto* buffer = bytes <= kMaxAllocSize
                       ? static_cast<uint8_t*>(AllocMemoryZeroed(static_cast<size_t>(bytes), __FILE__, __LINE__))
                       : nullptr;
    if (buffer == nullptr) FatalError("アンチエイリアス文字取得用バッファの確保に失敗しました");
    const int32_t width = static_cast<int32_t>(std::min<uint32_t>(gm.gmBlackBoxX, plat::gdi::kMaxFontPixels * 2));
    const int32_t rows = static_cast<int32_t>(std::min<uint32_t>(gm.gmBlackBoxY, plat::gdi::kMaxFontPixels * 2));
    const uint64_t pitch = static_cast<uint64_t>(GlyphBitmapPitch(width, mono));
    if (plat::GetGlyphOutlineA(dc, codes[i], format, &gm, size, buffer, &plat::gdi::kIdentityMat2) ==
            plat::gdi::GDI_ERROR ||
        pitch * rows > bytes) {
      FreeMemory(buffer);
      FatalError("GetGlyphOutline 関数が失敗しました");
    }
    e->boxWidth = static_cast<int16_t>(std::min<int64_t>(gm.gmBlackBoxX + edge2, 32767));
    e->boxHeight = static_cast<int16_t>(std::min<int64_t>(gm.gmBlackBoxY + edge2, 32767));
    const int32_t offset = edged ? f->edgeSize : 0;
    StoreGlyph(cell, buffer, width, rows, mono, offset, edged ? f->edgeSize : -1);
    if (f->textureCache && StoreGlyphInTextureCache(f, slot, buffer, width, rows, mono, offset) != 0) {
      f->cacheGraphLost = 1;
      stored = false;
    }
    FreeMemory(buffer);
  }
  plat::DeleteDC(dc);
  return stored ? last : nullptr;
}

}  // namespace qor
