#include "word_pieces.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "figures.h"
#include "game/world/character_tables.h"
#include "game/world/game_state.h"
#include "game/world/roster.h"
#include "paint.h"

namespace mkassets {

namespace {

using Painter = std::function<void(const Piece&)>;

uint8_t MenuFill() { return CubeIndex(0, 1, 2); }
uint8_t MenuBorder() { return GreyIndex(32); }
uint8_t PlayerFill(int player) { return player == 0 ? CubeIndex(0, 1, 3) : CubeIndex(3, 0, 1); }
uint8_t ValueFill() { return CubeIndex(1, 2, 0); }

// A row of words on the menu plate, one text per piece.
Painter Rows(std::vector<std::string> words, uint8_t fill, int maxPixels = 22) {
  return [words, fill, maxPixels](const Piece& p) {
    const std::string& w = p.index < static_cast<int>(words.size()) ? words[p.index] : words.back();
    WordPlate(p, w, fill, MenuBorder(), maxPixels);
  };
}

// Words with no plate, left on the key.
Painter Lines(std::vector<std::string> words, uint8_t colour, int maxPixels, Align align = Align::Centre) {
  return [words, colour, maxPixels, align](const Piece& p) {
    const std::string& w = p.index < static_cast<int>(words.size()) ? words[p.index] : words.back();
    WordsAt(*p.pic, p.x + 2, p.y + 1, p.w - 4, p.h - 2, w, colour, maxPixels, align);
  };
}

void Digit(const Piece& p) {
  static const char* const kSigns[12] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ":", "%"};
  // The game sets digits 20 pixels apart: the glyph stays in the piece's left 20 columns.
  WordsAt(*p.pic, p.x, p.y + 2, 20, p.h - 4, kSigns[p.index % 12], CubeIndex(5, 5, 2), 30, Align::Centre, Face::Digits);
}

void SlotPlate(const Piece& p) {
  Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, MenuFill(), MenuBorder());
  char title[32];
  std::snprintf(title, sizeof title, "File %d", p.index + 1);
  WordsAt(*p.pic, p.x + 8, p.y + 3, 120, 20, title, CubeIndex(5, 5, 2), 18, Align::Left);
  WordsAt(*p.pic, p.x + 300, p.y + p.h - 22, p.w - 308, 18, "hold Delete 5 s to erase", GreyIndex(30), 13, Align::Right);
}

std::string Description(int m) {
  orb::InitRosterStats();
  const orb::PartyMember& member = orb::game.party[m];
  const orb::CharacterParams& c = orb::kCharacterParams[m];
  char text[256];
  std::snprintf(text, sizeof text, "%s\nHP %d   Power %d\nWalk %.2g   Jump %.3g\nMelee %d, strong %d", MemberName(m),
                member.hitPointsMax, member.powerMax, static_cast<double>(c.walkSpeed),
                static_cast<double>(c.jumpSpeed), c.meleeDamage, c.meleeDamageStrong);
  return text;
}

void NamePiece(const Piece& p) {
  IndexedPicture& pic = *p.pic;
  pic.Box(p.x + 8, p.y + p.h - 12, p.x + p.w - 8, p.y + p.h - 6, MemberColour(p.index));
  WordsAt(pic, p.x + 4, p.y + 4, p.w - 8, p.h - 18, MemberName(p.index), ink::White(), 40);
}

void DescriptionPiece(const Piece& p) {
  Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, MenuFill(), MemberColour(p.index));
  WordsAt(*p.pic, p.x + 8, p.y + 6, p.w - 16, p.h - 12, Description(p.index), ink::White(), 24, Align::Left);
}

