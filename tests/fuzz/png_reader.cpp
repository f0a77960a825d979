// The PNG reader over libpng: every library error must come back as -1.
#include <cstdint>

#include "guarded_calls.h"
#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::RunImageReader(qor::LoadPngImage, data, size);
}
