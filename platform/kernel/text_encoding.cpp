#include "platform/kernel/text_encoding.h"

#include <iconv.h>

#include <bit>
#include <cstring>

namespace plat {

namespace {

int Convert(const char* to, const char* from, const char* text, size_t bytes, char* out, size_t capacity) {
  if (capacity == 0) return -1;
  out[0] = '\0';
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
  char* in = const_cast<char*>(text);
  size_t inLeft = bytes;
  char* dst = out;
  size_t outLeft = capacity - 1;
  const size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || inLeft != 0) {
    out[0] = '\0';
    return -1;
  }
  *dst = '\0';
  return static_cast<int>(dst - out);
}

}  // namespace

int Cp932ToUtf8(const char* cp932, char* out, size_t capacity) {
  return Convert("UTF-8", "CP932", cp932, std::strlen(cp932), out, capacity);
}

int Utf8ToCp932(const char* utf8, char* out, size_t capacity) {
  return Convert("CP932", "UTF-8", utf8, std::strlen(utf8), out, capacity);
}

int WideToCp932(const char16_t* text, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  if (text == nullptr) return -1;
  size_t units = 0;
  while (text[units] != 0) ++units;
  const char* utf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
  return Convert("CP932", utf16, reinterpret_cast<const char*>(text), units * sizeof(char16_t), out, capacity);
}

}  // namespace plat
