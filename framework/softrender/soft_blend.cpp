#include "framework/softrender/soft_blend.h"

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/pixel_kernel.h"

namespace qor {

namespace {

uint32_t Byte(uint32_t v, int n) { return (v >> (8 * n)) & 0xFF; }

struct Fields565 {
  int32_t r, g, b;
};
Fields565 Split565(uint32_t v) {
  return {static_cast<int32_t>((v >> 11) & 0x1F), static_cast<int32_t>((v >> 5) & 0x3F), static_cast<int32_t>(v & 0x1F)};
}
uint32_t Join565(int32_t r, int32_t g, int32_t b) {
  return (static_cast<uint32_t>(r) << 11) | (static_cast<uint32_t>(g) << 5) | static_cast<uint32_t>(b);
}

// d' = (256 d + p (c - d)) >> 8 with a flooring shift, per colour byte; the
// fourth byte of d stays.
uint32_t Mix32(uint32_t d, uint32_t c, int32_t p) {
  uint32_t result = d & 0xFF000000;
  for (int n = 0; n < 3; ++n) {
    int32_t dv = static_cast<int32_t>(Byte(d, n));
    int32_t cv = static_cast<int32_t>(Byte(c, n));
    int32_t v = (256 * dv + p * (cv - dv)) >> 8;
    result |= static_cast<uint32_t>(v) << (8 * n);
  }
  return result;
}

uint32_t Scale32ByProduct(uint32_t c, int32_t p) {
  const int32_t* row = g_blendTables.product[p];
  return static_cast<uint32_t>(row[Byte(c, 0)]) | (static_cast<uint32_t>(row[Byte(c, 1)]) << 8) |
         (static_cast<uint32_t>(row[Byte(c, 2)]) << 16);
}

uint32_t Multiply32(uint32_t d, uint32_t c) {
  uint32_t result = d & 0xFF000000;
  for (int n = 0; n < 3; ++n) result |= ((Byte(d, n) * Byte(c, n)) >> 8) << (8 * n);
  return result;
}

// d + signed(p, c - d) per field.
uint32_t Mix16(uint32_t d, uint32_t c, int32_t p) {
  Fields565 dv = Split565(d), cv = Split565(c);
  return Join565(dv.r + SignedBlend(p, cv.r - dv.r), dv.g + SignedBlend(p, cv.g - dv.g),
                 dv.b + SignedBlend(p, cv.b - dv.b));
}

uint32_t Scale16ByProduct(uint32_t c, int32_t p) {
  const int32_t* row = g_blendTables.product[p];
  Fields565 f = Split565(c);
  return Join565(row[f.r], row[f.g], row[f.b]);
}

uint32_t Multiply16(uint32_t d, uint32_t c) {
  Fields565 dv = Split565(d), cv = Split565(c);
  return Join565((dv.r * cv.r) >> 5, (dv.g * cv.g) >> 6, (dv.b * cv.b) >> 5);
}

}  // namespace

uint32_t TintColor32(uint32_t color, uint32_t tint) {
  if (IsWhiteTint(tint)) return color;
  uint32_t result = color & 0xFF000000;
  for (int n = 0; n < 3; ++n) result |= ((Byte(color, n) * Byte(tint, n)) >> 8) << (8 * n);
  return result;
}

uint32_t TintColor16(uint32_t color, uint32_t tint) {
  if (IsWhiteTint(tint)) return color & 0xFFFF;
  Fields565 f = Split565(color);
  return Join565((f.r * static_cast<int32_t>(Byte(tint, 2))) >> 8, (f.g * static_cast<int32_t>(Byte(tint, 1))) >> 8,
                 (f.b * static_cast<int32_t>(Byte(tint, 0))) >> 8);
}

uint32_t BlendPixel32(uint32_t d, uint32_t c, int32_t mode, int32_t p) {
  switch (mode) {
    case kBlendNone:
      return c;
    case kBlendAlpha:
      if (p == 255) return c;
      if (p == 0) return d;
      return Mix32(d, c, p);
    case kBlendAdd:
      // The fourth byte becomes the carry out of red.
      return p == 0 ? d : AddPacked32(d, Scale32ByProduct(c, p));
    case kBlendSubtract:
      return p == 0 ? d : SubtractPacked32(d, Scale32ByProduct(c, p));
    case kBlendMultiply:
      return Multiply32(d, c);
    case kBlendInverse:
      return Mix32(d, c ^ 0x00FFFFFF, p);
    case kBlendWeightedMultiply:
      return Mix32(d, Multiply32(d, c), p);
    default:
      return d;
  }
}

uint32_t BlendPixel16(uint32_t d, uint32_t c, int32_t mode, int32_t p) {
  d &= 0xFFFF;
  c &= 0xFFFF;
  switch (mode) {
    case kBlendNone:
      return c;
    case kBlendAlpha:
      if (p == 255) return c;
      if (p == 0) return d;
      return Mix16(d, c, p);
    case kBlendAdd:
      return p == 0 ? d : AddPacked16(d, Scale16ByProduct(c, p), true);
    case kBlendSubtract:
      return p == 0 ? d : SubtractPacked16(d, Scale16ByProduct(c, p));
    case kBlendMultiply:
      return Multiply16(d, c);
    case kBlendInverse:
      return Mix16(d, c ^ 0xFFFF, p);
    case kBlendWeightedMultiply:
      return Mix16(d, Multiply16(d, c), p);
    default:
      return d;
  }
}

}  // namespace qor
