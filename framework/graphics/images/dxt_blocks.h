// S3TC block decoding (DXT1 to DXT5) into A8R8G8B8 pixels.
#pragma once

#include <cstdint>

namespace qor {

// Decodes one block of `variant` 1..5 (8 bytes for DXT1, else 16: the alpha
// half first) into 16 pixels 0xAARRGGBB in row order.
void DecodeDxtBlock(int variant, const uint8_t* block, uint32_t out[16]);

}  // namespace qor
