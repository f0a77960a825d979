// An IPA face (IPAGothic unless asked for IPAPGothic) opened straight
// through fontconfig and FreeType, without the font stand-in or the asset
// tool: the tests' independent reference for sizes, metrics and glyph
// bitmaps.
#pragma once

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdint>

namespace testsupport {

struct IpaFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int64_t em = 0, winAscent = 0, winDescent = 0;

  explicit IpaFace(const char* family = "IPAGothic") {
    FcInit();
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult r;
    FcPattern* m = FcFontMatch(nullptr, p, &r);
    FcChar8* file = nullptr;
    FcPatternGetString(m, FC_FILE, 0, &file);
    FT_Init_FreeType(&library);
    FT_New_Face(library, reinterpret_cast<const char*>(file), 0, &face);
    FcPatternDestroy(m);
    FcPatternDestroy(p);
    if (face == nullptr) return;  // the tests that need it fail on a null face
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    em = face->units_per_EM;
    if (os2 != nullptr) winAscent = os2->usWinAscent, winDescent = os2->usWinDescent;
  }
  ~IpaFace() {
    FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
  IpaFace(const IpaFace&) = delete;
  IpaFace& operator=(const IpaFace&) = delete;

  // Font units at a cell height (ascent + descent), rounded: GDI's size rule.
  int64_t Scale(int64_t units, int cell) const {
    const int64_t den = winAscent + winDescent;
    return (units * cell + den / 2) / den;
  }
};

}  // namespace testsupport
