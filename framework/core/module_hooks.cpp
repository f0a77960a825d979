#include "framework/core/module_hooks.h"

#include "framework/core/http_request.h"
#include "framework/core/main_window.h"
#include "framework/core/net_socket.h"
#include "framework/sound/music_handles.h"
#include "framework/sound/stream_play.h"
#include "framework/sound/yuv_convert.h"
#include "platform/window/display_settings.h"

namespace qor {

namespace {

// The screen the framework opens until the screen code sets its own.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kScreenBits = 16;
constexpr int kScreenRate = 60;

void Nothing() {}
void BuildYuvTables() { InitYuvToRgbTables(); }
void NothingInt(int) {}
int Zero() { return 0; }
int One() { return 1; }

int RequestedDepth() { return kScreenBits; }

void ScreenMode(int* width, int* height, int* bits) {
  *width = kScreenWidth;
  *height = kScreenHeight;
  *bits = kScreenBits;
}

// Without the screen code a full-screen start still takes the display.
int ShowScreen() {
  if (IsWindowedMode() == 0) plat::SetDisplayMode(kScreenWidth, kScreenHeight, kScreenBits, kScreenRate);
  return 0;
}

void HideScreen() {
  if (plat::IsDisplayModeSwitched()) plat::RestoreDisplayMode();
}

int SwitchDisplay(int /*recreate*/) {
  if (IsWindowedMode() != 0) plat::RestoreDisplayMode();
  else plat::SetDisplayMode(kScreenWidth, kScreenHeight, kScreenBits, kScreenRate);
  return 0;
}

// Sound is part of the framework: its pump and window-procedure calls are
// wired in from the start.
void RefillStreams() { UpdateStreamSounds(); }
void PollMusic() { PollMusicPlaying(); }
void MusicNotify() { OnMusicNotify(); }

// So is the network.
void CloseHttp() { CloseAllHttpHandles(); }
void EndNet() { EndNetwork(); }
// Records with errors stay until their owner closes them.
void PumpNet() { PumpNetworkWindow(0); }
void StepHttp() { StepAllHttpHandles(); }

int Pack565(int r, int g, int b) { return ((r >> 3) & 0x1F) << 11 | ((g >> 2) & 0x3F) << 5 | ((b >> 3) & 0x1F); }

const ModuleHooks kDefaults = {
    .buildYuvTables = BuildYuvTables,
    .refillStreamSounds = RefillStreams,
    .pollMusic = PollMusic,
    .musicNotify = MusicNotify,
    .drawDirectMovies = Nothing,
    .pauseMovies = Nothing,
    .resumeMovies = Nothing,
    .releaseMovieStreams = Nothing,
    .applyDirect3DOffOption = Nothing,
    .setTempPrimaryOption = NothingInt,
    .installDefaultRestoreHandler = Nothing,
    .requestedScreenDepth = RequestedDepth,
    .getScreenMode = ScreenMode,
    .initGraphics = ShowScreen,
    .endScreenAndGraphics = HideScreen,
    .switchScreenMode = SwitchDisplay,
    .setVSyncOnPresent = NothingInt,
    .initScreenLog = Nothing,
    .deleteFont = NothingInt,
    .selectStartupDrawTargets = Nothing,
    .warmGraphPaths = Nothing,
    .deleteAllSoftImages = Nothing,
    .restoreLostSurfaces = Nothing,
    .restoreAfterDeviceLoss = Zero,
    .restoreAllGraphSurfaces = Nothing,
    .isDisplayModeChanged = Zero,
    .isDirectDrawUsable = Zero,
    .directDrawExists = Zero,
    .releaseDirect3DObject = Nothing,
    .releaseDirectDrawObject = Nothing,
    .hasRestoreHandler = One,
    .isBackScreenDrawTarget = Zero,
    .presentToWindow = Nothing,
    .onDrawAreaMoved = Nothing,
    .refreshGdiPresentation = Nothing,
    .isGdiPresentation = Zero,
    .packColorRGB = Pack565,
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
