// Text the system reports in UTF-16 (device and port names), brought into
// the system's own code page.
#pragma once

#include <cstddef>

namespace plat {

// Converts zero-terminated UTF-16 to CP932. Returns the length written
// (without the terminating zero), or -1 when the text cannot be converted
// or does not fit; the output is always terminated when capacity > 0.
int WideToCp932(const char16_t* text, char* out, size_t capacity);

}  // namespace plat
