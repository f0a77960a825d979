#include "figures.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace mkassets {

namespace {

struct MemberRow {
  const char* stem;
  const char* name;
  int r, g, b;  // colour cube levels
};

const MemberRow kMemberRows[kMembers] = {
    {"tovel", "Tovel", 5, 1, 1},   {"quenby", "Quenby", 1, 2, 5}, {"dorrin", "Dorrin", 1, 4, 1},
    {"friska", "Friska", 5, 5, 1}, {"gorvath", "Gorvath", 5, 3, 0}, {"lismet", "Lismet", 3, 1, 5},
    {"verrow", "Verrow", 0, 4, 5}, {"nocta", "Nocta", 2, 2, 3},   {"kessel", "Kessel", 5, 2, 4},
    {"pallow", "Pallow", 4, 4, 4},
};

// Leg spread of a walking cycle, by frame.
int Stride(int frame) {
  static const int kSteps[4] = {0, 1, 0, -1};
  return kSteps[frame % 4];
}

// Two eyes looking right (the sheets face right; the game mirrors them).
void Eyes(IndexedPicture& pic, float cx, float cy, float size, bool angry) {
  const uint8_t white = ink::White(), black = ink::Black();
  for (int k = 0; k < 2; ++k) {
    const float ex = cx + size * (0.1f + 0.55f * k);
    FillEllipse(pic, ex, cy, size * 0.22f, size * 0.28f, white);
    FillEllipse(pic, ex + size * 0.08f, cy + size * 0.04f, size * 0.11f, size * 0.15f, black);
  }
  if (angry) pic.Box(static_cast<int>(cx), static_cast<int>(cy - size * 0.42f), static_cast<int>(cx + size * 0.9f),
                     static_cast<int>(cy - size * 0.3f), black);
}

// Pips in rows of up to three, each row centred: the same when mirrored.
void Pips(const Piece& p, float cx, float cy, float step, int count) {
  if (count <= 0) return;
  const int rows = (count + 2) / 3;
  for (int r = 0; r < rows; ++r) {
    const int inRow = r < rows - 1 ? 3 : count - 3 * (rows - 1);
    const float y = cy + (r - (rows - 1) / 2.0f) * step;
    for (int k = 0; k < inRow; ++k) {
      const float x = cx + (k - (inRow - 1) / 2.0f) * step;
      RimmedEllipse(*p.pic, x, y, step * 0.42f, step * 0.42f, ink::White(), ink::Black(), step >= 5 ? 1.0f : 0.0f);
    }
  }
}

// A standing figure: head, body, arms and legs around the piece's middle.
void Person(const Piece& p, const FigureLook& look) {
  IndexedPicture& pic = *p.pic;
  const float s = p.w / 128.0f, cx = p.x + p.w / 2.0f, top = p.y + p.h * 0.29f;
  const uint8_t rim = ink::Black(), skin = CubeIndex(5, 4, 3);
  const bool boss = look.shape == Shape::Boss, walker = look.shape == Shape::Walker;
  const float grow = boss ? 1.2f : 1.0f;
  const int stride = Stride(p.index);
  const bool striking = p.index >= 8;
  // Legs.
  for (int k = -1; k <= 1; k += 2) {
    const float lx = cx + k * 6 * s + k * stride * 3 * s;
    pic.Box(static_cast<int>(lx - 4 * s), static_cast<int>(top + 44 * s), static_cast<int>(lx + 4 * s),
            static_cast<int>(top + 62 * s * grow), rim);
    pic.Box(static_cast<int>(lx - 3 * s), static_cast<int>(top + 44 * s), static_cast<int>(lx + 3 * s),
            static_cast<int>(top + 61 * s * grow), look.body);
  }
  // Arms: the front one reaches out on striking frames.
  const float armY = top + 28 * s;
  const float reach = striking ? 30 * s : 14 * s;
  pic.Box(static_cast<int>(cx), static_cast<int>(armY - 3 * s), static_cast<int>(cx + reach + 3 * s),
          static_cast<int>(armY + 4 * s), rim);
  pic.Box(static_cast<int>(cx), static_cast<int>(armY - 2 * s), static_cast<int>(cx + reach + 2 * s),
          static_cast<int>(armY + 3 * s), skin);
  pic.Box(static_cast<int>(cx - 16 * s), static_cast<int>(armY - 2 * s), static_cast<int>(cx - 9 * s),
          static_cast<int>(armY + 14 * s), skin);
  // Body and head.
  RimmedEllipse(pic, cx, top + 33 * s, 13 * s * grow, 15 * s * grow, look.body, rim, 1.5f);
  RimmedEllipse(pic, cx, top + 8 * s, 11 * s * grow, 11 * s * grow, walker ? look.body : skin, rim, 1.5f);
  if (look.shape == Shape::Hero) {
    FillEllipse(pic, cx - 2 * s, top + 1 * s, 12 * s, 6 * s, look.body);  // hair in the member's colour
  }
  if (boss) {  // a crown
    const uint8_t gold = CubeIndex(5, 5, 0);
    pic.Box(static_cast<int>(cx - 11 * s), static_cast<int>(top - 6 * s), static_cast<int>(cx + 11 * s), static_cast<int>(top - 1 * s), gold);
    for (int k = -1; k <= 1; ++k) FillTriangle(pic, cx + k * 8 * s - 4 * s, top - 6 * s, cx + k * 8 * s + 4 * s, top - 6 * s, cx + k * 8 * s, top - 16 * s, gold);
  } else if (walker) {
    const uint8_t c = CubeIndex(4, 4, 4);
    for (int k = -1; k <= 1; k += 2) {
      switch (look.headgear) {
        case 0: FillTriangle(pic, cx + k * 4 * s, top - 1 * s, cx + k * 11 * s, top - 1 * s, cx + k * 9 * s, top - 9 * s, c); break;
        case 1: RimmedEllipse(pic, cx + k * 10 * s, top - 1 * s, 5 * s, 5 * s, look.body, ink::Black(), 1.0f); break;
        case 2:
          pic.Box(static_cast<int>(cx + k * 5 * s), static_cast<int>(top - 12 * s), static_cast<int>(cx + k * 5 * s + 2 * s), static_cast<int>(top - 2 * s), ink::Black());
          FillEllipse(pic, cx + k * 5 * s + 1 * s, top - 13 * s, 3 * s, 3 * s, CubeIndex(5, 5, 0));
          break;
        default: FillTriangle(pic, cx - 3 * s, top - 2 * s, cx + 3 * s, top - 2 * s, cx, top - 14 * s, CubeIndex(5, 0, 0)); break;
      }
    }
  }
  Eyes(pic, cx - 2 * s, top + 8 * s, 8 * s, walker || boss);
  Pips(p, cx, top + 33 * s, 6.5f * s, look.pips);
}

void FluffBall(const Piece& p, const FigureLook& look, bool spiky) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h * 0.56f, r = p.w * 0.3f;
  const int spikes = spiky ? 12 : 16;
  const float turn = p.index * 0.2f;
  for (int k = 0; k < spikes; ++k) {
    const float a = turn + k * 6.2831853f / spikes, b = a + 3.14159265f / spikes;
    const float out = spiky ? 1.5f : 1.22f;
    FillTriangle(pic, cx + r * 0.8f * std::cos(a - 0.3f), cy + r * 0.8f * std::sin(a - 0.3f),
                 cx + r * 0.8f * std::cos(a + 0.3f), cy + r * 0.8f * std::sin(a + 0.3f), cx + r * out * std::cos(b - 0.15f),
                 cy + r * out * std::sin(b - 0.15f), spiky ? ink::Grey(24) : look.body);
  }
  RimmedEllipse(pic, cx, cy, r, r, look.body, ink::Black(), p.w >= 64 ? 1.5f : 1.0f);
  if (p.w >= 64) Eyes(pic, cx - r * 0.45f, cy - r * 0.35f, r * 0.45f, false);
  Pips(p, cx, cy + (p.w >= 64 ? r * 0.35f : 0.0f), p.w >= 64 ? r * 0.3f : 4.0f, look.pips);
}

