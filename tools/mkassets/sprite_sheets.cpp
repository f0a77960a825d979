#include "sprite_sheets.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "figures.h"
#include "paint.h"

namespace mkassets {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// "gr\kedama3.bmp" -> "kedama3"
std::string Stem(const std::string& file) {
  const size_t slash = file.find('\\');
  const size_t dot = file.rfind('.');
  return file.substr(slash + 1, dot - slash - 1);
}

void Bricks(const Piece& p, uint8_t fill, uint8_t mortar) {
  IndexedPicture& pic = *p.pic;
  pic.Box(p.x, p.y, p.x + p.w, p.y + p.h, mortar);
  for (int row = 0; row * 16 < p.h; ++row) {
    const int shift = (row % 2) * 8;
    for (int x = -shift; x < p.w; x += 16) {
      pic.Box(p.x + std::max(0, x) + 1, p.y + row * 16 + 1, p.x + std::min(p.w, x + 16) - 1, p.y + std::min(p.h, row * 16 + 16) - 1, fill);
    }
  }
}

// Conveyor: chevrons that move one step per frame, pointing the belt's way.
void Belt(const Piece& p, bool backwards) {
  IndexedPicture& pic = *p.pic;
  Plate(pic, p.x, p.y, p.x + p.w, p.y + p.h, GreyIndex(10), ink::Black());
  const uint8_t c = backwards ? CubeIndex(0, 3, 5) : CubeIndex(5, 4, 0);
  for (int x = -16 + (backwards ? -p.index * 2 : p.index * 2); x < p.w + 16; x += 16) {
    const float x0 = static_cast<float>(p.x + x), cy = p.y + p.h / 2.0f;
    if (x < 0 || x + 10 > p.w) continue;
    if (backwards) {
      FillTriangle(pic, x0, cy, x0 + 10, cy - 8, x0 + 10, cy + 8, c);
    } else {
      FillTriangle(pic, x0 + 10, cy, x0, cy - 8, x0, cy + 8, c);
    }
  }
}

void Rock(const Piece& p) {
  RimmedEllipse(*p.pic, p.x + p.w / 2.0f, p.y + p.h / 2.0f, p.w / 2.0f - 0.5f, p.h / 2.0f - 0.5f, GreyIndex(20), ink::Black(),
                1.5f);
  if (p.index == 1) FillTriangle(*p.pic, p.x + p.w * 0.3f, p.y + 4.0f, p.x + p.w * 0.5f, p.y + p.h * 0.6f, p.x + p.w * 0.4f, p.y + 4.0f, ink::Black());
}

void NumberPanel(const Piece& p, bool red) {
  Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, red ? CubeIndex(4, 0, 0) : CubeIndex(0, 0, 4), ink::White());
  WordsAt(*p.pic, p.x + 4, p.y + 2, p.w - 8, p.h - 4, std::to_string(p.index), ink::White(), 28, Align::Centre, Face::Digits);
}

// Four directions (up, down, right, left) of four frames each.
void Arrow(const Piece& p, bool red) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + 16.0f, cy = p.y + 16.0f, l = 10.0f + (p.index % 4);
  const uint8_t c = red ? CubeIndex(5, 1, 0) : CubeIndex(0, 2, 5);
  switch (p.index / 4) {
    case 0: FillTriangle(pic, cx, cy - l, cx - l, cy + l, cx + l, cy + l, c); break;
    case 1: FillTriangle(pic, cx, cy + l, cx - l, cy - l, cx + l, cy - l, c); break;
    case 2: FillTriangle(pic, cx + l, cy, cx - l, cy - l, cx - l, cy + l, c); break;
    default: FillTriangle(pic, cx - l, cy, cx + l, cy - l, cx + l, cy + l, c); break;
  }
}

void Item(const Piece& p, uint8_t colour, const char* words, bool ring) {
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h / 2.0f, r = p.w / 2.0f - 1;
  RimmedEllipse(*p.pic, cx, cy, r, r, colour, ring ? CubeIndex(5, 5, 0) : ink::White(), ring ? 3.0f : 1.5f);
  // Animated items turn: the frame narrows the disc.
  if (p.index % 2 == 1) FillEllipse(*p.pic, cx, cy, r * 0.2f, r - 3, ring ? CubeIndex(5, 5, 0) : ink::White());
  WordsAt(*p.pic, p.x + 3, p.y + 3, p.w - 6, p.h - 6, words, ink::White(), p.h / 2);
}

void Explosion(const Piece& p) {
  const float t = (p.index + 1) / 32.0f, cx = p.x + 64.0f, cy = p.y + 64.0f;
  const float r = 8 + 54 * t;
  const uint8_t outer = t < 0.5f ? CubeIndex(5, 4, 0) : CubeIndex(5, 2, 0);
  FillEllipse(*p.pic, cx, cy, r, r, outer);
  FillEllipse(*p.pic, cx, cy, r * t * 0.85f, r * t * 0.85f, kKeyIndex);  // the ring thins out from the middle
  if (t < 0.4f) FillEllipse(*p.pic, cx, cy, r * 0.5f, r * 0.5f, ink::White());
}

