// The frame skeleton every scene shares, the scene state, and sound helpers.
#include <cstring>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/config_file.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"

namespace orb {

SceneState scenes;

void ResetScenes() {
  std::memset(&scenes, 0, sizeof scenes);
  scenes.splashLogo = -1;
  for (int& h : scenes.filmCells) h = -1;
}

bool QuitKeysHeld() {
  return qor::QueryKeyPressedPublic(0x38) && qor::QueryKeyPressedPublic(0xB8) && qor::QueryKeyPressedPublic(0x3E);
}

void StartSceneFrames(bool vsyncWhenWindowed) {
  qor::SelectDrawTargetPublic(-2);
  qor::SetVSyncOnPresentPublic(config.WindowedMode && !vsyncWhenWindowed ? 0 : 1);
  scenes.LastFrameMillis = qor::GetNowMillisPublic();
}

// The 16 ms test stays on the millisecond clock; sleeping on a precise clock
// to just short of the tick that ends the wait keeps the same frames without
// holding a core busy.
void PaceWindowedFrame() {
  if (config.WindowedMode == 1) {
    for (;;) {
      const int32_t passed = static_cast<int32_t>(qor::GetNowMillisPublic() - scenes.LastFrameMillis);
      if (passed >= 16) break;
      qor::SleepUntilNearMillisPublic(scenes.LastFrameMillis + 16);
    }
  }
  scenes.LastFrameMillis = qor::GetNowMillisPublic();
}

bool BeginPacedFrame() {
  if (QuitKeysHeld()) return false;
  qor::EraseDrawTargetPublic();
  PaceWindowedFrame();
  return true;
}

void ClearPlayerInputs() {
  for (int p = 0; p < 2; ++p) input.HeldInput[p] = input.PressedInput[p] = 0;
}

void PlaySe(int sound) { qor::PlaySoundHandlePublic(sound, 1, 1); }

void PlayTitleMusic() {
  stageLoad.MusicNumber = 0;
  qor::StopSoundPublic(stageLoad.MusicHandle);
  qor::DeleteSoundPublic(stageLoad.MusicHandle, 0);
  stageLoad.MusicHandle = qor::LoadSoundFilePublic("sddata\\bgm00.wav", 3, -1);
  qor::PlaySoundHandlePublic(stageLoad.MusicHandle, 3, 1);
}

void DrawStateBackdrop(int alpha) {
  BlitGraph(0, 0, assets.stateBackdrop, 0);
  qor::SelectBlendPublic(1, ClampBlend(alpha));
  PaintBoxRGB(0, 0, 640, 480, 0, 0, 0);
  qor::SelectBlendPublic(0, 0);
}

}  // namespace orb
