// The BMP reader: headers, palettes, RLE8/RLE4 and the DIB route.
#include <cstdint>
#include <cstdlib>

#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A few bytes of RLE may describe a picture of hundreds of megabytes;
  // inputs that claim more than a quarter million pixels are skipped so the
  // fuzzer spends its time on the decoding, not on clearing blocks.
  if (size >= 26) {
    auto le32 = [&](size_t at) {
      return static_cast<int32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                                  (static_cast<uint32_t>(data[at + 3]) << 24));
    };
    const int64_t pixels = std::llabs(static_cast<int64_t>(le32(18)) * le32(22));
    if (pixels > (int64_t{1} << 18)) return 0;
  }
  return fuzz::RunImageReader(qor::DecodeBmpImage, data, size);
}
