#include "framework/softrender/blend_tables.h"

#include <algorithm>
#include <cstring>

namespace qor {

BlendTables g_blendTables = {};

int BuildBlendTables() {
  for (int32_t p = 0; p < 256; ++p) {
    for (int32_t k = -255; k <= 255; ++k) g_blendTables.signedBlend[p][k + 255] = p * k / 255;
    for (int32_t b = 0; b < 256; ++b) g_blendTables.product[p][b] = p * b / 255;
  }
  for (int32_t f = 0; f < 64; ++f) {
    for (int32_t s = 0; s < 64; ++s) {
      for (int32_t d = 0; d < 64; ++d) {
        g_blendTables.cube[f * 4096 + s * 64 + d] = static_cast<uint8_t>((f * s + (63 - f) * d) / 63);
      }
    }
  }
  return 0;
}

void BuildBlendGraphTable(int32_t borderParameter, int32_t borderRange) {
  int32_t p = std::clamp(borderParameter, 0, 255);
  int32_t r = std::clamp(borderRange, 0, 255) + 1;
  int32_t start = 256 - ((65536 / r + 256) * p) / 256;
  for (int32_t i = 0; i < 256; ++i) {
    g_blendTables.blendGraphThreshold[i] = static_cast<uint8_t>(std::clamp((256 * i) / r + start, 0, 255));
  }
}

void ResetBlendTables() { std::memset(&g_blendTables, 0, sizeof g_blendTables); }

}  // namespace qor
