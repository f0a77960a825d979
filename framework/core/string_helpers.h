// Byte-string and memory helpers the framework uses instead of the runtime
// library. Text is Shift-JIS: a lead byte 0x81-0x9F or 0xE0-0xFC starts a
// two-byte character whose second byte is never taken for a separator or a
// letter.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace qor {

inline bool IsSjisLead(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Width of the character at `p`: 2 for a lead byte followed by a trail byte,
// else 1. A lead byte right before the terminating zero is one byte wide, so
// no scan ever steps over the end of the text.
inline int SjisCharWidth(const char* p) {
  return (IsSjisLead(static_cast<uint8_t>(p[0])) && p[1] != '\0') ? 2 : 1;
}

void CopyString(char* destination, const char* source);
void AppendString(char* destination, const char* source);
// Bounded forms for fixed buffers: they copy what fits (never cutting a
// double-byte character in half), always terminate, and return -1 when the
// text did not fit whole, else 0.
int CopyStringN(char* destination, size_t capacity, const char* source);
int AppendStringN(char* destination, size_t capacity, const char* source);

const char* FindCharSjis(const char* text, char byte);
int CompareStrings(const char* a, const char* b);       // 0 equal, 1 different
void UpperCaseAsciiSjis(char* text);
int CompareBytesN(const void* a, const void* b, int n);  // 0 equal; n < 0 gives 1

void FillMemory8(void* destination, uint8_t byte, size_t count);
int CompareMemory(const void* a, const void* b, size_t count);  // 0 equal, 1 different
void CopyMemoryBytes(void* destination, const void* source, size_t count);
void MoveMemoryBytes(void* destination, const void* source, size_t count);

// Decimal numbers in text; results saturate at the limits of int.
int ParseIntSkipping(const char* text);
int ParseIntAfterBlank(const char* text);

// Writes `value` in `radix` (2..36, lower-case letters above 9). Returns the
// buffer, or nullptr for a radix out of range or a buffer too small (the
// buffer then holds an empty text when it has room for one).
char* FormatIntRadix(int value, char* buffer, size_t capacity, int radix);

// printf-style formatting into a buffer of `capacity` bytes; the output is
// cut to fit and always terminated. Returns the characters written.
int FormatStringV(char* buffer, size_t capacity, const char* format, va_list args);
int FormatString(char* buffer, size_t capacity, const char* format, ...) __attribute__((format(printf, 3, 4)));

}  // namespace qor
