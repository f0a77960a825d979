// Device loss and restore: the rebuild of screen, surfaces, Direct3D and
// graphs after a task switch or a display change, the default restore
// handler that reloads every graph from its file, and the per-graph surface
// restore.
#include "framework/sound/movie/movie.h"
#include "framework/graphics/screen/device_restore.h"

#include <cstring>

#include "framework/core/files/file_paths.h"
#include "framework/core/log.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/screen/directdraw_object.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/core/input/input_devices.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

namespace {

template <typename Fn>
void ForEachGraph(Fn fn) {
  const HandleTable* table = GraphTable();
  for (int32_t slot = 0; slot < table->usedEnd; ++slot) {
    const int32_t handle = HandleOfSlot(table, slot);
    GraphRecord* g = handle != -1 ? LookupGraph(handle) : nullptr;
    if (g != nullptr) fn(slot, g);
  }
}

}  // namespace

// The whole rebuild in its order. Without DirectDraw (software rendering
// through GDI) there is no object to release or make again, and the rest
// runs as it does with one. The input devices, released on the way, are
// started again at the end: a program that came back from a lost display
// must still read its keys and pads.
int RestoreAfterDeviceLoss() {
  ScreenState& s = GetScreenState();
  if (!s.managerStarted) return 0;
  ReleaseDirect3DObject();
  ReleaseMaskScreen();
  ReleaseScreenSurfaces();
  EndInputDevices();
  ReleaseAllPieceSurfaces();
  ReleaseClipper();
  if (!s.directDrawUnusable) {
    if (s.gdiPresent && s.directDraw != nullptr) {
      ReapplyDisplayMode();
      RecreateAllPieceSurfaces();
      AttachWindowClipper();
    } else {
      ReleaseDirectDrawObject();
      EnsureDirectDrawObject();
    }
  } else {
    RecreateAllPieceSurfaces();
  }
  CreateScreenSurfaces();
  ReloadScreenPalette();
  const int32_t target = GetDrawState().drawTarget;
  SwitchDirectDrawTarget(target, target);
  AcquireDirect3DObject();
  SelectDrawTargetD3D(target);
  EraseDrawTarget();
  PresentFrame();
  FlagAllGraphsForRestore();
  ReopenAllMovies();
  RestoreMaskScreen();
  const DrawState& d = GetDrawState();
  const Matrix4 world = d.world, view = d.view, projection = d.projection;
  RecomputeTransforms();
  SetWorldTransform(&world, 0);
  SetViewTransform(&view);
  SetProjectionTransform(&projection);
  InitInputDevices();
  return 0;
}

int FlagAllGraphsForRestore() {
  ForEachGraph([](int32_t, GraphRecord* g) { g->restoreNeeded = 1; });
  void (*handler)() = GetDrawState().restoreHandler;
  if (handler != nullptr) handler();
  // Fonts rebuild their own glyph caches (blank graphs are not reloaded).
  RecreateAllFonts();
  return 0;
}

void ReloadAllGraphs() {
  LogOutput("グラフィックを復帰します\n");
  char home[kGraphLoadDirectoryMax * 4] = "";
  GetCurrentDir(home, sizeof(home));
  GraphImage image{}, alpha{};
  bool have = false, haveAlpha = false;
  const GraphRecord* previous = nullptr;
  ForEachGraph([&](int32_t slot, GraphRecord* g) {
    if (g->restoreNeeded != 1 || g->fileName[0] == '\0') return;
    g->restoreNeeded = 0;
    if (!IsGraphReloadable(g)) return;
    const bool reuse = have && slot != 0 && previous != nullptr && std::strcmp(previous->fileName, g->fileName) == 0 &&
                       std::strcmp(previous->loadDirectory, g->loadDirectory) == 0 &&
                       previous->sourceOption == g->sourceOption;
    if (!reuse) {
      FreeGraphImage(&image);
      FreeGraphImage(&alpha);
      have = haveAlpha = false;
      previous = nullptr;
      // A directory that cannot be entered would load a same-named file from
      // wherever the program stands: the graph keeps its blank surfaces.
      if (g->loadDirectory[0] != '\0' && SetCurrentDir(g->loadDirectory) != 0) return;
      const int loaded = LoadImageWithAlphaFile(g->fileName, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha,
                                                static_cast<int>(g->sourceOption));
      if (loaded == -1) return;
      have = true;
      haveAlpha = loaded == 0;
      previous = g;
    }
    char name[kGraphFileNameMax + 1];
    std::memcpy(name, g->fileName, sizeof(name));
    WriteImageToGraph(g->sourceX, g->sourceY, 1, name, &image, haveAlpha ? &alpha : nullptr, g->sourceX,
                      g->sourceY, g->handle, g->sourceOption);
  });
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);
  SetCurrentDir(home);
}

int SetGraphRestoreHandler(void (*handler)()) {
  GetDrawState().restoreHandler = handler != nullptr ? handler : ReloadAllGraphs;
  return 0;
}

int HasGraphRestoreHandler() { return GetDrawState().restoreHandler != nullptr ? 1 : 0; }

int RestoreGraphSurfaces(int32_t graph) {
  GraphRecord* g = LookupGraph(graph);
  if (g == nullptr) return -1;
  if (g->is3D) {
    RestoreGraphPieces3D(g);
  } else {
    RestoreGraphPieces(g);
  }
  if (g->movieHandle != -1) RestoreMovieSurfaces(g->movieHandle);
  return 0;
}

int RestoreAllGraphSurfaces() {
  if (!GetScreenState().managerStarted) return 0;
  RestoreLostScreenSurfaces();
  ForEachGraph([](int32_t, GraphRecord* g) { RestoreGraphSurfaces(g->handle); });
  return 0;
}

}  // namespace qor
