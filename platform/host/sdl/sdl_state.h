// The SDL host's state and the helpers its files share. Only platform/host/sdl/
// includes SDL.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/host/host.h"

namespace plat::sdl {

struct SdlPad {
  SDL_GameController* controller = nullptr;  // set when SDL knows the pad's layout
  SDL_Joystick* joystick = nullptr;          // the controller's own joystick, or the raw one
  SDL_JoystickID id = -1;
  HostPadInfo info;
};

struct SdlHost {
  bool videoUp = false, padsUp = false, padsTried = false, audioUp = false;

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  std::string title;
  bool cursorVisible = true;
  int pictureWidth = 0, pictureHeight = 0;  // last picture shown, for mouse mapping

  std::vector<SdlPad> pads;

  SDL_AudioDeviceID audio = 0;
  HostAudioCallback callback = nullptr;
  void* user = nullptr;
  bool toldSilent = false;  // the player has heard that there is no sound device

  bool softwareGl = false;  // the accelerated renderer's GL was found to draw in software

  bool clockStarted = false;
  uint64_t clockBase = 0;  // monotonic microseconds at the first read
};

SdlHost& State();

bool EnsureVideo();

// True when SDL's accelerated renderer `rendererName` draws through a GL whose
// renderer string `glRenderer` names a software rasterizer (Mesa's llvmpipe,
// softpipe and swrast), unless the user chose a render driver
// (SDL_RENDER_DRIVER, `chosenDriver`), which then stands. False when a
// string is missing.
bool GlDrawsInSoftware(const char* rendererName, const char* glRenderer, const char* chosenDriver);
bool EnsurePads();
void ClosePads();
void CloseAudio();
void DestroyWindow();

// Window coordinates to picture pixels, through the last fit.
void MapMouse(int windowX, int windowY, int* pictureX, int* pictureY);

// Event and pad functions of the back-end table (sdl_events.cpp).
bool PollEvent(HostEvent* out);
void StartTextInput();
void StopTextInput();
int PadCount();
bool GetPadInfo(int pad, HostPadInfo* out);
bool GetPadState(int pad, HostPadState* out);
bool RumblePad(int pad, int low, int high, int durationMs);

// Overlays over the picture just drawn at `fit` (sdl_overlay.cpp): one
// streaming YUV texture per overlay; those no longer shown are released.
void DrawOverlays(const HostRect& fit, int pictureWidth, int pictureHeight);
void ReleaseOverlayTextures();

// Audio functions of the back-end table (sdl_audio.cpp).
int OpenAudio(int rate, HostAudioCallback callback, void* user);
void PauseAudio(bool pause);
void LockAudio();
void UnlockAudio();

}  // namespace plat::sdl
