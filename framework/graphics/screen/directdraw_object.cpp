// The DirectDraw object and the window's clipper: acquiring the object with
// its report of the video card, releasing it and making it again after the
// display was lost, and the getters other parts of graphics read the screen
// through.
#include "framework/graphics/screen/directdraw_object.h"

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

int AcquireDirectDraw(plat::DirectDraw** out) {
  LogOutput("DirectDraw オブジェクトの取得を行います....  ");
  plat::DirectDraw* object = nullptr;
  if (plat::DirectDrawCreate(&object) != plat::DD_OK) {
    LogOutput("オブジェクトの取得に失敗しました\n");
    return -1;
  }
  LogOutput("成功\n");
  LogOutput("引き続き初期化処理... ");
  if (object->Initialize() != plat::DD_OK) {
    LogOutput("DirectDrawオブジェクトの初期化に失敗しました\n");
    object->Release();
    return -1;
  }
  LogOutput("初期化に成功しました\n");
  LogOutput("ビデオカードの情報\n");
  plat::DDDeviceIdentifier id;
  object->GetDeviceIdentifier(&id);
  LogPrintf("ビデオカードドライバ:%s バージョン:%u.%u.%u.%u ", id.driver, id.version[0], id.version[1], id.version[2],
            id.version[3]);
  LogPrintf("ドライバ記述:%s \n", id.description);
  uint32_t total = 0, free = 0;
  object->GetAvailableVidMem(0, &total, &free);
  LogPrintf("ビデオメモリ総量:%.2fMB ビデオメモリ空き容量:%.2fMB", total / 1048576.0, free / 1048576.0);
  object->SetCooperativeLevel(GetFrameWindowHandle(), plat::DDSCL_NORMAL | CooperativeOptionFlags());
  *out = object;
  return 0;
}

int CreateDisplayClipper() {
  ScreenState& s = GetScreenState();
  if (s.clipper != nullptr) return 0;
  if (s.directDraw == nullptr || s.directDraw->CreateClipper(0, &s.clipper) != plat::DD_OK) {
    s.clipper = nullptr;
    LogOutput("ＤｉｒｅｃｔＤｒａｗＣｌｉｐｐｅｒオブジェクトの作成に失敗しました\n");
    return -1;
  }
  s.clipper->SetHWnd(0, GetFrameWindowHandle());
  return 0;
}

// Without a clipper the window's picture would be drawn over whatever lies
// on top of it: a program that has lost its clipper cannot go on.
int AttachWindowClipper() {
  if (CreateDisplayClipper() != 0) FatalError("クリッパーオブジェクトの作成失敗しました");
  return 0;
}

int ReleaseClipper() {
  ScreenState& s = GetScreenState();
  if (s.primary != nullptr) s.primary->SetClipper(nullptr);
  if (s.clipper != nullptr) s.clipper->Release();
  s.clipper = nullptr;
  return 0;
}

int EnsureDirectDrawObject() {
  ScreenState& s = GetScreenState();
  if (s.directDraw != nullptr) return 0;
  if (AcquireDirectDraw(&s.directDraw) != 0) FatalError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
  ReapplyDisplayMode();
  RecreateAllPieceSurfaces();
  AttachWindowClipper();
  return 0;
}

int ReleaseDirectDrawObject() {
  ScreenState& s = GetScreenState();
  LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  if (s.directDraw == nullptr) {
    LogOutput("既に解放されています\n");
    return 0;
  }
  ReleaseAllPieceSurfaces();
  if (s.palette != nullptr) s.palette->Release();
  s.palette = nullptr;
  ReleaseClipper();
  s.directDraw->Release();
  s.directDraw = nullptr;
  LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  return 0;
}

plat::DirectDraw* GetDirectDrawObject() { return GetScreenState().directDraw; }
int IsGdiPresentMode() { return GetScreenState().gdiPresent; }
int IsDirect3DOff() { return GetScreenState().direct3DOff; }
int IsDrawingToPrimary() {
  const ScreenState& s = GetScreenState();
  return s.targetSurface != nullptr && (s.targetSurface == s.primary || s.targetSurface == s.tempPrimary) ? 1 : 0;
}
plat::DDSurface* GetTargetSurface() { return GetScreenState().targetSurface; }
plat::DDSurface* GetBackBufferSurface() { return GetScreenState().back; }
plat::DDSurface* GetAuxScreenSurface(int32_t which) {
  return which == 0 || which == 1 ? GetScreenState().work[which] : nullptr;
}
const PixelFormatInfo* GetScreenPixelFormat() { return &GetScreenState().format; }

}  // namespace qor
