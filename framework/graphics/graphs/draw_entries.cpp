// Texture graphs go to the Direct3D road, the others to the 2D road. Around
// each draw run the hooks: the movie update, the mask hooks (only while a
// mask screen is in use, which nothing in this program asks for), the
// software front buffer's (refresh it from the window before a draw, copy
// the drawn box to the window after) and blend mode 3 on the device, which
// subtracts through the invert-add-invert wrap over the hook rectangle.
#include "framework/graphics/graphs/draw_entries.h"

#include <algorithm>
#include <cmath>

#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_movie.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

namespace {

// The blend graph covers the graph drawn: the blend draws never test it.
bool CheckBlendGraphFits(const GraphRecord* record) {
  const GraphRecord* blend = LookupGraph(GetDrawState().blendGraph);
  return blend != nullptr && blend->width >= record->width && blend->height >= record->height;
}

bool SoftFrontTarget() {
  const ScreenState& s = GetScreenState();
  return s.softwareRendering && s.colorBits != 8 && GetDrawState().drawTarget == kFrontScreen;
}

// Steps 1 to 4 and 6 of the shared sequence: the graph's record, or null
// with `*result` set when nothing is to be drawn. A movie graph's movie is
// advanced; when it is placed on the screen directly, `*direct` (when
// asked) is set and the rest is left to the caller.
GraphRecord* BeginGraphDraw(int32_t graph, int* result, bool* direct = nullptr) {
  const DrawState& d = GetDrawState();
  *result = 0;
  if (d.drawAreaEmpty) return nullptr;
  *result = -1;
  GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return nullptr;
  if (d.blendGraph != -1 && !CheckBlendGraphFits(record)) return nullptr;
  if (!IsWindowActive()) WaitWhileInactive();
  if (UpdateGraphMovie(record) && direct != nullptr) {
    *direct = true;
    return record;
  }
  if (!record->is3D) EndSceneCurrentDevice();  // the 2D road draws after what the device holds
  return record;
}

struct SavedArea {
  Rect area;
  float areaF[4];
  int32_t empty;
  Rect request;
};

SavedArea NarrowDrawArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  DrawState& d = GetDrawState();
  SavedArea saved{d.drawArea, {d.drawAreaF[0], d.drawAreaF[1], d.drawAreaF[2], d.drawAreaF[3]}, d.drawAreaEmpty,
                  d.clipRequest};
  Rect r{std::max(x1, d.drawArea.left), std::max(y1, d.drawArea.top), std::min(x2, d.drawArea.right),
         std::min(y2, d.drawArea.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  d.drawArea = r;
  d.drawAreaF[0] = static_cast<float>(r.left);
  d.drawAreaF[1] = static_cast<float>(r.top);
  d.drawAreaF[2] = static_cast<float>(r.right);
  d.drawAreaF[3] = static_cast<float>(r.bottom);
  d.drawAreaEmpty = (r.left == r.right || r.top == r.bottom) ? 1 : 0;
  return saved;
}

void RestoreDrawArea(const SavedArea& saved) {
  DrawState& d = GetDrawState();
  d.drawArea = saved.area;
  std::copy(saved.areaF, saved.areaF + 4, d.drawAreaF);
  d.drawAreaEmpty = saved.empty;
  d.clipRequest = saved.request;
}

int32_t Clamp64(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A Direct3D draw, inside the mode-3 wrap when mode 3 is selected. While
// the device's drawing is suspended nothing goes through it (boxes take the
// 2D road, which subtracts by itself), so nothing is inverted either.
template <typename Draw>
int DrawOnDevice(Rect hook, Draw draw) {
  if (GetDrawState().blendMode != 3 || GetD3D().drawingSuspended) return draw();
  NormalizeRect(&hook);
  EnterWhiteBlend3(hook);
  const int result = draw();
  LeaveWhiteBlend3(hook);
  return result;
}

// Steps 7 to 11 around one draw: the mask begins, the software front buffer
// is refreshed from the window, the draw (on the device, inside the mode-3
// wrap), the mask ends, and the drawn box goes to the window at once.
template <typename Draw>
int HookedDraw(Rect hook, bool onDevice, Draw draw) {
  const bool mask = GetDrawState().maskInUse != 0;
  Rect ordered = hook;
  NormalizeRect(&ordered);
  if (mask) BeginMaskDraw(ordered.left, ordered.top, ordered.right, ordered.bottom, 0);
  if (SoftFrontTarget()) CaptureWindowToSoftBuffer();
  const int result = onDevice ? DrawOnDevice(hook, draw) : draw();
  if (mask) EndMaskDraw(ordered.left, ordered.top, ordered.right, ordered.bottom, 0);
  if (SoftFrontTarget()) PresentRectToWindow(&ordered);
  return result;
}

// Boxes have no graph to say which road: the device's when new graphs are
// made of textures, Direct3D is in use and software rendering is off.
bool BoxesOnDevice() {
  const ScreenState& s = GetScreenState();
  return GetDrawState().use3DGraphs != 0 && IsDirect3DInUse() && !s.softwareRendering;
}

// The hook rectangle is needed for the mode-3 wrap of a texture graph, by a
// mask screen, and by the software front buffer.
bool HookNeeded(const GraphRecord* record) {
  return (record->is3D && GetDrawState().blendMode == 3) || GetDrawState().maskInUse != 0 || SoftFrontTarget();
}

// The rotated draw's box: the four corners turned and scaled about the
// centre, widened by 5 each way. False when a value is not a number.
bool RotatedHook(float centerX, float centerY, double scale, double angle, const GraphRecord* record, Rect* hook) {
  const float c = std::cos(static_cast<float>(angle)), s = std::sin(static_cast<float>(angle));
  const int32_t w = record->width, h = record->height;
  const double xs[2] = {-static_cast<double>(w / 2), static_cast<double>(w - w / 2)};
  const double ys[2] = {-static_cast<double>(h / 2), static_cast<double>(h - h / 2)};
  bool bad = false;
  const double cx = SaturateToInt(centerX, &bad), cy = SaturateToInt(centerY, &bad);
  double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
  for (double px : xs)
    for (double py : ys) {
      const double rx = (px * c - py * s) * scale + cx, ry = (px * s + py * c) * scale + cy;
      left = std::fmin(left, rx);
      right = std::fmax(right, rx);
      top = std::fmin(top, ry);
      bottom = std::fmax(bottom, ry);
    }
  *hook = Rect{SaturateToInt(left - 5.0, &bad), SaturateToInt(top - 5.0, &bad), SaturateToInt(right + 5.0, &bad),
               SaturateToInt(bottom + 5.0, &bad)};
  return !bad;
}

// The four-corner draw's box: the corners' extremes, truncated.
bool QuadHook(const float corners[8], Rect* hook) {
  *hook = Rect{0xFFFFFF, 0xFFFFFF, 0, 0};
  bool bad = false;
  for (int i = 0; i < 4; ++i) {
    const int32_t x = SaturateToInt(corners[2 * i], &bad), y = SaturateToInt(corners[2 * i + 1], &bad);
    *hook = Rect{std::min(hook->left, x), std::min(hook->top, y), std::max(hook->right, x), std::max(hook->bottom, y)};
  }
  return !bad;
}

}  // namespace

int32_t SaturateToInt(double value, bool* bad) {
  if (std::isnan(value)) {
    if (bad != nullptr) *bad = true;
    return 0;
  }
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int BlitGraph(int32_t x, int32_t y, int32_t graph, int32_t transparent) {
  int result = 0;
  bool direct = false;
  GraphRecord* record = BeginGraphDraw(graph, &result, &direct);
  if (record == nullptr) return result;
  if (direct) {
    DrawGraphMovieDirect(x, y, 1, record);
    return -1;
  }
  const Rect hook{x, y, Clamp64(int64_t{x} + record->width), Clamp64(int64_t{y} + record->height)};
  if (record->is3D)
    return HookedDraw(hook, true, [&] {
      return BlitGraphD3D(x, y, static_cast<float>(x), static_cast<float>(y), record, transparent, 1);
    });
  return HookedDraw(hook, false, [&] { return DrawGraphDirectDraw(x, y, record, transparent); });
}

int BlitGraphStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t graph, int32_t transparent) {
  int result = 0;
  bool direct = false;
  GraphRecord* record = BeginGraphDraw(graph, &result, &direct);
  if (record == nullptr) return result;
  if (direct) {
    DrawGraphMovieDirect(x1, y1, record->width > 0 ? (x2 - x1) / record->width : 0, record);
    return -1;
  }
  if (record->is3D)
    return HookedDraw(Rect{x1, y1, x2, y2}, true, [&] {
      return BlitGraphStretchedD3D(x1, y1, x2, y2, static_cast<float>(x1), static_cast<float>(y1),
                                   static_cast<float>(x2), static_cast<float>(y2), record, transparent, 1);
    });
  return HookedDraw(Rect{x1, y1, x2, y2}, false,
                    [&] { return DrawSurface2DStretched(x1, y1, x2, y2, record, transparent); });
}

int BlitGraphMirrored(int32_t x, int32_t y, int32_t graph, int32_t transparent) {
  const GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return GetDrawState().drawAreaEmpty ? 0 : -1;
  return BlitGraphStretched(Clamp64(int64_t{x} + record->width), y, x, Clamp64(int64_t{y} + record->height), graph,
                            transparent);
}

int BlitGraphRotated(float centerX, float centerY, double scale, double angle, int32_t graph, int32_t transparent,
                     int32_t turn) {
  // A centre, scale or angle that is not a number (or a centre no int can
  // hold) puts nothing on the target: draw nothing rather than convert it.
  const float farthest = 1073741824.0f;
  if (!(std::fabs(centerX) < farthest) || !(std::fabs(centerY) < farthest) || std::isnan(scale) ||
      std::isnan(angle))
    return GetDrawState().drawAreaEmpty || LookupGraph(graph) != nullptr ? 0 : -1;
  int result = 0;
  GraphRecord* record = BeginGraphDraw(graph, &result);
  if (record == nullptr) return result;
  Rect hook{};
  if (HookNeeded(record) && !RotatedHook(centerX, centerY, scale, angle, record, &hook)) return 0;
  if (record->is3D)
    return HookedDraw(hook, true, [&] { return BlitGraphRotatedD3D(centerX, centerY, scale, angle, record, transparent, turn); });
  return HookedDraw(hook, false,
                    [&] { return DrawSurface2DRotated(centerX, centerY, scale, angle, record, transparent, turn); });
}

int BlitGraphRotatedInt(int32_t x, int32_t y, double scale, double angle, int32_t graph, int32_t transparent,
                        int32_t turn) {
  return BlitGraphRotated(static_cast<float>(x), static_cast<float>(y), scale, angle, graph, transparent, turn);
}

int BlitGraphQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int32_t graph,
                  int32_t transparent) {
  int result = 0;
  GraphRecord* record = BeginGraphDraw(graph, &result);
  if (record == nullptr) return result;
  const float corners[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
  Rect hook{};
  if (!QuadHook(corners, &hook)) return 0;
  if (record->is3D) {
    // Truncated corners can leave out the last covered column and row; the
    // wrap inverts them too, or they would be added to.
    const Rect wide{hook.left, hook.top, Clamp64(int64_t{hook.right} + 1), Clamp64(int64_t{hook.bottom} + 1)};
    return HookedDraw(wide, true, [&] { return BlitGraphQuadD3D(corners, record, transparent); });
  }
  return HookedDraw(hook, false, [&] { return DrawGraphQuadDirectDraw(corners, record, transparent); });
}

int BlitGraphPart(int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                  int32_t graph, int32_t transparent, int32_t mirror) {
  const GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return GetDrawState().drawAreaEmpty ? 0 : -1;
  const int32_t w = record->width;
  const SavedArea saved =
      NarrowDrawArea(x, y, Clamp64(int64_t{x} + width), Clamp64(int64_t{y} + height));
  const int result =
      mirror != 0 ? BlitGraphMirrored(Clamp64(int64_t{x} - w + sourceX + width), Clamp64(int64_t{y} - sourceY), graph,
                                      transparent)
                  : BlitGraph(Clamp64(int64_t{x} - sourceX), Clamp64(int64_t{y} - sourceY), graph, transparent);
  RestoreDrawArea(saved);
  return result;
}

int BlitGraphPartStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t sourceX, int32_t sourceY,
                           int32_t sourceWidth, int32_t sourceHeight, int32_t graph, int32_t transparent) {
  const GraphRecord* record = LookupGraph(graph);
  if (record == nullptr || sourceWidth < 1 || sourceHeight < 1) return -1;
  const bool flipX = x2 < x1, flipY = y2 < y1;
  const int32_t xlo = std::min(x1, x2), xhi = std::max(x1, x2), ylo = std::min(y1, y2), yhi = std::max(y1, y2);
  const double sx = (static_cast<double>(xhi) - xlo) / sourceWidth;
  const double sy = (static_cast<double>(yhi) - ylo) / sourceHeight;
  const double W = record->width, H = record->height;
  const double before = std::trunc(sourceX * sx), after = std::trunc((W - sourceX) * sx);
  const double above = std::trunc(sourceY * sy), below = std::trunc((H - sourceY) * sy);
  const double left = flipX ? xhi + before : xlo - before, right = flipX ? xhi - after : xlo + after;
  const double top = flipY ? yhi + above : ylo - above, bottom = flipY ? yhi - below : ylo + below;
  const SavedArea saved = NarrowDrawArea(xlo, ylo, xhi, yhi);
  const int result = BlitGraphStretched(SaturateToInt(left, nullptr), SaturateToInt(top, nullptr),
                                        SaturateToInt(right, nullptr), SaturateToInt(bottom, nullptr), graph,
                                        transparent);
  RestoreDrawArea(saved);
  return result;
}

int PaintBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t fill) {
  return fill != 0 ? PaintBoxFilled(x1, y1, x2, y2, color) : PaintBoxOutline(x1, y1, x2, y2, color);
}