void Gap(const Piece& p) {
  const float open = 8 + 40 * std::sin((p.index + 1) * 3.14159f / 16);
  RimmedEllipse(*p.pic, p.x + 64.0f, p.y + 64.0f, 50, open, CubeIndex(1, 0, 2), CubeIndex(5, 0, 3), 3.0f);
  FillEllipse(*p.pic, p.x + 64.0f, p.y + 64.0f, 6, open * 0.6f, CubeIndex(5, 3, 5));  // the pupil of the slit
}

void Block(const std::string& stem, const Piece& p) {
  IndexedPicture& pic = *p.pic;
  if (StartsWith(stem, "belt")) return Belt(p, stem.back() == 'b');
  if (StartsWith(stem, "iwa")) return Rock(p);
  if (stem == "suujired" || stem == "suujiblue") return NumberPanel(p, stem == "suujired");
  if (StartsWith(stem, "yajirusi")) return Arrow(p, stem == "yajirusired");
  if (stem == "maruta") {
    RimmedEllipse(pic, p.x + p.w / 2.0f, p.y + p.h / 2.0f, p.w / 2.0f - 1, p.h / 2.0f - 1, CubeIndex(3, 2, 0), CubeIndex(1, 0, 0), 2);
    return;
  }
  if (StartsWith(stem, "koori")) {
    Plate(pic, p.x, p.y, p.x + p.w, p.y + p.h, CubeIndex(3, 5, 5), ink::White());
    // A frost star, symmetric: ice can also be an enemy, drawn mirrored.
    const int cx = p.x + p.w / 2, cy = p.y + p.h / 2;
    pic.Box(cx - 1, p.y + 8, cx + 1, p.y + p.h - 8, ink::White());
    pic.Box(p.x + 8, cy - 1, p.x + p.w - 8, cy + 1, ink::White());
    FillEllipse(pic, static_cast<float>(cx), static_cast<float>(cy), 5, 5, CubeIndex(0, 3, 5));
    return;
  }
  if (stem == "furikoa") return RimmedEllipse(pic, p.x + 32.0f, p.y + 32.0f, 30, 30, GreyIndex(12), ink::Black(), 2);
  if (stem == "furikob" || stem == "blockhk") {
    pic.Box(p.x + 4, p.y, p.x + p.w - 4, p.y + p.h, GreyIndex(16));
    for (int y = 0; y < p.h; y += 16) pic.Box(p.x + 4, p.y + y, p.x + p.w - 4, p.y + y + 3, GreyIndex(26));
    return;
  }
  // Blocks: bricks, a darker shade for the heavy ones, the frame's crumble as cracks.
  const bool heavy = StartsWith(stem, "blockh");
  Bricks(p, heavy ? CubeIndex(3, 1, 1) : CubeIndex(4, 3, 1), ink::Black());
  for (int k = 0; k < p.index && k < 8; ++k) {
    pic.Box(p.x + 3 + k * (p.w - 6) / 8, p.y + 2, p.x + 4 + k * (p.w - 6) / 8, p.y + p.h - 2, ink::Black());
  }
}

void Effect(const std::string& stem, const Piece& p) {
  if (stem == "bomb") return Explosion(p);
  if (stem == "sukima") return Gap(p);
  if (stem == "litem") return Item(p, CubeIndex(4, 0, 1), "HP", false);
  if (stem == "blitem") return Item(p, CubeIndex(4, 0, 1), "HP", true);
  if (stem == "sitem") return Item(p, CubeIndex(0, 1, 4), "P", false);
  if (stem == "bsitem") return Item(p, CubeIndex(0, 1, 4), "P", true);
  if (stem == "fitem") return Item(p, CubeIndex(0, 3, 1), "Full", false);
  if (stem == "upitem") return Item(p, CubeIndex(4, 2, 0), "1UP", false);
  if (stem == "titem") return Item(p, CubeIndex(4, 0, 2), "HP\nmax", true);
  if (stem == "ritem") return Item(p, CubeIndex(1, 0, 4), "Pow\nmax", true);
}

bool IsDrawnEffect(const std::string& stem) {
  static const char* const kStems[] = {"bomb", "sukima", "litem", "blitem", "sitem", "bsitem", "fitem", "upitem", "titem", "ritem"};
  for (const char* s : kStems) {
    if (stem == s) return true;
  }
  return false;
}

}  // namespace

bool SpriteSheet(const std::string& file, int pieces, int across, int down, int w, int h, IndexedPicture* out) {
  const std::string stem = Stem(file);
  const bool figures = StartsWith(file, "gr\\"), blocks = StartsWith(file, "block\\");
  const bool effects = StartsWith(file, "effect\\") && IsDrawnEffect(stem);
  if (!figures && !blocks && !effects) return false;
  *out = KeySheet(across, down, w, h);
  const FigureLook look = figures ? LookOfSheet(stem) : FigureLook{};
  for (int i = 0; i < pieces && i < across * down; ++i) {
    const Piece p = PieceOf(*out, across, w, h, i);
    if (figures) {
      DrawFigure(p, look);
    } else if (blocks) {
      Block(stem, p);
    } else {
      Effect(stem, p);
    }
  }
  return true;
}

}  // namespace mkassets
