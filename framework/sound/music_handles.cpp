#include "framework/sound/music_handles.h"

#include <cstring>

#include "framework/core/memory.h"
#include "framework/core/window/main_window.h"
#include "framework/sound/sound_state.h"
#include "platform/dsound/mci.h"
#include "platform/kernel/file_io.h"

namespace qor {

namespace {

MusicState g_music;
const bool g_tableBound =
    (InitHandleTable(&g_music.table, kMusicHandleTag, kMusicHandleMax, g_music.slots), true);

bool SoundStarted() { return GetSoundState().directSound != nullptr; }

MusicRecord* Lookup(int handle) {
  if (!SoundStarted()) return nullptr;
  return static_cast<MusicRecord*>(LookupHandleEntry(&g_music.table, handle));
}

int PumpOnce() {
  int (*pump)() = GetSoundState().pumpMessages;
  return pump != nullptr ? pump() : 0;
}

}  // namespace

MusicState& GetMusicState() { return g_music; }

void ResetMusicState() {
  for (int i = 0; i < kMusicHandleMax; ++i) {
    MusicRecord* r = static_cast<MusicRecord*>(g_music.slots[i]);
    if (r == nullptr) continue;
    if (r->data != nullptr) FreeMemory(r->data);
    if (r->segment != nullptr) r->segment->Release();
    FreeMemory(r);
  }
  g_music = MusicState{};
  InitHandleTable(&g_music.table, kMusicHandleTag, kMusicHandleMax, g_music.slots);
}

int GetMusicState(int handle) {
  MusicRecord* r = Lookup(handle);
  if (r == nullptr) return -1;
  if (GetSoundState().directMusicMode == 0) return g_music.midiPlaying ? 1 : 0;
  return r->playing ? 1 : 0;
}

int PollMusicPlaying() {
  if (!SoundStarted()) return -1;
  plat::IDirectMusicPerformance8* performance = GetSoundState().musicPerformance;
  if (GetSoundState().directMusicMode == 0 || performance == nullptr) return 0;
  for (int i = 0; i < g_music.table.usedEnd; ++i) {
    MusicRecord* r = static_cast<MusicRecord*>(g_music.slots[i]);
    if (r == nullptr || !r->playing) continue;
    const bool heard = performance->IsPlaying(r->segment, nullptr) != plat::S_FALSE;
    if (r->started) r->playing = heard ? 1 : 0;
    else if (heard) r->started = 1;
  }
  return 0;
}

int OnMusicNotify() {
  if (g_music.midiLoop == 1) {
    // Looping MIDI starts over from the beginning. Playing is recorded only
    // when the device took the command.
    plat::MCI_PLAY_PARMS play{};
    play.dwCallback = static_cast<uintptr_t>(GetFrameWindowHandle());
    play.dwFrom = 0;
    if (plat::mciSendCommandA(g_music.mciDevice, plat::MCI_PLAY, plat::MCI_NOTIFY | plat::MCI_FROM, &play) == 0) {
      g_music.midiPlaying = 1;
    }
  } else if (g_music.midiPlaying == 1) {
    plat::mciSendCommandA(g_music.mciDevice, plat::MCI_CLOSE, 0, nullptr);
    g_music.midiPlaying = 0;
  }
  return 0;
}

void DeleteTempMidiFile() {
  if (g_music.tempMidiFile != 1) return;
  plat::DeleteFileAt(g_music.tempMidiName);
  g_music.tempMidiFile = 0;
}

int StopMusicHandle(int handle) {
  MusicRecord* r = Lookup(handle);
  if (r == nullptr) return -1;
  g_music.midiLoop = 0;
  SoundState& sound = GetSoundState();
  if (sound.directMusicMode == 0) {
    OnMusicNotify();
    for (int i = 0; i < 5; ++i) PumpOnce();
  } else if (r->segment != nullptr && sound.musicPerformance != nullptr) {
    sound.musicPerformance->StopEx(r->segment, 0, 0);
  }
  DeleteTempMidiFile();
  r->playing = 0;
  r->started = 0;
  return 0;
}

int DeleteMusic(int handle) {
  MusicRecord* r = Lookup(handle);
  if (r == nullptr) return -1;
  if (GetMusicState(handle) == 1) StopMusicHandle(handle);
  if (r->segment != nullptr) {
    SoundState& sound = GetSoundState();
    if (sound.musicPerformance != nullptr) r->segment->Unload(sound.musicPerformance);
    if (sound.musicLoader != nullptr) sound.musicLoader->ReleaseObjectByUnknown(r->segment);
    r->segment->Release();
    r->segment = nullptr;
  }
  if (r->data != nullptr) {
    std::memset(r->data, 0, r->dataSize);
    FreeMemory(r->data);
  }
  RemoveHandleEntry(&g_music.table, handle);
  FreeMemory(r);
  return 0;
}

int DeleteAllMusic() {
  if (!SoundStarted()) return -1;
  for (int i = 0; i < g_music.table.usedEnd; ++i) {
    if (g_music.slots[i] != nullptr) DeleteMusic(HandleOfSlot(&g_music.table, i));
  }
  return 0;
}

}  // namespace qor
