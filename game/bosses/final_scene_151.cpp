// Stage 151: the three actors walk, talk and leap away on their own timers;
// the last of them hands the game over to stage 152.
#include "game/bosses/boss_blocks.h"
#include "game/bosses/fight_steps.h"
#include "game/bosses/final_scenes.h"
#include "game/world/game_state.h"

namespace orb {

namespace {

// A scripted jump: the pose released and the actor in the air at once.
void Leap(EnemyRecord& e, float speedY) {
  e.poseFlag = 0;
  ForceBossJump(e, speedY);
}

// Frames 13 and 14 by turns, two frames each.
void Flutter(EnemyRecord& e) { e.animationId = e.timer % 4 <= 1 ? 13 : 14; }

// Bobbing in the air where the leap ended.
void Hover(EnemyRecord& e, float amplitude, float phaseStep) {
  e.motion.velocityY = 0.0f;
  e.motion.accelY = 0.0f;
  e.motion.waveAmplitudeY = amplitude;
  e.motion.phaseStep = phaseStep;
}

void Kind37(EnemyRecord& e) {
  switch (e.timer) {
    case 150:
      e.poseFlag = 0;
      e.motion.velocityX = -2.0f;
      break;
    case 250: e.motion.velocityX = 0.0f; break;
    case 260: e.animationId = 14; break;
    case 300: e.animationId = 0; break;
    case 330:
      // It arcs away under its light gravity.
      Leap(e, -4.0f);
      e.mapCollision = 0;
      e.motion.velocityX = -5.0f;
      break;
    default: break;
  }
}

void Kind47(EnemyRecord& e) {
  switch (e.timer) {
    case 350:
      e.poseFlag = 0;
      e.motion.velocityX = -2.0f;
      e.animationId = 0;
      break;
    case 590: e.motion.velocityX = 0.0f; break;
    case 610: e.motion.velocityX = 4.0f; break;
    case 630:
      e.motion.velocityX = 0.0f;
      e.animationId = 15;
      break;
    case 690: e.animationId = 0; break;
    case 730: e.motion.velocityX = -2.0f; break;
    case 760: e.motion.velocityX = 0.0f; break;
    case 790: e.animationId = 13; break;
    case 880: Leap(e, -8.0f); break;
    case 950: Leap(e, -10.0f); break;
    case 1020:
      Leap(e, -11.0f);
      e.mapCollision = 0;
      break;
    case 1050: Hover(e, 1.0f, 0.1f); break;
    case 1160: e.animationId = 16; break;
    case 1520: e.animationId = 13; break;
    case 1560: e.motion.accelX = -0.12f; break;
    default: break;
  }
  if (e.timer >= 1560) Flutter(e);
}

void Kind46(EnemyRecord& e) {
  switch (e.timer) {
    case 630:
      e.poseFlag = 0;
      e.motion.velocityX = -2.0f;
      e.animationId = 0;
      break;
    case 810: e.motion.velocityX = 0.0f; break;
    case 1260: Leap(e, -7.0f); break;
    case 1330: Leap(e, -9.0f); break;
    case 1400:
      Leap(e, -10.0f);
      e.mapCollision = 0;
      break;
    case 1430: Hover(e, 0.8f, 0.08f); break;
    case 1600: e.motion.accelX = -0.11f; break;
    case 1690: ChangeStageAtPoint(152, 1840.0f, 256.0f); break;
    default: break;
  }
  if (e.timer >= 1600) Flutter(e);
}

}  // namespace

void RunStage151Actor(EnemyRecord& e) {
  switch (e.kind) {
    case 37: Kind37(e); break;
    case 46: Kind46(e); break;
    case 47: Kind47(e); break;
    default: break;
  }
}

void RunFinalSceneActor(EnemyRecord& e) {
  if (game.CurrentStage == 152) {
    RunStage152Actor(e);
  } else if (game.CurrentStage == 151) {
    RunStage151Actor(e);
  }
}

void RunBoss46(EnemyRecord& e) { RunFinalSceneActor(e); }
void RunBoss47(EnemyRecord& e) { RunFinalSceneActor(e); }

}  // namespace orb
