// The sound module's process-wide state, in one record.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/handle_table.h"
#include "framework/sound/sound_records.h"
#include "platform/dmusic/dmusic.h"
#include "platform/dsound/dsound.h"
#include "platform/kernel/file_io.h"

namespace qor {

constexpr int kMaxSounds = kSoundHandleMax;

struct SoundState {
  // The handle table over its slots (SoundData records).
  HandleTable table;
  void* slots[kMaxSounds];
  int createMode;            // 0 whole sounds; 2, 3 stream sounds

  // The device; null while sound is not started.
  plat::IDirectSound* directSound;
  uint32_t directMusicMode;  // 0 DirectSound alone, 1 through DirectMusic
  // The music system's objects (mode 1 only) and its master volume.
  plat::IDirectMusicLoader8* musicLoader;
  plat::IDirectMusicPerformance8* musicPerformance;
  int32_t masterVolume;
  plat::IDirectSoundBuffer* primaryBuffer;
  plat::IDirectSoundBuffer* silenceBuffer;
  uint32_t oggVorbisWordSize;
  // 1 while a movie loads its soundtrack; copied into every converter set up.
  uint32_t movieSoundtrackLoading;
  LinkNode streamListHead;   // the stream sounds, newest first
  LinkNode streamListTail;
  // The sound capture: a WAV file whose 46-byte header is written when the
  // capture is finished. Nothing opens one yet.
  uint32_t captureOpen;
  plat::FileDesc captureFile;
  uint32_t capturedFrames;

  // The handle kept by a play-a-file call (0 = none) and whether it is music.
  int32_t temporaryHandle;
  uint32_t temporaryIsMusic;

  // One pass of the framework's message processing, for play type 0 to wait
  // with: 0 normally, -1 once the program must quit. None: just sleep.
  int (*pumpMessages)();
};

SoundState& GetSoundState();

// Returns the module to its state at program load: every sound freed, the
// device released, the table empty.
void ResetSoundState();

}  // namespace qor
