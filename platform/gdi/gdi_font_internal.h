// What the font files share: the font record, the module state, face
// lookup and character-code conversion.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi_font.h"

namespace plat::gdi {

struct FontObject {
  FT_Face face = nullptr;
  char family[128] = {};  // UTF-8

  // As asked for.
  int height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint32_t charSet = 0, outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  bool italic = false, underline = false, strikeOut = false;

  bool bold = false;  // weight >= 600: glyphs one pixel wider
  // Text metrics at the font's scale.
  int ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
  int aveCharWidth = 0, maxCharWidth = 0;
  bool fixedPitch = false;

  // What the face's glyph slot holds.
  bool slotValid = false, slotMono = false, slotInk = false;
  uint32_t slotCode = 0;
};

struct FontState {
  FT_Library library = nullptr;
  FontObject* live[256] = {};  // more fonts than this at once are refused
  int liveCount = 0;
  FontCounters counters;
  int failCreate = 0;
  bool warnedNoFace = false;
};
FontState& Fonts();

bool IsLiveFont(const FontObject* font);

// Opens the face for a CP932 face name (see gdi_font.h), writing its family
// into `family`. Null when neither that face nor IPAGothic loads.
FT_Face OpenFaceForName(FT_Library library, const char* faceName, char* family, size_t familyCapacity);

// The Unicode scalar of a single-byte or (lead << 8 | trail) CP932 code;
// false when the code is not exactly one CP932 character.
bool Cp932CodeToUnicode(uint32_t code, uint32_t* unicode);

}  // namespace plat::gdi
