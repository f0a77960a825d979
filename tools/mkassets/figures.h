// Figures for the sprite sheets and portraits: the ten party members, the
// enemies by shape (walkers, fluff balls, fairies, ghosts, birds) and the
// bosses, told apart by shape, colour, headgear and a count of pips. The
// game mirrors sprites that face left, so they carry no words: the pips are
// laid out symmetrically and read the same both ways.
#pragma once

#include <cstdint>
#include <string>

#include "paint.h"

namespace mkassets {

constexpr int kMembers = 10;

// The party member whose sheet is "gr\<stem>.bmp", or -1.
int MemberOfSheet(const std::string& stem);
const char* MemberName(int member);  // "Tovel" .. "Pallow"
const char* MemberStem(int member);  // "tovel" .. "pallow", the sheet's file stem
uint8_t MemberColour(int member);

enum class Shape { Hero, Walker, Boss, Fluff, Fairy, Ghost, Bird, Spiky, Switch };

struct FigureLook {
  Shape shape;
  uint8_t body;
  int pips;       // on the body: the member's number, the variant's number
  int headgear;   // walkers: 0 horns, 1 ears, 2 antenna, 3 crest
};

// A figure filling a piece, posed by the piece's frame number.
void DrawFigure(const Piece& p, const FigureLook& look);

// The look of a gr\ sheet by its file stem ("kedama3", "nocta").
FigureLook LookOfSheet(const std::string& stem);

// A member's face: a disc in its colour with its initial.
void DrawFace(const Piece& p, int member);

}  // namespace mkassets
