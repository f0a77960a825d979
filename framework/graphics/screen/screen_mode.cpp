// The display mode, the DirectDraw object, software rendering and the start
// and end of graphics management.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/life/framework_status.h"
#include "framework/core/log.h"
#include "framework/core/screen_log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/life/system_info.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/movie_display.h"
#include "framework/graphics/screen/directdraw_object.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/softrender/blend_tables.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/window/display_settings.h"
#include "platform/window/window_timer.h"

namespace qor {

namespace {

// Codes a cooperative-level change may answer that still leave it usable.
bool CooperativeAccepted(int32_t code) {
  return code == plat::DD_OK || code == static_cast<int32_t>(0x88760245u) ||
         code == static_cast<int32_t>(0x8876023Bu) || code == static_cast<int32_t>(0x8876023Au);
}

uint32_t ExclusiveFlags() { return plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN; }


// Back to the desktop's mode, through DirectDraw when it is there.
void UndoDisplayMode() {
  ScreenState& s = GetScreenState();
  if (s.directDraw != nullptr) {
    s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), plat::DDSCL_NORMAL);
    s.directDraw->RestoreDisplayMode();
  } else {
    plat::RestoreDisplayMode();
  }
  s.coopFlags = plat::DDSCL_NORMAL;
}

}  // namespace

// Full screen: exclusive level and the mode; windowed: back to the desktop.
int ApplyDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t rate) {
  ScreenState& s = GetScreenState();
  LogPrintf("画面モードの変更処理を開始します %u x %u  %u bit ", width, height, bits);
  if (IsWindowedMode()) {
    LogOutput("ウインドウモードにします\n");
    int dw = 0, dh = 0, db = 0;
    GetDesktopModeInfo(&dw, &dh, &db);
    if (width > dw || height > dh) FatalError("デスクトップ画面のサイズが足りません、ソフトを終了します");
    if (s.modeChanged) {
      LogOutput("フルスクリーンモードから抜けます\n");
      UndoDisplayMode();
      s.modeChanged = 0;
    }
    const int desktopBits = plat::GetScreenColorBits();
    if (desktopBits == 24) return -1;
    // Software rendering draws at the requested depth whatever the desktop's;
    // the present converts.
    s.colorBits = s.softwareRendering && s.requestedBits != 0 ? s.requestedBits : desktopBits;
    const uint32_t normal = plat::DDSCL_NORMAL | CooperativeOptionFlags();
    if (s.directDraw != nullptr && !CooperativeAccepted(s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), normal)))
      FatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    s.coopFlags = normal;
  } else {
    if (bits == 24) return -1;
    LogOutput("画面解像度を変更します... ");
    bool done;
    if (s.directDraw != nullptr) {
      if (!CooperativeAccepted(s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), ExclusiveFlags()))) {
        LogOutput("画面モードの変更に失敗しました\n");
        return -1;
      }
      s.coopFlags = ExclusiveFlags();
      done = s.directDraw->SetDisplayMode(width, height, bits, rate, 0) == plat::DD_OK;
      if (!done && rate != 0) {
        done = s.directDraw->SetDisplayMode(width, height, bits, 0, 0) == plat::DD_OK;
        if (done) s.refreshRate = 0;
      }
    } else {
      done = plat::SetDisplayMode(width, height, bits, rate) || plat::SetDisplayMode(width, height, bits, 0);
    }
    if (!done) {
      LogOutput("画面モードの変更に失敗しました\n");
      return -1;
    }
    s.colorBits = bits;
    s.modeChanged = 1;
    LogOutput("成功しました\n");
  }
  LogOutput("画面モードの変更は正常に終了しました \n");
  return 0;
}

