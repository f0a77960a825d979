#include "whole_pictures.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "figures.h"
#include "paint.h"

namespace mkassets {

namespace {

IndexedPicture Blank(int width, int height, uint8_t fill) {
  IndexedPicture pic;
  pic.width = width;
  pic.height = height;
  pic.Fill(fill);
  return pic;
}

// A figure drawn at a larger scale: a piece of the figure's own size drawn
// into a scratch sheet, then copied up pixel by pixel.
void BigFigure(IndexedPicture& pic, int x, int y, int scale, const FigureLook& look) {
  IndexedPicture small = KeySheet(1, 1, 128, 128);
  DrawFigure(Piece{&small, 0, 0, 128, 128, 0}, look);
  for (int sy = 0; sy < 128; ++sy) {
    for (int sx = 0; sx < 128; ++sx) {
      const uint8_t c = small.At(sx, sy);
      if (c != kKeyIndex) pic.Box(x + sx * scale, y + sy * scale, x + (sx + 1) * scale, y + (sy + 1) * scale, c);
    }
  }
}

// The member portraits: the figure large on the key, its name and number
// where the panel and the join banner leave them in view.
bool Portrait(const std::string& file, IndexedPicture* out) {
  for (int m = 0; m < kMembers; ++m) {
    const std::string name = MemberStem(m);
    if (file != "title\\" + name + "t.bmp") continue;
    *out = Blank(256, 384, kKeyIndex);
    BigFigure(*out, -42, -30, 3, LookOfSheet(name));
    char text[32];
    std::snprintf(text, sizeof text, "No. %d", m + 1);
    WordsAt(*out, 90, 28, 120, 40, text, ink::White(), 32);
    return true;
  }
  return false;
}

// Rolling hills under a sky, opaque all over.
void Landscape(IndexedPicture& pic, int horizon) {
  for (int y = 0; y < pic.height; ++y) {
    const int level = 1 + y * 4 / pic.height;
    pic.Box(0, y, pic.width, y + 1, CubeIndex(level / 2, level / 2 + 1, 2 + level / 2));
  }
  for (int x = 0; x < pic.width; ++x) {
    const float s = std::sin(x / 90.0f) * 20 + std::sin(x / 31.0f) * 7;
    pic.Box(x, horizon + static_cast<int>(s), x + 1, pic.height, CubeIndex(0, 2, 1));
  }
}

void Opening(IndexedPicture& pic) {
  Landscape(pic, 290);
  for (int m = 0; m < kMembers; ++m) {
    const int x = 40 + m * 100;
    IndexedPicture small = KeySheet(1, 1, 128, 128);
    DrawFigure(Piece{&small, 0, 0, 128, 128, m % 4}, LookOfSheet(MemberStem(m)));
    for (int sy = 0; sy < 128; ++sy) {
      for (int sx = 0; sx < 128; ++sx) {
        if (small.At(sx, sy) != kKeyIndex && x + sx - 24 < pic.width) pic.At(x + sx - 24, 170 + sy) = small.At(sx, sy);
      }
    }
    WordsAt(pic, x - 10, 270, 100, 24, MemberName(m), ink::White(), 18);
  }
}

void Closing(IndexedPicture& pic) {
  // The results stay readable through the key: only labels and the farewell.
  WordsAt(pic, 40, 306, 230, 36, "Play time", ink::White(), 28, Align::Right);
  WordsAt(pic, 330, 306, 24, 36, ":", ink::White(), 28);
  WordsAt(pic, 394, 306, 24, 36, ":", ink::White(), 28);
  WordsAt(pic, 40, 356, 230, 36, "Items found", ink::White(), 28, Align::Right);
  WordsAt(pic, 342, 356, 40, 36, "%", ink::White(), 28);
  WordsAt(pic, 120, 410, 400, 60, "The End", CubeIndex(5, 4, 0), 48);
}

void Overlay(const std::string& file, IndexedPicture& pic) {
  // Drawn without the key, added or taken away: black is the neutral ground.
  if (file == "back\\blue.bmp") {
    for (int y = 0; y < pic.height; ++y) pic.Box(0, y, pic.width, y + 1, CubeIndex(0, 1 + y * 2 / pic.height, 3));
    return;
  }
  const uint32_t h = HashText(file);
  const bool clouds = file == "back\\backkumo.bmp";
  for (int k = 0; k < 14; ++k) {
    const float cx = static_cast<float>((h >> (k % 16)) % 640), cy = static_cast<float>((k * 67 + (h & 63)) % 480);
    if (clouds) {
      FillEllipse(pic, cx, cy, 70, 18, GreyIndex(14));
      FillEllipse(pic, cx + 30, cy - 8, 36, 14, GreyIndex(20));
    } else {
      FillEllipse(pic, cx, cy, 40, 10, CubeIndex(2, 0, 2));  // a gap's slit
      FillEllipse(pic, cx, cy, 30, 4, CubeIndex(4, 0, 3));
    }
  }
}

}  // namespace

bool WholePicture(const std::string& file, int width, int height, IndexedPicture* out) {
  if (Portrait(file, out)) return true;
  if (file == "title\\nakamani.bmp") {
    *out = Blank(width, height, kKeyIndex);
    WordsAt(*out, 0, 8, width, 48, "joined the party!", CubeIndex(5, 5, 2), 36, Align::Left);
    return true;
  }
  if (file == "title\\oshimai.bmp") {
    *out = Blank(width, height, kKeyIndex);
    Closing(*out);
    return true;
  }
  if (file == "title\\opening.bmp") {
    *out = Blank(width, height, ink::Black());
    Opening(*out);
    return true;
  }
  if (file == "title\\tarnweed.bmp") {
    *out = Blank(width, height, kKeyIndex);
    Plate(*out, 0, 0, width, height, CubeIndex(0, 1, 2), CubeIndex(5, 4, 0));
    WordsAt(*out, 10, 10, width - 20, height - 50, "tarnweed", CubeIndex(5, 4, 0), 48);
    WordsAt(*out, 10, height - 44, width - 20, 34, "presents", ink::White(), 24);
    return true;
  }
  if (file.rfind("back\\", 0) == 0) {
    *out = Blank(width, height, ink::Black());
    Overlay(file, *out);
    return true;
  }
  return false;
}

IndexedPicture FilmStrip() {
  IndexedPicture pic = KeySheet(5, 8, 213, 160);
  for (int i = 0; i < 40; ++i) {
    const Piece p = PieceOf(pic, 5, 213, 160, i);
    Plate(pic, p.x, p.y, p.x + p.w, p.y + p.h, CubeIndex(1, 1, 2), ink::White());
    IndexedPicture small = KeySheet(1, 1, 128, 128);
    DrawFigure(Piece{&small, 0, 0, 128, 128, i % 8}, LookOfSheet(MemberStem(i % kMembers)));
    for (int sy = 0; sy < 128; ++sy) {
      for (int sx = 0; sx < 128; ++sx) {
        if (small.At(sx, sy) != kKeyIndex) pic.At(p.x + 42 + sx, p.y + 16 + sy) = small.At(sx, sy);
      }
    }
    char text[32];
    std::snprintf(text, sizeof text, "Scene %d", i + 1);
    WordsAt(pic, p.x + 6, p.y + 4, 100, 20, text, ink::White(), 16, Align::Left);
  }
  return pic;
}

}  // namespace mkassets
