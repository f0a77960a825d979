// Words on the placeholder pictures, rendered with FreeType from the IPA
// Gothic faces that fontconfig finds: glyphs are cut at half coverage (the
// pictures carry one fixed palette, so there are no blended edges) and get a
// one-pixel rim in a second colour so that they read on any background.
#pragma once

#include <cstdint>
#include <string>

#include "asset_files.h"

namespace mkassets {

// Opens IPAPGothic (proportional, for words) and IPAGothic (fixed, for
// digits). False with a line on stderr when either is missing.
bool OpenFonts();
void CloseFonts();

enum class Face { Words, Digits };
enum class Align { Left, Centre, Right };

struct TextStyle {
  uint8_t ink = 0, rim = 0;
  bool rimmed = true;
  Face face = Face::Words;
  Align align = Align::Centre;
  int maxPixels = 24;  // the largest em size tried; smaller ones are tried until the words fit
  int minPixels = 7;
};

// Writes UTF-8 words (lines split at '\n'; ASCII here, since the sources'
// other literals are CP932) into the box (x, y, w, h) of the picture, at the
// largest size that fits, centred vertically. Returns the em size used, or
// 0 when nothing fits (nothing is drawn then).
int DrawWords(IndexedPicture& pic, int x, int y, int w, int h, const std::string& words, const TextStyle& style);

}  // namespace mkassets
