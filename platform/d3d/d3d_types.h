// The values and plain records of the Direct3D-7-like device: state and
// operation numbers (the Direct3D 7 values, so that the framework's tables
// read as they stand), results, and the surface views the device draws on
// and samples from.
#pragma once

#include <cstdint>

namespace plat::d3d {

// Results. 0 is success; every failure is negative.
enum Result : int32_t {
  kOk = 0,
  kErrInvalidCall = -1,   // bad argument, or a state number out of range
  kErrDeviceLost = -2,    // the device's surfaces are gone until it is re-created
  kErrSceneState = -3,    // draw outside BeginScene/EndScene, or a scene begun twice
  kErrUnsupported = -4,   // a primitive type or vertex format the device does not draw
  kErrDrawFailed = -5,    // an injected failure of a draw call
};

// Render states.
enum RenderState : uint32_t {
  kRsTexturePerspective = 4,
  kRsZEnable = 7,
  kRsFillMode = 8,
  kRsShadeMode = 9,
  kRsZWriteEnable = 14,
  kRsAlphaTestEnable = 15,
  kRsSrcBlend = 19,
  kRsDestBlend = 20,
  kRsCullMode = 22,
  kRsZFunc = 23,
  kRsAlphaRef = 24,
  kRsAlphaFunc = 25,
  kRsDitherEnable = 26,
  kRsAlphaBlendEnable = 27,
  kRsFogEnable = 28,
  kRsSpecularEnable = 29,
  kRsColorKeyEnable = 41,
  kRsZBias = 47,
  kRsTextureFactor = 60,
  kRsLighting = 137,
  kRsColorKeyBlendEnable = 144,
  kRsDiffuseMaterialSource = 145,
  kRsSpecularMaterialSource = 146,
};
constexpr uint32_t kRenderStateCount = 256;

// Texture-stage states.
enum StageState : uint32_t {
  kTssColorOp = 1,
  kTssColorArg1 = 2,
  kTssColorArg2 = 3,
  kTssAlphaOp = 4,
  kTssAlphaArg1 = 5,
  kTssAlphaArg2 = 6,
  kTssTexCoordIndex = 11,
  kTssAddress = 12,  // sets kTssAddressU and kTssAddressV
  kTssAddressU = 13,
  kTssAddressV = 14,
  kTssBorderColor = 15,
  kTssMagFilter = 16,
  kTssMinFilter = 17,
  kTssMipFilter = 18,
};
constexpr uint32_t kStageStateCount = 32;
constexpr int kMaxStages = 8;
constexpr int kMaxTexCoordSets = 8;

// Blend factors.
enum Blend : uint32_t {
  kBlendZero = 1,
  kBlendOne = 2,
  kBlendSrcColor = 3,
  kBlendInvSrcColor = 4,
  kBlendSrcAlpha = 5,
  kBlendInvSrcAlpha = 6,
  kBlendDestAlpha = 7,
  kBlendInvDestAlpha = 8,
  kBlendDestColor = 9,
  kBlendInvDestColor = 10,
  kBlendSrcAlphaSat = 11,
  kBlendBothSrcAlpha = 12,
  kBlendBothInvSrcAlpha = 13,
};

// Texture-stage operations.
enum StageOp : uint32_t {
  kTopDisable = 1,
  kTopSelectArg1 = 2,
  kTopSelectArg2 = 3,
  kTopModulate = 4,
  kTopModulate2x = 5,
  kTopModulate4x = 6,
  kTopAdd = 7,
  kTopAddSigned = 8,
  kTopAddSigned2x = 9,
  kTopSubtract = 10,
  kTopAddSmooth = 11,
  kTopBlendDiffuseAlpha = 12,
  kTopBlendTextureAlpha = 13,
  kTopBlendFactorAlpha = 14,
  kTopBlendTextureAlphaPm = 15,
  kTopBlendCurrentAlpha = 16,
};

// Texture-stage arguments, with the two modifier flags.
enum StageArg : uint32_t {
  kTaDiffuse = 0,
  kTaCurrent = 1,
  kTaTexture = 2,
  kTaTFactor = 3,
  kTaSpecular = 4,
  kTaSelectMask = 0x0F,
  kTaComplement = 0x10,
  kTaAlphaReplicate = 0x20,
};

enum Compare : uint32_t {
  kCmpNever = 1,
  kCmpLess = 2,
  kCmpEqual = 3,
  kCmpLessEqual = 4,
  kCmpGreater = 5,
  kCmpNotEqual = 6,
  kCmpGreaterEqual = 7,
  kCmpAlways = 8,
};

enum Cull : uint32_t { kCullNone = 1, kCullCw = 2, kCullCcw = 3 };
enum Shade : uint32_t { kShadeFlat = 1, kShadeGouraud = 2 };
enum Fill : uint32_t { kFillPoint = 1, kFillWireframe = 2, kFillSolid = 3 };
enum Address : uint32_t { kAddressWrap = 1, kAddressMirror = 2, kAddressClamp = 3, kAddressBorder = 4 };
enum Filter : uint32_t { kFilterPoint = 1, kFilterLinear = 2 };  // MAGFILTER and MINFILTER alike

enum PrimitiveType : uint32_t {
  kPtPointList = 1,
  kPtLineList = 2,
  kPtLineStrip = 3,
  kPtTriangleList = 4,
  kPtTriangleStrip = 5,
  kPtTriangleFan = 6,
};

// Flexible vertex format bits. Only transformed vertices are drawn: x, y, z,
// rhw (floats), then the diffuse and specular colours (0xAARRGGBB) when
// present, then two floats per texture-coordinate set.
enum VertexFormatBits : uint32_t {
  kFvfXyzRhw = 0x004,
  kFvfPositionMask = 0x00E,
  kFvfDiffuse = 0x040,
  kFvfSpecular = 0x080,
  kFvfTexCountMask = 0xF00,
  kFvfTexCountShift = 8,
};
constexpr uint32_t kFvfColored = kFvfXyzRhw | kFvfDiffuse;                  // 0x44
constexpr uint32_t kFvfTextured = kFvfXyzRhw | kFvfDiffuse | 0x100;         // 0x144
constexpr uint32_t kFvfBlendTextured = kFvfXyzRhw | kFvfDiffuse | kFvfSpecular | 0x200;  // 0x2C4

// Clear flags.
enum ClearFlags : uint32_t { kClearTarget = 1, kClearZBuffer = 2 };

// Transform types: the first world matrix, view, projection, and the three
// further world matrices.
enum TransformType : uint32_t {
  kTransformWorld = 1,
  kTransformView = 2,
  kTransformProjection = 3,
  kTransformWorld1 = 4,
  kTransformWorld2 = 5,
  kTransformWorld3 = 6,
  kTransformTypeEnd = 7,
};

// A 4 x 4 matrix, row after row, for row vectors.
struct Matrix16 {
  float m[16];
};

// How the bits of one pixel hold its channels: 16 or 32 bits, one mask per
// channel (red, green, blue, alpha; 0 = absent). Every channel is a run of
// at most 8 contiguous bits.
struct PixelLayout {
  int32_t bitCount;
  uint32_t masks[4];
};

// The formats the device renders to and samples from.
constexpr PixelLayout kLayoutR5G6B5 = {16, {0xF800, 0x07E0, 0x001F, 0}};
constexpr PixelLayout kLayoutX1R5G5B5 = {16, {0x7C00, 0x03E0, 0x001F, 0}};
constexpr PixelLayout kLayoutA1R5G5B5 = {16, {0x7C00, 0x03E0, 0x001F, 0x8000}};
constexpr PixelLayout kLayoutA4R4G4B4 = {16, {0x0F00, 0x00F0, 0x000F, 0xF000}};
constexpr PixelLayout kLayoutX8R8G8B8 = {32, {0xFF0000, 0xFF00, 0xFF, 0}};
constexpr PixelLayout kLayoutA8R8G8B8 = {32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}};

// A locked surface as the device sees it: the caller owns the memory and
// keeps it alive while the view is bound.
struct SurfaceView {
  uint8_t* bits;
  int32_t pitch;  // bytes from one row to the next (at least width x bytes per pixel)
  int32_t width;
  int32_t height;
  PixelLayout layout;
};

// A texture: a surface view and its source colour key (the raw pixel value
// that colour keying makes transparent).
struct Texture {
  SurfaceView view;
  bool hasColorKey;
  uint32_t colorKey;
};

// A 16-bit depth buffer (0 = nearest, 65535 = farthest), at least as large
// as the render target it serves.
struct DepthView {
  uint16_t* bits;
  int32_t pitch;  // bytes
  int32_t width;
  int32_t height;
};

struct Viewport {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  float minZ;
  float maxZ;
};

struct ClearRect {
  int32_t left, top, right, bottom;
};

}  // namespace plat::d3d
