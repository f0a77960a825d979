// Drawing strings from a font's glyph cache (font_handles.h): the cached
// text writer that lays a string out and writes its glyphs into a memory
// image (or only measures it), the 2D string draw, the framework's own
// string entry, and the on-screen log's drawing.
//
// Coverage rule of the memory path, per 8-bit cell (glyph coverage c and
// edge coverage e, 0-15 each): c = 0 and e = 0 is empty; c = 0 alone is the
// edge colour at alpha e x 16; c = 15 is the text colour; otherwise alpha =
// e x (15 - c) + c x 16 and the colour goes from the edge colour to the
// text colour by t = c x 4096 / alpha (in 256ths).
// 16- and 32-bit targets blend (colour x alpha + target x (256 - alpha)) /
// 256 per channel; 8-bit targets take the text colour where c >= 8, else
// the edge colour where e >= 8.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"

namespace qor {

// Colours are pixel values of the target's format. The draw brightness
// (the tint) is applied here, in the screen's format. Onto a memory image
// (`target` given) both scales are 1; without one and with `scaled` set,
// each character moves the pen by its advance times the scale along the
// text (scaleY for vertical text). Drawing without a target draws a font
// with a texture cache on the device, stretched by the scales; other fonts
// are only measured then. The advance in pixels (the pen rounded), or -1
// for an invalid handle or while text drawing is switched off.
int DrawTextCached(int32_t draw, int32_t x, int32_t y, uint8_t scaled, double scaleX, double scaleY,
                   const char* text, uint32_t color, MemImage* target, const Rect* clip, int32_t transparent,
                   int32_t handle, uint32_t edgeColor, int32_t length, int32_t vertical, int32_t* outSize);
// As DrawTextCached with colours already tinted; `ink` (or null) receives
// the box, from (x, y), that holds every glyph's pixels and the advance.
int DrawTextCachedTinted(int32_t draw, int32_t x, int32_t y, const char* text, uint32_t color, MemImage* target,
                         const Rect* clip, int32_t transparent, int32_t handle, uint32_t edgeColor, int32_t length,
                         int32_t vertical, int32_t* outSize, Rect* ink = nullptr);
// Lays a string out glyph by glyph as the cached writer does, caching what
// is missing, and hands every glyph with ink to `put` with its box's place
// from the string's origin (vertical text: the box turned a quarter), and
// the pen's end to `end`. False for an invalid handle.
struct FontGlyphEntry;
bool LayOutCachedText(const char* text, int32_t handle, int32_t length, int32_t vertical,
                      const std::function<void(const FontGlyphEntry&, int64_t, int64_t)>& put, int64_t* end);
// The texture path of the cached writer (fonts whose cache is a texture):
// every glyph's cell drawn as a part of the cache graph, edges first in the
// edge colour, then the glyph in the text colour, both as the draw
// brightness scaled by the current one, which is put back afterwards. Each
// glyph's box is stretched by the two scales (its place and size rounded).
// `pen` receives the unscaled pen's end. 0, or -1 for an invalid font, a
// layer the device refused or scales that are not finite.
int DrawTextOnTextureCache(int32_t x, int32_t y, double scaleX, double scaleY, const char* text, uint32_t color,
                           int32_t handle, uint32_t edgeColor, int32_t length, int32_t vertical, int64_t* pen);
// Applies the draw brightness to a screen pixel value.
uint32_t TintScreenColor(uint32_t color);

// The draw area, blend and tint a string draw changes for a while and then
// puts back as the caller had them.
struct KeptDrawSettings {
  Rect area, request;
  float areaF[4];
  int32_t areaEmpty, blendMode, blendParam;
  uint8_t tint[3];
};
KeptDrawSettings KeepDrawSettings();
void PutBackDrawSettings(const KeptDrawSettings& kept);

// 0, or -1 when DirectDraw is missing or the handle is invalid.
int DrawStringDirectDraw(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle,
                         uint32_t edgeColor, int32_t vertical);
// The string's advance; 0 for a null or empty string or a string that
// starts right of the draw area on the work-rectangle road; -1 for an
// invalid handle (logged).
int DrawStringWithFont(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle, uint32_t edgeColor,
                       int32_t vertical);

// --- the screen log (text_screen_log.cpp) --------------------------------------------
int InitScreenLog();
int CreateScreenLogFont();
int DrawScreenLog();
// The present's step: with the screen log enabled, draws it over the whole
// screen in blend mode 0 without tint, keeping the caller's settings.
void DrawScreenLogOverlay();
void ReleaseScreenLogFont(int handle);

}  // namespace qor
