// The body shared by the image reader targets: one reader over a memory
// stream, then everything the framework does with a decoded picture.
#pragma once

#include <cstdint>

#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/graphics/images/image_loader.h"

namespace fuzz {

inline int RunImageReader(qor::ImageReader reader, const uint8_t* data, size_t size) {
  using namespace qor;
  const StreamHandle stream = OpenMemoryStream(data, size);
  if (stream == 0) return 0;
  StreamSource source = MakeStreamSource(GetMemoryStreamTable(), stream);
  GraphImage image{};
  // Pictures past a megabyte (a tiny RLE file may describe one) are
  // only freed: walking them teaches the fuzzer nothing and costs its time.
  if (reader(&source, &image) == 0 && static_cast<int64_t>(image.pitch) * image.height <= (int64_t{1} << 20)) {
    // Every byte of the block is read, and the picture goes through the
    // pixel read, the DIB conversion and the mirror.
    uint32_t sum = 0;
    for (int64_t i = 0; i < static_cast<int64_t>(image.pitch) * image.height; ++i) sum += image.pixels[i];
    sum += ReadImagePixel(&image, image.width - 1, image.height - 1);
    DibInfo info;
    uint8_t* bits = nullptr;
    if (ConvertGraphImageToDib(&image, &info, &bits) == 1) FreeMemory(bits);
    MirrorImageHorizontally(&image);
    volatile uint32_t keep = sum;
    (void)keep;
  }
  FreeGraphImage(&image);
  FreeMemoryStream(stream);
  return 0;
}

}  // namespace fuzz
