// The BGRA reader: 8- and 16-bit channels.
#include <cstdint>

#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::RunImageReader(qor::DecodeBgraImage, data, size);
}