void PanelCell(const Piece& p) {
  IndexedPicture& pic = *p.pic;
  if (p.index >= kMembers) {
    Plate(pic, p.x + 2, p.y + 2, p.x + p.w - 2, p.y + p.h - 2, CubeIndex(3, 0, 0), MenuBorder());
    WordsAt(pic, p.x + 6, p.y + 4, p.w - 12, p.h - 8, "Life: take one\nto revive", ink::White(), 16);
    return;
  }
  Plate(pic, p.x + 2, p.y + 2, p.x + p.w - 2, p.y + p.h - 2, MenuFill(), MemberColour(p.index));
  DrawFace(Piece{&pic, p.x + 6, p.y + 8, 32, 32, p.index}, p.index);
  char text[32];
  std::snprintf(text, sizeof text, "%d %s", p.index + 1, MemberName(p.index));
  WordsAt(pic, p.x + 42, p.y + 6, p.w - 48, p.h - 12, text, ink::White(), 18, Align::Left);
}

void CursorFrame(const Piece& p) {
  const uint8_t c = p.index == 0 ? CubeIndex(5, 5, 0) : CubeIndex(5, 2, 4);
  Frame(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, 4, c);
  WordsAt(*p.pic, p.x + p.w - 34, p.y + 4, 28, 16, p.index == 0 ? "1P" : "2P", c, 14);
}

void EdgeSign(const Piece& p) {
  IndexedPicture& pic = *p.pic;
  const float cx = p.x + 16.0f, cy = p.y + 16.0f;
  const bool bright = (p.index % 2) == 1;
  if (p.index < 4) {
    // 1P / 2P labels; the second pair also marks a held life.
    const int player = p.index % 2;
    const uint8_t fill = p.index < 2 ? PlayerFill(player) : CubeIndex(5, 0, 0);
    RimmedEllipse(pic, cx, cy, 15, 15, fill, ink::White(), 1.5f);
    WordsAt(pic, p.x + 3, p.y + 3, 26, 26, player == 0 ? "1P" : "2P", ink::White(), 16);
    return;
  }
  const bool left = p.index < 6;
  const uint8_t c = bright ? CubeIndex(5, 5, 2) : CubeIndex(5, 3, 0);
  if (left) {
    FillTriangle(pic, cx - 13, cy, cx + 11, cy - 12, cx + 11, cy + 12, c);
  } else {
    FillTriangle(pic, cx + 13, cy, cx - 11, cy - 12, cx - 11, cy + 12, c);
  }
}

void Bar(const Piece& p, bool frame, uint8_t colour) {
  IndexedPicture& pic = *p.pic;
  if (frame) {
    pic.Box(p.x, p.y, p.x + p.w, p.y + 1, colour);
    pic.Box(p.x, p.y + p.h - 1, p.x + p.w, p.y + p.h, colour);
    return;
  }
  // A light stripe along the top and a tick every ten points.
  pic.Box(p.x, p.y + 1, p.x + p.w, p.y + 3, GreyIndex(34));
  for (int x = 9; x < p.w; x += 10) pic.Box(p.x + x, p.y + p.h - 4, p.x + x + 1, p.y + p.h, GreyIndex(x % 50 == 49 ? 38 : 20));
}

void Cursor(const Piece& p) {
  IndexedPicture& pic = *p.pic;
  const float c = 15.5f;
  FillEllipse(pic, c, c, 15.5f, 15.5f, ink::Black());
  FillEllipse(pic, c, c, 14, 14, ink::White());
  for (int y = 0; y < 31; ++y) {  // the right half red
    for (int x = 16; x < 31; ++x) {
      if (pic.At(x, y) == ink::White()) pic.At(x, y) = CubeIndex(5, 0, 0);
    }
  }
  FillEllipse(pic, c, c - 7, 7, 7, ink::White());
  FillEllipse(pic, c, c + 7, 7, 7, CubeIndex(5, 0, 0));
  FillEllipse(pic, c, c - 7, 2.5f, 2.5f, CubeIndex(5, 0, 0));
  FillEllipse(pic, c, c + 7, 2.5f, 2.5f, ink::White());
}

