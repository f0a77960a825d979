// The Direct3D road of the framework: 3D graphic pieces (texture rectangles
// of a graph with ready-made screen vertices), the four device slots with
// their caches of render and texture-stage states, the vertex batch, and the
// Direct3D globals of set-up. The device is the CPU device of platform/d3d;
// its render target and textures are display surfaces whose memory it reads
// and writes directly.
//
// Rasterizing follows Direct3D 7: pixel centres on whole coordinates (hence
// the draws' -0.5 shift), the top-left fill rule, affine texture
// coordinates, 8 bits per channel.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "platform/d3d/device.h"
#include "platform/d3d/device_caps.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

constexpr int kD3DDeviceSlots = 4;
constexpr int kD3DStages = 8;
constexpr int32_t kBatchCapacity[3] = {3225, 2340, 1638};
constexpr uint32_t kBatchFvf[3] = {plat::d3d::kFvfColored, plat::d3d::kFvfTextured, plat::d3d::kFvfBlendTextured};

struct ColorVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
};
struct TexVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};
struct BlendVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u0, v0, u1, v1;
};
static_assert(sizeof(ColorVertex) == 20 && sizeof(TexVertex) == 28 && sizeof(BlendVertex) == 40);

struct Surface3DData {
  uint32_t check;
  int32_t* diedFlag;
  uint16_t x, y;
  uint16_t textureX, textureY;
  uint16_t sourceX, sourceY;
  uint16_t width, height;
  TexVertex vertices[4];  // top-left, top-right, bottom-left, bottom-right
  uint8_t diagonal[4];
  int32_t owner;
  int32_t texture;  // surface-data handle
};

struct StageCache {
  plat::DDSurface* texture;
  uint16_t alphaArg1, alphaArg2, alphaOp, colorArg1, colorArg2, colorOp;
};

struct D3DDeviceState {
  uint32_t inUse;
  plat::d3d::Device* device;
  plat::DDSurface* ownTarget;
  plat::DDSurface* currentTarget;
  plat::DDSurface* texture;
  plat::DDSurface* blendTexture;
  const Surface3DData* lastPiece;
  uint32_t lastFlags;
  uint32_t useDiffuseColor, useDiffuseAlpha;
  int32_t blendMode;
  int32_t blendTexParam, blendTexType;
  uint32_t alphaChannel, alphaTest;
  uint32_t stagesDirty, textureDirty;
  uint32_t drawingOff;
  uint32_t resend;
  uint32_t alphaTestEnable, alphaRef, alphaFunc, alphaBlendEnable;
  uint32_t diffuseMaterialSource, specularMaterialSource, specularEnable, textureFactor;
  uint32_t srcBlend, destBlend;
  int32_t stagesInUse;
  StageCache stages[kD3DStages];
  uint32_t inScene;
  int32_t filterMode;
  uint32_t magFilter[kD3DStages], minFilter[kD3DStages], mipFilter[kD3DStages];
  plat::d3d::Viewport viewport;
  uint32_t zEnable, zWriteEnable, zFunc, zBias, shadeMode, cullMode, addressMode;
  uint32_t fogEnable, texturePerspective, lighting, colorKeyEnable;
  // The vertex batch.
  int32_t vertexCount;
  int32_t format;
  uint32_t primitiveType;
  ColorVertex buffer0[3225];
  TexVertex buffer1[2340];
  BlendVertex buffer2[1638];
  // What the device's stages are bound to: views of the cached surfaces.
  plat::d3d::Texture boundTextures[kD3DStages];
};

// A texture format: the display's description and the framework's.
struct TextureFormatRecord {
  plat::DDPixelFormat dd;
  PixelFormatInfo info;
};
enum TextureFormatIndex {
  kTexPlain16, kTexPlain32, kTexAlpha4444, kTexAlpha8888, kTexAlphaTest1555, kTexAlphaTest32,
  kTexTarget16, kTexTarget32, kTexTargetAlpha, kTexFormatCount
};

struct D3DGlobals {
  int32_t object;  // 1 while the Direct3D object is held
  uint32_t initialised;
  uint32_t currentDevice;
  D3DDeviceState devices[kD3DDeviceSlots];
  uint32_t diffuseColor;
  HandleTable pieces;
  void* pieceSlots[kSurface3DHandleMax];
  plat::d3d::DeviceDesc desc;
  plat::DDPixelFormat zFormat;
  TextureFormatRecord formats[kTexFormatCount];
  int32_t minTexture, maxTexture;
  uint32_t frontTarget;
  uint32_t drawingSuspended;
  int32_t captureMethod[2];  // graphs with alpha, other graphs; -1 none
  float blendWidth, blendHeight, blendRecipWidth, blendRecipHeight;
};

