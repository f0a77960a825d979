// What the Direct3D draws share: the flag bits of SetDrawStates, one corner
// of a quad, and the batch append.
#pragma once

#include <cstdint>

#include "framework/graphics/d3d/d3d_device.h"

namespace qor {

enum DrawStateFlags : uint32_t {
  kDrawTransparent = 0x001,
  kDrawKeepAlphaTest = 0x002,
  kDrawZBuffer = 0x004,
  kDrawGouraud = 0x008,
  kDrawPerspective = 0x010,
  kDrawForceDiffuseColor = 0x020,
  kDrawForceDiffuseAlpha = 0x040,
  kDrawFog = 0x080,
  kDrawKeepTexture = 0x100,
  kDrawLighting = 0x200,
};

// A quad corner: position, graph texture coordinates, blend texture
// coordinates, and the colour of an untextured quad.
struct QuadCorner {
  float x, y, u, v, bu, bv;
  uint32_t diffuse;
};

// Binds the piece's texture (and the blend set-up it needs) before its quad.
void PrepareBatchForPiece(uint32_t device, const Surface3DData* piece);
void AppendQuad(uint32_t device, const QuadCorner corners[4]);
// The common start of a graph draw: 0 to go on (first piece set), 1 while
// drawing is suspended (the draw returns 0), -1 on failure.
int BeginD3DDraw(GraphRecord* graph, uint32_t flags, const Surface3DData** first);

}  // namespace qor
