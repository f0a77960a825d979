// The JPEG reader over libjpeg: every library error must come back as -1.
#include <cstdint>

#include "guarded_calls.h"
#include "image_fuzz.h"

namespace {

// Width x height of the first frame header, or 0. Inputs that claim huge
// pictures are skipped: decoding millions of pixels of noise teaches the
// fuzzer nothing and would run into its time limit.
uint64_t ClaimedPixels(const uint8_t* data, size_t size) {
  for (size_t i = 0; i + 8 < size; ++i) {
    if (data[i] != 0xFF) continue;
    const uint8_t m = data[i + 1];
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      return static_cast<uint64_t>((data[i + 5] << 8) | data[i + 6]) * ((data[i + 7] << 8) | data[i + 8]);
    }
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ClaimedPixels(data, size) > (1u << 22)) return 0;
  return fuzz::RunImageReader(qor::LoadJpegImage, data, size);
}