D3DGlobals& GetD3D();
// Frees what the road holds (devices, pieces) and returns it to program load.
void ResetD3D();

// The slot a device index names, or null for an index whose low 16 bits are
// 4 or more. InUseDevice also wants the object and a device in the slot.
D3DDeviceState* DeviceSlot(uint32_t device);
D3DDeviceState* InUseDevice(uint32_t device);

// --- pieces (d3d_pieces.cpp) ------------------------------------------------------
int32_t AddSurface3DData(int32_t textureWidth, int32_t textureHeight, int32_t x, int32_t y, int32_t width,
                         int32_t height, int32_t sourceX, int32_t sourceY, int32_t owner, const Surface3DData* parent,
                         int32_t textureX, int32_t textureY, const SurfaceFlags* flags);
Surface3DData* LookupSurface3DData(int32_t handle);
Surface3DData* GetSurface3DData(int32_t handle);  // the same lookup
int DeleteSurface3DData(int32_t handle);
int UnlockSurface3DData(int32_t handle, const Rect* rect);
int RestoreGraphPieces3D(GraphRecord* graph);
int RestoreAllGraphPieces3D();
int DeleteAllSurface3DData();
void ComputeDiagonalFlags(Surface3DData* piece, double height, double ratio);
// The texture surface behind a piece, or null.
plat::DDSurface* PieceTexture(const Surface3DData* piece);

// --- device basics (d3d_device.cpp) -----------------------------------------------
int BeginSceneIfNeeded(uint32_t device);
// A 4 x 4 matrix (16 floats, row after row) as the device's transform of
// `type`, as it is.
void SendDeviceMatrix(D3DDeviceState* state, uint32_t type, const float* matrix16);
// The world matrix `index` (0-3) on the device; 0 without sending for an
// index outside 0-3.
int SetDeviceTransform(uint32_t device, int32_t index, const float* matrix16);
int FlushVertexBatch(uint32_t device);
int FlushCurrentVertexBatch();
int EndSceneIfBegun(uint32_t device);
int EndSceneCurrentDevice();
int DeleteD3DDevice(uint32_t device);
plat::d3d::Device* GetCurrentD3DDevice();
void UpdateDiffuseColor();
int DoNothingD3D();
// The graphics manager draws through Direct3D: the object was set up when
// the screen mode was (the flag stays over a task switch, while the object
// itself may be released).
bool IsDirect3DInUse();
// The device's view of a display surface (render target or texture).
plat::d3d::SurfaceView SurfaceViewOf(plat::DDSurface* surface);

// --- state cache (d3d_state_cache.cpp) ---------------------------------------------
int SetTexturePerspectiveState(uint32_t device, uint32_t value);
int SetColorKeyEnableState(uint32_t device, uint32_t value);
int SetZEnableState(uint32_t device, uint32_t value);
int SetZWriteEnableState(uint32_t device, uint32_t value);
int SetZFuncState(uint32_t device, uint32_t value);
int SetZBiasState(uint32_t device, uint32_t value);
int SetCullModeState(uint32_t device, uint32_t value);
int SetShadeModeState(uint32_t device, uint32_t value);
int SetFogEnableState(uint32_t device, uint32_t value);
int SetLightingState(uint32_t device, uint32_t value);
int SetD3DFilterMode(uint32_t device, int32_t mode);
int SetD3DDrawFilterMode(int32_t mode);
int SetD3DRenderTarget(uint32_t device, plat::DDSurface* surface);
int SetBlendModeState(uint32_t device, int32_t mode, uint32_t alphaChannel, uint32_t alphaTest);
int SetCurrentTextureState(uint32_t device, plat::DDSurface* texture);
// Draws out the batch and unbinds a texture surface that is about to go.
void ForgetTextureSurface(plat::DDSurface* surface);
int SetBlendTextureState(uint32_t device, plat::DDSurface* texture, int32_t parameter, int32_t type);
int SetAlphaBlendUseState(uint32_t device, uint32_t on);
int SetDiffuseUseState(uint32_t device, uint32_t on);
int ApplyBlendStates(uint32_t device);
int ApplyTextureAndBlend(uint32_t oldDevice, uint32_t newDevice);
int SetBlendGraphD3D(const GraphRecord* graph, int32_t parameter, int32_t type);
int SetD3DViewport(const plat::d3d::Viewport& viewport, uint32_t device);
int SetD3DViewportRect(const Rect* rect);
int SetDefaultD3DStates(uint32_t device);
// The draw state's matrices on the current device, each after a flush:
// world matrix `index` (0-3), the view, the projection.
int SetWorldTransformD3D(const float* matrix16, int32_t index);
int SetViewTransformD3D(const float* matrix16);
int SetProjectionTransformD3D(const float* matrix16);

