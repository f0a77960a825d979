// Playing stream sounds: starting, stopping and following the ring, and the
// refill that the message pump runs for every stream sound on every pass.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Finds the ring the sound plays through and makes the sound its user. A
// ring in use by another sound: -1 without force; with force that sound is
// stopped (and must prime again before it plays).
int ClaimStreamBuffer(int handle, SoundData* record, SoundBufferSlot** slot, int force);
int PrepareStreamSound(int handle);
int PlayStreamSound(int handle, int playType, int restart);
int StopStreamSound(int handle);
int IsStreamPlaying(int handle);
int GetStreamPositionMs(int handle);
int UpdateStreamPlayCursor(int handle, int64_t cursor);
int RefillStreamSound(int handle);
// Refills every stream sound, newest first; -1 when sound is not started.
int UpdateStreamSounds();

// Converts into the free space of the regions, at most `bytes`; returns the
// bytes written.
uint32_t FillFromStreamPart(SoundLockRegions* regions, SoundConverter* converter, uint32_t bytes);
// Moves to the next part (or loop) after the current one ran out: 0, or -1
// once the data has ended.
int AdvanceStreamPart(SoundData* record, SoundLockRegions* regions, uint32_t cursor);

}  // namespace qor
