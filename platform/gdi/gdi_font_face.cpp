// Face names to font files (fontconfig) and CP932 codes to Unicode.
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>

#include "platform/gdi/gdi_font_internal.h"
#include "platform/kernel/text_encoding.h"

namespace plat::gdi {

namespace {

constexpr const char* kFixedFamily = "IPAGothic";
constexpr const char* kProportionalFamily = "IPAPGothic";
constexpr size_t kFaceNameBytes = 31;  // a GDI face name holds 31 bytes and its zero

bool SameAsciiFolded(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == 0) return true;
  }
}

// The face name as GDI keeps it: at most 31 bytes, never half a pair.
void CopyFaceName(const char* faceName, char* out) {
  size_t n = 0;
  if (faceName != nullptr) {
    while (n < kFaceNameBytes && faceName[n] != '\0') {
      const bool pair = IsCp932Lead(static_cast<uint8_t>(faceName[n]));
      if (pair && (n + 1 >= kFaceNameBytes || faceName[n + 1] == '\0')) break;
      n += pair ? 2 : 1;
    }
    std::memcpy(out, faceName, n);
  }
  out[n] = '\0';
}

// The family fontconfig should look for (UTF-8).
void FamilyForName(const char* faceName, char* family, size_t capacity) {
  char name[kFaceNameBytes + 1];
  CopyFaceName(faceName, name);
  const char* mapped = nullptr;
  if (name[0] == '\0' || std::strcmp(name, "ＭＳ ゴシック") == 0 || SameAsciiFolded(name, "MS Gothic")) {
    mapped = kFixedFamily;
  } else if (std::strcmp(name, "ＭＳ Ｐゴシック") == 0 || SameAsciiFolded(name, "MS PGothic")) {
    mapped = kProportionalFamily;
  }
  if (mapped != nullptr) {
    std::snprintf(family, capacity, "%s", mapped);
  } else if (Cp932ToUtf8(name, family, capacity) < 0) {
    std::snprintf(family, capacity, "%s", kFixedFamily);
  }
}

// The file and face index fontconfig holds under exactly this family
// (ignoring case), or false.
bool FindFaceFile(const char* family, char* path, size_t capacity, int* index) {
  static const bool ready = FcInit() == FcTrue;
  if (!ready) return false;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  bool found = false;
  FcChar8* name = nullptr;
  for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    found = FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0;
  }
  FcChar8* file = nullptr;
  found = found && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
          std::snprintf(path, capacity, "%s", reinterpret_cast<const char*>(file)) < static_cast<int>(capacity);
  if (found && FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
  FcPatternDestroy(match);
  return found;
}

// Only scalable faces with a size in font units can follow the size rule.
FT_Face OpenFamily(FT_Library library, const char* family) {
  char path[4096];
  int index = 0;
  if (!FindFaceFile(family, path, sizeof path, &index)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path, index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return face;
}

}  // namespace

FT_Face OpenFaceForName(FT_Library library, const char* faceName, char* family, size_t familyCapacity) {
  FamilyForName(faceName, family, familyCapacity);
  FT_Face face = OpenFamily(library, family);
  if (face == nullptr && std::strcmp(family, kFixedFamily) != 0) {
    std::snprintf(family, familyCapacity, "%s", kFixedFamily);
    face = OpenFamily(library, family);
  }
  if (face == nullptr && !Fonts().warnedNoFace) {
    Fonts().warnedNoFace = true;
    std::fprintf(stderr, "fonts: the IPAGothic face cannot be loaded; install fonts-ipafont-gothic\n");
  }
  return face;
}

bool Cp932CodeToUnicode(uint32_t code, uint32_t* unicode) {
  char text[3] = {};
  if (code <= 0xFF) {
    if (IsCp932Lead(static_cast<uint8_t>(code))) return false;
    text[0] = static_cast<char>(code);
  } else if (code <= 0xFFFF && IsCp932Lead(static_cast<uint8_t>(code >> 8)) && (code & 0xFF) != 0) {
    text[0] = static_cast<char>(code >> 8);
    text[1] = static_cast<char>(code & 0xFF);
  } else {
    return false;
  }
  unsigned char utf8[16];
  const int n = Cp932ToUtf8(text, reinterpret_cast<char*>(utf8), sizeof utf8);
  if (n < 0) return false;
  if (n == 0) {  // the zero byte
    *unicode = 0;
    return true;
  }
  // One UTF-8 sequence, and nothing after it.
  const int length = utf8[0] < 0x80 ? 1 : utf8[0] >= 0xF0 ? 4 : utf8[0] >= 0xE0 ? 3 : 2;
  if (n != length) return false;
  uint32_t value = length == 1 ? utf8[0] : utf8[0] & (0x7Fu >> length);
  for (int i = 1; i < length; ++i) value = (value << 6) | (utf8[i] & 0x3Fu);
  *unicode = value;
  return true;
}

}  // namespace plat::gdi

// Debian's fontconfig loses a block while it parses its configuration
// files; the leak checker of sanitizer builds is told to pass over it.
#if defined(__SANITIZE_ADDRESS__)
#define ORB_FONT_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORB_FONT_LEAK_CHECK 1
#endif
#endif
#ifdef ORB_FONT_LEAK_CHECK
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
