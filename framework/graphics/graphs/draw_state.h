// The draw state: the one set of drawing settings every draw reads (target,
// draw area, blend, tint, key colour, creation options of new graphs, the
// 3D matrices and lights, the present's vertical sync), its setters, colour
// packing, the draw-area clipping, and the draw target switch.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/matrix.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/soft_draw_settings.h"

namespace qor {

constexpr int32_t kFrontScreen = -4;
constexpr int32_t kBackScreen = -2;
constexpr int32_t kBlendModeMax = 11;

struct DrawState {
  void (*restoreHandler)();
  int32_t drawTarget;
  Rect screenPlacement;
  Rect drawArea;
  float drawAreaF[4];
  int32_t drawAreaEmpty;
  int32_t targetWidth, targetHeight;
  int32_t zBufferUse, zWrite, zCompare, cullMode, fog, textureAddress;
  float depth2D;
  int32_t drawMode;
  int32_t blendMode, blendParam;
  int32_t blendGraph, blendGraphParam1, blendGraphParam2;
  uint8_t tintBlue, tintGreen, tintRed;
  int32_t newGraphColorBits, use3DGraphs, newGraphDrawable, newGraphAlpha, newGraphAlphaTest;
  int32_t newGraphSystemMemory, newGraphTextureOption;
  uint32_t transparentColor;
  int32_t vsyncOff;
  Matrix4 world, view, projection, viewport, baseViewport, fullTransform, viewProjection, billboard;
  int32_t defaultLight;
  int32_t lightsChanged;
  // Mask bookkeeping: nothing in this program makes a mask screen.
  int32_t maskDrawing;
  int32_t maskInUse;
  Rect clipRequest;  // the four values SetClipArea was last given
};

DrawState& GetDrawState();
// Program-load state (the restore handler cleared too); ResetDrawState is the
// framework's own reset.
void ClearDrawState();
int ResetDrawState();

// The tint as 0x00RRGGBB, and the settings record for one software draw.
uint32_t CurrentTint();
SoftDrawSettings CurrentSoftSettings();

int SelectBlend(int32_t mode, int32_t parameter);
int SetTintRGB(int32_t r, int32_t g, int32_t b);
int SetTintPacked(uint32_t rgb);
int SelectBlendGraph(int32_t graph, int32_t parameter1, int32_t parameter2);
int ChooseDrawMode(int32_t value);
int SetKeyColorRGB(int32_t r, int32_t g, int32_t b);
int SetUse3DGraphs(int32_t on);
int GetUse3DGraphs();
int SetNewGraphSysMem(int32_t value);
int SetNewGraphVidMem(int32_t value);
int SetNewGraphBitDepth(int32_t bits);
int GetNewGraphBitDepth();
int SetNewGraphDrawable(int32_t on);
int SetNewGraphAlphaTest(int32_t on);
int GetNewGraphAlphaTest();
int SetNewGraphAlpha(int32_t on);
int GetNewGraphAlpha();
int GetNewGraphSysMem();
int SetNewGraphTexOption(int32_t value);
int GetNewGraphTexOption();
int QueryDrawTarget();
int QueryDrawMode();
int CopyDrawArea(Rect* out);
int SetScreenPlacementRect(const Rect* rect);
int SetVSyncOnPresent(int32_t on);
int GetVSyncOnPresent();
int SetClipArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
uint32_t PackColorRGB(int32_t r, int32_t g, int32_t b);
int UnpackColorRGB(uint32_t pixel, int32_t* r, int32_t* g, int32_t* b);

// Lights.
int32_t AddLightRecord();
int32_t AddDirectionalLight(float x, float y, float z);
int DeleteLight(int32_t light);
int DeleteAllLights();
// The light's direction, for tests and the Direct3D path; -1 for a bad handle.
int GetLightDirection(int32_t light, float* x, float* y, float* z);
void ResetLights();

// Draw target and transforms.
int SelectDrawTarget(int32_t target);
int EraseDrawTarget();
int SetWorldTransform(const Matrix4* matrix, int32_t flag);
int SetViewTransform(const Matrix4* matrix);
int SetProjectionTransform(const Matrix4* matrix);
int RecomputeTransforms();

}  // namespace qor