void FairyFigure(const Piece& p, const FigureLook& look) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h * 0.58f, s = p.w / 64.0f;
  const float flap = (p.index % 2) ? 4 * s : 0;
  const uint8_t wing = CubeIndex(4, 5, 5);
  FillEllipse(pic, cx - 9 * s, cy - 8 * s - flap, 8 * s, 12 * s, wing);
  FillEllipse(pic, cx + 9 * s, cy - 8 * s - flap, 8 * s, 12 * s, wing);
  FillTriangle(pic, cx - 9 * s, cy + 14 * s, cx + 9 * s, cy + 14 * s, cx, cy - 6 * s, look.body);
  RimmedEllipse(pic, cx, cy - 10 * s, 7 * s, 7 * s, CubeIndex(5, 4, 3), ink::Black(), 1.0f);
  Eyes(pic, cx - 2 * s, cy - 10 * s, 5 * s, false);
  Pips(p, cx, cy + 6 * s, 4 * s, look.pips);
}

void GhostFigure(const Piece& p, const FigureLook& look) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h * 0.52f, r = p.w * 0.27f;
  RimmedEllipse(pic, cx, cy, r, r, look.body, ink::Black(), 1.5f);
  pic.Box(static_cast<int>(cx - r + 1), static_cast<int>(cy), static_cast<int>(cx + r - 1), static_cast<int>(cy + r * 0.9f),
          look.body);
  for (int k = 0; k < 3; ++k) {
    const float x0 = cx - r + 1 + k * (2 * r - 2) / 3, x1 = x0 + (2 * r - 2) / 3;
    const float sway = (p.index % 2) ? r * 0.15f : 0;
    FillTriangle(pic, x0, cy + r * 0.9f, x1, cy + r * 0.9f, (x0 + x1) / 2 + sway, cy + r * 1.45f, look.body);
  }
  Eyes(pic, cx - r * 0.4f, cy - r * 0.3f, r * 0.45f, false);
  Pips(p, cx, cy + r * 0.4f, r * 0.3f, look.pips);
}

