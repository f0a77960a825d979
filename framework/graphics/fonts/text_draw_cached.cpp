// The cached text writer: lays a string out glyph by glyph and writes the
// glyph cells of the memory cache into a memory image, clipped to the clip
// rectangle cut to the image.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "framework/core/life/fatal.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/fonts/text_draw.h"

namespace qor {

namespace {

// The target's pixels as the writer sees them.
struct Target {
  uint8_t* pixels;
  int32_t pitch, bytes;
  const PixelFormatInfo* format;
  Rect clip;
  int32_t transparent;

  uint32_t Read(int32_t x, int32_t y) const {
    const uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * pitch + x * bytes;
    uint32_t v = 0;
    for (int32_t i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
  }
  void Write(int32_t x, int32_t y, uint32_t v) const {
    uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * pitch + x * bytes;
    for (int32_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
  }
  // Palette indices are written as they are (a one-channel format names
  // its one byte in every mask).
  uint32_t Opaque(uint32_t color) const { return bytes == 1 ? color : color | format->masks[3]; }
  // (colour x alpha + target x (256 - alpha)) / 256 per channel, alpha
  // channel included (the colour's is full).
  uint32_t Blend(uint32_t color, uint32_t under, uint32_t alpha) const {
    uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
      const uint32_t mask = format->masks[k];
      if (mask == 0) continue;
      const uint32_t shift = format->shifts[k];
      const uint32_t c = k == 3 ? (mask >> shift) : ((color & mask) >> shift);
      const uint32_t d = (under & mask) >> shift;
      out |= (((c * alpha + d * (256 - alpha)) / 256) << shift) & mask;
    }
    return out;
  }
  // Onto a target with an alpha channel the pixel is laid over what is
  // there as over a picture with its own coverage: where the target is clear
  // the colour stays whole and the coverage becomes the alpha, so that
  // drawing the image later by its alpha puts the text on as the rule does.
  uint32_t Over(uint32_t color, uint32_t under, uint32_t alpha) const {
    const uint32_t amask = format->masks[3], ashift = format->shifts[3], amax = amask >> ashift;
    const uint32_t sa = alpha * amax / 256, ua = (under & amask) >> ashift;
    const uint32_t keep = ua * (amax - sa) / amax;  // what shows of the target
    const uint32_t oa = sa + keep;
    uint32_t out = (oa << ashift) & amask;
    if (oa == 0) return out;
    for (int k = 0; k < 3; ++k) {
      const uint32_t mask = format->masks[k];
      if (mask == 0) continue;
      const uint32_t shift = format->shifts[k];
      const uint32_t c = (color & mask) >> shift, d = (under & mask) >> shift;
      out |= (((c * sa + d * keep + oa / 2) / oa) << shift) & mask;
    }
    return out;
  }
};

// Mixes edge to text colour by t/256 per channel.
uint32_t MixColor(const PixelFormatInfo* format, uint32_t edge, uint32_t text, uint32_t t) {
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t mask = format->masks[k];
    if (mask == 0) continue;
    const uint32_t shift = format->shifts[k];
    const uint32_t e = (edge & mask) >> shift, c = (text & mask) >> shift;
    out |= (((c * t + e * (256 - t)) / 256) << shift) & mask;
  }
  return out;
}

// One target pixel from one 8-bit cache cell.
void PutCoverage(const Target& t, int32_t x, int32_t y, uint8_t cellValue, uint32_t color, uint32_t edge) {
  const uint32_t c = cellValue & 0x0F, e = cellValue >> 4;
  if (c == 0 && e == 0) {
    if (!t.transparent) t.Write(x, y, 0);
    return;
  }
  if (t.bytes == 1) {
    if (c >= 8) t.Write(x, y, color);
    else if (e >= 8) t.Write(x, y, edge);
    else if (!t.transparent) t.Write(x, y, 0);
    return;
  }
  if (c == 15) {
    t.Write(x, y, t.Opaque(color));
    return;
  }
  // An edge alone goes on at e x 16, as a glyph coverage alone does at
  // c x 16; under a glyph the two share the pixel.
  const uint32_t alpha = c == 0 ? e * 16 : e * (15 - c) + c * 16;
  const uint32_t mixed = MixColor(t.format, edge, color, c * 4096 / alpha);
  const uint32_t under = t.transparent ? t.Read(x, y) : 0;
  t.Write(x, y, t.format->masks[3] != 0 ? t.Over(mixed, under, alpha) : t.Blend(mixed, under, alpha));
}

// Writes one cached glyph with its box at (left, top); `turned` lays it a
// quarter turn clockwise (the box is then boxHeight wide).
void PutGlyph(const Target& t, FontRecord* f, const FontGlyphEntry& g, int32_t left, int32_t top, bool turned,
              uint32_t color, uint32_t edge) {
  const uint8_t* cell = FontCellBits(f, g.slot);
  const int32_t w = std::min<int32_t>(g.boxWidth, f->cell), h = std::min<int32_t>(g.boxHeight, f->cell);
  for (int32_t gy = 0; gy < h; ++gy) {
    const uint8_t* row = cell + static_cast<size_t>(gy) * f->memoryRowBytes;
    for (int32_t gx = 0; gx < w; ++gx) {
      const int32_t x = turned ? left + (g.boxHeight - 1 - gy) : left + gx;
      const int32_t y = turned ? top + gx : top + gy;
      if (x < t.clip.left || x >= t.clip.right || y < t.clip.top || y >= t.clip.bottom) continue;
      if (f->memoryBits == 1) {
        if ((row[gx / 8] >> (7 - gx % 8)) & 1) t.Write(x, y, t.Opaque(color));
        else if (!t.transparent) t.Write(x, y, 0);
      } else {
        PutCoverage(t, x, y, row[gx], color, edge);
      }
    }
  }
}

}  // namespace

uint32_t TintScreenColor(uint32_t color) {
  const DrawState& ds = GetDrawState();
  int32_t r = 0, g = 0, b = 0;
  UnpackColorRGB(color, &r, &g, &b);
  return PackColorRGB(r * ds.tintRed / 255, g * ds.tintGreen / 255, b * ds.tintBlue / 255);
}

namespace {

// The pen of a scaled string: each character moves it by (advance + the
// font's extra advance) x the scale along the text, from 0.
bool ScaledPen(const char* text, int32_t handle, int32_t length, double scale, double* pen) {
  int64_t end = 0;
  if (!LayOutCachedText(text, handle, length, 0, [](const FontGlyphEntry&, int64_t, int64_t) {}, &end)) return false;
  *pen = static_cast<double>(end) * scale;
  return true;
}

}  // namespace

int DrawTextCached(int32_t draw, int32_t x, int32_t y, uint8_t scaled, double scaleX, double scaleY,
                   const char* text, uint32_t color, MemImage* target, const Rect* clip, int32_t transparent,
                   int32_t handle, uint32_t edgeColor, int32_t length, int32_t vertical, int32_t* outSize) {
  const FontRecord* f = GetFontRecord(handle);
  if (IsTextDrawingOff() || f == nullptr) return -1;
  // The scales count only off the memory path: a memory image is written at
  // the font's own size. There they stretch the pen along the text (the
  // vertical scale for vertical text); the result is the pen rounded.
  const bool scaling = scaled != 0 && target == nullptr;
  const double sx = scaling ? scaleX : 1.0, sy = scaling ? scaleY : 1.0;
  const double scale = vertical ? sy : sx;
  if (!std::isfinite(sx) || !std::isfinite(sy)) return -1;
  double pen = 0.0;
  if (draw != 0 && target == nullptr && f->textureCache) {
    int64_t end = 0;
    if (DrawTextOnTextureCache(x, y, sx, sy, text, color, handle, edgeColor, length, vertical, &end) != 0) return -1;
    pen = static_cast<double>(end) * scale;
  } else if (scale != 1.0) {
    if (!ScaledPen(text, handle, length, scale, &pen)) return -1;
  } else {
    return DrawTextCachedTinted(draw, x, y, text, TintScreenColor(color), target, clip, transparent, handle,
                                TintScreenColor(edgeColor), length, vertical, outSize);
  }
  const auto advance = static_cast<int32_t>(std::clamp(std::round(pen), -2147483648.0, 2147483647.0));
  if (outSize != nullptr) {
    outSize[0] = vertical ? f->height : advance;
    outSize[1] = vertical ? advance : f->height;
  }
  return advance;
}

bool LayOutCachedText(const char* text, int32_t handle, int32_t length, int32_t vertical,
                      const std::function<void(const FontGlyphEntry&, int64_t, int64_t)>& put, int64_t* end) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return false;
  if (text == nullptr) text = "";
  const size_t bytes = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  std::vector<uint16_t> codes(bytes + 1);
  int32_t count = 0;
  if (FindCachedGlyph(codes.data(), static_cast<int32_t>(codes.size()), text, handle, length, &count) != 0)
    return false;
  int64_t pen = 0;
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t code = codes[static_cast<size_t>(i)];
    // A character the batch above could not keep (more than the cache
    // holds) is rendered on the spot; not being able to is the end.
    if (!f->codes[code].cached && RenderGlyphsToCache(handle, 1, &code) == nullptr)
      FatalError("テキストキャッシュの作成に失敗しました");
    const FontGlyphEntry* g = f->codes[code].entry;
    if (g == nullptr) continue;
    if (!IsBlankFontCode(code) && g->boxWidth > 0 && g->boxHeight > 0) {
      // Across: the box at (pen + x origin, y offset); down: turned.
      put(*g, vertical ? f->height - g->yOffset - g->boxHeight : pen + g->xOrigin,
          vertical ? pen + g->xOrigin : g->yOffset);
    }
    pen += g->advance + f->extraAdvance;
  }
  *end = pen;
  return true;
}

