// Stage begin: empties the pools, loads the stage's pictures, music and
// collision map, places the players by the way they entered and moves the
// camera.
#pragma once

#include <cstdint>

namespace orb {

// How the stage's pictures and collision picture are reached. The graph and
// soft-image roads of the framework plug in here; an unset hook reads as a
// missing file.
struct StageLoadHooks {
  int (*openGraph)(const char* file);  // graph handle or -1
  void (*destroyGraph)(int handle);
  int (*openMapPicture)(const char* file);  // picture handle or -1
  // 0 and the pixel's colour, or -1 when the pixel cannot be read.
  int (*readMapPixel)(int picture, int x, int y, int* r, int* g, int* b);
  void (*closeMapPicture)(int picture);
};

struct StageLoadState {
  StageLoadHooks hooks;
  int StagePictureHandle;
  int StageAltPictureHandle;
  int FarPictureHandle;
  uint8_t AltPictureShown;
  uint8_t FarPictureShown;
  int32_t MusicNumber;
  int MusicHandle;
};

extern StageLoadState stageLoad;

// Handles -1, music 0 (the title's), no hooks.
void ResetStageLoad();
void SetStageLoadHooks(const StageLoadHooks& hooks);

// The per-stage file names (stage 0 to 200), or nullptr outside that range.
const char* StageBackName(int stage);
const char* StageBackAltName(int stage);
const char* StageFarName(int stage);
const char* StageMapName(int stage);

void BeginStage();
void LoadStageLayers();
void SelectStageMusic();

// The music number and file SelectStageMusic picks; -1 when the playing
// music goes on.
int StageMusicNumber(int stage, bool bossMode);

}  // namespace orb