void Logo(const Piece& p) {
  TextStyle style;
  style.ink = CubeIndex(5, 4, 0);
  style.rim = CubeIndex(1, 0, 2);
  style.maxPixels = 96;
  DrawWords(*p.pic, p.x + 8, p.y + 4, p.w - 16, p.h - 30, "ORBWORLD", style);
  WordsAt(*p.pic, p.x + 8, p.y + p.h - 26, p.w - 16, 22, "Z attack/OK   X jump/back   C shoot   A change   S pause", ink::White(), 18);
}

void TitleBackground(const Piece& p) {
  IndexedPicture& pic = *p.pic;
  for (int y = 0; y < p.h; ++y) {
    const int level = 1 + y * 4 / p.h;  // deep blue sky, lighter low down
    pic.Box(p.x, p.y + y, p.x + p.w, p.y + y + 1, CubeIndex(level / 2, level / 2 + 1, 2 + level / 2));
  }
  // Rolling hills along the bottom: every pixel stays opaque.
  for (int x = 0; x < p.w; ++x) {
    const float s = std::sin(x / 70.0f) * 18 + std::sin(x / 23.0f) * 6;
    pic.Box(p.x + x, p.y + 400 + static_cast<int>(s), p.x + x + 1, p.y + p.h, CubeIndex(0, 2, 1));
  }
}

void Clouds(const Piece& p) {
  const uint32_t h = HashText("clouds");
  for (int k = 0; k < 9; ++k) {
    const float cx = p.x + static_cast<float>((h >> k) % 97) * 6.5f + k * 11, cy = p.y + 40 + k * 37 % 300;
    for (int wrap = -1; wrap <= 1; ++wrap) {  // the layer is tiled: clouds run on across its edges
      FillEllipse(*p.pic, cx + wrap * p.w, cy, 60, 16, GreyIndex(20));
      FillEllipse(*p.pic, cx + 26 + wrap * p.w, cy - 8, 34, 14, GreyIndex(26));
    }
  }
}

struct Sheet {
  const char* file;
  Painter paint;
};