namespace {

// Waits for a beam condition, at most 100 ms of clock time: a display that
// never reports what is waited for cannot hang the mode change.
template <typename Done>
bool WaitBeam(Done done) {
  const uint64_t start = plat::HostMicros();
  while (!done()) {
    if (plat::HostMicros() - start > 100000) return false;
  }
  return true;
}

void MeasureFrameTime() {
  ScreenState& s = GetScreenState();
  plat::DirectDraw* dd = s.directDraw;
  if (dd == nullptr) {
    // Without the object there is no beam to time: the frame follows the
    // display's refresh rate, and the present's blank wait (on the clock)
    // keeps to one picture per refresh as it would with the object.
    plat::DisplayMode mode;
    plat::GetCurrentDisplayMode(&mode);
    s.frameMs = 1000 / (mode.refreshRate > 0 ? mode.refreshRate : 60);
    s.vblankInterval = (2 * s.frameMs - 4) / 3;
    return;
  }
  LogPrintf("スキャンラインの数:%d\n", plat::GetSystemMetrics(plat::SM_CYSCREEN));
  auto line = [dd] {
    uint32_t l = 0;
    dd->GetScanLine(&l);
    return l;
  };
  auto blank = [dd] {
    int32_t b = 0;
    dd->GetVerticalBlankStatus(&b);
    return b != 0;
  };
  const int runs = s.deviceRate > 0 ? 4 : 20;
  for (int i = 0; i < 3; ++i) {
    const uint32_t first = line();
    WaitBeam([&] { return line() < first || blank(); });
    WaitBeam([&] { return !blank(); });
  }
  uint64_t micros = 0, counted = 0;
  int ms[20] = {};
  s.frameMs = -1;
  for (int attempt = 0; attempt < 5 && s.frameMs < 0; ++attempt) {
    for (int r = 0; r < runs; ++r) {
      const uint32_t m0 = plat::HostMillis();
      const uint64_t u0 = plat::HostMicros();
      bool ok = WaitBeam([&] { return !blank(); });
      const uint32_t first = line();
      ok = ok && WaitBeam([&] { return line() < first || blank(); });
      if (!ok) {  // a beam that did not come round measured nothing
        ms[r] = -1;
        continue;
      }
      ms[r] = static_cast<int>(plat::HostMillis() - m0);
      micros += plat::HostMicros() - u0;
      ++counted;
    }
    for (int a = 0; a < runs && s.frameMs < 0; ++a)
      for (int b = a + 1; b < runs; ++b)
        if (ms[a] == ms[b] && ms[a] > 0) {
          s.frameMs = ms[a];
          break;
        }
    if (s.deviceRate < 0 && micros > 0) {
      const uint64_t tenths = 10000000u * counted / micros;
      s.deviceRate = static_cast<int32_t>(tenths / 10 + (tenths % 10 > 5 ? 1 : 0));
    }
    if (s.frameMs >= 0 || attempt == 4)
      for (int r = 0; r < runs; ++r) LogPrintf("\tTri%02d:%d msec", r, ms[r]);
  }
  if (s.frameMs >= 0) LogPrintf("１フレーム当たりの時間は %d msecです", s.frameMs);
  else LogOutput("１フレームの時間を正常に取得できませんでした\n");
  s.vblankInterval = s.frameMs >= 0 ? (2 * s.frameMs - 4) / 3 : -1;
}

void ChooseTransferMethod() {
  ScreenState& s = GetScreenState();
  if (s.directDraw == nullptr || s.work[0] == nullptr || (IsMemImageScreen())) return;
  plat::DDSurface* from = s.tempPrimary != nullptr ? s.tempPrimary : s.back;
  if (from == nullptr) return;
  const plat::Rect r{0, 0, s.width / 2, s.height / 2};
  uint64_t t0 = plat::HostMicros();
  for (int i = 0; i < 2; ++i) s.work[0]->BltFast(0, 0, from, &r, 0);
  const uint64_t bltFast = plat::HostMicros() - t0;
  plat::Hdc a = 0, b = 0;
  t0 = plat::HostMicros();
  if (s.work[0]->GetDC(&a) == plat::DD_OK) {
    if (from->GetDC(&b) == plat::DD_OK) {
      for (int i = 0; i < 2; ++i) plat::BitBlt(a, 0, 0, r.right, r.bottom, b, 0, 0, plat::SRCCOPY);
      from->ReleaseDC(b);
    }
    s.work[0]->ReleaseDC(a);
  }
  const uint64_t bitBlt = plat::HostMicros() - t0;
  s.useGdiCopy = bitBlt <= bltFast ? 1 : 0;
  LogPrintf("サーフェス間転送には %s を使用します", s.useGdiCopy ? "BitBlt" : "BltFast");
  LogPrintf("BitBlt:%.0lfμs   BltFast:%.0lfμs", static_cast<double>(bitBlt), static_cast<double>(bltFast));
}

// Later changes: a new object and the full-screen ladder.
int ChangeModeAgain(int32_t prevW, int32_t prevH, int32_t prevBits, int32_t prevRate, int* fellBack) {
  ScreenState& s = GetScreenState();
  DeleteAllSurface2D();
  if (s.directDraw != nullptr) {
    LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
    s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), plat::DDSCL_NORMAL);
    // The clipper goes with the object that made it.
    ReleaseClipper();
    s.directDraw->Release();
    s.directDraw = nullptr;
    LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
    if (AcquireDirectDraw(&s.directDraw) != 0) FatalError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
    AttachWindowClipper();
    const uint32_t flags = (IsWindowedMode() ? plat::DDSCL_NORMAL : ExclusiveFlags()) | CooperativeOptionFlags();
    if (!CooperativeAccepted(s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), flags)))
      FatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    s.coopFlags = flags;
  }
  if (IsWindowedMode()) {
    if (s.modeChanged) UndoDisplayMode();
    s.modeChanged = 0;
    s.colorBits = s.softwareRendering && s.requestedBits != 0 ? s.requestedBits : plat::GetScreenColorBits();
    return 0;
  }
  LogOutput("画面解像度を変更します... ");
  const int32_t ladder[4][4] = {{s.width, s.height, s.requestedBits, s.refreshRate},
                                {s.width, s.height, s.requestedBits, 0},
                                {prevW, prevH, prevBits, prevRate},
                                {640, 480, 16, 0}};
  for (int i = 0; i < 4; ++i) {
    const bool ok = s.directDraw != nullptr
                        ? s.directDraw->SetDisplayMode(ladder[i][0], ladder[i][1], ladder[i][2], ladder[i][3], 0) ==
                              plat::DD_OK
                        : plat::SetDisplayMode(ladder[i][0], ladder[i][1], ladder[i][2], ladder[i][3]);
    if (!ok) continue;
    RecordScreenSize(ladder[i][0], ladder[i][1], ladder[i][2]);
    s.refreshRate = ladder[i][3];
    *fellBack = i == 3 ? 1 : 0;
    LogOutput("成功しました\n");
    s.modeChanged = 1;
    return 0;
  }
  FatalError("予期せぬ画面モード変更不能現象が起きました2\n");
}

}  // namespace

