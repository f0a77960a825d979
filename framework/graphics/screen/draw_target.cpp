// Choosing the draw target, clearing it, and the transform matrices the
// Direct3D path reads.
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

namespace {

void Transpose3(Matrix4* out, const Matrix4& view) {
  *out = Matrix4{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out->m[r][c] = view.m[c][r];
}

}  // namespace

int RecomputeTransforms() {
  DrawState& d = GetDrawState();
  MultiplyMatrix(&d.viewProjection, &d.view, &d.projection);
  Matrix4 worldViewProjection;
  MultiplyMatrix(&worldViewProjection, &d.world, &d.viewProjection);
  MultiplyMatrix(&d.fullTransform, &worldViewProjection, &d.viewport);
  Transpose3(&d.billboard, d.view);
  return 0;
}

// `flag` names which world matrix (0-3) the device takes.
int SetWorldTransform(const Matrix4* matrix, int32_t flag) {
  GetDrawState().world = *matrix;
  RecomputeTransforms();
  if (IsDirect3DInUse()) SetWorldTransformD3D(&matrix->m[0][0], flag);
  return 0;
}

int SetViewTransform(const Matrix4* matrix) {
  GetDrawState().view = *matrix;
  RecomputeTransforms();
  if (IsDirect3DInUse()) SetViewTransformD3D(&matrix->m[0][0]);
  return 0;
}

int SetProjectionTransform(const Matrix4* matrix) {
  GetDrawState().projection = *matrix;
  RecomputeTransforms();
  if (IsDirect3DInUse()) SetProjectionTransformD3D(&matrix->m[0][0]);
  return 0;
}

int SelectDrawTarget(int32_t target) {
  DrawState& d = GetDrawState();
  ScreenState& s = GetScreenState();
  if (!s.managerStarted) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  // Mask drawing is off while the target changes, and back afterwards.
  const int32_t maskDrawing = GetMaskUseFlag();
  ApplyMaskDrawTarget(0);
  const int32_t old = d.drawTarget;
  d.drawTarget = target;

  const bool placeOnDesktop = !d.maskInUse && target == kFrontScreen && s.tempPrimary == nullptr &&
                              IsWindowedMode() && (!s.softwareRendering || s.colorBits == 8);
  if (placeOnDesktop) {
    const plat::Rect c = GetMainWindowState().clientRect;
    d.screenPlacement = Rect{c.left, c.top, c.right, c.bottom};
  } else {
    d.screenPlacement = Rect{};
  }

  // The device's switch first, then the 2D road's. While Direct3D is in use
  // either road taking the target is enough: a 2D graph in system memory
  // suspends the device's drawing, a graph of several pieces leaves the
  // device where it was.
  const bool direct3D = IsDirect3DInUse();
  const int byDevice = direct3D ? SelectDrawTargetD3D(target) : 0;
  const int byDirectDraw = SwitchDirectDrawTarget(target, old);
  if (direct3D ? byDevice != 0 && byDirectDraw != 0 : byDirectDraw != 0) {
    d.drawTarget = old;
    if (direct3D) SelectDrawTargetD3D(old);
    SwitchDirectDrawTarget(old, old);
    ApplyMaskDrawTarget(maskDrawing);
    return -1;
  }
  int32_t w = 0, h = 0, oldW = -1, oldH = -1;
  QueryTargetSize(target, &w, &h);
  if (QueryTargetSize(old, &oldW, &oldH) == 0 && oldW == w && oldH == h) {
    SetClipArea(d.drawArea.left, d.drawArea.top, d.drawArea.right, d.drawArea.bottom);
  } else {
    SetClipArea(0, 0, w, h);
  }

  // A camera that maps one unit to one pixel at depth 0.
  d.targetWidth = w;
  d.targetHeight = h;
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  Matrix4 identity;
  CopyIdentityMatrix(&identity);
  SetWorldTransform(&identity, 0);
  MakeOrthoMatrix(&d.viewport, fw * 0.5f, fh * 0.5f, fw, fh);
  RecomputeTransforms();
  d.baseViewport = d.viewport;
  const float distance = static_cast<float>(h / 2) * 1.7320509f;
  const Vector3 eye{fw * 0.5f, fh * 0.5f, -distance};
  const Vector3 at{fw * 0.5f, fh * 0.5f, -distance + 1.0f};
  const Vector3 up{0.0f, 1.0f, 0.0f};
  Matrix4 view, projection;
  MakeLookAtMatrix(&view, &eye, &at, &up);
  SetViewTransform(&view);
  MakePerspectiveMatrix(&projection, 1.0471976f, distance * 0.01f, distance + 1000.0f, -1.0f);
  SetProjectionTransform(&projection);
  ApplyMaskDrawTarget(maskDrawing);
  return 0;
}

int EraseDrawTarget() {
  if (!IsWindowActive()) WaitWhileInactive();
  if (IsDirect3DInUse()) ClearScreenD3D();
  ClearScreenDirectDraw();
  const ScreenState& s = GetScreenState();
  if (s.softwareRendering && s.colorBits != 8 && GetDrawState().drawTarget == kFrontScreen) {
    int32_t w = 0, h = 0;
    QueryScreenState(&w, &h, nullptr);
    const Rect all{0, 0, w, h};
    PresentRectToWindow(&all);
  }
  return 0;
}

}  // namespace qor
