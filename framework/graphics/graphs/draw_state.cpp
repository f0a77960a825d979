#include "framework/graphics/graphs/draw_state.h"

#include <cmath>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

namespace {

DrawState g_draw;

int32_t Clamp255(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

void WaitIfInactive() {
  if (!IsWindowActive()) WaitWhileInactive();
}

// The format colours are packed for: the memory-image format of the screen
// depth in software rendering, else the screen's own.
const PixelFormatInfo* PackFormat() {
  const ScreenState& s = GetScreenState();
  // Software draws go to images of the requested depth.
  if (IsSoftwareRendering()) return MemImageFormatOfDepth(s.requestedBits != 0 ? s.requestedBits : GetScreenColorBits());
  return s.format.bitDepth != 0 ? &s.format : MemImageFormatOfDepth(GetScreenColorBits());
}

}  // namespace

DrawState& GetDrawState() { return g_draw; }

void ClearDrawState() {
  g_draw = DrawState{};
  g_draw.drawTarget = kFrontScreen;
  g_draw.blendGraph = -1;
  g_draw.tintRed = g_draw.tintGreen = g_draw.tintBlue = 255;
  g_draw.defaultLight = -1;
  g_draw.maskDrawing = 1;
  ResetLights();
}

uint32_t CurrentTint() {
  return static_cast<uint32_t>(g_draw.tintRed) << 16 | static_cast<uint32_t>(g_draw.tintGreen) << 8 | g_draw.tintBlue;
}

SoftDrawSettings CurrentSoftSettings() {
  SoftDrawSettings s;
  s.drawArea = g_draw.drawArea;
  s.blendMode = g_draw.blendMode;
  s.blendParam = g_draw.blendParam;
  s.tint = CurrentTint();
  return s;
}

int ResetDrawState() {
  void (*handler)() = g_draw.restoreHandler;
  DeleteAllLights();
  std::memset(&g_draw, 0, sizeof g_draw);
  g_draw.restoreHandler = handler;
  g_draw.blendGraph = -1;
  g_draw.textureAddress = 3;
  g_draw.use3DGraphs = 1;
  g_draw.newGraphAlphaTest = 1;
  g_draw.defaultLight = -1;
  g_draw.tintRed = g_draw.tintGreen = g_draw.tintBlue = 0;  // so the white tint below is a change
  SetTintRGB(255, 255, 255);
  g_draw.depth2D = 0.2f;
  g_draw.zCompare = 4;
  g_draw.maskDrawing = 1;
  g_draw.maskInUse = 0;
  g_draw.drawTarget = kBackScreen;
  SelectDrawTarget(kFrontScreen);
  int32_t w = 0, h = 0;
  QueryTargetSize(g_draw.drawTarget, &w, &h);
  SetClipArea(0, 0, w, h);
  g_draw.defaultLight = AddDirectionalLight(1.0f, -1.0f, 1.0f);
  return 0;
}

// The Direct3D blend table is indexed by the mode, so only its modes are taken.
int SelectBlend(int32_t mode, int32_t parameter) {
  if (mode < 0 || mode > kBlendModeMax) return -1;
  if (mode == g_draw.blendMode && parameter == g_draw.blendParam) return 0;
  WaitIfInactive();
  g_draw.blendMode = mode;
  g_draw.blendParam = Clamp255(parameter);
  UpdateDiffuseColor();
  return 0;
}

int SetTintRGB(int32_t r, int32_t g, int32_t b) {
  r = Clamp255(r);
  g = Clamp255(g);
  b = Clamp255(b);
  if (r == g_draw.tintRed && g == g_draw.tintGreen && b == g_draw.tintBlue) return 0;
  g_draw.tintRed = static_cast<uint8_t>(r);
  g_draw.tintGreen = static_cast<uint8_t>(g);
  g_draw.tintBlue = static_cast<uint8_t>(b);
  if (IsDirect3DInUse()) UpdateDiffuseColor();
  return 0;
}

int SetTintPacked(uint32_t rgb) {
  rgb &= 0xFFFFFF;
  const bool changed = rgb != CurrentTint();
  g_draw.tintRed = static_cast<uint8_t>(rgb >> 16);
  g_draw.tintGreen = static_cast<uint8_t>(rgb >> 8);
  g_draw.tintBlue = static_cast<uint8_t>(rgb);
  if (changed) UpdateDiffuseColor();
  return 0;
}

int SelectBlendGraph(int32_t graph, int32_t parameter1, int32_t parameter2) {
  if (graph == g_draw.blendGraph && parameter1 == g_draw.blendGraphParam1 && parameter2 == g_draw.blendGraphParam2)
    return 0;
  if (graph != -1 && LookupGraph(graph) == nullptr) return -1;
  g_draw.blendGraph = graph;
  WaitIfInactive();
  g_draw.blendGraphParam1 = Clamp255(parameter1);
  g_draw.blendGraphParam2 = Clamp255(parameter2);
  const GraphRecord* blend = graph != -1 ? LookupGraph(graph) : nullptr;
  // A 2D blend graph has no texture: the device keeps none.
  if (IsDirect3DInUse() && (blend == nullptr || blend->is3D))
    SetBlendGraphD3D(blend, g_draw.blendGraphParam1, g_draw.blendGraphParam2);
  SetSoftBlendGraph(blend, g_draw.blendGraphParam1, g_draw.blendGraphParam2);
  return 0;
}

int ChooseDrawMode(int32_t value) {
  if (value == g_draw.drawMode) return 0;
  g_draw.drawMode = value;
  if (IsDirect3DInUse()) SetD3DDrawFilterMode(value);
  return 0;
}

int SetKeyColorRGB(int32_t r, int32_t g, int32_t b) {
  if (GetScreenColorBits() == 8) return 0;
  g_draw.transparentColor = static_cast<uint32_t>((r & 255) << 16 | (g & 255) << 8 | (b & 255));
  return 0;
}

int SetUse3DGraphs(int32_t on) {
  ScreenState& s = GetScreenState();
  if (s.directDraw == nullptr) s.direct3DOff = on == 0 ? 1 : 0;
  g_draw.use3DGraphs = on;
  return 0;
}

int GetUse3DGraphs() {
  const ScreenState& s = GetScreenState();
  const bool device = GetCurrentD3DDevice() != nullptr;  // gone between a task switch and the return
  return g_draw.use3DGraphs == 1 && s.direct3DInUse && !s.softwareRendering && device ? 1 : 0;
}

int SetNewGraphSysMem(int32_t value) {
  g_draw.newGraphSystemMemory = IsDirectDrawUsable() ? value : 1;
  return 0;
}

int SetNewGraphVidMem(int32_t value) {
  g_draw.newGraphSystemMemory = IsDirectDrawUsable() ? (value != 1 ? 1 : 0) : 1;
  return 0;
}

int SetNewGraphBitDepth(int32_t bits) { g_draw.newGraphColorBits = bits; return 0; }
int GetNewGraphBitDepth() { return g_draw.newGraphColorBits; }
int SetNewGraphDrawable(int32_t on) { g_draw.newGraphDrawable = on; return 0; }
int SetNewGraphAlphaTest(int32_t on) { g_draw.newGraphAlphaTest = on; return 0; }
int GetNewGraphAlphaTest() { return g_draw.newGraphAlphaTest; }
int SetNewGraphAlpha(int32_t on) { g_draw.newGraphAlpha = on; return 0; }
int GetNewGraphAlpha() { return g_draw.newGraphAlpha; }
int GetNewGraphSysMem() { return g_draw.newGraphSystemMemory; }
int SetNewGraphTexOption(int32_t value) { g_draw.newGraphTextureOption = value; return 0; }
int GetNewGraphTexOption() { return g_draw.newGraphTextureOption; }
int QueryDrawTarget() { return g_draw.drawTarget; }
int QueryDrawMode() { return g_draw.drawMode; }

int CopyDrawArea(Rect* out) {
  *out = g_draw.drawArea;
  return 0;
}

int SetScreenPlacementRect(const Rect* rect) {
  g_draw.screenPlacement = rect != nullptr ? *rect : Rect{};
  return 0;
}

int SetVSyncOnPresent(int32_t on) {
  g_draw.vsyncOff = on == 0 ? 1 : 0;
  return 0;
}

int GetVSyncOnPresent() { return g_draw.vsyncOff == 0 ? 1 : 0; }

int SetClipArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  g_draw.clipRequest = Rect{x1, y1, x2, y2};
  int32_t width = 0, height = 0;
  const char* targetName = "Image Buffer";
  if (g_draw.drawTarget == kFrontScreen) {
    targetName = "Front Buffer";
    QueryScreenSize(&width, &height);
    const MainWindowState& w = GetMainWindowState();
    if (w.window != 0) {
      int dw = 0, dh = 0, db = 0;
      GetDesktopModeInfo(&dw, &dh, &db);
      const plat::Rect area = w.clientRect;
      if (area.left < 0) x1 = -area.left;
      if (area.top < 0) y1 = -area.top;
      if (dw > 0 && area.left + width >= dw) width = dw - area.left;
      if (dh > 0 && area.top + height >= dh) height = dh - area.top;
    }
  } else if (g_draw.drawTarget == kBackScreen) {
    targetName = "Back Buffer";
    QueryScreenSize(&width, &height);
  } else {
    const GraphRecord* g = LookupGraph(g_draw.drawTarget);
    if (g == nullptr) return 0;
    width = g->width;
    height = g->height;
  }
  Rect r{x1, y1, x2, y2};
  NormalizeRect(&r);
  auto clamp = [](int32_t v, int32_t hi) { return v < 0 ? 0 : (v > hi ? hi : v); };
  r.left = clamp(r.left, width);
  r.right = clamp(r.right, width);
  r.top = clamp(r.top, height);
  r.bottom = clamp(r.bottom, height);
  g_draw.drawArea = r;
  g_draw.drawAreaF[0] = static_cast<float>(r.left);
  g_draw.drawAreaF[1] = static_cast<float>(r.top);
  g_draw.drawAreaF[2] = static_cast<float>(r.right);
  g_draw.drawAreaF[3] = static_cast<float>(r.bottom);
  g_draw.drawAreaEmpty = r.left == r.right || r.top == r.bottom ? 1 : 0;
  // The device clips to the area as well; a failing viewport keeps the area.
  if (!g_draw.drawAreaEmpty && IsDirect3DInUse() && SetD3DViewportRect(&r) != 0)
    LogPrintf("ビューポートの設定に失敗しました %s", targetName);
  return 0;
}