int SwitchScreenMode(int32_t width, int32_t height, int32_t bits, int32_t force, int32_t rate) {
  ScreenState& s = GetScreenState();
  const int32_t prevW = s.width, prevH = s.height, prevBits = s.colorBits, prevRate = s.refreshRate;
  if (width == -1) width = s.width;
  if (height == -1) height = s.height;
  if (bits == -1) bits = s.colorBits;
  if (rate == -1) rate = s.refreshRate;
  if (!force && width == s.width && height == s.height && bits == s.colorBits && rate == s.refreshRate) return 0;
  LogOutput("画面モード変更処理を開始します\n");
  int32_t fontSize = -1, fontThickness = -1;
  GetFontParams(nullptr, 0, &fontSize, &fontThickness, GetStandardFontHandle());
  RecordScreenSize(width, height, bits);
  s.refreshRate = rate;
  const FrameworkStatus& status = GetFrameworkStatus();
  if ((!status.initialised && !status.initialising) || (!s.directDrawUnusable && s.directDraw == nullptr)) return 0;
  s.deviceRate = -1;

  // Changes come at least two seconds apart.
  const uint32_t now = plat::HostMillis();
  if (s.lastModeChange != 0 && now - s.lastModeChange < kModeChangeSpacingMs) {
    plat::HostSleepMs(s.lastModeChange + kModeChangeSpacingMs + 60 - now);
  } else {
    plat::HostSleepMs(60);
  }
  s.lastModeChange = plat::HostMillis();
  if (s.lastModeChange == 0) s.lastModeChange = 1;

  // The transparent colour outlives the change: graphics management starts
  // again below with the draw state's defaults, and the game sets its key
  // before it asks for its screen mode.
  const uint32_t keptKey = GetDrawState().transparentColor;
  DestroyAllGraphs(0);
  EndGraphicsManager();
  EndDirect3D();
  s.direct3DInUse = 0;
  if (s.palette != nullptr) s.palette->Release();
  s.palette = nullptr;
  ReleaseScreenSurfaces();

  int fellBack = 0;
  if (!s.initialised) {
    if (!IsWindowedMode()) ApplyWindowStyle();
    if (s.width == 0) s.width = 640;
    if (s.height == 0) s.height = 480;
    if (s.colorBits == 0) s.colorBits = 16;
    if (s.requestedBits == 0) s.requestedBits = s.colorBits;
    if (ApplyDisplayMode(s.width, s.height, s.requestedBits, s.refreshRate) != 0) {
      const bool same = prevW == s.width && prevH == s.height && prevBits == s.requestedBits && prevRate == 0;
      RecordScreenSize(prevW, prevH, prevBits);
      s.refreshRate = prevRate;
      if (same || prevW == 0 || ApplyDisplayMode(prevW, prevH, prevBits, prevRate) != 0) {
        fellBack = 1;
        RecordScreenSize(640, 480, 16);
        s.requestedBits = 16;
        s.refreshRate = 0;
        if (ApplyDisplayMode(640, 480, 16, 0) != 0) FatalError("予期せぬ画面モード変更不能現象が起きました\n");
      }
    }
  } else {
    const uint32_t key = GetDrawState().transparentColor;
    ChangeModeAgain(prevW, prevH, prevBits, prevRate, &fellBack);
    GetDrawState().transparentColor = key;
  }

  if (!IsWindowedMode()) ApplyWindowStyle();
  if (CreateScreenSurfaces() != 0) {
    LogOutput("DirectDrawSurface の初期化に失敗しました\n");
    return -1;
  }
  // Direct3D starts before graphics management, which takes its result.
  s.direct3DStart = !s.direct3DOff && !s.softwareRendering && s.colorBits != 8 ? InitDirect3D() : -1;
  InitGraphicsManager();
  SetStandardFontSize(fontSize, fontThickness);
  if (GetScreenLogState().setUp) InitScreenLog();
  CreateScreenPalette();
  ChooseTransferMethod();
  plat::DisplayMode mode;
  plat::GetCurrentDisplayMode(&mode);
  if (GetSystemInfo().osCode >= 260) s.deviceRate = mode.refreshRate >= 60 ? mode.refreshRate : -1;
  MeasureFrameTime();
  GetDrawState().transparentColor = keptKey;
  LogOutput("画面モード変更処理は正常に終了しました\n");
  PumpMessages();
  ResetFrameCounter();
  return fellBack ? -2 : 0;
}

