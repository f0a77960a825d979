// The play scene: stage start, then one pass per frame (pacing, input,
// world step and draw pass, in-game states, present, messages) until the
// scene ends; every way out writes the current save slot.
#include "framework/qorlib.h"
#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/map_collision.h"
#include "game/world/save_slots.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "game/stages/stage_setup.h"
#include "game/scenes/world_hooks.h"

namespace orb {

namespace {

// One frame of the scene; false when the scene must end.
bool PlayFrame() {
  if (scenes.LeavePlayFlag || !BeginPacedFrame()) return false;
  StepPlayFrame();
  qor::PresentFramePublic();
  return qor::ProcessFrameMessages() == 0;
}

void DrawStageLayers() {
  const float left = game.links.leftBound;
  if (stageLoad.FarPictureShown == 1) {
    const float f = game.CurrentStage == 152 ? 1.0f : 0.3f;
    BlitGraph(ToInt(left * f - f * game.CameraScrollX), 0, stageLoad.FarPictureHandle, 0);
  }
  DrawStageOverlayLayers();
  const bool alt = stageLoad.AltPictureShown == 1 && (game.PlayFrameCount / 8) % 2 != 0;
  BlitGraph(ToInt(left - game.CameraScrollX), 0,
            alt ? stageLoad.StageAltPictureHandle : stageLoad.StagePictureHandle, 1);
}

}  // namespace

void StepPlayFrame() {
  ++game.PlayFrameCount;
  game.DifficultySpeedBonus = DifficultyExcess();
  if (game.InGameState == 0) {
    const bool frozen = game.InGameStateTimer == 16 || game.EndingPhase != 0 ||
                        (game.BossMode == 1 && game.BossIntroTimer < 200);
    if (frozen) {
      ClearPlayerInputs();
    } else {
      ReadPlayerInputs();
      if (game.PlayFrameCount < 4) input.PressedInput[0] = input.PressedInput[1] = 0;
    }
    RunWorldPass();
  } else if (game.InGameState == 1 && game.InGameStateTimer == 16) {
    ClearPlayerInputs();
    RunWorldPass();
  }
  RunInGameStateMachine();
}

void RunWorldPass() {
  if (game.EndingPhase == 0) {
    game.PlayTimeFrames += 1.0f;
    DrainMember7();
  }
  UpdateBlockKeysAndBlocks();
  UpdateEnemies();
  MovePlayers();
  UpdateCamera();
  DrawStageLayers();
  DrawEnemiesBehind();
  DrawBlocks();
  UpdateDrawItems();
  DrawEnemiesFront();
  UpdateDrawPlayers();
  UpdateDrawPlayerShots();
  UpdateDrawEffects();
  DrawStageEffectsAndEnding();
  UpdateDrawEnemyBullets();
  DrawHud();
  if (scenes.DebugMode) DrawCollisionMapDebug();
}

int RunGameLoop() {
  StartSceneFrames(false);
  ClearPlayerInputs();
  game.PlayFrameCount = 0;
  RunStageSetup(game.CurrentStage);
  scenes.LastFrameMillis = qor::GetNowMillisPublic();
  scenes.LeavePlayFlag = 0;
  scenes.SceneExitFlag = 1;
  game.InGameState = 1;
  game.InGameStateTimer = 15;
  if (qor::ProcessFrameMessages() == 0) {
    while (PlayFrame()) {
    }
  }
  WriteSaveSlot();
  return 0;
}

}  // namespace orb
