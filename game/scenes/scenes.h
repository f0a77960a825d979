// The scenes of the program and what they share: the scene flags, the
// menu and in-game screen state, the frame skeleton every scene runs, and
// the entry points of each scene.
#pragma once

#include <cstdint>

namespace orb {

constexpr int kFilmCells = 40;

struct SceneState {
  uint8_t SceneExitFlag;  // after a scene: 0 the other scene, 1 quit, 2 rerun the start-up
  uint8_t LeavePlayFlag;
  uint8_t DebugMode;
  uint32_t LastFrameMillis;
  int splashLogo;

  // Title.
  int32_t TitleSubState;  // 0 main, 1 file select, 2 difficulty, 3 options, 4 pad configuration
  int32_t TitleMenuTimer;
  int32_t DeleteHoldFrames;
  int32_t titleCursor[4];  // main, file select, difficulty, options
  int32_t padCursor[2];

  // In-game states.
  uint32_t PauseCursor;
  uint8_t HoldingLife[2];
  int32_t PanelSlide[2];
  int32_t JoinedMemberIndex;

  // Boss bar.
  int32_t BossShownHp;
  int32_t BossFullHp;

  // Overlays and ending.
  int32_t overlayCounter;
  float cloudOffset;
  float cloudSpeed;
  int filmCells[kFilmCells];
};

extern SceneState scenes;

// Flags 0, every handle -1.
void ResetScenes();

// Scenes.
int WinMain(void* instance, void* previous, char* commandLine, int showCommand);
void ShowSplashAndLoad();
void PlayOpening();
void LoadGameAssets();
// Destroys every graph and deletes every sound the start-up pass and play
// hold, while their handles are still good (before a screen reset).
void ReleaseGameAssets();
int RunTitleScreen();
void DrawTitleFrame();  // background, logo and the open page, one frame
int RunGameLoop();
void RunInGameStateMachine();
void RetryAfterGameOver();
void DrawStatusPanel(int y);

// A member's portrait and name piece; -1 for anything but members 0 to 9
// (the life cell, 10, has neither).
int PortraitOfMember(int member);
int NameOfMember(int member);

// The status panel's cursor move of one player by its newly pressed
// direction bits.
void MovePanelCursor(int player, uint32_t pressed);
void DrawHud();
int HudRow();  // the y of the player bars
void DrawStageOverlayLayers();
void DrawStageEffectsAndEnding();
void DrawCollisionMapDebug();
void DestroyFilmStrip();  // the ending's 40 film cells, if held

// The world pass of one play frame (world step, then the draw pass).
void RunWorldPass();
// One play frame between pacing and present: frame count, input by the
// in-game state, world pass, in-game state machine.
void StepPlayFrame();

// Frame skeleton shared by the scenes.
bool QuitKeysHeld();  // left Alt, right Alt and F4 all held
void StartSceneFrames(bool vsyncWhenWindowed);
void PaceWindowedFrame();  // windowed: waits until 16 ms since the last frame
// Leaves (false) on the quit keys, else erases the back screen and paces.
bool BeginPacedFrame();
void ClearPlayerInputs();
void PlaySe(int sound);  // background, from the start
void PlayTitleMusic();   // bgm00 looping; the previous music stopped and deleted

// Backdrop of the in-game states: the captured frame under a black box of
// the given alpha.
void DrawStateBackdrop(int alpha);

}  // namespace orb