const std::vector<Sheet>& Sheets() {
  static const std::vector<Sheet> sheets = {
      {"title\\title.bmp", Logo},
      {"title\\titlehaik.bmp", TitleBackground},
      {"title\\titlehaikkumo.bmp", Clouds},
      {"title\\menu.bmp", Rows({"1 Player", "2 Players", "Options", "Quit"}, MenuFill())},
      {"title\\onnmyou.bmp", Cursor},
      {"title\\level.bmp", Rows({"Easy", "Normal", "Hard", "Very hard"}, MenuFill())},
      {"title\\levelmenu.bmp",
       Rows({"Easy: enemy bullets x0.8 speed,\ndamage taken x0.7, shots cost x1.3 power",
             "Normal: enemy bullets x1.0 speed,\ndamage taken x1.2, shots cost x1.7 power",
             "Hard: enemy bullets x1.3 speed,\ndamage taken x1.6, faster enemies",
             "Very hard: enemy bullets x1.6 speed,\ndamage taken x2.1, fastest enemies"},
            CubeIndex(1, 0, 2), 26)},
      {"title\\file.bmp", SlotPlate},
      {"title\\face.bmp", [](const Piece& p) { DrawFace(p, p.index); }},
      {"title\\newgame.bmp", Rows({"New game"}, ValueFill())},
      {"title\\optionmenu.bmp",
       Rows({"Window mode", "Camera", "Pad buttons", "Back", "Windowed", "Full screen", "Options"}, MenuFill())},
      {"title\\pad.bmp", Rows({"Both", "1P"}, ValueFill(), 18)},
      {"title\\padmenu.bmp", Rows({"Attack/OK", "Jump/Cancel", "Shoot", "Change", "Pause", "Defaults", "Back", "Player 1"},
                                  PlayerFill(0), 20)},
      {"title\\padnum.bmp", Rows({"1\nZ", "2\nX", "3\nC", "4\nA", "5\nS", "6\nD", "7\nQ", "8\nW", "9\nEsc", "10\nSpc"},
                                 ValueFill(), 14)},
      {"title\\padmenu2.bmp",
       Rows({"Attack/OK", "Jump/Cancel", "Shoot", "Change", "Defaults", "Player 2", "Pad 2", "2P"}, PlayerFill(1), 20)},
      {"title\\padnum2.bmp", Rows({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, ValueFill(), 20)},
      {"title\\charaname.bmp", NamePiece},
      {"title\\charasetu.bmp", DescriptionPiece},
      {"title\\taireiryoku.bmp", Lines({"HP", "Power"}, ink::White(), 20)},
      {"title\\staff.bmp", Lines({"ORBWORLD for Linux", "Program: the ORBWORLD team",
                                  "Pictures: placeholders drawn by mkassets", "Font: IPA Gothic",
                                  "Sounds: synthesized placeholders"},
                                 ink::White(), 26)},
      {"title\\thank.bmp", Lines({"Thank you for playing!", "Your results", "See you again"}, ink::White(), 28)},
      {"title\\op.bmp", Lines({"A world of orbs: 152 rooms joined by doors and gaps.",
                               "Enemies roam them; bosses guard the deepest.",
                               "Beat a boss, then touch it crouching: it joins you.",
                               "Ten companions can fill your party.",
                               "Items raise your hit points and your power.",
                               "Reach the far end of the world.", "Press a button to begin."},
                              ink::White(), 24)},
      {"effect\\number.bmp", Digit},
      {"effect\\gameover.bmp", Lines({"GAME OVER"}, CubeIndex(5, 1, 0), 48)},
      {"effect\\hozonn.bmp", Rows({"Resume", "Save & title"}, MenuFill(), 20)},
      {"effect\\boss.bmp", Lines({"BOSS"}, CubeIndex(5, 1, 0), 24)},
      {"effect\\charawin.bmp", PanelCell},
      {"effect\\itemwin.bmp",
       [](const Piece& p) {
         Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, CubeIndex(0, 0, 1), MenuBorder());
         for (int k = 1; k < 4; ++k) p.pic->Box(p.x + 160 * k, p.y + 4, p.x + 160 * k + 1, p.y + p.h - 4, MenuBorder());
       }},
      {"effect\\playerwin.bmp", CursorFrame},
      {"effect\\playerwin2.bmp", Rows({"1P", "2P"}, MenuFill(), 20)},
      {"effect\\player12.bmp", EdgeSign},
      {"effect\\life.bmp", [](const Piece& p) { Bar(p, false, 0); }},
      {"effect\\blife.bmp", [](const Piece& p) { Bar(p, false, 0); }},
      {"effect\\lifeb.bmp", [](const Piece& p) { Bar(p, true, GreyIndex(34)); }},
      {"effect\\blifeb.bmp", [](const Piece& p) { Bar(p, true, GreyIndex(34)); }},
      {"effect\\lifec.bmp", [](const Piece& p) { p.pic->Box(p.x, p.y, p.x + p.w, p.y + p.h, GreyIndex(34)); }},
      {"effect\\lifem.bmp", [](const Piece& p) { Plate(*p.pic, p.x, p.y, p.x + p.w, p.y + p.h, CubeIndex(5, 1, 1), ink::Black()); }},
  };
  return sheets;
}

}  // namespace

bool WordSheet(const std::string& file, int pieces, int across, int down, int w, int h, IndexedPicture* out) {
  for (const Sheet& s : Sheets()) {
    if (file != s.file) continue;
    *out = KeySheet(across, down, w, h);
    for (int i = 0; i < pieces && i < across * down; ++i) s.paint(PieceOf(*out, across, w, h, i));
    return true;
  }
  return false;
}

}  // namespace mkassets
