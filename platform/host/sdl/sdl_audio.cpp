// SDL audio output: stereo signed 16-bit at the rate asked for (SDL converts
// when the device wants another), filled by the program's mixing callback on
// SDL's audio thread.
#include <cstdio>
#include <cstring>

#include "platform/host/sdl/sdl_state.h"

namespace plat::sdl {

namespace {
void Trampoline(void* userdata, Uint8* stream, int len) {
  auto* s = static_cast<SdlHost*>(userdata);
  std::memset(stream, 0, static_cast<size_t>(len));  // SDL hands over an unfilled buffer
  if (s->callback) s->callback(s->user, reinterpret_cast<int16_t*>(stream), len / 4);
}
}  // namespace

int OpenAudio(int rate, HostAudioCallback callback, void* user) {
  SdlHost& s = State();
  CloseAudio();
  if (!s.audioUp) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      std::fprintf(stderr, "SDL: no audio: %s\n", SDL_GetError());
      return 0;
    }
    s.audioUp = true;
  }
  s.callback = callback;
  s.user = user;
  SDL_AudioSpec want{}, have{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Trampoline;
  want.userdata = &s;
  s.audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (s.audio == 0) {
    std::fprintf(stderr, "SDL: cannot open audio: %s\n", SDL_GetError());
    s.callback = nullptr;
    s.user = nullptr;
    return 0;
  }
  SDL_PauseAudioDevice(s.audio, 0);
  return have.freq;
}

void PauseAudio(bool pause) {
  if (State().audio) SDL_PauseAudioDevice(State().audio, pause ? 1 : 0);
}

void CloseAudio() {
  SdlHost& s = State();
  if (s.audio) SDL_CloseAudioDevice(s.audio);  // waits for the callback to finish
  s.audio = 0;
  s.callback = nullptr;
  s.user = nullptr;
}

void LockAudio() {
  if (State().audio) SDL_LockAudioDevice(State().audio);
}

void UnlockAudio() {
  if (State().audio) SDL_UnlockAudioDevice(State().audio);
}

}  // namespace plat::sdl
