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
#include "framework/graphics/screen/screen_size.h"
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
  const GraphRecord* graph;
  bool desktop;  // read from the desktop (a window's front screen on the primary)
};

using CaptureMethod = int (*)(plat::DDSurface* screen, const CapturePart& part);

// Converts `from` of a locked source into a locked destination.
int ConvertLocked(uint8_t* sb, int32_t sp, plat::DDSurface* source, const plat::Rect& from, uint8_t* db, int32_t dp,
                  plat::DDSurface* destination, int32_t toX, int32_t toY) {
  plat::DDPixelFormat sf, df;
  source->GetPixelFormat(&sf);
  destination->GetPixelFormat(&df);
  PixelFormatInfo si, di;
  MakeFormatFromDirectDraw(&sf, &si);
  MakeFormatFromDirectDraw(&df, &di);
  const PixelBlock s{sb, sp, source->width(), source->height(), &si};
  const PixelBlock d{db, dp, destination->width(), destination->height(), &di};
  const Rect r{from.left, from.top, from.right, from.bottom};
  return ConvertPixelsBlt(&d, &s, nullptr, toX, toY, &r, nullptr) < 0 ? -1 : 0;
}

// Locks the source and the piece's texture and converts; the lock failures
// log the method's own lines.
int LockAndConvert(const char* method, plat::DDSurface* source, const plat::Rect& from, const CapturePart& p) {
  int32_t sp = 0, dp = 0;
  uint8_t* sb = nullptr;
  uint8_t* db = nullptr;
  int32_t hr = source->Lock(nullptr, &sp, &sb, plat::DDLOCK_WAIT);
  if (hr != plat::DD_OK) {
    return LogPrintf("Error  %s 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d", method, hr);
  }
  hr = p.texture->surface->Lock(nullptr, &dp, &db, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY);
  if (hr != plat::DD_OK) {
    source->Unlock(nullptr);
    return LogPrintf("Error  %s 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d", method, hr);
  }
  const int result = ConvertLocked(sb, sp, source, from, db, dp, p.texture->surface, p.toX, p.toY);
  p.texture->surface->Unlock(nullptr);
  source->Unlock(nullptr);
  return result;
}

// Lock both and convert between their formats. In a window, drawing on the
// primary, the rectangle is first copied into the auxiliary screen surface,
// which is locked in its place.
int CaptureScreenMethod5(plat::DDSurface* screen, const CapturePart& p) {
  const ScreenState& s = GetScreenState();
  plat::DDSurface* aux = s.work[0];
  const int32_t w = p.from.right - p.from.left, h = p.from.bottom - p.from.top;
  if (IsWindowedMode() && screen == s.primary && aux != nullptr && w <= aux->width() && h <= aux->height()) {
    const Rect r{p.from.left, p.from.top, p.from.right, p.from.bottom};
    if (CopySurfaceRect(aux, screen, 0, 0, &r, -1) != 0) return -1;
    return LockAndConvert("CaptureScreenMethod5", aux, plat::Rect{0, 0, w, h}, p);
  }
  return LockAndConvert("CaptureScreenMethod5", screen, p.from, p);
}

// A plain BltFast: the formats must agree.
int CaptureScreenMethod1(plat::DDSurface* screen, const CapturePart& p) {
  const int32_t hr = p.texture->surface->BltFast(p.toX, p.toY, screen, &p.from, plat::DDBLTFAST_WAIT);
  if (hr != plat::DD_OK) return LogPrintf("Error CaptureScreenMethod1  BltFast ReturnValue:%d", hr);
  return 0;
}

plat::DDSurface* MakeWorkSurface(const plat::DDSurface* like, int32_t width, int32_t height, int32_t* hr) {
  plat::DDSurfaceDesc desc;
  desc.caps = plat::DDSCAPS_TEXTURE | plat::DDSCAPS_SYSTEMMEMORY;
  desc.width = width;
  desc.height = height;
  desc.hasPixelFormat = true;
  like->GetPixelFormat(&desc.pixelFormat);
  plat::DDSurface* work = nullptr;
  *hr = GetScreenState().directDraw->CreateSurface(&desc, &work);
  return *hr == plat::DD_OK ? work : nullptr;
}