// The arguments are checked before anything is destroyed.
int RequestScreenMode(int32_t width, int32_t height, int32_t bits, int32_t rate) {
  ScreenState& s = GetScreenState();
  const int32_t prevW = s.width, prevH = s.height, prevBits = s.colorBits, prevRate = s.refreshRate;
  const int32_t w = width == -1 ? prevW : width, h = height == -1 ? prevH : height;
  const int32_t b = bits == -1 ? (prevBits != 0 ? prevBits : 16) : bits;
  if ((width != -1 && width <= 0) || (height != -1 && height <= 0) || (b != 8 && b != 16 && b != 32) ||
      rate < -1)
    return -1;
  DestroyAllGraphs(0);
  s.requestedBits = b;
  SwitchScreenMode(width, height, bits, 0, rate);
  const int32_t r = rate == -1 ? prevRate : rate;
  if (s.width == w && s.height == h && s.colorBits == b && s.refreshRate == r) return 0;
  if (s.width == 640 && s.height == 480 && s.colorBits == 16 && s.refreshRate == 0) return -2;
  return -1;
}

// ORB_GFX chooses the road through the switches start-up has for it: "soft"
// is the Direct3D-off option (start-up switches to software rendering),
// "ddraw" the Direct3D-off flag, and only "d3d" offers the Direct3D-like
// device, whose CPU rasterizer is slower than the 2D road.
void ApplyGraphicsRoadChoice() {
  const char* road = std::getenv("ORB_GFX");
  const bool named = road != nullptr;
  if (!named || std::strcmp(road, "d3d") != 0) plat::d3d::StandIn().offerDirect3D = false;
  if (named && std::strcmp(road, "soft") == 0) GetFrameworkStatus().direct3DOffOption = 1;
  if (named && std::strcmp(road, "ddraw") == 0) SetDirect3DOffFlag(1);
}

