// The DDS reader: masks, format codes and DXT1-DXT5 blocks.
#include <cstdint>

#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::RunImageReader(qor::DecodeDdsImage, data, size);
}
