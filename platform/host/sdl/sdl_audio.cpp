// SDL audio output: stereo signed 16-bit at the rate asked for (SDL converts
// when the device wants another), filled by the program's mixing callback on
// SDL's audio thread.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/host/sdl/sdl_state.h"

namespace plat::sdl {

namespace {

// Sound libraries (ALSA above all) print their own complaints when there is
// no device; the player gets one line of ours instead, once per run.
struct QuietStderr {
  int saved = -1;
  QuietStderr() {
    std::fflush(stderr);
    saved = dup(2);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) dup2(null, 2);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
  }
};

void TellSilent(const char* why) {
  if (State().toldSilent) return;
  State().toldSilent = true;
  std::fprintf(stderr, "orbworld: no sound device (%s); the game runs silent\n", why);
}

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
    int started = 0;
    {
      QuietStderr quiet;
      started = SDL_InitSubSystem(SDL_INIT_AUDIO);
    }
    if (started != 0) {
      TellSilent(SDL_GetError());
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
  {
    QuietStderr quiet;
    s.audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  }
  if (s.audio == 0) {
    TellSilent(SDL_GetError());
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
