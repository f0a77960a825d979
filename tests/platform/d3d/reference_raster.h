// A per-pixel reference of the device's rasterizing rules, written the
// plainest way: every pixel centre of the target tested against the three
// edge functions, texture coordinates by barycentric weights in double,
// channels widened and packed by the framework's own pixel-format code.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d_types.h"

namespace d3dref {

struct Vtx {
  float x, y;
  uint32_t diffuse;
  float u, v;
};

// The stage set-ups the framework builds for one texture (or none).
enum ColorSource { kColorTexture, kColorTextureTimesDiffuse, kColorDiffuse, kColorInvTextureTimesDiffuse };
enum AlphaSource { kAlphaTexture, kAlphaTextureTimesDiffuse, kAlphaDiffuse };

struct Config {
  const plat::d3d::Texture* texture = nullptr;
  bool linear = false;
  bool wrap = false;  // else clamp
  ColorSource color = kColorTexture;
  AlphaSource alpha = kAlphaTexture;
  bool fadeToFactor = false;  // second stage: colour toward the texture factor where alpha is low
  uint32_t factor = 0xFFFFFFFF;
  bool colorKey = false;
  bool alphaTest = false;
  uint32_t alphaFunc = plat::d3d::kCmpGreater;
  int alphaRef = 0;
  bool blend = false;
  uint32_t src = plat::d3d::kBlendOne;
  uint32_t dst = plat::d3d::kBlendZero;
};

// Draws one triangle (flat shaded by its first vertex) into `target`.
void DrawTriangle(const plat::d3d::SurfaceView& target, const Vtx tri[3], const Config& config);

}  // namespace d3dref
