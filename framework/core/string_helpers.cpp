#include "framework/core/string_helpers.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace qor {

void CopyString(char* destination, const char* source) {
  while ((*destination++ = *source++) != '\0') {
  }
}

void AppendString(char* destination, const char* source) {
  CopyString(destination + std::strlen(destination), source);
}

int CopyStringN(char* destination, size_t capacity, const char* source) {
  if (capacity == 0) return -1;
  size_t at = 0;
  while (source[at] != '\0') {
    const size_t width = static_cast<size_t>(SjisCharWidth(source + at));
    if (at + width >= capacity) {
      destination[at] = '\0';
      return -1;
    }
    std::memcpy(destination + at, source + at, width);
    at += width;
  }
  destination[at] = '\0';
  return 0;
}

int AppendStringN(char* destination, size_t capacity, const char* source) {
  const size_t used = strnlen(destination, capacity);
  if (used >= capacity) return -1;
  return CopyStringN(destination + used, capacity - used, source);
}

const char* FindCharSjis(const char* text, char byte) {
  for (const char* p = text; *p != '\0'; p += SjisCharWidth(p)) {
    if (*p == byte) return p;
  }
  return nullptr;
}

int CompareStrings(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : 1; }

void UpperCaseAsciiSjis(char* text) {
  for (char* p = text; *p != '\0';) {
    const int width = SjisCharWidth(p);
    if (width == 1 && *p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    p += width;
  }
}

int CompareBytesN(const void* a, const void* b, int n) {
  if (n < 0) return 1;
  if (n == 0) return 0;
  return std::memcmp(a, b, static_cast<size_t>(n)) == 0 ? 0 : 1;
}

void FillMemory8(void* destination, uint8_t byte, size_t count) { std::memset(destination, byte, count); }

int CompareMemory(const void* a, const void* b, size_t count) {
  return (count == 0 || std::memcmp(a, b, count) == 0) ? 0 : 1;
}

void CopyMemoryBytes(void* destination, const void* source, size_t count) {
  if (count != 0) std::memcpy(destination, source, count);
}

void MoveMemoryBytes(void* destination, const void* source, size_t count) {
  if (count != 0) std::memmove(destination, source, count);
}

int ParseIntSkipping(const char* text) {
  const char* p = text;
  while (*p != '\0' && *p != '-' && !(*p >= '0' && *p <= '9')) p += SjisCharWidth(p);
  if (*p == '\0') return -1;
  const bool negative = (*p == '-');
  if (negative) ++p;
  // Accumulate the magnitude with a ceiling so long digit runs saturate
  // instead of overflowing.
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

int ParseIntAfterBlank(const char* text) {
  const char* blank = FindCharSjis(text, ' ');
  if (blank == nullptr) return -1;
  return ParseIntSkipping(blank + 1);
}

char* FormatIntRadix(int value, char* buffer, size_t capacity, int radix) {
  if (capacity > 0) buffer[0] = '\0';
  if (radix < 2 || radix > 36) return nullptr;
  // The magnitude is taken in 64 bits so INT_MIN has one.
  long long magnitude = value;
  const bool negative = magnitude < 0;
  if (negative) magnitude = -magnitude;
  char digits[40];
  int count = 0;
  do {
    const int d = static_cast<int>(magnitude % radix);
    digits[count++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
    magnitude /= radix;
  } while (magnitude != 0);
  const size_t needed = static_cast<size_t>(count) + (negative ? 1 : 0) + 1;
  if (needed > capacity) return nullptr;
  char* out = buffer;
  if (negative) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
  *out = '\0';
  return buffer;
}

int FormatStringV(char* buffer, size_t capacity, const char* format, va_list args) {
  if (capacity == 0) return 0;
  const int wanted = std::vsnprintf(buffer, capacity, format, args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  if (static_cast<size_t>(wanted) < capacity) return wanted;
  // Cut to fit without leaving half of a double-byte character at the end.
  const size_t length = capacity - 1;
  size_t at = 0;
  while (at < length) {
    const size_t width = IsSjisLead(static_cast<uint8_t>(buffer[at])) ? 2 : 1;
    if (at + width > length) break;
    at += width;
  }
  buffer[at] = '\0';
  return static_cast<int>(at);
}

int FormatString(char* buffer, size_t capacity, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = FormatStringV(buffer, capacity, format, args);
  va_end(args);
  return n;
}

}  // namespace qor