// --- set-up and end (d3d_setup.cpp) -------------------------------------------------
int InitDirect3D();
int EndDirect3D();
int ReleaseDirect3DObject();
int AcquireDirect3DObject();
int32_t CreateD3DDevice(plat::DDSurface* target);
int RecreateD3DDevice(uint32_t device);
void ResendAllD3DStates(uint32_t device);
int DeleteAllD3DDevices();
const plat::DDPixelFormat* GetZBufferPixelFormat();

// --- textures (d3d_texture.cpp) --------------------------------------------------------
int32_t ChooseTextureSize(int32_t length, int32_t* sizes, int32_t sizesCapacity, int32_t single);
const PixelFormatInfo* SelectTextureFormatByFlags(const SurfaceFlags* flags);
const PixelFormatInfo* SelectTextureFormat(int32_t alpha, int32_t alphaTest, int32_t bits32, int32_t drawable);
// The record of a texture format index and its pixel format; null for an
// index outside the nine.
const TextureFormatRecord* GetTextureFormatRecord(int32_t index);
const PixelFormatInfo* GetTexturePixelFormatInfo(int32_t index);
// Makes the display surface of a texture surface-data record (colour 0).
int CreateTextureSurface(SurfaceDataRecord* record);
int CreateGraphPieces3D(GraphRecord* graph);
int DeleteGraphPieces3D(GraphRecord* graph);
int UploadImageToSurface3D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source,
                           int32_t textureX, int32_t textureY, int32_t piece, int32_t transparent);
// Each piece receives the image's pixels under it when the graph's top-left
// corner lies on the image's pixel (x, y).
int BlitImageToGraphPieces3D(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y,
                             GraphRecord* graph, int32_t transparent);
// The image's rectangle `source` laid at (x, y) of the graph: each piece it
// overlaps receives the overlapping part.
int BlitImageRectToGraphPieces3D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source,
                                 int32_t x, int32_t y, GraphRecord* graph, int32_t transparent);
int FillGraphPieces3D(GraphRecord* graph, int32_t r, int32_t g, int32_t b, int32_t a);

// --- draws (d3d_draw.cpp, d3d_screen.cpp) ------------------------------------------------
void SetDrawStates(const Surface3DData* piece, uint32_t flags);
int BlitGraphD3D(int32_t ix, int32_t iy, float fx, float fy, GraphRecord* graph, int32_t transparent,
                 int32_t keepAlphaTest);
int BlitGraphStretchedD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float fx1, float fy1, float fx2, float fy2,
                          GraphRecord* graph, int32_t transparent, int32_t keepAlphaTest);
int DeriveGraphPieces3D(GraphRecord* graph, int32_t x, int32_t y, int32_t width, int32_t height,
                        const GraphRecord* parent);
int DeleteAllGraph3DPieces();
int BlitGraphRotatedD3D(float centerX, float centerY, double scale, double angle, GraphRecord* graph,
                        int32_t transparent, int32_t turn);
// Corners: top-left, top-right, bottom-left, bottom-right (x, y each).
int BlitGraphQuadD3D(const float* corners, GraphRecord* graph, int32_t transparent);
// The same with whole-pixel corners: an axis-aligned rectangle as the
// stretched draw, without a blend graph as BlitGraphQuadD3D, with one as two
// triangles each mapping its half of the graph.
int BlitGraphQuadIntD3D(const int32_t* corners, GraphRecord* graph, int32_t transparent);
int DrawIndexedGrid(uint32_t device, const TexVertex* vertices, int32_t columns, int32_t rows);
// 0 and nothing changed for a graph of several pieces; -1 for a target
// the device cannot draw on (a 2D graph in system memory also suspends its
// drawing).
int SelectDrawTargetD3D(int32_t screen);
int CaptureScreenRectD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph, int32_t option);
int ClearScreenD3D();
int PaintBoxFilledD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
int PaintBoxOutlineD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);

// --- text and the mode-3 wrap (d3d_text.cpp) ------------------------------------------
// A string of a font with a texture cache, glyph by glyph as textured quads
// in the text colour (edges first in the edge colour), both scaled by the
// draw brightness. Other fonts take the 2D string draw. 0, or -1 for an
// invalid handle, no device or while drawing is suspended.
int DrawStringD3D(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle, uint32_t edgeColor,
                  int32_t vertical);
// Blend mode 3 (subtract) on the device, which only adds: Enter inverts the
// hook rectangle (white box under mode 3 at 255) and selects mode 5 (add)
// with the caller's parameter; the draw adds; Leave inverts back and puts
// mode 3 back. Net: destination - source x parameter / 255, and pixels the
// draw leaves alone come back unchanged.
void EnterWhiteBlend3(const Rect& hook);
void LeaveWhiteBlend3(const Rect& hook);

}  // namespace qor
