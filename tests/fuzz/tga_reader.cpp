// The TGA reader: colour maps, RLE packets, row orders and the footer.
#include <cstdint>

#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::RunImageReader(qor::DecodeTgaImage, data, size);
}