// Copies by DCs from the screen into a surface, logging each failure as the
// method's own line (the screen's DC line of method 2 has its own spacing).
int CopyByDC(int method, plat::DDSurface* screen, const plat::Rect& from, plat::DDSurface* into, int32_t toX,
             int32_t toY) {
  const bool second = method == 2;
  const char* sep = second ? "" : " ";  // "GetDC ReturnValue" vs "GetDC  ReturnValue"
  plat::Hdc sdc = 0, ddc = 0;
  int32_t hr = screen->GetDC(&sdc);
  if (hr != plat::DD_OK) {
    return second ? LogPrintf("Error  CaptureScreenMethod%d  ＤＣ取得に失敗しました  GetDC ReturnValue:%d", method, hr)
                  : LogPrintf("Error  CaptureScreenMethod%d 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", method, hr);
  }
  hr = into->GetDC(&ddc);
  if (hr != plat::DD_OK) {
    screen->ReleaseDC(sdc);
    return LogPrintf("Error  CaptureScreenMethod%d 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC %sReturnValue:%d", method,
                     sep, hr);
  }
  const bool ok = plat::BitBlt(ddc, toX, toY, from.right - from.left, from.bottom - from.top, sdc, from.left, from.top,
                               plat::SRCCOPY);
  hr = into->ReleaseDC(ddc);
  screen->ReleaseDC(sdc);
  if (!ok) {
    return LogPrintf("Error  CaptureScreenMethod%d 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x", method,
                     1u);
  }
  if (hr != plat::DD_OK) {
    return LogPrintf("Error  CaptureScreenMethod%d 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC %sReturnValue:%d",
                     method, sep, hr);
  }
  return 0;
}

// By DCs into a work texture of the texture's format, then locked and copied.
int CaptureScreenMethod3(plat::DDSurface* screen, const CapturePart& p) {
  const int32_t w = p.from.right - p.from.left, h = p.from.bottom - p.from.top;
  int32_t hr = 0;
  plat::DDSurface* work = MakeWorkSurface(p.texture->surface, w, h, &hr);
  if (work == nullptr) {
    return LogPrintf("Error  CaptureScreenMethod3 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d", hr);
  }
  int result = CopyByDC(3, screen, p.from, work, 0, 0);
  if (result == 0) result = LockAndConvert("CaptureScreenMethod3", work, plat::Rect{0, 0, w, h}, p);
  work->Release();
  return result;
}

// By DCs straight into the texture.
int CaptureScreenMethod2(plat::DDSurface* screen, const CapturePart& p) {
  return CopyByDC(2, screen, p.from, p.texture->surface, p.toX, p.toY);
}

// By DCs into a work texture, then into the texture without conversion (the
// formats agree); it reports the sizes, modes and rectangles it works with.
int CaptureScreenMethod4(plat::DDSurface* screen, const CapturePart& p) {
  const int32_t w = p.from.right - p.from.left, h = p.from.bottom - p.from.top;
  const DrawState& ds = GetDrawState();
  int32_t sizeX = 0, sizeY = 0;
  QueryTargetSize(ds.drawTarget, &sizeX, &sizeY);
  Rect window{};
  GetScreenRectOnDesktop(&window);
  LogPrintf("ScreenColor:%d  SizeX:%d  SizeY:%d  DrawPointX:%d  DrawPointY:%d  WndRect.left:%d  WndRect.top:%d  left:%d  "
            "top:%d",
            GetScreenColorBits(), sizeX, sizeY, ds.screenPlacement.left, ds.screenPlacement.top, window.left, window.top,
            p.from.left, p.from.top);
  LogPrintf("AlphaCh:%d  AlphaTest:%d  ColorBitDepth:%d", p.graph->alpha, p.graph->alphaTest, p.graph->colorBits);
  int32_t hr = 0;
  plat::DDSurface* work = MakeWorkSurface(p.texture->surface, w, h, &hr);
  LogPrintf("hr:%d  W:%d  H:%d  FullMode:%d  Point x:%d y:%d   Rect top:%d bottom:%d left:%d right:%d", hr, w, h,
            IsWindowedMode() ? 0 : 1, p.toX, p.toY, p.from.top, p.from.bottom, p.from.left, p.from.right);
  if (work == nullptr) {
    return LogPrintf("Error  CaptureScreenMethod4 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d", hr);
  }
  int result = CopyByDC(4, screen, p.from, work, 0, 0);
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
    const CapturePart part{t, plat::Rect{l + ox, tp + oy, r + ox, b + oy}, p->textureX, p->textureY, graph, desktop};
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
