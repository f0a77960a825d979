// The calls that start-up, shut-down, the window procedure and the message
// pump make into modules that live elsewhere (graphics, sound and movies,
// network). Each is one slot of this table; a module fills its slots with
// its own functions, and until it does the slot holds a small default:
// nothing to do, success, or the display behaviour a program without that
// module has. Tests replace slots to make a module fail and put the
// defaults back with ResetModuleHooks.
#pragma once

namespace qor {

struct ModuleHooks {
  // --- sound, music and movies ---------------------------------------------------
  void (*buildYuvTables)();
  void (*refillStreamSounds)();
  void (*pollMusic)();
  void (*musicNotify)();  // the window procedure: MCI reports that playback ended
  void (*drawDirectMovies)();
  void (*pauseMovies)();
  void (*resumeMovies)();
  void (*releaseMovieStreams)();

  // --- graphics ------------------------------------------------------------------
  void (*applyDirect3DOffOption)();
  void (*setTempPrimaryOption)(int on);
  void (*installDefaultRestoreHandler)();
  int (*requestedScreenDepth)();
  void (*getScreenMode)(int* width, int* height, int* bitsPerPixel);
  int (*initGraphics)();  // on the main window, in the stored window mode; negative on failure
  void (*endScreenAndGraphics)();
  int (*switchScreenMode)(int recreate);  // after the window mode changed
  void (*setVSyncOnPresent)(int on);
  int (*getVSyncOnPresent)();
  void (*initScreenLog)();
  void (*deleteFont)(int handle);
  void (*selectStartupDrawTargets)();
  void (*warmGraphPaths)();
  void (*deleteAllSoftImages)();
  void (*restoreLostSurfaces)();
  int (*restoreAfterDeviceLoss)();
  void (*restoreAllGraphSurfaces)();
  int (*isDisplayModeChanged)();
  int (*isDirectDrawUsable)();
  int (*directDrawExists)();
  void (*releaseDirect3DObject)();
  void (*releaseDirectDrawObject)();
  int (*hasRestoreHandler)();
  int (*isBackScreenDrawTarget)();
  void (*presentToWindow)();
  void (*onDrawAreaMoved)();
  void (*refreshGdiPresentation)();
  int (*isGdiPresentation)();
  int (*packColorRGB)(int r, int g, int b);

  // --- network and HTTP ------------------------------------------------------------
  void (*clearHttpTable)();
  void (*closeAllHttpHandles)();
  void (*endNetwork)();
  void (*pumpNetworkWindow)();
  void (*stepHttpHandles)();
};

ModuleHooks& GetModuleHooks();
void ResetModuleHooks();

}  // namespace qor
