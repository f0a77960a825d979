// The per-pixel blend formulas of the software renderer's primitives for the
// two drawable layouts: 32-bit X8R8G8B8 and 16-bit R5G6B5. They read the
// signed blend table and the product table, which must be built first.
#pragma once

#include <cstdint>

namespace qor {

// Blend modes.
constexpr int32_t kBlendNone = 0;
constexpr int32_t kBlendAlpha = 1;
constexpr int32_t kBlendAdd = 2;
constexpr int32_t kBlendSubtract = 3;
constexpr int32_t kBlendMultiply = 4;
constexpr int32_t kBlendInverse = 10;
constexpr int32_t kBlendWeightedMultiply = 11;

inline bool IsWhiteTint(uint32_t tint) { return (tint & 0xFFFFFF) == 0xFFFFFF; }

// The colour scaled by the tint 0x00RRGGBB, (channel x tint) >> 8 per
// channel; the fourth byte of a 32-bit colour stays.
uint32_t TintColor32(uint32_t color, uint32_t tint);
uint32_t TintColor16(uint32_t color, uint32_t tint);

// What destination pixel `d` becomes under blend mode `mode` with parameter
// `p` (0..255) and colour `c`. Modes 5 to 9 and unknown modes leave it.
uint32_t BlendPixel32(uint32_t d, uint32_t c, int32_t mode, int32_t p);
uint32_t BlendPixel16(uint32_t d, uint32_t c, int32_t mode, int32_t p);

}  // namespace qor
