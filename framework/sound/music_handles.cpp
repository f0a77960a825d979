#include "framework/sound/music_handles.h"

#include <cstring>

#include "framework/core/memory.h"
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
  if (GetSoundState().directMusicMode == 0) return 0;
  for (int i = 0; i < g_music.table.usedEnd; ++i) {
    MusicRecord* r = static_cast<MusicRecord*>(g_music.slots[i]);
    if (r == nullptr || !r->playing) continue;
    // No segment is ever loaded here, so none is heard playing.
    const bool heard = r->segment != nullptr;
    if (r->started) r->playing = heard ? 1 : 0;
    else if (heard) r->started = 1;
  }
  return 0;
}

int OnMusicNotify() {
  if (g_music.midiLoop == 1) {
    // Looping MIDI starts over from the beginning. Playing is recorded only
    // when the device took the command.
    if (plat::mciSendCommandA(g_music.mciDevice, plat::MCI_PLAY, plat::MCI_NOTIFY | plat::MCI_FROM, nullptr) == 0) {
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
  if (GetSoundState().directMusicMode == 0) {
    OnMusicNotify();
    for (int i = 0; i < 5; ++i) PumpOnce();
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
  r->segment = nullptr;
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