int DrawTextCachedTinted(int32_t draw, int32_t x, int32_t y, const char* text, uint32_t color, MemImage* target,
                         const Rect* clip, int32_t transparent, int32_t handle, uint32_t edgeColor, int32_t length,
                         int32_t vertical, int32_t* outSize, Rect* ink) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  Target t{};
  const bool drawing = draw != 0 && target != nullptr && IsMemImgValid(target);
  if (drawing) {
    t.format = target->buffer->format;
    t.bytes = t.format->bytesPerPixel;
    t.pixels = target->pixels;
    t.pitch = target->buffer->pitch;
    t.transparent = transparent;
    t.clip = clip != nullptr ? *clip : Rect{0, 0, target->width, target->height};
    t.clip.left = std::max(t.clip.left, 0);
    t.clip.top = std::max(t.clip.top, 0);
    t.clip.right = std::min(t.clip.right, target->width);
    t.clip.bottom = std::min(t.clip.bottom, target->height);
  }
  int64_t box[4] = {0, 0, 0, 0};  // the glyphs' pixels from (x, y)
  int64_t pen = 0;
  const bool laid = LayOutCachedText(text, handle, length, vertical, [&](const FontGlyphEntry& g, int64_t left,
                                                                         int64_t top) {
    const int32_t w = vertical ? g.boxHeight : g.boxWidth, h = vertical ? g.boxWidth : g.boxHeight;
    if (drawing) PutGlyph(t, f, g, static_cast<int32_t>(x + left), static_cast<int32_t>(y + top), vertical != 0,
                          color, edgeColor);
    box[0] = std::min(box[0], left);
    box[1] = std::min(box[1], top);
    box[2] = std::max(box[2], left + w);
    box[3] = std::max(box[3], top + h);
  }, &pen);
  if (!laid) return -1;
  const auto advance = static_cast<int32_t>(std::clamp<int64_t>(pen, INT32_MIN, INT32_MAX));
  if (ink != nullptr) {
    auto clamp32 = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -0x40000000, 0x40000000)); };
    *ink = Rect{clamp32(box[0]), clamp32(box[1]), clamp32(std::max(box[2], vertical ? int64_t{f->height} : pen)),
                clamp32(std::max(box[3], vertical ? pen : int64_t{f->height}))};
  }
  if (outSize != nullptr) {
    outSize[0] = vertical ? f->height : advance;
    outSize[1] = vertical ? advance : f->height;
  }
  return advance;
}

}  // namespace qor
