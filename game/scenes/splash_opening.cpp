// Start-up scenes: the splash with the asset load at its midpoint, and the
// opening's scrolling picture with its captions.
#include <cstdio>
#include <initializer_list>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/file_io.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"

namespace orb {

namespace {

void FullScreenBox(int mode, int64_t alpha, int r, int g, int b) {
  qor::SelectBlendPublic(mode, ClampBlend(alpha));
  PaintBoxRGB(0, 0, 640, 480, r, g, b);
  qor::SelectBlendPublic(0, 0);
}

// Releases what an entry holds from an earlier start-up pass.
void ReleaseEntry(const AssetEntry& e) {
  for (int i = 0; i < e.pieces; ++i) {
    if (e.handles[i] == -1) continue;
    if (e.kind == AssetKind::Sound) {
      qor::DeleteSoundPublic(e.handles[i], 0);
    } else {
      DestroyGraph(e.handles[i]);
    }
    e.handles[i] = -1;
  }
}

}  // namespace

void ReleaseGameAssets() {
  const AssetEntry* table = AssetTable();
  for (int n = 0; n < AssetTableSize(); ++n) ReleaseEntry(table[n]);
  DestroyGraph(scenes.splashLogo);
  scenes.splashLogo = -1;
  DestroyFilmStrip();
  for (int* h : {&stageLoad.StagePictureHandle, &stageLoad.StageAltPictureHandle, &stageLoad.FarPictureHandle}) {
    DestroyGraph(*h);
    *h = -1;
  }
}

void LoadGameAssets() {
  const AssetEntry* table = AssetTable();
  const char* firstMissing = nullptr;
  int missing = 0, files = 0;
  for (int n = 0; n < AssetTableSize(); ++n) {
    const AssetEntry& e = table[n];
    ReleaseEntry(e);
    switch (e.kind) {
      case AssetKind::DividedGraph:
        OpenDividedGraph(e.file, e.pieces, e.across, e.down, e.pieceWidth, e.pieceHeight, e.handles);
        break;
      case AssetKind::WholeGraph: e.handles[0] = OpenGraphFile(e.file); break;
      case AssetKind::Sound: e.handles[0] = qor::LoadSoundFilePublic(e.file, 3, -1); break;
      case AssetKind::BlankGraph: e.handles[0] = CreateBlankGraph(e.pieceWidth, e.pieceHeight); break;
    }
    if (e.kind != AssetKind::BlankGraph) ++files;
    if (e.handles[0] == -1) {
      if (!firstMissing) firstMissing = e.file ? e.file : "(blank graph)";
      ++missing;
    }
  }
  if (missing > 0) {
    // One line a player can act on: which folder, how much is missing, what to run.
    char first[128];
    std::snprintf(first, sizeof first, "%s", firstMissing);
    for (char* c = first; *c; ++c) {
      if (*c == '\\') *c = '/';
    }
    TellPlayer("the asset folder %s lacks %d of the game's %d files (the first: %s); scripts/play DIR makes the "
               "placeholder set in an empty or missing DIR",
               GameFolder(), missing, files, first);
  }
}

void ShowSplashAndLoad() {
  DestroyGraph(scenes.splashLogo);
  scenes.splashLogo = OpenGraphFile("title\\tarnweed.bmp");
  StartSceneFrames(false);
  ClearPlayerInputs();
  for (int frame = 1; BeginPacedFrame(); ++frame) {
    if (frame >= 128) return;
    PaintBoxRGB(0, 0, 640, 480, 255, 255, 255);
    if (frame < 64) {
      qor::SelectBlendPublic(1, frame * 4);
      BlitGraph(192, 163, scenes.splashLogo, 1);
      qor::SelectBlendPublic(0, 0);
    } else {
      BlitGraph(192, 163, scenes.splashLogo, 1);
      if (frame > 64) FullScreenBox(1, frame * 4 - 256, 0, 0, 0);
    }
    qor::PresentFramePublic();
    if (frame == 64) {
      LinkObjectPools();
      LoadGameAssets();
    }
    if (qor::ProcessFrameMessages() != 0) return;
  }
}

void PlayOpening() {
  PlayTitleMusic();
  StartSceneFrames(false);
  ClearPlayerInputs();
  for (int frame = 1; BeginPacedFrame(); ++frame) {
    ReadPlayerInputs();
    if (frame >= 8 && frame <= 1835) {
      uint32_t skip = 0;
      for (int a = 0; a < 5; ++a) skip |= input.LiveButtonMasks[a];
      if (input.PressedInput[0] & skip) frame = 1837;
    }
    if (frame >= 1901) return;
    PaintBoxRGB(0, 0, 640, 480, 0, 0, 0);
    BlitGraph(static_cast<int>(frame / -4.3), 48, assets.titleOpening, 1);
    for (int k = 0; k < 7; ++k) {
      const int s = 128 + 235 * k;
      int alpha = -1;
      if (frame >= s - 64 && frame < s) alpha = (frame - s) * 4 + 256;
      if (frame >= s && frame <= s + 85) alpha = 255;
      if (frame >= s + 86 && frame <= s + 170) alpha = (s - frame) * 4 + 684;
      if (alpha < 0) continue;
      qor::SelectBlendPublic(1, ClampBlend(alpha));
      BlitGraph(64, 440, assets.titleOp[k], 1);
      qor::SelectBlendPublic(0, 0);
    }
    if (frame >= 1709) FullScreenBox(1, frame * 2 - 3418, 0, 0, 0);
    if (frame < 64) FullScreenBox(1, (64 - frame) * 4, 0, 0, 0);
    if (frame >= 1837) FullScreenBox(1, frame * 4 - 7348, 255, 255, 255);
    qor::PresentFramePublic();
    if (qor::ProcessFrameMessages() != 0) return;
  }
}

}  // namespace orb