int SetSoftwareRendering(int32_t useDirectDraw) {
  ScreenState& s = GetScreenState();
  if (s.directDrawUnusable || useDirectDraw == 0) {
    GetDrawState().use3DGraphs = 0;
    GetDrawState().newGraphSystemMemory = 1;
    s.directDrawUnusable = 1;
    s.direct3DOff = 1;
  }
  s.softwareRendering = !s.directDrawUnusable && useDirectDraw != 0 ? 0 : 1;
  if (s.directDraw != nullptr) {
    const int32_t target = GetDrawState().drawTarget;
    DestroyAllGraphs(0);
    SwitchScreenMode(-1, -1, -1, 1, -1);
    if (target == kFrontScreen || target == kBackScreen) SelectDrawTarget(target);
  }
  return 0;
}

// The object and its clipper are fatal when they cannot be made, except at
// the first start while the software retry is still open: that failure is
// the caller's to answer.
int InitDirectDraw() {
  ScreenState& s = GetScreenState();
  if (s.directDraw != nullptr) return -1;
  LogOutput("DirectDraw 関連の初期化を行います\n");
  if (!s.directDrawUnusable) {
    if (AcquireDirectDraw(&s.directDraw) != 0) {
      if (!IsSoftwareRetryOpen()) FatalError("DirectDrawオブジェクトの作成に失敗しました");
      LogOutput("DirectDrawオブジェクトの作成に失敗しました\n");
      return -1;
    }
    if (CreateDisplayClipper() != 0) {
      if (!IsSoftwareRetryOpen()) FatalError("DirectDrawClipperオブジェクトの作成時にエラーが発生しました");
      LogOutput("DirectDrawClipperオブジェクトの作成時にエラーが発生しました\n");
      EndDirectDraw();
      return -1;
    }
  }
  if (s.width == 0) s.width = 640;
  if (s.height == 0) s.height = 480;
  if (s.colorBits == 0) s.colorBits = 16;
  // A software retry keeps the depth the program asked for, not the
  // desktop's that the refused attempt read.
  if (s.requestedBits == 0) s.requestedBits = s.colorBits;
  if (SwitchScreenMode(-1, -1, -1, 1, -1) == -1) {
    EndDirectDraw();
    return -1;
  }
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  SelectDrawTarget(kFrontScreen);
  s.mmxUsable = IsMmxUsable();
  StartMovieDisplay();
  LogOutput("DirectDraw 関連の初期化は正常に終了しました\n");
  BuildBlendTables();
  s.initialised = 1;
  return 0;
}

