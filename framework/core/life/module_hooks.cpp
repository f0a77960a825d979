#include "framework/core/life/module_hooks.h"

#include "framework/core/life/framework_status.h"
#include "framework/core/net/http_request.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/core/window/main_window.h"
#include "framework/core/net/net_socket.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/screen/device_restore.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/directdraw_object.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/images/soft_image.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/movie/yuv_convert.h"
#include "platform/window/display_settings.h"

namespace qor {

namespace {

void BuildYuvTables() { InitYuvToRgbTables(); }

// --- the graphics module's slots ---------------------------------------------------
void TempPrimaryOption(int on) { SetTempPrimaryOption(on); }
int RequestedDepth() {
  const int32_t bits = GetScreenState().requestedBits;
  return bits != 0 ? bits : 16;
}
void ScreenMode(int* width, int* height, int* bits) { QueryScreenState(width, height, bits); }
int StartGraphics() { return SwitchToSoftwareRendering(GetFrameWindowHandle()) == 0 ? 0 : -1; }
void EndGraphics() { EndScreenAndGraphics(); }
int SwitchDisplay(int /*recreate*/) { return SwitchScreenMode(-1, -1, -1, 1, -1); }
void VSyncOnPresent(int on) { SetVSyncOnPresent(on); }
int VSyncOnPresentNow() { return GetVSyncOnPresent(); }
void StartupTargets() {
  SelectDrawTarget(kBackScreen);
  SelectDrawTarget(kFrontScreen);
}
int DirectDrawExists() { return GetScreenState().directDraw != nullptr ? 1 : 0; }
int BackIsTarget() { return GetDrawState().drawTarget == kBackScreen ? 1 : 0; }
void Present() { PresentToWindow(nullptr); }
// The draw area and placement follow the window, with mask drawing off
// while they move.
void DrawAreaMoved() {
  if (!GetScreenState().managerStarted) return;
  const int32_t maskDrawing = GetMaskUseFlag();
  ApplyMaskDrawTarget(0);
  const Rect area = GetDrawState().drawArea;
  if (GetDrawState().drawTarget == kFrontScreen) SelectDrawTarget(kFrontScreen);
  SetClipArea(area.left, area.top, area.right, area.bottom);
  ApplyMaskDrawTarget(maskDrawing);
}
void RefreshGdi() { SetGdiPresentMode(GetScreenState().gdiPresent); }
int GdiPresentation() { return GetScreenState().gdiPresent; }
void DeleteSoftImages() { DeleteAllSoftImages(); }
void WarmGraphs() { WarmGraphPaths(); }
// ORB_GFX names its switches first; the Direct3D-off option then starts the
// framework in software rendering.
void Direct3DOffOption() {
  ApplyGraphicsRoadChoice();
  if (GetFrameworkStatus().direct3DOffOption) SetSoftwareRendering(0);
}
// Lost 2D and 3D surfaces come back (their pictures are the restore's).
void RestoreLostSurfaces() {
  RestoreAllPieces();
  RestoreAllGraphPieces3D();
}
void ReleaseDirectDraw() { ReleaseDirectDrawObject(); }
int PackColor(int r, int g, int b) { return static_cast<int>(PackColorRGB(r, g, b)); }
// Device loss and the Direct3D object.
void DefaultRestoreHandler() { SetGraphRestoreHandler(nullptr); }
void RestoreAllSurfaces() { RestoreAllGraphSurfaces(); }
void ReleaseDirect3D() { ReleaseDirect3DObject(); }
void StartScreenLog() { InitScreenLog(); }

// Sound is part of the framework: its pump and window-procedure calls are
// wired in from the start.
void RefillStreams() { UpdateStreamSounds(); }
void PollMusic() { PollMusicPlaying(); }
void MusicNotify() { OnMusicNotify(); }
void DrawOverlays() { DrawDirectMovies(); }
void PauseMovies() { PauseAllMovies(); }
void ResumeMovies() { ResumeAllMovies(); }
void ReleaseMovieStreams() { ReleaseAllMovieStreams(); }

// So is the network.
void CloseHttp() { CloseAllHttpHandles(); }
void EndNet() { EndNetwork(); }
// Records with errors stay until their owner closes them.
void PumpNet() { PumpNetworkWindow(0); }
void StepHttp() { StepAllHttpHandles(); }

const ModuleHooks kDefaults = {
    .buildYuvTables = BuildYuvTables,
    .refillStreamSounds = RefillStreams,
    .pollMusic = PollMusic,
    .musicNotify = MusicNotify,
    .drawDirectMovies = DrawOverlays,
    .pauseMovies = PauseMovies,
    .resumeMovies = ResumeMovies,
    .releaseMovieStreams = ReleaseMovieStreams,
    .applyDirect3DOffOption = Direct3DOffOption,
    .setTempPrimaryOption = TempPrimaryOption,
    .installDefaultRestoreHandler = DefaultRestoreHandler,
    .requestedScreenDepth = RequestedDepth,
    .getScreenMode = ScreenMode,
    .initGraphics = StartGraphics,
    .endScreenAndGraphics = EndGraphics,
    .switchScreenMode = SwitchDisplay,
    .setVSyncOnPresent = VSyncOnPresent,
    .getVSyncOnPresent = VSyncOnPresentNow,
    .initScreenLog = StartScreenLog,
    .deleteFont = ReleaseScreenLogFont,
    .selectStartupDrawTargets = StartupTargets,
    .warmGraphPaths = WarmGraphs,
    .deleteAllSoftImages = DeleteSoftImages,
    .restoreLostSurfaces = RestoreLostSurfaces,
    .restoreAfterDeviceLoss = RestoreAfterDeviceLoss,
    .restoreAllGraphSurfaces = RestoreAllSurfaces,
    .isDisplayModeChanged = IsDisplayModeChanged,
    .isDirectDrawUsable = IsDirectDrawUsable,
    .directDrawExists = DirectDrawExists,
    .releaseDirect3DObject = ReleaseDirect3D,
    .releaseDirectDrawObject = ReleaseDirectDraw,
    .hasRestoreHandler = HasGraphRestoreHandler,
    .isBackScreenDrawTarget = BackIsTarget,
    .presentToWindow = Present,
    .onDrawAreaMoved = DrawAreaMoved,
    .refreshGdiPresentation = RefreshGdi,
    .isGdiPresentation = GdiPresentation,
    .packColorRGB = PackColor,
    .clearHttpTable = ClearHttpTable,
    .closeAllHttpHandles = CloseHttp,
    .endNetwork = EndNet,
    .pumpNetworkWindow = PumpNet,
    .stepHttpHandles = StepHttp,
};

ModuleHooks g_hooks = kDefaults;

}  // namespace

ModuleHooks& GetModuleHooks() { return g_hooks; }
void ResetModuleHooks() { g_hooks = kDefaults; }

}  // namespace qor