int PaintBoxFilled(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  if (GetDrawState().drawAreaEmpty) return 0;
  if (!IsWindowActive()) WaitWhileInactive();
  if (BoxesOnDevice())
    return HookedDraw(Rect{x1, y1, x2, y2}, true, [&] { return PaintBoxFilledD3D(x1, y1, x2, y2, color); });
  EndSceneCurrentDevice();  // what the device holds lands first
  return HookedDraw(Rect{x1, y1, x2, y2}, false, [&] { return FillBoxDirectDraw(x1, y1, x2, y2, color); });
}

int PaintBoxOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  if (GetDrawState().drawAreaEmpty) return 0;
  if (!IsWindowActive()) WaitWhileInactive();
  if (BoxesOnDevice())
    return HookedDraw(Rect{x1, y1, x2, y2}, true, [&] { return PaintBoxOutlineD3D(x1, y1, x2, y2, color); });
  EndSceneCurrentDevice();  // what the device holds lands first
  return HookedDraw(Rect{x1, y1, x2, y2}, false, [&] { return DrawBoxFrameDirectDraw(x1, y1, x2, y2, color); });
}

int FillGraphColor(int32_t graph, int32_t r, int32_t g, int32_t b, int32_t a) {
  GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return -1;
  if (record->is3D) return FillGraphPieces3D(record, r, g, b, a);
  return FillGraphPieces(record, r, g, b, a);
}

}  // namespace qor