uint32_t PackColorRGB(int32_t r, int32_t g, int32_t b) {
  const ScreenState& s = GetScreenState();
  if (GetScreenColorBits() == 8) {
    uint32_t best = 0, bestDistance = 0xFFFFFF;
    for (uint32_t i = 0; i < 256; ++i) {
      const int32_t dr = static_cast<int32_t>((s.paletteEntries[i] >> 16) & 255) - r;
      const int32_t dg = static_cast<int32_t>((s.paletteEntries[i] >> 8) & 255) - g;
      const int32_t db = static_cast<int32_t>(s.paletteEntries[i] & 255) - b;
      const uint32_t d = static_cast<uint32_t>(dr * dr + dg * dg + db * db);
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
    return best;
  }
  const PixelFormatInfo* f = PackFormat();
  uint32_t v = f->spareMask;
  const uint32_t channels[3] = {static_cast<uint32_t>(r & 255), static_cast<uint32_t>(g & 255),
                                static_cast<uint32_t>(b & 255)};
  for (int c = 0; c < 3; ++c) v += (channels[c] >> (8 - f->widths[c])) << f->shifts[c];
  return v;
}

int UnpackColorRGB(uint32_t pixel, int32_t* r, int32_t* g, int32_t* b) {
  const ScreenState& s = GetScreenState();
  if (GetScreenColorBits() == 8) {
    if (pixel > 255) return -1;
    *r = static_cast<int32_t>((s.paletteEntries[pixel] >> 16) & 255);
    *g = static_cast<int32_t>((s.paletteEntries[pixel] >> 8) & 255);
    *b = static_cast<int32_t>(s.paletteEntries[pixel] & 255);
    return 0;
  }
  const PixelFormatInfo* f = s.softwareRendering && s.requestedBits != 0 && s.requestedBits != GetScreenColorBits()
                                 ? MemImageFormatOfDepth(s.requestedBits)
                                 : PackFormat();
  int32_t* out[3] = {r, g, b};
  for (int c = 0; c < 3; ++c) {
    const uint32_t full = (1u << f->widths[c]) - 1u;
    *out[c] = full == 0 ? 0 : static_cast<int32_t>(((pixel & f->masks[c]) >> f->shifts[c]) * 255u / full);
  }
  return 0;
}

}  // namespace qor
