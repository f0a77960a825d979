// The BMP reader: headers, palettes, RLE8/RLE4 and the DIB route.
#include <cstdint>

#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::RunImageReader(qor::DecodeBmpImage, data, size);
}
