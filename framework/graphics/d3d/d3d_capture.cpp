// Screen capture into texture graphs: five ways of copying the surface drawn
// to into textures, tried in a fixed order until one works; the one that
// worked is remembered, apart for graphs with and without alpha.
#include <algorithm>

#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "platform/gdi/gdi.h"
#include "platform/window/display_settings.h"

namespace qor {

namespace {

// One piece's share of a capture: the screen rectangle it takes and where in
// its texture it goes.
struct CapturePart {
  SurfaceDataRecord* texture;
  plat::Rect from;
  int32_t toX, toY;
};

using CaptureMethod = int (*)(plat::DDSurface* screen, const CapturePart& part);

int LockedConvert(plat::DDSurface* source, const plat::Rect& from, int32_t toX, int32_t toY,
                  plat::DDSurface* destination) {
  int32_t sp = 0, dp = 0;
  uint8_t* sb = nullptr;
  uint8_t* db = nullptr;
  if (source->Lock(nullptr, &sp, &sb, plat::DDLOCK_WAIT) != plat::DD_OK) return -1;
  if (destination->Lock(nullptr, &dp, &db, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK) {
    source->Unlock(nullptr);
    return -1;
  }
  plat::DDPixelFormat sf, df;
  source->GetPixelFormat(&sf);
  destination->GetPixelFormat(&df);
  PixelFormatInfo si, di;
  MakeFormatFromDirectDraw(&sf, &si);
  MakeFormatFromDirectDraw(&df, &di);
  const PixelBlock s{sb, sp, source->width(), source->height(), &si};
  const PixelBlock d{db, dp, destination->width(), destination->height(), &di};
  const Rect r{from.left, from.top, from.right, from.bottom};
  const int result = ConvertPixelsBlt(&d, &s, nullptr, toX, toY, &r, nullptr) < 0 ? -1 : 0;
  destination->Unlock(nullptr);
  source->Unlock(nullptr);
  return result;
}

// Lock both and convert between their formats.
int CaptureScreenMethod5(plat::DDSurface* screen, const CapturePart& p) {
  return LockedConvert(screen, p.from, p.toX, p.toY, p.texture->surface);
}

// A plain BltFast: the formats must agree.
int CaptureScreenMethod1(plat::DDSurface* screen, const CapturePart& p) {
  if (p.texture->surface->BltFast(p.toX, p.toY, screen, &p.from, plat::DDBLTFAST_WAIT) != plat::DD_OK)
    return LogOutput("BltFast によるテクスチャへの転送に失敗しました\n");
  return 0;
}

plat::DDSurface* MakeWorkSurface(const plat::DDSurface* like, int32_t width, int32_t height) {
  plat::DDSurfaceDesc desc;
  desc.caps = plat::DDSCAPS_TEXTURE | plat::DDSCAPS_SYSTEMMEMORY;
  desc.width = width;
  desc.height = height;
  desc.hasPixelFormat = true;
  like->GetPixelFormat(&desc.pixelFormat);
  plat::DDSurface* work = nullptr;
  return GetScreenState().directDraw->CreateSurface(&desc, &work) == plat::DD_OK ? work : nullptr;
}

// Copies by DCs from the screen into a surface.
int CopyByDC(plat::DDSurface* screen, const plat::Rect& from, plat::DDSurface* into, int32_t toX, int32_t toY) {
  plat::Hdc sdc = 0, ddc = 0;
  if (screen->GetDC(&sdc) != plat::DD_OK) return -1;
  if (into->GetDC(&ddc) != plat::DD_OK) {
    screen->ReleaseDC(sdc);
    return -1;
  }
  const bool ok = plat::BitBlt(ddc, toX, toY, from.right - from.left, from.bottom - from.top, sdc, from.left, from.top,
                               plat::SRCCOPY);
  into->ReleaseDC(ddc);
  screen->ReleaseDC(sdc);
  return ok ? 0 : -1;
}

// By DCs into a work texture of the texture's format, then locked and copied.
int CaptureScreenMethod3(plat::DDSurface* screen, const CapturePart& p) {
  const int32_t w = p.from.right - p.from.left, h = p.from.bottom - p.from.top;
  plat::DDSurface* work = MakeWorkSurface(p.texture->surface, w, h);
  if (work == nullptr) return LogOutput("作業用サーフェスの作成に失敗しました\n");
  int result = CopyByDC(screen, p.from, work, 0, 0);
  if (result == 0) result = LockedConvert(work, plat::Rect{0, 0, w, h}, p.toX, p.toY, p.texture->surface);
  work->Release();
  return result;
}

// By DCs straight into the texture.
int CaptureScreenMethod2(plat::DDSurface* screen, const CapturePart& p) {
  return CopyByDC(screen, p.from, p.texture->surface, p.toX, p.toY) == 0
             ? 0
             : LogOutput("GetDC によるテクスチャへの転送に失敗しました\n");
}

// By DCs into a work texture, then loaded into the texture: it reports
// success only once the texture holds the picture.
int CaptureScreenMethod4(plat::DDSurface* screen, const CapturePart& p) {
  const int32_t w = p.from.right - p.from.left, h = p.from.bottom - p.from.top;
  LogPrintf("キャプチャ %d x %d → (%d, %d)\n", w, h, p.toX, p.toY);
  plat::DDSurface* work = MakeWorkSurface(p.texture->surface, w, h);
  if (work == nullptr) return LogOutput("作業用サーフェスの作成に失敗しました\n");
  int result = CopyByDC(screen, p.from, work, 0, 0);
  const plat::Rect all{0, 0, w, h};
  if (result == 0 && p.texture->surface->BltFast(p.toX, p.toY, work, &all, plat::DDBLTFAST_WAIT) != plat::DD_OK)
    result = -1;
  work->Release();
  return result;
}

constexpr CaptureMethod kMethods[] = {CaptureScreenMethod5, CaptureScreenMethod1, CaptureScreenMethod3,
                                      CaptureScreenMethod2, CaptureScreenMethod4, nullptr};

// Runs one method over every piece the rectangle covers.
// Option 0 on a window's front screen drawn on the primary surface reads
// the desktop: its size is the limit and the rectangle is not moved.
int RunMethod(CaptureMethod method, const Rect& rect, const GraphRecord* graph, int32_t option) {
  const ScreenState& s = GetScreenState();
  const DrawState& ds = GetDrawState();
  plat::DDSurface* screen = s.targetSurface;
  const bool desktop = option == 0 && IsWindowedMode() && ds.drawTarget == kFrontScreen && screen != nullptr &&
                       screen == s.primary;
  int32_t limitW = 0, limitH = 0;
  if (desktop) {
    limitW = plat::GetSystemMetrics(plat::SM_CXSCREEN);
    limitH = plat::GetSystemMetrics(plat::SM_CYSCREEN);
  } else {
    QueryTargetSize(ds.drawTarget, &limitW, &limitH);
  }
  if (screen == nullptr || rect.left < 0 || rect.top < 0 || rect.left >= limitW || rect.top >= limitH ||
      rect.right > limitW || rect.bottom > limitH || graph->width < rect.right - rect.left ||
      graph->height < rect.bottom - rect.top || rect.right <= rect.left || rect.bottom <= rect.top)
    return -1;
  const int32_t ox = desktop ? 0 : ds.screenPlacement.left + s.targetOffsetX;
  const int32_t oy = desktop ? 0 : ds.screenPlacement.top + s.targetOffsetY;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    SurfaceDataRecord* t = p != nullptr ? LookupSurfaceData(p->texture) : nullptr;
    if (t == nullptr || t->surface == nullptr) return -1;
    const int32_t l = rect.left + p->x, tp = rect.top + p->y;
    const int32_t r = std::min<int32_t>(rect.right, l + p->width), b = std::min<int32_t>(rect.bottom, tp + p->height);
    if (r <= l || b <= tp) continue;
    const CapturePart part{t, plat::Rect{l + ox, tp + oy, r + ox, b + oy}, p->textureX, p->textureY};
    if (method(screen, part) != 0) return -1;
    ApplySurfaceColorKey(p->texture);
  }
  return 0;
}

}  // namespace

int CaptureScreenRectD3D(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph, int32_t option) {
  D3DGlobals& d = GetD3D();
  if (!d.object) return -1;
  if (d.drawingSuspended) return 0;
  FlushCurrentVertexBatch();
  EndSceneCurrentDevice();
  const Surface3DData* first = graph->pieceCount > 0 ? LookupSurface3DData(graph->pieceHandles[0]) : nullptr;
  if (first == nullptr) return -1;
  int32_t& remembered = d.captureMethod[graph->alpha || graph->alphaTest ? 0 : 1];
  const Rect rect{x1, y1, x2, y2};
  if (remembered != -1 && RunMethod(kMethods[remembered], rect, graph, option) == 0) return 0;
  for (remembered = 0; kMethods[remembered] != nullptr; ++remembered) {
    if (RunMethod(kMethods[remembered], rect, graph, option) == 0) return 0;
  }
  remembered = -1;
  return -1;
}

}  // namespace qor
