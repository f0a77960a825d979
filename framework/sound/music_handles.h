// Music handles: MIDI music played through MCI or a music-system segment.
// Nothing creates one (loading music is left out); the query, poll, stop and
// delete side is here so that a record, should one exist, is released
// properly.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/handle_table.h"
#include "platform/dmusic/dmusic.h"

namespace qor {

struct MusicRecord {
  uint32_t check;     // equals bits 16-26 of the handle
  uint32_t playing;   // music-system mode: taken to be playing
  uint32_t started;   // music-system mode: seen playing once
  uint8_t* data;      // the music file image, owned
  uint32_t dataSize;
  plat::IDirectMusicSegment8* segment;  // the loaded segment, owned; or null
};

struct MusicState {
  HandleTable table;
  void* slots[kMusicHandleMax];
  uint32_t mciDevice;
  uint32_t midiPlaying;
  uint32_t midiLoop;
  uint32_t tempMidiFile;         // 1: the file below is ours to delete
  char tempMidiName[260];
};

MusicState& GetMusicState();
void ResetMusicState();

// 1 playing, 0 not, -1 bad handle.
int GetMusicState(int handle);
int PollMusicPlaying();
int OnMusicNotify();
int StopMusicHandle(int handle);
int DeleteMusic(int handle);
int DeleteAllMusic();
// Deletes the temporary MIDI file when one was made.
void DeleteTempMidiFile();

}  // namespace qor