int EndDirectDraw() {
  ScreenState& s = GetScreenState();
  plat::KillTimer(GetFrameWindowHandle(), kScreenRefreshTimerId);
  LogOutput("DirectDraw 関連の終了処理をおこないます\n");
  if (s.palette != nullptr) s.palette->Release();
  s.palette = nullptr;
  EndGraphicsManager();
  DeleteAllSurface2D();
  EndDirect3D();
  s.direct3DInUse = 0;
  ReleaseScreenSurfaces();
  ReleaseClipper();
  LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  if (s.modeChanged) RestoreDesktopMode();
  s.modeChanged = 0;
  if (s.directDraw != nullptr) s.directDraw->Release();
  s.directDraw = nullptr;
  LogOutput("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  LogOutput("DirectDraw 関連の終了処理は正常に終了しました\n");
  s.initialised = 0;
  return 0;
}

// The Direct3D road is asked for with ORB_GFX=d3d (the device rasterizes on
// the CPU and is slower than the 2D road); when it cannot start, start-up
// stops with a message rather than run another road unasked.
int SwitchToSoftwareRendering(plat::Hwnd /*window*/) {
  ScreenState& s = GetScreenState();
  const char* road = std::getenv("ORB_GFX");
  if (road != nullptr && road[0] != '\0' && std::strcmp(road, "soft") != 0 && std::strcmp(road, "ddraw") != 0 &&
      std::strcmp(road, "d3d") != 0) {
    LogOutput("ORB_GFX の値が不正です\n");
    std::fprintf(stderr, "ORB_GFX: unknown road (use soft, ddraw or d3d)\n");
    return -1;
  }
  const bool needDirect3D = road != nullptr && std::strcmp(road, "d3d") == 0;
  if (InitDirectDraw() == 0) {
    if (!needDirect3D || s.direct3DInUse) return 0;
    LogOutput("ORB_GFX=d3d: Direct3D による描画は利用できません\n");
    std::fprintf(stderr, "ORB_GFX=d3d: the Direct3D road could not start\n");
    EndDirectDraw();
    return -1;
  }
  if (s.softwareRendering) FatalError("DirectDraw の初期化に失敗しました");
  LogOutput("ソフトウエアレンダリングモードに変更します\n");
  SetSoftwareRendering(0);
  if (InitDirectDraw() != 0) FatalError("DirectDraw の初期化に失敗しました");
  return 0;
}

// Direct3D has started (or not) just before: graphics management takes its
// result, then sets the draw state on the road it gives.
int InitGraphicsManager() {
  ScreenState& s = GetScreenState();
  if (s.managerStarted) return 0;
  LogOutput("グラフィック管理系の初期化を行います\n");
  // Graphs and their surface data are numbered afresh, from slot 0 and
  // check number 0. Every road here has deleted the graphs first (a mode
  // change, a software switch, the end of graphics management), so nothing
  // is left in the tables; what a caller might have left would be freed.
  ResetGraphTables();
  ResetSurfaceDataTable();
  s.managerStarted = 1;
  DeleteAllSurface2D();
  s.direct3DInUse = s.direct3DStart != -1 ? 1 : 0;
  LogOutput(s.direct3DInUse ? "３Ｄグラフィック描画機能を使用します\n" : "３Ｄグラフィック描画機能は使用しません\n");
  ResetDrawState();
  ResetFontSystem();
  LogOutput("グラフィック管理系の初期化は正常に終了しました\n");
  return 0;
}

int EndGraphicsManager() {
  ScreenState& s = GetScreenState();
  if (!s.managerStarted) return 0;
  EndMaskScreen();
  DeleteAllMasks();
  DestroyAllGraphs(0);
  DeleteAllLights();
  ReinitFontSystem();
  s.managerStarted = 0;
  LogOutput("グラフィック管理系の終了処理は正常に終了しました\n");
  return 0;
}

int EndScreenAndGraphics() {
  EndDirectDraw();
  GetScreenState().managerStarted = 0;
  return 0;
}

uint32_t CooperativeOptionFlags() { return GetScreenState().fpuPreserve ? plat::DDSCL_FPUPRESERVE : 0u; }

int RestoreDesktopMode() {
  UndoDisplayMode();
  LogOutput("画面モードを元に戻す処理は正常に終了しました\n");
  return 0;
}

int SetGdiPresentMode(int32_t on) {
  ScreenState& s = GetScreenState();
  const int32_t value = on == 1 ? 1 : 0;
  if (value == s.gdiPresent) return 0;
  s.gdiPresent = value;
  if (s.directDraw != nullptr) {
    if (value) s.directDraw->FlipToGDISurface();
    const int32_t target = GetDrawState().drawTarget;
    const Rect area = GetDrawState().drawArea;
    SelectDrawTarget(kBackScreen);
    SelectDrawTarget(kFrontScreen);
    SelectDrawTarget(target);
    SetClipArea(area.left, area.top, area.right, area.bottom);
  }
  return 0;
}

}  // namespace qor
