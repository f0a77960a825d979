// The triangle rasterizer of the Direct3D-like device, over plain surface
// views. It rasterizes as Direct3D 7 does:
//
//  - Pixel centres lie on whole coordinates: pixel (i, j) is sampled at
//    (i, j). A caller that wants texel t of a 1:1 quad on pixel t places the
//    quad's corners half a pixel up and left of the pixel grid.
//  - Vertices are taken to 1/256 pixel (x * 256 rounded half up), and a
//    pixel centre is inside when all three edge functions are positive, or
//    zero on a top edge (horizontal, interior below) or a left edge
//    (interior to its right): two triangles sharing an edge cover each pixel
//    on it exactly once.
//  - Texture coordinates, colours (Gouraud) and z are affine: at a pixel
//    with edge functions e0, e1, e2 (each opposite its vertex) and doubled
//    area A, all in double, a value is (e0 * q0 + e1 * q1 + e2 * q2) / A.
//    There is no perspective correction.
//  - Channels are 8 bits. A texel or render-target channel of w bits is
//    widened to 8 bits as floor(v * 255 / (2^w - 1)), the rule of the
//    framework's pixel conversion; a missing alpha reads 255. Products of
//    two channels are rounded: (a * b + 127) / 255. A write keeps each
//    channel's high bits (16-bit writes truncate) and sets the bits that
//    belong to no channel.
//  - A triangle with a non-finite value in any vertex is dropped whole.
//    Triangles reaching beyond +-16384 pixels are first clipped to that
//    square in double, then taken to fixed point; only pixels inside the
//    viewport are visited.
//
// The per-pixel steps, in order: colour key (a sampled texel whose raw value
// equals its texture's key discards the pixel), texture stages, alpha test,
// depth test and depth write, alpha blending, store. See pixel_pipeline.h.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/d3d/d3d_types.h"

