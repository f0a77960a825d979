#include "paint.h"

#include <algorithm>
#include <cmath>

namespace mkassets {

IndexedPicture KeySheet(int across, int down, int w, int h) {
  IndexedPicture pic;
  pic.width = across * w;
  pic.height = down * h;
  pic.Fill(kKeyIndex);
  return pic;
}

Piece PieceOf(IndexedPicture& pic, int across, int w, int h, int index) {
  return Piece{&pic, (index % across) * w, (index / across) * h, w, h, index};
}

void FillEllipse(IndexedPicture& pic, float cx, float cy, float rx, float ry, uint8_t index) {
  if (rx <= 0 || ry <= 0) return;
  const int y0 = std::max(0, static_cast<int>(std::floor(cy - ry)));
  const int y1 = std::min(pic.height - 1, static_cast<int>(std::ceil(cy + ry)));
  for (int y = y0; y <= y1; ++y) {
    const float dy = (y + 0.5f - cy) / ry;
    if (dy * dy > 1.0f) continue;
    const float half = rx * std::sqrt(1.0f - dy * dy);
    const int x0 = static_cast<int>(std::lround(cx - half)), x1 = static_cast<int>(std::lround(cx + half));
    pic.Box(x0, y, x1, y + 1, index);
  }
}

void RimmedEllipse(IndexedPicture& pic, float cx, float cy, float rx, float ry, uint8_t body, uint8_t rim,
                   float rimWidth) {
  FillEllipse(pic, cx, cy, rx, ry, rim);
  FillEllipse(pic, cx, cy, rx - rimWidth, ry - rimWidth, body);
}

void FillTriangle(IndexedPicture& pic, float x0, float y0, float x1, float y1, float x2, float y2, uint8_t index) {
  const int top = std::max(0, static_cast<int>(std::floor(std::min({y0, y1, y2}))));
  const int bottom = std::min(pic.height - 1, static_cast<int>(std::ceil(std::max({y0, y1, y2}))));
  const float xs[3] = {x0, x1, x2}, ys[3] = {y0, y1, y2};
  for (int y = top; y <= bottom; ++y) {
    const float sy = y + 0.5f;
    float lo = 1e9f, hi = -1e9f;
    for (int e = 0; e < 3; ++e) {
      const float ax = xs[e], ay = ys[e], bx = xs[(e + 1) % 3], by = ys[(e + 1) % 3];
      if ((sy < ay) == (sy < by)) continue;
      const float x = ax + (sy - ay) * (bx - ax) / (by - ay);
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
    if (lo <= hi) pic.Box(static_cast<int>(std::lround(lo)), y, static_cast<int>(std::lround(hi)), y + 1, index);
  }
}

void Plate(IndexedPicture& pic, int x0, int y0, int x1, int y1, uint8_t fill, uint8_t border) {
  const int cut = std::min(3, std::min(x1 - x0, y1 - y0) / 4);
  for (int y = y0; y < y1; ++y) {
    const int fromTop = y - y0, fromBottom = y1 - 1 - y;
    const int inset = std::max(0, cut - std::min(fromTop, fromBottom));
    pic.Box(x0 + inset, y, x1 - inset, y + 1, border);
    if (fromTop >= 2 && fromBottom >= 2) pic.Box(x0 + std::max(inset, 2), y, x1 - std::max(inset, 2), y + 1, fill);
  }
}

void Frame(IndexedPicture& pic, int x0, int y0, int x1, int y1, int thickness, uint8_t border) {
  pic.Box(x0, y0, x1, y0 + thickness, border);
  pic.Box(x0, y1 - thickness, x1, y1, border);
  pic.Box(x0, y0, x0 + thickness, y1, border);
  pic.Box(x1 - thickness, y0, x1, y1, border);
}

void WordPlate(const Piece& p, const std::string& words, uint8_t fill, uint8_t border, int maxPixels, Align align) {
  Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, fill, border);
  WordsAt(*p.pic, p.x + 4, p.y + 2, p.w - 8, p.h - 4, words, ink::White(), maxPixels, align);
}

void Words(const Piece& p, const std::string& words, uint8_t colour, int maxPixels, Align align, Face face) {
  WordsAt(*p.pic, p.x, p.y, p.w, p.h, words, colour, maxPixels, align, face);
}

void WordsAt(IndexedPicture& pic, int x, int y, int w, int h, const std::string& words, uint8_t colour, int maxPixels,
             Align align, Face face) {
  TextStyle style;
  style.ink = colour;
  style.rim = colour == ink::Black() ? ink::White() : ink::Black();
  style.face = face;
  style.align = align;
  style.maxPixels = maxPixels;
  DrawWords(pic, x, y, w, h, words, style);
}

}  // namespace mkassets
