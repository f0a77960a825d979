// Font handles and their glyph caches. A font handle owns a GDI font, a cell
// size measured from it, and a cache of glyphs rasterised once and drawn
// from memory afterwards (text_draw.h). One default font is kept; a lost
// display re-creates every font under its old handle value.
//
// Every font keeps the memory cache: a 1-bit (type 0) or 8-bit bitmap one
// cell wide and `capacity` cells high, plus a screen-sized work surface for
// the blended string draws. Eight-bit cells keep the glyph's coverage (0-15)
// in their low four bits and the edge's in their high four bits.
//
// While Direct3D draws, a font also gets the texture cache: a blank graph of
// 16-bit texels (4:4:4:4 antialiased, else 1:5:5:5) whose cells mirror the
// memory cache's slots, white with the coverage as alpha; an edged font's
// graph is twice as wide and its right half (a graph carved from it, so the
// same texture) holds the edges. Strings of such fonts are drawn as textured
// quads (DrawStringD3D). A glyph's levels 0-16 become the 4-bit alpha so
// that a texel is as opaque as the memory cache's rule makes the pixel; the
// edge layer there combines the pen's stamps as overlapping transparencies
// where the memory cache keeps the highest.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/handle_table.h"
#include "platform/gdi/gdi_font.h"

namespace qor {

constexpr int32_t kFontMax = kFontHandleMax;
constexpr int32_t kFontCheckLimit = kHandleCheckLimit;
constexpr int32_t kFontGlyphSlots = 2024;
constexpr int32_t kFontSizeMax = 1024;
constexpr int32_t kFontEdgeMax = 32;
constexpr int32_t kFontFaceNameSize = 256;
constexpr int32_t kFontCodeCount = 65536;
constexpr int32_t kFontRenderBatch = 256;

// Type bits.
constexpr uint32_t kFontTypeEdged = 1;
constexpr uint32_t kFontTypeAntialiased = 2;

struct FontCodeEntry;

struct FontGlyphEntry {
  uint16_t inUse;
  int16_t xOrigin;
  int16_t yOffset;  // text ascent - glyph origin y
  int16_t advance;
  int32_t slot;     // cell index in the cache, -1 after the last usable entry
  int16_t boxWidth;
  int16_t boxHeight;
  FontCodeEntry* code;
};

struct FontCodeEntry {
  uint32_t cached;
  FontGlyphEntry* entry;
};

struct FontRecord {
  uint32_t check;
  int32_t* lostFlag;
  FontGlyphEntry glyphs[kFontGlyphSlots + 1];
  FontCodeEntry codes[kFontCodeCount];
  int32_t nextSlot;
  int32_t capacity;
  uint8_t* memoryCache;
  int32_t memoryRowBytes;
  int32_t memoryBits;  // 1 or 8
  char faceName[kFontFaceNameSize];
  int32_t thickness;
  int32_t size;
  int32_t height;
  int32_t italic;
  int32_t extraAdvance;
  int32_t cell;
  int32_t ascent;  // text-metric ascent
  plat::gdi::Hfont gdiFont;
  uint32_t type;
  int32_t charSet;  // index into {DEFAULT, SHIFTJIS, HANGUL}
  int32_t edgeSize;
  int32_t cacheWidth, cacheHeight;
  int32_t glyphsPerColumn;
  int32_t workSurface;  // 2D surface piece, -1 none
  int32_t workSurfaceLost;
  int32_t cacheGraph;      // texture cache graph, -1 none
  int32_t edgeGraph;       // its right half for the edges, -1 none
  int32_t cacheGraphLost;  // set when the texture cache must be made again
  GraphImage glyphImage;   // one cell (two when edged) on its way into the texture cache
  int32_t textureCache;    // 1: the strings are drawn from the texture cache
};

struct FontDefaults {
  char faceName[kFontFaceNameSize];
  int32_t size, thickness;
  uint32_t type;
  int32_t charSet, edgeSize, italic, extraAdvance;
};

struct FontTableState {
  FontRecord* fonts[kFontMax];
  int32_t checkCounter;
  int32_t defaultHandle;
  FontDefaults defaults;
  int32_t textDrawingOff;  // from graphics end until the module starts again
};

FontTableState& GetFontTableState();
// Releases every font and returns the module to its state at program load.
void ResetFontModule();

// Every argument -1 means the default (slot and check: automatic). The
// handle, or -1 with one of the creation messages logged.
int32_t CreateFontHandle(const char* faceName, int32_t size, int32_t thickness, int32_t type, int32_t charSet,
                         int32_t edgeSize, int32_t italic, int32_t slot, int32_t check);
int ReleaseFontHandle(int32_t handle);
FontRecord* GetFontRecord(int32_t handle);
int IsValidFontHandle(int32_t value);
int QueryFontSize(int32_t handle);
// `name` receives at most `nameCapacity` bytes (zero included), never half a
// double-byte character.
int GetFontParams(char* name, int32_t nameCapacity, int32_t* size, int32_t* thickness, int32_t handle);
int SetFontAdvanceExtra(int32_t pixels, int32_t handle);
int RegisterFontLostFlag(int32_t handle, int32_t* flag);
int32_t GetStandardFontHandle();
int RecreateAllFonts();
int ApplyDefaultFont();
int SetStandardFontSize(int32_t size, int32_t thickness);
int InitFontModule();
int ResetFontSystem();
int ReinitFontSystem();
// Text drawing is switched off from graphics end until the font module
// starts again: strings then draw nothing.
bool IsTextDrawingOff();
int RebuildFontCacheSurface(int32_t handle);

// --- the glyph cache (font_glyph_cache.cpp) ----------------------------------------
int IsDoubleByteLead(const uint8_t* byte, int32_t charSet);
int ResetFontCache(int32_t handle);
// Splits `length` bytes of the string (-1: up to its zero) into character
// codes (at most `capacity` of them) and caches the ones missing, at most
// 256 and at most the capacity per call. 0 or -1.
int FindCachedGlyph(uint16_t* codes, int32_t capacity, const char* text, int32_t handle, int32_t length,
                    int32_t* count);
// The last entry rendered, or null.
FontGlyphEntry* RenderGlyphsToCache(int32_t handle, int32_t count, const uint16_t* codes);
// The start of a glyph's cell in the memory cache.
uint8_t* FontCellBits(FontRecord* font, int32_t slot);
// Whether the edge pen of `edge` pixels covers (dx, dy) from its centre:
// a plus for 1, round pens for 2 to 4, a square beyond.
bool FontPenCovers(int32_t edge, int32_t dx, int32_t dy);
// --- the texture cache (font_texture_glyph.cpp) -----------------------------------
// Lays a GDI glyph bitmap (1-bit, or levels 0-16) into the glyph image at
// (offset, offset), with its edge layer, and stores both layers into the
// cache graphs at the slot's cell. 0 or -1.
int StoreGlyphInTextureCache(FontRecord* font, int32_t slot, const uint8_t* bitmap, int32_t width, int32_t rows,
                             bool mono, int32_t offset);
// The edge layer's level where a pen pixel of a glyph pixel of `level`
// falls on a pixel of level `old` (0-16 each): the two coverages combine
// as overlapping transparencies.
inline int32_t CombineEdgeLevel(int32_t old, int32_t level) { return (256 - (16 - old) * (16 - level)) / 16; }
// The 4-bit alpha of a glyph level (0-16), as opaque as the memory cache's
// rule draws its coverage (level - 1, whole at 16), and of an edge level.
uint16_t GlyphAlpha4(int32_t level);
uint16_t EdgeAlpha4(int32_t level);
inline bool IsBlankFontCode(uint16_t code) { return code == 0x20 || code == 0x8140; }
// A GDI glyph bitmap's rows: 1 bit a pixel (mono) or one level byte a
// pixel, each row padded to 4 bytes; pixel x of a row as a level 0-16.
inline int32_t GlyphBitmapPitch(int32_t width, bool mono) {
  return mono ? ((width + 31) / 32) * 4 : ((width + 3) / 4) * 4;
}
inline int32_t GlyphBitmapLevel(const uint8_t* row, int32_t x, bool mono) {
  return mono ? ((row[x / 8] >> (7 - x % 8)) & 1) * 16 : (row[x] < 16 ? row[x] : 16);
}

}  // namespace qor
