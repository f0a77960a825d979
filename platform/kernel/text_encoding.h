// Conversion between the system's own text (CP932 bytes) and UTF-8, used
// only where text crosses to the machine: file names, titles, text input,
// standard error; and from the UTF-16 some names arrive in.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

// A CP932 lead byte: it and the byte after it form one character, whose
// second byte is never a separator or a letter.
inline bool IsCp932Lead(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Both return the length written (without the terminating zero), or -1 when
// the text cannot be converted or does not fit; the output is always
// terminated when capacity > 0.
int Cp932ToUtf8(const char* cp932, char* out, size_t capacity);
int Utf8ToCp932(const char* utf8, char* out, size_t capacity);
// Zero-terminated UTF-16 as the system reports some names (device and port
// names); half a surrogate pair cannot be converted.
int WideToCp932(const char16_t* text, char* out, size_t capacity);

}  // namespace plat
