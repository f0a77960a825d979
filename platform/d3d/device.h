// The Direct3D-7-like device: render and texture-stage states, textures,
// viewport, scenes, and the draws of transformed-and-lit triangle lists and
// strips, rasterized on the CPU as raster.h describes.
//
// Binding surfaces: for now the render target, the depth buffer and the
// textures are plain views of memory the caller owns and keeps alive while
// they are bound (SetRenderTarget copies the view; SetTexture keeps the
// pointer to the Texture record). Once the display stand-in's surfaces
// exist, the framework binds them through their lock views in the same way:
// a surface's lock view is what SetRenderTarget and Texture::view receive.
//
// States kept but without effect on the pixels: the transform matrices
// (the device draws transformed vertices only), TEXTUREPERSPECTIVE
// (coordinates are always affine), LIGHTING (transformed vertices are never
// lit), DITHERENABLE (never dithered), FILLMODE (always solid), FOGENABLE,
// ZBIAS, MIPFILTER and the material sources. The texture factor, specular
// add, shade mode, cull mode, colour key, alpha test, depth and blend states
// and every stage state act as raster.h says.
//
// Every call is counted, and the device can be told to fail: a lost device
// refuses scenes, draws and clears with kErrDeviceLost until it is restored,
// the next N draw calls can be made to fail with kErrDrawFailed, the next N
// viewports with kErrInvalidCall, and the next N texture loads with
// kErrInvalidCall.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d_types.h"
#include "platform/d3d/raster.h"

namespace plat::d3d {

struct DeviceCounters {
  int64_t setRenderState;
  int64_t setTextureStageState;
  int64_t setTexture;
  int64_t setViewport;
  int64_t setTransform;
  int64_t setRenderTarget;
  int64_t beginScene;
  int64_t endScene;
  int64_t drawPrimitive;
  int64_t drawIndexedPrimitive;
  int64_t clear;
  int64_t verticesSubmitted;   // vertices of DrawPrimitive, indices of DrawIndexedPrimitive
  int64_t trianglesSubmitted;  // triangles assembled from them, drawn or not
  int64_t pixelsWritten;
  int64_t trianglePairs;  // pairs of triangles drawn as one rectangle
  int64_t load;
};

class Device {
 public:
  Device();

  // Back to the state of a new device: default states, nothing bound, no
  // scene, counters at 0, no injected faults.
  void Reset();

  // Binds the render target and sets the viewport to all of it.
  Result SetRenderTarget(const SurfaceView& target);
  // Binds a depth buffer at least as large as the render target; null unbinds.
  Result SetDepthBuffer(const DepthView* depth);

  Result SetRenderState(uint32_t state, uint32_t value);
  Result GetRenderState(uint32_t state, uint32_t* value) const;
  // kTssAddress sets both kTssAddressU and kTssAddressV.
  Result SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value);
  Result GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* value) const;
  // Null unbinds the stage's texture.
  Result SetTexture(uint32_t stage, const Texture* texture);

  // The viewport must lie inside the render target.
  Result SetViewport(const Viewport& viewport);
  Result GetViewport(Viewport* viewport) const;

  // Kept as given, one matrix per transform type (identity on a new device).
  Result SetTransform(uint32_t type, const Matrix16* matrix);
  Result GetTransform(uint32_t type, Matrix16* matrix) const;

  Result BeginScene();
  Result EndScene();

  // Triangle lists and strips of transformed vertices (`fvf` with
  // kFvfXyzRhw, optional diffuse and specular, up to 8 texture-coordinate
  // sets of two floats), inside a scene. `vertices` holds `count` vertices.
  Result DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, uint32_t flags);
  // The same through 16-bit indices into `vertexCount` vertices; a triangle
  // with an index past the vertices is dropped.
  Result DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t vertexCount,
                              const uint16_t* indices, uint32_t indexCount, uint32_t flags);

  // Fills the rectangles (all of the viewport when count is 0 or rects is
  // null), each cut to the viewport, with `color` (0xAARRGGBB, packed like
  // a drawn pixel) and/or the depth buffer with z.
  Result Clear(uint32_t count, const ClearRect* rects, uint32_t flags, uint32_t color, float z, uint32_t stencil);

  // Copies the texels of `sourceRect` of one texture (all of it when null)
  // into another of the same pixel layout, its top-left at (x, y), as the
  // card copies a system-memory texture into the one it draws from. The
  // rectangle must lie in the source and the copy in the destination, else
  // kErrInvalidCall and nothing is copied; `flags` must be 0.
  Result Load(const Texture* destination, int32_t x, int32_t y, const Texture* source, const ClearRect* sourceRect,
              uint32_t flags);

  // Fault injection.
  void SetLost(bool lost) { lost_ = lost; }
  bool IsLost() const { return lost_; }
  void FailNextDraws(int32_t count) { failDraws_ = count; }
  void FailNextViewports(int32_t count) { failViewports_ = count; }
  void FailNextLoads(int32_t count) { failLoads_ = count; }
  // Draws take the per-pixel road only, on the calling thread (off), or
  // the span road where it fits (on, the default), a large draw split into
  // bands of rows across helper threads (raster_bands.h): tests compare the
  // two.
  void UseSpanRoad(bool on) { spanRoad_ = on; }

  const DeviceCounters& Counters() const { return counters_; }
  bool InScene() const { return inScene_; }

 private:
  Result CheckDraw(uint32_t type, uint32_t fvf, const void* vertices);
  void BuildSetup(RasterSetup* setup) const;
  // Draws the triangles of `count` positions; vertexAt(position) gives the
  // vertex drawn there, or 0xFFFFFFFF for none (the triangle is dropped).
  template <typename VertexAt>
  void DrawAssembled(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count, VertexAt vertexAt);

  uint32_t renderStates_[kRenderStateCount];
  uint32_t stageStates_[kMaxStages][kStageStateCount];
  const Texture* textures_[kMaxStages];
  SurfaceView target_;
  bool hasTarget_;
  DepthView depth_;
  bool hasDepth_;
  Viewport viewport_;
  Matrix16 transforms_[kTransformTypeEnd];
  bool inScene_;
  bool lost_;
  int32_t failDraws_;
  int32_t failViewports_;
  int32_t failLoads_;
  bool spanRoad_;
  DeviceCounters counters_;
  // The decoded triangles of the draw under way (kept to reuse the memory).
  struct DrawnTriangle {
    RasterVertex v[3];
    bool firstProvokes;
  };
  std::vector<DrawnTriangle> drawn_;
  struct BandJob;
  static void DrawBand(void* context, int band);
  // Draws the triangles in order, a picture's quad as one rectangle;
  // returns the pixels written and counts the rectangles in *pairs.
  static int64_t DrawTriangles(const RasterSetup& setup, const std::vector<DrawnTriangle>& triangles, int64_t* pairs);
};

}  // namespace plat::d3d