void BirdFigure(const Piece& p, const FigureLook& look) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h * 0.58f, s = p.w / 128.0f;
  const float flap = (p.index % 2) ? -26 * s : 22 * s;
  RimmedEllipse(pic, cx, cy, 24 * s, 14 * s, look.body, ink::Black(), 1.5f);
  FillTriangle(pic, cx - 14 * s, cy - 2 * s, cx + 10 * s, cy - 2 * s, cx - 8 * s, cy + flap, CubeIndex(1, 1, 2));
  FillTriangle(pic, cx + 22 * s, cy - 4 * s, cx + 22 * s, cy + 4 * s, cx + 34 * s, cy, CubeIndex(5, 4, 0));
  Eyes(pic, cx + 8 * s, cy - 6 * s, 7 * s, true);
}

void SwitchFigure(const Piece& p, const FigureLook& look) {
  IndexedPicture& pic = *p.pic;
  const int cx = p.x + p.w / 2, base = p.y + p.h - 8;
  const int press = p.index * 4;
  Plate(pic, cx - 40, base - 14, cx + 40, base, ink::Grey(14), ink::Black());
  Plate(pic, cx - 24, base - 40 + press, cx + 24, base - 12, look.body, ink::Black());
}

}  // namespace

int MemberOfSheet(const std::string& stem) {
  for (int m = 0; m < kMembers; ++m) {
    if (stem == kMemberRows[m].stem) return m;
  }
  return -1;
}

const char* MemberName(int member) { return member >= 0 && member < kMembers ? kMemberRows[member].name : "?"; }

const char* MemberStem(int member) { return member >= 0 && member < kMembers ? kMemberRows[member].stem : "?"; }

uint8_t MemberColour(int member) {
  const MemberRow& r = kMemberRows[member >= 0 && member < kMembers ? member : 0];
  return CubeIndex(r.r, r.g, r.b);
}

FigureLook LookOfSheet(const std::string& stem) {
  const int member = MemberOfSheet(stem);
  if (member >= 0) return {Shape::Hero, MemberColour(member), member + 1, 0};
  // The number at the end of a sheet's name tells its variants apart.
  size_t digits = stem.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(stem[digits - 1]))) --digits;
  const std::string base = stem.substr(0, digits);
  const int number = digits < stem.size() ? std::atoi(stem.c_str() + digits) : 0;
  const uint32_t h = HashText(stem);
  const uint8_t body = CubeIndex(2 + static_cast<int>(h % 4), static_cast<int>((h >> 8) % 3), 1 + static_cast<int>((h >> 16) % 5));
  const int headgear = static_cast<int>((h >> 24) % 4);
  if (base == "kedama" || base == "kedamam" || base == "kedamabig") return {Shape::Fluff, body, number, 0};
  if (base == "maidyouseim" || base == "maidyouseibig") return {Shape::Fairy, body, number, 0};
  if (base == "ribbonyouseim") return {Shape::Fairy, CubeIndex(5, 1, 2), number, 0};
  if (base == "yuurei" || base == "yuureibig") return {Shape::Ghost, CubeIndex(4, 4, 5), number, 0};
  if (base == "karasu") return {Shape::Bird, CubeIndex(1, 1, 1), 0, 0};
  if (base == "haridama") return {Shape::Spiky, CubeIndex(3, 3, 3), 0, 0};
  if (base == "switch") return {Shape::Switch, CubeIndex(5, 1, 0), 0, 0};
  if (base == "switchb") return {Shape::Switch, CubeIndex(0, 2, 5), 0, 0};
  if (base == "zindra" || base == "duskel") return {Shape::Boss, body, 0, 0};
  return {Shape::Walker, body, 1 + static_cast<int>((h >> 4) % 3), headgear};
}

void DrawFigure(const Piece& p, const FigureLook& look) {
  switch (look.shape) {
    case Shape::Hero:
    case Shape::Walker:
    case Shape::Boss: Person(p, look); break;
    case Shape::Fluff: FluffBall(p, look, false); break;
    case Shape::Spiky: FluffBall(p, look, true); break;
    case Shape::Fairy: FairyFigure(p, look); break;
    case Shape::Ghost: GhostFigure(p, look); break;
    case Shape::Bird: BirdFigure(p, look); break;
    case Shape::Switch: SwitchFigure(p, look); break;
  }
}

void DrawFace(const Piece& p, int member) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + p.w / 2.0f, cy = p.y + p.h / 2.0f;
  RimmedEllipse(pic, cx, cy, p.w / 2.0f - 0.5f, p.h / 2.0f - 0.5f, MemberColour(member), ink::Black(), 1.5f);
  const std::string initial(1, MemberName(member)[0]);
  WordsAt(pic, p.x + 2, p.y + 2, p.w - 4, p.h - 4, initial, ink::White(), p.h - 6);
}

}  // namespace mkassets
