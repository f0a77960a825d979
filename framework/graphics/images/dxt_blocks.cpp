#include "framework/graphics/images/dxt_blocks.h"

#include "framework/graphics/images/image_stream_io.h"

namespace qor {

namespace {

struct Rgb {
  uint32_t r, g, b;
};

Rgb Expand565(uint32_t c) { return {((c >> 11) & 0x1F) * 255 / 31, ((c >> 5) & 0x3F) * 255 / 63, (c & 0x1F) * 255 / 31}; }

uint32_t Pack(uint32_t a, const Rgb& c) { return (a << 24) | (c.r << 16) | (c.g << 8) | c.b; }

void DecodeColorHalf(const uint8_t* half, bool dxt1, uint32_t out[16]) {
  const uint32_t c0 = ReadLe16(half);
  const uint32_t c1 = ReadLe16(half + 2);
  const Rgb e0 = Expand565(c0);
  const Rgb e1 = Expand565(c1);
  uint32_t colors[4] = {Pack(255, e0), Pack(255, e1), 0, 0};
  if (dxt1 && c0 <= c1) {
    const Rgb mid{(e0.r + e1.r) / 2, (e0.g + e1.g) / 2, (e0.b + e1.b) / 2};
    colors[2] = Pack(255, mid);
    colors[3] = Pack(0, mid);
  } else {
    colors[2] = Pack(255, {(2 * e0.r + e1.r) / 3, (2 * e0.g + e1.g) / 3, (2 * e0.b + e1.b) / 3});
    colors[3] = Pack(255, {(e0.r + 2 * e1.r) / 3, (e0.g + 2 * e1.g) / 3, (e0.b + 2 * e1.b) / 3});
  }
  const uint32_t indices = ReadLe32(half + 4);
  for (int i = 0; i < 16; ++i) out[i] = colors[(indices >> (2 * i)) & 3];
}

void DecodeExplicitAlpha(const uint8_t* half, uint32_t alpha[16]) {
  for (int i = 0; i < 16; ++i) alpha[i] = ((half[i / 2] >> ((i & 1) ? 4 : 0)) & 0xF) * 255 / 15;
}

void DecodeInterpolatedAlpha(const uint8_t* half, uint32_t alpha[16]) {
  const uint32_t a0 = half[0];
  const uint32_t a1 = half[1];
  uint32_t table[8] = {a0, a1, 0, 0, 0, 0, 0, 255};
  if (a0 > a1) {
    for (uint32_t k = 2; k < 8; ++k) table[k] = ((8 - k) * a0 + (k - 1) * a1) / 7;
  } else {
    for (uint32_t k = 2; k < 6; ++k) table[k] = ((6 - k) * a0 + (k - 1) * a1) / 5;
  }
  for (int group = 0; group < 2; ++group) {
    const uint8_t* p = half + 2 + 3 * group;
    const uint32_t bits = p[0] | (p[1] << 8) | (p[2] << 16);
    for (int i = 0; i < 8; ++i) alpha[8 * group + i] = table[(bits >> (3 * i)) & 7];
  }
}

// Premultiplied colour back to straight colour; alpha 0 gives colour 0 and
// a channel above its alpha saturates.
uint32_t Unpremultiply(uint32_t channel, uint32_t alpha) {
  if (alpha == 0) return 0;
  const uint32_t v = channel * 255 / alpha;
  return v > 255 ? 255 : v;
}

}  // namespace

void DecodeDxtBlock(int variant, const uint8_t* block, uint32_t out[16]) {
  if (variant == 1) {
    DecodeColorHalf(block, true, out);
    return;
  }
  uint32_t alpha[16];
  if (variant <= 3) {
    DecodeExplicitAlpha(block, alpha);
  } else {
    DecodeInterpolatedAlpha(block, alpha);
  }
  DecodeColorHalf(block + 8, false, out);
  const bool premultiplied = variant == 2 || variant == 4;
  for (int i = 0; i < 16; ++i) {
    uint32_t r = (out[i] >> 16) & 0xFF;
    uint32_t g = (out[i] >> 8) & 0xFF;
    uint32_t b = out[i] & 0xFF;
    if (premultiplied) {
      r = Unpremultiply(r, alpha[i]);
      g = Unpremultiply(g, alpha[i]);
      b = Unpremultiply(b, alpha[i]);
    }
    out[i] = (alpha[i] << 24) | (r << 16) | (g << 8) | b;
  }
}

}  // namespace qor