namespace plat::d3d {

// Largest side of a render target, texture or depth buffer.
constexpr int32_t kMaxSurfaceSide = 8192;
// Half side of the square that vertices are clipped to before fixed point.
constexpr double kGuardBand = 16384.0;
// Fixed-point steps per pixel of the vertex positions.
constexpr int32_t kSubPixel = 256;

// Where each channel of a layout lies, worked out once per binding.
struct ChannelCodec {
  int32_t bytes;         // 2 or 4
  uint8_t shift[4];      // red, green, blue, alpha
  uint8_t width[4];      // 0 = absent
  uint32_t spareBits;    // bits of the pixel that belong to no channel
  uint32_t fieldMask[4];  // the channel's value bits once shifted down (0 = absent)
  uint8_t widenRow[4];    // the row of kWidenTable that widens the channel
};

// An 8-bit-per-channel colour: red, green, blue, alpha.
struct Rgba {
  int32_t c[4];
};

// 1 when the layout is one the device can hold (16 or 32 bits, each channel
// a contiguous run of at most 8 bits, channels not overlapping), filling
// `codec`; else 0.
bool MakeChannelCodec(const PixelLayout& layout, ChannelCodec* codec);
// 1 when the view has bits, a usable layout, sides 1..kMaxSurfaceSide and a
// pitch that holds a row.
bool SurfaceViewUsable(const SurfaceView& view);

// A channel of `width` bits widened to 0..255 (width 8 or more: unchanged).
constexpr int32_t WidenChannel(uint32_t value, int width) {
  if (width >= 8) return static_cast<int32_t>(value & 0xFF);
  return static_cast<int32_t>(value * 255u / ((1u << width) - 1u));
}

// WidenChannel for every width 1..8 and value, looked up per texel; row 0
// reads 0 and row 9 reads 255 (an absent colour channel and an absent alpha).
struct WidenTable {
  uint8_t byWidth[10][256];
};
constexpr int kWidenRowFull = 9;
constexpr WidenTable MakeWidenTable() {
  WidenTable t = {};
  for (int w = 1; w <= 8; ++w) {
    for (uint32_t v = 0; v < (1u << w); ++v) t.byWidth[w][v] = static_cast<uint8_t>(WidenChannel(v, w));
  }
  for (uint8_t& v : t.byWidth[kWidenRowFull]) v = 255;
  return t;
}
inline constexpr WidenTable kWidenTable = MakeWidenTable();
// The rounded product of two channels.
inline int32_t MulChannel(int32_t a, int32_t b) { return (a * b + 127) / 255; }

inline Rgba DecodePixel(const ChannelCodec& codec, uint32_t raw) {
  Rgba out;
  for (int i = 0; i < 4; ++i) out.c[i] = kWidenTable.byWidth[codec.widenRow[i]][(raw >> codec.shift[i]) & codec.fieldMask[i]];
  return out;
}

inline uint32_t EncodePixel(const ChannelCodec& codec, const Rgba& color) {
  uint32_t raw = codec.spareBits;
  // An absent channel (width 0) shifts its value out whole.
  for (int i = 0; i < 4; ++i) raw |= (static_cast<uint32_t>(color.c[i]) >> (8 - codec.width[i])) << codec.shift[i];
  return raw;
}

inline Rgba ColorFromArgb(uint32_t argb) {
  return {{static_cast<int32_t>((argb >> 16) & 0xFF), static_cast<int32_t>((argb >> 8) & 0xFF),
           static_cast<int32_t>(argb & 0xFF), static_cast<int32_t>(argb >> 24)}};
}
inline uint32_t LoadRaw(const uint8_t* p, int32_t bytes) {
  if (bytes == 2) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void StoreRaw(uint8_t* p, int32_t bytes, uint32_t value) {
  if (bytes == 2) {
    uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(p, &v, 2);
  } else {
    std::memcpy(p, &value, 4);
  }
}

// A vertex ready for rasterizing: screen position, z, the two colours as
// channel values, and the texture-coordinate sets.
struct RasterVertex {
  double x, y, z;
  double diffuse[4];
  double specular[4];
  double tex[kMaxTexCoordSets][2];
};

struct StageSetup {
  uint32_t colorOp, colorArg1, colorArg2;
  uint32_t alphaOp, alphaArg1, alphaArg2;
  uint32_t texCoordIndex;
  uint32_t addressU, addressV;
  uint32_t magFilter, minFilter;
  Rgba border;
  const Texture* texture;  // null: the TEXTURE argument reads opaque white
  ChannelCodec codec;      // of the texture
  bool samples;            // an argument of this stage reads the texture
};

// Everything one draw call needs, gathered by the device from its states.
struct RasterSetup {
  SurfaceView target;
  ChannelCodec targetCodec;
  const DepthView* depth;                        // null: no depth test
  int32_t clipLeft, clipTop, clipRight, clipBottom;  // the viewport; right and bottom excluded
  StageSetup stages[kMaxStages];
  int32_t stageCount;  // stages before the first whose colour operation is DISABLE
  Rgba textureFactor;
  bool alphaBlend;
  uint32_t srcBlend, destBlend;
  bool alphaTest;
  uint32_t alphaFunc;
  int32_t alphaRef;
  bool colorKey;
  bool depthTest, depthWrite;
  uint32_t depthFunc;
  bool gouraud;
  bool specularAdd;
  uint32_t cull;
  bool spanRoad;  // shade whole spans of pixels at a time (SpanRoadFits); else pixel by pixel
};

// Draws the triangle a, b, c (in the order that decides its winding); flat
// shading takes its colours from `provoking`. Returns the pixels written.
int64_t DrawTriangle(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                     const RasterVertex& provoking);

// Draws two triangles (each: three vertices in winding order, then its
// provoking vertex) at once when they are the two halves of an upright
// rectangle that read a texture one texel per pixel alike (a picture drawn
// at its size): then each row is one run. The pixels and bits are those of
// drawing them one after the other. Returns the pixels written, or -1 when
// the pair is not such a rectangle (nothing is drawn).
int64_t DrawTrianglePair(const RasterSetup& setup, const RasterVertex* const first[4], const RasterVertex* const second[4]);

}  // namespace plat::d3d
