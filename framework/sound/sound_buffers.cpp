#include "framework/sound/sound_buffers.h"

#include <cstring>

#include "framework/sound/sound_state.h"

namespace qor {

bool IsBufferableSound(const WAVEFORMATEX* f, uint64_t bytes) {
  if (!plat::IsPlayableFormat(f)) return false;
  return bytes >= plat::DSBSIZE_MIN && bytes >= f->nBlockAlign && bytes <= plat::DSBSIZE_MAX;
}

int CreateSoundBuffer(SoundBufferSlot* slot, const plat::DSBUFFERDESC* description) {
  plat::IDirectSound* ds = GetSoundState().directSound;
  if (slot->valid == 1 || ds == nullptr) return -1;
  plat::IDirectSoundBuffer* buffer = nullptr;
  if (plat::Failed(ds->CreateSoundBuffer(description, &buffer, nullptr)) || buffer == nullptr) return -1;
  slot->buffer = buffer;
  slot->valid = 1;
  return 0;
}

int DuplicateSoundBuffer(SoundBufferSlot* slot, const SoundBufferSlot* source) {
  plat::IDirectSound* ds = GetSoundState().directSound;
  if (slot->valid == 1 || source->valid != 1 || ds == nullptr) return -1;
  plat::IDirectSoundBuffer* buffer = nullptr;
  if (plat::Failed(ds->DuplicateSoundBuffer(source->buffer, &buffer)) || buffer == nullptr) return -1;
  slot->buffer = buffer;
  slot->valid = 1;
  return 0;
}

int ReleaseSoundBuffer(SoundBufferSlot* slot) {
  if (slot->valid != 1) return -1;
  slot->buffer->Release();
  slot->buffer = nullptr;
  slot->valid = 0;
  return 0;
}

// A play the device refuses is reported, so a caller never takes a silent
// buffer for a playing one.
int PlaySoundBuffer(SoundBufferSlot* slot, int loop) {
  if (slot->valid != 1) return -1;
  return plat::Failed(slot->buffer->Play(0, 0, loop ? plat::DSBPLAY_LOOPING : 0)) ? -1 : 0;
}

int StopSoundBuffer(SoundBufferSlot* slot) {
  if (slot->valid != 1) return -1;
  slot->buffer->Stop();
  return 0;
}

int GetSoundBufferStatus(SoundBufferSlot* slot, uint32_t* status) {
  if (slot->valid != 1) return -1;
  uint32_t value = 0;
  if (plat::Failed(slot->buffer->GetStatus(&value))) return -1;
  if (status != nullptr) *status = value;
  return 0;
}

int LockSoundBuffer(SoundBufferSlot* slot, uint32_t offset, uint32_t bytes, void** pointer1, uint32_t* size1,
                    void** pointer2, uint32_t* size2) {
  if (slot->valid != 1) return -1;
  return plat::Failed(slot->buffer->Lock(offset, bytes, pointer1, size1, pointer2, size2, 0)) ? -1 : 0;
}

int UnlockSoundBuffer(SoundBufferSlot* slot, void* pointer1, uint32_t size1, void* pointer2, uint32_t size2) {
  if (slot->valid != 1) return -1;
  return plat::Failed(slot->buffer->Unlock(pointer1, size1, pointer2, size2)) ? -1 : 0;
}

int SetSoundBufferPosition(SoundBufferSlot* slot, uint32_t byteOffset) {
  if (slot->valid != 1) return -1;
  slot->buffer->SetCurrentPosition(byteOffset);
  return 0;
}

int GetSoundBufferPosition(SoundBufferSlot* slot, uint32_t* playCursor) {
  if (slot->valid != 1) return -1;
  uint32_t play = 0;
  if (plat::Failed(slot->buffer->GetCurrentPosition(&play, nullptr))) return -1;
  *playCursor = play;
  return 0;
}

void FillSoundBufferSilence(const SoundData* sound, SoundLockRegions* regions, uint32_t bytes) {
  // Unsigned 8-bit samples are centred on 128.
  const uint8_t silence = sound->format.wBitsPerSample == 8 ? 128 : 0;
  uint32_t n = bytes < regions->left1 ? bytes : regions->left1;
  if (n > 0) {
    std::memset(regions->pointer1 + regions->used1, silence, n);
    regions->used1 += n;
    regions->left1 -= n;
    bytes -= n;
  }
  n = bytes < regions->left2 ? bytes : regions->left2;
  if (n > 0 && regions->pointer2 != nullptr) {
    std::memset(regions->pointer2 + regions->used2, silence, n);
    regions->used2 += n;
    regions->left2 -= n;
  }
}

}  // namespace qor
