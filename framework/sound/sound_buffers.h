// The operations on one playback buffer of a sound. Every other piece of the
// sound module reaches the device's buffers through these. Each returns -1
// at once when the slot's valid word is wrong for it (creation and
// duplication want an empty slot, the rest a live one), else 0 or -1 as the
// device answers.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Whether a sound buffer can hold `bytes` bytes of this format at all: a
// format the device plays (plat::IsPlayableFormat) and a size from one
// block to the device's largest buffer. A sound that fails this is bad
// data, refused before the device is asked; a device that then refuses a
// buffer fails for itself.
bool IsBufferableSound(const WAVEFORMATEX* format, uint64_t bytes);

int CreateSoundBuffer(SoundBufferSlot* slot, const plat::DSBUFFERDESC* description);
int DuplicateSoundBuffer(SoundBufferSlot* slot, const SoundBufferSlot* source);
int ReleaseSoundBuffer(SoundBufferSlot* slot);
int PlaySoundBuffer(SoundBufferSlot* slot, int loop);
int StopSoundBuffer(SoundBufferSlot* slot);
int GetSoundBufferStatus(SoundBufferSlot* slot, uint32_t* status);
int LockSoundBuffer(SoundBufferSlot* slot, uint32_t offset, uint32_t bytes, void** pointer1, uint32_t* size1,
                    void** pointer2, uint32_t* size2);
int UnlockSoundBuffer(SoundBufferSlot* slot, void* pointer1, uint32_t size1, void* pointer2, uint32_t size2);
int SetSoundBufferPosition(SoundBufferSlot* slot, uint32_t byteOffset);
// The play cursor in bytes.
int GetSoundBufferPosition(SoundBufferSlot* slot, uint32_t* playCursor);

// Writes `bytes` bytes of silence into the free space of the regions, region
// 1 first, stopping when both are full.
void FillSoundBufferSilence(const SoundData* sound, SoundLockRegions* regions, uint32_t bytes);

}  // namespace qor
